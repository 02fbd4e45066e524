// Stand-ins for the scene values and calls the pattern loop needs, until their modules provide
// them (weak, so the real ones win). Delete when those land.
#include "scene/vrml_store.h"

#define STANDIN __attribute__((weak))

STANDIN void resetVRMLScene() {}
