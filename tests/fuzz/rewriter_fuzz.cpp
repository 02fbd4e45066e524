// libFuzzer target: the pattern-file rewriter on any bytes, with its invariants. The first byte
// picks the change (the camera commands' entries with the values they write, a removal, a prop
// or juggler block). A refused
// change leaves the file as it was; a done one leaves the body unchanged; and a file that loaded
// before loads after the change into the same grid and the same hands.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/startup.h"
#include "core/random.h"
#include "core/utils.h"
#include "pattern/dumps.h"
#include "pattern/rewriter.h"
#include "pattern/store.h"
#include "scene/placements.h"
#include "tests/fuzz/fuzz_load.h"
#include "tests/fuzz/fuzz_support.h"
#include "ui/camera.h"

// loads: the changed file must load when the old one did (a juggler block of one juggler may
// not fit the file, so it is checked only for the body).
struct Change {
  const char *line;
  int type;
  bool loads;
};

static const Change changes[] = {
    {"B=1.000000,1.100000,5.000000,200.000000", MODIF_REPLACE, true},
    {"G=0.100000,0.200000,1.300000", MODIF_REPLACE, true},
    {"Z=", MODIF_REMOVE, true},
    {"dt=", MODIF_REPLACE, true},  // the file's own beat, as the camera command writes it
    {"a=6", MODIF_REPLACE, true},
    {"z=1\n  o/ball  0  0.6 -0.8 0.01\n", MODIF_REPLACE, true},
    {"j 0 0 0 0 c c\n", MODIF_REPLACE, false},
};
static const int changeCount = int(sizeof changes / sizeof changes[0]);

struct Loaded {
  int code;
  std::string grid, hands;
};

// Each load starts from the same state, the random throw scatter included.
static Loaded load(const std::string &path) {
  qSeedRandom(1);
  Loaded l{loadFreshPattern(path), "", ""};
  if (l.code == 0) {
    for (int t = 0; t < takte; t++) l.grid += outputMusterText(t, t);  // the cells, not the cycle time
    l.hands = outputFangwurfText();
  }
  return l;
}

static std::string fileText(const std::string &path) {
  std::string text;
  FILE *f = fopen(path.c_str(), "rb");
  if (!f) return text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  fclose(f);
  return text;
}

static std::string bodyOf(const std::string &text) {
  size_t star = scanPatternHeader(text, '\x01').star;
  size_t end = text.find('\n', star);
  return end == std::string::npos ? std::string() : text.substr(end + 1);
}

// A broken invariant ends the run; its name also goes to a file, as the fuzzer may close stderr.
static void check(bool ok, const char *what) {
  if (ok) return;
  fprintf(stderr, "rewriter invariant broken: %s\n", what);
  if (FILE *f = fopen((fuzzScratch() + "/invariant").c_str(), "w")) {
    fprintf(f, "%s\n", what);
    fclose(f);
  }
  abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (!enterFuzzHome() || size < 1) return 0;  // the floor, figures and props
  const Change &change = changes[data[0] % changeCount];
  std::string before(reinterpret_cast<const char *>(data + 1), size - 1);
  std::string path = fuzzFile("pattern", data + 1, size - 1);
  Loaded first = load(path);
  std::string line = change.line;
  if (line == "dt=") line += formatText("%.17g", dt / (gravityTimeScale != 0 ? gravityTimeScale : 1.0));
  int result;
  std::string expected = rewrittenPatternText(before, line.c_str(), change.type, &result);
  Musterdatei_modif(path.c_str(), line.c_str(), change.type);
  std::string after = fileText(path);
  check(after == expected, "the file is not the rewritten text");
  if (result != REWRITE_CHANGED) {
    check(after == before, "a refused or empty change altered the file");
    return 0;
  }
  check(bodyOf(after) == bodyOf(before), "the body changed");
  if (first.code != 0 || !change.loads) return 0;
  Loaded second = load(path);
  check(second.code == 0, "a file that loaded before does not load after the change");
  check(second.grid == first.grid, "the grid changed");
  check(second.hands == first.hands, "the hands changed");
  return 0;
}
