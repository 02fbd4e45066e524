// The run's shared state that every layer reads: the command-line options, the loaded pattern's
// file, the restart request and what the pattern loop does next.
#pragma once
#include <atomic>
#include <string>

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

extern int qArgc;
extern char **qArgv;
extern std::string currentPatternFile;
extern int patternDebugLevel;
extern int objectCountOption;
extern int objectOptionKind;
extern std::string modelFileArgument;

extern std::atomic<int> restartRequest;
extern int nextPatternAction;
extern char shownSiteswap[SITESWAP_TEXT_SIZE];
extern char listSiteswap[SITESWAP_TEXT_SIZE];
extern int patternStepped;
