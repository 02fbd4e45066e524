// Animation clock: real time into pattern time by the speed, wrapped into the cycle, and the
// segment lookups of the objects and hands that start at each one's cursor.
#include "pattern/clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "core/uistate.h"
#include "pattern/testseam.h"

double simTime;
double realTimeTotal;
int objectCursor[MAX_OBJECTS];
int handCursor[MAX_HANDS];
int handLastSegment[MAX_HANDS];

void resetSceneCursors() {
  for (int &c : objectCursor) c = 0;
  for (int &c : handCursor) c = 0;
}

// The time brought back into the cycle in the direction of play: forward it wraps only above
// t_zyklus, backwards only below 0, and a clock that stands still is never wrapped. wrapped tells
// which way it passed a cycle boundary.
static double wrapIntoCycle(double t, int *wrapped) {
  *wrapped = 0;
  if (!(t_zyklus > 0) || !std::isfinite(t)) return t;
  if (qMode.speed > 0 && t > t_zyklus) {
    *wrapped = 1;
    t -= (std::ceil(t / t_zyklus) - 1) * t_zyklus;
    if (t > t_zyklus) t -= t_zyklus;  // rounding of a huge time
    if (t <= 0) t += t_zyklus;
  } else if (qMode.speed < 0 && t < 0) {
    *wrapped = -1;
    t += std::ceil(-t / t_zyklus) * t_zyklus;
    if (t >= t_zyklus) t -= t_zyklus;  // a tiny negative time rounds up to the cycle end
    if (t < 0) t += t_zyklus;
  }
  return t;
}

static double advanceClock(double *time, double step, int *wrapped, int restart) {
  double real = 0;
  double t = *time;
  if (restart == SCENE_ADVANCE) {
    real = patternTestSeam.clockLap();
    simTime += step != 0 ? step : real * 0.01 * qMode.speed;
    t = simTime;
  }
  realTimeTotal += real;
  t = wrapIntoCycle(t, wrapped);
  if (restart == SCENE_ADVANCE) simTime = t;
  *time = t;
  return real;
}

// Steps from segment i towards the time, within 0 .. last; reports leaving the chain at either end
// through the warning. The time is compared with the segments, so the search finds the segment
// whichever way the clock runs.
template <typename Segment, typename Warn>
static int searchChain(const Segment *chain, int i, int last, double time, Warn warn) {
  i = std::clamp(i, 0, last);
  while (i > 0 && time < chain[i].t_from) i--;
  while (i < last && time > chain[i].t_to) i++;
  if (time < chain[i].t_from) warn(48);
  if (time > chain[i].t_to) warn(47);
  return i;
}

// Time into a segment of either kind of chain, and its fraction of the segment.
template <typename Segment>
static double intoSegment(const Segment &s, double time, double *fraction) {
  double length = s.t_to - s.t_from;
  *fraction = length > 0 ? (time - s.t_from) / length : 0;
  return time - s.t_from;
}

static int startSegment(int wrapped, int last, int cursor) {
  if (wrapped < 0) return last;
  if (wrapped > 0) return 0;
  return cursor;
}

// The search's warning: the text of one end of the chain, filled with the index and a name,
// inside the object or hand warning.
static void chainWarning(int level, int outer, int end, int index, const char *name) {
  char inner[160];
  snprintf(inner, sizeof inner, localText(end), index, name);
  inner[strcspn(inner, "\n")] = '\0';
  patternMessage(level, outer, inner);
}

static double objectSegment(double time, int wrapped, int restart, int o, double *fraction) {
  if (!flugbahn || o < 0 || o >= objekte || o >= MAX_OBJECTS || segmentRowLength < 1) {
    patternMessage(QMSG_ERROR, 43, o, "prepareScene()");
    return 0;
  }
  int last = std::clamp(paraz[o], 0, segmentRowLength - 1);
  int from = restart ? 0 : startSegment(wrapped, last, objectCursor[o]);
  char letter[2] = {Objektbuchstaben[o], 0};
  int i = searchChain(flugbahn[o], from, last, time, [&](int end) { chainWarning(QMSG_INFO, 731, end, o, letter); });
  if (!restart) objectCursor[o] = i;
  return intoSegment(flugbahn[o][i], time, fraction);
}

static double handSegment(double time, int wrapped, int h, double *fraction) {
  if (!handbahn || h < 0 || h >= handCount || h >= MAX_HANDS || takte < 0) {
    patternMessage(QMSG_ERROR, 43, h, "prepareScene()");
    return 0;
  }
  int last = std::clamp(handLastSegment[h], 0, takte);
  const char *side = h % 2 ? "right" : "left";
  int i = searchChain(handbahn[h], startSegment(wrapped, last, handCursor[h]), last, time,
                      [&](int end) { chainWarning(QMSG_DEBUG, 744, end, h, side); });
  handCursor[h] = i;
  return intoSegment(handbahn[h][i], time, fraction);
}

double prepareScene(double *time, double step, int *wrapped, int mode, int restart, int index, double *fraction) {
  double unusedFraction = 0;
  if (!fraction) fraction = &unusedFraction;
  *fraction = 0;
  if (!time || !wrapped) return 0;
  switch (mode) {
    case SCENE_CLOCK: return advanceClock(time, step, wrapped, restart);
    case SCENE_OBJECT: return objectSegment(*time, *wrapped, restart, index, fraction);
    case SCENE_HAND: return handSegment(*time, *wrapped, index, fraction);
    default: patternMessage(QMSG_ERROR, 45, mode, "prepareScene()"); return 0;
  }
}
