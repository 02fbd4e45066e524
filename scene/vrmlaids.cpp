// The aids in VRML mode over the scene list's object nodes. Making new nodes (path lines, the
// chooser's scene) needs the model store's node allocation, so those report that they cannot yet.
#include "scene/vrmlaids.h"

#include <cstring>

#include "core/Tcl.h"
#include "scene/modeltree.h"
#include "scene/vrml_store.h"

void hideSceneNodes(const char *name) {
  for (ObjectNode *n = qScene; n; n = n->next)
    if (strcmp(n->name, name) == 0) n->flags |= NODE_HIDDEN;
}

bool sceneObjectPosition(char letter, double out[3]) {
  if (!letter) return false;
  for (const ObjectNode *n = qScene; n; n = n->next) {
    if (n->letter != letter) continue;
    for (int i = 0; i < 3; i++) out[i] = n->position[i];
    return true;
  }
  return false;
}

int showVRMLPath(const char *name, int number, int, double, bool) {
  if (ObjectNode *node = findSceneNode(0, number)) {
    node->flags &= ~uint32_t(NODE_HIDDEN);
    return 0;
  }
  qMsg(QMSG_DEBUG, "showVRMLPath(%s): path nodes need the VRML model store\n", name);
  return 1;
}

int qVRMLObjectChooser(int op) {
  qMsg(QMSG_DEBUG, "qVRMLObjectChooser(%d): the chooser scene needs the VRML model store\n", op);
  return 7100;
}

int qBuildVRMLObjectChooser(int, int, double) { return 0; }
