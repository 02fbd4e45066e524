// Bounce throws: the launch speed that makes a throw with floor contacts arrive at its catch in
// time, and the arcs between the contacts as flight segments of the object's chain.
#include "pattern/bounces.h"

#include <cmath>
#include <cstring>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/vecmath.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"

static const double DEFAULT_CONTACT_HEIGHT = 0.05;
static const double GRIP = 0.8;  // horizontal grip of a ball at a contact
static const int SEARCH_ITERATIONS = 2000;
static const int SEARCH_CAP = 40000;  // all iterations of one search, restarts included
static const double SEARCH_TOLERANCE = 0.005;

double Potenz(double x, int n) {
  if (x == 0) return n == 0 ? 1 : 0;
  double p = std::pow(std::fabs(x), n);
  return (x < 0 && (n % 2)) ? -p : p;
}

int fast_gleich(double a, double b) { return std::fabs(a - b) <= 2e-6; }

double Quadrat(double x) { return x * x; }

// ---------------------------------------------------------------- the iterative search

// The contacts of a throw with launch speed v and k contacts: contact times into times, the
// arrival times at the end height on the way up (T1) and down (T2). 1 when the object reaches the
// floor and rises to the end height again, 0 when not (D < 0: no contact; -1: E < 0, too low).
static int bounceTimes(double g, double e, double H1, double H2, double v, int k, double times[MAX_BOUNCES],
                       double &T1, double &T2) {
  double D = v * v - 2 * g * H1;
  if (D < 0) return 0;
  // The later root is the contact from above; the earlier one lies in the past or is the upward
  // crossing of a throw that starts below the contact plane.
  double t = (-v - std::sqrt(D)) / g;
  if (t <= 0) return -2;
  double r = -e * (g * t + v);
  times[0] = t;
  for (int i = 1; i < k; i++) {
    t -= 2 * r / g;
    times[i] = t;
    r *= e;
  }
  double E = 2 * g * H2 + r * r;
  if (E < 0) return -1;
  T1 = t + (-r + std::sqrt(E)) / g;
  T2 = t + (-r - std::sqrt(E)) / g;
  if (T1 < t) T1 = T2;  // an end point below the contact plane is only reached on the way down
  return 1;
}

// Brings the arrival time that matched (up or down) onto T exactly by a secant iteration on the
// launch speed; the search only gets it within its tolerance.
static double refineLaunch(double g, double e, double H1, double H2, double T, int k, bool down, double v) {
  double times[MAX_BOUNCES], T1, T2;
  auto miss = [&](double x, double &f) {
    if (bounceTimes(g, e, H1, H2, x, k, times, T1, T2) != 1) return false;
    f = (down ? T2 : T1) - T;
    return std::isfinite(f);
  };
  double x0 = v, x1 = v + (std::fabs(v) > 1e-3 ? 1e-4 * v : 1e-4), f0, f1;
  if (!miss(x0, f0) || !miss(x1, f1)) return v;
  for (int i = 0; i < 60 && std::fabs(f1) > 1e-12 && f1 != f0; i++) {
    double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
    x0 = x1;
    f0 = f1;
    x1 = x2;
    if (!miss(x1, f1)) return v;
  }
  return std::fabs(f1) < 1e-9 && (x1 > 0) == (v > 0) ? x1 : v;
}

