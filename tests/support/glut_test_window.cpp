#include "tests/support/glut_test_window.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "tests/support/quoit_test_support.h"

static void closeGlut() { glutExit(); }
static void noDisplay() {}

int openGlutTestWindow(const char *title, int width, int height, unsigned mode) {
  if (sharedDisplay().empty()) return 0;
  setenv("DISPLAY", sharedDisplay().c_str(), 1);
  if (!glutGet(GLUT_INIT_STATE)) {
    int argc = 1;
    char name[] = "quoit_gui_test";
    char *argv[] = {name, nullptr};
    glutInit(&argc, argv);
    atexit(closeGlut);
  }
  glutInitDisplayMode(mode);
  if ((mode & GLUT_ACCUM) && !glutGet(GLUT_DISPLAY_MODE_POSSIBLE)) glutInitDisplayMode(mode & ~GLUT_ACCUM);
  glutInitWindowSize(width, height);
  int window = glutCreateWindow(title);
  if (window > 0) glutDisplayFunc(noDisplay);
  return window > 0 ? window : 0;
}
