// Textures, background and overlay state: the texture table, the panorama, the 2-D overlay and its texts.
#pragma once

enum { FST_START = 0, FST_STOP = 1 };

int initTextures();
extern int tshirt_count;  // number of shirts of the shirt list

int readShirtList();
void freeTextureImages();
int loadShirtTextures(int shirt);
void qGlCheckDisplayFlags();
void qGlutInitFullscreenText(int how);
void drawTextBackdrop(int x, int y, int width, int height);
