// Stand-ins for what the preferences, platform and thread code call in modules not written yet.
// Every definition is weak, so the real one replaces it; each does nothing or reports "not
// available". Delete when those modules land.
#include <cctype>

#include "core/Tcl.h"
#include "pattern/catalogue.h"
#include "ui/walkingeditor.h"

#define STANDIN __attribute__((weak))

STANDIN int siteswapDigitValue(int character) {
  if (character >= '0' && character <= '9') return character - '0';
  if (isalpha(character)) return tolower(character) - 'a' + 10;
  return 0;
}

STANDIN void walkingEditorMenu(int command) {
  qMsg(QMSG_DEBUG, "walkingEditorMenu(%d): the walking editor is not available yet\n", command);
}
