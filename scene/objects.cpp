// Object models: reads the system's own object files into packed shapes, keeps the loaded-object
// table, the instance list with its origins, and loads the pattern's juggled objects.
#include "scene/objects.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <strings.h>

#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/Tcl.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "core/vecmath.h"
#include "pattern/store.h"
#include "scene/figures.h"
#include "scene/textread.h"
#include "scene/vrml/modeltree.h"

LoadedObject *objekt_geladen;
int loadedObjectCount;
int objectInstanceCount;
InstanceOrigin *instanceOrigins;
int16_t *objbuf;
int16_t *objectShapesOwned[LOO_MAX];
int16_t chooserModels[LOO_MAX + 1] = {-1};
int handPointCount[MAX_FIGURES];
int headPointCount[MAX_FIGURES];
double handTemplate[MAX_FIGURES][MAX_HAND_POINTS][3];
const char MODEL_LIST_MISSING[] = "list_of_objects is missing";

static const char *const objectList = "list_of_objects";

// ---- tables -----------------------------------------------------------------------------------

int allocObjectBuffers() {
  if (!objbuf) {
    objbuf = static_cast<int16_t *>(qAlloc(OBJBUF_SIZE));
    if (!objbuf) {
      qMsg(QMSG_INFO, localText(90), "objbuf");
      return 32;
    }
  }
  if (!objekt_geladen) {
    objekt_geladen = static_cast<LoadedObject *>(qAlloc(OBJECT_RECORDS * sizeof(LoadedObject)));
    if (!objekt_geladen) {
      qMsg(QMSG_INFO, localText(90), "objekt_geladen[] list");
      return 33;
    }
    resetObjectTable();
  }
  return 0;
}

void freeObjectBuffers() {
  freeObjectShapes();
  if (objbuf) qFree(objbuf, OBJBUF_SIZE);
  if (objekt_geladen) qFree(objekt_geladen, OBJECT_RECORDS * sizeof(LoadedObject));
  if (instanceOrigins) qFree(instanceOrigins, (INSTANCE_MAX + 1) * sizeof(InstanceOrigin));
  objbuf = nullptr;
  objekt_geladen = nullptr;
  instanceOrigins = nullptr;
}

// The model files this pattern has said something about.
static std::set<std::string> modelProblemsSaid;

void reportModelProblem(const std::string &path, const std::string &text) {
  if (modelProblemsSaid.insert(path).second) qMsg(QMSG_ERROR, "%s", text.c_str());
}

void reportUnreadableModel(const std::string &path, int error) {
  reportModelProblem(path, formatText(localText(33), path.c_str(), fileErrorReason(error)));
}

void resetObjectTable() {
  modelProblemsSaid.clear();
  for (auto &entry : objectInstanceList) entry = -1;
  loadedObjectCount = 0;
  objectInstanceCount = 0;
  firstObjectInstance = 0;
  if (objekt_geladen) objekt_geladen[0].elementCount = -1;
}

void freeObjectShapes() {
  for (int i = 0; i < LOO_MAX; i++) {
    if (objectShapesOwned[i]) qFree(objectShapesOwned[i], shapeBytes(objectShapesOwned[i]));
    objectShapesOwned[i] = nullptr;
    objectShapes[i] = nullptr;
  }
}

// The size word holds up to 50,000 bytes, so it is read as unsigned 16 bits.
unsigned shapeBytes(const int16_t *shape) { return uint16_t(shape[SHAPE_SIZE]); }

static void reportLimit(const char *where, const char *limit) { qMsg(QMSG_ERROR, localText(49), where, limit); }

int Objektnummer_eintragen(int index) {
  int i = 0;
  while (i < INSTANCE_MAX && objectInstanceList[i] != -1) i++;
  if (i >= INSTANCE_MAX) {
    reportLimit("Objektnummer_eintragen", "LOO_MAX");
    return -1;
  }
  objectInstanceList[i] = int16_t(index);
  objectInstanceList[i + 1] = -1;
  objectInstanceCount++;
  return index;
}

