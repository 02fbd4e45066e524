// Stand-ins for what the textures module calls in modules not written yet. They are weak, so the real
// definitions replace them as soon as those modules are linked in.
#include <GL/gl.h>
#include <GL/glu.h>

#include "core/Tcl.h"
#include "core/framestep.h"
#include "scene/classic_renderer.h"
#include "ui/glut_windows.h"

#define WEAK __attribute__((weak))

WEAK ViewState viewState;
WEAK int qWindowIds[WINDOW_COUNT];

WEAK int qGlCheckError(const char *location) {
  GLenum error = glGetError();
  if (error != GL_NO_ERROR)
    qMsg(QMSG_ERROR, "\nOpenGL Error! %s\nLocation: %s\n", (const char *)gluErrorString(error), location);
  return int(error);
}

WEAK int qGlutSetWindow(int) { return 0; }
WEAK void qGlutFpsOverlay() {}
