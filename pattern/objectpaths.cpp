// Object paths: the segment store, the wrap list, the hand-overs and the tracking of every object
// through the grid into one chain of flights and hold slots over the cycle.
#include "pattern/objectpaths.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "pattern/bounces.h"
#include "pattern/handpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"

Flugbahn **flugbahn;
int paraz[MAX_OBJECTS];
ObjectStart start[MAX_OBJECTS];
QWrapObj *qWrapObjList;
double maxheight = 1.9;

static const int NEVER_HELD = 9999999;

int lastSegment(int object) { return std::min(paraz[object], segmentRowLength - 1); }

int handImmer(int hand) { return hand >= 0 && hand < MAX_HANDS ? hand_immer[hand] : 0; }

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

void Zyklus_anpassen(Flugbahn *segment, int mode) {
  double shift;
  int takts;
  switch (mode) {
    case 1: shift = -t_zyklus; takts = -takte; break;
    case 2: shift = t_zyklus; takts = takte; break;
    default: qMsg(QMSG_ERROR, localText(45), mode, "Zyklus_anpassen()"); return;
  }
  segment->t_from += shift;
  segment->t_to += shift;
  segment->taktvon += takts;
  segment->taktbis += takts;
}

// ---------------------------------------------------------------- cells

// The objects of the cell of takt and column with their hands; 0 outside the grid.
static int cellEntries(int takt, int column, CellEntry out[CELL_SIZE]) {
  if (!muster || takt < 0 || takt >= takte || column < 0 || column >= 2 * jugglers) return 0;
  return cellEntries(muster[takt][column], column, out);
}

int Objekt_auffinden(char letter, int hand, int takt, int mode) {
  switch (mode) {
    case 1:
      if (takt < 0 || takt >= takte) return -1;
      while (takt + 1 < takte && Objekt_in_Zelle(letter, takt + 1, hand)) takt++;
      return takt;
    case 2:
      for (int t = takt + 1; t < takte; t++)
        if (t >= 0 && Objekt_in_Zelle(letter, t, hand)) return t;
      return -1;
    case 3:
      for (int t = takt - 1; t >= 0; t--)
        if (t < takte && Objekt_in_Zelle(letter, t, hand)) return t;
      return -1;
    default: qMsg(QMSG_ERROR, localText(43), mode, "Objekt_auffinden()"); return -1;
  }
}

// ---------------------------------------------------------------- holds

int Taktbereiche_ueberlappen(int firstA, int lastA, int firstB, int lastB) {
  if (lastA < firstA) lastA += takte;
  if (lastB < firstB) lastB += takte;
  for (int shift : {-takte, 0, takte})
    if (firstA + shift <= lastB && firstB <= lastA + shift) return 1;
  return 0;
}

int zusf_eintragen(int count, char letter, int hand, int firstTakt, int lastTakt, char extra) {
  if (!zusf || count < 0 || count >= ZUSFANZ) {
    qMsg(QMSG_REPORT, localText(49), "zusf", "ZUSFANZ");
    return ZUSF_FULL;
  }
  if (letter != '-')
    for (int i = 0; i < count; i++) {
      const Zusf &z = zusf[i];
      if ((z.buchstabe == letter || z.hand == hand) && Taktbereiche_ueberlappen(z.taktvon, z.taktbis, firstTakt, lastTakt))
        return count;
    }
  zusf[count] = {hand, firstTakt, lastTakt, letter, extra};
  if (count + 1 >= ZUSFANZ) {
    qMsg(QMSG_REPORT, localText(49), "zusf", "ZUSFANZ");
    return ZUSF_FULL;
  }
  return count + 1;
}

// The hold of the hand and object around the takt: its first takt replaces the takt and its last
// takt is given back. A hold the merged intervals do not list is the run of takts of the cycle in
// which the hand holds the object; 1 when the merged intervals list it.
int Haltezeit_finden(int *takt, int *lastTakt, int hand, int object) {
  char letter = object >= 0 && object < objekte ? Objektbuchstaben[object] : 0;
  int t = *takt;
  for (int i = 0; zusf && letter && i < ZUSFANZ && zusf[i].buchstabe; i++) {
    const Zusf &z = zusf[i];
    if (z.hand != hand || z.buchstabe != letter) continue;
    bool inside = z.taktvon > z.taktbis ? (t >= z.taktvon || t <= z.taktbis) : (t >= z.taktvon && t <= z.taktbis);
    if (!inside) continue;
    *takt = z.taktvon;
    *lastTakt = z.taktbis;
    return 1;
  }
  int first = t, last = t;
  if (handHolds(t, hand, object)) {
    while (handHolds(first - 1, hand, object)) first--;
    while (handHolds(last + 1, hand, object)) last++;
  }
  *takt = first;
  *lastTakt = last;
  return 0;
}

