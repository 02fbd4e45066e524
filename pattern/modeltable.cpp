// The loaded models' index records: defined here, below the scene that fills them.
#include "pattern/modeltable.h"

int16_t objectInstanceList[INSTANCE_SLOTS + 1];
int firstObjectInstance;
int16_t *objectShapes[MODEL_SLOTS];
