// The GLUT front end of the main thread: the 3D window, its callbacks, the idle pass that drives every
// frame and serves the restart request, the frame limiter and frame-rate measurement, the last key, and
// the text overlays drawn at the end of each frame.
#include "ui/glut_windows.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/runstate.h"
#include "core/pointer.h"
#include "core/prefs.h"
#include "core/tclthreads.h"
#include "core/utils.h"
#include "scene/classic_renderer.h"
#include "scene/renderer.h"
#include "scene/textures.h"
#include "scene/vrml_renderer.h"
#include "ui/menus.h"
#include "ui/modes.h"
#include "ui/remote.h"

static int noFrame() { return 0; }
static void noAfterRendering(int) {}
static int endProgram(int) { return 0; }
static int noPattern() { return 1; }
LoopCalls loopCalls = {noFrame, noAfterRendering, endProgram, noPattern};

int keyBuffer;
double fpsMeasured;
double fpsSmoothed;
double fpsAccumulator = 1000.0;
int fpsTimeBase;
int lastAdvanceResult;
int statusOverlayFlags;
char messageLine[MESSAGE_LINE_SIZE];
char hintLine[HINT_LINE_SIZE];
int lineHoldFlags;
int menuHidePending;
int menuRebuildPending;
int windowBeforeFullScreen[4];
int panDragFlag;
int accumBufferAvailable;
int quadricSliceBase;
char qGlutWindowTitle[512];

static int glutElapsedMs() { return glutGet(GLUT_ELAPSED_TIME); }
int (*qGlutClockMs)() = glutElapsedMs;
void (*qGlutSleepMs)(int ms) = qSleep;

// The text is kept as a copy: the screens build it in buffers of their own that are gone by the
// time the window is drawn.
static std::string storedText;
static bool textStored;
static int storedLines, storedCpl;

static const int64_t FLAG_FPS = 0x200000;

static bool remoteShown() { return remoteState == REMOTE_SHOWN; }
static bool hardwareFullScreen() { return qPrefs.displayFlags & 1; }
static void (*idleFunction())() { return qPrefs.minFrameMs ? qGlutIdleLimited : qGlutIdle; }
static bool bigFont() { return qPrefs.textFont == 2; }

int qGlutResetFlags() {
  overlayRequests = 0;
  quadricSliceBase = 7;
  menuHidePending = 1;
  return 0;
}

// The display mode with every buffer the server offers: the accumulation buffer (motion blur) and the
// stencil buffer (mirror, shadows) are dropped when no visual has them.
static void chooseDisplayMode() {
  const unsigned base = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH;
  const unsigned modes[] = {base | GLUT_ACCUM | GLUT_STENCIL, base | GLUT_STENCIL, base};
  for (unsigned mode : modes) {
    glutInitDisplayMode(mode);
    if (glutGet(GLUT_DISPLAY_MODE_POSSIBLE)) {
      accumBufferAvailable = (mode & GLUT_ACCUM) != 0;
      return;
    }
  }
}

// freeglut ends the process when it cannot open the display, so the display is tried first.
static bool initGlut() {
  static bool done;
  if (done) return true;
  Display *display = XOpenDisplay(nullptr);
  if (!display) return false;
  XCloseDisplay(display);
  int argc = 1;
  char name[] = "quoit";
  char *argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  done = true;
  return true;
}

