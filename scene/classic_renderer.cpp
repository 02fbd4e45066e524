// Classic renderer: one frame of the 3D window from the flying and the fixed placement lists, with the
// floor, its mirror image, planar shadows, fog, light 0 and the effects of the display modes.
#include "scene/classic_renderer.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include <cmath>
#include <cstdlib>

#include "core/Tcl.h"
#include "core/viewrecords.h"
#include "core/prefs.h"
#include "core/vecmath.h"
#include "pattern/clock.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/colours.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/renderer.h"
#include "scene/textures.h"
#include "scene/vrml_renderer.h"
#include "core/native_windows.h"
#include "core/uistate.h"

QOpenGL qOpenGL;

int stencilDirty;
int interlacePhase = 1;
NoiseState noiseState = {100, 6, 10, 7, 77, 3};
float spotConeMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1};
float shadowColour[4] = {0, 0, 0, 0.4f};
int hiddenWindows[3];
int arrowObject = ARROW_ENTRY;

static const double TURN_DEGREES = 360.0 / 2048;
static const GLuint STENCIL_MASK = 0xffff;
enum { ROTATE_ALL = 1, LETTER_KIND = -17, MAX_REPORTED_ERRORS = 32 };

int qGlCheckError(const char *location) {
  GLenum first = glGetError();
  GLenum error = first;
  for (int n = 0; error != GL_NO_ERROR && n < MAX_REPORTED_ERRORS; n++) {
    qMsg(QMSG_ERROR, "\nOpenGL Error! %s\nLocation: %s\n", (const char *)gluErrorString(error), location);
    error = glGetError();
  }
  return int(first);
}

int glStageChecks;

// Every glGetError waits for the driver, so outside debugging only the end of the frame asks.
int qGlCheckStage(const char *location) { return glStageChecks ? qGlCheckError(location) : 0; }

static int64_t displayMode() { return qMode.display; }
static bool flagOn(int64_t bit) { return (qMode.flags & bit) != 0; }
static bool lettersMode() { return flagOn(FLAG_LETTERS); }

int qGlClearScreen() {
  if (displayMode() == 4) {
    glClearColor(0.8f, 0.8f, 0.8f, 0);
  } else if (!qPrefs.intensity.empty()) {
    float g = float(atof(qPrefs.intensity.c_str()));
    glClearColor(g, g, g, 0);
  } else {
    glClearColor(0, 0, 0.1f, 0);
  }
  GLbitfield buffers = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
  if (displayMode() == 6) buffers = GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
  else if (flagOn(FLAG_SHADOWS | FLAG_MIRROR)) buffers |= GL_STENCIL_BUFFER_BIT;
  glClear(buffers);
  return qGlCheckStage("after clear screen");
}

// A zoom of zero or below would give glFrustum a near plane it refuses, so the nearest is 1 mm.
WindowFrustum windowFrustum(int width, int height, double zoom) {
  int w = width * 300 / height;
  if (w < 1) w = 1;
  return {w * 0.001 * 0.5, (zoom > 0 ? zoom : 1) * 0.001};
}

void qGlSetProjection(int width, int height) {
  qGlCheckStage("before Projection Matrix");
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (height > 0) {
    WindowFrustum f = windowFrustum(width, height, viewState.zoom);
    glFrustum(-f.halfWidth, f.halfWidth, -FRUSTUM_HALF_HEIGHT, FRUSTUM_HALF_HEIGHT, f.nearPlane, 70.0);
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  qGlCheckStage("after Projection Matrix");
}

void ModifyWorld(float extraAzimuth) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(0, 0, -viewState.radius * 0.001);
  glRotated(-(viewState.elevation * TURN_DEGREES), 1, 0, 0);
  glRotated(270 - viewState.azimuth * TURN_DEGREES + extraAzimuth, 0, 0, 1);
  glTranslated(-viewState.x * 0.001, -viewState.y * 0.001, -viewState.z * 0.001);
  qGlSetLight(1);
  qGlCheckStage("after ModifyWorld");
}

// The light's direction in the floor plane, from the light angle.
static double lightTheta() { return -(lightState.angle / 2048.0 * 2 * PI) - PI / 2; }
static double lightDistance() { return lightState.distance * 0.01; }

