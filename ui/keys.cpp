// Key command table: once a frame the key of the frame runs table A (letters and umlauts) and then
// table B (control keys, digits, signs, special keys). A guarded entry does nothing while the key
// it names was already the key of the previous frame, so a held key acts once.
#include "ui/keys.h"

#include <cstdint>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "pattern/catalogue.h"
#include "scene/classic_renderer.h"
#include "scene/kinematics.h"
#include "scene/vrml/modeltree.h"
#include "scene/objects.h"
#include "ui/editor.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"
#include "ui/remote.h"
#include "ui/screens.h"

int keyTableState;
int lastKey;
int frameKey;

static int setMode(unsigned low, unsigned high) { return qSetMode(low, high); }
static int setModeValue(unsigned modeLow, unsigned modeHigh, int valueLow, int valueHigh) {
  return qSetModeValue(modeLow, modeHigh, valueLow, valueHigh);
}

KeyCalls keyCalls = {setMode,          setModeValue,         debuginfo,           EndEditor,
                     AddEditorObject,  ToggleEditorEditMode, ResetEditorView,     DeleteCurrentEditorObject,
                     groundSelectedEditorObject, qGlutqrcToggle, qGlutToggleFullScreen, stepPattern,
                     loadObjectByName, findLoadedObject, findSceneNode, setSceneNodePosition,
                     changeJointAngle, clearJointAngles, armAngles};

double debugCross[3] = {0, 0.22, 1.2};

// The cross model of the arm test mode: 0 not loaded yet, 1 loaded, 2 could not be loaded.
static int crossState;
static ObjectNode *crossNode;
static bool lastChangeWasAngle;
static const char *const CROSS_MODEL = "v/basic/debug/debugCross.wrl";

enum Action {
  MODE,          // qSetMode with the value
  CLASSIC_MODE,  // qSetMode with the value outside VRML mode
  SPEED_SET,
  SPEED_ADD,
  VIEW_PRESET,
  CAMERA_PRESET,
  DEBUG_INFO,
  SPECIAL,       // served by specialKey
};

struct KeyEntry {
  int key;
  int guard;   // 0 no guard, else the key that must not have been the previous one
  int guard2;  // a second such key, 0 none
  Action action;
  int64_t value;
};

const int AE = 228, OE = 246, UE = 252;

static const KeyEntry tableA[] = {
    {'D', 'D', 0, MODE, 8},          {'E', 0, 0, SPEED_SET, 50},       {'F', 'F', 0, MODE, 0xE000},
    {'G', 'G', 0, CLASSIC_MODE, 11}, {'I', 'I', 0, MODE, 0x30000},     {'J', 'J', 0, SPECIAL, 0},
    {'K', 'K', 0, MODE, 0x80000000LL}, {'M', 'M', 0, MODE, 0x100000000LL}, {'O', 'O', 0, MODE, 7},
    {'P', 'P', 0, MODE, 0xD000},     {'R', 0, 0, MODE, 0x5000},        {'S', 'S', 0, MODE, 0x1000000},
    {'T', 'T', 0, MODE, 0x50000},    {'W', 'W', 0, SPECIAL, 0},        {'X', 'X', 0, MODE, 0x8000},
    {'Z', 'Z', 0, MODE, 0x20000000}, {'a', 'a', 0, MODE, 0x40000000},  {'b', 'b', 0, MODE, 0x200},
    {'c', 'c', 0, SPECIAL, 0},       {AE, AE, 'c', SPECIAL, 0},        {'d', 'd', 0, MODE, 3},
    {'e', 0, 0, SPECIAL, 0},         {'f', 'f', 0, MODE, 0x1000},      {'g', 'g', 0, CLASSIC_MODE, 2},
    {'h', 0, 0, MODE, 0x6000},       {'i', 'i', 0, MODE, 0x20000},     {'j', 'j', 0, SPECIAL, 0},
    {'k', 'k', 0, MODE, 0xC00},      {'l', 'l', 0, MODE, 0xA000},      {'m', 'm', 0, MODE, 0x8000000},
    {'n', 'n', 0, MODE, 4},          {'o', 'o', 0, MODE, 0x300},       {'p', 'p', 0, MODE, 0x3000},
    {'q', 'q', 0, MODE, 0x10000000}, {'r', 0, 0, SPECIAL, 0},          {'s', 's', 0, MODE, 9},
    {'t', 't', 0, MODE, 0x200000},   {'u', 'u', 0, MODE, 0x400000},    {'v', 'v', 0, MODE, 0x800},
    {'w', 0, 0, SPEED_SET, 100},     {'x', 'x', 0, SPECIAL, 0},        {'y', 'y', 0, MODE, 0x2000000},
    {'z', 'z', 0, MODE, 0x200000000LL}, {OE, OE, 0, MODE, 0x100000000LL}, {UE, UE, 0, MODE, 0x2000000},
};

