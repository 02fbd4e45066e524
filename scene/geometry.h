// Geometry helpers: vectors, angles, the eye position and the scene totals.
#pragma once

struct ObjectNode;

void computeEyePosition(double out[3]);
ObjectNode *vrmlNodeTotals();
double random01();
