// Stand-in saved siteswaps and start notation: each says in the trace file that it is not available yet.
#include "core/Tcl.h"
#include "pattern/siteswaps.h"

int saveSiteswap(int how) {
  qMsg(QMSG_DEBUG, "saveSiteswap(%d): saving siteswaps is not available yet\n", how);
  return 0;
}

int writeStartNotation(const char *siteswap, int hands, int objects) {
  qMsg(QMSG_DEBUG, "writeStartNotation(%s, %d, %d): start notation is not available yet\n", siteswap, hands, objects);
  return 0;
}
