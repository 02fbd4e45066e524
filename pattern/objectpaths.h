// Object paths: the flight and hold segments of every object and the chains they form.
#pragma once
#include <cstdint>

struct Flugbahn {
  double t_from, t_apex, t_to;
  double X0[3], V[3];
  double az;
  double B0[3], B1[3], B2[3], B3[3];
  double W[2], Wp[2];
  int objekt, taktvon, taktbis, handvon, handbis, haltehand;
  uint32_t flag, kot;
};

enum { FB_FREE_FLIGHT = 0x1, FB_HOLD = 0x2 };

extern Flugbahn **flugbahn;  // one row of segments per object
extern int paraz[100];       // index of each object's last segment
