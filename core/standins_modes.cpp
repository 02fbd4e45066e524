// Stand-ins for the frame step and pattern loop records the mode machine, the camera and the status
// screen read, until their modules provide them (weak, so the real ones win). Delete when those land.
#include "app/framestep.h"
#include "app/patternloop.h"

#define STANDIN __attribute__((weak))

STANDIN ViewState viewState;
STANDIN LightState &lightState = viewState.lightState;
STANDIN char shownSiteswap[SITESWAP_TEXT_SIZE];
STANDIN int patternStepped;
