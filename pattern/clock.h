// Animation clock: simTime, realTimeTotal and prepareScene, which turns real time into pattern time.
#pragma once

extern double simTime;        // seconds within the cycle
extern double realTimeTotal;  // real seconds since the pattern was loaded

double prepareScene(double *time, double step, int *wrapped, int mode, int restart, int index, double *fraction);
