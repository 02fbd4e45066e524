// The sample patterns drawn in VRML mode in a real GL context on the test program's Xvfb: each
// pattern is loaded with its VRML models, posed at two moments, drawn by the VRML renderer and read
// back. The figures' hands are drawn at the hand paths, the picture moves, shadows and the mirror
// floor draw where the props are, and no frame reports a GL error.
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/framestep.h"
#include "core/localtext.h"
#include "core/uistate.h"
#include "core/viewrecords.h"
#include "pattern/reader.h"
#include "pattern/clock.h"
#include "pattern/handpaths.h"
#include "pattern/throws.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/figures.h"
#include "scene/geometry.h"
#include "scene/vrml_renderer.h"
#include "scene/vrmlscene.h"
#include "tests/scene/figure_chain.h"
#include "tests/scene/vrml_fixture.h"
#include "tests/support/loadpattern.h"
#include "tests/support/picture_fixture.h"
#include "tests/support/quoit_test_support.h"

namespace {

const int W = 320, H = 240;

Picture drawFrame() { return drawPicture(qGlUpdateVRMLDisplay, W, H); }

class VrmlPicturesGui : public PictureTest<VrmlTest, W, H> {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    qWindowIds[WIN_3D] = window;  // the model lists are compiled in this window
    qGlSetLightColor(37);
  }

  void TearDown() override {
    qWindowIds[WIN_3D] = 0;
    PictureTest::TearDown();
  }

  void load(const char *name) {
    ASSERT_EQ(loadVrmlSample(name), 0) << name;
    // The pictures are taken from a camera of the test's own, whatever camera the sample file
    // brings: the start camera for one juggler's patterns, a view from the side and above for the
    // others, from which every juggler's hands are in view.
    bool side = std::string(name).find("3ball_") != 0 || std::string(name) == "3ball_props_camera" ||
                std::string(name) == "3ball_underleg";
    cameraState.azimuth = side ? 0.6 : 0.085;
    cameraState.elevation = side ? 1.2 : 1.65;
    cameraState.distance = side ? 4.5 : 3.34;
    cameraState.zoom = side ? 190 : 185;
    cameraState.lookAt[0] = UNSET_DOUBLE;
    G_Vorgabe_setzen();
    computeEyePosition(cameraState.eye);
    packViewState();
    lightState = LightState{0, 0, 0, 0, 1000};
  }

  static std::vector<ObjectNode *> nodesWith(uint32_t flag) {
    std::vector<ObjectNode *> nodes;
    for (ObjectNode *n = qScene; n; n = n->next)
      if (n->flags & flag) nodes.push_back(n);
    return nodes;
  }

  // The juggled objects' positions at time t, posed for the frame.
  static std::vector<std::vector<double>> pose(double t) {
    EXPECT_EQ(buildScene(qScene, 0, t, nullptr, -1), 0);
    std::vector<std::vector<double>> props;
    for (const ObjectNode *n : nodesWith(NODE_TAKES_CHOOSER_MODEL))
      props.push_back({n->position[0], n->position[1], n->position[2]});
    return props;
  }

  static void setHidden(const std::vector<ObjectNode *> &nodes, bool hidden) {
    for (ObjectNode *n : nodes) n->flags = hidden ? n->flags | NODE_HIDDEN : n->flags & ~NODE_HIDDEN;
  }

  // The node that turns hand h's wrist, which carries the hand's model.
  static ObjectNode *handNode(int h) {
    const double *angle = invKinTable[h / 2].joint[h % 2 ? 11 : 5];
    for (ObjectNode *n = qScene; n; n = n->next)
      if (angle >= n->angles && angle < n->angles + 3) return n;
    return nullptr;
  }
};

// Whether the first picture draws something within n pixels of (x, y) that the second does not: a
// colour or, for a hand over skin of its own colour, a depth of its own.
bool drawnNear(const Picture &with, const Picture &without, int x, int y, int n) {
  if (with.differencesNear(without, x, y, n) > 0) return true;
  for (int v = std::max(0, y - n); v <= std::min(with.height - 1, y + n); v++)
    for (int u = std::max(0, x - n); u <= std::min(with.width - 1, x + n); u++)
      if (with.depthAt(u, v) != without.depthAt(u, v)) return true;
  return false;
}

