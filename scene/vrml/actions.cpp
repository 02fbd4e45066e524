// VRML node and field actions: what the parser does with each node and field it reads. Groups and
// Transforms nest through a stack, shapes fill polygon nodes, number lists go into the parse buffers, and
// the QUOITDATA options choose colours, textures and the object node's kind.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/utils.h"
#include "scene/geometry.h"
#include "scene/kinematics.h"
#include "scene/textures.h"
#include "scene/vrml/reader.h"
#include "core/vecmath.h"

VrmlReaderState vrmlReader;

// ---- messages ------------------------------------------------------------------------------------

void vrmlReaderError(const char *text) {
  qMsg(QMSG_ERROR, "Error in '%s' line %d: %s\n", vrmlReader.fileName.c_str(), vrmlReader.line, text);
  vrmlReader.error = 1;
}

void vrmlSyntaxError(const char *message) {
  vrmlReaderError(strstr(message, "exhausted") ? "parser stack overflow" : "parse error");
  vrmlInlineList(BUFFER_EMPTY, nullptr, nullptr, nullptr);
}

void vrmlNoHeader() { qMsg(QMSG_DEBUG, "%s is no legal VRML V2.0 file\n", vrmlReader.fileName.c_str()); }

void vrmlUnsupportedNode(const char *word) {
  qMsg(QMSG_ERROR, "VRML file %s: Node %s is not supported.\n", vrmlReader.fileName.c_str(), word);
}

void vrmlNamedNode(const char *kind) { qMsg(QMSG_DEBUG, localText(31), kind); }

void vrmlDroppedField(const char *field) { qMsg(QMSG_DEBUG, localText(745), field); }

// ---- nesting -------------------------------------------------------------------------------------

// One open Group or Transform: the object node that was current when it opened, its own polygon node,
// and the node its children go under (its own, or the first polygon node of the joint it made).
struct NestEntry {
  ObjectNode *outer;
  PolyNode *group;
  PolyNode *context;
};
static NestEntry nest[NEST_MAX + 1];
static int depth;

int beginVRMLObject(ObjectNode **listHead) {
  if (vrmlReader.inlineMode) {
    if (int code = AllocPolyNode(POLY_CHILD_UNCHAINED)) return code;
  } else if (!currentObjectNode) {
    if (int code = allocObjectNodeIn(listHead, "", 0, LINK_TOP_LEVEL)) return code;
  }
  currentPolyNode->flags |= POLY_CURRENT;
  vrmlReader.headerSeen = 1;
  nest[0] = {currentObjectNode, currentPolyNode, currentPolyNode};
  depth = 0;
  return 0;
}

int vrmlHeaderFound() { return beginVRMLObject(activeSceneList()); }

// A new polygon node among the children of the innermost open group.
static int placeNewNode() {
  PolyNode *context = nest[depth].context;
  if (!context) return VRML_STOP_NODE;
  setCurrentPolyNode(context);
  return AllocPolyNode(POLY_CHILD) ? VRML_STOP_NODE : 0;
}

int qProcessNode(int op) {
  switch (op) {
    case NEST_RESET:
      depth = 0;
      nest[0] = {currentObjectNode, currentPolyNode, currentPolyNode};
      return 0;
    case NEST_OPEN:
      if (depth + 1 >= NEST_MAX) {
        qMsg(QMSG_ERROR, localText(1200), "Process");
        return VRML_STOP_NODE;
      }
      if (placeNewNode()) return VRML_STOP_NODE;
      depth++;
      nest[depth] = {currentObjectNode, currentPolyNode, currentPolyNode};
      return 0;
    case NEST_CLOSE:
      if (depth <= 0) {
        qMsg(QMSG_DEBUG, localText(1201), "Process");
        return VRML_STOP_NODE;
      }
      currentObjectNode = nest[depth].outer;
      setCurrentPolyNode(nest[depth].group);
      depth--;
      return 0;
    default:
      qMsg(QMSG_DEBUG, localText(45), op, "qProcessNode");
      return 1;
  }
}

int vrmlJointStep() {
  ObjectNode *before = currentObjectNode;
  if (qCreateInvKinNode()) return VRML_STOP_NODE;
  if (currentObjectNode != before) nest[depth].context = currentPolyNode;
  return 0;
}

// ---- PROTO interfaces and IS references -----------------------------------------------------------

static char protoName[VRML_NAME_SIZE];

int vrmlProtoName(const char *name) {
  if (strlen(name) >= sizeof protoName) {
    vrmlReaderError("PROTO name longer than 199 characters");
    return VRML_STOP_LIMIT;
  }
  snprintf(protoName, sizeof protoName, "%s", name);
  return 0;
}

