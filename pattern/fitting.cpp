// Fitting flights to holds, the cycle window and the chain check.
#include "pattern/fitting.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/vecmath.h"
#include "pattern/bounces.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"

static const double JOIN_TOLERANCE = 1e-6;  // seconds

enum { KIND_HOLD = 1, FORWARD = 1, BACKWARD = 2 };

int Flugbahnen_anpassen() {
  if (!flugbahn) return 0;
  for (int o = 0; o < objekte; o++)
    for (int s = 0; s <= lastSegment(o); s++)
      if (flugbahn[o][s].flag & (FB_BOUNCE | FB_FORCED_BOUNCE)) flugbahn[o][s].flag |= FB_BOUNCE_PENDING;
  for (int o = 0; o < objekte; o++)
    for (int s = 0; s <= lastSegment(o); s++) {
      const Flugbahn &f = flugbahn[o][s];
      if (!(f.flag & FB_FREE_FLIGHT)) continue;
      if (f.flag & (FB_BOUNCE | FB_FORCED_BOUNCE)) {
        if (Dotzbahnen_neu_berechnen(o, s)) return FIT_BOUNCE_FAILED;
      } else if (FlugbahnKO_anpassen(o, s)) {
        return FIT_FLIGHT_FAILED;
      }
    }
  return 0;
}

int FlugbahnKO_anpassen(int o, int j) {
  if (!flugbahn || o < 0 || o >= objekte || j < 0 || j > lastSegment(o)) return FIT_FLIGHT_FAILED;
  int model = objectModelForRow(o);
  const Flugbahn *h0 = nexteFlugbahnWithWrap(o, j, BACKWARD, KIND_HOLD);
  const Flugbahn *h2 = nexteFlugbahnWithWrap(o, j, FORWARD, KIND_HOLD);
  if (!h0 || !h2) {
    patternMessage(QMSG_REPORT, 46, h0 ? "fl2=NULL" : "fl0=NULL", "FlugbahnKO_anpassen");
    return FIT_FLIGHT_FAILED;
  }
  Flugbahn &f = flugbahn[o][j];
  double T = f.t_to - f.t_from;
  if (!(T > 0)) {
    patternMessage(QMSG_REPORT, 46, "flight of no length", "FlugbahnKO_anpassen");
    return FIT_FLIGHT_FAILED;
  }
  const double *r = Objekt_Radiusvektor(model, f.W[0], f.W[1]);
  for (int k = 0; k < 3; k++) f.X0[k] = h0->B3[k] + r[k];
  r = Objekt_Radiusvektor(model, f.W[0] + T * f.Wp[0], f.W[1]);
  double E[3];
  for (int k = 0; k < 3; k++) E[k] = h2->B0[k] + r[k];
  if (!handImmer(Hand(f.handvon, 0))) {
    for (int k = 0; k < 3; k++) f.V[k] = (E[k] - f.X0[k]) / T;
    f.V[2] -= gravity * T / 2;
    f.az = gravity;
    return 0;
  }
  f.haltehand = f.handvon;
  f.W[0] = PI / 2;
  f.W[1] = 0;
  for (int k = 0; k < 3; k++) f.V[k] = 0;
  f.az = 0;
  f.Wp[0] = f.Wp[1] = 0;
  qMsg(QMSG_DEBUG, "-hand_immer-");
  return 0;
}

// The first and last arc of the bounce run through segment j. Without wrap lines the chain is
// periodic and a run may cross its end; with them it ends where the chain does.
static bool runEnds(int o, int j, int &first, int &last) {
  int n = lastSegment(o);
  first = last = j;
  if (WRAP) {
    while (first > 0 && isBounceArc(flugbahn[o][first - 1])) first--;
    while (last < n && isBounceArc(flugbahn[o][last + 1])) last++;
    return true;
  }
  int i = j, steps = 0;
  do {
    nexteFlugbahn(o, &i, 1);
  } while (isBounceArc(flugbahn[o][i]) && ++steps <= n);
  nexteFlugbahn(o, &i, 4);
  first = i;
  i = j;
  do {
    nexteFlugbahn(o, &i, 3);
  } while (isBounceArc(flugbahn[o][i]) && ++steps <= 2 * n);
  nexteFlugbahn(o, &i, 1);
  last = i;
  return steps <= 2 * n;
}

