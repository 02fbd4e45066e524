// Mode machine: the mode record qMode, the display switches qDisplay and the mode commands.
#pragma once
#include <cstdint>

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

struct QuoitDisplay {
  int timeMeter;
  int help;
  int statusline;
  int speedMeter;
  int fifth;
};

extern QuoitMode qMode;
extern QuoitDisplay qDisplay;
// While above 0 the text output redraws the on-screen text and counts it down.
extern int textRefresh;

void schatten_auswerten();
int qSetModeValue(uint32_t modeLow, uint32_t modeHigh, int32_t valueLow, int32_t valueHigh);
int qSetMode(uint32_t low, uint32_t high);
