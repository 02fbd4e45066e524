// Hand paths: the chains, the conversion of juggler-relative hand macros; the chain building
// steps are stand-ins until the hand paths are built.
#include "pattern/handpaths.h"

#include <initializer_list>

#include "pattern/store.h"
#include "pattern/throws.h"

Handbahn **handbahn;
int hand_immer[40];

// Turns and shifts the points of juggler-relative hand macros into world coordinates.
void Zusatzhaende_umrechnen() {
  if (!fangwurf) return;
  for (int m = 0; m < handMacroCount; m++) {
    Fangwurf &f = fangwurf[macroHand(m)];
    if (!(f.flag & FANGWURF_RELATIVE) || f.handnr < 0) continue;
    int j = f.handnr / 2;
    if (j >= jugglers || j >= MAX_JUGGLERS) continue;
    for (double *p : {f.fang, f.wurf}) {
      Punkt_drehen(p, quoitPos[j].ZWinkel);
      for (int i = 0; i < 3; i++) p[i] += quoitPos[j].position[i];
    }
  }
}

__attribute__((weak)) int Handparabeln_zusammenfassen() { return 0; }
__attribute__((weak)) int Handbahnen_eintragen() { return 0; }
__attribute__((weak)) int Handbahnen_pruefen() { return 0; }
