// Geometry helpers: vectors, angles, the eye position and the scene totals.
#pragma once

void computeEyePosition(double out[3]);
