// The remote-control window qrc: opening it with its two subwindows, its layout at each size, the
// clicks and hovering on its buttons (found by GL picking), its status lines, hiding and showing.
#include "ui/remote.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/freeglut.h>


#include "core/Tcl.h"
#include "core/prefs.h"
#include "core/uistate.h"
#include "scene/classic_renderer.h"
#include "ui/editor.h"
#include "ui/glut_windows.h"
#include "ui/menus.h"
#include "ui/modes.h"

const int remoteButtonNames[REMOTE_BUTTON_COUNT] = {45, 46, 47, 48, 33, 28, 27, 25, 24, 23, 26, 29, 12};
int remoteButtonStates[REMOTE_BUTTON_COUNT];

static bool qrcOpened;
static int lastHoverName;
int qrcWindowSize[2] = {210, 120};
static int savedPanelSize[2];
static int qrcRedrawsAfterReshape;

static bool remoteShown() { return remoteState == REMOTE_SHOWN; }

RemoteLayout remoteLayout(int w, int h) {
  RemoteLayout l;
  l.landscape = h == 0 || double(w) / h > 0.7;
  l.extentX = l.landscape ? 210 : 120;
  l.extentY = l.landscape ? 120 : 210;
  double panelWidth = l.landscape ? 90 : 120, fpsX = l.landscape ? 120 : 30, fpsY = l.landscape ? 55 : 145;
  l.panel[0] = 0;
  l.panel[1] = int(h * 15 / l.extentY);
  l.panel[2] = int(w * panelWidth / l.extentX);
  l.panel[3] = int(h * 90 / l.extentY);
  l.fps[0] = int(w * fpsX / l.extentX);
  l.fps[1] = int(h * fpsY / l.extentY);
  l.fps[2] = int(w * 90 / l.extentX);
  l.fps[3] = int(h * 15 / l.extentY);
  return l;
}

// Centres of the buttons in the coordinates of qrc (before the shift of the whole group): the
// place plus the middle of the pick box or of the shape. The speed shapes sit in the speed group
// at (20, 75), scaled by (1.2, 1.1).
struct ButtonCentre {
  int name;
  double x, y;
  bool speedGroup;
};
static const ButtonCentre buttonCentres[REMOTE_BUTTON_COUNT] = {
    {33, 0, 98.5, false}, {45, 0, 86, false},   {46, 0, 60, false},   {47, 0, 30, false},  {48, 35, 30, false},
    {12, 70, 30, false},  {28, 7, 10, true},    {29, 20, 13, true},   {24, 22.5, 2, true}, {27, 35, 10, true},
    {23, 47, 2, true},    {25, 60, 10, true},   {26, 50, 13, true},
};

int remoteButtonCentre(int name, int width, int height, int *x, int *y) {
  RemoteLayout l = remoteLayout(width, height);
  double shift = l.landscape ? 105 : 15;
  for (const ButtonCentre &b : buttonCentres) {
    if (b.name != name) continue;
    double ex = shift + (b.speedGroup ? 20 + 1.2 * b.x : b.x), ey = b.speedGroup ? 75 + 1.1 * b.y : b.y;
    *x = int(ex / l.extentX * width);
    *y = int(height - ey / l.extentY * height);
    return 1;
  }
  return 0;
}

static int buttonIndex(int name) {
  for (int i = 0; i < REMOTE_BUTTON_COUNT; i++)
    if (remoteButtonNames[i] == name) return i;
  return -1;
}

static void redisplay(int window) {
  if (qWindowIds[window]) glutPostWindowRedisplay(qWindowIds[window]);
}

// An orthographic projection of (0, 0) to (right, top) and an identity model view.
static void orthographic(double right, double top, double depth) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, right, 0, top, -depth, depth);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

