// Holds: fills every free slot of an object's chain between two flights with the hold of the
// catching hand, a Bezier curve whose end tangents follow the two flights.
#include "pattern/holds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/vecmath.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"

static const char *const SELF = "Objektbahn_in_Hand_eintragen";

enum { KIND_HOLD = 1, KIND_FLIGHT = 2, FORWARD = 1, BACKWARD = 2 };

static bool isFlight(const Flugbahn &s) { return s.haltehand == -1; }
static bool isFree(const Flugbahn &s) { return s.haltehand == SEGMENT_CLEARED; }

static void positionAt(const Flugbahn &f, double s, double out[3]) {
  out[0] = f.X0[0] + s * f.V[0];
  out[1] = f.X0[1] + s * f.V[1];
  out[2] = f.X0[2] + s * f.V[2] + f.az * s * s / 2;
}

// The index of segment f in the chain of object p, or -1 when it is not in that chain.
static int indexIn(int p, const Flugbahn *f) {
  if (p < 0 || p >= objekte || f < flugbahn[p] || f >= flugbahn[p] + segmentRowLength) return -1;
  return int(f - flugbahn[p]);
}

// The flight before (BACKWARD) or after (FORWARD) slot j; past the end of a wrapped chain it lies
// in the wrap partner's chain.
static const Flugbahn *firstOwnFlight(int p) {
  for (int k = 0; k <= lastSegment(p); k++)
    if (isFlight(flugbahn[p][k]) && !(flugbahn[p][k].flag & FB_WRAP_OUTSIDE)) return &flugbahn[p][k];
  return nullptr;
}

static const Flugbahn *flightBeside(int o, int j, int direction) {
  const Flugbahn *f = nexteFlugbahnWithWrap(o, j, direction, KIND_FLIGHT);
  // A wrapped chain whose object goes on over the boundary in a hand (its forward partner is held
  // there) has no throw out to the partner: its last hold runs up to the partner's first throw.
  if (WRAP && f && direction == FORWARD && indexIn(o, f) >= 0 && indexIn(o, f) < j && qWrapObjList) {
    int p = qWrapObjList[o].forward;
    if (p >= 0 && p < objekte && p != o && start[p].wrap == 1 && firstOwnFlight(p)) return firstOwnFlight(p);
  }
  return f;
}

// Tangent length at an end of the curve: short for a fast object, at most 0.3 m less the scatter.
static double tangentFactor(double c, double speed) {
  double most = std::max(0.0, 0.3 - scatter);
  double f = speed > 1e-9 ? c / std::sqrt(speed) : most;
  return std::min(f, most);
}

static uint32_t presetKind(int hand) {
  uint32_t kind = 0;
  for (int i = 0; fangwurf && i < allHands(); i++)
    if (fangwurf[i].handnr == hand) kind = uint32_t(fangwurf[i].flag);
  return kind;
}

// The angle the object turns to while held, then on to the next flight's start angle.
static double turningAngle(const Flugbahn &h, const Flugbahn &f2, bool behind) {
  if (std::fabs(f2.Wp[0]) < 1.5) return PI / 2;
  if (!(f2.flag & FB_PASS) && !behind && !(h.kot & (KOT_a | KOT_A))) return PI / 2 + std::min(h.az / 50 * PI / 2, PI / 2);
  return PI;
}

// Spin over the hold of duration D: from |W0| to the turning angle A at t_apex, then on to the
// next flight's |W0|. When the turning angle is not passed on the way (or is the start angle
// itself), the object turns evenly from one angle to the other.
static void holdSpin(Flugbahn &h, double A, double nextW0, double D) {
  double a0 = std::fabs(h.W[0]), a2 = std::fabs(nextW0), e = a0 + a2 - 2 * A;
  double apex = std::fabs(e) > 1e-9 ? (a0 - A) * D / e : -1;
  if (apex > 1e-9 && apex <= D) {
    h.t_apex = apex;
    h.Wp[0] = (A - a0) / apex;
  } else {
    h.t_apex = D;
    h.Wp[0] = (a2 - a0) / D;
  }
}

// The flights around slot j, with the wrap partners' chains at the ends of a wrapped chain.
// shift: 0, or the Zyklus_anpassen mode for a hold computed in a partner's time frame.
static int neighbours(int o, int j, const Flugbahn *&f0, const Flugbahn *&f2, int &shift, bool &copied) {
  shift = 0;
  copied = false;
  f0 = flightBeside(o, j, BACKWARD);
  f2 = flightBeside(o, j, FORWARD);
  if (!f0 || !f2) {
    patternMessage(QMSG_REPORT, 46, "f0 | f2 = NULL", SELF);
    return HOLD_NO_FLIGHT;
  }
  if (!WRAP) return 0;
  bool first = j == 0 && f0->objekt != o, last = j == paraz[o] && f2->objekt != o;
  if (!first && !last) return 0;
  int p = first ? f0->objekt : f2->objekt;
  if (p < 0 || p >= objekte) {
    patternMessage(QMSG_REPORT, 46, "(o<0 || o>=objekte)", SELF);
    return HOLD_BAD_PARTNER;
  }
  int m = indexIn(p, first ? f0 : f2);
  if (m < 0) return 0;
  int k = first ? m + 1 : m - 1;
  if (k >= 0 && k <= lastSegment(p) && !isFree(flugbahn[p][k])) {
    // The copy keeps the slot's marks of where it lies in the wrapped cycle.
    uint32_t marks = flugbahn[o][j].flag & (FB_WRAP_FIRST | FB_WRAP_LAST | FB_WRAP_OUTSIDE);
    flugbahn[o][j] = flugbahn[p][k];
    flugbahn[o][j].objekt = o;
    flugbahn[o][j].flag = (flugbahn[o][j].flag & ~uint32_t(FB_WRAP_FIRST | FB_WRAP_LAST | FB_WRAP_OUTSIDE)) | marks;
    Zyklus_anpassen(&flugbahn[o][j], first ? 1 : 2);
    copied = true;
    return 0;
  }
  if (first && m + 1 < paraz[p] && m + 2 < segmentRowLength) {
    f2 = &flugbahn[p][m + 2];
    shift = 1;
  } else if (last && m - 1 > 0) {
    f0 = &flugbahn[p][m - 2];
    shift = 2;
  }
  return 0;
}

static void setControlPoints(Flugbahn &h, const Flugbahn &f0, const Flugbahn &f2, const double ve[3], int hand,
                             bool behind) {
  if (HasKindOfThrow40000(hand, nullptr)) {
    for (int k = 0; k < 3; k++) {
      h.B1[k] = h.B0[k] + 0.1 * (h.B3[k] - h.B0[k]);
      h.B2[k] = h.B1[k] + 0.9 * (h.B3[k] - h.B0[k]);
    }
    return;
  }
  double c = tangentFactor(0.12, vectorLength(ve));
  for (int k = 0; k < 3; k++) h.B1[k] = (f0.flag & FB_PASS) ? h.B0[k] : h.B0[k] + c * ve[k];
  if (f0.flag & FB_PASS) h.B1[2] -= 0.6;
  double c2 = behind ? 0.12 : tangentFactor(0.22, vectorLength(f2.V));
  for (int k = 0; k < 3; k++) h.B2[k] = h.B3[k] - c2 * f2.V[k];
}

