// Every broken pattern file is refused with its load code and its own message, without a crash,
// and leaves no store behind.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/loadpattern.h"
#include "pattern/store.h"
#include "pattern/testseam.h"

namespace {

struct Fixture {
  const char *file;
  int code;
  int message;
};

const Fixture fixtures[] = {
    {"no_header_star", 112, 768},
    {"odd_columns", 112, 706},
    {"empty_body", 112, 762},
    {"comment_only_body", 112, 762},
    {"too_many_objects", 112, 766},
    {"too_many_jugglers", 112, 764},
    {"too_many_hands", 112, 765},
    {"too_many_macros", 112, 720},
    {"bad_macro_letter", 112, 740},
    {"unclosed_group", 112, 770},
    {"ampersand_first", 112, 774},
    {"too_many_takts", 112, 776},
    {"no_juggler_block", 114, 733},
    {"bad_j_heading", 114, 740},
    {"bad_j_line", 114, 740},
    {"bad_j_kind", 114, 740},
    {"bad_j_kind_z", 114, 45},
    {"bad_prop_count", 114, 771},
    {"bad_prop_entry", 114, 773},
    {"props_before_jugglers", 114, 748},
    {"object_count_mismatch", 114, 749},
    {"object_pair_broken", 114, 750},
    {"bad_point", 114, 740},
    {"bad_second_point", 114, 740},
    {"broken_macro_line", 114, 740},
    {"second_juggler_block", 114, 739},
    {"zero_takt_duration", 114, 760},
    {"zero_gravity", 114, 761},
    {"wrap_wrong_length", 116, 742},
    {"wrap_missing_line", 116, 742},
    {"wrap_not_permutation", 116, 742},
    {"macro_two_columns", 116, 730},
    {"group_after_last_column", 116, 736},
    {"too_few_columns", 116, 747},
    {"too_many_columns", 116, 727},
    {"cell_too_long", 116, 735},
    {"letter_twice", 116, 753},
    {"dwell_too_long", 116, 763},
    {"dwell_too_short", 116, 763},
};

class BrokenPattern : public testing::TestWithParam<Fixture> {};

TEST_P(BrokenPattern, IsRefusedWithItsCodeAndMessage) {
  const Fixture &f = GetParam();
  EXPECT_EQ(loadPattern(sourcePath(std::string("tests/pattern/fixtures/") + f.file)), f.code) << f.file;
  EXPECT_EQ(patternTestSeam.lastPatternMessage, f.message) << f.file;
  EXPECT_EQ(fangwurf, nullptr);
  EXPECT_EQ(muster, nullptr);
  EXPECT_EQ(dotzspeicher, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BrokenPattern, testing::ValuesIn(fixtures),
                         [](const testing::TestParamInfo<Fixture> &i) { return std::string(i.param.file); });

TEST(BrokenPatternFile, MissingFileIsRefusedByThePreScan) {
  EXPECT_EQ(loadPattern("/nonexistent/pattern"), 112);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 40);
}

TEST(BrokenPatternFile, OversizedFileIsRefused) {
  std::string text = "j 0  0 0 0  c c\n*\na -\n- a\n" + std::string(1100000, '%');
  EXPECT_EQ(loadText(text), 112);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 775);
}

}  // namespace