static void qGlutqrcReshape(int w, int h) {
  glViewport(0, 0, w, h);
  if (h == 0) return;
  RemoteLayout l = remoteLayout(w, h);
  orthographic(l.extentX, l.extentY, 100);
  int qrc = glutGetWindow();
  glutSetWindow(qWindowIds[WIN_QRCSUB]);
  glutPositionWindow(l.panel[0], l.panel[1]);
  glutReshapeWindow(l.panel[2], l.panel[3]);
  glutSetWindow(qWindowIds[WIN_QRCFPS]);
  glutPositionWindow(l.fps[0], l.fps[1]);
  glutReshapeWindow(l.fps[2], l.fps[3]);
  glutSetWindow(qrc);
  redisplay(WIN_QRCFPS);
  redisplay(WIN_QRC);
  qGlCheckError("after Projection Matrix for qrc");
  qrcWindowSize[0] = w;
  qrcWindowSize[1] = h;
  qrcRedrawsAfterReshape = 2;
}

static void qGlutqrcsubReshape(int w, int h) {
  glViewport(0, 0, w, h);
  orthographic(100, 100, 20);
  redisplay(WIN_QRCSUB);
  panelRedrawsAfterReshape = 2;
  qGlCheckError("after Projection Matrix for qrcsub");
  panelSize[0] = w;
  panelSize[1] = h;
}

static void qGlutqrcfpsReshape(int w, int h) {
  glViewport(0, 0, w, h);
  orthographic(100, 15, 20);
  fpsSmoothed = 0.5;
  fpsMeasured = 0;
  redisplay(WIN_QRCFPS);
  qGlCheckError("after Projection Matrix for qrcfps");
}