int Objektbahn_in_Hand_eintragen(int o, int j, int hand, int t1, int t2) {
  if (hand == SEGMENT_CLEARED) {
    patternMessage(QMSG_REPORT, 46, "hand = UNUSED", SELF);
    return HOLD_HAND_UNUSED;
  }
  if (!flugbahn || o < 0 || o >= objekte || j < 0 || j > lastSegment(o)) {
    patternMessage(QMSG_REPORT, 46, "no such segment", SELF);
    return HOLD_FAILED;
  }
  const Flugbahn *f0, *f2;
  int shift;
  bool copied;
  if (int failure = neighbours(o, j, f0, f2, shift, copied)) return failure;
  if (copied) return 0;
  Flugbahn h = flugbahn[o][j];
  memcpy(h.B3, f2->X0, sizeof h.B3);
  h.t_from = f0->t_to;
  h.t_to = f2->t_from;
  bool behind = HasKindOfThrow0800(hand, f2);
  while (h.t_to < h.t_from && t_zyklus > 0) {
    if (j < paraz[o] / 2)
      h.t_from -= t_zyklus;
    else
      h.t_to += t_zyklus;
  }
  double D = h.t_to - h.t_from, T0 = f0->t_to - f0->t_from;
  if (T0 < 0) {
    char text[128];
    char word[64];
    snprintf(word, sizeof word, "%s", localText(91));
    word[strcspn(word, "\n")] = '\0';
    snprintf(text, sizeof text, "%s %d: tvon > tbis ", word, o);
    patternMessage(QMSG_REPORT, 46, text, SELF);
    return HOLD_FAILED;
  }
  if (!(D > 0)) {
    patternMessage(QMSG_REPORT, 46, "hold of no length", SELF);
    return HOLD_FAILED;
  }
  int takt = takte > 0 ? ((t1 % takte) + takte) % takte : 0;
  uint32_t kind = GetKindOfThrow(hand, takt);
  if (kind == KOT_ERROR || kind == KOT_BAD_GROUP) {
    patternMessage(QMSG_REPORT, 46, "KOT_ERROR", SELF);
    return HOLD_BAD_KIND;
  }
  h.kot = kind ? kind : presetKind(hand);

  positionAt(*f0, T0, h.B0);
  double ve[3] = {f0->V[0], f0->V[1], f0->V[2] + f0->az * T0};
  setControlPoints(h, *f0, *f2, ve, hand, behind);
  for (int k = 0; k < 3; k++) h.X0[k] = h.V[k] = 0;
  h.az = ve[2] * ve[2] * 0.5 / 0.3;

  h.W[1] = f0->W[1];
  h.Wp[1] = wrapAnglePi(f2->W[1] - h.W[1]) / D;
  h.W[0] = wrapAnglePi(f0->W[0] + T0 * f0->Wp[0]);
  holdSpin(h, turningAngle(h, *f2, behind), f2->W[0], D);
  if (Bit4_xor_Bit8(hand, f0->flag)) {
    h.Wp[0] = -h.Wp[0];
    h.flag |= FB_MIRRORED;
  }
  if (shift) Zyklus_anpassen(&h, shift);
  h.objekt = o;
  h.taktvon = t1;
  h.taktbis = t2;
  h.handvon = h.handbis = h.haltehand = hand;
  h.flag |= FB_HOLD | FB_HOLD_Z;
  flugbahn[o][j] = h;
  return 0;
}

// ---------------------------------------------------------------- the walk over the chains

// Some segment of o's chain is the hold of a hand that keeps its letter all the cycle.
static bool heldByKeepingHand(int o) {
  for (int s = 0; s <= lastSegment(o); s++) {
    int hand = flugbahn[o][s].haltehand;
    if (hand >= 0 && handImmer(hand)) return true;
  }
  return false;
}

// The hold of hand h over the cycle end that o's letter is in: its first takt and last takt + 1.
// The merged hold intervals list it; when they do not, the grid still shows it: the run of takts
// at the cycle end in which h holds o's backward partner and the run from takt 0 in which it
// holds o.
static bool holdOverCycleEnd(int o, int h, int &t1, int &t2) {
  char letter = Objektbuchstaben[o];
  for (int i = 0; zusf && i < ZUSFANZ && zusf[i].buchstabe; i++) {
    const Zusf &z = zusf[i];
    if (z.hand == h && z.buchstabe == letter && z.taktbis < z.taktvon) {
      t1 = z.taktvon;
      t2 = z.taktbis + 1;
      return true;
    }
  }
  int before = qWrapObjList ? qWrapObjList[o].backward : o;
  if (!handHolds(0, h, o) || !handHolds(takte - 1, h, before)) return false;
  for (t2 = 1; t2 < takte && handHolds(t2, h, o); t2++) {
  }
  for (t1 = takte - 1; t1 > t2 && handHolds(t1 - 1, h, before); t1--) {
  }
  return true;
}

