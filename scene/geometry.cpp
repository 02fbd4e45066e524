// The VRML scene totals and the built-in prop shapes (arrow, segmented ball, club).
#include "scene/geometry.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "core/Tcl.h"
#include "core/prefs.h"
#include "core/vecmath.h"
#include "pattern/store.h"
#include "scene/colours.h"
#include "scene/pathdisplay.h"
#include "scene/classic_renderer.h"
#include "scene/renderer.h"
#include "scene/vrml/modeltree.h"

int sceneVertexTotal;
int sceneFaceTotal;

ObjectNode *vrmlNodeTotals() {
  sceneVertexTotal = 0;
  sceneFaceTotal = 0;
  if (!qPrefs.vrml) return nullptr;
  ObjectNode *last = nullptr;
  for (ObjectNode *n = qScene; n; n = n->next) {
    last = n;
    if (n->flags & NODE_HIDDEN) continue;
    if ((n->flags & NODE_TAKES_CHOOSER_MODEL) && chosenModel >= 0) {
      sceneVertexTotal += chooserVertexTotal;
      sceneFaceTotal += chooserFaceTotal;
    } else {
      sceneVertexTotal += n->vertexTotal;
      sceneFaceTotal += n->faceTotal;
    }
  }
  return last;
}

// Colour n of the current colour set, with the highlight offset of the model being compiled. A colour
// written in goes into an empty primitive: Mesa then gives it to every vertex of the shapes that
// follow in the list and plays them the fast way, where a colour between primitives ends the run
// and leaves its vertices to take the colour GL holds, which Mesa plays the slow way.
static void propColour(int n) {
  if (colorLists >= 0 && inlineColours) {
    glBegin(GL_TRIANGLES);
    emitColourCall((n & 15) + highlightOffset);
    glEnd();
  } else if (colorLists >= 0) {
    glCallList(GLuint(colorLists + (n & 15) + highlightOffset));
  } else {
    glColor3ubv(quoitPalette[n & 15]);
  }
}

static int propSlices() {
  int k = PROP_SLICE_BASE + qPrefs.detail;
  return k < 3 ? 3 : k;
}

void propArrow(GLUquadric *q) {
  int k = propSlices();
  glRotated(45, 1, 0, 0);
  propColour(14);
  qGlSetMaterial(1);
  glTranslated(0, 0, 0.2);
  gluCylinder(q, 0, 0.08, 0.15, k, 1);
  glTranslated(0, 0, 0.15);
  gluDisk(q, 0, 0.08, k, 1);
  qGlSetMaterial(0);
  propColour(6);
  gluCylinder(q, 0.03, 0.03, 0.2, k, 1);
  glTranslated(0, 0, 0.2);
  gluDisk(q, 0, 0.03, k, 1);
}

void propClub(GLUquadric *q) {
  int k = propSlices();
  int half = PROP_SLICE_BASE / 2 + qPrefs.detail;
  int knobSlices = 2 * half + 2, knobStacks = half + 1;
  if (knobSlices < 4) knobSlices = 4;
  if (knobStacks < 2) knobStacks = 2;
  // Each colour comes after the moves and material before its shape, which a written-in colour
  // must follow directly (see propColour).
  glTranslated(0, 0, -0.2);
  propColour(7);
  gluCylinder(q, 0.015, 0.02, 0.2, k, 1);
  gluSphere(q, 0.025, knobSlices, knobStacks);
  qGlSetMaterial(1);
  glTranslated(0, 0, 0.2);
  propColour(9);
  gluCylinder(q, 0.02, 0.055, 0.12, k, 1);
  glTranslated(0, 0, 0.12);
  propColour(6);
  gluCylinder(q, 0.055, 0.055, 0.06, k, 1);
  glTranslated(0, 0, 0.06);
  propColour(9);
  gluCylinder(q, 0.055, 0.02, 0.12, k, 1);
  glTranslated(0, 0, 0.12);
  propColour(9);
  gluDisk(q, 0, 0.02, k, 1);
  qGlSetMaterial(0);
}

// One point of a ball segment: pole angle p, turn t; its normal is the same direction.
static void spheroidVertex(double r, double p, double t, int sy, int sz) {
  double n[3] = {cos(p), sy * sin(p) * sin(t), sz * sin(p) * cos(t)};
  glNormal3dv(n);
  glVertex3d(r * n[0], r * n[1], r * n[2]);
}

