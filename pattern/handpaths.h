// Hand paths: the per-hand chains of Bezier segments and the steps that build them.
#pragma once

// One segment of a hand's chain; t_from 1717.1717 marks a slot not in use.
struct Handbahn {
  double t_from;
  double t_to;
  double B0[3];
  double B1[3];
  double B2[3];
  double B3[3];
};

extern Handbahn **handbahn;  // [handCount][takte + 1]
extern int hand_immer[40];   // 0, or 1000 + object when the hand keeps it all the cycle

void Zusatzhaende_umrechnen();
int Handparabeln_zusammenfassen();
int Handbahnen_eintragen();
int Handbahnen_pruefen();
