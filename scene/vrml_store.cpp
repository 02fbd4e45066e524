// Stand-in VRML model store: no model tree yet, so every VRML load reports that it is not available.
#include "scene/vrml_store.h"

#include "core/Tcl.h"
#include "scene/modeltree.h"
#include "scene/objects.h"

ObjectNode *qScene_CO;
ObjectNode *currentObjectNode;
ObjectNode *fileRootNode;

int loadVRMLFile(const char *path, int, double, double, double, double, int) {
  qMsg(QMSG_ERROR, "VRML models are not available in this build: %s\n", path);
  return -1;
}

void resetVRMLScene() {}
void placeLastObjectNode(int, const double[3], const double[3]) {}

int loadObjectByName(const char *name, const double[3], double, double, double, int) {
  qMsg(QMSG_DEBUG, "loadObjectByName(%s): the VRML model store is not available yet\n", name);
  return 260;
}

ObjectNode *findSceneNode(int, int) { return nullptr; }
void setSceneNodePosition(ObjectNode *, const double[3]) {}