int vrmlProtoField(const char *name, int type, double a, double b, double c, double d) {
  if (protoFieldCount >= PROTO_FIELD_MAX) {
    vrmlReaderError("more than 100 PROTO fields in one file");
    return VRML_STOP_LIMIT;
  }
  if (strlen(name) >= VRML_NAME_SIZE) {
    vrmlReaderError("PROTO field name longer than 199 characters");
    return VRML_STOP_LIMIT;
  }
  ProtoField &field = protoFields[protoFieldCount++];
  snprintf(field.name, sizeof field.name, "%s", name);
  field.type = type;
  field.value[0] = a;
  field.value[1] = b;
  field.value[2] = c;
  field.angle = d;
  return 0;
}

struct ProtoRecord {
  char name[VRML_NAME_SIZE];
  int fieldCount;
  ProtoField *fields;
};
static ProtoRecord protos[PROTO_MAX];
static int protobuffercount;

int vrmlStoreProto() {
  if (protobuffercount >= PROTO_MAX) {
    qMsg(QMSG_ERROR, localText(90), "qVRML.protobuffercount");
    vrmlReader.error = 1;
    return VRML_STOP_LIMIT;
  }
  ProtoRecord &record = protos[protobuffercount];
  record.fields = nullptr;
  if (protoFieldCount > 0) {
    record.fields = static_cast<ProtoField *>(qAlloc(sizeof(ProtoField) * size_t(protoFieldCount)));
    if (!record.fields) {
      qMsg(QMSG_ERROR, localText(90), "qVRML");
      vrmlReader.error = 1;
      return VRML_STOP_LIMIT;
    }
    memcpy(record.fields, protoFields, sizeof(ProtoField) * size_t(protoFieldCount));
  }
  snprintf(record.name, sizeof record.name, "%s", protoName);
  record.fieldCount = protoFieldCount;
  protobuffercount++;
  return 0;
}

void freeProtos() {
  for (int i = 0; i < protobuffercount; i++) {
    if (protos[i].fields) qFree(protos[i].fields, sizeof(ProtoField) * size_t(protos[i].fieldCount));
    protos[i] = ProtoRecord{};
  }
  protobuffercount = 0;
}

int protoLookup(const char *name) {
  int j = 0;
  while (j < INVKIN_JOINTS && strcmp(invKinJointNames[j], name) != 0) j++;
  if (j == INVKIN_JOINTS) return 0;
  int slot = 0;
  while (slot < MAX_VRML_KEYWORDS && vrmlReader.jointKeywords[slot] >= 0) slot++;
  if (slot >= MAX_VRML_KEYWORDS) {
    qMsg(QMSG_DEBUG, "MAX_VRML_KEYWORDS exceeded #2\n");
    return 0;
  }
  vrmlReader.jointKeywords[slot] = j;
  PolyNode *p = currentPolyNode;
  for (int i = 0; i < protoFieldCount; i++) {
    const ProtoField &field = protoFields[i];
    if (strcmp(field.name, name) != 0) continue;
    if (field.type == PROTO_ROTATION) {
      for (int k = 0; k < 3; k++) p->rotationAxis[k] = field.value[k];
      p->rotationAngle = field.angle;
    } else if (field.type == PROTO_VECTOR) {
      for (int k = 0; k < 3; k++) p->translation[k] = field.value[k];
    } else {
      qMsg(QMSG_DEBUG, "not supported PROTO\n");
    }
  }
  return 0;
}

int vrmlIsReference(const char *name, int translation) {
  if (!currentPolyNode) return VRML_STOP_NODE;
  if (translation) currentPolyNode->flags |= POLY_TRANSLATION;
  protoLookup(name);
  vrmlReader.jointProto = 1;
  return 0;
}

// ---- transforms ----------------------------------------------------------------------------------

void vrmlRotation(double x, double y, double z, double angle) {
  PolyNode *p = currentPolyNode;
  p->rotationAxis[0] = x;
  p->rotationAxis[1] = y;
  p->rotationAxis[2] = z;
  p->rotationAngle = angle;
}

void vrmlScale(double x, double y, double z) {
  vrmlDroppedField("scale");
  fprintf(stderr, "xf=%f ", x);
  fprintf(stderr, "yf=%f ", y);
  fprintf(stderr, "zf=%f ", z);
}

void vrmlTranslation(double x, double y, double z) {
  PolyNode *p = currentPolyNode;
  p->flags |= POLY_TRANSLATION;
  p->translation[0] = x;
  p->translation[1] = y;
  p->translation[2] = z;
}

