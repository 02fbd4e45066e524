// The lap timer: stopWatch and the real time source behind it and the frame timers.
#pragma once
#include <cstdint>

// Real time source of the timers (seconds and microseconds); tests replace it.
extern void (*frameStepTime)(uint32_t *seconds, uint32_t *microseconds);

// -1 starts the watch and the lap; 0 returns the microseconds since the last lap and starts the next;
// n > 0 logs the frame rate of n frames since the start.
int stopWatch(int n);

// Called with the benchmark number when a benchmark logs its frame rate (app/ sets it to the
// report of the frame it counted; the default does nothing).
extern void (*benchmarkFrameReport)(int benchmark);
