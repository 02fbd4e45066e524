// Holds: each hold joins the flights around it and turns the object from one flight's angles to
// the next's; tangents, the kinds of hold, the failures, kept objects and holds over the wrap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "chain_checker.h"
#include "pattern/handpaths.h"
#include "pattern/holds.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"
#include "pattern/modeltable.h"
#include "pattern/testseam.h"
#include "core/vecmath.h"
#include "core/uistate.h"

namespace {

// Loads with every object a point without radius, so that flights meet their holds exactly.
int loadPoints(const std::string &text) {
  static int16_t point[6] = {0, 6, 0, 0, 0, 0};
  int16_t *kept = objectShapes[199];
  objectShapes[199] = point;
  chosenModel = 199;
  int code = text[0] == '@' ? loadPattern(sourcePath(text.substr(1))) : loadText(text);
  chosenModel = -1;
  objectShapes[199] = kept;
  return code;
}

const std::string kHands = "! holds\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n";
const std::string kCascade = kHands + "*\na -\n- b\nc -\n- a\nb -\n- c\n";

double wrapped(double a) { return std::remainder(a, 2 * PI); }

// The hold at segment s of object o with the flights before and after it in the same chain.
struct Around {
  const Flugbahn *f0, *h, *f2;
};

std::vector<Around> holdsBetweenFlights() {
  std::vector<Around> out;
  for (int o = 0; o < objekte; o++)
    for (int s = 1; s < paraz[o]; s++) {
      const Flugbahn &a = flugbahn[o][s - 1], &h = flugbahn[o][s], &b = flugbahn[o][s + 1];
      if (chaincheck::isHold(h) && chaincheck::isFlight(a) && chaincheck::isFlight(b)) out.push_back({&a, &h, &b});
    }
  return out;
}

// A hold of object 0 between two flights of its chain.
int holdOfFirstObject() {
  for (int s = 1; s < paraz[0]; s++)
    if (chaincheck::isHold(flugbahn[0][s]) && chaincheck::isFlight(flugbahn[0][s - 1]) && chaincheck::isFlight(flugbahn[0][s + 1]))
      return s;
  return -1;
}

int refill(int s) {
  const Flugbahn &h = flugbahn[0][s];
  return Objektbahn_in_Hand_eintragen(0, s, h.haltehand, h.taktvon, h.taktbis);
}

// Every hold of these patterns starts where its flight ended, ends where the next starts, carries
// the arrival's impact, and turns the object to the next flight's spin angle and heading.
TEST(Hold, JoinsItsFlightsAndTurnsTheObject) {
  const std::string passing = "j 0 -1.25 0 0 c c\n180 1.25 0 0 c c\ns=0\n*\n- a - -\n- - - -\n- - - -\n- - a -\n- - - -\n- - - -\n";
  const std::string spinning = kHands + "*\n(c2)a -\n- -\n- (c1)a\n- -\n";
  int turning = 0;
  for (const std::string &text : {kCascade, passing, spinning, std::string("@data/m/4ball_32_3_mplex"),
                                  std::string("@data/m/3ball_underleg"), std::string("@data/m/9club_feed_pass")}) {
    SCOPED_TRACE(text);
    ASSERT_EQ(loadPoints(text), 0);
    std::vector<Around> holds = holdsBetweenFlights();
    ASSERT_FALSE(holds.empty());
    for (const Around &a : holds) {
      const Flugbahn &f0 = *a.f0, &h = *a.h, &f2 = *a.f2;
      double end[3], ve[3];
      chaincheck::flightPosition(f0, f0.t_to, end);
      chaincheck::flightEndVelocity(f0, ve);
      EXPECT_LT(chaincheck::distance(end, h.B0), 1e-9);
      EXPECT_LT(chaincheck::distance(f2.X0, h.B3), 1e-9);
      EXPECT_EQ(h.handvon, h.haltehand);
      EXPECT_EQ(h.handbis, h.haltehand);
      EXPECT_EQ(h.flag & 0x12u, 0x12u);
      EXPECT_NEAR(h.az, ve[2] * ve[2] / 0.6, 1e-9);
      EXPECT_NEAR(wrapped(h.W[0] - chaincheck::flightEndAngle(f0)), 0, 1e-9);
      EXPECT_NEAR(wrapped(h.W[1] - f0.W[1]), 0, 1e-12);
      // The spin reaches the turning angle at t_apex and then goes on, mirrored, to the next
      // flight's start angle; without a turning point it turns evenly all the hold.
      double D = h.t_to - h.t_from, sense = (h.flag & FB_MIRRORED) ? -1 : 1, a0 = std::fabs(h.W[0]);
      ASSERT_TRUE(std::isfinite(h.Wp[0]));
      ASSERT_GT(h.t_apex, 0);
      ASSERT_LE(h.t_apex, D + 1e-12);
      double turn = a0 + sense * h.Wp[0] * h.t_apex;
      double last = h.t_apex < D ? 2 * turn - a0 - sense * h.Wp[0] * D : turn;
      EXPECT_NEAR(last, std::fabs(f2.W[0]), 1e-9);
      turning += h.t_apex < D;
    }
  }
  EXPECT_GT(turning, 0);
}

TEST(Hold, KindsOfHoldShapeTheCurve) {
  // A hand whose preset kind is d carries its object nearly straight.
  ASSERT_EQ(loadText("j 0 0 0 0 d d\ns=0\n*\na -\n- b\nc -\n- a\nb -\n- c\n"), 0);
  std::vector<Around> holds = holdsBetweenFlights();
  ASSERT_FALSE(holds.empty());
  for (const Around &a : holds)
    for (int k = 0; k < 3; k++) {
      EXPECT_NEAR(a.h->B1[k], a.h->B0[k] + 0.1 * (a.h->B3[k] - a.h->B0[k]), 1e-12);
      EXPECT_NEAR(a.h->B2[k], a.h->B3[k], 1e-12);
    }
  // After a pass the curve starts straight down.
  ASSERT_EQ(loadPattern(sourcePath("data/m/6club_2count_pass")), 0);
  int after = 0;
  for (const Around &a : holdsBetweenFlights())
    if (a.f0->flag & FB_PASS) {
      after++;
      EXPECT_NEAR(a.h->B1[2], a.h->B0[2] - 0.6, 1e-12);
      EXPECT_NEAR(a.h->B1[0], a.h->B0[0], 1e-12);
    }
  EXPECT_GT(after, 0);
}

// The first tangent is 0.12 / sqrt(speed) of the arrival velocity long, at most 0.3 m less the
// scatter, and never turns backwards.
TEST(Hold, SlowArrivalsGetALongTangentUpToTheLimit) {
  struct Case {
    double speed, scatter, factor;
  } cases[] = {{4.0, 0, 0.06}, {0.01, 0, 0.3}, {0, 0, 0.3}, {0.01, 0.1, 0.2}, {0.01, 0.4, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "speed " << c.speed << " scatter " << c.scatter);
    ASSERT_EQ(loadText(kCascade), 0);
    scatter = c.scatter;
    int s = holdOfFirstObject();
    ASSERT_GT(s, 0);
    Flugbahn &f0 = flugbahn[0][s - 1];
    f0.V[0] = c.speed;
    f0.V[1] = f0.V[2] = f0.az = 0;
    ASSERT_EQ(refill(s), 0);
    const Flugbahn &h = flugbahn[0][s];
    EXPECT_NEAR(h.B1[0] - h.B0[0], c.factor * c.speed, 1e-12);
    EXPECT_NEAR(h.B1[1], h.B0[1], 1e-12);
    EXPECT_NEAR(h.B1[2], h.B0[2], 1e-12);
  }
}

// The turning point lies within the hold and no rate is 0 / 0, whatever the angles.
TEST(Hold, SpinTurnStaysWithinTheHold) {
  struct Case {
    double arrive, leave, rate;
  } cases[] = {{PI / 2, PI / 2, 0}, {PI / 2, 1.0, 2.0}, {0.3, 2.8, 0}, {PI / 2, PI / 2, 4.0}, {3.0, 0.2, 6.0}, {PI, 0, 9.0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.arrive << " -> " << c.leave << " at " << c.rate);
    ASSERT_EQ(loadText(kCascade), 0);
    int s = holdOfFirstObject();
    ASSERT_GT(s, 0);
    Flugbahn &f0 = flugbahn[0][s - 1], &f2 = flugbahn[0][s + 1];
    f0.W[0] = c.arrive;
    f0.Wp[0] = 0;
    f2.W[0] = c.leave;
    f2.Wp[0] = c.rate;
    ASSERT_EQ(refill(s), 0);
    const Flugbahn &h = flugbahn[0][s];
    double D = h.t_to - h.t_from;
    EXPECT_TRUE(std::isfinite(h.Wp[0]));
    EXPECT_GT(h.t_apex, 0);
    EXPECT_LE(h.t_apex, D);
  }
}

TEST(Hold, FailuresHaveTheirCodes) {
  ASSERT_EQ(loadText(kCascade), 0);
  int s = holdOfFirstObject();
  ASSERT_GT(s, 0);
  const Flugbahn hold = flugbahn[0][s];
  EXPECT_EQ(Objektbahn_in_Hand_eintragen(0, s, SEGMENT_CLEARED, hold.taktvon, hold.taktbis), HOLD_HAND_UNUSED);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 46);
  EXPECT_EQ(Objektbahn_in_Hand_eintragen(0, paraz[0] + 1, hold.haltehand, hold.taktvon, hold.taktbis), HOLD_FAILED);
  // A takt whose cell of the hand is empty has no kind of throw.
  int empty = 0;
  while (empty < takte && muster[empty][hold.haltehand][0] != '-') empty++;
  ASSERT_LT(empty, takte);
  EXPECT_EQ(Objektbahn_in_Hand_eintragen(0, s, hold.haltehand, empty, hold.taktbis), HOLD_BAD_KIND);
  // The next throw leaving at the catch gives a hold of no length.
  flugbahn[0][s + 1].t_from = flugbahn[0][s - 1].t_to;
  patternTestSeam.lastPatternMessage = 0;
  EXPECT_EQ(refill(s), HOLD_FAILED);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 46);
  // Without flights there is nothing to hold between.
  for (int k = 0; k <= paraz[0]; k++) Flugbahnsegment_loeschen(0, k);
  EXPECT_EQ(Objektbahn_in_Hand_eintragen(0, s, hold.haltehand, hold.taktvon, hold.taktbis), HOLD_NO_FLIGHT);
  // The walk leaves a chain without any flight alone.
  EXPECT_EQ(Objekt_in_der_Hand(), 0);
  EXPECT_EQ(flugbahn[0][s].haltehand, SEGMENT_CLEARED);
}

