// Bounce throws: stand-in until the bounce arcs are built. A bounce throw is entered as its arcs,
// but they are the pieces of one plain throw between the hands, cut at equal times.
#include "pattern/bounces.h"

#include <cstdlib>

#include "core/Tcl.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"

__attribute__((weak)) int Dotzbahnen_berechnen(int o, int j, int h1, int h2, int a, int b, int, int, int n, int join,
                                               int mode) {
  int contacts = abs(n);
  if (mode != 5) return contacts;
  qMsg(QMSG_DEBUG, "bounces are not available: object %d thrown from takt %d without its %d floor contacts\n", o, a,
       contacts);
  if (j + contacts >= segmentRowLength || Wurfbahn_berechnen(o, j, h1, h2, a, b, SPIN_NONE, 0, 0, 0, join)) return 0;
  const Flugbahn whole = flugbahn[o][j];
  double T = whole.t_to - whole.t_from;
  for (int p = 0; p <= contacts; p++) {
    Flugbahn &s = flugbahn[o][j + p];
    double s0 = T * p / (contacts + 1), s1 = T * (p + 1) / (contacts + 1);
    s = whole;
    s.t_from = whole.t_from + s0;
    s.t_to = whole.t_from + s1;
    s.t_apex = (s1 - s0) / 2;
    for (int k = 0; k < 3; k++) s.X0[k] = whole.X0[k] + whole.V[k] * s0;
    s.X0[2] += whole.az * s0 * s0 / 2;
    s.V[2] = whole.V[2] + whole.az * s0;
    s.W[0] = whole.W[0] + whole.Wp[0] * s0;
    s.flag |= n > 0 ? FB_BOUNCE : FB_FORCED_BOUNCE;
  }
  return contacts;
}
