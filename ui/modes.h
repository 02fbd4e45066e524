// Mode machine: the mode record qMode, the display switches qDisplay, qSetMode and qSetModeValue.
#pragma once
#include <cstdint>

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

extern QuoitMode qMode;
extern QuoitDisplay qDisplay;
extern int chooserState;       // 0 off, 1 chooser running, 2 left with a pick pending
extern int nextObjectRequest;  // a next-object trigger is pending
extern int textRefresh;        // while above 0 the text output redraws the on-screen text and counts it down

int qSetMode(uint32_t low, uint32_t high);
int qSetModeValue(uint32_t modeLow, uint32_t modeHigh, int32_t valueLow, int32_t valueHigh);
int qGetMode(int type);
int displayModeClass(int64_t mode);
void schatten_auswerten();
