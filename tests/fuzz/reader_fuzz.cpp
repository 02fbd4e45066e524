// libFuzzer target: any bytes as a pattern file through the whole loading pipeline and the dumps.
#include <cstdint>

#include "app/wiring.h"
#include "pattern/dumps.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "tests/fuzz/fuzz_load.h"
#include "tests/fuzz/fuzz_support.h"

static void readEverything() {
  outputMusterText(0, takte - 1);
  outputFangwurfText();
  outputFlugbahnenText(3, -1, -1);
  outputHandbahnenText(-1);
  for (int o = 0; o <= objekte; o++)
    for (int t = 0; t < takte; t++)
      for (int h = 0; h < handCount + handMacroCount; h++) Objekt_in_Zelle(Objektbuchstaben[o], t, h);
  InlineComments_einordnen();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (!enterFuzzHome()) return 0;
  static const bool wired = (connectLayers(), true);  // the loads of the floor, figures and props
  (void)wired;
  if (loadFreshPattern(fuzzFile("pattern", data, size)) == 0) readEverything();
  return 0;
}
