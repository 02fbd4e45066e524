// Object models: the object file format, the loaded-object table, the instance list and origins,
// the packed shapes and the sticky random colours.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "pattern/modeltable.h"

struct ObjectNode;

enum {
  LOO_MAX = MODEL_SLOTS,         // loaded models
  INSTANCE_MAX = INSTANCE_SLOTS,  // entries of the instance list
  OBJBUF_SIZE = 50000,    // bytes of one packed shape
  MAX_FIGURES = 20,
  MAX_HAND_POINTS = 10,
  STICKY_SLOTS = 50,
  MODEL_NAME_SIZE = 100,
  ARROW_ENTRY = LOO_MAX,         // the guide arrow's record: the last, where no model goes
  OBJECT_RECORDS = LOO_MAX + 1,  // records of objekt_geladen
};

// Flags of a loaded-object entry.
enum {
  OBJ_FIXED = 0x1,
  OBJ_FIGURE = 0x2,
  OBJ_JUGGLED = 0x4,
  OBJ_CHOOSABLE = 0x8,
  OBJ_RANDOM_COLOURS = 0x10,
  OBJ_NEW_LIST = 0x1000,
  OBJ_RECOMPILE = 0x2000,
};

// Results of Objektdatei_laden besides a reused entry's index.
enum { LOAD_ENTERED = -17, LOAD_FAILED = -1 };

struct LoadedObject {
  char name[MODEL_NAME_SIZE];
  int objektnummer;
  int pointCount;
  int elementCount;  // -1 in the record after the last entry
  int flags;
  int displayList;
  ObjectNode *node;
  int vertexTotal;
  int faceTotal;
};

struct InstanceOrigin {
  int16_t x, y, z;  // millimetres
  int16_t heading;  // 1/2048 of a turn
};

extern LoadedObject *objekt_geladen;  // LOO_MAX entries and the end record, which also holds the arrow's
                                      // flags and list (only its elementCount marks the end)
extern int loadedObjectCount;
extern int objectInstanceCount;
extern InstanceOrigin *instanceOrigins;  // INSTANCE_MAX records, made on first use
extern int16_t *objbuf;                  // scratch buffer of OBJBUF_SIZE bytes
extern int16_t *objectShapesOwned[LOO_MAX];
extern int16_t chooserModels[LOO_MAX + 1];  // choosable models, -1 ended
extern int handPointCount[MAX_FIGURES];
extern int headPointCount[MAX_FIGURES];
extern double handTemplate[MAX_FIGURES][MAX_HAND_POINTS][3];
extern const char MODEL_LIST_MISSING[];  // objectModelFromList's answer when the list is missing

int allocObjectBuffers();
void freeObjectBuffers();
void resetObjectTable();
void freeObjectShapes();
unsigned shapeBytes(const int16_t *shape);

// A model or Inline file that cannot be read is said (stderr, the trace and a message) once a
// pattern, which loads a model once for every object: the text, or text 33 with errno's reason.
void reportModelProblem(const std::string &path, const std::string &text);
void reportUnreadableModel(const std::string &path, int error);
std::string vrmlModelPath(const std::string &name);
int Objektdatei_laden(const char *name, int number, double x, double y, double z, double heading, int flags);
int Fill_objekt_geladen(const char *name, int number, int flags, int pointCount, int elementCount, ObjectNode *node);
int Objektnummer_eintragen(int index);
int findLoadedObject(const char *name);
int AlleObjekteLaden();
const char *objectModelFromList(int n);
int Objekte_laden();
int Zahl_lesen(FILE *file);
int stickyRandom(int range, int slot);
void centerObjectModel(const int16_t *points, int figure);

// VRML mode: gives the last created object node an instance number, position and angles (degrees).
void placeLastObjectNode(int instance, const double position[3], const double angles[3]);
// Every juggled object's shape back to its loaded model; the object number of a loaded model.
void restoreObjectShapes();
int loadedObjectNumber(int index);
