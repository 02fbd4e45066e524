// Scene posing in VRML mode on the sample patterns: the juggled objects' nodes follow their paths, the
// figures' hands reach their hand paths through the arm solver, the path sampling leaves the frame's
// state alone, and the debug texts name missing joints.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/native_windows.h"
#include "core/uistate.h"
#include "pattern/clock.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/classic_renderer.h"
#include "scene/vrmlscene.h"
#include "tests/scene/figure_chain.h"
#include "tests/scene/vrml_fixture.h"
#include "tests/support/loadpattern.h"
#include "tests/support/picture_fixture.h"

namespace {

std::string shownText;
void keepText(const char *text, int, int, int) { shownText = text; }

class VrmlSceneTest : public VrmlTest {
 public:
  void TearDown() override {
    freePatternData();
    qOpenGL.invkin = 0;
    jugglerViewCounter = 0;
    VrmlTest::TearDown();
  }

  void load(const char *name) { ASSERT_EQ(loadVrmlSample(name), 0) << name; }

  static std::vector<ObjectNode *> juggledNodes() {
    std::vector<ObjectNode *> nodes;
    for (ObjectNode *n = qScene; n; n = n->next)
      if (n->flags & NODE_TAKES_CHOOSER_MODEL) nodes.push_back(n);
    return nodes;
  }

  // Hand h's point on its hand path at time t (the segment the clock's cursor found).
  static void handPathPoint(int h, double t, double out[3]) {
    const Handbahn &s = handbahn[h][std::clamp(handCursor[h], 0, takte)];
    double length = s.t_to - s.t_from;
    bezierPoint(s.B0, s.B1, s.B2, s.B3, length > 0 ? (t - s.t_from) / length : 0, out);
  }
};

double distance(const double a[3], const double b[3]) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// At two moments of every pattern: every juggled node stands where its path puts it (the same
// point the path sampling gives for that object), a flight lies on its parabola, and nearly every
// hand of every figure is at its hand path (one that is out of the arm's reach cannot be).
TEST_F(VrmlSceneTest, ObjectsFollowTheirPathsAndHandsTheirHandPaths) {
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    std::vector<ObjectNode *> nodes = juggledNodes();
    ASSERT_EQ(int(nodes.size()), objekte);
    int hands = 0;
    for (int k = 0; k < 2; k++) {
      double t = cycleMoment(k);
      ASSERT_EQ(buildScene(qScene, 0, t, nullptr, -1), 0);
      for (int o = 0; o < objekte; o++) {
        const ObjectNode *n = nodes[size_t(o)];
        EXPECT_EQ(n->letter, Objektbuchstaben[o]);
        const Flugbahn &g = flugbahn[o][objectCursor[o]];
        if (g.flag & FB_FREE_FLIGHT) {
          double s = t - g.t_from;
          EXPECT_NEAR(n->position[2], g.X0[2] + g.V[2] * s + g.az * s * s / 2, 1e-9) << o;
          EXPECT_NEAR(n->position[0], g.X0[0] + g.V[0] * s, 1e-9) << o;
        }
        double sampled[3];
        std::vector<double> before(n->position, n->position + 3);
        ASSERT_EQ(buildScene(nullptr, 0, t, sampled, o), 0);
        for (int i = 0; i < 3; i++) EXPECT_NEAR(sampled[i], before[size_t(i)], 1e-9) << o;
      }
      std::vector<bool> turning = wristsBetweenObjectAndArm(t);
      for (int h = 0; h < 2 * jugglers; h++) {
        const InvKinRecord &arm = invKinTable[h / 2];
        double path[3], hand[3];
        handPathPoint(h, t, path);
        path[2] -= 0.012;
        handPoint(arm.joint[h % 2 ? 12 : 6], hand);
        double reach = distance(h % 2 ? arm.rightShoulder : arm.leftShoulder, path);
        double longest = arm.upperArm + arm.lowerArm + 0.1, shortest = arm.lowerArm + 0.1 - arm.upperArm;
        if (turning[size_t(h)] || reach > longest - 0.001 || reach < std::fabs(shortest) + 0.001) continue;
        hands++;
        EXPECT_LT(distance(hand, path), 1e-6) << "hand " << h << " at " << t;
      }
    }
    EXPECT_GE(hands, 2 * jugglers);
  }
}

