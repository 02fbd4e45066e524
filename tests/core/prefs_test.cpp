#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/prefs.h"
#include "core/uistate.h"
#include "core/runstate.h"
#include "scratch_dir.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/scratch_home.h"

namespace {

void resetAll() {
  qPrefs = QuoitPrefs();
  qPrefs.version = 9;
  qMode.flags = 0;
  remoteState = 0;
  objectCountOption = 0;
  objectOptionKind = 0;
  currentPatternFile.clear();
}

struct NumberCase {
  const char *before;  // a line scanned first, or nullptr
  const char *line;
  std::function<double()> value;
  double expected;
};

#define FIELD(expr) [] { return double(expr); }

const NumberCase numberCases[] = {
    {nullptr, "abitrate=64000", FIELD(qPrefs.abitrate), 64000},
    {nullptr, "animation=GIF", FIELD(qPrefs.animationFlags), 5},
    {nullptr, "animation=FLI", FIELD(qPrefs.animationFlags), 9},
    {nullptr, "animation=6", FIELD(qPrefs.animationFlags), 1},
    {nullptr, "asize=7", FIELD(qPrefs.asize), 7},
    {nullptr, "background=off", FIELD(qPrefs.backgroundFlag), 1},
    {nullptr, "bgdir=tex/other", FIELD(qPrefs.backgroundFlag), 0},
    {nullptr, "bophase=3", FIELD(qPrefs.bophase), 3},
    {nullptr, "clflag=on", FIELD(qPrefs.clflag), 0},
    {nullptr, "clflag=yes", FIELD(qPrefs.clflag), 1},
    {nullptr, "current=as", FIELD(qPrefs.current), 1},
    {nullptr, "current=e2", FIELD(qPrefs.current), 2},
    {nullptr, "current=  ar", FIELD(qPrefs.current), 3},
    {nullptr, "current=xe", FIELD(qPrefs.current), 4},
    {nullptr, "current=xx", FIELD(qPrefs.current), 5},
    {"current=xr", "current=x", FIELD(qPrefs.current), 3},
    {"current=xr", "current=x?", FIELD(qPrefs.current), 3},
    {nullptr, "dolist=0", FIELD(qPrefs.animationFlags), 0},
    {"dolist=0", "dolist=1", FIELD(qPrefs.animationFlags), 1},
    {nullptr, "donotcheck=1", FIELD(qPrefs.donotcheck), 1},
    {nullptr, "detail=4", FIELD(qPrefs.detail), 4},
    {nullptr, "deutsch", FIELD(qPrefs.language), 0},
    {"deutsch", "english", FIELD(qPrefs.language), 1},
    {"deutsch", "espanol", FIELD(qPrefs.language), 1},
    {nullptr, "fontsize=12", FIELD(qPrefs.textFont), 3},
    {nullptr, "fontsize=16", FIELD(qPrefs.textFont), 2},
    {nullptr, "fontsize=16", FIELD(qPrefs.fontsize), 16},
    {nullptr, "fps=0", FIELD(qPrefs.fps), 0},
    {nullptr, "fqsort=num", FIELD(qPrefs.catalogueSort), 1},
    {nullptr, "fqsort=name", FIELD(qPrefs.catalogueSort), 2},
    {nullptr, "fre_ratio=0.25", FIELD(qPrefs.fre_ratio), 0.25},
    {nullptr, "freq=30", FIELD(qPrefs.freq), 30.0},
    {nullptr, "height=600", FIELD(qPrefs.height), 600},
    {nullptr, "hold=1", FIELD(qPrefs.hold), 1},
    {nullptr, "hwmode=vga", FIELD(qPrefs.displayFlags), 9},
    {"hwmode=v", "hwmode=off", FIELD(qPrefs.displayFlags), 0},
    {nullptr, "iflag=10", FIELD(qPrefs.iflag), 10},
    {nullptr, "q2_at=5", FIELD(qPrefs.q2_at), 5},
    {nullptr, "q2_persons=3", FIELD(qPrefs.q2_persons), 3},
    {nullptr, "qremote=1", FIELD(remoteState), 1},
    {nullptr, "qremote=0", FIELD(remoteState), 2},
    {nullptr, "jugglerlist=yes", FIELD(qPrefs.jugglerlist), 1},
    {"jugglerlist=yes", "jugglerlist=No", FIELD(qPrefs.jugglerlist), 0},
    {nullptr, "language=deutsch", FIELD(qPrefs.language), 0},
    {"language=catala", "language=klingon", FIELD(qPrefs.language), 4},
    {nullptr, "maxfps=30", FIELD(qPrefs.minFrameMs), 33},
    {"maxfps=50", "maxfps=0", FIELD(qPrefs.minFrameMs), 20},
    {"maxfps=50", "maxfps=-5", FIELD(qPrefs.minFrameMs), 20},
    {nullptr, "mousespeed=0.5", FIELD(qPrefs.mousespeed), 0.5},
    {nullptr, "multihand=3", FIELD(qPrefs.multihand), 2},
    {nullptr, "multihand=12", FIELD(qPrefs.multihand), 2},
    {nullptr, "multihand=-2", FIELD(qPrefs.multihand), 2},
    {nullptr, "multihand=4", FIELD(qPrefs.multihand), 4},
    {nullptr, "notcl=1", FIELD(qPrefs.notcl), 1},
    {nullptr, "numbers=1", FIELD(qPrefs.numbers), 1},
    {nullptr, "objects=5", FIELD(objectCountOption), 5},
    {nullptr, "objects=5", FIELD(objectOptionKind), 1},
    {nullptr, "objects=-1", FIELD(objectOptionKind), 0},
    {nullptr, "povout=out\\ 8.3", FIELD(qPrefs.povShortNames), 1},
    {"povout=a 8.3", "povout=out", FIELD(qPrefs.povShortNames), 0},
    {nullptr, "randomcolor=1", FIELD(qPrefs.randomcolor), 1},
    {nullptr, "scflag=1", FIELD(qPrefs.scflag), 1},
    {nullptr, "show_bcmd=1", FIELD(qPrefs.show_bcmd), 1},
    {nullptr, "sh_kind=4", FIELD(qPrefs.sh_kind), 4},
    {nullptr, "show_scmd=1", FIELD(qPrefs.show_scmd), 1},
    {nullptr, "ss_opt=3", FIELD(qPrefs.ss_opt), 3},
    {nullptr, "sym=1", FIELD(qPrefs.sym), 1},
    {nullptr, "thlist=1", FIELD(qPrefs.thlist), 1},
    {nullptr, "timefactor=0.5", FIELD(qPrefs.timefactor), 0.5},
    {nullptr, "trans_g=2", FIELD(qPrefs.trans_g), 2},
    {nullptr, "trans_s=3", FIELD(qPrefs.trans_s), 3},
    {nullptr, "textures=1", FIELD(qPrefs.displayFlags), 8},
    {"textures=1", "textures=0", FIELD(qPrefs.displayFlags), 0},
    {nullptr, "vrml=1", FIELD(qPrefs.vrml), 1},
    {nullptr, "width=800", FIELD(qPrefs.width), 800},
    {nullptr, "window=800x600f", FIELD(qPrefs.width), 800},
    {nullptr, "window=800x600f", FIELD(qPrefs.height), 600},
    {nullptr, "window=800x600f", FIELD(qMode.flags), 0x4000000},
    {nullptr, "window=640*480", FIELD(qPrefs.height), 480},
    {nullptr, "window=640*480", FIELD(qMode.flags), 0},
    {nullptr, "window=640", FIELD(qPrefs.height), 256},
    // Lines that must change nothing: no '=', a comment, letters that lie past a short key,
    // and values that are no numbers.
    {nullptr, "width 800", FIELD(qPrefs.width), 320},
    {nullptr, "!width=5", FIELD(qPrefs.width), 320},
    {nullptr, "sh=1 n", FIELD(qPrefs.sh_kind), 0},
    {nullptr, "tr=1xyg", FIELD(qPrefs.trans_g), 0},
    {nullptr, "q2=1pp", FIELD(qPrefs.q2_persons), 1},
    {nullptr, "width=wide", FIELD(qPrefs.width), 320},
    {nullptr, "freq=fast", FIELD(qPrefs.freq), 25.0},
    {nullptr, "zzz=1", FIELD(qPrefs.width), 320},
    {nullptr, "", FIELD(qPrefs.width), 320},
};

TEST(PrefsKeys, NumberValuesAndEffects) {
  for (const NumberCase &c : numberCases) {
    resetAll();
    if (c.before) scanPreferenceLine(c.before);
    EXPECT_EQ(scanPreferenceLine(c.line), 0);
    EXPECT_DOUBLE_EQ(c.value(), c.expected) << "line: " << c.line;
  }
}

struct TextCase {
  const char *line;
  std::function<std::string()> value;
  const char *expected;
};

const TextCase textCases[] = {
    {"Intensity=0.3", [] { return qPrefs.intensity; }, "0.3"},
    {"bgdir=tex\\back", [] { return qPrefs.bgdir; }, "tex/back/"},
    {"background=tiles/", [] { return qPrefs.bgdir; }, "tiles/"},
    {"background=off", [] { return qPrefs.bgdir; }, "tex/bgr/"},
    {"ground=meadow extra", [] { return qPrefs.ground; }, "meadow"},
    {"hardcopy=shots\\", [] { return qPrefs.hardcopy; }, "shots/"},
    {"jugglingfile=  m\\my pattern.pat\r\n", [] { return currentPatternFile; }, "m/my pattern.pat"},
    {"patterndir=my patterns/", [] { return qPrefs.patterndir; }, "my patterns/"},
    {"povout=out\\ 8.3", [] { return qPrefs.povout; }, "out/"},
    {"siteswapdir=saved", [] { return qPrefs.siteswapdir; }, "saved"},
    {"ss_hfile=h.txt", [] { return qPrefs.ss_hfile; }, "h.txt"},
    {"ss_sfile=s.txt", [] { return qPrefs.ss_sfile; }, "s.txt"},
    {"trans_in=3p", [] { return qPrefs.trans_in; }, "3p"},
    {"trans_out=4p", [] { return qPrefs.trans_out; }, "4p"},
    {"temp=scratch\\", [] { return qPrefs.temp; }, "scratch/"},
    {"tmp=t2/", [] { return qPrefs.temp; }, "t2/"},
    {"tmp=", [] { return qPrefs.temp; }, "tmp/"},
    {"uname=ann", [] { return qPrefs.uname; }, "ann"},
    {"username=bob", [] { return qPrefs.uname; }, "bob"},
    {"Intensity=", [] { return qPrefs.intensity; }, ""},
};

TEST(PrefsKeys, WordAndLineValues) {
  for (const TextCase &c : textCases) {
    resetAll();
    scanPreferenceLine(c.line);
    EXPECT_EQ(c.value(), c.expected) << "line: " << c.line;
  }
}

TEST(PrefsKeys, Version5ReadsAnimationAsNumber) {
  resetAll();
  qPrefs.version = 5;
  scanPreferenceLine("animation=6");
  EXPECT_EQ(qPrefs.animationFlags, 6);
}

TEST(PrefsKeys, MaxfpsLogsTheMinimumFrameTime) {
  resetAll();
  testing::internal::CaptureStdout();
  scanPreferenceLine("maxfps=0");
  EXPECT_NE(testing::internal::GetCapturedStdout().find("min_ms=0"), std::string::npos);
}

TEST(PrefsKeys, HwmodeSetsTheEnvironment) {
  resetAll();
  scanPreferenceLine("hwmode=v");
  ASSERT_NE(getenv("MESA_GLX_FX"), nullptr);
  EXPECT_STREQ(getenv("MESA_GLX_FX"), "fullscreen");
  EXPECT_STREQ(getenv("FX_GLIDE_NO_SPLASH"), "1");
  scanPreferenceLine("hwmode=o");
  EXPECT_EQ(getenv("MESA_GLX_FX"), nullptr);
}

TEST(PrefsValues, WordRestAndNumber) {
  std::string out;
  const char *line = "key=  first second\r\n";
  const char *after = prefWordValue(line, out);
  EXPECT_EQ(out, "first");
  EXPECT_STREQ(after, " second\r\n");
  prefRestOfLine(line, out);
  EXPECT_EQ(out, "first second");
  EXPECT_EQ(prefIntValue("n=42x"), 42);
  EXPECT_EQ(prefIntValue("n=x"), 0);
  prefWordValue("n=   ", out);
  EXPECT_EQ(out, "");
  prefWordValue("no value", out);
  EXPECT_EQ(out, "");
  prefRestOfLine("no value", out);
  EXPECT_EQ(out, "");
}

class PrefsFile : public ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    unsetenv("QUOIT");
    resetAll();
  }
  std::string read(int again) {
    testing::internal::CaptureStdout();
    readPreferences(again);
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(PrefsFile, MissingFileKeepsDefaults) {
  qPrefs.width = 999;
  std::string said = read(0);
  EXPECT_NE(said.find("file 'quoit.prefsV9' doesn't exist\nassuming default values"), std::string::npos);
  EXPECT_EQ(qPrefs.width, 320);
  EXPECT_EQ(qPrefs.version, 0);
  EXPECT_EQ(qPrefs.homeDirectory, std::filesystem::current_path().string());
}

TEST_F(PrefsFile, DefaultsOfEveryKey) {
  scanPreferenceLine("window=1x1f");
  for (const char *line : {"abitrate=1", "asize=1", "fontsize=20", "fps=0", "freq=1", "multihand=4", "q2_persons=4",
                           "timefactor=3", "language=deutsch", "temp=x", "hardcopy=x", "povout=x", "siteswapdir=x",
                           "bgdir=x", "uname=x", "vrml=1", "notcl=1", "sh_kind=3", "hold=1", "mousespeed=2"})
    scanPreferenceLine(line);
  read(0);
  const std::pair<double, double> numbers[] = {
      {qPrefs.width, 320},       {qPrefs.height, 256},     {qPrefs.abitrate, 1152000}, {qPrefs.asize, 100},
      {qPrefs.fontsize, 3},      {qPrefs.textFont, 3},     {qPrefs.fps, 1},            {qPrefs.freq, 25.0},
      {qPrefs.multihand, 2},     {qPrefs.q2_persons, 1},   {qPrefs.timefactor, 1.0},   {qPrefs.language, 1},
      {qPrefs.animationFlags, 1}, {qPrefs.backgroundFlag, 1}, {qPrefs.displayFlags, 0}, {qPrefs.catalogueSort, 0},
      {qPrefs.minFrameMs, 0},    {qPrefs.vrml, 0},         {qPrefs.notcl, 0},          {qPrefs.sh_kind, 0},
      {qPrefs.hold, 0},          {qPrefs.mousespeed, 0.0}, {qPrefs.fre_ratio, 0.0},    {qPrefs.current, 0},
  };
  for (size_t i = 0; i < std::size(numbers); i++) EXPECT_DOUBLE_EQ(numbers[i].first, numbers[i].second) << "entry " << i;
  EXPECT_EQ(qPrefs.temp, "tmp/");
  EXPECT_EQ(qPrefs.hardcopy, "tmp/");
  EXPECT_EQ(qPrefs.povout, "tmp/");
  EXPECT_EQ(qPrefs.siteswapdir, "m");
  EXPECT_EQ(qPrefs.bgdir, "tex/bgr/");
  EXPECT_EQ(qPrefs.uname, "quoit-user");
  EXPECT_EQ(qPrefs.patterndir, "");
}

TEST_F(PrefsFile, ForeignHeaderIsRefused) {
  writeFile("quoit.prefsV9", "! comment\nQuoitPrefsV7\nwidth=800\n");
  std::string said = read(0);
  EXPECT_NE(said.find("neither QuoitPrefsV5 nor QuoitPrefsV9 found"), std::string::npos);
  EXPECT_EQ(qPrefs.width, 320);
}

TEST_F(PrefsFile, EmptyFileIsRefused) {
  writeFile("quoit.prefsV9", "");
  EXPECT_NE(read(0).find("neither QuoitPrefsV5 nor QuoitPrefsV9 found"), std::string::npos);
}

TEST_F(PrefsFile, BothHeadersWithCommentsAndCrLf) {
  writeFile("quoit.prefsV9", "! a comment\r\n!another\r\nQuoitPrefsV9 trailing words\r\nwidth=800\r\n"
                             "!height=1\r\nanimation=GIF\r\ntemp=work\\\r\nheight=600");
  read(0);
  EXPECT_EQ(qPrefs.version, 9);
  EXPECT_EQ(qPrefs.width, 800);
  EXPECT_EQ(qPrefs.height, 600);
  EXPECT_EQ(qPrefs.animationFlags, 5);
  EXPECT_EQ(qPrefs.temp, "work/");

  writeFile("quoit.prefsV9", "QuoitPrefsV5\nanimation=6\n");
  read(0);
  EXPECT_EQ(qPrefs.version, 5);
  EXPECT_EQ(qPrefs.animationFlags, 6);
  EXPECT_EQ(qPrefs.width, 320);
}

// A file saved with a UTF-8 byte-order mark keeps its header.
TEST_F(PrefsFile, ByteOrderMarkBeforeTheHeader) {
  writeFile("quoit.prefsV9", "\xEF\xBB\xBFQuoitPrefsV9\nwidth=800\n");
  read(0);
  EXPECT_EQ(qPrefs.version, 9);
  EXPECT_EQ(qPrefs.width, 800);
}

TEST_F(PrefsFile, TexturesNeedVrml) {
  writeFile("quoit.prefsV9", "QuoitPrefsV9\ntextures=1\n");
  read(0);
  EXPECT_EQ(qPrefs.displayFlags & 8, 0);
  writeFile("quoit.prefsV9", "QuoitPrefsV9\ntextures=1\nvrml=1\n");
  read(0);
  EXPECT_EQ(qPrefs.displayFlags & 8, 8);
}

TEST_F(PrefsFile, CommandLineLinesLastUntilTheFileIsReadAgain) {
  writeFile("quoit.prefsV9", "QuoitPrefsV9\nwidth=640\n");
  read(0);
  scanPreferenceLine("width=1024");
  scanPreferenceLine("height=700");
  EXPECT_EQ(qPrefs.width, 1024);
  read(1);
  EXPECT_EQ(qPrefs.width, 640);
  EXPECT_EQ(qPrefs.height, 700);
  read(0);
  EXPECT_EQ(qPrefs.height, 256);
}

TEST_F(PrefsFile, QuoitVariableNamesTheHome) {
  writeFile("home/quoit.prefsV9", "QuoitPrefsV9\nwidth=700\n");
  std::string home = dir + "/home";
  setenv("QUOIT", home.c_str(), 1);
  enterHomeDirectory();
  read(0);
  unsetenv("QUOIT");
  EXPECT_EQ(qPrefs.width, 700);
  EXPECT_EQ(qPrefs.homeDirectory, std::filesystem::canonical(home).string());
}

// A relative QUOIT is entered once: the preferences are those of the home the start entered.
TEST_F(PrefsFile, RelativeQuoitVariableIsEnteredOnce) {
  std::filesystem::create_directories("q/q");
  setenv("QUOIT", "q", 1);
  enterHomeDirectory();
  read(0);
  unsetenv("QUOIT");
  EXPECT_EQ(qPrefs.homeDirectory, std::filesystem::canonical(dir + "/q").string());
}

TEST_F(PrefsFile, QuoitVariableIsIgnoredWhenAFileIsHere) {
  writeFile("quoit.prefsV9", "QuoitPrefsV9\nwidth=500\n");
  writeFile("home/quoit.prefsV9", "QuoitPrefsV9\nwidth=700\n");
  setenv("QUOIT", (dir + "/home").c_str(), 1);
  enterHomeDirectory();
  read(0);
  unsetenv("QUOIT");
  EXPECT_EQ(qPrefs.width, 500);
}

TEST_F(PrefsFile, OverlongLineIsReportedAndIgnored) {
  writeFile("quoit.prefsV9", "QuoitPrefsV9\nwidth=7" + std::string(1100, '0') + "\nheight=300\n");
  std::string said = read(0);
  EXPECT_NE(said.find("longer than 1023"), std::string::npos);
  EXPECT_EQ(qPrefs.width, 320);
  EXPECT_EQ(qPrefs.height, 300);
}

TEST_F(PrefsFile, ReadLineGivesEmptyTextAtTheEnd) {
  writeFile("lines", "one\r\ntwo");
  FILE *file = fopen("lines", "r");
  ASSERT_NE(file, nullptr);
  std::string line;
  EXPECT_EQ(readPrefsLine(line, file), 1);
  EXPECT_EQ(line, "one");
  EXPECT_EQ(readPrefsLine(line, file), 1);
  EXPECT_EQ(line, "two");
  EXPECT_EQ(readPrefsLine(line, file), 0);
  EXPECT_EQ(line, "");
  fclose(file);
}

TEST_F(PrefsFile, ShippedFileReads) {
  std::filesystem::copy_file(std::string(QUOIT_SOURCE_DIR) + "/data/quoit.prefsV9", "quoit.prefsV9");
  read(0);
  EXPECT_EQ(qPrefs.version, 9);
  EXPECT_EQ(qPrefs.temp, "tmp/");
  EXPECT_EQ(qPrefs.patterndir, "m/");
  EXPECT_EQ(qPrefs.hardcopy, "hardcopy/");
  EXPECT_EQ(qPrefs.language, 1);
  EXPECT_EQ(qPrefs.notcl, 0);
}

}  // namespace

