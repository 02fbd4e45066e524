// Benchmark report: has a frame after the start count its triangles and fragments (the reference
// program of bench/ draws as many), and logs them with the time of the first frame and the peak
// memory.
#include "app/benchmark_report.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/Tcl.h"
#include "core/prefs.h"
#include "scene/classic_renderer.h"

enum { COUNTED_FRAME = 10 };  // the lists of every model are made by then

void benchmarkFrameShown(int frame) {
  if (frame == COUNTED_FRAME) countNextFrameTriangles();
}

// The peak resident size of the process in kB, -1 when /proc does not tell it.
static long peakMemoryKb() {
  FILE *status = fopen("/proc/self/status", "r");
  if (!status) return -1;
  char line[256];
  long kb = -1;
  while (fgets(line, sizeof line, status))
    if (strncmp(line, "VmHWM:", 6) == 0 && sscanf(line + 6, "%ld", &kb) != 1) kb = -1;
  fclose(status);
  return kb;
}

void logBenchmarkReport(int benchmark) {
  qMsg(QMSG_DEBUG,
       "benchmark %d: window %dx%d, %ld triangles and %ld fragments a frame, first frame after %lld ms, peak memory "
       "%ld kB\n",
       benchmark, qPrefs.width, qPrefs.height, lastCountedTriangles(), lastCountedFragments(), (long long)firstFrameMs(),
       peakMemoryKb());
}
