// Camera navigation: cameraState and savedCamera.
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

void mouseCamera(int kind);
void stopCameraRotation();