int qGlutOpenWindows() {
  int id = 0;
  if (initGlut()) {
    chooseDisplayMode();
    glutInitWindowSize(qPrefs.width, qPrefs.height);
    glutCreateWindow("Quoit");
    id = glutGetWindow();
    // A held key arrives once: X would repeat it between frames and defeat the key table's guard.
    if (id) glutIgnoreKeyRepeat(1);
  }
  if (id == 0) {
    qMsg(QMSG_ERROR, "Error opening Quoit 3D Window\n");
    return 1;
  }
  qWindowIds[WIN_3D] = id;
  glutPositionWindow(100, 50);
  qGlSetModes();
  if (qPrefs.vrml) qGlSetLightColor(37);
  qGlutSetMainFuncs();
  if (int e = initTextures()) qMsg(QMSG_ERROR, "initTextures() failed with code %d\n", e);
  if (qPrefs.displayFlags) qSetModeValue(9, 0, 1, 0);
  qGlutSetWindow(id);
  if (!qQuadric) qQuadric = gluNewQuadric();
  qRaiseWindowHook = qGlutRaiseWindow;
  qReadWindowPixels = qGlutReadWindowImage;
  return 0;
}

void qGlutSetMainFuncs() {
  qGlutSetWindow(qWindowIds[WIN_3D]);
  glutDisplayFunc(qGlutDisplay);
  glutReshapeFunc(qGlReshape);
  glutIdleFunc(idleFunction());
  if (!qMode.benchmark) {
    glutKeyboardFunc(qGlutKeyboard);
    glutSpecialFunc(qGlutSpecial);
    glutSpecialUpFunc(qGlutSpecialUp);
    glutMotionFunc(qGlutMotion);
    glutMouseFunc(qGlutMouse);
  }
  glutVisibilityFunc(qGlutVisibility);
  qGlutMakeMenu();
  if (remoteShown()) qGlutqrcSetFuncs();
}

void qGlutMainLoopStart() {
  qGlutMakeMenu();
  if (remoteShown()) qGlutqrcSetFuncs();
  lastAdvanceResult = loopCalls.advanceFrame();
  qGlCheckError("before glutMainLoop()");
  glutMainLoop();
}

int qGlutSetWindow(int id) {
  if (id == qWindowIds[WIN_QRC] && !remoteShown()) return 0;
  if (id == 0) {
    qMsg(QMSG_ERROR, "qGlutSetWindow(%d) : window not found.\n", id);
    return 0;
  }
  glutSetWindow(id);
  return 1;
}

void qGlutSetTitle() {
  const char *suffix = qPrefs.ss_opt == 3 ? "Patconv" : "";
  if (shownSiteswap[0]) {
    snprintf(qGlutWindowTitle, sizeof qGlutWindowTitle, "Quoit: siteswap %s %s   [%d%%]", shownSiteswap, suffix,
             qMode.speed);
  } else if (qPrefs.current == 2 && patternStepped && qPrefs.thlist) {
    snprintf(qGlutWindowTitle, sizeof qGlutWindowTitle, "Quoit: siteswap %s %s   [%d%%]", listSiteswap, suffix,
             qMode.speed);
  } else {
    const char *node = qGetFileNode(currentPatternFile.c_str(), 1);
    snprintf(qGlutWindowTitle, sizeof qGlutWindowTitle, "Quoit: %s %s   [%d%%]", node ? node : "", suffix,
             qMode.speed);
  }
  if (qGlutSetWindow(qWindowIds[WIN_3D])) glutSetWindowTitle(qGlutWindowTitle);
}

void qGlutKeyboard(unsigned char key, int, int) { keyBuffer = key; }

// The arrow keys move the camera while they are held.
static int moveKeyOf(int key) {
  switch (key) {
    case GLUT_KEY_LEFT: return MOVE_LEFT;
    case GLUT_KEY_RIGHT: return MOVE_RIGHT;
    case GLUT_KEY_UP: return MOVE_UP;
    case GLUT_KEY_DOWN: return MOVE_DOWN;
    default: return -1;
  }
}

// The modifiers of the event being served (none when GLUT is not running).
static int pointerModifiers() {
  if (!glutGet(GLUT_INIT_STATE)) return 0;
  int m = glutGetModifiers();
  return (m & GLUT_ACTIVE_SHIFT ? POINTER_SHIFT : 0) | (m & GLUT_ACTIVE_CTRL ? POINTER_CTRL : 0);
}