// ---------------------------------------------------------------- wrap list and hand-overs

void WrapObjList_fuellen() {
  if (!WRAP || !qWrapObjList) return;
  for (int o = 0; o < objekte; o++) {
    QWrapObj &w = qWrapObjList[o];
    w = {Objektbuchstaben[o], NEVER_HELD, -1, 0, -1, wrapPartnerObject(o, 1), wrapPartnerObject(o, 2)};
    for (int h = 0; h < allHands(); h++)
      for (int t = 0; t < takte; t++) {
        if (!handHolds(t, h, o)) continue;
        if (t < w.firstTakt) {
          w.firstTakt = t;
          w.firstHand = h;
        }
        if (t + 1 > w.endTakt) {
          w.endTakt = t + 1;
          w.lastHand = h;
        }
      }
  }
}

int Uebergaben_eintragen() {
  if (!uebergeb || !muster) return takte;
  CellEntry here[CELL_SIZE], next[CELL_SIZE];
  for (int k = 0; k < takte; k++)
    for (int c = 0; c < 2 * jugglers; c++) {
      int n = cellEntries(k, c, here);
      for (int e = 0; e < n; e++) {
        int o = here[e].object, h = here[e].hand;
        if (h >= handCount) continue;
        int wanted = o;
        if (WRAP && k == takte - 1 && qWrapObjList[o].endTakt == k + 1 && qWrapObjList[o].lastHand == h)
          wanted = qWrapObjList[o].forward;
        for (int c2 = 0; c2 < 2 * jugglers; c2++) {
          int m = cellEntries((k + 1) % takte, c2, next);
          for (int e2 = 0; e2 < m; e2++)
            if (next[e2].object == wanted && next[e2].hand != h) uebergeb[k][h][o] = next[e2].hand + 1000;
        }
      }
    }
  return takte;
}

// ---------------------------------------------------------------- flights

static void copySegment(int o, int to, int from) {
  if (to >= 0 && to < segmentRowLength && from >= 0 && from < segmentRowLength) flugbahn[o][to] = flugbahn[o][from];
}

// Enters the flight of object o's chain whose throw the grid shows under the letter of object
// thrown: the object itself, or at the start of a wrapped chain its backward partner, whose letter
// the hand holds before the boundary. The bounce entry and the hand-over are read under that letter.
static int enterFlight(int o, int thrown, int i, int handFrom, int handTo, int a, int b) {
  throwSpinCount = SPIN_NONE;
  if (b < a) b += takte;
  int throwTakt = takte > 0 ? ((a - 1) % takte + takte) % takte : -1;
  if (!dotzspeicher || !flugbahn || throwTakt < 0 || handFrom < 0 || handFrom >= allHands() || o < 0 || o >= objekte ||
      thrown < 0 || thrown >= objekte || i < 0 || i >= segmentRowLength) {
    qMsg(QMSG_REPORT, "Flugbahnen_eintragen() --> dotzspeicher[%d][%d][%d]! (max=%d-%d-%d); \n", a - 1, handFrom, thrown,
         takte - 1, allHands() - 1, objekte - 1);
    return FLIGHT_BAD_INDEX;
  }
  int32_t c = dotzspeicher[throwTakt][handFrom][thrown];
  int bounces = c ? (c & 0xff) - 128 : 0;
  int join = qInternal[QINTERNAL_VIRTUAL_USED] ? c >> 8 : 0;
  if (bounces) {
    int contacts = Dotzbahnen_berechnen(o, i, handFrom, handTo, a, b, 0, 0, bounces, join, 5);
    if (!contacts) return FLIGHT_BOUNCE_FAILED;
    paraz[o] += contacts;
    return 0;
  }
  uint32_t kindFrom = GetKindOfThrow(handFrom, throwTakt);
  if (kindFrom == KOT_ERROR || kindFrom == KOT_BAD_GROUP) {
    qMsg(QMSG_REPORT, localText(46), "kot_from=KOT_ERROR", "Flugdaten_weitergeben");
    return FLIGHT_BAD_KIND;
  }
  int spin = throwSpinCount;
  double zAngle = throwZAngle;
  uint32_t kindTo = GetKindOfThrow(handTo, b % takte);
  if (kindTo == KOT_ERROR || kindTo == KOT_BAD_GROUP) {
    qMsg(QMSG_REPORT, localText(46), "kot_to=KOT_ERROR", "Flugdaten_weitergeben");
    return FLIGHT_BAD_KIND;
  }
  if (Wurfbahn_berechnen(o, i, handFrom, handTo, a, b, spin, zAngle, kindFrom, kindTo, join, thrown))
    return FLIGHT_FAILED;
  return 0;
}

