// VRML model store: the parse buffers, the Inline list and the PROTO field buffer, the file loader that
// runs the parser over a model and its Inline files, finishing geometry nodes, loading models by name
// and compiling their display lists.
#include <GL/gl.h>
#include <GL/glx.h>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

#include "core/Tcl.h"
#include "core/uistate.h"
#include "core/userfiles.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/utils.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/figures.h"
#include "scene/kinematics.h"
#include "scene/objects.h"
#include "scene/textures.h"
#include "scene/vrml/reader.h"
#include "scene/vrml_renderer.h"


ParseList parseLists[LIST_COUNT] = {
    {nullptr, nullptr, 3, VRML_MAX_COORDS, 0, "VRML_MAX_COORDS exceeded! Too many coords.\n"},
    {nullptr, nullptr, 3, VRML_MAX_COORDS, 0, "VRML_MAX_COORDS exceeded! Too many colors.\n"},
    {nullptr, nullptr, 2, VRML_MAX_COORDS, 0, "VRML_MAX_COORDS exceeded! Too many TextureCoordinates.\n"},
    {nullptr, nullptr, 3, VRML_MAX_NORMALS, 0, "VRML_MAX_NORMALS exceeded! Too many normals.\n"},
    {nullptr, nullptr, 1, VRML_MAX_INDEX, 0, "VRML_MAX_INDEX exceeded! Too many coordIndices.\n"},
    {nullptr, nullptr, 1, VRML_MAX_INDEX, 0, "VRML_MAX_INDEX exceeded! Too many normalIndices.\n"},
    {nullptr, nullptr, 1, VRML_MAX_INDEX, 0, "VRML_MAX_INDEX exceeded! Too many texCoordIndices.\n"},
    {nullptr, nullptr, 1, VRML_MAX_INDEX, 0, "VRML_MAX_INDEX exceeded! Too many colorIndices.\n"},
};

static InlineEntry inlineEntries[VRML_INLINE_MAX];
InlineEntry *inlineList = inlineEntries;
int inlineCount;

static ProtoField protoFieldBuffer[PROTO_FIELD_MAX];
ProtoField *protoFields = protoFieldBuffer;
int protoFieldCount;

// ---- buffers -------------------------------------------------------------------------------------

static size_t listBytes(const ParseList &list) {
  return size_t(list.capacity) * (list.width == 1 ? sizeof(int32_t) : sizeof(double) * size_t(list.width));
}

static bool isIndexList(int i) { return i >= LIST_COORD_INDEX; }

int vrmlParseBuffers(int op) {
  if (op == BUFFER_ALLOC) {
    for (int i = 0; i < LIST_COUNT; i++) {
      ParseList &list = parseLists[i];
      if (list.values || list.indices) continue;
      void *block = qAlloc(listBytes(list));
      if (!block) return i + 1;
      if (isIndexList(i)) list.indices = static_cast<int32_t *>(block);
      else list.values = static_cast<double *>(block);
    }
    return 0;
  }
  if (op == BUFFER_FREE) {
    for (ParseList &list : parseLists) {
      if (list.values) qFree(list.values, listBytes(list));
      if (list.indices) qFree(list.indices, listBytes(list));
      list.values = nullptr;
      list.indices = nullptr;
      list.count = 0;
    }
    return 0;
  }
  qMsg(QMSG_ERROR, localText(45), op, "vrmlParseBuffers");
  return -17;
}

int vrmlInlineList(int op, const char *name, PolyNode *poly, ObjectNode *object) {
  switch (op) {
    case INLINE_APPEND: {
      if (inlineCount >= VRML_INLINE_MAX) return -17;
      InlineEntry &entry = inlineList[inlineCount];
      snprintf(entry.name, sizeof entry.name, "%s", name);
      entry.poly = poly;
      entry.object = object;
      return ++inlineCount;
    }
    case BUFFER_EMPTY: inlineCount = 0; return 0;
    default: return -17;
  }
}

int qPROTObuffer(int op) {
  if (op == BUFFER_EMPTY || op == BUFFER_FREE) {
    protoFieldCount = 0;
    return 0;
  }
  qMsg(QMSG_ERROR, localText(45), op, "qPROTObuffer");
  return 1;
}

// ---- object properties for the pattern engine ----------------------------------------------------

