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

extern CameraState cameraState;
