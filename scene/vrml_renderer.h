// VRML renderer: the display lists of the model tree, the tree walks and one frame of the VRML scene.
#pragma once

struct ObjectNode;
struct PolyNode;
typedef struct GLUquadric GLUquadric;

void qGlSetLightColor(int colour);
int qGlUpdateVRMLDisplay();
// Background, floor, mirror, shadows and objects; side >= 0 when the floor is seen from below.
void qGlDrawVRMLScene(double side);
// Kind 1 the objects of the active list, 2 the ground, 4 the ground seen from below; colour mode 0
// normal, 1 shadow, 160 translucent.
int qParseObjectTree(int kind, int mode);
void qGlDrawVRMLObject(ObjectNode *node, int mode);
// Compiles a node's polygon tree into a display list (kind 0x1000 normal colours, 0x4000 the second list).
int qGlDefineGLVRMLObject(ObjectNode *node, int kind);
int qParsePolyTree(ObjectNode *node, GLUquadric *quadric, int mode);
int qDisplayVRMLPrimitive(GLUquadric *quadric, PolyNode *n, int d, int mode);
void SetEmissiveColor(const PolyNode *n);
// The walks' stacks of 32 pending brothers: op 1 push the node, 2 pop into it, 3 the count; 1 on an
// error. The object stack pushes and pops GL's matrix with the node, the polygon stack the transform
// the polygon walk keeps of its own.
int ObjectNodeStack(int op, ObjectNode **node);
int PolyNodeStack(int op, PolyNode **node);
// The guide arrow at a point (m), in colour mode 0 or 1 (shadow).
void qGlDrawArrow(double x, double y, double z, int mode);
// Colour of a juggler's walking path: three components in [0, 1].
const double *qWalkingPathColor(unsigned juggler);
