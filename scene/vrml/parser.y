/* VRML parser: the subset of VRML 2.0 that model files use. Every rule hands its values to the
   node and field actions; an action that fails stops the parse with its code. */
%define api.prefix {vrml}
%define parse.error simple

%code requires {
#include <cstdlib>
}

%code {
#include <cstdio>

#include "scene/vrml/reader.h"

int vrmllex();
static void vrmlerror(const char *message) { vrmlSyntaxError(message); }

// Runs an action; a non-zero result ends the parse with that result.
#define RUN(call)                      \
  do {                                 \
    int code_ = (call);                \
    if (code_) {                       \
      vrmlReader.stopCode = code_;     \
      YYABORT;                         \
    }                                  \
  } while (0)

#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
}

%union {
  double number;
  char *text;
  int flag;
}

%token <number> NUMBER
%token <text> STRING ID
%token VRML_OUT_OF_MEMORY
%token K_APPEARANCE K_COLOR K_CONE K_COORDINATE K_CYLINDER K_GROUP K_IMAGETEXTURE K_INDEXEDFACESET
%token K_INLINE K_MATERIAL K_NORMAL K_SHAPE K_SPHERE K_TEXTURECOORDINATE K_TEXTURETRANSFORM
%token K_TRANSFORM K_VIEWPOINT K_WORLDINFO
%token DEF PROTO IS TRUE_ FALSE_ FIELD SFROTATION SFVEC3F
%token EXTERNPROTO EXPOSEDFIELD FIELDOFVIEW JUMP ORIENTATION SIZE SFCOLOR SFFLOAT
%token F_AMBIENTINTENSITY F_APPEARANCE F_BOTTOM F_BOTTOMRADIUS F_CHILDREN F_CCW F_COLOR F_COLORINDEX
%token F_COLORPERVERTEX F_CONVEX F_COORD F_COORDINDEX F_CREASEANGLE F_DESCRIPTION F_DIFFUSECOLOR
%token F_EMISSIVECOLOR F_GEOMETRY F_HEIGHT F_INFO F_MATERIAL F_NORMAL F_NORMALINDEX F_NORMALPERVERTEX
%token F_POINT F_POSITION F_RADIUS F_REPEATS F_REPEATT F_ROTATION F_SCALE F_SIDE F_SHININESS F_SOLID
%token F_SPECULARCOLOR F_TEXCOORD F_TEXCOORDINDEX F_TEXTURE F_TEXTURETRANSFORM F_TITLE F_TOP
%token F_TRANSLATION F_TRANSPARENCY F_URL F_VECTOR

%type <flag> bool

// A text is freed by the action that reads it; one that a mid-rule action freed is set to null, so the
// clean-up of an aborted parse frees each text once.
%destructor { free($$); } <text>

%%

file: { RUN(qProcessNode(NEST_RESET)); } statements ;

statements: %empty | statements statement ;

statement: node
  | DEF ID node { free($2); vrmlNamedNode("DEF"); }
  | proto
  ;

proto: PROTO ID { RUN(vrmlProtoName($2)); free($2); $2 = nullptr; } '[' interfaces ']' { RUN(vrmlStoreProto()); } '{' node '}' ;

interfaces: %empty | interfaces interface ;

interface: FIELD SFROTATION ID NUMBER NUMBER NUMBER NUMBER {
      int code = vrmlProtoField($3, PROTO_ROTATION, $4, $5, $6, $7);
      free($3);
      RUN(code);
    }
  | FIELD SFVEC3F ID NUMBER NUMBER NUMBER {
      int code = vrmlProtoField($3, PROTO_VECTOR, $4, $5, $6, 0);
      free($3);
      RUN(code);
    }
  ;

node: group | inline | shape | transform | viewpoint | worldinfo ;

nodes: node | nodes node ;

