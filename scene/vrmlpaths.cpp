// Path nodes of VRML mode: an object's flight path as one line, the control points of its held
// segments, and the jugglers' walking paths. Each is a top-level node of the scene whose polygon
// nodes are spheres and lines under one empty root; hiding a path keeps its node for the next show.
#include "scene/vrmlaids.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/uistate.h"
#include "core/vecmath.h"
#include "pattern/clock.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/textures.h"
#include "scene/vrml/modeltree.h"
#include "scene/vrml_renderer.h"
#include "scene/vrmlscene.h"

static const double FLIGHT_PATH_COLOUR[3] = {0.4, 0.4, 0.8};
static const double HAND_POINT_RADIUS = 0.025, WALKING_POINT_RADIUS = 0.05;
enum { BEZIER_LINE_POINTS = 16 };
using Point = double[3];

ObjectNode *findPathNode(const char *name, int number) {
  int walked = 0;
  for (ObjectNode *n = *activeSceneList(); n && walked++ < MAX_NODES_WALKED; n = n->next)
    if (n->number == number && strcmp(n->name, name) == 0) return n;
  return nullptr;
}

// A path node under construction; a failed one is taken out of the scene again.
struct PathNode {
  ObjectNode *before;  // the last node of the list before the path's
  ObjectNode *node;
  double colour[3];
};

static bool beginPathNode(PathNode &path, const char *name, int number, int objectIndex, const double colour[3]) {
  path.before = lastListNode(*activeSceneList());
  path.node = nullptr;
  for (int i = 0; i < 3; i++) path.colour[i] = colour[i];
  if (AllocObjectNode(name, objectIndex, LINK_TOP_LEVEL)) {
    freeNodesAfter(path.before);
    return false;
  }
  path.node = currentObjectNode;
  path.node->number = number;
  path.node->flags |= NODE_NOT_A_PROP;
  path.node->poly->flags |= POLY_COMPLETE;
  return true;
}

static void dropPathNode(PathNode &path, const char *what) {
  qMsg(QMSG_ERROR, localText(90), what);
  freeNodesAfter(path.before);
  path.node = nullptr;
}

// One more shape among the root's children, in the path's colour.
static PolyNode *addShape(PathNode &path) {
  currentObjectNode = path.node;
  setCurrentPolyNode(path.node->poly);
  if (AllocPolyNode(POLY_CHILD)) return nullptr;
  PolyNode *p = currentPolyNode;
  p->flags |= POLY_DIFFUSE | POLY_NO_NORMALS | POLY_NO_TEXTURE | POLY_COMPLETE;
  p->textureIndex = TEXTURE_NONE;
  for (int i = 0; i < 3; i++) p->diffuseColor[i] = path.colour[i];
  return p;
}

static bool addSphere(PathNode &path, const double at[3], double radius) {
  PolyNode *p = addShape(path);
  if (!p) return false;
  p->flags |= POLY_SPHERE | POLY_TRANSLATION;
  p->radius = radius;
  for (int i = 0; i < 3; i++) p->translation[i] = at[i];
  return true;
}

// A line of count points, coordinates and their indices in order; its points are filled by the caller.
static Point *addLine(PathNode &path, int count, uint32_t kind) {
  PolyNode *p = addShape(path);
  if (!p || count <= 0) return nullptr;
  auto *coords = static_cast<Point *>(qAlloc(size_t(count) * sizeof(Point)));
  auto *indices = static_cast<int32_t *>(qAlloc(size_t(count) * sizeof(int32_t)));
  if (coords) {
    p->coords = coords;
    p->coordCount = count;
  }
  if (indices) {
    p->coordIndex = indices;
    p->coordIndexCount = count;
  }
  if (!coords || !indices) return nullptr;
  for (int i = 0; i < count; i++) indices[i] = i;
  p->flags |= kind;
  return coords;
}

static bool addLineThrough(PathNode &path, const Point *points, int count, uint32_t kind) {
  Point *coords = addLine(path, count, kind);
  if (!coords) return false;
  memcpy(coords, points, size_t(count) * sizeof(Point));
  return true;
}

// The four control points of a Bezier segment as spheres, with its control polygon.
static bool addControlPoints(PathNode &path, const Point *points, double radius) {
  for (int i = 0; i < 4; i++)
    if (!addSphere(path, points[i], radius)) return false;
  return addLineThrough(path, points, 4, POLY_LINE_STRIP);
}

// The object of the current letter, -1 when there is none.
static int currentObject() {
  int k = Objekt_Nummer(currentObjectLetter);
  return flugbahn && k >= 0 && k < objekte && k < MAX_OBJECTS && segmentRowLength > 0 ? k : -1;
}

// The samples are taken at the normal speed, and the clock's object cursors are left where the
// frames had them.
static void sampleFlightPath(Point *points, int k, int count, double step) {
  int cursors[MAX_OBJECTS];
  memcpy(cursors, objectCursor, sizeof cursors);
  int speed = qMode.speed;
  qMode.speed = 100;
  forEachPathSample(k, count, step, [points](int i, int object, double t) {
    double p[3] = {0, 0, 0};
    buildScene(nullptr, 0, t, p, object);
    for (int c = 0; c < 3; c++) points[i][c] = p[c];
  });
  qMode.speed = speed;
  memcpy(objectCursor, cursors, sizeof cursors);
}

