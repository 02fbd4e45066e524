// Tcl threads and signals. Thread 2 shows the information and progress window for the whole
// run; thread 3 runs the walking editor's dialog. The main thread signals a Tcl thread through
// its slot, which the thread polls; a Tcl thread asks the main thread for anything that belongs
// to it (ending the program, raising the 3D window, walking editor commands) through a queue.
#include "core/tclthreads.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <system_error>
#include <tcl.h>
#include <thread>
#include <tk.h>
#include <utility>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/runstate.h"
#include "core/prefs.h"
#include "core/userfiles.h"

static void noWalkingEditor(int) {}
void (*walkingMenuRequest)(int command) = noWalkingEditor;

std::atomic<int> qSignalSlots[5];
int qTclThreadIndex = 0;
int qTclUsed = 0;
thread_local Tcl_Interp *qTclInterp = nullptr;

// The manual-reset start event: reset by every thread start, set once the thread runs. The main
// thread waits for it a bounded time only, so a script that hangs (on a file, say) never stops
// the program; a start it gave up waiting for is abandoned, and its thread closes its window
// when it comes that far.
enum StartState { START_AWAITED, START_DONE, START_ABANDONED };
enum { TCL_THREAD_START_WAIT_MS = 10000 };

static struct {
  std::mutex mutex;
  std::condition_variable changed;
  StartState state = START_DONE;
} startEvent;

static void resetStartEvent() {
  std::lock_guard<std::mutex> lock(startEvent.mutex);
  startEvent.state = START_AWAITED;
}

// False when the main thread has given up waiting for this start.
static bool setStartEvent() {
  {
    std::lock_guard<std::mutex> lock(startEvent.mutex);
    if (startEvent.state == START_ABANDONED) return false;
    startEvent.state = START_DONE;
  }
  startEvent.changed.notify_all();
  return true;
}

// False when the thread did not come so far within the bound: the start is abandoned.
static bool waitStartEvent() {
  std::unique_lock<std::mutex> lock(startEvent.mutex);
  if (startEvent.changed.wait_for(lock, std::chrono::milliseconds(TCL_THREAD_START_WAIT_MS),
                                  [] { return startEvent.state == START_DONE; }))
    return true;
  startEvent.state = START_ABANDONED;
  return false;
}

static void failStart() {
  qSignalSlots[TCL_SLOT_START_FAILED] = 1;
  setStartEvent();
}

// Set while the walking editor's thread runs.
static std::atomic<int> walkingEditorThreadRuns{0};

// A thread that ends before its script ran: a walking editor's thread no longer runs.
static void failStartOf(int n) {
  if (n == TCL_THREAD_WALKING_EDITOR) walkingEditorThreadRuns = 0;
  failStart();
}

// What the walking editor's thread finds in its slot when its panel is to close.
enum { WALKING_PANEL_CLOSE = 1 };
// How long a new walking editor waits for the panel of the last one to close.
enum { WALKING_PANEL_CLOSE_WAIT_MS = 3000 };

void closeWalkingEditorPanel() {
  if (walkingEditorThreadRuns) qSignalSlots[TCL_THREAD_WALKING_EDITOR] = WALKING_PANEL_CLOSE;
}

// A panel that is still open (or still closing) belongs to an editor that was left: it closes, and
// the new editor gets a panel of its own, made from the exchange file written for it.
static bool lastWalkingPanelClosed() {
  closeWalkingEditorPanel();
  for (int waited = 0; walkingEditorThreadRuns && waited < WALKING_PANEL_CLOSE_WAIT_MS; waited += 10) qSleep(10);
  if (walkingEditorThreadRuns) {
    qMsg(QMSG_ERROR, "qStartTclThread(3): the last walking editor's panel does not close\n");
    return false;
  }
  qSignalSlots[TCL_THREAD_WALKING_EDITOR] = 0;  // a close asked for after the panel closed by itself
  return true;
}

int qStartTclThread(int n) {
  if (n == TCL_THREAD_WALKING_EDITOR && !lastWalkingPanelClosed()) return 1;
  qTclUsed = 1;
  if (n == TCL_THREAD_DIALOG || n == TCL_THREAD_WALKING_EDITOR) qTclThreadIndex = n;
  qSignalSlots[TCL_SLOT_START_FAILED] = 0;
  qFreezeEnvironment();
  resetStartEvent();
  if (n == TCL_THREAD_WALKING_EDITOR) walkingEditorThreadRuns = 1;
  try {
    std::thread([n] { qTclFork(&n); }).detach();
  } catch (const std::system_error &) {
    walkingEditorThreadRuns = 0;
    return 1;
  }
  if (!waitStartEvent()) {
    qMsg(QMSG_ERROR, "qStartTclThread(%d): the Tcl thread did not start within %d s\n", n,
         TCL_THREAD_START_WAIT_MS / 1000);
    return 1;
  }
  // A start script that failed has asked for the end of the program.
  serveMainThreadRequests();
  return qSignalSlots[TCL_SLOT_START_FAILED] == 1 ? 1 : 0;
}

