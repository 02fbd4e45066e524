// Messages and Tcl dialogs: qMsg, the exchange file and the dialog interpreters.
#pragma once

enum {
  QMSG_DEBUG = 5,
  QMSG_ERROR = 17,
  QMSG_INFO = 18,
  QMSG_NON_MODAL = 64,
  QMSG_NON_MODAL_FLAG = 0x40,
  QMSG_REPORT_FLAG = 0x100,
  QMSG_REPORT = 0x111,
};

enum {
  TCL_ANSWER_SIZE = 100,             // an answer holds at most 99 characters
  TCL_PASSING_WRITE_FAILED = 20010815,
  TCL_PASSING_READ_FAILED = 20010816,
  TCL_PASSING_ANSWER_TOO_LONG = 20010817,
  TCL_BAD_ARGUMENT_COUNT = 20050317,
};

#define TCL_PASSING_FILE "tmp/tcl_passing"
#define TCL_INFO_FILE "tmp/info.txt"
#define TCL_REPORT_FILE "quoit.err"

struct Tcl_Interp;

// Marks the calling thread, while it lives, as serving Tk events: X errors of windows that
// another client destroyed are then dropped there instead of ending the program.
struct TkEventScope {
  TkEventScope();
  ~TkEventScope();
  TkEventScope(const TkEventScope &) = delete;
  TkEventScope &operator=(const TkEventScope &) = delete;
};

void qMsg(int level, const char *format, ...) __attribute__((format(printf, 2, 3)));
// A script runs only from a regular file, reached through links: Tcl's own open would wait for
// ever on a FIFO in its place. False, with errno set, for anything else.
bool isRunnableScript(const char *script);
int InvokeTclCmd(const char *script, const char *request, int flags, char *answer);
int writeTclPassing(const char *text);
int readTclPassing(char *answer);
Tcl_Interp *createTclInterp();
void reportTclError(Tcl_Interp *interp, int code);
// The question a with the answers b and c, each one line: 1 or 2 for the answer chosen, 0 when the
// window was closed without a choice, ASK_USER_NOT_ASKED when the dialog could not be shown.
enum { ASK_USER_NOT_ASKED = -1 };
int askUser(const char *a, const char *b, const char *c);
int qStdFileReq(const char *directory, char *answer, int flags, const char *text, int number);
int waitForNonModalDialogs(int timeoutMs);
