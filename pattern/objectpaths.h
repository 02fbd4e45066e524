// Object paths: the flight and hold segments of every object, their chains and the tracking steps.
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
enum { SEGMENT_CLEARED = -1717 };
const double CLEARED_DOUBLE = -77.77;

// Per object in WRAP mode: where the letter is held first and last, and its wrap partners.
struct QWrapObj {
  int letter;
  int firstTakt;
  int firstHand;
  int endTakt;
  int lastHand;
  int forward;
  int backward;
};

extern Flugbahn **flugbahn;  // one row of segments per object
extern int paraz[100];       // index of each object's last segment
extern QWrapObj *qWrapObjList;
extern double maxheight;     // highest point of the pattern's flights, metres

void Flugbahnsegment_loeschen(int object, int segment);
void WrapObjList_fuellen();
int Uebergaben_eintragen();
int Objekte_verfolgen();
