// The current object: the letter the follow views, the arrow and the path toggles act on, kept
// across the wrap of the cycle and stepped by the next-object command.
#include "scene/pathdisplay.h"

#include "pattern/reader.h"
#include "pattern/store.h"

char currentObjectLetter;

// Without objects there is no current object; the request is dropped so it cannot wait for one.
void trackCurrentObject(int *step) {
  if (objekte <= 0) {
    currentObjectLetter = 0;
    nextObjectRequest = 0;
    if (step) *step = 0;
    return;
  }
  if (!currentObjectLetter && wraptable[0] != 0xFF) currentObjectLetter = char(wraptable[0]);
  if (step && *step) {
    int partner = Wrap_Partner(currentObjectLetter, *step);
    if (partner != 255) currentObjectLetter = char(partner);
    *step = 0;
  }
  if (nextObjectRequest) {
    int next = (Objekt_Nummer(currentObjectLetter) + 1) % objekte;
    currentObjectLetter = Objektbuchstaben[next < 0 ? 0 : next];
    nextObjectRequest = 0;
  }
}

char currentObjectForPath() {
  int none = 0;
  trackCurrentObject(&none);
  for (int tries = 0; tries < objekte && (currentObjectLetter == ' ' || currentObjectLetter == 0); tries++) {
    nextObjectRequest = 1;
    trackCurrentObject(&none);
  }
  return currentObjectLetter == ' ' ? 0 : currentObjectLetter;
}
