// Juggler figures, floor and panorama: the floor and its properties, the figure lists, loading the
// figures, the throw heights and the head angles.
#pragma once
#include "pattern/scenecalls.h"
#include <cstdio>

extern int figuresLoaded;          // figures of this pattern; reset per pattern
extern int panoramaCircleCount;    // key 'a' of the panorama: extra figures on a circle
extern int panoramaOwnFigures;     // key 'w': figures from the panorama's own list section
extern int invisibleJugglers;      // VRML mode: figures shown as the invisible juggler
extern int orderCursor;            // next line of section 1 in order mode; kept across patterns

void resetFigureState();
int Boden_laden(int kind);
int Mensch_laden(const double position[3], double heading);
const char *chooseJugglerModel(double heading);
int readListCount(FILE *&file, const char *listName);
int skipListSections(FILE *&file, const char *listName, int sections);
double maxThrowHeight(int juggler);
double *headAngles(double dz, double dx, double dy);
void rotateAboutHeadAxis(const double angles[3], const double point[3], double out[3]);
void setHeadUpAngles();

// Juggler models the model chooser offers.
int jugglerModelCount();