static const KeyEntry tableB[] = {
    {5, 0, 0, SPECIAL, 0},           {8, 0, 0, DEBUG_INFO, 71},        {9, 9, 0, MODE, 0xC000},
    {13, 13, 0, MODE, 0x10},         {18, 0, 0, MODE, 0x40000},        {19, 0, 0, MODE, 0x60000},
    {23, 0, 0, SPECIAL, 0},          {27, 0, 0, MODE, 0x40},           {' ', 0, 0, MODE, 0x9000},
    {'*', '*', 0, DEBUG_INFO, 75},   {'+', 0, 0, SPEED_ADD, 10},       {'-', 0, 0, SPEED_ADD, -10},
    {'0', '0', 0, SPECIAL, 0},       {'1', '1', 0, VIEW_PRESET, 1},    {'2', '2', 0, VIEW_PRESET, 2},
    {'3', '3', 0, VIEW_PRESET, 3},   {'4', '4', 0, VIEW_PRESET, 4},    {'5', '5', 0, VIEW_PRESET, 5},
    {'6', '6', 0, VIEW_PRESET, 6},   {'7', '7', 0, VIEW_PRESET, 7},    {'8', '8', 0, VIEW_PRESET, 8},
    {'9', '9', 0, VIEW_PRESET, 9},   {'<', 0, 0, SPEED_ADD, -1},       {'>', 0, 0, SPEED_ADD, 1},
    {'?', '^', 0, MODE, 0xB000},     {'^', '^', 0, MODE, 0xB000},      {'~', '~', 0, SPECIAL, 0},
    {127, 127, 0, SPECIAL, 0},       {129, 129, 0, CAMERA_PRESET, 1},  {130, 130, 0, CAMERA_PRESET, 2},
    {131, 131, 0, CAMERA_PRESET, 3}, {132, 132, 0, CAMERA_PRESET, 4},  {133, 133, 0, CAMERA_PRESET, 5},
    {134, 134, 0, CAMERA_PRESET, 6}, {135, 135, 0, CAMERA_PRESET, 7},  {136, 136, 0, CAMERA_PRESET, 8},
    {137, 137, 0, CAMERA_PRESET, 9}, {138, 138, 0, CAMERA_PRESET, 10}, {143, 0, 0, SPEED_ADD, -10},
    {144, 0, 0, SPEED_ADD, -10},     {145, 0, 0, SPEED_ADD, 10},       {146, 0, 0, SPEED_ADD, 10},
    {162, 162, 13, MODE, 0x10},      {232, 0, 0, SPECIAL, 0},          {233, 0, 0, SPECIAL, 0},
};

static void mode(int64_t value) { keyCalls.setMode(unsigned(uint64_t(value)), unsigned(uint64_t(value) >> 32)); }

static void setSpeed(int value) { keyCalls.setModeValue(8, 0, value, value < 0 ? -1 : 0); }

static bool inSceneEditor() { return qMode.main == MAIN_SCENE_EDITOR; }
static bool inEitherEditor() { return inSceneEditor() || qMode.main == MAIN_WALKING_EDITOR; }

static void toggleChooser() {
  bool running = chooserState == 1;
  mode(MAIN_CHOOSER);
  if (running) chooserState = 0;
}

static void animationKey() {
  if (qPrefs.animationFlags & 4) mode(0xF000);
  else if (qPrefs.animationFlags & 8) mode(0x10000);
  else mode(0x7000);
}

static void changePattern(int command) {
  if (leaveMainMode()) return;
  keyCalls.stepPattern(command);
}

