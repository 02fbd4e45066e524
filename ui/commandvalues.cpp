// The command values the menus and the remote-control buttons send: the main table, the scene
// editor's table and the debug table that every menu choice reaches last.
#include <cstdint>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/uistate.h"
#include "pattern/catalogue.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/modeldumps.h"
#include "scene/pathdisplay.h"
#include "ui/editor.h"
#include "ui/glut_windows.h"
#include "ui/menus.h"
#include "ui/modes.h"
#include "ui/remote.h"
#include "ui/screens.h"


static void noAbout() {}

CommandCalls commandCalls = {
    qSetMode,          qSetModeValue,      qGetMode,        qGlutToggleFullScreen,     qGlutqrcToggle,
    stepPattern,       noAbout,            qGlutRemakeMenu, selectObjectInBox,         debuginfo,
    toggleHandPathDisplay, CheckLanguages, SelectNextEditorObject, ResetEditorView,   AddEditorObject,
    DeleteCurrentEditorObject, SaveEditorPattern, EndEditor, selectedEditorJuggler,    centreSelectedEditorObject,
    groundSelectedEditorObject, PlaceJugglersInCircle, ToggleEditorEditMode,
};

static void mode(int64_t value) { commandCalls.setMode(uint32_t(value), uint32_t(uint64_t(value) >> 32)); }
static void modeValue(int64_t mode, int value) {
  commandCalls.setModeValue(uint32_t(mode), uint32_t(uint64_t(mode) >> 32), value, value < 0 ? -1 : 0);
}

enum CommandAction {
  MODE,       // qSetMode with the argument
  SPEED_SET,  // speed := argument
  SPEED_ADD,  // speed := current speed + argument
  STEP,       // stepPattern with the value
  LANGUAGE,   // the language index := argument
  SPECIAL,    // served by specialCommand
};

struct Command {
  int value;
  int action;
  int64_t argument;
};

static const Command mainCommands[] = {
    {1, MODE, 0x1000000},   {2, MODE, 0x4},          {3, MODE, 0x2},          {4, MODE, 0x6},
    {5, MODE, 0x7},         {6, MODE, 0x9},          {7, MODE, 0x8},          {8, MODE, 0x10000000},
    {9, SPECIAL, 0},        {10, MODE, 0x8000000},   {11, MODE, 0x3},         {12, MODE, 0x10},
    {13, MODE, 0x20},       {14, SPECIAL, 0},        {15, SPECIAL, 0},        {16, MODE, 0xA000},
    {17, MODE, 0x5000},     {18, MODE, 0xB000},      {19, MODE, 0x400000},    {20, MODE, 0x200000},
    {21, STEP, 0},          {22, STEP, 0},           {23, SPEED_ADD, 10},     {24, SPEED_ADD, -10},
    {25, SPEED_SET, 100},   {26, SPEED_SET, 50},     {27, SPEED_SET, 0},      {28, SPEED_SET, -100},
    {29, SPEED_SET, -50},   {30, MODE, 0x100},       {31, MODE, 0x200},       {32, MODE, 0x300},
    {33, MODE, 0x9000},     {34, SPECIAL, 0},        {35, MODE, 0x800},       {36, MODE, 0xC00},
    {38, MODE, 0x3000},     {39, MODE, 0xC000},      {40, MODE, 0x40000000},  {41, MODE, 0x40000},
    {42, MODE, 0x50000},    {43, SPECIAL, 0},        {44, MODE, 0x40},        {50, MODE, 0x6000},
    {51, MODE, 0x7000},     {52, MODE, 0xF000},      {53, MODE, 0x8000},      {54, MODE, 0xD000},
    {55, MODE, 0x10000},    {56, MODE, 0x60000},     {57, MODE, 0x100000000}, {58, MODE, 0x2000},
    {59, MODE, 0x1000},     {60, MODE, 0x80000000},  {61, MODE, 0x200000000}, {62, MODE, 0xE000},
    {63, MODE, 0x20000000}, {64, LANGUAGE, 0},       {65, LANGUAGE, 1},       {66, LANGUAGE, 2},
    {69, LANGUAGE, 3},      {70, LANGUAGE, 4}, {90, MODE, 0x50},        {139, SPECIAL, 0},
    {140, MODE, 0x60},
};