static int nodeProperty(int model, int property) {
  const ObjectNode *node = findSceneNode(model, -17);
  if (!node) return 0;
  switch (property) {
    case 1: return 1;
    case 2: return node->flags & NODE_TURN_ALL ? 1 : 0;
    case 3: return node->flags & NODE_SPHERICAL ? 4 : 0;
    case 4: {
      double mm = node->handle * 1000;
      if (!(std::fabs(mm) < 1e6)) return 0;
      return int(mm);
    }
    case 5: return node->type;
    default: return 0;
  }
}

// The buffers the reader needs, made once; the pattern engine reads object properties from the scene.
static int readerReady() {
  vrmlObjectProperty = nodeProperty;
  if (vrmlParseBuffers(BUFFER_ALLOC)) {
    qMsg(QMSG_DEBUG, "no mem for VRML parse buffer\n");
    return 3;
  }
  return 0;
}

int allocVRMLBuffers() {
  currentObjectNode = nullptr;
  return readerReady();
}

void freeVRMLAll() {
  freeObjectList(&qScene);
  freeObjectList(&qScene_CO);
  vrmlParseBuffers(BUFFER_FREE);
  vrmlInlineList(BUFFER_EMPTY, nullptr, nullptr, nullptr);
  qPROTObuffer(BUFFER_FREE);
  freeProtos();
  vrmlScannerFree();
}

void resetVRMLScene() {
  freeObjectList(&qScene);
  vrmlInlineList(BUFFER_EMPTY, nullptr, nullptr, nullptr);
  qPROTObuffer(BUFFER_EMPTY);
  freeProtos();
  for (InvKinRecord &record : invKinTable) record = InvKinRecord{};
}

// ---- finishing a geometry node -------------------------------------------------------------------

template <typename T>
static T *copyList(const void *source, int count, size_t element) {
  if (count <= 0) return nullptr;
  T *copy = static_cast<T *>(qAlloc(size_t(count) * element));
  if (!copy) {
    qMsg(QMSG_ERROR, "Error: No memory for VRML parser\n");
    return nullptr;
  }
  memcpy(copy, source, size_t(count) * element);
  return copy;
}

static int32_t *copyIndices(int list, int32_t &count) {
  const ParseList &source = parseLists[list];
  int32_t *copy = copyList<int32_t>(source.indices, source.count, sizeof(int32_t));
  count = copy ? source.count : 0;
  return copy;
}

template <typename T>
static T *copyValues(int list, int32_t &count) {
  const ParseList &source = parseLists[list];
  T *copy = copyList<T>(source.values, source.count, sizeof(T));
  count = copy ? source.count : 0;
  return copy;
}

// Every index names an element of its list (or is -1, the end of a face).
static bool indicesInRange(const int32_t *indices, int count, int size, const char *what) {
  for (int i = 0; i < count; i++) {
    if (indices[i] >= -1 && indices[i] < size) continue;
    vrmlReaderError(formatText("%s %d is not below the %d elements of its list", what, indices[i], size).c_str());
    return false;
  }
  return true;
}

static int faceCount(const PolyNode *p) {
  int faces = 0;
  for (int i = 0; i < p->coordIndexCount; i++)
    if (p->coordIndex[i] == -1 || i == p->coordIndexCount - 1) faces++;
  return faces;
}

// A list of values without its own index list is indexed like the coordinates, as in VRML.
static int32_t *coordIndexCopy(const PolyNode *p, int32_t &count) {
  int32_t *copy = copyList<int32_t>(p->coordIndex, p->coordIndexCount, sizeof(int32_t));
  count = copy ? p->coordIndexCount : 0;
  return copy;
}

