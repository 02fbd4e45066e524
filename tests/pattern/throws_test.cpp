// Throws: kind-of-throw groups, spin over a flight and its mirroring, over-the-shoulder passes,
// stacking of objects held together, object properties, the shared geometry and the flight dump.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "core/runstate.h"
#include "paths_fixture.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "pattern/modeltable.h"
#include "core/vecmath.h"
#include "core/uistate.h"

extern int patternDebugLevel;

using namespace pathtest;

namespace {

const char *const kHeader = "! test\n@M p 0.4 0.5 1.3\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n*\n";

std::string withBody(const std::string &body, const char *header = kHeader) { return std::string(header) + body; }

TEST(KindOfThrow, GroupsGiveKindSpinCountAndAngle) {
  ASSERT_EQ(track(withBody("Ma b&c\n- -\n- -\n- -\n")), 0);
  ASSERT_EQ(handCount, 4);
  struct Case {
    const char *cell;
    int hand;
    uint32_t kind;
    int spin;
    double angle;
  } cases[] = {
      {"a", 0, 0, SPIN_NONE, 0},
      {"(c)a", 0, KOT_c, SPIN_NONE, 0},
      {"(c3)a", 0, KOT_c, 3, 0},
      {"(c-3)a", 0, KOT_c, -3, 0},
      {"(cb)a", 0, KOT_c, 0, 0},  // the b stands in the count's place
      {"(c3b2)a", 0, KOT_b, 2, 0},
      {"(*2)a", 0, 0, 2, 0},
      {"(z45)a", 0, KOT_z, SPIN_NONE, 45},
      {"(z-30c2)a", 0, KOT_c, 2, -30},
      {"(c12)a", 0, KOT_BAD_GROUP, SPIN_NONE, 0},
      {"(x)a", 0, KOT_BAD_GROUP, SPIN_NONE, 0},
      {"(c", 0, 0, SPIN_NONE, 0},  // a group cut at the cell end holds no object
      {"(z1234567890123", 0, 0, SPIN_NONE, 0},
      {"-", 0, KOT_ERROR, SPIN_NONE, 0},
      {"/(f)a", 0, KOT_f, SPIN_NONE, 0},
      {"b&(t2)a", 0, 0, SPIN_NONE, 0},
      {"b&(t2)a", 2, KOT_t, 2, 0},
      {"(s)b&a", 2, 0, SPIN_NONE, 0},
      {"(f)Ma", 4, KOT_f, SPIN_NONE, 0},
      {"(a)b&(f)Ma", 4, KOT_f, SPIN_NONE, 0},
  };
  for (const Case &c : cases) {
    snprintf(muster[1][0], CELL_SIZE + 1, "%s", c.cell);
    EXPECT_EQ(GetKindOfThrow(c.hand, 1), c.kind) << c.cell << " hand " << c.hand;
    if (c.kind != KOT_BAD_GROUP && c.kind != KOT_ERROR) {
      EXPECT_EQ(throwSpinCount, c.spin) << c.cell;
      EXPECT_EQ(throwZAngle, c.angle) << c.cell;
    }
  }
  EXPECT_EQ(GetKindOfThrow(SEGMENT_CLEARED, 1), KOT_ERROR);
  snprintf(muster[1][0], CELL_SIZE + 1, "(c)a");
  EXPECT_EQ(GetKindOfThrow(0, 1 + takte), KOT_c);
  EXPECT_EQ(GetKindOfThrow(0, 1 - takte), KOT_c);
  EXPECT_EQ(GetKindOfThrow(0, 1 + 2 * takte), 0u);
}

TEST(KindOfThrow, LettersMapToTheirFlags) {
  const char letters[] = "c C r f b B a A s S t d z * )";
  const uint32_t flags[] = {KOT_c, KOT_C, KOT_C, KOT_f, KOT_b, KOT_B, KOT_a, KOT_A, KOT_s, KOT_S, KOT_t, KOT_d, KOT_z, 0, KOT_GROUP_END};
  for (size_t i = 0; i < sizeof flags / sizeof flags[0]; i++) EXPECT_EQ(KindOfThrowFlag(letters[2 * i]), flags[i]) << letters[2 * i];
  EXPECT_EQ(KindOfThrowFlag('q'), KOT_ERROR);
}

// A kind of throw moves the flight's ends to the kind's preset points of the hand's juggler.
TEST(KindOfThrow, KindPresetGivesTheFlightsEnds) {
  ASSERT_EQ(track(withBody("(f)a -\n- -\n- (c)a\n- -\n- -\n- -\n")), 0);
  const Flugbahn &f = flugbahn[0][2];
  EXPECT_EQ(f.kot, KOT_f);
  EXPECT_NEAR(f.X0[0], 0, 1e-12);
  EXPECT_NEAR(f.X0[1], 0.3, 1e-12);
  EXPECT_NEAR(f.X0[2], 1.0 + quoitPos[0].position[2], 1e-12);
  double end[3];
  positionAt(f, f.t_to, end);
  EXPECT_NEAR(end[0], 0, 1e-12);
  EXPECT_NEAR(end[1], -0.4, 1e-12);  // the right hand's side
}

TEST(Spin, SpinwinkelTurnsBackwardsByCountOrFlightTime) {
  qPrefs.timefactor = 1.0;
  EXPECT_NEAR(Spinwinkel(1.0, 0.5, SPIN_NONE), -4 * PI - 0.5, 1e-12);
  EXPECT_NEAR(Spinwinkel(0.44, 0, SPIN_NONE), 0, 1e-12);
  EXPECT_NEAR(Spinwinkel(1.0, 0.5, 3), -0.5 - 6 * PI, 1e-12);
  EXPECT_NEAR(Spinwinkel(1.0, 0, 0), 0, 1e-12);
  qPrefs.timefactor = 2.0;
  EXPECT_NEAR(Spinwinkel(1.0, 0, SPIN_NONE), -2 * PI, 1e-12);
  qPrefs.timefactor = 1.0;
}

TEST(Spin, FlightTurnsTheStatedNumberOfTurns) {
  struct Case {
    const char *cell;
    double turns;
  } cases[] = {{"(*2)a", 2}, {"(*0)a", 0}, {"(*-1)a", -1}, {"a", 1}};
  for (const Case &c : cases) {
    std::string body = std::string(c.cell) + " -\n- -\n- -\n- a\n- -\n- -\n";
    ASSERT_EQ(track(withBody(body, "! t\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\ndt=0.3\n*\n")), 0) << c.cell;
    const Flugbahn &f = flugbahn[0][2];
    double T = f.t_to - f.t_from;
    ASSERT_NEAR(T, 0.48, 1e-12);
    EXPECT_NEAR(f.Wp[0] * T, -2 * PI * c.turns, 1e-9) << c.cell;
    EXPECT_NEAR(f.W[0], PI / 2, 1e-12);
    EXPECT_EQ(f.Wp[1], 0);
  }
}

// Throws of one height and kind fly equally long, so they turn equally, though the flight time,
// a difference of two takt times, comes out a little above or below its exact value.
TEST(Spin, ThrowsOfOneHeightAndKindTurnAlike) {
  struct Case {
    const char *siteswap;
    double timefactor;
  } cases[] = {{"5", 1}, {"97531", 1}, {"531", 1}, {"[54]24", 1}, {"531", 2}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.siteswap) + " with time factor " + std::to_string(c.timefactor));
    std::string why;
    std::string text = convertSiteswap(c.siteswap, &why);
    ASSERT_NE(text, "") << why;
    std::string path = writeTempPattern("spin", text);
    freshPatternState();
    qPrefs.timefactor = c.timefactor;
    int code = loadPreparedPattern(path);
    qPrefs.timefactor = 1.0;
    remove(path.c_str());
    ASSERT_EQ(code, 0) << text;
    std::map<std::pair<int, uint32_t>, double> spinOf;  // by height in takts and kind of throw
    for (int o = 0; o < objekte; o++)
      for (const Flugbahn &f : flightsOf(o)) {
        double spin = f.Wp[0] * (f.t_to - f.t_from);
        auto known = spinOf.emplace(std::make_pair(f.taktbis - f.taktvon, f.kot), spin).first;
        EXPECT_NEAR(spin, known->second, 1e-9) << "object " << o << ", takts " << f.taktvon << " to " << f.taktbis;
      }
    EXPECT_FALSE(spinOf.empty());
  }
}

