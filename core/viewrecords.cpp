// The view records: defined here, below every layer that reads them.
#include "core/viewrecords.h"

#include <cmath>

#include "core/utils.h"

ViewState viewState;
LightState &lightState = viewState.lightState;
CameraState cameraState = {3.34, 1.65, 0.085, 185, {0, 0, 0}, {UNSET_DOUBLE, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
SavedCamera savedCamera;
int chooserColumn = 2, chooserRow = 4;

void computeEyePosition(double out[3]) {
  static double eye[3];
  const CameraState &c = cameraState;
  double r = c.distance;
  double v[3] = {cos(c.azimuth) * r * sin(c.elevation), sin(c.azimuth) * r * sin(c.elevation), cos(c.elevation) * r};
  for (int i = 0; i < 3; i++) {
    if (r != 0) cameraState.viewDir[i] = -v[i] / r;
    eye[i] = c.lookAt[i] + v[i];
    out[i] = eye[i];
  }
}