BounceSearch bounceSearch(double g, double e, double H1, double H2, double T, int n, bool keepCount, int a, int b) {
  BounceSearch s{n, 0, 0, {}};
  double step = 0.1, v = n > 0 ? step : -step;
  bool climbed = false, lowered = false;
  int iteration = 0;
  for (int total = 0; total < SEARCH_CAP && iteration < SEARCH_ITERATIONS; total++, iteration++) {
    int k = std::abs(n);
    if (k < 1 || k > MAX_BOUNCES) break;
    double T1 = 0, T2 = 0;
    int state = bounceTimes(g, e, H1, H2, v, k, s.times, T1, T2);
    if (state == -2) {
      patternMessage(QMSG_ERROR, 704);
      return s;
    }
    if (state <= 0) {
      if (climbed) {
        patternMessage(QMSG_INFO, 703, state == 0 ? 1 : 2);
        v = -v;
        n = -n;
        iteration = 0;
        climbed = false;
      }
      v *= state == 0 ? 1.0974 : 1.0897;
      continue;
    }
    bool up = std::fabs(T1 - T) <= SEARCH_TOLERANCE, down = std::fabs(T2 - T) <= SEARCH_TOLERANCE;
    if (up || down) {
      s.count = n;
      s.contacts = k;
      s.v = refineLaunch(g, e, H1, H2, T, k, !up, v);
      bounceTimes(g, e, H1, H2, s.v, k, s.times, T1, T2);
      return s;
    }
    const double tol = SEARCH_TOLERANCE;
    if (T1 <= T + tol && T2 >= T - tol) {
      if (std::fabs(v) < 0.001) {
        // Too high even when dropped: throw the other way, the launch direction from the new count.
        step *= 2;
        n = -n;
        v = n > 0 ? step : -step;
        iteration = -1;
      } else {
        v *= 0.99474;
      }
    } else if (T1 <= T + tol) {
      v *= 1.0173;
    } else if (v >= 0.001) {
      v *= 0.9809;
      climbed = true;
    } else if (v >= 0) {
      // Too late even when hardly thrown up (a floor that gives back all speed never makes the
      // rebound fall short): throw it down instead.
      patternMessage(QMSG_INFO, 703, 3);
      n = -n;
      v = -step;
      iteration = -1;
      climbed = false;
    } else if (n == -1) {
      v *= 1.0977;
    } else {
      if (lowered) {
        if (keepCount) break;
        patternMessage(QMSG_INFO, 705);
        iteration = -1;
        n += n > 0 ? -1 : 1;
      }
      lowered = true;
      v = v < 0 ? -0.001 : 0.001;
    }
  }
  patternMessage(QMSG_ERROR, 702, a, b);
  s.contacts = 0;
  return s;
}

// ---------------------------------------------------------------- the solver

// F(x) of the flight-time equation and its derivative; false where a root argument is not positive.
struct BounceEquation {
  double G, e2m, S, H1, c, T;
  int dir, s2;
  bool at(double x, double &F, double &Fp) const {
    double vc2 = x * x + 2 * G * H1, ve2 = e2m * x * x + 2 * G * c;
    if (vc2 <= 0 || ve2 <= 0) return false;
    double vc = std::sqrt(vc2), ve = std::sqrt(ve2);
    F = dir * x + S * vc + s2 * ve - G * T;
    Fp = dir + S * x / vc + s2 * e2m * x / ve;
    return true;
  }
};

// Damped Newton from x; true with the root in x when it converged.
static bool newton(const BounceEquation &q, double &x) {
  double F, Fp;
  for (int i = 0; i < 500; i++) {
    if (!q.at(x, F, Fp) || Fp == 0) return false;
    double dx = 0.9 * F / Fp;
    x -= dx;
    if (std::fabs(dx) <= 1e-6) {
      for (int k = 0; k < 8 && q.at(x, F, Fp) && Fp != 0; k++) x -= F / Fp;
      return std::isfinite(x);
    }
  }
  return false;
}

// The per-arc tables for launch speed x; false when an arc has no positive duration.
static bool fillArcs(const BounceEquation &q, double grip, double e, double zf, int m, double w0, double dist, double x,
                     BounceArcs &out) {
  double G = q.G, vc = std::sqrt(x * x + 2 * G * q.H1), ve = std::sqrt(q.e2m * x * x + 2 * G * q.c);
  out.vz[0] = x;
  out.d[0] = (vc + q.dir * x) / G;
  for (int i = 1; i <= m; i++) {
    out.vz[i] = Potenz(e, i) * vc;
    out.d[i] = i < m ? 2 * out.vz[i] / G : (out.vz[i] + q.s2 * ve) / G;
  }
  for (int i = 0; i <= m; i++)
    if (!(out.d[i] > 0)) return false;
  double f = (grip + 1) / 1.4, qq = (1 - 0.4 * f) - f, A[BOUNCE_TABLE], B[BOUNCE_TABLE], C[BOUNCE_TABLE], sum = 0;
  for (int i = 0; i <= m; i++) {
    double qi = Potenz(qq, i), gi = 0.6 * f * (1 - qi) / (1 - qq);
    A[i] = qi + 1 + gi;
    B[i] = qi + 1 - gi;
    C[i] = qi - 1 - gi;
    sum += A[i] * out.d[i] / 2;
  }
  out.u[0] = dist / sum - zf * w0;
  out.w[0] = w0;
  for (int i = 1; i <= m; i++) {
    out.u[i] = A[i] * (zf * w0 + out.u[0]) / 2;
    out.w[i] = (C[i] * out.u[0] + B[i] * zf * w0) / (2 * zf);
  }
  return true;
}

