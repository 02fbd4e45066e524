// Holds: stand-in until the hold segments are built; succeeds with the chains as they are.
#include "pattern/holds.h"

__attribute__((weak)) int Objekt_in_der_Hand() { return 0; }
