// Colour sets: the 16-colour palette, the 64 colour display lists and the sets loaded into them.
#pragma once

enum { COLOR_LIST_COUNT = 64, PALETTE_SIZE = 16, HIGHLIGHT_LISTS = 32 };

extern int colorLists;  // first of the 64 colour lists; -1 until a colour set is loaded
extern const unsigned char quoitPalette[PALETTE_SIZE][3];

void qGlSetColors(int alpha);
void qGlSetColors2();
void qGlSetGhostColors(int counter);
void qGlSetShadowColors(const float rgba[4]);
void qGlSetGradientColors();
