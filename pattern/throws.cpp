// Throws: one flight from its throw to its catch, the kind-of-throw groups of the cells, spin and
// its mirroring, the stacking of objects held together, object properties and shared geometry.
#include "pattern/throws.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/uistate.h"
#include "core/vecmath.h"
#include "pattern/dumps.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/modeltable.h"

static const double DEGREES = 57.29577951;

int throwSpinCount = SPIN_NONE;
double throwZAngle;

double handHeading(int hand) {
  int j = Hand(hand, 0) / 2;
  return j >= 0 && j < MAX_JUGGLERS ? quoitPos[j].ZWinkel : 0.0;
}

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

double Winkel_zwischen(double x1, double y1, double x2, double y2) { return atan2(y2 - y1, x2 - x1); }

void polarToXY(double r, double angle, double out[2]) {
  out[0] = r * cos(angle);
  out[1] = r * sin(angle);
}

void jugglerToWorld(double p[3], int juggler) {
  Punkt_drehen(p, quoitPos[juggler].ZWinkel);
  for (int i = 0; i < 3; i++) p[i] += quoitPos[juggler].position[i];
}

// Juggler-local points: x forward, y towards the left hand, z up from 1 m below the hands.
void Fangwurf_umrechnen(Fangwurf *record, int column) {
  int j = column / 2;
  if (j < 0 || j >= MAX_JUGGLERS) return;
  for (double *p : {record->fang, record->wurf}) {
    p[2] += 1.0;
    if (column % 2) p[1] = -p[1];
    jugglerToWorld(p, j);
  }
}

void bezierPoint(const double B0[3], const double B1[3], const double B2[3], const double B3[3], double u,
                 double out[3]) {
  if (u < 0) u = 0;
  double v = 1 - u;
  for (int i = 0; i < 3; i++) out[i] = v * v * v * B0[i] + 3 * u * v * v * B1[i] + 3 * u * u * v * B2[i] + u * u * u * B3[i];
}

// ---------------------------------------------------------------- object properties

int objectModelForRow(int object) {
  if (chosenModel >= 0) return chosenModel;
  int index = firstObjectInstance + object;
  return index >= 0 && index <= INSTANCE_SLOTS ? objectInstanceList[index] : -1;
}

static int noVrmlProperty(int, int) { return 0; }
int (*vrmlObjectProperty)(int model, int property) = noVrmlProperty;

// Properties 1-5 are the words of the model's packed shape header; a VRML model's come from its
// scene node.
int ObjektEigenschaft(int model, int object, int property) {
  if (object != -17) model = objectModelForRow(object);
  if (property < 1 || property > 5) {
    qMsg(QMSG_ERROR, localText(45), property, "ObjektEigenschaft()");
    return 0;
  }
  if (qPrefs.vrml) return model < 0 ? 0 : vrmlObjectProperty(model, property);
  if (model < 0 || model >= MODEL_SLOTS || !objectShapes[model]) return 0;
  return objectShapes[model][property];
}

bool objectIsBall(int model, int object) { return ObjektEigenschaft(model, object, 3) & SHAPE_SINGLE_SPHERE; }

const double *Objekt_Radiusvektor(int model, double spinAngle, double heading) {
  static double v[3];
  double r = ObjektEigenschaft(model, -17, 4) / 1000.0;
  if (objectIsBall(model, -17)) {
    v[0] = v[1] = 0;
    v[2] = -r;
  } else {
    v[0] = -r * sin(spinAngle) * cos(heading);
    v[1] = -r * sin(spinAngle) * sin(heading);
    v[2] = -r * cos(spinAngle);
  }
  return v;
}

// Size of one place in a stack of objects held together: a ball's radius (stored negative in its
// shape, so taken as its size), else 5 cm.
static double stackingSize(int object) {
  double r = std::fabs(ObjektEigenschaft(0, object, 4) / 1000.0);
  if (r == 0 || !objectIsBall(0, object)) r = 0.05;
  qMsg(QMSG_DEBUG, "radius = %f\n", r);
  return r;
}

