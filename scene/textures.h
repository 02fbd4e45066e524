// Textures, background, overlay state and shirts: the texture table and the shirt list.
#pragma once

extern int tshirt_count;  // number of shirts of the shirt list

int readShirtList();
void freeTextureImages();
int loadShirtTextures(int shirt);
