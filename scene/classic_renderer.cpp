// Stand-in classic renderer: the window is cleared to the background colour and the overlays drawn;
// GL errors are reported; windows are hidden and shown again.
#include "scene/classic_renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include <cstdlib>

#include "core/Tcl.h"
#include "core/prefs.h"
#include "scene/textures.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"

static int hiddenWindows[3];

int qGlCheckError(const char *location) {
  GLenum error = glGetError();
  if (error != GL_NO_ERROR)
    qMsg(QMSG_ERROR, "\nOpenGL Error! %s\nLocation: %s\n", (const char *)gluErrorString(error), location);
  return int(error);
}

int qGlClearScreen() {
  if (qMode.display == 4) glClearColor(0.8f, 0.8f, 0.8f, 0);
  else if (!qPrefs.intensity.empty()) {
    float g = float(atof(qPrefs.intensity.c_str()));
    glClearColor(g, g, g, 0);
  } else glClearColor(0, 0, 0.1f, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  return qGlCheckError("after clear screen");
}

int qGlUpdateDisplay() {
  qGlCheckDisplayFlags();
  return qGlCheckError("after update Display");
}

void qGlSetModes() {
  glEnable(GL_DEPTH_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  qGlCheckError("set modes");
}

void qGlReshape(int width, int height) {
  glViewport(0, 0, width, height);
  qPrefs.width = width;
  qPrefs.height = height;
}

void qGlutShowWindows(int show) {
  const int which[3] = {WIN_3D, WIN_QRC, WIN_QRCSUB};
  for (int i = 0; i < 3; i++) {
    if (show == 0) {
      hiddenWindows[i] = qGlutSetWindow(qWindowIds[which[i]]);
      if (hiddenWindows[i]) glutHideWindow();
    } else if (hiddenWindows[i] && qGlutSetWindow(qWindowIds[which[i]])) {
      glutShowWindow();
      hiddenWindows[i] = 0;
    }
  }
  glFlush();
}
