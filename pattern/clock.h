// Animation clock: simTime, realTimeTotal, the per-object and per-hand cursors and prepareScene,
// which turns real time into pattern time and finds the path segment of an object or a hand.
#pragma once

#include "pattern/store.h"

// prepareScene's modes.
enum { SCENE_CLOCK = 1, SCENE_OBJECT = 2, SCENE_HAND = 3 };
// The restart argument in mode 1: advance the clock, or only wrap the time passed in (still
// frames and exports show a given time; 0.0 is a time like any other).
enum { SCENE_ADVANCE = 0, SCENE_STILL = 1 };

extern double simTime;        // seconds within the cycle
extern double realTimeTotal;  // real seconds since the pattern was loaded

// Index of the current segment of each object's flugbahn chain and of each hand's handbahn chain;
// the last segment of a hand's chain (an object's is paraz).
extern int objectCursor[MAX_OBJECTS];
extern int handCursor[MAX_HANDS];
extern int handLastSegment[MAX_HANDS];

// Mode 1: advances (restart SCENE_ADVANCE) or only wraps (SCENE_STILL) the time into [0, t_zyklus),
// sets wrapped to 1 (passed the cycle end), -1 (passed 0 backwards) or 0; gives the real time of
// the frame. Modes 2 and 3: the segment of object or hand index that holds the time; gives the
// time into it and its fraction.
double prepareScene(double *time, double step, int *wrapped, int mode, int restart, int index, double *fraction);
// Every object and hand cursor back to the first segment (a new pattern's chains).
void resetSceneCursors();
