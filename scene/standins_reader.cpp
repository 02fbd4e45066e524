// Stand-ins for the scene functions the pattern reader calls, until the scene modules provide them
// (weak, so the real ones win). Delete when those land.
#include <cmath>

#include "scene/figures.h"
#include "scene/geometry.h"
#include "scene/objects.h"
#include "ui/camera.h"

#define STANDIN __attribute__((weak))

STANDIN int16_t objectInstanceList[201] = {-1};
STANDIN int firstObjectInstance;
STANDIN double gravityTimeScale = 1.0;

STANDIN void freeObjectShapes() {}
STANDIN ObjectNode *vrmlNodeTotals() { return nullptr; }
STANDIN void placeLastObjectNode(int, const double[3], const double[3]) {}

// Eye on the sphere of the camera distance around the look-at point; elevation from the vertical.
STANDIN void computeEyePosition(double out[3]) {
  const CameraState &c = cameraState;
  out[0] = c.lookAt[0] + c.distance * sin(c.elevation) * cos(c.azimuth);
  out[1] = c.lookAt[1] + c.distance * sin(c.elevation) * sin(c.azimuth);
  out[2] = c.lookAt[2] + c.distance * cos(c.elevation);
}