// Two jugglers facing each other: a pass along the thrower's heading is a forward throw, so it
// starts at 3/4 pi, spins the phase back and turns the spin sense of the flights after it.
TEST(Spin, ForwardPassCarriesThePhaseAndTurnsTheSpin) {
  EXPECT_EQ(Wurf_ueber_Schulter(0, PI, 0), 1);
  ASSERT_EQ(track("! pass\na=24\nj 0 0 0 0 c c\n180 3 0 0 c c\ns=0\n*\n- a - -\n- - - -\n- - - -\n- - a -\n- - - -\n- - - -\n"), 0);
  const Flugbahn &first = flugbahn[0][2], &second = flugbahn[0][4];
  double T = first.t_to - first.t_from;
  EXPECT_TRUE(first.flag & FB_PASS);
  EXPECT_TRUE(first.flag & FB_SPIN_TURN);
  // Segment 0, the last pass one cycle earlier, turns the sense for the first pass of the cycle.
  EXPECT_TRUE(first.flag & FB_MIRRORED);
  EXPECT_FALSE(second.flag & FB_MIRRORED);
  EXPECT_NEAR(second.W[0], 3 * PI / 4, 1e-12);
  EXPECT_NEAR(second.Wp[0] * T, -3 * PI / 4, 1e-12);
  EXPECT_NEAR(first.W[0], -3 * PI / 4, 1e-12);
  EXPECT_NEAR(first.Wp[0] * T, 3 * PI / 4, 1e-12);
  // Headed from the thrower's throw point towards the catcher's catch point.
  const double *from = fangwurf[second.handvon].wurf, *to = fangwurf[second.handbis].fang;
  EXPECT_NEAR(remainder(second.W[1] - atan2(to[1] - from[1], to[0] - from[0]), 2 * PI), 0, 1e-12);
  EXPECT_GT(std::fabs(second.W[1]), PI / 2);
}

