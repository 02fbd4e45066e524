// Stand-ins for what the preferences, platform and thread code call in modules not written yet.
// Every definition is weak, so the real one replaces it; each does nothing or reports "not
// available". Delete when those modules land.
#include <cctype>

#include "core/Tcl.h"
#include "pattern/catalogue.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"
#include "ui/walkingeditor.h"

#define STANDIN __attribute__((weak))

STANDIN int textRefresh;
STANDIN int overlayRequests;

STANDIN int qGlutResetFlags() {
  overlayRequests = 0;
  return 0;
}

STANDIN int qGlutOpenWindows() {
  qMsg(QMSG_DEBUG, "qGlutOpenWindows: the 3D window is not available yet\n");
  return 0;
}

STANDIN void qGlutStatusText(const char *, int, int) {}
STANDIN unsigned char qGlutTakeKey() { return 0; }
STANDIN void qGlutMultiLineText(const char *, int, int, int) {}

STANDIN int siteswapDigitValue(int character) {
  if (character >= '0' && character <= '9') return character - '0';
  if (isalpha(character)) return tolower(character) - 'a' + 10;
  return 0;
}

STANDIN void walkingEditorMenu(int command) {
  qMsg(QMSG_DEBUG, "walkingEditorMenu(%d): the walking editor is not available yet\n", command);
}
