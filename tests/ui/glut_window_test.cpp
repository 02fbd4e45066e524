#include <GL/freeglut.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/framestep.h"
#include "core/native_windows.h"
#include "app/patternloop.h"
#include "core/prefs.h"
#include "app/startup.h"
#include "tests/ui/glut_xvfb.h"
#include "tests/ui/running_quoit.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"

namespace {

std::string tracePath(const char *name) { return std::string(QUOIT_BINARY_DIR) + "/" + name + ".trace.txt"; }

void prepareRun() {
  qPrefs.width = 320;
  qPrefs.height = 256;
  qMode.speed = 100;
  qMode.move = 0x100;
  qMode.view = 0x400;
  qMode.display = 1;
  qMode.flags = 0x200000;
  currentPatternFile = "m/531.pat";
}

// The first menu build hides the window until the pattern loop shows it with the first pattern;
// these runs load none and show it themselves.
int openWindow() {
  if (qGlutResetFlags() || qGlutOpenWindows()) return 3;
  glutShowWindow();
  return 0;
}

void runEvents(int passes) {
  for (int i = 0; i < passes; i++) {
    glutMainLoopEvent();
    usleep(10000);
  }
}

class WindowGui : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start";
  }
};

TEST_F(WindowGui, OpensWithItsTitleKeepsRunningAndQuitsWithEsc) {
  pid_t child = runChild(tracePath("window"), [] {
    prepareRun();
    if (openWindow()) return 3;
    qGlutSetTitle();
    qGlutMainLoopStart();
    return 4;
  });
  std::string id = findWindow("^Quoit: 531    \\[100%\\]$", 15);
  ASSERT_FALSE(id.empty());
  std::this_thread::sleep_for(std::chrono::seconds(1));
  ASSERT_TRUE(childRunning(child));
  commandOutput("xdotool key --window " + id + " Escape");
  EXPECT_EQ(waitChild(child, 10), 0);
}

TEST_F(WindowGui, BenchmarkEndsByItselfAndLogsItsFrameRate) {
  std::string trace = tracePath("benchmark");
  pid_t child = runChild(trace, [] {
    prepareRun();
    qMode.benchmark = 1;
    frameStepTime = [](uint32_t *s, uint32_t *us) {  // ten times faster than real time
      int64_t t = qTickMs() * 10;
      *s = uint32_t(t / 1000);
      *us = uint32_t(t % 1000) * 1000;
    };
    if (openWindow()) return 3;
    stopWatch(-1);
    qGlutMainLoopStart();
    return 4;
  });
  EXPECT_EQ(waitChild(child, 20), 0);
  std::string text = readFile(trace);
  EXPECT_NE(text.find("benchmark 1: "), std::string::npos) << text;
  EXPECT_NE(text.find(" frames per second, "), std::string::npos) << text;
}

// Once the idle pass has seen request 2, its 250 ms timer ends the pattern although GLUT calls no idle
// function any more.
TEST_F(WindowGui, RestartRequestTwoEndsThePatternWhenIdleStops) {
  std::string trace = tracePath("restart");
  pid_t child = runChild(trace, [] {
    prepareRun();
    if (openWindow()) return 3;
    static int64_t armedAt;
    glutTimerFunc(300, [](int) {
      nextPatternAction = ACTION_QUIT;
      restartRequest = 2;
      armedAt = qTickMs();
      qGlutIdle();            // sees the request and arms its timer
      glutIdleFunc(nullptr);  // from now on GLUT calls no idle function
      atexit([] { printf("ended %lld ms after the request\n", (long long)(qTickMs() - armedAt)); });
    }, 0);
    qGlutMainLoopStart();
    return 4;
  });
  ASSERT_EQ(waitChild(child, 15), 0);
  long long ms = -1;
  std::string text = readFile(trace);
  size_t at = text.find("ended ");
  ASSERT_NE(at, std::string::npos) << text;
  sscanf(text.c_str() + at, "ended %lld", &ms);
  EXPECT_GE(ms, 240);
  EXPECT_LT(ms, 2000);
}

// A pattern change ends a running editor first and keeps its own action although the editor's
// leaving asks for a reload; an editor that stays refuses the change.
TEST_F(WindowGui, PatternChangeEndsTheEditorFirst) {
  struct Case {
    bool editorStays;
    int exitCode;
  } cases[] = {{false, 0}, {true, 10}};
  for (const Case &c : cases) {
    std::string trace = tracePath("editor");
    pid_t child = runChild(trace, [c] {
      prepareRun();
      if (openWindow()) return 3;
      static bool stays;
      stays = c.editorStays;
      modeCalls.endEditor = [] {
        printf("editor ended\n");
        if (!stays) {
          qMode.main = 0;
          nextPatternAction = ACTION_RELOAD;
          restartRequest = 1;
        }
        return 0;
      };
      qMode.main = MAIN_SCENE_EDITOR;
      nextPatternAction = ACTION_QUIT;
      restartRequest = 1;
      qGlutIdle();  // a change that goes on ends the program here
      return restartRequest == 0 && qMode.main == MAIN_SCENE_EDITOR ? 10 : 11;
    });
    EXPECT_EQ(waitChild(child, 15), c.exitCode) << c.editorStays;
    EXPECT_NE(readFile(trace).find("editor ended"), std::string::npos) << c.editorStays;
  }
}

