// Animation clock: real time into pattern time by the speed, wrapped into the cycle whichever way
// it runs; still frames at any time, 0 included; the object and hand lookups find the segment
// that holds the time from any cursor, in either direction of play. The lap time is injected.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "pattern/clock.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"
#include "core/uistate.h"
#include "pattern/testseam.h"

namespace {

double lapSeconds = 0;
int laps = 0;
double injectedLap() {
  laps++;
  return lapSeconds;
}

class Clock : public testing::Test {
 protected:
  void SetUp() override {
    patternTestSeam.clockLap = injectedLap;
    laps = 0;
    simTime = realTimeTotal = 0;
    qMode.speed = 100;
  }
  void TearDown() override {
    qMode.speed = 100;
    t_zyklus = 0;
  }
  // One frame of the clock: gives the time shown and sets wrapped.
  double frame(double lap, double step, int *wrapped) {
    lapSeconds = lap;
    double t = 0, fraction = -1;
    double real = prepareScene(&t, step, wrapped, SCENE_CLOCK, SCENE_ADVANCE, 0, &fraction);
    EXPECT_EQ(real, lap);
    return t;
  }
};

TEST_F(Clock, AdvancesByRealTimeTimesSpeedWrappedIntoTheCycle) {
  struct Case {
    int speed;
    double start, lap, step, shown;
    int wrapped;
  } cases[] = {
      {100, 1.8, 0.5, 0, 0.3, 1},
      {-100, 0.1, 0.5, 0, 1.6, -1},
      {50, 0.2, 1.0, 0, 0.7, 0},
      {0, 0.5, 1.0, 0, 0.5, 0},
      {100, 1.5, 0.5, 0, 2.0, 0},       // the cycle end itself is not wrapped
      {100, 1.5, 0.5000001, 0, 0.0000001, 1},
      {100, 0.3, 10.0, 0, 0.3, 1},      // many cycles in one long frame
      {-300, 0.3, 10.0, 0, 0.3, -1},
      {0, 1.98, 0.5, 0.04, 2.02, 0},    // a clock standing still is never wrapped
      {100, 0.3, 0.5, -0.5, -0.2, 0},   // forward play wraps only at the end
      {-100, 1.9, 0.5, 0.5, 2.4, 0},    // backward play only below 0
      {-100, 0.01, 0.5, -0.04, 1.97, -1},
      {37, 0.5, 0.5, 0.04, 0.54, 0},    // a step is the advance, whatever the speed
  };
  t_zyklus = 2.0;
  for (const Case &c : cases) {
    qMode.speed = c.speed;
    simTime = c.start;
    int wrapped = 7;
    double shown = frame(c.lap, c.step, &wrapped);
    EXPECT_NEAR(shown, c.shown, 1e-9) << c.speed << " " << c.start;
    EXPECT_EQ(simTime, shown);
    EXPECT_EQ(wrapped, c.wrapped) << c.speed << " " << c.start;
  }
}

TEST_F(Clock, RealTimeAddsUpWhateverTheSpeed) {
  t_zyklus = 1.8;
  int wrapped;
  qMode.speed = 0;
  frame(0.25, 0, &wrapped);
  qMode.speed = -50;
  frame(0.5, 0, &wrapped);
  EXPECT_DOUBLE_EQ(realTimeTotal, 0.75);
  EXPECT_NEAR(simTime, 1.55, 1e-12);
  EXPECT_EQ(laps, 2);
}

// A still frame shows the time it is given, 0 too: the clock does not move and takes no lap.
TEST_F(Clock, StillFramesOnlyWrapTheirTime) {
  t_zyklus = 2.0;
  simTime = 0.7;
  realTimeTotal = 3;
  lapSeconds = 0.5;
  struct Case {
    double time, shown;
    int wrapped;
    int speed;
  } cases[] = {{0.0, 0.0, 0, 100},  {1.25, 1.25, 0, 100},  {2.5, 0.5, 1, 100},    {2.0, 2.0, 0, 100},
               {4.0, 2.0, 1, 100},  {-0.5, -0.5, 0, 100},  {-0.5, 1.5, -1, -100}, {-1e-18, 0.0, -1, -100},
               {2.5, 2.5, 0, -100}, {-4.0, 0.0, -1, -100}, {2.5, 2.5, 0, 0},     {-0.5, -0.5, 0, 0}};
  for (const Case &c : cases) {
    qMode.speed = c.speed;
    double t = c.time, fraction;
    int wrapped = 7;
    EXPECT_EQ(prepareScene(&t, 0, &wrapped, SCENE_CLOCK, SCENE_STILL, 0, &fraction), 0);
    EXPECT_NEAR(t, c.shown, 1e-12) << c.time << " " << c.speed;
    EXPECT_EQ(wrapped, c.wrapped) << c.time << " " << c.speed;
  }
  EXPECT_EQ(simTime, 0.7);
  EXPECT_EQ(realTimeTotal, 3);
  EXPECT_EQ(laps, 0);
}

TEST_F(Clock, AnUnknownModeGivesNothing) {
  double t = 0.5, fraction = 3;
  int wrapped = 0;
  patternTestSeam.lastPatternMessage = 0;
  EXPECT_EQ(prepareScene(&t, 0, &wrapped, 4, 0, 0, &fraction), 0);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 45);
  EXPECT_EQ(fraction, 0);
  EXPECT_EQ(t, 0.5);
}

