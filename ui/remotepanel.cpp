// The 2D panel (qrcsub, or the whole 3D window while the remote control is hidden): the pointer
// position in percent steers the camera, the pan, the light or the object chooser's cursor; and the
// frame-rate bar qrcfps.
#include <GL/gl.h>
#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>

#include "core/Tcl.h"
#include "core/prefs.h"
#include "core/uistate.h"
#include "core/vecmath.h"
#include "ui/camera.h"
#include "ui/editor.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"
#include "ui/remote.h"

int panelSize[2];
double panelPoint[2] = {50, 50};
double chooserPoint[2];
int qrcsubButton = PANEL_NO_BUTTON;
int panelRedrawsAfterReshape;

static bool remoteShown() { return remoteState == REMOTE_SHOWN; }

static double deadZone(double p) {
  if (p < 48) return p - 48;
  if (p > 52) return p - 52;
  return 0;
}

static void rotatePanel(int button, double py, double dx) {
  CameraState &c = cameraState;
  if (button == GLUT_LEFT_BUTTON) {
    rotationDrift[0] = int(dx * 10);
    c.elevation = (py - 5) * PI / 90;
  } else if (button == GLUT_RIGHT_BUTTON) {
    c.zoom = 3400 / (std::fabs(dx) + 5);
    c.distance = (std::exp((100 - py) / 30) - 0.5) * c.zoom / 300;
    if (c.distance > 45) c.distance = 45;
  }
}

static void panPanel(int button, double px, double py) {
  if (panDragFlag) {
    panelPoint[0] = px;
    panelPoint[1] = py;
    panDragFlag = 0;
  }
  const CameraState &c = cameraState;
  double forward[3] = {c.up[0], c.up[1], c.up[2]};
  if (button == GLUT_LEFT_BUTTON) {
    double n = std::sqrt(c.viewDir[0] * c.viewDir[0] + c.viewDir[1] * c.viewDir[1] + c.viewDir[2] * c.viewDir[2]);
    for (int i = 0; i < 3; i++) forward[i] = n > 0 ? c.viewDir[i] / n : 0;
  }
  double across = -(px - panelPoint[0]) * 0.033, along = (py - panelPoint[1]) * 0.033;
  double v[3];
  for (int i = 0; i < 3; i++) v[i] = across * c.side[i] + along * forward[i];
  if (v[0] != 0 || v[1] != 0 || v[2] != 0)
    for (int i = 0; i < 3; i++) cameraState.lookAt[i] -= v[i];
  panelPoint[0] = px;
  panelPoint[1] = py;
}

// The light turns with the pointer's direction from the centre and reaches as far as it is away;
// at the very centre the direction is undefined and the angle stays.
static void lightPanel(int button, double dx, double dy) {
  double r = std::sqrt(dx * dx + dy * dy);
  if (button == GLUT_LEFT_BUTTON) {
    if (r > 50) r = 50;
    if (r > 0) {
      double angle = angleFromCosine(-dx / r, -dy / r) - cameraState.azimuth + 100 * PI;
      lightState.angle = int16_t(int(angle * 2048 / (2 * PI)) & 0x7FF);
    }
    lightState.distance = int16_t(r * 20);
    lightControlsFollowLight();
  } else if (button == GLUT_RIGHT_BUTTON) {
    if (r > 20) r = 20;
    lightState.spotRadius = int16_t(r / 20 * 1000);
  }
}

void qGlutqrc2DPanel(int button, int x, int y) {
  if (panelSize[0] <= 0 || panelSize[1] <= 0) return;
  double px = double(x) / panelSize[0] * 100, py = double(y) / panelSize[1] * 100;
  if (px < 0 || px > 100 || py < 0 || py > 100) return;
  double dx = deadZone(px), dy = deadZone(py);
  if (qMode.main == MAIN_CHOOSER) {
    if (button == GLUT_LEFT_BUTTON) {
      qMode.dragX = int((px - chooserPoint[0]) * 20);
      qMode.dragY = int((py - chooserPoint[1]) * 20);
      chooserPoint[0] = px;
      chooserPoint[1] = py;
    } else if (button == GLUT_RIGHT_BUTTON) {
      qSetMode(uint32_t(MAIN_CHOOSER_PICK), 0);
    }
  } else if (qMode.move == MOVE_ROTATE) {
    rotatePanel(button, py, dx);
  } else if (qMode.move == MOVE_PAN) {
    panPanel(button, px, py);
  } else if (qMode.move == MOVE_WALK) {
    lightPanel(button, dx, dy);
  } else {
    qMsg(QMSG_ERROR, "Internal Error at qGlutqrc2DPanel LMB");
  }
  if (qWindowIds[WIN_QRCSUB]) glutPostWindowRedisplay(qWindowIds[WIN_QRCSUB]);
}

void qGlutqrcsubMouse(int button, int state, int x, int y) {
  if (state == GLUT_DOWN) {
    qrcsubButton = button;
    double px = panelSize[0] > 0 ? double(x) / panelSize[0] * 100 : 0;
    double py = panelSize[1] > 0 ? double(y) / panelSize[1] * 100 : 0;
    if (qMode.move == MOVE_PAN) {
      panelPoint[0] = px;
      panelPoint[1] = py;
    }
    if (qMode.main == MAIN_CHOOSER) {
      if (button == GLUT_LEFT_BUTTON) {
        chooserPoint[0] = px;
        chooserPoint[1] = py;
      } else if (button == GLUT_RIGHT_BUTTON) {
        qSetMode(uint32_t(MAIN_CHOOSER_PICK), 0);
        for (int i = 0; i < REMOTE_BUTTON_COUNT; i++)
          if (remoteButtonNames[i] == 48) remoteButtonStates[i] &= ~3;
        qrcsubButton = PANEL_NO_BUTTON;
        return;
      }
    }
  } else {
    qrcsubButton = PANEL_NO_BUTTON;
  }
  qGlutqrc2DPanel(qrcsubButton, x, y);
}

