// Stand-in textures and shirts: no shirt list is read yet.
#include "scene/textures.h"

int readShirtList() { return 0; }
