// The pattern engine's test seam, as the program runs: no strict chain check, the stop watch's lap.
#include "pattern/testseam.h"

#include "core/stopwatch.h"

static double stopWatchLap() { return stopWatch(0) * 0.000001; }

PatternTestSeam patternTestSeam = {0, 0, stopWatchLap};
