// Pattern catalogue and stepping: listing and sorting a directory, next, previous and random
// steps with their wraps, positioning, the kind filters and the converter list "q2.out".
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/localtext.h"
#include "core/runstate.h"
#include "core/prefs.h"
#include "core/random.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "pattern/catalogue.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/scratch_home.h"

namespace fs = std::filesystem;

class Catalogue : public ScratchHomeTest {
 protected:
  void SetUp() override {
    ScratchHomeTest::SetUp();
    qPrefs.catalogueSort = 1;
    qPrefs.current = 0;
    qPrefs.q2_at = 0;
    qPrefs.q2_persons = 1;
    GetAllPatterns(nullptr, CATALOGUE_FREE, nullptr);
  }
  void TearDown() override {
    GetAllPatterns(nullptr, CATALOGUE_FREE, nullptr);
    bounceFilter = passingFilter = multiplexFilter = 0;
    ScratchHomeTest::TearDown();
  }
  void listDirectory(const char *directory, std::initializer_list<const char *> files) {
    fs::create_directories(directory);
    for (const char *name : files) writeWholeFile(std::string(directory) + "/" + name, "x\n");
    GetAllPatterns(directory, CATALOGUE_LIST, nullptr);
    GetAllPatterns(directory, CATALOGUE_SORT, nullptr);
  }
  std::vector<std::string> entries() {
    std::vector<std::string> names;
    for (int i = 0; i < catalogueCount(); i++) names.push_back(catalogueEntry(i));
    return names;
  }
  // The text and wrap result of one step.
  std::pair<std::string, int> step(int operation) {
    std::string text = "unchanged";
    int wrapped = GetAllPatterns(nullptr, operation, &text);
    return {text, wrapped};
  }
};

TEST_F(Catalogue, ListingSkipsBackupsAndDirectoriesAndSortsByRule) {
  fs::create_directories("d/sub");
  listDirectory("d", {"3b.pat", "10x.pat", "Zz", "abc~"});
  EXPECT_EQ(entries(), (std::vector<std::string>{"3b.pat", "10x.pat", "Zz"}));
  qPrefs.catalogueSort = 2;
  GetAllPatterns(nullptr, CATALOGUE_SORT, nullptr);
  EXPECT_EQ(entries(), (std::vector<std::string>{"10x.pat", "3b.pat", "Zz"}));
  // Listing again starts a new catalogue.
  GetAllPatterns("d", CATALOGUE_LIST, nullptr);
  EXPECT_EQ(catalogueCount(), 3);
}

