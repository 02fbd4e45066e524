// GLUT front end: the windows and their ids, the callbacks, the idle pass with its frame limiter, the
// frame-rate measurement, the last key, the text overlays (multi-line text, status lines, frame rate).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/uistate.h"

enum { MESSAGE_LINE_SIZE = 128, HINT_LINE_SIZE = 100, MAX_TEXT_COLUMNS = 100 };

extern int keyBuffer;  // the last key, as qTakeKey gives it
extern double fpsMeasured;
extern double fpsSmoothed;
extern double fpsAccumulator;
extern int fpsTimeBase;
extern int lastAdvanceResult;
extern int statusOverlayFlags;
extern char messageLine[MESSAGE_LINE_SIZE];
extern char hintLine[HINT_LINE_SIZE];
extern int lineHoldFlags;
extern int menuHidePending;
extern int menuRebuildPending;  // a menu callback asked for a rebuild; the next idle pass does it
extern int windowBeforeFullScreen[4];
extern int panDragFlag;
extern int accumBufferAvailable;
extern int quadricSliceBase;
extern char qGlutWindowTitle[512];

// What the idle pass runs above the window layer: the frame step, the work after a frame, and the
// pattern change of a restart request. app/ fills the table at start-up; the defaults do nothing.
struct LoopCalls {
  int (*advanceFrame)();
  void (*afterRendering)(int previousResult);
  int (*cleanUp)(int action);  // 0 when the program is to end
  int (*loadNextPattern)();    // 0 on success
};
extern LoopCalls loopCalls;

// Clock (GLUT elapsed milliseconds) and sleep of the limiter and the frame-rate measurement; tests replace them.
extern int (*qGlutClockMs)();
extern void (*qGlutSleepMs)(int ms);

// True when the frame-rate bar of the remote control is to be redrawn: FPS_BAR_MS after its last
// redraw, or when the clock went back; the call counts as that redraw.
enum { FPS_BAR_MS = 250 };
bool qGlutFpsBarDue();

int qGlutResetFlags();
int qGlutOpenWindows();
void qGlutSetMainFuncs();
void qGlutMainLoopStart();
int qGlutSetWindow(int id);
void qGlutSetTitle();
void qGlutKeyboard(unsigned char key, int x, int y);
void qGlutSpecial(int key, int x, int y);
int qGlutTakeKey();
void qGlutVisibility(int state);
void qGlutTimer(int value);
void qGlutToggleFullScreen();
void qGlutMouse(int button, int state, int x, int y);
void qGlutMotion(int x, int y);
void qGlutSpecialUp(int key, int x, int y);
void qGlutMultiLineText(const char *text, int lines, int cpl, int redraw);
void qGlutStatusText(const char *text, int level, int flags);
void qGlutFpsOverlay();
void qGlutStrokeString(const char *text);
void qGlutBitmapString(const char *text, int n);
void qGlutIdle();
void qGlutIdleLimited();
void qGlutDisplay();

// Parts of the idle pass and the display callback that need no window.
int qGlutLimitFrame();
void qGlutMeasureFrame();
void qGlutExpireStatusLines();
// Says the text in the message line for NOTICE_MS: what the user must learn when no dialog can show it.
enum { NOTICE_MS = 5000 };
void qGlutShowNotice(const char *text);
const char *nextTextLine(const char *line, int cpl, int *length);
// The lines a multi-line text draws: lines + 2 of them at most, each cut at cpl characters.
std::vector<std::string> drawnTextLines(const std::string &text, int lines, int cpl);
// The lines the text takes when every line is cut at cpl characters.
int wrappedTextLines(const std::string &text, int cpl);
// The characters of a multi-line text's line that fit the 3D window's width.
int windowTextColumns();
// Two columns of drawn lines: the first ends after line splitAfter; the second starts at secondX,
// after the widest line of the first and a gap. Widths in pixels as lineWidth measures them.
enum { TEXT_COLUMN_GAP = 16 };
struct TextColumns {
  int splitAfter = 0, firstWidth = 0, secondWidth = 0, secondX = 0;
};
TextColumns splitTextColumns(const std::vector<std::string> &drawn, int lines, int (*lineWidth)(const std::string &));
// Where the drawn lines of a multi-line text go in a window of width x height, in the text font:
// the start of each line (x from the left, y of its baseline from the bottom) and the backdrop
// behind them (x, y, width, height).
struct TextPlacement {
  std::vector<int> x, y;
  std::array<int, 4> backdrop{};
};
TextPlacement placeTextLines(const std::vector<std::string> &drawn, int lines, int cpl, int width, int height,
                             int (*lineWidth)(const std::string &));
// Pixels of a line as the text font draws it (GLUT must have started).
int textLineWidth(const std::string &line);

// Draws the current frame into the back buffer and reads it before any swap: RGB rows, top row first;
// 0 on success. Brings the 3D window to the front.
int qGlutReadWindowImage(int *width, int *height, std::vector<uint8_t> &rgb);
// Asks for the window image (qSaveWindowImage's kind and counter) to be saved by the next display,
// the frame with the overlays of its idle pass; returns the counter.
int qGlutSaveImageAfterFrame(int kind, int counter);
void qGlutRaiseWindow();
