// libFuzzer target: any bytes as a pattern file for patconv's whole main in process; the first
// two bytes choose the phase and the orientation.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "patconv/patconv.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool inScratch = chdir(fuzzScratch().c_str()) == 0;
  (void)inScratch;
  if (size < 2) return 0;
  std::string phase = std::to_string(int(data[0]) - 128), orientation = std::to_string(data[1] & 7);
  fuzzFile("in.pat", data + 2, size - 2);
  std::string name = "in.pat";
  char *argv[] = {const_cast<char *>("patconv"), name.data(), phase.data(), orientation.data(), nullptr};
  patconvMain(4, argv);
  return 0;
}
