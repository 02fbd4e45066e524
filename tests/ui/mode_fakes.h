// Fakes for what the mode machine and the key table call: every call is written into one log, and
// the fixture starts each test from the state of a freshly loaded pattern.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/localtext.h"
#include "app/patternloop.h"
#include "core/prefs.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"
#include "ui/camera.h"
#include "ui/keys.h"
#include "ui/modes.h"

inline std::vector<std::string> callLog;

inline void logCall(const std::string &what) { callLog.push_back(what); }
inline std::string hex(long long v) {
  char text[32];
  snprintf(text, sizeof text, "0x%llx", v);
  return text;
}

struct FakeResults {
  int startEditor = 0;
  bool editorStays = false;  // the fake EndEditor keeps the editor running
  std::string savedSiteswap;  // the name the fake saveSiteswap reports as saved
};
inline FakeResults fakeResults;

inline ModeCalls fakeModeCalls() {
  ModeCalls c;
  c.remakeMenu = [] { logCall("menu"); };
  c.showWindows = [](int show) { logCall("windows " + std::to_string(show)); };
  c.redrawPanel = [] { logCall("panel"); };
  c.setTitle = [] { logCall("title"); };
  c.flightPaths = [](int op) { logCall("flight " + std::to_string(op)); };
  c.handPaths = [](int op) { logCall("hand " + std::to_string(op)); };
  c.randomObject = [] { logCall("random"); };
  c.leaveChooser = [] {
    logCall("leave chooser");
    chooserState = 0;
  };
  c.restoreShapes = [] { logCall("shapes"); };
  c.clearTemp = [] { logCall("temp"); };
  c.adjustFlights = [] {
    logCall("adjust");
    return 0;
  };
  c.startEditor = [] {
    logCall("start editor");
    return fakeResults.startEditor;
  };
  c.endEditor = [] {
    logCall("end editor");
    if (!fakeResults.editorStays) qMode.main = 0;
    return 0;
  };
  c.nextEditorObject = [] { logCall("next editor object"); };
  c.saveImage = [](int kind, int counter) {
    logCall("image " + std::to_string(kind) + " " + std::to_string(counter));
    return 0;
  };
  c.povExport = [] { logCall("pov"); };
  c.saveSiteswap = [](int how, std::string &savedFile) {
    logCall("siteswap " + std::to_string(how));
    savedFile = fakeResults.savedSiteswap;
    return 0;
  };
  c.startNotation = [](const char *siteswap, int hands, int objects) {
    logCall(std::string("notation ") + siteswap + " " + std::to_string(hands) + " " + std::to_string(objects));
    return 0;
  };
  c.rewrite = [](const char *, const char *line, int type) { logCall("rewrite " + std::to_string(type) + " " + line); };
  c.statusText = [](const char *text, int level, int flags) {
    logCall(std::string("status ") + text + " " + std::to_string(level) + " " + hex(flags));
  };
  c.clearAccumulation = [] { logCall("accum"); };
  c.statusLineTitle = [] { logCall("status title"); };
  return c;
}

class ModeTest : public ::testing::Test {
 protected:
  ModeCalls savedCalls;
  QuoitPrefs savedPrefs;
  void SetUp() override {
    savedCalls = modeCalls;
    savedPrefs = qPrefs;
    modeCalls = fakeModeCalls();
    callLog.clear();
    fakeResults = FakeResults();
    qMode = QuoitMode();
    qMode.display = 1;
    qMode.move = MOVE_ROTATE;
    qMode.view = VIEW_FREE;
    qMode.speed = 100;
    qMode.flags = FLAG_METERS;
    qDisplay = QuoitDisplay{1, 0, 0, 1, 0};
    chooserState = 0;
    nextObjectRequest = 0;
    chosenModel = -1;
    textRefresh = 0;
    qPrefs.vrml = 0;
    qPrefs.sh_kind = 0;
    restartRequest = 0;
    nextPatternAction = ACTION_NEXT;
    jugglers = 1;
    objekte = 3;
    lastKey = 0;
    frameKey = 0;
    keyTableState = 0;
    savedCamera = SavedCamera();
    cameraState = CameraState{3.34, 1.65, 0.085, 185, {0, 0, 0}, {0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, 0, 1}};
    stopCameraRotation();
  }
  void TearDown() override {
    modeCalls = savedCalls;
    qPrefs = savedPrefs;
    freeLocalTexts();
  }
  void loadEnglish() {
    ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
    qPrefs.language = ENGLISH;
  }
  static void mode(long long value) { qSetMode(uint32_t(value), uint32_t(uint64_t(value) >> 32)); }
};
