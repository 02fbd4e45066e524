// Pattern loop: every source of the next pattern with the real files of data/m, the siteswap
// converters, the failures and their codes, and the round trips through the pattern dialog.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include <filesystem>
#include <set>
#include <thread>

#include "core/localtext.h"
#include "app/patternloop.h"
#include "core/prefs.h"
#include "core/random.h"
#include "app/startup.h"
#include "core/utils.h"
#include "pattern/catalogue.h"
#include "pattern/siteswaps.h"
#include "pattern/store.h"
#include "scene/placements.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/scratch_home.h"
#include "ui/keys.h"
#include "ui/modes.h"

namespace fs = std::filesystem;

// The converter settings of the default preferences.
static void defaultConverterSettings() {
  qPrefs.fre_ratio = 0.0;
  qPrefs.current = 0;
  qPrefs.multihand = 2;
  qPrefs.q2_persons = 1;
  qPrefs.q2_at = 0;
  qPrefs.sym = qPrefs.hold = qPrefs.ss_opt = qPrefs.donotcheck = qPrefs.thlist = 0;
  qPrefs.show_scmd = qPrefs.show_bcmd = qPrefs.bophase = 0;
  qPrefs.ss_hfile.clear();
  qPrefs.ss_sfile.clear();
  converterOptions[0] = '\0';
  objectCountOption = 0;
}

class PatternLoop : public ScratchHomeTest {
 protected:
  std::vector<std::string> samples;  // the sorted names of data/m
  void SetUp() override {
    ScratchHomeTest::SetUp();
    qPrefs.vrml = 0;
    qPrefs.patterndir = "m/";
    qPrefs.catalogueSort = 1;
    qPrefs.timefactor = 1.0;
    defaultConverterSettings();
    for (const char *program : {"kovex", "patconv"}) fs::create_symlink(programPath(program), home + "/" + program);
    qMode.benchmark = 0;
    randomInterval = orderInterval = 0;
    firstLoad = 1;
    patternStepped = 0;
    restartRequest = 0;
    shownSiteswap[0] = listSiteswap[0] = '\0';
    GetAllPatterns(nullptr, CATALOGUE_FREE, nullptr);
    GetAllPatterns("m/", CATALOGUE_LIST, nullptr);
    GetAllPatterns("m/", CATALOGUE_SORT, nullptr);
    for (int i = 0; i < catalogueCount(); i++) samples.push_back(std::string("m/") + catalogueEntry(i));
  }
  void TearDown() override {
    freePatternData();
    GetAllPatterns(nullptr, CATALOGUE_FREE, nullptr);
    currentPatternFile.clear();
    ScratchHomeTest::TearDown();
  }
  // One pass of the idle function's restart: release the pattern, then load the next one.
  int load(int action) {
    cleanUp(1);
    nextPatternAction = action;
    return loadNextPattern();
  }
  int loadNamed(const std::string &name) {
    currentPatternFile = name;
    return load(ACTION_NAMED_FILE);
  }
};

TEST_F(PatternLoop, NamedFileLoadsAndPositionsTheCatalogue) {
  ASSERT_EQ(samples.size(), 10u);
  int counter = patternLoadCounter;
  restartRequest = 2;
  keyTableState = 3;
  clockBeatValue = 5;
  ASSERT_EQ(loadNamed("m/5ball_cascade"), 0);
  EXPECT_EQ(keyTableState, 0);
  EXPECT_EQ(clockBeatValue, -12345);
  EXPECT_EQ(currentPatternFile, "m/5ball_cascade");
  EXPECT_EQ(objekte, 5);
  EXPECT_EQ(patternLoadCounter, counter + 1);
  EXPECT_EQ(restartRequest, 0);
  EXPECT_EQ(firstLoad, 0);
  EXPECT_STREQ(shownSiteswap, "");
  int index = int(std::find(samples.begin(), samples.end(), "m/5ball_cascade") - samples.begin());
  EXPECT_EQ(catalogueCursor(), index + 1);
  // The next step goes on after the named file.
  ASSERT_EQ(load(ACTION_NEXT), 0);
  EXPECT_EQ(currentPatternFile, samples[size_t(index) + 1]);
}

