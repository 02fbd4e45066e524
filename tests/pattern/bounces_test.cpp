// Bounce throws: the small number helpers, the vertical search and the solver checked against the
// motion they describe, the arcs entered into whole patterns, and the bounce load failures.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "chain_checker.h"
#include "core/prefs.h"
#include "tests/support/loadpattern.h"
#include "pattern/bounces.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/testseam.h"

namespace {

const double G = 9.81;

TEST(BounceNumbers, PowerSquareAndNearlyEqual) {
  struct Case {
    double x;
    int n;
    double power;
  } cases[] = {{0, 0, 1}, {0, 3, 0}, {2, 3, 8}, {-2, 3, -8}, {-2, 2, 4}, {0.5, -2, 4}, {0.95, 1, 0.95}, {-1, 0, 1}};
  for (const Case &c : cases) EXPECT_DOUBLE_EQ(Potenz(c.x, c.n), c.power) << c.x << "^" << c.n;
  EXPECT_DOUBLE_EQ(Quadrat(-3), 9);
  EXPECT_EQ(fast_gleich(1, 1 + 1.5e-6), 1);
  EXPECT_EQ(fast_gleich(1, 1 - 1.5e-6), 1);
  EXPECT_EQ(fast_gleich(1, 1 + 3e-6), 0);
}

// Height above the contact plane of a throw from H1 with launch speed v, with the contacts given.
struct Motion {
  double H1, v, e;
  int k;
  const double *times;
  // Height and vertical speed at time t, bouncing at each contact.
  void at(double t, double &z, double &vz) const {
    double start = 0, h = H1, u = v;
    for (int i = 0; i < k && t > times[i]; i++) {
      double s = times[i] - start;
      double impact = u - G * s;
      start = times[i];
      h = 0;
      u = -e * impact;
    }
    double s = t - start;
    z = h + u * s - G * s * s / 2;
    vz = u - G * s;
  }
};

// The search's answer makes the object touch the plane at every contact, rebound with the bounce
// factor, and be at the end height at the catch time.
TEST(BounceSearch, FoundThrowsHitThePlaneAndArriveInTime) {
  struct Case {
    double H1, H2, T, e;
    int n;
  } cases[] = {
      {1.0, 1.0, 1.4, 0.95, 1}, {1.0, 1.0, 2.0, 0.9, 2}, {1.15, 1.15, 0.7, 0.9, -1}, {1.0, 1.2, 1.2, 0.9, -2},
      {0.9, 1.3, 1.6, 1.0, 1},  {1.2, 0.8, 2.2, 0.8, 3},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "n=" << c.n << " T=" << c.T << " e=" << c.e);
    BounceSearch r = bounceSearch(-G, c.e, c.H1, c.H2, c.T, c.n, false, 0, 1);
    ASSERT_GT(r.contacts, 0);
    EXPECT_EQ(r.contacts, std::abs(r.count));
    EXPECT_EQ(r.v > 0, r.count > 0);
    Motion m{c.H1, r.v, c.e, r.contacts, r.times};
    double z, vz, zb, vzb;
    for (int i = 0; i < r.contacts; i++) {
      m.at(r.times[i], z, vz);
      EXPECT_NEAR(z, 0, 1e-9) << "contact " << i;
      EXPECT_LT(vz, 0);
      m.at(r.times[i] + 1e-9, zb, vzb);
      EXPECT_NEAR(vzb, -c.e * vz, 1e-6);
      if (i > 0) {
        EXPECT_GT(r.times[i], r.times[i - 1]);
      }
    }
    m.at(c.T, z, vz);
    EXPECT_NEAR(z, c.H2, 1e-7);
  }
}

TEST(BounceSearch, OneBounceAtEqualHeightsIsThrownUp) {
  BounceSearch r = bounceSearch(-G, 0.95, 1.0, 1.0, 1.5, 1, false, 0, 1);
  ASSERT_EQ(r.contacts, 1);
  EXPECT_GT(r.v, 0);
  // The first contact is the later root of the launch parabola.
  double t1 = (r.v + std::sqrt(r.v * r.v + 2 * G * 1.0)) / G;
  EXPECT_NEAR(r.times[0], t1, 1e-12);
}

TEST(BounceSearch, TooShortATimeTurnsTheThrowDownwards) {
  patternTestSeam.lastPatternMessage = 0;
  BounceSearch r = bounceSearch(-G, 0.9, 1.15, 1.15, 0.48, 1, false, 0, 1);
  ASSERT_EQ(r.contacts, 1);
  EXPECT_LT(r.count, 0);
  EXPECT_LT(r.v, 0);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 703);
}

// A run that needs one bounce less gets it when it is entered, but a re-solve must keep its arcs.
TEST(BounceSearch, DroppingABounceOnlyWhenTheCountMayChange) {
  BounceSearch free = bounceSearch(-G, 0.9, 1.15, 1.15, 0.48, 2, false, 0, 1);
  EXPECT_EQ(free.contacts, 1);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 705);
  BounceSearch kept = bounceSearch(-G, 0.9, 1.15, 1.15, 0.48, 2, true, 0, 1);
  EXPECT_EQ(kept.contacts, 0);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 702);
}

TEST(BounceSearch, AFloorThatTakesAllSpeedHasNoSolution) {
  BounceSearch r = bounceSearch(-G, 0, 1.0, 1.0, 1.0, 1, false, 3, 7);
  EXPECT_EQ(r.contacts, 0);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 702);
}

