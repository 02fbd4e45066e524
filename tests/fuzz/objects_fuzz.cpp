// libFuzzer target: any bytes as an object model file through the model reader, then into the
// display-list compiler. The compiler needs a GL context: with DISPLAY set (tests/fuzz/run starts
// an Xvfb) a GLUT window gives one; without it the compiler's shape checks still run and GL
// calls do nothing.
#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/prefs.h"
#include "scene/objects.h"
#include "scene/renderer.h"
#include "tests/fuzz/fuzz_support.h"

// A GLUT window when there is a display; the dialogs then stay off that display.
static bool openWindow() {
  if (!getenv("DISPLAY")) return false;
  int argc = 1;
  char name[] = "objects_fuzz";
  char *argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DEPTH | GLUT_DOUBLE);
  glutInitWindowSize(64, 64);
  bool made = glutCreateWindow("objects_fuzz") > 0;
  unsetenv("DISPLAY");
  return made;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool window = openWindow();
  (void)window;
  std::string path = fuzzFile("model", data, size);
  qPrefs.vrml = 0;
  resetObjectTable();
  allocObjectBuffers();
  if (Objektdatei_laden(path.c_str(), 0, 0, 0, 0, 0, 0) == LOAD_ENTERED) {
    int e = loadedObjectCount - 1;
    objekt_geladen[e].flags |= OBJ_NEW_LIST;
    int list = qGlDefineObject(e);
    if (list) glDeleteLists(GLuint(list), 1);
  }
  freeObjectShapes();
  return 0;
}