// A load places one figure per juggler and points the flying list at the pattern's block; the
// release points it away from the freed block.
TEST_F(PatternLoop, LoadPlacesTheJugglersAndReleaseLeavesNoFlyingBlock) {
  ASSERT_EQ(loadNamed("m/6club_2count_pass"), 0);
  ASSERT_NE(flyingObjects, nullptr);
  EXPECT_EQ(flyingPlacements, flyingObjects);
  EXPECT_EQ(flyingPlacements[0].model, 0);
  EXPECT_EQ(flyingPlacements[1].model, PLACEMENT_END_FLYING);
  int figures = 0;
  for (int i = 0; i < sceneObjectCount - 1; i++) figures += sceneObjects[i].model >= 1 && sceneObjects[i].model <= jugglers;
  EXPECT_EQ(figures, jugglers);
  const Placement *block = flyingObjects;
  cleanUp(1);
  EXPECT_EQ(flyingObjects, nullptr);
  EXPECT_NE(flyingPlacements, block);
  EXPECT_EQ(flyingPlacements[0].model, 0);
  EXPECT_EQ(flyingPlacements[1].model, PLACEMENT_END_FLYING);
}

TEST_F(PatternLoop, NextWalksEverySampleAndWrapsOnce) {
  for (const std::string &sample : samples) {
    ASSERT_EQ(load(ACTION_NEXT), 0) << sample;
    EXPECT_EQ(currentPatternFile, sample);
    EXPECT_GT(objekte, 0) << sample;
    EXPECT_EQ(restartRequest, 0) << sample;
  }
  // A manual walk wraps to the first file and loads it once more without the dialog.
  ASSERT_EQ(load(ACTION_NEXT), 0);
  EXPECT_EQ(currentPatternFile, samples.front());
  EXPECT_EQ(nextPatternAction, ACTION_NAMED_FILE);
  EXPECT_EQ(restartRequest, 1);
  ASSERT_EQ(load(nextPatternAction), 0);
  EXPECT_EQ(currentPatternFile, samples.front());
  EXPECT_EQ(restartRequest, 0);
  ASSERT_EQ(load(ACTION_NEXT), 0);
  EXPECT_EQ(currentPatternFile, samples[1]);
}

TEST_F(PatternLoop, PreviousWrapsToTheLastAndATimedShowEnds) {
  ASSERT_EQ(loadNamed(samples[1]), 0);
  ASSERT_EQ(load(ACTION_PREVIOUS), 0);
  EXPECT_EQ(currentPatternFile, samples[0]);
  EXPECT_EQ(restartRequest, 0);
  orderInterval = 10.0;
  ASSERT_EQ(load(ACTION_PREVIOUS), 0);
  EXPECT_EQ(currentPatternFile, samples.back());
  EXPECT_EQ(nextPatternAction, ACTION_QUIT);
  EXPECT_EQ(restartRequest, 1);
  ASSERT_EQ(load(ACTION_PREVIOUS), 0);
  EXPECT_EQ(currentPatternFile, samples[samples.size() - 2]);
}

TEST_F(PatternLoop, RandomLoadsEverySampleOnceARound) {
  qSeedRandom(2026);
  std::set<std::string> loaded;
  for (size_t i = 0; i < samples.size(); i++) {
    ASSERT_EQ(load(ACTION_RANDOM), 0);
    EXPECT_GT(objekte, 0) << currentPatternFile;
    loaded.insert(currentPatternFile);
  }
  EXPECT_EQ(loaded, std::set<std::string>(samples.begin(), samples.end()));
}

