// Camera navigation: cameraState, savedCamera, the rotation drift, the mouse and key camera moves,
// the follow view, the chooser cursor, the light controls and the view the POV-Ray export takes.
#pragma once
#include <cstdint>

#include "scene/povexport.h"

struct CameraState {
  double distance;   // metres
  double elevation;  // radians from the vertical
  double azimuth;    // radians
  double zoom;       // 40..1500
  double eye[3];
  double lookAt[3];
  double viewDir[3];
  double side[3];
  double up[3];
};

// The camera stored by the pattern file and restored on request.
struct SavedCamera {
  double lookAt[3];
  double distance;
  double elevation;
  double azimuth;
  double zoom;
};

extern CameraState cameraState;
extern SavedCamera savedCamera;
extern int rotationDrift[2];  // azimuth drift (accumulated drag x), drag y of the frame
extern double azimuthStep;    // radians of azimuth per drift unit

// The chooser cursor's grid cell (the object chooser draws its cursor there).
extern int chooserColumn, chooserRow;

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
void walkControlFromMouse();
// The camera, the light and the animation time as the POV-Ray export takes them (no pattern file).
PovView cameraPovView();
