// Object models: the object file format, the loaded-object table and the instance list.
#pragma once
#include <cstdint>
#include <cstdio>

int allocObjectBuffers();
void freeObjectBuffers();
int Objektdatei_laden(const char *name, int number, double x, double y, double z, double heading, int flags);
int Objektnummer_eintragen(int index);
int findLoadedObject(const char *name);
int AlleObjekteLaden();
const char *objectModelFromList(int n);
int Objekte_laden();
int stickyRandom(int range, int slot);

// Instance list and the count of instances before the pattern's juggled objects.
extern int16_t objectInstanceList[201];  // ends at the first -1
extern int firstObjectInstance;
extern int loadedObjectCount;
extern int objectInstanceCount;
void freeObjectShapes();
// VRML mode: gives the last created object node an instance number, position and angles (degrees).
void placeLastObjectNode(int instance, const double position[3], const double angles[3]);
