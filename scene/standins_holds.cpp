// Stand-ins for the geometry helpers the hold, bounce and fitting steps use, until the geometry
// module provides them (weak, so the real ones win).
#include <cmath>

#include "scene/geometry.h"

#define STANDIN __attribute__((weak))

STANDIN double wrapAnglePi(double angle) {
  if (!std::isfinite(angle)) return angle;
  angle = std::fmod(angle, 2 * M_PI);
  if (angle > M_PI) angle -= 2 * M_PI;
  if (angle < -M_PI) angle += 2 * M_PI;
  return angle;
}

STANDIN double vectorLength(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }
