// Model compiler of the classic renderer: materials, face normals, and the display lists of built-in
// shapes and packed object models. Every word of a packed shape is checked against the shape's own
// size before it is used, so a broken model file draws as far as it is sound and never makes the
// compiler read outside its block.
#include "scene/renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <deque>
#include <vector>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/vecmath.h"
#include "scene/classic_renderer.h"
#include "scene/colours.h"
#include "scene/geometry.h"
#include "scene/objects.h"

int highlightOffset;
float lastFaceNormal[3];

enum { TEXTURES_ON = 8, ATTR_FILLED = 1, ATTR_BACK_FACE = 2, POLYGON_WORDS = 5, MAX_POLYGON_DEPTH = 8 };

static const double MM = 0.001;

void qGlSetMaterial(int index) {
  static const GLfloat specular[3][4] = {{0.2f, 0.2f, 0.2f, 1.0f}, {0.9f, 0.9f, 0.9f, 1.0f}, {0.1f, 0.1f, 0.1f, 1.0f}};
  static const GLfloat shininess[3] = {10, 8, 4};
  if (index < 0 || index > 2) {
    qMsg(QMSG_ERROR, localText(43), index, "qGlSetMaterial()");
    return;
  }
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular[index]);
  glMaterialf(GL_FRONT, GL_SHININESS, shininess[index]);
}

// The shape of entry e as the compiler reads it: its words, its size in words and its point count.
// size is 0 when the entry has no shape or its header and points do not fit the block.
struct ShapeView {
  const int16_t *words = nullptr;
  int size = 0;
  int points = 0;
};

static ShapeView shapeOf(int e) {
  ShapeView v;
  if (e < 0 || e >= LOO_MAX || !objectShapes[e]) return v;
  const int16_t *s = objectShapes[e];
  int size = int(shapeBytes(s) / 2);
  if (size < SHAPE_POINTS) return v;
  int n = s[SHAPE_POINT_COUNT];
  if (n < 0 || SHAPE_POINTS + 3 * n > size) return v;
  v.words = s;
  v.size = size;
  v.points = n;
  return v;
}

// True when the count words from position on lie inside the shape.
static bool fits(const ShapeView &v, int position, int count) {
  return position >= 0 && count >= 0 && position <= v.size - count;
}

static const int16_t *pointOf(const ShapeView &v, int index) {
  return index >= 0 && index < v.points ? v.words + SHAPE_POINTS + 3 * index : nullptr;
}

// True when every one of the count point indices from position on names a point of the shape.
static bool pointsValid(const ShapeView &v, int position, int count) {
  if (!fits(v, position, count)) return false;
  for (int i = 0; i < count; i++)
    if (!pointOf(v, v.words[position + i])) return false;
  return true;
}

static void pointVertex(const ShapeView &v, int index) {
  const int16_t *p = pointOf(v, index);
  glVertex3d(p[0] * MM, p[1] * MM, p[2] * MM);
}

// A broken shape is reported once at debug level: again only when the entry gets another shape.
static const int16_t *reportedShape[LOO_MAX];

static void reportBrokenShape(int e, const char *what, int position) {
  if (e < 0 || e >= LOO_MAX || reportedShape[e] == objectShapes[e]) return;
  reportedShape[e] = objectShapes[e];
  const char *name = objekt_geladen ? objekt_geladen[e].name : "";
  qMsg(QMSG_DEBUG, "object model %d (%s) is broken near word %d (%s); it is drawn up to there\n", e, name, position, what);
}

// The colour list last called while a model's list is compiled, -1 outside a compile. Only colour
// lists set the colour inside a model's list, so calling the same list again is left out: every
// call ends Mesa's run of vertices, and a run is one draw when the list is played.
static int compiledColour = -1;
static bool compiling;

// Filled triangles, plain filled polygons and spheres of one colour go into one open GL_TRIANGLES run,
// which every other primitive, a colour call and the end of the model close (a colour written in
// keeps it open). A run is one draw when the list is played, where a glBegin of its own for each face
// is one draw each.
static bool runOpen;

// The normal and the written-in colour the compiler gave GL last in this walk, so that a run can give
// them again as it opens: every vertex of the run then carries both, and Mesa keeps one vertex layout
// for the whole run. A colour or normal first given inside a run changes the layout and splits the
// run into draws of their own, each with a vertex program of its own.
static bool normalGiven, colourGiven;
static float givenNormal[3];
static int givenColour;

// Whether the model lists give GL their normals. Only lighting reads them; a list without them
// shares the vertices of neighbouring faces and costs fewer vertices to draw.
static bool modelNormals = true;

