#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <functional>
#include <thread>

#include "core/native_windows.h"
#include "core/runstate.h"
#include "core/prefs.h"
#include "core/tclthreads.h"
#include "scratch_dir.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/xwindows.h"

namespace {

void clearSignals() {
  for (auto &slot : qSignalSlots) slot = 0;
  restartRequest = 0;
}

TEST(TclSignals, KillTable) {
  const struct {
    int thread, signal;
    int slot2, slot3, restart;
  } cases[] = {
      {2, 10, 10, 0, 0}, {1, 10, 0, 0, 0}, {3, 10, 10, 0, 0}, {2, 41, 41, 0, 0}, {2, 60, 60, 0, 0},
      {3, 55, 55, 0, 0}, {2, 40, 40, 0, 0}, {2, 61, 0, 0, 0},  {2, 39, 0, 0, 0},  {1, 3, 0, 0, 1},
      {3, 3, 0, 0, 1},   {7, 3, 0, 0, 1},   {2, 35, 0, 0, 0},  {1, 0, 0, 0, 0},
  };
  for (const auto &c : cases) {
    clearSignals();
    EXPECT_EQ(qKill(c.thread, c.signal), 0);
    EXPECT_EQ(qSignalSlots[2], c.slot2) << c.thread << ", " << c.signal;
    EXPECT_EQ(qSignalSlots[3], c.slot3) << c.thread << ", " << c.signal;
    EXPECT_EQ(restartRequest, c.restart) << c.thread << ", " << c.signal;
  }
}

// The progress signals one computation sends, read from the dialog thread's slot after each step.
std::vector<int> progressSignals(int total, int steps) {
  std::vector<int> sent;
  clearSignals();
  reportProgress(total);
  for (int i = 0; i < steps; i++) {
    reportProgress(0);
    if (int s = qSignalSlots[2].exchange(0)) sent.push_back(s);
  }
  return sent;
}

TEST(TclSignals, Progress) {
  qPrefs = QuoitPrefs();
  qTclThreadIndex = 2;
  EXPECT_TRUE(progressSignals(3, 5).empty());
  std::vector<int> twenty;
  for (int s = 41; s <= 60; s++) twenty.push_back(s);
  EXPECT_EQ(progressSignals(20, 20), twenty);
  std::vector<int> beyond = progressSignals(4, 8);
  EXPECT_EQ(beyond, (std::vector<int>{45, 50, 55, 60, 60, 60, 60, 60}));
  qTclThreadIndex = 3;
  EXPECT_EQ(progressSignals(4, 1), std::vector<int>{45});
  qPrefs.notcl = 1;
  EXPECT_TRUE(progressSignals(20, 20).empty());
  qPrefs = QuoitPrefs();
}

TEST(TclSignals, HandlerWithoutInterpreterOrForUnknownSignals) {
  qTclSighandler(10);
  qTclSighandler(40);
  qTclSighandler(61);
  SUCCEED();
}

TEST(TclThreadStart, UnknownThreadNumberFailsWithoutHanging) {
  EXPECT_EQ(qStartTclThread(7), 1);
  EXPECT_EQ(qSignalSlots[TCL_SLOT_START_FAILED], 1);
}

class TclHome : public ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    std::filesystem::create_directories("tcl");
    std::filesystem::create_directories("tmp");
    std::filesystem::copy_file(std::string(QUOIT_SOURCE_DIR) + "/data/tcl/tcl_thread.tcl", "tcl/tcl_thread.tcl");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
};

using TclThreadStart_Home = TclHome;

TEST_F(TclThreadStart_Home, NoDisplayIsAFailedStart) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        exit(qStartTclThread(2));
      },
      testing::ExitedWithCode(1), "");
}