// A quarter turn about the x axis from pole to pole, for a GL_TRIANGLES primitive the caller has begun:
// the triangles GL makes of a fan about each pole and a quad strip for each ring between, in the same
// order and split, since each fan and strip would be a draw of its own when the list is played.
// Segments 0 and 1 run their turns downwards, 2 and 3 upwards (they are mirror images), so every face
// points outward.
static void spheroidSegment(double r, int quarter, int stacks, double dt, double dp, int segment) {
  static const int signs[4][2] = {{1, 1}, {-1, -1}, {-1, 1}, {1, -1}};
  int sy = signs[segment][0], sz = signs[segment][1];
  bool down = segment < 2;
  auto turn = [&](int j) { return (down ? quarter - j : j) * dt; };
  auto point = [&](int ring, int j) { spheroidVertex(r, ring * dp, turn(j), sy, sz); };
  for (int j = 0; j < quarter; j++) {
    glNormal3d(1, 0, 0);
    glVertex3d(r, 0, 0);
    point(1, j);
    point(1, j + 1);
  }
  for (int ring = 1; ring <= stacks - 2; ring++) {
    for (int j = 0; j < quarter; j++) {
      point(ring, j + 1);
      point(ring, j);
      point(ring + 1, j + 1);
      point(ring, j);
      point(ring + 1, j);
      point(ring + 1, j + 1);
    }
  }
  for (int j = quarter; j > 0; j--) {
    glNormal3d(-1, 0, 0);
    glVertex3d(-r, 0, 0);
    point(stacks - 1, j);
    point(stacks - 1, j - 1);
  }
}

void propSpheroid(GLUquadric *, double radius, int slices, int stacks, int colourSet, int colourA, int colourB) {
  if (slices < 4) slices = 4;
  if (slices % 4) slices += 4 - slices % 4;
  if (stacks < 2) stacks = 2;
  int quarter = slices / 4;
  double dt = 2 * PI / slices, dp = PI / stacks;
  bool ownSet = colourSet == colorLists && colorLists >= 0;
  if (ownSet && !inlineColours) {  // a colour list cannot be called inside a primitive
    for (int segment = 0; segment < 4; segment++) {
      propColour(segment >= 2 ? colourA : colourB);
      glBegin(GL_TRIANGLES);
      spheroidSegment(radius, quarter, stacks, dt, dp, segment);
      glEnd();
    }
    return;
  }
  // The colours go in between the segments, so that the whole ball is one draw.
  glBegin(GL_TRIANGLES);
  for (int segment = 0; segment < 4; segment++) {
    bool a = segment >= 2;
    if (ownSet) emitColourCall(((a ? colourA : colourB) & 15) + highlightOffset);
    else if (a) glColor3ub(255, 255, 255);
    else glColor3ub(255, 0, 0);
    spheroidSegment(radius, quarter, stacks, dt, dp, segment);
  }
  glEnd();
}

void sphereTriangles(const double centre[3], double radius, int slices, int stacks, bool normals) {
  enum { MOST = 239 };
  slices = slices < 3 ? 3 : slices > MOST ? MOST : slices;
  stacks = stacks < 2 ? 2 : stacks > MOST ? MOST : stacks;
  // Ring i of slice angles and ring j of stack angles, in floats from float angles as GLU has them.
  float sinA[MOST + 1], cosA[MOST + 1], ringRadius[MOST + 1], ringZ[MOST + 1], sinB[MOST + 1], cosB[MOST + 1];
  for (int i = 0; i < slices; i++) {
    float angle = float(2 * PI * i / slices);
    sinA[i] = float(sin(angle));
    cosA[i] = float(cos(angle));
  }
  sinA[slices] = sinA[0];
  cosA[slices] = cosA[0];
  for (int j = 0; j <= stacks; j++) {
    float angle = float(PI * j / stacks);
    sinB[j] = float(sin(angle));
    cosB[j] = float(cos(angle));
    ringRadius[j] = float(radius * sin(angle));
    ringZ[j] = float(radius * cos(angle));
  }
  ringRadius[0] = ringRadius[stacks] = 0;
  float x = float(centre[0]), y = float(centre[1]), z = float(centre[2]);
  auto vertex = [&](int i, int j) {
    if (normals) glNormal3f(sinA[i] * sinB[j], cosA[i] * sinB[j], cosB[j]);
    glVertex3f(x + ringRadius[j] * sinA[i], y + ringRadius[j] * cosA[i], z + ringZ[j]);
  };
  for (int i = slices; i > 0; i--) {  // the top cap, a fan about the apex
    if (normals) glNormal3f(sinA[0] * sinB[0], cosA[0] * sinB[0], cosB[0]);
    glVertex3f(x, y, z + float(radius));
    vertex(i, 1);
    vertex(i - 1, 1);
  }
  for (int i = 0; i < slices; i++) {  // the bottom cap
    if (normals) glNormal3f(sinA[0] * sinB[stacks], cosA[0] * sinB[stacks], cosB[stacks]);
    glVertex3f(x, y, z + float(-radius));
    vertex(i, stacks - 1);
    vertex(i + 1, stacks - 1);
  }
  for (int j = 1; j < stacks - 1; j++) {  // each band as its quads, split as GL splits them
    for (int i = 0; i < slices; i++) {
      vertex(i + 1, j + 1);
      vertex(i, j + 1);
      vertex(i + 1, j);
      vertex(i, j + 1);
      vertex(i, j);
      vertex(i + 1, j);
    }
  }
}

int propShapeCount(int which) { return which == 0 ? sceneVertexTotal : sceneFaceTotal; }
