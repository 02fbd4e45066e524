// Stand-ins for the scene values and calls the throw computation needs, until the geometry helpers,
// the object models and the object chooser provide them (weak, so the real ones win).
#include <cstdint>

#define STANDIN __attribute__((weak))

STANDIN int16_t *objectShapes[200];
STANDIN int chosenModel = -1;

// Without the program's random generator there is no scatter: the point stays.
STANDIN double *jitterVector(double v[3]) { return v; }
