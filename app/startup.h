// Start-up and shutdown: the command line, the temporary directory, InitOnce and cleanUp.
#pragma once
#include <string>

#include "core/runstate.h"

// Standard output becomes this file for the program's run.
#define TRACE_FILE "debug.quoit.txt"

extern char converterOptions[100];
extern double randomInterval;
extern double orderInterval;
extern int checkLanguagesRequested;
extern int cleanUpDone;

int quoitMain(int argc, char **argv);
// Makes the trace file standard output; false, with a line on stderr, when it cannot be made.
bool openTraceFile();
int parseCommandLine(int argc, char **argv);
void setupTempDirectory();
int InitOnce();
int loadFirstPatternAndRun(int action);
int cleanUp(int action);
void exitHandler();
void clearTempDirectory();
void printAbout();
