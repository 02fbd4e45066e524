// Geometry helpers: vector arithmetic, the camera's eye position, the scene totals and the prop shapes.
#pragma once

struct ObjectNode;

double *crossProduct(const double a[3], const double b[3]);
void computeEyePosition(double out[3]);
ObjectNode *vrmlNodeTotals();