TEST_F(PatternLoop, SiteswapWordIsConvertedAndReloadKeepsItsFiles) {
  ASSERT_EQ(loadNamed(patternFileArgument("531")), 0);
  EXPECT_EQ(currentPatternFile, SITESWAP_FILE);
  EXPECT_STREQ(shownSiteswap, "531");
  EXPECT_EQ(convertedSiteswap.text, "531");
  EXPECT_EQ(convertedSiteswap.file, SITESWAP_FILE);
  EXPECT_EQ(objekte, 3);
  EXPECT_FALSE(fs::exists("q2.out"));
  // Reload keeps the converted file and loads it again; the title line is not the siteswap's.
  ASSERT_EQ(load(ACTION_RELOAD), 0);
  EXPECT_TRUE(fs::exists(SITESWAP_FILE));
  EXPECT_EQ(currentPatternFile, SITESWAP_FILE);
  EXPECT_EQ(convertedSiteswap.text, "");
  EXPECT_EQ(objekte, 3);
  // Any other source removes the converter's files first.
  ASSERT_EQ(loadNamed("m/3ball_cascade"), 0);
  EXPECT_FALSE(fs::exists(SITESWAP_FILE));
}

// `quoit -5 531`: a siteswap from the command line goes to the converter without the number; the
// pattern reader gives every object of the converted pattern model 5, also with converter lists on.
TEST_F(PatternLoop, ModelWordReachesTheObjectsOfAConvertedSiteswap) {
  qPrefs.current = 1;
  const char *words[] = {"quoit", "-5", "531"};
  ASSERT_EQ(parseCommandLine(3, const_cast<char **>(words)), 0);
  ASSERT_EQ(load(nextPatternAction), 0);
  EXPECT_EQ(currentPatternFile, SITESWAP_FILE);
  EXPECT_EQ(readWholeFile(SITESWAP_FILE).find("\na="), std::string::npos);
  ASSERT_EQ(objekte, 3);
  for (int o = 0; o < objekte; o++) EXPECT_EQ(objectModelNumber[o], 5) << o;
  objectOptionKind = 0;
}

TEST_F(PatternLoop, DoNotCheckConvertsAnExistingNameAsSiteswap) {
  writeWholeFile("531", "not a pattern\n");
  qPrefs.donotcheck = 1;
  ASSERT_EQ(loadNamed("531"), 0);
  EXPECT_EQ(currentPatternFile, SITESWAP_FILE);
  EXPECT_STREQ(shownSiteswap, "531");
}

TEST_F(PatternLoop, FailedConversions) {
  // On the first load a siteswap that cannot be juggled ends the loop with 26.
  EXPECT_EQ(loadNamed(patternFileArgument("54")), LOAD_CONVERSION_FAILED);
  EXPECT_STREQ(shownSiteswap, "");
  // Later the missing file goes to the pattern reader, which fails with its own code.
  firstLoad = 0;
  EXPECT_EQ(loadNamed(patternFileArgument("54")), 112);
  // A converter that cannot be found converts nothing.
  fs::remove("kovex");
  firstLoad = 1;
  EXPECT_EQ(loadNamed(patternFileArgument("531")), LOAD_CONVERSION_FAILED);
  // An overlong siteswap is refused, not cut.
  firstLoad = 1;
  EXPECT_EQ(loadNamed(std::string(SITESWAP_TEXT_SIZE, '3')), LOAD_CONVERSION_FAILED);
}

// Each failure is named for what went wrong: a siteswap that looks like an option is a siteswap;
// a name that stands in the file system but is no readable file is not sent to the converter;
// a converter that cannot write its file says so.
TEST_F(PatternLoop, FailuresAreReportedForWhatWentWrong) {
  ASSERT_EQ(mkfifo("fifo.pat", 0600), 0);
  fs::create_directories("QuoitSiteSwap/full");
  struct Case {
    std::string name, message;
  } cases[] = {
      {"--help", "--help is not a juggleable siteswap"},
      {"-Hquoit.prefsV9", "-Hquoit.prefsV9 is not a juggleable siteswap"},
      {"fifo.pat", "Cannot read the file fifo.pat: not a regular file"},
      {"531", "Cannot write the file QuoitSiteSwap."},
  };
  for (const Case &c : cases) {
    firstLoad = 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadNamed(c.name), LOAD_CONVERSION_FAILED) << c.name;
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(c.message), std::string::npos) << c.name << "\n" << err;
    if (c.name != "531") {
      EXPECT_EQ(err.find("Cannot write"), std::string::npos) << c.name << "\n" << err;
    }
  }
}

