// Mode machine: the mode record qMode, the display switches qDisplay, qSetMode and its handlers,
// qSetModeValue, qGetMode, the shadow kind, and the calls the one-shot triggers make.
#pragma once
#include <cstdint>
#include <string>

#include "core/uistate.h"

extern int clockBeatValue;     // -12345 after a pattern load and the full reset

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
int gifRecordingAvailable(int kind);
void schatten_auswerten();
// Leaves the chooser or an editor before a pattern change; 0 when none is active any more.
int leaveMainMode();
// The look-at point of a camera reset: above the origin at half the pattern's height.
void patternLookAt(double out[3]);
