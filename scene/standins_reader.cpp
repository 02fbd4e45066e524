// Stand-in for the VRML model store function the pattern reader calls, until the model store
// provides it (weak, so the real one wins). Delete when it lands.
#include "scene/objects.h"

__attribute__((weak)) void placeLastObjectNode(int, const double[3], const double[3]) {}
