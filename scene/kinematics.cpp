// Stand-in kinematics: the joint table, and arm and joint calls that change nothing.
#include "scene/kinematics.h"

InvKinRecord invKinTable[20];

void armAngles(int, double[3], double, double, double, double) {}
void changeJointAngle(int, int, double) {}
void clearJointAngles(int, int) {}