int finishGeometry() {
  PolyNode *p = currentPolyNode;
  if (!p) return VRML_STOP_NODE;
  p->coords = copyValues<double[3]>(LIST_COORDS, p->coordCount);
  p->normals = copyValues<double[3]>(LIST_NORMALS, p->normalCount);
  if (!p->normalCount) p->flags |= POLY_NO_NORMALS;
  p->coordIndex = copyIndices(LIST_COORD_INDEX, p->coordIndexCount);
  p->colorIndex = copyIndices(LIST_COLOR_INDEX, p->colorIndexCount);
  p->texCoordIndex = copyIndices(LIST_TEX_COORD_INDEX, p->texCoordIndexCount);
  for (double &scale : p->textureScale)
    if (scale == 0) scale = 1.0;
  p->normalIndex = copyIndices(LIST_NORMAL_INDEX, p->normalIndexCount);
  p->colors = copyValues<double[3]>(LIST_COLORS, p->colorCount);
  p->texCoords = copyValues<double[2]>(LIST_TEX_COORDS, p->texCoordCount);

  if (p->flags & POLY_FACE_SET) {
    if (!p->normalIndexCount && p->normalCount && p->normalPerVertex != 2)
      p->normalIndex = coordIndexCopy(p, p->normalIndexCount);
    if (!p->colorIndexCount && p->colorCount && p->colorPerVertex == 1)
      p->colorIndex = coordIndexCopy(p, p->colorIndexCount);
    if (!p->texCoordIndexCount && p->texCoordCount) p->texCoordIndex = coordIndexCopy(p, p->texCoordIndexCount);
    if (!p->colorCount) p->colorPerVertex = 0;
    if (!p->texCoordIndexCount) p->textureIndex = TEXTURE_NONE;
    if (!indicesInRange(p->coordIndex, p->coordIndexCount, p->coordCount, "coordIndex") ||
        !indicesInRange(p->normalIndex, p->normalIndexCount, p->normalCount, "normalIndex") ||
        !indicesInRange(p->colorIndex, p->colorIndexCount, p->colorCount, "colorIndex") ||
        !indicesInRange(p->texCoordIndex, p->texCoordIndexCount, p->texCoordCount, "texCoordIndex"))
      return VRML_STOP_BAD_DATA;
    if (p->colorPerVertex == 2 && p->colorCount < faceCount(p)) {
      vrmlReaderError(formatText("%d colours for %d faces", p->colorCount, faceCount(p)).c_str());
      return VRML_STOP_BAD_DATA;
    }
  }
  if (p->normalIndexCount == 0) p->flags |= POLY_NO_NORMALS;
  if (!p->texCoordIndexCount && p->textureIndex == TEXTURE_NONE) p->flags |= POLY_NO_TEXTURE;

  ObjectNode *node = currentObjectNode;
  if (node) {
    if (node->handle == 0 && (p->flags & POLY_SPHERE)) {
      node->handle = -p->radius;
      node->flags |= NODE_SPHERICAL;
    }
    if (node->type == OBJECT_TYPE_BALL) node->flags |= NODE_SPHERICAL;
  }
  p->flags |= POLY_COMPLETE;
  vrmlReader.colourOptions = 0;
  return 0;
}

// ---- loading -------------------------------------------------------------------------------------

// Model and Inline files are read whole, through their links, from regular files only: a FIFO
// never waits.
static bool readModelFile(const std::string &path, std::string &text) {
  return readRegularFile(path.c_str(), text, MAX_MODEL_FILE_SIZE) == READ_FILE_OK;
}

static int parseText(const std::string &text, const std::string &name) {
  vrmlReader.fileName = name;
  vrmlReader.line = 1;
  vrmlReader.headerSeen = 0;
  vrmlReader.stopCode = 0;
  vrmlScanText(text);
  int result = vrmlParse();
  if (result == 0 && vrmlReader.error) result = 1;
  if (result != 0 && vrmlReader.stopCode) result = vrmlReader.stopCode;
  return result;
}

// A failed load leaves the scene, the figure count and the Inline list as they were before it.
struct LoadMark {
  ObjectNode *last;
  int figures;
  int counter;
};

static int undoLoad(const LoadMark &mark) {
  vrmlInlineList(BUFFER_EMPTY, nullptr, nullptr, nullptr);
  freeNodesAfter(mark.last);
  if (figuresLoaded > mark.figures && mark.figures >= 0 && mark.figures < MAX_FIGURES)
    invKinTable[mark.figures] = InvKinRecord{};
  figuresLoaded = mark.figures;
  vrmlNodeCounter = mark.counter;
  currentObjectNode = mark.last;
  currentPolyNode = nullptr;
  fileRootNode = nullptr;
  vrmlReader.inlineMode = 0;
  return VRML_FAILED;
}

