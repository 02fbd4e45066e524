// VRML renderer: compiles each object node's polygon tree into two display lists (normal colours, and
// shadow or translucent colours) and draws a frame by walking the active object tree, with the floor,
// its mirror image, planar shadows and the display modes' effects of the classic frame.
#include "scene/vrml_renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include <algorithm>
#include <cmath>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/random.h"
#include "core/uistate.h"
#include "pattern/throws.h"
#include "scene/classic_renderer.h"
#include "scene/colours.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/renderer.h"
#include "scene/textures.h"
#include "scene/vrml/modeltree.h"
#include "scene/vrml/reader.h"

static const double TRANSLUCENT = 95 / 255.0;  // transparency of the ground's second list
static const GLuint STENCIL_MASK = 0xffff;
enum { STACK_SIZE = 32, LETTER_KIND = -17, ROTATE_ALL = 1 };
enum { MODE_NORMAL = 0, MODE_SHADOW = 1, MODE_TRANSLUCENT = 160 };
enum { LIST_NORMAL = 0x1000, LIST_SECOND = 0x4000 };

static int primitiveFaceCount, primitiveVertexCount;
static double walkingPathColour[3];

static bool flagOn(int64_t bit) { return (qMode.flags & bit) != 0; }
static bool lettersMode() { return flagOn(FLAG_LETTERS); }
static bool inChooser() { return qMode.main == MAIN_CHOOSER || qMode.main == MAIN_CHOOSER_PICK; }

void qGlSetLightColor(int) {
  const GLfloat white[4] = {1, 1, 1, 1};
  glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
}

// ---------------------------------------------------------------------------------------------------------
// The node stacks of the tree walks

// The object walk pushes GL's model-view matrix for every pending brother; the lists it calls push
// a few levels of their own (a list, its node and its round shapes). The object walk keeps to the
// lower half of GL's stack, so a list always finds room in the upper half.
static int glStackHalf() {
  GLint most = 32;
  glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &most);
  return std::max(1, int(most) / 2);
}

template <typename Node>
struct NodeStack {
  Node *nodes[STACK_SIZE];
  int count;
};
static NodeStack<ObjectNode> objectStack;
static NodeStack<PolyNode> polyStack;

// The polygon walk is compiled into a list, where GL's matrix cannot be read back: the walk keeps
// its transform here, column order as GL's, one saved per pending brother.
static double polyWalkMatrix[16];
static double polyWalkSaved[STACK_SIZE][16];

// Push stores the node, pop takes the top one; a push on a full stack (or one without room) or a pop
// on an empty one reports and changes nothing. The result of a push or pop is 0 when it was done.
template <typename Node>
static int nodeStack(NodeStack<Node> &stack, int op, Node **node, bool room, const char *kind, const char *name) {
  switch (op) {
    case 1:
      if (stack.count >= STACK_SIZE || !room) {
        qMsg(QMSG_ERROR, localText(1200), kind);
        return 1;
      }
      stack.nodes[stack.count++] = *node;
      return 0;
    case 2:
      if (stack.count <= 0) {
        qMsg(QMSG_ERROR, localText(1201), kind);
        return 1;
      }
      *node = stack.nodes[--stack.count];
      return 0;
    case 3: return stack.count;
    default: qMsg(QMSG_ERROR, localText(45), op, name); return 1;
  }
}

// The object walk runs while a frame is drawn, and its pushes and pops go with GL's matrix: its room
// is what is left of the lower half of the GL stack after the frame's own pushes.
int ObjectNodeStack(int op, ObjectNode **node) {
  GLint depth = 1;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  int result = nodeStack(objectStack, op, node, glStackHalf() - int(depth) > 0, "Object", "ObjectNodeStack");
  if (result == 0 && op == 1) glPushMatrix();
  if (result == 0 && op == 2) glPopMatrix();
  return result;
}