// A pass from juggler 0 (at the origin, facing +x) to juggler 1: its start angles, spin phase and
// whether it turns the spin sense follow from where juggler 1 stands and faces. Only a plain pass
// is judged over the shoulder: a throw behind the back (kind b) keeps its own angles and never
// turns the spin sense, wherever the catcher stands.
TEST(Spin, PassGeometryGivesAnglesPhaseAndTurn) {
  struct Case {
    const char *name, *cell;
    double x, heading;  // juggler 1: position on the x axis, heading in degrees
    double w0, phase;
    bool turns, backwards;
  } cases[] = {
      {"facing", "a", 3, 180, 3 * PI / 4, 3 * PI / 4, true, false},
      {"same heading", "a", 3, 0, 3 * PI / 4, 3 * PI / 4, false, false},
      {"backwards", "a", -3, 0, PI / 2, 0, false, true},
      {"over the shoulder", "a", -3, 180, PI / 2, PI / 2, true, true},
      {"behind the back", "(b)a", 3, 180, PI / 2, PI / 2, false, false},
      {"behind the back to one behind", "(b)a", -3, 180, PI / 2, PI / 2, false, false},
      {"behind the back, same heading", "(b)a", -3, 0, PI / 2, PI / 2, false, false},
  };
  for (const Case &c : cases) {
    char text[300];
    snprintf(text, sizeof text,
             "! pass\na=24\nj 0 0 0 0 c c\n%f %f 0 0 c c\ns=0\n*\n- %s - -\n- - - -\n- - - -\n- - a -\n- - - -\n- - - -\n",
             c.heading, c.x, c.cell);
    ASSERT_EQ(track(text), 0) << c.name;
    Flugbahn f = flugbahn[0][2];
    ASSERT_EQ(f.handvon, 1) << c.name;
    if (f.flag & FB_MIRRORED) {
      f.W[0] = -f.W[0];
      f.W[1] -= PI;
      f.Wp[0] = -f.Wp[0];
    }
    double T = f.t_to - f.t_from;
    ASSERT_LT(T, 0.45);
    EXPECT_TRUE(f.flag & FB_PASS) << c.name;
    EXPECT_NEAR(f.W[0], c.w0, 1e-12) << c.name;
    EXPECT_NEAR(f.Wp[0] * T, -c.phase, 1e-12) << c.name;
    EXPECT_EQ((f.flag & FB_SPIN_TURN) != 0, c.turns) << c.name;
    const double *from = fangwurf[1].wurf, *to = fangwurf[2].fang;
    double direction = atan2(to[1] - from[1], to[0] - from[0]);
    double heading = strchr(c.cell, '(') ? PI / 2 : c.backwards ? direction + PI : direction;
    EXPECT_NEAR(remainder(f.W[1] - heading, 2 * PI), 0, 1e-12) << c.name;
  }
}