TEST(Hold, AHandKeepingItsObjectLeavesATwoEntryChain) {
  ASSERT_EQ(loadText(kCascade), 0);
  for (int s = 0; s <= paraz[0]; s++) Flugbahnsegment_loeschen(0, s);
  Flugbahn &kept = flugbahn[0][1];
  kept.haltehand = 0;
  kept.t_from = 0;
  kept.t_to = t_zyklus;
  hand_immer[0] = 1000;
  int code = Objekt_in_der_Hand();
  hand_immer[0] = 0;
  ASSERT_EQ(code, 0);
  EXPECT_EQ(paraz[0], 1);
  EXPECT_EQ(flugbahn[0][0].haltehand, 0);
  EXPECT_EQ(flugbahn[0][0].t_to, t_zyklus);
}

// An object held by a hand over the boundary into its wrap partner gets that hold as its first
// segment; one that no hand holds there cannot.
TEST(Hold, HoldOverTheWrapComesFromTheGrid) {
  const std::string text = "! wrap\ndt=0.3 l=1.1\nj 0   0 0 0   c c\ns=0\n*\na -\n- -\n- -\nc a\n*\nac\nca\n";
  ASSERT_EQ(loadText(text), 0);
  int a = Objekt_Nummer('a');
  EXPECT_EQ(start[a].wrap, 1);
  const Flugbahn &first = flugbahn[a][0];
  EXPECT_TRUE(chaincheck::isHold(first));
  EXPECT_EQ(first.haltehand, 0);
  EXPECT_LE(first.t_from, 0);
  EXPECT_GT(first.t_to, 0);
  for (const std::string &f : chaincheck::checkChains()) ADD_FAILURE() << f;

  ASSERT_EQ(loadPattern(sourcePath("data/m/3ball_cascade_wrap")), 0);
  start[0].wrap = 1;
  EXPECT_EQ(Objekt_in_der_Hand(), HOLD_FAILED);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 46);
}

// A cell whose kind of throw is broken fails the holds when only the hold reads it.
TEST(HoldFixtures, AreRefusedWithTheHoldsCode) {
  EXPECT_EQ(loadPattern(sourcePath("tests/pattern/fixtures/hold_bad_kind")), 120);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 46);
  EXPECT_EQ(flugbahn, nullptr);
}

}  // namespace