TEST_F(Catalogue, ComparePatternNames) {
  struct Case {
    int sort;
    const char *a, *b;
    int sign;
  } cases[] = {
      {1, "3b", "10x", -1}, {1, "10x", "3b", 1}, {1, "7a", "7B", -1}, {1, "0a", "10b", -1},
      {1, "abc", "ABC", 0}, {0, "3b", "10x", 1},  {2, "b", "A", 1},    {1, "Zz", "10x.pat", 1},
  };
  for (const Case &c : cases) {
    qPrefs.catalogueSort = c.sort;
    int result = comparePatternNames(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " " << c.b << " sort " << c.sort;
  }
}

// The real pattern directory: next walks it in order and wraps to the first entry, after which
// the walk goes on with the second.
TEST_F(Catalogue, NextWalksTheSamplesAndWraps) {
  GetAllPatterns("m/", CATALOGUE_LIST, nullptr);
  GetAllPatterns("m/", CATALOGUE_SORT, nullptr);
  std::vector<std::string> names = entries();
  ASSERT_EQ(names.size(), 10u);
  EXPECT_EQ(names.front(), "3ball_cascade");
  EXPECT_EQ(names.back(), "9club_feed_pass");
  for (const std::string &name : names) EXPECT_EQ(step(CATALOGUE_NEXT), std::make_pair("m/" + name, 0));
  EXPECT_EQ(step(CATALOGUE_NEXT), std::make_pair("m/" + names[0], 1));
  EXPECT_EQ(step(CATALOGUE_NEXT), std::make_pair("m/" + names[1], 0));
}

TEST_F(Catalogue, PreviousGoesBackAndWrapsToTheLast) {
  listDirectory("m", {});
  std::vector<std::string> names = entries();
  const size_t last = names.size() - 1;
  std::string text = "m/" + names[1];
  GetAllPatterns(nullptr, CATALOGUE_AFTER_NAME, &text);
  EXPECT_EQ(catalogueCursor(), 2);
  EXPECT_EQ(step(CATALOGUE_PREVIOUS), std::make_pair("m/" + names[0], 0));
  EXPECT_EQ(step(CATALOGUE_PREVIOUS), std::make_pair("m/" + names[last], 1));
  EXPECT_EQ(step(CATALOGUE_PREVIOUS), std::make_pair("m/" + names[last - 1], 0));
  // After a wrap to the last entry, next wraps to the first.
  step(CATALOGUE_PREVIOUS);
  step(CATALOGUE_NEXT);
  EXPECT_EQ(step(CATALOGUE_NEXT), std::make_pair("m/" + names[last], 0));
  EXPECT_EQ(step(CATALOGUE_NEXT), std::make_pair("m/" + names[0], 1));
}

TEST_F(Catalogue, OneEntryAndNoEntry) {
  listDirectory("one", {"only"});
  qSeedRandom(7);
  for (int operation : {CATALOGUE_NEXT, CATALOGUE_PREVIOUS, CATALOGUE_RANDOM, CATALOGUE_NEXT, CATALOGUE_RANDOM})
    EXPECT_EQ(step(operation).first, "one/only") << operation;
  GetAllPatterns(nullptr, CATALOGUE_FREE, nullptr);
  listDirectory("none", {});
  for (int operation : {CATALOGUE_NEXT, CATALOGUE_PREVIOUS, CATALOGUE_RANDOM})
    EXPECT_EQ(step(operation), std::make_pair(std::string("unchanged"), 0)) << operation;
}

TEST_F(Catalogue, RandomDrawsEveryEntryOnceARound) {
  listDirectory("m", {});
  qSeedRandom(12345);
  for (int round = 0; round < 3; round++) {
    std::set<std::string> drawn;
    for (int i = 0; i < catalogueCount(); i++) drawn.insert(step(CATALOGUE_RANDOM).first);
    EXPECT_EQ(int(drawn.size()), catalogueCount()) << "round " << round;
  }
}

TEST_F(Catalogue, PositionByNumberAndByName) {
  listDirectory("n", {"3a", "5b", "5c", "7c", "x"});
  struct Case {
    const char *text;
    int operation, cursor;
  } cases[] = {
      {"5", CATALOGUE_AT_NUMBER, 1},     {"4", CATALOGUE_AT_NUMBER, 1},       {"7", CATALOGUE_AT_NUMBER, 3},
      {"8", CATALOGUE_AT_NUMBER, 0},     {"n/x", CATALOGUE_AT_NUMBER, 4},     {"m/5c", CATALOGUE_AT_NUMBER, 2},
      {"5d", CATALOGUE_AT_NUMBER, 1},    {"n/5b", CATALOGUE_AFTER_NAME, 2},   {"x", CATALOGUE_AFTER_NAME, 5},
      {"n/none", CATALOGUE_AFTER_NAME, 0},
  };
  for (const Case &c : cases) {
    std::string text = c.text;
    GetAllPatterns(nullptr, c.operation, &text);
    EXPECT_EQ(catalogueCursor(), c.cursor) << c.text;
  }
  std::string start = "5";
  GetAllPatterns(nullptr, CATALOGUE_AT_NUMBER, &start);
  EXPECT_EQ(step(CATALOGUE_NEXT).first, "n/5b");
}

TEST_F(Catalogue, OverlongNamesAreReportedNotCut) {
  std::string longName(CATALOGUE_NAME_SIZE, 'a');
  fs::create_directories("d");
  writeWholeFile("d/" + longName, "x");
  writeWholeFile("d/short", "x");
  GetAllPatterns("d", CATALOGUE_LIST, nullptr);
  EXPECT_EQ(entries(), std::vector<std::string>{"short"});
  GetAllPatterns(nullptr, CATALOGUE_FREE, nullptr);
  GetAllPatterns(longName.c_str(), CATALOGUE_LIST, nullptr);
  EXPECT_EQ(catalogueCount(), 0);
  EXPECT_EQ(GetAllPatterns(nullptr, 9, nullptr), 0);
}

TEST_F(Catalogue, KindFilters) {
  struct Case {
    int bounce, passing, multiplex;
    const char *path;
    int pass;
  } cases[] = {
      {0, 0, 0, "m/3ball_cascade", 1},       {1, 0, 0, "m/3ball_cascade", 0},  {1, 0, 0, "m/3ball_Forced_BOUNCE", 1},
      {2, 0, 0, "m/3ball_forced_bounce", 0}, {0, 1, 0, "m/9club_feed_pass", 1}, {0, 2, 0, "m/6club_2count_pass", 0},
      {0, 1, 0, "m/x.pps", 0},               {0, 1, 0, "m/x_pps.pat", 1},       {0, 0, 1, "m/4ball_32_3_mplex", 1},
      {0, 0, 2, "m/multi", 0},               {0, 0, 0, "m/backup~", 0},         {1, 1, 1, "m/bounce_pass_mult", 1},
  };
  patternKindFilter(nullptr, 1);
  int passed = 0;
  for (const Case &c : cases) {
    bounceFilter = c.bounce;
    passingFilter = c.passing;
    multiplexFilter = c.multiplex;
    EXPECT_EQ(patternKindFilter(c.path, 0), c.pass) << c.path;
    passed += c.pass;
  }
  EXPECT_EQ(filterPassCount, passed);
  EXPECT_EQ(patternKindFilter(nullptr, 1), 0);
  EXPECT_EQ(filterPassCount, 0);
}

// The texts are string literals in read-only memory: changing them would crash.
TEST_F(Catalogue, ContainsIgnoreCaseLeavesItsTextsAlone) {
  EXPECT_EQ(containsIgnoreCase("Nine CLUB Feed", "feed"), 1);
  EXPECT_EQ(containsIgnoreCase("nine club feed", "FEED"), 1);
  EXPECT_EQ(containsIgnoreCase("cascade", "pass"), 0);
  EXPECT_EQ(containsIgnoreCase("", "pass"), 0);
  EXPECT_STREQ(keepCase("KeepMe"), "KeepMe");
}

TEST_F(Catalogue, SiteswapDigitValue) {
  struct Case {
    int character, value;
  } cases[] = {{'0', 0}, {'9', 9}, {'a', 10}, {'A', 10}, {'z', 35}, {'Z', 35}, {'b', 11}};
  for (const Case &c : cases) EXPECT_EQ(siteswapDigitValue(c.character), c.value) << char(c.character);
}

TEST_F(Catalogue, StepPatternInCatalogueMode) {
  for (int command : {STEP_NEXT, STEP_PREVIOUS}) {
    restartRequest = 0;
    patternStepped = 0;
    stepPattern(command);
    EXPECT_EQ(nextPatternAction, command == STEP_NEXT ? ACTION_NEXT : ACTION_PREVIOUS);
    EXPECT_EQ(restartRequest, 1);
    EXPECT_EQ(patternStepped, 1);
  }
  qPrefs.current = 1;
  restartRequest = 0;
  stepPattern(STEP_NEXT);
  EXPECT_EQ(restartRequest, 0);
}

class ConverterList : public Catalogue {
 protected:
  void SetUp() override {
    Catalogue::SetUp();
    qPrefs.current = 2;
    writeWholeFile(CONVERTER_LIST_FILE, "531\r\n\n33 441 51\n51\n");
  }
  void TearDown() override {
    qPrefs.current = 0;
    qPrefs.trans_in.clear();
    qPrefs.trans_out.clear();
    Catalogue::TearDown();
  }
};

TEST_F(ConverterList, NextAndPreviousWrapAround) {
  struct Case {
    int command, at;
    const char *file, *in, *out;
  } cases[] = {
      {STEP_NEXT, 1, "441", "33", "51"}, {STEP_NEXT, 2, "51", "", ""},        {STEP_NEXT, 0, "531", "", ""},
      {STEP_PREVIOUS, 2, "51", "", ""},  {STEP_PREVIOUS, 1, "441", "33", "51"}, {STEP_PREVIOUS, 0, "531", "", ""},
  };
  for (const Case &c : cases) {
    restartRequest = 0;
    nextPatternAction = ACTION_DIALOG;
    stepPattern(c.command);
    EXPECT_EQ(qPrefs.q2_at, c.at);
    EXPECT_EQ(currentPatternFile, c.file);
    EXPECT_EQ(qPrefs.trans_in, c.in);
    EXPECT_EQ(qPrefs.trans_out, c.out);
    EXPECT_EQ(nextPatternAction, ACTION_NAMED_FILE);
    EXPECT_EQ(restartRequest, 2);
  }
}

TEST_F(ConverterList, CaseByPersons) {
  writeWholeFile(CONVERTER_LIST_FILE, "AB\ncD\n");
  qPrefs.q2_persons = 2;
  ASSERT_EQ(stepConverterList(STEP_NEXT), 0);
  EXPECT_EQ(currentPatternFile, "cd");
  qPrefs.q2_persons = 3;
  ASSERT_EQ(stepConverterList(STEP_NEXT), 0);
  EXPECT_EQ(currentPatternFile, "AB");
}

TEST_F(ConverterList, OneLineTwoPersons) {
  writeWholeFile(CONVERTER_LIST_FILE, "441\n");
  qPrefs.q2_persons = 2;
  qPrefs.trans_in = "old";
  ASSERT_EQ(stepConverterList(STEP_NEXT), 0);
  EXPECT_EQ(currentPatternFile, "441");
  EXPECT_EQ(qPrefs.trans_in, "");
  EXPECT_EQ(qPrefs.trans_out, "");
}

static std::string repeated(const std::string &line, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; i++) text += line;
  return text;
}

