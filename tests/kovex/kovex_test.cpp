// kovex as a program: the pattern files it writes for siteswaps of every kind, read back with a
// small reader of our own; siteswaps that cannot be juggled; its options and its list file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "body_reader.h"
#include "pattern_reader_hook.h"
#include "tests/support/childprocess.h"

namespace {

using childprocess::Result;

class Scratch {
 public:
  Scratch() : dir(childprocess::makeScratchDirectory()) {}
  ~Scratch() { childprocess::removeScratchDirectory(dir); }
  std::string path(const std::string &name) const { return dir + "/" + name; }
  // Runs kovex as the main program does: "-n -q", the options, the siteswap, the file name.
  Result kovex(const std::vector<std::string> &options, const std::string &siteswap) const {
    std::vector<std::string> args{childprocess::builtProgram("kovex"), "-n", "-q"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(siteswap);
    args.push_back("QuoitSiteSwap");
    return childprocess::run(args, dir);
  }
  std::vector<std::string> files() const { return childprocess::listDirectory(dir); }
  const std::string dir;
};

std::string testName(size_t index, const std::string &text) {
  std::string name = std::to_string(index) + "_";
  for (char c : text.substr(0, 24)) name += isalnum((unsigned char)c) ? c : '_';
  return name;
}

// One expected throw: its value and the column of the hand that throws the object next.
using Expected = std::pair<int, int>;

// Expected cells, one string per takt of the hand cycle: cells separated by blanks, each "-" or
// throws "value>column" separated by commas.
std::vector<std::vector<std::vector<Expected>>> expectedGrid(const std::vector<std::string> &rows) {
  std::vector<std::vector<std::vector<Expected>>> grid;
  for (const std::string &row : rows) {
    grid.emplace_back();
    std::istringstream cells(row);
    std::string cell;
    while (cells >> cell) {
      grid.back().emplace_back();
      if (cell == "-") continue;
      std::istringstream items(cell);
      std::string item;
      while (std::getline(items, item, ','))
        grid.back().back().push_back({std::stoi(item), std::stoi(item.substr(item.find('>') + 1))});
    }
  }
  return grid;
}

struct Valid {
  const char *siteswap;
  std::vector<std::string> options;
  int jugglers;
  bool tagged;  // the reader keeps the siteswap tag
  std::vector<std::string> cycle;
};

void PrintTo(const Valid &v, std::ostream *os) { *os << v.siteswap; }

class KovexValid : public testing::TestWithParam<Valid> {};

TEST_P(KovexValid, ThrowsLandWhereTheNotationSays) {
  const Valid &v = GetParam();
  Scratch scratch;
  Result r = scratch.kovex(v.options, v.siteswap);
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(scratch.files(), std::vector<std::string>{"QuoitSiteSwap"});
  ReadPattern p;
  std::string why;
  ASSERT_TRUE(readPatternText(childprocess::readFile(scratch.path("QuoitSiteSwap")), &p, &why)) << why;

  ASSERT_FALSE(p.header.empty());
  EXPECT_EQ(p.header[0], std::string("! ") + v.siteswap);
  bool tagged = std::find(p.header.begin(), p.header.end(),
                          std::string("% ") + v.siteswap + " QuoitSiteSwap") != p.header.end();
  EXPECT_EQ(tagged, v.tagged);

  auto grid = expectedGrid(v.cycle);
  int sum = 0;
  for (const auto &row : grid)
    for (const auto &cell : row)
      for (const Expected &e : cell) sum += e.first;
  int average = sum / (int)grid.size();
  ASSERT_EQ(sum % (int)grid.size(), 0) << "bad test table";

  ASSERT_FALSE(p.cells.empty());
  ASSERT_EQ(p.cells.size() % grid.size(), 0u) << "the body is no whole number of hand cycles";
  std::string letters;
  for (size_t t = 0; t < p.cells.size(); t++) {
    const auto &expectedRow = grid[t % grid.size()];
    ASSERT_EQ(p.cells[t].size(), (size_t)(2 * v.jugglers)) << "takt " << t;
    for (size_t c = 0; c < p.cells[t].size(); c++) {
      std::vector<Expected> found;
      for (char l : p.cells[t][c]) {
        if (letters.find(l) == std::string::npos) letters += l;
        int after = 0, column = 0;
        ASSERT_TRUE(nextThrowOf(p, l, (int)t, &after, &column)) << l << " is never thrown again";
        found.push_back({after, column});
      }
      std::vector<Expected> expected = expectedRow[c];
      std::sort(found.begin(), found.end());
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(found, expected) << "takt " << t << ", column " << c;
    }
  }
  EXPECT_EQ((int)letters.size(), average);
  if (!p.wrapBefore.empty()) {
    std::string before = p.wrapBefore, after = p.wrapAfter;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    std::sort(letters.begin(), letters.end());
    EXPECT_EQ(before, letters);
    EXPECT_EQ(after, letters);
  }
}

TEST_P(KovexValid, ConvertedFileLoadsInThePatternReader) {
  const Valid &v = GetParam();
  Scratch scratch;
  ASSERT_EQ(scratch.kovex(v.options, v.siteswap).exitCode, 0);
  int objects = 0, jugglers = 0;
  std::string why;
  ASSERT_TRUE(loadWithQuoitPatternReader(scratch.path("QuoitSiteSwap"), &objects, &jugglers, &why)) << why;
  int sum = 0;
  auto grid = expectedGrid(v.cycle);
  for (const auto &row : grid)
    for (const auto &cell : row)
      for (const Expected &e : cell) sum += e.first;
  EXPECT_EQ(objects, sum / (int)grid.size());
  EXPECT_EQ(jugglers, v.jugglers);
}

// Takts are beats; a vanilla pattern starts with the right hand (column 1), the left hand is
// column 0; a synchronous pair (a,b) is thrown by the left and the right hand at once.
INSTANTIATE_TEST_SUITE_P(
    Cases, KovexValid,
    testing::Values(
        Valid{"3", {}, 1, true, {"- 3>0", "3>1 -"}},
        Valid{"531", {}, 1, true, {"- 5>0", "3>1 -", "- 1>0", "5>1 -", "- 3>0", "1>1 -"}},
        Valid{"97531",
              {},
              1,
              true,
              {"- 9>0", "7>1 -", "- 5>0", "3>1 -", "- 1>0", "9>1 -", "- 7>0", "5>1 -", "- 3>0", "1>1 -"}},
        Valid{"b1", {}, 1, true, {"- 11>0", "1>1 -"}},
        Valid{"40", {}, 1, true, {"- 4>1", "- -"}},
        Valid{"(4,4)", {}, 1, false, {"4>0 4>1", "- -"}},
        Valid{"(6x,4)(4,6x)", {}, 1, false, {"6>1 4>1", "- -", "4>0 6>0", "- -"}},
        Valid{"(4,2x)*", {}, 1, false, {"4>0 2>0", "- -", "2>1 4>1", "- -"}},
        Valid{"[54]24", {}, 1, true, {"- 5>0,4>1", "2>0 -", "- 4>1", "5>1,4>0 -", "- 2>1", "4>0 -"}},
        Valid{"[33]33", {}, 1, true, {"- 3>0,3>0", "3>1 -", "- 3>0", "3>1,3>1 -", "- 3>0", "3>1 -"}},
        Valid{"([44],[44])", {}, 1, false, {"4>0,4>0 4>1,4>1", "- -"}},
        Valid{"<3p|3p><3|3>", {}, 2, false, {"- 3>2 - 3>0", "3>1 - 3>3 -"}},
        Valid{"<4p 3|3 4p>", {}, 2, false, {"- 4>3 - 3>2", "3>1 - 4>0 -"}},
        Valid{"<3p2|3p3|3p1>", {}, 3, false, {"- 3>2 - 3>4 - 3>0", "3>3 - 3>5 - 3>1 -"}},
        Valid{"<(4p,4)|(4p,4)>", {}, 2, false, {"4>2 4>1 4>0 4>3", "- - - -"}},
        // four hands in turn: juggler 1 right, juggler 2 right, juggler 1 left, juggler 2 left
        Valid{"7", {"-m4"}, 2, true, {"- 7>2 - -", "- - - 7>1", "7>3 - - -", "- - 7>0 -"}},
        Valid{"7", {"-p1", "-p2"}, 2, true, {"- 7>2 - -", "- - - 7>1", "7>3 - - -", "- - 7>0 -"}},
        Valid{"3", {"-s"}, 1, true, {"3>1 -", "- 3>0"}},
        // options the program does not know are ignored
        Valid{"3", {"-r0.000000", "-zap", "-x", "-o0"}, 1, true, {"- 3>0", "3>1 -"}}),
    [](const testing::TestParamInfo<Valid> &info) { return testName(info.index, info.param.siteswap); });

struct Invalid {
  std::string siteswap;
  std::vector<std::string> options;
  const char *message;
};

void PrintTo(const Invalid &v, std::ostream *os) { *os << v.siteswap.substr(0, 40); }

class KovexInvalid : public testing::TestWithParam<Invalid> {};

TEST_P(KovexInvalid, NamesTheProblemAndWritesNothing) {
  const Invalid &v = GetParam();
  Scratch scratch;
  Result r = scratch.kovex(v.options, v.siteswap);
  EXPECT_EQ(r.exitCode, 1) << r.output;
  EXPECT_NE(r.output.find(v.message), std::string::npos) << r.output;
  EXPECT_EQ(scratch.files(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KovexInvalid,
    testing::Values(
        Invalid{"543", {}, "543: three throws land on beat 2"},
        Invalid{"624", {}, "624: three throws land on beat 0"},
        Invalid{"[33]3", {}, "the average 9/2 is not a whole number"},
        Invalid{"54", {}, "the average 9/2 is not a whole number"},
        Invalid{"0", {}, "the pattern has no objects"},
        Invalid{"", {}, "the siteswap is empty"},
        Invalid{"53#", {}, "'#' at position 3 is not a throw"},
        Invalid{"[34", {}, "the '[' at position 1 is not closed"},
        Invalid{"[]3", {}, "the multiplex at position 1 is empty"},
        Invalid{"3x", {}, "'x' belongs to synchronous throws"},
        Invalid{"3p3", {}, "passes belong in a passing pattern"},
        Invalid{"3*", {}, "'*' at position 2 only follows synchronous throws"},
        Invalid{"(3,3)", {}, "the synchronous throw 3 is odd"},
        Invalid{"(4,4", {}, "')' is missing"},
        Invalid{"(4,4)3", {}, "synchronous and asynchronous throws are mixed"},
        Invalid{"(4x,4)", {}, "two throws land on beat 0 in the right hand"},
        Invalid{"<3p|3>", {}, "two throws land on beat 0 in juggler 2's right hand"},
        Invalid{"<3p|3p><3|3", {}, "the '<' at position 8 is not closed"},
        Invalid{"<3p|3p><3>", {}, "group 2 has 1 jugglers, the first group has 2"},
        Invalid{"<33|3>", {}, "group 1: juggler 2's throws take 1 beats, juggler 1's take 2"},
        Invalid{"<3p3|3p3>", {}, "there is no juggler 3"},
        Invalid{"<3p1|3p2>", {}, "juggler 1 passes to itself"},
        Invalid{"3", {"-m3"}, "3 hands: the hands must be an even number"},
        Invalid{"[zz]", {}, "70 objects: a pattern file names at most 62"},
        Invalid{"[333333333]", {}, "too many objects thrown at once by one hand"},
        Invalid{std::string(2501, '3'), {}, "the pattern repeats only after 5002 beats, more than 5000"},
        Invalid{"[44]", {"-p11"}, "the pattern needs 44 hands with its multiplexes, more than 40"},
        // one bad siteswap of a list spoils the whole list
        Invalid{"441 543", {}, "543: three throws land on beat 2"}),
    [](const testing::TestParamInfo<Invalid> &info) { return testName(info.index, info.param.siteswap); });

std::vector<std::string> headerOf(const Scratch &scratch) {
  ReadPattern p;
  std::string why;
  EXPECT_TRUE(readPatternText(childprocess::readFile(scratch.path("QuoitSiteSwap")), &p, &why)) << why;
  return p.header;
}

bool contains(const std::vector<std::string> &lines, const std::string &line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(KovexOptions, SettingsGoIntoTheHeader) {
  Scratch scratch;
  ASSERT_EQ(scratch.kovex({"-r0.4", "-o5"}, "3").exitCode, 0);
  std::vector<std::string> header = headerOf(scratch);
  EXPECT_TRUE(contains(header, "l=1.20"));
  EXPECT_TRUE(contains(header, "a=5"));
  EXPECT_TRUE(contains(header, "dt=0.25"));
}

TEST(KovexOptions, PassingJugglersFaceEachOther) {
  Scratch scratch;
  ASSERT_EQ(scratch.kovex({}, "<3p|3p>").exitCode, 0);
  std::vector<std::string> header = headerOf(scratch);
  auto j = std::find(header.begin(), header.end(), "j");
  ASSERT_LE(j + 5, header.end());
  EXPECT_EQ(std::vector<std::string>(j + 1, j + 5),
            (std::vector<std::string>{"   0", "-1.30  0.00  0.00 c c", " 180", " 1.30  0.00  0.00 c c"}));
}

size_t countStarting(const std::vector<std::string> &lines, const std::string &start) {
  return (size_t)std::count_if(lines.begin(), lines.end(),
                               [&](const std::string &line) { return line.rfind(start, 0) == 0; });
}

// A pattern of several jugglers brings a camera that shows every juggler from its feet to the
// highest throw above it, each apart from the others; a solo pattern keeps the program's own camera.
TEST(KovexCamera, SeveralJugglersAreAllInViewAndApart) {
  struct Case {
    const char *siteswap;
    std::vector<std::string> options;
  } cases[] = {{"<3p|3p>", {}},
               {"531", {"-m4"}},
               {"<7p|7p>", {}},
               {"<3p2|3p3|3p1>", {}},
               {"<3p2|3p3|3p4|3p1>", {}},
               {"<3p|3p>", {"-r0.2"}}};
  for (const Case &c : cases) {
    Scratch scratch;
    ASSERT_EQ(scratch.kovex(c.options, c.siteswap).exitCode, 0) << c.siteswap;
    std::vector<std::string> header = headerOf(scratch);
    EXPECT_EQ(countStarting(header, "B="), 1u) << c.siteswap;
    EXPECT_EQ(countStarting(header, "G="), 1u) << c.siteswap;
    std::vector<JugglerInView> view;
    std::string why;
    ASSERT_TRUE(jugglersInView(scratch.path("QuoitSiteSwap"), &view, &why)) << why;
    ASSERT_GE(view.size(), 2u) << c.siteswap;
    for (size_t j = 0; j < view.size(); j++)
      for (const double *p : {view[j].feet, view[j].head, view[j].top})
        for (int axis = 0; axis < 2; axis++)
          EXPECT_LT(std::fabs(p[axis]), 1.0) << c.siteswap << ": juggler " << j + 1 << " axis " << axis;
    // Two heads (some 20 pixels wide) at least two heads apart on the window's 640 x 480 pixels.
    for (size_t j = 0; j < view.size(); j++)
      for (size_t k = j + 1; k < view.size(); k++)
        EXPECT_GT(std::hypot((view[j].head[0] - view[k].head[0]) * 320, (view[j].head[1] - view[k].head[1]) * 240), 40)
            << c.siteswap << ": jugglers " << j + 1 << ", " << k + 1;
  }
  Scratch solo;
  ASSERT_EQ(solo.kovex({}, "531").exitCode, 0);
  std::vector<std::string> header = headerOf(solo);
  EXPECT_EQ(countStarting(header, "B=") + countStarting(header, "G="), 0u);
}

// A header file with its own camera or its own jugglers keeps them: kovex adds no camera, which
// would either fight the file's or frame jugglers standing elsewhere.
TEST(KovexCamera, HeaderFileCameraOrJugglersWin) {
  for (const char *entries : {"B=0.5,1.2,4,60\n", "G=0,1,1\n", "p 0  -1 0.3 1  -1 -0.3 1\n  180  1 -0.3 1  1 0.3 1\n"}) {
    Scratch scratch;
    childprocess::writeFile(scratch.path("header"), entries);
    ASSERT_EQ(scratch.kovex({"-H" + scratch.path("header")}, "<3p|3p>").exitCode, 0) << entries;
    std::vector<std::string> header = headerOf(scratch);
    EXPECT_EQ(countStarting(header, "B=") + countStarting(header, "G="), entries[1] == '=' ? 1u : 0u) << entries;
  }
}

TEST(KovexOptions, HoldsShowTwosInTheHand) {
  // 42: the left hand throws a 2 at takt 1 and again at takt 3; held, it shows at takt 2 too.
  for (bool holds : {false, true}) {
    Scratch scratch;
    ASSERT_EQ(scratch.kovex(holds ? std::vector<std::string>{"-l"} : std::vector<std::string>{}, "42").exitCode, 0);
    ReadPattern p;
    std::string why;
    ASSERT_TRUE(readPatternText(childprocess::readFile(scratch.path("QuoitSiteSwap")), &p, &why)) << why;
    ASSERT_EQ(p.cells.size(), 4u);
    std::vector<char> expected = holds ? p.cells[1][0] : std::vector<char>{};
    EXPECT_EQ(p.cells[2][0], expected) << "holds " << holds;
    EXPECT_EQ(p.cells[1][0], p.cells[3][0]);
  }
}

TEST(KovexOptions, HeaderFileReplacesTheJugglerBlock) {
  Scratch scratch;
  childprocess::writeFile(scratch.path("hands"), "B=0.5,1.2,4,60\r\np 0  0 0.3 1  0 -0.3 1\n*\nnot header\n");
  ASSERT_EQ(scratch.kovex({"-H" + scratch.path("hands")}, "3").exitCode, 0);
  std::vector<std::string> header = headerOf(scratch);
  EXPECT_TRUE(contains(header, "B=0.5,1.2,4,60"));
  EXPECT_TRUE(contains(header, "p 0  0 0.3 1  0 -0.3 1"));
  EXPECT_FALSE(contains(header, "j"));
  EXPECT_FALSE(contains(header, "not header"));
}

TEST(KovexOptions, StyleFileGivesKindsOfThrow) {
  Scratch scratch;
  childprocess::writeFile(scratch.path("style"), "# throw and kind letters\n5 b\n");
  ASSERT_EQ(scratch.kovex({"-S" + scratch.path("style")}, "51").exitCode, 0);
  ReadPattern p;
  std::string why;
  ASSERT_TRUE(readPatternText(childprocess::readFile(scratch.path("QuoitSiteSwap")), &p, &why)) << why;
  for (size_t t = 0; t < p.cells.size(); t++) {
    size_t hand = t % 2 == 0 ? 1 : 0;
    EXPECT_EQ(p.groups[t][hand], t % 2 == 0 ? "(b)" : "") << "takt " << t;
  }
}

TEST(KovexOptions, BadOptionFilesAndOutputsFail) {
  struct Case {
    std::vector<std::string> options;
    std::string style;
    int code;
    const char *message;
  };
  const Case cases[] = {
      {{"-Hmissing"}, "", 2, "cannot read the header file missing"},
      {{"-Sstyle"}, "3 b\n3\n", 2, "style line 2: expected"},
      {{"-Sstyle"}, "3 q\n", 2, "kind-of-throw letters are"},
      // Only regular files are read: a FIFO would block, a device never end.
      {{"-Hfifo"}, "", 2, "cannot read the header file fifo"},
      {{"-H/dev/zero"}, "", 2, "cannot read the header file /dev/zero"},
      {{"-S/dev/zero"}, "", 2, "cannot read the style file /dev/zero"},
  };
  for (const Case &c : cases) {
    Scratch scratch;
    ASSERT_EQ(mkfifo(scratch.path("fifo").c_str(), 0600), 0);
    if (!c.style.empty()) childprocess::writeFile(scratch.path("style"), c.style);
    Result r = scratch.kovex(c.options, "3");
    EXPECT_EQ(r.exitCode, c.code) << r.output;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    EXPECT_FALSE(childprocess::fileExists(scratch.path("QuoitSiteSwap")));
  }
  Scratch scratch;
  Result r = childprocess::run({childprocess::builtProgram("kovex"), "3", "no/such/dir/QuoitSiteSwap"}, scratch.dir);
  EXPECT_EQ(r.exitCode, 3) << r.output;
  r = childprocess::run({childprocess::builtProgram("kovex"), "-q"}, scratch.dir);
  EXPECT_EQ(r.exitCode, 2) << r.output;
}

// After "--" every word is a siteswap or the file name, even one that looks like an option.
TEST(KovexOptions, OptionsEndAtDoubleDash) {
  Scratch scratch;
  for (const char *word : {"--help", "-Hquoit.prefsV9"}) {
    Result r = childprocess::run({childprocess::builtProgram("kovex"), "-q", "--", word, "QuoitSiteSwap"}, scratch.dir);
    EXPECT_EQ(r.exitCode, 1) << word << r.output;
    EXPECT_NE(r.output.find(std::string("kovex: ") + word), std::string::npos) << r.output;
  }
  EXPECT_EQ(childprocess::run({childprocess::builtProgram("kovex"), "-q", "--", "531", "out"}, scratch.dir).exitCode, 0);
  EXPECT_TRUE(childprocess::fileExists(scratch.path("out")));
}

TEST(KovexOptions, HelpListsTheOptions) {
  Result r = childprocess::run({childprocess::builtProgram("kovex"), "--help"}, "");
  EXPECT_EQ(r.exitCode, 0);
  for (const char *option : {"-r", "-H", "-S", "-o", "-s", "-m", "-p", "-l", "-q"})
    EXPECT_NE(r.output.find(std::string("  ") + option), std::string::npos) << option;
}

TEST(KovexList, SeveralSiteswapsGoIntoTheList) {
  Scratch scratch;
  ASSERT_EQ(scratch.kovex({}, "441 531  <3p|3p>").exitCode, 0);
  EXPECT_EQ(scratch.files(), (std::vector<std::string>{"QuoitSiteSwap", "q2.out"}));
  EXPECT_EQ(childprocess::readFile(scratch.path("q2.out")), "441\n531\n<3p2|3p1>\n");
  EXPECT_EQ(headerOf(scratch)[0], "! 441");
}

// The files kovex makes replace a link at their names; what the link points to stays as it was.
TEST(KovexList, OutputsReplaceALinkNotItsTarget) {
  Scratch scratch, outside;
  const char *names[] = {"QuoitSiteSwap", "q2.out"};
  for (const char *name : names) {
    childprocess::writeFile(outside.path(name), "outside\n");
    ASSERT_EQ(symlink(outside.path(name).c_str(), scratch.path(name).c_str()), 0);
  }
  ASSERT_EQ(scratch.kovex({}, "441 531").exitCode, 0);
  for (const char *name : names) {
    EXPECT_EQ(childprocess::readFile(outside.path(name)), "outside\n") << name;
    struct stat status;
    ASSERT_EQ(lstat(scratch.path(name).c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode)) << name;
  }
  EXPECT_EQ(childprocess::readFile(scratch.path("q2.out")), "441\n531\n");
}

TEST(KovexList, ExcitedPatternsGetTransitionsFromAndToTheGroundState) {
  // 3 objects: 3 -4-> 51 -2-> 3; 4 objects: 55 into 714, 2 out; 6 objects: 789a into b1, 4505 out.
  Scratch scratch;
  ASSERT_EQ(scratch.kovex({}, "51 714 b1 (4,2x)*").exitCode, 0);
  EXPECT_EQ(childprocess::readFile(scratch.path("q2.out")), "4 51 2\n55 714 2\n789a b1 4505\n(4,2x)*\n");
}

TEST(KovexList, ListEntriesConvertAgain) {
  // The list's pass targets are explicit, so "<3p 3|3p 3>" needs no blank there.
  Scratch scratch;
  ASSERT_EQ(scratch.kovex({}, "3 <3p 3|3p 3>").exitCode, 0);
  EXPECT_EQ(childprocess::readFile(scratch.path("q2.out")), "3\n<3p23|3p13>\n");
  Result r = scratch.kovex({}, "<3p23|3p13>");
  EXPECT_EQ(r.exitCode, 0) << r.output;
}

}  // namespace
