// Juggler kinematics: the joint table of the figures and the arm angles for a hand position.
#pragma once

void armAngles(int hand, double point[3], double wristUp, double wristTurn, double spare, double blend);
// Joint angles of a juggler (from 0) in degrees: one changed, or the first count set to 0.
void changeJointAngle(int juggler, int joint, double degrees);
void clearJointAngles(int juggler, int count);
