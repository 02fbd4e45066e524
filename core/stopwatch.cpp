// The lap timer and the frame-rate log of a benchmark or of the fps preference.
#include "core/stopwatch.h"

#include <GL/gl.h>

#include <cstdint>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/uistate.h"

void (*frameStepTime)(uint32_t *seconds, uint32_t *microseconds) = qGetTime;

static void noReport(int) {}
void (*benchmarkFrameReport)(int benchmark) = noReport;

static uint32_t watchStartS, watchStartUs, watchLapS, watchLapUs;

static void logFrameRate(int frames, double seconds) {
  double rate = frames / seconds;
  if (qMode.benchmark) {
    qMsg(82, localText(306), rate);
    const GLubyte *renderer = glGetString(GL_RENDERER);
    qMsg(QMSG_DEBUG, "benchmark %d: %.1f frames per second, %d frames in %.1f s, renderer %s\n", qMode.benchmark,
         rate, frames, seconds, renderer ? (const char *)renderer : "unknown");
    benchmarkFrameReport(int(qMode.benchmark));
  } else if (qPrefs.fps) {
    qMsg(QMSG_INFO, localText(306), rate);
  }
}

int stopWatch(int n) {
  uint32_t s, us;
  frameStepTime(&s, &us);
  if (n == -1) {
    watchStartS = watchLapS = s;
    watchStartUs = watchLapUs = us;
    return 0;
  }
  if (n == 0) {
    int64_t lap = (int64_t(s) - watchLapS) * 1000000 + (int64_t(us) - watchLapUs);
    watchLapS = s;
    watchLapUs = us;
    return lap > INT32_MAX ? INT32_MAX : int(lap);
  }
  if (n > 0) {
    double seconds = (double(us) - watchStartUs) / 1000000 + (double(s) - watchStartS);
    if (seconds > 0) logFrameRate(n, seconds);
  }
  return 0;
}
