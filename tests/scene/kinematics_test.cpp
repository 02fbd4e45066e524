// The arm solver against the figures' own joint chains: for each authored figure the arm is solved
// for target points, the hand is recomputed from the chain of joint nodes as the renderer turns them,
// and it must lie at the target. Also the solver's edge cases and the direct joint control.
#include <cmath>
#include <cstring>
#include <fstream>
#include <set>

#include "pattern/store.h"
#include "tests/scene/figure_chain.h"
#include "tests/scene/vrml_fixture.h"

namespace {

class KinematicsTest : public VrmlTest {
 public:
  // Loads the figure for juggler 0 at the place and heading (degrees).
  void loadFigure(const std::string &file, const double at[3], double heading) {
    resetVRMLScene();
    resetObjectTable();
    resetFigureState();
    firstObjectInstance = 1;
    ASSERT_EQ(loadVRMLFile(file.c_str(), 1, at[0], at[1], at[2], heading, VRML_FIGURE), VRML_LOADED);
    quoitPos[0].ZWinkel = heading / DEG;
  }
};

// Target points in the juggler's own frame (x forward from the shoulders, y left, metres) for the
// left hand; the right hand takes them mirrored. The wrist cases: none, held fully at an angle, a ring's turn.
struct Target {
  double p[3];
  double wristUp, wristTurn, blend;
};
const Target targets[] = {
    {{0.35, 0.25, 1.00}, 251000.0, 251000.0, 0},  {{0.20, 0.10, 0.90}, 251000.0, 251000.0, 0},
    {{0.45, 0.40, 1.30}, 251000.0, 251000.0, 0},  {{0.10, 0.45, 1.10}, 251000.0, 251000.0, 0},
    {{0.30, -0.05, 1.05}, 251000.0, 251000.0, 0}, {{0.00, 0.20, 1.42 - 0.6 + 0.012}, 251000.0, 251000.0, 0},
    {{0.30, 0.25, 1.25}, 30.0, 251000.0, 1},      {{0.40, 0.15, 1.10}, -60.0, 90.0, 1},
    {{0.25, 0.30, 0.95}, 251000.0, 90.0, 0},
    {{0.03, 0.22, 1.10}, 90.0, 251000.0, 1},  // the wrist pulled back passes behind the shoulder
};

TEST_F(KinematicsTest, SolvedArmsPutTheFiguresHandsOnTheTargets) {
  std::set<std::string> figures = listedFigures();
  ASSERT_GE(figures.size(), 4u);
  const double places[2][4] = {{0, 0, 0, 0}, {1.0, 2.0, 0.0, 120.0}};
  for (const std::string &file : figures)
    for (const double *place : places) {
      loadFigure(file, place, place[3]);
      const InvKinRecord &k = invKinTable[0];
      // how far ahead of the figure's origin its shoulders stand
      double shoulders = (k.leftShoulder[0] - place[0]) * std::cos(place[3] / DEG) + (k.leftShoulder[1] - place[1]) * std::sin(place[3] / DEG);
      for (int hand = 0; hand < 2; hand++)
        for (const Target &target : targets) {
          SCOPED_TRACE(file + " hand " + std::to_string(hand) + " heading " + std::to_string(place[3]) + " target " +
                       std::to_string(&target - targets));
          double local[3] = {shoulders + target.p[0], hand ? -target.p[1] : target.p[1], target.p[2]}, world[3];
          Matrix figure = translation(place) * rotation(place[3], 0, 0, 1);
          figure.apply(local, 1, world);
          double point[3] = {world[0], world[1], world[2]};
          armAngles(hand, point, target.wristUp, target.wristTurn, 0.5, target.blend);
          double got[3];
          handPoint(k.joint[hand ? 12 : 6], got);
          for (int i = 0; i < 3; i++) EXPECT_NEAR(got[i], world[i] - (i == 2 ? 0.012 : 0), 1e-6) << "axis " << i;
          EXPECT_DOUBLE_EQ(*k.joint[hand ? 11 : 5], target.wristTurn == 251000.0 ? 0 : target.wristTurn);
        }
    }
}

// Straight below the shoulder at full reach the arm hangs straight: elbow -90, shoulder front 0;
// out of reach the elbow and shoulder keep their angles; opposite hands turn out oppositely.
TEST_F(KinematicsTest, EdgeCasesOfTheArmSolution) {
  const double origin[3] = {0, 0, 0};
  loadFigure("v/basic/juggler.wrl", origin, 0);
  const InvKinRecord &k = invKinTable[0];
  double reach = k.upperArm + k.lowerArm + 0.1;
  double below[3] = {k.leftShoulder[0], k.leftShoulder[1], k.leftShoulder[2] - reach + 0.012};
  armAngles(0, below, 251000.0, 251000.0, 0.5, 0);
  EXPECT_NEAR(*k.joint[3], -90, 1e-4);
  EXPECT_NEAR(*k.joint[2], 0, 1e-4);
  EXPECT_DOUBLE_EQ(below[2], k.leftShoulder[2] - reach);  // the point is lowered in place

  double near[3] = {0.3, 0.3, 1.0};
  armAngles(0, near, 251000.0, 251000.0, 0.5, 0);
  double elbow = *k.joint[3], front = *k.joint[2];
  double far[3] = {3.0, 0.3, 1.0};
  armAngles(0, far, 251000.0, 251000.0, 0.5, 0);
  EXPECT_DOUBLE_EQ(*k.joint[3], elbow);
  EXPECT_DOUBLE_EQ(*k.joint[2], front);

  double left[3] = {0.3, 0.2 + 0.1, 1.0}, right[3] = {0.3, -0.2 + 0.1, 1.0};  // the same offset
  armAngles(0, left, 251000.0, 251000.0, 0.5, 0);
  armAngles(1, right, 251000.0, 251000.0, 0.5, 0);
  EXPECT_NEAR(*k.joint[4], -*k.joint[10], 1e-9);
  EXPECT_NE(*k.joint[4], 0);
}

// A figure without arm lengths or joints, a hand in the shoulder and a point that is not a number
// leave every angle a number; missing joints are not written.
TEST_F(KinematicsTest, DegenerateArmsNeverGiveNaN) {
  double angles[INVKIN_JOINTS] = {};
  InvKinRecord &k = invKinTable[0];
  k = InvKinRecord{};
  for (int j : {2, 3, 4, 6}) k.joint[j] = &angles[j];
  k.leftShoulder[2] = 1.4;
  struct Case {
    double upper, lower, p[3];
  } cases[] = {{0, 0, {0.3, 0.2, 1.0}}, {0.29, 0.26, {0, 0, 1.412}}, {0.29, 0.26, {NAN, 0, 1}}, {0, 0.26, {0, 0, 1.412}}};
  for (const Case &c : cases) {
    k.upperArm = c.upper;
    k.lowerArm = c.lower;
    double p[3] = {c.p[0], c.p[1], c.p[2]};
    armAngles(0, p, 30.0, 251000.0, 0.5, 1);
    for (double a : angles) EXPECT_TRUE(std::isfinite(a));
  }
  armAngles(-1, angles, 251000.0, 251000.0, 0.5, 0);  // no such hand: nothing happens
  armAngles(40, angles, 251000.0, 251000.0, 0.5, 0);
  k = InvKinRecord{};
}

TEST_F(KinematicsTest, JointKeysChangeAndClearOnlyJointsThatExist) {
  const double origin[3] = {0, 0, 0};
  loadFigure("v/basic/juggler.wrl", origin, 0);
  const InvKinRecord &k = invKinTable[0];
  changeJointAngle(0, 3, 4);
  changeJointAngle(0, 3, 4);
  EXPECT_DOUBLE_EQ(*k.joint[3], 8);
  changeJointAngle(0, 13, 4);  // a length: no angle
  changeJointAngle(0, 17, 4);
  changeJointAngle(20, 3, 4);
  changeJointAngle(-1, 3, 4);
  clearJointAngles(0, 15);
  for (int j = 0; j < 15; j++) {
    if (k.joint[j]) { EXPECT_DOUBLE_EQ(*k.joint[j], 0) << invKinJointNames[j]; }
  }
  clearJointAngles(25, 15);
}

}  // namespace
