// The interaction state words that every layer reads: the mode record and display switches the
// mode machine writes, the window ids, the remote-control state and the overlay request bits.
#pragma once
#include <cstdint>

struct ObjectNode;

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

enum { WIN_3D = 0, WIN_QRCFPS = 1, WIN_QRC = 2, WIN_QRCSUB = 3, WINDOW_COUNT = 4 };
enum { REMOTE_HIDDEN = 0, REMOTE_SHOWN = 1, REMOTE_NOT_OPENED = 2 };
enum { OVERLAY_TEXT = 1, OVERLAY_FPS = 2, OVERLAY_STATUS = 4 };
enum { STATUS_MESSAGE = 1, STATUS_HINT = 4, STATUS_NO_INFO = 0x400, STATUS_DRAW = 0x800 };

extern QuoitMode qMode;
extern QuoitDisplay qDisplay;
// While above 0 the text output redraws the on-screen text and counts it down.
extern int textRefresh;
extern int chooserState;  // 0 off, 1 chooser running, 2 left with a pick pending
extern int chosenModel;   // loaded-object index picked in the chooser, -1 none
extern int64_t savedChooserDisplay[2];  // display and flags before the chooser
extern int nextObjectRequest;  // a next-object command waits for the current object to step
// The node the scene and walking editors have selected (the editors set it, the renderer draws the
// arrow over it); none outside the editors.
extern ObjectNode *editorObject;
extern int jugglerViewCounter;  // the status screen's juggler view, 0 none, 1 the overview

extern int qWindowIds[WINDOW_COUNT];
extern int remoteState;
// Overlays the display's last step draws (OVERLAY_ bits); the text functions only set them.
extern int overlayRequests;
extern int lastMouseX, lastMouseY;  // pointer of the last mouse event on the 3D window; reshape keeps it centred

// A pick puts back the display and flags the chooser changed; the full-screen and meters bits keep
// their present state.
void restoreChooserDisplay();
// The class of a display mode: 1 for 2, 6 and 8 (no shadows), 2 for 4, else 0.
int displayModeClass(int64_t mode);
