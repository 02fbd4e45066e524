// Object paths: the flight and hold segments of every object, their chains over one cycle, the
// wrap list, the hand-over table and the tracking of every object through the pattern grid.
#pragma once
#include <cstdint>

#include "pattern/store.h"

// One segment of an object's chain: a flight (haltehand -1) or a hold (haltehand >= 0).
// Times in seconds of the cycle, lengths in metres, angles in radians.
struct Flugbahn {
  double t_from;
  double t_apex;  // flight: half the flight time; hold: when its rotation reaches its turning angle
  double t_to;
  double X0[3];   // flight: position at t_from
  double V[3];    // flight: velocity at t_from
  double az;      // flight: vertical acceleration (gravity, negative); hold: catch impact
  double B0[3], B1[3], B2[3], B3[3];  // hold: Bezier control points
  double W[2];    // spin angle and heading at t_from
  double Wp[2];   // their rates over the segment, rad/s
  int objekt;     // -1717 when cleared
  int taktvon;    // flight: the takt after the throwing hold's last takt
  int taktbis;    // flight: the catching hold's first takt
  int handvon;
  int handbis;
  int haltehand;  // hold: the holding hand; flight: -1; cleared: -1717
  uint32_t flag;
  uint32_t kot;   // kind-of-throw flags
};

// Bits of Flugbahn::flag.
enum : uint32_t {
  FB_FREE_FLIGHT = 0x1,      // to be fitted to its neighbouring holds
  FB_HOLD = 0x2,
  FB_SPIN_TURN = 0x4,        // the spin sense turns after this pass
  FB_MIRRORED = 0x8,
  FB_HOLD_Z = 0x10,
  FB_PASS = 0x20,            // thrower and catcher are different jugglers
  FB_BOUNCE = 0x40,
  FB_FORCED_BOUNCE = 0x80,
  FB_BOUNCE_PENDING = 0x100,
  FB_WRAP_FIRST = 0x200,
  FB_WRAP_LAST = 0x400,
  FB_WRAP_OUTSIDE = 0x800,
};

enum { SEGMENT_CLEARED = -1717 };
const double CLEARED_DOUBLE = -77.77;

// start.takt values besides a takt.
enum { START_NOT_SEEN = -17, START_CLOSED = -42 };

// Failures of the tracking.
enum {
  TRACK_FLIGHT_FAILED = 20499,      // a start flight or a flight of the main walk
  TRACK_END_FLIGHT_FAILED = 17599,  // an end flight in WRAP mode
  FLIGHT_BAD_INDEX = 1,
  FLIGHT_BOUNCE_FAILED = 23,
  FLIGHT_BAD_KIND = 21599,
  FLIGHT_FAILED = 151298,
};

// zusf_eintragen's answer when the table is full (kept apart from every count).
enum { ZUSF_FULL = -3100 };

// Tracking state of one object.
struct ObjectStart {
  int takt;  // the takt the next flight starts from, or START_NOT_SEEN / START_CLOSED
  int hand;  // hand of the current hold
  int wrap;  // 1 when the object is held over the cycle boundary at takt 0
};

// Per object in WRAP mode: where the letter is held first and last, and its wrap partners.
struct QWrapObj {
  int letter;
  int firstTakt;  // 9999999 when never held
  int firstHand;
  int endTakt;    // last takt held + 1, 0 when never held
  int lastHand;
  int forward;    // object number of the forward wrap partner
  int backward;
};

extern Flugbahn **flugbahn;  // one row of segments per object
extern int paraz[MAX_OBJECTS];  // index of each object's last segment
extern ObjectStart start[MAX_OBJECTS];
extern QWrapObj *qWrapObjList;
extern double maxheight;     // highest point of the pattern's flights, metres

void Flugbahnsegment_loeschen(int object, int segment);
void WrapObjList_fuellen();
int Uebergaben_eintragen();
int Objekte_verfolgen();
int Flugbahnen_eintragen(int object, int segment, int handFrom, int handTo, int taktFrom, int taktTo);
void Zyklus_anpassen(Flugbahn *segment, int mode);
void nexteFlugbahn(int object, int *segment, int mode);
Flugbahn *nexteFlugbahnWithWrap(int object, int segment, int direction, int kind);
int Objekt_auffinden(char letter, int hand, int takt, int mode);
int Haltezeit_finden(int *takt, int *lastTakt, int hand, int object);
int zusf_eintragen(int count, char letter, int hand, int firstTakt, int lastTakt, char extra);
int Taktbereiche_ueberlappen(int firstA, int lastA, int firstB, int lastB);
// Index of the object's last segment, at most the last of its row.
int lastSegment(int object);
int handImmer(int hand);