static bool isPollSignal(int signal) {
  return signal == QSIGNAL_SHOW_INFO || (signal >= QSIGNAL_PROGRESS_FIRST && signal <= QSIGNAL_PROGRESS_LAST);
}

// A Tcl thread's loop: all pending Tk events, then its signal slot, every 15 ms, while its window
// lives. Thread 2 shows information and progress; thread 3 closes its panel when asked.
static void pollTclThread(int n) {
  TkEventScope serving;
  while (Tk_GetNumMainWindows() > 0) {
    while (Tcl_DoOneEvent(TCL_DONT_WAIT)) {
    }
    if (Tk_GetNumMainWindows() == 0) break;
    int signal = qSignalSlots[n].exchange(0);
    if (n == TCL_THREAD_DIALOG && isPollSignal(signal)) {
      qTclSighandler(signal);
    } else if (n == TCL_THREAD_WALKING_EDITOR && signal == WALKING_PANEL_CLOSE) {
      int code = Tcl_Eval(qTclInterp, "destroy .");
      if (code != TCL_OK) reportTclError(qTclInterp, code);
    }
    qSleep(15);
  }
}

// "exit" in a thread's script asks the main thread to end the program and closes the window.
static int threadExitCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  int code = 0;
  if (objc > 2) {
    Tcl_WrongNumArgs(interp, 1, objv, "?returnCode?");
    return TCL_ERROR;
  }
  if (objc == 2 && Tcl_GetIntFromObj(interp, objv[1], &code) != TCL_OK) return TCL_ERROR;
  postMainThreadRequest(MAIN_REQUEST_EXIT, code);
  return Tcl_Eval(interp, "destroy .");
}

// "qKill thread signal" lets the walking editor's script send its save and leave to the main thread.
static int threadKillCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  int thread, signal;
  if (objc != 3) {
    Tcl_WrongNumArgs(interp, 1, objv, "thread signal");
    return TCL_ERROR;
  }
  if (Tcl_GetIntFromObj(interp, objv[1], &thread) != TCL_OK || Tcl_GetIntFromObj(interp, objv[2], &signal) != TCL_OK)
    return TCL_ERROR;
  qKill(thread, signal);
  return TCL_OK;
}

// The window of a start the main thread gave up waiting for: the program went on without it.
static void closeAbandonedWindow() {
  int code = Tcl_Eval(qTclInterp, "destroy .");
  if (code != TCL_OK) reportTclError(qTclInterp, code);
}

// The walking editor's thread ends with its window, which its buttons or the end of the editor
// close; a script that fails is a failed start, and the program goes on.
static void runWalkingEditorThread(const char *script) {
  Tcl_CreateObjCommand(qTclInterp, "qKill", threadKillCommand, nullptr, nullptr);
  int code = Tcl_EvalFile(qTclInterp, script);
  if (code != TCL_OK) {
    reportTclError(qTclInterp, code);
  } else if (setStartEvent()) {
    pollTclThread(TCL_THREAD_WALKING_EDITOR);
  } else {
    closeAbandonedWindow();
  }
  Tcl_DeleteInterp(qTclInterp);
  qTclInterp = nullptr;
  walkingEditorThreadRuns = 0;
  if (code != TCL_OK) failStart();
}