void qGlutqrcsubMotion(int x, int y) { qGlutqrc2DPanel(qrcsubButton, x, y); }

static void cross(double x, double y) {
  glColor3f(1, 0, 0);
  glBegin(GL_LINES);
  glVertex2d(x - 5, y - 5);
  glVertex2d(x + 5, y + 5);
  glVertex2d(x - 5, y + 5);
  glVertex2d(x + 5, y - 5);
  glEnd();
}

static void fieldOfView() {
  const CameraState &c = cameraState;
  if (c.zoom == 0) return;
  double h = 30 * std::log(c.distance + 0.5), half = 5000 / c.zoom;
  glColor3f(0, 0, 1);
  glBegin(GL_LINE_LOOP);
  glVertex2d(50, 0);
  glVertex2d(50 + half, h);
  glVertex2d(50 - half, h);
  glEnd();
}

// The light view: the floor square turned with the camera, the spot's circle and the light's star.
static void lightView() {
  glPushMatrix();
  glTranslated(50, 50, 0);
  glRotated(cameraState.azimuth * 180 / PI, 0, 0, 1);
  glColor3f(0, 0.8f, 0);
  glBegin(GL_LINE_LOOP);
  glVertex2d(-20, -20);
  glVertex2d(20, -20);
  glVertex2d(20, 20);
  glVertex2d(-20, 20);
  glEnd();
  glColor3f(1, 0.5f, 0);
  double radius = lightState.spotRadius * 0.02;
  glBegin(GL_LINE_LOOP);
  for (int i = 0; i < 20; i++) glVertex2d(radius * std::cos(i * 2 * PI / 20), radius * std::sin(i * 2 * PI / 20));
  glEnd();
  double angle = lightState.angle * 2 * PI / 2048, reach = lightState.distance / 20.0;
  double x = reach * std::cos(angle), y = reach * std::sin(angle);
  glColor3f(1, 1, 0);
  glBegin(GL_LINES);
  for (int i = 0; i < 4; i++) {
    double a = i * PI / 4;
    glVertex2d(x - 3 * std::cos(a), y - 3 * std::sin(a));
    glVertex2d(x + 3 * std::cos(a), y + 3 * std::sin(a));
  }
  glEnd();
  glPopMatrix();
}

void qGlutqrcsubDisplay() {
  if (!qWindowIds[WIN_QRCSUB] || !remoteShown()) return;
  int previous = glutGetWindow();
  glutSetWindow(qWindowIds[WIN_QRCSUB]);
  glClearColor(0, 0.3f, 0.3f, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  bool editing = (qMode.main == MAIN_SCENE_EDITOR || qMode.main == MAIN_WALKING_EDITOR) && editState == 4488;
  if (!editing) {
    if (qMode.main == MAIN_CHOOSER) {
      cross(chooserPoint[0], 100 - chooserPoint[1]);
    } else if (qMode.move == MOVE_ROTATE) {
      cross(rotationDrift[0] / 10 + 50, 95 - cameraState.elevation / PI * 90);
      fieldOfView();
    } else if (qMode.move == MOVE_PAN) {
      cross(panelPoint[0], 100 - panelPoint[1]);
    } else if (qMode.move == MOVE_WALK) {
      lightView();
      glutPostWindowRedisplay(qWindowIds[WIN_QRCSUB]);
    }
  }
  if (panelRedrawsAfterReshape > 0 && --panelRedrawsAfterReshape > 0) glutPostWindowRedisplay(qWindowIds[WIN_QRCSUB]);
  glFlush();
  glutSwapBuffers();
  if (previous) glutSetWindow(previous);
}

static void bar(double x, double width) {
  glRectd(x, 0.5, x + width, 14.5);
}

bool qGlutSmoothFrameRate() {
  fpsSmoothed = 0.8 * fpsSmoothed + 0.2 * fpsMeasured;
  if (!remoteShown() || (qPrefs.displayFlags & 1)) {
    if (qMode.flags & FLAG_METERS) overlayRequests |= OVERLAY_FPS;
    return false;
  }
  if (fpsMeasured == 0) fpsSmoothed = 0.52;
  return fpsSmoothed >= 0.5;
}

void qGlutqrcfpsDisplay() {
  if (!qGlutSmoothFrameRate()) return;
  glClearColor(0.2f, 0.2f, 0.4f, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  int whole = int(fpsSmoothed);
  glColor3f(1, 0, 0);
  bar(0, 2 * (whole < 10 ? whole : 10));
  if (fpsSmoothed > 10) {
    int tens = int(fpsSmoothed - 10);
    glColor3f(1, 1, 0);
    bar(20, 2 * (tens < 10 ? tens : 10));
  }
  if (fpsSmoothed > 20) {
    glColor3f(0, 1, 0);
    bar(40, 2 * int(fpsSmoothed - 20));
  }
  if (fpsMeasured != 0) {
    char text[32];
    snprintf(text, sizeof text, "%3.0f fps", fpsSmoothed);
    glColor3f(0.4f, 0.4f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1000, 0, 150, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(5, 20, 0);
    for (int i = 0; i < 7 && text[i]; i++) {
      glutStrokeCharacter(GLUT_STROKE_ROMAN, (unsigned char)text[i]);
      glTranslated(15, 0, 0);
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
  }
  glFlush();
  glutSwapBuffers();
}