// A ball (a model of one sphere) is passed like a self: no phase, no lift at the catch.
TEST(Spin, PassedBallNeitherTurnsNorRises) {
  ASSERT_EQ(loadOnly("! pass\nj 0 0 0 0 c c\n180 3 0 0 c c\ns=0\n*\n- a - -\n- - - -\n- - - -\n- - a -\n- - - -\n- - - -\n"), 0);
  int16_t ball[6] = {12, 6, 0, 4, -40, 1};
  const int model = 199;
  int16_t *kept = objectShapes[model];
  int16_t keptInstance = objectInstanceList[firstObjectInstance];
  objectShapes[model] = ball;
  objectInstanceList[firstObjectInstance] = model;
  int code = retrack();
  int type = ObjektEigenschaft(0, 0, 5);
  objectInstanceList[firstObjectInstance] = keptInstance;
  objectShapes[model] = kept;
  ASSERT_EQ(code, 0);
  ASSERT_EQ(type, 1);
  const Flugbahn &f = flugbahn[0][2];
  EXPECT_TRUE(f.flag & FB_PASS);
  EXPECT_NEAR(std::fabs(f.W[0]), PI / 2, 1e-12);
  EXPECT_NEAR(f.Wp[0], 0, 1e-12);
  double end[3];
  positionAt(f, f.t_to, end);
  EXPECT_NEAR(end[2], fangwurf[f.handbis].fang[2], 1e-12);
}

TEST(Spin, OverTheShoulderCases) {
  struct Case {
    double a, w, f;
    int result;
  } cases[] = {
      {0, PI, 0, 1},       // facing, thrown forward
      {0, 0, 0, 0},        // same heading, thrown forward
      {0, 0, PI, 2},       // same heading, thrown backwards
      {0, PI, PI, 3},      // facing, thrown backwards over the shoulder
      {0, 2.0, 1.0, 1},    // none of the cases: reported, forward
      {7 * PI, -PI, 2 * PI, 2},  // wrapped first: same heading, thrown backwards
  };
  for (const Case &c : cases) EXPECT_EQ(Wurf_ueber_Schulter(c.a, c.w, c.f), c.result) << c.a << " " << c.w << " " << c.f;
}

// Between two throws that turn the spin sense the flights turn the other way; after the second,
// they turn as thrown. The throw carrying the bit is mirrored only by an earlier one.
TEST(Spin, MirroringBetweenTwoTurningThrows) {
  ASSERT_EQ(track(withBody("a -\n- -\n- -\n- -\n- -\n- -\n- -\n- -\n- -\n- -\n")), 0);
  ASSERT_GE(segmentRowLength, 5);
  for (int s = 0; s < 5; s++) {
    Flugbahn &f = flugbahn[0][s];
    f.haltehand = -1;
    f.flag = s == 1 || s == 3 ? uint32_t(FB_SPIN_TURN) : 0u;
    f.W[0] = 1.0;
    f.W[1] = 0.5;
    f.Wp[0] = -3.0;
  }
  paraz[0] = 4;
  EXPECT_EQ(Spin_spiegeln(), 0);
  const bool mirrored[5] = {false, false, true, true, false};
  for (int s = 0; s < 5; s++) {
    const Flugbahn &f = flugbahn[0][s];
    EXPECT_EQ((f.flag & FB_MIRRORED) != 0, mirrored[s]) << s;
    EXPECT_EQ(f.W[0], mirrored[s] ? -1.0 : 1.0) << s;
    EXPECT_NEAR(f.W[1], mirrored[s] ? 0.5 + PI : 0.5, 1e-12) << s;
    EXPECT_EQ(f.Wp[0], mirrored[s] ? 3.0 : -3.0) << s;
  }
  EXPECT_EQ(Bit4_xor_Bit8(0, FB_SPIN_TURN), 1);
  EXPECT_EQ(Bit4_xor_Bit8(0, FB_SPIN_TURN | FB_MIRRORED), 0);
  EXPECT_EQ(Bit4_xor_Bit8(0, FB_MIRRORED | FB_PASS), 1);
}