static void giveNormal(float x, float y, float z) {
  givenNormal[0] = x;
  givenNormal[1] = y;
  givenNormal[2] = z;
  normalGiven = true;
  if (modelNormals) glNormal3fv(givenNormal);
}

static void closeRun() {
  if (!runOpen) return;
  glEnd();
  runOpen = false;
}

static void openRun() {
  if (runOpen) return;
  glBegin(GL_TRIANGLES);
  runOpen = true;
  if (normalGiven && modelNormals) glNormal3fv(givenNormal);
  if (colourGiven && inlineColours) emitColourCall(givenColour);
}

// With any display flag set, texturing goes off after the first triangle of a model (only the
// floor switches it on, at the start of its list); later switches would change nothing.
static bool textureOffPending;

static void beginCompile() {
  normalGiven = colourGiven = false;
  compiling = true;
  compiledColour = -1;
  textureOffPending = qPrefs.displayFlags != 0;
}

static void endCompile() {
  compiling = false;
  textureOffPending = false;
}

static void afterTriangle() {
  if (!textureOffPending) return;
  closeRun();
  glDisable(GL_TEXTURE_2D);
  textureOffPending = false;
}

// Colour c of a model: one of the 64 colour lists. The colour is taken modulo 16, as the prop shapes
// do, so a colour word outside the palette never calls a list outside the colour block.
bool inlineColours;

static void colourList(int c, int highlight) {
  if (colorLists < 0) return;
  int list = colorLists + (c & 15) + highlight;
  if (compiling && list == compiledColour) return;
  compiledColour = list;
  if (inlineColours) {
    givenColour = list - colorLists;
    colourGiven = true;
    emitColourCall(givenColour);
    return;
  }
  closeRun();
  glCallList(GLuint(list));
}

// A figure is compiled in parts: its elements (the line section, each triangle, polygon entry and
// sphere) that use a moving hand point go into its own list, which is compiled again when the hands
// move; each run of the others goes into a part list of its own, compiled once, which the figure's
// list calls where the run stands. Every element asks here whether it goes into the list being made.
enum PartMode { PARTS_ALL, PARTS_CLASSIFY, PARTS_STATIC, PARTS_MOVING };
static PartMode partMode = PARTS_ALL;
static int movingPoints;             // points below this index move
static int elementCounter;           // elements asked so far in this walk of the shape
static std::vector<int> *elementParts;  // per element its part, -1 for a moving one
static std::vector<GLuint> *partLists;
static int wantedPart;
static int classifiedParts;          // static parts found so far by the classifying walk

static bool movingPoint(int index) { return index < movingPoints; }

static bool drawElement(bool moving) {
  int i = elementCounter++;
  if (partMode == PARTS_ALL) return true;
  std::vector<int> &parts = *elementParts;
  if (partMode == PARTS_CLASSIFY) {
    bool continues = !parts.empty() && parts.back() >= 0;
    parts.push_back(moving ? -1 : continues ? parts.back() : classifiedParts++);
    return false;
  }
  int part = size_t(i) < parts.size() ? parts[size_t(i)] : -1;
  if (partMode == PARTS_STATIC) return part >= 0 && part == wantedPart;
  if (part < 0) return true;
  if (i == 0 || parts[size_t(i - 1)] != part) {
    closeRun();
    glCallList((*partLists)[size_t(part)]);
    compiledColour = -1;  // the part list set colours of its own
  }
  return false;
}

static int highlightOf(int e) {
  return objekt_geladen && (objekt_geladen[e].flags & OBJ_JUGGLED) ? HIGHLIGHT_LISTS : 0;
}

static void faceNormal(const ShapeView &v, int a, int b, int c) {
  const int16_t *p0 = pointOf(v, a), *p1 = pointOf(v, b), *p2 = pointOf(v, c);
  if (!p0 || !p1 || !p2) return;
  double d1[3], d2[3];
  for (int i = 0; i < 3; i++) {
    d1[i] = (p1[i] - p2[i]) * MM;
    d2[i] = (p0[i] - p1[i]) * MM;
  }
  const double *n = crossProduct(d1, d2);
  for (int i = 0; i < 3; i++) lastFaceNormal[i] = float(n[i]);
  giveNormal(lastFaceNormal[0], lastFaceNormal[1], lastFaceNormal[2]);
}

void qGlFaceNormal(int entry, int a, int b, int c) { faceNormal(shapeOf(entry), a, b, c); }

static void backNormal() { giveNormal(-lastFaceNormal[0], -lastFaceNormal[1], -lastFaceNormal[2]); }

// The GLU tessellator of polygons with holes. Vertices that it makes where edges cross live in
// combined until the polygon is finished.
static GLUtesselator *tess;
static std::deque<std::array<GLdouble, 3>> combined;
static GLenum tessError;

