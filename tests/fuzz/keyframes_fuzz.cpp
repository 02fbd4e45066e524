// libFuzzer target: any bytes as a keyframe section. What was read is written as a section, and
// that section must read back to the same text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/keyframes.h"

static void readText(const std::string &text) {
  FILE *stream = fmemopen(const_cast<char *>(text.data()), text.size(), "r");
  if (!stream) return;
  readKeyframes(stream);
  fclose(stream);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  readText(std::string(reinterpret_cast<const char *>(data), size));
  std::string written = keyframesText();
  if (!written.empty()) {
    readText(written);
    if (keyframesText() != written) abort();
  }
  KeyframeList(KEYFRAMES_FREE, nullptr);
  return 0;
}
