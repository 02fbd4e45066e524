// Hand paths: the hand macros' world points, the merged hold intervals of the grid, and each hand's
// closed chain over the cycle: the holds of the objects it catches and, between them, empty-hand
// moves that leave one hold along its end tangent and reach the next along its start tangent.
#include "pattern/handpaths.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/vecmath.h"
#include "pattern/clock.h"
#include "pattern/dumps.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"

Handbahn **handbahn;
int hand_immer[MAX_HANDS];

static bool inUse(const Handbahn &b) { return b.t_from != UNSET_DOUBLE; }

// Turns and shifts the points of juggler-relative hand macros into world coordinates.
void Zusatzhaende_umrechnen() {
  if (!fangwurf) return;
  for (int m = 0; m < handMacroCount; m++) {
    Fangwurf &f = fangwurf[macroHand(m)];
    if (!(f.flag & FANGWURF_RELATIVE) || f.handnr < 0) continue;
    int j = f.handnr / 2;
    if (j >= jugglers || j >= MAX_JUGGLERS) continue;
    for (double *p : {f.fang, f.wurf}) jugglerToWorld(p, j);
  }
}

// ---------------------------------------------------------------- merged hold intervals

// Letters are given by index: 0 .. objekte - 1 the objects, objekte the empty hand "-".

// Whether hand h holds letter L in takt t. An object by the hand's own entry of the bounce store
// (so a virtual hand or a hand macro holds only what its part of the cell gives it); the empty
// hand by its cell for a real hand, by holding no object for the others.
static bool holdsLetter(int h, int t, int L) {
  if (L < objekte) return handHolds(t, h, L);
  if (t < 0 || t >= takte || h < 0 || h >= allHands()) return false;
  if (h < 2 * jugglers) return muster[t][h][0] == '-';
  for (int o = 0; o < objekte; o++)
    if (handHolds(t, h, o)) return false;
  return true;
}

// Last takt of the run of takts from t on in which h holds L.
static int runEnd(int h, int t, int L) {
  while (t + 1 < takte && holdsLetter(h, t + 1, L)) t++;
  return t;
}

// The next takt after t in which h holds L, or -1.
static int nextHolding(int h, int t, int L) {
  for (int k = t + 1; k < takte; k++)
    if (holdsLetter(h, k, L)) return k;
  return -1;
}

// First takt of the run at the cycle end in which h holds L; takte when the last takt does not.
static int runAtCycleEnd(int h, int L) {
  if (!holdsLetter(h, takte - 1, L)) return takte;
  int t = takte - 1;
  while (t > 0 && holdsLetter(h, t - 1, L)) t--;
  return t;
}

// Per object letter, the first takt of its hold over the cycle end: the run at the end of the
// cycle in a hand that holds the letter's forward partner in takt 0. Only such a hand sets it.
static void tailStarts(std::vector<int> &tail) {
  tail.assign(objekte + 1, takte);
  for (int L = 0; L < objekte; L++)
    for (int h = 0; h < allHands(); h++) {
      int t = runAtCycleEnd(h, L);
      if (t < takte && holdsLetter(h, 0, wrapPartnerObject(L, 1))) tail[L] = t;
    }
}

// The intervals of hand h and letter L: the one around takt 0 (over the cycle end when the hand
// held the letter's backward partner there), then every later run of more than one takt before
// the letter's hold over the cycle end. The count, or ZUSF_FULL.
static int enterRuns(int count, int h, int L, const std::vector<int> &tail) {
  char letter = Objektbuchstaben[L];
  int end = -1, limit = tail[L];
  if (holdsLetter(h, 0, L)) {
    int first = 0;
    if (L == objekte) {
      limit = runAtCycleEnd(h, L);
      if (limit < takte) first = limit;
    } else {
      int before = wrapPartnerObject(L, 2);
      if (holdsLetter(h, takte - 1, before) && tail[before] < takte) first = tail[before];
    }
    end = runEnd(h, 0, L);
    if (first != end) count = zusf_eintragen(count, letter, h, first, end, 0);
  }
  for (int n = nextHolding(h, end, L); n >= 0 && n < limit && count >= 0; n = nextHolding(h, end, L)) {
    end = runEnd(h, n, L);
    if (end > n) count = zusf_eintragen(count, letter, h, n, end, 0);
  }
  return count;
}

