// Stand-in GLUT front end: there is no main loop yet.
#include "ui/glut_windows.h"

#include "core/Tcl.h"

int remoteState = 2;

void qGlutMainLoopStart() { qMsg(QMSG_DEBUG, "qGlutMainLoopStart: the GLUT main loop is not available yet\n"); }
