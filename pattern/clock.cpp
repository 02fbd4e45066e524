// Stand-in animation clock: advances simTime by the real time and the speed; no cycle, no segments.
#include "pattern/clock.h"

#include "core/framestep.h"
#include "ui/modes.h"

double simTime;
double realTimeTotal;

double prepareScene(double *time, double step, int *wrapped, int mode, int, int, double *fraction) {
  *fraction = 0;
  if (mode != 1) return 0;
  double real = 0;
  if (*time == 0) {
    real = stopWatch(0) * 0.000001;
    simTime += step != 0 ? step : real * 0.01 * qMode.speed;
    *time = simTime;
  }
  realTimeTotal += real;
  *wrapped = 0;
  return real;
}
