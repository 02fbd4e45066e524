// Textures, background and overlay state: the texture table, the panorama, the 2-D overlay and its texts.
#pragma once

enum { FST_START = 0, FST_STOP = 1 };

int initTextures();
int readShirtList();
void freeTextureImages();
void qGlCheckDisplayFlags();
void qGlutInitFullscreenText(int how);
void drawTextBackdrop(int x, int y, int width, int height);