// Places 1-3 are a triangle of touching objects, place 4 lies on top of them.
TEST(Stacking, PlacesTouchEachOther) {
  ASSERT_EQ(track(withBody("a -\n- -\n- -\n- -\n")), 0);
  const double r = 0.04;
  double p[5][3];
  for (int n = 0; n <= 4; n++) {
    p[n][0] = 1;
    p[n][1] = 2;
    p[n][2] = 3;
    catchPosition(n, 0, r, p[n]);
  }
  for (int i = 1; i <= 4; i++)
    for (int j = i + 1; j <= 4; j++) EXPECT_NEAR(distance(p[i], p[j]), 2 * r, 1e-4) << i << " " << j;
  EXPECT_GT(p[4][2], p[1][2]);
  double q[3] = {1, 2, 3};
  catchPosition(5, 0, r, q);
  EXPECT_EQ(q[0], 1);
  EXPECT_EQ(q[1], 2);
  EXPECT_EQ(q[2], 3);
  double left[3] = {0, 0, 0}, right[3] = {0, 0, 0};
  catchPosition(2, 0, r, left);
  catchPosition(2, 1, r, right);
  EXPECT_EQ(left[1], -right[1]);
}

// Four balls thrown together leave from four touching places, the fourth above the others,
// whichever sign the model's radius is stored with.
TEST(Stacking, MultiplexLeavesFromTouchingPlaces) {
  const char *body = "a&b&c&d -\n- -\n- a\n- b\n- c\n- d\n- -\n- -\n";
  for (int16_t radius : {int16_t(-40), int16_t(40), int16_t(0)}) {
    ASSERT_EQ(loadOnly(withBody(body)), 0);
    int16_t shape[6] = {12, 6, 0, 4, radius, 2};
    const int model = 199;
    int16_t *kept = objectShapes[model];
    int16_t keptInstances[4];
    objectShapes[model] = shape;
    for (int o = 0; o < 4; o++) {
      keptInstances[o] = objectInstanceList[firstObjectInstance + o];
      objectInstanceList[firstObjectInstance + o] = model;
    }
    int code = retrack();
    for (int o = 0; o < 4; o++) objectInstanceList[firstObjectInstance + o] = keptInstances[o];
    objectShapes[model] = kept;
    ASSERT_EQ(code, 0);
    double size = radius ? 0.04 : 0.05;
    for (int i = 0; i < 4; i++)
      for (int j = i + 1; j < 4; j++)
        EXPECT_NEAR(distance(flugbahn[i][2].X0, flugbahn[j][2].X0), 2 * size, 1e-4) << radius << ": " << i << " " << j;
    int top = object('d');
    for (int o = 0; o < 4; o++) {
      if (o == top) continue;
      EXPECT_GT(flugbahn[top][2].X0[2], flugbahn[o][2].X0[2]) << radius;
    }
  }
}

TEST(Geometry, JugglerPointsTurnIntoTheWorld) {
  ASSERT_EQ(track(withBody("a -\n- -\n- -\n- -\n")), 0);
  quoitPos[0].ZWinkel = PI / 2;
  quoitPos[0].position[0] = 1;
  quoitPos[0].position[1] = 2;
  quoitPos[0].position[2] = 0;
  Fangwurf f = {{0.3, 0.2, 0}, {0.1, 0, 0.5}, 1, 0, 0};
  Fangwurf_umrechnen(&f, 1);
  EXPECT_NEAR(f.fang[0], 1 + 0.2, 1e-12);
  EXPECT_NEAR(f.fang[1], 2 + 0.3, 1e-12);
  EXPECT_NEAR(f.fang[2], 1.0, 1e-12);
  EXPECT_NEAR(f.wurf[2], 1.5, 1e-12);
  double p[2] = {1, 0};
  Punkt_drehen(p, PI / 2);
  EXPECT_NEAR(p[0], 0, 1e-12);
  EXPECT_NEAR(p[1], 1, 1e-12);
  EXPECT_NEAR(Winkel_zwischen(1, 1, 1, 3), PI / 2, 1e-12);
  double xy[2];
  polarToXY(2, PI, xy);
  EXPECT_NEAR(xy[0], -2, 1e-12);
  EXPECT_NEAR(xy[1], 0, 1e-12);
}

