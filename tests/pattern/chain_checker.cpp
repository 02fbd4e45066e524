// Chain checker of the tests: what a finished chain must satisfy, computed from the segments.
#include "chain_checker.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"

namespace chaincheck {

namespace {

const double TIME_TOLERANCE = 1e-9;
const double PLACE_TOLERANCE = 1e-6;

std::string format(const char *f, double a = 0, double b = 0, double c = 0, double d = 0) {
  char text[256];
  snprintf(text, sizeof text, f, a, b, c, d);
  return text;
}

std::string where(int o, int s) {
  char text[64];
  snprintf(text, sizeof text, "object %c segment %d: ", Objektbuchstaben[o], s);
  return text;
}

double wrapped(double a) {
  a = std::fmod(a, 2 * PI);
  if (a > PI) a -= 2 * PI;
  if (a < -PI) a += 2 * PI;
  return a;
}

void add(double out[3], const double a[3], const double b[3]) {
  for (int k = 0; k < 3; k++) out[k] = a[k] + b[k];
}

// Segment a is segment b one cycle earlier.
bool shiftedCopy(const Flugbahn &a, const Flugbahn &b) {
  return std::fabs(a.t_from + t_zyklus - b.t_from) < TIME_TOLERANCE && std::fabs(a.t_to + t_zyklus - b.t_to) < TIME_TOLERANCE &&
         a.haltehand == b.haltehand && a.taktvon + takte == b.taktvon && distance(a.X0, b.X0) < PLACE_TOLERANCE &&
         distance(a.B0, b.B0) < PLACE_TOLERANCE && distance(a.B3, b.B3) < PLACE_TOLERANCE;
}

bool keptAllCycle(int o) {
  return paraz[o] == 1 && isHold(flugbahn[o][0]) && flugbahn[o][0].t_from == flugbahn[o][1].t_from &&
         flugbahn[o][0].t_to == flugbahn[o][1].t_to;
}

// Where segment a ends and segment b starts, both as the object's path point: a hold's curve
// carries the object's radius offset at the flight's angles.
void checkJoinPlaces(int o, int r, std::vector<std::string> &faults) {
  const Flugbahn &a = flugbahn[o][r], &b = flugbahn[o][r + 1];
  double end[3], start[3], offset[3];
  if (isFlight(a)) {
    flightPosition(a, a.t_to, end);
  } else {
    radiusOffset(o, b.W[0], b.W[1], offset);
    add(end, a.B3, isFlight(b) ? offset : std::array<double, 3>{0, 0, 0}.data());
  }
  if (isFlight(b)) {
    for (int k = 0; k < 3; k++) start[k] = b.X0[k];
  } else {
    radiusOffset(o, flightEndAngle(a), a.W[1], offset);
    add(start, b.B0, isFlight(a) ? offset : std::array<double, 3>{0, 0, 0}.data());
  }
  if (!(distance(end, start) < PLACE_TOLERANCE))
    faults.push_back(where(o, r) + format("jumps %.6f m to the next segment", distance(end, start)));
}

// A hold leaves along the arriving velocity and ends along the leaving one, and turns the heading
// from the one flight's to the other's. Holds are shaped before the flights are fitted to the
// object's radius: for an object with a radius the tangents need only point along the flights.
void checkHoldTangents(int o, int s, std::vector<std::string> &faults) {
  double follows = ObjektEigenschaft(0, o, 4) ? 0.9 : 0.9999;
  int n = paraz[o];
  if (s < 1 || s >= n) return;
  const Flugbahn &f0 = flugbahn[o][s - 1], &h = flugbahn[o][s], &f2 = flugbahn[o][s + 1];
  if (!isFlight(f0) || !isFlight(f2) || (h.kot & KOT_d) || HasKindOfThrow40000(h.haltehand, nullptr)) return;
  double ve[3], t0[3], t3[3];
  flightEndVelocity(f0, ve);
  for (int k = 0; k < 3; k++) {
    t0[k] = h.B1[k] - h.B0[k];
    t3[k] = h.B3[k] - h.B2[k];
  }
  if (f0.flag & FB_PASS) {
    if (!(std::fabs(t0[0]) < 1e-12 && std::fabs(t0[1]) < 1e-12 && std::fabs(t0[2] + 0.6) < 1e-12))
      faults.push_back(where(o, s) + "a hold after a pass does not start straight down");
  } else if (cosine(t0, ve) < follows) {
    faults.push_back(where(o, s) + format("leaves at %.4f rad from the arriving velocity", std::acos(cosine(t0, ve))));
  }
  if (cosine(t3, f2.V) < follows)
    faults.push_back(where(o, s) + format("ends at %.4f rad from the leaving velocity", std::acos(cosine(t3, f2.V))));
  double heading = h.W[1] + h.Wp[1] * (h.t_to - h.t_from);
  if (std::fabs(wrapped(heading - f2.W[1])) > 1e-9) faults.push_back(where(o, s) + "does not turn to the next heading");
}

// Where object o's chain puts it at time t (false when no segment holds t).
bool chainPosition(int o, double t, double out[3]) {
  for (int s = 0; s <= paraz[o]; s++) {
    const Flugbahn &f = flugbahn[o][s];
    if (f.t_from - TIME_TOLERANCE <= t && t <= f.t_to + TIME_TOLERANCE) {
      if (isFlight(f))
        flightPosition(f, t, out);
      else
        holdPosition(f, t, out);
      return true;
    }
  }
  return false;
}

// With wrap lines the object goes on after the cycle as its forward partner: where both chains
// cover the same moment, they put the object in the same place.
void checkWrapJoin(int o, std::vector<std::string> &faults) {
  int p = qWrapObjList[o].forward;
  const Flugbahn &last = flugbahn[o][paraz[o]];
  for (int k = 0; k <= 10; k++) {
    double t = t_zyklus + (last.t_to - t_zyklus) * k / 10, a[3], b[3];
    if (!chainPosition(o, t, a) || !chainPosition(p, t - t_zyklus, b)) continue;
    if (!(distance(a, b) < PLACE_TOLERANCE))
      faults.push_back(where(o, paraz[o]) + format("is %.6f m away from its partner at %.4f s", distance(a, b), t));
  }
}

}  // namespace

void flightPosition(const Flugbahn &f, double t, double out[3]) {
  double s = t - f.t_from;
  out[0] = f.X0[0] + f.V[0] * s;
  out[1] = f.X0[1] + f.V[1] * s;
  out[2] = f.X0[2] + f.V[2] * s + f.az * s * s / 2;
}

void holdPosition(const Flugbahn &h, double t, double out[3]) {
  double u = (t - h.t_from) / (h.t_to - h.t_from), v = 1 - u;
  for (int k = 0; k < 3; k++) out[k] = v * v * v * h.B0[k] + 3 * u * v * v * h.B1[k] + 3 * u * u * v * h.B2[k] + u * u * u * h.B3[k];
}

double flightEndAngle(const Flugbahn &f) { return f.W[0] + f.Wp[0] * (f.t_to - f.t_from); }

void flightEndVelocity(const Flugbahn &f, double out[3]) {
  out[0] = f.V[0];
  out[1] = f.V[1];
  out[2] = f.V[2] + f.az * (f.t_to - f.t_from);
}

void radiusOffset(int o, double spinAngle, double heading, double out[3]) {
  double r = ObjektEigenschaft(0, o, 4) / 1000.0;
  if (ObjektEigenschaft(0, o, 3) & 0x4) {
    out[0] = out[1] = 0;
    out[2] = std::fabs(r);  // a ball's path point is its centre, one radius above the hand's
    return;
  }
  out[0] = -r * std::sin(spinAngle) * std::cos(heading);
  out[1] = -r * std::sin(spinAngle) * std::sin(heading);
  out[2] = -r * std::cos(spinAngle);
}

double contactHeight(int o) {
  int r = ObjektEigenschaft(0, o, 4);
  return (ObjektEigenschaft(0, o, 3) & 0x4) && r ? std::fabs(r / 1000.0) : 0.05;
}

bool isFlight(const Flugbahn &f) { return f.haltehand == -1; }
bool isHold(const Flugbahn &f) { return f.haltehand >= 0; }
bool isBounceArc(const Flugbahn &f) { return isFlight(f) && (f.flag & (FB_BOUNCE | FB_FORCED_BOUNCE)); }

double distance(const double a[3], const double b[3]) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

double cosine(const double a[3], const double b[3]) {
  double la = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]), lb = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
  if (la < 1e-12 || lb < 1e-12) return 1;
  return (a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / (la * lb);
}

