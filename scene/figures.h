// Juggler figures, floor and panorama: the figure lists, the floor and the head angles.
#pragma once
#include <cstdio>

int Boden_laden(int kind);
int Mensch_laden(const double position[3], double heading);
const char *chooseJugglerModel(double heading);
double maxThrowHeight(int juggler);
void setHeadUpAngles();

// Time scale of the panorama's gravity, applied to the takt duration.
extern double gravityTimeScale;
// Juggler models the model chooser offers.
int jugglerModelCount();
