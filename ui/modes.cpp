// Stand-in mode machine: the records only; mode commands are not available yet.
#include "ui/modes.h"

#include "core/Tcl.h"

QuoitMode qMode;
QuoitDisplay qDisplay;

void schatten_auswerten() {}

int qSetModeValue(uint32_t modeLow, uint32_t, int32_t, int32_t) {
  qMsg(QMSG_DEBUG, "qSetModeValue(0x%x): mode machine not available yet\n", unsigned(modeLow));
  return 0;
}

int qSetMode(uint32_t low, uint32_t high) {
  qMsg(QMSG_DEBUG, "qSetMode(0x%x, 0x%x): mode machine not available yet\n", unsigned(low), unsigned(high));
  return 0;
}
