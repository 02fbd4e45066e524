// Fixture of the object path and throw tests: loads a pattern text, then runs the tracking and the
// spin step again on the loaded store, so the chains are exactly what those steps built, whatever
// the later steps do. Also the physics of a flight segment and the checks every flight must pass.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/vecmath.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "tests/support/loadpattern.h"
#include "pattern/testseam.h"

namespace pathtest {

// Loads the text as the pattern loop does, in the home directory, without the strict chain check.
inline int loadOnly(const std::string &text) {
  std::string path = writeTempPattern("paths", text);
  freshPatternState();
  patternTestSeam.strictChainCheck = 0;
  int code = loadPreparedPattern(path);
  remove(path.c_str());
  return code;
}

// Clears every chain and runs the tracking and the spin mirroring again: 0 or the failure.
inline int retrack() {
  for (int o = 0; o < objekte; o++)
    for (int s = 0; s < segmentRowLength; s++) Flugbahnsegment_loeschen(o, s);
  maxheight = 1.9;
  Uebergaben_eintragen();
  if (int code = Objekte_verfolgen()) return code;
  return Spin_spiegeln();
}

// Loads the text and rebuilds its chains; 0, the load code or the tracking failure.
inline int track(const std::string &text) {
  int code = loadOnly(text);
  return code ? code : retrack();
}

inline int object(char letter) {
  for (int o = 0; o < objekte; o++)
    if (Objektbuchstaben[o] == letter) return o;
  return -1;
}

inline void positionAt(const Flugbahn &f, double t, double out[3]) {
  double s = t - f.t_from;
  out[0] = f.X0[0] + f.V[0] * s;
  out[1] = f.X0[1] + f.V[1] * s;
  out[2] = f.X0[2] + f.V[2] * s + f.az * s * s / 2;
}

inline double distance(const double a[3], const double b[3]) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

inline bool isFlight(const Flugbahn &f) { return f.haltehand == -1; }

// The flights of one object's chain in chain order, without the copy at segment 0.
inline std::vector<Flugbahn> flightsOf(int o) {
  std::vector<Flugbahn> out;
  for (int s = 1; s <= paraz[o] && s < segmentRowLength; s++)
    if (isFlight(flugbahn[o][s])) out.push_back(flugbahn[o][s]);
  return out;
}

// Physics every free flight obeys: it lasts, falls with gravity, the parabola reaches its end
// point, and with equal end heights its apex is g T^2 / 8 above them at T / 2.
inline void expectFreeFall(const Flugbahn &f, double g) {
  double T = f.t_to - f.t_from;
  ASSERT_GT(T, 0);
  EXPECT_DOUBLE_EQ(f.az, -g);
  EXPECT_NEAR(f.t_apex, T / 2, 1e-12);
  double p0[3], p1[3], pm[3];
  positionAt(f, f.t_from, p0);
  positionAt(f, f.t_to, p1);
  positionAt(f, f.t_from + T / 2, pm);
  double h = 1e-3;
  double za[3], zb[3];
  positionAt(f, f.t_from + T / 4 - h, za);
  positionAt(f, f.t_from + T / 4 + h, zb);
  double zc[3];
  positionAt(f, f.t_from + T / 4, zc);
  EXPECT_NEAR((za[2] - 2 * zc[2] + zb[2]) / (h * h), -g, 1e-4);
  EXPECT_NEAR(zb[0] - za[0], f.V[0] * 2 * h, 1e-12);
  if (std::fabs(p0[2] - p1[2]) < 1e-9) {
    double top = p0[2];
    double when = f.t_from;
    for (int k = 0; k <= 1000; k++) {
      double t = f.t_from + T * k / 1000, p[3];
      positionAt(f, t, p);
      if (p[2] > top) {
        top = p[2];
        when = t;
      }
    }
    EXPECT_NEAR(when - f.t_from, T / 2, T / 1000 + 1e-12);
    EXPECT_NEAR(top - p0[2], g * T * T / 8, 1e-9);
  }
}

// One expected flight: object letter, throwing and catching hand, the last takt of the throwing
// hold and the first takt of the catching hold (may be beyond the cycle), and whether the catch
// follows the throw directly from hand to hand.
struct ExpectedFlight {
  char letter;
  int from, to;
  int lastHeld, caught;
  bool handOver = false;
};

inline double expectedDuration(const ExpectedFlight &e) {
  if (e.handOver) return (e.caught - e.lastHeld - 1 + 0.4) * dt;
  return (e.caught - e.lastHeld + 1 - 2 * dwell) * dt;
}

// The chain of every object holds exactly the expected flights in this order, each starting one
// takt after its throwing hold, lasting what the takts and the dwell give, with segment 0 the last
// flight one cycle earlier; consecutive flights leave room for the hold between them.
inline void expectChains(const std::vector<ExpectedFlight> &expected) {
  for (int o = 0; o < objekte; o++) {
    SCOPED_TRACE(std::string("object ") + Objektbuchstaben[o]);
    std::vector<ExpectedFlight> mine;
    for (const ExpectedFlight &e : expected)
      if (e.letter == Objektbuchstaben[o]) mine.push_back(e);
    std::vector<Flugbahn> flights = flightsOf(o);
    ASSERT_EQ(flights.size(), mine.size());
    for (size_t k = 0; k < mine.size(); k++) {
      const Flugbahn &f = flights[k];
      EXPECT_EQ(f.objekt, o);
      EXPECT_EQ(f.handvon, mine[k].from);
      EXPECT_EQ(f.handbis, mine[k].to);
      EXPECT_EQ(f.taktvon, mine[k].lastHeld + 1);
      EXPECT_EQ(f.taktbis, mine[k].caught);
      EXPECT_NEAR(f.t_to - f.t_from, expectedDuration(mine[k]), 1e-12);
      const Flugbahn &next = k + 1 < flights.size() ? flights[k + 1] : flights[0];
      double nextStart = k + 1 < flights.size() ? next.t_from : next.t_from + t_zyklus;
      EXPECT_LT(f.t_to, nextStart);
      EXPECT_EQ(f.handbis, next.handvon);
    }
    const Flugbahn &first = flugbahn[o][0], &last = flugbahn[o][paraz[o]];
    ASSERT_TRUE(isFlight(first));
    EXPECT_EQ(first.handvon, last.handvon);
    EXPECT_NEAR(first.t_from, last.t_from - t_zyklus, 1e-12);
    EXPECT_NEAR(first.t_to, last.t_to - t_zyklus, 1e-12);
    EXPECT_EQ(first.taktvon, last.taktvon - takte);
    EXPECT_LE(first.t_to, flights[0].t_from);
  }
}

}  // namespace pathtest
