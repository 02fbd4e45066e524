// The buttons of the remote control drawn in the qrc window's own GL context: move modes, stop the
// rotation, object chooser, pattern dialog and the seven speed buttons; in pick mode their pick
// shapes under their GL names, which are their command values.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/uistate.h"
#include "core/vecmath.h"
#include "scene/geometry.h"
#include "scene/renderer.h"
#include "ui/remote.h"

double chooserSpin;

struct Colour {
  float r, g, b;
};

struct ButtonLook {
  int name;
  Colour active, normal;
  int helpText;
};

static const ButtonLook looks[] = {
    {33, {0.9f, 0.4f, 0.4f}, {0.6f, 0.1f, 0.1f}, 2400}, {45, {0.9f, 0.6f, 0.3f}, {0.6f, 0.5f, 0.3f}, 2404},
    {46, {1, 1, 0}, {0.4f, 0.4f, 0.4f}, 207},             {47, {1, 0.2f, 0.2f}, {0.8f, 0.4f, 0.4f}, 206},
    {48, {1, 1, 1}, {1, 1, 1}, 2205},                     {12, {0.9f, 0.1f, 0.1f}, {0.6f, 0, 0}, 2200},
    {28, {1, 1, 0.5f}, {0.9f, 0.9f, 0.3f}, 2305},         {29, {0.9f, 0.6f, 0.3f}, {0.6f, 0.5f, 0.3f}, 2306},
    {24, {0.4f, 1, 0.4f}, {0.1f, 0.8f, 0.1f}, 2301},      {27, {0.9f, 0.4f, 0.4f}, {0.6f, 0.1f, 0.1f}, 2304},
    {23, {0.4f, 1, 0.4f}, {0.1f, 0.8f, 0.1f}, 2300},      {25, {1, 1, 0.5f}, {0.9f, 0.9f, 0.3f}, 2302},
    {26, {0.9f, 0.6f, 0.3f}, {0.6f, 0.5f, 0.3f}, 2303},
};

static int stateOf(int name) {
  for (int i = 0; i < REMOTE_BUTTON_COUNT; i++)
    if (remoteButtonNames[i] == name) return remoteButtonStates[i];
  return 0;
}

// The button's colour by its state; a hovered button shows its help text in the message line.
static void buttonColour(int name) {
  for (const ButtonLook &look : looks) {
    if (look.name != name) continue;
    int state = stateOf(name);
    const Colour &c = state & 3 ? look.active : look.normal;
    glColor3f(c.r, c.g, c.b);
    if (state & 1) qStatusText(localTextLine(look.helpText).c_str(), 2, STATUS_MESSAGE);
    return;
  }
}

static void quad(double x0, double y0, double x1, double y1) {
  glBegin(GL_QUADS);
  glNormal3d(0, 0, 1);
  glVertex2d(x0, y0);
  glVertex2d(x1, y0);
  glVertex2d(x1, y1);
  glVertex2d(x0, y1);
  glEnd();
}

static void triangle(double x0, double y0, double x1, double y1, double x2, double y2) {
  // Either winding faces the viewer: culling would drop half of the speed triangles.
  glDisable(GL_CULL_FACE);
  glBegin(GL_TRIANGLES);
  glNormal3d(0, 0, 1);
  glVertex2d(x0, y0);
  glVertex2d(x1, y1);
  glVertex2d(x2, y2);
  glEnd();
  glEnable(GL_CULL_FACE);
}

static void disc(double x, double y, double radius) {
  glPushMatrix();
  glTranslated(x, y, 0);
  gluSphere(qQuadric, radius, 12, 8);
  glPopMatrix();
}

static void stopShape() {
  glPushMatrix();
  glTranslated(0, 8, 0);
  glRotated(-65, 1, 0, 0);
  glTranslated(0, 0, -8);
  gluCylinder(qQuadric, 9, 9, 16, 16, 1);
  glTranslated(0, 0, 16);
  gluDisk(qQuadric, 0, 9, 16, 1);
  glPopMatrix();
}

// A band of radius 12 seen from above at a slant, over 22 steps of 10 degrees, with a head.
static void rotateShape() {
  glDisable(GL_CULL_FACE);
  glBegin(GL_QUAD_STRIP);
  glNormal3d(0, 0, 1);
  for (int i = 0; i <= 22; i++) {
    double a = (i * 10 + 160) * PI / 180;
    glVertex2d(10 * std::cos(a), -4 + 10 * 0.4 * std::sin(a));
    glVertex2d(14 * std::cos(a), -4 + 14 * 0.4 * std::sin(a));
  }
  glEnd();
  double a = (22 * 10 + 160) * PI / 180;
  double x = 12 * std::cos(a), y = -4 + 12 * 0.4 * std::sin(a);
  glBegin(GL_TRIANGLES);
  glVertex2d(x - 4, y + 2);
  glVertex2d(x + 4, y + 2);
  glVertex2d(x + 1, y - 4);
  glEnd();
  glEnable(GL_CULL_FACE);
}

