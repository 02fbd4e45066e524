// Model tree: making, linking, finding, hiding and freeing object and polygon nodes of the two scene lists.
#include "scene/vrml/modeltree.h"
#include "core/uistate.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "scene/kinematics.h"

ObjectNode *qScene;
ObjectNode *qScene_CO;
ObjectNode *currentObjectNode;
PolyNode *currentPolyNode;
ObjectNode *fileRootNode;
int vrmlNodeCounter;

static const char NO_MEMORY[] = "Error: No memory for VRML parser\n";

ObjectNode **activeSceneList() {
  return qMode.main == MAIN_CHOOSER || qMode.main == MAIN_CHOOSER_PICK ? &qScene_CO : &qScene;
}

ObjectNode *lastListNode(ObjectNode *head) {
  while (head && head->next) head = head->next;
  return head;
}

static ObjectNode *lastBrother(ObjectNode *node) {
  while (node->brother) node = node->brother;
  return node;
}

static PolyNode *lastBrother(PolyNode *node) {
  while (node->brother) node = node->brother;
  return node;
}

// The current polygon node is the one node that carries POLY_CURRENT.
void setCurrentPolyNode(PolyNode *node) {
  if (currentPolyNode) currentPolyNode->flags &= ~POLY_CURRENT;
  currentPolyNode = node;
  if (node) node->flags |= POLY_CURRENT;
}

static PolyNode *newPolyNode(ObjectNode *owner) {
  PolyNode *node = static_cast<PolyNode *>(qAlloc(sizeof(PolyNode)));
  if (!node) return nullptr;
  node->textureIndex = -1;
  if (owner) {
    if (owner->lastPoly) owner->lastPoly->next = node;
    else owner->ownedPolys = node;
    owner->lastPoly = node;
  }
  return node;
}

int allocObjectNodeIn(ObjectNode **list, const char *name, int objectIndex, int how) {
  ObjectNode *node = static_cast<ObjectNode *>(qAlloc(sizeof(ObjectNode)));
  if (!node) {
    qMsg(QMSG_ERROR, NO_MEMORY);
    return 1;
  }
  if (!*list) {
    *list = node;
    vrmlNodeCounter = 0;
  } else {
    ObjectNode *anchor = nullptr;
    switch (how) {
      case LINK_BROTHER:
        anchor = currentObjectNode ? lastBrother(currentObjectNode) : lastBrother(*list);
        anchor->brother = node;
        node->parent = anchor->parent;
        break;
      case LINK_CHILD:
        if (!currentObjectNode) {
          anchor = lastBrother(*list);
          anchor->brother = node;
        } else if (currentObjectNode->child) {
          lastBrother(currentObjectNode->child)->brother = node;
          node->parent = currentObjectNode;
        } else {
          currentObjectNode->child = node;
          node->parent = currentObjectNode;
        }
        break;
      case LINK_TOP_LEVEL:
        anchor = lastBrother(*list);
        anchor->brother = node;
        node->parent = anchor->parent;
        break;
      default:
        qMsg(QMSG_ERROR, "Wrong type (=%d) in AllocObjectNode()\n", how);
        break;
    }
    lastListNode(*list)->next = node;
    vrmlNodeCounter++;
  }
  snprintf(node->name, sizeof node->name, "%s", name ? name : "");
  node->number = vrmlNodeCounter;
  node->objectIndex = objectIndex;
  currentObjectNode = node;
  PolyNode *poly = newPolyNode(node);
  if (!poly) {
    qMsg(QMSG_ERROR, NO_MEMORY);
    return 2;
  }
  node->poly = poly;
  setCurrentPolyNode(poly);
  return 0;
}

int AllocObjectNode(const char *name, int objectIndex, int how) {
  return allocObjectNodeIn(activeSceneList(), name, objectIndex, how);
}

int AllocPolyNode(int kind) {
  if (kind < POLY_BROTHER || kind > POLY_CHILD_UNCHAINED) {
    qMsg(QMSG_ERROR, localText(45), kind, "AllocPolyNode");
    return 18;
  }
  PolyNode *node = newPolyNode(currentObjectNode);
  if (!node) {
    qMsg(QMSG_ERROR, NO_MEMORY);
    return 17;
  }
  PolyNode *at = currentPolyNode;
  if (at && (kind == POLY_BROTHER || kind == POLY_BROTHER_UNCHAINED)) {
    lastBrother(at)->brother = node;
    node->parent = at->parent;
  } else if (at) {
    if (at->child) lastBrother(at->child)->brother = node;
    else at->child = node;
    node->parent = at;
  }
  setCurrentPolyNode(node);
  return 0;
}