static void GLAPIENTRY tessCombine(GLdouble coords[3], void *[4], GLfloat[4], void **out) {
  combined.push_back({coords[0], coords[1], coords[2]});
  *out = combined.back().data();
}

static void GLAPIENTRY tessFailed(GLenum error) { tessError = error; }

static GLUtesselator *tessellator() {
  if (tess) return tess;
  tess = gluNewTess();
  if (!tess) return nullptr;
  gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(glBegin));
  gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(glVertex3dv));
  gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(glEnd));
  gluTessCallback(tess, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(tessCombine));
  gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(tessFailed));
  return tess;
}

// One polygon entry as read from the shape: its words and where its index lists lie.
struct PolygonEntry {
  int front, back, attributes, outlineCount, holeCount, attachedCount;
  int outline, hole, next;  // positions of the outline and hole lists and of what follows them
};

// Reads the polygon entry at position; false when it or one of its point indices leaves the shape.
static bool readPolygon(const ShapeView &v, int position, PolygonEntry &p) {
  if (!fits(v, position, POLYGON_WORDS)) return false;
  const int16_t *w = v.words + position;
  p.front = (uint16_t(w[0]) >> 8) & 0xff;
  p.back = w[0] & 0xff;
  p.attributes = w[1];
  p.outlineCount = w[2];
  p.holeCount = w[3];
  p.attachedCount = w[4];
  if (p.outlineCount < 0 || p.holeCount < 0 || p.attachedCount < 0) return false;
  p.outline = position + POLYGON_WORDS;
  p.hole = p.outline + p.outlineCount + 1;
  p.next = p.hole + (p.holeCount > 0 ? p.holeCount + 1 : 0);
  return pointsValid(v, p.outline, p.outlineCount + 1) &&
         (p.holeCount == 0 || pointsValid(v, p.hole, p.holeCount + 1));
}

// Index i of the outline, kept inside the entry's list (a short outline repeats its last index).
static int outlineIndex(const ShapeView &v, const PolygonEntry &p, int i) {
  return v.words[p.outline + std::min(i, p.outlineCount)];
}

// Feeds the point indices from..to (either direction) of a list to the tessellator.
static void tessContour(const ShapeView &v, int list, int from, int to, std::vector<std::array<GLdouble, 3>> &coords) {
  int step = from <= to ? 1 : -1;
  for (int i = from;; i += step) {
    const int16_t *q = pointOf(v, v.words[list + i]);
    coords.push_back({q[0] * MM, q[1] * MM, q[2] * MM});
    gluTessVertex(tess, coords.back().data(), coords.back().data());
    if (i == to) break;
  }
}

// One side of a polygon with a hole: outline and hole in the order that makes it face its viewer.
static void tessSide(const ShapeView &v, const PolygonEntry &p, bool front) {
  int k = p.outlineCount, m = p.holeCount;
  std::vector<std::array<GLdouble, 3>> coords;
  coords.reserve(size_t(k + m));  // the tessellator keeps pointers into it until the polygon ends
  gluBeginPolygon(tess);
  if (k > 0) tessContour(v, p.outline, front ? k - 1 : 0, front ? 0 : k - 1, coords);
  gluNextContour(tess, GLU_INTERIOR);
  tessContour(v, p.hole, front ? 0 : m - 1, front ? m - 1 : 0, coords);
  gluEndPolygon(tess);
  combined.clear();
}

// A polygon with a hole through the tessellator; false when the tessellator failed on it.
static bool drawHoledPolygon(const ShapeView &v, const PolygonEntry &p, int highlight) {
  closeRun();
  if (!tessellator()) return false;
  tessError = 0;
  tessSide(v, p, true);
  if (p.attributes & ATTR_BACK_FACE) {
    colourList(p.back, highlight);
    backNormal();
    tessSide(v, p, false);
  }
  return tessError == 0;
}

// The outline indices from..to (either direction) as the fan GL makes of a polygon: triangle i is
// points i + 1, i + 2 and the first, which keeps the first point the provoking one.
static void fanVertices(const ShapeView &v, const PolygonEntry &p, int from, int to) {
  int step = from <= to ? 1 : -1, n = (to - from) * step + 1;
  auto at = [&](int i) { return v.words[p.outline + from + i * step]; };
  for (int i = 0; i + 2 < n; i++) {
    pointVertex(v, at(i + 1));
    pointVertex(v, at(i + 2));
    pointVertex(v, at(0));
  }
}