static void specialKey(int key) {
  switch (key) {
    case 'J': if (inSceneEditor()) keyCalls.addEditorObject(0); else keyCalls.remoteToggle(); break;
    case 'W': keyCalls.fullScreen(); break;
    case 'c': case AE: toggleChooser(); break;
    case 'e': if (inEitherEditor()) keyCalls.toggleEditMode(0); else setSpeed(0); break;
    case 'j': if (inSceneEditor()) keyCalls.addEditorObject(1); else mode(0x2000); break;
    case 'r': if (inEitherEditor()) keyCalls.resetEditorView(); else mode(0x4000); break;
    case 'x': animationKey(); break;
    case 5: if (inSceneEditor()) keyCalls.endEditor(); else mode(MAIN_SCENE_EDITOR); break;
    case 23: if (qMode.main == MAIN_WALKING_EDITOR) keyCalls.endEditor(); else mode(MAIN_WALKING_EDITOR); break;
    case '0': if (inSceneEditor()) keyCalls.groundEditorObject(); else qMode.viewPreset = 10; break;
    case '~': keyTableState++; break;
    case 127: if (inSceneEditor()) keyCalls.deleteEditorObject(); else keyCalls.debugInfo(72); break;
    case 232: changePattern(STEP_PREVIOUS); break;
    case 233: changePattern(STEP_NEXT); break;
  }
}

static void run(const KeyEntry &e) {
  switch (e.action) {
    case MODE: mode(e.value); break;
    case CLASSIC_MODE: if (!qPrefs.vrml) mode(e.value); break;
    case SPEED_SET: setSpeed(int(e.value)); break;
    case SPEED_ADD: setSpeed(qGetMode(8) + int(e.value)); break;
    case VIEW_PRESET: qMode.viewPreset = int(e.value); break;
    case CAMERA_PRESET: qMode.cameraPreset = int(e.value); break;
    case DEBUG_INFO: keyCalls.debugInfo(int(e.value)); break;
    case SPECIAL: specialKey(e.key); break;
  }
}

template <size_t N>
static void runTable(const KeyEntry (&table)[N], int key) {
  for (const KeyEntry &e : table) {
    if (e.key != key) continue;
    bool held = e.guard && (lastKey == e.guard || (e.guard2 && lastKey == e.guard2));
    if (!held) run(e);
  }
}

void resetDebugCross() {
  crossState = 0;
  crossNode = nullptr;
  lastChangeWasAngle = false;
  debugCross[0] = 0;
  debugCross[1] = 0.22;
  debugCross[2] = 1.2;
}

// Loads the cross once, as an aid that the scene editor never saves as a prop; a cross that
// cannot be loaded is reported once and the mode then only runs table B.
static bool crossReady() {
  if (crossState == 0) {
    const double at[3] = {1, 1, 1};
    if (keyCalls.loadObject(CROSS_MODEL, at, 0, 0, 0, NODE_NOT_A_PROP)) {
      qMsg(QMSG_ERROR, localText(40), CROSS_MODEL);
      crossState = 2;
      return false;
    }
    crossNode = keyCalls.findNode(keyCalls.findLoaded(CROSS_MODEL), -17);
    crossState = 1;
  }
  return crossState == 1;
}

// Table D: the cross moves with X/Y/Z, the joints of the juggler turn with a...q and A...Q, and the
// left arm reaches for the cross.
static void tableD(int key) {
  int juggler = qOpenGL.invkin - 1;
  int axis = key == 'X' || key == 'x' ? 0 : key == 'Y' || key == 'y' ? 1 : key == 'Z' || key == 'z' ? 2 : -1;
  if (axis >= 0) {
    debugCross[axis] += key < 'a' ? 0.05 : -0.05;
    lastChangeWasAngle = false;
  } else if (key == 'r') {
    keyCalls.clearJoints(juggler, 15);
    lastChangeWasAngle = true;
  } else if (key >= 'a' && key <= 'q') {
    keyCalls.jointAngle(juggler, key - 'a', 4);
    lastChangeWasAngle = true;
  } else if (key >= 'A' && key <= 'Q') {
    keyCalls.jointAngle(juggler, key - 'A', -4);
    lastChangeWasAngle = true;
  }
  if (crossNode) keyCalls.placeNode(crossNode, debugCross);
  if (!lastChangeWasAngle) {
    double point[3] = {debugCross[0], debugCross[1], debugCross[2]};
    keyCalls.arm(0, point, 251000, 251000, 0.5, 0);
  }
}

void keyCommand(int, int key) {
  key &= 0xFF;
  if (key == 0) key = qTakeKey() & 0xFF;
  frameKey = key;
  if (qOpenGL.invkin) {
    if (crossState == 0 && !crossReady()) return;
    if (crossState == 1) tableD(key);
  } else if (key) {
    runTable(tableA, key);
  }
  if (key) runTable(tableB, key);
  lastKey = key;
}
