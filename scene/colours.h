// Colour sets: the 16-colour palette, the 64 colour display lists and the sets loaded into them.
#pragma once

enum { COLOR_LIST_COUNT = 64, PALETTE_SIZE = 16, HIGHLIGHT_LISTS = 32 };

extern int colorLists;  // first of the 64 colour lists; -1 until a colour set is loaded
extern const unsigned char quoitPalette[PALETTE_SIZE][3];

// The colour call each colour list holds: four bytes or four floats.
struct ColourCall {
  bool bytes;
  unsigned char ub[4];
  float f[4];
};
enum { KEPT_COLOUR_SETS = 8 };
extern ColourCall colourCalls[COLOR_LIST_COUNT];
// The place (0 .. KEPT_COLOUR_SETS - 1) among the kept colour sets of the set the colour lists hold
// now; -1 before a set is loaded and for a set that is not kept. A place's version changes whenever
// it is given to another set.
extern int currentColourSet;
extern unsigned colourSetVersion[KEPT_COLOUR_SETS];
// Gives list (0..63) its colour call, into the list being compiled.
void emitColourCall(int list);

void qGlSetColors(int alpha);
void qGlSetColors2();
void qGlSetGhostColors(int counter);
void qGlSetShadowColors(const float rgba[4]);
void qGlSetGradientColors();