// The bounce entry of an interval's last takt goes to its first takt too, where the hand holds
// that object itself (a hold over the cycle end begins under the partner's letter). 0 or 3100.
static int copyBounceEntry(const Zusf &z, int o) {
  int hands = allHands();
  if (z.taktvon < 0 || z.taktvon >= takte || z.taktbis < 0 || z.taktbis >= takte || z.hand < 0 || z.hand >= hands ||
      o < 0 || o >= objekte) {
    qMsg(QMSG_ERROR, "Handparabeln_zusammenfassen() --> dotzspeicher[%d<-%d][%d][%d]! (max=%d-%d-%d); \n", z.taktvon,
         z.taktbis, z.hand, o, takte - 1, hands - 1, objekte - 1);
    return HANDPATH_BOUNDS;
  }
  if (dotzspeicher[z.taktvon][z.hand][o]) dotzspeicher[z.taktvon][z.hand][o] = dotzspeicher[z.taktbis][z.hand][o];
  return 0;
}

// A hand that holds one letter all the cycle stands at its throw point; its object gets one hold
// there from 0 to the cycle end. 0 or the flight's failure.
static int keepAllCycle(Zusf &z, int L) {
  z.taktbis = takte;
  int h = z.hand;
  if (h < 0 || h >= MAX_HANDS) return 0;
  hand_immer[h] = HAND_IMMER_BASE + L;
  const double *point = fangwurf[h].wurf;
  if (h < handCount) {
    Handbahn &b = handbahn[h][0];
    b.t_from = 0;
    b.t_to = t_zyklus;
    for (double *p : {b.B0, b.B1, b.B2, b.B3}) memcpy(p, point, 3 * sizeof(double));
  }
  if (L >= objekte || segmentRowLength < 2) return 0;
  Flugbahn &s = flugbahn[L][1];
  s.haltehand = h;
  if (Wurfbahn_berechnen(L, 1, h, h, 0, takte, SPIN_NONE, 0, 0, 0, 0)) return HANDPATH_FLIGHT;
  // The kept object is evaluated as a hold: its curve stands where the hand does.
  for (double *p : {s.B0, s.B1, s.B2, s.B3}) memcpy(p, s.X0, 3 * sizeof(double));
  return 0;
}

static int letterIndex(char c) { return c == '-' ? objekte : Objekt_Nummer(c); }

int Handparabeln_zusammenfassen() {
  for (int &h : hand_immer) h = 0;
  if (!zusf || !dotzspeicher || !muster || !fangwurf || !handbahn || !flugbahn || takte < 1) return 0;
  memset(zusf, 0, ZUSFANZ * sizeof(Zusf));
  std::vector<int> tail;
  tailStarts(tail);
  int count = 0;
  for (int L = 0; L <= objekte && count >= 0; L++)
    for (int h = 0; h < (L < objekte ? allHands() : handCount) && count >= 0; h++) count = enterRuns(count, h, L, tail);
  if (count < 0) return HANDPATH_BOUNDS;
  for (int i = 0; i < count; i++) {
    Zusf &z = zusf[i];
    int L = letterIndex(z.buchstabe);
    if (L < 0 || L > objekte) continue;
    if (L < objekte) {
      qMsg(QMSG_DEBUG, "zusf[%2d]: H =%2d   T =%2d -%2d  (%c)\n", i, z.hand, z.taktvon, z.taktbis, z.buchstabe);
      if (int failure = copyBounceEntry(z, L)) return failure;
    }
    if (z.taktvon == 0 && z.taktbis == takte - 1)
      if (int failure = keepAllCycle(z, L)) return failure;
  }
  return 0;
}

// ---------------------------------------------------------------- building the chains

int handChainRow(int holdingHand) {
  if (holdingHand < 0) return -1;
  if (holdingHand < handCount) return holdingHand;
  if (holdingHand >= allHands()) return -1;
  int column = Hand(holdingHand, 1);
  return column >= 0 && column < 2 * jugglers ? column : -1;
}

void Leerhandbahn_berechnen(const Handbahn *P, Handbahn *E, const Handbahn *N, int hand) {
  E->t_from = P->t_to;
  E->t_to = N->t_from;
  if (E->t_to < E->t_from) E->t_from -= t_zyklus;
  memcpy(E->B0, P->B3, sizeof E->B0);
  memcpy(E->B3, N->B0, sizeof E->B3);
  bool behind = HasKindOfThrow0800(hand, nullptr);
  for (int i = 0; i < 3; i++) {
    E->B1[i] = behind ? P->B2[i] : P->B3[i] + 0.4 * (P->B3[i] - P->B2[i]);
    E->B2[i] = behind ? N->B1[i] : N->B0[i] + 1.0 * (N->B0[i] - N->B1[i]);
  }
}

void Haltebahn_uebernehmen(const Flugbahn *segment, int slot) {
  int row = segment ? handChainRow(segment->haltehand) : -1;
  if (row < 0 || slot < 0 || slot > takte) return;
  Handbahn &b = handbahn[row][slot];
  b.t_from = segment->t_from;
  b.t_to = segment->t_to;
  memcpy(b.B0, segment->B0, sizeof b.B0);
  memcpy(b.B1, segment->B1, sizeof b.B1);
  memcpy(b.B2, segment->B2, sizeof b.B2);
  memcpy(b.B3, segment->B3, sizeof b.B3);
}

void Handbahn_abs2rel(Handbahn *segment, double angle, const double reference[3]) {
  if (!segment || segment->t_from > t_zyklus) return;
  double c = std::cos(angle), s = std::sin(angle);
  for (double *p : {segment->B0, segment->B1, segment->B2, segment->B3}) {
    for (int i = 0; i < 3; i++) p[i] -= reference[i];
    if (angle == 0) continue;
    double x = p[0], y = p[1];
    p[0] = c * x - s * y;
    p[1] = s * x + c * y;
  }
}

int hb_suche_cmp(const void *a, const void *b) {
  const HbSuche &x = *static_cast<const HbSuche *>(a), &y = *static_cast<const HbSuche *>(b);
  if (x.hand != y.hand) return x.hand < y.hand ? -1 : 1;
  return x.takt < y.takt ? -1 : 1;
}

void handPathOrigin(int juggler, double reference[3], double *angle) {
  const QuoitPosRecord &q = quoitPos[juggler >= 0 && juggler < MAX_JUGGLERS ? juggler : 0];
  for (int i = 0; i < 3; i++) reference[i] = std::trunc(q.position[i] * 1000) * 0.001;
  *angle = decodeAngle(encodeAngle(q.ZWinkel));
}

// The holds of every object chain that a hand chain shows, with the row of the hand that shows
// them; the chains' last segment repeats the first one a cycle later without wrap lines. The
// count, or -1 when the list is too short.
static int collectHolds(HbSuche *list, int capacity) {
  int n = 0;
  for (int o = 0; o < objekte && o < MAX_OBJECTS; o++) {
    int last = std::min(WRAP ? paraz[o] : paraz[o] - 1, segmentRowLength - 1);
    for (int s = 0; s <= last; s++) {
      int h = flugbahn[o][s].haltehand;
      if (h == -1 || h == SEGMENT_CLEARED) continue;
      int row = h < 0 ? h : handChainRow(h);
      if (h >= 0 && (row < 0 || handImmer(h) || handImmer(row))) continue;
      if (n >= capacity) {
        patternMessage(QMSG_INFO, 725, capacity);
        return -1;
      }
      list[n++] = {row, flugbahn[o][s].taktvon, o, s};
    }
  }
  return n;
}

static Handbahn shifted(Handbahn b, double by) {
  b.t_from += by;
  b.t_to += by;
  return b;
}

static Handbahn unusedSlot() {
  Handbahn b = {};
  b.t_from = UNSET_DOUBLE;
  return b;
}

static int noRoom(int h) {
  patternMessage(QMSG_INFO, 732, h, takte + 1);
  return HANDPATH_NO_ROOM;
}

// The empty moves and the closing segment need more slots than the row's last one, takte.
static int noRoomToClose() {
  patternMessage(QMSG_INFO, 729, takte);
  return HANDPATH_NO_ROOM;
}

// The holds of hand h in slot order.
static std::vector<Handbahn> holdsInOrder(int h) {
  std::vector<Handbahn> holds;
  for (int s = 0; s <= takte; s++)
    if (inUse(handbahn[h][s])) holds.push_back(handbahn[h][s]);
  return holds;
}

// One cycle of hand h: its holds with the empty-hand moves between them; the last move reaches
// the first hold a cycle later. Moves of no length are left out.
static std::vector<Handbahn> cycleOf(int h, const std::vector<Handbahn> &holds) {
  std::vector<Handbahn> cycle;
  for (size_t i = 0; i < holds.size(); i++) {
    cycle.push_back(holds[i]);
    Handbahn next = i + 1 < holds.size() ? holds[i + 1] : shifted(holds[0], t_zyklus);
    Handbahn empty;
    Leerhandbahn_berechnen(&holds[i], &empty, &next, h);
    if (empty.t_to > empty.t_from) cycle.push_back(empty);
  }
  return cycle;
}

// Turns the cycle by whole cycles and segments until its first segment holds time 0.
static void turnToZero(std::vector<Handbahn> &cycle) {
  double T = t_zyklus;
  double cycles = std::floor(-cycle.front().t_from / T);
  for (Handbahn &b : cycle) b = shifted(b, cycles * T);
  for (size_t guard = 0; guard <= cycle.size() && cycle.front().t_from > 0; guard++) {
    cycle.insert(cycle.begin(), shifted(cycle.back(), -T));
    cycle.pop_back();
  }
  for (size_t guard = 0; guard <= cycle.size() && cycle.front().t_to <= 0; guard++) {
    cycle.push_back(shifted(cycle.front(), T));
    cycle.erase(cycle.begin());
  }
}

// Writes the chain of hand h from its holds: from at or before 0 to at or after the cycle end. Each
// segment starts where the one before it ends, up to the rounding of the cycle shifts; a real gap
// or overlap stays for the chain check to report. 0 or 12398 when the row is too short.
static int closeChain(int h) {
  std::vector<Handbahn> holds = holdsInOrder(h);
  std::vector<Handbahn> chain;
  if (holds.empty()) {
    // A hand whose cells give it nothing of its own waits at its throw point.
    Handbahn b = {0, t_zyklus, {}, {}, {}, {}};
    for (double *p : {b.B0, b.B1, b.B2, b.B3}) memcpy(p, fangwurf[h].wurf, 3 * sizeof(double));
    chain.push_back(b);
  } else {
    chain = cycleOf(h, holds);
    turnToZero(chain);
    if (chain.back().t_to < t_zyklus) chain.push_back(shifted(chain.front(), t_zyklus));
  }
  if (int(chain.size()) > takte + 1) return noRoomToClose();
  for (size_t k = 1; k < chain.size(); k++)
    if (std::fabs(chain[k].t_from - chain[k - 1].t_to) < 1e-9) chain[k].t_from = chain[k - 1].t_to;
  for (int s = 0; s <= takte; s++) handbahn[h][s] = s < int(chain.size()) ? chain[s] : unusedSlot();
  return 0;
}

// Puts the sorted holds into their hands' rows: a hand's first hold in slot 0 when it starts in
// takt 0, else in slot 1, every later one two slots on. Each hold comes after the one before it:
// one that starts before it lies a cycle later. A hold that begins before the one before it ends,
// or ends after the hand's first hold a cycle later (the same hold seen in two chains, or a second
// object caught at once) is left out: the hand follows one. 0 or the failure.
static int placeHolds(const HbSuche *list, int n) {
  int hand = -1, slot = 0;
  Handbahn first = {}, previous = {};
  for (int i = 0; i < n; i++) {
    const HbSuche &e = list[i];
    if (e.hand < 0) {
      patternMessage(QMSG_REPORT, 728, e.hand);
      return HANDPATH_BAD_HAND;
    }
    if (e.hand >= handCount) continue;
    const Flugbahn &hold = flugbahn[e.objekt][e.segment];
    bool firstOfHand = e.hand != hand;
    double shift = !firstOfHand && hold.t_from < previous.t_from ? t_zyklus : 0;
    if (!firstOfHand && (hold.t_from + shift < previous.t_to || hold.t_to + shift > first.t_from + t_zyklus)) {
      qMsg(QMSG_DEBUG, "hand %d: the hold of object %d (segment %d) overlaps another one and is left out\n", e.hand,
           e.objekt, e.segment);
      continue;
    }
    hand = e.hand;
    slot = firstOfHand ? (e.takt == 0 ? 0 : 1) : slot + 2;
    if (slot > takte) return noRoom(hand);
    Haltebahn_uebernehmen(&hold, slot);
    Handbahn &b = handbahn[hand][slot];
    b = shifted(b, shift);
    previous = b;
    if (firstOfHand) first = b;
  }
  return 0;
}

