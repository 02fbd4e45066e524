// Stand-in placements: an empty flying list (floor only); each frame advances the animation clock.
#include "scene/placements.h"

#include "pattern/clock.h"

static Placement emptyFlyingList[2] = {{0, 0, 0, 0, 0, 0, 0, 0}, {PLACEMENT_END_FLYING, 0, 0, 0, 0, 0, 0, 0}};
Placement *flyingPlacements = emptyFlyingList;

int qComputeObjectPositions(Placement *out, double step, double t, double *, int) {
  int wrapped = 0;
  double fraction = 0;
  prepareScene(&t, step, &wrapped, 1, 0, 0, &fraction);
  out->model = PLACEMENT_END_FLYING;
  return 0;
}
