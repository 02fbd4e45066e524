// Object paths: every object tracked through small grids into one closed chain of flights; the
// physics of each flight; hand-overs, passes, holds over the boundary, multiplexes, hand macros;
// determinism and invariance under moving the jugglers; the chain and hold helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "pattern/dumps.h"
#include "pattern/holds.h"

#include "paths_fixture.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"

using namespace pathtest;

namespace {

const char *const kOneJuggler = "! test\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n";

std::string oneJuggler(const std::string &body) { return std::string(kOneJuggler) + "*\n" + body; }

// Two jugglers 3 m apart facing each other, passing clubs.
std::string twoJugglers(const std::string &body, double turn = 0, double dx = 0, double dy = 0) {
  char header[200];
  double h0 = turn * 180 / PI, x1 = 3 * cos(turn) + dx, y1 = 3 * sin(turn) + dy;
  snprintf(header, sizeof header, "! pass\na=24\nj %.12f %.12f %.12f 0 c c\n%.12f %.12f %.12f 0 c c\ns=0\n", h0, dx, dy,
           h0 + 180, x1, y1);
  return std::string(header) + "*\n" + body;
}

bool heldAt(int takt, int hand, int o) {
  takt = ((takt % takte) + takte) % takte;
  return hand >= 0 && hand < handCount + handMacroCount && dotzspeicher[takt][hand][o] != 0;
}

struct Grid {
  const char *name;
  std::string text;
  std::vector<ExpectedFlight> flights;
};

std::vector<Grid> grids() {
  return {
      {"cascade3",
       oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n"),
       {{'a', 0, 1, 0, 3}, {'a', 1, 0, 3, 6}, {'b', 1, 0, 1, 4}, {'b', 0, 1, 4, 7}, {'c', 0, 1, 2, 5}, {'c', 1, 0, 5, 8}}},
      {"fountain4",
       oneJuggler("a -\n- b\nc -\n- d\n"),
       {{'a', 0, 0, 0, 4}, {'b', 1, 1, 1, 5}, {'c', 0, 0, 2, 6}, {'d', 1, 1, 3, 7}}},
      // a is held over the boundary by the left hand; b is caught at takt 0 by the right hand and
      // c at takt 0 by the left hand's second place, next to a: both still get their closing flights.
      {"boundaryHold",
       oneJuggler("a&c b\n- -\nb -\n- a\n- c\na -\n"),
       {{'a', 0, 1, 0, 3}, {'a', 1, 0, 3, 5}, {'b', 1, 0, 0, 2}, {'b', 0, 1, 2, 6}, {'c', 2, 1, 0, 4}, {'c', 1, 2, 4, 6}}},
      {"handOver",
       oneJuggler("a -\n- a\n- -\n- -\n"),
       {{'a', 0, 1, 0, 1, true}, {'a', 1, 0, 1, 4}}},
      // The only object is held over the boundary: the walk still runs the whole first lap.
      {"allHeldOverBoundary", oneJuggler("a -\n- -\n- a\na -\n"), {{'a', 0, 1, 0, 2}, {'a', 1, 0, 2, 3, true}}},
      // The hand-over is recorded and read under the virtual hand's own number.
      {"handOverFromVirtualHand",
       oneJuggler("a&b -\n- b\n- -\na -\n- -\n- -\n"),
       {{'a', 0, 0, 0, 3}, {'a', 0, 0, 3, 6}, {'b', 2, 1, 0, 1, true}, {'b', 1, 2, 1, 6}}},
      {"handOverFromMacro",
       "! macro\n@M p 0.4 0.5 1.3\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n*\nMa -\n- a\n- -\n- -\n",
       {{'a', 2, 1, 0, 1, true}, {'a', 1, 2, 1, 4}}},
      {"pass", twoJugglers("- a - -\n- - - -\n- - - -\n- - a -\n- - - -\n- - - -\n"), {{'a', 1, 2, 0, 3}, {'a', 2, 1, 3, 6}}},
      // Four balls thrown together from the places of a stack, caught one by one.
      {"multiplex",
       oneJuggler("a&b&c&d -\n- -\n- a\n- b\n- c\n- d\n- -\n- -\n"),
       {{'a', 0, 1, 0, 2}, {'a', 1, 0, 2, 8}, {'b', 2, 1, 0, 3}, {'b', 1, 2, 3, 8}, {'c', 4, 1, 0, 4}, {'c', 1, 4, 4, 8},
        {'d', 6, 1, 0, 5}, {'d', 1, 6, 5, 8}}},
      // A hand macro in a pattern that also has virtual hands: the macro's number follows them.
      {"handMacro",
       "! macro\n@M p 0.4 0.5 1.3\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n*\nMa b&c\n- -\nc -\n- a\nb -\n- -\n",
       {{'a', 4, 1, 0, 3}, {'a', 1, 4, 3, 6}, {'b', 1, 0, 0, 4}, {'b', 0, 1, 4, 6}, {'c', 3, 0, 0, 2}, {'c', 0, 3, 2, 6}}},
  };
}

void PrintTo(const Grid &g, std::ostream *os) { *os << g.name; }

class GridTest : public testing::TestWithParam<Grid> {};

TEST_P(GridTest, EveryObjectHasOneClosedChainOfFreeFlights) {
  const Grid &g = GetParam();
  ASSERT_EQ(track(g.text), 0);
  expectChains(g.flights);
  for (int o = 0; o < objekte; o++)
    for (int s = 0; s <= paraz[o]; s++)
      if (isFlight(flugbahn[o][s])) {
        SCOPED_TRACE(testing::Message() << "object " << o << " segment " << s);
        expectFreeFall(flugbahn[o][s], 9.81);
        EXPECT_TRUE(flugbahn[o][s].flag & FB_FREE_FLIGHT);
        EXPECT_LE(flugbahn[o][s].X0[2] + flugbahn[o][s].V[2] * flugbahn[o][s].t_apex +
                      flugbahn[o][s].az * flugbahn[o][s].t_apex * flugbahn[o][s].t_apex / 2,
                  maxheight + 1e-12);
      }
}

TEST_P(GridTest, LoadingTwiceGivesTheSameChains) {
  const Grid &g = GetParam();
  ASSERT_EQ(track(g.text), 0);
  std::vector<std::vector<Flugbahn>> first;
  for (int o = 0; o < objekte; o++) first.emplace_back(flugbahn[o], flugbahn[o] + paraz[o] + 1);
  ASSERT_EQ(track(g.text), 0);
  ASSERT_EQ(int(first.size()), objekte);
  for (int o = 0; o < objekte; o++) {
    ASSERT_EQ(int(first[o].size()), paraz[o] + 1);
    EXPECT_EQ(memcmp(first[o].data(), flugbahn[o], first[o].size() * sizeof(Flugbahn)), 0) << "object " << o;
  }
}

INSTANTIATE_TEST_SUITE_P(Grids, GridTest, testing::ValuesIn(grids()),
                         [](const testing::TestParamInfo<Grid> &info) { return std::string(info.param.name); });

// Every sample pattern: each flight falls freely, each throw leaves after the last takt of a hold
// of its hand and arrives at the first takt of a hold of the catching hand, lasting what the takts
// and the dwell give; without wrap lines every object's throws form one closed chain over the
// cycle, one throw per hold of the object in the grid.
class SampleChains : public testing::TestWithParam<const char *> {};

int holdsInGrid(int o) {
  int count = 0;
  for (int h = 0; h < handCount + handMacroCount; h++)
    for (int t = 0; t < takte; t++) count += heldAt(t, h, o) && !heldAt(t - 1, h, o);
  return count;
}

// A throw: its first and last segment in the chain (several for the arcs of a bounce throw).
struct Throw {
  const Flugbahn *first, *last;
};

std::vector<Throw> throwsOf(int o) {
  std::vector<Throw> out;
  for (int s = 1; s <= paraz[o]; s++) {
    const Flugbahn &f = flugbahn[o][s];
    if (!isFlight(f)) continue;
    if (!out.empty() && out.back().last == &flugbahn[o][s - 1] && std::fabs(out.back().last->t_to - f.t_from) < 1e-9)
      out.back().last = &f;
    else
      out.push_back({&f, &f});
  }
  return out;
}

TEST_P(SampleChains, ThrowsFollowTheGrid) {
  std::string path = std::string(QUOIT_SOURCE_DIR) + "/" + GetParam();
  std::string text;
  FILE *f = fopen(path.c_str(), "rb");
  ASSERT_TRUE(f) << path;
  for (int c; (c = fgetc(f)) != EOF;) text += char(c);
  fclose(f);
  ASSERT_EQ(track(text), 0);
  for (int o = 0; o < objekte; o++) {
    SCOPED_TRACE(outputFlugbahnenText(3, o, o));
    for (int s = 0; s <= paraz[o]; s++)
      if (isFlight(flugbahn[o][s])) expectFreeFall(flugbahn[o][s], -gravity);
    std::vector<Throw> throws = throwsOf(o);
    ASSERT_FALSE(throws.empty());
    for (size_t k = 0; k < throws.size(); k++) {
      const Flugbahn &a = *throws[k].first, &b = *throws[k].last;
      EXPECT_TRUE((heldAt(a.taktvon - 1, a.handvon, o) && !heldAt(a.taktvon, a.handvon, o)) || WRAP) << k;
      EXPECT_TRUE((heldAt(b.taktbis, b.handbis, o) && !heldAt(b.taktbis - 1, b.handbis, o)) || WRAP) << k;
      bool handOver = a.handvon < handCount && uebergeb[((a.taktvon - 1) % takte + takte) % takte][a.handvon][o] >= 1000;
      double T = handOver ? (b.taktbis - a.taktvon + 0.4) * dt : (b.taktbis - a.taktvon + 2 - 2 * dwell) * dt;
      EXPECT_NEAR(b.t_to - a.t_from, T, 1e-9) << k;
      if (WRAP || k + 1 == throws.size()) continue;
      EXPECT_LT(b.t_to, throws[k + 1].first->t_from);
      EXPECT_EQ(b.handbis, throws[k + 1].first->handvon);
    }
    if (WRAP) continue;
    EXPECT_EQ(int(throws.size()), holdsInGrid(o));
    const Flugbahn &first = flugbahn[o][0], &last = flugbahn[o][paraz[o]];
    EXPECT_NEAR(first.t_from, last.t_from - t_zyklus, 1e-9);
    EXPECT_NEAR(first.t_to, last.t_to - t_zyklus, 1e-9);
    EXPECT_LT(throws.back().last->t_to, throws.front().first->t_from + t_zyklus);
    EXPECT_EQ(throws.back().last->handbis, throws.front().first->handvon);
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleChains,
                         testing::Values("data/m/3ball_cascade", "data/m/5ball_cascade", "data/m/3ball_cascade_wrap",
                                         "data/m/6club_2count_pass", "data/m/9club_feed_pass",
                                         "data/m/3ball_forced_bounce", "data/m/4ball_32_3_mplex",
                                         "data/m/3ball_underleg", "data/m/3ball_props_camera", "data/b/benchmark1",
                                         "data/b/benchmark2", "data/b/benchmark3"),
                         [](const testing::TestParamInfo<const char *> &info) {
                           std::string name = strrchr(info.param, '/') + 1;
                           for (char &c : name)
                             if (!isalnum(uint8_t(c))) c = '_';
                           return name;
                         });

// Without '&' a flight leaves from its hand's throw point and arrives at the catching hand's catch
// point (a pass of anything but a ball 0.3 m higher), moved by at most the scatter in each
// coordinate.
TEST(FlightEnds, FlightsJoinTheHandsPoints) {
  struct Case {
    std::string text;
    double scatter;
  } cases[] = {
      {oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n"), 0},
      {std::string("! s\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0.1\n*\na -\n- b\nc -\n- a\nb -\n- c\n"), 0.1},
      {twoJugglers("- a - -\n- - - -\n- - - -\n- - a -\n- - - -\n- - - -\n"), 0},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(track(c.text), 0);
    for (int o = 0; o < objekte; o++)
      for (const Flugbahn &f : flightsOf(o)) {
        double end[3], catchPoint[3];
        positionAt(f, f.t_to, end);
        memcpy(catchPoint, fangwurf[f.handbis].fang, sizeof catchPoint);
        if ((f.flag & FB_PASS) && ObjektEigenschaft(0, o, 5) != 1) catchPoint[2] += 0.3;
        for (int k = 0; k < 3; k++) {
          EXPECT_NEAR(f.X0[k], fangwurf[f.handvon].wurf[k], c.scatter + 1e-12);
          EXPECT_NEAR(end[k], catchPoint[k], c.scatter + 1e-12);
        }
      }
  }
}

// Turning and shifting both jugglers turns and shifts every flight; times and spins stay.
TEST(FlightEnds, MovingTheJugglersMovesEveryPath) {
  const std::string body = "- a - b\n- - - -\n- - - -\n- - a -\n- - b -\n- - - -\n";
  ASSERT_EQ(track(twoJugglers(body)), 0);
  std::vector<std::vector<Flugbahn>> before;
  for (int o = 0; o < objekte; o++) before.emplace_back(flugbahn[o], flugbahn[o] + paraz[o] + 1);
  const double turn = 0.7, dx = 1.5, dy = -2.0;
  ASSERT_EQ(track(twoJugglers(body, turn, dx, dy)), 0);
  for (int o = 0; o < objekte; o++) {
    ASSERT_EQ(int(before[o].size()), paraz[o] + 1);
    for (int s = 0; s <= paraz[o]; s++) {
      const Flugbahn &a = before[o][s], &b = flugbahn[o][s];
      if (!isFlight(a)) continue;
      SCOPED_TRACE(testing::Message() << "object " << o << " segment " << s);
      EXPECT_NEAR(b.t_from, a.t_from, 1e-9);
      EXPECT_NEAR(b.t_to, a.t_to, 1e-9);
      EXPECT_NEAR(b.X0[0], cos(turn) * a.X0[0] - sin(turn) * a.X0[1] + dx, 1e-9);
      EXPECT_NEAR(b.X0[1], sin(turn) * a.X0[0] + cos(turn) * a.X0[1] + dy, 1e-9);
      EXPECT_NEAR(b.X0[2], a.X0[2], 1e-9);
      EXPECT_NEAR(b.V[0], cos(turn) * a.V[0] - sin(turn) * a.V[1], 1e-9);
      EXPECT_NEAR(b.V[1], sin(turn) * a.V[0] + cos(turn) * a.V[1], 1e-9);
      EXPECT_NEAR(b.V[2], a.V[2], 1e-9);
      EXPECT_NEAR(b.W[0], a.W[0], 1e-9);
      EXPECT_NEAR(remainder(b.W[1] - a.W[1] - turn, 2 * PI), 0, 1e-9);
      EXPECT_NEAR(b.Wp[0], a.Wp[0], 1e-9);
      EXPECT_EQ(b.flag, a.flag);
    }
  }
}

const char *const kWrapHeader = "! wrap\ndt=0.35 l=1.1\nj 0   0 0 0   c c\ns=0\n*\n";

// Wrapped grids: what the letters do before and after the boundary.
struct WrapGrid {
  const char *name;
  std::string body;
  const char *held;  // letters held over the boundary
};

std::vector<WrapGrid> wrapGrids() {
  return {
      {"cascade", "a  -\n-  b\nc  -\n-  a\n*\nabc\ncab\n", ""},
      {"heldIntoPartner", "a -\n- -\n- -\nc a\n*\nac\nca\n", "a"},  // c in the left hand becomes a
      // 441: the boundary throw is b's hand-over from the right hand to the left, where it is a.
      {"handOverAtBoundary", "- a\nb -\n- c\nc -\n- a\nb -\n*\nabc\ncab\n", ""},
      // The throw over the boundary bounces: its arcs begin the partner's chain.
      {"bounceAtBoundary", "a  -\n-  b\nc  -\n-  /a\n*\nabc\ncab\n", ""},
      // (6x,4)(4,6x): b and c are their own partners.
      {"ownPartners", "a b\n- -\nc d\n- -\ne b\n- -\nc a\n- -\n*\nabcde\nebcad\n", ""},
  };
}

void PrintTo(const WrapGrid &g, std::ostream *os) { *os << g.name; }

class WrapTest : public testing::TestWithParam<WrapGrid> {};

// The run of flights of one throw (a bounce throw has several arcs) that ends (backward) or
// begins at segment s.
std::vector<Flugbahn> throwRun(int o, int s, int step) {
  std::vector<Flugbahn> run;
  for (int k = s; k >= 0 && k <= paraz[o] && isFlight(flugbahn[o][k]); k += step) run.push_back(flugbahn[o][k]);
  if (step < 0) std::reverse(run.begin(), run.end());
  return run;
}

// With wrap lines each object's last throw goes out to its forward partner's first hold, and that
// partner's chain begins with the same throw one cycle earlier, read from the same cell: the
// same hand-over and bounces. A partner held over the boundary gets no such throw.
TEST_P(WrapTest, ChainsHandTheirLastThrowToThePartner) {
  const WrapGrid &g = GetParam();
  ASSERT_EQ(track(kWrapHeader + g.body), 0);
  ASSERT_EQ(WRAP, 1);
  SCOPED_TRACE(outputFlugbahnenText(3, -1, -1));
  for (int o = 0; o < objekte; o++) {
    EXPECT_EQ(start[o].wrap, strchr(g.held, Objektbuchstaben[o]) ? 1 : 0) << Objektbuchstaben[o];
    for (int s = 0; s <= paraz[o]; s++)
      if (isFlight(flugbahn[o][s]) && !(flugbahn[o][s].flag & FB_BOUNCE)) expectFreeFall(flugbahn[o][s], 9.81);
    int out = -1, in = -1, f = qWrapObjList[o].forward;
    for (int s = 0; s <= paraz[o]; s++)
      if ((flugbahn[o][s].flag & (FB_WRAP_LAST | FB_WRAP_OUTSIDE)) == FB_WRAP_LAST) out = s;
    for (int s = paraz[f]; s >= 0; s--)
      if ((flugbahn[f][s].flag & (FB_WRAP_FIRST | FB_WRAP_OUTSIDE)) == FB_WRAP_FIRST) in = s;
    if (start[f].wrap) {
      EXPECT_TRUE(out < 0 && in < 0) << "object " << o;
      continue;
    }
    ASSERT_TRUE(out >= 0 && in >= 0) << "object " << o;
    std::vector<Flugbahn> before = throwRun(o, out, -1), after = throwRun(f, in, 1);
    ASSERT_EQ(before.size(), after.size()) << "object " << o;
    for (size_t k = 0; k < before.size(); k++) {
      SCOPED_TRACE(testing::Message() << "object " << o << " arc " << k);
      EXPECT_NEAR(after[k].t_from, before[k].t_from - t_zyklus, 1e-9);
      EXPECT_NEAR(after[k].t_to, before[k].t_to - t_zyklus, 1e-9);
      EXPECT_EQ(after[k].handvon, before[k].handvon);
      EXPECT_EQ(after[k].handbis, before[k].handbis);
      EXPECT_EQ(after[k].flag & (FB_BOUNCE | FB_FORCED_BOUNCE), before[k].flag & (FB_BOUNCE | FB_FORCED_BOUNCE));
      for (int c = 0; c < 3; c++) {
        EXPECT_NEAR(after[k].X0[c], before[k].X0[c], 1e-9);
        EXPECT_NEAR(after[k].V[c], before[k].V[c], 1e-9);
      }
    }
  }
}

// The nearest segment of a kind beside a segment of a wrapped chain's boundary lies beside it in
// time: past the chain's end it is the partner's, in the partner's own part of the cycle, and never
// the partner's copy of this chain's own throw over the boundary.
TEST_P(WrapTest, SegmentsBesideTheBoundaryFollowInTime) {
  ASSERT_EQ(track(kWrapHeader + GetParam().body), 0);
  ASSERT_EQ(Objekt_in_der_Hand(), 0);
  const double eps = 1e-9;
  for (int o = 0; o < objekte; o++)
    for (int i = 0; i <= paraz[o]; i++) {
      const Flugbahn &s = flugbahn[o][i];
      if (!(s.flag & (FB_WRAP_FIRST | FB_WRAP_LAST | FB_WRAP_OUTSIDE)) || s.haltehand == SEGMENT_CLEARED) continue;
      for (int direction : {1, 2})
        for (int kind : {1, 2}) {
          SCOPED_TRACE(testing::Message() << "object " << o << " segment " << i << " direction " << direction
                                          << " kind " << kind);
          const Flugbahn *r = nexteFlugbahnWithWrap(o, i, direction, kind);
          int p = direction == 1 ? qWrapObjList[o].forward : qWrapObjList[o].backward;
          if (!r) continue;
          // An object may be its own partner: a segment behind i is the partner's.
          bool own = r >= flugbahn[o] && r <= flugbahn[o] + paraz[o] && (direction == 1 ? r > &s : r < &s);
          bool partners = r >= flugbahn[p] && r <= flugbahn[p] + paraz[p];
          ASSERT_TRUE(own || partners);
          EXPECT_EQ(kind == 2, isFlight(*r));
          double shift = own ? 0 : direction == 1 ? t_zyklus : -t_zyklus;
          if (!own) {
            EXPECT_FALSE(r->flag & FB_WRAP_OUTSIDE);
          }
          if (direction == 1) {
            EXPECT_GE(r->t_from + shift, s.t_to - eps);
          } else {
            EXPECT_LE(r->t_to + shift, s.t_from + eps);
          }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Wraps, WrapTest, testing::ValuesIn(wrapGrids()),
                         [](const testing::TestParamInfo<WrapGrid> &info) { return std::string(info.param.name); });

TEST(Tracking, WrapListHoldsWhereEachLetterIsHeldFirstAndLast) {
  ASSERT_EQ(track(kWrapHeader + wrapGrids()[1].body), 0);
  const QWrapObj &a = qWrapObjList[object('a')];
  EXPECT_EQ(a.letter, 'a');
  EXPECT_EQ(a.firstTakt, 0);
  EXPECT_EQ(a.firstHand, 0);
  EXPECT_EQ(a.endTakt, 4);
  EXPECT_EQ(a.lastHand, 1);
  EXPECT_EQ(a.forward, object('c'));
  EXPECT_EQ(a.backward, object('c'));
}

TEST(Tracking, HoldOverTheBoundaryIsDecidedPerObject) {
  ASSERT_EQ(track(oneJuggler("a&c b\n- -\nb -\n- a\n- c\na -\n")), 0);
  EXPECT_EQ(start[object('a')].wrap, 1);
  EXPECT_EQ(start[object('a')].hand, 0);
  EXPECT_EQ(start[object('b')].wrap, 0);
  EXPECT_EQ(start[object('c')].wrap, 0);
}

TEST(Tracking, DirectHandOverIsRecordedWithTheReceivingHand) {
  ASSERT_EQ(track(oneJuggler("a -\n- a\n- -\n- -\n")), 0);
  EXPECT_EQ(uebergeb[0][0][0], 1001);
  EXPECT_EQ(uebergeb[1][1][0], 0);
  const Flugbahn &f = flugbahn[0][2];
  EXPECT_NEAR(f.t_from, 0.8 * dt, 1e-12);
  EXPECT_NEAR(f.t_to, 1.2 * dt, 1e-12);
}

// A kind group that cannot be read stops the load instead of becoming a flag word.
TEST(Tracking, UnreadableKindOfThrowStopsTheLoad) {
  for (const char *cell : {"(x)a", "(c12)a", "(c)a"}) {
    std::string body = std::string(cell) + " -\n- -\n- a\n- -\n";
    int code = loadOnly(oneJuggler(body));
    EXPECT_EQ(code, strcmp(cell, "(c)a") ? 118 : 0) << cell;
  }
}

TEST(Tracking, FlightWithoutTimeIsRefused) {
  ASSERT_EQ(track(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  Flugbahn before = flugbahn[0][2];
  double height = maxheight;
  EXPECT_EQ(Wurfbahn_berechnen(0, 2, 0, 1, 3, 3, SPIN_NONE, 0, 0, 0, 0), FLIGHT_FAILED);
  EXPECT_EQ(memcmp(&before, &flugbahn[0][2], sizeof before), 0);
  EXPECT_EQ(maxheight, height);
  EXPECT_EQ(Flugbahnen_eintragen(0, segmentRowLength, 0, 1, 1, 3), FLIGHT_BAD_INDEX);
  EXPECT_EQ(Flugbahnen_eintragen(0, 2, handCount + handMacroCount, 1, 1, 3), FLIGHT_BAD_INDEX);
}

TEST(Chains, NexteFlugbahnStepsOverTheCopiedEnd) {
  ASSERT_EQ(track(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  ASSERT_EQ(paraz[0], 4);
  struct Case {
    int from, mode, to;
  } cases[] = {{0, 0, 4}, {0, 1, 3}, {2, 0, 1}, {4, 2, 0}, {4, 3, 1}, {3, 4, 0}, {4, 4, 0}, {2, 2, 3}, {2, 9, 2}};
  for (const Case &c : cases) {
    int i = c.from;
    nexteFlugbahn(0, &i, c.mode);
    EXPECT_EQ(i, c.to) << "from " << c.from << " mode " << c.mode;
  }
}

TEST(Chains, NearestSegmentOfAKindIsFoundCyclicallyOrNotAtAll) {
  ASSERT_EQ(track(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  EXPECT_EQ(nexteFlugbahnWithWrap(0, 2, 1, 2), &flugbahn[0][4]);
  EXPECT_EQ(nexteFlugbahnWithWrap(0, 4, 1, 2), &flugbahn[0][2]);
  EXPECT_EQ(nexteFlugbahnWithWrap(0, 2, 2, 2), &flugbahn[0][0]);
  EXPECT_EQ(nexteFlugbahnWithWrap(0, 0, 2, 2), &flugbahn[0][2]);
  EXPECT_EQ(nexteFlugbahnWithWrap(0, 2, 1, 1), nullptr);
  EXPECT_EQ(nexteFlugbahnWithWrap(0, 2, 3, 2), nullptr);
  Flugbahn &hold = flugbahn[0][3];
  hold.haltehand = 1;
  EXPECT_EQ(nexteFlugbahnWithWrap(0, 2, 1, 1), &hold);
  EXPECT_EQ(nexteFlugbahnWithWrap(0, 2, 2, 1), &hold);
}

TEST(Chains, ZyklusAnpassenShiftsTimesAndTakts) {
  ASSERT_EQ(track(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  Flugbahn f = flugbahn[0][2];
  Zyklus_anpassen(&f, 2);
  EXPECT_NEAR(f.t_from, flugbahn[0][2].t_from + t_zyklus, 1e-12);
  EXPECT_EQ(f.taktbis, flugbahn[0][2].taktbis + takte);
  Zyklus_anpassen(&f, 1);
  Zyklus_anpassen(&f, 7);
  EXPECT_NEAR(f.t_to, flugbahn[0][2].t_to, 1e-12);
  EXPECT_EQ(f.taktvon, flugbahn[0][2].taktvon);
}

TEST(Holds, TaktRangesOverlapAcrossTheCycleEnd) {
  ASSERT_EQ(track(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  ASSERT_EQ(takte, 6);
  struct Case {
    int fa, la, fb, lb, result;
  } cases[] = {{0, 2, 2, 3, 1}, {0, 1, 2, 3, 0}, {5, 1, 0, 0, 1}, {5, 1, 2, 4, 0}, {4, 5, 0, 0, 0}, {0, 0, 5, 0, 1}, {3, 3, 3, 3, 1}};
  for (const Case &c : cases)
    EXPECT_EQ(Taktbereiche_ueberlappen(c.fa, c.la, c.fb, c.lb), c.result) << c.fa << "-" << c.la << " " << c.fb << "-" << c.lb;
}

TEST(Holds, ZusfRefusesOverlapsAndReportsAFullTableApartFromACount) {
  ASSERT_EQ(track(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  EXPECT_EQ(zusf_eintragen(0, 'a', 0, 5, 1, 0), 1);
  EXPECT_EQ(zusf_eintragen(1, 'a', 1, 0, 0, 0), 1);
  EXPECT_EQ(zusf_eintragen(1, 'b', 0, 1, 1, 0), 1);
  EXPECT_EQ(zusf_eintragen(1, '-', 0, 0, 0, 0), 2);
  EXPECT_EQ(zusf_eintragen(2, 'b', 1, 2, 3, 0), 3);
  EXPECT_EQ(zusf_eintragen(ZUSFANZ - 1, 'q', 9, 0, 0, 0), ZUSF_FULL);
  EXPECT_EQ(zusf[ZUSFANZ - 1].buchstabe, 'q');
  EXPECT_EQ(zusf_eintragen(ZUSFANZ, 'q', 9, 0, 0, 0), ZUSF_FULL);
  EXPECT_LT(ZUSF_FULL, 0);
}

TEST(Holds, HaltezeitFindenUsesTheMergedHoldOrTheRunInTheGrid) {
  ASSERT_EQ(track(oneJuggler("a -\na -\n- -\n- -\n- -\n- -\n")), 0);
  // Without merged hold intervals the hold is read from the grid.
  memset(zusf, 0, ZUSFANZ * sizeof(Zusf));
  int takt = 1, last = -1;
  EXPECT_EQ(Haltezeit_finden(&takt, &last, 0, 0), 0);
  EXPECT_EQ(takt, 0);
  EXPECT_EQ(last, 1);
  takt = 3;
  EXPECT_EQ(Haltezeit_finden(&takt, &last, 0, 0), 0);
  EXPECT_EQ(takt, 3);
  EXPECT_EQ(last, 3);
  memset(zusf, 0, ZUSFANZ * sizeof(Zusf));
  zusf[0] = {0, 2, 2, 'a', 0};
  zusf[1] = {0, 5, 1, 'a', 0};
  takt = 0;
  EXPECT_EQ(Haltezeit_finden(&takt, &last, 0, 0), 1);
  EXPECT_EQ(takt, 5);
  EXPECT_EQ(last, 1);
  takt = 2;
  EXPECT_EQ(Haltezeit_finden(&takt, &last, 0, 0), 1);
  EXPECT_EQ(takt, 2);
  EXPECT_EQ(last, 2);
  takt = 2;
  EXPECT_EQ(Haltezeit_finden(&takt, &last, 1, 0), 0);
  memset(zusf, 0, ZUSFANZ * sizeof(Zusf));
}

// The tracking finds the same holds whether the merged hold intervals list them or it reads the
// runs from the grid, also for a hold over the cycle end.
TEST(Holds, MergedHoldsAndGridRunsGiveTheSameChains) {
  for (const char *body : {"a -\na -\n- -\n- a\n- a\n- -\n", "a&c b\n- -\nb -\n- a\n- c\na -\n"}) {
    ASSERT_EQ(track(oneJuggler(body)), 0) << body;
    std::vector<std::vector<Flugbahn>> fromGrid;
    for (int o = 0; o < objekte; o++) fromGrid.emplace_back(flugbahn[o], flugbahn[o] + paraz[o] + 1);
    int count = 0, entered = 0;
    for (int h = 0; h < handCount + handMacroCount; h++)
      for (int o = 0; o < objekte; o++)
        for (int t = 0; t < takte; t++) {
          if (!heldAt(t, h, o) || heldAt(t - 1, h, o)) continue;
          int last = t;
          while (heldAt(last + 1, h, o) && last + 1 - t < takte) last++;
          if (last == t) continue;
          count = zusf_eintragen(count, Objektbuchstaben[o], h, t, last % takte, 0);
          entered++;
        }
    ASSERT_EQ(count, entered);
    ASSERT_GT(count, 0);
    ASSERT_EQ(retrack(), 0);
    for (int o = 0; o < objekte; o++) {
      ASSERT_EQ(int(fromGrid[o].size()), paraz[o] + 1) << body << " object " << o;
      EXPECT_EQ(memcmp(fromGrid[o].data(), flugbahn[o], fromGrid[o].size() * sizeof(Flugbahn)), 0) << body << " " << o;
    }
  }
}

TEST(Holds, ObjektAuffindenSkipsKindGroups) {
  ASSERT_EQ(track(oneJuggler("a -\na -\n- -\n(a)b -\na -\n- b\n")), 0);
  EXPECT_EQ(Objekt_auffinden('a', 0, 0, 1), 1);
  EXPECT_EQ(Objekt_auffinden('a', 0, 1, 2), 4);
  EXPECT_EQ(Objekt_auffinden('a', 0, 4, 3), 1);
  EXPECT_EQ(Objekt_auffinden('a', 0, 4, 2), -1);
  EXPECT_EQ(Objekt_auffinden('a', 0, 0, 3), -1);
  EXPECT_EQ(Objekt_auffinden('a', 0, 0, 5), -1);
}

TEST(Store, ClearedSegmentKeepsItsTaktsAndKind) {
  ASSERT_EQ(track(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  Flugbahn before = flugbahn[0][2];
  Flugbahnsegment_loeschen(0, 2);
  const Flugbahn &f = flugbahn[0][2];
  EXPECT_EQ(f.t_from, CLEARED_DOUBLE);
  EXPECT_EQ(f.Wp[1], CLEARED_DOUBLE);
  EXPECT_EQ(f.objekt, SEGMENT_CLEARED);
  EXPECT_EQ(f.haltehand, SEGMENT_CLEARED);
  EXPECT_EQ(f.flag, 0u);
  EXPECT_EQ(f.t_apex, before.t_apex);
  EXPECT_EQ(f.taktvon, before.taktvon);
  EXPECT_EQ(f.handbis, before.handbis);
  Flugbahnsegment_loeschen(0, segmentRowLength);
  Flugbahnsegment_loeschen(objekte, 0);
}

}  // namespace