// With a minimum frame time of 50 ms two seconds hold about 40 frames, however fast they are drawn
// (hundreds without the limiter). They are counted from the first second on: the window's first
// exposures and the first frames, which sleep less while the smoothed rate climbs from 0, come before.
static int framesAfterFirstSecond;

TEST_F(WindowGui, FrameLimiterKeepsTheMaximumRate) {
  pid_t child = runChild(tracePath("limiter"), [] {
    prepareRun();
    qPrefs.minFrameMs = 50;
    if (openWindow()) return 3;
    glutTimerFunc(1000, [](int) { framesAfterFirstSecond = frameCounter; }, 0);
    glutTimerFunc(3000, [](int) {
      int frames = frameCounter - framesAfterFirstSecond;
      _exit(frames > 100 ? 100 : frames);
    }, 0);
    qGlutMainLoopStart();
    return 4;
  });
  int frames = waitChild(child, 10);
  EXPECT_GE(frames, 1);   // the loop ran (a loaded machine draws far fewer: the limit is the point)
  // 20 a second and one more at each end of the count; the sleep subtracts the work time as the
  // millisecond clock saw it, which rounds it up by a frame or two in two seconds.
  EXPECT_LE(frames, 45);
}

TEST_F(WindowGui, FrameIsClearedAndTheStatusLineDrawn) {
  pid_t child = runChild(tracePath("image"), [] {
    prepareRun();
    if (openWindow()) return 3;
    runEvents(20);
    std::vector<uint8_t> rgb;
    int w, h;
    if (!qReadWindowPixels || qReadWindowPixels(&w, &h, rgb) != 0 || w != 320 || h != 256) return 5;
    const unsigned char *corner = &rgb[0];
    if (corner[0] != 0 || corner[1] != 0 || corner[2] < 24 || corner[2] > 26) return 6;
    qStatusText("message", 3, STATUS_MESSAGE);
    if (qGlutReadWindowImage(&w, &h, rgb) != 0) return 7;
    corner = &rgb[(2 * w + 2) * 3];  // inside the backdrop of the top line
    if (corner[0] < 40 || corner[2] < 60) return 8;
    return 0;
  });
  EXPECT_EQ(waitChild(child, 15), 0);
}

// A status line draws its backdrop only when it holds text: the scene editor sets an empty hint
// line on every frame.
TEST_F(WindowGui, EmptyStatusLinesDrawNoBackdrop) {
  pid_t child = runChild(tracePath("emptyline"), [] {
    prepareRun();
    if (openWindow()) return 3;
    runEvents(5);
    struct Case {
      const char *text;
      int flags, row;  // row counted from the top of the image
      bool backdrop;
    } cases[] = {{"", STATUS_HINT, 253, false},   {"hint", STATUS_HINT, 253, true},
                 {"", STATUS_MESSAGE, 2, false}, {"message", STATUS_MESSAGE, 2, true}};
    int result = 10;
    for (const Case &c : cases) {
      qStatusText(c.text, 3, c.flags);
      std::vector<uint8_t> rgb;
      int w, h;
      if (qGlutReadWindowImage(&w, &h, rgb) != 0) return 5;
      bool backdrop = rgb[(size_t(c.row) * w + 2) * 3] >= 40;
      if (backdrop != c.backdrop) return result;
      result++;
    }
    return 0;
  });
  EXPECT_EQ(waitChild(child, 15), 0);
}

// The window image is read from the back buffer and saved as a PNG of the window's size and colours.
TEST_F(WindowGui, SavedWindowImageIsAPngOfTheFrame) {
  std::string directory = std::string(QUOIT_BINARY_DIR) + "/scratch/window-image/";
  std::string file = directory + "531-0.png";
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  pid_t child = runChild(tracePath("save"), [directory] {
    prepareRun();
    qPrefs.hardcopy = directory;
    if (openWindow()) return 3;
    runEvents(5);
    return qSaveWindowImage(552, 0) == 1 ? 0 : 5;
  });
  ASSERT_EQ(waitChild(child, 15), 0);
  running_quoit::Image image = running_quoit::readPng(file);
  ASSERT_FALSE(image.rgb.empty()) << file;
  EXPECT_EQ(image.width, 320u);
  EXPECT_EQ(image.height, 256u);
  EXPECT_EQ(image.rgb[0], 0);
  EXPECT_NEAR(image.rgb[2], 25, 1);  // the clear colour (0, 0, 0.1)
}

