// Stand-ins for the scene values and calls the pattern loop and the catalogue need, until their
// modules provide them (weak, so the real ones win). Delete when those land.
#include "core/random.h"
#include "scene/figures.h"
#include "scene/geometry.h"
#include "scene/modeltree.h"
#include "scene/objects.h"
#include "scene/placements.h"

#define STANDIN __attribute__((weak))

STANDIN int figuresLoaded;
STANDIN int panoramaCircleCount;
STANDIN int panoramaOwnFigures;
STANDIN int invisibleJugglers;
STANDIN int loadedObjectCount;
STANDIN int objectInstanceCount;

STANDIN double random01() { return qRandom() / double(Q_RANDOM_MAX); }
STANDIN void resetVRMLScene() {}
STANDIN int qPlaceJugglers() { return 0; }
