// Fitting flights to holds, the cycle window and the chain check.
#pragma once

int Flugbahnen_anpassen();
int Flugbahnen_wrap_kuerzen();
int Flugbahnen_in_Zyklus_schieben();
int Flugbahnen_pruefen();
