// Stand-ins for the pattern commands the mode machine and the keys run, until their modules provide
// them (weak, so the real ones win); each says in the trace file that it is not available yet.
#include "core/Tcl.h"
#include "pattern/catalogue.h"

#define STANDIN __attribute__((weak))

STANDIN void stepPattern(int command) {
  qMsg(QMSG_DEBUG, "stepPattern(%d): pattern stepping is not available yet\n", command);
}