// The polygon walk's pushes and pops save and restore the walk's own transform: GL's stack is not
// touched, so a tree may have as many pending brothers as the stack holds.
int PolyNodeStack(int op, PolyNode **node) {
  int result = nodeStack(polyStack, op, node, true, "Poly", "PolyNodeStack");
  if (result == 0 && op == 1) std::copy_n(polyWalkMatrix, 16, polyWalkSaved[polyStack.count - 1]);
  if (result == 0 && op == 2) std::copy_n(polyWalkSaved[polyStack.count], 16, polyWalkMatrix);
  return result;
}

// What an ended object walk left pending is popped, so the GL matrix stack is as it was before it.
static void endObjectWalk() {
  for (; objectStack.count > 0; objectStack.count--) glPopMatrix();
}

// Depth first over a tree by child and brother: a node's brother is pushed before the node is
// emitted, its child follows inside its transform, and a node without a child pops the next one.
// A brother that finds the stack full ends the walk, or with goOn is left out (with its own brothers
// and their trees) while the walk goes on with what fits; a full stack is then reported once a walk,
// so a hostile model cannot bring up a message for each brother it holds.
template <typename Node, typename Emit>
static void walkTree(Node *start, int (*stack)(int, Node **), Emit emit, bool goOn, const char *push1,
                     const char *push2, const char *pop) {
  bool reported = false;
  auto pushBrother = [&](Node *n, const char *error) {
    Node *brother = n->brother;
    if (!brother) return true;
    if (reported && stack(3, nullptr) >= STACK_SIZE) return true;
    if (stack(1, &brother) == 0) return true;
    qMsg(QMSG_ERROR, "%s", error);
    reported = true;
    return goOn;
  };
  Node *n = start;
  if (n && !pushBrother(n, push1)) return;
  while (n) {
    if (emit(n)) return;
    if (n->child) {
      n = n->child;
      if (!pushBrother(n, push1)) return;
      continue;
    }
    if (stack(3, nullptr) == 0) return;
    if (stack(2, &n)) {
      qMsg(QMSG_ERROR, "%s", pop);
      return;
    }
    if (!pushBrother(n, push2)) return;
  }
}

// ---------------------------------------------------------------------------------------------------------
// Compiling the polygon trees

void SetEmissiveColor(const PolyNode *n) {
  const double *e = n->emissiveColor;
  GLfloat colour[4] = {0, 0, 0, 1};
  if (e[0] != 0 || e[1] != 0 || e[2] != 0) {
    for (int i = 0; i < 3; i++) colour[i] = GLfloat(e[i]);
    colour[3] = 0;
  }
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, colour);
  qGlCheckError("after SetEmissiveColor");
}

static void useShadowColour() { glColor4fv(shadowColour); }

static void materialColour(const PolyNode *n, int mode, double transparency) {
  if (mode == MODE_SHADOW) useShadowColour();
  else glColor4d(n->diffuseColor[0], n->diffuseColor[1], n->diffuseColor[2], 1 - transparency);
}

static bool textured(const PolyNode *n) { return !(n->flags & POLY_NO_TEXTURE); }

