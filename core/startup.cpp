// Stand-in start-up: shows the title line and ends; cleanUp logs the frame rate of the pattern.
#include "core/startup.h"

#include <cstdio>

#include "core/framestep.h"
#include "core/localtext.h"
#include "core/native_windows.h"

std::string currentPatternFile;
double randomInterval;
double orderInterval;
int cleanUpDone;

int quoitMain(int, char **) {
  printf("QUOIT V14.8  %s\n", localText(0));
  return 0;
}

int cleanUp(int action) {
  if (cleanUpDone) return 0;
  stopWatch(frameCounter);
  if (action != 0) return 1;
  cleanUpDone = 1;
  return 0;
}
