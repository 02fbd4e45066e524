// Loads a converted file with quoit's own pattern reader and reports its object and juggler
// counts, and how the camera it sets shows the jugglers.
#include "pattern_reader_hook.h"

#include <cmath>

#include "core/viewrecords.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"

bool loadWithQuoitPatternReader(const std::string &path, int *objects, int *jugglers, std::string *why) {
  int code = loadPattern(path);
  if (code != 0) {
    *why = "the pattern reader refused the file with code " + std::to_string(code);
    return false;
  }
  *objects = objekte;
  *jugglers = ::jugglers;
  return true;
}

namespace {

double dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The renderer's view at 640 x 480: 0.15 m up and down and 0.2 m to each side at the near plane,
// which lies zoom millimetres ahead of the eye.
void project(const double point[3], double out[2]) {
  const CameraState &c = cameraState;
  double eye[3], side[3] = {-sin(c.azimuth), cos(c.azimuth), 0};
  computeEyePosition(eye);
  const double *f = c.viewDir;
  double up[3] = {side[1] * f[2] - side[2] * f[1], side[2] * f[0] - side[0] * f[2], side[0] * f[1] - side[1] * f[0]};
  double q[3] = {point[0] - eye[0], point[1] - eye[1], point[2] - eye[2]};
  double depth = dot(q, f), near = c.zoom * 0.001;
  out[0] = dot(q, side) / depth * near / 0.2;
  out[1] = dot(q, up) / depth * near / 0.15;
}

}  // namespace

bool jugglersInView(const std::string &path, std::vector<JugglerInView> *view, std::string *why) {
  int objects = 0, count = 0;
  if (!loadWithQuoitPatternReader(path, &objects, &count, why)) return false;
  for (int j = 0; j < count; j++) {
    const double *p = quoitPos[j].position;
    double feet[3] = {p[0], p[1], p[2]}, head[3] = {p[0], p[1], p[2] + 1.8}, top[3] = {p[0], p[1], maxheight};
    JugglerInView v;
    project(feet, v.feet);
    project(head, v.head);
    project(top, v.top);
    view->push_back(v);
  }
  return true;
}
