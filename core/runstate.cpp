// The run's shared state: defined here, below every layer that reads it.
#include "core/runstate.h"

int qArgc;
char **qArgv;
std::string currentPatternFile;
int patternDebugLevel;
int objectCountOption;
int objectOptionKind;
std::string modelFileArgument;

std::atomic<int> restartRequest{0};
int nextPatternAction = ACTION_QUIT;
char shownSiteswap[SITESWAP_TEXT_SIZE];
char listSiteswap[SITESWAP_TEXT_SIZE];
int patternStepped;
