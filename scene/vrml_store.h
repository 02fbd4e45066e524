// Model tree and VRML model store: object nodes, the scene lists and the VRML file loader.
#pragma once
#include <cstdint>

struct PolyNode;

struct ObjectNode {
  uint32_t flags;
  int32_t reserved;
  int32_t number;
  int32_t objectIndex;
  int32_t labelNumber;
  int32_t displayList;
  int32_t shadowList;
  int32_t type;
  int32_t faceTotal;
  int32_t vertexTotal;
  double position[3];
  double angles[3];
  double handle;
  ObjectNode *parent;
  ObjectNode *brother;
  ObjectNode *child;
  ObjectNode *next;
  PolyNode *poly;
  char letter;
  char name[200];
};

enum { NODE_HIDDEN = 0x2, NODE_TAKES_CHOOSER_MODEL = 0x4 };

extern ObjectNode *qScene;             // the scene list, in creation order
extern ObjectNode *qScene_CO;          // the object chooser's list
extern ObjectNode *currentObjectNode;  // the node the loader works on
extern ObjectNode *fileRootNode;       // the top node of the file being loaded

int loadVRMLFile(const char *path, int objectNumber, double x, double y, double z, double heading, int how);

// Before every pattern in VRML mode: frees the scene's nodes and the reader's buffers.
void resetVRMLScene();
