// libFuzzer target: any bytes as a preferences file through the line reader and the key scanner.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/prefs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  qPrefs = QuoitPrefs();
  FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "rb");
  if (!file) return 0;
  std::string line;
  while (int got = readPrefsLine(line, file))
    if (got == 1) scanPreferenceLine(line.c_str());
  fclose(file);
  return 0;
}
