// Messages and Tcl dialogs: qMsg, the exchange file and the dialog interpreters.
#pragma once

enum {
  QMSG_DEBUG = 5,
  QMSG_ERROR = 17,
  QMSG_INFO = 18,
  QMSG_NON_MODAL = 64,
  QMSG_REPORT_FLAG = 0x100,
  QMSG_REPORT = 0x111,
};

struct Tcl_Interp;

void qMsg(int level, const char *format, ...) __attribute__((format(printf, 2, 3)));
int InvokeTclCmd(const char *script, const char *request, int flags, char *answer);
int writeTclPassing(const char *text);
int readTclPassing(char *answer);
Tcl_Interp *createTclInterp();
void reportTclError(Tcl_Interp *interp, int code);
int askUser(const char *a, const char *b, const char *c);
int qStdFileReq(const char *directory, char *answer, int flags, const char *text, int number);