// Sampling one object's path at another time moves neither the object's cursor nor an arm; with
// the joint keys in charge the objects move and the arms stay.
TEST_F(VrmlSceneTest, PathSamplingAndJointKeysLeaveTheArmsAlone) {
  load("3ball_cascade");
  ASSERT_EQ(buildScene(qScene, 0, cycleMoment(0), nullptr, -1), 0);
  const InvKinRecord &k = invKinTable[0];
  double elbow = *k.joint[3];
  std::vector<int> cursors(objectCursor, objectCursor + objekte);
  double v[3] = {0, 0, 0};
  ASSERT_EQ(buildScene(nullptr, 0, cycleMoment(1), v, 2), 0);
  EXPECT_NE(v[2], 0);
  EXPECT_EQ(std::vector<int>(objectCursor, objectCursor + objekte), cursors);
  EXPECT_EQ(*k.joint[3], elbow);

  qOpenGL.invkin = 1;
  double z = juggledNodes()[0]->position[2];
  ASSERT_EQ(buildScene(qScene, 0, cycleMoment(1), nullptr, -1), 0);
  EXPECT_EQ(*k.joint[3], elbow);
  EXPECT_NE(juggledNodes()[0]->position[2], z);
}

// A list without juggled nodes, or an object with no instance, poses nothing.
TEST_F(VrmlSceneTest, NothingToPoseIsReported) {
  load("3ball_cascade");
  ObjectNode floorOnly = *qScene;
  floorOnly.next = nullptr;
  EXPECT_EQ(buildScene(&floorOnly, 0, 0.5, nullptr, -1), 1);
  double v[3];
  EXPECT_EQ(buildScene(nullptr, 0, 0.5, v, -1), 1);
  EXPECT_EQ(buildScene(nullptr, 0, 0.5, v, INSTANCE_SLOTS + 5), 1);
}

// The debug texts: the segment table has a line per object and the legend; the arm text shows the
// joints, and "--" for a joint the figure lacks.
TEST_F(VrmlSceneTest, DebugTextsShowSegmentsAndJoints) {
  load("3ball_cascade");
  WindowCalls saved = windowCalls;
  windowCalls.multiLineText = keepText;
  jugglerViewCounter = 1;
  buildScene(qScene, 0, cycleMoment(0), nullptr, -1);
  EXPECT_NE(shownText.find("- - - - flugbahn [ ] [ ] - - - -"), std::string::npos) << shownText;
  EXPECT_NE(shownText.find("d:dirty"), std::string::npos);
  EXPECT_EQ(std::count(shownText.begin(), shownText.end(), '\260'), 2 * objekte) << shownText;

  jugglerViewCounter = 2;
  double *elbow = invKinTable[0].joint[3];
  invKinTable[0].joint[3] = nullptr;
  buildScene(qScene, 0, cycleMoment(0), nullptr, -1);
  invKinTable[0].joint[3] = elbow;
  EXPECT_NE(shownText.find("Juggler 1's left arm"), std::string::npos) << shownText;
  EXPECT_NE(shownText.find("LEFTELBOW=     --"), std::string::npos) << shownText;
  EXPECT_NE(shownText.find("RIGHTELBOW="), std::string::npos);
  EXPECT_EQ(shownText.find("nan"), std::string::npos);
  jugglerViewCounter = 30;  // no such juggler: no text, no crash
  shownText.clear();
  buildScene(qScene, 0, cycleMoment(0), nullptr, -1);
  EXPECT_TRUE(shownText.empty());
  windowCalls = saved;
}

}  // namespace
