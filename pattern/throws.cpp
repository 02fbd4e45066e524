// Throws: the kind-of-throw letters and the conversion of juggler-local hand points to the world.
#include "pattern/throws.h"

#include <cmath>
#include <initializer_list>

#include "pattern/store.h"

uint32_t KindOfThrowFlag(char letter) {
  switch (letter) {
    case ')': return KOT_GROUP_END;
    case '*': return 0;
    case 'A': return KOT_A;
    case 'B': return KOT_B;
    case 'C': case 'r': return KOT_C;
    case 'S': return KOT_S;
    case 'a': return KOT_a;
    case 'b': return KOT_b;
    case 'c': return KOT_c;
    case 'd': return KOT_d;
    case 'f': return KOT_f;
    case 's': return KOT_s;
    case 't': return KOT_t;
    case 'z': return KOT_z;
    default: return KOT_ERROR;
  }
}

void Punkt_drehen(double p[2], double angle) {
  double c = cos(angle), s = sin(angle);
  double x = p[0] * c - p[1] * s;
  p[1] = p[0] * s + p[1] * c;
  p[0] = x;
}

// Juggler-local points: x forward, y towards the left hand, z up from 1 m below the hands.
void Fangwurf_umrechnen(Fangwurf *record, int column) {
  int j = column / 2;
  if (j < 0 || j >= MAX_JUGGLERS) return;
  for (double *p : {record->fang, record->wurf}) {
    p[2] += 1.0;
    if (column % 2) p[1] = -p[1];
    Punkt_drehen(p, quoitPos[j].ZWinkel);
    for (int i = 0; i < 3; i++) p[i] += quoitPos[j].position[i];
  }
}

// Stand-in until the throws are built.
__attribute__((weak)) int Spin_spiegeln() { return 0; }
