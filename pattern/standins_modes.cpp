// Stand-ins for the pattern commands the mode machine and the keys run, until their modules provide
// them (weak, so the real ones win); each says in the trace file that it is not available yet.
#include "core/Tcl.h"
#include "pattern/catalogue.h"
#include "pattern/siteswaps.h"

#define STANDIN __attribute__((weak))

STANDIN void stepPattern(int command) {
  qMsg(QMSG_DEBUG, "stepPattern(%d): pattern stepping is not available yet\n", command);
}

STANDIN int saveSiteswap(int how) {
  qMsg(QMSG_DEBUG, "saveSiteswap(%d): saving siteswaps is not available yet\n", how);
  return 0;
}

STANDIN int writeStartNotation(const char *siteswap, int hands, int objects) {
  qMsg(QMSG_DEBUG, "writeStartNotation(%s, %d, %d): start notation is not available yet\n", siteswap, hands, objects);
  return 0;
}
