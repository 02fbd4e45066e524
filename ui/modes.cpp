// Stand-in mode machine: the records only; mode commands are not available yet.
#include "ui/modes.h"

#include "core/Tcl.h"

QuoitMode qMode;
QuoitDisplay qDisplay;

void schatten_auswerten() {}

int qSetModeValue(int what, int, int, int) {
  qMsg(QMSG_DEBUG, "qSetModeValue(%d): mode machine not available yet\n", what);
  return 0;
}

int qSetMode(uint32_t low, uint32_t high) {
  qMsg(QMSG_DEBUG, "qSetMode(0x%x, 0x%x): mode machine not available yet\n", unsigned(low), unsigned(high));
  return 0;
}