void qGlSetLight(int heightSign) {
  double theta = lightTheta(), d = lightDistance();
  GLfloat position[4] = {float(cos(theta) * d + lightState.xOffset * 0.001),
                         float(sin(theta) * d + lightState.yOffset * 0.001), float(10 * heightSign), 1};
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 20);
  if (displayMode() == 7) {
    GLfloat direction[3] = {float(-cos(theta) * d), float(-sin(theta) * d), float(-10 * heightSign)};
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, float(atan(lightState.spotRadius * 0.001 * 2 / 10) * 180 / PI));
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
  } else {
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180);
  }
}

// Projects points along the rays from the light onto the floor z = 0.
void qGlShadowMatrix() {
  double theta = lightTheta(), d = lightDistance();
  const double plane[4] = {0, 0, 1, 0};
  const double light[4] = {cos(theta) * d, sin(theta) * d, 10, 1};
  double dot = 0;
  for (int i = 0; i < 4; i++) dot += plane[i] * light[i];
  GLdouble m[16];
  for (int column = 0; column < 4; column++)
    for (int row = 0; row < 4; row++) m[column * 4 + row] = (row == column ? dot : 0) - light[row] * plane[column];
  glMultMatrixd(m);
}

void qGlReshape(int width, int height) {
  glViewport(0, 0, width, height);
  lastMouseX += (width - qPrefs.width) / 2;
  lastMouseY += (height - qPrefs.height) / 2;
  qPrefs.width = width;
  qPrefs.height = height;
}

void qGlSetModes() {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_NORMALIZE);
  glDisable(GL_DITHER);
  qGlSetMaterial(0);
  qGlSetColors(255);
  const GLfloat ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (objekt_geladen && arrowObject >= 0 && arrowObject < OBJECT_RECORDS)
    objekt_geladen[arrowObject].flags |= OBJ_NEW_LIST;
  qGlCheckError("set modes");
}

void qGlutShowWindows(int show) {
  const int which[3] = {WIN_3D, WIN_QRC, WIN_QRCSUB};
  for (int i = 0; i < 3; i++) {
    if (show == 0) {
      hiddenWindows[i] = windowCalls.setWindow(qWindowIds[which[i]]);
      if (hiddenWindows[i]) glutHideWindow();
    } else if (hiddenWindows[i] && windowCalls.setWindow(qWindowIds[which[i]])) {
      glutShowWindow();
      hiddenWindows[i] = 0;
    }
  }
  glFlush();
}

// ---------------------------------------------------------------------------------------------------------
// The placement lists

// The entry of a model index of a placement; null for an index outside the table.
static LoadedObject *entryOf(int model) {
  if (!objekt_geladen || model < 0 || model >= LOO_MAX) return nullptr;
  return &objekt_geladen[model];
}

static bool needsCompiling(const LoadedObject &entry) { return entry.flags & (OBJ_NEW_LIST | OBJ_RECOMPILE); }

static void keepList(LoadedObject &entry, int list) {
  if (list > 0) entry.displayList = list;
}

// A figure is prepared once a frame for each colour set its passes draw with; its part lists are
// compiled only when its shape changed, what its hands move is drawn as it stands. It keeps the
// entry's own list.
static void compileModel(int e) {
  LoadedObject &entry = objekt_geladen[e];
  if (entry.flags & OBJ_RECOMPILE) qGlPrepareFigure(e);
  else if (needsCompiling(entry)) keepList(entry, qGlDefineObject(e));
}

// Juggled objects may be built-in shapes; an arrow among them keeps its old list.
static void compileFlyingModel(int e) {
  LoadedObject &entry = objekt_geladen[e];
  if (!needsCompiling(entry)) return;
  int type = entry.objektnummer;
  if (type == BUILTIN_SPHEROID || type == BUILTIN_CLUB) keepList(entry, qGlDefineBuiltinObject(e, type, OBJ_NEW_LIST));
  else if (type == BUILTIN_ARROW) qMsg(QMSG_DEBUG, "arrow-error.\n");
  else keepList(entry, qGlDefineObject(e));
}

static void translateTo(const Placement &p) { glTranslated(p.x * 0.001, p.y * 0.001, p.z * 0.001); }
static void rotateAbout(int16_t angle, double x, double y, double z) { glRotated(angle * TURN_DEGREES, x, y, z); }

// The triangles of one frame: the model compiler counts those of every model list the frame calls;
// and the fragments that passed the depth and stencil tests, from GL's sample query.
static bool countRequested, countingTriangles;
static long frameTriangles, countedTriangles = -1, countedFragments = -1;
static GLuint fragmentQuery;

