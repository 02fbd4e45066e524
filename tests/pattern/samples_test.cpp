// Every sample pattern and benchmark loads, and the store holds what the file says.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>

#include "core/runstate.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "pattern/dumps.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "core/viewrecords.h"

namespace {

struct Sample {
  const char *file;
  int objects, takts, jugglers, hands, macros, wrap;
  double cycle;
  const char *letters;
};

const Sample samples[] = {
    {"data/m/3ball_cascade", 3, 6, 1, 2, 0, 0, 1.8, "abc"},
    {"data/m/5ball_cascade", 5, 10, 1, 2, 0, 0, 2.5, "abcde"},
    {"data/m/3ball_cascade_wrap", 3, 4, 1, 2, 0, 1, 1.2, "abc"},
    {"data/m/6club_2count_pass", 6, 12, 2, 4, 0, 0, 3.6, "adbecf"},
    {"data/m/9club_feed_pass", 9, 36, 3, 6, 0, 0, 10.8, "gadehbfic"},
    {"data/m/3ball_forced_bounce", 3, 6, 1, 2, 0, 0, 2.7, "abc"},
    {"data/m/4ball_32_3_mplex", 4, 6, 1, 4, 0, 0, 1.8, "adcb"},
    {"data/m/3ball_underleg", 3, 6, 1, 2, 1, 0, 1.8, "abc"},
    {"data/m/3ball_props_camera", 3, 6, 1, 2, 0, 0, 1.8, "abc"},
    {"data/m/3ball_walking", 3, 6, 1, 2, 0, 0, 1.8, "abc"},
    {"data/b/benchmark1", 3, 6, 1, 2, 0, 0, 1.8, "abc"},
    {"data/b/benchmark2", 6, 12, 2, 4, 0, 0, 3.6, "adbecf"},
    {"data/b/benchmark3", 28, 14, 4, 8, 0, 0, 2.8, "ahovbipwcjqxdkryelszfmtAgnuB"},
};

class SamplePattern : public testing::TestWithParam<Sample> {};

TEST_P(SamplePattern, LoadsWithItsCounts) {
  const Sample &s = GetParam();
  ASSERT_EQ(loadPattern(sourcePath(s.file)), 0) << s.file;
  EXPECT_EQ(objekte, s.objects);
  EXPECT_EQ(takte, s.takts);
  EXPECT_EQ(jugglers, s.jugglers);
  EXPECT_EQ(handCount, s.hands);
  EXPECT_EQ(handMacroCount, s.macros);
  EXPECT_EQ(WRAP, s.wrap);
  EXPECT_NEAR(t_zyklus, s.cycle, 1e-9);
  EXPECT_EQ(std::string(Objektbuchstaben), std::string(s.letters) + "-");
  EXPECT_LT(gravity, 0);
  // Every object is held somewhere in the cycle, and each takt's cells are in the grid dump.
  std::string dump = outputMusterText(0, takte - 1);
  EXPECT_NE(dump.find("Takt  0: "), std::string::npos);
  EXPECT_NE(dump.find(s.wrap ? "*\n" : "*\nno wrap\n"), std::string::npos);
  for (int o = 0; o < objekte; o++) {
    int held = 0;
    for (int t = 0; t < takte; t++)
      for (int h = 0; h < handCount + handMacroCount; h++) held += dotzspeicher[t][h][o] != 0;
    EXPECT_GT(held, 0) << "object " << o;
  }
}

INSTANTIATE_TEST_SUITE_P(Data, SamplePattern, testing::ValuesIn(samples), [](const testing::TestParamInfo<Sample> &i) {
  std::string file = i.param.file;
  return file.substr(file.rfind('/') + 1);
});

// Every sample brings its own camera (B= and G=), so none is shown from what the one before left.
TEST(SamplePatternFacts, EverySampleBringsItsCamera) {
  int count = 0;
  for (const auto &entry : std::filesystem::directory_iterator(sourcePath("data/m"))) {
    std::string file = entry.path().string();
    SCOPED_TRACE(file);
    const SavedCamera unset = {{-99, -99, -99}, -99, -99, -99, -99};
    savedCamera = unset;
    ASSERT_EQ(loadPattern(file), 0);
    EXPECT_NE(savedCamera.zoom, unset.zoom);
    EXPECT_NE(savedCamera.distance, unset.distance);
    EXPECT_NE(savedCamera.lookAt[0], unset.lookAt[0]);
    EXPECT_NE(savedCamera.lookAt[2], unset.lookAt[2]);
    count++;
  }
  EXPECT_GE(count, 10);
}

TEST(SamplePatternFacts, WrapTablePairsTheLettersAcrossTheBoundary) {
  ASSERT_EQ(loadPattern(sourcePath("data/m/3ball_cascade_wrap")), 0);
  EXPECT_EQ(Wrap_Partner('a', 1), 'c');
  EXPECT_EQ(Wrap_Partner('c', 2), 'a');
  EXPECT_EQ(Wrap_Partner('b', 1), 'a');
  EXPECT_EQ(wraptable[0], 'a');
  EXPECT_EQ(wraptable[1], 'c');
  EXPECT_EQ(wraptable[6], 0xFF);
  EXPECT_EQ(scatter, 0);
  EXPECT_NE(outputMusterText(0, 3).find("*\nabc\ncab\n"), std::string::npos);
}

TEST(SamplePatternFacts, PassingPatternGivesEachJugglerItsColour) {
  ASSERT_EQ(loadPattern(sourcePath("data/m/6club_2count_pass")), 0);
  // Letters a d b e c f: the first juggler's clubs red (10), the second's blue (12).
  const int models[] = {10, 12, 10, 12, 10, 12};
  for (int o = 0; o < 6; o++) EXPECT_EQ(objectModelNumber[o], models[o]) << o;
  // Hand 2 is the second juggler's left hand, turned by its heading of 180 degrees.
  EXPECT_NEAR(fangwurf[2].fang[1], -0.4, 1e-9);
  EXPECT_NEAR(fangwurf[2].fang[0], 1.25, 1e-9);
  EXPECT_NEAR(fangwurf[2].fang[2], 1.2, 1e-9);
  EXPECT_EQ(fangwurf[2].flag, 0x100);
}

TEST(SamplePatternFacts, FeedGivesEveryObjectTheHeaderModel) {
  ASSERT_EQ(loadPattern(sourcePath("data/m/9club_feed_pass")), 0);
  EXPECT_EQ(objectCountOption, 10);
  for (int o = 0; o < 9; o++) EXPECT_EQ(objectModelNumber[o], 10) << o;
  EXPECT_NEAR(quoitPos[1].ZWinkel, 199.8 / 57.29577951, 1e-9);
  EXPECT_DOUBLE_EQ(quoitPos[2].position[1], -0.9);
}

TEST(SamplePatternFacts, MultiplexUsesAVirtualHandStackedOnTheRealOne) {
  ASSERT_EQ(loadPattern(sourcePath("data/m/4ball_32_3_mplex")), 0);
  EXPECT_EQ(qInternal[0], 1);
  EXPECT_EQ(qInternal[QINTERNAL_VIRTUAL_USED], 1);
  int a = Objekt_Nummer('a'), d = Objekt_Nummer('d');
  EXPECT_EQ(dotzspeicher[0][0][a], 128 | 0x100);  // the real hand's object, place 1 of the stack
  EXPECT_EQ(dotzspeicher[0][2][d], 128 | 0x200);  // virtual hand 2 (left, level 1), place 2
  EXPECT_EQ(Hand(2, 0), 0);
  EXPECT_EQ(Hand(2, 2), HAND_VIRTUAL);
  EXPECT_EQ(Hand(3, 0), 1);
  // The virtual hands take the points of their column's real hand.
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(fangwurf[2].fang[i], fangwurf[0].fang[i]);
    EXPECT_EQ(fangwurf[3].wurf[i], fangwurf[1].wurf[i]);
  }
}

