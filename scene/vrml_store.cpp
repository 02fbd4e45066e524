// Stand-in VRML model store: no model tree yet, so every VRML load reports that it is not available.
#include "scene/vrml_store.h"

#include "core/Tcl.h"

#define STANDIN __attribute__((weak))

STANDIN ObjectNode *qScene;
STANDIN ObjectNode *currentObjectNode;
STANDIN ObjectNode *fileRootNode;

STANDIN int loadVRMLFile(const char *path, int, double, double, double, double, int) {
  qMsg(QMSG_ERROR, "VRML models are not available in this build: %s\n", path);
  return -1;
}