// Every pattern at two moments, without the props in front of the hands: the pixels that the
// figures' hands draw (what differs, in colour or depth, from the picture with the hands hidden) lie at the hands' points
// on their hand paths; a hand behind its figure's body, or one blending towards an object it throws
// or catches, may miss. The picture moves between the moments.
TEST_F(VrmlPicturesGui, HandsAreDrawnAtTheHandPaths) {
  int allLooked = 0, allPassed = 0;
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    std::vector<ObjectNode *> props = nodesWith(NODE_TAKES_CHOOSER_MODEL), hands;
    for (int h = 0; h < 2 * jugglers; h++) {
      hands.push_back(handNode(h));
      ASSERT_NE(hands.back(), nullptr) << h;
    }
    int looked = 0, passed = 0;
    std::vector<Picture> moments;
    for (int k = 0; k < 2; k++) {
      double t = cycleMoment(k);
      pose(t);
      moments.push_back(drawFrame());
      ASSERT_EQ(moments.back().output.find("OpenGL Error"), std::string::npos) << moments.back().output;
      setHidden(props, true);
      Picture bare = drawFrame();
      setHidden(hands, true);
      Picture handless = drawFrame();
      setHidden(hands, false);
      setHidden(props, false);
      for (int h = 0; h < 2 * jugglers; h++) {
        double point[3];
        handTarget(h, t, point);
        int x, y;
        if (!bare.project(point, &x, &y)) continue;
        looked++;
        passed += drawnNear(bare, handless, x, y, 3);
      }
    }
    EXPECT_GE(4 * passed, 3 * looked) << passed << " of " << looked;
    allLooked += looked;
    allPassed += passed;
    EXPECT_GT(moments[0].differences(moments[1]), 20);
    pose(cycleMoment(0));
    EXPECT_EQ(drawFrame().differences(moments[0]), 0);  // the same moment, the same picture
  }
  EXPECT_GE(allPassed, allLooked - allLooked / 8) << allPassed << " of " << allLooked;
}

// Shadows and the mirror floor change the picture where the props' shadows and mirror images fall
// on open floor, and draw without a GL error.
TEST_F(VrmlPicturesGui, ShadowsAndMirrorFloorDrawUnderTheProps) {
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    int looked = 0, shaded = 0, mirrored = 0;
    for (int k = 0; k < 2; k++) {
      if (k) lightState = LightState{400, 300, 0, 0, 1000};
      std::vector<std::vector<double>> props = pose(cycleMoment(k));
      Picture plain = drawFrame();
      qMode.flags = FLAG_SHADOWS;
      Picture shadows = drawFrame();
      qMode.flags = FLAG_MIRROR;
      Picture mirror = drawFrame();
      qMode.flags = FLAG_SHADOWS | FLAG_MIRROR;
      Picture both = drawFrame();
      qMode.flags = 0;
      for (const Picture *p : {&shadows, &mirror, &both})
        EXPECT_EQ(p->output.find("OpenGL Error"), std::string::npos) << p->output;
      EXPECT_GT(plain.differences(shadows), 20);
      EXPECT_GT(plain.differences(mirror), 20);
      for (const std::vector<double> &p : props) {
        double onFloor[3], below[3] = {p[0], p[1], -p[2]};
        shadowOnFloor(p.data(), onFloor);
        onFloor[2] = 0.005;
        int x, y, u, v;
        if (!plain.project(onFloor, &x, &y) || !plain.project(below, &u, &v)) continue;
        looked++;
        shaded += shadows.differencesNear(plain, x, y, 1) > 0;
        mirrored += mirror.differencesNear(plain, u, v, 2) > 0;
      }
    }
    EXPECT_TRUE(nearlyAll(shaded, looked)) << shaded << " of " << looked;
    EXPECT_TRUE(nearlyAll(mirrored, looked)) << mirrored << " of " << looked;
  }
}

