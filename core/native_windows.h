// Platform layer: memory, time, directories, environment, window front-end calls, images and hooks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

void *qAlloc(size_t size);
void qFree(void *block, size_t size);

// The millisecond tick counter: CLOCK_MONOTONIC since process start.
int64_t qTickMs();
void qGetTime(uint32_t *seconds, uint32_t *microseconds);
void qSplitTicks(int64_t ticks, uint32_t *seconds, uint32_t *microseconds);
int64_t qElapsedMicroseconds(uint32_t seconds0, uint32_t microseconds0, uint32_t seconds1, uint32_t microseconds1);
void qSleep(int ms);
void qSleepTicks(int n);

int qChdir(const char *path);
const char *qGetcwd();
int qMkdir(const char *path);
const char *qGetenv(const char *name);
int qPutenv(const char *text);
int qUnsetenv(const char *name);
void qFreezeEnvironment();
long qFileLength(const char *path);
const char *qNextDirEntry(const char *directory);
int countTrailingNuls(const char *buffer, long length);

// The GLUT front end's calls that the lower layers make: the window layer, selecting a window, the
// text overlays and the last key. app/ fills the table at start-up; the defaults do nothing.
struct WindowCalls {
  int (*resetFlags)();
  int (*openWindows)();
  int (*setWindow)(int id);  // 1 when the window could be selected
  void (*multiLineText)(const char *text, int lines, int charactersPerLine, int redraw);
  void (*statusText)(const char *text, int level, int flags);
  void (*fpsOverlay)();
  void (*strokeString)(const char *text);
  int (*takeKey)();
};

// A key from the key buffer: an ordinary key is its character code (1..255), a special key (function
// and arrow keys) SPECIAL_KEY + its GLUT code + 128 (in one byte), so that the left arrow (228) is
// not the typed 'ä' and page up and down (232, 233) are not the typed 'è' and 'é'; 0 is no key.
enum { SPECIAL_KEY = 0x100, KEY_MASK = 0x1FF };
extern WindowCalls windowCalls;

int InitNothing(const char *programPath);
int qInitWindowSystem();
int qOpenWindows();
extern int qSkippedTexts;
void qTextOutput(const char *text, int lines, int charactersPerLine, int force);
void qStatusText(const char *text, int level, int flags);
int qTakeKey();
void qRaiseWindow(int which);
void qDebugString(const char *text);
const char *qVersionLine();

extern long patternBufferSize;
void computeBufferSize(int a, int b);

void qAfterFrameHook();
void qFrameCountHook();
void qShutdownHook();
void qQuitHook();
// The camera input hooks (core/pointer.cpp): the drag and buttons of the frame, the movement keys.
void qCameraHook();
void qViewResetHook();
void qLoadHook(int timeMeter);
void qSpeedHook(int speed);
void qStatusHook();
void qFileDoneHook();
void qImageSequenceDone();
void resetViewOffsets();

// Set by the window front end once the 3D window exists, run on the main thread only:
// raising the 3D window, and reading its back buffer as RGB rows (top row first; 0 on success).
extern void (*qRaiseWindowHook)();
extern int (*qReadWindowPixels)(int *width, int *height, std::vector<uint8_t> &rgb);

int qSaveWindowImage(int kind, int counter);
int qSaveImageRows(int kind, int counter, int width, int height, const uint8_t *const *rows);
int writePngFile(const char *path, int width, int height, const uint8_t *const *rows);
