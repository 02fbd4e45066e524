// libFuzzer target: any bytes as the converter list "q2.out", stepped through in a scratch
// directory. The first byte gives the step (next or previous), the persons and the current line.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "core/prefs.h"
#include "core/runstate.h"
#include "pattern/catalogue.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool inScratch = chdir(fuzzScratch().c_str()) == 0;
  if (!inScratch || size < 1) return 0;
  fuzzFile(CONVERTER_LIST_FILE, data + 1, size - 1);
  int command = data[0] & 1 ? STEP_PREVIOUS : STEP_NEXT;
  qPrefs.q2_persons = (data[0] >> 1) & 3;
  qPrefs.q2_at = (data[0] >> 3) - 4;
  for (int step = 0; step < 2; step++)
    if (stepConverterList(command) == 0 && qPrefs.q2_at < 0) abort();
  return 0;
}
