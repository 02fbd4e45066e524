// Textures, background, overlay state and shirts: the texture table, the shirt list and their loading.
#pragma once

extern int tshirt_count;  // number of shirts of the shirt list

int loadShirtTextures(int shirt);
