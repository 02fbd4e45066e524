// Stand-in camera: the camera keeps its place; the follow view keeps the free camera.
#include "ui/camera.h"

CameraState cameraState = {3.34, 1.65, 0.085, 185, {0, 0, 0}, {0, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
SavedCamera savedCamera;
int rotationDrift[2];

void mouseCamera(int) {}
int keyCameraTranslation() { return 1; }
void mouseCameraTranslation() {}

void followCurrentObject(int *, double lookAtOut[3], double *elevationOut, double *azimuthOut, double *distanceOut) {
  for (int i = 0; i < 3; i++) lookAtOut[i] = cameraState.lookAt[i];
  *elevationOut = cameraState.elevation;
  *azimuthOut = cameraState.azimuth;
  *distanceOut = cameraState.distance;
}

void stopCameraRotation() { rotationDrift[0] = rotationDrift[1] = 0; }