void qGlutSpecial(int key, int, int) {
  if (key >= 0x70 && key <= 0x77) return;  // freeglut's modifier keys
  keyBuffer = SPECIAL_KEY | ((key + 128) & 0xFF);
  if (moveKeyOf(key) >= 0) pointerMoveKey(moveKeyOf(key), true, pointerModifiers());
}

void qGlutSpecialUp(int key, int, int) {
  if (moveKeyOf(key) >= 0) pointerMoveKey(moveKeyOf(key), false, 0);
}

int qGlutTakeKey() {
  int key = keyBuffer;
  keyBuffer = 0;
  return key;
}

void qGlutVisibility(int state) { glutIdleFunc(state == GLUT_VISIBLE ? idleFunction() : nullptr); }

void qGlutTimer(int) { qGlutIdle(); }

void qGlutToggleFullScreen() {
  if (!qGlutSetWindow(qWindowIds[WIN_3D])) return;
  int *w = windowBeforeFullScreen;
  if (!(qMode.flags & FLAG_FULL_SCREEN)) {
    w[0] = glutGet(GLUT_WINDOW_X);
    w[1] = glutGet(GLUT_WINDOW_Y);
    w[2] = glutGet(GLUT_WINDOW_WIDTH);
    w[3] = glutGet(GLUT_WINDOW_HEIGHT);
    glutFullScreen();
    qSetModeValue(uint32_t(FLAG_FULL_SCREEN), 0, 1, 0);
    qPrefs.width = glutGet(GLUT_SCREEN_WIDTH);
    qPrefs.height = glutGet(GLUT_SCREEN_HEIGHT);
    if (remoteShown() && qGlutSetWindow(qWindowIds[WIN_QRC])) {
      glutPopWindow();
      qGlutSetWindow(qWindowIds[WIN_3D]);
    }
  } else {
    glutPositionWindow(w[0], w[1]);
    glutReshapeWindow(w[2], w[3]);
    qSetModeValue(uint32_t(FLAG_FULL_SCREEN), 0, 0, 0);
    qPrefs.width = w[2];
    qPrefs.height = w[3];
  }
}

void qGlutMouse(int button, int state, int x, int y) {
  lastMouseX = x;
  lastMouseY = y;
  if (button != GLUT_LEFT_BUTTON && button != GLUT_MIDDLE_BUTTON && button != GLUT_RIGHT_BUTTON) return;
  int modifiers = pointerModifiers();
  int pressed = button;
  if (button == GLUT_LEFT_BUTTON && (modifiers & POINTER_CTRL)) button = GLUT_MIDDLE_BUTTON;
  if (qMode.move == 0x200) panDragFlag = state == GLUT_DOWN ? !panDragFlag : 0;
  // A button let go always reaches the pointer input, so that no drag outlives its button.
  if (state == GLUT_UP) pointerButton(pressed, false, modifiers, x, y);
  if (chooserState == 2 && state == GLUT_UP) {
    chooserState = 0;
    return;
  }
  if (remoteShown() && !hardwareFullScreen() && button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) {
    if (qMode.main == 0x20) {
      qMsg(QMSG_INFO, "%s", localText(2013));
    } else {
      char first[256];
      snprintf(first, sizeof first, "%s", localText(2012));
      qMsg(QMSG_INFO, "%s%s", first, localText(2014));
    }
  }
  if (state == GLUT_DOWN && !remoteShown()) pointerButton(pressed, true, modifiers, x, y);
}

// Without the remote control the 3D window's drags steer the camera (the remote control's panel
// does it while it is shown).
void qGlutMotion(int x, int y) {
  lastMouseX = x;
  lastMouseY = y;
  if (!remoteShown()) pointerMotion(x, y);
}