group: K_GROUP '{' { RUN(qProcessNode(NEST_OPEN)); } F_CHILDREN '[' nodes ']' '}' { RUN(qProcessNode(NEST_CLOSE)); } ;

transform: K_TRANSFORM '{' { RUN(qProcessNode(NEST_OPEN)); } tfields { RUN(vrmlJointStep()); }
    F_CHILDREN '[' nodes ']' '}' { RUN(qProcessNode(NEST_CLOSE)); } ;

tfields: %empty | tfields tfield ;

tfield: F_ROTATION NUMBER NUMBER NUMBER NUMBER { vrmlRotation($2, $3, $4, $5); }
  | F_ROTATION IS ID { int code = vrmlIsReference($3, 0); free($3); RUN(code); }
  | F_SCALE NUMBER NUMBER NUMBER { vrmlScale($2, $3, $4); }
  | F_SCALE IS ID { free($3); }
  | F_TRANSLATION NUMBER NUMBER NUMBER { vrmlTranslation($2, $3, $4); }
  | F_TRANSLATION IS ID { int code = vrmlIsReference($3, 1); free($3); RUN(code); }
  ;

inline: K_INLINE { RUN(vrmlInlineWord()); } '{' F_URL STRING { int code = vrmlInlineUrl($5); free($5); $5 = nullptr; RUN(code); } '}' ;

shape: K_SHAPE { RUN(vrmlShapeWord()); } '{' shapebody '}' { RUN(finishGeometry()); } ;

shapebody: geometry | appearance geometry | geometry appearance ;

appearance: F_APPEARANCE namedef K_APPEARANCE '{' aitems '}' ;

namedef: %empty | DEF ID { free($2); vrmlNamedNode("DEF"); } ;

silentdef: %empty | DEF ID { free($2); } ;

aitems: aitem | aitems aitem ;

aitem: material
  | F_TEXTURE K_IMAGETEXTURE '{' itfields '}'
  | F_TEXTURETRANSFORM K_TEXTURETRANSFORM '{' ttfields '}'
  ;

itfields: itfield | itfields itfield ;

itfield: F_URL STRING { int code = vrmlTextureUrl($2); free($2); RUN(code); }
  | F_REPEATS bool
  | F_REPEATT bool
  ;

ttfields: %empty | ttfields ttfield ;

ttfield: F_SCALE NUMBER NUMBER { vrmlTextureScale($2, $3); }
  | F_TRANSLATION NUMBER NUMBER { vrmlTextureTranslation($2, $3); }
  ;

material: F_MATERIAL namedef K_MATERIAL '{' mfields '}' ;

mfields: %empty | mfields mfield ;

mfield: F_AMBIENTINTENSITY NUMBER { vrmlDroppedField("ambientIntensity"); }
  | F_DIFFUSECOLOR NUMBER NUMBER NUMBER { vrmlDiffuseColor($2, $3, $4); }
  | F_EMISSIVECOLOR NUMBER NUMBER NUMBER { vrmlColorField(COLOR_EMISSIVE, $2, $3, $4); }
  | F_SHININESS NUMBER { vrmlScalarField(SCALAR_SHININESS, $2); }
  | F_SPECULARCOLOR NUMBER NUMBER NUMBER { vrmlColorField(COLOR_SPECULAR, $2, $3, $4); }
  | F_TRANSPARENCY NUMBER { vrmlScalarField(SCALAR_TRANSPARENCY, $2); }
  ;

geometry: F_GEOMETRY namedef geomnode ;

geomnode: cone | cylinder | faceset | sphere ;

cone: K_CONE '{' conefields '}' { vrmlEndCone(); } ;

conefields: conefield | conefields conefield ;

conefield: F_BOTTOMRADIUS NUMBER { vrmlScalarField(SCALAR_RADIUS, $2); }
  | F_HEIGHT NUMBER { vrmlScalarField(SCALAR_HEIGHT, $2); }
  | F_BOTTOM bool { vrmlCapField(POLY_NO_BOTTOM, $2); }
  | F_SIDE bool { vrmlCapField(POLY_NO_SIDE, $2); }
  ;

