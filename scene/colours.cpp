// Colour sets: each set recompiles the colour lists 0-15 (ordinary models) and 32-47 (the pattern's
// juggled objects) with one colour call each, so models recolour without being recompiled.
#include "scene/colours.h"

#include <GL/gl.h>

#include <cmath>

#include "pattern/clock.h"
#include "scene/classic_renderer.h"
#include "scene/renderer.h"

int colorLists = -1;

const unsigned char quoitPalette[PALETTE_SIZE][3] = {
    {0, 0, 32},    {224, 224, 0}, {144, 96, 0},  {0, 96, 0},    {240, 0, 0},   {176, 0, 208},
    {0, 0, 192},   {128, 128, 128}, {176, 176, 176}, {240, 112, 0}, {112, 48, 48}, {0, 192, 0},
    {128, 0, 0},   {96, 0, 176},  {0, 112, 208}, {64, 64, 64},
};

static bool colourListsReady() {
  if (colorLists < 0) {
    GLuint base = glGenLists(COLOR_LIST_COUNT);
    if (base == 0) return false;
    colorLists = int(base);
  }
  return true;
}

static void compileUbyte(int list, const unsigned char c[3], unsigned char alpha) {
  glNewList(GLuint(colorLists + list), GL_COMPILE);
  glColor4ub(c[0], c[1], c[2], alpha);
  glEndList();
}

static void compileFloat(int list, const float c[4]) {
  glNewList(GLuint(colorLists + list), GL_COMPILE);
  glColor4fv(c);
  glEndList();
}

void qGlSetColors(int alpha) {
  if (!colourListsReady()) return;
  for (int i = 0; i < PALETTE_SIZE; i++) {
    compileUbyte(i, quoitPalette[i], (unsigned char)alpha);
    compileUbyte(HIGHLIGHT_LISTS + i, quoitPalette[i], (unsigned char)alpha);
  }
  qGlCheckStage("set quoitcolors 1");
}

void qGlSetColors2() {
  if (!colourListsReady()) return;
  for (int i = 0; i < PALETTE_SIZE; i++) {
    unsigned char dim[3], bright[3];
    for (int k = 0; k < 3; k++) {
      int c = quoitPalette[i][k];
      dim[k] = (unsigned char)(c / 5);
      bright[k] = (unsigned char)(c * 1.5 < 255 ? int(c * 1.5) : 255);
    }
    compileUbyte(i, dim, 255);
    compileUbyte(HIGHLIGHT_LISTS + i, bright, 255);
  }
  qGlCheckStage("set quoitcolors 2");
}

void qGlSetGhostColors(int counter) {
  if (!colourListsReady()) return;
  int alpha = int(sin(cos(double(counter)) * 3 * realTimeTotal) * 30 + 100);
  for (int i = 0; i < PALETTE_SIZE; i++) {
    compileUbyte(i, quoitPalette[i], (unsigned char)alpha);
    compileUbyte(HIGHLIGHT_LISTS + i, quoitPalette[i], 255);
  }
  qGlCheckStage("set quoitghostcolors");
}

void qGlSetShadowColors(const float rgba[4]) {
  if (!colourListsReady()) return;
  for (int i = 0; i < PALETTE_SIZE; i++) {
    compileFloat(i, rgba);
    compileFloat(HIGHLIGHT_LISTS + i, rgba);
  }
}

void qGlSetGradientColors() {
  if (!colourListsReady()) return;
  for (int i = 0; i < PALETTE_SIZE; i++) {
    float c[4] = {0.8f - i / 50.0f, 0.2f, 0.7f, 1.0f};
    compileFloat(i, c);
    compileFloat(HIGHLIGHT_LISTS + i, c);
  }
}
