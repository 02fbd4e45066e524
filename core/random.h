// Random numbers: the program's one generator (linear congruential, results 0 to 32767).
#pragma once
#include <cstdint>

enum { Q_RANDOM_MAX = 32767 };

int qRandom();
void qSeedRandom(uint32_t seed);