TEST(SamplePatternFacts, HandMacroIsBoundToItsColumnAndRaised) {
  ASSERT_EQ(loadPattern(sourcePath("data/m/3ball_underleg")), 0);
  const Fangwurf &u = fangwurf[macroHand(0)];
  EXPECT_EQ(u.kennz, 'U');
  EXPECT_EQ(u.handnr, 1);
  EXPECT_EQ(u.flag, FANGWURF_RELATIVE);
  EXPECT_NEAR(u.wurf[2], 0.65, 1e-9);
  EXPECT_NEAR(u.fang[1], -0.35, 1e-9);
  EXPECT_EQ(Hand(2, 2), HAND_MACRO);
  EXPECT_EQ(Hand(2, 1), 1);
  EXPECT_NE(dotzspeicher[3][macroHand(0)][Objekt_Nummer('a')], 0);
  EXPECT_NE(outputFangwurfText().find("kennz='U'"), std::string::npos);
}

TEST(SamplePatternFacts, PropsCameraAndObjectModels) {
  ASSERT_EQ(loadPattern(sourcePath("data/m/3ball_props_camera")), 0);
  EXPECT_EQ(propCount, 3);
  EXPECT_EQ(sceneObjectCount, 4);  // three props and the end record
  EXPECT_EQ(sceneObjects[0].x, 500);
  EXPECT_EQ(sceneObjects[0].angleZ, (30 + 36000) * 2048 / 360 & 0x7ff);
  EXPECT_EQ(sceneObjects[3].model, PLACEMENT_END_FIXED);
  EXPECT_DOUBLE_EQ(cameraState.azimuth, 0.6);
  EXPECT_DOUBLE_EQ(savedCamera.zoom, 300);
  EXPECT_DOUBLE_EQ(savedCamera.lookAt[2], 1.0);
  for (int o = 0; o < 3; o++) EXPECT_EQ(objectModelNumber[o], o);
}

