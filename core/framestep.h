// Frame step and timers: advanceFrame, the stop watch, the frame counter and the auto-advance timers.
#pragma once

extern int frameCounter;

int stopWatch(int n);