int Flugbahnen_eintragen(int o, int i, int handFrom, int handTo, int a, int b) {
  return enterFlight(o, o, i, handFrom, handTo, a, b);
}

// ---------------------------------------------------------------- tracking

// True when the object is held by the hand over the cycle boundary: the hand holds it (with wrap
// lines: its backward partner) in the last takt and holds the object itself in takt 0.
static bool heldOverBoundary(int o, int hand) {
  return handHolds(0, hand, o) && handHolds(takte - 1, hand, wrapPartnerObject(o, 2));
}

static int markHeldOverBoundary() {
  int count = 0;
  CellEntry entries[CELL_SIZE];
  for (int c = 0; c < 2 * jugglers; c++) {
    int n = cellEntries(0, c, entries);
    for (int e = 0; e < n; e++) {
      int o = entries[e].object, h = entries[e].hand;
      if (handImmer(h) || start[o].wrap || !heldOverBoundary(o, h)) continue;
      start[o].wrap = 1;
      start[o].hand = h;
      count++;
    }
  }
  return count;
}

// Each chain that does not begin in a hand begins with the throw that brings its object in from
// the backward partner before the boundary, moved one cycle earlier. A bounce throw is a run of
// arcs and moves whole. When the throw still starts after 0, the run moves up one slot, leaving
// slot 0 free for the hold before it.
static int startFlights() {
  for (int o = 0; o < objekte; o++) {
    if (start[o].wrap) continue;
    qMsg(QMSG_DEBUG, "o%d: start.wrap=0\n", o);
    const QWrapObj &w = qWrapObjList[o], &b = qWrapObjList[w.backward];
    int before = paraz[o];
    if (enterFlight(o, w.backward, 0, b.lastHand, w.firstHand, b.endTakt, w.firstTakt + takte))
      return TRACK_FLIGHT_FAILED;
    int arcs = paraz[o] - before + 1;
    flugbahn[o][0].flag |= FB_WRAP_FIRST;
    if (flugbahn[o][0].t_from > 0)
      for (int s = 0; s < arcs; s++) Zyklus_anpassen(&flugbahn[o][s], 1);
    if (flugbahn[o][0].t_from > 0 && arcs < segmentRowLength) {
      for (int s = arcs; s > 0; s--) copySegment(o, s, s - 1);
      paraz[o]++;
      Flugbahnsegment_loeschen(o, 0);
    }
  }
  return 0;
}

static int endFlights() {
  qMsg(QMSG_DEBUG, "\nWRAP2 starts + + + + + \n\n");
  for (int o = 0; o < objekte; o++) {
    const QWrapObj &w = qWrapObjList[o], &f = qWrapObjList[w.forward];
    if (start[w.forward].wrap) continue;
    qMsg(QMSG_DEBUG, "letzte Flugbahn bei Obj. %d reingeWRAPt.\n", o);
    if (Flugbahnen_eintragen(o, paraz[o], w.lastHand, f.firstHand, w.endTakt, f.firstTakt + takte))
      return TRACK_END_FLIGHT_FAILED;
    Flugbahn &s = flugbahn[o][paraz[o]];
    s.flag |= FB_WRAP_LAST;
    if (s.t_to < t_zyklus && paraz[o] + 1 < segmentRowLength) {
      qMsg(QMSG_DEBUG, "wg. t_zy:paraz[%d]++\n", o);
      paraz[o]++;
    }
  }
  return 0;
}

// Segments before the start flight and after the end flight lie outside the object's own part of
// the wrapped cycle.
static void markOutside() {
  for (int o = 0; o < objekte; o++) {
    if (!start[o].wrap) {
      int first = 0;
      while (first <= paraz[o] && !(flugbahn[o][first].flag & FB_WRAP_FIRST)) first++;
      for (int s = 0; s < first && first <= paraz[o]; s++) flugbahn[o][s].flag |= FB_WRAP_FIRST | FB_WRAP_OUTSIDE;
    }
    if (!start[qWrapObjList[o].forward].wrap) {
      int last = paraz[o];
      while (last >= 0 && !(flugbahn[o][last].flag & FB_WRAP_LAST)) last--;
      for (int s = paraz[o]; s > last && last >= 0; s--) flugbahn[o][s].flag |= FB_WRAP_LAST | FB_WRAP_OUTSIDE;
    }
  }
}

// One sighting of object o in hand E at takt p of the walk; 0 or the failure.
static int sighting(int o, int E, int p, int lap, int &remaining) {
  ObjectStart &st = start[o];
  int c1 = p, last = p;
  if (st.takt == START_NOT_SEEN) {
    Haltezeit_finden(&c1, &last, E, o);
    st.takt = last + 1;
    st.hand = E;
    return 0;
  }
  if (st.takt == START_CLOSED || (p < st.takt && lap == 1)) return 0;
  Haltezeit_finden(&c1, &last, E, o);
  if (lap == 2) {
    if (st.wrap) {
      st.takt = START_CLOSED;
      paraz[o] -= 2;
      return 0;
    }
    remaining--;
    c1 += takte;
  }
  if (Flugbahnen_eintragen(o, paraz[o], st.hand, E, st.takt, c1)) return TRACK_FLIGHT_FAILED;
  if (lap == 2) {
    st.takt = START_CLOSED;
  } else {
    paraz[o] += 2;
    st.takt = last + 1 < p ? last + 1 + takte : last + 1;
    st.hand = E;
  }
  return 0;
}

// Walks the grid takt by takt. The first lap finds every throw of the cycle; without wrap lines a
// second lap enters each object's closing flight into its first hold of the next cycle.
static int mainWalk(int remaining) {
  CellEntry entries[CELL_SIZE];
  int laps = WRAP ? 1 : 2;
  for (int lap = 1; lap <= laps; lap++)
    for (int p = 0; p < takte; p++) {
      for (int h = 0; h < 2 * jugglers; h++) {
        if (handImmer(h)) continue;
        int n = cellEntries(p, h, entries);
        for (int e = 0; e < n; e++) {
          if (handImmer(entries[e].hand)) continue;
          if (int failure = sighting(entries[e].object, entries[e].hand, p, lap, remaining)) return failure;
        }
      }
      if (lap == 2 && remaining <= 0) return 0;
    }
  return 0;
}

// Some hand keeps object o all the cycle: its hand_immer names o.
static bool handKeepsObject(int o) {
  for (int h = 0; h < MAX_HANDS; h++)
    if (hand_immer[h] == 1000 + o) return true;
  return false;
}

int Objekte_verfolgen() {
  if (!flugbahn || !muster || objekte > MAX_OBJECTS) return TRACK_FLIGHT_FAILED;
  // Segment 1 may already hold the hold of a hand that keeps its object; from 2 on every slot is
  // free, also the last ones of a row, which the store leaves unset.
  for (int o = 0; o < objekte; o++) {
    paraz[o] = handKeepsObject(o) ? 1 : 2;
    start[o] = {START_NOT_SEEN, -1, 0};
    for (int s = 2; s < segmentRowLength; s++) Flugbahnsegment_loeschen(o, s);
  }
  int remaining = objekte - markHeldOverBoundary();
  if (WRAP)
    if (int failure = startFlights()) return failure;
  if (int failure = mainWalk(remaining)) return failure;
  if (WRAP) {
    if (int failure = endFlights()) return failure;
    markOutside();
    return 0;
  }
  for (int o = 0; o < objekte; o++) {
    if (paraz[o] < 1 || paraz[o] >= segmentRowLength || flugbahn[o][paraz[o]].haltehand == SEGMENT_CLEARED) continue;
    copySegment(o, 0, paraz[o]);
    Zyklus_anpassen(&flugbahn[o][0], 1);
  }
  return 0;
}

