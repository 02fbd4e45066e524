// Stand-in textures: no texture is loaded; the end-of-frame overlays are drawn in the 2-D overlay state.
#include "scene/textures.h"

#include <GL/gl.h>

#include "core/prefs.h"
#include "scene/classic_renderer.h"
#include "ui/glut_windows.h"

static GLboolean lightingWasOn, blendingWasOn;

int tshirt_count;

int readShirtList() { return 0; }
void freeTextureImages() {}

// No shirt is in the table, so every index lies beyond it.
int loadShirtTextures(int) { return 1; }

int initTextures() {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  return 0;
}

void qGlutInitFullscreenText(int how) {
  if (how == FST_START) {
    qGlutSetWindow(qWindowIds[WIN_3D]);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    lightingWasOn = glIsEnabled(GL_LIGHTING);
    blendingWasOn = glIsEnabled(GL_BLEND);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glColor4f(0.8f, 0.8f, 0.3f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, qPrefs.width, 0, qPrefs.height, -3, 3);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    qGlCheckError("qGlutInitFullscreenText(FST_START)");
  } else if (how == FST_STOP) {
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    if (lightingWasOn) glEnable(GL_LIGHTING);
    if (!blendingWasOn) glDisable(GL_BLEND);
    glDepthFunc(GL_LESS);
    qGlCheckError("qGlutInitFullscreenText(FST_STOP)");
  }
}

void drawTextBackdrop(int x, int y, int width, int height) {
  glColor4f(0.23f, 0.23f, 0.35f, 0.8f);
  glBegin(GL_QUADS);
  glVertex2i(x, y);
  glVertex2i(x + width, y);
  glVertex2i(x + width, y + height);
  glVertex2i(x, y + height);
  glEnd();
  glColor4f(0.8f, 0.8f, 0.3f, 1.0f);
}

void qGlCheckDisplayFlags() {
  if (overlayRequests == 0 || remoteState == REMOTE_SHOWN) return;
  qGlutInitFullscreenText(FST_START);
  if (overlayRequests & OVERLAY_TEXT) qGlutMultiLineText(nullptr, 0, 0, 2);
  if (overlayRequests & OVERLAY_FPS) qGlutFpsOverlay();
  if (overlayRequests & OVERLAY_STATUS) qGlutStatusText("", 0, STATUS_DRAW);
  qGlutInitFullscreenText(FST_STOP);
  overlayRequests = 0;
  qGlCheckError("qGlCheckDisplayFlags()");
}
