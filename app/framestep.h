// Frame step and timers: advanceFrame, qAfterRendering, the benchmark and auto-advance timers,
// viewState with lightState, the frame counter and the wrap flag.
#pragma once
#include <cstdint>

#include "core/stopwatch.h"
#include "core/viewrecords.h"

enum { WRAP_NONE = 0, WRAP_FORWARD = 1, WRAP_BACKWARD = 2 };

extern int frameCounter;
extern int wrapFlag;
extern double previousAnimationTime;

int advanceFrame();
void qAfterRendering(int previousResult);
void benchmarkTimer();
void autoAdvanceTimer();

// Steps of advanceFrame.
void servePresets();
void moveCamera();
void packViewState();
int cycleWrapFlag(double previousTime, double time, int speed);
uint16_t packDistance(double metres);
int64_t viewStatusWord();
int timeMeterValue(double elapsed);
