// Key command table: what each key runs, in and outside the editors, the repeat guard and the
// speed keys, with fakes for the mode commands and the editor calls.
#include <GL/freeglut.h>

#include "core/native_windows.h"
#include "core/pointer.h"
#include "scene/classic_renderer.h"
#include "ui/glut_windows.h"
#include "tests/ui/mode_fakes.h"

class Keys : public ModeTest {
 protected:
  KeyCalls savedKeys;
  void SetUp() override {
    ModeTest::SetUp();
    savedKeys = keyCalls;
    keyCalls.setMode = [](unsigned low, unsigned high) {
      logCall("mode " + hex((long long)((uint64_t(high) << 32) | low)));
      return 0;
    };
    keyCalls.debugInfo = [](int code) { logCall("debuginfo " + std::to_string(code)); };
    keyCalls.endEditor = [] {
      logCall("end editor");
      return 0;
    };
    keyCalls.addEditorObject = [](int what) {
      logCall("add " + std::to_string(what));
      return 0;
    };
    keyCalls.toggleEditMode = [](int how) { logCall("edit mode " + std::to_string(how)); };
    keyCalls.resetEditorView = [] { logCall("editor view"); };
    keyCalls.deleteEditorObject = [] {
      logCall("delete");
      return 0;
    };
    keyCalls.groundEditorObject = [] { logCall("ground"); };
    keyCalls.remoteToggle = [] { logCall("remote"); };
    keyCalls.fullScreen = [] { logCall("full screen"); };
    keyCalls.stepPattern = [](int command) { logCall("step " + std::to_string(command)); };
  }
  void TearDown() override {
    keyCalls = savedKeys;
    ModeTest::TearDown();
  }
  std::vector<std::string> press(int key) {
    callLog.clear();
    lastKey = 0;
    keyCommand(17, key);
    return callLog;
  }
};

using Log = std::vector<std::string>;
const int SK = SPECIAL_KEY;

TEST_F(Keys, OrdinaryKeys) {
  struct Case {
    int key;
    Log log;
  } cases[] = {
      {'D', {"mode 0x8"}},        {'F', {"mode 0xe000"}},      {'G', {"mode 0xb"}},
      {'I', {"mode 0x30000"}},    {'J', {"remote"}},           {'K', {"mode 0x80000000"}},
      {'M', {"mode 0x100000000"}}, {'O', {"mode 0x7"}},         {'P', {"mode 0xd000"}},
      {'R', {"mode 0x5000"}},     {'S', {"mode 0x1000000"}},   {'T', {"mode 0x50000"}},
      {'W', {"full screen"}},     {'X', {"mode 0x8000"}},      {'Z', {"mode 0x20000000"}},
      {'a', {"mode 0x40000000"}}, {'b', {"mode 0x200"}},       {'c', {"mode 0x20"}},
      {228, {"mode 0x20"}},       {'d', {"mode 0x3"}},         {'f', {"mode 0x1000"}},
      {'g', {"mode 0x2"}},        {'h', {"mode 0x6000"}},      {'i', {"mode 0x20000"}},
      {'j', {"mode 0x2000"}},     {'k', {"mode 0xc00"}},       {'l', {"mode 0xa000"}},
      {'m', {"mode 0x8000000"}},  {'n', {"mode 0x4"}},         {'o', {"mode 0x300"}},
      {'p', {"mode 0x3000"}},     {'q', {"mode 0x10000000"}},  {'r', {"mode 0x4000"}},
      {'s', {"mode 0x9"}},        {'t', {"mode 0x200000"}},    {'u', {"mode 0x400000"}},
      {'v', {"mode 0x800"}},      {'x', {"mode 0x7000"}},      {'y', {"mode 0x2000000"}},
      {'z', {"mode 0x200000000"}}, {246, {"mode 0x100000000"}}, {252, {"mode 0x2000000"}},
      {5, {"mode 0x50"}},         {8, {"debuginfo 71"}},       {9, {"mode 0xc000"}},
      {13, {"mode 0x10"}},        {18, {"mode 0x40000"}},      {19, {"mode 0x60000"}},
      {23, {"mode 0x60"}},        {27, {"mode 0x40"}},         {' ', {"mode 0x9000"}},
      {'*', {"debuginfo 75"}},    {'?', {"mode 0xb000"}},      {'^', {"mode 0xb000"}},
      {127, {"debuginfo 72"}},    {SK + 162, {"mode 0x10"}},   {SK + 232, {"step 22"}},
      {SK + 233, {"step 21"}},         {'Q', {}},                   {'A', {}},
  };
  for (const Case &c : cases) EXPECT_EQ(press(c.key), c.log) << c.key;
}

