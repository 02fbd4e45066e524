// The pattern engine's test seam: the switch, the reading and the time source that only tests set
// or read. The program leaves them as they start.
#pragma once

struct PatternTestSeam {
  int strictChainCheck;    // a pattern whose chains fail their checks does not load (code 122)
  int lastPatternMessage;  // number of the last local text that the reader or the store reported
  double (*clockLap)();    // real seconds since the clock's previous lap: the stop watch's lap
};
extern PatternTestSeam patternTestSeam;
