// Stand-ins for modules not written yet. Every definition is weak, so the real one replaces it
// without a link error; each does nothing or reports "not available".
#include "core/standins_prefs.h"

#include <atomic>
#include <cctype>
#include <cstring>
#include <tcl.h>
#include <tk.h>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/patternloop.h"
#include "core/startup.h"

#define WEAK __attribute__((weak))

WEAK QuoitMode qMode;
WEAK int textRefresh;
WEAK int remoteState;
WEAK int overlayRequests;
WEAK std::atomic<int> restartRequest;
WEAK int nextPatternAction;
WEAK std::string currentPatternFile;
WEAK int objectCountOption;
WEAK int objectOptionKind;
WEAK int qArgc;
WEAK char **qArgv;

WEAK int qGlutResetFlags() {
  overlayRequests = 0;
  return 0;
}

WEAK int qGlutOpenWindows() {
  qMsg(QMSG_DEBUG, "qGlutOpenWindows: not available\n");
  return 1;
}

WEAK void qGlutStatusText(const char *, int, int) {}
WEAK unsigned char qGlutTakeKey() { return 0; }
WEAK void qGlutMultiLineText(const char *, int, int, int) {}

WEAK int GetAllPatterns(const char *, int, std::string *) { return 0; }

WEAK int siteswapDigitValue(int character) {
  if (character >= '0' && character <= '9') return character - '0';
  if (isalpha(character)) return tolower(character) - 'a' + 10;
  return 0;
}

WEAK void walkingEditorMenu(int command) {
  qMsg(QMSG_DEBUG, "walkingEditorMenu(%d): not available\n", command);
}

WEAK int languageIndex(const char *name) {
  static const char *const names[LANGUAGE_COUNT] = {"deutsch", "english", "francais", "espanol", "catala"};
  for (int i = 0; i < LANGUAGE_COUNT; i++)
    if (strcmp(name, names[i]) == 0) return i;
  return -1;
}

WEAK Tcl_Interp *createTclInterp() {
  static std::atomic<int> found{0};
  if (!found.exchange(1)) Tcl_FindExecutable(qArgv ? qArgv[0] : nullptr);
  Tcl_Interp *interp = Tcl_CreateInterp();
  if (Tcl_Init(interp) != TCL_OK || Tk_Init(interp) != TCL_OK) {
    qMsg(QMSG_DEBUG, "createTclInterp failed: %s\n", Tcl_GetStringResult(interp));
    Tcl_DeleteInterp(interp);
    return nullptr;
  }
  return interp;
}

WEAK void reportTclError(Tcl_Interp *interp, int code) {
  const char *result = Tcl_GetStringResult(interp);
  if (code != 0 && result[0]) qMsg(QMSG_DEBUG, "error in Tcl.c: %s\n", result);
}
