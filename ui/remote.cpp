// Stand-in remote control: no window and no panel; the frame rate is smoothed for the overlay.
#include "ui/remote.h"

#include "core/Tcl.h"
#include "core/prefs.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"

int panelSize[2];

int qGlutqrcOpen() {
  qMsg(QMSG_DEBUG, "qGlutqrcOpen(): the remote-control window is not available\n");
  return 0;
}

void qGlutqrcSetFuncs() {}
void qGlutqrc2DPanel(int, int, int) {}

void qGlutqrcfpsDisplay() {
  fpsSmoothed = 0.8 * fpsSmoothed + 0.2 * fpsMeasured;
  if ((remoteState != REMOTE_SHOWN || (qPrefs.displayFlags & 1)) && (qMode.flags & 0x200000))
    overlayRequests |= OVERLAY_FPS;
}

void qGlutqrcsubDisplay() {}
void qGlutqrcToggle() { qMsg(QMSG_DEBUG, "qGlutqrcToggle(): the remote control is not available yet\n"); }
