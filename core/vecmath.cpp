// Vector and angle maths.
#include "core/vecmath.h"

#include <cmath>

#include "core/Tcl.h"
#include "core/random.h"

void vectorDifference(double out[3], const double a[3], const double b[3]) {
  for (int i = 0; i < 3; i++) out[i] = a[i] - b[i];
}

double *crossProduct(const double a[3], const double b[3]) {
  static double r[3];
  r[0] = a[1] * b[2] - a[2] * b[1];
  r[1] = a[2] * b[0] - a[0] * b[2];
  r[2] = a[0] * b[1] - a[1] * b[0];
  return r;
}

double vectorLength(const double v[3]) { return sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

double *normalizeVector(double v[3]) {
  double f = 1.0 / vectorLength(v);
  for (int i = 0; i < 3; i++) v[i] *= f;
  return v;
}

// Brings x into [-half, half] by whole turns: the exact remainder, then at most one turn more.
static double wrapInto(double x, double half) {
  if (!std::isfinite(x)) return x;
  double turn = 2 * half;
  x = std::fmod(x, turn);
  if (x > half) x -= turn;
  if (x < -half) x += turn;
  return x;
}

double wrapAnglePi(double x) { return wrapInto(x, PI); }
double wrapAngle180(double x) { return wrapInto(x, 180.0); }

// 100 pi is added first, as the stored words have always been made; the exact remainder then
// wraps every other value into one turn, without an integer overflow.
int16_t encodeAngle(double radians) {
  double steps = (radians + 100 * PI) * 1024 / PI;
  if (!std::isfinite(steps)) return 0;
  steps = std::fmod(steps, 2048.0);
  if (steps < 0) steps += 2048;
  return int16_t(int(steps) & 0x7ff);
}

double decodeAngle(int16_t word) { return word / 2048.0 * 2 * PI; }

double random01() { return qRandom() / 32767.0; }

double *jitterVector(double v[3], double scatter) {
  for (int i = 0; i < 3; i++) v[i] += (random01() - 0.5) * 2 * scatter;
  return v;
}

void logVector(const double v[3]) { qMsg(QMSG_DEBUG, "(%f;%f;%f)", v[0], v[1], v[2]); }