// A name that is a directory is no pattern file: the one-letter siteswaps whose names the home
// holds as directories are converted like any other siteswap.
TEST_F(PatternLoop, DirectoryNameIsSiteswapText) {
  struct Case {
    const char *name;
    int objects;
  } cases[] = {{"b", 11}, {"l", 21}, {"m", 22}, {"o", 24}, {"v", 31}};
  for (const Case &c : cases) {
    ASSERT_TRUE(fs::is_directory(c.name)) << c.name;
    firstLoad = 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadNamed(patternFileArgument(c.name)), 0) << c.name;
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(currentPatternFile, SITESWAP_FILE) << c.name;
    EXPECT_STREQ(shownSiteswap, c.name);
    EXPECT_EQ(objekte, c.objects) << c.name;
    EXPECT_EQ(err, "") << c.name;
  }
}

// A converter that does not end in time is stopped and the load fails with a message.
TEST_F(PatternLoop, ConverterTimeLimit) {
  int limit = converterTimeLimitMs;
  converterTimeLimitMs = 200;
  testing::internal::CaptureStderr();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(runConverter("/bin/sleep", {"20"}), -1);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::string err = testing::internal::GetCapturedStderr();
  converterTimeLimitMs = limit;
  EXPECT_LT(seconds, 5.0);
  EXPECT_NE(err.find("/bin/sleep did not finish within 0 seconds"), std::string::npos) << err;
}

// A benchmark run loads its own file whatever the action says, without choosing a source: the first
// load stays the first (what the loader makes of the benchmark's floor and figures is its own).
TEST_F(PatternLoop, BenchmarkLoadsItsOwnFile) {
  qMode.benchmark = 2;
  currentPatternFile = "m/3ball_cascade";
  load(ACTION_DIALOG);
  qMode.benchmark = 0;
  EXPECT_EQ(currentPatternFile, "b/benchmark2");
  EXPECT_EQ(firstLoad, 1);
}

TEST_F(PatternLoop, PatconvRunsAfterTheConverter) {
  qPrefs.ss_opt = 3;
  qPrefs.bophase = 1;
  ASSERT_EQ(loadNamed(patternFileArgument("531")), 0);
  EXPECT_EQ(currentPatternFile, PATCONV_FILE);
  EXPECT_EQ(convertedSiteswap.file, PATCONV_FILE);  // saving keeps the Boston-Mess form on show
  EXPECT_TRUE(fs::exists(PATCONV_FILE));
  EXPECT_EQ(objekte, 3);
}

// A patconv that fails, or that writes nothing, leaves the unconverted pattern in place.
TEST_F(PatternLoop, FailingPatconvKeepsTheUnconvertedPattern) {
  qPrefs.ss_opt = 3;
  struct Case {
    const char *name, *script;
  } cases[] = {
      {"exit status", "#!/bin/sh\necho partial > QuoitSiteSwap_Patconv\nexit 3\n"},
      {"no file", "#!/bin/sh\nexit 0\n"},
  };
  for (const Case &c : cases) {
    fs::remove("patconv");
    writeWholeFile("patconv", c.script);
    fs::permissions("patconv", fs::perms::owner_all);
    firstLoad = 1;
    ASSERT_EQ(loadNamed(patternFileArgument("531")), 0) << c.name;
    EXPECT_EQ(currentPatternFile, SITESWAP_FILE) << c.name;
    EXPECT_EQ(convertedSiteswap.file, SITESWAP_FILE) << c.name;
    EXPECT_EQ(objekte, 3) << c.name;
  }
}

TEST_F(PatternLoop, ConverterCommandLineOf531) {
  std::string options = converterOptionText(ACTION_DIALOG, "531");
  EXPECT_EQ(options, " -r0.000000   -p1");
  EXPECT_EQ(converterCommandLine(options, "531"), "kovex -n -q   -r0.000000   -p1 \"531\" QuoitSiteSwap");
  EXPECT_EQ(converterArguments(options, "531"),
            (std::vector<std::string>{"-n", "-q", "-r0.000000", "-p1", "--", "531", "QuoitSiteSwap"}));
  // The siteswap stays one argument whatever it holds, after the end of the options.
  EXPECT_EQ(converterArguments(options, "<3p 3|3p 3>; rm x").at(5), "<3p 3|3p 3>; rm x");
  EXPECT_EQ(converterArguments(options, "-Hquoit.prefsV9").at(4), "--");
}

