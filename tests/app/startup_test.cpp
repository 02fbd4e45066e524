// Start-up and shutdown: the command line, the temporary directory, cleanUp, and the real
// program's exit codes and trace file.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "app/patternloop.h"
#include "core/prefs.h"
#include "app/startup.h"
#include "pattern/store.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/scratch_home.h"
#include "ui/keyframes.h"
#include "ui/modes.h"

namespace fs = std::filesystem;

class Startup : public ScratchHomeTest {};

static void resetCommandLineState() {
  currentPatternFile.clear();
  nextPatternAction = 0;
  randomInterval = orderInterval = 0;
  checkLanguagesRequested = patternDebugLevel = objectCountOption = objectOptionKind = 0;
  modelFileArgument.clear();
  qMode.benchmark = 0;
  qPrefs.vrml = 0;
}

static int parse(std::vector<std::string> words) {
  words.insert(words.begin(), "quoit");
  std::vector<char *> argv;
  for (auto &w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  return parseCommandLine(int(words.size()), argv.data());
}

TEST_F(Startup, CommandLineWords) {
  struct Case {
    std::vector<std::string> words;
    int vrml;
    int result, action;
    std::string file;
    double random, order;
    int benchmark, debug, checkl;
    std::string options;
    int objects, kind;
    std::string model;
  } cases[] = {
      {{}, 0, 0, 0, "", 0, 0, 0, 0, 0, "", 0, 0, ""},
      {{"random"}, 0, 0, 2, "", 10, 0, 0, 0, 0, "", 0, 0, ""},
      {{"random", "-5", "x.pat"}, 0, 0, 2, "", 5, 0, 0, 0, 0, "", 0, 0, ""},
      {{"order", "3", "m/x.pat", "y.pat"}, 0, 0, 3, "", 0, 3, 0, 0, 0, "", 0, 0, ""},
      {{"order"}, 0, 0, 3, "", 0, 10, 0, 0, 0, "", 0, 0, ""},
      {{"benchmark2", "x.pat"}, 0, 0, 0, "", 0, 0, 2, 0, 0, "", 0, 0, ""},
      {{"debug", "x.pat"}, 0, 0, -1, "x.pat", 0, 0, 0, 3, 0, "", 0, 0, ""},
      {{"x.pat", "debug"}, 0, 0, -1, "x.pat", 0, 0, 0, 3, 0, "", 0, 0, ""},
      {{"checkl"}, 0, 0, 0, "", 0, 0, 0, 0, 1, "", 0, 0, ""},
      {{"531"}, 0, 0, -1, "m/531", 0, 0, 0, 0, 0, "", 0, 0, ""},
      {{"--abc", "--de"}, 0, 0, 0, "", 0, 0, 0, 0, 0, "-abc -de ", 0, 0, ""},
      {{"--" + std::string(97, 'x')}, 0, 0, 0, "", 0, 0, 0, 0, 0, "-" + std::string(97, 'x') + " ", 0, 0, ""},
      {{"--" + std::string(98, 'x')}, 0, 0, 0, "", 0, 0, 0, 0, 0, "", 0, 0, ""},
      {{"-7"}, 0, 0, 0, "", 0, 0, 0, 0, 0, "", 7, 1, ""},
      {{"-ball"}, 0, 0, 0, "", 0, 0, 0, 0, 0, "", 0, 2, "o/ball"},
      {{"-ball"}, 1, 0, 0, "", 0, 0, 0, 0, 0, "", 0, 2, "v/ball.wrl"},
      {{"-ball", "-club"}, 0, 0, 0, "", 0, 0, 0, 0, 0, "", 0, 2, "o/club"},
      {{"-" + std::string(120, 'm')}, 0, 0, 0, "", 0, 0, 0, 0, 0, "", 0, 2, "o/" + std::string(95, 'm')},
      {{"?"}, 0, 1, 0, "", 0, 0, 0, 0, 0, "", 0, 0, ""},
      {{"--?"}, 0, 1, 0, "", 0, 0, 0, 0, 0, "", 0, 0, ""},
      {{"x.pat", "?about"}, 0, 1, -1, "x.pat", 0, 0, 0, 0, 0, "", 0, 0, ""},
  };
  for (const Case &c : cases) {
    resetCommandLineState();
    qPrefs.vrml = c.vrml;
    std::string words;
    for (const auto &w : c.words) words += w + " ";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(parse(c.words), c.result) << words;
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(nextPatternAction, c.action) << words;
    EXPECT_EQ(currentPatternFile, c.file) << words;
    EXPECT_DOUBLE_EQ(randomInterval, c.random) << words;
    EXPECT_DOUBLE_EQ(orderInterval, c.order) << words;
    EXPECT_EQ(qMode.benchmark, c.benchmark) << words;
    EXPECT_EQ(patternDebugLevel, c.debug) << words;
    EXPECT_EQ(checkLanguagesRequested, c.checkl) << words;
    EXPECT_EQ(std::string(converterOptions), c.options) << words;
    EXPECT_EQ(objectCountOption, c.objects) << words;
    EXPECT_EQ(objectOptionKind, c.kind) << words;
    EXPECT_EQ(modelFileArgument, c.model) << words;
    EXPECT_EQ(out.find("QUOIT V14.8") != std::string::npos, c.result == 1) << words;
    EXPECT_EQ(err.find("does not fit and is dropped") != std::string::npos, c.words.size() == 1 && c.words[0].size() == 100)
        << words << err;
  }
  resetCommandLineState();
}

TEST_F(Startup, AboutText) {
  testing::internal::CaptureStdout();
  printAbout();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.rfind("\nQUOIT V14.8  \ndeveloper build ", 0), 0u) << out;
  EXPECT_NE(out.find("\n\nThe Ultimate Juggling Simulation Program by\n"), std::string::npos) << out;
  EXPECT_NE(readWholeFile(TCL_INFO_FILE).find("QUOIT V14.8"), std::string::npos);
}