// Places 1-3 form a triangle of touching objects, place 4 sits on top of them.
void catchPosition(int place, int hand, double size, double point[3]) {
  double side = Hand(hand, 0) % 2 ? -1 : 1;
  switch (place) {
    case 0: break;
    case 1: point[0] -= 2 * 0.5774 * size; break;
    case 2:
      point[0] += 2 * 0.2887 * size;
      point[1] -= side * size;
      break;
    case 3:
      point[0] += 2 * 0.2887 * size;
      point[1] += side * size;
      break;
    case 4: point[2] += 2 * 0.8165 * size; break;
    default: qMsg(QMSG_ERROR, localText(43), place, "catchPosition()");
  }
}

// ---------------------------------------------------------------- kinds of throw

static int hasKind(int hand, const Flugbahn *segment, uint32_t kind) {
  if (segment && (segment->kot & kind)) return 1;
  if (!fangwurf) return 0;
  for (int i = 0; i < allHands(); i++)
    if (fangwurf[i].handnr == hand && (uint32_t(fangwurf[i].flag) & kind)) return 1;
  return 0;
}

int HasKindOfThrow0800(int hand, const Flugbahn *segment) { return hasKind(hand, segment, KOT_b); }
int HasKindOfThrow40000(int hand, const Flugbahn *segment) { return hasKind(hand, segment, KOT_d); }

int Bit4_xor_Bit8(int, uint32_t flag) { return ((flag & FB_SPIN_TURN) != 0) != ((flag & FB_MIRRORED) != 0); }

// Position of the kind group in front of the object that the given hand holds in the cell, -1 for
// none. A hand that holds nothing there takes the group of its '&' level.
static int groupOfHand(const char *cell, int column, int hand) {
  int wantedLevel = column == hand ? 0 : Hand(hand, 3), fallback = -1;
  CellEntry entries[CELL_SIZE];
  int n = cellEntries(cell, column, entries);
  for (int e = 0; e < n; e++) {
    if (entries[e].hand == hand) return entries[e].group;
    if (entries[e].level == wantedLevel && fallback < 0 && !entries[e].byMacro) fallback = entries[e].group;
  }
  return fallback;
}

static uint32_t badLetter(char letter, const char *cell) {
  std::string t736 = localText(736);
  if (!t736.empty() && t736.back() == '\n') t736.pop_back();
  std::string t737 = localText(737);
  qMsg(QMSG_ERROR, "%s %c in %s\n%s", t736.c_str(), letter, cell, t737.c_str());
  return KOT_BAD_GROUP;
}

// Reads the 'z' angle that starts at cell[i]; returns the index after it.
static int readZAngle(const char *cell, int i, int end) {
  char number[CELL_SIZE + 1];
  int n = 0;
  while (i < end && !isalpha(uint8_t(cell[i])) && cell[i] != '*') number[n++] = cell[i++];
  number[n] = '\0';
  throwZAngle = strtod(number, nullptr);
  return i;
}

// Reads the spin count that stands at cell[i] (a character that is no digit counts 0); returns the
// index after its one digit, or -1 for a count outside -9..9.
static int readSpinCount(const char *cell, int i, int end) {
  int sign = cell[i] == '-' ? 1 : 0;
  int value = 0, j = i + sign;
  while (j < end && isdigit(uint8_t(cell[j])) && value < 100) value = value * 10 + (cell[j++] - '0');
  if (value > 9) {
    std::string t737 = localText(737);
    qMsg(QMSG_ERROR, "%s%s", t737.c_str(), localText(738));
    return -1;
  }
  throwSpinCount = sign ? -value : value;
  return i + sign + 1;
}