// Each solution of the solver describes the motion it claims: the arcs end on the plane, the
// rebounds follow the bounce factor, the arcs fill the time and cover the distance, and the catch
// sign tells on which side of its apex the last arc ends.
TEST(BounceSolver, SolutionsAreTheMotionTheyDescribe) {
  struct Case {
    double e, T, H1, H2, dist;
    int m, dir, s2;
  } cases[] = {
      {0.9, 1.6, 1.0, 1.0, 0.4, 1, 1, 1},  {0.9, 1.5, 1.0, 1.1, 0.4, 1, 1, -1}, {0.8, 3.0, 1.0, 0.9, 1.0, 2, 1, 1},
      {0.9, 0.9, 1.1, 1.1, 0.3, 1, -1, 1}, {1.0, 2.0, 1.0, 1.0, 0.5, 2, 1, 1},  {0.95, 2.8, 1.0, 1.0, 0.0, 3, -1, -1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "m=" << c.m << " dir=" << c.dir << " s2=" << c.s2 << " e=" << c.e);
    BounceArcs out[2];
    int found = Dotzbahn_loesen(G, 0.8, c.e, 0.05, c.T, c.m, c.dir, c.s2, 0, c.dist, c.H1, c.H2, out);
    ASSERT_GT(found, 0);
    for (int k = 0; k < found; k++) {
      const BounceArcs &a = out[k];
      double total = 0, covered = 0, u = c.dir * a.vz[0], h = c.H1;
      for (int i = 0; i <= c.m; i++) {
        EXPECT_GT(a.d[i], 0);
        EXPECT_NEAR(u, i == 0 ? c.dir * a.vz[0] : a.vz[i], 1e-9);
        double end = h + u * a.d[i] - G * a.d[i] * a.d[i] / 2, impact = u - G * a.d[i];
        EXPECT_NEAR(end, i < c.m ? 0 : c.H2, 1e-8) << "arc " << i;
        if (i == c.m) {
          EXPECT_EQ(impact < 0, c.s2 == 1);
        }
        total += a.d[i];
        covered += a.u[i] * a.d[i];
        u = -c.e * impact;
        h = 0;
      }
      EXPECT_NEAR(total, c.T, 1e-8);
      EXPECT_NEAR(covered, c.dist, 1e-9);
    }
  }
}

TEST(BounceSolver, NoSolutionForTooShortATime) {
  BounceArcs out[2];
  EXPECT_EQ(Dotzbahn_loesen(G, 0.8, 0.9, 0.05, 0.2, 3, 1, 1, 0, 0.3, 1.0, 1.0, out), 0);
}

// Whole patterns with bounce throws: every run obeys the bounce physics and every chain passes
// the checker, with the search and with the solver.
TEST(BouncePatterns, RunsObeyTheBouncePhysics) {
  const std::string hands = "p 0  0 0.2 1.0  0 -0.2 1.0\n";
  struct Case {
    const char *name;
    std::string text;
    int solver;
  } cases[] = {
      {"forced", "@" + sourcePath("data/m/3ball_forced_bounce"), 0},
      {"forcedSolver", "@" + sourcePath("data/m/3ball_forced_bounce"), BOUNCE_SOLVER},
      {"upTwice", hands + "dt=0.4 eps=0.9\n*\n//a -\n- -\n- -\n- a\n", 0},
      {"upTwiceSolver", hands + "dt=0.4 eps=0.9\n*\n//a -\n- -\n- -\n- a\n", BOUNCE_SOLVER},
      {"elastic", hands + "dt=0.4 eps=1\n*\n/a -\n- -\n- -\n- a\n", 0},
      {"elasticSolver", hands + "dt=0.4 eps=1\n*\n/a -\n- -\n- -\n- a\n", BOUNCE_SOLVER},
      {"mixed", hands + "dt=0.35\n*\n/a -\n- b\n\\c -\n- a\nb -\n- \\c\n", 0},
      {"pass", "j 0 -1.25 0 0 c c\n180 1.25 0 0 c c\ndt=0.35\n*\n- /a - -\n- - - -\n- - - -\n- - a -\n- - - -\n- - - -\n", 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    qPrefs.iflag = c.solver;
    int code = c.text[0] == '@' ? loadPattern(c.text.substr(1)) : loadText(c.text);
    qPrefs.iflag = 0;
    ASSERT_EQ(code, 0);
    int arcs = 0;
    for (int o = 0; o < objekte; o++)
      for (int s = 0; s <= paraz[o]; s++) {
        arcs += chaincheck::isBounceArc(flugbahn[o][s]);
        EXPECT_FALSE(flugbahn[o][s].flag & FB_BOUNCE_PENDING);
      }
    EXPECT_GT(arcs, 0);
    for (const std::string &f : chaincheck::checkBounces(Dotzfaktor)) ADD_FAILURE() << f;
    for (const std::string &f : chaincheck::checkChains()) ADD_FAILURE() << f;
  }
}

// A bounce throw that cannot be entered fails the load with the tracking's code and its message.
TEST(BounceFixtures, AreRefusedWithTheTrackingCode) {
  struct Case {
    const char *file;
    int message;
  } cases[] = {{"bounce_too_many", 701}, {"bounce_dead_floor", 702}};
  for (const Case &c : cases) {
    EXPECT_EQ(loadPattern(sourcePath(std::string("tests/pattern/fixtures/") + c.file)), 118) << c.file;
    EXPECT_EQ(patternTestSeam.lastPatternMessage, c.message) << c.file;
    EXPECT_EQ(flugbahn, nullptr);
  }
}

}  // namespace