void qTclFork(const int *numberPointer) {
  int n = *numberPointer;
  const char *script = n == TCL_THREAD_DIALOG           ? "tcl/tcl_thread.tcl"
                       : n == TCL_THREAD_WALKING_EDITOR ? "tcl/walking_editor.tcl"
                                                        : nullptr;
  if (!script) {
    qMsg(QMSG_ERROR, localText(43), n, "qStartTclThread()");
    failStart();
    return;
  }
  // A script that cannot be read is a failed start, not a closed window.
  if (!isRunnableScript(script)) {
    qMsg(QMSG_ERROR, localText(33), script, fileErrorReason(errno));
    failStartOf(n);
    return;
  }
  qTclInterp = createTclInterp();
  if (!qTclInterp) {
    failStartOf(n);
    return;
  }
  if (n == TCL_THREAD_WALKING_EDITOR) {
    runWalkingEditorThread(script);
    return;
  }
  Tcl_CreateObjCommand(qTclInterp, "exit", threadExitCommand, nullptr, nullptr);
  int code = Tcl_EvalFile(qTclInterp, script);
  if (code == TCL_OK && setStartEvent()) pollTclThread(TCL_THREAD_DIALOG);
  reportTclError(qTclInterp, code);
  // Closing the window is how the user ends the program: no error dialog for that.
  qMsg(code == TCL_OK ? QMSG_DEBUG : QMSG_ERROR, "qTclFork(): Back from Tk_MainLoop.\n");
  Tcl_DeleteInterp(qTclInterp);
  qTclInterp = nullptr;
  postMainThreadRequest(MAIN_REQUEST_EXIT, 10);
  if (code != TCL_OK) setStartEvent();
}

void qTclSighandler(int signal) {
  int code = TCL_OK;
  if (signal == QSIGNAL_SHOW_INFO || (signal > QSIGNAL_PROGRESS_FIRST && signal <= QSIGNAL_PROGRESS_LAST)) {
    char command[32];
    if (signal == QSIGNAL_SHOW_INFO)
      snprintf(command, sizeof command, "qMsgInfo");
    else
      snprintf(command, sizeof command, "Progress %d", (signal - QSIGNAL_PROGRESS_FIRST) * 5);
    if (qTclInterp) code = Tcl_Eval(qTclInterp, command);
  } else {
    qMsg(QMSG_ERROR, localText(43), signal, "qTclSighandler()");
  }
  if (code != TCL_OK) reportTclError(qTclInterp, code);
  qRaiseWindow(3);
}

// Information and progress always go to the dialog thread, the only one that polls its slot.
int qKill(int thread, int signal) {
  if (signal == QSIGNAL_RESTART) {
    restartRequest = 1;
  } else if (isPollSignal(signal)) {
    if (thread > TCL_THREAD_MAIN) qSignalSlots[TCL_THREAD_DIALOG] = signal;
  } else if (signal == QSIGNAL_START_EVENT) {
    setStartEvent();
  } else if (signal == QSIGNAL_WALKING_SAVE || signal == QSIGNAL_WALKING_LEAVE) {
    if (thread == TCL_THREAD_MAIN)
      postMainThreadRequest(MAIN_REQUEST_WALKING_MENU, signal == QSIGNAL_WALKING_SAVE ? 97 : 98);
  } else {
    qMsg(QMSG_ERROR, localText(45), signal, "qKill");
  }
  return 0;
}

static int progressTotal = 1;
static int progressCount = 0;

void reportProgress(int n) {
  if (qPrefs.notcl) return;
  if (n != 0) {
    progressTotal = n;
    progressCount = 0;
    return;
  }
  if (progressTotal < 4) return;
  if (progressCount < progressTotal) progressCount++;
  int s = int(progressCount * 20.0 / progressTotal) + QSIGNAL_PROGRESS_FIRST;
  if (s > QSIGNAL_PROGRESS_FIRST) qKill(qTclThreadIndex, s);
}

// The queue outlives the exit handlers: a Tcl thread may still post while the process ends.
struct RequestQueue {
  std::mutex mutex;
  std::deque<std::pair<int, int>> requests;
};
enum { MAX_MAIN_REQUESTS = 32 };

static RequestQueue &requestQueue() {
  static RequestQueue *queue = new RequestQueue;
  return *queue;
}

void postMainThreadRequest(int kind, int value) {
  RequestQueue &queue = requestQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  if (kind == MAIN_REQUEST_EXIT || queue.requests.size() < MAX_MAIN_REQUESTS) queue.requests.emplace_back(kind, value);
}

static bool takeRequest(std::pair<int, int> &request) {
  RequestQueue &queue = requestQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  if (queue.requests.empty()) return false;
  request = queue.requests.front();
  queue.requests.pop_front();
  return true;
}

void serveMainThreadRequests() {
  std::pair<int, int> request;
  while (takeRequest(request)) {
    if (request.first == MAIN_REQUEST_EXIT)
      exit(request.second);
    else if (request.first == MAIN_REQUEST_RAISE_WINDOW)
      qRaiseWindow(3);
    else if (request.first == MAIN_REQUEST_WALKING_MENU)
      walkingMenuRequest(request.second);
  }
}