std::vector<std::string> checkChain(int o) {
  std::vector<std::string> faults;
  int n = paraz[o];
  if (n < 1 || n >= segmentRowLength) return {where(o, n) + "chain end outside the row"};
  for (int s = 0; s <= n; s++) {
    const Flugbahn &f = flugbahn[o][s];
    if (!isFlight(f) && !isHold(f)) faults.push_back(where(o, s) + "is a free slot");
    if (!(f.t_from < f.t_to)) faults.push_back(where(o, s) + format("has no length (%.6f to %.6f)", f.t_from, f.t_to));
  }
  if (!faults.empty()) return faults;
  const Flugbahn &first = flugbahn[o][0], &last = flugbahn[o][n];
  if (first.t_from > TIME_TOLERANCE) faults.push_back(where(o, 0) + format("starts after 0 (%.6f)", first.t_from));
  if (last.t_to < t_zyklus - TIME_TOLERANCE) faults.push_back(where(o, n) + format("ends before the cycle (%.6f)", last.t_to));
  if (keptAllCycle(o)) return faults;
  for (int r = 0; r < n; r++) {
    const Flugbahn &a = flugbahn[o][r], &b = flugbahn[o][r + 1];
    if (std::fabs(a.t_to - b.t_from) > TIME_TOLERANCE)
      faults.push_back(where(o, r) + format("ends at %.9f, the next starts at %.9f", a.t_to, b.t_from));
    checkJoinPlaces(o, r, faults);
    if (isHold(b)) checkHoldTangents(o, r + 1, faults);
  }
  if (WRAP && qWrapObjList) checkWrapJoin(o, faults);
  if (!WRAP) {
    if (!shiftedCopy(first, last)) faults.push_back(where(o, 0) + "is not the last segment one cycle earlier");
    double sum = 0;
    for (int s = 1; s <= n; s++) sum += flugbahn[o][s].t_to - flugbahn[o][s].t_from;
    if (std::fabs(sum - t_zyklus) > 1e-9) faults.push_back(where(o, n) + format("durations add up to %.9f", sum));
  }
  return faults;
}

