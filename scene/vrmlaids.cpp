// The VRML object chooser over a node list of its own: every model of the object list turns on a
// grid, and the picked model's geometry is lent to the juggled objects' nodes. Also the current
// object's node in the scene.
#include "scene/vrmlaids.h"

#include <cstdio>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/uistate.h"
#include "core/viewrecords.h"
#include "pattern/throws.h"
#include "scene/geometry.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/vrml/modeltree.h"

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

// The scene's current node while the chooser's models are read into the chooser's list.
static ObjectNode *sceneTail;

static bool inList(const ObjectNode *head, const ObjectNode *node) {
  int walked = 0;
  for (const ObjectNode *n = head; n && walked++ < MAX_NODES_WALKED; n = n->next)
    if (n == node) return true;
  return false;
}

// Scene nodes that draw a chooser model's geometry take their own back before that model is freed:
// its polygon nodes and the lists they drew before.
static void returnLentGeometry() {
  int walked = 0;
  for (ObjectNode *n = qScene; n && walked++ < MAX_NODES_WALKED; n = n->next) {
    if (n->poly == n->ownedPolys) continue;
    n->poly = n->ownedPolys;
    n->displayList = n->keptLists[0];
    n->shadowList = n->keptLists[1];
  }
}

// The chooser's list is made for the models of this pattern's loaded-object table: a list of an
// earlier table is freed first. Its root is an empty node that is never drawn.
static int beginChooserScene() {
  const char *status = localText(300);
  qStatusText(status, 2, 4);
  sceneTail = currentObjectNode;
  if (qScene_CO) {
    returnLentGeometry();
    freeObjectList(&qScene_CO);
  }
  currentObjectNode = nullptr;
  currentPolyNode = nullptr;
  if (beginVRMLObject(&qScene_CO)) {
    freeObjectList(&qScene_CO);
    currentObjectNode = sceneTail;
    return 7100;
  }
  qScene_CO->flags |= NODE_HIDDEN;
  return 0;
}

static ObjectNode *chooserNodeOf(int model) {
  int walked = 0;
  for (ObjectNode *n = qScene_CO ? qScene_CO->next : nullptr; n && walked++ < MAX_NODES_WALKED; n = n->next)
    if (n->objectIndex == model) return n;
  return nullptr;
}

// Every juggled object's node draws the picked model: its polygon tree is lent (the chooser's list
// keeps owning it, marked shared), its display lists and flags are copied.
static int takeChosenModel() {
  currentObjectNode = inList(qScene, sceneTail) ? sceneTail : lastListNode(qScene);
  sceneTail = nullptr;
  ObjectNode *model = chooserNodeOf(chosenModel);
  if (!model) return 1;
  chooserVertexTotal = model->vertexTotal;
  chooserFaceTotal = model->faceTotal;
  qMsg(0, "ver=%d fac=%d\n", chooserVertexTotal, chooserFaceTotal);
  if (model->poly) model->poly->flags |= POLY_SHARED;
  int walked = 0;
  for (ObjectNode *n = qScene; n && walked++ < MAX_NODES_WALKED; n = n->next) {
    if (!(n->flags & NODE_TAKES_CHOOSER_MODEL)) continue;
    if (n->poly == n->ownedPolys) {  // lent for the first time: what it drew is kept
      n->keptLists[0] = n->displayList;
      n->keptLists[1] = n->shadowList;
    }
    n->poly = model->poly;
    n->displayList = model->displayList;
    n->shadowList = model->shadowList;
    n->flags = (model->flags & ~uint32_t(NODE_HIDDEN)) | (n->flags & NODE_HIDDEN) | NODE_TAKES_CHOOSER_MODEL;
    snprintf(n->name, sizeof n->name, "Changed");
  }
  vrmlNodeTotals();
  return 0;
}

int qVRMLObjectChooser(int op) {
  switch (op) {
    case 2: return beginChooserScene();
    case 3: return takeChosenModel();
    default: qMsg(QMSG_ERROR, localText(45), op, "qVRMLObjectChooser"); return 1;
  }
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
