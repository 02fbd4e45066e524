// Juggler kinematics: the joints of the VRML figures and the arm solution.
#pragma once

enum { INVKIN_JOINTS = 17, INVKIN_HEAD_UP = 0 };

struct InvKinRecord {
  double *joint[INVKIN_JOINTS];  // angle of each joint's node in degrees; null when the figure lacks it
  double head[3];
  double leftShoulder[3];
  double rightShoulder[3];
  double upperArm;
  double lowerArm;
};

extern InvKinRecord invKinTable[20];
