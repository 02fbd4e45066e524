// Juggler kinematics: the joint table of the VRML figures, the arm solution by the law of cosines,
// and the direct joint control of the arm test mode.
#include "scene/kinematics.h"

#include <cmath>

#include "core/vecmath.h"
#include "pattern/store.h"
#include "pattern/throws.h"

InvKinRecord invKinTable[20];

static const double DEGREES = 57.29577951;
static const double WRIST_LENGTH = 0.1;
static const double HAND_DROP = 0.012;
static const double NOT_GIVEN = 251000.0;

enum { TABLE_RECORDS = sizeof invKinTable / sizeof invKinTable[0] };

// The joints one side drives: arm out, elbow, shoulder front, wrist up, wrist turn.
struct ArmJoints {
  int armOut, elbow, shoulderFront, wristUp, wristTurn;
};
static const ArmJoints sideJoints[2] = {{4, 3, 2, 6, 5}, {10, 9, 8, 12, 11}};

// The last shoulder solution per side (radians); a target out of reach keeps it.
static double lastDownAngle[2], lastShoulderAngle[2];

static void setJoint(double *joint, double degrees) {
  if (joint) *joint = degrees;
}
static double jointValue(const double *joint) { return joint ? *joint : 0; }

// acos of a cosine that lies in [-1, 1]; false for anything else (not a number included). A cosine
// past either end by rounding only (an arm stretched straight) counts as that end.
static bool angleOfCosine(double cosine, double *angle) {
  const double rounding = 1e-12;
  if (!(cosine >= -1 - rounding && cosine <= 1 + rounding)) return false;
  *angle = std::acos(std::fmax(-1.0, std::fmin(1.0, cosine)));
  return true;
}

void armAngles(int hand, double point[3], double wristUp, double wristTurn, double, double blend) {
  int j = hand / 2, side = hand % 2;
  if (hand < 0 || j >= TABLE_RECORDS || j >= MAX_JUGGLERS) return;
  if (!std::isfinite(point[0]) || !std::isfinite(point[1]) || !std::isfinite(point[2])) return;
  InvKinRecord &k = invKinTable[j];
  const ArmJoints &joint = sideJoints[side];
  const double *s = side ? k.rightShoulder : k.leftShoulder;
  double U = k.upperArm, L = k.lowerArm;
  point[2] -= HAND_DROP;
  bool wristGiven = wristUp != NOT_GIVEN;
  wristUp = std::fabs(wristUp);
  double phi = Winkel_zwischen(s[0], s[1], point[0], point[1]);
  setJoint(k.joint[joint.armOut], (phi - quoitPos[j].ZWinkel) * (side ? -DEGREES : DEGREES));
  double F = WRIST_LENGTH + L;
  if (wristGiven) {
    double w = wristUp / DEGREES - PI / 2;
    double r = WRIST_LENGTH * std::cos(w);
    point[0] -= std::cos(phi) * r * blend;
    point[1] -= std::sin(phi) * r * blend;
    point[2] += WRIST_LENGTH * std::sin(w) * blend;
    F = (1 - blend) * WRIST_LENGTH + L;
  }
  double d[3];
  vectorDifference(d, point, s);
  double D = vectorLength(d);
  double elbow;
  // A figure without arm lengths, or a hand in the shoulder, has no solution.
  if (U > 0 && F > 0 && D > 0) {
    if (angleOfCosine((D * D - U * U - F * F) / (-2 * F * U), &elbow)) setJoint(k.joint[joint.elbow], 90 - elbow * DEGREES);
    // The angle from straight down to the hand, in the arm's plane: signed, since the wrist point
    // pulled back by the wrist may pass behind the shoulder. Out of reach the arm keeps its shoulder
    // angles: the two are taken together or not at all.
    double ahead = d[0] * std::cos(phi) + d[1] * std::sin(phi);
    double down = std::atan2(ahead, -d[2]), shoulder;
    if (angleOfCosine((F * F - U * U - D * D) / (-2 * U * D), &shoulder)) {
      lastDownAngle[side] = down;
      lastShoulderAngle[side] = shoulder;
    }
  }
  double front = (lastDownAngle[side] - lastShoulderAngle[side]) * DEGREES;
  setJoint(k.joint[joint.shoulderFront], front);
  double up = wristGiven ? (90 - wristUp - front - jointValue(k.joint[joint.elbow])) * blend : 0;
  setJoint(k.joint[joint.wristUp], up);
  setJoint(k.joint[joint.wristTurn], wristTurn != NOT_GIVEN ? wristTurn : 0);
}

void changeJointAngle(int juggler, int joint, double degrees) {
  if (juggler < 0 || juggler >= TABLE_RECORDS || joint < 0 || joint >= INVKIN_JOINTS) return;
  if (double *angle = invKinTable[juggler].joint[joint]) *angle += degrees;
}

void clearJointAngles(int juggler, int count) {
  if (juggler < 0 || juggler >= TABLE_RECORDS) return;
  for (int i = 0; i < count && i < INVKIN_JOINTS; i++) setJoint(invKinTable[juggler].joint[i], 0);
}
