#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

#include "core/prefs.h"
#include "core/runstate.h"
#include "core/utils.h"
#include "scratch_dir.h"

namespace {

TEST(Paths, FileNode) {
  const struct {
    const char *path;
    int strip;
    const char *node;
  } cases[] = {
      {"m\\12\\abc.pat", 1, "abc"}, {"m\\12\\abc.pat", 0, "abc.pat"}, {"plain", 1, "plain"},
      {"a/b.c/d", 1, "d"},          {"dir/x.tar.gz", 1, "x.tar"},     {"dir/", 0, ""},
      {"", 0, ""},                  {"c:name.pat", 1, "c:name"},
  };
  for (const auto &c : cases) EXPECT_STREQ(qGetFileNode(c.path, c.strip), c.node) << c.path;
  EXPECT_EQ(qGetFileNode("a/b", 2), nullptr);
  std::string longPath = std::string(300, 'd') + "/" + std::string(260, 'n') + ".pat";
  EXPECT_EQ(std::string(qGetFileNode(longPath.c_str(), 1)), std::string(260, 'n'));
}

TEST(Paths, DirectoryPart) {
  EXPECT_STREQ(directoryOfPath("a/b\\c.txt"), "a/b\\");
  EXPECT_STREQ(directoryOfPath("a\\b/c.txt"), "a\\b/");
  EXPECT_STREQ(directoryOfPath("name"), "");
  std::string longDir = std::string(400, 'x') + "/";
  EXPECT_EQ(std::string(directoryOfPath((longDir + "f").c_str())), longDir);
}

TEST(Paths, PatternFileArgument) {
  EXPECT_EQ(patternFileArgument("531"), "m/531");
  EXPECT_EQ(patternFileArgument("531"), "m/531");
  EXPECT_EQ(patternFileArgument("x531"), "x531");
  EXPECT_EQ(patternFileArgument(""), "");
}

TEST(Text, BackslashToSlash) {
  char text[] = "a\\b\\\\c/d";
  backslashToSlash(text, text);
  EXPECT_STREQ(text, "a/b//c/d");
  EXPECT_EQ(backslashToSlash(std::string("tmp\\")), "tmp/");
}

TEST(Text, StripTrailingSpace) {
  const struct {
    const char *in, *out;
  } cases[] = {{"abc \t\r\n", "abc"}, {"   ", ""}, {"", ""}, {" a b ", " a b"}};
  for (const auto &c : cases) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%s", c.in);
    stripTrailingSpace(buffer);
    EXPECT_STREQ(buffer, c.out) << '"' << c.in << '"';
  }
}

TEST(Text, SkipSpaceAndWords) {
  EXPECT_STREQ(skipSpace(" \t\n x y"), "x y");
  EXPECT_STREQ(skipSpace(""), "");
  const struct {
    const char *text;
    int n;
    const char *rest;
  } cases[] = {
      {"a  b c", 2, "c"}, {"a  b c", 0, "a  b c"}, {"a b", 5, ""}, {"a\tb\nc", 1, "b\nc"}, {"", 3, ""},
  };
  for (const auto &c : cases) EXPECT_STREQ(skipWords(c.text, c.n), c.rest) << c.text << " " << c.n;
}

TEST(Text, ThrowCharacter) {
  const struct {
    char c;
    int side;
    const char *text;
  } cases[] = {
      {'5', 0, "5x"}, {'5', 1, "5"}, {'3', 0, "3"}, {'3', 1, "3x"}, {'4', 0, "4"},
      {'4', 1, "4"},  {'b', 1, "bx"}, {'b', 0, "b"}, {'9', 0, "9x"}, {'0', 0, "0"},
  };
  for (const auto &c : cases) EXPECT_STREQ(throwCharacter(c.c, c.side), c.text) << c.c << " side " << c.side;
}

using Files = ScratchDir;

TEST_F(Files, FileExists) {
  writeFile("f", "x");
  mkdir("d", 0777);
  EXPECT_TRUE(fileExists("f"));
  EXPECT_FALSE(fileExists("d"));
  EXPECT_FALSE(fileExists("missing"));
}

TEST_F(Files, CopyFile) {
  using namespace std::string_literals;
  const std::string text = "line one\r\nline two\n\0tail"s;
  ASSERT_EQ(text.size(), 24u);
  writeFile("source", text);
  EXPECT_EQ(copyFile("target", "source"), COPY_OK);
  EXPECT_EQ(readFile("target"), text);

  writeFile("empty", "");
  EXPECT_EQ(copyFile("empty-copy", "empty"), COPY_OK);
  EXPECT_TRUE(std::filesystem::exists("empty-copy"));
  EXPECT_EQ(readFile("empty-copy"), "");

  EXPECT_EQ(copyFile("never", "missing"), COPY_NO_SOURCE);
  EXPECT_FALSE(std::filesystem::exists("never"));
  EXPECT_EQ(copyFile("no/such/dir/target", "source"), COPY_NO_TARGET);
}

class NumberedNames : public ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    qPrefs = QuoitPrefs();
    qPrefs.hardcopy = "shots/";
    qPrefs.povout = "pov/";
    currentPatternFile = "m/12/cascade.pat";
  }
};

TEST_F(NumberedNames, HardcopySkipsExistingFiles) {
  writeFile("shots/cascade-0.png", "x");
  writeFile("shots/cascade-1.png", "x");
  std::string name;
  EXPECT_EQ(numberedFileName(name, 0, NUMBERED_HARDCOPY, "png"), 3);
  EXPECT_EQ(name, "shots/cascade-2.png");
  EXPECT_EQ(numberedFileName(name, 5, NUMBERED_HARDCOPY, "png"), 6);
  EXPECT_EQ(name, "shots/cascade-5.png");
}

TEST_F(NumberedNames, PovrayDirectory) {
  std::string name;
  EXPECT_EQ(numberedFileName(name, 0, NUMBERED_POVRAY, "pov"), 1);
  EXPECT_EQ(name, "pov/cascade-0.pov");
}

TEST_F(NumberedNames, ImageSequenceReplacesAnOldFile) {
  writeFile("shots/cascade-007.ppm", "old");
  std::string name;
  EXPECT_EQ(numberedFileName(name, 7, NUMBERED_IMAGE_SEQUENCE, "ppm"), 8);
  EXPECT_EQ(name, "shots/cascade-007.ppm");
  EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(NumberedNames, OtherKindsDoNothing) {
  std::string name = "previous";
  EXPECT_EQ(numberedFileName(name, 4, 553, "png"), 4);
  EXPECT_EQ(name, "");
}

}  // namespace
