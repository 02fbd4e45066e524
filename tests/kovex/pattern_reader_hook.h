// Hook through which the kovex tests load a converted file with quoit's own pattern reader.
#pragma once

#include <string>

// Loads the pattern file with the program's pattern reader and reports the objects and jugglers
// it found. Returns false with the reason in `why` when the reader is not available here.
bool loadWithQuoitPatternReader(const std::string &path, int *objects, int *jugglers, std::string *why);
