// Stand-in local texts: every number gives its fallback text.
#include "core/localtext.h"

#include <cstdio>

LocalTextEntry *localTextTables[LANGUAGE_COUNT];
long localTextTableSizes[LANGUAGE_COUNT];

const char *localText(int n) {
  static char fallback[64];
  if (n == 0) return "The Ultimate Juggling Simulation Program by";
  snprintf(fallback, sizeof fallback, "no localText(%d) available", n);
  return fallback;
}
