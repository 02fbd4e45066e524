// Stand-in POV-Ray export: the command says in the trace file that it is not available yet.
#include "scene/povexport.h"

#include "core/Tcl.h"

void qPovExport() { qMsg(QMSG_DEBUG, "qPovExport(): the POV-Ray export is not available yet\n"); }