static void drawPlainPolygon(const ShapeView &v, const PolygonEntry &p, int highlight) {
  int k = p.outlineCount;
  if (!(p.attributes & ATTR_FILLED)) {
    closeRun();
    glBegin(GL_LINE_LOOP);
    for (int i = k - 1; i >= 0; i--) pointVertex(v, v.words[p.outline + i]);
    glEnd();
    if (!(p.attributes & ATTR_BACK_FACE)) return;
    glBegin(GL_LINE_LOOP);
    colourList(p.back, highlight);
    backNormal();
    for (int i = 0; i < k; i++) pointVertex(v, v.words[p.outline + i]);
    glEnd();
    return;
  }
  if (k >= 3) {  // GL draws nothing of a polygon with fewer points; its colour and normal stay set
    openRun();
    fanVertices(v, p, k - 1, 0);
  }
  if (!(p.attributes & ATTR_BACK_FACE)) return;
  colourList(p.back, highlight);
  backNormal();
  if (k >= 3) {
    openRun();
    fanVertices(v, p, 0, k - 1);
  }
}

static int drawPolygons(int count, int entry, int position, int depth) {
  ShapeView v = shapeOf(entry);
  if (!v.size) return -1;
  int highlight = highlightOf(entry);
  for (int i = 0; i < count; i++) {
    PolygonEntry p;
    if (!readPolygon(v, position, p)) {
      reportBrokenShape(entry, "polygons", position);
      return -1;
    }
    bool moving = false;
    for (int k = 0; k <= p.outlineCount; k++) moving = moving || movingPoint(v.words[p.outline + k]);
    for (int k = 0; p.holeCount > 0 && k <= p.holeCount; k++) moving = moving || movingPoint(v.words[p.hole + k]);
    if (drawElement(moving)) {
      colourList(p.front, highlight);
      faceNormal(v, outlineIndex(v, p, 0), outlineIndex(v, p, 1), outlineIndex(v, p, 2));
      if (p.holeCount > 0) {
        if (!drawHoledPolygon(v, p, highlight))
          reportBrokenShape(entry, reinterpret_cast<const char *>(gluErrorString(tessError)), position);
      } else {
        drawPlainPolygon(v, p, highlight);
      }
    }
    position = p.next;
    if (p.attachedCount > 0) {
      if (depth >= MAX_POLYGON_DEPTH) {
        reportBrokenShape(entry, "attached polygons nest too deep", position);
        return -1;
      }
      position = drawPolygons(p.attachedCount, entry, position, depth + 1);
      if (position < 0) return -1;
    }
  }
  return position;
}

int qGlDrawPolygons(int count, int entry, int position, int depth) {
  int next = drawPolygons(count, entry, position, depth);
  closeRun();
  return next;
}

// Lines: a count, then colour word, first and second point; returns the position after them or -1.
static int drawLines(const ShapeView &v, int e, int position) {
  if (!fits(v, position, 1)) return -1;
  int count = v.words[position++];
  if (count <= 0) return position;
  int highlight = highlightOf(e);
  bool moving = false, sound = true;
  for (int i = 0; i < count && sound; i++) {
    int at = position + 3 * i;
    sound = fits(v, at, 3) && pointsValid(v, at + 1, 2);
    moving = moving || (sound && (movingPoint(v.words[at + 1]) || movingPoint(v.words[at + 2])));
  }
  if (!drawElement(moving)) return sound ? position + 3 * count : -1;
  closeRun();
  glBegin(GL_LINES);
  for (int i = 0; i < count; i++, position += 3) {
    if (!fits(v, position, 3) || !pointsValid(v, position + 1, 2)) {
      glEnd();
      return -1;
    }
    colourList(v.words[position] & 0xff, highlight);
    pointVertex(v, v.words[position + 1]);
    pointVertex(v, v.words[position + 2]);
  }
  glEnd();
  return position;
}

// Triangles: a count, then colours, attribute word and three points; fronts run third to first.
static int drawTriangles(const ShapeView &v, int e, int position) {
  if (!fits(v, position, 1)) return -1;
  int count = v.words[position++];
  int highlight = highlightOf(e);
  for (int i = 0; i < count; i++, position += 5) {
    if (!fits(v, position, 5) || !pointsValid(v, position + 2, 3)) return -1;
    const int16_t *w = v.words + position;
    if (!drawElement(movingPoint(w[2]) || movingPoint(w[3]) || movingPoint(w[4]))) continue;
    int attributes = w[1];
    bool filled = attributes & ATTR_FILLED;
    colourList((uint16_t(w[0]) >> 8) & 0xff, highlight);
    faceNormal(v, w[2], w[3], w[4]);
    if (filled) openRun();
    else closeRun();
    if (!filled) glBegin(GL_LINE_LOOP);
    for (int k = 4; k >= 2; k--) pointVertex(v, w[k]);
    if (!filled) glEnd();
    if (attributes & ATTR_BACK_FACE) {
      backNormal();
      if (!filled) glBegin(GL_LINE_LOOP);
      for (int k = 2; k <= 4; k++) pointVertex(v, w[k]);
      if (!filled) glEnd();
    }
    afterTriangle();
  }
  return position;
}