int Dotzbahn_loesen(double G, double grip, double e, double zf, double T, int m, int dir, int s2, double w0,
                    double dist, double H1, double H2, BounceArcs out[2]) {
  if (m < 1 || m > MAX_BOUNCES || !(G > 0) || !(T > 0) || !(e > 0) || zf == 0) return 0;
  double em = Potenz(e, m), middle = 0;
  for (int i = 1; i < m; i++) middle += Potenz(e, i);  // the sum form also holds for e = 1
  BounceEquation q{G, em * em, 1 + em + 2 * middle, H1, em * em * H1 - H2, T, dir, s2};
  double xmin = q.c < 0 ? std::sqrt(-2 * G * q.c) / em : 0;
  if (H1 < 0) xmin = std::fmax(xmin, std::sqrt(-2 * G * H1));
  double starts[4] = {xmin + 1e-6, xmin + 20};
  int count = 2;
  double qa = q.S * q.S - 1 - q.e2m - 2 * dir * s2 * em, qb = 2 * G * T * (s2 * em + dir),
         qc = q.S * q.S * 2 * G * H1 - G * G * T * T, disc = qb * qb - 4 * qa * qc;
  if (qa != 0 && disc >= 0)
    for (double sign : {1.0, -1.0}) {
      double r = (-qb + sign * std::sqrt(disc)) / (2 * qa);
      if (r > xmin) starts[count++] = r;
    }
  int found = 0;
  double roots[2];
  for (int i = 0; i < count && found < 2; i++) {
    double x = starts[i];
    if (!newton(q, x) || x < 0 || x < xmin) continue;
    if (found == 1 && fast_gleich(x, roots[0])) continue;
    if (!fillArcs(q, grip, e, zf, m, w0, dist, x, out[found])) continue;
    roots[found++] = x;
  }
  return found;
}

// ---------------------------------------------------------------- entering the arcs

// What the arcs of one throw are computed from.
struct BounceThrow {
  int o, h1, h2, a, b, n, mode;
  double P0[3], P1[3], zf, tFrom, tTo;
  uint32_t previousFlag;
  bool ball;
};

// One solved throw: per arc its duration, its start vertical speed and its horizontal velocity.
struct BounceSolution {
  int arcs;
  int count;  // bounce count, sign = direction
  double d[BOUNCE_TABLE], vz[BOUNCE_TABLE], vx[BOUNCE_TABLE], vy[BOUNCE_TABLE], w[BOUNCE_TABLE];
  bool spinSolved;
};

static bool isPass(int h1, int h2) { return Hand(h1, 0) / 2 != Hand(h2, 0) / 2; }

static double passDirection(int h1, int h2) {
  const double *p = fangwurf[h1].wurf, *q = fangwurf[h2].fang;
  return Winkel_zwischen(p[0], p[1], q[0], q[1]);
}

static bool searchSolution(const BounceThrow &t, BounceSolution &s) {
  double T = t.tTo - t.tFrom, H1 = t.P0[2] - t.zf, H2 = t.P1[2] - t.zf;
  BounceSearch r = bounceSearch(gravity, Dotzfaktor, H1, H2, T, t.n, t.mode == BOUNCE_RESOLVE, t.a, t.b);
  if (!r.contacts) return false;
  s.arcs = r.contacts + 1;
  s.count = r.count;
  s.spinSolved = false;
  double previous = 0;
  for (int i = 0; i < s.arcs; i++) {
    double end = i < r.contacts ? r.times[i] : T;
    s.d[i] = end - previous;
    previous = end;
    s.vx[i] = (t.P1[0] - t.P0[0]) / T;
    s.vy[i] = (t.P1[1] - t.P0[1]) / T;
    s.w[i] = 0;
  }
  s.vz[0] = r.v;
  if (s.arcs > 1) s.vz[1] = -Dotzfaktor * (gravity * r.times[0] + r.v);
  for (int i = 2; i < s.arcs; i++) s.vz[i] = s.vz[i - 1] * Dotzfaktor;
  return s.d[s.arcs - 1] > 0;
}