static const Command editorCommands[] = {
    {18, MODE, 0xB000}, {33, MODE, 0x9000}, {38, MODE, 0x3000}, {60, MODE, 0x80000000},
};

// A language without a table would turn every label into the missing-text message.
static void chooseLanguage(int language) {
  if (!localTextTables[language]) {
    qMsg(QMSG_DEBUG, "qGlutMenu(): the language %d has no texts\n", language);
    return;
  }
  qPrefs.language = language;
  commandCalls.remakeMenu();
  textRefresh = 2;
}

static void specialCommand(int value) {
  switch (value) {
    case 9:
      mode(0x1);
      modeValue(FLAG_SHADOWS | FLAG_MOTION_BLUR | FLAG_MIRROR, 0);
      break;
    case 14: commandCalls.fullScreen(); break;
    case 15: commandCalls.remoteToggle(); break;
    case 34:
      mode(0x4000);
      mode(VIEW_FREE);
      break;
    case 43: commandCalls.printAbout(); break;
    case 139:
      qMode.main = MAIN_CHOOSER_PICK;
      commandCalls.selectObjectInBox();
      break;
  }
}

// Runs the entry of the table with the value; false when the table has none.
static bool runCommand(const Command *table, int count, int value) {
  for (int i = 0; i < count; i++) {
    const Command &c = table[i];
    if (c.value != value) continue;
    switch (c.action) {
      case MODE: mode(c.argument); break;
      case SPEED_SET: modeValue(8, int(c.argument)); break;
      case SPEED_ADD: modeValue(8, commandCalls.getMode(8) + int(c.argument)); break;
      case STEP: commandCalls.stepPattern(value); break;
      case LANGUAGE: chooseLanguage(int(c.argument)); break;
      case SPECIAL: specialCommand(value); break;
    }
    return true;
  }
  return false;
}

void qGlutMenu(int value) {
  if (value >= VALUE_VIEW_PRESET && value < VALUE_VIEW_PRESET + PRESET_COUNT) {
    qMode.viewPreset = value - VALUE_VIEW_PRESET + 1;
  } else if (value >= VALUE_CAMERA_PRESET && value < VALUE_CAMERA_PRESET + PRESET_COUNT) {
    qMode.cameraPreset = value - VALUE_CAMERA_PRESET + 1;
  } else {
    runCommand(mainCommands, int(sizeof mainCommands / sizeof mainCommands[0]), value);
  }
  qGlutDebugMenu(value);
}

// Kinds of throw of the hand-kind entries, in the order of the values: notation c, C, b, f, S.
static const int32_t handKinds[5] = {0x100, 0x200, 0x800, 0x400, 0x10000};

static void setHandKind(int hand, int kind) {
  int j = commandCalls.selectedJuggler();
  if (j < 0 || j >= jugglers || !fangwurf) return;
  fangwurf[2 * j + hand].flag = handKinds[kind];
}

