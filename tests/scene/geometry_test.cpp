// Geometry helpers: angle wrapping, the random generator, the eye position and the VRML totals.
#include <gtest/gtest.h>

#include <cmath>

#include "core/prefs.h"
#include "core/random.h"
#include "pattern/store.h"
#include "scene/geometry.h"
#include "scene/pathdisplay.h"
#include "scene/vrml/modeltree.h"
#include "ui/camera.h"

namespace {

TEST(Geometry, AnglesWrapIntoOneTurn) {
  const double cases[][2] = {{7, 7 - 2 * M_PI}, {-4, -4 + 2 * M_PI}, {M_PI, M_PI}, {-M_PI, -M_PI},
                             {3 * M_PI, M_PI}, {0.5, 0.5}, {-7 * M_PI + 0.25, M_PI + 0.25 - 2 * M_PI}};
  for (const auto &c : cases) EXPECT_NEAR(wrapAnglePi(c[0]), c[1], 1e-9) << c[0];
  EXPECT_DOUBLE_EQ(wrapAngle180(540), 180);
  EXPECT_DOUBLE_EQ(wrapAngle180(-190), 170);
  EXPECT_DOUBLE_EQ(wrapAngle180(-180), -180);
  for (double huge : {1e15, -1e15, 1e300}) {  // one step, not a loop over every turn
    double w = wrapAnglePi(huge);
    EXPECT_LE(fabs(w), M_PI + 1e-6) << huge;
  }
}

TEST(Geometry, RandomGeneratorSequence) {
  qSeedRandom(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int e : expected) EXPECT_EQ(qRandom(), e);
  qSeedRandom(12345);
  int low = 32767, high = 0;
  for (int i = 0; i < 100000; i++) {
    int r = qRandom();
    low = std::min(low, r);
    high = std::max(high, r);
  }
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 32767);
  qSeedRandom(1);
  EXPECT_DOUBLE_EQ(random01(), 41 / 32767.0);
}

TEST(Geometry, JitterDrawsXThenYThenZ) {
  scatter = 0.1;
  qSeedRandom(7);
  double r[3];
  for (double &v : r) v = (qRandom() / 32767.0 - 0.5) * 0.2;
  qSeedRandom(7);
  double v[3] = {1, 2, 3};
  EXPECT_EQ(jitterVector(v), v);
  for (int i = 0; i < 3; i++) EXPECT_DOUBLE_EQ(v[i], i + 1 + r[i]);
  scatter = 0;
  EXPECT_DOUBLE_EQ(jitterVector(v)[0], 1 + r[0]);
}

TEST(Geometry, SameJugglerByColumns) {
  EXPECT_EQ(sameJugglerColumns(2, 3), 1);
  EXPECT_EQ(sameJugglerColumns(3, 2), 1);
  EXPECT_EQ(sameJugglerColumns(3, 4), 0);
  EXPECT_EQ(sameJugglerColumns(5, 5), 1);
  EXPECT_EQ(sameJugglerColumns(0, 2), 0);
}

TEST(Geometry, VectorHelpers) {
  const double x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
  const double *z = crossProduct(x, y);
  EXPECT_DOUBLE_EQ(z[2], 1);
  double v[3] = {3, 0, 4};
  EXPECT_DOUBLE_EQ(vectorLength(v), 5);
  EXPECT_DOUBLE_EQ(normalizeVector(v)[2], 0.8);
  double d[3];
  vectorDifference(d, x, y);
  EXPECT_DOUBLE_EQ(d[1], -1);
}

TEST(Geometry, EyeAboveTheLookAtPointAtElevationZero) {
  cameraState.azimuth = 1.3;
  cameraState.elevation = 0;
  cameraState.distance = 4;
  cameraState.lookAt[0] = 1, cameraState.lookAt[1] = 2, cameraState.lookAt[2] = 1;
  double eye[3];
  computeEyePosition(eye);
  EXPECT_NEAR(eye[0], 1, 1e-12);
  EXPECT_NEAR(eye[1], 2, 1e-12);
  EXPECT_NEAR(eye[2], 5, 1e-12);
  EXPECT_NEAR(cameraState.viewDir[2], -1, 1e-12);
  cameraState.azimuth = M_PI / 2;
  cameraState.elevation = M_PI / 2;
  computeEyePosition(eye);
  EXPECT_NEAR(eye[1], 6, 1e-12);
  EXPECT_NEAR(cameraState.viewDir[1], -1, 1e-12);
}

TEST(Geometry, VrmlTotalsSkipHiddenNodesAndUseThePickedModel) {
  ObjectNode nodes[3] = {};
  nodes[0].vertexTotal = 10, nodes[0].faceTotal = 5;
  nodes[1].vertexTotal = 100, nodes[1].faceTotal = 50, nodes[1].flags = NODE_HIDDEN;
  nodes[2].vertexTotal = 7, nodes[2].faceTotal = 3, nodes[2].flags = NODE_TAKES_CHOOSER_MODEL;
  nodes[0].next = &nodes[1];
  nodes[1].next = &nodes[2];
  qScene = nodes;
  EXPECT_EQ(vrmlNodeTotals(), nullptr);  // classic mode
  EXPECT_EQ(sceneVertexTotal, 0);
  qPrefs.vrml = 1;
  chosenModel = -1;
  EXPECT_EQ(vrmlNodeTotals(), &nodes[2]);
  EXPECT_EQ(sceneVertexTotal, 17);
  EXPECT_EQ(sceneFaceTotal, 8);
  chosenModel = 4;
  chooserVertexTotal = 1000, chooserFaceTotal = 500;
  vrmlNodeTotals();
  EXPECT_EQ(sceneVertexTotal, 1010);
  EXPECT_EQ(sceneFaceTotal, 505);
  qPrefs.vrml = 0;
  chosenModel = -1;
  qScene = nullptr;
}

}  // namespace