// The object is held at takt 0 by the hand it was caught by before the cycle began: segment 0
// gets that hold and the chain moves down so that the walk goes on after it. Gives the segment
// the walk starts at, or -1 when the hold cannot be found.
static int holdOverWrap(int o) {
  // The tracking leaves the hand of the object's last hold in start; the hold over the boundary
  // may be another hand's.
  int h = start[o].hand, t1 = 0, t2 = 0;
  bool found = holdOverCycleEnd(o, h, t1, t2);
  for (int k = 0; !found && k < allHands(); k++) found = holdOverCycleEnd(o, h = k, t1, t2);
  if (!found) {
    qMsg(QMSG_DEBUG, "\n\nInternal error in Objekt_in_der_Hand(): taktvon==-1 after wrap into pattern \n\n");
    patternMessage(QMSG_REPORT, 46, "no hold over the cycle end", "Objekt_in_der_Hand");
    return -1;
  }
  while (t2 < t1 && takte > 0) t1 -= takte;
  Objektbahn_in_Hand_eintragen(o, 0, h, t1, t2);
  int n = 1, last = lastSegment(o);
  while (n <= last && isFree(flugbahn[o][n])) n++;
  int walk = 1;
  if (n <= last && isFlight(flugbahn[o][n]) && flugbahn[o][n].taktvon == t2) {
    if (n - 1 > 0) {
      // The chain keeps one free slot at its end, for the hold after its last flight.
      for (int s = n; s <= last; s++) flugbahn[o][s - (n - 1)] = flugbahn[o][s];
      qMsg(QMSG_DEBUG, " . .  # # # . . rearranging %d flight path(s)\n", n - 1);
      paraz[o] -= n - 2;
      for (int s = last - (n - 1) + 1; s <= last; s++) Flugbahnsegment_loeschen(o, s);
    } else {
      walk = 0;
    }
  }
  qMsg(QMSG_DEBUG, "skip_this (Obj_i_d_H) wg. hold over wrap into. h=%d, takt=%d-%d\n", h, t1, t2);
  return walk;
}

// Without wrap lines a hold one cycle after an earlier one is that hold, copied.
static bool copyEarlierHold(int o, int j, int t1) {
  for (int k = 0; k < j && flugbahn[o][k].taktvon <= t1 - takte; k++) {
    const Flugbahn &s = flugbahn[o][k];
    if (s.haltehand >= 0 && s.taktvon == t1 - takte) {
      flugbahn[o][j] = s;
      Zyklus_anpassen(&flugbahn[o][j], 2);
      return true;
    }
  }
  return false;
}

// Fills the holds of object o; 0 or the failure.
static int holdsOfObject(int o) {
  if (heldByKeepingHand(o)) {
    if (segmentRowLength > 1) flugbahn[o][0] = flugbahn[o][1];
    paraz[o] = 1;
    return 0;
  }
  bool thrown = false;
  for (int s = 0; s <= lastSegment(o); s++) thrown |= isFlight(flugbahn[o][s]);
  if (!thrown) {
    // Never thrown and no hand keeps it: no hold lies between flights; the chain check reports it.
    qMsg(QMSG_DEBUG, "object %d has no flight\n", o);
    return 0;
  }
  int walk = 0;
  if (WRAP && start[o].wrap == 1) {
    walk = holdOverWrap(o);
    if (walk < 0) return HOLD_FAILED;
  }
  for (int j = walk; j <= lastSegment(o); j++) {
    if (isFlight(flugbahn[o][j])) continue;
    const Flugbahn *f0 = flightBeside(o, j, BACKWARD), *f2 = flightBeside(o, j, FORWARD);
    if (!f0 || !f2) {
      patternMessage(QMSG_REPORT, 46, "f0 | f2 = NULL", "Objekt_in_der_Hand");
      return HOLD_FAILED;
    }
    int t1 = f0->taktbis, hand = Hand(f0->handbis, 1), t2 = f2->taktvon;
    if (t1 > takte) {
      qMsg(QMSG_DEBUG, "taktvon > takte: paraz[%d]--; break\n", o);
      paraz[o]--;
      return 0;
    }
    while (t2 < t1 && takte > 0) {
      if (j < paraz[o] / 2)
        t1 -= takte;
      else
        t2 += takte;
    }
    if (!WRAP && copyEarlierHold(o, j, t1)) continue;
    if (Objektbahn_in_Hand_eintragen(o, j, hand, t1, t2)) return HOLD_FAILED;
    if (WRAP && t2 > takte) {
      paraz[o] = j;
      qMsg(QMSG_DEBUG, "     paraz[%d] = %d; break\n", o, j);
      return 0;
    }
  }
  return 0;
}

int Objekt_in_der_Hand() {
  if (!flugbahn) return 0;
  for (int o = 0; o < objekte && o < MAX_OBJECTS; o++)
    if (holdsOfObject(o)) return HOLD_FAILED;
  return 0;
}
