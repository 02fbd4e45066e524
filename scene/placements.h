// Placements: the Placement record of the flying and fixed object lists.
#pragma once
#include <cstdint>

// One placed model; angles in 1/2048 of a turn, positions in millimetres.
struct Placement {
  int16_t model;   // index into objekt_geladen; -1 ends the flying list, -2 the fixed list
  int16_t angleX;
  int16_t x, y, z;
  int16_t angleY;
  int16_t angleZ;
  int16_t letter;  // low byte: the object's letter, 0 for figures and props
};

enum { PLACEMENT_END_FLYING = -1, PLACEMENT_END_FIXED = -2 };

int qPlaceJugglers();
