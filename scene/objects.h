// Object models: the object file format, the loaded-object table and the instance list.
#pragma once
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