TEST_F(Startup, TemporaryDirectoryIsPreparedAndCleared) {
  struct Case {
    const char *temp;
    const char *prepared;
  } cases[] = {{"tmp/", "tmp/QuoitParab/"}, {"scratch-temp", "scratch-temp/QuoitParab/"},
               {"deep\\temp\\", "deep/temp/QuoitParab/"}, {"", "tmp/QuoitParab/"}};
  fs::create_directories("deep");
  for (const Case &c : cases) {
    qPrefs.temp = c.temp;
    setupTempDirectory();
    EXPECT_EQ(qPrefs.temp, c.prepared) << c.temp;
    EXPECT_TRUE(fs::is_directory(c.prepared)) << c.temp;
    EXPECT_EQ(fs::current_path(), fs::path(home)) << c.temp;
    std::string parent = fs::path(c.prepared).parent_path().parent_path().string();
    writeWholeFile(std::string(c.prepared) + "old", "x");
    writeWholeFile(parent + "/keep", "x");
    clearTempDirectory();
    EXPECT_FALSE(fs::exists(std::string(c.prepared) + "old")) << c.temp;
    EXPECT_TRUE(fs::exists(parent + "/keep")) << c.temp;
  }
}

// A link planted in the temporary directory's place, or inside it, is removed itself; what it
// points to is never touched.
TEST_F(Startup, TemporaryDirectoryNeverFollowsLinks) {
  fs::create_directories("shared");
  fs::create_directories("victim");
  writeWholeFile("victim/precious", "x");
  writeWholeFile("victim/other", "x");
  fs::create_directory_symlink(fs::absolute("victim"), "shared/QuoitParab");
  qPrefs.temp = "shared";
  setupTempDirectory();
  EXPECT_FALSE(fs::is_symlink("shared/QuoitParab"));
  EXPECT_TRUE(fs::is_directory("shared/QuoitParab"));
  fs::create_symlink(fs::absolute("victim/other"), "shared/QuoitParab/link");
  writeWholeFile("shared/QuoitParab/made", "x");
  clearTempDirectory();
  EXPECT_FALSE(fs::exists(fs::symlink_status("shared/QuoitParab/link")));
  EXPECT_FALSE(fs::exists("shared/QuoitParab/made"));
  EXPECT_TRUE(fs::exists("victim/precious"));
  EXPECT_TRUE(fs::exists("victim/other"));
}

TEST_F(Startup, CleanUpRunsOnce) {
  snprintf(Mustertitel, sizeof Mustertitel, "%s", "3 ball cascade");
  Keyframe keyframe{};
  KeyframeList(KEYFRAMES_INSERT, &keyframe);
  EXPECT_EQ(cleanUp(4), 1);
  EXPECT_EQ(keyframeList, nullptr);
  EXPECT_STREQ(Mustertitel, "");
  EXPECT_EQ(cleanUpDone, 0);
  EXPECT_NE(localTextTables[ENGLISH], nullptr);
  EXPECT_EQ(cleanUp(0), 0);
  EXPECT_EQ(cleanUpDone, 1);
  EXPECT_EQ(localTextTables[ENGLISH], nullptr);
  EXPECT_EQ(cleanUp(0), 0);
  EXPECT_EQ(cleanUp(4), 0);
  cleanUpDone = 0;
}

// A language file with falling numbers stops the start with 12; without any display the
// message still reaches the trace file and stderr.
TEST(StartupProgram, BrokenLanguageFileWithoutDisplay) {
  std::string home = makeScratchHome(currentTestName());
  writeWholeFile(home + "/l/espanol", "1 Español\n30 treinta\n20 veinte\n");
  RunResult run = runProgram(programPath("quoit"), {}, home, RunOptions{});
  EXPECT_EQ(run.exitCode, 12);
  const char *message = "Local text file l/espanol, text no. 20: number has to be greater than the preceding!";
  EXPECT_NE(run.standardError.find(message), std::string::npos) << run.standardError;
  EXPECT_NE(run.trace.find(message), std::string::npos) << run.trace;
}

