// Pattern loop: where the next pattern comes from, the converters, and the restart request.
#pragma once
#include <atomic>

enum {
  ACTION_NAMED_FILE = -1,
  ACTION_QUIT = 0,
  ACTION_DIALOG = 1,
  ACTION_RANDOM = 2,
  ACTION_NEXT = 3,
  ACTION_RELOAD = 4,
  ACTION_PREVIOUS = 5,
};

enum { SITESWAP_TEXT_SIZE = 251, EXIT_LOAD_FAILED = 18 };

extern std::atomic<int> restartRequest;
extern int nextPatternAction;
extern char shownSiteswap[SITESWAP_TEXT_SIZE];
extern char listSiteswap[SITESWAP_TEXT_SIZE];
extern int patternStepped;
extern int patternLoadCounter;

int loadNextPattern();
