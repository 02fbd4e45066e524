// Loads a converted file with quoit's own pattern reader and reports its object and juggler counts.
#include "pattern_reader_hook.h"

#include "pattern/store.h"
#include "tests/support/loadpattern.h"

bool loadWithQuoitPatternReader(const std::string &path, int *objects, int *jugglers, std::string *why) {
  int code = loadPattern(path);
  if (code != 0) {
    *why = "the pattern reader refused the file with code " + std::to_string(code);
    return false;
  }
  *objects = objekte;
  *jugglers = ::jugglers;
  return true;
}