static bool solverSolution(const BounceThrow &t, BounceSolution &s) {
  qMsg(QMSG_INFO, "\n");
  double T = t.tTo - t.tFrom, H1 = t.P0[2] - t.zf, H2 = t.P1[2] - t.zf;
  double dist = std::hypot(t.P1[0] - t.P0[0], t.P1[1] - t.P0[1]);
  int m = std::abs(t.n), dir = t.n > 0 ? 1 : -1, s2 = 1, found = 0;
  BounceArcs out[2];
  while (!found) {
    found = Dotzbahn_loesen(-gravity, GRIP, Dotzfaktor, t.zf, T, m, dir, s2, 0, dist, H1, H2, out);
    qMsg(QMSG_DEBUG, "hand %2d -> %2d / takt %2d -> %2d: nos = %2d", t.h1, t.h2, t.a, t.b, found);
    if (found) {
      qMsg(QMSG_DEBUG, "  w[][]=%6.3lf  %6.3lf \n", out[found - 1].w[0], out[found - 1].w[1]);
      break;
    }
    if (m < 2 || t.mode == BOUNCE_RESOLVE) {
      if (dir == 1) {
        dir = -1;
        patternMessage(QMSG_INFO, 703, 1);
      } else if (s2 == 1) {
        s2 = -1;
      } else {
        patternMessage(QMSG_ERROR, 702, t.a, t.b);
        return false;
      }
    } else {
      m--;
      patternMessage(QMSG_INFO, 705);
    }
  }
  const BounceArcs &r = out[found - 1];
  double angle = Winkel_zwischen(t.P0[0], t.P0[1], t.P1[0], t.P1[1]);
  s.arcs = m + 1;
  s.count = dir * m;
  s.spinSolved = t.ball;
  for (int i = 0; i <= m; i++) {
    double h[2];
    polarToXY(r.u[i], angle, h);
    s.d[i] = r.d[i];
    s.vz[i] = i == 0 ? dir * r.vz[0] : r.vz[i];
    s.vx[i] = h[0];
    s.vy[i] = h[1];
    s.w[i] = r.w[i];
  }
  return true;
}

// Spin and heading of arc i.
static void arcSpin(const BounceThrow &t, const BounceSolution &s, int i, const Flugbahn *previous, Flugbahn &f) {
  bool pass = isPass(t.h1, t.h2), last = i == s.arcs - 1;
  double d = s.d[i];
  f.W[0] = PI / 2;
  f.Wp[1] = 0;
  if (s.spinSolved) {
    if (i > 0) f.W[0] = previous->W[0] + previous->Wp[0] * s.d[i - 1];
    f.W[1] = pass ? passDirection(t.h1, t.h2) - PI : handHeading(t.h1) - PI / 2;
    f.Wp[0] = s.w[i];
    if (last) {
      f.Wp[0] = wrapAnglePi(d * f.Wp[0] + (pass ? PI : 0) - f.W[0]) / d;
      qMsg(QMSG_DEBUG, "wyp = %lf  wy = %lf\n", f.Wp[0], f.W[0]);
    }
  } else if (!pass) {
    f.Wp[0] = 0;
    f.W[1] = handHeading(t.h1);
  } else {
    f.W[1] = passDirection(t.h1, t.h2);
    f.Wp[0] = last ? PI / d : (f.V[2] >= 0 ? 2 * PI / d : 0);
  }
  if (t.previousFlag & FB_MIRRORED) {
    f.W[0] = -f.W[0];
    f.Wp[0] = -f.Wp[0];
    f.W[1] += PI;
  }
}

