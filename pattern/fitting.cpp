// Fitting: stand-ins until the fitting is built; they leave the chains as they are and find no fault.
#include "pattern/fitting.h"

#include "pattern/store.h"

__attribute__((weak)) int Flugbahnen_anpassen() { return 0; }
__attribute__((weak)) int Flugbahnen_wrap_kuerzen() { return objekte; }
__attribute__((weak)) int Flugbahnen_in_Zyklus_schieben() { return objekte; }
__attribute__((weak)) int Flugbahnen_pruefen() { return 0; }