// Keys as the window's callbacks store them: a special key is never taken for the typed key of
// the same byte, so the left arrow only moves the camera while 'ä' opens the chooser, and page up
// and down step the patterns while 'è' and 'é' do nothing.
TEST_F(Keys, SpecialKeysAreNotTheTypedKeysOfTheirByte) {
  struct Case {
    int special;  // a GLUT special-key code, or -1 for the typed key below
    int typed;
    Log log;
  } cases[] = {
      {GLUT_KEY_LEFT, 0, {}},          {GLUT_KEY_RIGHT, 0, {}},          {GLUT_KEY_UP, 0, {}},
      {GLUT_KEY_DOWN, 0, {}},          {-1, 228, {"mode 0x20"}},          {-1, 'c', {"mode 0x20"}},
      {GLUT_KEY_PAGE_UP, 0, {"step 22"}}, {GLUT_KEY_PAGE_DOWN, 0, {"step 21"}}, {-1, 232, {}},
      {-1, 233, {}},                   {GLUT_KEY_F1, 0, {}},             {-1, 129, {}},
  };
  WindowCalls saved = windowCalls;
  windowCalls.takeKey = qGlutTakeKey;
  for (const Case &c : cases) {
    callLog.clear();
    lastKey = 0;
    qMode.cameraPreset = 0;
    if (c.special >= 0) qGlutSpecial(c.special, 0, 0);
    else qGlutKeyboard((unsigned char)c.typed, 0, 0);
    keyCommand(17, 0);
    EXPECT_EQ(callLog, c.log) << c.special << " " << c.typed;
    EXPECT_EQ(qMode.cameraPreset, c.special == GLUT_KEY_F1 ? 1 : 0) << c.special << " " << c.typed;
    if (c.special >= 0) qGlutSpecialUp(c.special, 0, 0);
  }
  windowCalls = saved;
  pointerReset();
}

TEST_F(Keys, PresetsAndCounter) {
  for (int digit = 1; digit <= 9; digit++) {
    press('0' + digit);
    EXPECT_EQ(qMode.viewPreset, digit);
  }
  press('0');
  EXPECT_EQ(qMode.viewPreset, 10);
  for (int f = 1; f <= 10; f++) {
    press(SK + 128 + f);
    EXPECT_EQ(qMode.cameraPreset, f);
  }
  press('~');
  press('~');
  EXPECT_EQ(keyTableState, 2);
}

TEST_F(Keys, EditorKeys) {
  struct Case {
    long long main;
    int key;
    Log log;
  } cases[] = {
      {MAIN_SCENE_EDITOR, 'J', {"add 0"}},      {MAIN_SCENE_EDITOR, 'j', {"add 1"}},
      {MAIN_SCENE_EDITOR, 'e', {"edit mode 0"}}, {MAIN_WALKING_EDITOR, 'e', {"edit mode 0"}},
      {MAIN_SCENE_EDITOR, 'r', {"editor view"}}, {MAIN_WALKING_EDITOR, 'r', {"editor view"}},
      {MAIN_SCENE_EDITOR, 5, {"end editor"}},   {MAIN_WALKING_EDITOR, 5, {"mode 0x50"}},
      {MAIN_WALKING_EDITOR, 23, {"end editor"}}, {MAIN_SCENE_EDITOR, 23, {"mode 0x60"}},
      {MAIN_SCENE_EDITOR, '0', {"ground"}},     {MAIN_SCENE_EDITOR, 127, {"delete"}},
      {MAIN_WALKING_EDITOR, 127, {"debuginfo 72"}}, {MAIN_WALKING_EDITOR, 'j', {"mode 0x2000"}},
  };
  for (const Case &c : cases) {
    qMode.main = c.main;
    qMode.viewPreset = 0;
    EXPECT_EQ(press(c.key), c.log) << c.main << " " << c.key;
    if (c.key == '0') {
      EXPECT_EQ(qMode.viewPreset, 0);
    }
  }
}

TEST_F(Keys, VrmlModeAndAnimationFlags) {
  qPrefs.vrml = 1;
  EXPECT_EQ(press('g'), Log{});
  EXPECT_EQ(press('G'), Log{});
  EXPECT_EQ(press('d'), Log{"mode 0x3"});
  qPrefs.animationFlags = 4;
  EXPECT_EQ(press('x'), Log{"mode 0xf000"});
  qPrefs.animationFlags = 8;
  EXPECT_EQ(press('x'), Log{"mode 0x10000"});
}

// The repeat guard: a key held over several frames acts once; with a frame without a key between,
// it acts again. Unguarded keys act every frame.
TEST_F(Keys, RepeatGuard) {
  struct Case {
    std::vector<int> frames;
    size_t actions;
  } cases[] = {
      {{'q', 'q', 'q'}, 1},  {{'q', 0, 'q'}, 2},   {{'F', 'F'}, 1},     {{'+', '+', '+'}, 3},
      {{228, 'c'}, 2},       {{'c', 228}, 1},      {{228, 228}, 1},     {{'^', '?'}, 1},
      {{'?', '?'}, 2},       {{13, SK + 162}, 1},  {{SK + 162, SK + 162}, 1},     {{'h', 'h'}, 2},
  };
  keyCalls.setModeValue = [](unsigned, unsigned, int, int) {
    logCall("speed");
    return 0;
  };
  for (const Case &c : cases) {
    callLog.clear();
    lastKey = 0;
    for (int key : c.frames) keyCommand(17, key);
    EXPECT_EQ(callLog.size(), c.actions) << c.frames[0] << " " << c.frames[1];
  }
}