int Fill_objekt_geladen(const char *name, int number, int flags, int pointCount, int elementCount, ObjectNode *node) {
  int i = 0;
  while (i < INSTANCE_MAX && objectInstanceList[i] != -1) i++;
  if (i >= INSTANCE_MAX - 1 || loadedObjectCount >= LOO_MAX || !objekt_geladen) {
    reportLimit("Fill_objekt_geladen", "LOO_MAX");
    return -1;
  }
  objectInstanceList[i] = int16_t(loadedObjectCount);
  objectInstanceList[i + 1] = -1;
  if (flags & OBJ_JUGGLED) flags |= OBJ_CHOOSABLE;
  if (!qPrefs.vrml && (flags & OBJ_FIGURE)) flags |= OBJ_RECOMPILE;
  flags |= OBJ_NEW_LIST;
  LoadedObject &e = objekt_geladen[loadedObjectCount];
  snprintf(e.name, sizeof e.name, "%s", name);
  e.objektnummer = (flags & OBJ_FIGURE) ? figuresLoaded - 1 : number;
  e.pointCount = pointCount;
  e.elementCount = elementCount;
  e.flags = flags;
  e.displayList = 0;
  e.node = node;
  e.vertexTotal = qPrefs.vrml && currentObjectNode ? currentObjectNode->vertexTotal : 0;
  e.faceTotal = qPrefs.vrml && currentObjectNode ? currentObjectNode->faceTotal : 0;
  objekt_geladen[loadedObjectCount + 1].elementCount = -1;
  loadedObjectCount++;
  objectInstanceCount++;
  return 0;
}

int findLoadedObject(const char *name) {
  if (!objekt_geladen) return -1;
  for (int i = 0; i < loadedObjectCount && objekt_geladen[i].elementCount != -1; i++)
    if (!(objekt_geladen[i].flags & OBJ_RANDOM_COLOURS) && strcasecmp(objekt_geladen[i].name, name) == 0) return i;
  return -1;
}

// ---- random colours ---------------------------------------------------------------------------

int stickyRandom(int range, int slot) {
  static int slots[STICKY_SLOTS];
  if (slot == -1) {
    for (int &s : slots) s = 0;
    return 0;
  }
  if (slot < 1 || slot > STICKY_SLOTS) {
    qMsg(QMSG_ERROR, localText(123), slot, STICKY_SLOTS);
    return 0;
  }
  if (range <= 1) return 0;
  int &value = slots[slot - 1];
  while (value == 0) {
    int v = int(random01() * range);
    if (v != 0 && v != 8 && v < range) value = v;
  }
  return value;
}

// ---- reading an object file ---------------------------------------------------------------------

int Zahl_lesen(FILE *file) {
  int value = 0;
  return readBaseWord(file, &value) ? value : 0;
}