// Fills arc i of the solution into segment f; previous is the arc before it (i > 0).
static void enterArc(const BounceThrow &t, const BounceSolution &s, int i, double start, const Flugbahn *previous,
                     Flugbahn &f) {
  f.t_from = start;
  f.t_to = i == s.arcs - 1 ? t.tTo : start + s.d[i];
  f.t_apex = s.d[i] / 2;
  f.V[0] = s.vx[i];
  f.V[1] = s.vy[i];
  f.V[2] = s.vz[i];
  if (i == 0) {
    f.X0[0] = t.P0[0];
    f.X0[1] = t.P0[1];
    f.X0[2] = t.P0[2];
  } else {
    double pd = s.d[i - 1];
    f.X0[0] = previous->X0[0] + previous->V[0] * pd;
    f.X0[1] = previous->X0[1] + previous->V[1] * pd;
    f.X0[2] = t.zf;
  }
  f.az = gravity;
  arcSpin(t, s, i, previous, f);
  uint32_t direction = s.count < 0 ? FB_FORCED_BOUNCE : FB_BOUNCE;
  if (t.mode == BOUNCE_ENTER) {
    f.objekt = t.o;
    f.taktvon = t.a;
    f.taktbis = t.b;
    f.handvon = t.h1;
    f.handbis = t.h2;
    f.haltehand = -1;
    f.kot = 0;
    f.flag = FB_FREE_FLIGHT | direction;
  } else {
    // A re-solved run may have turned its direction.
    f.flag = (f.flag & ~uint32_t(FB_BOUNCE_PENDING | FB_BOUNCE | FB_FORCED_BOUNCE)) | direction;
  }
  if (isPass(t.h1, t.h2)) {
    f.flag |= FB_PASS;
    if (i == s.arcs - 1 && (Wurf_ueber_Schulter(handHeading(t.h1), handHeading(t.h2), f.W[1]) & 1)) f.flag |= FB_SPIN_TURN;
  }
}

bool isBounceArc(const Flugbahn &f) { return f.haltehand == -1 && (f.flag & (FB_BOUNCE | FB_FORCED_BOUNCE)); }

// Without wrap lines the chain's first and last segments are one segment a cycle apart: whichever
// of them was written is copied over the other.
static void keepPeriodic(int o, bool wroteFirst, bool wroteLast) {
  int n = paraz[o];
  if (WRAP || n < 1) return;
  if (wroteLast) {
    flugbahn[o][0] = flugbahn[o][n];
    Zyklus_anpassen(&flugbahn[o][0], 1);
  } else if (wroteFirst) {
    flugbahn[o][n] = flugbahn[o][0];
    Zyklus_anpassen(&flugbahn[o][n], 2);
  }
}

// The next segment of a run of arcs: within the chain with wrap lines, else cyclically past the
// chain's repeated first segment. Sets crossed when it passes the chain end.
static bool nextArcIndex(int o, int &i, bool &crossed) {
  if (WRAP) return ++i <= paraz[o];
  int before = i;
  nexteFlugbahn(o, &i, 3);
  if (i < before) crossed = true;
  return true;
}

static int enterSolution(const BounceThrow &t, const BounceSolution &s, int j) {
  int o = t.o, i = j;
  double start = t.tFrom;
  bool crossed = false, wroteFirst = false, wroteLast = false;
  Flugbahn *previous = nullptr;
  for (int k = 0; k < s.arcs; k++) {
    if (k > 0) {
      bool ok = t.mode == BOUNCE_ENTER ? ++i < segmentRowLength : nextArcIndex(o, i, crossed);
      if (!ok || i >= segmentRowLength || (t.mode == BOUNCE_RESOLVE && !isBounceArc(flugbahn[o][i]))) {
        patternMessage(QMSG_REPORT, 46, "bounce run does not fit its chain", "Dotzbahnen_berechnen");
        return 0;
      }
    }
    Flugbahn &f = flugbahn[o][i];
    enterArc(t, s, k, start, previous, f);
    start = f.t_to;
    if (crossed) {
      f.t_from -= t_zyklus;
      f.t_to -= t_zyklus;
    }
    wroteFirst |= i == 0;
    wroteLast |= i == paraz[o];
    previous = &f;
  }
  if (t.mode == BOUNCE_RESOLVE) keepPeriodic(o, wroteFirst, wroteLast);
  return s.arcs - 1;
}

static double contactHeight(int o, bool &ball) {
  int radius = ObjektEigenschaft(0, o, 4);
  ball = objectIsBall(0, o) && radius != 0;
  // A ball's radius is stored negative; its centre touches the floor one radius above it.
  return ball ? std::fabs(radius / 1000.0) : DEFAULT_CONTACT_HEIGHT;
}