// ---------------------------------------------------------------- chain steps

void nexteFlugbahn(int o, int *segment, int mode) {
  if (WRAP) qMsg(QMSG_DEBUG, "nexteFlugbahn() has been called with WRAP!\n");
  int n = o >= 0 && o < objekte ? paraz[o] : 0;
  int &i = *segment;
  switch (mode) {
    case 0: i = i <= 0 ? n : i - 1; break;
    case 1: i = i <= 0 ? n - 1 : i - 1; break;
    case 2: i = i >= n ? 0 : i + 1; break;
    case 3: i = i >= n ? 1 : i + 1; break;
    case 4: i = i >= n - 1 ? 0 : i + 1; break;
    default: qMsg(QMSG_ERROR, localText(45), mode, "nexteFlugbahn()");
  }
}

static bool ofKind(const Flugbahn &s, int kind) { return kind == 2 ? s.haltehand == -1 : s.haltehand >= 0; }

// Where object o's chain stops covering the cycle at slot i: going forward the end of the nearest
// entered segment up to i, going backward the start of the nearest one from i on. A free slot (a
// hold still to be entered) lies beside the segment entered next to it.
static bool coveredUpTo(int o, int i, int direction, double &time) {
  int last = lastSegment(o);
  for (int k = i; k >= 0 && k <= last; k += direction == 1 ? -1 : 1) {
    const Flugbahn &s = flugbahn[o][k];
    if (s.haltehand == SEGMENT_CLEARED) continue;
    time = direction == 1 ? s.t_to : s.t_from;
    return true;
  }
  return false;
}

// In the chain of a wrap partner, whose times run one cycle later (forward) or earlier: the first
// (forward) or last (backward) segment of the kind in the partner's own part of the cycle beyond
// what o's chain covers from slot i. The partner's chain begins (ends) with copies of what o's
// chain already covers, above all its boundary throw (a bounce throw is a run of arcs).
static Flugbahn *inPartnerChain(int o, int i, int direction, int kind) {
  const double eps = 1e-9;
  int p = direction == 1 ? qWrapObjList[o].forward : qWrapObjList[o].backward;
  int last = lastSegment(p);
  double covered = 0;
  bool known = coveredUpTo(o, i, direction, covered);
  for (int k = 0; k <= last; k++) {
    Flugbahn &c = flugbahn[p][direction == 1 ? k : last - k];
    if ((c.flag & FB_WRAP_OUTSIDE) || !ofKind(c, kind)) continue;
    bool beyond = direction == 1 ? c.t_from + t_zyklus >= covered - eps : c.t_to - t_zyklus <= covered + eps;
    if (!known || beyond) return &c;
  }
  return nullptr;
}

Flugbahn *nexteFlugbahnWithWrap(int o, int i, int direction, int kind) {
  if (!flugbahn || o < 0 || o >= objekte) return nullptr;
  int last = lastSegment(o);
  if (i < 0 || i > last) return nullptr;
  bool wrapped = WRAP && (flugbahn[o][i].flag & (FB_WRAP_FIRST | FB_WRAP_LAST | FB_WRAP_OUTSIDE));
  if (direction != 1 && direction != 2) {
    qMsg(QMSG_REPORT, localText(43), direction, wrapped ? "getFlugbahn" : "nexteFlugbahnWithWrap");
    return nullptr;
  }
  if (wrapped) {
    qMsg(QMSG_DEBUG, " --  WRAP HIT --  ");
    for (int k = direction == 1 ? i + 1 : i - 1; k >= 0 && k <= last; k += direction == 1 ? 1 : -1)
      if (ofKind(flugbahn[o][k], kind)) return &flugbahn[o][k];
    return inPartnerChain(o, i, direction, kind);
  }
  int end = WRAP ? last : last - 1;
  int k = i, crossings = 0;
  for (int steps = 0; steps <= 2 * (last + 1); steps++) {
    if (direction == 1) {
      if (++k > last) {
        k = 1;
        crossings++;
      }
    } else if (--k < 0) {
      k = end;
      crossings++;
    }
    if (crossings > 1 || k < 0) return nullptr;
    if (ofKind(flugbahn[o][k], kind)) return &flugbahn[o][k];
  }
  return nullptr;
}
