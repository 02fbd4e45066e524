// Model tree and VRML model store: object and polygon nodes, the two scene lists and the VRML file loader.
#pragma once
#include <cstdint>

struct PolyNode;

struct ObjectNode {
  uint32_t flags;
  int32_t reserved;
  int32_t number;       // running number within its list (0 for the first node of an empty list)
  int32_t objectIndex;  // objekt_geladen index (instance number for figures and props); -1 for joints
  int32_t labelNumber;
  int32_t displayList;
  int32_t shadowList;
  int32_t type;  // OBJECT_TYPE_*
  int32_t faceTotal;
  int32_t vertexTotal;
  double position[3];  // metres, z up
  double angles[3];    // degrees about x, y, z
  double handle;       // grip offset in metres; 0 unset
  ObjectNode *parent;
  ObjectNode *brother;
  ObjectNode *child;
  ObjectNode *next;  // flat list in creation order
  PolyNode *poly;    // the polygon tree that is drawn (the chooser may point it at another model's)
  char letter;
  char name[200];
  PolyNode *ownedPolys;  // every polygon node made for this node, chained by next; what is freed
  PolyNode *lastPoly;    // end of that chain
  int32_t ownLists[2];   // the display and shadow list this node compiled: deleted when it is freed
  int32_t keptLists[2];  // the lists it drew before the chooser lent it a model's
};

struct PolyNode {
  PolyNode *parent;
  PolyNode *brother;
  PolyNode *child;
  PolyNode *next;  // next polygon node of the same object node, in creation order
  uint32_t flags;
  int32_t colorPerVertex;   // 0 not given, 1 per vertex, 2 per face
  int32_t normalPerVertex;  // 0 not given, 1 TRUE, 2 FALSE
  int32_t solid;            // 0 not given, 2 solid FALSE
  int32_t textureIndex;     // textureTable index; TEXTURE_NONE when none
  int32_t *coordIndex;
  int32_t *normalIndex;
  int32_t *texCoordIndex;
  int32_t *colorIndex;
  double (*coords)[3];
  double (*normals)[3];
  double rotationAxis[3];
  double translation[3];
  double (*colors)[3];
  double (*texCoords)[2];
  double textureScale[2];
  double textureTranslation[2];
  int32_t coordIndexCount, normalIndexCount, texCoordIndexCount, coordCount, normalCount, colorCount,
      texCoordCount, colorIndexCount;
  double rotationAngle;  // radians
  double height;
  double radius;
  double shininess;
  double topRadius;
  double transparency;
  double diffuseColor[3];
  double emissiveColor[3];
  double specularColor[3];
};

// Object-node flags.
enum : uint32_t {
  NODE_TURN_ALL = 0x1,
  NODE_HIDDEN = 0x2,
  NODE_TAKES_CHOOSER_MODEL = 0x4,  // a juggled object of the pattern
  NODE_SPHERICAL = 0x8,
  NODE_BACKGROUND = 0x10,
  NODE_JUGGLER = 0x100,
  NODE_NOT_A_PROP = 0x200,  // an aid (guide, path): no prop of the scene editor, left out of its "z" block
  NODE_NEGATIVE_AXIS = 0x1000,  // a joint turned about its negative axis
};

// Polygon-node flags.
enum : uint32_t {
  POLY_SPHERE = 0x10,
  POLY_QUADRIC = 0x20,
  POLY_FACE_SET = 0x40,
  POLY_BACKGROUND_SPHERE = 0x80,
  POLY_NO_BOTTOM = 0x100,
  POLY_NO_SIDE = 0x200,
  POLY_NO_TOP = 0x400,
  POLY_TRANSLATION = 0x1000,
  POLY_DIFFUSE = 0x2000,
  POLY_NO_NORMALS = 0x4000,
  POLY_NO_TEXTURE = 0x8000,
  POLY_LINE_LOOP = 0x10000,  // the lines of the path aids: the first coordIndexCount coordinates
  POLY_SHARED = 0x20000,
  POLY_LINE_STRIP = 0x1000000,
  POLY_LINES = 0x2000000,
  POLY_COMPLETE = 0x10000000,
  POLY_CURRENT = 0x80000000,
};

enum { OBJECT_TYPE_NONE = 0, OBJECT_TYPE_BALL = 1, OBJECT_TYPE_CLUB = 2, OBJECT_TYPE_RING = 3 };

// Linking kinds of AllocObjectNode and AllocPolyNode.
enum { LINK_BROTHER = 1, LINK_CHILD = 3, LINK_TOP_LEVEL = 5 };
enum { POLY_BROTHER = 1, POLY_BROTHER_UNCHAINED = 2, POLY_CHILD = 3, POLY_CHILD_UNCHAINED = 4 };

// How a model is loaded (loadVRMLFile); the same bits as the loaded-object flags.
enum { VRML_SCENE_OBJECT = 1, VRML_FIGURE = 2, VRML_JUGGLED = 4 };
enum { VRML_LOADED = -17, VRML_FAILED = -1 };
enum { VRML_COMPILE = 251000 };  // defineVRMLDisplayLists: compile instead of copying

// Nodes a walk along a list takes at most, so that even a list that ran in a circle ends.
enum { MAX_NODES_WALKED = 100000 };

extern ObjectNode *qScene;             // the scene list
extern ObjectNode *qScene_CO;          // the object chooser's list
extern ObjectNode *currentObjectNode;  // where the reader adds
extern PolyNode *currentPolyNode;
extern ObjectNode *fileRootNode;  // the top node of the file being read
extern int vrmlNodeCounter;       // the program-wide node counter

// The list the operations work on: qScene_CO in the chooser, else qScene.
ObjectNode **activeSceneList();

int AllocObjectNode(const char *name, int objectIndex, int how);
int allocObjectNodeIn(ObjectNode **list, const char *name, int objectIndex, int how);
int AllocPolyNode(int kind);
// Moves the current-node mark to the node.
void setCurrentPolyNode(PolyNode *node);
void freeObjectList(ObjectNode **head);
// Frees the nodes that follow `last` in the flat chain of the active list (all of it for null) and
// cuts every link to them; the reader's undo of a failed load.
void freeNodesAfter(ObjectNode *last);
ObjectNode *lastListNode(ObjectNode *head);

ObjectNode *findSceneNode(int objectIndex, int number);
void hideSceneNodes(const char *name);
void setSceneNodePosition(ObjectNode *node, const double position[3]);
// The position of the first scene node of the object letter; false when there is none.
bool sceneObjectPosition(char letter, double out[3]);

int allocVRMLBuffers();
void freeVRMLAll();
void resetVRMLScene();
int beginVRMLObject(ObjectNode **listHead);
int finishGeometry();
int loadVRMLFile(const char *path, int objectNumber, double x, double y, double z, double heading, int how);
int loadObjectByName(const char *name, const double position[3], double ax, double ay, double az, int flags);
void defineVRMLDisplayLists(ObjectNode *node, int source);
// Deletes the lists that the nodes of the chain from first compiled (never those they only draw)
// in the 3D window's context; nothing when no GL context is current.
void deleteVRMLDisplayLists(ObjectNode *first);
