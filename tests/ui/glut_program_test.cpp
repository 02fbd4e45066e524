#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/support/quoit_test_support.h"
#include "tests/support/xwindows.h"
#include "tests/ui/glut_xvfb.h"
#include "tests/ui/running_quoit.h"

namespace {

// The real program: its window carries the pattern's title, it keeps running, and Esc ends it with code 0.
TEST(QuoitProgramGui, WindowShowsThePatternAndQuitsWithEsc) {
  std::string display = PrivateXvfb::display();
  ASSERT_FALSE(display.empty());
  std::string home = makeScratchHome(currentTestName());
  RunOptions options;
  options.display = display;
  std::string title;
  bool aliveAfterASecond = false;
  std::thread keys([&] {
    std::string env = "DISPLAY=" + display + " ";
    for (int i = 0; i < 150 && title.empty(); i++) {
      std::string id = commandOutput(env + "xdotool search --name '^Quoit: ' 2>/dev/null | head -1");
      if (!id.empty()) {
        id = id.substr(0, id.find('\n'));
        std::this_thread::sleep_for(std::chrono::seconds(1));
        title = commandOutput(env + "xdotool getwindowname " + id + " 2>/dev/null");
        aliveAfterASecond = !title.empty();
        commandOutput(env + "xdotool key --window " + id + " Escape 2>/dev/null");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  RunResult run = runProgram(programPath("quoit"), {"531"}, home, options);
  keys.join();
  EXPECT_TRUE(aliveAfterASecond);
  EXPECT_NE(title.find("531"), std::string::npos) << title;
  EXPECT_NE(title.find("   [100%]"), std::string::npos) << title;
  EXPECT_EQ(run.exitCode, 0) << run.trace;
}

TEST(QuoitProgramGui, BenchmarkEndsAfterFifteenSecondsWithItsFrameRate) {
  std::string display = PrivateXvfb::display();
  ASSERT_FALSE(display.empty());
  std::string home = makeScratchHome(currentTestName());
  RunOptions options;
  options.display = display;
  options.timeLimitSeconds = 60;
  auto start = std::chrono::steady_clock::now();
  RunResult run = runProgram(programPath("quoit"), {"benchmark1"}, home, options);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(run.exitCode, 0) << run.trace;
  EXPECT_GE(seconds, 15);
  EXPECT_NE(run.trace.find("benchmark 1: "), std::string::npos) << run.trace;
  EXPECT_NE(run.trace.find(" frames per second, "), std::string::npos) << run.trace;
}

// Closing the information window ends the program with 10, whether the window manager asks it to
// close or another client destroys it.
TEST(QuoitProgramGui, ClosingTheInformationWindowEndsWithTen) {
  ASSERT_FALSE(PrivateXvfb::display().empty());
  const struct {
    const char *way;
    void (*close)(const std::string &window);
  } ways[] = {
      {"through the window manager", [](const std::string &w) { askWindowToClose(std::stoul(w)); }},
      {"destroyed from outside", [](const std::string &w) { commandOutput("xdotool windowclose " + w + " 2>/dev/null"); }},
  };
  for (const auto &way : ways) {
    RunningQuoit quoit({"531"}, currentTestName() + "." + std::to_string(&way - ways));
    ASSERT_FALSE(quoit.window().empty()) << way.way;
    std::string information = findWindow("^quoit information$", 10);
    ASSERT_FALSE(information.empty()) << way.way;
    way.close(information);
    EXPECT_TRUE(quoit.waitForWindowGone(10)) << way.way;
    RunResult run = quoit.finish();
    EXPECT_EQ(run.exitCode, 10) << way.way << "\n" << run.standardError;
  }
}

// Without the Tcl dialog thread (which needs a display of its own) the window opening is the first to fail.
TEST(QuoitProgram, MissingDisplayEndsWithTheWindowError) {
  std::string home = makeScratchHome(currentTestName());
  std::string prefs = readWholeFile(home + "/quoit.prefsV9");
  size_t notcl = prefs.find("notcl=0");
  if (notcl != std::string::npos) writeWholeFile(home + "/quoit.prefsV9", prefs.replace(notcl, 7, "notcl=1"));
  RunOptions options;
  options.environment.push_back({"DISPLAY", ":8191"});
  RunResult run = runProgram(programPath("quoit"), {"531"}, home, options);
  EXPECT_EQ(run.exitCode, 16) << run.trace;
  EXPECT_NE((run.standardError + run.trace).find("Error opening Quoit 3D Window"), std::string::npos);
}

}  // namespace
