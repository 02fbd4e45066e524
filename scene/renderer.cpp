// Stand-in model compiler: materials only; models get no display list yet.
#include "scene/renderer.h"

#include <GL/gl.h>

#define STANDIN __attribute__((weak))

STANDIN int highlightOffset;
STANDIN float lastFaceNormal[3];

STANDIN void qGlSetMaterial(int index) {
  static const GLfloat specular[3][4] = {{0.2f, 0.2f, 0.2f, 1.0f}, {0.9f, 0.9f, 0.9f, 1.0f}, {0.1f, 0.1f, 0.1f, 1.0f}};
  static const GLfloat shininess[3] = {10, 8, 4};
  if (index < 0 || index > 2) return;
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular[index]);
  glMaterialf(GL_FRONT, GL_SHININESS, shininess[index]);
}

STANDIN int qGlDefineBuiltinObject(int, int, int) { return 0; }
STANDIN int qGlDefineObject(int) { return 0; }
STANDIN int qGlDrawPolygons(int, int, int position, int) { return position; }
STANDIN void qGlFaceNormal(int, int, int, int) {}
