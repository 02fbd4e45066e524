// libFuzzer target: any bytes as a preferences file through the line reader and the key scanner,
// and as the file that the pattern dialog's writer rewrites.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/prefs.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  qPrefs = QuoitPrefs();
  FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "rb");
  if (!file) return 0;
  std::string line;
  while (int got = readPrefsLine(line, file))
    if (got == 1) scanPreferenceLine(line.c_str());
  fclose(file);
  static const int inScratch = chdir(fuzzScratch().c_str());
  if (inScratch != 0) return 0;
  fuzzFile("quoit.prefsV9", data, size);
  writePreferenceSettings({{"jugglingfile", "m/3ball_cascade"}, {"objects", "3"}});
  return 0;
}
