// Pattern loop: where the next pattern comes from, the converters, and the restart request.
#pragma once
#include <string>
#include <vector>

#include "core/runstate.h"

// Results of loadNextPattern besides 0 and the codes of Muster_laden.
enum {
  LOAD_DIALOG_FAILED = 17,
  LOAD_CONVERSION_FAILED = 26,
  LOAD_NOTHING_CHOSEN = 41,
  LOAD_PLACEMENT_FAILED = 71299,
};

#define SITESWAP_FILE "QuoitSiteSwap"
#define PATCONV_FILE "QuoitSiteSwap_Patconv"
#define PATTERN_DIALOG_SCRIPT "tcl/prefs.tcl"

extern int patternLoadCounter;
extern int firstLoad;
extern int converterTimeLimitMs;  // a converter still running after this is stopped

int loadNextPattern();

// The siteswap converter's option text, the command line as it is logged, and the argument
// vector it is started with (the options split at blanks; the siteswap text stays one word).
std::string converterOptionText(int action, const char *siteswap);
std::string converterCommandLine(const std::string &options, const char *siteswap);
std::vector<std::string> converterArguments(const std::string &options, const char *siteswap);

// An outside program next to the quoit executable, else in the home directory; empty when
// neither is executable.
std::string converterProgram(const char *name);
// Starts a program with an argument vector (never through a shell) and waits for it: its exit
// status, or -1 when it could not be started or did not exit normally.
int runConverter(const std::string &program, const std::vector<std::string> &arguments);