static int64_t firstFrameTick = -1;

void countNextFrameTriangles() { countRequested = true; }
int64_t firstFrameMs() { return firstFrameTick; }
long lastCountedTriangles() { return countedTriangles; }
long lastCountedFragments() { return countedFragments; }

static void beginCounting() {
  countingTriangles = countRequested;
  countRequested = false;
  frameTriangles = 0;
  if (!countingTriangles) return;
  if (!fragmentQuery) glGenQueries(1, &fragmentQuery);
  glBeginQuery(GL_SAMPLES_PASSED, fragmentQuery);
}

static void endCounting() {
  if (!countingTriangles) return;
  countingTriangles = false;
  glEndQuery(GL_SAMPLES_PASSED);
  GLuint fragments = 0;
  glGetQueryObjectuiv(fragmentQuery, GL_QUERY_RESULT, &fragments);
  countedTriangles = frameTriangles;
  countedFragments = long(fragments);
}

// A model whose list is not made yet draws nothing; a figure draws its moving elements as they stand.
static void callList(const LoadedObject &entry) {
  if (entry.displayList <= 0) return;
  int e = int(&entry - objekt_geladen);
  if (!qGlDrawFigure(e)) {
    int coloured = e < LOO_MAX ? qGlColouredList(e) : 0;
    glCallList(GLuint(coloured > 0 ? coloured : entry.displayList));
  }
  if (countingTriangles) frameTriangles += qGlModelTriangles(e);
}

// Texts and letters turn to face the camera.
void faceCamera() {
  glRotated(viewState.azimuth * TURN_DEGREES, 0, 0, 1);
  glRotated(viewState.elevation * TURN_DEGREES, 0, 1, 0);
  glRotated(90, 0, 0, 1);
}

void strokeFacingCamera(double scale, int character) {
  glColor3f(1, 1, 1);
  glScaled(scale, scale, scale);
  faceCamera();
  glutStrokeCharacter(GLUT_STROKE_ROMAN, character);
}

static void drawFloor() {
  if (displayMode() == 11) qGlSetGhostColors(0);
  const Placement *floor = flyingPlacements;
  LoadedObject *entry = floor ? entryOf(floor->model) : nullptr;
  if (entry) {
    compileModel(floor->model);
    glPushMatrix();
    translateTo(*floor);
    rotateAbout(floor->angleX, 1, 0, 0);
    rotateAbout(floor->angleZ, 0, 0, 1);
    rotateAbout(floor->angleY, 0, 1, 0);
    callList(*entry);
    glPopMatrix();
  }
  qGlCheckStage("drawscenes Draw Ground");
}

static void drawArrowAt(const Placement &p) { qGlDrawArrow(p.x * 0.001, p.y * 0.001, p.z * 0.001, 0); }

void drawInlineComments(char letter) {
  int row = Objekt_Nummer(letter);
  if (row < 0 || !qInlineComment) return;
  for (int i = 0; i < qInlineCommentCount; i++) {
    const QInlineComment &c = qInlineComment[i];
    if (c.objekt != row || simTime < c.t_from || simTime > c.t_to) continue;
    glPushMatrix();
    glColor3f(1, 1, 1);
    glScaled(0.0017, 0.0017, 0.0017);
    faceCamera();
    windowCalls.strokeString(c.text);
    glPopMatrix();
  }
}

static void drawFlyingObject(const Placement &p, int counter) {
  char letter = char(p.letter & 0xff);
  if (flagOn(FLAG_ARROW) && letter != 0 && letter == currentObjectLetter) drawArrowAt(p);
  LoadedObject *entry = entryOf(p.model);
  if (!entry) return;
  compileFlyingModel(p.model);
  if (displayMode() == 11) qGlSetGhostColors(counter);
  glPushMatrix();
  translateTo(p);
  int kind = lettersMode() ? LETTER_KIND : ObjektEigenschaft(p.model, -17, 2);
  if (flagOn(FLAG_COMMENTS)) drawInlineComments(letter);
  if (kind == ROTATE_ALL) rotateAbout(p.angleX, 1, 0, 0);
  if (kind != LETTER_KIND) rotateAbout(p.angleZ, 0, 0, 1);
  if (kind == ROTATE_ALL) rotateAbout(p.angleY, 0, 1, 0);
  if (lettersMode()) strokeFacingCamera(0.0025, (unsigned char)letter);
  else callList(*entry);
  glPopMatrix();
  qGlCheckStage("drawscenes Draw Flying Objects inner Loop 2");
}

