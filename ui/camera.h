// Camera navigation: cameraState, savedCamera, the drift, mouse and key camera moves and the follow view.
#pragma once

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

struct SavedCamera {
  double lookAt[3];
  double distance, elevation, azimuth, zoom;
};

extern CameraState cameraState;
extern SavedCamera savedCamera;
extern int rotationDrift[2];  // azimuth drift, frame drift

void mouseCamera(int kind);
int keyCameraTranslation();
void mouseCameraTranslation();
void followCurrentObject(int *track, double lookAtOut[3], double *elevationOut, double *azimuthOut, double *distanceOut);
void stopCameraRotation();