// The texts are read before the preferences file, so a message about the file is a text of
// ours in one line, not a missing text's fallback.
TEST(StartupProgram, OverlongPreferencesLineAtStart) {
  std::string home = makeScratchHome(currentTestName());
  writeWholeFile(home + "/quoit.prefsV9", "QuoitPrefsV9\nnotcl=1\nwidth=7" + std::string(1100, '0') + "\n");
  RunResult run = runProgram(programPath("quoit"), {"?"}, home, RunOptions{});
  EXPECT_EQ(run.exitCode, 13);
  EXPECT_NE(run.standardError.find("Line 3 of quoit.prefsV9 is longer than 1023 characters.\n"), std::string::npos)
      << run.standardError;
  EXPECT_EQ(run.standardError.find("localText"), std::string::npos) << run.standardError;
}

// The start clears the information file of the home it enters, not one of the directory it was
// started from.
TEST(StartupProgram, InformationFileOfTheHomeIsCleared) {
  std::string home = makeScratchHome(currentTestName());
  writeWholeFile(home + "/quoit.prefsV9", "QuoitPrefsV9\nnotcl=1\n");
  writeWholeFile(home + "/tmp/info.txt", "left over");
  std::string start = home + "_start";
  fs::create_directories(start + "/tmp");
  writeWholeFile(start + "/tmp/info.txt", "mine");
  RunOptions options;
  options.environment = {{"QUOIT", home}};
  RunResult run = runProgram(programPath("quoit"), {"?"}, start, options);
  EXPECT_EQ(run.exitCode, 13) << run.standardError;
  EXPECT_EQ(readWholeFile(start + "/tmp/info.txt"), "mine");
  EXPECT_FALSE(fs::exists(home + "/tmp/info.txt") && readWholeFile(home + "/tmp/info.txt") == "left over");
  fs::remove_all(start);
}

class StartupGui : public ::testing::Test {
 protected:
  std::string home;
  RunOptions options;
  void SetUp() override {
    home = makeScratchHome(currentTestName());
    ASSERT_FALSE(sharedDisplay().empty());
    options.display = sharedDisplay();
    fs::create_directories(home + "/tmp/QuoitParab");
    writeWholeFile(home + "/tmp/keep.txt", "mine");
    writeWholeFile(home + "/tmp/QuoitParab/old", "left over");
  }
};

TEST_F(StartupGui, AboutTextEndsWith13) {
  for (const char *word : {"?", "--?"}) {
    RunResult run = runProgram(programPath("quoit"), {word}, home, options);
    EXPECT_EQ(run.exitCode, 13) << word;
    EXPECT_NE(run.standardOutput.find("QUOIT V14.8"), std::string::npos) << run.standardOutput;
    EXPECT_NE(run.trace.find("QUOIT V14.8"), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("The Ultimate Juggling Simulation Program by"), std::string::npos) << run.trace;
    // The temporary directory was not set up yet: nothing of it is removed.
    EXPECT_TRUE(fs::exists(home + "/tmp/keep.txt"));
    EXPECT_TRUE(fs::exists(home + "/tmp/QuoitParab/old"));
  }
}

TEST_F(StartupGui, LanguageCheckEndsWith0) {
  RunResult run = runProgram(programPath("quoit"), {"checkl"}, home, options);
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  for (const char *name : {"Deutsch", "English", "Fran\xc3\xa7" "ais", "Espa\xc3\xb1ol", "Catal\xc3\xa0"})
    EXPECT_NE(run.trace.find(std::string(name) + ": "), std::string::npos) << name << "\n" << run.trace;
  size_t blocks = 0;
  for (size_t p = run.trace.find("*****"); p != std::string::npos; p = run.trace.find("*****", p + 40)) blocks++;
  EXPECT_EQ(blocks, 5u);
  EXPECT_FALSE(fs::exists(home + "/tmp/QuoitParab/old"));
  EXPECT_TRUE(fs::exists(home + "/tmp/keep.txt"));
}

TEST_F(StartupGui, FallingNumbersEndWith12) {
  writeWholeFile(home + "/l/deutsch", "10 zehn\n10 nochmal zehn\n");
  RunResult run = runProgram(programPath("quoit"), {"?"}, home, options);
  EXPECT_EQ(run.exitCode, 12);
  EXPECT_NE(run.standardError.find("text no. 10: number has to be greater than the preceding!"), std::string::npos)
      << run.standardError;
  EXPECT_EQ(run.standardOutput.find("QUOIT V14.8"), std::string::npos);
}
