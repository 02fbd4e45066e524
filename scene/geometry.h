// Geometry helpers: vector arithmetic, the camera's eye position and the prop shapes.
#pragma once

double *crossProduct(const double a[3], const double b[3]);
void computeEyePosition(double out[3]);
