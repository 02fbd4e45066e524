// Stand-in pattern loop: a "load" resets the per-pattern frame state and shows the window with its title.
#include "core/patternloop.h"

#include <GL/freeglut.h>

#include "core/Tcl.h"
#include "core/framestep.h"
#include "core/prefs.h"
#include "pattern/clock.h"
#include "ui/glut_windows.h"

std::atomic<int> restartRequest;
int nextPatternAction;
char shownSiteswap[SITESWAP_TEXT_SIZE];
char listSiteswap[SITESWAP_TEXT_SIZE];
int patternStepped;
int patternLoadCounter = -1;

int loadNextPattern() {
  qMsg(QMSG_DEBUG, "\n\n----------------------------------------------------------------------------\n");
  qMsg(QMSG_DEBUG, "----------------------------------------------------------------------------\n\n\n");
  patternLoadCounter++;
  restartRequest = 0;
  frameCounter = 0;
  wrapFlag = WRAP_NONE;
  simTime = 0;
  realTimeTotal = 0;
  stopWatch(-1);
  viewState.width = int16_t(qPrefs.width);
  viewState.height = int16_t(qPrefs.height);
  if (qWindowIds[WIN_3D] && qGlutSetWindow(qWindowIds[WIN_3D])) {
    glutShowWindow();
    qGlutSetTitle();
    glutPostRedisplay();
  }
  return 0;
}
