// Pattern loop stand-in: the control pair and the load counter; loading patterns is not available yet.
#include "core/patternloop.h"

#include "core/Tcl.h"

std::atomic<int> restartRequest{0};
int nextPatternAction = 0;
int patternLoadCounter = -1;

int loadNextPattern() {
  qMsg(QMSG_DEBUG, "\n\n----------------------------------------------------------------------------\n");
  qMsg(QMSG_DEBUG, "----------------------------------------------------------------------------\n\n\n");
  patternLoadCounter++;
  qMsg(QMSG_DEBUG, "loadNextPattern: loading patterns is not available yet\n");
  return 41;
}