// Letters and one-digit spin counts alternate; a '*' after a letter may stand before its count;
// 'z' takes an angle. The result is the flag of the group's last letter.
static uint32_t parseGroup(const char *cell, int open) {
  size_t size = strnlen(cell, CELL_SIZE);
  CellToken token = cellToken(cell, size, size_t(open));
  int end = token.kind == CELL_GROUP ? int(token.end) : int(size);
  uint32_t result = 0;
  int i = open + 1;
  while (i < end) {
    char letter = cell[i];
    uint32_t flag = KindOfThrowFlag(letter);
    if (flag == KOT_ERROR) return badLetter(letter, cell);
    result = flag;
    i++;
    if (i >= end) break;
    if (cell[i] == '*') {
      i++;
      bool count = i < end && (isdigit(uint8_t(cell[i])) || (cell[i] == '-' && i + 1 < end && isdigit(uint8_t(cell[i + 1]))));
      if (count && (i = readSpinCount(cell, i, end)) < 0) return KOT_BAD_GROUP;
    } else if (letter == 'z') {
      i = readZAngle(cell, i, end);
    } else if ((i = readSpinCount(cell, i, end)) < 0) {
      return KOT_BAD_GROUP;
    }
  }
  return result;
}

uint32_t GetKindOfThrow(int hand, int takt) {
  if (takt < 0) takt += takte;
  else if (takt >= takte) takt -= takte;
  if (takt < 0 || takt >= takte || !muster) {
    qMsg(QMSG_ERROR, localText(726), takt);
    qMsg(QMSG_ERROR, "\nin GetKindOfThrow()\n");
    return 0;
  }
  if (hand == SEGMENT_CLEARED) {
    qMsg(QMSG_ERROR, localText(46), "hand = UNUSED", "GetKindOfThrow");
    return KOT_ERROR;
  }
  int column = Hand(hand, 0);
  if (column < 0 || column >= 2 * jugglers) return KOT_ERROR;
  throwSpinCount = SPIN_NONE;
  throwZAngle = 0;
  const char *cell = muster[takt][column];
  if (cell[0] == '-') {
    qMsg(QMSG_REPORT, "- found in muster[frame=%d][hand=%d]!\n", takt, hand);
    return KOT_ERROR;
  }
  int group = groupOfHand(cell, column, hand);
  return group < 0 ? 0 : parseGroup(cell, group);
}

// ---------------------------------------------------------------- spin

// Whole turns by flight time, one per 0.45 s of unscaled flight. The flight time is a difference
// of two takt times and may come out a rounding error short of a whole number of turns (0.9 s as
// 0.8999999999999999): a count that close below a whole number is taken as that number, so every
// throw of one height turns alike.
static double turnsOfFlight(double flightTime) {
  double factor = qPrefs.timefactor > 0 ? qPrefs.timefactor : 1.0;
  return floor(flightTime / factor / 0.45 + 1e-9);
}

double Spinwinkel(double flightTime, double phase, int spinCount) {
  if (spinCount == SPIN_NONE) return -(turnsOfFlight(flightTime) * 2 * PI) - phase;
  return -phase - 2 * PI * spinCount;
}

int Wurf_ueber_Schulter(double a, double w, double f) {
  a = wrapAnglePi(a);
  w = wrapAnglePi(w);
  f = wrapAnglePi(f);
  double aw = wrapAnglePi(a - w), af = wrapAnglePi(a - f), wf = wrapAnglePi(w - f);
  bool A = std::fabs(aw) > 1.95, W = std::fabs(af) < 1.95, F = std::fabs(wf) > 1.1915926535897932;
  if (W && F) return 1;
  if (!A && F) return 2;
  if (!A && W) return 0;
  if (!A || W || F) {
    qMsg(QMSG_INFO,
         "komisches Ergebnis in Wurf_ueber_Schulter: a=%d w=%d f=%d wa=%5.1f ww=%5.1f wf=%5.1f\nwurf=%5.1f\xb0 "
         "fang=%5.1f\xb0 obj=%5.1f\xb0\n",
         A, W, F, aw * DEGREES, af * DEGREES, wf * DEGREES, a * DEGREES, w * DEGREES, f * DEGREES);
    return 1;
  }
  return 3;
}

