// Model compiler of the classic renderer: materials, face normals, polygons and the display lists of
// built-in shapes and packed object models.
#pragma once

typedef struct GLUquadric GLUquadric;

enum { PROP_SLICE_BASE = 7 };  // slice base of the built-in shapes; the detail preference is added

// Built-in shape types that qGlDefineBuiltinObject compiles.
enum { BUILTIN_SPHEROID = 6, BUILTIN_CLUB = 24, BUILTIN_ARROW = 17171 };

// The quadric every GL shape is drawn with, made when the first window exists.
extern GLUquadric *qQuadric;
extern int highlightOffset;      // 32 while a juggled object of the pattern is compiled, else 0
extern float lastFaceNormal[3];  // the last face normal given to GL
extern bool inlineColours;       // the list being compiled has the colours written in

// Front specular colour and shininess of material 0, 1 or 2.
void qGlSetMaterial(int index);
// Compile a built-in shape into the entry's display list and clear clearBits from its flags;
// returns the list name, 0 for an unknown type or when no list could be made.
int qGlDefineBuiltinObject(int entry, int type, int clearBits);
// Compile the entry's packed shape: flag 0x1000 gives it a new list (its old one is deleted),
// otherwise its own list is compiled again in place; returns the list name, 0 when none was made.
// A broken shape is drawn as far as it is sound and reported once at debug level.
int qGlDefineObject(int entry);
// Compile a juggler figure, whose hand points move, for the colours the colour lists hold now: its
// list is compiled again only when they moved since, and then only with what uses them; the rest
// stays in part lists compiled once (again after the figure got a new list or another shape). A
// kept colour set gets lists of its own with its colours written in, else the entry's list serves.
// Returns the list that draws the figure, 0 when none was made; the entry keeps its own list.
int qGlDefineFigure(int entry);
// As qGlDefineFigure, but the list of the moving elements is left as it is: a frame whose hands move
// draws them with qGlDrawFigure, as compiling that list again costs more than drawing it. Returns
// the entry's list, 0 when none was made.
int qGlPrepareFigure(int entry);
// Draw the figure with the colours the colour lists hold now from its part lists and its moving
// elements as qGlPrepareFigure or qGlDefineFigure left them for the figure as it stands; false, and
// nothing drawn, when they were not made for it.
bool qGlDrawFigure(int entry);
// The list to call for the entry with the colours the colour lists hold now: for a figure the list
// qGlDefineFigure made for them last; for a built-in shape or a packed shape, a list of its own
// with those colours written in (made when first asked for, and
// again after the entry was compiled or the set's place was given to another set); else, or for a
// colour set that is not kept, the entry's list;
// 0 when the entry has no list.
int qGlColouredList(int entry);
// Draw count polygon entries (and their attached ones) from word position of the entry's shape;
// returns the position after them, or -1 when a polygon leaves the shape.
int qGlDrawPolygons(int count, int entry, int position, int depth);
// Normal (P1 - P2) x (P0 - P1) of three points of the entry's shape, in metres; kept in lastFaceNormal.
void qGlFaceNormal(int entry, int a, int b, int c);

// Model lists with normals (the start) or without, for frames drawn without lighting; a change makes
// the lists compiled here from models' shapes again before they are next drawn.
void qGlModelNormals(bool on);
// Triangles that the entry's list draws, counted from GL's feedback of the model drawn once more; 0
// for an entry without a list.
long qGlModelTriangles(int entry);