// One line of a multi-line text: at most cpl characters up to its line break or the end. The next line
// starts after the line break; a line cut at cpl goes on with the next character.
const char *nextTextLine(const char *line, int cpl, int *length) {
  int n = 0;
  while (n < cpl && line[n] && line[n] != '\n') n++;
  *length = n;
  return line[n] == '\n' ? line + n + 1 : line + n;
}

int wrappedTextLines(const std::string &text, int cpl) {
  int n = 0;
  for (const char *p = text.c_str(); *p && cpl > 0; n++) {
    int length;
    p = nextTextLine(p, cpl, &length);
  }
  return n;
}

static int textCharWidth() { return bigFont() ? 9 : 8; }

// A text is drawn 4 pixels from the window's right edge, one character wider than its lines, and
// its backdrop reaches 10 pixels further left.
int windowTextColumns() {
  int columns = (qPrefs.width - 14) / textCharWidth() - 1;
  return columns < 1 ? 1 : columns > MAX_TEXT_COLUMNS ? MAX_TEXT_COLUMNS : columns;
}

std::vector<std::string> drawnTextLines(const std::string &text, int lines, int cpl) {
  std::vector<std::string> drawn;
  cpl = cpl < 0 ? 0 : cpl > MAX_TEXT_COLUMNS ? MAX_TEXT_COLUMNS : cpl;
  const char *p = text.c_str();
  for (int i = 0; i < lines + 2 && *p; i++) {
    int length;
    const char *next = nextTextLine(p, cpl, &length);
    drawn.emplace_back(p, size_t(length));
    p = next;
  }
  return drawn;
}

TextColumns splitTextColumns(const std::vector<std::string> &drawn, int lines, int (*lineWidth)(const std::string &)) {
  TextColumns c;
  c.splitAfter = lines / 2 + 1;
  for (size_t i = 0; i < drawn.size(); i++) {
    int w = lineWidth(drawn[i]);
    int &widest = int(i) <= c.splitAfter ? c.firstWidth : c.secondWidth;
    if (w > widest) widest = w;
  }
  c.secondX = 4 + c.firstWidth + TEXT_COLUMN_GAP;
  return c;
}

int textLineWidth(const std::string &line) {
  void *font = bigFont() ? GLUT_BITMAP_9_BY_15 : GLUT_BITMAP_8_BY_13;
  int w = 0;
  for (unsigned char c : line) w += glutBitmapWidth(font, c);
  return w;
}

// A text higher than the window goes into two columns; the second one starts after the widest line
// of the first, as the font draws it. A lower text stands at the window's right edge.
TextPlacement placeTextLines(const std::vector<std::string> &drawn, int lines, int cpl, int width, int height,
                             int (*lineWidth)(const std::string &)) {
  int lineStep = bigFont() ? 16 : 14, charWidth = textCharWidth();
  cpl = cpl > MAX_TEXT_COLUMNS ? MAX_TEXT_COLUMNS : cpl;
  int textWidth = (cpl + 1) * charWidth, textHeight = (lines + 2) * lineStep;
  TextPlacement p;
  int x, y, splitAfter = -1, secondX = 0, secondY = 0;
  if (textHeight > height - 46) {
    int h = textHeight / 2, top = (height + h) / 2;
    TextColumns columns = splitTextColumns(drawn, lines, lineWidth);
    p.backdrop = {-6, top - h - 10, columns.secondX + columns.secondWidth + 16, h + lineStep + 20};
    x = 4;
    y = top;
    splitAfter = columns.splitAfter;
    secondX = columns.secondX;
    secondY = top - 2 * lineStep;
  } else {
    x = width - textWidth - 4;
    y = (height + textHeight) / 2 - 18;
    p.backdrop = {x - 10, y - textHeight - 10, textWidth + 20, textHeight + lineStep + 20};
  }
  for (int i = 0; i < int(drawn.size()); i++) {
    p.x.push_back(x);
    p.y.push_back(y);
    y -= lineStep;
    if (i == splitAfter) {
      x = secondX;
      y = secondY;
    }
  }
  return p;
}