// Every flight after a pass that turns the spin sense turns the other way, until the next such pass.
int Spin_spiegeln() {
  for (int o = 0; flugbahn && o < objekte; o++) {
    int toggle = 0;
    for (int s = 0; s <= paraz[o] && s < segmentRowLength; s++) {
      Flugbahn &f = flugbahn[o][s];
      if (f.haltehand != -1) continue;
      if (toggle) {
        f.W[0] = -f.W[0];
        f.W[1] += PI;
        f.Wp[0] = -f.Wp[0];
        f.flag |= FB_MIRRORED;
      }
      if (f.flag & FB_SPIN_TURN) toggle = !toggle;
    }
  }
  if (patternDebugLevel) {
    qMsg(QMSG_DEBUG, "---------------------start outputFlugbahnen(DEBUG_LONG) -------------------------\n");
    outputFlugbahnen(3, -1, -1);
    qMsg(QMSG_DEBUG, "---------------------end outputFlugbahnen(DEBUG_LONG) -------------------------\n");
  }
  return 0;
}

// ---------------------------------------------------------------- one flight

// Throw point (catch == false) or catch point of a hand for a kind of throw: the hand's own point,
// or the kind's preset turned into the world at the hand's juggler. 0, or the preset's failure.
static int handPoint(int hand, uint32_t kind, bool catchPoint, double out[3]) {
  Fangwurf copy = fangwurf[hand];
  if (kind != 0 && kind != KOT_z) {
    if (SetJugglersPosition(&copy, kind)) return FLIGHT_FAILED;
    Fangwurf_umrechnen(&copy, Hand(hand, 0));
  }
  memcpy(out, catchPoint ? copy.fang : copy.wurf, 3 * sizeof(double));
  return 0;
}

// Start and end times of the flight: held to the takt boundaries by the dwell, a direct hand-over
// starts and ends 0.2 beat around it, a hand that keeps its object gives the bare takts. The
// hand-over table has no rows for hand macros: theirs is a catch in the takt after the throw.
static void flightTimes(Flugbahn &s, int object, int handFrom, int a, int b) {
  int throwTakt = a < 1 ? takte - 1 : (a - 1) % takte;
  bool handOver = handFrom < handCount ? uebergeb && uebergeb[throwTakt][handFrom][object] >= 1000 : b == a;
  if (handOver) {
    s.t_from = (a - 0.2) * dt;
    s.t_to = (b + 0.2) * dt;
  } else if (handImmer(handFrom)) {
    s.t_from = a * dt;
    s.t_to = b * dt;
  } else {
    s.t_from = (a + dwell - 1) * dt;
    s.t_to = (b - dwell + 1) * dt;
  }
}

struct ThrowAngles {
  bool pass;
  bool behind;  // thrown behind the back (kind b)
  int shoulder;
};

// Spin angle and heading at the throw; the over-the-shoulder result of a plain pass to another
// juggler (not behind the back, not a kind-d throw, not a ball), 0 for every other throw.
static ThrowAngles throwAngles(Flugbahn &s, int h1, int h2, double zr, bool behind, uint32_t k1, int objectType) {
  ThrowAngles t = {(s.flag & FB_PASS) != 0, behind, 0};
  double heading = handHeading(h1);
  double direction =
      Winkel_zwischen(fangwurf[h1].wurf[0], fangwurf[h1].wurf[1], fangwurf[h2].fang[0], fangwurf[h2].fang[1]) + zr;
  if (t.behind) {
    s.W[0] = PI / 2;
    s.W[1] = heading + (Hand(h1, 0) % 2 ? PI / 2 : -PI / 2) + zr;
  } else if (!t.pass || k1 == KOT_d || objectType == 1) {
    s.W[0] = PI / 2;
    s.W[1] = heading + zr;
  } else {
    t.shoulder = Wurf_ueber_Schulter(heading, handHeading(h2), direction);
    s.W[0] = 3 * PI / 4;
    s.W[1] = direction;
    if (t.shoulder & 2) {
      s.W[0] = PI / 2;
      s.W[1] += PI;
    }
  }
  s.W[1] = wrapAnglePi(s.W[1]);
  s.Wp[1] = 0;
  return t;
}