TEST_F(PatternLoop, ConverterOptions) {
  struct Case {
    const char *name;
    void (*set)();
    int action;
    const char *siteswap, *options;
  } cases[] = {
      {"defaults", [] {}, ACTION_NAMED_FILE, "531", " -r0.000000   -p1"},
      {"ratio", [] { qPrefs.fre_ratio = 0.25; }, ACTION_DIALOG, "531", " -r0.250000   -p1"},
      {"header file", [] { qPrefs.current = 1; qPrefs.ss_opt = 1; qPrefs.ss_hfile = "h.txt"; objectCountOption = 4; },
       ACTION_DIALOG, "531", " -r0.000000 -Hh.txt -o4  -p1"},
      {"style file", [] { qPrefs.current = 2; qPrefs.ss_opt = 2; qPrefs.ss_sfile = "s.txt"; objectCountOption = -1; },
       ACTION_DIALOG, "531", " -r0.000000 -Ss.txt  -p1"},
      {"named file ignores them", [] { qPrefs.current = 1; qPrefs.ss_opt = 1; qPrefs.ss_hfile = "h.txt"; },
       ACTION_NAMED_FILE, "531", " -r0.000000   -p1"},
      {"word options", [] { snprintf(converterOptions, sizeof converterOptions, "-x -y "); }, ACTION_DIALOG, "531",
       " -r0.000000  -x -y  -p1"},
      {"sym", [] { qPrefs.sym = 1; }, ACTION_DIALOG, "531", " -r0.000000   -s -p1"},
      {"user's hands", [] { snprintf(converterOptions, sizeof converterOptions, "-m4 "); }, ACTION_DIALOG, "531",
       " -r0.000000  -m4 "},
      {"user's persons over preferred hands",
       [] {
         qPrefs.multihand = 6;
         snprintf(converterOptions, sizeof converterOptions, "-x -p2 ");
       },
       ACTION_DIALOG, "531", " -r0.000000  -x -p2 "},
      {"a word with m inside", [] { snprintf(converterOptions, sizeof converterOptions, "-x-m4 "); }, ACTION_DIALOG,
       "531", " -r0.000000  -x-m4  -p1"},
      {"hands", [] { qPrefs.multihand = 6; }, ACTION_DIALOG, "531", " -r0.000000   -m6"},
      {"persons", [] { qPrefs.current = 2; qPrefs.q2_persons = 3; objectCountOption = -1; }, ACTION_DIALOG, "531",
       " -r0.000000   -p1 -p3"},
      {"holds", [] { qPrefs.hold = 1; }, ACTION_DIALOG, "42", " -r0.000000   -p1 -l"},
      {"holds with a 1", [] { qPrefs.hold = 1; }, ACTION_DIALOG, "421", " -r0.000000   -p1"},
      {"holds with hands", [] { qPrefs.hold = 1; qPrefs.multihand = 4; }, ACTION_DIALOG, "42", " -r0.000000   -m4"},
  };
  for (const Case &c : cases) {
    defaultConverterSettings();
    c.set();
    EXPECT_EQ(converterOptionText(c.action, c.siteswap), c.options) << c.name;
  }
}

TEST_F(PatternLoop, HugeRatioAndLongOptionsFit) {
  qPrefs.fre_ratio = 1e300;
  snprintf(converterOptions, sizeof converterOptions, "%s", std::string(98, 'w').c_str());
  std::string options = converterOptionText(ACTION_DIALOG, "531");
  EXPECT_GT(options.size(), 400u);
  EXPECT_NE(options.find(std::string(98, 'w')), std::string::npos);
  EXPECT_EQ(converterArguments(options, "531").size(), 8u);
}

TEST_F(PatternLoop, ConverterProgramsAreFoundInTheHome) {
  EXPECT_EQ(converterProgram("kovex"), home + "/kovex");
  EXPECT_EQ(converterProgram("no-such-converter"), "");
  EXPECT_EQ(runConverter(converterProgram("kovex"), {"-q", "54"}), 1);
  EXPECT_EQ(runConverter(home + "/missing", {}), -1);
}

