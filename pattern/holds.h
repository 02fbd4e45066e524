// Holds: the hold segments between a catch and the next throw (a Bezier curve from the end of the
// flight that brings the object to the start of the flight that takes it away, and the object's
// turn on the way), objects kept in one hand all the cycle, and holds over the cycle boundary.
#pragma once

// Failures of the holds.
enum {
  HOLD_FAILED = 15199,       // Objekt_in_der_Hand: some hold could not be filled; also a bad hold time
  HOLD_HAND_UNUSED = 14699,
  HOLD_NO_FLIGHT = 20599,    // no flight before or after the slot
  HOLD_BAD_PARTNER = 50428,  // a wrap partner outside the objects
  HOLD_BAD_KIND = 21599,
};

int Objekt_in_der_Hand();
int Objektbahn_in_Hand_eintragen(int object, int segment, int hand, int firstTakt, int nextThrowTakt);