static void useTexture(const PolyNode *n) {
  if (textured(n)) {
    glEnable(GL_TEXTURE_2D);
    qGlUseTexture(n->textureIndex);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
}

static bool inRange(int32_t i, int32_t count) { return i >= 0 && i < count; }

// A face or vertex colour keeps the drawing's transparency (the translucent ground over its mirror).
static void colourOf(const double rgb[3], double transparency) { glColor4d(rgb[0], rgb[1], rgb[2], 1 - transparency); }

// The faces of an indexed face set, one GL polygon each. Every index is checked against its array
// (an index outside it gives no normal, colour or texture point, and no vertex); a last face
// without its closing -1 is closed all the same.
static void drawFaces(const PolyNode *n, int mode, double transparency) {
  bool perVertexColour = n->colorPerVertex == 1 && mode != MODE_SHADOW && n->colors;
  bool normals = n->normalPerVertex == 1;
  bool texture = textured(n) && n->texCoords;
  int face = 0;
  bool open = false;
  // The normal, texture-point and colour index lists run alongside the coordinate indices.
  for (int k = 0; k < n->coordIndexCount; k++) {
    if (!open) {
      glBegin(GL_POLYGON);
      open = true;
      if (mode == MODE_SHADOW) useShadowColour();
      else if (n->colorPerVertex == 2 && inRange(face, n->colorCount))
        colourOf(n->colors[face], transparency);
    }
    int32_t c = n->coordIndex[k];
    if (c == -1) {
      glEnd();
      open = false;
      face++;
      continue;
    }
    if (normals) {
      if (n->flags & POLY_NO_NORMALS)
        qMsg(QMSG_DEBUG, "qDisplayVRMLPrimitive(): POLYGON needs normal vectors\n");
      else if (inRange(k, n->normalIndexCount) && inRange(n->normalIndex[k], n->normalCount))
        glNormal3dv(n->normals[n->normalIndex[k]]);
    }
    if (texture && inRange(k, n->texCoordIndexCount) && inRange(n->texCoordIndex[k], n->texCoordCount)) {
      const double *st = n->texCoords[n->texCoordIndex[k]];
      glTexCoord2d(st[0] * n->textureScale[0] + n->textureTranslation[0],
                   st[1] * n->textureScale[1] + n->textureTranslation[1]);
    }
    if (perVertexColour && inRange(k, n->colorIndexCount) && inRange(n->colorIndex[k], n->colorCount))
      colourOf(n->colors[n->colorIndex[k]], transparency);
    if (inRange(c, n->coordCount)) glVertex3dv(n->coords[c]);
  }
  if (open) glEnd();
  primitiveFaceCount += face + (open ? 1 : 0);
  primitiveVertexCount += n->coordCount;
}

static void drawFaceSet(const PolyNode *n, int mode, double transparency) {
  glDisable(GL_NORMALIZE);
  if (n->flags & POLY_NO_NORMALS) qMsg(QMSG_DEBUG, localText(1202), vrmlReader.fileName.c_str());
  useTexture(n);
  if (mode == MODE_SHADOW) {
    useShadowColour();
  } else if (n->flags & POLY_DIFFUSE) {
    if (n->colorPerVertex != 1) materialColour(n, mode, transparency);
    SetEmissiveColor(n);
  }
  qGlCheckError("after qDisplayVRMLPrimitive: polygon-init");
  if (n->solid == 0) {
    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
  } else if (n->solid == 2) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_CULL_FACE);
  } else {
    qMsg(QMSG_ERROR, localText(45), n->solid, "qDisplayVRMLPrimitive(): switch (po->solid)");
  }
  qGlCheckError("after qDisplayVRMLPrimitive: polygon-solid");
  drawFaces(n, mode, transparency);
  qGlCheckError("after qDisplayVRMLPrimitive: polygon read loop");
}

static void setIdentity(double m[16]) {
  for (int i = 0; i < 16; i++) m[i] = i % 5 == 0 ? 1 : 0;
}

// a := a b, both in GL's column order.
static void multiplyInto(double a[16], const double b[16]) {
  double product[16];
  for (int column = 0; column < 4; column++)
    for (int row = 0; row < 4; row++) {
      double sum = 0;
      for (int k = 0; k < 4; k++) sum += a[4 * k + row] * b[4 * column + k];
      product[4 * column + row] = sum;
    }
  std::copy_n(product, 16, a);
}