GLUquadric *qQuadric;

static GLUquadric *sharedQuadric() {
  if (!qQuadric) qQuadric = gluNewQuadric();
  return qQuadric;
}

// Spheres: a count, then colour, an unused value, centre point and radius in mm. The tessellation
// grows with the radius: 42 stacks per metre plus 3, twice as many slices.
static int drawSpheres(const ShapeView &v, int e, int position) {
  if (!fits(v, position, 1)) return -1;
  int count = v.words[position++];
  int highlight = highlightOf(e);
  for (int i = 0; i < count; i++, position += 4) {
    if (!fits(v, position, 4) || !pointsValid(v, position + 2, 1)) return -1;
    const int16_t *w = v.words + position;
    if (!drawElement(movingPoint(w[2]))) continue;
    const int16_t *centre = pointOf(v, w[2]);
    double r = w[3] * MM;
    int stacks = std::max(2, int(42 * r + 3)), slices = std::max(3, int(2 * (42 * r + 3)));
    colourList(w[0] & 0xff, highlight);
    openRun();
    const double at[3] = {centre[0] * MM, centre[1] * MM, centre[2] * MM};
    sphereTriangles(at, r, slices, stacks, modelNormals);
  }
  return position;
}

static int drawPolygonSection(const ShapeView &v, int e, int position) {
  if (!fits(v, position, 1)) return -1;
  return drawPolygons(v.words[position], e, position + 1, 0);
}

// The sections of a shape in their order, drawn up to the first part that leaves the shape.
static void drawShape(const ShapeView &v, int e) {
  static int (*const sections[])(const ShapeView &, int, int) = {drawLines, drawTriangles, drawPolygonSection,
                                                                 drawSpheres};
  static const char *const names[] = {"lines", "triangles", "polygons", "spheres"};
  int position = SHAPE_POINTS + 3 * v.points;
  elementCounter = 0;
  for (int i = 0; i < 4 && position >= 0; i++) {
    int next = sections[i](v, e, position);
    if (next < 0) reportBrokenShape(e, names[i], position);
    position = next;
  }
  closeRun();
}

// The list that entry e is compiled into, recorded per entry so that a list name is never lost:
// a new list (fresh) replaces the entry's old one, which is deleted; otherwise the entry's own
// list is compiled again in place. A list that this module did not make for the entry is never
// compiled over, since its name may belong to another model or to the colour block.
static GLuint entryLists[LOO_MAX + 1];

static GLuint entryList(int e, bool fresh) {
  GLuint own = entryLists[e];
  if (!fresh && own && GLuint(objekt_geladen[e].displayList) == own && glIsList(own)) return own;
  if (own && glIsList(own)) glDeleteLists(own, 1);
  GLuint list = glGenLists(1);
  qGlCheckStage("gen new list");
  entryLists[e] = list;
  objekt_geladen[e].displayList = int(list);
  return list;
}

// The colour lists are called by every model list, so they must exist before the first compile.
static bool entryCompilable(int e, int highest) {
  if (!objekt_geladen || e < 0 || e > highest) return false;
  if (colorLists < 0) qGlSetColors(255);
  return true;
}

// What an entry's list draws, run into the list being compiled or into the feedback buffer.
static void drawModel(int entry) {
  highlightOffset = highlightOf(entry);
  bool texture = entry == 0 && (qPrefs.displayFlags & TEXTURES_ON);
  if (texture) glEnable(GL_TEXTURE_2D);
  ShapeView v = shapeOf(entry);
  if (v.size) drawShape(v, entry);
  else if (objectShapes[entry]) reportBrokenShape(entry, "points", SHAPE_POINT_COUNT);
  if (texture) glDisable(GL_TEXTURE_2D);
  highlightOffset = 0;
}

static void drawBuiltin(int entry, int type) {
  highlightOffset = highlightOf(entry);
  GLUquadric *q = sharedQuadric();
  if (type == BUILTIN_ARROW) propArrow(q);
  else if (type == BUILTIN_CLUB) propClub(q);
  else {
    int k = PROP_SLICE_BASE + qPrefs.detail;
    propSpheroid(q, 0.06, 2 * k, k, colorLists, 8, 4);
  }
  highlightOffset = 0;
}

