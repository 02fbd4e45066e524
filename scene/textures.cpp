// Stand-in textures and shirts: no shirt list is read and no image is loaded yet.
#include "scene/textures.h"

int readShirtList() { return 0; }
void freeTextureImages() {}
