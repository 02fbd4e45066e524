// Keyframes: the section reader's grammar and errors, the list order, the canonical text, and the
// section written into a pattern file and read back byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/runstate.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"
#include "ui/keyframes.h"

namespace {

const char *const TWO_KEYFRAMES =
    "kf 1 j 0\n"
    "b 0.000,0.000; 0.500,0.000; 1.000,0.500; 1.000,1.000\n"
    "tang=1\n"
    "afp=0\n"
    "angle=0.0 90.0\n"
    "kf 2 j 1\n"
    "b -1.250,0.333; -0.000,2.000; 3.141,-2.718; 10.000,-10.000\n"
    "tang=-3\n"
    "afp=7\n"
    "angle=-12.5 360.0\n"
    "kf -1\n";

int readFrom(const std::string &text) {
  FILE *stream = fmemopen(const_cast<char *>(text.data()), text.size(), "r");
  int result = readKeyframes(stream);
  fclose(stream);
  return result;
}

std::vector<int> numbersAndJugglers() {
  std::vector<int> out;
  for (const Keyframe *k = keyframeList; k; k = k->next) {
    out.push_back(k->no);
    out.push_back(k->j);
    if (k->next) {
      EXPECT_EQ(k->next->prev, k);
    }
  }
  return out;
}

std::string fileText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string keyframe(int no, int j) {
  return "kf " + std::to_string(no) + " j " + std::to_string(j) +
         "\nb 0,0; 1,0; 1,1; 0,1\ntang=0\nafp=0\nangle=0 0\n";
}

class Keyframes : public ::testing::Test {
 protected:
  void TearDown() override { KeyframeList(KEYFRAMES_FREE, nullptr); }
};

TEST_F(Keyframes, SectionsReadByTheGrammar) {
  struct Case {
    const char *name;
    std::string text;
    int result;
    std::vector<int> list;  // number, juggler of each keyframe in list order
  } cases[] = {
      {"two", TWO_KEYFRAMES, 0, {1, 0, 2, 1}},
      {"equal numbers keep file order, lower goes first", keyframe(3, 0) + keyframe(3, 1) + keyframe(1, 2) + "kf -1\n", 0,
       {1, 2, 3, 0, 3, 1}},
      {"any negative number ends", keyframe(1, 0) + "kf -5\n" + keyframe(2, 0), 0, {1, 0}},
      {"white space anywhere", "  kf 4\n\n j 2 b 0,0;1,0;  1,1;0,1 tang=0\tafp=0\r\nangle=1 2\nkf -1", 0, {4, 2}},
      {"b line with seven numbers", keyframe(1, 0) + "kf 2 j 0\nb 0,0; 1,0; 1,1; 0\ntang=0\n", 2, {1, 0}},
      {"no j", "kf 1\nb 0,0; 1,0; 1,1; 0,1\n", 6, {}},
      {"no tang", "kf 1 j 0\nb 0,0; 1,0; 1,1; 0,1\nafp=0\n", 3, {}},
      {"no afp", "kf 1 j 0\nb 0,0; 1,0; 1,1; 0,1\ntang=0\nangle=0 0\n", 4, {}},
      {"one angle", "kf 1 j 0\nb 0,0; 1,0; 1,1; 0,1\ntang=0\nafp=0\nangle=0\nkf -1\n", 5, {}},
      {"a point that is not finite", "kf 1 j 0\nb 0,0; inf,0; 1,1; 0,1\ntang=0\nafp=0\nangle=0 0\nkf -1\n", 2, {}},
      {"an angle that is not finite", "kf 1 j 0\nb 0,0; 1,0; 1,1; 0,1\ntang=0\nafp=0\nangle=nan 0\nkf -1\n", 5, {}},
      {"no end line", keyframe(1, 0), 1, {1, 0}},
      {"kf without a number", "kf x\n", 1, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readFrom(c.text), c.result);
    EXPECT_EQ(numbersAndJugglers(), c.list);
  }
}

TEST_F(Keyframes, ReadValuesAndTheCanonicalTextRoundTrip) {
  ASSERT_EQ(readFrom("kf 1 j 0\nb 0.12345,1; 2,3; 4,5; 6,7.0006\ntang=1\nafp=2\nangle=0.04  89.96\nkf -1\n"), 0);
  ASSERT_NE(keyframeList, nullptr);
  EXPECT_DOUBLE_EQ(keyframeList->point[0][0], 0.12345);
  for (int p = 0; p < 4; p++) EXPECT_DOUBLE_EQ(keyframeList->point[p][2], 0.01);
  EXPECT_EQ(keyframesText(),
            "kf 1 j 0\nb 0.123,1.000; 2.000,3.000; 4.000,5.000; 6.000,7.001\ntang=1\nafp=2\nangle=0.0 90.0\nkf -1\n");

  ASSERT_EQ(readFrom(TWO_KEYFRAMES), 0);
  EXPECT_EQ(keyframesText(), TWO_KEYFRAMES);
  std::string once = keyframesText();
  ASSERT_EQ(readFrom(once), 0);
  EXPECT_EQ(keyframesText(), once);
}

TEST_F(Keyframes, ASecondSectionReplacesTheFirstAndTheListHasALimit) {
  ASSERT_EQ(readFrom(TWO_KEYFRAMES), 0);
  ASSERT_EQ(readFrom(keyframe(9, 4) + "kf -1\n"), 0);
  EXPECT_EQ(numbersAndJugglers(), (std::vector<int>{9, 4}));

  std::string many;
  for (int i = 0; i <= KEYFRAMES_MAX; i++) many += keyframe(i, 0);
  EXPECT_EQ(readFrom(many + "kf -1\n"), 7);
  EXPECT_EQ(keyframeCount(), int(KEYFRAMES_MAX));
  EXPECT_EQ(KeyframeList(99, nullptr), 1);
  EXPECT_EQ(KeyframeList(KEYFRAMES_INSERT, nullptr), 1);
}

// The pattern reader hands the section to readKeyframes; the walking editor's save writes the
// same bytes back, and a file without a section gets one before its juggler block.
TEST_F(Keyframes, PatternFileSectionRoundTrip) {
  const std::string header = "! keyframes\ndt=0.3\n";
  const std::string rest = "j 0 0 0 0 c c\n*\n3 -\n- 3\n3 -\n- 3\n";
  std::string path = writeTempPattern("keyframes", header + TWO_KEYFRAMES + rest);
  ASSERT_EQ(loadPattern(path), 0);
  EXPECT_EQ(numbersAndJugglers(), (std::vector<int>{1, 0, 2, 1}));
  std::string saved = currentPatternFile;
  currentPatternFile = path;
  EXPECT_EQ(writeKeyframes2patternFile(), 0);
  EXPECT_EQ(fileText(path), header + TWO_KEYFRAMES + rest);

  std::string plain = writeTempPattern("keyframes_plain", header + rest);
  currentPatternFile = plain;
  EXPECT_EQ(writeKeyframes2patternFile(), 0);
  EXPECT_EQ(fileText(plain), header + TWO_KEYFRAMES + rest);

  // A section read only in part is not written back over the part that could not be read (the
  // reader goes on after the bad line and meets keyframe 3 as a section of its own).
  std::string partial = header + keyframe(1, 0) + "kf 2 j 0\nb 0,0; 1\n" + keyframe(3, 0) + "kf -1\n" + rest;
  std::string broken = writeTempPattern("keyframes_partial", partial);
  ASSERT_EQ(loadPattern(broken), 0);
  EXPECT_EQ(keyframeCount(), 1);
  currentPatternFile = broken;
  EXPECT_EQ(writeKeyframes2patternFile(), 3);
  EXPECT_EQ(fileText(broken), partial);

  KeyframeList(KEYFRAMES_FREE, nullptr);
  std::string untouched = writeTempPattern("keyframes_empty", header + "kf 1 j 0\nb broken\n" + rest);
  currentPatternFile = untouched;
  EXPECT_EQ(writeKeyframes2patternFile(), 1);
  EXPECT_EQ(fileText(untouched), header + "kf 1 j 0\nb broken\n" + rest);
  currentPatternFile = saved;
  freePatternData();
  for (const std::string &p : {path, plain, broken, untouched}) remove(p.c_str());
}

}  // namespace