Window findWindow(Display *display, Window window, const char *title) {
  char *name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    bool match = strcmp(name, title) == 0;
    XFree(name);
    if (match) return window;
  }
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; i++) found = findWindow(display, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

// Asks the window to close, as a window manager does when the user closes it.
bool closeWindow(const char *title) {
  Display *display = XOpenDisplay(nullptr);
  if (!display) return false;
  Window window = findWindow(display, DefaultRootWindow(display), title);
  XCloseDisplay(display);
  return window != 0 && askWindowToClose(window);
}

bool waitForText(const std::string &path, const std::string &text) {
  for (int i = 0; i < 500; i++) {
    std::ifstream in(path);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (content.find(text) != std::string::npos) return true;
    qSleep(10);
  }
  fprintf(stderr, "not shown: %s\n", text.c_str());
  return false;
}

class TclThreadGui : public TclHome {
 protected:
  // The death-test child uses the parent's server, which it finds in the environment.
  static void SetUpTestSuite() {
    if (const char *running = getenv("QUOIT_TEST_DISPLAY")) {
      setenv("DISPLAY", running, 1);
      return;
    }
    const std::string &display = sharedDisplay();
    if (display.empty()) return;
    setenv("DISPLAY", display.c_str(), 1);
    setenv("QUOIT_TEST_DISPLAY", display.c_str(), 1);
  }
  static void TearDownTestSuite() {
    unsetenv("DISPLAY");
    unsetenv("QUOIT_TEST_DISPLAY");
  }
  void SetUp() override {
    TclHome::SetUp();
    ASSERT_NE(getenv("QUOIT_TEST_DISPLAY"), nullptr) << "Xvfb did not start";
    trace = dir + "/trace.txt";
    setenv("QUOIT_TCL_TRACE", trace.c_str(), 1);
  }
  std::string trace;
};

// Returns the step that failed; closing the window ends the process with 10 before the end.
int showTextAndProgressThenClose(const std::string &trace) {
  if (qStartTclThread(2) != 0) return 21;
  ScratchDir::writeFile("tmp/info.txt", "hello from the test\n");
  qKill(2, 10);
  if (!waitForText(trace, "info: hello from the test")) return 22;
  reportProgress(20);
  for (int step = 1; step <= 20; step++) {
    reportProgress(0);
    if (!waitForText(trace, "progress: " + std::to_string(step * 5) + "\n")) return 23;
  }
  if (!closeWindow("quoit information")) return 24;
  for (int i = 0; i < 500; i++) {
    serveMainThreadRequests();
    qSleep(10);
  }
  return 25;
}

TEST_F(TclThreadGui, ShowsTextAndProgressAndClosingEndsTheProgram) {
  EXPECT_EXIT(exit(showTextAndProgressThenClose(trace)), testing::ExitedWithCode(10), "");
}

std::thread::id mainThread;

// An exit from any other thread than the main one shows as code 40.
void exitOnlyOnTheMainThread() {
  if (std::this_thread::get_id() != mainThread) _exit(40);
}

TEST_F(TclThreadGui, ExitInTheScriptGoesThroughTheMainThread) {
  writeFile("tcl/tcl_thread.tcl", "after 100 {exit 3}\n");
  EXPECT_EXIT(
      {
        mainThread = std::this_thread::get_id();
        atexit(exitOnlyOnTheMainThread);
        if (qStartTclThread(2) != 0) exit(21);
        for (int i = 0; i < 500; i++) {
          serveMainThreadRequests();
          qSleep(10);
        }
        exit(25);
      },
      testing::ExitedWithCode(3), "");
}

// A thread script that cannot be read is a failed start (the program ends with 17), not the
// closed window of code 10.
TEST_F(TclThreadGui, UnreadableScriptIsAFailedStart) {
  remove("tcl/tcl_thread.tcl");
  mkdir("tcl/tcl_thread.tcl", 0700);
  EXPECT_EXIT(exit(20 + qStartTclThread(2)), testing::ExitedWithCode(21), "");
}

TEST_F(TclThreadGui, FailingStartScriptEndsTheProgram) {
  writeFile("tcl/tcl_thread.tcl", "error {broken on purpose}\n");
  EXPECT_EXIT(exit(20 + qStartTclThread(2)), testing::ExitedWithCode(10), "");
}

// The windows of that title; the server is held while the tree is walked, so that no window goes
// away under the walk (a BadWindow would end the test program).
int windowsNamed(const char *title) {
  Display *display = XOpenDisplay(nullptr);
  if (!display) return -1;
  XGrabServer(display);
  int count = 0;
  std::function<void(Window)> walk = [&](Window window) {
    char *name = nullptr;
    if (XFetchName(display, window, &name) && name) {
      count += strcmp(name, title) == 0;
      XFree(name);
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &n)) {
      for (unsigned i = 0; i < n; i++) walk(children[i]);
      if (children) XFree(children);
    }
  };
  walk(DefaultRootWindow(display));
  XUngrabServer(display);
  XCloseDisplay(display);
  return count;
}

