// Stand-in start-up: shows the title line and ends.
#include "core/startup.h"

#include <cstdio>

#include "core/localtext.h"
#include "core/native_windows.h"

int quoitMain(int, char **) {
  printf("QUOIT V14.8  %s\n", localText(0));
  return 0;
}
