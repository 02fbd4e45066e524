// Classic renderer: GL state of the 3D window, materials, model display lists and the frame passes.
#pragma once

enum { PROP_SLICE_BASE = 7 };  // slice base of the built-in shapes; the detail preference is added

extern int highlightOffset;  // 32 while a juggled object of the pattern is compiled, else 0

int qGlCheckError(const char *location);
void qGlSetMaterial(int index);
