// Stand-ins for the scene values the throw computation needs, until the object models and the
// object chooser provide them (weak, so the real ones win).
#include <cstdint>

#define STANDIN __attribute__((weak))

STANDIN int16_t *objectShapes[200];
STANDIN int chosenModel = -1;

