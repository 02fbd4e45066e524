// Juggler figures, floor and panorama: the figure lists, the floor and the head angles.
#pragma once
#include <cstdio>

extern int figuresLoaded;          // figures of this pattern; reset per pattern
extern int panoramaCircleCount;    // key 'a' of the panorama: extra figures on a circle
extern int panoramaOwnFigures;     // key 'w': figures from the panorama's own list section
extern int invisibleJugglers;      // VRML mode: figures shown as the invisible juggler

int Boden_laden(int kind);
int Mensch_laden(const double position[3], double heading);
const char *chooseJugglerModel(double heading);
double maxThrowHeight(int juggler);
void setHeadUpAngles();

// Time scale of the panorama's gravity, applied to the takt duration.
extern double gravityTimeScale;