// An image asked for during a frame ('h') is saved by the display that follows, with the overlays
// that frame asked for; nothing is saved before that display.
TEST_F(WindowGui, WindowImageIsSavedAfterTheNextFrame) {
  std::string directory = std::string(QUOIT_BINARY_DIR) + "/scratch/window-image-after-frame/";
  std::string file = directory + "531-0.png";
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  pid_t child = runChild(tracePath("save_after_frame"), [directory, file] {
    prepareRun();
    qPrefs.hardcopy = directory;
    if (openWindow()) return 3;
    runEvents(5);
    qStatusText("message", 3, STATUS_MESSAGE);
    if (qGlutSaveImageAfterFrame(552, 0) != 0) return 5;
    if (std::filesystem::exists(file)) return 6;
    qGlutDisplay();
    return std::filesystem::exists(file) ? 0 : 7;
  });
  ASSERT_EQ(waitChild(child, 15), 0);
  running_quoit::Image image = running_quoit::readPng(file);
  ASSERT_FALSE(image.rgb.empty()) << file;
  ASSERT_EQ(image.width, 320u);
  const uint8_t *corner = &image.rgb[(2 * 320 + 2) * 3];  // inside the backdrop of the message line
  EXPECT_GE(corner[0], 40);
  EXPECT_GE(corner[2], 60);
}

// The backdrop of a multi-line text: on the right for a short text, from the left edge in two columns for a
// text higher than the window.
TEST_F(WindowGui, TallTextsAreDrawnInTwoColumns) {
  pid_t child = runChild(tracePath("columns"), [] {
    prepareRun();
    if (openWindow()) return 3;
    runEvents(5);
    auto leftEdgeIsBackdrop = [](const char *text, int lines) {
      qTextOutput(text, lines, 20, 1);
      std::vector<uint8_t> rgb;
      int w, h;
      if (qGlutReadWindowImage(&w, &h, rgb) != 0) return -1;
      return rgb[((h / 2) * w + 1) * 3] > 30 ? 1 : 0;
    };
    static std::string tall;
    for (int i = 0; i < 20; i++) tall += "line of the help\n";
    if (leftEdgeIsBackdrop("short\ntext\n", 0) != 0) return 5;
    if (leftEdgeIsBackdrop(tall.c_str(), 18) != 1) return 6;
    return 0;
  });
  EXPECT_EQ(waitChild(child, 15), 0);
}

// The overlay text is kept as it was given: the screens build it in buffers that are gone or
// rebuilt before the window is drawn.
TEST_F(WindowGui, OverlayTextOutlivesTheCallersBuffer) {
  pid_t child = runChild(tracePath("textcopy"), [] {
    prepareRun();
    if (openWindow()) return 3;
    runEvents(5);
    auto image = [](std::vector<uint8_t> &rgb) {
      int w, h;
      return qGlutReadWindowImage(&w, &h, rgb);
    };
    std::vector<uint8_t> kept, overwritten, other;
    static const char text[] = "short\ntext\n";
    qTextOutput(text, 0, 20, 1);
    if (image(kept)) return 5;
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%s", text);
    qTextOutput(buffer, 0, 20, 1);
    snprintf(buffer, sizeof buffer, "%s", "other\nwords\n");
    if (image(overwritten)) return 6;
    if (overwritten != kept) return 7;
    qTextOutput(buffer, 0, 20, 1);
    if (image(other)) return 8;
    return other != kept ? 0 : 9;
  });
  EXPECT_EQ(waitChild(child, 15), 0);
}

TEST_F(WindowGui, FullScreenTwiceRestoresTheWindow) {
  pid_t child = runChild(tracePath("fullscreen"), [] {
    prepareRun();
    if (openWindow()) return 3;
    runEvents(20);
    int x = glutGet(GLUT_WINDOW_X), y = glutGet(GLUT_WINDOW_Y);
    qGlutToggleFullScreen();
    runEvents(20);
    if (!(qMode.flags & 0x4000000) || glutGet(GLUT_WINDOW_WIDTH) != 1280 || qPrefs.width != 1280) return 5;
    qGlutToggleFullScreen();
    runEvents(20);
    if (qMode.flags & 0x4000000) return 6;
    if (glutGet(GLUT_WINDOW_WIDTH) != 320 || glutGet(GLUT_WINDOW_HEIGHT) != 256 || qPrefs.width != 320) return 7;
    if (glutGet(GLUT_WINDOW_X) != x || glutGet(GLUT_WINDOW_Y) != y) return 8;
    return 0;
  });
  EXPECT_EQ(waitChild(child, 15), 0);
}

}  // namespace
