// Stand-in pattern store: an empty pattern until the reader fills it.
#include "pattern/store.h"

QuoitPosRecord quoitPos[MAX_JUGGLERS];
int qInternal[QINTERNAL_WORDS];
int WRAP;
int takte;
double dt = 0.25;
char Mustertitel[65];

void freePatternData() {}
void freeObjectSlots() {}
