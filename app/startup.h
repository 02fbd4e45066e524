// Start-up and shutdown: the command line, the temporary directory, InitOnce and cleanUp.
#pragma once
#include <string>

#include "core/runstate.h"

extern char converterOptions[100];
extern double randomInterval;
extern double orderInterval;
extern int checkLanguagesRequested;
extern int cleanUpDone;

int quoitMain(int argc, char **argv);
int parseCommandLine(int argc, char **argv);
void setupTempDirectory();
int InitOnce();
int loadFirstPatternAndRun(int action);
int cleanUp(int action);
void exitHandler();
void clearTempDirectory();
void printAbout();
