// libFuzzer target: any bytes as the panorama's properties file "pano/properties.dat", read with
// the floor in a copy of the home; the gravity it leaves must be usable.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/prefs.h"
#include "pattern/store.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool ready = enterFuzzHome() && allocObjectBuffers() == 0;
  if (!ready) return 0;
  fuzzFile("home/pano/properties.dat", data, size);
  qPrefs.vrml = 0;
  qPrefs.ground.clear();
  gravity = 9.81;
  resetFigureState();
  resetObjectTable();
  Boden_laden(0);
  if (!std::isfinite(gravity) || gravity <= 0 || !std::isfinite(gravityTimeScale) || gravityTimeScale <= 0) abort();
  freeObjectShapes();
  return 0;
}
