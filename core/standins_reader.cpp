// Stand-ins for the core values and calls the pattern loader needs, until the core modules provide
// them (weak, so the real ones win). Delete when those land.
#include <string>

#include "core/native_windows.h"
#include "core/startup.h"
#include "core/tclthreads.h"
#include "core/utils.h"

#define STANDIN __attribute__((weak))

STANDIN void reportProgress(int) {}
STANDIN void computeBufferSize(int a, int b) { patternBufferSize = long(a + 2 + b / 2) * 1000 + 15000; }

// A name that begins with a digit names a pattern of the catalogue directory.
STANDIN std::string patternFileArgument(const char *name) {
  if (name[0] >= '0' && name[0] <= '9') return std::string("m/") + name;
  return name;
}

STANDIN void backslashToSlash(const char *source, char *target) {
  do *target++ = *source == '\\' ? '/' : *source;
  while (*source++);
}

STANDIN std::string backslashToSlash(const std::string &source) {
  std::string target = source;
  for (char &c : target)
    if (c == '\\') c = '/';
  return target;
}