int Dotzbahnen_neu_berechnen(int o, int j) {
  if (!flugbahn || o < 0 || o >= objekte || j < 0 || j > lastSegment(o)) return 1;
  if (!(flugbahn[o][j].flag & FB_BOUNCE_PENDING)) return 0;
  int first, last;
  if (!runEnds(o, j, first, last)) {
    patternMessage(QMSG_REPORT, 46, "bounce run without a hold", "Dotzbahnen_neu_berechnen");
    return 1;
  }
  int n = last >= first ? last - first : last + paraz[o] - first;
  if (flugbahn[o][j].flag & FB_FORCED_BOUNCE) n = -n;
  return Dotzbahnen_berechnen(o, j, 0, 0, 0, 0, first, last, n, 0, BOUNCE_RESOLVE) ? 0 : 1;
}

int Flugbahnen_wrap_kuerzen() {
  if (!flugbahn) return objekte;
  for (int o = 0; o < objekte; o++) {
    int k = 0;
    while (k + 1 <= lastSegment(o) && flugbahn[o][k + 1].t_from < 0) {
      qMsg(QMSG_DEBUG, "obj %d: pp++  ", o);
      k++;
    }
    if (k > 0) {
      for (int s = k; s <= lastSegment(o); s++) flugbahn[o][s - k] = flugbahn[o][s];
      paraz[o] -= k;
    }
    while (paraz[o] >= 1 && flugbahn[o][paraz[o] - 1].t_to > t_zyklus) {
      paraz[o]--;
      qMsg(QMSG_DEBUG, "paraz[%d]--;  ", o);
    }
  }
  return objekte;
}

// Rotates the periodic chain of o by one place: up (the segment before the first comes in front)
// or down (the first goes to the end); the repeated end segment follows.
static void rotateChain(int o, bool up) {
  int n = lastSegment(o);
  if (up) {
    for (int s = n; s > 0; s--) flugbahn[o][s] = flugbahn[o][s - 1];
    flugbahn[o][0] = flugbahn[o][n];
    Zyklus_anpassen(&flugbahn[o][0], 1);
  } else {
    for (int s = 0; s < n; s++) flugbahn[o][s] = flugbahn[o][s + 1];
    flugbahn[o][n] = flugbahn[o][0];
    Zyklus_anpassen(&flugbahn[o][n], 2);
  }
}

int Flugbahnen_in_Zyklus_schieben() {
  if (!flugbahn) return objekte;
  for (int o = 0; o < objekte; o++) {
    int n = lastSegment(o);
    if (n < 2) continue;
    // Each rotation moves by one segment; a cycle's worth of them is the most a sound chain needs.
    for (int steps = 0; flugbahn[o][0].t_from > 0 && steps <= n; steps++) rotateChain(o, true);
    for (int steps = 0; flugbahn[o][0].t_to < 0 && steps <= n; steps++) rotateChain(o, false);
  }
  return objekte;
}

// Each fault of a chain is logged as an error and again as information.
static void chainFault(int &faults, const char *text) {
  qMsg(QMSG_ERROR, "%s", text);
  qMsg(QMSG_INFO, "%s", text);
  faults++;
}

static void gapFault(int &faults, int r, int o, int c) {
  char text[96];
  snprintf(text, sizeof text, "Gap after flugbahn entry no. %d of object %d '%c'\n", r, o, c);
  chainFault(faults, text);
}

// An object kept in one hand all the cycle has one hold, stored twice.
static bool oneHoldStoredTwice(int o) {
  return paraz[o] == 1 && flugbahn[o][0].t_from == flugbahn[o][1].t_from && flugbahn[o][0].t_to == flugbahn[o][1].t_to;
}

int Flugbahnen_pruefen() {
  if (!flugbahn) return 0;
  int faults = 0;
  for (int o = 0; o < objekte; o++) {
    int c = Objektbuchstaben[o], n = lastSegment(o);
    const Flugbahn *f = flugbahn[o];
    if (f[0].t_from > 0) gapFault(faults, -1, o, c);
    if (!oneHoldStoredTwice(o))
      for (int r = 0; r < n; r++)
        if (!(std::fabs(f[r].t_to - f[r + 1].t_from) <= JOIN_TOLERANCE)) gapFault(faults, r, o, c);
    if (f[n].t_to < t_zyklus) gapFault(faults, n, o, c);
    for (int r = 0; r <= n; r++)
      if (!(f[r].t_from < f[r].t_to)) {
        char text[96];
        snprintf(text, sizeof text, "flugbahn of object %d: Entry no. %d is wrong! t_from > t_to\n", o, r);
        chainFault(faults, text);
      }
  }
  return faults;
}
