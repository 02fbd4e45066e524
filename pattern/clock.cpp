// Stand-in animation clock: the two times only (weak, so the real clock wins).
#include "pattern/clock.h"

__attribute__((weak)) double simTime;
__attribute__((weak)) double realTimeTotal;
