// Camera navigation: the rotation drift, the mouse and key camera moves, the follow view, the
// chooser cursor and the light controls (the camera records themselves are in core/viewrecords.h).
#pragma once
#include <cstdint>

#include "core/viewrecords.h"

extern int rotationDrift[2];  // azimuth drift (accumulated drag x), drag y of the frame
extern double azimuthStep;    // radians of azimuth per drift unit

// Light controls' own counters.
extern int16_t lightTurn, lightReach, walkTurn, walkReach;

void mouseCamera(int kind);
int keyCameraTranslation();
void mouseCameraTranslation();
void followCurrentObject(int *track, double lookAtOut[3], double *elevationOut, double *azimuthOut, double *distanceOut);
double angleFromCosine(double s, double c);
void stopCameraRotation();
int moveChooserCursor(int *rowOffsetOut, int16_t *cursorX, int16_t *cursorY);
void resetChooserCursor();
// The light controls from the drag; called once at start for the light's start values.
void walkControlFromMouse();
// The same in every frame of the light mode: a frame without a drag leaves the light as it is, so
// that what the remote's panel set stays.
void lightFromDrag();
// The light controls' counters from the light as it is now, so that a later drag goes on from a
// light the panel set instead of jumping back.
void lightControlsFollowLight();
