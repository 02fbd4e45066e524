// The loaded models' index records that the pattern engine reads: which model each object of the
// pattern uses and each model's packed shape words. The scene's object loader fills them.
#pragma once
#include <cstdint>

enum { MODEL_SLOTS = 200, INSTANCE_SLOTS = 200 };

// Words of a packed shape (ObjectShape); the points follow the header words.
enum {
  SHAPE_SIZE = 0,      // bytes of the block, read as unsigned (shapeBytes)
  SHAPE_COLOUR = 1,    // property 1
  SHAPE_ROTATION = 2,  // property 2: rotation kind, -1 for a juggler figure
  SHAPE_FLAGS = 3,     // property 3: 4 = a single sphere
  SHAPE_RADIUS = 4,    // property 4: mm; minus the radius for a single sphere
  SHAPE_POINT_COUNT = 5,
  SHAPE_POINTS = 6,
};
enum { SHAPE_SINGLE_SPHERE = 4 };

extern int16_t objectInstanceList[INSTANCE_SLOTS + 1];  // ends at the first -1
extern int firstObjectInstance;
extern int16_t *objectShapes[MODEL_SLOTS];