// The real program: a failed first load ends it with its own code, after the converter ran.
class PatternLoopProgramGui : public ::testing::Test {};

TEST_F(PatternLoopProgramGui, FailedFirstLoadEndsWith18) {
  std::string home = makeScratchHome(currentTestName());
  RunOptions options;
  options.display = sharedDisplay();
  struct Case {
    const char *word, *siteswap;
  } cases[] = {{"54", "54"}, {"m/no_such_pattern.pat", "no_such_pattern.pat"}};
  for (const Case &c : cases) {
    RunResult run = runProgram(programPath("quoit"), {"+show_scmd=1", c.word}, home, options);
    EXPECT_EQ(run.exitCode, EXIT_LOAD_FAILED) << c.word << "\n" << run.standardError;
    std::string command = std::string("kovex -n -q   -r0.000000   -p1 \"") + c.siteswap + "\" QuoitSiteSwap";
    EXPECT_NE(run.trace.find(command), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("kovex exited with status 1"), std::string::npos) << run.trace;
  }
}

// Without its pattern dialog the program cannot choose a pattern: it ends with 18 and says why.
TEST_F(PatternLoopProgramGui, MissingPatternDialogIsNamed) {
  std::string home = makeScratchHome(currentTestName());
  fs::remove(home + "/tcl/prefs.tcl");
  RunOptions options;
  options.display = sharedDisplay();
  RunResult run = runProgram(programPath("quoit"), {}, home, options);
  EXPECT_EQ(run.exitCode, EXIT_LOAD_FAILED);
  const char *message = "The dialog script tcl/prefs.tcl failed: No such file or directory\n";
  EXPECT_NE(run.standardError.find(message), std::string::npos) << run.standardError;
}

// Round trips through the pattern dialog, answered by QUOIT_TEST_ANSWER. A recording script in
// front of the dialog keeps every request it gets.
class PatternDialogGui : public PatternLoop {
 protected:
  void SetUp() override {
    PatternLoop::SetUp();
    ASSERT_FALSE(sharedDisplay().empty());
    setenv("DISPLAY", sharedDisplay().c_str(), 1);
    fs::rename("tcl/prefs.tcl", "tcl/prefs_dialog.tcl");
    writeWholeFile("tcl/prefs.tcl", "source tcl/qdialog.tcl\n"
                                    "set record [open tmp/requests a]\n"
                                    "puts -nonewline $record \"[qReadPassing]\\x1e\"\n"
                                    "close $record\n"
                                    "source tcl/prefs_dialog.tcl\n");
    fs::remove("tmp/requests");
  }
  void TearDown() override {
    unsetenv("DISPLAY");
    setenv("QUOIT_TEST_ANSWER", "1", 1);
    PatternLoop::TearDown();
  }
  std::vector<std::string> requests() {
    std::vector<std::string> list;
    std::string all = readWholeFile("tmp/requests");
    for (size_t at = 0, end; (end = all.find('\x1e', at)) != std::string::npos; at = end + 1)
      list.push_back(all.substr(at, end - at));
    return list;
  }
  int answerDialog(const char *answer) {
    setenv("QUOIT_TEST_ANSWER", answer, 1);
    return load(ACTION_DIALOG);
  }
};

TEST_F(PatternDialogGui, ChosenFileIsLoaded) {
  int counter = patternLoadCounter + 1;
  ASSERT_EQ(answerDialog("m/6club_2count_pass"), 0);
  EXPECT_EQ(currentPatternFile, "m/6club_2count_pass");
  EXPECT_GT(objekte, 0);
  EXPECT_NE(readWholeFile("quoit.prefsV9").find("jugglingfile=m/6club_2count_pass\n"), std::string::npos);
  EXPECT_EQ(requests(), std::vector<std::string>{"Quoit V14.8\nNO\n\n0\n" + std::to_string(counter) + "\n"});
}

