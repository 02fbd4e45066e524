// Hand paths: on every sample pattern each hand's chain is closed over the cycle, follows every
// hold it shows and moves between holds without a jump; the merged hold intervals, hands that keep
// a letter all the cycle, the empty-hand move, the juggler frame, the chain check and the refusals.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/runstate.h"
#include "core/vecmath.h"
#include "core/prefs.h"
#include "pattern/dumps.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "pattern/testseam.h"

namespace {

bool inUse(const Handbahn &b) { return b.t_from != UNSET_DOUBLE; }

double distance(const double a[3], const double b[3]) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// The used slots of hand h, from slot 0 on.
std::vector<Handbahn> chainOf(int h) {
  std::vector<Handbahn> chain;
  for (int s = 0; s <= takte && inUse(handbahn[h][s]); s++) chain.push_back(handbahn[h][s]);
  return chain;
}

// Point of a hand segment at time t, in world coordinates: classic mode keeps the real hands in
// their juggler's frame.
void worldPoint(int h, const Handbahn &b, double t, double out[3]) {
  double u = b.t_to > b.t_from ? (t - b.t_from) / (b.t_to - b.t_from) : 0;
  bezierPoint(b.B0, b.B1, b.B2, b.B3, u, out);
  if (qPrefs.vrml || h >= 2 * jugglers) return;
  double reference[3], heading;
  handPathOrigin(h / 2, reference, &heading);
  double x = out[0], y = out[1];
  out[0] = std::cos(heading) * x - std::sin(heading) * y + reference[0];
  out[1] = std::sin(heading) * x + std::cos(heading) * y + reference[1];
  out[2] += reference[2];
}

// The hand's point at time t of the cycle, found by walking its chain.
bool handPointAt(int h, double t, double out[3]) {
  t = std::fmod(t, t_zyklus);
  if (t < 0) t += t_zyklus;
  for (const Handbahn &b : chainOf(h))
    if (b.t_from <= t && t <= b.t_to) {
      worldPoint(h, b, t, out);
      return true;
    }
  return false;
}

std::vector<std::string> samplePatterns() {
  std::vector<std::string> files;
  // Every pattern of the pattern directory and the benchmark patterns (data/b also holds their models).
  for (const char *dir : {"data/m", "data/b"})
    for (const auto &e : std::filesystem::directory_iterator(sourcePath(dir)))
      if (e.is_regular_file() && (dir[5] == 'm' || e.path().filename().string().rfind("benchmark", 0) == 0))
        files.push_back(std::string(dir) + "/" + e.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

class SampleHands : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override { ASSERT_EQ(loadPattern(sourcePath(GetParam())), 0) << GetParam(); }
};

// Every hand, virtual ones too: from at or before 0 to at or after the cycle end, each segment
// starting where the one before it ends, in time and in space.
TEST_P(SampleHands, EachChainIsClosedOverTheCycle) {
  ASSERT_GT(handCount, 0);
  for (int h = 0; h < handCount; h++) {
    std::vector<Handbahn> chain = chainOf(h);
    ASSERT_FALSE(chain.empty()) << "hand " << h;
    EXPECT_LE(chain.front().t_from, 0) << "hand " << h;
    EXPECT_GE(chain.back().t_to, t_zyklus) << "hand " << h;
    for (size_t k = 0; k < chain.size(); k++) {
      EXPECT_LT(chain[k].t_from, chain[k].t_to) << "hand " << h << " slot " << k;
      if (k == 0) continue;
      EXPECT_EQ(chain[k].t_from, chain[k - 1].t_to) << "hand " << h << " slot " << k;
      double end[3], begin[3];
      worldPoint(h, chain[k - 1], chain[k - 1].t_to, end);
      worldPoint(h, chain[k], chain[k].t_from, begin);
      EXPECT_LT(distance(end, begin), 1e-9) << "hand " << h << " jumps at slot " << k;
    }
    double atStart[3], atEnd[3];
    worldPoint(h, chain.front(), 0, atStart);
    for (const Handbahn &b : chain)
      if (b.t_from <= t_zyklus && t_zyklus <= b.t_to) worldPoint(h, b, t_zyklus, atEnd);
    EXPECT_LT(distance(atStart, atEnd), 1e-9) << "hand " << h << " is not where it began after a cycle";
  }
  EXPECT_EQ(Handbahnen_pruefen(), 0);
}

// While a hand holds an object, the hand's point is the object's hold point.
TEST_P(SampleHands, HandsFollowTheHoldsTheyShow) {
  int checked = 0;
  for (int o = 0; o < objekte; o++)
    for (int s = 0; s <= paraz[o]; s++) {
      const Flugbahn &f = flugbahn[o][s];
      int h = handChainRow(f.haltehand);
      if (h < 0 || f.t_to <= f.t_from) continue;
      for (double u : {0.0, 0.3, 0.5, 0.8, 1.0}) {
        double t = f.t_from + u * (f.t_to - f.t_from), held[3], hand[3];
        bezierPoint(f.B0, f.B1, f.B2, f.B3, u, held);
        ASSERT_TRUE(handPointAt(h, t, hand)) << "hand " << h << " t " << t;
        EXPECT_LT(distance(held, hand), 1e-9) << "object " << o << " segment " << s << " hand " << h << " t " << t;
        checked++;
      }
    }
  EXPECT_GT(checked, 0);
}

// Between two holds the hand leaves the first where it ends and reaches the next where it starts.
TEST_P(SampleHands, EmptyHandsGoFromHoldToHold) {
  for (int h = 0; h < handCount; h++) {
    std::vector<Handbahn> chain = chainOf(h);
    if (hand_immer[h]) {
      ASSERT_EQ(chain.size(), 1u);
      for (const double *p : {chain[0].B0, chain[0].B1, chain[0].B2, chain[0].B3})
        EXPECT_LT(distance(p, chain[0].B0), 1e-12);
      continue;
    }
    for (size_t k = 1; k + 1 < chain.size(); k++) {
      const Handbahn &p = chain[k - 1], &e = chain[k], &n = chain[k + 1];
      EXPECT_LT(distance(e.B0, p.B3), 1e-12) << "hand " << h << " slot " << k;
      EXPECT_LT(distance(e.B3, n.B0), 1e-12) << "hand " << h << " slot " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleHands, testing::ValuesIn(samplePatterns()),
                         [](const testing::TestParamInfo<std::string> &i) {
                           std::string name = i.param.substr(i.param.rfind('/') + 1);
                           for (char &c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

const char *const kOneJuggler = "! test\ndt=0.3\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n*\n";

std::string oneJuggler(const std::string &body) { return std::string(kOneJuggler) + body; }

struct Interval {
  int hand, first, last;
  char letter;
};

bool listed(const Interval &i) {
  for (int k = 0; k < ZUSFANZ && zusf[k].buchstabe; k++)
    if (zusf[k].hand == i.hand && zusf[k].taktvon == i.first && zusf[k].taktbis == i.last &&
        zusf[k].buchstabe == i.letter)
      return true;
  return false;
}

int objectIntervalCount() {
  int n = 0;
  for (int k = 0; k < ZUSFANZ && zusf[k].buchstabe; k++) n += zusf[k].buchstabe != '-';
  return n;
}

// Runs of more than one takt are merged; the run at the cycle end joins the run from takt 0 (into
// the wrap partner's letter with wrap lines); an empty hand all the cycle is one interval.
TEST(HoldIntervals, RunsOfTheGridAreMerged) {
  struct Case {
    const char *name;
    std::string text;
    std::vector<Interval> intervals;
  } cases[] = {
      {"twoTaktHold", oneJuggler("a -\na -\n- b\n- -\nb -\n- a\n"), {{0, 0, 1, 'a'}}},
      {"overTheCycleEnd", oneJuggler("a -\n- b\n- -\nb -\n- a\na -\n"), {{0, 5, 0, 'a'}}},
      // Hand 0 holds b over the boundary into its partner a; the right hand's runs of b at the
      // cycle end without the partner in takt 0 must not undo that.
      {"wrapPartner",
       "! wrap\ndt=0.3\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n*\na -\n- -\n- b\nb -\n*\nab\nba\n",
       {{0, 3, 0, 'a'}}},
      {"emptyAllTheCycle", oneJuggler("a -\n- -\na -\n- -\n"), {{1, 0, 4, '-'}}},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(loadText(c.text), 0) << c.name;
    for (const Interval &i : c.intervals) EXPECT_TRUE(listed(i)) << c.name << ": " << i.hand << " " << i.letter;
    int letters = 0;
    for (const Interval &i : c.intervals) letters += i.letter != '-';
    EXPECT_EQ(objectIntervalCount(), letters) << c.name;
  }
}

// A hand that keeps one object all the cycle stands at its throw point, and so does the object.
TEST(HoldIntervals, AHandThatKeepsItsObjectStandsStill) {
  ASSERT_EQ(loadText(oneJuggler("a b\na -\na c\na -\n")), 0);
  ASSERT_EQ(objekte, 3);
  EXPECT_EQ(hand_immer[0], 1000);
  EXPECT_EQ(hand_immer[1], 0);
  std::vector<Handbahn> chain = chainOf(0);
  ASSERT_EQ(chain.size(), 1u);
  EXPECT_EQ(chain[0].t_from, 0);
  EXPECT_DOUBLE_EQ(chain[0].t_to, t_zyklus);
  double point[3];
  worldPoint(0, chain[0], 0.5, point);
  EXPECT_LT(distance(point, fangwurf[0].wurf), 1e-12);
  ASSERT_EQ(paraz[0], 1);
  const Flugbahn &kept = flugbahn[0][0];
  EXPECT_EQ(kept.haltehand, 0);
  double held[3];
  bezierPoint(kept.B0, kept.B1, kept.B2, kept.B3, 0.5, held);
  EXPECT_LT(distance(held, point), 1e-12);
}

// The first hold of the left hand starts in takt 2: slot 0 is the empty move from its last hold,
// a cycle earlier, to that first hold.
TEST(HandChains, FirstHoldAfterTaktZeroGetsTheEmptyMoveInFront) {
  ASSERT_EQ(loadText(oneJuggler("- a\n- -\nb -\n- -\n- b\n- -\na -\n- -\n")), 0);
  std::vector<Handbahn> chain = chainOf(0);
  ASSERT_GE(chain.size(), 3u);
  const Flugbahn *first = nullptr;
  for (int o = 0; o < objekte; o++)
    for (int s = 0; s <= paraz[o]; s++)
      if (flugbahn[o][s].haltehand == 0 && flugbahn[o][s].taktvon == 2) first = &flugbahn[o][s];
  ASSERT_NE(first, nullptr);
  EXPECT_LT(chain[0].t_from, 0);
  EXPECT_EQ(chain[0].t_to, first->t_from);
  EXPECT_EQ(chain[1].t_from, first->t_from);
  EXPECT_EQ(chain[1].t_to, first->t_to);
  EXPECT_DOUBLE_EQ(chain[0].t_from + t_zyklus, chain[chain.size() - 2].t_to);
}

TEST(HandChains, EmptyMoveLeavesAndArrivesAlongTheHolds) {
  ASSERT_EQ(loadText(oneJuggler("a -\n- b\nb -\n- a\n")), 0);
  Handbahn P = {0.2, 0.5, {0, 0, 0.5}, {0, 0, 0.6}, {0, 0, 0.9}, {0, 0, 1}};
  Handbahn N = {0.1, 0.4, {1, 0, 1}, {1, 0.5, 1}, {0, 0, 0}, {0, 0, 0}};
  Handbahn E;
  Leerhandbahn_berechnen(&P, &E, &N, 0);
  EXPECT_DOUBLE_EQ(E.t_to, 0.1);
  EXPECT_DOUBLE_EQ(E.t_from, 0.5 - t_zyklus);  // the next hold lies a cycle on
  EXPECT_EQ(E.B0[2], 1);
  EXPECT_NEAR(E.B1[2], 1.04, 1e-12);
  EXPECT_NEAR(E.B2[1], -0.5, 1e-12);
  EXPECT_EQ(E.B3[0], 1);
  // A hand that throws behind its back keeps the holds' own inner points.
  ASSERT_EQ(loadText("! test\ndt=0.3\nj 0  0 0 0  b b\ns=0\n*\na -\n- b\nb -\n- a\n"), 0);
  Leerhandbahn_berechnen(&P, &E, &N, 0);
  EXPECT_EQ(E.B1[2], 0.9);
  EXPECT_EQ(E.B2[1], 0.5);
}

TEST(HandChains, JugglerFrame) {
  ASSERT_EQ(loadText(oneJuggler("a -\n- b\nb -\n- a\n")), 0);
  const double reference[3] = {1, 2, 3};
  Handbahn b = {0, 1, {1, 2, 3}, {2, 2, 3}, {1, 3, 4}, {0, 0, 0}};
  Handbahn_abs2rel(&b, 0, reference);
  EXPECT_EQ(b.B0[0], 0);
  EXPECT_EQ(b.B1[0], 1);
  EXPECT_EQ(b.B2[1], 1);
  EXPECT_EQ(b.B3[2], -3);
  Handbahn_abs2rel(&b, PI / 2, (const double[3]){0, 0, 0});
  EXPECT_NEAR(b.B1[0], 0, 1e-12);
  EXPECT_NEAR(b.B1[1], 1, 1e-12);
  EXPECT_NEAR(b.B2[0], -1, 1e-12);
  Handbahn unused = {UNSET_DOUBLE, 0, {5, 5, 5}, {}, {}, {}};
  Handbahn_abs2rel(&unused, 1, reference);
  EXPECT_EQ(unused.B0[0], 5);
  // A juggler turned a quarter to the left, two metres along x: his hands' chains are in his frame.
  ASSERT_EQ(loadText("! test\ndt=0.3\nj 90  2 0 0  c c\ns=0\n*\na -\n- b\nb -\n- a\n"), 0);
  double ref[3], heading;
  handPathOrigin(0, ref, &heading);
  EXPECT_NEAR(ref[0], 2, 1e-12);
  EXPECT_NEAR(heading, PI / 2, 1e-12);
  for (int h = 0; h < 2; h++) EXPECT_LT(std::fabs(handbahn[h][0].B0[0]), 1.0) << h;
}

TEST(HandChains, WorkListOrder) {
  HbSuche a = {0, 3, 1, 2}, b = {0, 4, 0, 1}, c = {1, 0, 0, 0};
  EXPECT_LT(hb_suche_cmp(&a, &b), 0);
  EXPECT_GT(hb_suche_cmp(&b, &a), 0);
  EXPECT_LT(hb_suche_cmp(&b, &c), 0);
  EXPECT_GT(hb_suche_cmp(&a, &a), 0);
}

// A hand that catches in every takt needs more slots than its row has: the pattern is refused.
TEST(HandChains, AHandCatchingEveryTaktIsRefused) {
  patternTestSeam.lastPatternMessage = 0;
  EXPECT_EQ(loadText("! test\ndt=0.3\ndw=0.5\np 0  0 0.2 1.0  0 -0.2 1.0\ns=0\n*\na b\nb a\n"), 121);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 732);
}

// Free slots of the object chains give no hold; a hold of a negative hand refuses the chains.
TEST(HandChains, FreeSlotsAndBadHands) {
  ASSERT_EQ(loadText(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  int o = 0, s = 1;
  while (flugbahn[o][s].haltehand < 0) s++;
  Flugbahnsegment_loeschen(o, s);
  EXPECT_EQ(Handbahnen_eintragen(), 0);
  flugbahn[o][s].haltehand = -5;
  patternTestSeam.lastPatternMessage = 0;
  EXPECT_EQ(Handbahnen_eintragen(), HANDPATH_BAD_HAND);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 728);
}

TEST(HandChains, CheckCountsGapsAndBackwardSlots) {
  ASSERT_EQ(loadText(oneJuggler("a -\n- b\nc -\n- a\nb -\n- c\n")), 0);
  ASSERT_EQ(Handbahnen_pruefen(), 0);
  handbahn[0][2].t_from += 0.01;
  EXPECT_EQ(Handbahnen_pruefen(), 1);
  handbahn[0][2].t_from = handbahn[0][2].t_to + 0.1;
  EXPECT_EQ(Handbahnen_pruefen(), 2);
  handbahn[1][0].t_from = 0.05;
  EXPECT_EQ(Handbahnen_pruefen(), 3);
}

// What the debug output (standard output) receives while the text is loaded.
std::string debugOutputOfLoading(const std::string &text) {
  std::string path = writeTempPattern("debug_output", "");
  fflush(stdout);
  int saved = dup(STDOUT_FILENO);
  FILE *capture = fopen(path.c_str(), "w");
  if (saved < 0 || !capture) return "";
  dup2(fileno(capture), STDOUT_FILENO);
  int code = loadText(text);
  fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  fclose(capture);
  std::string out = code == 0 ? readWholeFile(path) : "";
  remove(path.c_str());
  return out;
}

// "quoit debug" sets the debug level: loading a pattern then dumps its hand paths.
TEST(HandChains, DebugLoadDumpsTheHandPaths) {
  const std::string text = oneJuggler("a -\n- b\nb -\n- a\n");
  patternDebugLevel = 3;
  std::string withDebug = debugOutputOfLoading(text);
  patternDebugLevel = 0;
  EXPECT_NE(withDebug.find(outputHandbahnenText(-1)), std::string::npos);
  EXPECT_NE(withDebug.find("Hand 0: (left real hand)\nHB 0: t="), std::string::npos);
  EXPECT_EQ(debugOutputOfLoading(text).find("Hand 0: (left real hand)"), std::string::npos);
}

}  // namespace
