// Pattern-file rewriter: golden files for every kind of change, files the rewriter must not
// corrupt, write failures, and a rewritten pattern that loads into the same store.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "pattern/dumps.h"
#include "pattern/rewriter.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "core/viewrecords.h"

static std::string fixture(const std::string &name) { return sourcePath("tests/pattern/rewriter/" + name); }

struct GoldenCase {
  const char *input;
  const char *output;
  const char *line;
  int type;
};

static const GoldenCase goldenCases[] = {
    {"replace_b", "replace_b", "B=1.000000,2.000000,3.000000,4.000000", MODIF_REPLACE},
    {"remove_z_absent", "remove_z_absent", "Z=", MODIF_REMOVE},
    {"remove_z_present", "remove_z_present", "Z=", MODIF_REMOVE},
    {"insert_g", "insert_g", "G=0.000000,0.000000,1.100000", MODIF_REPLACE},
    {"insert_z", "insert_z", "z=1\n  o/ring  0  0.6 -0.8 0.01\n", MODIF_REPLACE},
    {"replace_j_two", "replace_j_two", "j 45  0 -1 0  c c\n  225 0 1 0  c c\n", MODIF_REPLACE},
    {"replace_dt", "replace_dt", "dt=0.250000", MODIF_REPLACE},
    {"no_juggler_block", "no_juggler_block", "G=0.000000,0.000000,1.000000", MODIF_REPLACE},
    {"remove_p_block", "remove_p_block", "p", MODIF_REMOVE},
    {"crlf", "crlf", "B=1.000000,2.000000,3.000000,4.000000", MODIF_REPLACE},
    // Files the word counts of the entry kinds would cut wrongly.
    {"j_extra_words", "j_extra_words_g", "G=0.000000,0.000000,1.000000", MODIF_REPLACE},
    {"j_extra_words", "j_extra_words_j", "j 0 0 0 0 c c\n  90 0 2 0 c c\n", MODIF_REPLACE},
    {"props_eight_words", "props_eight_words", "z=1\n  o/ball  r 10 20 30  0 0 0.05\n", MODIF_REPLACE},
    {"entries_with_blanks", "entries_with_blanks", "B=1.000000,2.000000,3.000000,4.000000", MODIF_REPLACE},
    {"k_other_negative", "k_other_negative", "kf 0 j 0\n b 0,0; 2,0; 2,2; 0,2\n tang=1\n afp=0\n angle=0 0\nkf -1\n",
     MODIF_REPLACE},
    {"k_unterminated", "k_unterminated", "kf 0 j 0\n b 0,0; 1,0; 1,1; 0,1\n tang=0\n afp=0\n angle=0 0\nkf -1\n",
     MODIF_REPLACE},
    {"key_inside_blocks", "key_inside_blocks_b", "B=1.000000,2.000000,3.000000,4.000000", MODIF_REPLACE},
    {"key_inside_blocks", "key_inside_blocks_g", "G=0.500000,0.500000,1.000000", MODIF_REPLACE},
    {"replace_j_with_macro", "replace_j_with_macro", "j 0 0 0 0 c c\n  180 0 3 0 C C\n", MODIF_REPLACE},
};

// No file is left beside the pattern file but the pattern file itself.
static int filesStartingWith(const std::string &directory, const std::string &prefix) {
  int n = 0;
  DIR *d = opendir(directory.c_str());
  while (dirent *e = d ? readdir(d) : nullptr) n += std::string(e->d_name).rfind(prefix, 0) == 0;
  if (d) closedir(d);
  return n;
}

TEST(Rewriter, GoldenFiles) {
  for (const GoldenCase &c : goldenCases) {
    std::string path = writeTempPattern(std::string("rw_") + c.output, readWholeFile(fixture(std::string(c.input) + ".in")));
    Musterdatei_modif(path.c_str(), c.line, c.type);
    EXPECT_EQ(readWholeFile(path), readWholeFile(fixture(std::string(c.output) + ".out"))) << c.output;
    std::string directory = path.substr(0, path.rfind('/'));
    EXPECT_EQ(filesStartingWith(directory, path.substr(path.rfind('/') + 1)), 1) << c.output;
    remove(path.c_str());
  }
}

// A file the rewriter cannot read or replace is reported and stays as it was.
TEST(Rewriter, FailuresLeaveTheFile) {
  ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
  int language = qPrefs.language;
  qPrefs.language = ENGLISH;
  testing::internal::CaptureStderr();
  Musterdatei_modif("/nonexistent/pattern", "B=1,2,3,4", MODIF_REPLACE);
  std::string version = readWholeFile("/proc/version");
  Musterdatei_modif("/proc/version", "B=1,2,3,4", MODIF_REPLACE);
  std::string path = writeTempPattern("rw_bad_type", "B=0,0,0,0\nj 0 0 0 0 c c\n*\na -\n");
  Musterdatei_modif(path.c_str(), "B=1,2,3,4", 3);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(readWholeFile("/proc/version"), version);
  EXPECT_EQ(readWholeFile(path), "B=0,0,0,0\nj 0 0 0 0 c c\n*\na -\n");
  EXPECT_NE(err.find("/nonexistent/pattern"), std::string::npos) << err;
  EXPECT_NE(err.find("/proc/version"), std::string::npos) << err;
  EXPECT_NE(err.find("Musterdatei_modif()"), std::string::npos) << err;
  remove(path.c_str());
  qPrefs.language = language;
  freeLocalTexts();
}

TEST(Rewriter, ReadWholeFileEndsWithANul) {
  std::string path = writeTempPattern("rw_whole", std::string("ab\0c", 4));
  long size = 0, lost = -1;
  char *buffer = readWholeFile(path.c_str(), &size, &lost, "test");
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(size, 5);
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(std::string(buffer, 4), std::string("ab\0c", 4));
  EXPECT_EQ(buffer[4], '\0');
  qFree(buffer, size_t(size));
  remove(path.c_str());
}