cylinder: K_CYLINDER '{' cylfields '}' { vrmlEndCylinder(); } ;

cylfields: cylfield | cylfields cylfield ;

cylfield: F_RADIUS NUMBER { vrmlScalarField(SCALAR_CYLINDER_RADIUS, $2); }
  | F_HEIGHT NUMBER { vrmlScalarField(SCALAR_HEIGHT, $2); }
  | F_BOTTOM bool { vrmlCapField(POLY_NO_BOTTOM, $2); }
  | F_SIDE bool { vrmlCapField(POLY_NO_SIDE, $2); }
  | F_TOP bool { vrmlCapField(POLY_NO_TOP, $2); }
  ;

sphere: K_SPHERE '{' F_RADIUS NUMBER '}' { vrmlSphere($4); } ;

faceset: K_INDEXEDFACESET '{' ffields '}' { vrmlEndFaceSet(); } ;

ffields: ffield | ffields ffield ;

ffield: F_CCW bool { vrmlDroppedField("ccw"); }
  | F_COLOR K_COLOR '{' F_COLOR '[' { vrmlBeginList(LIST_COLORS); } triples ']' '}' { vrmlEndColors(); }
  | F_COLORINDEX '[' { vrmlBeginList(LIST_COLOR_INDEX); } indices ']' { vrmlEndColorIndex(); }
  | F_COLORPERVERTEX bool { vrmlPerVertex(0, $2); }
  | F_CONVEX bool { vrmlDroppedField("convex"); }
  | F_COORD silentdef K_COORDINATE '{' F_POINT '[' { vrmlBeginList(LIST_COORDS); } triples ']' '}'
  | F_COORDINDEX '[' { vrmlBeginList(LIST_COORD_INDEX); } indices ']'
  | F_CREASEANGLE NUMBER
  | F_NORMAL K_NORMAL '{' F_VECTOR '[' { vrmlBeginList(LIST_NORMALS); } triples ']' '}'
  | F_NORMALINDEX '[' { vrmlBeginList(LIST_NORMAL_INDEX); } indices ']'
  | F_NORMALPERVERTEX bool { vrmlPerVertex(1, $2); }
  | F_SOLID bool { vrmlSolid($2); }
  | F_TEXCOORD silentdef K_TEXTURECOORDINATE '{' F_POINT '[' { vrmlBeginList(LIST_TEX_COORDS); } pairs ']' '}'
  | F_TEXCOORDINDEX '[' { vrmlBeginList(LIST_TEX_COORD_INDEX); } indices ']'
  ;

triples: triple | triples triple ;

triple: NUMBER NUMBER NUMBER { RUN(vrmlCollect($1, $2, $3)); } ;

pairs: pair | pairs pair ;

pair: NUMBER NUMBER { RUN(vrmlCollect($1, $2, 0)); } ;

indices: index | indices index ;

index: NUMBER { RUN(vrmlCollectIndex($1)); } ;

viewpoint: K_VIEWPOINT '{' vpfields '}' ;

vpfields: vpfield | vpfields vpfield ;

vpfield: F_POSITION NUMBER NUMBER NUMBER
  | F_DESCRIPTION STRING { free($2); }
  ;

worldinfo: K_WORLDINFO '{' wifields '}' ;

wifields: wifield | wifields wifield ;

wifield: F_TITLE STRING { vrmlWorldTitle($2); free($2); }
  | F_INFO '[' { vrmlWorldInfoStart(); } infostrings ']'
  ;

infostrings: infostring | infostrings infostring ;

infostring: STRING { vrmlWorldInfo($1); free($1); } ;

bool: TRUE_ { $$ = 1; } | FALSE_ { $$ = 0; } ;

%%

int vrmlParse() { return vrmlparse(); }
