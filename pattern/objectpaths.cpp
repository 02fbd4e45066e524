// Object paths: the segment store and the cleared segment; tracking comes with the path computation.
#include "pattern/objectpaths.h"

#include "pattern/store.h"

Flugbahn **flugbahn;
int paraz[100];
QWrapObj *qWrapObjList;
double maxheight = 1.9;

void Flugbahnsegment_loeschen(int object, int segment) {
  if (!flugbahn || object < 0 || object >= objekte || segment < 0 || segment >= segmentRowLength) return;
  Flugbahn &s = flugbahn[object][segment];
  s.t_from = s.t_to = CLEARED_DOUBLE;
  for (int i = 0; i < 3; i++) s.X0[i] = s.V[i] = CLEARED_DOUBLE;
  for (int i = 0; i < 2; i++) s.W[i] = s.Wp[i] = CLEARED_DOUBLE;
  s.objekt = SEGMENT_CLEARED;
  s.haltehand = SEGMENT_CLEARED;
  s.flag = 0;
}

// Stand-ins until the tracking is built: no chains, every step succeeds.
__attribute__((weak)) void WrapObjList_fuellen() {}
__attribute__((weak)) int Uebergaben_eintragen() { return takte; }
__attribute__((weak)) int Objekte_verfolgen() { return 0; }
