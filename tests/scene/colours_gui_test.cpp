// Colour lists and the built-in prop shapes in a real GL context on the test program's Xvfb.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/prefs.h"
#include "pattern/clock.h"
#include "scene/colours.h"
#include "scene/geometry.h"
#include "scene/renderer.h"
#include "tests/support/glut_test_window.h"
#include "tests/support/quoit_test_support.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

namespace {

// One GLUT window on the test program's shared Xvfb, opened by the first test that needs it.
class GlWindowGui : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool opened = false;
    if (opened) return;
    ASSERT_GT(openGlutTestWindow("quoit colour test", 200, 200, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH), 0);
    opened = true;
  }
};

class ColourSetsGui : public GlWindowGui {};
class PropShapesGui : public GlWindowGui {};

void expectListColour(int list, float r, float g, float b, float a) {
  glColor4f(-1, -1, -1, -1);
  glCallList(GLuint(colorLists + list));
  float c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_NEAR(c[0], r, 0.002) << "list " << list;
  EXPECT_NEAR(c[1], g, 0.002) << "list " << list;
  EXPECT_NEAR(c[2], b, 0.002) << "list " << list;
  EXPECT_NEAR(c[3], a, 0.002) << "list " << list;
}

void expectPalette(int list, int colour, int alpha) {
  const unsigned char *p = quoitPalette[colour];
  expectListColour(list, p[0] / 255.f, p[1] / 255.f, p[2] / 255.f, alpha / 255.f);
}

TEST_F(ColourSetsGui, NormalSetWithItsAlpha) {
  qGlSetColors(255);
  ASSERT_GE(colorLists, 0);
  int base = colorLists;
  for (int i = 0; i < 16; i++) {
    expectPalette(i, i, 255);
    expectPalette(32 + i, i, 255);
  }
  expectListColour(6, 0, 0, 192 / 255.f, 1);
  expectListColour(4, 240 / 255.f, 0, 0, 1);
  qGlSetColors(160);
  EXPECT_EQ(colorLists, base);  // the block is made once
  for (int i = 0; i < 16; i++) expectPalette(i, i, 160);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ColourSetsGui, DimmedAndBrightenedSet) {
  qGlSetColors2();
  for (int i = 0; i < 16; i++) {
    const unsigned char *p = quoitPalette[i];
    expectListColour(i, (p[0] / 5) / 255.f, (p[1] / 5) / 255.f, (p[2] / 5) / 255.f, 1);
    float bright[3];
    for (int k = 0; k < 3; k++) bright[k] = (p[k] * 1.5 < 255 ? int(p[k] * 1.5) : 255) / 255.f;
    expectListColour(32 + i, bright[0], bright[1], bright[2], 1);
  }
  expectListColour(32 + 8, 1, 1, 1, 1);  // 176 x 1.5 is above 255
  expectListColour(32 + 2, 216 / 255.f, 144 / 255.f, 0, 1);
}

TEST_F(ColourSetsGui, GhostsPulseByCounter) {
  realTimeTotal = 0.7;
  for (int counter : {0, 1, 5}) {
    qGlSetGhostColors(counter);
    int alpha = int(sin(cos(double(counter)) * 3 * 0.7) * 30 + 100);
    EXPECT_GE(alpha, 70);
    EXPECT_LE(alpha, 130);
    for (int i = 0; i < 16; i++) {
      expectPalette(i, i, alpha);
      expectPalette(32 + i, i, 255);
    }
  }
  realTimeTotal = 0;
}

TEST_F(ColourSetsGui, ShadowAndGradientSets) {
  const float shadow[4] = {0, 0, 0, 0.4f};
  qGlSetShadowColors(shadow);
  for (int i : {0, 7, 15, 32, 40, 47}) expectListColour(i, 0, 0, 0, 0.4f);
  qGlSetGradientColors();
  for (int i = 0; i < 16; i++) {
    expectListColour(i, 0.8f - i / 50.f, 0.2f, 0.7f, 1);
    expectListColour(32 + i, 0.8f - i / 50.f, 0.2f, 0.7f, 1);
  }
  qGlSetColors(255);
}