static void placeFigure(double x, double y, double z, double heading) {
  double a = heading / 57.29577951;
  double dx = -0.4 * cos(a), dy = -0.4 * sin(a);
  if (heading == 0) dx = -0.4, dy = 0;
  if (figuresLoaded >= 0 && figuresLoaded < MAX_JUGGLERS) {
    QuoitPosRecord &pos = quoitPos[figuresLoaded];
    const double position[3] = {x, y, z}, reference[3] = {x + dx, y + dy, z + 1.2};
    for (int i = 0; i < 3; i++) {
      pos.position[i] = pos.base[i] = position[i];
      pos.reference[i] = reference[i];
    }
  }
  figuresLoaded++;
}

static void turnAndMove(double point[3], double a, double x, double y, double z) {
  Punkt_drehen(point, a);
  point[0] += x;
  point[1] += y;
  point[2] += z;
}

// An Inline file is looked for as named, then in the including model's directory. One that stands
// at either name but cannot be read is said with its reason.
static bool readInlineFile(const char *model, const char *inlineName, std::string &name, std::string &text) {
  name = inlineName;
  if (readModelFile(name, text)) return true;
  int error = errno;
  std::string second = std::string(directoryOfPath(model)) + inlineName;
  if (readModelFile(second, text)) {
    name = second;
    return true;
  }
  if (error != ENOENT) reportUnreadableModel(name, error);
  else if (errno != ENOENT) reportUnreadableModel(second, errno);
  else reportModelProblem(name, formatText("Files %s and %s not found.\n", inlineName, second.c_str()));
  return false;
}

static int readInlineFiles(const char *path) {
  for (int i = 0; i < inlineCount; i++) {
    InlineEntry entry = inlineList[i];
    std::string name, text;
    if (!readInlineFile(path, entry.name, name, text)) return VRML_FAILED;
    vrmlReader.inlineMode = 1;
    currentObjectNode = entry.object;
    setCurrentPolyNode(entry.poly);
    int result = parseText(text, name);
    vrmlReader.inlineMode = 0;
    if (result != 0) return VRML_FAILED;
  }
  return 0;
}

int loadVRMLFile(const char *rawPath, int number, double x, double y, double z, double heading, int how) {
  if (readerReady()) return VRML_FAILED;
  std::string path = backslashToSlash(std::string(rawPath ? rawPath : ""));
  std::string text;
  if (!readModelFile(path, text)) {
    reportUnreadableModel(path, errno);
    if (how & VRML_FIGURE) return VRML_FAILED;
    path = "v/dunno.wrl";
    if (!readModelFile(path, text)) {
      reportUnreadableModel(path, errno);
      return VRML_FAILED;
    }
  }
  LoadMark mark = {lastListNode(*activeSceneList()), figuresLoaded, vrmlNodeCounter};
  int figure = -1;
  if (how & VRML_FIGURE) {
    figure = figuresLoaded;
    placeFigure(x, y, z, heading);
    if (figure < MAX_FIGURES) invKinTable[figure] = InvKinRecord{};
  }
  if (AllocObjectNode(path.c_str(), loadedObjectCount, LINK_TOP_LEVEL)) return undoLoad(mark);
  ObjectNode *root = currentObjectNode;
  if (how & VRML_JUGGLED) root->flags |= NODE_TAKES_CHOOSER_MODEL;
  clearColourCaches();
  vrmlReader.error = 0;
  vrmlReader.inlineMode = 0;
  vrmlReader.jointProto = 0;
  vrmlReader.colourOptions = 0;
  vrmlReader.figure = figure < MAX_FIGURES ? figure : -1;
  for (int &keyword : vrmlReader.jointKeywords) keyword = -1;
  qPROTObuffer(BUFFER_EMPTY);
  vrmlInlineList(BUFFER_EMPTY, nullptr, nullptr, nullptr);
  fileRootNode = root;
  if (parseText(text, path) != 0) return undoLoad(mark);
  if (how & VRML_FIGURE) {
    root->objectIndex = firstObjectInstance;
    root->position[0] = x;
    root->position[1] = y;
    root->position[2] = z;
    root->angles[0] = root->angles[1] = 0;
    root->angles[2] = heading;
    root->letter = 0;
    if (vrmlReader.figure >= 0) {
      InvKinRecord &record = invKinTable[vrmlReader.figure];
      double a = heading / 57.29577951;
      turnAndMove(record.head, a, x, y, z);
      turnAndMove(record.leftShoulder, a, x, y, z);
      turnAndMove(record.rightShoulder, a, x, y, z);
    }
  }
  if (readInlineFiles(path.c_str()) != 0) return undoLoad(mark);
  vrmlInlineList(BUFFER_EMPTY, nullptr, nullptr, nullptr);
  for (ObjectNode *n = root; n; n = n->next) defineVRMLDisplayLists(n, VRML_COMPILE);
  currentObjectNode = root;
  fileRootNode = root;
  if (Fill_objekt_geladen(path.c_str(), number, how, 17, 17, root) != 0) return undoLoad(mark);
  return VRML_LOADED;
}

