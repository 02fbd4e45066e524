// Stand-in remote-control window: it is not opened yet.
#include "ui/remote.h"

#include "core/Tcl.h"

int qGlutqrcOpen() {
  qMsg(QMSG_DEBUG, "qGlutqrcOpen: the remote-control window is not available yet\n");
  return 0;
}
