// Model compiler of the classic renderer: materials, face normals, polygons and the display lists of
// built-in shapes and packed object models.
#pragma once

enum { PROP_SLICE_BASE = 7 };  // slice base of the built-in shapes; the detail preference is added

// Built-in shape types that qGlDefineBuiltinObject compiles.
enum { BUILTIN_SPHEROID = 6, BUILTIN_CLUB = 24, BUILTIN_ARROW = 17171 };

extern int highlightOffset;      // 32 while a juggled object of the pattern is compiled, else 0
extern float lastFaceNormal[3];  // the last face normal given to GL

void qGlSetMaterial(int index);
int qGlDefineBuiltinObject(int entry, int type, int clearBits);
int qGlDefineObject(int entry);
int qGlDrawPolygons(int count, int entry, int position, int depth);
void qGlFaceNormal(int entry, int a, int b, int c);
