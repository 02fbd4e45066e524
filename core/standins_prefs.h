// Stand-ins: what the preferences, platform and thread code call in modules not written yet.
#pragma once
#include <cstdint>
#include <string>

struct Tcl_Interp;

// Mode record of the mode machine (only the fields used here are read or written).
struct QuoitMode {
  int moveKeys[5];
  int dragX, dragY;
  int button1, button2;
  int benchmark;
  int reserved;
  int cameraPreset;
  int speed;
  int viewPreset;
  int64_t display;
  int64_t main;
  int64_t move;
  int64_t flags;
  int64_t view;
};
extern QuoitMode qMode;
extern int textRefresh;
extern int remoteState;
extern int overlayRequests;

int qGlutResetFlags();
int qGlutOpenWindows();
void qGlutStatusText(const char *text, int level, int flags);
unsigned char qGlutTakeKey();
void qGlutMultiLineText(const char *text, int lines, int charactersPerLine, int redraw);

int GetAllPatterns(const char *directory, int operation, std::string *text);
int siteswapDigitValue(int character);
void walkingEditorMenu(int command);