// The writer of the pattern dialog's choices, in a copy of the shipped home.
class PrefsWriter : public ScratchHomeTest {};

TEST_F(PrefsWriter, ReplacesTheKeysAndKeepsTheRest) {
  std::string before = readWholeFile("quoit.prefsV9");
  ASSERT_NE(before.find("multihand=2\n"), std::string::npos);
  EXPECT_EQ(writePreferenceSettings({{"multihand", "4"}, {"jugglingfile", "m/3ball_cascade"}}), PREFS_WRITTEN);
  std::string after = readWholeFile("quoit.prefsV9");
  EXPECT_EQ(after.find("multihand=2\n"), std::string::npos) << after;
  std::string added = "multihand=4\njugglingfile=m/3ball_cascade\n";
  EXPECT_EQ(after.substr(after.size() - added.size()), added);
  EXPECT_EQ(after.compare(0, 96, before, 0, 96), 0) << "the comments stay";
  writeWholeFile("quoit.prefsV9", "! no header yet\r\nwidth=500\r\n");
  EXPECT_EQ(writePreferenceSettings({{"width", "600"}}), PREFS_WRITTEN);
  EXPECT_EQ(readWholeFile("quoit.prefsV9"), "QuoitPrefsV9\n! no header yet\nwidth=600\n");
}