// A chosen name that starts with a digit is read from the pattern directory; that resolved name
// is the current pattern file, so storing the camera ('p') rewrites the file that was loaded.
TEST_F(PatternDialogGui, NameStartingWithADigitIsResolvedOnce) {
  ASSERT_EQ(answerDialog("6club_2count_pass"), 0);
  EXPECT_EQ(currentPatternFile, "m/6club_2count_pass");
  EXPECT_GT(objekte, 0);
  std::string before = readWholeFile("m/6club_2count_pass");
  qSetMode(0x3000, 0);
  std::string after = readWholeFile("m/6club_2count_pass");
  EXPECT_NE(after, before);
  EXPECT_NE(after.find("B="), std::string::npos) << after;
  EXPECT_FALSE(fs::exists("6club_2count_pass"));
}

TEST_F(PatternDialogGui, TypedSiteswapWithOptionsIsConverted) {
  ASSERT_EQ(answerDialog("531|sym=1|multihand=4"), 0);
  EXPECT_EQ(currentPatternFile, SITESWAP_FILE);
  EXPECT_STREQ(shownSiteswap, "531");
  EXPECT_EQ(qPrefs.sym, 1);
  EXPECT_EQ(qPrefs.multihand, 4);
  EXPECT_EQ(objekte, 3);
}

TEST_F(PatternDialogGui, TypedDirectoryNameIsSiteswapText) {
  for (const char *name : {"b", "v"}) {
    ASSERT_EQ(answerDialog(name), 0) << name;
    EXPECT_EQ(currentPatternFile, SITESWAP_FILE) << name;
    EXPECT_STREQ(shownSiteswap, name);
  }
}

TEST_F(PatternDialogGui, CancelAndBrokenDialog) {
  EXPECT_EQ(answerDialog(""), LOAD_NOTHING_CHOSEN);
  writeWholeFile("tcl/prefs.tcl", "error {this dialog is broken}\n");
  EXPECT_EQ(answerDialog("m/3ball_cascade"), LOAD_DIALOG_FAILED);
}

TEST_F(PatternDialogGui, NamedFileIsAnnouncedWithoutTheDialog) {
  ASSERT_EQ(loadNamed("m/3ball_cascade"), 0);
  EXPECT_EQ(requests(), std::vector<std::string>{"Quoit NO_TRANS\n\nm/3ball_cascade\n0\n0\n"});
  fs::remove("tmp/requests");
  ASSERT_EQ(load(ACTION_RANDOM), 0);
  EXPECT_TRUE(requests().empty());
}

// Converter-list mode, stepped onto the list's second line (siteswap 531).
void stepIntoConverterList() {
  qPrefs.current = 2;
  qPrefs.thlist = 1;
  writeWholeFile(CONVERTER_LIST_FILE, "441\n4 531 3\n");
  stepPattern(STEP_NEXT);
  ASSERT_EQ(currentPatternFile, "531");
}

TEST_F(PatternDialogGui, ConverterListLineIsAskedFromTheDialog) {
  ASSERT_NO_FATAL_FAILURE(stepIntoConverterList());
  ASSERT_EQ(load(nextPatternAction), 0);
  EXPECT_EQ(currentPatternFile, SITESWAP_FILE);
  EXPECT_STREQ(listSiteswap, "531");
  EXPECT_STREQ(shownSiteswap, "");
  std::vector<std::string> asked = requests();
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked[0], "Quoit V14.8\n531\n531\n1\n0\n");
}

// A FIFO in the list's place never stops the dialog: the list is read only as a regular file. A
// dialog that waits on it is let go after five seconds, which the test then sees.
TEST_F(PatternDialogGui, ConverterListThatIsAFifoIsNotWaitedOn) {
  ASSERT_NO_FATAL_FAILURE(stepIntoConverterList());
  fs::remove(CONVERTER_LIST_FILE);
  ASSERT_EQ(mkfifo(CONVERTER_LIST_FILE, 0600), 0);
  std::thread release([] {
    std::this_thread::sleep_for(std::chrono::seconds(5));
    int fd = open(CONVERTER_LIST_FILE, O_WRONLY | O_NONBLOCK);
    if (fd >= 0) close(fd);
  });
  auto start = std::chrono::steady_clock::now();
  load(nextPatternAction);
  auto waited = std::chrono::steady_clock::now() - start;
  release.join();
  EXPECT_LT(waited, std::chrono::seconds(4));
}