static void drawMultiLineText() {
  std::vector<std::string> drawn = drawnTextLines(storedText, storedLines, storedCpl);
  TextPlacement p = placeTextLines(drawn, storedLines, storedCpl, qPrefs.width, qPrefs.height, textLineWidth);
  drawTextBackdrop(p.backdrop[0], p.backdrop[1], p.backdrop[2], p.backdrop[3]);
  for (size_t i = 0; i < drawn.size(); i++) {
    glRasterPos2i(p.x[i], p.y[i]);
    qGlutBitmapString(drawn[i].c_str(), int(drawn[i].size()));
  }
  qGlCheckError("after text output");
}

void qGlutMultiLineText(const char *text, int lines, int cpl, int redraw) {
  if (redraw != 2) {
    textStored = text != nullptr;
    storedText = textStored ? text : "";
    storedLines = lines;
    storedCpl = cpl;
  } else if (textStored) {
    drawMultiLineText();
  }
}

// Copies a status text without its final line break, cut to the line's size; true when it changed.
static bool setStatusLine(char *line, size_t size, const char *text) {
  size_t n = strlen(text);
  if (n > 0 && text[n - 1] == '\n') n--;
  if (n > size - 1) n = size - 1;
  if (strlen(line) == n && strncmp(line, text, n) == 0) return false;
  memcpy(line, text, n);
  line[n] = 0;
  return true;
}

static void redisplayRemote() {
  if (remoteShown() && qWindowIds[WIN_QRC]) glutPostWindowRedisplay(qWindowIds[WIN_QRC]);
}

// One status line over its backdrop from (0, y); an empty line draws nothing.
static void drawStatusLine(const char *line, int y) {
  int length = int(strlen(line));
  if (length == 0) return;
  drawTextBackdrop(0, y, 8 * length + 14, 33);
  glRasterPos2i(10, y + 10);
  qGlutBitmapString(line, length);
}

static void drawStatusLines() {
  if (statusOverlayFlags & STATUS_HINT) drawStatusLine(hintLine, 0);
  if (statusOverlayFlags & STATUS_MESSAGE) drawStatusLine(messageLine, qPrefs.height - 26);
  statusOverlayFlags = 0;
}

// A notice keeps the message line for NOTICE_MS, whatever else is said there meanwhile.
static int noticeUntilMs = -1;

static bool noticeHeld() { return noticeUntilMs >= 0 && qGlutClockMs() < noticeUntilMs; }

void qGlutShowNotice(const char *text) {
  noticeUntilMs = -1;
  qGlutStatusText(text, 3, STATUS_MESSAGE);
  noticeUntilMs = qGlutClockMs() + NOTICE_MS;
}

void qGlutStatusText(const char *text, int, int flags) {
  if (flags & STATUS_DRAW) {
    drawStatusLines();
    return;
  }
  if (!text) text = "";
  if (!remoteShown() || hardwareFullScreen()) {
    statusOverlayFlags |= flags;
    overlayRequests |= OVERLAY_STATUS;
  }
  if (flags & STATUS_HINT) {
    lineHoldFlags |= STATUS_HINT;
    if (setStatusLine(hintLine, sizeof hintLine, text)) redisplayRemote();
  } else if (flags & STATUS_MESSAGE) {
    lineHoldFlags |= STATUS_MESSAGE;
    if (!noticeHeld() && setStatusLine(messageLine, sizeof messageLine, text)) redisplayRemote();
  } else if (!(flags & STATUS_NO_INFO)) {
    qMsg(QMSG_INFO, "%s", text);
  }
}

