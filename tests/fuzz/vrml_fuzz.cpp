// libFuzzer target: any bytes as a VRML model file through the reader, as a prop and as a figure,
// with a copy of the data directory as home so that Inline files of the authored models are found.
#include <cstdint>
#include <string>

#include "core/prefs.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "scene/vrml/modeltree.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool ready = enterFuzzHome() && allocObjectBuffers() == 0 && allocVRMLBuffers() == 0;
  if (!ready) return 0;
  std::string path = fuzzFile("model.wrl", data, size);
  qPrefs.vrml = 1;
  qPrefs.randomcolor = size % 2;
  resetVRMLScene();
  resetObjectTable();
  resetFigureState();
  loadVRMLFile(path.c_str(), 0, 0, 0, 0, 0, VRML_JUGGLED);
  loadVRMLFile(path.c_str(), 1, 1, 2, 0, 45, VRML_FIGURE);
  findSceneNode(0, -17);
  hideSceneNodes(path.c_str());
  return 0;
}