static bool enterInputs(BounceThrow &t, int join) {
  if (!hasHandPoints(t.h1) || !hasHandPoints(t.h2)) return false;
  memcpy(t.P0, fangwurf[t.h1].wurf, sizeof t.P0);
  memcpy(t.P1, fangwurf[t.h2].fang, sizeof t.P1);
  if (!qInternal[QINTERNAL_VIRTUAL_USED]) {
    jitterVector(t.P0, scatter);
    jitterVector(t.P1, scatter);
  } else {
    catchPosition(join, t.h1, t.zf, t.P0);
    catchPosition(join, t.h2, t.zf, t.P1);
  }
  t.tFrom = (dwell - 1) * dt + t.a * dt;
  t.tTo = t.b * dt - (dwell - 1) * dt;
  t.previousFlag = 0;
  return true;
}

static void addRadius(double p[3], const double base[3], const double *r) {
  for (int k = 0; k < 3; k++) p[k] = base[k] + r[k];
}

static bool resolveInputs(BounceThrow &t, int j, int first, int last) {
  int o = t.o;
  if (first < 0 || first > paraz[o] || last < 0 || last > paraz[o]) return false;
  const Flugbahn &s = flugbahn[o][j];
  const Flugbahn *before = nexteFlugbahnWithWrap(o, first, 2, 1), *after = nexteFlugbahnWithWrap(o, last, 1, 1);
  if (!before || !after) {
    patternMessage(QMSG_REPORT, 46, before ? "fl2=NULL" : "fl0=NULL", "Dotzbahnen_berechnen");
    return false;
  }
  t.h1 = s.handvon;
  t.h2 = s.handbis;
  t.a = s.taktvon;
  t.b = s.taktbis;
  t.tFrom = flugbahn[o][first].t_from;
  t.tTo = flugbahn[o][last].t_to;
  if (t.tTo < t.tFrom) t.tTo += t_zyklus;
  t.previousFlag = before->flag;
  int model = objectModelForRow(o);
  addRadius(t.P0, before->B3, Objekt_Radiusvektor(model, s.W[0], s.W[1]));
  addRadius(t.P1, after->B0, Objekt_Radiusvektor(model, after->W[0], s.W[1]));
  return hasHandPoints(t.h1) && hasHandPoints(t.h2);
}

int Dotzbahnen_berechnen(int o, int j, int h1, int h2, int a, int b, int first, int last, int n, int join, int mode) {
  if (mode != BOUNCE_ENTER && mode != BOUNCE_RESOLVE) {
    qMsg(QMSG_ERROR, localText(45), mode, "Dotzbahnen_berechnen");
    return 0;
  }
  if (!flugbahn || o < 0 || o >= objekte || j < 0 || j >= segmentRowLength || j > paraz[o] + 1) {
    patternMessage(QMSG_REPORT, 46, "no such segment", "Dotzbahnen_berechnen");
    return 0;
  }
  BounceThrow t{o, h1, h2, a, b, n, mode, {}, {}, 0, 0, 0, 0, false};
  t.zf = contactHeight(o, t.ball);
  if (!(mode == BOUNCE_ENTER ? enterInputs(t, join) : resolveInputs(t, j, first, last))) {
    patternMessage(QMSG_REPORT, 46, "bounce throw without its hands", "Dotzbahnen_berechnen");
    return 0;
  }
  if (n == 0) {
    qMsg(QMSG_ERROR, "dotz==0!\n");
    return 0;
  }
  if (std::abs(n) > MAX_BOUNCES) {
    patternMessage(QMSG_ERROR, 701, 1);
    return 0;
  }
  if (!(t.tTo - t.tFrom > 0)) {
    qMsg(QMSG_ERROR, "t<0!\n");
    return 0;
  }
  BounceSolution s{};
  bool solved = (qPrefs.iflag & BOUNCE_SOLVER) ? solverSolution(t, s) : searchSolution(t, s);
  if (!solved) return 0;
  if (mode == BOUNCE_RESOLVE && s.arcs != std::abs(n) + 1) {
    patternMessage(QMSG_ERROR, 702, t.a, t.b);
    return 0;
  }
  return enterSolution(t, s, mode == BOUNCE_ENTER ? j : first);
}