static void walkerShape() {
  disc(0, 4, 4.5);
  glLineWidth(2);
  glBegin(GL_LINES);
  glVertex2d(0, 0);
  glVertex2d(0, -9);
  glVertex2d(-7, -3);
  glVertex2d(7, -3);
  glVertex2d(0, -9);
  glVertex2d(-5, -18);
  glVertex2d(0, -9);
  glVertex2d(5, -18);
  glEnd();
  glLineWidth(1);
}

static void panShape() {
  quad(-10, -1.5, 10, 1.5);
  quad(-1.5, -10, 1.5, 10);
  triangle(10, -5, 14, 0, 10, 5);
  triangle(-10, 5, -14, 0, -10, -5);
  triangle(-5, 10, 0, 14, 5, 10);
  triangle(5, -10, 0, -14, -5, -10);
}

static void dialogShape(int state) {
  const Colour arcs = state & 3 ? Colour{0.9f, 0.1f, 0.1f} : Colour{0.6f, 0, 0};
  const Colour balls = state & 3 ? Colour{1, 1, 0.5f} : Colour{0.9f, 0.9f, 0.3f};
  glColor3f(arcs.r, arcs.g, arcs.b);
  glLineWidth(2);
  for (int side = -1; side <= 1; side += 2) {
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i <= 12; i++) {
      double a = i * PI / 12;
      glVertex2d(side * 4 + 6 * std::cos(a), -6 + 14 * std::sin(a));
    }
    glEnd();
  }
  glLineWidth(1);
  glColor3f(balls.r, balls.g, balls.b);
  disc(-9, -6, 4.5);
  disc(0, 8, 4.5);
  disc(9, -6, 4.5);
}

static void speedShape(int name) {
  switch (name) {
    case 28: triangle(15, 0, 15, 20, 0, 10); break;
    case 29: triangle(10, 10, 25, 10, 25, 20); break;
    case 24: quad(17, -1, 28, 5); break;
    case 27: disc(35, 10, 6); break;
    case 23:
      quad(41, -1, 53, 5);
      quad(44, -4, 50, 8);
      break;
    case 25: triangle(55, 0, 70, 10, 55, 20); break;
    case 26: triangle(45, 10, 60, 10, 45, 20); break;
  }
}

struct PickBox {
  int name;
  double x, y, x0, y0, x1, y1;
};

static const PickBox boxes[] = {
    {33, 0, 90, -14, 2, 14, 15},   {45, 0, 90, -14, -9, 14, 1},   {46, 0, 65, -14, -19, 14, 9},
    {47, 0, 30, -14, -14, 14, 14}, {48, 35, 30, -14, -14, 14, 14}, {12, 70, 30, -14, -14, 14, 14},
};

static void drawButton(const PickBox &b) {
  glPushMatrix();
  glTranslated(b.x, b.y, 0);
  buttonColour(b.name);
  switch (b.name) {
    case 33: stopShape(); break;
    case 45: rotateShape(); break;
    case 46: walkerShape(); break;
    case 47: panShape(); break;
    case 48:
      if (stateOf(48) & 3) chooserSpin += 8;
      glRotated(chooserSpin, 0, 1, 0);
      propSpheroid(qQuadric, 10, 12, 8, -1, 0, 0);
      break;
    case 12: dialogShape(stateOf(12)); break;
  }
  glPopMatrix();
}

// In pick mode the boxed buttons draw only their box; the speed shapes are their own pick shapes.
void qGlutqrcDrawElements(int pick) {
  if (!qQuadric) qQuadric = gluNewQuadric();
  if (!qQuadric) return;
  RemoteLayout layout = remoteLayout(qrcWindowSize[0], qrcWindowSize[1]);
  glPushMatrix();
  glTranslated(layout.landscape ? 105 : 15, 0, 0);
  for (const PickBox &b : boxes) {
    if (pick) {
      glLoadName(GLuint(b.name));
      glPushMatrix();
      glTranslated(b.x, b.y, 0);
      quad(b.x0, b.y0, b.x1, b.y1);
      glPopMatrix();
    } else {
      drawButton(b);
    }
  }
  glPushMatrix();
  glTranslated(20, 75, 0);
  glScaled(1.2, 1.1, 1);
  for (int name : {28, 29, 24, 27, 23, 25, 26}) {
    if (pick) glLoadName(GLuint(name));
    else buttonColour(name);
    if (pick && name == 27) quad(30, 5, 40, 15);
    else speedShape(name);
  }
  glPopMatrix();
  if (pick) glLoadName(0);
  glPopMatrix();
}
