// The pattern engine's test seam: the switch, the reading and the time source that only tests set
// or read. The program leaves them as they start.
#pragma once

// The result of a load that the strict chain check refused; no step of the loading pipeline
// gives it.
enum { STRICT_CHAIN_CHECK_FAILED = 1772 };

struct PatternTestSeam {
  int strictChainCheck;    // a pattern whose chains fail their checks does not load (STRICT_CHAIN_CHECK_FAILED)
  int lastPatternMessage;  // number of the last local text that the reader or the store reported
  double (*clockLap)();    // real seconds since the clock's previous lap: the stop watch's lap
};
extern PatternTestSeam patternTestSeam;