TEST_F(ConverterList, BrokenListsAreReported) {
  currentPatternFile = "kept";
  struct Case {
    const char *name;
    std::string text;
    int result;
  } cases[] = {
      {"empty", "", 1},
      {"blank lines", "\n  \n", 1},
      {"overlong line", "531\n" + std::string(CONVERTER_LIST_LINE + 1, '3') + "\n", 1},
      {"larger than a pattern file may be", repeated("3\n", MAX_TEXT_FILE_SIZE / 2 + 1), 1},
  };
  for (const Case &c : cases) {
    writeWholeFile(CONVERTER_LIST_FILE, c.text);
    restartRequest = 0;
    EXPECT_EQ(stepConverterList(STEP_NEXT), c.result) << c.name;
    EXPECT_EQ(currentPatternFile, "kept") << c.name;
    EXPECT_EQ(restartRequest, 0) << c.name;
  }
  fs::remove(CONVERTER_LIST_FILE);
  EXPECT_EQ(stepConverterList(STEP_NEXT), 1);
  // A line index past the end of the list starts again at its first line.
  writeWholeFile(CONVERTER_LIST_FILE, "531\n441\n");
  qPrefs.q2_at = 7;
  EXPECT_EQ(stepConverterList(STEP_NEXT), 0);
  EXPECT_EQ(qPrefs.q2_at, 0);
  EXPECT_EQ(currentPatternFile, "531");
}
