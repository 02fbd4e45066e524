// The program's random generator: x = x * 214013 + 2531011 on 32 bits, result (x >> 16) & 0x7fff.
#include "core/random.h"

static uint32_t randomState = 1;

int qRandom() {
  randomState = randomState * 214013u + 2531011u;
  return int((randomState >> 16) & 0x7fff);
}

void qSeedRandom(uint32_t seed) { randomState = seed; }
