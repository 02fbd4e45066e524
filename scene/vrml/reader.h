// VRML reader: the state the scanner, the parser and the node and field actions share while a file is read.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "scene/vrml/modeltree.h"

enum {
  MAX_VRML_KEYWORDS = 100,
  VRML_MAX_COORDS = 5000,
  VRML_MAX_NORMALS = 15000,
  VRML_MAX_INDEX = 50000,
  VRML_INLINE_MAX = 30,
  VRML_INLINE_NAME_SIZE = 300,
  VRML_NAME_SIZE = 200,
  PROTO_FIELD_MAX = 100,
  PROTO_MAX = 500,
  NEST_MAX = 100,
};

// Bound of a model or Inline file; the largest authored model has 18 kB.
const size_t MAX_MODEL_FILE_SIZE = 16 << 20;

// Results that stop a parse.
enum {
  VRML_STOP_NODE = 201299,     // a node could not be made, or the nesting is broken
  VRML_STOP_TEXTURE = 130401,  // a texture could not be loaded
  VRML_STOP_LIMIT = 141199,    // a buffer or list of the reader is full
  VRML_STOP_BAD_DATA = 20050302,  // an index outside its list, a refused file name
};

enum { NEST_OPEN = 1, NEST_CLOSE = 2, NEST_RESET = 3 };
enum { PROTO_ROTATION = 339, PROTO_VECTOR = 340 };

// Colour-option word: texture choice in the low bits, then the colour rules.
enum : uint32_t {
  COLOUR_TEX_FRONT = 1,
  COLOUR_TEX_BACK = 2,
  COLOUR_TEX_COLOR = 3,
  COLOUR_TEX_SHIRT = 4,
  COLOUR_SKIN = 0x40000,
  COLOUR_HAIR = 0x80000,
  COLOUR_RANDOM_SLOTS = 0xf00000,
  COLOUR_RANDOM_SLOT0 = 0x100000,
};

// QUOITDATA options.
enum {
  OPTION_JUGGLER,
  OPTION_BACKGROUND,
  OPTION_HANDLE,
  OPTION_TURN,
  OPTION_TYPE,
  OPTION_HAIR,
  OPTION_SKIN,
  OPTION_TEXTURE,
  OPTION_RANDOM,
  OPTION_RANDOM_SLOT,
};

// Number lists of a geometry node.
enum {
  LIST_COORDS,
  LIST_COLORS,
  LIST_TEX_COORDS,
  LIST_NORMALS,
  LIST_COORD_INDEX,
  LIST_NORMAL_INDEX,
  LIST_TEX_COORD_INDEX,
  LIST_COLOR_INDEX,
  LIST_COUNT,
};

enum { COLOR_EMISSIVE, COLOR_SPECULAR };
enum { SCALAR_SHININESS, SCALAR_TRANSPARENCY, SCALAR_RADIUS, SCALAR_CYLINDER_RADIUS, SCALAR_HEIGHT };

struct VrmlReaderState {
  std::string fileName;  // for messages
  int line;
  int error;
  int headerSeen;
  int inlineMode;
  int jointProto;  // an IS reference was read: Transforms may be joints
  int figure;      // -1, or the invKinTable record of the figure being read
  uint32_t colourOptions;
  int jointKeywords[MAX_VRML_KEYWORDS];  // pending joint numbers, -1 free
  int stopCode;                          // what stopped the parse, 0 for a syntax error
};
extern VrmlReaderState vrmlReader;

// One parse buffer: `width` doubles or one int per element.
struct ParseList {
  double *values;
  int32_t *indices;
  int width;
  int capacity;
  int count;
  const char *limitMessage;
};
extern ParseList parseLists[LIST_COUNT];

struct InlineEntry {
  char name[VRML_INLINE_NAME_SIZE];
  PolyNode *poly;      // the node the file's nodes go under
  ObjectNode *object;  // the object node they belong to
};
extern InlineEntry *inlineList;
extern int inlineCount;

struct ProtoField {
  char name[VRML_NAME_SIZE];
  int type;  // PROTO_ROTATION or PROTO_VECTOR
  double angle;
  double value[3];
};
extern ProtoField *protoFields;
extern int protoFieldCount;

// Operations of the reader's resources.
enum { BUFFER_ALLOC = 1, BUFFER_FREE = 2, INLINE_APPEND = 3, BUFFER_EMPTY = 5 };
int vrmlParseBuffers(int op);
int vrmlInlineList(int op, const char *name, PolyNode *poly, ObjectNode *object);
int qPROTObuffer(int op);
void freeProtos();

// Scanner and parser.
void vrmlScanText(const std::string &text);  // the whole of a model file, read before
void vrmlScannerFree();
int vrmlParse();
void vrmlSyntaxError(const char *message);
void vrmlReaderError(const char *text);
int vrmlHeaderFound();
void vrmlNoHeader();
void vrmlUnsupportedNode(const char *word);
void vrmlOption(int option, int value, double number);
int vrmlOptionInteger(const char *text);

// Node and field actions.
int qProcessNode(int op);
int vrmlJointStep();
int protoLookup(const char *name);
int textureURL(const char *url);
void qSetRandomColor(double colour[3], int reset);
void clearColourCaches();
bool safeModelPath(const char *path);

void vrmlNamedNode(const char *kind);
int vrmlProtoName(const char *name);
int vrmlStoreProto();
int vrmlProtoField(const char *name, int type, double a, double b, double c, double d);
void vrmlRotation(double x, double y, double z, double angle);
int vrmlIsReference(const char *name, int translation);
void vrmlScale(double x, double y, double z);
void vrmlTranslation(double x, double y, double z);
int vrmlInlineWord();
int vrmlInlineUrl(const char *url);
int vrmlShapeWord();
int vrmlTextureUrl(const char *url);
void vrmlTextureScale(double s, double t);
void vrmlTextureTranslation(double s, double t);
void vrmlDroppedField(const char *field);
void vrmlDiffuseColor(double r, double g, double b);
void vrmlColorField(int which, double r, double g, double b);
void vrmlScalarField(int which, double value);
void vrmlCapField(uint32_t flag, int value);
void vrmlEndCone();
void vrmlEndCylinder();
void vrmlSphere(double radius);
void vrmlEndFaceSet();
void vrmlPerVertex(int normals, int value);
void vrmlSolid(int value);
void vrmlBeginList(int list);
int vrmlCollect(double a, double b, double c);
int vrmlCollectIndex(double value);
void vrmlEndColors();
void vrmlEndColorIndex();
void vrmlWorldTitle(const char *title);
void vrmlWorldInfoStart();
void vrmlWorldInfo(const char *text);
