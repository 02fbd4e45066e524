// Hand paths: the per-hand chains of Bezier segments over one cycle (holds and empty-hand moves),
// the hand macros' world points, the merged hold intervals and the steps that build the chains.
#pragma once
#include <cstdint>

#include "pattern/store.h"

struct Flugbahn;

// One segment of a hand's chain; t_from 1717.1717 marks a slot not in use.
struct Handbahn {
  double t_from;
  double t_to;
  double B0[3];
  double B1[3];
  double B2[3];
  double B3[3];
};

// One entry of the work list of Handbahnen_eintragen: a hold of a hand.
struct HbSuche {
  int32_t hand;
  int32_t takt;     // the takt in which the hold starts
  int32_t objekt;
  int32_t segment;  // index in the object's flugbahn chain
};

// Failures of the hand-path steps.
enum {
  HANDPATH_BOUNDS = 3100,        // Handparabeln_zusammenfassen: a store index outside the store
  HANDPATH_FLIGHT = 151298,      // Handparabeln_zusammenfassen: the flight of a kept object
  HANDPATH_WORK_LIST = 1,        // Handbahnen_eintragen: the work list
  HANDPATH_NO_ROOM = 12398,      // Handbahnen_eintragen: the chain does not fit its row
  HANDPATH_BAD_HAND = 15398,     // Handbahnen_eintragen: a negative holding hand
};

// hand_immer: 1000 + this object index marks a hand that is empty all the cycle ("-").
enum { HAND_IMMER_BASE = 1000 };

extern Handbahn **handbahn;  // [handCount][takte + 1]
extern int hand_immer[MAX_HANDS];  // 0, or 1000 + object when the hand keeps it all the cycle

void Zusatzhaende_umrechnen();
int Handparabeln_zusammenfassen();
int Handbahnen_eintragen();
int Handbahnen_pruefen();
void Leerhandbahn_berechnen(const Handbahn *previous, Handbahn *empty, const Handbahn *next, int hand);
void Haltebahn_uebernehmen(const Flugbahn *segment, int slot);
void Handbahn_abs2rel(Handbahn *segment, double angle, const double reference[3]);
int hb_suche_cmp(const void *a, const void *b);

// The row of the hand chain that shows a hold of this holding hand: the hand itself, the column's
// real hand for a hand macro, -1 when no chain shows it.
int handChainRow(int holdingHand);
// Reference point (metres) and angle (radians) that make juggler j's hand chains juggler-relative
// in classic mode: the figure's stored origin, millimetres and 1/2048 turns as the figure has them.
void handPathOrigin(int juggler, double reference[3], double *angle);