// Lit (display mode 9, the key 's'), the floor is shaded by its own normal, not by the one drawn
// before it: whatever normal was left pointing down or up, an open patch of floor comes out the
// same and at least as bright as it is unlit.
TEST_F(VrmlPicturesGui, TheLitFloorIsShadedByItsOwnNormals) {
  load("3ball_cascade");
  pose(cycleMoment(0));
  const double patch[3] = {1.5, 1.0, 0};
  Picture unlit = drawFrame();
  int x, y;
  ASSERT_TRUE(unlit.project(patch, &x, &y));
  qMode.display = 9;
  std::vector<std::vector<int>> lit;
  for (double normalZ : {-1.0, 1.0}) {
    glNormal3d(0, 0, normalZ);
    Picture p = drawFrame();
    EXPECT_EQ(p.output.find("OpenGL Error"), std::string::npos) << p.output;
    lit.push_back({p.pixel(x, y)[0], p.pixel(x, y)[1], p.pixel(x, y)[2]});
  }
  qMode.display = 1;
  EXPECT_EQ(lit[0], lit[1]);
  for (int i = 0; i < 3; i++) EXPECT_GE(lit[0][size_t(i)], unlit.pixel(x, y)[i]) << i;
}

// Every display mode and the effect flags draw a VRML frame without a GL error, also seen from
// below the floor and in letters mode.
TEST_F(VrmlPicturesGui, EveryDisplayModeDrawsWithoutError) {
  load("6club_2count_pass");
  pose(cycleMoment(0));
  const int64_t flagSets[] = {0, FLAG_SHADOWS | FLAG_MIRROR, FLAG_LETTERS | FLAG_ARROW | FLAG_COMMENTS, FLAG_MOTION_BLUR};
  for (int mode = 1; mode <= 11; mode++)
    for (int64_t flags : flagSets) {
      qMode.display = mode;
      qMode.flags = flags;
      Picture p = drawFrame();
      EXPECT_EQ(p.output.find("OpenGL Error"), std::string::npos) << "mode " << mode << " flags " << flags << p.output;
    }
  qMode.display = 1;
  qMode.flags = FLAG_SHADOWS | FLAG_MIRROR;
  viewState.elevation = 1024;  // looking up from below
  Picture below = drawFrame();
  EXPECT_EQ(below.output.find("OpenGL Error"), std::string::npos) << below.output;
  EXPECT_GE(floorSide(), 0);
}

// The status screen's counts: the figures standing in the scene and the faces their lists were
// compiled from.
TEST_F(VrmlPicturesGui, StatusCountsComeFromTheVrmlScene) {
  load("9club_feed_pass");
  EXPECT_EQ(jugglerModelCount(), jugglers);
  vrmlNodeTotals();
  EXPECT_GT(propShapeCount(0), 100);
  EXPECT_GT(propShapeCount(1), 100);
  EXPECT_EQ(propShapeCount(1), sceneFaceTotal);
  nodesWith(NODE_JUGGLER)[0]->flags |= NODE_HIDDEN;
  EXPECT_EQ(jugglerModelCount(), jugglers - 1);
}

// The real program juggling in VRML mode: two window images saved with 'h' a moment apart differ,
// no GL error is traced, and the program ends cleanly.
TEST_F(VrmlPicturesGui, RunningQuoitInVrmlModeSavesTwoDifferentMoments) {
  std::string home = makeScratchHome(currentTestName());
  SavedMoments moments = runQuoitSavingTwoMoments({"+vrml=1", "m/5ball_cascade"}, home);
  const RunResult &run = moments.run;
  ASSERT_TRUE(moments.windowFound) << run.standardOutput << run.standardError;
  ASSERT_EQ(moments.images.size(), 2u);
  EXPECT_NE(readWholeFile(moments.images[0]), readWholeFile(moments.images[1])) << "the picture did not move";
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  std::ifstream trace(home + "/debug.quoit.txt");
  std::stringstream text;
  text << trace.rdbuf();
  EXPECT_EQ(text.str().find("OpenGL Error"), std::string::npos) << text.str().substr(0, 2000);
  // The VRML floor's two colours (pano/Karoboden.wrl), unlit, fill much of the window.
  std::vector<unsigned char> rgb = readPngRgb(moments.images[0]);
  const int floorColours[2][3] = {{140, 140, 153}, {89, 89, 107}};
  for (const int *c : floorColours) {
    int count = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
      count += std::abs(rgb[i] - c[0]) <= 3 && std::abs(rgb[i + 1] - c[1]) <= 3 && std::abs(rgb[i + 2] - c[2]) <= 3;
    EXPECT_GT(count, 5000) << "the VRML floor was not drawn";
  }
}

}  // namespace
