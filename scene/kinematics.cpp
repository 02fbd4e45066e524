// Stand-in kinematics: the joint table only.
#include "scene/kinematics.h"

__attribute__((weak)) InvKinRecord invKinTable[20];
