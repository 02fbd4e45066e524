// Stand-in classic renderer: the GL error check and the materials that the prop shapes use.
#include "scene/renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/Tcl.h"

#define STANDIN __attribute__((weak))

STANDIN int highlightOffset;

STANDIN int qGlCheckError(const char *location) {
  GLenum error = glGetError();
  if (error != GL_NO_ERROR)
    qMsg(QMSG_ERROR, "\nOpenGL Error! %s\nLocation: %s\n", (const char *)gluErrorString(error), location);
  return int(error);
}

STANDIN void qGlSetMaterial(int index) {
  static const GLfloat specular[3][4] = {{0.2f, 0.2f, 0.2f, 1.0f}, {0.9f, 0.9f, 0.9f, 1.0f}, {0.1f, 0.1f, 0.1f, 1.0f}};
  static const GLfloat shininess[3] = {10, 8, 4};
  if (index < 0 || index > 2) return;
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular[index]);
  glMaterialf(GL_FRONT, GL_SHININESS, shininess[index]);
}
