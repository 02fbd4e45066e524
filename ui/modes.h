// Mode machine: the mode record qMode, the display switches qDisplay, qSetMode and its handlers,
// qSetModeValue, qGetMode, the shadow kind, and the calls the one-shot triggers make.
#pragma once
#include <cstdint>
#include <string>

struct QuoitMode {
  int moveKeys[5];   // movement keys: [0]/[1] sideways, [2]/[3] forward/back, [4] along the view
  int dragX, dragY;  // mouse drag of the current frame
  int button1, button2;
  int benchmark;     // 0, or the benchmark number 1-3
  int reserved;
  int cameraPreset;  // one-shot camera preset 1-10
  int speed;         // percent, -200..200
  int viewPreset;    // one-shot view preset 1-10
  int64_t display;   // display mode 1..11
  int64_t main;      // 0, 0x20 chooser, 0x50 scene editor, 0x60 walking editor, 0x80 chooser pick
  int64_t move;      // 0x100 rotate, 0x200 pan, 0x300 walk
  int64_t flags;     // toggled flag bits 20-34
  int64_t view;      // 0x400 free, 0x800 follow, 0xC00 follow closely
};

struct QuoitDisplay {
  int timeMeter;
  int help;
  int statusline;  // 0 none, 1 pattern title, 2 pattern file name
  int speedMeter;
  int fifth;
};

enum : int64_t {
  MAIN_PATTERN_DIALOG = 0x10,
  MAIN_CHOOSER = 0x20,
  MAIN_QUIT = 0x40,
  MAIN_SCENE_EDITOR = 0x50,
  MAIN_WALKING_EDITOR = 0x60,
  MAIN_CHOOSER_PICK = 0x80,
  MOVE_ROTATE = 0x100,
  MOVE_PAN = 0x200,
  MOVE_WALK = 0x300,
  VIEW_FREE = 0x400,
  VIEW_FOLLOW = 0x800,
  VIEW_CLOSE = 0xC00,
  FLAG_STATUS2 = 0x100000,
  FLAG_METERS = 0x200000,
  FLAG_STATUSLINE = 0x400000,
  FLAG_STATUS80 = 0x800000,
  FLAG_SHADOWS = 0x1000000,
  FLAG_FULL_STATUS = 0x2000000,
  FLAG_FULL_SCREEN = 0x4000000,
  FLAG_MIRROR = 0x8000000,
  FLAG_MOTION_BLUR = 0x10000000,
  FLAG_COMMENTS = 0x20000000,
  FLAG_ARROW = 0x40000000,
  FLAG_COORDINATES = 0x80000000LL,
  FLAG_HEIGHT_SCALE = 0x100000000LL,
  FLAG_LETTERS = 0x200000000LL,
  FLAG_BITS = 0x7FFF00000LL,
};

extern QuoitMode qMode;
extern QuoitDisplay qDisplay;
// While above 0 the text output redraws the on-screen text and counts it down.
extern int textRefresh;
extern int chooserState;       // 0 off, 1 chooser running, 2 left with a pick pending
extern int nextObjectRequest;  // a next-object trigger is pending
extern int chosenModel;        // loaded-object index picked in the chooser, -1 none
extern int clockBeatValue;     // -12345 after a pattern load and the full reset
extern int64_t savedChooserDisplay[2];  // display and flags before the chooser

// What the handlers call outside the mode machine; tests replace entries.
struct ModeCalls {
  void (*remakeMenu)();
  void (*showWindows)(int show);
  void (*redrawPanel)();
  void (*setTitle)();
  void (*flightPaths)(int op);
  void (*handPaths)(int op);
  void (*randomObject)();
  void (*leaveChooser)();
  void (*restoreShapes)();
  void (*clearTemp)();
  int (*adjustFlights)();
  int (*startEditor)();
  int (*endEditor)();
  void (*nextEditorObject)();
  int (*saveImage)(int kind, int counter);
  void (*povExport)();
  int (*saveSiteswap)(int how, std::string &savedFile);
  int (*startNotation)(const char *siteswap, int hands, int objects);
  void (*rewrite)(const char *file, const char *line, int type);
  void (*statusText)(const char *text, int level, int flags);
  void (*clearAccumulation)();
  void (*statusLineTitle)();
};
extern ModeCalls modeCalls;

int qSetMode(uint32_t low, uint32_t high);
int qSetModeValue(uint32_t modeLow, uint32_t modeHigh, int32_t valueLow, int32_t valueHigh);
int qGetMode(int type);
int displayModeClass(int64_t mode);
int gifRecordingAvailable(int kind);
void schatten_auswerten();
// Leaves the chooser or an editor before a pattern change; 0 when none is active any more.
int leaveMainMode();
// The look-at point of a camera reset: above the origin at half the pattern's height.
void patternLookAt(double out[3]);
