#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/patternloop.h"
#include "core/native_windows.h"
#include "core/pointer.h"
#include "core/prefs.h"
#include "app/startup.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"
#include "ui/remote.h"

namespace {

TEST(GlutKeys, OnlyTheLastKeyBetweenTwoFramesIsKept) {
  qGlutTakeKey();
  qGlutKeyboard('q', 0, 0);
  qGlutKeyboard('w', 0, 0);
  EXPECT_EQ(qGlutTakeKey(), 'w');
  EXPECT_EQ(qGlutTakeKey(), 0);
}

// A special key arrives as its code + 128 in one byte, marked as a special key.
TEST(GlutKeys, SpecialKeysArriveMarkedAsCodePlus128InOneByte) {
  struct Case {
    int special, key;
  } cases[] = {{1, SPECIAL_KEY + 129}, {10, SPECIAL_KEY + 138}, {100, SPECIAL_KEY + 228},
               {104, SPECIAL_KEY + 232}, {105, SPECIAL_KEY + 233}, {200, SPECIAL_KEY + 72}};
  for (const Case &c : cases) {
    qGlutSpecial(c.special, 0, 0);
    EXPECT_EQ(qGlutTakeKey(), c.key) << c.special;
  }
  qGlutSpecial(0x70, 0, 0);  // a modifier key alone is no key
  qGlutSpecial(0x77, 0, 0);
  EXPECT_EQ(qGlutTakeKey(), 0);
}

class StatusLines : public ::testing::Test {
 protected:
  void SetUp() override {
    remoteState = REMOTE_NOT_OPENED;
    messageLine[0] = hintLine[0] = 0;
    lineHoldFlags = statusOverlayFlags = overlayRequests = 0;
  }
};

TEST_F(StatusLines, ALineSetOnceGoesOnTheSecondIdlePass) {
  qGlutStatusText("rotate\n", 3, STATUS_MESSAGE);
  qGlutExpireStatusLines();
  EXPECT_STREQ(messageLine, "rotate");
  qGlutExpireStatusLines();
  EXPECT_STREQ(messageLine, "");
}

TEST_F(StatusLines, ALineSetEveryFrameStays) {
  for (int frame = 0; frame < 5; frame++) {
    qGlutStatusText("hint", 1, STATUS_HINT);
    qGlutStatusText("message", 3, STATUS_MESSAGE);
    qGlutExpireStatusLines();
  }
  EXPECT_STREQ(hintLine, "hint");
  EXPECT_STREQ(messageLine, "message");
  for (int frame = 0; frame < 2; frame++) {  // the hint is no longer set
    qGlutStatusText("message", 3, STATUS_MESSAGE);
    qGlutExpireStatusLines();
  }
  EXPECT_STREQ(hintLine, "");
  EXPECT_STREQ(messageLine, "message");
}

TEST_F(StatusLines, TextsAreDataCutToTheirLines) {
  std::string longText(300, 'x');
  qGlutStatusText(longText.c_str(), 3, STATUS_MESSAGE);
  qGlutStatusText(longText.c_str(), 1, STATUS_HINT);
  EXPECT_EQ(std::string(messageLine), std::string(MESSAGE_LINE_SIZE - 1, 'x'));
  EXPECT_EQ(std::string(hintLine), std::string(HINT_LINE_SIZE - 1, 'x'));
  qGlutStatusText("50%s %n %d\n", 1, STATUS_HINT);
  EXPECT_STREQ(hintLine, "50%s %n %d");
}

TEST_F(StatusLines, OverlayRequestedOnlyWithoutTheRemoteControl) {
  qGlutStatusText("a", 3, STATUS_MESSAGE);
  EXPECT_EQ(overlayRequests, OVERLAY_STATUS);
  EXPECT_EQ(statusOverlayFlags, STATUS_MESSAGE);
  overlayRequests = statusOverlayFlags = 0;
  remoteState = REMOTE_SHOWN;
  qGlutStatusText("b", 3, STATUS_HINT);
  EXPECT_EQ(overlayRequests, 0);
  EXPECT_STREQ(hintLine, "b");
  remoteState = REMOTE_NOT_OPENED;
}

class FrameClock : public ::testing::Test {
 protected:
  static int nowMs;
  static std::vector<int> sleeps;
  static int clock() { return nowMs; }
  static void sleep(int ms) { sleeps.push_back(ms); }
  void SetUp() override {
    qGlutClockMs = clock;
    qGlutSleepMs = sleep;
    sleeps.clear();
    nowMs = 5000;
    fpsSmoothed = fpsMeasured = 0;
    fpsAccumulator = 1000;
    fpsTimeBase = 0;
    qPrefs.minFrameMs = 0;
    qMode.flags = 0x200000;
  }
};
int FrameClock::nowMs;
std::vector<int> FrameClock::sleeps;

TEST_F(FrameClock, LimiterSleepsTheRestOfTheMinimumFrameTime) {
  struct Case {
    double smoothedFps;
    int slept;
  } cases[] = {{0, 33}, {1e-7, 33}, {-5, 33}, {100, 23}, {30.5, 1}, {20, 0}, {1000, 32}};
  qPrefs.minFrameMs = 33;
  for (const Case &c : cases) {
    fpsSmoothed = c.smoothedFps;
    sleeps.clear();
    EXPECT_EQ(qGlutLimitFrame(), c.slept) << c.smoothedFps;
    EXPECT_EQ(sleeps, c.slept ? std::vector<int>{c.slept} : std::vector<int>{}) << c.smoothedFps;
  }
}

TEST_F(FrameClock, LimiterStartsTheMeasurementBeforeTheFrame) {
  qPrefs.minFrameMs = 20;
  qGlutLimitFrame();
  EXPECT_EQ(fpsTimeBase, 5000);
  nowMs = 5008;
  qGlutMeasureFrame();  // 8 ms of work, the sleep not counted
  EXPECT_DOUBLE_EQ(fpsMeasured, 125);
  EXPECT_EQ(fpsTimeBase, 0);
  nowMs = 5020;
  qGlutLimitFrame();
  EXPECT_EQ(fpsTimeBase, 5020);
}

TEST_F(FrameClock, RateWithoutLimiterCountsFramesOfTheSameMillisecond) {
  fpsTimeBase = 5000;
  nowMs = 5010;
  qGlutMeasureFrame();
  EXPECT_DOUBLE_EQ(fpsMeasured, 100);
  EXPECT_EQ(fpsTimeBase, 5010);
  qGlutMeasureFrame();  // a second frame in the same millisecond
  EXPECT_DOUBLE_EQ(fpsAccumulator, 2000);
  nowMs = 5015;
  qGlutMeasureFrame();
  EXPECT_DOUBLE_EQ(fpsMeasured, 400);
  EXPECT_DOUBLE_EQ(fpsAccumulator, 1000);
}

TEST_F(FrameClock, FrameRateBarIsRedrawnEveryQuarterSecond) {
  struct Step {
    int nowMs;
    bool due;
  } steps[] = {{5000, true}, {5001, false}, {5249, false}, {5250, true}, {5600, true},
               {5849, false}, {4000, true}, {4001, false}};
  nowMs = 100000;
  qGlutFpsBarDue();  // whatever an earlier test left
  for (const Step &s : steps) {
    nowMs = s.nowMs;
    EXPECT_EQ(qGlutFpsBarDue(), s.due) << s.nowMs;
  }
}

TEST_F(FrameClock, RateIsZeroWithTheMetersOff) {
  fpsMeasured = 55;
  qMode.flags = 0;
  qGlutMeasureFrame();
  EXPECT_EQ(fpsMeasured, 0);
}

TEST(MultiLineText, LinesAreCutWithoutLosingCharacters) {
  struct Case {
    const char *text;
    int cpl;
    std::vector<std::string> lines;
  } cases[] = {
      {"abc\ndef\n", 10, {"abc", "def"}},
      {"abcdefgh\nxy\n", 3, {"abc", "def", "gh", "xy"}},
      {"abcdef\nxy", 3, {"abc", "def", "xy"}},
      {"\n\nz", 5, {"", "", "z"}},
      {"abc", 0, {}},
  };
  for (const Case &c : cases) {
    std::vector<std::string> lines;
    const char *p = c.text;
    for (int guard = 0; *p && guard < 20; guard++) {
      int length;
      const char *next = nextTextLine(p, c.cpl, &length);
      if (next == p) break;
      lines.push_back(std::string(p, length));
      p = next;
    }
    EXPECT_EQ(lines, c.lines) << c.text;
  }
}

class WindowTitle : public ::testing::Test {
 protected:
  void SetUp() override {
    shownSiteswap[0] = listSiteswap[0] = 0;
    qPrefs.ss_opt = qPrefs.current = qPrefs.thlist = 0;
    patternStepped = 0;
    qMode.speed = 100;
    currentPatternFile = "m/12/531.pat";
  }
};

TEST_F(WindowTitle, NamesThePatternAndTheSpeed) {
  qGlutSetTitle();
  EXPECT_STREQ(qGlutWindowTitle, "Quoit: 531    [100%]");
  qPrefs.ss_opt = 3;
  qMode.speed = -50;
  qGlutSetTitle();
  EXPECT_STREQ(qGlutWindowTitle, "Quoit: 531 Patconv   [-50%]");
}

TEST_F(WindowTitle, NamesTheSiteswapOfAConvertedPattern) {
  snprintf(shownSiteswap, sizeof shownSiteswap, "%s", "97531");
  qGlutSetTitle();
  EXPECT_STREQ(qGlutWindowTitle, "Quoit: siteswap 97531    [100%]");
  shownSiteswap[0] = 0;
  snprintf(listSiteswap, sizeof listSiteswap, "%s", "(4,4)");
  qPrefs.current = 2;
  patternStepped = 1;
  qPrefs.thlist = 1;
  qGlutSetTitle();
  EXPECT_STREQ(qGlutWindowTitle, "Quoit: siteswap (4,4)    [100%]");
}

// Without the remote control the 3D window's drags reach the camera; while it is shown they do not.
TEST(GlutMouse, TheWindowSteersTheCameraOnlyWithoutTheRemoteControl) {
  for (int remote : {REMOTE_NOT_OPENED, REMOTE_HIDDEN, REMOTE_SHOWN}) {
    remoteState = remote;
    pointerReset();
    pointerButton(POINTER_LEFT, true, 0, 10, 10);
    qGlutMotion(30, 15);
    resetViewOffsets();
    qCameraHook();
    bool steers = remote != REMOTE_SHOWN;
    EXPECT_EQ(qMode.dragX, steers ? 20 : 0) << remote;
    EXPECT_EQ(qMode.dragY, steers ? 5 : 0) << remote;
    EXPECT_EQ(lastMouseX, 30);
  }
  pointerReset();
  remoteState = REMOTE_NOT_OPENED;
}

// A release the window swallows (the one that closed the object chooser) or one that comes while
// the remote control is shown still ends the drag.
TEST(GlutMouse, NoDragOutlivesItsButton) {
  for (bool remoteAtRelease : {false, true}) {
    remoteState = REMOTE_NOT_OPENED;
    pointerReset();
    qGlutMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 10);
    chooserState = remoteAtRelease ? 0 : 2;
    if (remoteAtRelease) remoteState = REMOTE_SHOWN;
    qGlutMouse(GLUT_LEFT_BUTTON, GLUT_UP, 10, 10);
    remoteState = REMOTE_NOT_OPENED;
    qGlutMotion(40, 30);
    resetViewOffsets();
    qCameraHook();
    EXPECT_EQ(qMode.dragX, 0) << remoteAtRelease;
    EXPECT_EQ(qMode.dragY, 0) << remoteAtRelease;
  }
  chooserState = 0;
  pointerReset();
}

TEST(GlutWindows, WindowZeroIsNotFound) {
  remoteState = REMOTE_SHOWN;  // so that id 0 is not taken for the hidden remote control
  testing::internal::CaptureStderr();
  EXPECT_EQ(qGlutSetWindow(0), 0);
  std::string err = testing::internal::GetCapturedStderr();
  remoteState = REMOTE_NOT_OPENED;
  EXPECT_NE(err.find("qGlutSetWindow(0) : window not found."), std::string::npos) << err;
}

TEST(GlutWindows, AMissingDisplayFailsWithTheWindowMessage) {
  const char *old = getenv("DISPLAY");
  std::string saved = old ? old : "";
  setenv("DISPLAY", ":8191", 1);
  testing::internal::CaptureStderr();
  int result = qGlutOpenWindows();
  std::string err = testing::internal::GetCapturedStderr();
  if (old) setenv("DISPLAY", saved.c_str(), 1);
  else unsetenv("DISPLAY");
  EXPECT_EQ(result, 1);
  EXPECT_NE(err.find("Error opening Quoit 3D Window"), std::string::npos) << err;
}

}  // namespace