// ---- shapes and Inline files ---------------------------------------------------------------------

static void emptyParseLists() {
  for (ParseList &list : parseLists) list.count = 0;
}

int vrmlShapeWord() {
  PolyNode *context = nest[depth].context;
  bool fresh = currentPolyNode && currentPolyNode == context && !(context->flags & POLY_COMPLETE) && !context->child;
  if (!fresh && placeNewNode()) return VRML_STOP_NODE;
  emptyParseLists();
  return 0;
}

int vrmlInlineWord() {
  if (placeNewNode()) return VRML_STOP_NODE;
  emptyParseLists();
  return 0;
}

// A file named inside a model: relative to the home directory, never above it.
bool safeModelPath(const char *path) {
  if (!path[0] || path[0] == '/') return false;
  std::string name = path;
  for (size_t start = 0; start <= name.size();) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

int vrmlInlineUrl(const char *url) {
  std::string name = backslashToSlash(std::string(url));
  if (!safeModelPath(name.c_str())) {
    vrmlReaderError("an Inline file must be a relative path inside the home directory");
    return VRML_STOP_BAD_DATA;
  }
  if (name.find('/') == std::string::npos) name = "v/" + name;
  if (name.size() >= VRML_INLINE_NAME_SIZE) {
    vrmlReaderError("Inline file name longer than 299 characters");
    return VRML_STOP_LIMIT;
  }
  if (vrmlInlineList(INLINE_APPEND, name.c_str(), currentPolyNode, currentObjectNode) < 0) {
    qMsg(QMSG_ERROR, localText(49), "VRML Inline list", "30");
    vrmlReader.error = 1;
    return VRML_STOP_LIMIT;
  }
  if (vrmlReader.jointProto && currentObjectNode && currentObjectNode->objectIndex == -1)
    snprintf(currentObjectNode->name, sizeof currentObjectNode->name, "%s", name.c_str());
  return 0;
}

// ---- appearance ----------------------------------------------------------------------------------

static bool validShirt() { return currentShirt >= 0 && currentShirt < TSHIRT_COUNT; }

static void shirtColour(double colour[3]) {
  if (!validShirt()) return;
  colour[0] = qTShirt[currentShirt].red / 255.0;
  colour[1] = qTShirt[currentShirt].green / 255.0;
  colour[2] = qTShirt[currentShirt].blue / 255.0;
}

int textureURL(const char *url) {
  if (strncmp(url, "file://", 7) == 0) url += 7;
  if (!(qPrefs.displayFlags & 8)) return 0;
  std::string path = backslashToSlash(std::string(url));
  if (!safeModelPath(path.c_str())) {
    vrmlReaderError("a texture must be a relative path inside the home directory");
    return 1;
  }
  PolyNode *p = currentPolyNode;
  uint32_t &word = vrmlReader.colourOptions;
  int t;
  if (word == COLOUR_TEX_FRONT || word == COLOUR_TEX_BACK) {
    t = TEXTURE_NONE;
    if (validShirt()) t = word == COLOUR_TEX_FRONT ? qTShirt[currentShirt].frontTexture : qTShirt[currentShirt].backTexture;
    word = 0;
    if (t < 0) {
      t = noTextureIndex;
      shirtColour(p->diffuseColor);
      word = COLOUR_TEX_COLOR;
    }
  } else if (word == COLOUR_TEX_SHIRT) {
    t = qGlReadTexture(path.c_str(), TEXTURE_SHIRT, FORMAT_BY_EXTENSION);
    if (t == TEXTURE_FAILED) return 1;
    AddShirt(path.c_str(), t);
  } else {
    t = qGlReadTexture(path.c_str(), TEXTURE_MODEL, FORMAT_BY_EXTENSION);
    if (t == TEXTURE_FAILED) return 1;
  }
  p->textureIndex = t;
  return 0;
}

int vrmlTextureUrl(const char *url) {
  if (textureURL(url) == 0) return 0;
  vrmlReader.error = 1;
  return VRML_STOP_TEXTURE;
}

void vrmlTextureScale(double s, double t) {
  currentPolyNode->textureScale[0] = s;
  currentPolyNode->textureScale[1] = t;
}

void vrmlTextureTranslation(double s, double t) {
  currentPolyNode->textureTranslation[0] = s;
  currentPolyNode->textureTranslation[1] = t;
}

// ---- colours -------------------------------------------------------------------------------------

static const double UNDRAWN = -1717.0;
static double hairColour[3] = {UNDRAWN};
static double skinColour[3] = {UNDRAWN};
static double randomColours[4][3];
static bool randomDrawn[4];

void clearColourCaches() {
  hairColour[0] = UNDRAWN;
  skinColour[0] = UNDRAWN;
  qSetRandomColor(nullptr, 1);
}

void qSetRandomColor(double colour[3], int reset) {
  if (reset) {
    for (bool &drawn : randomDrawn) drawn = false;
    return;
  }
  uint32_t bits = vrmlReader.colourOptions & COLOUR_RANDOM_SLOTS;
  if (bits == COLOUR_RANDOM_SLOTS) {
    for (int i = 0; i < 3; i++) colour[i] = random01();
    return;
  }
  for (int slot = 0; slot < 4; slot++) {
    if (bits != (COLOUR_RANDOM_SLOT0 << slot)) continue;
    if (!randomDrawn[slot]) {
      for (int i = 0; i < 3; i++) randomColours[slot][i] = random01();
      randomDrawn[slot] = true;
    }
    for (int i = 0; i < 3; i++) colour[i] = randomColours[slot][i];
    return;
  }
  qMsg(QMSG_DEBUG, localText(45), int(bits), "qSetRandomColor");
}

// One colour of base + spread x random, each component with its own draw, in 1/256.
static void spreadColour(double out[3], int r, int g, int b, int spread) {
  const int base[3] = {r, g, b};
  for (int i = 0; i < 3; i++) out[i] = (base[i] + spread * random01()) / 256.0;
}

static void drawHair(double out[3]) {
  double a = random01();
  if (a < 0.65) {
    double u = random01();
    out[0] = (112 + 128 * u) / 256;
    out[1] = (32 + 192 * u) / 256;
    out[2] = (32 + 128 * u) / 256;
  } else if (a < 0.75) {
    spreadColour(out, 32, 32, 32, 15);
  } else if (a < 0.85) {
    spreadColour(out, 224, 96, 80, 15);
  } else {
    spreadColour(out, 0, 0, 0, 1);
  }
}

static void drawSkin(double out[3]) {
  double a = random01();
  if (a < 0.65) {
    double u = random01();
    out[0] = (224 + 16 * u) / 256;
    out[1] = (128 + 64 * u) / 256;
    out[2] = (96 + 80 * u) / 256;
  } else if (a < 0.7) {
    spreadColour(out, 240, 112, 112, 15);
  } else if (a < 0.8) {
    spreadColour(out, 80, 32, 16, 15);
  } else if (a < 0.9) {
    spreadColour(out, 48, 16, 16, 15);
  } else {
    spreadColour(out, 224, 192, 144, 15);
  }
}

// Hair and skin are drawn once per model file and then repeated.
static void cachedColour(double cache[3], void (*draw)(double[3]), double out[3]) {
  if (cache[0] == UNDRAWN) draw(cache);
  for (int i = 0; i < 3; i++) out[i] = cache[i];
}

void vrmlDiffuseColor(double r, double g, double b) {
  PolyNode *p = currentPolyNode;
  p->flags |= POLY_DIFFUSE;
  p->diffuseColor[0] = r;
  p->diffuseColor[1] = g;
  p->diffuseColor[2] = b;
  uint32_t w = vrmlReader.colourOptions;
  if ((w & 0xff) == COLOUR_TEX_COLOR) shirtColour(p->diffuseColor);
  if (w & COLOUR_RANDOM_SLOTS) qSetRandomColor(p->diffuseColor, 0);
  if (w & COLOUR_SKIN) cachedColour(skinColour, drawSkin, p->diffuseColor);
  if (w & COLOUR_HAIR) cachedColour(hairColour, drawHair, p->diffuseColor);
}

void vrmlColorField(int which, double r, double g, double b) {
  double *colour = which == COLOR_EMISSIVE ? currentPolyNode->emissiveColor : currentPolyNode->specularColor;
  colour[0] = r;
  colour[1] = g;
  colour[2] = b;
}

// ---- geometry ------------------------------------------------------------------------------------

void vrmlScalarField(int which, double value) {
  PolyNode *p = currentPolyNode;
  switch (which) {
    case SCALAR_SHININESS: p->shininess = value; break;
    case SCALAR_TRANSPARENCY: p->transparency = value; break;
    case SCALAR_RADIUS: p->radius = value; break;
    case SCALAR_CYLINDER_RADIUS: p->radius = p->topRadius = value; break;
    case SCALAR_HEIGHT: p->height = value; break;
    default: break;
  }
}

void vrmlCapField(uint32_t flag, int value) {
  if (!value) currentPolyNode->flags |= flag;
}

void vrmlEndCone() {
  currentPolyNode->flags |= POLY_QUADRIC | POLY_NO_TOP;
  currentPolyNode->topRadius = 0;
}

void vrmlEndCylinder() { currentPolyNode->flags |= POLY_QUADRIC; }

void vrmlSphere(double radius) {
  PolyNode *p = currentPolyNode;
  p->radius = radius;
  p->flags |= POLY_SPHERE;
  if (currentObjectNode && (currentObjectNode->flags & NODE_BACKGROUND)) p->flags |= POLY_BACKGROUND_SPHERE;
}

void vrmlEndFaceSet() { currentPolyNode->flags |= POLY_FACE_SET; }

void vrmlPerVertex(int normals, int value) {
  int32_t &field = normals ? currentPolyNode->normalPerVertex : currentPolyNode->colorPerVertex;
  field = value ? 1 : 2;
}

void vrmlSolid(int value) {
  if (!value) currentPolyNode->solid = 2;
}

// ---- number lists --------------------------------------------------------------------------------

static int currentList = LIST_COORDS;

void vrmlBeginList(int list) { currentList = list; }

static int listFull(ParseList &list) {
  if (list.count < list.capacity) return 0;
  qMsg(QMSG_ERROR, "%s", list.limitMessage);
  vrmlReader.error = 1;
  return VRML_STOP_LIMIT;
}

int vrmlCollect(double a, double b, double c) {
  ParseList &list = parseLists[currentList];
  if (!list.values) return VRML_STOP_LIMIT;
  double *element = list.values + size_t(list.count) * size_t(list.width);
  element[0] = a;
  element[1] = b;
  if (list.width == 3) element[2] = c;
  if (currentList == LIST_COLORS && (vrmlReader.colourOptions & COLOUR_RANDOM_SLOTS)) qSetRandomColor(element, 0);
  list.count++;
  return listFull(list);
}

int vrmlCollectIndex(double value) {
  ParseList &list = parseLists[currentList];
  if (!list.indices) return VRML_STOP_LIMIT;
  if (!(value > -2.0 && value < double(INT_MAX)) || int(value) < -1) {
    vrmlReaderError(formatText("index %g is no list position", value).c_str());
    return VRML_STOP_BAD_DATA;
  }
  list.indices[list.count++] = int32_t(value);
  return listFull(list);
}

void vrmlEndColors() {
  if (currentPolyNode->colorPerVertex == 0) currentPolyNode->colorPerVertex = 1;
}

void vrmlEndColorIndex() { qMsg(QMSG_DEBUG, "colorIndex "); }

// ---- WorldInfo -----------------------------------------------------------------------------------

void vrmlWorldTitle(const char *title) { qMsg(QMSG_INFO, "%s: ", title); }

void vrmlWorldInfoStart() { qMsg(QMSG_INFO, "info: "); }

void vrmlWorldInfo(const char *text) { qMsg(QMSG_INFO, "%s", text); }

// ---- QUOITDATA options ---------------------------------------------------------------------------

int vrmlOptionInteger(const char *text) {
  if (strchr(text, 'x') || strchr(text, 'X')) return 0;
  long value = strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}

void vrmlOption(int option, int value, double number) {
  ObjectNode *node = currentObjectNode;
  uint32_t &word = vrmlReader.colourOptions;
  switch (option) {
    case OPTION_JUGGLER: if (node) node->flags |= NODE_JUGGLER; break;
    case OPTION_BACKGROUND: if (node) node->flags |= NODE_BACKGROUND; break;
    case OPTION_HANDLE: if (node) node->handle = number; break;
    case OPTION_TURN: if (node && value != 0) node->flags |= NODE_TURN_ALL; break;
    case OPTION_TYPE:
      if (!node) break;
      node->type = (value == 'B' || value == 'b')   ? OBJECT_TYPE_BALL
                   : (value == 'C' || value == 'c') ? OBJECT_TYPE_CLUB
                                                    : OBJECT_TYPE_RING;
      break;
    case OPTION_HAIR: word |= COLOUR_HAIR; break;
    case OPTION_SKIN: word |= COLOUR_SKIN; break;
    case OPTION_TEXTURE: word = uint32_t(value); break;
    case OPTION_RANDOM:
      if (qPrefs.randomcolor) word |= COLOUR_RANDOM_SLOTS;
      break;
    case OPTION_RANDOM_SLOT:
      if (!qPrefs.randomcolor) break;
      if (value >= 1 && value <= 4) word |= COLOUR_RANDOM_SLOT0 << (value - 1);
      else fprintf(stderr, "Illegal option with randomcolor!\n");
      break;
    default: break;
  }
}
