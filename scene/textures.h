// Textures, background, overlay state and shirts: the texture table and the shirt list.
#pragma once

int readShirtList();
void freeTextureImages();
int loadedTextureCount();