// The built-in type each entry's list was last compiled from; 0 for a packed shape.
static int builtinTypes[LOO_MAX + 1];

// Compiles of each entry's list so far; a list with colours written in is made for one of them.
static unsigned entryCompiles[LOO_MAX + 1];

// The lists this module made from shapes are made again; lists made elsewhere and the built-in
// shapes, which give their own normals, stay.
void qGlModelNormals(bool on) {
  if (on == modelNormals) return;
  modelNormals = on;
  if (!objekt_geladen) return;
  for (int e = 0; e < LOO_MAX; e++)
    if (entryLists[e] && GLuint(objekt_geladen[e].displayList) == entryLists[e] && !builtinTypes[e])
      objekt_geladen[e].flags |= OBJ_NEW_LIST;
}

int qGlDefineObject(int entry) {
  if (!entryCompilable(entry, LOO_MAX - 1)) return 0;
  LoadedObject &o = objekt_geladen[entry];
  GLuint list = entryList(entry, o.flags & OBJ_NEW_LIST);
  if (!list) return 0;
  builtinTypes[entry] = 0;
  entryCompiles[entry]++;
  glNewList(list, GL_COMPILE);
  qGlCheckStage("begin of list compilation");
  beginCompile();
  drawModel(entry);
  endCompile();
  glEndList();
  o.flags &= ~OBJ_NEW_LIST;
  qGlCheckStage("after objectdefinition");
  return int(list);
}

// The lists of a figure for one colour set: a part list per run of its static elements and the list
// of its moving elements, which calls the part lists where they stand; with the counts of the
// figure's static changes and poses and the colour set's version they were made from.
struct FigureLists {
  GLuint own = 0;
  std::vector<GLuint> parts;
  unsigned build = 0, pose = 0, setVersion = 0;
};

// What a figure's lists were made from: its shape's words, the moving points and the display flags;
// the part of each element, and the counts of changes to its static elements and to its pose. Its
// lists through the colour lists, whose own list is the entry's list, serve a colour set that is
// not kept; each kept set has lists of its own with its colours written in.
struct FigureParts {
  std::vector<int16_t> shape;
  int moving = -1, displayFlags = 0;
  GLuint list = 0;  // the entry's list when the shape was last taken
  std::vector<int> elementParts;
  int partCount = 0;
  unsigned build = 0, pose = 0;
  FigureLists plain, coloured[KEPT_COLOUR_SETS];
};
static FigureParts figureParts[LOO_MAX];

// The points both hands of the figure move: the first twice its hand-point count.
static int movingPointsOf(int entry, const ShapeView &v) {
  int g = objekt_geladen[entry].objektnummer;
  if (g < 0 || g >= MAX_FIGURES) return 0;
  return std::min(2 * std::clamp(handPointCount[g], 0, int(MAX_HAND_POINTS)), v.points);
}

static bool sameWords(const std::vector<int16_t> &kept, const int16_t *words, int from, int to) {
  return std::equal(kept.begin() + from, kept.begin() + to, words + from);
}

// Walks the shape in the given mode, outside or inside the list being compiled.
static void walkParts(const ShapeView &v, int entry, PartMode mode, int part) {
  partMode = mode;
  wantedPart = part;
  beginCompile();
  highlightOffset = highlightOf(entry);
  drawShape(v, entry);
  highlightOffset = 0;
  endCompile();
  partMode = PARTS_ALL;
}

static void classifyParts(FigureParts &f, const ShapeView &v, int entry) {
  f.elementParts.clear();
  elementParts = &f.elementParts;
  classifiedParts = 0;
  walkParts(v, entry, PARTS_CLASSIFY, 0);
  f.partCount = classifiedParts;
}

// Compiles what of a set's part lists is older than the figure's shape or the colour set, and the
// list of its moving elements when it is asked for and older than the pose.
static void makeFigureLists(FigureParts &f, FigureLists &l, const ShapeView &v, int entry, bool written,
                            unsigned setVersion, bool movingList) {
  elementParts = &f.elementParts;
  partLists = &l.parts;
  movingPoints = f.moving;
  inlineColours = written;
  bool partsCurrent = l.build == f.build && l.setVersion == setVersion && l.parts.size() == size_t(f.partCount);
  if (!partsCurrent) {
    for (GLuint list : l.parts)
      if (glIsList(list)) glDeleteLists(list, 1);
    l.parts.clear();
    for (int part = 0; part < f.partCount; part++) {
      GLuint list = glGenLists(1);
      l.parts.push_back(list);
      if (!list) continue;
      glNewList(list, GL_COMPILE);
      walkParts(v, entry, PARTS_STATIC, part);
      glEndList();
    }
    l.build = f.build;
    l.setVersion = setVersion;
    l.pose = 0;
  }
  if (!l.own) l.own = glGenLists(1);
  if (movingList && l.own && l.pose != f.pose) {
    glNewList(l.own, GL_COMPILE);
    walkParts(v, entry, PARTS_MOVING, 0);
    glEndList();
    l.pose = f.pose;
  }
  inlineColours = false;
}