static void freeArray(void *block, int count, size_t element) {
  if (block && count > 0) qFree(block, size_t(count) * element);
}

static void freePolyNode(PolyNode *p) {
  freeArray(p->coordIndex, p->coordIndexCount, sizeof(int32_t));
  freeArray(p->normalIndex, p->normalIndexCount, sizeof(int32_t));
  freeArray(p->texCoordIndex, p->texCoordIndexCount, sizeof(int32_t));
  freeArray(p->colorIndex, p->colorIndexCount, sizeof(int32_t));
  freeArray(p->coords, p->coordCount, sizeof(double[3]));
  freeArray(p->normals, p->normalCount, sizeof(double[3]));
  freeArray(p->colors, p->colorCount, sizeof(double[3]));
  freeArray(p->texCoords, p->texCoordCount, sizeof(double[2]));
  qFree(p, sizeof(PolyNode));
}

// The joint table points into object nodes: a record that points into a freed node is cleared.
static void forgetJoints(const std::unordered_set<const void *> &freed) {
  for (InvKinRecord &record : invKinTable) {
    bool stale = false;
    for (double *&joint : record.joint) {
      if (!joint) continue;
      for (const void *node : freed) {
        const char *begin = static_cast<const char *>(node);
        const char *at = reinterpret_cast<const char *>(joint);
        if (at >= begin && at < begin + sizeof(ObjectNode)) stale = true;
      }
    }
    if (stale) record = InvKinRecord{};
  }
}

static void freeObjectNode(ObjectNode *node) {
  for (PolyNode *p = node->ownedPolys; p;) {
    PolyNode *next = p->next;
    if (currentPolyNode == p) currentPolyNode = nullptr;
    freePolyNode(p);
    p = next;
  }
  if (currentObjectNode == node) currentObjectNode = nullptr;
  if (fileRootNode == node) fileRootNode = nullptr;
  qFree(node, sizeof(ObjectNode));
}

static void freeChain(ObjectNode *first) {
  deleteVRMLDisplayLists(first);
  std::unordered_set<const void *> freed;
  for (ObjectNode *n = first; n;) {
    ObjectNode *next = n->next;
    freed.insert(n);
    freeObjectNode(n);
    n = next;
  }
  forgetJoints(freed);
}

void freeObjectList(ObjectNode **head) {
  freeChain(*head);
  *head = nullptr;
  currentObjectNode = nullptr;
  currentPolyNode = nullptr;
  fileRootNode = nullptr;
}

void freeNodesAfter(ObjectNode *last) {
  ObjectNode **list = activeSceneList();
  ObjectNode *first = last ? last->next : *list;
  if (!first) return;
  std::unordered_set<const ObjectNode *> dropped;
  for (ObjectNode *n = first; n; n = n->next) dropped.insert(n);
  if (last) {
    last->next = nullptr;
    for (ObjectNode *n = *list; n; n = n->next) {
      if (dropped.count(n->brother)) n->brother = nullptr;
      if (dropped.count(n->child)) n->child = nullptr;
    }
  } else {
    *list = nullptr;
  }
  freeChain(first);
}

ObjectNode *findSceneNode(int objectIndex, int number) {
  for (ObjectNode *n = *activeSceneList(); n; n = n->next)
    if (number == -17 ? n->objectIndex == objectIndex : n->number == number) return n;
  return nullptr;
}

void hideSceneNodes(const char *name) {
  if (!name) return;
  int walked = 0;
  for (ObjectNode *n = *activeSceneList(); n && walked++ < MAX_NODES_WALKED; n = n->next)
    if (strcmp(n->name, name) == 0) n->flags |= NODE_HIDDEN;
}

void setSceneNodePosition(ObjectNode *node, const double position[3]) {
  if (!node) return;
  for (int i = 0; i < 3; i++) node->position[i] = position[i];
}
