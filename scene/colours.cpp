// Colour sets: each set recompiles the colour lists 0-15 (ordinary models) and 32-47 (the pattern's
// juggled objects) with one colour call each, so models recolour without being recompiled.
#include "scene/colours.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

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

ColourCall colourCalls[COLOR_LIST_COUNT];
int currentColourSet = -1;

void emitColourCall(int list) {
  const ColourCall &c = colourCalls[list];
  if (c.bytes) glColor4ubv(c.ub);
  else glColor4fv(c.f);
}

static bool sameCall(const ColourCall &a, const ColourCall &b) {
  if (a.bytes != b.bytes) return false;
  return a.bytes ? memcmp(a.ub, b.ub, 4) == 0 : memcmp(a.f, b.f, sizeof a.f) == 0;
}

static bool sameCalls(const ColourCall *a, const ColourCall *b) {
  for (int i = 0; i < COLOR_LIST_COUNT; i++)
    if (!sameCall(a[i], b[i])) return false;
  return true;
}

// Most frames load the set the lists already hold: a list is compiled only when its call changes.
static bool compiledLists[COLOR_LIST_COUNT];

static void compileColourCall(int list, const ColourCall &call) {
  if (compiledLists[list] && sameCall(colourCalls[list], call)) return;
  colourCalls[list] = call;
  compiledLists[list] = true;
  glNewList(GLuint(colorLists + list), GL_COMPILE);
  emitColourCall(list);
  glEndList();
}

static void compileUbyte(int list, const unsigned char c[3], unsigned char alpha) {
  compileColourCall(list, ColourCall{true, {c[0], c[1], c[2], alpha}, {0, 0, 0, 0}});
}

static void compileFloat(int list, const float c[4]) {
  compileColourCall(list, ColourCall{false, {0, 0, 0, 0}, {c[0], c[1], c[2], c[3]}});
}

// The colour sets loaded last, so that models can keep lists with their colours written in; when all
// places are taken the set used longest ago gives way. The ghosts' sets change with every object and
// frame and are not kept.
static ColourCall keptSets[KEPT_COLOUR_SETS][COLOR_LIST_COUNT];
static unsigned keptUse[KEPT_COLOUR_SETS], useClock;
static int keptSetCount;
unsigned colourSetVersion[KEPT_COLOUR_SETS];

static void setLoaded(bool keep = true) {
  currentColourSet = -1;
  if (!keep) return;
  int slot = -1;
  for (int i = 0; i < keptSetCount && slot < 0; i++)
    if (sameCalls(keptSets[i], colourCalls)) slot = i;
  if (slot < 0) {
    if (keptSetCount < KEPT_COLOUR_SETS) {
      slot = keptSetCount++;
    } else {
      slot = 0;
      for (int i = 1; i < KEPT_COLOUR_SETS; i++)
        if (keptUse[i] < keptUse[slot]) slot = i;
    }
    memcpy(keptSets[slot], colourCalls, sizeof colourCalls);
    colourSetVersion[slot]++;
  }
  keptUse[slot] = ++useClock;
  currentColourSet = slot;
}

void qGlSetColors(int alpha) {
  if (!colourListsReady()) return;
  for (int i = 0; i < PALETTE_SIZE; i++) {
    compileUbyte(i, quoitPalette[i], (unsigned char)alpha);
    compileUbyte(HIGHLIGHT_LISTS + i, quoitPalette[i], (unsigned char)alpha);
  }
  setLoaded();
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
  setLoaded();
  qGlCheckStage("set quoitcolors 2");
}

void qGlSetGhostColors(int counter) {
  if (!colourListsReady()) return;
  int alpha = int(sin(cos(double(counter)) * 3 * realTimeTotal) * 30 + 100);
  for (int i = 0; i < PALETTE_SIZE; i++) {
    compileUbyte(i, quoitPalette[i], (unsigned char)alpha);
    compileUbyte(HIGHLIGHT_LISTS + i, quoitPalette[i], 255);
  }
  setLoaded(false);
  qGlCheckStage("set quoitghostcolors");
}

void qGlSetShadowColors(const float rgba[4]) {
  if (!colourListsReady()) return;
  for (int i = 0; i < PALETTE_SIZE; i++) {
    compileFloat(i, rgba);
    compileFloat(HIGHLIGHT_LISTS + i, rgba);
  }
  setLoaded();
}

void qGlSetGradientColors() {
  if (!colourListsReady()) return;
  for (int i = 0; i < PALETTE_SIZE; i++) {
    float c[4] = {0.8f - i / 50.0f, 0.2f, 0.7f, 1.0f};
    compileFloat(i, c);
    compileFloat(HIGHLIGHT_LISTS + i, c);
  }
  setLoaded();
}