// Takes the figure's shape as it stands and brings the lists of the colour set the colour lists
// hold now up to it, the list of its moving elements only when movingList asks; null when the
// entry has no list.
static FigureLists *prepareFigure(int entry, bool movingList) {
  LoadedObject &o = objekt_geladen[entry];
  ShapeView v = shapeOf(entry);
  FigureParts &f = figureParts[entry];
  bool fresh = o.flags & OBJ_NEW_LIST;
  GLuint list = entryList(entry, fresh);
  if (!list) return nullptr;
  builtinTypes[entry] = 0;
  entryCompiles[entry]++;
  int moving = movingPointsOf(entry, v), handWords = SHAPE_POINTS + 3 * moving;
  bool staticSame = !fresh && list == f.list && moving == f.moving && qPrefs.displayFlags == f.displayFlags &&
                    f.shape.size() == size_t(v.size) && sameWords(f.shape, v.words, 1, SHAPE_POINTS) &&
                    sameWords(f.shape, v.words, handWords, v.size);
  if (!staticSame || !sameWords(f.shape, v.words, SHAPE_POINTS, handWords)) {
    movingPoints = moving;
    if (!staticSame) {
      classifyParts(f, v, entry);
      f.build++;
    }
    f.pose++;
    f.shape.assign(v.words, v.words + v.size);
    f.moving = moving;
    f.displayFlags = qPrefs.displayFlags;
    f.list = list;
  }
  o.flags &= ~OBJ_NEW_LIST;
  int set = currentColourSet;
  FigureLists *l = &f.plain;
  if (set >= 0 && set < KEPT_COLOUR_SETS) {
    l = &f.coloured[set];
    makeFigureLists(f, *l, v, entry, true, colourSetVersion[set], movingList);
  } else {
    if (f.plain.own != list) f.plain.pose = 0;
    f.plain.own = list;
    makeFigureLists(f, f.plain, v, entry, false, 0, movingList);
  }
  qGlCheckStage("after objectdefinition");
  return l;
}

int qGlDefineFigure(int entry) {
  if (!entryCompilable(entry, LOO_MAX - 1)) return 0;
  if (!shapeOf(entry).size) return qGlDefineObject(entry);
  FigureLists *l = prepareFigure(entry, true);
  return l ? int(l->own) : 0;
}

int qGlPrepareFigure(int entry) {
  if (!entryCompilable(entry, LOO_MAX - 1)) return 0;
  if (!shapeOf(entry).size) return qGlDefineObject(entry);
  return prepareFigure(entry, false) ? objekt_geladen[entry].displayList : 0;
}

// The lists of the colour set the colour lists hold now, when the figure's part lists were made
// from its shape as it stands and from that set; null when there are none.
static FigureLists *currentFigureLists(int entry, bool *written) {
  FigureParts &f = figureParts[entry];
  int set = currentColourSet;
  bool kept = set >= 0 && set < KEPT_COLOUR_SETS;
  FigureLists &l = kept ? f.coloured[set] : f.plain;
  unsigned setVersion = kept ? colourSetVersion[set] : 0;
  *written = kept;
  ShapeView v = shapeOf(entry);
  bool current = v.size && f.list && GLuint(objekt_geladen[entry].displayList) == f.list &&
                 f.shape.size() == size_t(v.size) && sameWords(f.shape, v.words, 0, v.size) &&
                 l.build == f.build && l.setVersion == setVersion && l.parts.size() == size_t(f.partCount);
  return current ? &l : nullptr;
}

bool qGlDrawFigure(int entry) {
  if (!entryCompilable(entry, LOO_MAX - 1) || !(objekt_geladen[entry].flags & OBJ_RECOMPILE)) return false;
  bool written;
  FigureLists *l = currentFigureLists(entry, &written);
  if (!l) return false;
  FigureParts &f = figureParts[entry];
  if (l->own && l->pose == f.pose) {
    glCallList(l->own);
    return true;
  }
  elementParts = &f.elementParts;
  partLists = &l->parts;
  movingPoints = f.moving;
  inlineColours = written;
  walkParts(shapeOf(entry), entry, PARTS_MOVING, 0);
  inlineColours = false;
  return true;
}