void qGlutFpsOverlay() {
  if (qMode.main == 0x20) return;
  int x = qPrefs.width - 132, y = qPrefs.height - 16;
  char text[64];
  int n = snprintf(text, sizeof text, "%3.0f fps %4d%%", fpsSmoothed, qMode.speed);
  if (n < 0) return;
  if (n > int(sizeof text) - 1) n = sizeof text - 1;
  drawTextBackdrop(x - 2, y - 10, 142, 26);
  GLboolean blending = glIsEnabled(GL_BLEND);
  int first = n < 13 ? n : 13;
  glDisable(GL_BLEND);
  glRasterPos2i(x, y);
  qGlutBitmapString(text, first);
  if (blending) glEnable(GL_BLEND);
  qGlutBitmapString(text + first, n - first);
}

void qGlutStrokeString(const char *text) {
  for (const char *p = text; *p; p++) glutStrokeCharacter(GLUT_STROKE_ROMAN, (unsigned char)*p);
}

void qGlutBitmapString(const char *text, int n) {
  void *font = bigFont() ? GLUT_BITMAP_9_BY_15 : GLUT_BITMAP_8_BY_13;
  for (int i = 0; i < n && text[i]; i++) glutBitmapCharacter(font, (unsigned char)text[i]);
}

// A status line lasts until the second idle pass after it was last set; a notice until its time is up.
void qGlutExpireStatusLines() {
  if (noticeHeld()) qGlutStatusText(messageLine, 3, STATUS_MESSAGE);
  struct Line {
    int bit;
    char *text;
  } lines[2] = {{STATUS_HINT, hintLine}, {STATUS_MESSAGE, messageLine}};
  for (const Line &line : lines) {
    if (lineHoldFlags & line.bit) {
      lineHoldFlags &= ~line.bit;
    } else if (line.text[0]) {
      line.text[0] = 0;
      redisplayRemote();
    }
  }
}

// The chooser or an editor holds pointers into the pattern: it is left before the pattern goes. An
// editor's own leaving may ask for a reload, so the pending action is kept; an editor that stays
// refuses the change.
static bool leaveModesForPatternChange() {
  int action = nextPatternAction;
  if (leaveMainMode()) {
    restartRequest = 0;
    qMsg(QMSG_DEBUG, "the pattern stays while the editor runs\n");
    return false;
  }
  nextPatternAction = action;
  return true;
}

static void serveRestartRequest() {
  int request = restartRequest;
  if (request == 1) {
    if (!leaveModesForPatternChange()) return;
    glutTimerFunc(1000000, qGlutTimer, 0);
    if (loopCalls.cleanUp(nextPatternAction) == 0) exit(0);
    if (loopCalls.loadNextPattern() != 0) {
      loopCalls.cleanUp(0);
      exit(EXIT_LOAD_FAILED);
    }
    qGlutShowWindows(1);
  } else if (request == 2) {
    restartRequest = 1;
    glutTimerFunc(250, qGlutTimer, 0);
  }
}

// The bar shows a rate smoothed over many frames: redrawn every FPS_BAR_MS it is as current as anyone
// can read it, while a redraw of its window every frame, and making qrc current and the 3D window
// again, cost as much as a small frame. A frame whose bar is not redrawn smooths the rate in the 3D
// window's display instead.
static int fpsBarDrawnMs = -1;
static bool fpsBarSkipped;

bool qGlutFpsBarDue() {
  int now = qGlutClockMs();
  if (fpsBarDrawnMs >= 0 && now >= fpsBarDrawnMs && now - fpsBarDrawnMs < FPS_BAR_MS) return false;
  fpsBarDrawnMs = now;
  return true;
}