TEST_F(Keys, NoKeyStillSetsTheLastKey) {
  keyCommand(17, 'q');
  EXPECT_EQ(lastKey, 'q');
  EXPECT_EQ(frameKey, 'q');
  keyCommand(17, 0);
  EXPECT_EQ(lastKey, 0);
  EXPECT_EQ(frameKey, 0);
}

TEST_F(Keys, SpeedKeys) {
  keyCalls.setModeValue = [](unsigned a, unsigned b, int c, int d) { return qSetModeValue(a, b, c, d); };
  struct Case {
    int start, key, speed;
  } cases[] = {{195, '+', 195}, {199, '>', 200}, {100, '-', 90}, {100, '<', 99}, {-195, '-', -195},
               {-200, '>', -199}, {10, SK + 143, 0}, {10, SK + 146, 20}, {70, 'E', 50}, {70, 'w', 100}, {70, 'e', 0}};
  for (const Case &c : cases) {
    qMode.speed = c.start;
    press(c.key);
    EXPECT_EQ(qMode.speed, c.speed) << c.start << " " << c.key;
  }
}

TEST_F(Keys, LeavingTheChooserByKeyDropsThePick) {
  keyCalls.setMode = [](unsigned low, unsigned high) { return qSetMode(low, high); };
  press('c');
  EXPECT_EQ(chooserState, 1);
  EXPECT_EQ(qMode.main, MAIN_CHOOSER);
  modeCalls.leaveChooser = [] { chooserState = 2; };
  press(228);
  EXPECT_EQ(chooserState, 0);
  EXPECT_EQ(qMode.main, 0);
}

TEST_F(Keys, PatternStepLeavesTheEditorFirst) {
  qMode.main = MAIN_SCENE_EDITOR;
  EXPECT_EQ(press(SK + 233), (Log{"end editor", "step 21"}));
  qMode.main = MAIN_SCENE_EDITOR;
  fakeResults.editorStays = true;
  EXPECT_EQ(press(SK + 232), Log{"end editor"});
}

// The arm test mode: table D in place of table A, table B still runs.
TEST_F(Keys, ArmTestMode) {
  static std::string loaded;
  keyCalls.loadObject = [](const char *name, const double[3], double, double, double, int) {
    loaded = name;
    return 0;
  };
  keyCalls.findLoaded = [](const char *) { return 5; };
  keyCalls.findNode = [](int, int) { return (ObjectNode *)nullptr; };
  keyCalls.jointAngle = [](int juggler, int joint, double degrees) {
    logCall("joint " + std::to_string(juggler) + " " + std::to_string(joint) + " " + std::to_string(int(degrees)));
  };
  keyCalls.clearJoints = [](int juggler, int count) { logCall("clear " + std::to_string(juggler) + " " + std::to_string(count)); };
  keyCalls.arm = [](int hand, double point[3], double, double, double, double) {
    char text[80];
    snprintf(text, sizeof text, "arm %d %.2f %.2f %.2f", hand, point[0], point[1], point[2]);
    logCall(text);
  };
  resetDebugCross();
  qOpenGL.invkin = 2;
  struct Case {
    int key;
    Log log;
  } cases[] = {
      {'X', {"arm 0 0.05 0.22 1.20"}}, {'z', {"arm 0 0.05 0.22 1.15"}}, {'c', {"joint 1 2 4"}},
      {'Q', {"joint 1 16 -4"}},        {'r', {"clear 1 15"}},           {0, {}},
      {'y', {"arm 0 0.05 0.17 1.15"}}, {'+', {"arm 0 0.05 0.17 1.15", "speed"}},
  };
  keyCalls.setModeValue = [](unsigned, unsigned, int, int) {
    logCall("speed");
    return 0;
  };
  for (const Case &c : cases) EXPECT_EQ(press(c.key), c.log) << c.key;
  EXPECT_EQ(loaded, "v/basic/debug/debugCross.wrl");

  keyCalls.loadObject = [](const char *, const double[3], double, double, double, int) { return 260; };
  resetDebugCross();
  loadEnglish();
  testing::internal::CaptureStderr();
  EXPECT_EQ(press('X'), Log{});
  EXPECT_EQ(press(27), Log{"mode 0x40"});
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.find("debugCross.wrl"), err.rfind("debugCross.wrl")) << err;
  EXPECT_NE(err.find("debugCross.wrl"), std::string::npos) << err;
  qOpenGL.invkin = 0;
  resetDebugCross();
}