// The figure's list for the colour set the colour lists hold now; 0 when that set has none made
// from the figure as it stands.
static GLuint colouredFigureList(int entry) {
  int set = currentColourSet;
  if (set < 0 || set >= KEPT_COLOUR_SETS) return 0;
  const FigureParts &f = figureParts[entry];
  const FigureLists &l = f.coloured[set];
  bool current = l.own && l.build == f.build && l.pose == f.pose && l.setVersion == colourSetVersion[set];
  return current ? l.own : 0;
}

int qGlDefineBuiltinObject(int entry, int type, int clearBits) {
  if (type != BUILTIN_ARROW && type != BUILTIN_SPHEROID && type != BUILTIN_CLUB) {
    qMsg(QMSG_ERROR, localText(45), type, "qGlDefineBuiltinObject()");
    return 0;
  }
  if (!entryCompilable(entry, LOO_MAX)) return 0;
  GLuint list = entryList(entry, true);
  if (!list) return 0;
  builtinTypes[entry] = type;
  entryCompiles[entry]++;
  glPushMatrix();
  glLoadIdentity();
  glNewList(list, GL_COMPILE);
  drawBuiltin(entry, type);
  glEndList();
  glPopMatrix();
  objekt_geladen[entry].flags &= ~clearBits;
  return int(list);
}

// Lists of packed shapes with the colours of a kept colour set written in: every colour change of
// the entry's own list calls a colour list and so ends its run of triangles and is one draw more;
// with the colours written in, a model of many colours (a chequered floor) is one run.
struct ColouredList {
  GLuint list;
  unsigned madeFrom, setVersion;  // the entry's compile and the colour set's version it was made from
};
static ColouredList colouredLists[LOO_MAX][KEPT_COLOUR_SETS];

int qGlColouredList(int entry) {
  if (!objekt_geladen || entry < 0 || entry >= LOO_MAX) return 0;
  const LoadedObject &o = objekt_geladen[entry];
  GLuint own = GLuint(o.displayList > 0 ? o.displayList : 0);
  int set = currentColourSet;
  if (own && (o.flags & OBJ_RECOMPILE)) {
    GLuint figure = colouredFigureList(entry);
    return int(figure ? figure : own);
  }
  if (!own || set < 0 || own != entryLists[entry] ||
      (!builtinTypes[entry] && !shapeOf(entry).size))
    return int(own);
  ColouredList &c = colouredLists[entry][set];
  if (c.list && c.madeFrom == entryCompiles[entry] && c.setVersion == colourSetVersion[set] && glIsList(c.list))
    return int(c.list);
  if (!c.list || !glIsList(c.list)) c.list = glGenLists(1);
  if (!c.list) return int(own);
  glNewList(c.list, GL_COMPILE);
  beginCompile();
  inlineColours = true;
  if (builtinTypes[entry]) drawBuiltin(entry, builtinTypes[entry]);
  else drawModel(entry);
  inlineColours = false;
  endCompile();
  glEndList();
  c.madeFrom = entryCompiles[entry];
  c.setVersion = colourSetVersion[set];
  return int(c.list);
}

// Triangles in a feedback buffer of GL_3D tokens: a polygon of n vertices is n - 2 of them.
static long feedbackTriangles(const std::vector<GLfloat> &buffer, GLint size) {
  long triangles = 0;
  for (GLint i = 0; i < size;) {
    GLint token = GLint(buffer[size_t(i++)]);
    if (token == GL_POLYGON_TOKEN && i < size) {
      GLint n = GLint(buffer[size_t(i++)]);
      triangles += n > 2 ? n - 2 : 0;
      i += 3 * n;
    } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      i += 6;
    } else if (token == GL_PASS_THROUGH_TOKEN) {
      i += 1;
    } else {
      i += 3;  // a point, bitmap or pixel token
    }
  }
  return triangles;
}

// The model is drawn again, outside any list, into GL's feedback buffer without culling, scaled into
// the view volume (every model lies within 32.767 m of its origin).
long qGlModelTriangles(int entry) {
  if (!entryCompilable(entry, LOO_MAX) || objekt_geladen[entry].displayList <= 0) return 0;
  static std::vector<GLfloat> buffer(size_t(1) << 16);
  const size_t largest = size_t(1) << 26;
  for (;;) {
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glScaled(0.025, 0.025, 0.025);
    if (builtinTypes[entry]) drawBuiltin(entry, builtinTypes[entry]);
    else drawModel(entry);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    GLint size = glRenderMode(GL_RENDER);
    if (size >= 0) return feedbackTriangles(buffer, size);
    if (buffer.size() >= largest) return 0;
    buffer.resize(buffer.size() * 4);
  }
}
