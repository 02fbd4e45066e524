// libFuzzer target: any bytes as a PPM image, a PNG image or a shirt list (chosen by the first
// byte), through the readers the textures and shirts use.
#include <cstdint>
#include <string>

#include "core/native_windows.h"
#include "core/prefs.h"
#include "scene/textures.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  qPrefs.displayFlags |= 8;  // the textures switch: the shirt list loads its images
  std::string path = fuzzFile("input", data + 1, size - 1);
  TextureRecord record = {};
  switch (data[0] % 3) {
    case 0:
      if (readPPM(path.c_str(), &record, TEXTURE_MODEL) != TEXTURE_FAILED && record.pixels) qFree(record.pixels, 0);
      break;
    case 1:
      if (readPNG(path.c_str(), &record, TEXTURE_MODEL) != TEXTURE_FAILED && record.pixels) qFree(record.pixels, 0);
      break;
    default:
      readShirtListFile(path.c_str());
      freeTextureImages();
      break;
  }
  return 0;
}
