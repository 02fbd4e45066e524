// Fitting flights to holds, the cycle window and the chain check: every free flight refitted to
// leave where its hold ends and arrive where the next begins (bounce runs re-solved), the chains
// cut to one cycle (wrap lines) or rotated so that they start at time 0, and their test.
#pragma once

enum {
  FIT_BOUNCE_FAILED = 4312,
  FIT_FLIGHT_FAILED = 22599,
};

int Flugbahnen_anpassen();
int FlugbahnKO_anpassen(int object, int segment);
int Dotzbahnen_neu_berechnen(int object, int segment);
int Flugbahnen_wrap_kuerzen();
int Flugbahnen_in_Zyklus_schieben();
int Flugbahnen_pruefen();
