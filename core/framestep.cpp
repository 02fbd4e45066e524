// Stand-in frame step: the frame counter and a stop watch that measures nothing yet.
#include "core/framestep.h"

int frameCounter = 0;

int stopWatch(int) { return 0; }