// In classic mode the renderer draws the hands in their juggler's frame.
static void makeJugglerRelative() {
  if (qPrefs.vrml) return;
  for (int h = 0; h < 2 * jugglers && h < handCount; h++) {
    double reference[3], heading;
    handPathOrigin(h / 2, reference, &heading);
    for (int s = 0; s <= takte; s++)
      if (inUse(handbahn[h][s])) Handbahn_abs2rel(&handbahn[h][s], -heading, reference);
  }
}

// The first slot that reaches the cycle end, or the last slot in use.
static int lastSegmentOf(int h) {
  int last = 0;
  for (int s = 0; s <= takte && inUse(handbahn[h][s]); s++) {
    last = s;
    if (handbahn[h][s].t_to >= t_zyklus) break;
  }
  return last;
}

static int buildChains(HbSuche *list, int capacity) {
  int n = collectHolds(list, capacity);
  if (n < 0) return HANDPATH_WORK_LIST;
  std::stable_sort(list, list + n, [](const HbSuche &a, const HbSuche &b) { return hb_suche_cmp(&a, &b) < 0; });
  for (int h = 0; h < handCount; h++)
    if (!handImmer(h))
      for (int s = 0; s <= takte; s++) handbahn[h][s] = unusedSlot();
  if (int failure = placeHolds(list, n)) return failure;
  for (int h = 0; h < handCount; h++)
    if (!handImmer(h))
      if (int failure = closeChain(h)) return failure;
  makeJugglerRelative();
  resetSceneCursors();
  for (int h = 0; h < handCount && h < MAX_HANDS; h++) handLastSegment[h] = lastSegmentOf(h);
  return 0;
}

int Handbahnen_eintragen() {
  if (!handbahn || !flugbahn || !fangwurf || takte < 1 || !(t_zyklus > 0) || handCount > MAX_HANDS) return 0;
  int capacity = std::max(1, objekte * (takte + 1));
  size_t size = size_t(capacity) * sizeof(HbSuche);
  HbSuche *list = static_cast<HbSuche *>(qAlloc(size));
  if (!list) {
    patternMessage(QMSG_INFO, 90, "*hb_suche");
    return HANDPATH_WORK_LIST;
  }
  int result = buildChains(list, capacity);
  qFree(list, size);
  if (!result && patternDebugLevel) {
    qMsg(QMSG_DEBUG, "---------------------start outputHandbahnen -------------------------\n");
    outputHandbahnen(-1);
    qMsg(QMSG_DEBUG, "---------------------end outputHandbahnen -------------------------\n");
  }
  return result;
}

// ---------------------------------------------------------------- the chain check

static int chainFault(const char *format, int a, int b) {
  for (int level : {QMSG_ERROR, QMSG_INFO}) qMsg(level, format, a, b);
  return 1;
}

int Handbahnen_pruefen() {
  if (!handbahn || takte < 0) return 0;
  const char *gap = "Gap after handbahn entry no. %d of hand %d\n";
  int faults = 0;
  for (int h = 0; h < handCount && h < MAX_HANDS; h++) {
    const Handbahn *chain = handbahn[h];
    if (!inUse(chain[0]) || chain[0].t_from > 0) faults += chainFault(gap, -1, h);
    int last = lastSegmentOf(h);
    for (int k = 1; k <= last; k++)
      if (chain[k].t_from != chain[k - 1].t_to) faults += chainFault(gap, k - 1, h);
    if (chain[last].t_to < t_zyklus) faults += chainFault(gap, takte, h);
    for (int k = 0; k <= last; k++)
      if (chain[k].t_to <= chain[k].t_from)
        faults += chainFault("handbahn of hand %d: Entry no. %d is wrong! t_from > t_to\n", h, k);
  }
  return faults;
}