namespace {

// Failures of the object file reader: a format error (its text number), an index error (already
// reported) or a shape that does not fit the scratch buffer.
enum { READ_OK = 0, INDEX_ERROR = -1, TOO_LARGE = -2 };

struct ObjectReader {
  FILE *file;
  const char *name;
  int points;
  int pos;
  bool full;
  bool randomColour;
  int polygonVertices;
};

bool put(ObjectReader &r, long value) {
  if (r.pos >= OBJBUF_SIZE / 2) {
    r.full = true;
    return false;
  }
  if (value > 32767) value = 32767;
  if (value < -32768) value = -32768;
  objbuf[r.pos++] = int16_t(value);
  return true;
}

// Packs two bytes into one word, the high byte first.
long packBytes(int high, int low) { return int16_t(uint16_t(((high & 0xff) << 8) | (low & 0xff))); }

long millimetres(double metres) {
  double mm = std::trunc(metres * 1000);
  return mm > 32767 ? 32767 : mm < -32768 ? -32768 : long(mm);
}

std::string textWithoutNewline(int n) {
  std::string s = localText(n);
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

void reportIndexError(const ObjectReader &r, int where, int number) {
  std::string head = formatText(textWithoutNewline(108).c_str(), r.name);
  std::string place = number > 0 ? formatText(localText(where), number) : std::string(localText(where));
  qMsg(QMSG_ERROR, "%s %s", head.c_str(), place.c_str());
}

// Reads one point index and checks it against the point count.
int readIndex(ObjectReader &r, int *index, int formatError, int where, int number) {
  if (!readInt(r.file, index)) return formatError;
  if (*index < 0 || *index >= r.points) {
    reportIndexError(r, where, number);
    return INDEX_ERROR;
  }
  return READ_OK;
}

// A colour of a triangle, polygon or sphere: -k takes random colour slot k.
int resolveColour(ObjectReader &r, int colour, int *out) {
  if (colour >= 0) {
    *out = colour;
    return READ_OK;
  }
  if (colour < -STICKY_SLOTS) {
    qMsg(QMSG_ERROR, localText(123), -colour, STICKY_SLOTS);
    return INDEX_ERROR;
  }
  *out = stickyRandom(16, -colour);
  r.randomColour = true;
  return READ_OK;
}

struct Header {
  double radius = 0;
  int rotation = 0;
  int hands = 0, heads = 0;
  bool radiusGiven = false, figurePoints = false;
};

int readHeader(FILE *f, Header &h) {
  for (;;) {
    int c = getc(f);
    switch (c) {
      case EOF: return 104;
      case ' ': case '\t': case '\n': case '\r': break;
      case '!': case '%': skipLine(f); break;
      case '*': return READ_OK;
      case 'g':
        getc(f);
        if (!readReal(f, &h.radius)) return 104;
        h.radiusGiven = true;
        break;
      case 'h': case 'k': {
        getc(f);
        int value;
        if (!readInt(f, &value)) return 104;
        (c == 'h' ? h.hands : h.heads) = value;
        h.rotation = -1;
        h.figurePoints = true;
        break;
      }
      case 'r':
        getc(f);
        if (!readInt(f, &h.rotation)) return 104;
        break;
      default:
        if (isdigit(c)) {
          ungetc(c, f);
          return READ_OK;
        }
        getc(f);
        skipWord(f);
    }
  }
}

int readPoints(ObjectReader &r) {
  char word[32];
  if (!readInt(r.file, &r.points) || r.points < 0 || !readWord(r.file, word, sizeof word) || word[0] != 'P') return 105;
  skipLine(r.file);
  put(r, r.points);
  for (int i = 0; i < r.points; i++) {
    double p[3];
    for (double &v : p)
      if (!readReal(r.file, &v)) return 106;
    skipLine(r.file);
    for (double v : p) put(r, millimetres(v));
    if (r.full) return TOO_LARGE;
  }
  return READ_OK;
}

int readLines(ObjectReader &r, int count) {
  for (int i = 0; i < count; i++) {
    int colour, width, p1, p2, e;
    if (!skipTo(r.file, '(') || !readBaseWord(r.file, &colour) || !readInt(r.file, &width)) return 107;
    skipClosing(r.file);
    if ((e = readIndex(r, &p1, 107, 109, 0)) || (e = readIndex(r, &p2, 107, 109, 0))) return e;
    put(r, packBytes(width, colour));
    put(r, p1);
    put(r, p2);
    if (r.full) return TOO_LARGE;
  }
  return READ_OK;
}

int readTriangles(ObjectReader &r, int count) {
  for (int i = 0; i < count; i++) {
    int c1, c2, attribute, p[3], e;
    if (!skipTo(r.file, '(') || !readInt(r.file, &c1) || !readInt(r.file, &c2) || !readInt(r.file, &attribute))
      return 110;
    skipClosing(r.file);
    for (int &index : p)
      if ((e = readIndex(r, &index, 110, 111, 0))) return e;
    if ((e = resolveColour(r, c1, &c1)) || (e = resolveColour(r, c2, &c2))) return e;
    put(r, packBytes(c1, c2));
    put(r, attribute);
    for (int index : p) put(r, index);
    if (r.full) return TOO_LARGE;
  }
  return READ_OK;
}

// Reads point indices up to and including the first repeat of the first one; returns the count
// without the repeat in *n.
int readIndexLoop(ObjectReader &r, int *n, int where, int number) {
  int first = -1, index, e;
  *n = 0;
  for (;;) {
    if ((e = readIndex(r, &index, 119, where, number))) return e;
    put(r, index);
    if (r.full) return TOO_LARGE;
    if (*n > 0 && index == first) return READ_OK;
    if (*n == 0) first = index;
    (*n)++;
  }
}

// One polygon entry (qReadPolygon): colours, attribute and attached count in parentheses, the
// outline, an optional hole list after '-'. An attached polygon has no attached polygons of its own.
int qReadPolygon(ObjectReader &r, int number, bool attached, int *attachedCount) {
  int values[4], got = 0, e;
  if (!skipTo(r.file, '(')) return 118;
  while (got < 4 && readIntBefore(r.file, ')', &values[got])) got++;
  if (got < 3 || !skipClosing(r.file)) return 118;
  int h = got == 4 ? values[3] : 0;
  if (h < 0 || (attached && h != 0)) return 118;
  int c1, c2;
  if ((e = resolveColour(r, values[0], &c1)) || (e = resolveColour(r, values[1], &c2))) return e;
  int where = attached ? 120 : 121;
  put(r, packBytes(c1, c2));
  put(r, values[2]);
  int countsAt = r.pos;
  put(r, 0);
  put(r, 0);
  put(r, h);
  int n, m = 0;
  if ((e = readIndexLoop(r, &n, where, number))) return e;
  if (n < 3) return 119;
  if (peekAfterSpace(r.file) == '-') {
    getc(r.file);
    if ((e = readIndexLoop(r, &m, where, number))) return e;
    if (m < 1) return 119;
  }
  if (r.full) return TOO_LARGE;
  objbuf[countsAt] = int16_t(n);
  objbuf[countsAt + 1] = int16_t(m);
  r.polygonVertices += n + m;
  *attachedCount = h;
  return READ_OK;
}

int readPolygons(ObjectReader &r, int count) {
  for (int i = 0; i < count; i++) {
    int h, unused, e;
    if ((e = qReadPolygon(r, i + 1, false, &h))) return e;
    for (int j = 0; j < h; j++)
      if ((e = qReadPolygon(r, j + 1, true, &unused))) return e;
  }
  return READ_OK;
}

int readSpheres(ObjectReader &r, int count, int *firstColour) {
  for (int i = 0; i < count; i++) {
    int colour, second, centre, e;
    double radius;
    if (!skipTo(r.file, '(') || !readInt(r.file, &colour) || !readInt(r.file, &second)) return 112;
    skipClosing(r.file);
    if ((e = readIndex(r, &centre, 112, 113, i + 1))) return e;
    if (!readReal(r.file, &radius)) return 112;
    if ((e = resolveColour(r, colour, &colour))) return e;
    if (i == 0) *firstColour = colour;
    put(r, colour);
    put(r, second);
    put(r, centre);
    put(r, millimetres(radius));
    if (r.full) return TOO_LARGE;
  }
  return READ_OK;
}

// The sections in their fixed order; a head that does not name a section is offered to the next.
struct SectionCounts {
  int lines = 0, triangles = 0, polygons = 0, spheres = 0, firstSphereColour = -1;
};

int readSections(ObjectReader &r, SectionCounts &counts) {
  static const char *const keys[4][2] = {{"LINI", "LINE"}, {"DREI", "TRIA"}, {"N-EC", "POLY"}, {"KUGE", "SPHE"}};
  static const int countErrors[4] = {107, 110, 118, 112};
  int *targets[4] = {&counts.lines, &counts.triangles, &counts.polygons, &counts.spheres};
  int count = 0;
  char word[8];
  bool head = readInt(r.file, &count) && readWord(r.file, word, sizeof word);
  for (int s = 0; s < 4; s++) {
    bool match = head && (strncmp(word, keys[s][0], 4) == 0 || strncmp(word, keys[s][1], 4) == 0);
    if (!match) {
      put(r, 0);
      continue;
    }
    if (count < 0) return countErrors[s];
    *targets[s] = count;
    put(r, count);
    int e = s == 0 ? readLines(r, count)
            : s == 1 ? readTriangles(r, count)
            : s == 2 ? readPolygons(r, count)
                     : readSpheres(r, count, &counts.firstSphereColour);
    if (e) return e;
    head = readInt(r.file, &count) && readWord(r.file, word, sizeof word);
  }
  return r.full ? TOO_LARGE : READ_OK;
}

// A model that cannot be read is said, and the unknown model of its directory stands in.
FILE *openModelFile(const std::string &name) {
  FILE *f = openRegularFile(name.c_str());
  if (f) return f;
  reportUnreadableModel(name, errno);
  size_t slash = name.rfind('/');
  std::string fallback = (slash == std::string::npos ? std::string() : name.substr(0, slash + 1)) + "dunno";
  f = openRegularFile(fallback.c_str());
  if (!f) reportUnreadableModel(fallback, errno);
  return f;
}

void placeFigure(int f, double x, double y, double z, double heading, const InstanceOrigin &o) {
  double dx = heading == 0 ? -0.4 : -0.4 * cos(heading);
  double dy = heading == 0 ? 0 : -0.4 * sin(heading);
  QuoitPosRecord &q = quoitPos[f];
  q.position[0] = x;
  q.position[1] = y;
  q.position[2] = z;
  q.reference[0] = o.x * 0.001 + dx;
  q.reference[1] = o.y * 0.001 + dy;
  q.reference[2] = o.z * 0.001 + 1.2;
  q.base[0] = o.x * 0.001;
  q.base[1] = o.y * 0.001;
  q.base[2] = o.z * 0.001;
}

// Reads the whole file into objbuf; returns READ_OK, a format-error text, INDEX_ERROR or TOO_LARGE.
int readObjectFile(ObjectReader &r, Header &header, SectionCounts &counts) {
  int e = readHeader(r.file, header);
  if (e) return e;
  put(r, 0);
  put(r, 6);
  put(r, header.rotation);
  put(r, 0);
  put(r, millimetres(header.radius));
  if ((e = readPoints(r)) || (e = readSections(r, counts))) return e;
  return r.full ? TOO_LARGE : READ_OK;
}

}  // namespace

// Only the model directory "o/" becomes "v/"; any other name keeps its path.
std::string vrmlModelPath(const std::string &name) {
  if (name.compare(0, 2, "o/") == 0) return "v" + name.substr(1) + ".wrl";
  return name + ".wrl";
}

int Objektdatei_laden(const char *rawName, int number, double x, double y, double z, double heading, int flags) {
  std::string name = backslashToSlash(std::string(rawName ? rawName : ""));
  if (qPrefs.vrml) return loadVRMLFile(vrmlModelPath(name).c_str(), number, x, y, z, heading, flags);
  if (name.size() >= MODEL_NAME_SIZE) {
    qMsg(QMSG_ERROR, localText(124), name.c_str(), MODEL_NAME_SIZE - 1);
    return LOAD_FAILED;
  }
  if (allocObjectBuffers()) return LOAD_FAILED;
  if (loadedObjectCount >= LOO_MAX) {
    std::string format = textWithoutNewline(101) + " ";
    format += localText(102);
    qMsg(QMSG_ERROR, format.c_str(), LOO_MAX);
    return LOAD_FAILED;
  }
  if (objectInstanceCount >= INSTANCE_MAX) {
    reportLimit("Objektdatei_laden", "LOO_MAX");
    return LOAD_FAILED;
  }
  bool figure = flags & OBJ_FIGURE;
  if (figure && figuresLoaded >= MAX_FIGURES) {
    qMsg(QMSG_ERROR, localText(751), MAX_FIGURES);
    return LOAD_FAILED;
  }
  heading /= 57.29577951;
  stickyRandom(0, -1);
  if (!instanceOrigins) {
    instanceOrigins = static_cast<InstanceOrigin *>(qAlloc((INSTANCE_MAX + 1) * sizeof(InstanceOrigin)));
    if (!instanceOrigins) {
      printf("\n");
      return LOAD_FAILED;
    }
  }
  InstanceOrigin &origin = instanceOrigins[objectInstanceCount];
  origin = {int16_t(millimetres(x)), int16_t(millimetres(y)), int16_t(millimetres(z)),
            encodeAngle(heading)};
  if (!figure) {
    int i = findLoadedObject(name.c_str());
    if (i >= 0) return Objektnummer_eintragen(i);
  }
  ObjectReader r{openModelFile(name), name.c_str(), 0, 0, false, false, 0};
  if (!r.file) return LOAD_FAILED;
  Header header;
  SectionCounts counts;
  int e = readObjectFile(r, header, counts);
  fclose(r.file);
  if (e == READ_OK && figure &&
      (header.hands < 0 || header.hands > MAX_HAND_POINTS || header.heads < 0 || 2 * header.hands + header.heads > r.points))
    e = 115;
  if (e == TOO_LARGE) qMsg(QMSG_ERROR, localText(114), name.c_str());
  if (e > 0) {
    std::string specific = textWithoutNewline(e);
    qMsg(QMSG_ERROR, localText(117), name.c_str(), specific.c_str());
  }
  if (e != READ_OK) return LOAD_FAILED;

  if (counts.firstSphereColour >= 0) objbuf[SHAPE_COLOUR] = int16_t(counts.firstSphereColour);
  if (!header.radiusGiven && !header.figurePoints && counts.lines == 0 && counts.triangles == 0 &&
      counts.polygons == 0 && counts.spheres == 1) {
    int16_t radius = objbuf[r.pos - 1];
    objbuf[SHAPE_RADIUS] = int16_t(-radius);
    objbuf[SHAPE_FLAGS] |= SHAPE_SINGLE_SPHERE;
  }
  unsigned bytes = unsigned(r.pos) * 2;
  int16_t *block = static_cast<int16_t *>(qAlloc(bytes));
  if (!block) {
    qMsg(QMSG_ERROR, localText(90), name.c_str());
    return LOAD_FAILED;
  }
  memcpy(block, objbuf, bytes);
  block[SHAPE_SIZE] = int16_t(uint16_t(bytes));
  int slot = loadedObjectCount;
  if (objectShapesOwned[slot]) qFree(objectShapesOwned[slot], shapeBytes(objectShapesOwned[slot]));
  objectShapes[slot] = objectShapesOwned[slot] = block;

  if (figure) {
    int f = figuresLoaded;
    placeFigure(f, x, y, z, heading, origin);
    figuresLoaded++;
    handPointCount[f] = header.hands;
    headPointCount[f] = header.heads;
    centerObjectModel(block + SHAPE_POINTS, f);
  }
  if (r.randomColour) flags |= OBJ_RANDOM_COLOURS;
  int elements = 3 * counts.triangles + counts.lines + r.polygonVertices + counts.spheres;
  if (Fill_objekt_geladen(name.c_str(), number, flags, r.points, elements, nullptr)) {
    qFree(block, bytes);
    objectShapes[slot] = objectShapesOwned[slot] = nullptr;
    return LOAD_FAILED;
  }
  return LOAD_ENTERED;
}

void centerObjectModel(const int16_t *points, int figure) {
  if (figure < 0 || figure >= MAX_FIGURES) return;
  int n = handPointCount[figure];
  double maxX = -100, minX = 100, maxY = -100, minY = 100, maxZ = -100;
  for (int i = 0; i < n; i++) {
    double *t = handTemplate[figure][i];
    for (int k = 0; k < 3; k++) t[k] = points[3 * i + k] * 0.001;
    maxX = fmax(maxX, t[0]);
    minX = fmin(minX, t[0]);
    maxY = fmax(maxY, t[1]);
    minY = fmin(minY, t[1]);
    maxZ = fmax(maxZ, t[2]);
  }
  for (int i = 0; i < n; i++) {
    double *t = handTemplate[figure][i];
    t[0] -= (maxX + minX) / 2;
    t[1] -= (maxY + minY) / 2;
    t[2] -= maxZ;
  }
}

// ---- the list of object models ----------------------------------------------------------------

// A list line "<number>: <name>"; false unless both are there.
static bool parseListLine(const std::string &line, int *number, std::string &name) {
  const char *s = line.c_str();
  char *end;
  long value = strtol(s, &end, 10);
  if (end == s || value < -32768 || value > 32767) return false;
  const char *colon = strchr(end, ':');
  if (!colon) return false;
  const char *word = colon + 1;
  while (*word == ' ' || *word == '\t') word++;
  size_t length = strcspn(word, " \t\r\n");
  if (length == 0) return false;
  *number = int(value);
  name = backslashToSlash(std::string(word, length));
  return true;
}

int AlleObjekteLaden() {
  const char *status = localText(300);
  qStatusText(status, 3, 0x502);
  if (!qPrefs.homeDirectory.empty()) qChdir(qPrefs.homeDirectory.c_str());
  FILE *list = openRegularFile(objectList);
  if (!list) {
    qMsg(QMSG_ERROR, localText(40), objectList);
    return 1;
  }
  int count = 0;
  std::string line, name;
  while (readLine(list, line, 99)) {
    int number;
    if (!parseListLine(line, &number, name) || number == -1) continue;
    if (count >= LOO_MAX) {
      reportLimit("AlleObjekteLaden(1)", "LOO_MAX");
      fclose(list);
      chooserModels[count] = -1;
      return 250301;
    }
    int result = Objektdatei_laden(("o/" + name).c_str(), number, 0, 0, 0, 0, OBJ_CHOOSABLE);
    int entry = result == LOAD_ENTERED ? loadedObjectCount - 1 : result;
    if (entry >= 0) chooserModels[count++] = int16_t(entry);
  }
  fclose(list);
  chooserModels[count] = -1;
  return 0;
}

const char *objectModelFromList(int n) {
  static char result[MODEL_NAME_SIZE + 8];
  FILE *list = openRegularFile(objectList);
  if (!list) return MODEL_LIST_MISSING;
  std::string line, name;
  bool found = n >= 0;
  for (int i = 0; found && i < n; i++) found = readLine(list, line, 0);
  found = found && readLine(list, line, 0);
  fclose(list);
  int number;
  if (!found || !parseListLine(line, &number, name)) return nullptr;
  if (name.size() > MODEL_NAME_SIZE - 8) return nullptr;
  if (qPrefs.vrml) snprintf(result, sizeof result, "v/%s.wrl", name.c_str());
  else snprintf(result, sizeof result, "o/%s", name.c_str());
  return result;
}

int Objekte_laden() {
  for (int i = 0; objekt_geladen && i < loadedObjectCount; i++) objekt_geladen[i].flags &= ~OBJ_JUGGLED;
  for (int i = 0; i < objekte; i++) {
    if (i >= LOO_MAX || i >= MAX_OBJECTS) {
      qMsg(QMSG_ERROR, "%s", localText(714));
      return 11;
    }
    int m = objectModelNumber[i];
    const char *name = modelFileArgument.empty() ? objectModelFromList(m) : modelFileArgument.c_str();
    if (name == MODEL_LIST_MISSING) {
      qMsg(QMSG_ERROR, localText(40), objectList);
      return 13;
    }
    if (!name) {
      qMsg(QMSG_ERROR, localText(715), m);
      return 12;
    }
    std::string model = name;
    if (qPrefs.vrml) {
      if (loadVRMLFile(model.c_str(), m, 0, 0, 0, 0, OBJ_JUGGLED) == LOAD_FAILED) return 15;
    } else if (Objektdatei_laden(model.c_str(), m, 0, 0, 0, 0, OBJ_JUGGLED) == LOAD_FAILED) {
      return 14;
    }
  }
  return 0;
}

int loadedObjectNumber(int index) {
  return index >= 0 && index < loadedObjectCount ? objekt_geladen[index].objektnummer : -1;
}