TEST(Geometry, BezierPointRunsFromFirstToLastControlPoint) {
  const double B0[3] = {0, 0, 0}, B1[3] = {1, 0, 0}, B2[3] = {1, 1, 0}, B3[3] = {0, 1, 1};
  double p[3];
  bezierPoint(B0, B1, B2, B3, 0, p);
  EXPECT_EQ(p[0], 0);
  bezierPoint(B0, B1, B2, B3, -0.5, p);
  EXPECT_EQ(p[1], 0);
  bezierPoint(B0, B1, B2, B3, 1, p);
  EXPECT_EQ(p[1], 1);
  EXPECT_EQ(p[2], 1);
  bezierPoint(B0, B1, B2, B3, 0.5, p);
  EXPECT_NEAR(p[0], 0.75, 1e-12);
  EXPECT_NEAR(p[1], 0.5, 1e-12);
  EXPECT_NEAR(p[2], 0.125, 1e-12);
}

TEST(Geometry, RadiusVectorOfBallAndOfOtherShapes) {
  int16_t ball[6] = {12, 6, 0, 4, -40, 1}, club[6] = {12, 6, 1, 0, 250, 30};
  int16_t *kept[2] = {objectShapes[198], objectShapes[199]};
  objectShapes[198] = ball;
  objectShapes[199] = club;
  const double *v = Objekt_Radiusvektor(198, 1.0, 2.0);
  EXPECT_NEAR(v[0], 0, 1e-12);
  EXPECT_NEAR(v[2], 0.04, 1e-12);
  v = Objekt_Radiusvektor(199, PI / 2, 0);
  EXPECT_NEAR(v[0], -0.25, 1e-12);
  EXPECT_NEAR(v[1], 0, 1e-12);
  EXPECT_NEAR(v[2], 0, 1e-12);
  EXPECT_EQ(ObjektEigenschaft(199, -17, 4), 250);
  EXPECT_EQ(ObjektEigenschaft(199, -17, 6), 0);
  EXPECT_EQ(ObjektEigenschaft(-1, -17, 4), 0);
  objectShapes[198] = kept[0];
  objectShapes[199] = kept[1];
}

// A hand that keeps its object all the cycle holds it still at its throw point.
TEST(Throw, HandKeepingItsObjectHoldsIt) {
  ASSERT_EQ(track(withBody("a -\na -\na -\na -\n")), 0);
  hand_immer[0] = 1000;
  int code = Wurfbahn_berechnen(0, 1, 0, 0, 0, takte, SPIN_NONE, 0, 0, 0, 0);
  hand_immer[0] = 0;
  ASSERT_EQ(code, 0);
  const Flugbahn &f = flugbahn[0][1];
  EXPECT_EQ(f.haltehand, 0);
  EXPECT_EQ(f.t_from, 0);
  EXPECT_NEAR(f.t_to, t_zyklus, 1e-12);
  EXPECT_EQ(f.V[2], 0);
  EXPECT_EQ(f.az, 0);
  EXPECT_EQ(f.Wp[0], 0);
  EXPECT_NEAR(f.W[0], PI / 2, 1e-12);
  EXPECT_FALSE(f.flag & FB_FREE_FLIGHT);
  for (int k = 0; k < 3; k++) EXPECT_EQ(f.X0[k], fangwurf[0].wurf[k]);
}

TEST(Dump, DebugLoadDumpsTheFlights) {
  ASSERT_EQ(loadOnly(withBody("a -\n- -\n- a\n- -\n")), 0);
  patternDebugLevel = 3;
  testing::internal::CaptureStdout();
  int code = retrack();
  std::string out = testing::internal::GetCapturedStdout();
  patternDebugLevel = 0;
  ASSERT_EQ(code, 0);
  EXPECT_NE(out.find("start outputFlugbahnen"), std::string::npos);
  EXPECT_NE(out.find("Objekt 0: 'a'"), std::string::npos);
  EXPECT_NE(out.find("P 2 H0>1 "), std::string::npos) << out;
  EXPECT_NE(out.find("flag=-----------p"), std::string::npos) << out;
}

}  // namespace
