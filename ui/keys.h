// Key command table: keyCommand turns the key of the frame into mode commands, editor actions,
// presets, speed changes and debug dumps; the repeat guard and the debug cross of the arm test mode.
#pragma once

extern int keyTableState;  // counter of the '~' key; its low two bits go into the view status word
extern int lastKey;        // the key of the previous call, 0 when none was pending
extern int frameKey;       // the key taken in this frame, 0 when none, for the camera

// What the key commands call; tests replace entries.
struct KeyCalls {
  int (*setMode)(unsigned low, unsigned high);
  int (*setModeValue)(unsigned modeLow, unsigned modeHigh, int valueLow, int valueHigh);
  void (*debugInfo)(int code);
  int (*endEditor)();
  int (*addEditorObject)(int what);
  void (*toggleEditMode)(int how);
  void (*resetEditorView)();
  int (*deleteEditorObject)();
  void (*groundEditorObject)();
  void (*remoteToggle)();
  void (*fullScreen)();
  void (*stepPattern)(int command);
};
extern KeyCalls keyCalls;

void keyCommand(int ignored, int key);
