// Stand-in pattern store: there is no pattern data to free yet.
#include "pattern/store.h"

char Mustertitel[65];

void freePatternData() {}
void freeObjectSlots() {}
