// Stand-in Tcl threads: no thread posts requests to the main thread yet.
#include "core/tclthreads.h"

void serveMainThreadRequests() {}
