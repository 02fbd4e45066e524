#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "core/vecmath.h"
#include "app/framestep.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/pointer.h"
#include "app/patternloop.h"
#include "core/prefs.h"
#include "app/startup.h"
#include "pattern/clock.h"
#include "pattern/store.h"
#include "scene/placements.h"
#include "ui/camera.h"
#include "ui/glut_windows.h"
#include "ui/keys.h"
#include "ui/modes.h"
#include "ui/remote.h"

namespace {

// A clock the test moves by hand, in milliseconds.
int64_t fakeNowMs;
void fakeTime(uint32_t *seconds, uint32_t *microseconds) {
  *seconds = uint32_t(fakeNowMs / 1000);
  *microseconds = uint32_t(fakeNowMs % 1000) * 1000;
}

std::string withoutLineEnd(const char *text) {
  std::string s = text;
  if (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

class FrameStep : public ::testing::Test {
 protected:
  void SetUp() override {
    qMode = decltype(qMode)();
    qMode.speed = 100;
    qMode.move = 0x100;
    qMode.view = 0x400;
    qMode.display = 1;
    qDisplay = decltype(qDisplay)();
    qPrefs.sh_kind = 0;
    chooserState = 0;
    nextObjectRequest = 0;
    keyTableState = 0;
    wrapFlag = 0;
    frameCounter = 0;
    restartRequest = 0;
    nextPatternAction = ACTION_NAMED_FILE;
    randomInterval = orderInterval = 0;
    realTimeTotal = 0;
    memset(quoitPos, 0, sizeof quoitPos);
    for (QuoitPosRecord &p : quoitPos) p.headTilt = 1717.1717;
    qInternal[QINTERNAL_JUGGLERS] = 0;
    cameraState = CameraState();
    cameraState.distance = 3.34;
    cameraState.zoom = 185;
    messageLine[0] = hintLine[0] = 0;
    lineHoldFlags = 0;
    fakeNowMs = 1000000;
    frameStepTime = fakeTime;
  }
  void TearDown() override { frameStepTime = qGetTime; }
};

TEST(ViewPacking, MillimetresTruncateAndClampInto16Bits) {
  struct Case {
    double metres;
    int packed;
  } cases[] = {{1.2345, 1234}, {-0.0009, 0}, {-1.2345, -1234}, {32.767, 32767}, {40.0, 32767}, {-40.0, -32768}};
  for (const Case &c : cases) EXPECT_EQ(packMillimetres(c.metres), c.packed) << c.metres;
  EXPECT_EQ(packMillimetres(NAN), 0);
}

TEST(ViewPacking, DistanceUpToTheCameraLimitKeepsItsValue) {
  EXPECT_EQ(packDistance(3.34), 3340);
  EXPECT_EQ(packDistance(50.0), 50000);
  EXPECT_EQ(packDistance(70.0), 65535);
  EXPECT_EQ(packDistance(-1.0), 0);
}

TEST_F(FrameStep, FreeViewIsPackedFromTheCamera) {
  cameraState.lookAt[0] = 1.2345;
  cameraState.lookAt[1] = -0.0009;
  cameraState.lookAt[2] = 1.0;
  cameraState.azimuth = -0.1;
  cameraState.elevation = 2 * PI + 0.1;
  cameraState.distance = 45.0;
  cameraState.zoom = 185.9;
  packViewState();
  EXPECT_EQ(viewState.x, 1234);
  EXPECT_EQ(viewState.y, 0);
  EXPECT_EQ(viewState.z, 1000);
  EXPECT_EQ(viewState.azimuth, 2015);
  EXPECT_EQ(viewState.elevation, 32);
  EXPECT_EQ(viewState.radius, 45000);
  EXPECT_EQ(viewState.zoom, 185);
}

// In light mode the remote's panel sets the light and frames without a drag keep it, even with a
// button held; a drag in the 3D window then steers the light on from where the panel put it.
TEST_F(FrameStep, LightModeKeepsThePanelsLightUntilADragSteersIt) {
  qMode.move = 0x300;
  panelSize[0] = panelSize[1] = 100;
  pointerReset();
  qGlutqrc2DPanel(0, 100, 50);  // 48 right of the dead zone: distance 960, three quarters of a turn
  qGlutqrc2DPanel(2, 100, 50);  // spot radius 1000
  ASSERT_EQ(lightState.distance, 960);
  ASSERT_EQ(lightState.angle, 1536);
  ASSERT_EQ(lightState.spotRadius, 1000);
  moveCamera();
  pointerButton(POINTER_LEFT, true, POINTER_SHIFT, 100, 100);
  moveCamera();
  pointerButton(POINTER_LEFT, false, 0, 100, 100);
  EXPECT_EQ(lightState.distance, 960);
  EXPECT_EQ(lightState.angle, 1536);
  EXPECT_EQ(lightState.spotRadius, 1000);
  pointerButton(POINTER_LEFT, true, 0, 100, 100);
  pointerMotion(110, 100);  // lightTurn + 10: the light turns back by 0.1 rad, 33 steps
  moveCamera();
  pointerButton(POINTER_LEFT, false, 0, 110, 100);
  EXPECT_NEAR(lightState.distance, 960, 1);
  EXPECT_NEAR(lightState.angle, 1536 - 33, 2);
  pointerReset();
}

TEST_F(FrameStep, StatusWordBits) {
  struct Case {
    int64_t flags, display;
    int shadowKind, wrap, nextObject, keyState;
    int64_t status;
  } cases[] = {
      {0, 1, 0, 0, 0, 0, 0},
      {0x200000000LL, 1, 0, 0, 0, 0, 1},
      {0x100000, 1, 0, 0, 0, 0, 2},
      {0, 9, 3, 0, 0, 0, 12},       // shadow kind in bits 2-4 for class-0 display modes
      {0, 9, 13, 0, 0, 0, 20},      // modulo 8
      {0, 2, 3, 0, 0, 0, 0x10000},  // class 1: no shadow kind
      {0, 4, 0, 0, 0, 0, 4},        // display mode with bit 4
      {0x800000, 1, 0, 0, 0, 0, 0x80},
      {0, 6, 0, 0, 0, 0, 0x204},
      {0, 1, 0, 1, 0, 0, 0x400},
      {0, 1, 0, 0, 1, 0, 0x800},
      {0x10000000, 1, 0, 0, 0, 0, 0x1000},
      {0, 8, 0, 0, 0, 0, 0x2000},
      {0, 1, 0, 0, 0, 1, 0x40000000},
      {0, 1, 0, 0, 0, 6, int64_t(int32_t(0x80000000u))},  // bit 31 repeated in the upper half
  };
  for (const Case &c : cases) {
    qMode.flags = c.flags;
    qMode.display = c.display;
    qPrefs.sh_kind = c.shadowKind;
    wrapFlag = c.wrap;
    nextObjectRequest = c.nextObject;
    keyTableState = c.keyState;
    EXPECT_EQ(viewStatusWord(), c.status) << std::hex << c.flags << " display " << c.display;
  }
}

TEST_F(FrameStep, ViewPresetNeedsALoadedFigure) {
  cameraState.distance = 7;
  qInternal[QINTERNAL_JUGGLERS] = 2;
  qMode.viewPreset = 1;  // head angle still unset
  servePresets();
  EXPECT_EQ(qMode.viewPreset, 0);
  EXPECT_EQ(cameraState.distance, 7);

  quoitPos[2].headTilt = 0.3;  // a record beyond the loaded jugglers
  qMode.viewPreset = 3;
  servePresets();
  EXPECT_EQ(qMode.viewPreset, 0);
  EXPECT_EQ(cameraState.distance, 7);

  quoitPos[1].headTilt = 0.3;
  quoitPos[1].reference[0] = 1.5;
  quoitPos[1].reference[2] = 1.2;
  qMode.viewPreset = 2;
  servePresets();
  EXPECT_EQ(cameraState.distance, 2.5);
  EXPECT_EQ(cameraState.zoom, 180);
  EXPECT_EQ(cameraState.azimuth, 1.0);
  EXPECT_EQ(cameraState.elevation, 1.0);
  EXPECT_EQ(cameraState.lookAt[0], 1.5);
  EXPECT_EQ(cameraState.lookAt[2], 1.2);
}

TEST_F(FrameStep, CameraPresetLooksFromTheJugglersEyes) {
  qInternal[QINTERNAL_JUGGLERS] = 1;
  quoitPos[0].headTilt = 0.2;
  quoitPos[0].ZWinkel = 0.5;
  quoitPos[0].base[0] = 1;  // the head stands above the base point, the reference point behind it
  quoitPos[0].base[1] = 2;
  quoitPos[0].reference[0] = 1 - 0.4 * cos(0.5);
  quoitPos[0].reference[1] = 2 - 0.4 * sin(0.5);
  quoitPos[0].reference[2] = 1.2;
  rotationDrift[0] = 40;
  qMode.cameraPreset = 1;
  servePresets();
  double c = cos(0.2) * 0.25;
  EXPECT_EQ(qMode.cameraPreset, 0);
  EXPECT_EQ(rotationDrift[0], 0);
  EXPECT_DOUBLE_EQ(cameraState.distance, 0.25);
  EXPECT_DOUBLE_EQ(cameraState.zoom, 150);
  EXPECT_DOUBLE_EQ(cameraState.lookAt[0], 1 + cos(0.5) * 1.5 * c);
  EXPECT_DOUBLE_EQ(cameraState.lookAt[1], 2 + sin(0.5) * 1.5 * c);
  EXPECT_DOUBLE_EQ(cameraState.lookAt[2], 1.2 + 0.5 - sin(0.2) * 0.25);
  EXPECT_DOUBLE_EQ(cameraState.elevation, PI / 2 - 0.2);
  EXPECT_DOUBLE_EQ(cameraState.azimuth, 0.5 + PI);
}

TEST(CycleWrap, DirectionFollowsTheSpeed) {
  EXPECT_EQ(cycleWrapFlag(1.9, 0.1, 100), WRAP_FORWARD);
  EXPECT_EQ(cycleWrapFlag(0.1, 0.2, 100), WRAP_NONE);
  EXPECT_EQ(cycleWrapFlag(0.1, 1.9, -100), WRAP_BACKWARD);
  EXPECT_EQ(cycleWrapFlag(1.9, 0.1, -100), WRAP_NONE);
  EXPECT_EQ(cycleWrapFlag(0.5, 0.5, 0), WRAP_NONE);
}

TEST_F(FrameStep, WrapFlagLastsOneFrame) {
  WRAP = 1;
  qMode.speed = 0;  // the animation time stands still
  wrapFlag = WRAP_FORWARD;
  advanceFrame();
  EXPECT_EQ(wrapFlag, WRAP_NONE);
  EXPECT_EQ(viewState.status & 0x400, 0);
  WRAP = 0;
}

// The time meter gets the real time of each frame in 1/50 s; after a new pattern started its clock
// again the step counts from one cycle (4 takts of 0.25 s: 50 units) later.
TEST_F(FrameStep, TimeMeterCountsFiftiethsOfASecond) {
  takte = 4;
  dt = 0.25;
  timeMeterValue(0);
  struct Case {
    double elapsed;
    int meter;
  } cases[] = {{0.1, 5}, {0.1, 0}, {0.5, 20}, {0.2, 35}, {1.0, 40}};
  for (const Case &c : cases) EXPECT_EQ(timeMeterValue(c.elapsed), c.meter) << c.elapsed;
}

TEST_F(FrameStep, AutoAdvanceTimers) {
  struct Case {
    double randomSeconds, orderSeconds, loadedFor;
    int request, action;
  } cases[] = {
      {3, 0, 4, 1, ACTION_RANDOM},
      {3, 0, 2, 0, ACTION_NAMED_FILE},
      {0, 3, 4, 1, ACTION_NEXT},
      {3, 3, 4, 1, ACTION_NEXT},  // the order interval wins
      {0, 0, 100, 0, ACTION_NAMED_FILE},
  };
  for (const Case &c : cases) {
    restartRequest = 0;
    nextPatternAction = ACTION_NAMED_FILE;
    randomInterval = c.randomSeconds;
    orderInterval = c.orderSeconds;
    realTimeTotal = c.loadedFor;
    autoAdvanceTimer();
    EXPECT_EQ(restartRequest, c.request) << c.randomSeconds << " " << c.orderSeconds;
    EXPECT_EQ(nextPatternAction, c.action);
  }
}

TEST_F(FrameStep, BenchmarkEndsAfterFifteenSeconds) {
  benchmarkTimer();  // no benchmark: the deadline stays unset
  qMode.benchmark = 2;
  fakeNowMs = 5000000;
  benchmarkTimer();
  fakeNowMs += 15000;
  benchmarkTimer();
  EXPECT_EQ(restartRequest, 0);
  fakeNowMs += 1;
  benchmarkTimer();
  EXPECT_EQ(restartRequest, 1);
  EXPECT_EQ(nextPatternAction, ACTION_QUIT);
}

TEST_F(FrameStep, StopWatchLapsAndFrameRate) {
  stopWatch(-1);
  fakeNowMs += 40;
  EXPECT_EQ(stopWatch(0), 40000);
  fakeNowMs += 1960;
  EXPECT_EQ(stopWatch(0), 1960000);
  qMode.benchmark = 1;
  testing::internal::CaptureStdout();
  EXPECT_EQ(stopWatch(500), 0);
  std::string trace = testing::internal::GetCapturedStdout();
  EXPECT_NE(trace.find("benchmark 1: 250.0 frames per second, 500 frames in 2.0 s, renderer "), std::string::npos)
      << trace;
}

TEST_F(FrameStep, AfterRenderingShowsTheMoveModeAndCountsFrames) {
  qMode.move = 0x200;
  qAfterRendering(1);
  EXPECT_EQ(frameCounter, 1);
  EXPECT_EQ(messageLine, withoutLineEnd(localText(206)));
  qMode.move = 0x300;
  qAfterRendering(1);
  EXPECT_EQ(messageLine, withoutLineEnd(localText(207)));
  qMode.benchmark = 1;
  qAfterRendering(1);
  EXPECT_EQ(messageLine, withoutLineEnd(localText(211)));
  EXPECT_EQ(frameCounter, 3);
}

TEST_F(FrameStep, StatusLineShowsTitleOrFileAsData) {
  snprintf(Mustertitel, sizeof Mustertitel, "%s", "100%s juggled %n\n");
  qDisplay.statusline = 1;
  qAfterRendering(1);
  EXPECT_STREQ(hintLine, "100%s juggled %n");
  currentPatternFile = "m/531.pat";
  qDisplay.statusline = 2;
  qAfterRendering(1);
  EXPECT_STREQ(hintLine, "m/531.pat");
}

TEST_F(FrameStep, HelpScreenHidesTheStatusTexts) {
  qDisplay.help = 1;
  qMode.move = 0x200;
  qAfterRendering(1);
  EXPECT_STREQ(messageLine, "");
  EXPECT_EQ(frameCounter, 1);
}

}  // namespace
