// Vector and angle maths: 3-vector arithmetic, angle wrapping, random draws and the program's pi.
#pragma once
#include <cstdint>

const double PI = 3.14159265358979323846;

void vectorDifference(double out[3], const double a[3], const double b[3]);
// The result is a static vector that the next call overwrites.
double *crossProduct(const double a[3], const double b[3]);
double vectorLength(const double v[3]);
double *normalizeVector(double v[3]);
// Angles into [-pi, pi] (radians) and [-180, 180] (degrees); not finite stays as it is.
double wrapAnglePi(double x);
double wrapAngle180(double x);
// An angle in radians as 1/2048 of a turn, 0..2047 for every value (an angle that is not finite, or
// so large that it overflows, gives 0); and back to radians.
int16_t encodeAngle(double radians);
double decodeAngle(int16_t word);
// The program's random generator scaled to 0 .. 1, both ends included.
double random01();
// Moves each component, x first, by a random amount of at most scatter either way; returns v.
double *jitterVector(double v[3], double scatter);
void logVector(const double v[3]);