// What the camera commands write into a sample pattern changes the camera and nothing else.
TEST(Rewriter, RewrittenSampleLoadsIntoTheSameStore) {
  std::string path = writeTempPattern("rw_sample", readWholeFile(sourcePath("data/m/3ball_props_camera")));
  ASSERT_EQ(loadPattern(path), 0);
  std::string grid = outputMusterText(0, takte - 1), hands = outputFangwurfText();
  int objects = objekte, props = propCount;
  double beat = dt;
  Musterdatei_modif(path.c_str(), "B=1.000000,1.100000,5.000000,200.000000", MODIF_REPLACE);
  Musterdatei_modif(path.c_str(), "G=0.100000,0.200000,1.300000", MODIF_REPLACE);
  Musterdatei_modif(path.c_str(), "Z=", MODIF_REMOVE);
  Musterdatei_modif(path.c_str(), "dt=0.300000", MODIF_REPLACE);
  Musterdatei_modif(path.c_str(), "a=6", MODIF_REPLACE);
  ASSERT_EQ(loadPattern(path), 0);
  EXPECT_EQ(outputMusterText(0, takte - 1), grid);
  EXPECT_EQ(outputFangwurfText(), hands);
  EXPECT_EQ(objekte, objects);
  EXPECT_EQ(propCount, props);
  EXPECT_DOUBLE_EQ(dt, beat);
  EXPECT_DOUBLE_EQ(cameraState.azimuth, 1.0);
  EXPECT_DOUBLE_EQ(cameraState.distance, 5.0);
  EXPECT_DOUBLE_EQ(savedCamera.lookAt[2], 1.3);
  freePatternData();
  remove(path.c_str());
}

// An entry the reader does not read whole is not glued to a new value: the rewrite is refused
// with a message and the file stays; a file that loaded before still loads the same way.
TEST(Rewriter, MalformedEntryIsRefusedNotGlued) {
  ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
  int language = qPrefs.language;
  qPrefs.language = ENGLISH;
  const std::string body = "j 0  0 0 0  c c\n*\na -\n- a\n";
  struct Case {
    const char *header, *line;
  } cases[] = {
      {"G0,0,1\n", "G=0.000000,0.000000,0.950000"},
      {"dt0.3\n", "dt=0.250000"},
      {"a3\n", "a=6"},
      {"B=1,2\n", "B=1.000000,2.000000,3.000000,4.000000"},
      {"O=1 0x#1\n", "O=1 1#2"},
  };
  for (const Case &c : cases) {
    std::string text = c.header + body;
    std::string path = writeTempPattern("rw_malformed", text);
    testing::internal::CaptureStderr();
    Musterdatei_modif(path.c_str(), c.line, MODIF_REPLACE);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(readWholeFile(path), text) << c.header;
    EXPECT_NE(err.find(std::string("Header entry ") + c.line[0]), std::string::npos) << c.header << err;
    remove(path.c_str());
  }
  qPrefs.language = language;
  freeLocalTexts();
}

// A new entry goes on a line of its own even where the juggler block is glued to the header's
// '*': the body stays where it was and the file loads as before.
TEST(Rewriter, InsertedEntryAfterABlockGluedToTheStar) {
  const std::string text = "j 0  0 0 0  c c*\na -\n- a\n";
  ASSERT_EQ(loadText(text), 0);
  std::string grid = outputMusterText(0, takte - 1);
  for (const char *line : {"z=1\n  o/ball  0  0.6 -0.8 0.01\n", "G=0.000000,0.000000,1.000000"}) {
    int result;
    std::string out = rewrittenPatternText(text, line, MODIF_REPLACE, &result);
    EXPECT_EQ(result, REWRITE_CHANGED) << line;
    EXPECT_EQ(out.substr(out.find("*")), "*\na -\n- a\n") << out;
    ASSERT_EQ(loadText(out), 0) << out;
    EXPECT_EQ(outputMusterText(0, takte - 1), grid) << out;
  }
  freePatternData();
}

// A UTF-8 byte-order mark or NUL bytes before the title line leave the title a title: the
// camera goes before the juggler block, not into the title's words.
TEST(Rewriter, ByteOrderMarkAndNulsBeforeTheTitle) {
  const std::string rest = "! my B=1,1,1,1 title\nj 0  0 0 0  c c\n*\na -\n- a\n";
  for (const std::string &start : {std::string("\xEF\xBB\xBF"), std::string("\0\0", 2)}) {
    int result;
    std::string out = rewrittenPatternText(start + rest, "B=2.000000,2.000000,2.000000,2.000000", MODIF_REPLACE, &result);
    EXPECT_EQ(result, REWRITE_CHANGED);
    EXPECT_EQ(out, start + "! my B=1,1,1,1 title\nB=2.000000,2.000000,2.000000,2.000000\nj 0  0 0 0  c c\n*\na -\n- a\n");
  }
}

// Object-model counts are bounded by the declared number: huge counts end the entry at the
// first pair that reaches it instead of overflowing the sum.
TEST(Rewriter, ObjectModelCountsAreBounded) {
  const std::string entry = "O=9223372036854775807 9223372036854775807#1";
  const std::string text = entry + " 9223372036854775807#1 5#1\nj 0  0 0 0  c c\n*\na -\n- a\n";
  HeaderScan scan = scanPatternHeader(text, 'O');
  ASSERT_TRUE(scan.found);
  EXPECT_EQ(text.substr(scan.entry.start, scan.entry.end - scan.entry.start), entry);
}
