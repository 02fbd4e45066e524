// libFuzzer target: any bytes as one of kovex's option files, a header file (-H) or a style file
// (-S) as the first byte picks, run through kovex's whole main in process with a siteswap the
// byte also picks. Every file it writes stays in the scratch directory.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "kovex/kovex.h"
#include "tests/fuzz/fuzz_support.h"

// Vanilla, synchronous, multiplex, passing and a list of several, so that the styles and a
// juggler block of the header meet each kind of body.
static const char *const siteswaps[] = {"531", "(4,2x)*", "[33]33", "<3p|3p><3|3>", "97531 441 51"};
static const int siteswapCount = int(sizeof siteswaps / sizeof siteswaps[0]);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool inScratch = chdir(fuzzScratch().c_str()) == 0;
  if (!inScratch || size < 1) return 0;
  fuzzFile("options", data + 1, size - 1);
  std::string words[] = {"kovex", "-q", data[0] & 1 ? "-Soptions" : "-Hoptions", siteswaps[(data[0] >> 1) % siteswapCount],
                         "out"};
  char *argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data(), words[4].data(), nullptr};
  kovexMain(5, argv);
  return 0;
}
