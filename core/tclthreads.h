// Tcl threads and signals: the dialog thread, the walking-editor thread, qKill, and the queue of
// requests that Tcl threads post to the main thread.
#pragma once
#include <atomic>

struct Tcl_Interp;

enum {
  TCL_THREAD_MAIN = 1,
  TCL_THREAD_DIALOG = 2,
  TCL_THREAD_WALKING_EDITOR = 3,
  TCL_SLOT_START_FAILED = 4,
};

enum {
  QSIGNAL_RESTART = 3,
  QSIGNAL_SHOW_INFO = 10,
  QSIGNAL_START_EVENT = 18,
  QSIGNAL_WALKING_SAVE = 35,
  QSIGNAL_WALKING_LEAVE = 36,
  QSIGNAL_PROGRESS_FIRST = 40,
  QSIGNAL_PROGRESS_LAST = 60,
};

// Slots 2 and 3: the pending signal of Tcl thread 2 or 3; slot 4: 1 when the last start failed.
extern std::atomic<int> qSignalSlots[5];
extern int qTclThreadIndex;
extern int qTclUsed;
// The interpreter of the Tcl thread that reads it: each thread sees only its own.
extern thread_local Tcl_Interp *qTclInterp;

// n 2 or 3; 0 when the thread runs its script. A walking editor's thread whose panel is still
// open closes it first: each start gets a new panel.
int qStartTclThread(int n);
// Asks the walking editor's thread, if it runs, to close its panel; the thread ends with it.
void closeWalkingEditorPanel();
void qTclFork(const int *numberPointer);
void qTclSighandler(int signal);
int qKill(int thread, int signal);
void reportProgress(int n);

enum {
  MAIN_REQUEST_EXIT = 1,          // value: the exit code
  MAIN_REQUEST_RAISE_WINDOW = 2,  // bring the 3D window to the front
  MAIN_REQUEST_WALKING_MENU = 3,  // value: the walking editor's menu command
};

void postMainThreadRequest(int kind, int value);
// Served by the main thread's idle pass (and while it waits for a Tcl thread's start).
void serveMainThreadRequests();

// Runs a walking editor menu command posted by its Tcl thread (app/ sets it; the default does nothing).
extern void (*walkingMenuRequest)(int command);
