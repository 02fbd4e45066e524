// Stand-in pattern store: there is no pattern data to free yet.
#include "pattern/store.h"

void freePatternData() {}
void freeObjectSlots() {}
