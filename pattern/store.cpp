// Stand-in pattern store: an empty pattern until the reader fills it (weak, so the real store wins).
#include "pattern/store.h"

#define STANDIN __attribute__((weak))

STANDIN QuoitPosRecord quoitPos[MAX_JUGGLERS];
STANDIN int qInternal[QINTERNAL_WORDS];
STANDIN int WRAP;
STANDIN int takte;
STANDIN double dt = 0.25;
STANDIN char Mustertitel[65];
STANDIN int objekte;
STANDIN int objectModelNumber[MAX_OBJECTS];
STANDIN double gravity = 9.81;
STANDIN double scatter = 0.1;

// Without a hand table every hand is its own column.
STANDIN int Hand(int hand, int) { return hand; }
STANDIN void freePatternData() {}
