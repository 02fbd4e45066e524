// The packed placement record: one juggler, figure or prop at a position and turn. The pattern store
// holds blocks of them and the scene fills and draws them.
#pragma once
#include <cstdint>

struct Placement {
  int16_t model;   // index into the loaded-object table; -1 ends the flying list, -2 the fixed list
  int16_t angleX;  // 1/2048 of a turn
  int16_t x, y, z; // millimetres
  int16_t angleY;
  int16_t angleZ;
  int16_t letter;  // low byte: the object's letter
};

enum { PLACEMENT_END_FLYING = -1, PLACEMENT_END_FIXED = -2 };
