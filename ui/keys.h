// Key command table: keyCommand turns the key of the frame into mode commands, editor actions,
// presets, speed changes and debug dumps; the repeat guard and the debug cross of the arm test mode.
#pragma once

struct ObjectNode;

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
  // The debug cross and the joints of the arm test mode.
  int (*loadObject)(const char *name, const double position[3], double ax, double ay, double az, int flags);
  int (*findLoaded)(const char *name);
  ObjectNode *(*findNode)(int objectIndex, int number);
  void (*placeNode)(ObjectNode *node, const double position[3]);
  void (*jointAngle)(int juggler, int joint, double degrees);
  void (*clearJoints)(int juggler, int count);
  void (*arm)(int hand, double point[3], double wristUp, double wristTurn, double spare, double blend);
};
extern KeyCalls keyCalls;

// Position of the debug cross of the arm test mode, metres.
extern double debugCross[3];
// Forgets the cross: the next call of the arm test mode loads it again at its start position.
void resetDebugCross();

void keyCommand(int ignored, int key);
