// Stand-in platform layer: the calls the start-up path needs.
#include "core/native_windows.h"

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