static void drawFlyingList() {
  if (!flyingPlacements) return;
  int counter = 0;
  for (const Placement *p = flyingPlacements + 1; p->model != PLACEMENT_END_FLYING; p++) {
    drawFlyingObject(*p, counter++);
    qGlCheckStage("drawscenes Draw Flying Objects inner Loop");
  }
  qGlCheckStage("drawscenes Draw Flying Objects");
}

// Figures carry their number in letters mode: 1-9, then A, B, ...
static void drawFixedObject(const Placement &p) {
  LoadedObject *entry = entryOf(p.model);
  if (!entry) return;
  compileModel(p.model);
  glPushMatrix();
  translateTo(p);
  if (lettersMode() && (entry->flags & OBJ_FIGURE)) {
    int n = entry->objektnummer;
    glPushMatrix();
    strokeFacingCamera(0.0018, n <= 8 ? n + 49 : n + 56);
    glPopMatrix();
  }
  int kind = ObjektEigenschaft(p.model, -17, 2);
  if (kind == ROTATE_ALL) rotateAbout(p.angleX, 1, 0, 0);
  rotateAbout(p.angleZ, 0, 0, 1);
  if (kind == ROTATE_ALL) rotateAbout(p.angleY, 0, 1, 0);
  callList(*entry);
  glPopMatrix();
  qGlCheckStage("after drawing one static object ");
}

static void drawFixedList() {
  if (!sceneObjectDrawList) return;
  for (const Placement *p = sceneObjectDrawList; p->model != PLACEMENT_END_FIXED; p++) {
    drawFixedObject(*p);
    qGlCheckStage("drawscenes Draw Static szene inner loop");
  }
  qGlCheckStage("drawscenes Draw Static szene");
}

void drawscenes(int kind) {
  qGlCheckStage("before drawscenes");
  if (!qQuadric) qQuadric = gluNewQuadric();
  gluQuadricDrawStyle(qQuadric, GLU_FILL);
  gluQuadricNormals(qQuadric, GLU_SMOOTH);
  if (kind == DRAW_FLOOR || kind == DRAW_FLOOR_BELOW) drawFloor();
  if (kind == DRAW_OBJECTS) {
    drawFlyingList();
    drawFixedList();
  }
  qGlCheckStage("after drawscenes");
}

// ---------------------------------------------------------------------------------------------------------
// One frame

// The floor triangle (0, 0, 0), (0, 0.01, 0), (0.01, 0, 0) turns clockwise on the screen when seen from
// above. A point behind the eye is mirrored through it by the projection, which turns the triangle
// over, so the side is flipped then.
double floorSide() {
  GLdouble model[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  const double points[3][2] = {{0, 0}, {0, 0.01}, {0.01, 0}};
  double x[3] = {0, 0, 0}, y[3] = {0, 0, 0}, sign = 1;
  for (int i = 0; i < 3; i++) {
    double z = 0;
    gluProject(points[i][0], points[i][1], 0, model, projection, viewport, &x[i], &y[i], &z);
    double eyeZ = model[2] * points[i][0] + model[6] * points[i][1] + model[14];
    if (eyeZ >= 0) sign = -1;
  }
  return (x[0] * y[1] + x[1] * y[2] + x[2] * y[0] - x[0] * y[2] - x[1] * y[0] - x[2] * y[1]) * sign;
}

void setFog(float density) {
  int64_t mode = displayMode();
  GLfloat colour[4] = {0, 0, 0.1f, 0};
  if (mode == 4) colour[0] = colour[1] = colour[2] = 0.8f;
  if (mode == 6) {
    colour[0] = 0.4f;
    colour[2] = 0.2f;
  }
  glFogfv(GL_FOG_COLOR, colour);
  if (mode == 3 || mode == 4 || mode == 6) {
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_START, 0);
    glFogf(GL_FOG_END, 30);
    glFogf(GL_FOG_DENSITY, density);
    glEnable(GL_FOG);
  } else {
    glDisable(GL_FOG);
  }
}

static bool lightingOn(bool fogModesLit) {
  int64_t mode = displayMode();
  return mode == 9 || mode == 7 || (fogModesLit && (mode == 3 || mode == 4));
}

