// patconv as a program: converted files compared byte for byte with expected files, and every
// failure with its exit code, its message and no output file left behind.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/support/childprocess.h"

namespace {

using childprocess::Result;

const std::string fixtures = std::string(QUOIT_SOURCE_DIR) + "/tests/patconv/fixtures/";

class Scratch {
 public:
  Scratch() : dir(childprocess::makeScratchDirectory()) {}
  ~Scratch() { childprocess::removeScratchDirectory(dir); }
  std::string path(const std::string &name) const { return dir + "/" + name; }
  Result patconv(std::vector<std::string> args) const {
    args.insert(args.begin(), childprocess::builtProgram("patconv"));
    return childprocess::run(args, dir);
  }
  std::vector<std::string> files() const { return childprocess::listDirectory(dir); }
  const std::string dir;
};

struct Golden {
  const char *input;
  std::vector<std::string> numbers;  // phase and orientation, as typed
  const char *expected;
};

// A test name from a text: its letters and digits, the rest as '_'.
std::string testName(size_t index, const std::string &text) {
  std::string name = std::to_string(index) + "_";
  for (char c : text) name += isalnum((unsigned char)c) ? c : '_';
  return name;
}

void PrintTo(const Golden &g, std::ostream *os) { *os << g.input << " -> " << g.expected; }

class PatconvGolden : public testing::TestWithParam<Golden> {};

TEST_P(PatconvGolden, WritesTheExpectedFile) {
  const Golden &g = GetParam();
  Scratch scratch;
  childprocess::writeFile(scratch.path(g.input), childprocess::readFile(fixtures + g.input));
  std::vector<std::string> args{g.input};
  args.insert(args.end(), g.numbers.begin(), g.numbers.end());
  Result r = scratch.patconv(args);
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(childprocess::readFile(scratch.path(std::string(g.input) + "_Patconv")),
            childprocess::readFile(fixtures + g.expected));
  EXPECT_EQ(scratch.files(), (std::vector<std::string>{g.input, std::string(g.input) + "_Patconv"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PatconvGolden,
    testing::Values(
        // three objects: columns -0.42, 0, 0.42; the title gets the suffix; comments stay
        Golden{"cascade.pat", {}, "cascade.expected"},
        Golden{"cascade.pat", {"0", "1"}, "cascade.expected"},
        // the phase is taken modulo 3! = 6, also when negative or beyond 32 bits
        Golden{"cascade.pat", {"5"}, "cascade.phase5.expected"},
        Golden{"cascade.pat", {"-1"}, "cascade.phase5.expected"},
        Golden{"cascade.pat", {"11"}, "cascade.phase5.expected"},
        Golden{"cascade.pat", {"6000000000005"}, "cascade.phase5.expected"},
        // no title line: one is written; phase 1 swaps the two columns
        Golden{"two.pat", {}, "two.expected"},
        Golden{"two.pat", {"1"}, "two.phase1.expected"},
        Golden{"two.pat", {"-3"}, "two.phase1.expected"},
        Golden{"one.pat", {"7"}, "one.expected"},
        // groups of any bracket kind and bounce marks are copied and count no hand
        Golden{"groups.pat", {}, "groups.expected"},
        // orientation 1 mirrors the second juggler's hands only, 0 none, 256 wraps to 0
        Golden{"passing.pat", {}, "passing.expected"},
        Golden{"passing.pat", {"0", "1"}, "passing.expected"},
        Golden{"passing.pat", {"0", "0"}, "passing.orient0.expected"},
        Golden{"passing.pat", {"0", "256"}, "passing.orient0.expected"},
        // CR LF input; the blank line ends the body; the wrap part is copied unchanged
        Golden{"wrap.pat", {}, "wrap.expected"},
        // new macros skip the header's macro letters and the object letters
        Golden{"header_macros.pat", {}, "header_macros.expected"},
        // lines far longer than 255 characters are neither split nor cut
        Golden{"long.pat", {}, "long.expected"}),
    [](const testing::TestParamInfo<Golden> &info) { return testName(info.index, info.param.expected); });

const char *const plainPattern = "! p\nj\n   0\n 0.00  0.00  0.00 c c\n*\na -\n- a\n";

// Body lines in which every object stands once in each of the hands.
std::string bodyOf(const std::string &objects, int hands) {
  std::string body;
  for (size_t line = 0; line < objects.size(); line++) {
    for (int h = 0; h < hands; h++) {
      body += objects[(line + h) % objects.size()];
      body += h + 1 < hands ? " " : "\n";
    }
  }
  return body;
}

struct Failure {
  const char *what;
  std::string content;  // input file "in.pat"; empty: no such file
  std::vector<std::string> args;
  int code;
  const char *message;
};

void PrintTo(const Failure &f, std::ostream *os) { *os << f.what; }

class PatconvFailure : public testing::TestWithParam<Failure> {};

TEST_P(PatconvFailure, ExitsWithItsCodeAndLeavesNoOutput) {
  const Failure &f = GetParam();
  Scratch scratch;
  if (!f.content.empty()) childprocess::writeFile(scratch.path("in.pat"), f.content);
  Result r = scratch.patconv(f.args);
  EXPECT_EQ(r.exitCode, f.code) << f.what << "\n" << r.output;
  EXPECT_NE(r.output.find(f.message), std::string::npos) << f.what << "\n" << r.output;
  std::vector<std::string> expectedFiles;
  if (!f.content.empty()) expectedFiles.push_back("in.pat");
  EXPECT_EQ(scratch.files(), expectedFiles) << f.what;
}

const std::string header = "! p\nj\n   0\n 0.00  0.00  0.00 c c\n*\n";
// 16 object characters that are no letters or digits, and 100 distinct object characters
const std::string punctuation = "\"#$',.:;=?^_`|~+";
std::string hundredObjects() {
  std::string objects = punctuation + "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int c = 0xa0; objects.size() < 100; c++) objects += (char)c;
  return objects;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PatconvFailure,
    testing::Values(
        Failure{"no file argument", "", {}, 10, "usage: "},
        Failure{"phase not a number", plainPattern, {"in.pat", "x1"}, 10, "usage: "},
        Failure{"orientation not a number", plainPattern, {"in.pat", "0", "1o"}, 10, "usage: "},
        // a phase beyond 64 bits is refused, not wrapped into some other order
        Failure{"phase beyond 64 bits", plainPattern, {"in.pat", "99999999999999999999"}, 10, "usage: "},
        Failure{"missing input", "", {"in.pat"}, 2, "Error: could not open file!\n"},
        Failure{"name too long", "", {std::string(191, 'n')}, 2, "Error: file name longer than 190"},
        Failure{"no star line", "! p\nj 0 0 0 0 c c\na -\n", {"in.pat"}, 4,
                "Error: could not find \"*\" in pattern file!"},
        Failure{"multiplex", header + "a&b -\n", {"in.pat"}, 1,
                "Error: multiplex not allowed in Boston-Mess!\n"},
        Failure{"multiplex in a group", header + "(a&b)a -\n", {"in.pat"}, 1,
                "Error: multiplex not allowed in Boston-Mess!\n"},
        Failure{"macro in the body", header + "@a -\n", {"in.pat"}, 6,
                "Error: pattern contains already handmacros!\n"},
        Failure{"header macro used in the body", childprocess::readFile(fixtures + "uses_macro.pat"),
                {"in.pat"}, 6, "Error: pattern contains already handmacros!\n"},
        // the letters in use are counted against all 62, with those that objects and header macros take
        Failure{"63rd macro", header + bodyOf(punctuation, 4), {"in.pat"}, 5,
                "Error: number of handmacros too large: 62>=62 (0 of the letters A-Z, a-z, 0-9 are objects"},
        Failure{"letters run out", header + bodyOf("abcdefghijklmnopqrstuvwxyz", 2), {"in.pat"}, 5,
                "Error: number of handmacros too large: 62>=62 (26 of the letters"},
        Failure{"every letter an object",
                header + bodyOf("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 1), {"in.pat"}, 5,
                "Error: number of handmacros too large: 62>=62 (62 of the letters"},
        Failure{"header macros take letters",
                "! p\n@A rel p 0 0.2 0\n@B rel p 0 0.2 0\n" + header.substr(4) +
                    bodyOf("abcdefghijklmnopqrstuvwxyz", 2),
                {"in.pat"}, 5, "Error: number of handmacros too large: 62>=62 (28 of the letters"},
        Failure{"100 objects", header + [] {
                  std::string line;
                  for (char c : hundredObjects()) line += std::string(1, c) + " -\n";
                  return line;
                }(),
                {"in.pat"}, 6, "Error: too many objects: 100>=100\n"}),
    [](const testing::TestParamInfo<Failure> &info) { return testName(info.index, info.param.what); });

TEST(Patconv, OutputThatCannotBeCreated) {
  // /proc is not writable, not even for root
  Scratch scratch;
  Result r = scratch.patconv({"/proc/version"});
  EXPECT_EQ(r.exitCode, 3) << r.output;
  EXPECT_NE(r.output.find("Error: could not create file!\n"), std::string::npos);
}

TEST(Patconv, OutputNameTakenByADirectoryLeavesNothingBehind) {
  Scratch scratch;
  childprocess::writeFile(scratch.path("in.pat"), plainPattern);
  ASSERT_EQ(mkdir(scratch.path("in.pat_Patconv").c_str(), 0755), 0);
  Result r = scratch.patconv({"in.pat"});
  EXPECT_EQ(r.exitCode, 3) << r.output;
  EXPECT_EQ(scratch.files(), (std::vector<std::string>{"in.pat", "in.pat_Patconv"}));
}

// The converted file replaces a link at its name; what the link points to stays as it was.
TEST(Patconv, OutputReplacesALinkNotItsTarget) {
  Scratch scratch, outside;
  childprocess::writeFile(scratch.path("in.pat"), plainPattern);
  childprocess::writeFile(outside.path("target"), "outside\n");
  ASSERT_EQ(symlink(outside.path("target").c_str(), scratch.path("in.pat_Patconv").c_str()), 0);
  Result r = scratch.patconv({"in.pat"});
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(childprocess::readFile(outside.path("target")), "outside\n");
  struct stat status;
  ASSERT_EQ(lstat(scratch.path("in.pat_Patconv").c_str(), &status), 0);
  EXPECT_TRUE(S_ISREG(status.st_mode));
}

TEST(Patconv, BackslashesInTheNameAreSeparators) {
  Scratch scratch;
  ASSERT_EQ(mkdir(scratch.path("m").c_str(), 0755), 0);
  childprocess::writeFile(scratch.path("m/in.pat"), plainPattern);
  Result r = scratch.patconv({"m\\in.pat"});
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_TRUE(childprocess::fileExists(scratch.path("m/in.pat_Patconv")));
}

}  // namespace

namespace {

// Only a regular input is read: a FIFO would block the open, a device never end.
TEST(Patconv, OnlyRegularInputIsRead) {
  Scratch scratch;
  ASSERT_EQ(mkfifo(scratch.path("fifo").c_str(), 0600), 0);
  for (const std::string &input : {scratch.path("fifo"), std::string("/dev/zero"), scratch.dir}) {
    Result r = scratch.patconv({input});
    EXPECT_EQ(r.exitCode, 2) << input << r.output;
    EXPECT_NE(r.output.find("Error: could not open file!\n"), std::string::npos) << input;
  }
}

// A byte-order mark before the title does not hide it: the title stays the first line.
TEST(Patconv, ByteOrderMarkBeforeTheTitle) {
  Scratch scratch;
  childprocess::writeFile(scratch.path("in.pat"), std::string("\xEF\xBB\xBF") + plainPattern);
  ASSERT_EQ(scratch.patconv({"in.pat"}).exitCode, 0);
  std::string out = childprocess::readFile(scratch.path("in.pat_Patconv"));
  EXPECT_EQ(out.rfind("! p & patconv", 0), 0u) << out;
}

// On Linux a '\' is a plain character: an input whose name holds one is converted under it.
TEST(Patconv, BackslashInAnExistingNameIsKept) {
  Scratch scratch;
  childprocess::writeFile(scratch.path("in\\put.pat"), plainPattern);
  Result r = scratch.patconv({"in\\put.pat"});
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_TRUE(childprocess::fileExists(scratch.path("in\\put.pat_Patconv")));
}

}  // namespace