// The model's first node in the scene, then in the chooser's list.
static ObjectNode *firstNodeOfModel(int index) {
  for (ObjectNode *list : {qScene, qScene_CO})
    for (ObjectNode *n = list; n; n = n->next)
      if (n->objectIndex == index) return n;
  return nullptr;
}

int loadObjectByName(const char *name, const double position[3], double ax, double ay, double az, int flags) {
  if (!name || !name[0]) return 260;
  int i = findLoadedObject(name);
  ObjectNode *model = i >= 0 ? firstNodeOfModel(i) : nullptr;
  ObjectNode *node;
  if (!model) {
    i = loadedObjectCount;
    if (loadVRMLFile(name, i, 0, 0, 0, 0, VRML_SCENE_OBJECT) == VRML_FAILED) return 260;
    node = model = currentObjectNode;
  } else if (model->flags & NODE_HIDDEN) {
    model->flags &= ~NODE_HIDDEN;
    node = model;
  } else {
    if (AllocObjectNode(name, i, LINK_TOP_LEVEL)) return 260;
    node = currentObjectNode;
  }
  node->flags |= uint32_t(flags);
  const double angles[3] = {ax, ay, az};
  for (int k = 0; k < 3; k++) {
    node->position[k] = position[k];
    node->angles[k] = angles[k] * 57.29577951;
  }
  node->displayList = model->displayList;
  node->shadowList = model->shadowList;
  return 0;
}

// Lists are names in the context they were made in; without a current context (no window) there
// is nothing to delete, and a GL call would have no context to act on.
static void deleteOwnLists(ObjectNode *node) {
  for (int32_t &list : node->ownLists) {
    if (list > 0 && glIsList(GLuint(list))) glDeleteLists(GLuint(list), 1);
    list = 0;
  }
}

void deleteVRMLDisplayLists(ObjectNode *first) {
  bool any = false;
  int walked = 0;
  for (const ObjectNode *n = first; n && !any && walked++ < MAX_NODES_WALKED; n = n->next)
    any = n->ownLists[0] > 0 || n->ownLists[1] > 0;
  if (!any) return;
  if (qWindowIds[WIN_3D]) windowCalls.setWindow(qWindowIds[WIN_3D]);
  bool current = glXGetCurrentContext() != nullptr;
  walked = 0;
  for (ObjectNode *n = first; n && walked++ < MAX_NODES_WALKED; n = n->next) {
    if (current) deleteOwnLists(n);
    n->ownLists[0] = n->ownLists[1] = 0;
  }
}

void defineVRMLDisplayLists(ObjectNode *node, int source) {
  if (!node) return;
  windowCalls.setWindow(qWindowIds[WIN_3D]);  // the lists belong to the 3D window's context
  if (source == VRML_COMPILE) {
    if (glXGetCurrentContext()) deleteOwnLists(node);  // compiled again: the old lists go
    node->displayList = node->ownLists[0] = qGlDefineGLVRMLObject(node, 0x1000);
    node->shadowList = node->ownLists[1] = qGlDefineGLVRMLObject(node, 0x4000);
    return;
  }
  if (source < 0 || source >= loadedObjectCount || !objekt_geladen || !currentObjectNode) return;
  const ObjectNode *model = firstNodeOfModel(source);
  if (!model) return;
  currentObjectNode->displayList = model->displayList;
  currentObjectNode->shadowList = model->shadowList;
}

void placeLastObjectNode(int instance, const double position[3], const double angles[3]) {
  ObjectNode *node = fileRootNode;
  if (!node) return;
  node->objectIndex = instance;
  for (int i = 0; i < 3; i++) {
    node->position[i] = position[i];
    node->angles[i] = angles[i];
  }
}
