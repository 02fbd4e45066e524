// Bounce throws: throws that hit the floor on their way, entered as one arc per piece.
#pragma once

int Dotzbahnen_berechnen(int object, int segment, int handFrom, int handTo, int taktFrom, int taktTo, int firstArc,
                         int lastArc, int bounces, int join, int mode);
