// Fitting and the cycle window: every loaded chain passes the independent checker; flights meet
// their holds through the object's radius; failures, rotation into the cycle and the chain check.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "chain_checker.h"
#include "pattern/fitting.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"
#include "pattern/modeltable.h"
#include "pattern/testseam.h"
#include "core/vecmath.h"
#include "core/uistate.h"

namespace {

const std::string kHands = "! fit\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n";
const std::string kCascade = kHands + "*\na -\n- b\nc -\n- a\nb -\n- c\n";

void expectSound(bool handLoads = true) {
  for (const std::string &f : chaincheck::checkChains()) ADD_FAILURE() << f;
  for (const std::string &f : chaincheck::checkBounces(Dotzfaktor)) ADD_FAILURE() << f;
  if (handLoads)
    for (const std::string &f : chaincheck::checkHandLoads()) ADD_FAILURE() << f;
}

struct Pattern {
  const char *name;
  std::string source;  // a file of the repository, or the text of a pattern
};

std::vector<Pattern> patterns() {
  std::vector<Pattern> out;
  for (const char *file : {"data/m/3ball_cascade", "data/m/3ball_cascade_wrap", "data/m/3ball_forced_bounce",
                           "data/m/3ball_props_camera", "data/m/3ball_underleg", "data/m/4ball_32_3_mplex",
                           "data/m/5ball_cascade", "data/m/6club_2count_pass", "data/m/9club_feed_pass",
                           "data/b/benchmark1", "data/b/benchmark2", "data/b/benchmark3"})
    out.push_back({file, file});
  out.push_back({"bounceUp", kHands + "dt=0.4\n*\n/a -\n- b\n/c -\n- a\n/b -\n- c\n"});
  out.push_back({"bounceMultiplex", kHands + "dt=0.35\n*\n/a&d -\n- c\nb&d -\n- a\nc&d -\n- b\n"});
  out.push_back({"wrapHeld", "! w\ndt=0.3 l=1.1\nj 0   0 0 0   c c\ns=0\n*\na -\n- -\n- -\nc a\n*\nac\nca\n"});
  out.push_back({"wrapBounce", "! w\ndt=0.35\nj 0   0 0 0   c c\ns=0\n*\n/a  -\n-  b\nc  -\n-  a\n*\nabc\ncab\n"});
  // The throw over the boundary bounces: its arcs begin the partner's chain.
  out.push_back({"wrapBounceOverBoundary", "! w\ndt=0.35\nj 0   0 0 0   c c\ns=0\n*\na  -\n-  b\nc  -\n-  /a\n*\nabc\ncab\n"});
  out.push_back({"handOver", kHands + "*\na -\n- a\n- -\n- b\nb -\n- -\n"});
  return out;
}

void PrintTo(const Pattern &p, std::ostream *os) { *os << p.name; }

int load(const Pattern &p) { return p.source[0] == '!' ? loadText(p.source) : loadPattern(sourcePath(p.source)); }

class WholePattern : public testing::TestWithParam<Pattern> {};

// Loaded with the chain check made strict, every chain holds, joins in place, covers one cycle,
// bounces as the bounce factor says and never puts more objects in a hand than its cells list.
TEST_P(WholePattern, ChainsPassTheChecker) {
  ASSERT_EQ(load(GetParam()), 0);
  expectSound();
}

// The shape of a model decides where a flight meets its hold: a ball is offset straight up to
// its centre, a club along its spin angle. Refitting moves every flight and every bounce contact.
TEST_P(WholePattern, RefittingForAModelMovesTheFlightsOntoIt) {
  struct Model {
    int16_t flags, radius;
  } models[] = {{4, -60}, {0, 300}};
  for (const Model &m : models) {
    SCOPED_TRACE(testing::Message() << "model radius " << m.radius);
    ASSERT_EQ(load(GetParam()), 0);
    int16_t shape[6] = {0, 6, 0, m.flags, m.radius, 0};
    int16_t *kept = objectShapes[199];
    objectShapes[199] = shape;
    chosenModel = 199;
    int code = Flugbahnen_anpassen();
    std::vector<std::string> faults = chaincheck::checkChains(), bounces = chaincheck::checkBounces(Dotzfaktor);
    double contact = chaincheck::contactHeight(0);
    chosenModel = -1;
    objectShapes[199] = kept;
    ASSERT_EQ(code, 0);
    EXPECT_NEAR(contact, m.flags ? 0.06 : 0.05, 1e-12);
    // Refitted flights and bounce runs change their speeds a little: the holds shaped for the
    // first flights no longer follow them exactly.
    for (const std::string &f : faults)
      if (f.find("velocity") == std::string::npos) ADD_FAILURE() << f;
    for (const std::string &f : bounces) ADD_FAILURE() << f;
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, WholePattern, testing::ValuesIn(patterns()),
                         [](const testing::TestParamInfo<Pattern> &i) {
                           std::string n = i.param.name;
                           for (char &c : n)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

// The checker itself finds what it looks for.
TEST(ChainChecker, FindsBrokenChains) {
  struct Case {
    const char *what;
    void (*breakIt)();
    const char *found;
  } cases[] = {
      {"hold moved", [] {
         for (int s = 1; s <= paraz[0]; s++)
           if (chaincheck::isHold(flugbahn[0][s])) {
             flugbahn[0][s].B0[2] += 0.01;
             return;
           }
       }, "jumps"},
      {"gap", [] { flugbahn[0][2].t_from += 0.01; }, "next starts"},
      {"short cycle", [] {
         Flugbahn &last = flugbahn[0][paraz[0]];
         last.t_to = (last.t_from + t_zyklus) / 2;
       }, "ends before"},
      {"rebound", [] {
         for (int s = 1; s <= paraz[0]; s++)
           if (chaincheck::isBounceArc(flugbahn[0][s]) && chaincheck::isBounceArc(flugbahn[0][s - 1])) {
             flugbahn[0][s].V[2] *= 1.01;
             return;
           }
       }, "rises"},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(loadPattern(sourcePath("data/m/3ball_forced_bounce")), 0);
    c.breakIt();
    std::string all;
    for (const std::string &f : chaincheck::checkChains()) all += f + "\n";
    for (const std::string &f : chaincheck::checkBounces(Dotzfaktor)) all += f + "\n";
    EXPECT_NE(all.find(c.found), std::string::npos) << c.what << ":\n" << all;
  }
  ASSERT_EQ(loadText(kCascade), 0);
  Flugbahn extra = flugbahn[0][1];
  for (int s = 0; s <= paraz[0]; s++)
    if (chaincheck::isHold(flugbahn[0][s])) flugbahn[0][s].t_to += t_zyklus / 2;
  EXPECT_FALSE(chaincheck::checkHandLoads().empty());
  flugbahn[0][1] = extra;
}

TEST(Fitting, AFlightOfAHandKeepingItsObjectBecomesAHold) {
  ASSERT_EQ(loadText(kCascade), 0);
  int s = 1;
  while (s <= paraz[0] && !chaincheck::isFlight(flugbahn[0][s])) s++;
  ASSERT_LE(s, paraz[0]);
  int column = Hand(flugbahn[0][s].handvon, 0);
  hand_immer[column] = 1000;
  int code = FlugbahnKO_anpassen(0, s);
  hand_immer[column] = 0;
  ASSERT_EQ(code, 0);
  const Flugbahn &f = flugbahn[0][s];
  EXPECT_EQ(f.haltehand, f.handvon);
  EXPECT_NEAR(f.W[0], PI / 2, 1e-12);
  EXPECT_EQ(f.az, 0);
  EXPECT_EQ(f.V[0], 0);
  EXPECT_EQ(f.V[2], 0);
}

// A flight or a bounce run without the holds around it, or a flight of no length, stops the fit.
TEST(Fitting, FailuresHaveTheirCodes) {
  struct Case {
    const char *source;
    int code;
  } cases[] = {{"data/m/3ball_cascade", FIT_FLIGHT_FAILED}, {"data/m/3ball_forced_bounce", FIT_BOUNCE_FAILED}};
  for (const Case &c : cases) {
    ASSERT_EQ(loadPattern(sourcePath(c.source)), 0);
    for (int s = 0; s <= paraz[0]; s++)
      if (chaincheck::isHold(flugbahn[0][s])) Flugbahnsegment_loeschen(0, s);
    patternTestSeam.lastPatternMessage = 0;
    EXPECT_EQ(Flugbahnen_anpassen(), c.code) << c.source;
    EXPECT_EQ(patternTestSeam.lastPatternMessage, 46);
  }
  ASSERT_EQ(loadText(kCascade), 0);
  int s = 1;
  while (s <= paraz[0] && !chaincheck::isFlight(flugbahn[0][s])) s++;
  flugbahn[0][s].t_to = flugbahn[0][s].t_from;
  EXPECT_EQ(FlugbahnKO_anpassen(0, s), FIT_FLIGHT_FAILED);
}

// Turns the periodic chain of object 0 by k places (down for k > 0, up for k < 0), keeping its
// last segment the first one a cycle later.
void turnChain(int k) {
  int n = paraz[0];
  for (; k > 0; k--) {
    for (int s = 0; s < n; s++) flugbahn[0][s] = flugbahn[0][s + 1];
    flugbahn[0][n] = flugbahn[0][0];
    Zyklus_anpassen(&flugbahn[0][n], 2);
  }
  for (; k < 0; k++) {
    for (int s = n; s > 0; s--) flugbahn[0][s] = flugbahn[0][s - 1];
    flugbahn[0][0] = flugbahn[0][n];
    Zyklus_anpassen(&flugbahn[0][0], 1);
  }
}

TEST(CycleWindow, ChainsTurnUntilTheirFirstSegmentHoldsTimeZero) {
  for (int k : {1, 2, 3, -1, -2}) {
    SCOPED_TRACE(testing::Message() << "turned by " << k);
    ASSERT_EQ(loadText(kCascade), 0);
    std::vector<Flugbahn> before(flugbahn[0], flugbahn[0] + paraz[0] + 1);
    turnChain(k);
    EXPECT_TRUE(flugbahn[0][0].t_from > 0 || flugbahn[0][0].t_to < 0);
    EXPECT_EQ(Flugbahnen_in_Zyklus_schieben(), objekte);
    EXPECT_LE(flugbahn[0][0].t_from, 0);
    EXPECT_GE(flugbahn[0][0].t_to, 0);
    for (int s = 0; s <= paraz[0]; s++) EXPECT_NEAR(flugbahn[0][s].t_from, before[s].t_from, 1e-12) << s;
    expectSound();
  }
}

// One fault per gap or wrong segment, joins compared with a tolerance, the last join included.
TEST(ChainCheck, CountsEveryFault) {
  struct Case {
    const char *what;
    void (*change)();
    int faults;
  } cases[] = {
      {"sound", [] {}, 0},
      {"rounding", [] { flugbahn[0][2].t_from += 1e-9; }, 0},
      {"gap", [] { flugbahn[0][2].t_from += 0.01; }, 1},
      {"last join", [] { flugbahn[0][paraz[0]].t_from += 0.01; }, 1},
      {"late start", [] { flugbahn[0][0].t_from = 0.01; }, 1},
      {"early end", [] { flugbahn[0][paraz[0]].t_to = t_zyklus - 0.01; }, 1},
      {"backwards", [] { std::swap(flugbahn[0][2].t_from, flugbahn[0][2].t_to); }, 3},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(loadText(kCascade), 0);
    c.change();
    EXPECT_EQ(Flugbahnen_pruefen(), c.faults) << c.what;
  }
  EXPECT_EQ(loadText(kCascade), 0);
}

}  // namespace