void EditorMenu(int value) {
  if (!runCommand(editorCommands, int(sizeof editorCommands / sizeof editorCommands[0]), value)) {
    if (value >= 99 && value <= 103) setHandKind(0, value - 99);
    else if (value >= 104 && value <= 108) setHandKind(1, value - 104);
    else if (value >= 114 && value <= 131) commandCalls.placeInCircle(value);
    else if (value >= 132 && value <= 137) circleRadius = 1.0 + 0.5 * (value - 132);
    switch (value) {
      case 91: commandCalls.nextEditorObject(); break;
      case 92: commandCalls.resetEditorView(); break;
      case 93: commandCalls.addEditorObject(0); break;
      case 94: commandCalls.addEditorObject(1); break;
      case 95: commandCalls.deleteEditorObject(); break;
      case 96: commandCalls.saveEditorPattern(0); break;
      case 97:
        commandCalls.saveEditorPattern(1);
        commandCalls.endEditor();
        break;
      case 98: commandCalls.endEditor(); break;
      case 109: commandCalls.centreEditorObject(); break;
      case 110: commandCalls.groundEditorObject(); break;
      case 138: commandCalls.toggleEditMode(0); break;
    }
  }
  qGlutDebugMenu(value);
}

static const char *const JOINT_KEYS =
    "         a HEADUP\n         b LEFTSHOULDEROUT\n         c LEFTSHOULDERFRONT\n         d LEFTELBOW\n"
    "         e LEFTARMOUT\n         f LEFTWRISTTURN\n         g LEFTWRISTUP\n\n         h RIGHTSHOULDEROUT\n"
    "         i RIGHTSHOULDERFRONT\n         j RIGHTELBOW\n         k RIGHTARMOUT\n         l RIGHTWRISTTURN\n"
    "         m RIGHTWRISTUP\n\n         r reset angles to Zero\n\n         xXyYzZ: move hand with invkin\n"
    "            (works only with juggler at 0/0/0)\n\n         * for numeric angle display\n";

// The arm test mode steps through the jugglers and is off again after the last one.
static void nextInvKinJuggler() {
  qOpenGL.invkin++;
  if (qOpenGL.invkin > jugglers) qOpenGL.invkin = 0;
  qMsg(QMSG_DEBUG, "\n  qOpenGL.invkin=%d\n", qOpenGL.invkin);
  qMsg(QMSG_DEBUG, "%s", JOINT_KEYS);
}

// The debug menu's dumps of the scene. Classic mode has no model tree: a dump that walks it says
// so in one line instead.
struct SceneDump {
  int value;
  const char *name;
  void (*dump)();
  bool walksModelTree;
};

static void sceneList() { printSCENEBuffer(0); }
static void chooserList() { printSCENEBuffer(1); }
static void polygonChains() { printVRMLBuffer(0); }

static const SceneDump sceneDumps[] = {
    {76, "printSCENEBuffer", sceneList, true},          {77, "printSCENEBuffer_CO", chooserList, true},
    {78, "printVRMLBuffer", polygonChains, true},       {79, "printInvKinTable", printInvKinTable, true},
    {80, "writeHTMLdebugFile", writeHTMLdebugFile, true}, {82, "print_objekt_geladen", print_objekt_geladen, true},
    {89, "qGlDumpStates", qGlDumpStates, false},
};

static bool runSceneDump(int value) {
  for (const SceneDump &d : sceneDumps) {
    if (d.value != value) continue;
    if (d.walksModelTree && !qPrefs.vrml) qMsg(QMSG_DEBUG, "%s: classic mode has no model tree to dump\n", d.name);
    else d.dump();
    return true;
  }
  return false;
}

void qGlutDebugMenu(int value) {
  if (runSceneDump(value)) return;
  switch (value) {
    case 71: case 72: case 73: case 74: case 75: commandCalls.debugInfo(value); break;
    case 81: nextInvKinJuggler(); break;
    case 83: qMsg(QMSG_INFO, "This is a text with QMSG_INFO.\n"); break;
    case 84: qMsg(QMSG_ERROR, "This is a text with QMSG_ERROR.\n"); break;
    case 85: qMsg(QMSG_REPORT, "This is a text with QMSG_REPORT + QMSG_ERROR!\n"); break;
    case 86: qMsg(QMSG_DEBUG, "This is a text with QMSG_DEBUG.\n"); break;
    case 87: commandCalls.handPathDisplay(0); break;
    case 88: commandCalls.checkLanguages(); break;
  }
}