class Lookup : public Clock {
 protected:
  void SetUp() override {
    Clock::SetUp();
    ASSERT_EQ(loadPattern(sourcePath("data/m/4ball_32_3_mplex")), 0);
  }
  // Looks up the time as the renderers do after the clock's frame; checks the answer.
  void expectFound(int mode, int index, double t, int wrapped, int restart = 0) {
    double time = t, fraction = -1;
    double into = prepareScene(&time, 0, &wrapped, mode, restart, index, &fraction);
    int i = mode == SCENE_OBJECT ? objectCursor[index] : handCursor[index];
    double from = mode == SCENE_OBJECT ? flugbahn[index][i].t_from : handbahn[index][i].t_from;
    double to = mode == SCENE_OBJECT ? flugbahn[index][i].t_to : handbahn[index][i].t_to;
    EXPECT_LE(from, t) << "mode " << mode << " index " << index << " t " << t;
    EXPECT_GE(to, t) << "mode " << mode << " index " << index << " t " << t;
    EXPECT_NEAR(into, t - from, 1e-12);
    EXPECT_NEAR(fraction, (t - from) / (to - from), 1e-12);
    EXPECT_EQ(time, t);
  }
};

// Playing forwards and backwards, at any speed, each object's and hand's segment holds the time,
// virtual hands included.
TEST_F(Lookup, SegmentFoundHoldsTheTimeInEitherDirection) {
  ASSERT_EQ(handCount, 4);
  for (int speed : {100, 37, -100, -250}) {
    qMode.speed = speed;
    simTime = 0.4;
    for (int f = 0; f < 200; f++) {
      int wrapped;
      double t = frame(0.013, 0, &wrapped);
      for (int o = 0; o < objekte; o++) expectFound(SCENE_OBJECT, o, t, wrapped);
      for (int h = 0; h < handCount; h++) expectFound(SCENE_HAND, h, t, wrapped);
    }
  }
}

// The search compares the time with the segments: a cursor behind the time is no trap whichever
// way the speed points, and a jump to any time is found.
TEST_F(Lookup, AnyCursorAndAnyJumpFindTheSegment) {
  for (int speed : {-100, 0, 100}) {
    qMode.speed = speed;
    for (double t : {0.0, 1.79, 0.9, 0.05, 1.5}) {
      for (int o = 0; o < objekte; o++) {
        objectCursor[o] = paraz[o];
        expectFound(SCENE_OBJECT, o, t, 0);
        objectCursor[o] = 0;
        expectFound(SCENE_OBJECT, o, t, 0);
      }
      for (int h = 0; h < handCount; h++) {
        handCursor[h] = handLastSegment[h];
        expectFound(SCENE_HAND, h, t, 0);
        handCursor[h] = 7777;  // never read outside the chain
        expectFound(SCENE_HAND, h, t, 0);
      }
    }
  }
}

TEST_F(Lookup, RestartSearchesFromTheStartAndKeepsTheCursor) {
  objectCursor[0] = 0;
  double t = 1.7, fraction;
  int wrapped = 0;
  double into = prepareScene(&t, 0, &wrapped, SCENE_OBJECT, 1, 0, &fraction);
  EXPECT_EQ(objectCursor[0], 0);
  int i = 0;
  while (flugbahn[0][i].t_to < t) i++;
  EXPECT_NEAR(into, t - flugbahn[0][i].t_from, 1e-12);
}

// A time beyond either end of a chain is answered by the end segment, with the warning.
TEST_F(Lookup, TimesOutsideTheChainWarn) {
  struct Case {
    int mode, message;
    double t;
  } cases[] = {{SCENE_OBJECT, 731, 50}, {SCENE_OBJECT, 731, -50}, {SCENE_HAND, 744, 50}, {SCENE_HAND, 744, -50}};
  for (const Case &c : cases) {
    patternTestSeam.lastPatternMessage = 0;
    double t = c.t, fraction;
    int wrapped = 0;
    prepareScene(&t, 0, &wrapped, c.mode, 0, 1, &fraction);
    EXPECT_EQ(patternTestSeam.lastPatternMessage, c.message) << c.t;
    int i = c.mode == SCENE_OBJECT ? objectCursor[1] : handCursor[1];
    int last = c.mode == SCENE_OBJECT ? paraz[1] : handLastSegment[1];
    EXPECT_EQ(i, c.t > 0 ? last : 0);
  }
  patternTestSeam.lastPatternMessage = 0;
  double t = 0.5, fraction;
  int wrapped = 0;
  EXPECT_EQ(prepareScene(&t, 0, &wrapped, SCENE_HAND, 0, handCount, &fraction), 0);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 43);
  EXPECT_EQ(prepareScene(&t, 0, &wrapped, SCENE_OBJECT, 0, -1, &fraction), 0);
}

// Loading a pattern puts every cursor on the first segment and finds each hand's last segment.
TEST_F(Lookup, LoadingSetsTheCursors) {
  for (int h = 0; h < handCount; h++) {
    EXPECT_EQ(handCursor[h], 0);
    int last = handLastSegment[h];
    EXPECT_GE(handbahn[h][last].t_to, t_zyklus);
    if (last > 0) {
      EXPECT_LT(handbahn[h][last - 1].t_to, t_zyklus);
    }
  }
  for (int o = 0; o < objekte; o++) EXPECT_EQ(objectCursor[o], 0);
}

}  // namespace
