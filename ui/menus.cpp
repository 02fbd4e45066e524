// Stand-in menus: no menu is built yet.
#include "ui/menus.h"

#include "core/Tcl.h"

void qGlutMakeMenu() { qMsg(QMSG_DEBUG, "qGlutMakeMenu(): menus are not available\n"); }
void qGlutRemakeMenu() {}