void qGlutIdle() {
  serveMainThreadRequests();
  if (menuRebuildPending) {
    menuRebuildPending = 0;
    qGlutRemakeMenu();
  }
  loopCalls.afterRendering(lastAdvanceResult);
  lastAdvanceResult = loopCalls.advanceFrame();
  if (qGlutSetWindow(qWindowIds[WIN_3D])) glutPostRedisplay();
  serveRestartRequest();
  if (fpsMeasured != 0) {
    fpsBarSkipped = qWindowIds[WIN_QRCFPS] && !qGlutFpsBarDue();
    if (!fpsBarSkipped) {
      if (qWindowIds[WIN_QRCFPS]) glutPostWindowRedisplay(qWindowIds[WIN_QRCFPS]);
      if (qWindowIds[WIN_QRC]) qGlutSetWindow(qWindowIds[WIN_QRC]);
    }
  }
  qGlutExpireStatusLines();
}

// The sleep before a frame: the rest of the minimum frame time after the work of the last frame.
int qGlutLimitFrame() {
  int ms = 0;
  if (fpsSmoothed > 0 && 1000 / fpsSmoothed < double(INT_MAX) + 1) ms = int(1000 / fpsSmoothed);
  int slept = 0;
  if (ms < qPrefs.minFrameMs) {
    slept = qPrefs.minFrameMs - ms;
    qGlutSleepMs(slept);
  }
  if (fpsTimeBase == 0) fpsTimeBase = qGlutClockMs();
  return slept;
}

void qGlutIdleLimited() {
  qGlutLimitFrame();
  qGlutIdle();
}

void qGlutMeasureFrame() {
  if (!(qMode.flags & FLAG_FPS)) {
    fpsMeasured = 0;
    return;
  }
  int now = qGlutClockMs();
  if (now == fpsTimeBase) {
    fpsAccumulator += 1000;
  } else {
    fpsMeasured = fpsAccumulator / (now - fpsTimeBase);
    fpsTimeBase = qPrefs.minFrameMs ? 0 : now;
    fpsAccumulator = 1000;
  }
}

static void drawFrame() {
  qGlClearScreen();
  if (qPrefs.vrml) qGlUpdateVRMLDisplay();
  else qGlUpdateDisplay();
}

// A window image asked for during the idle pass (kind and counter of the file name): the display
// that follows saves the frame it draws, posed and with every overlay the pass asked for; 0 when
// none waits.
static int imageRequestKind, imageRequestCounter;

int qGlutSaveImageAfterFrame(int kind, int counter) {
  imageRequestKind = kind;
  imageRequestCounter = counter;
  return counter;
}

void qGlutDisplay() {
  if (imageRequestKind) {
    int kind = imageRequestKind;
    imageRequestKind = 0;
    qSaveWindowImage(kind, imageRequestCounter);
  }
  drawFrame();
  qGlutMeasureFrame();
  if (!qWindowIds[WIN_QRCFPS]) {
    qGlutqrcfpsDisplay();
  } else if (fpsBarSkipped) {
    fpsBarSkipped = false;
    qGlutSmoothFrameRate();
  }
  qGlutSetWindow(qWindowIds[WIN_3D]);
  glutSwapBuffers();
}

int qGlutReadWindowImage(int *width, int *height, std::vector<uint8_t> &rgb) {
  if (!qWindowIds[WIN_3D] || !qGlutSetWindow(qWindowIds[WIN_3D])) return 1;
  int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  if (w <= 0 || h <= 0) return 1;
  int requests = overlayRequests, statusFlags = statusOverlayFlags;
  drawFrame();
  overlayRequests = requests;  // the next display draws the overlays again
  statusOverlayFlags = statusFlags;
  std::vector<uint8_t> rows(size_t(w) * h * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
  if (qGlCheckError("qGlutReadWindowImage")) return 1;
  size_t rowBytes = size_t(w) * 3;
  rgb.resize(rows.size());
  for (int r = 0; r < h; r++) memcpy(&rgb[size_t(r) * rowBytes], &rows[size_t(h - 1 - r) * rowBytes], rowBytes);
  *width = w;
  *height = h;
  return 0;
}

void qGlutRaiseWindow() {
  if (qWindowIds[WIN_3D] && qGlutSetWindow(qWindowIds[WIN_3D])) glutPopWindow();
}