static double spinPhase(const ThrowAngles &t, uint32_t k1, uint32_t k2, int objectType) {
  if (!t.pass || k1 == KOT_d || t.shoulder == 2 || objectType == 1) return 0;
  if (t.behind || t.shoulder == 3) return PI / 2;
  return k2 == KOT_d ? 5 * PI / 4 : 3 * PI / 4;
}

// A hand with catch and throw points and a column of the grid.
static bool throwingHand(int hand) { return hasHandPoints(hand) && Hand(hand, 0) >= 0; }

int Wurfbahn_berechnen(int o, int i, int h1, int h2, int a, int b, int n, double z, uint32_t k1, uint32_t k2, int join,
                       int thrown) {
  if (!flugbahn || o < 0 || o >= objekte || i < 0 || i >= segmentRowLength || !throwingHand(h1) || !throwingHand(h2)) {
    qMsg(QMSG_REPORT, "Wurfbahn_berechnen(): no segment %d of object %d from hand %d to hand %d\n", i, o, h1, h2);
    return FLIGHT_FAILED;
  }
  Flugbahn s = flugbahn[o][i];
  int c1 = Hand(h1, 0), c2 = Hand(h2, 0);
  s.flag = c1 / 2 == c2 / 2 ? 0u : uint32_t(FB_PASS);
  bool behind = HasKindOfThrow0800(h1, nullptr) || k1 == KOT_b;
  if (HasKindOfThrow40000(h1, nullptr)) k1 = KOT_d;
  if (HasKindOfThrow40000(h2, nullptr)) k2 = KOT_d;
  int objectType = ObjektEigenschaft(0, o, 5);
  double r = qInternal[QINTERNAL_VIRTUAL_USED] ? stackingSize(o) : 0.05;
  s.handvon = h1;
  s.handbis = h2;
  s.kot = k1;
  s.objekt = o;
  s.taktvon = a;
  s.taktbis = b;
  flightTimes(s, thrown >= 0 && thrown < objekte ? thrown : o, h1, a, b);
  double T = s.t_to - s.t_from;
  if (!(T > 0)) {
    qMsg(QMSG_REPORT, "flight of object '%c' from takt %d to takt %d has no time (%.3f s): dwell %.2f too long?\n",
         Objektbuchstaben[o], a, b, T, dwell);
    return FLIGHT_FAILED;
  }
  s.t_apex = T / 2;
  ThrowAngles t = throwAngles(s, h1, h2, z / DEGREES, behind, k1, objectType);
  s.Wp[0] = Spinwinkel(T, spinPhase(t, k1, k2, objectType), n) / T;
  if (t.pass && (t.shoulder & 1)) s.flag |= FB_SPIN_TURN;

  double P0[3], P1[3];
  if (handPoint(h1, k1, false, P0) || handPoint(h2, k2, true, P1)) return FLIGHT_FAILED;
  bool keeps = handImmer(h1) != 0;
  if (!keeps) {
    if (!qInternal[QINTERNAL_VIRTUAL_USED]) {
      jitterVector(P0, scatter);
      jitterVector(P1, scatter);
    } else {
      catchPosition(join, h1, r, P0);
      catchPosition(join, h2, r, P1);
    }
  }
  if ((s.flag & FB_PASS) && objectType != 1) P1[2] += 0.3;
  memcpy(s.X0, P0, sizeof P0);
  if (keeps) {
    s.haltehand = h1;
    s.V[0] = s.V[1] = s.V[2] = 0;
    s.az = 0;
    s.Wp[0] = s.Wp[1] = 0;
    s.W[0] = PI / 2;
  } else {
    for (int k = 0; k < 3; k++) s.V[k] = (P1[k] - P0[k]) / T;
    s.V[2] -= gravity * T / 2;
    s.az = gravity;
    double apex = s.X0[2] + s.V[2] * s.t_apex + s.az * s.t_apex * s.t_apex / 2;
    if (apex > maxheight) maxheight = apex;
    s.haltehand = -1;
    s.flag |= FB_FREE_FLIGHT;
  }
  flugbahn[o][i] = s;
  return 0;
}
