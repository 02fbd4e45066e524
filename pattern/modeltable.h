// The loaded models' index records that the pattern engine reads: which model each object of the
// pattern uses and each model's packed shape words. The scene's object loader fills them.
#pragma once
#include <cstdint>

enum { MODEL_SLOTS = 200, INSTANCE_SLOTS = 200 };

extern int16_t objectInstanceList[INSTANCE_SLOTS + 1];  // ends at the first -1
extern int firstObjectInstance;
extern int16_t *objectShapes[MODEL_SLOTS];
