// libFuzzer target: any bytes as kovex's command line (words split at NUL and line feeds), run
// through kovex's whole main in process. Every file it writes stays in the scratch directory.
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kovex/kovex.h"
#include "tests/fuzz/fuzz_support.h"

// Option files may be named anywhere (they are only read); every other word naming a path
// outside the scratch directory is dropped, so the output stays there.
static bool keptWord(const std::string &word) {
  if (word.rfind("-H", 0) == 0 || word.rfind("-S", 0) == 0) return true;
  return word.find('/') == std::string::npos;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool inScratch = chdir(fuzzScratch().c_str()) == 0;
  (void)inScratch;
  std::vector<std::string> words{"kovex"};
  std::string word;
  for (size_t i = 0; i <= size; i++) {
    if (i == size || data[i] == '\0' || data[i] == '\n') {
      if (keptWord(word)) words.push_back(word);
      word.clear();
    } else {
      word += char(data[i]);
    }
  }
  std::vector<char *> argv;
  for (std::string &w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  kovexMain(int(words.size()), argv.data());
  return 0;
}
