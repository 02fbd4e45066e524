// The aids in VRML mode over the object nodes of the scene and chooser lists. Making new nodes
// (path lines, the chooser's scene) needs the model store's node allocation, so those report that
// they cannot yet.
#include "scene/vrmlaids.h"

#include <cstring>

#include "core/Tcl.h"
#include "core/viewrecords.h"
#include "pattern/throws.h"
#include "scene/vrml/modeltree.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"

bool sceneObjectPosition(char letter, double out[3]) {
  if (!letter) return false;
  int walked = 0;
  for (const ObjectNode *n = qScene; n && walked++ < MAX_NODES_WALKED; n = n->next) {
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

// The chooser's list: its root, then one node per model and the cursor frame's node. The models
// before the page are hidden, the page shows 4 columns of 5 rows, the rest is hidden again.
int qBuildVRMLObjectChooser(int rowOffset, int pick, double turnDegrees) {
  if (!qScene_CO) return 0;
  ObjectNode *frame = nullptr;
  int walked = 0;
  for (ObjectNode *n = qScene_CO->next; n && !frame && walked++ < MAX_NODES_WALKED; n = n->next)
    if (chooserCursorModel > 0 && n->objectIndex == chooserCursorModel) frame = n;
  int result = 0, entry = 0, first = CHOOSER_COLUMNS * rowOffset;
  int cursorRow = chooserRow - rowOffset;
  if (frame) {
    frame->position[0] = (chooserColumn * CHOOSER_SPACING - 1050) * 0.001;
    frame->position[1] = 0;
    frame->position[2] = (1400 - cursorRow * CHOOSER_SPACING) * 0.001;
  }
  walked = 0;
  for (ObjectNode *n = qScene_CO->next; n && walked++ < MAX_NODES_WALKED; n = n->next) {
    if (n == frame) continue;
    int k = entry++ - first;
    if (k < 0 || k >= CHOOSER_COLUMNS * CHOOSER_ROWS) {
      n->flags |= NODE_HIDDEN;
      continue;
    }
    int column = k % CHOOSER_COLUMNS, row = k / CHOOSER_COLUMNS;
    n->flags &= ~uint32_t(NODE_HIDDEN);
    n->position[0] = (column * CHOOSER_SPACING - 1050) * 0.001;
    n->position[1] = 0;
    n->position[2] = (1400 - row * CHOOSER_SPACING) * 0.001;
    n->angles[1] = ObjektEigenschaft(n->objectIndex, -17, 2) ? -turnDegrees : 0;
    n->angles[2] = turnDegrees / 16;
    if (pick && row == cursorRow && column == chooserColumn) result = n->objectIndex;
  }
  return result;
}
