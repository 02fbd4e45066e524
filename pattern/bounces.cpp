// Bounce throws: stand-in until the bounce arcs are built; a bounce throw is reported and fails.
#include "pattern/bounces.h"

#include "core/Tcl.h"

__attribute__((weak)) int Dotzbahnen_berechnen(int object, int, int, int, int taktFrom, int, int, int, int bounces,
                                               int, int) {
  qMsg(QMSG_ERROR, "bounce throws are not available (object %d, takt %d, %d bounces)\n", object, taktFrom, bounces);
  return 0;
}
