// Stand-ins for the interaction calls the pattern loop and the catalogue need, until their
// modules provide them (weak, so the real ones win). Without a window nothing is shown.
// Delete when those land.
#include "core/Tcl.h"
#include "ui/camera.h"
#include "ui/glut_windows.h"
#include "ui/menus.h"
#include "ui/remote.h"
#include "ui/status.h"

#define STANDIN __attribute__((weak))

STANDIN void qGlutSetTitle() {}
STANDIN void qGlutRemakeMenu() {}
STANDIN void qGlutqrcsubDisplay() {}
STANDIN void mouseCamera(int) {}
STANDIN void stopCameraRotation() {}
STANDIN void setStatusLineTitle() {}
STANDIN void reportListWrapToFirst() { qMsg(QMSG_DEBUG, "the list starts again at its first pattern\n"); }
STANDIN void reportListWrapToLast() { qMsg(QMSG_DEBUG, "the list starts again at its last pattern\n"); }