// The GL name under the pointer, 0 when there is none.
static int qGlutqrcPick(int x, int y) {
  GLuint buffer[256];
  GLint viewport[4];
  glSelectBuffer(256, buffer);
  glRenderMode(GL_SELECT);
  glInitNames();
  glPushName(0);
  glGetIntegerv(GL_VIEWPORT, viewport);
  RemoteLayout l = remoteLayout(qrcWindowSize[0], qrcWindowSize[1]);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPickMatrix(x, viewport[3] - y, 5, 5, viewport);
  glOrtho(0, l.extentX, 0, l.extentY, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  qGlutqrcDrawElements(1);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  int hits = glRenderMode(GL_RENDER);
  // Records: name count, two depths, the names.
  for (int i = 0, at = 0; i < hits && at + 3 <= 256; i++) {
    int names = int(buffer[at]);
    if (names > 0 && at + 3 + names <= 256 && buffer[at + 3 + names - 1] != 0) return int(buffer[at + 3 + names - 1]);
    at += 3 + names;
  }
  return 0;
}

// Hover and click marks are cleared, and the selections of the buttons that are no radio group.
static void clearHighlights() {
  static const int oneShot[9] = {33, 28, 27, 25, 24, 23, 26, 29, 12};
  for (int &state : remoteButtonStates) state &= ~1;
  for (int name : oneShot) remoteButtonStates[buttonIndex(name)] &= ~2;
}

static void setBit(int name, int bit, bool on) {
  int i = buttonIndex(name);
  if (i < 0) return;
  if (on) remoteButtonStates[i] |= bit;
  else remoteButtonStates[i] &= ~bit;
}

void remoteButtonReleased(int name) {
  clearHighlights();
  if (name == 45 || name == 46 || name == 47)
    for (int radio : {45, 46, 47}) setBit(radio, 2, radio == name);
  bool choosing = qMode.main == MAIN_CHOOSER;
  if (name == 48) setBit(48, 2, !choosing);
  for (int oneShot : {28, 27, 25, 24, 23, 26, 29, 12})
    if (name == oneShot) setBit(name, 1, true);
  if (name == 45) qSetModeValue(uint32_t(MOVE_ROTATE), 0, 1, 0);
  else if (name == 46) qSetModeValue(uint32_t(MOVE_WALK), 0, 1, 0);
  else if (name == 47) qSetModeValue(uint32_t(MOVE_PAN), 0, 1, 0);
  else if (name == 48) qSetMode(uint32_t(choosing ? MAIN_CHOOSER_PICK : MAIN_CHOOSER), 0);
  redisplay(WIN_QRCSUB);
  if (qWindowIds[WIN_QRC]) qGlutSetWindow(qWindowIds[WIN_QRC]);
  qGlutMenu(name);
  redisplay(WIN_QRC);
}

static void qGlutqrcMouse(int, int state, int x, int y) {
  if (state == GLUT_UP) remoteButtonReleased(qGlutqrcPick(x, y));
  else redisplay(WIN_QRC);
}

static void qGlutqrcPassiveMotion(int x, int y) {
  clearHighlights();
  int name = qGlutqrcPick(x, y);
  setBit(name, 1, true);
  if (name != lastHoverName) redisplay(WIN_QRC);
  lastHoverName = name;
}

// Bitmap font for the status lines by the pixels per unit of the window's extent.
static void *statusFont(double scale) {
  if (scale < 1.0) return GLUT_BITMAP_HELVETICA_10;
  if (scale > 2.0) return GLUT_BITMAP_TIMES_ROMAN_24;
  if (scale > 1.5) return GLUT_BITMAP_HELVETICA_18;
  return GLUT_BITMAP_HELVETICA_12;
}

static void drawStatusLine(const char *text, double x, double y, void *font) {
  glRasterPos2d(x, y);
  for (const char *p = text; *p; p++) glutBitmapCharacter(font, (unsigned char)*p);
}

static void qGlutqrcDisplay() {
  qGlCheckError("Before QRC Update Display");
  glDisable(GL_DEPTH_TEST);
  glClearColor(0.2f, 0.2f, 0.4f, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  RemoteLayout l = remoteLayout(qrcWindowSize[0], qrcWindowSize[1]);
  orthographic(l.extentX, l.extentY, 100);
  qGlutqrcDrawElements(0);
  qGlCheckError("After Draw Elements in Update Display");
  glDisable(GL_LIGHTING);
  glColor3f(0.9f, 0.9f, 0.9f);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  double height = qrcWindowSize[1] > 0 ? qrcWindowSize[1] : 1;
  glOrtho(0, 15 * qrcWindowSize[0] * l.extentX / height, 0, 10 * l.extentY, -20, 20);
  glMatrixMode(GL_MODELVIEW);
  void *font = statusFont(height / l.extentY);
  drawStatusLine(messageLine, 0, 10 * l.extentY - 100, font);
  drawStatusLine(hintLine, 0, 20, font);
  glEnable(GL_LIGHTING);
  glutSwapBuffers();
  if (qrcRedrawsAfterReshape > 0 && --qrcRedrawsAfterReshape > 0) redisplay(WIN_QRC);
  qGlCheckError("After QRC Update Display");
}

static void setQrcModes() {
  static const GLfloat specular[4] = {0.2f, 0.2f, 0.2f, 1}, ambient[4] = {0.5f, 0.5f, 0.5f, 1};
  static const GLfloat light[4] = {20, 71, 100, 10};
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glEnable(GL_NORMALIZE);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
  glDisable(GL_DITHER);
  glDisable(GL_DEPTH_TEST);
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
  glMaterialf(GL_FRONT, GL_SHININESS, 10);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glLightfv(GL_LIGHT0, GL_POSITION, light);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  qGlCheckError("set modes for qrc");
}

static int createSubWindow(int slot, int x, int y, int w, int h, const char *error) {
  qWindowIds[slot] = glutCreateSubWindow(qWindowIds[WIN_QRC], x, y, w, h);
  if (qWindowIds[slot] == 0) {
    qMsg(QMSG_ERROR, "%s", error);
    return 1;
  }
  return 0;
}

int qGlutqrcOpen() {
  if (qrcOpened) return 0;
  panelPoint[0] = panelPoint[1] = 50;
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
  glutInitWindowSize(210, 120);
  qWindowIds[WIN_QRC] = glutCreateWindow("QuoitRemoteControl");
  if (qWindowIds[WIN_QRC] == 0) {
    qMsg(QMSG_ERROR, "Error opening Quoit Remote Control Window\n");
    return 1;
  }
  glutPositionWindow(qPrefs.width + 115, 50);
  setQrcModes();
  if (createSubWindow(WIN_QRCSUB, 0, 15, 90, 90, "Error opening Quoit Remote Control Subwindow\n")) return 1;
  if (createSubWindow(WIN_QRCFPS, 120, 60, 90, 15, "Error opening Quoit Remote Control FPS Subwindow\n")) return 1;
  qrcOpened = true;
  qGlutqrcSetFuncs();
  qGlutqrcsubDisplay();
  qGlutSetWindow(qWindowIds[WIN_3D]);
  return 0;
}

// The callbacks of the three windows; a benchmark takes no input.
struct RemoteWindowFuncs {
  int slot;
  void (*display)();
  void (*reshape)(int w, int h);
  void (*mouse)(int button, int state, int x, int y);
  void (*motion)(int x, int y);
  void (*passiveMotion)(int x, int y);
};

static const RemoteWindowFuncs remoteWindowFuncs[3] = {
    {WIN_QRC, qGlutqrcDisplay, qGlutqrcReshape, qGlutqrcMouse, nullptr, qGlutqrcPassiveMotion},
    {WIN_QRCSUB, qGlutqrcsubDisplay, qGlutqrcsubReshape, qGlutqrcsubMouse, qGlutqrcsubMotion, nullptr},
    {WIN_QRCFPS, qGlutqrcfpsDisplay, qGlutqrcfpsReshape, nullptr, nullptr, nullptr},
};

// While an editor runs the panel's drags are the editor's (it set them as it started).
static bool editorRuns() { return qMode.main == MAIN_SCENE_EDITOR || qMode.main == MAIN_WALKING_EDITOR; }

void qGlutqrcSetFuncs() {
  if (!qrcOpened || !remoteShown()) return;
  for (const RemoteWindowFuncs &f : remoteWindowFuncs) {
    glutSetWindow(qWindowIds[f.slot]);
    glutDisplayFunc(f.display);
    glutReshapeFunc(f.reshape);
    if (qMode.benchmark) continue;
    bool editor = f.slot == WIN_QRCSUB && editorRuns();
    if (f.mouse) glutMouseFunc(editor ? EditorMouse : f.mouse);
    if (f.motion) glutMotionFunc(editor ? EditorMotion : f.motion);
    if (f.passiveMotion) glutPassiveMotionFunc(f.passiveMotion);
    // Keys act here as in the 3D window: a held arrow stops when it is let go, a held key acts once.
    glutKeyboardFunc(qGlutKeyboard);
    glutSpecialFunc(qGlutSpecial);
    glutSpecialUpFunc(qGlutSpecialUp);
    glutIgnoreKeyRepeat(1);
  }
  qGlutSetWindow(qWindowIds[WIN_3D]);
}

// While hidden the 3D window serves as the panel: the panel's own size comes back with it. The
// menu is attached to qrc only while it is shown, so it is built again.
void qGlutqrcToggle() {
  int qrc = qWindowIds[WIN_QRC];
  if (remoteState == REMOTE_SHOWN) {
    if (qrc && qGlutSetWindow(qrc)) glutHideWindow();
    remoteState = REMOTE_HIDDEN;
    savedPanelSize[0] = panelSize[0];
    savedPanelSize[1] = panelSize[1];
  } else if (remoteState == REMOTE_HIDDEN) {
    remoteState = REMOTE_SHOWN;
    if (qrc && qGlutSetWindow(qrc)) glutShowWindow();
    panelSize[0] = savedPanelSize[0];
    panelSize[1] = savedPanelSize[1];
    qGlutqrcSetFuncs();
    qGlutRemakeMenu();
  }
  if (qWindowIds[WIN_3D]) qGlutSetWindow(qWindowIds[WIN_3D]);
}
