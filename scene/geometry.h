// Geometry helpers: vectors, angles, the eye position and the scene totals.
#pragma once

struct ObjectNode;

void computeEyePosition(double out[3]);
ObjectNode *vrmlNodeTotals();
// The angle brought into [-pi, pi].
double wrapAnglePi(double angle);
double vectorLength(const double v[3]);
// Moves a hand point by the pattern's scatter; returns the point.
double *jitterVector(double v[3]);
