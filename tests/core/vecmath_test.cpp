// Vector and angle maths: wrapping, the random generator and its draws, the vector helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/random.h"
#include "core/vecmath.h"

namespace {

TEST(VecMath, AnglesWrapIntoOneTurn) {
  const double cases[][2] = {{7, 7 - 2 * PI}, {-4, -4 + 2 * PI}, {PI, PI}, {-PI, -PI},
                             {3 * PI, PI}, {0.5, 0.5}, {-7 * PI + 0.25, PI + 0.25 - 2 * PI}};
  for (const auto &c : cases) EXPECT_NEAR(wrapAnglePi(c[0]), c[1], 1e-9) << c[0];
  EXPECT_DOUBLE_EQ(wrapAngle180(540), 180);
  EXPECT_DOUBLE_EQ(wrapAngle180(-190), 170);
  EXPECT_DOUBLE_EQ(wrapAngle180(-180), -180);
  for (double huge : {1e15, -1e15, 1e300}) {  // one step, not a loop over every turn
    double w = wrapAnglePi(huge);
    EXPECT_LE(fabs(w), PI + 1e-6) << huge;
  }
}

// The words of the placements, the view record and the light: every value lands in one turn, an
// angle below -100 pi included (floor, not towards zero), and a huge one without an overflow.
TEST(VecMath, AnglesEncodeIntoOneTurnOf2048) {
  struct Case {
    double radians;
    int word;  // -1: any word of one turn
  } cases[] = {{0, 0},
               {PI / 2, 512},
               {-PI / 2, 1536},
               {-0.1, 2015},
               {2 * PI, 0},
               {-2 * PI, 0},
               {2 * PI + 0.1, 32},
               {2 * PI - 1e-9, 2047},
               {-100 * PI, 0},
               {-100 * PI - 0.001, 2047},
               {-1000 * PI - PI / 2, 1536},
               {1e12, -1},
               {-1e12, -1},
               {1e15, -1},
               {1e300, 0},
               {-1e300, 0},
               {NAN, 0},
               {INFINITY, 0},
               {-INFINITY, 0}};
  for (const Case &c : cases) {
    int16_t w = encodeAngle(c.radians);
    EXPECT_GE(w, 0) << c.radians;
    EXPECT_LT(w, 2048) << c.radians;
    if (c.word >= 0) {
      EXPECT_EQ(w, c.word) << c.radians;
    }
  }
  EXPECT_EQ(encodeAngle(1e12), encodeAngle(1e12 + 2 * PI));  // a whole turn more, the same word
  EXPECT_DOUBLE_EQ(decodeAngle(512), PI / 2);
  EXPECT_DOUBLE_EQ(decodeAngle(1536), 1.5 * PI);
  EXPECT_EQ(encodeAngle(decodeAngle(1000)), 1000);
}

TEST(VecMath, RandomGeneratorSequence) {
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

TEST(VecMath, JitterDrawsXThenYThenZ) {
  qSeedRandom(7);
  double r[3];
  for (double &v : r) v = (qRandom() / 32767.0 - 0.5) * 0.2;
  qSeedRandom(7);
  double v[3] = {1, 2, 3};
  EXPECT_EQ(jitterVector(v, 0.1), v);
  for (int i = 0; i < 3; i++) EXPECT_DOUBLE_EQ(v[i], i + 1 + r[i]);
  EXPECT_DOUBLE_EQ(jitterVector(v, 0)[0], 1 + r[0]);
}

TEST(VecMath, VectorHelpers) {
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

}  // namespace
