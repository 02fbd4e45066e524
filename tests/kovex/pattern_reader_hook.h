// Hook through which the kovex tests load a converted file with quoit's own pattern reader.
#pragma once

#include <string>
#include <vector>

// Loads the pattern file with the program's pattern reader and reports the objects and jugglers
// it found. Returns false with the reason in `why` when the reader is not available here.
bool loadWithQuoitPatternReader(const std::string &path, int *objects, int *jugglers, std::string *why);

// Where the camera the file sets shows each juggler in a window of 640 x 480: x and y of its feet,
// of its head (1.8 m up) and of the pattern's highest point above it, from -1 to 1 across the
// window's width and height (outside that range off the window).
struct JugglerInView {
  double feet[2], head[2], top[2];
};
bool jugglersInView(const std::string &path, std::vector<JugglerInView> *view, std::string *why);
