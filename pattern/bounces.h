// Bounce throws: the launch speed that brings a throw with floor contacts to its catch in time
// (an iterative search on the vertical motion, or a solver that also models a ball's horizontal
// speed and spin), and the arcs between the contacts entered into the object's chain.
#pragma once

struct Flugbahn;

enum {
  MAX_BOUNCES = 9,     // floor contacts of one throw
  BOUNCE_TABLE = 11,   // entries of the solver's per-arc tables
  BOUNCE_SOLVER = 0x2, // preferences flag (iflag) that selects the solver
};

// Dotzbahnen_berechnen's modes: enter a new throw, or re-solve an entered run of arcs.
enum { BOUNCE_ENTER = 5, BOUNCE_RESOLVE = 10 };

// Result of the vertical search: the launch speed (signed, up positive), the contact times from
// the throw, and the bounce count it settled on (its sign gives the direction).
struct BounceSearch {
  int count;                  // bounce count, sign = direction (may differ from the one asked for)
  int contacts;               // floor contacts found (0 = failure)
  double v;                   // launch vertical speed
  double times[MAX_BOUNCES];  // contact times, seconds after the throw
};

// Per-arc tables of one solution of the solver.
struct BounceArcs {
  double vz[BOUNCE_TABLE];    // vertical speed at the start of each arc (magnitude)
  double d[BOUNCE_TABLE];     // arc durations
  double u[BOUNCE_TABLE];     // horizontal speeds
  double w[BOUNCE_TABLE];     // spin rates
};

int Dotzbahnen_berechnen(int object, int segment, int handFrom, int handTo, int taktFrom, int taktTo, int firstArc,
                         int lastArc, int bounces, int join, int mode);

// g negative (down), e the bounce factor, heights above the contact plane, T the flight time,
// n the bounce count (sign = direction); keepCount refuses to drop a bounce. a, b name the throw
// in the messages. 0 contacts on failure.
BounceSearch bounceSearch(double g, double e, double H1, double H2, double T, int n, bool keepCount, int a, int b);

// G positive, s2 = 1 catches after the last contact on the way down, -1 on the way up.
// out receives up to 2 solutions; the result is their number.
int Dotzbahn_loesen(double G, double restitution, double e, double zf, double T, int m, int dir, int s2, double w0,
                    double dist, double H1, double H2, BounceArcs out[2]);

// A flight segment that is one arc of a bounce throw (either bounce flag).
bool isBounceArc(const Flugbahn &f);

double Potenz(double x, int n);
int fast_gleich(double a, double b);
double Quadrat(double x);