// The node is entered into the loaded-object table as a fixed object once it is complete.
static int finishPathNode(PathNode &path, const char *name, int number) {
  defineVRMLDisplayLists(path.node, VRML_COMPILE);
  if (Fill_objekt_geladen(name, number, OBJ_FIXED, 17, 17, path.node) != 0) {
    freeNodesAfter(path.before);
    return 1;
  }
  return 0;
}

int qMakeVRMLFlightPath(const char *name, int count, double step) {
  int k = currentObject();
  if (k < 0) return 1;
  count = std::clamp(count, 1, int(MAX_PATH_SAMPLES));
  if (!std::isfinite(step) || step < 0) step = 0;
  int number = FLIGHT_PATH_NUMBER - k;
  PathNode path;
  if (!beginPathNode(path, name, number, loadedObjectCount, FLIGHT_PATH_COLOUR)) return 1;
  Point *points = addLine(path, count, POLY_LINE_LOOP);
  if (!points) {
    dropPathNode(path, "VRML Flightpath");
    return 1;
  }
  sampleFlightPath(points, k, count, step);
  return finishPathNode(path, name, number);
}

int qMakeVRMLHandPath(const char *name) {
  int k = currentObject();
  if (k < 0) return 1;
  int number = FLIGHT_PATH_NUMBER - k - objekte;
  const double colour[3] = {random01(), random01(), random01()};
  PathNode path;
  if (!beginPathNode(path, name, number, loadedObjectCount, colour)) return 1;
  // The segments of one cycle: the first, then each next one that ends within the cycle.
  int last = std::min(paraz[k], segmentRowLength - 1);
  for (int i = 0; i <= last; i++) {
    const Flugbahn &g = flugbahn[k][i];
    if (g.flag & FB_HOLD_Z) {
      const Point points[4] = {{g.B0[0], g.B0[1], g.B0[2]},
                                   {g.B1[0], g.B1[1], g.B1[2]},
                                   {g.B2[0], g.B2[1], g.B2[2]},
                                   {g.B3[0], g.B3[1], g.B3[2]}};
      if (!addControlPoints(path, points, HAND_POINT_RADIUS)) {
        dropPathNode(path, "VRML handpath points");
        return 1;
      }
    }
    if (i == last || !(flugbahn[k][i + 1].t_to < t_zyklus)) break;
  }
  return finishPathNode(path, name, number);
}

static void walkingPathName(char *name, size_t size, int j) { snprintf(name, size, "walking_path_J%d", j); }

static bool selected(int selection, int j) { return j < 31 && (selection >> j) & 1; }

// A segment: its control points and control polygon, and the curve through it.
static bool addWalkingSegment(PathNode &path, const WalkingSegment &s) {
  if (!addControlPoints(path, s.point, WALKING_POINT_RADIUS)) return false;
  Point *curve = addLine(path, BEZIER_LINE_POINTS, POLY_LINE_STRIP);
  if (!curve) return false;
  for (int m = 0; m < BEZIER_LINE_POINTS; m++)
    bezierPoint(s.point[0], s.point[1], s.point[2], s.point[3], m / double(BEZIER_LINE_POINTS - 1), curve[m]);
  return true;
}

int qMakeVRMLWalkingPaths(int selection, const WalkingSegment *segments, int count) {
  if (!segments) count = 0;
  for (int j = 0; j < jugglers && j < MAX_JUGGLERS; j++) {
    if (!selected(selection, j)) continue;
    char name[32];
    walkingPathName(name, sizeof name, j);
    int number = WALKING_PATH_NUMBER + j;
    if (ObjectNode *shown = findPathNode(name, number)) {  // the keyframes do not change within a pattern
      shown->flags &= ~uint32_t(NODE_HIDDEN);
      continue;
    }
    PathNode path;
    if (!beginPathNode(path, name, number, -1, qWalkingPathColor(unsigned(j)))) return 1;
    for (int i = 0; i < count; i++) {
      if (segments[i].juggler != j || addWalkingSegment(path, segments[i])) continue;
      dropPathNode(path, "VRML walking path points");
      return 1;
    }
    defineVRMLDisplayLists(path.node, VRML_COMPILE);
  }
  return 0;
}

void qRemoveWalkingPaths(int selection) {
  for (int j = 0; j < jugglers && j < MAX_JUGGLERS; j++) {
    if (!selected(selection, j)) continue;
    char name[32];
    walkingPathName(name, sizeof name, j);
    hideSceneNodes(name);
  }
}

int showVRMLPath(const char *name, int number, int count, double step, bool hand) {
  if (ObjectNode *node = findPathNode(name, number)) {
    node->flags &= ~uint32_t(NODE_HIDDEN);
    return 0;
  }
  return hand ? qMakeVRMLHandPath(name) : qMakeVRMLFlightPath(name, count, step);
}