// The walking editor's thread: a failing script is a failed start and the program goes on; so is
// one that cannot be read, and the next start tries again.
TEST_F(TclThreadGui, FailingWalkingEditorScriptIsAFailedStart) {
  writeFile("tcl/walking_editor.tcl", "error {broken on purpose}\n");
  EXPECT_EXIT(
      {
        int first = qStartTclThread(3);
        for (int i = 0; i < 50; i++) {
          serveMainThreadRequests();
          qSleep(10);
        }
        exit(20 + first + qStartTclThread(3));
      },
      testing::ExitedWithCode(22), "");
  remove("tcl/walking_editor.tcl");
  mkdir("tcl/walking_editor.tcl", 0700);
  EXPECT_EXIT(
      {
        int first = qStartTclThread(3);
        rmdir("tcl/walking_editor.tcl");
        ScratchDir::writeFile("tcl/walking_editor.tcl", "wm title . walk\n");
        int second = qStartTclThread(3);
        for (int i = 0; i < 500 && windowsNamed("walk") != 1; i++) qSleep(10);
        exit(first == 1 && second == 0 && windowsNamed("walk") == 1 ? 30 : 31);
      },
      testing::ExitedWithCode(30), "");
}

int walkingCommand;
void recordWalkingCommand(int command) { walkingCommand = command; }

// A second start while the thread runs closes its window and opens a new one; the script's save
// reaches the main thread as the menu command 97 through the request queue, and closing its
// window ends the thread. Asked to close, a thread closes its window.
int walkingEditorThreadSteps() {
  walkingMenuRequest = recordWalkingCommand;
  if (qStartTclThread(3) != 0) return 31;
  if (qStartTclThread(3) != 0) return 32;
  for (int i = 0; i < 100 && windowsNamed("walk") != 1; i++) qSleep(10);
  qSleep(200);
  if (windowsNamed("walk") != 1) return 33;
  ScratchDir::writeFile("tmp/go", "");
  for (int i = 0; i < 500 && walkingCommand != 97; i++) {
    serveMainThreadRequests();
    qSleep(10);
  }
  if (walkingCommand != 97) return 34;
  for (int i = 0; i < 500 && windowsNamed("walk") != 0; i++) qSleep(10);
  qSleep(100);
  if (qStartTclThread(3) != 0) return 35;  // a new thread once the first has ended
  for (int i = 0; i < 500 && windowsNamed("walk") != 1; i++) qSleep(10);
  if (windowsNamed("walk") != 1) return 36;
  closeWalkingEditorPanel();
  for (int i = 0; i < 500 && windowsNamed("walk") != 0; i++) qSleep(10);
  return windowsNamed("walk") == 0 ? 30 : 37;
}

TEST_F(TclThreadGui, OneWalkingEditorThreadWhoseSaveReachesTheMainThread) {
  writeFile("tcl/walking_editor.tcl",
            "wm title . walk\n"
            "proc poll {} {if {[file exists tmp/go]} {file delete tmp/go; qKill 1 35; destroy .} else {after 20 poll}}\n"
            "poll\n");
  EXPECT_EXIT(exit(walkingEditorThreadSteps()), testing::ExitedWithCode(30), "");
}

// A walking editor's script that hangs (on a file, say) does not stop the main thread: the start
// is given up after a bound and fails. When the script comes through later, its window closes, for
// the program went on without it, and its thread ends, so a new start gets a panel again.
int hangingWalkingEditorSteps() {
  alarm(60);  // a wait without a bound ends the child here
  int first = qStartTclThread(3);
  if (first != 1) return 31;
  ScratchDir::writeFile("tcl/walking_editor.tcl", "wm title . again\n");
  for (int i = 0; i < 1000 && access("tmp/came_through", F_OK) != 0; i++) qSleep(10);
  if (access("tmp/came_through", F_OK) != 0) return 32;
  for (int i = 0; i < 300 && windowsNamed("late") != 0; i++) qSleep(10);
  if (windowsNamed("late") != 0) return 33;
  if (qStartTclThread(3) != 0) return 34;
  for (int i = 0; i < 500 && windowsNamed("again") != 1; i++) qSleep(10);
  return windowsNamed("again") == 1 ? 30 : 35;
}

TEST_F(TclThreadGui, HangingWalkingEditorScriptIsAFailedStartWithinABound) {
  writeFile("tcl/walking_editor.tcl", "after 12000\nwm title . late\nupdate\nclose [open tmp/came_through w]\n");
  EXPECT_EXIT(exit(hangingWalkingEditorSteps()), testing::ExitedWithCode(30), "");
}

}  // namespace