// The dialog's preferences writer keeps what the file is: its mode and a link to it stay, and
// nothing is left beside it.
TEST_F(PatternDialogGui, PreferencesWriterKeepsModeAndLink) {
  fs::rename("quoit.prefsV9", "real.prefs");
  fs::permissions("real.prefs", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.prefs", "quoit.prefsV9");
  ASSERT_EQ(answerDialog("m/3ball_cascade"), 0);
  EXPECT_TRUE(fs::is_symlink("quoit.prefsV9"));
  EXPECT_NE(readWholeFile("real.prefs").find("jugglingfile=m/3ball_cascade\n"), std::string::npos);
  EXPECT_EQ(fs::status("real.prefs").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  for (const auto &entry : fs::directory_iterator(".")) {
    std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "real.prefs" || name == "quoit.prefsV9" || name.find(".prefs") == std::string::npos) << name;
  }
}

// A preferences file that cannot be read is never replaced, and a failed write is a message of
// ours after which the dialog goes on: the old file stays.
TEST_F(PatternDialogGui, PreferencesThatCannotBeReadOrWrittenStay) {
  std::string large = "QuoitPrefsV9\n";
  while (large.size() <= (1u << 20)) large += "!" + std::string(999, 'x') + "\n";
  writeWholeFile("quoit.prefsV9", large);
  testing::internal::CaptureStderr();
  answerDialog("m/3ball_cascade");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(readWholeFile("quoit.prefsV9"), large);
  EXPECT_NE(err.find("Cannot read the file quoit.prefsV9: too large"), std::string::npos) << err;
  EXPECT_EQ(err.find("Cannot read the file", err.find("Cannot read the file") + 1), std::string::npos) << "once: " << err;
  fs::remove("quoit.prefsV9");
  fs::create_symlink("/proc/version", "quoit.prefsV9");
  testing::internal::CaptureStderr();
  answerDialog("m/3ball_cascade");
  err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(fs::is_symlink("quoit.prefsV9"));
  EXPECT_NE(err.find("Cannot write the file quoit.prefsV9"), std::string::npos) << err;
}

// A chosen file or a typed answer with a line end would add lines to the preferences file, which
// every later start reads: it is refused with a message and the choice is cancelled.
TEST_F(PatternDialogGui, LineEndInAnAnswerIsRefused) {
  ASSERT_EQ(loadNamed("m/3ball_cascade"), 0);
  writeWholeFile("m/3ball_cascade\nhardcopy=..\\..\\..\\tmp\\x", "a listed file\n");
  std::string before = readWholeFile("quoit.prefsV9");
  const char *answers[] = {
      "m/3ball_cascade\nhardcopy=..\\..\\..\\tmp\\x",
      "m/3ball_cascade\rhardcopy=/tmp/x",
      "531|multihand=4\nhardcopy=/tmp/x",
      "531|\nhardcopy=/tmp/x",
  };
  for (const char *answer : answers) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(answerDialog(answer), LOAD_NOTHING_CHOSEN) << answer;
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("holds a line end; it is not stored."), std::string::npos) << err;
    std::string after = readWholeFile("quoit.prefsV9");
    EXPECT_EQ(after.find('\r'), std::string::npos) << answer;
    EXPECT_EQ(after.find("hardcopy=", after.find("hardcopy=") + 1), std::string::npos) << answer << "\n" << after;
    EXPECT_NE(after.find("jugglingfile=\n"), std::string::npos) << after;
    readPreferences(0);
    EXPECT_EQ(qPrefs.hardcopy, "hardcopy/") << answer;
  }
}

// An answer longer than a preferences line is refused with the limit, not dropped silently nor
// replaced by the previous pattern.
TEST_F(PatternDialogGui, AnswerLongerThanAPreferencesLineIsRefused) {
  ASSERT_EQ(loadNamed("m/3ball_cascade"), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(answerDialog(std::string(2000, '3').c_str()), LOAD_NOTHING_CHOSEN);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("of quoit.prefsV9 is longer than 1023 characters"), std::string::npos) << err;
}
