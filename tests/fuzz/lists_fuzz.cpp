// libFuzzer target: any bytes as one of the list files the scene reads by name, in a copy of the
// home. The first byte picks the list and the state it is read in: the object model list through
// the model-number lookup and the chooser's loading of every model; the classic juggler list or
// the VRML juggler lists (the selector and its ".order" or ".random" list) through the figure
// choice, with the panorama switches, the shirt mode and the order cursor.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/prefs.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "scene/textures.h"
#include "tests/fuzz/fuzz_support.h"

static void checkModelName(const char *name) {
  if (name && name != MODEL_LIST_MISSING && strlen(name) >= MODEL_NAME_SIZE + 8) abort();
}

static void objectList(const uint8_t *data, size_t size) {
  fuzzFile("home/list_of_objects", data, size);
  for (int vrml = 0; vrml <= 1; vrml++) {
    qPrefs.vrml = vrml;
    for (int n = -1; n < 4; n++) checkModelName(objectModelFromList(n));
  }
  qPrefs.vrml = 0;
  resetObjectTable();
  AlleObjekteLaden();
  freeObjectShapes();
}

// The mode byte: its low two bits 1 the classic list, 2 the VRML order list, 3 the VRML random
// list; then 4 panorama figures, 8 the panorama circle, 16 shirt mode, 32 and up the order cursor.
static void jugglerLists(uint8_t mode, const uint8_t *data, size_t size) {
  bool vrml = (mode & 3) >= 2, random = (mode & 3) == 3;
  qPrefs.vrml = vrml;
  qPrefs.jugglerlist = 0;
  qPrefs.displayFlags = mode & 16 ? 8 : 0;
  tshirt_count = 3;  // shirts without images: choosing one reads no file
  if (vrml) {
    const char *selector = random ? "random\n" : "order\n";
    fuzzFile("home/list_of_VRMLjugglers", reinterpret_cast<const uint8_t *>(selector), strlen(selector));
    fuzzFile(random ? "home/list_of_VRMLjugglers.random" : "home/list_of_VRMLjugglers.order", data, size);
  } else {
    fuzzFile("home/list_of_Oldjugglers", data, size);
  }
  resetFigureState();
  panoramaOwnFigures = (mode & 4) != 0;
  panoramaCircleCount = (mode & 8) != 0;
  orderCursor = mode >> 5;
  for (int juggler = 0; juggler < 4; juggler++) {
    const char *model = chooseJugglerModel(juggler * 90.0);
    if (model && strlen(model) >= MODEL_NAME_SIZE) abort();
  }
  qPrefs.vrml = 0;
  qPrefs.displayFlags = 0;
  tshirt_count = 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool ready = enterFuzzHome() && allocObjectBuffers() == 0;
  if (!ready || size < 1) return 0;
  if ((data[0] & 3) == 0) objectList(data + 1, size - 1);
  else jugglerLists(data[0], data + 1, size - 1);
  return 0;
}