// The header lines of a sample file that describe it: its title and its comments.
std::string describingLines(const std::string &file) {
  std::istringstream in(readWholeFile(sourcePath(file)));
  std::string text, line;
  while (std::getline(in, line) && line != "*")
    if (!line.empty() && (line[0] == '!' || line[0] == '%')) text += line + "\n";
  return text;
}

// What a sample says it shows is what it shows: the clubs of the props sample stand upright (no
// turn about x or y), and the walking sample's juggler does not walk (its keyframes only act in
// the walking editor), which its title and comment say, with the key that opens that editor.
TEST(SamplePatternFacts, TitlesAndCommentsSayWhatTheSamplesShow) {
  struct Claim {
    const char *file, *says, *doesNotSay;
  } claims[] = {
      {"data/m/3ball_props_camera", "stand upright", "lie on the floor"},
      {"data/m/3ball_walking", "Ctrl-W", "on a walk"},
      {"data/m/3ball_walking", "juggles standing", "walks"},
  };
  for (const Claim &c : claims) {
    std::string text = describingLines(c.file);
    EXPECT_NE(text.find(c.says), std::string::npos) << c.file << ":\n" << text;
    EXPECT_EQ(text.find(c.doesNotSay), std::string::npos) << c.file << ":\n" << text;
  }
  EXPECT_NE(readWholeFile(sourcePath("data/m/3ball_walking")).find("\nkf 1 j 0\n"), std::string::npos);
  ASSERT_EQ(loadPattern(sourcePath("data/m/3ball_props_camera")), 0);
  for (int k = 0; k < propCount; k++) {
    if (strstr(propRecords[k].name, "club") == nullptr) continue;
    EXPECT_EQ(propRecords[k].angles[0], 0) << k;
    EXPECT_EQ(propRecords[k].angles[1], 0) << k;
  }
}

TEST(SamplePatternFacts, InlineCommentsAndTitle) {
  ASSERT_EQ(loadPattern(sourcePath("data/m/3ball_cascade")), 0);
  EXPECT_STREQ(Mustertitel, "3-ball cascade\n");
  ASSERT_EQ(qInlineCommentCount, 2);
  EXPECT_EQ(qInlineComment[0].objekt, Objekt_Nummer('a'));
  EXPECT_STREQ(qInlineComment[0].text, " the first throw, from the left hand\n");
  EXPECT_NEAR(dt, 0.3, 1e-12);
  EXPECT_NEAR(dwell, 1.1, 1e-12);
}

TEST(SamplePatternFacts, ForcedBounceRecordsItsBounceCount) {
  ASSERT_EQ(loadPattern(sourcePath("data/m/3ball_forced_bounce")), 0);
  EXPECT_EQ(bouncesPresent, 1);
  EXPECT_EQ(dotzspeicher[0][0][Objekt_Nummer('a')], 127);
  EXPECT_NEAR(Dotzfaktor, 0.9, 1e-12);
  EXPECT_STREQ(muster[0][0], "\\a");
}

}  // namespace