// A line end in a key or a value would add lines to the file (a hardcopy directory out of the
// home, say), and a line longer than the reader takes would be dropped at every start: the
// settings are refused whole with a message in one line, and the file stays.
TEST_F(PrefsWriter, LineEndsAndOverlongLinesAreRefused) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> settings;
    const char *message;
  } cases[] = {
      {{{"jugglingfile", "m/3ball_cascade\nhardcopy=../../../tmp/x"}},
       "The setting jugglingfile=m/3ball_cascade\\nhardcopy=../../../tmp/x holds a line end; it is not stored.\n"},
      {{{"jugglingfile", "531\rhardcopy=/tmp/x"}}, "The setting jugglingfile=531\\rhardcopy=/tmp/x holds"},
      {{{"objects", "3"}, {"multihand", "4\r\nhardcopy=/tmp/x"}}, "The setting multihand=4\\r\\nhardcopy=/tmp/x holds"},
      {{{"\nhardcopy", "/tmp/x"}}, "The setting \\nhardcopy=/tmp/x holds a line end"},
      {{{"jugglingfile", "531\n"}}, "The setting jugglingfile=531\\n holds"},
      {{{"objects", "3"}, {"jugglingfile", std::string(1011, '3')}}, "is longer than 1023 characters."},
  };
  std::string before = readWholeFile("quoit.prefsV9");
  for (const Case &c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(writePreferenceSettings(c.settings), PREFS_REFUSED) << c.message;
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(readWholeFile("quoit.prefsV9"), before) << c.message;
  }
}