// Draws a shape into a feedback buffer and returns its polygons' vertices (window coordinates of
// a 1000 x 1000 viewport over [-1, 1], with model z shown as window y).
std::vector<std::vector<float>> feedback(void (*draw)(GLUquadric *), bool cull, GLenum face = GL_BACK) {
  std::vector<GLfloat> buffer(1 << 20);
  glViewport(0, 0, 1000, 1000);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotated(-90, 1, 0, 0);
  glFrontFace(GL_CCW);
  glCullFace(face);
  if (cull) glEnable(GL_CULL_FACE);
  else glDisable(GL_CULL_FACE);
  glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  GLUquadric *q = gluNewQuadric();
  gluQuadricDrawStyle(q, GLU_FILL);
  gluQuadricNormals(q, GLU_SMOOTH);
  draw(q);
  gluDeleteQuadric(q);
  int n = glRenderMode(GL_RENDER);
  glDisable(GL_CULL_FACE);
  std::vector<std::vector<float>> polygons;
  for (int i = 0; i < n;) {
    int token = int(buffer[i++]);
    if (token != GL_POLYGON_TOKEN) {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
    int count = int(buffer[i++]);
    polygons.emplace_back(buffer.begin() + i, buffer.begin() + i + 3 * count);
    i += 3 * count;
  }
  return polygons;
}

void ballOf10(GLUquadric *q) { propSpheroid(q, 0.5, 10, 6, colorLists, 8, 4); }

// Mean eye-space z of a feedback polygon: culling keeps the faces turned toward +z.
double centreDepth(const std::vector<float> &polygon) {
  double z = 0;
  for (size_t v = 2; v < polygon.size(); v += 3) z += polygon[v] * 2 - 1;
  return z / double(polygon.size() / 3);
}

TEST_F(PropShapesGui, SegmentedBallFacesOutward) {
  qGlSetColors(255);
  auto all = feedback(ballOf10, false);
  // 10 slices become 12: three per segment; per segment two fans of 3 and 4 rings of 3 quads.
  EXPECT_EQ(all.size(), size_t(4 * (3 + 3 + 4 * 3 * 2)));
  for (const auto &polygon : all)
    for (size_t v = 0; v < polygon.size(); v += 3) {
      double x = polygon[v] / 500 - 1, y = polygon[v + 1] / 500 - 1, z = polygon[v + 2] * 2 - 1;
      EXPECT_NEAR(sqrt(x * x + y * y + z * z), 0.5, 0.003);
    }
  // Outward faces: the ones kept facing the viewer lie on the near half, the others on the far one.
  auto front = feedback(ballOf10, true, GL_BACK), back = feedback(ballOf10, true, GL_FRONT);
  EXPECT_EQ(front.size() + back.size(), all.size());
  for (const auto &polygon : front) EXPECT_GT(centreDepth(polygon), 0);
  for (const auto &polygon : back) EXPECT_LT(centreDepth(polygon), 0);
}

TEST_F(PropShapesGui, SegmentsTakeTheirColourLists) {
  qGlSetColors(255);
  GLuint ball = glGenLists(1);
  glNewList(ball, GL_COMPILE);
  propSpheroid(nullptr, 0.06, 8, 4, colorLists, 8, 4);
  glEndList();
  glColor3f(0, 0, 0);
  glCallList(ball);
  float c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);  // segment 3, the last drawn, has colour a
  EXPECT_NEAR(c[0], 176 / 255.f, 0.002);
  propSpheroid(nullptr, 0.06, 8, 4, colorLists + 1, 8, 4);  // not the current set: white and red
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_NEAR(c[0], 1, 0.002);
  EXPECT_NEAR(c[1], 1, 0.002);
  glDeleteLists(ball, 1);
}

TEST_F(PropShapesGui, ClubSpansHalfAMetre) {
  qPrefs.detail = 0;
  auto polygons = feedback(propClub, false);
  ASSERT_FALSE(polygons.empty());
  double low = 10, high = -10, widest = 0;
  for (const auto &polygon : polygons)
    for (size_t v = 0; v < polygon.size(); v += 3) {
      double x = polygon[v] / 500 - 1, z = polygon[v + 1] / 500 - 1;
      low = std::min(low, z);
      high = std::max(high, z);
      widest = std::max(widest, fabs(x));
    }
  EXPECT_NEAR(low, -0.225, 0.003);  // the knob
  EXPECT_NEAR(high, 0.3, 0.003);
  EXPECT_NEAR(widest, 0.055, 0.003);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PropShapesGui, ArrowPointsAtTheOrigin) {
  auto polygons = feedback(propArrow, false);
  ASSERT_FALSE(polygons.empty());
  double nearest = 10;
  for (const auto &polygon : polygons)
    for (size_t v = 0; v < polygon.size(); v += 3) {
      double x = polygon[v] / 500 - 1, y = polygon[v + 1] / 500 - 1, z = polygon[v + 2] * 2 - 1;
      nearest = std::min(nearest, sqrt(x * x + y * y + z * z));
    }
  EXPECT_NEAR(nearest, 0.2, 0.003);
}

}  // namespace
