// Stand-in geometry helpers: the cross product and the eye position of the camera.
#include "scene/geometry.h"

#include <cmath>

#include "ui/camera.h"

double *crossProduct(const double a[3], const double b[3]) {
  static double r[3];
  r[0] = a[1] * b[2] - a[2] * b[1];
  r[1] = a[2] * b[0] - a[0] * b[2];
  r[2] = a[0] * b[1] - a[1] * b[0];
  return r;
}

void computeEyePosition(double out[3]) {
  const CameraState &c = cameraState;
  double v[3] = {cos(c.azimuth) * c.distance * sin(c.elevation), sin(c.azimuth) * c.distance * sin(c.elevation),
                 cos(c.elevation) * c.distance};
  for (int i = 0; i < 3; i++) {
    cameraState.viewDir[i] = c.distance != 0 ? -v[i] / c.distance : 0;
    out[i] = c.lookAt[i] + v[i];
  }
}
