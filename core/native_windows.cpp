// Stand-in platform layer: the calls the start-up path and the window front end need.
#include "core/native_windows.h"

#include "ui/glut_windows.h"
#include "ui/modes.h"

#include <cstdlib>
#include <ctime>
#include <unistd.h>

long patternBufferSize = 0;

void *qAlloc(size_t size) { return calloc(1, size ? size : 1); }
void qFree(void *block, size_t) { free(block); }

int64_t qTickMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void qSleep(int ms) { usleep(useconds_t(ms) * 1000); }
const char *qVersionLine() { return "Linux Developer Version V14.8\n\n"; }

// Stand-ins of the window front-end calls and the hooks.
void (*qRaiseWindowHook)() = nullptr;
int (*qReadWindowPixels)(int *width, int *height, std::vector<uint8_t> &rgb) = nullptr;

void qGetTime(uint32_t *seconds, uint32_t *microseconds) {
  int64_t t = qTickMs();
  *seconds = uint32_t(t / 1000);
  *microseconds = uint32_t(t % 1000) * 1000;
}

int qInitWindowSystem() { return qGlutResetFlags(); }
int qOpenWindows() { return qGlutOpenWindows(); }

void qTextOutput(const char *text, int lines, int charactersPerLine, int) {
  if (remoteState == REMOTE_SHOWN) return;
  overlayRequests |= OVERLAY_TEXT;
  qGlutMultiLineText(text, lines, charactersPerLine, 0);
}

void qStatusText(const char *text, int level, int flags) { qGlutStatusText(text, level, flags); }
int qTakeKey() { return qGlutTakeKey(); }

void resetViewOffsets() { qMode.dragX = qMode.dragY = qMode.button1 = qMode.button2 = 0; }

void qAfterFrameHook() {}
void qFrameCountHook() {}
void qLoadHook() {}
void qSpeedHook() {}
void qStatusHook() {}
