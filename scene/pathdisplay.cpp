// Stand-in object chooser: nothing picked.
#include "scene/pathdisplay.h"

#define STANDIN __attribute__((weak))

STANDIN int chosenModel = -1;
STANDIN int chooserVertexTotal;
STANDIN int chooserFaceTotal;