void setLighting(bool fogModesLit) {
  if (lightingOn(fogModesLit)) {
    glEnable(GL_LIGHT0);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
  } else {
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glShadeModel(GL_FLAT);
  }
}

static bool windowHasArea() { return qPrefs.width > 0 && qPrefs.height > 0; }

static void beginWindowMapping() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluOrtho2D(0, qPrefs.width, 0, qPrefs.height);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

static void endWindowMapping() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

// Display mode 6: every second row of the window; the scene shows only in the frames of phase 1, or
// only inside the rows when the stencil holds values from a mirror or shadow pass.
static void interlaceRows() {
  interlacePhase = !interlacePhase;
  if (!windowHasArea()) return;
  int width = qPrefs.width, height = qPrefs.height, rowHeight = height / 150 + 1;
  beginWindowMapping();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  qGlSetGradientColors();
  glColor3f(0.2f, 0, 0);
  glEnable(GL_STENCIL_TEST);
  if (stencilDirty) {
    stencilDirty = 0;
    interlacePhase = 0;
    glStencilFunc(GL_EQUAL, 0, STENCIL_MASK);
    glStencilOp(GL_INCR, GL_INCR, GL_INCR);
  } else {
    glDisable(GL_STENCIL_TEST);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  }
  for (int r = interlacePhase; r * rowHeight < height; r += 2)
    glRecti(0, r * rowHeight, width, r * rowHeight + rowHeight);
  endWindowMapping();
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(interlacePhase == 1 ? GL_EQUAL : GL_NOTEQUAL, 0, STENCIL_MASK);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  qGlCheckStage("after IR 2nd Row clean");
}

