// Stand-in VRML posing: the VRML scene is not available, so nothing is posed.
#include "scene/vrmlscene.h"

int buildScene(ObjectNode *, double, double, double *, int) { return 0; }
