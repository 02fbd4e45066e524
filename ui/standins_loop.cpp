// Stand-ins for the interaction calls the pattern loop and the catalogue need, until their
// modules provide them (weak, so the real ones win). Delete when those land.
#include "core/Tcl.h"
#include "ui/remote.h"
#include "ui/status.h"

#define STANDIN __attribute__((weak))

STANDIN void qGlutqrcsubDisplay() {}
STANDIN void setStatusLineTitle() {}
STANDIN void reportListWrapToFirst() { qMsg(QMSG_DEBUG, "the list starts again at its first pattern\n"); }
STANDIN void reportListWrapToLast() { qMsg(QMSG_DEBUG, "the list starts again at its last pattern\n"); }