std::vector<std::string> checkChains() {
  std::vector<std::string> faults;
  for (int o = 0; o < objekte; o++)
    for (const std::string &f : checkChain(o)) faults.push_back(f);
  return faults;
}

std::vector<std::string> checkHandLoads() {
  std::vector<std::string> faults;
  for (int k = 0; k < takte; k++)
    for (int c = 0; c < 2 * jugglers; c++) {
      int listed = 0, held = 0;
      for (int o = 0; o < objekte; o++) listed += Objekt_in_Zelle(Objektbuchstaben[o], k, c);
      for (int o = 0; o < objekte; o++) {
        bool holds = false;
        for (int s = 0; s <= paraz[o] && !holds; s++) {
          const Flugbahn &h = flugbahn[o][s];
          if (!isHold(h) || (h.flag & FB_WRAP_OUTSIDE) || Hand(h.haltehand, 0) != c) continue;
          // A periodic chain may hold the moment a cycle earlier or later; a wrapped one covers
          // the cycle once, its partners the rest.
          for (int m = WRAP ? 0 : -1; m <= (WRAP ? 0 : 1); m++) {
            // Halfway through the takt: with a dwell between 0.5 and 1.5 the holds there are the
            // cell's objects.
            double t = (k + 0.5) * dt + m * t_zyklus;
            holds |= h.t_from + TIME_TOLERANCE < t && t < h.t_to - TIME_TOLERANCE;
          }
        }
        held += holds;
      }
      if (held > listed) faults.push_back(format("takt %.0f hand %.0f holds %.0f objects, its cell lists %.0f", k, c, held, listed));
    }
  return faults;
}

std::vector<std::string> checkBounces(double factor) {
  std::vector<std::string> faults;
  for (int o = 0; o < objekte; o++) {
    double zf = contactHeight(o);
    for (int r = 0; r + 1 <= paraz[o]; r++) {
      const Flugbahn &a = flugbahn[o][r], &b = flugbahn[o][r + 1];
      if (!isBounceArc(a) || !isBounceArc(b)) continue;
      double end[3], ve[3];
      flightPosition(a, a.t_to, end);
      flightEndVelocity(a, ve);
      if (std::fabs(end[2] - zf) > PLACE_TOLERANCE)
        faults.push_back(where(o, r) + format("meets the floor at %.6f, not %.6f", end[2], zf));
      if (std::fabs(b.V[2] + factor * ve[2]) > 1e-6)
        faults.push_back(where(o, r + 1) + format("rises with %.6f after %.6f", b.V[2], ve[2]));
      bool aMiddle = r > 0 && isBounceArc(flugbahn[o][r - 1]), bMiddle = r + 2 <= paraz[o] && isBounceArc(flugbahn[o][r + 2]);
      if (aMiddle && bMiddle) {
        double da = a.t_to - a.t_from, db = b.t_to - b.t_from;
        if (std::fabs(db - factor * da) > 1e-6) faults.push_back(where(o, r + 1) + format("lasts %.6f after %.6f", db, da));
        double ha = a.V[2] * a.V[2] / (-2 * a.az), hb = b.V[2] * b.V[2] / (-2 * b.az);
        if (std::fabs(hb - factor * factor * ha) > 1e-6)
          faults.push_back(where(o, r + 1) + format("rises %.6f after %.6f", hb, ha));
      }
    }
  }
  return faults;
}

std::string dumpChains() {
  std::string out;
  for (int o = 0; flugbahn && o < objekte; o++) {
    out += format("object %.0f, paraz %.0f\n", o, paraz[o]);
    for (int s = 0; s <= paraz[o] && s < segmentRowLength; s++) {
      const Flugbahn &f = flugbahn[o][s];
      char line[300];
      snprintf(line, sizeof line, "  %2d %s hand %d->%d takt %d->%d t %.4f..%.4f X0 %.3f %.3f %.3f V %.3f %.3f %.3f flag %x\n",
               s, isFlight(f) ? "flight" : isHold(f) ? "hold  " : "free  ", f.handvon, f.handbis, f.taktvon, f.taktbis,
               f.t_from, f.t_to, isHold(f) ? f.B0[0] : f.X0[0], isHold(f) ? f.B0[1] : f.X0[1], isHold(f) ? f.B0[2] : f.X0[2],
               f.V[0], f.V[1], f.V[2], f.flag);
      out += line;
    }
  }
  return out;
}

}  // namespace chaincheck
