// Stand-in object loader: loads nothing and succeeds.
#include "scene/objects.h"

int Objekte_laden() { return 0; }
int Objektdatei_laden(const char *, int, double, double, double, double, int) { return -17; }
int findLoadedObject(const char *) { return -1; }
int allocObjectBuffers() { return 0; }
void freeObjectBuffers() {}