// The scene mirrored in the floor, visible only where the floor is (stencil value 2): the floor marks
// its pixels, the objects are drawn upside down through them, and blending is left on for the
// translucent floor that the caller draws over its mirror image.
void drawMirrorPass(void (*drawFloor)(), void (*drawObjects)()) {
  glEnable(GL_STENCIL_TEST);
  glDisable(GL_DEPTH_TEST);
  glStencilFunc(GL_NOTEQUAL, 2, STENCIL_MASK);
  glStencilOp(GL_KEEP, GL_REPLACE, GL_REPLACE);
  glDepthFunc(GL_NEVER);
  glDrawBuffer(GL_NONE);
  drawFloor();
  glDrawBuffer(GL_BACK);
  glDepthFunc(GL_LESS);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  glStencilFunc(GL_EQUAL, 2, STENCIL_MASK);
  stencilDirty = 1;
  glPushMatrix();
  glScaled(1, 1, -1);
  glFrontFace(GL_CW);
  qGlSetLight(1);
  drawObjects();
  glFrontFace(GL_CCW);
  qGlSetLight(-1);
  glPopMatrix();
  glDisable(GL_STENCIL_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

static void drawMirror() {
  drawMirrorPass([] { drawscenes(DRAW_FLOOR); }, [] { drawscenes(DRAW_OBJECTS); });
  qGlSetColors(160);
}

// Each floor pixel is darkened once however many shadows overlap (stencil value 1).
static void drawShadows() {
  qGlSetShadowColors(shadowColour);
  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glEnable(GL_STENCIL_TEST);
  stencilDirty = 1;
  glStencilFunc(GL_NOTEQUAL, 1, STENCIL_MASK);
  glStencilOp(GL_KEEP, GL_REPLACE, GL_REPLACE);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPushMatrix();
  qGlShadowMatrix();
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  drawscenes(DRAW_OBJECTS);
  glPopMatrix();
  glPopAttrib();
  glDisable(GL_STENCIL_TEST);
  qGlSetColors(255);
  qGlCheckStage("Stencil");
}

static void drawFloorFromAbove() {
  if (flagOn(FLAG_MIRROR)) drawMirror();
  glDisable(GL_DEPTH_TEST);
  drawscenes(DRAW_FLOOR);
  glDisable(GL_BLEND);
  if (flagOn(FLAG_SHADOWS) && !lettersMode()) drawShadows();
  else if (flagOn(FLAG_MIRROR)) qGlSetColors(255);
  glEnable(GL_DEPTH_TEST);
}

// The noise products wrap around in 32 bits; the remainder takes the sign of the dividend.
static int32_t wrappedProduct(int32_t x, int32_t y) { return int32_t(uint32_t(x) * uint32_t(y)); }

void drawNoise() {
  if (!windowHasArea()) return;
  int width = qPrefs.width, height = qPrefs.height, count = width * height / 100;
  NoiseState &n = noiseState;
  beginWindowMapping();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glBegin(GL_POINTS);
  for (int i = 0; i < count; i++) {
    int32_t ab = wrappedProduct(n.a, n.b);
    glColor3f(1, float(ab % 30) / 100, float(ab % 40) / 100);
    glVertex2i(n.a % width, n.b % height);
    n.g1 = wrappedProduct(n.g1, n.g1) % 95743;
    n.g2 = wrappedProduct(n.g2, n.g2) % 98789;
    n.g3 = wrappedProduct(n.g3, n.g3) % 99773;
    n.g4 = wrappedProduct(n.g4, n.g4) % 57437;
    n.a = n.g1 + n.g3;
    n.b = n.g2 + n.g4;
  }
  glEnd();
  endWindowMapping();
  glEnable(GL_DEPTH_TEST);
}

// Display mode 7: a translucent cone from the floor's lit spot up to the light, 10 m above.
void drawSpotCone() {
  gluQuadricDrawStyle(qQuadric, GLU_FILL);
  gluQuadricNormals(qQuadric, GLU_SMOOTH);
  gluQuadricOrientation(qQuadric, GLU_INSIDE);
  glDisable(GL_COLOR_MATERIAL);
  glEnable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glColor4f(1, 1, 0, 0.15f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPushMatrix();
  spotConeMatrix[8] = float(lightState.distance * 0.001);
  spotConeMatrix[0] = float(lightState.distance * 0.001 + 1);
  glTranslated(lightState.xOffset * 0.001, lightState.yOffset * 0.001, 0);
  glRotated(270 - lightState.angle * TURN_DEGREES, 0, 0, 1);
  glMultMatrixf(spotConeMatrix);
  double radius = 2 * lightState.spotRadius * 0.001;
  gluCylinder(qQuadric, radius, 0, 10, 21, 1);
  gluQuadricOrientation(qQuadric, GLU_OUTSIDE);
  gluCylinder(qQuadric, radius, 0, 10, 21, 1);
  glPopMatrix();
  glEnable(GL_COLOR_MATERIAL);
  glDisable(GL_BLEND);
}

static bool hasAccumulationBuffer() {
  GLint bits = 0;
  glGetIntegerv(GL_ACCUM_RED_BITS, &bits);
  return bits > 0;
}

// Without an accumulation buffer there is no blur; the buffer starts empty whenever blur comes on.
void motionBlur(float keep) {
  static bool blurring;
  bool on = flagOn(FLAG_MOTION_BLUR) && hasAccumulationBuffer();
  if (on && !blurring) glClear(GL_ACCUM_BUFFER_BIT);
  blurring = on;
  if (!on) return;
  glReadBuffer(GL_BACK);
  glDrawBuffer(GL_BACK);
  glAccum(GL_MULT, keep);
  glAccum(GL_ACCUM, 1 - keep);
  glAccum(GL_RETURN, 1.0f);
  qGlCheckStage("Motion Blur loop");
}

int qGlUpdateDisplay() {
  qGlCheckStage("before update Display");
  beginCounting();
  qGlModelNormals(lightingOn(false));
  if (!qQuadric) qQuadric = gluNewQuadric();
  qGlSetProjection(qPrefs.width, qPrefs.height);
  ModifyWorld(0);
  double side = floorSide();
  setFog(0.2f);
  setLighting(false);
  int64_t mode = displayMode();
  if (mode == 6) interlaceRows();
  if (mode == 2) qGlSetColors2();
  if (mode == 11) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  qGlDrawBackground();
  if (side < 0) drawFloorFromAbove();
  drawscenes(DRAW_OBJECTS);
  if (side >= 0) {
    glDisable(GL_DEPTH_TEST);
    drawscenes(DRAW_FLOOR_BELOW);
    glEnable(GL_DEPTH_TEST);
  }
  if (mode == 6) drawNoise();
  if (mode == 7) drawSpotCone();
  glDisable(GL_STENCIL_TEST);
  motionBlur(0.6f);
  qGlSetColors(255);
  if (mode == 11 || side >= 0) glDisable(GL_BLEND);
  endCounting();
  if (firstFrameTick < 0) firstFrameTick = qTickMs();
  qGlCheckDisplayFlags();
  return qGlCheckError("after update Display");
}
