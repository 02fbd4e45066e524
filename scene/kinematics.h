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
extern const char invKinJointNames[INVKIN_JOINTS][25];

struct ObjectNode;
// While a figure is read: a Transform that names joint keywords becomes a joint node (the VRML reader).
int qCreateInvKinNode();
void sumChainPosition(const ObjectNode *node, double out[3]);

void armAngles(int hand, double point[3], double wristUp, double wristTurn, double spare, double blend);
// Joint angles of a juggler (from 0) in degrees: one changed, or the first count set to 0.
void changeJointAngle(int juggler, int joint, double degrees);
void clearJointAngles(int juggler, int count);
