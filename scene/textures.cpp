// Stand-in textures and shirts: no shirt list is read and no image is loaded yet.
#include "scene/textures.h"

int tshirt_count;

int readShirtList() { return 0; }
void freeTextureImages() {}

// No shirt is in the table, so every index lies beyond it.
int loadShirtTextures(int) { return 1; }