// A node's own transform in GL's column order: its translation, then its rotation about its axis
// (normalised as glRotate does; an axis of no length, or an angle or axis that is no number, turns
// nothing). False when it is the identity.
static bool nodeTransform(const PolyNode *n, double m[16]) {
  setIdentity(m);
  bool moved = (n->flags & POLY_TRANSLATION) != 0;
  if (moved)
    for (int i = 0; i < 3; i++) m[12 + i] = n->translation[i];
  const double *axis = n->rotationAxis;
  double length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
  if (n->rotationAngle == 0 || !std::isfinite(n->rotationAngle) || !(length > 1e-4) || !std::isfinite(length))
    return moved;
  double x = axis[0] / length, y = axis[1] / length, z = axis[2] / length;
  double c = std::cos(n->rotationAngle), s = std::sin(n->rotationAngle), t = 1 - c;
  const double r[3][3] = {{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
                          {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
                          {t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
  for (int row = 0; row < 3; row++)
    for (int column = 0; column < 3; column++) m[4 * column + row] = r[row][column];
  return true;
}

// A cylinder or cone about its own axis y, inside the node's transform: GLU's axis z is turned onto y
// last, so that every rotation above it turns the shape's axis.
static void drawQuadric(GLUquadric *q, const PolyNode *n, int d, int mode, double transparency) {
  glPushMatrix();
  glRotated(-90, 1, 0, 0);
  gluQuadricTexture(q, GL_TRUE);
  materialColour(n, mode, transparency);
  glTranslated(0, 0, -n->height / 2);
  if (!(n->flags & POLY_NO_SIDE)) gluCylinder(q, n->radius, n->topRadius, n->height, d, 1);
  if (!(n->flags & POLY_NO_BOTTOM)) {
    glPushMatrix();
    glRotated(180, 1, 0, 0);
    gluDisk(q, 0, n->radius, d, 1);
    glPopMatrix();
  }
  if (!(n->flags & POLY_NO_TOP)) {
    glTranslated(0, 0, n->height);
    gluDisk(q, 0, n->topRadius, d, 1);
  }
  glPopMatrix();
  qGlCheckError("after qDisplayVRMLPrimitive: cylinder");
}

static void drawSphere(GLUquadric *q, const PolyNode *n, int d, int mode, double transparency) {
  useTexture(n);
  gluQuadricTexture(q, GL_TRUE);
  materialColour(n, mode, transparency);
  if (n->flags & POLY_BACKGROUND_SPHERE) gluQuadricOrientation(q, GLU_INSIDE);
  gluSphere(q, n->radius, 2 * d, d);
  gluQuadricOrientation(q, GLU_OUTSIDE);
}

static void drawLines(const PolyNode *n, int mode) {
  if (mode == MODE_SHADOW) useShadowColour();
  else glColor3dv(n->diffuseColor);
  glBegin(n->flags & POLY_LINE_LOOP ? GL_LINE_LOOP : n->flags & POLY_LINE_STRIP ? GL_LINE_STRIP : GL_LINES);
  for (int i = 0; i < n->coordIndexCount && i < n->coordCount; i++) glVertex3dv(n->coords[i]);
  glEnd();
}

int qDisplayVRMLPrimitive(GLUquadric *quadric, PolyNode *n, int d, int mode) {
  double transparency = mode == MODE_TRANSLUCENT ? TRANSLUCENT : n->transparency;
  double transform[16];
  if (nodeTransform(n, transform)) glMultMatrixd(transform);  // for its shape; the walk carries it to the children
  qGlCheckError("after qDisplayVRMLPrimitive: rot / trans");
  if (transparency != 0 || mode == MODE_SHADOW) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  } else {
    glDisable(GL_BLEND);
  }
  if (mode != MODE_SHADOW) SetEmissiveColor(n);
  if (n->flags & POLY_QUADRIC) {
    useTexture(n);
    drawQuadric(quadric, n, d, mode, transparency);
  }
  if (n->flags & POLY_FACE_SET) drawFaceSet(n, mode, transparency);
  if (n->flags & POLY_SPHERE) drawSphere(quadric, n, d, mode, transparency);
  if (n->flags & (POLY_LINE_LOOP | POLY_LINE_STRIP | POLY_LINES)) drawLines(n, mode);
  return 0;
}

// The slices of the round shapes: the detail preference, more for a large first shape; kept within
// what a frame can draw.
static int shapeDetail(const ObjectNode *node) {
  int d = (qPrefs.detail + 7 + 1) & ~1;
  if (node->poly && node->poly->radius > 0.1) d += int(std::fmin(40 * node->poly->radius, 1000.0));
  return std::clamp(d, 4, 64);
}

int qParsePolyTree(ObjectNode *node, GLUquadric *quadric, int mode) {
  int d = shapeDetail(node);
  glPushAttrib(GL_POLYGON_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
  setIdentity(polyWalkMatrix);
  walkTree(
      node->poly, PolyNodeStack,
      [&](PolyNode *p) {
        // Each node is drawn inside the transforms of the nodes above it; the list's GL stack
        // stays as deep as one node needs however deep the tree is.
        glPushMatrix();
        glMultMatrixd(polyWalkMatrix);
        int result = qDisplayVRMLPrimitive(quadric, p, d, mode);
        glPopMatrix();
        double transform[16];
        if (nodeTransform(p, transform)) multiplyInto(polyWalkMatrix, transform);
        if (mode == MODE_NORMAL) {
          node->faceTotal += primitiveFaceCount;
          node->vertexTotal += primitiveVertexCount;
        }
        primitiveFaceCount = primitiveVertexCount = 0;
        return result;
      },
      true, "qParsePolyTree: Push Stack Error 1.\n", "qParsePolyTree: Push Stack Error 2.\n",
      "qParsePolyTree: Pop Stack Error.\n");
  polyStack.count = 0;  // what an ended walk left pending
  glPopAttrib();
  return 0;
}

int qGlDefineGLVRMLObject(ObjectNode *node, int kind) {
  if (!node) return 0;
  if (kind != LIST_NORMAL && kind != LIST_SECOND) {
    qMsg(QMSG_ERROR, localText(45), kind, "qGlDefineGLVRMLObject()");
    return 0;
  }
  GLuint list = glGenLists(1);
  qGlCheckError("gen new list");
  if (!list) return 0;  // no GL context: nothing to compile into
  if (!qQuadric) qQuadric = gluNewQuadric();
  int mode = kind == LIST_NORMAL ? MODE_NORMAL : node->number == 0 ? MODE_TRANSLUCENT : MODE_SHADOW;
  if (mode == MODE_NORMAL) node->faceTotal = node->vertexTotal = 0;
  glPushMatrix();
  glLoadIdentity();
  glNewList(list, GL_COMPILE);
  qGlCheckError("begin of list compilation");
  gluQuadricDrawStyle(qQuadric, GLU_FILL);
  gluQuadricNormals(qQuadric, GLU_SMOOTH);
  qParsePolyTree(node, qQuadric, mode);
  glEndList();
  glPopMatrix();
  qGlCheckError("after qGlDefineGLVRMLObject");
  return int(list);
}

// ---------------------------------------------------------------------------------------------------------
// Drawing the object tree

void qGlDrawArrow(double x, double y, double z, int mode) {
  if (!objekt_geladen || arrowObject < 0 || arrowObject >= OBJECT_RECORDS) return;
  LoadedObject &arrow = objekt_geladen[arrowObject];
  if (arrow.flags & (OBJ_NEW_LIST | OBJ_RECOMPILE)) {
    int list = qGlDefineBuiltinObject(arrowObject, BUILTIN_ARROW, OBJ_NEW_LIST);
    if (list > 0) arrow.displayList = list;
  }
  if (arrow.displayList <= 0) return;
  if (mode == MODE_SHADOW) qGlSetShadowColors(shadowColour);
  glPushMatrix();
  glTranslated(x, y, z);
  glCallList(GLuint(arrow.displayList));
  glPopMatrix();
  if (mode == MODE_SHADOW) qGlSetColors(255);
}

// A juggler's label in letters mode: 1-9, A-Z, then small letters.
static int labelCharacter(int n) { return n <= 8 ? n + 49 : n <= 34 ? n + 56 : n + 62; }

static void rotateObject(const ObjectNode *node) {
  const double *a = node->angles;
  if (node->flags & NODE_TAKES_CHOOSER_MODEL) {
    int r = lettersMode() && !(node->flags & NODE_JUGGLER) ? LETTER_KIND : ObjektEigenschaft(node->objectIndex, -17, 2);
    if (r == ROTATE_ALL) glRotated(a[0], 1, 0, 0);
    if (r != LETTER_KIND) glRotated(a[2], 0, 0, 1);
    if (r == ROTATE_ALL) glRotated(a[1], 0, 1, 0);
    return;
  }
  double s = node->flags & NODE_NEGATIVE_AXIS ? -1 : 1;
  if (a[0] != 0) glRotated(a[0], s, 0, 0);
  if (a[2] != 0) glRotated(a[2], 0, 0, s);
  if (a[1] != 0) glRotated(a[1], 0, s, 0);
}

// Draws one node; its transform stays in force for its children (the walk's stack undoes it).
void qGlDrawVRMLObject(ObjectNode *node, int mode) {
  bool editing = qMode.main == MAIN_SCENE_EDITOR || qMode.main == MAIN_WALKING_EDITOR;
  if ((flagOn(FLAG_ARROW) && node->letter && node->letter == currentObjectLetter) || (editing && node == editorObject))
    qGlDrawArrow(node->position[0], node->position[1], node->position[2], mode);
  glTranslated(node->position[0], node->position[1], node->position[2]);
  if (flagOn(FLAG_COMMENTS) && mode != MODE_SHADOW && node->letter) drawInlineComments(node->letter);
  if (lettersMode() && (node->flags & NODE_JUGGLER)) {
    glPushMatrix();
    strokeFacingCamera(0.0018, labelCharacter(node->labelNumber));
    glPopMatrix();
  }
  rotateObject(node);
  if (lettersMode() && node->letter) {
    glPushMatrix();
    strokeFacingCamera(0.0025, (unsigned char)node->letter);
    glPopMatrix();
    return;
  }
  int list = mode == MODE_SHADOW ? node->shadowList : node->displayList;
  if (list > 0) glCallList(GLuint(list));
}

static void drawGround(int mode) {
  if (inChooser() || !qScene) return;
  const ObjectNode *g = qScene;
  glPushMatrix();
  glTranslated(g->position[0], g->position[1], g->position[2]);
  glRotated(g->angles[0], 1, 0, 0);
  glRotated(g->angles[2], 0, 0, 1);
  glRotated(g->angles[1], 0, 1, 0);
  int list = mode == MODE_TRANSLUCENT ? g->shadowList : g->displayList;
  if (list > 0) glCallList(GLuint(list));
  glPopMatrix();
  qGlCheckError("drawscenes Draw Ground");
}

static void drawObjects(int mode) {
  ObjectNode *start = inChooser() ? qScene_CO : qScene ? qScene->next : nullptr;
  glPushMatrix();
  walkTree(
      start, ObjectNodeStack,
      [&](ObjectNode *n) {
        if (!(n->flags & NODE_HIDDEN)) qGlDrawVRMLObject(n, mode);
        return 0;
      },
      false, "qParseObjectTree: Push Stack Error 1.\n", "qParseObjectTree: Push Stack Error 2.\n",
      "qParseObjectTree: Pop Stack Error.\n");
  endObjectWalk();
  glPopMatrix();
}

int qParseObjectTree(int kind, int mode) {
  if (kind == DRAW_FLOOR_BELOW && qPrefs.displayFlags) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    qGlSetGhostColors(0);
  }
  if (kind == DRAW_FLOOR || kind == DRAW_FLOOR_BELOW) drawGround(mode);
  else if (kind == DRAW_OBJECTS) drawObjects(mode);
  else {
    qMsg(QMSG_ERROR, localText(45), kind, "qParseObjectTree()");
    return 1;
  }
  glFlush();
  qGlCheckError("after ParseObjectTree");
  return 0;
}

// ---------------------------------------------------------------------------------------------------------
// One frame

static void drawMirror() {
  drawMirrorPass([] { qParseObjectTree(DRAW_FLOOR, MODE_NORMAL); }, [] { qParseObjectTree(DRAW_OBJECTS, MODE_NORMAL); });
  glDisable(GL_DEPTH_TEST);
  qParseObjectTree(DRAW_FLOOR, MODE_TRANSLUCENT);  // the translucent ground over its mirror image
}

// Each floor pixel is darkened once however many shadows overlap (stencil value 1); the shadows lie
// 5 mm above the floor.
static void drawShadows() {
  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glEnable(GL_STENCIL_TEST);
  stencilDirty = 1;
  glStencilFunc(GL_NOTEQUAL, 1, STENCIL_MASK);
  glStencilOp(GL_KEEP, GL_REPLACE, GL_REPLACE);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPushMatrix();
  glTranslated(0, 0, 0.005);
  qGlShadowMatrix();
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  qParseObjectTree(DRAW_OBJECTS, MODE_SHADOW);
  glPopMatrix();
  glPopAttrib();
  glDisable(GL_STENCIL_TEST);
}

void qGlDrawVRMLScene(double side) {
  qGlDrawBackground();
  bool below = side >= 0;
  if (below) {
    glPushMatrix();
  } else {
    if (flagOn(FLAG_MIRROR)) {
      drawMirror();
    } else {
      if (qMode.main == MAIN_SCENE_EDITOR || !qPrefs.clflag) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
      } else {
        glDisable(GL_DEPTH_TEST);
      }
      qParseObjectTree(DRAW_FLOOR, MODE_NORMAL);
    }
    glDisable(GL_BLEND);
    if (flagOn(FLAG_SHADOWS) && !lettersMode()) drawShadows();
    glEnable(GL_DEPTH_TEST);
  }
  qParseObjectTree(DRAW_OBJECTS, MODE_NORMAL);
  if (below) {
    glPopMatrix();
    glDisable(GL_DEPTH_TEST);
    qParseObjectTree(DRAW_FLOOR_BELOW, MODE_TRANSLUCENT);
    glEnable(GL_DEPTH_TEST);
  }
}

int qGlUpdateVRMLDisplay() {
  qGlCheckError("qGlUpdateVRMLDisplay: before pre processing");
  if (!qQuadric) qQuadric = gluNewQuadric();
  qGlSetProjection(qPrefs.width, qPrefs.height);
  ModifyWorld(0);
  double side = floorSide();
  setFog(0.1f);
  setLighting(true);
  qGlCheckError("qGlUpdateVRMLDisplay: after pre processing");
  glPushMatrix();
  qGlDrawVRMLScene(side);
  glPopMatrix();
  qGlCheckError("qGlUpdateVRMLDisplay: before post processing");
  int64_t mode = qMode.display;
  if (mode == 6) drawNoise();
  if (mode == 7) drawSpotCone();
  glDisable(GL_STENCIL_TEST);
  motionBlur(0.8f);
  if (mode == 11 || side >= 0) glDisable(GL_BLEND);
  qGlCheckDisplayFlags();
  return qGlCheckError("qGlUpdateVRMLDisplay: after post processing");
}

// ---------------------------------------------------------------------------------------------------------
// Colours for the path display

// Red, green, blue, cyan, magenta, yellow, white, then random colours; every component in [0, 1].
const double *qWalkingPathColor(unsigned juggler) {
  static const double fixed[7][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}, {1, 1, 1}};
  for (int i = 0; i < 3; i++) walkingPathColour[i] = juggler < 7 ? fixed[juggler][i] : qRandom() / double(Q_RANDOM_MAX);
  return walkingPathColour;
}
