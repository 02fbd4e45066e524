// The model compiler in a real GL context: what the display lists of packed shapes and built-in
// shapes draw, read back through GL feedback and from the pixels.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <array>
#include <cmath>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "scene/colours.h"
#include "scene/geometry.h"
#include "scene/renderer.h"
#include "scene_fixture.h"
#include "tests/support/glut_test_window.h"
#include "tests/support/quoit_test_support.h"
#include "ui/glut_windows.h"

namespace {

// The GL window of the test program: the one another test opened, else one of our own.
void openGlWindow() {
  if (glutGet(GLUT_INIT_STATE) && glutGetWindow() > 0) return;
  ASSERT_GT(openGlutTestWindow("quoit model compiler test", 200, 200, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH), 0);
}

struct Vertex {
  double x, y, z;  // model coordinates (metres) under the identity transforms of drawList
  float rgba[4];
};

struct Primitive {
  bool polygon;  // else one line segment
  std::vector<Vertex> v;
};

using Point = std::array<int, 3>;  // millimetres

// A packed shape made by hand: the header words, the points, then the section words as given.
std::vector<int16_t> packed(const std::vector<Point> &points, const std::vector<int> &sections) {
  std::vector<int16_t> w = {0, 6, 0, 0, 0, int16_t(points.size())};
  for (const Point &p : points)
    for (int c : p) w.push_back(int16_t(c));
  for (int s : sections) w.push_back(int16_t(s));
  w[SHAPE_SIZE] = int16_t(w.size() * 2);
  return w;
}

// Packed colour word of triangles and polygons: front colour x 256 + back colour.
int colours(int front, int back) { return front * 256 + back; }

const std::vector<Point> square = {{0, 0, 0}, {400, 0, 0}, {400, 400, 0}, {0, 400, 0}};

class ModelCompilerGui : public SceneTest {
 protected:
  static void SetUpTestSuite() { openGlWindow(); }

  std::deque<std::vector<int16_t>> shapes;  // kept alive so that no two shapes share an address

  void SetUp() override {
    SceneTest::SetUp();
    qPrefs.detail = 0;
    qGlSetColors(255);
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  void TearDown() override {
    qGlSetColors(255);
    SceneTest::TearDown();
  }

  // Entry e of the loaded-object table holds the shape; the shape stays the test's.
  void enter(int e, const std::vector<int16_t> &words, int flags = OBJ_FIXED | OBJ_NEW_LIST) {
    shapes.push_back(words);
    objectShapes[e] = shapes.back().data();
    objekt_geladen[e] = LoadedObject{};
    snprintf(objekt_geladen[e].name, sizeof objekt_geladen[e].name, "shape%d", e);
    objekt_geladen[e].flags = flags;
    if (loadedObjectCount <= e) loadedObjectCount = e + 1;
  }

  int loadFile(const std::string &text, int flags = OBJ_FIXED) {
    static int serial;
    std::string path = writeFile("model" + std::to_string(serial++), text);
    EXPECT_EQ(Objektdatei_laden(path.c_str(), 3, 0, 0, 0, 0, flags), LOAD_ENTERED);
    return loadedObjectCount - 1;
  }
};

// What a display list draws, in order, through GL feedback with identity transforms on a
// 1000 x 1000 viewport.
std::vector<Primitive> drawList(GLuint list) {
  std::vector<GLfloat> buffer(1 << 21);
  glViewport(0, 0, 1000, 1000);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_CULL_FACE);
  glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  glPushMatrix();
  glCallList(list);
  glPopMatrix();
  int n = glRenderMode(GL_RENDER);
  EXPECT_GE(n, 0) << "feedback buffer too small";
  auto vertex = [&](int &i) {
    Vertex v{buffer[i] / 500.0 - 1, buffer[i + 1] / 500.0 - 1, buffer[i + 2] * 2.0 - 1, {}};
    for (int k = 0; k < 4; k++) v.rgba[k] = buffer[i + 3 + k];
    i += 7;
    return v;
  };
  std::vector<Primitive> drawn;
  for (int i = 0; i < n;) {
    int token = int(buffer[i++]);
    Primitive p;
    if (token == GL_POLYGON_TOKEN) {
      p.polygon = true;
      int count = int(buffer[i++]);
      for (int k = 0; k < count; k++) p.v.push_back(vertex(i));
    } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      p.polygon = false;
      p.v.push_back(vertex(i));
      p.v.push_back(vertex(i));
    } else {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
    drawn.push_back(p);
  }
  return drawn;
}

void expectAt(const Vertex &v, const Point &p, const char *what) {
  EXPECT_NEAR(v.x, p[0] * 0.001, 0.003) << what;
  EXPECT_NEAR(v.y, p[1] * 0.001, 0.003) << what;
  EXPECT_NEAR(v.z, p[2] * 0.001, 0.003) << what;
}

void expectColour(const Vertex &v, const float rgb[3], const char *what) {
  for (int k = 0; k < 3; k++) EXPECT_NEAR(v.rgba[k], rgb[k], 0.003) << what << " component " << k;
}

std::array<float, 3> paletteColour(int c, double scale = 1.0) {
  std::array<float, 3> rgb;
  for (int k = 0; k < 3; k++) rgb[k] = float(quoitPalette[c][k] * scale / 255.0);
  return rgb;
}

TEST_F(ModelCompilerGui, FaceNormalIsTheCrossProductOfTwoEdges) {
  const std::array<Point, 3> faces[] = {
      {{{0, 0, 0}, {0, 500, 0}, {500, 0, 0}}},
      {{{100, -200, 300}, {-400, 250, 10}, {30, 30, -600}}},
      {{{0, 0, 1000}, {1000, 0, 0}, {0, 1000, 0}}},
      {{{5, 5, 5}, {5, 5, 5}, {900, -30, 7}}},  // two equal points: no direction
  };
  for (const auto &face : faces) {
    enter(1, packed({face[0], face[1], face[2]}, {0, 0, 0, 0}));
    qGlFaceNormal(1, 0, 1, 2);
    double p[3][3];
    for (int i = 0; i < 3; i++)
      for (int k = 0; k < 3; k++) p[i][k] = face[i][k] * 0.001;
    double u[3] = {p[1][0] - p[2][0], p[1][1] - p[2][1], p[1][2] - p[2][2]};
    double w[3] = {p[0][0] - p[1][0], p[0][1] - p[1][1], p[0][2] - p[1][2]};
    double n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    float current[3];
    glGetFloatv(GL_CURRENT_NORMAL, current);
    for (int k = 0; k < 3; k++) {
      EXPECT_NEAR(lastFaceNormal[k], n[k], 1e-5) << k;
      EXPECT_NEAR(current[k], n[k], 1e-5) << k;
    }
  }
  // The normal looks at the side from which third, second, first run counter-clockwise.
  enter(1, packed({{0, 0, 0}, {0, 500, 0}, {500, 0, 0}}, {0, 0, 0, 0}));
  qGlFaceNormal(1, 0, 1, 2);
  EXPECT_GT(lastFaceNormal[2], 0);
}

TEST_F(ModelCompilerGui, LinesAndTrianglesDrawInFileOrder) {
  int e = loadFile(
      "*\n4 POINTS\n0 0 0\n0.4 0 0\n0.4 0.4 0\n0 0.4 0.2\n"
      "1 LINES\n(6 1) 0 1\n"
      "3 TRIANGLES\n(4 0 1) 0 1 2\n(3 9 3) 0 1 3\n(11 0 0) 1 2 3\n0 POLYGONS\n0 SPHERES\n");
  GLuint list = GLuint(qGlDefineObject(e));
  ASSERT_NE(list, 0u);
  auto drawn = drawList(list);
  const Point p[4] = {{0, 0, 0}, {400, 0, 0}, {400, 400, 0}, {0, 400, 200}};
  ASSERT_EQ(drawn.size(), size_t(1 + 3 + 3));
  // The line in its colour.
  EXPECT_FALSE(drawn[0].polygon);
  expectAt(drawn[0].v[0], p[0], "line start");
  expectAt(drawn[0].v[1], p[1], "line end");
  expectColour(drawn[0].v[0], paletteColour(6).data(), "line");
  // Fronts run third, second, first; the back face of attribute 3 runs first, second, third.
  const int order[3][3] = {{2, 1, 0}, {3, 1, 0}, {0, 1, 3}};
  const int colour[3] = {4, 3, 3};
  for (int t = 0; t < 3; t++) {
    ASSERT_TRUE(drawn[1 + t].polygon);
    ASSERT_EQ(drawn[1 + t].v.size(), 3u);
    for (int k = 0; k < 3; k++) expectAt(drawn[1 + t].v[k], p[order[t][k]], "triangle vertex");
    expectColour(drawn[1 + t].v[0], paletteColour(colour[t]).data(), "triangle colour");
  }
  // Attribute bit 0 clear: the outline as a line loop 3, 2, 1.
  const int loop[4] = {3, 2, 1, 3};
  for (int s = 0; s < 3; s++) {
    EXPECT_FALSE(drawn[4 + s].polygon);
    expectAt(drawn[4 + s].v[0], p[loop[s]], "loop start");
    expectAt(drawn[4 + s].v[1], p[loop[s + 1]], "loop end");
    expectColour(drawn[4 + s].v[0], paletteColour(11).data(), "loop colour");
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

using Image = std::vector<unsigned char>;  // RGB, bottom row first
using Rgb = std::array<int, 3>;
const Rgb clearColour = {0, 0, 255};

// The back buffer after draw() over the 200 x 200 window: 100 pixels to the metre, the viewer on
// +z, cleared to blue, depth tested, the faces named by cull culled (0: none).
Image imageOf(const std::function<void()> &draw, GLenum cull = GL_BACK) {
  glViewport(0, 0, 200, 200);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1, 1, -1, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDrawBuffer(GL_BACK);
  glReadBuffer(GL_BACK);
  glDisable(GL_DITHER);
  glClearColor(0, 0, 1, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glFrontFace(GL_CCW);
  if (cull) {
    glCullFace(cull);
    glEnable(GL_CULL_FACE);
  }
  glPushMatrix();
  draw();
  glPopMatrix();
  glFinish();
  glDisable(GL_CULL_FACE);
  Image image(200 * 200 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 200, 200, GL_RGB, GL_UNSIGNED_BYTE, image.data());
  return image;
}

Image imageOfList(GLuint list, GLenum cull = GL_BACK) {
  return imageOf([list] { glCallList(list); }, cull);
}

Rgb pixel(const Image &image, int x, int y) {
  const unsigned char *p = &image[size_t(3 * (200 * y + x))];
  return {p[0], p[1], p[2]};
}

// Pixels within the box (window pixels, inclusive) whose colour is rgb, or (other) is not rgb.
int pixelsOf(const Image &image, Rgb rgb, bool other = false, int x0 = 0, int y0 = 0, int x1 = 199, int y1 = 199) {
  int n = 0;
  for (int y = y0; y <= y1; y++)
    for (int x = x0; x <= x1; x++) {
      Rgb p = pixel(image, x, y);
      bool same = std::abs(p[0] - rgb[0]) <= 1 && std::abs(p[1] - rgb[1]) <= 1 && std::abs(p[2] - rgb[2]) <= 1;
      n += same != other;
    }
  return n;
}

int differingPixels(const Image &a, const Image &b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); i += 3) n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
  return n;
}

Rgb palette(int c) { return {quoitPalette[c][0], quoitPalette[c][1], quoitPalette[c][2]}; }

// Light 0 from the direction given (in window space), white, over a dim ambient light of 0.2,
// lighting the colours of the colour lists; flat shading, so that every facet shows.
struct LitScene {
  explicit LitScene(const GLfloat direction[4]) {
    const GLfloat white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1}, dim[4] = {0.2f, 0.2f, 0.2f, 1};
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, dim);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_FLAT);
  }
  ~LitScene() { glPopAttrib(); }
};

// Lit from +z, a face whose normal points to the viewer is bright, one whose normal points away
// only takes the ambient light. Fronts are seen with back faces culled, backs with fronts culled.
TEST_F(ModelCompilerGui, BackFacesAreLitWithTheTurnedNormal) {
  int e = loadFile(
      "*\n15 POINTS\n0 0 0\n0 0.5 0\n0.5 0 0\n"
      "-0.6 0 0\n-0.6 0.5 0\n-0.1 0.5 0\n-0.1 0 0\n"
      "0 -0.8 0\n0 -0.2 0\n0.6 -0.2 0\n0.6 -0.8 0\n0.2 -0.6 0\n0.2 -0.4 0\n0.4 -0.4 0\n0.4 -0.6 0\n"
      "1 TRIANGLES\n(1 0 3) 0 1 2\n"
      "2 POLYGONS\n(1 5 3) 3 4 5 6 3\n(1 5 3) 7 8 9 10 7 - 11 12 13 14 11\n0 SPHERES\n");
  GLuint list = GLuint(qGlDefineObject(e));
  const GLfloat up[4] = {0, 0, 1, 0};
  LitScene light(up);
  Image front = imageOfList(list, GL_BACK), back = imageOfList(list, GL_FRONT);
  const Rgb bright = {255, 255, 0};  // colour 1 (224, 224, 0) under full light and ambient
  auto ambient = [](int c) {
    Rgb p = palette(c);
    for (int &k : p) k = int(k * 0.2 + 0.5);
    return p;
  };
  const struct {
    const char *what;
    int x, y, backColour;
  } faces[] = {{"triangle", 117, 117, 1}, {"polygon", 65, 125, 5}, {"polygon with a hole", 110, 50, 5}};
  for (const auto &f : faces) {
    Rgb b = pixel(back, f.x, f.y), expected = ambient(f.backColour);
    EXPECT_EQ(pixel(front, f.x, f.y), bright) << f.what;
    for (int k = 0; k < 3; k++) EXPECT_NEAR(b[k], expected[k], 2) << f.what << " back, component " << k;
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A square ring with a back face, an attached polygon, then a sphere: the hole stays empty, both
// faces cover the ring, and reading goes on after the attached polygon.
TEST_F(ModelCompilerGui, PolygonWithAHoleLeavesTheHoleEmpty) {
  int e = loadFile(
      "*\n9 POINTS\n-0.8 -0.8 0\n0.8 -0.8 0\n0.8 0.8 0\n-0.8 0.8 0\n"
      "-0.3 -0.3 0\n0.3 -0.3 0\n0.3 0.3 0\n-0.3 0.3 0\n0.9 0.9 0.5\n"
      "1 POLYGONS\n(11 8 3 1) 0 3 2 1 0 - 4 5 6 7 4\n(5 0 1) 8 1 2 8\n"
      "1 SPHERES\n(9 0) 8 0.03\n");
  GLuint list = GLuint(qGlDefineObject(e));
  Image front = imageOfList(list, GL_BACK), back = imageOfList(list, GL_FRONT);
  const int ring = 22000;  // (1.6 x 1.6 - 0.6 x 0.6) square metres at 100 pixels to the metre
  EXPECT_NEAR(pixelsOf(front, palette(11)), ring, ring / 50);
  EXPECT_NEAR(pixelsOf(back, palette(8)), ring, ring / 50);
  EXPECT_EQ(pixelsOf(front, clearColour, true, 71, 71, 129, 129), 0) << "pixels in the hole";
  EXPECT_EQ(pixelsOf(back, clearColour, true, 71, 71, 129, 129), 0) << "pixels in the hole";
  EXPECT_GT(pixelsOf(front, palette(5)), 500);  // the attached polygon
  EXPECT_GT(pixelsOf(front, palette(9)), 20);   // the sphere after it
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A hole that crosses its outline: the tessellator makes vertices where the edges cross, and the
// parts are filled by the odd-winding rule (the overlap is empty, the hole's outer part is drawn).
TEST_F(ModelCompilerGui, HoleCrossingItsOutlineIsCutWhereItCrosses) {
  testing::internal::CaptureStdout();
  int e = loadFile(
      "*\n8 POINTS\n-0.5 -0.5 0\n-0.5 0.5 0\n0.5 0.5 0\n0.5 -0.5 0\n"
      "0.2 -0.2 0\n0.2 0.2 0\n0.8 0.2 0\n0.8 -0.2 0\n"
      "1 POLYGONS\n(11 0 1) 0 1 2 3 0 - 4 5 6 7 4\n0 SPHERES\n");
  Image front = imageOfList(GLuint(qGlDefineObject(e)));
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("is broken"), std::string::npos) << out;
  EXPECT_NEAR(pixelsOf(front, palette(11)), 10000, 200);  // 1 + 0.24 - 2 x 0.12 square metres
  EXPECT_EQ(pixel(front, 135, 100), clearColour);
  EXPECT_EQ(pixel(front, 165, 100), palette(11));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A sphere model draws what gluSphere draws with 42 stacks per metre of radius plus 3 and twice as
// many slices, and visibly not what one slice or stack more would draw.
TEST_F(ModelCompilerGui, SphereTessellationGrowsWithTheRadius) {
  struct Case {
    int radiusMm, slices, stacks;
  };
  const Case cases[] = {{20, 7, 3}, {100, 14, 7}, {500, 48, 24}};
  const GLfloat aslant[4] = {1, 2, 3, 0};
  LitScene light(aslant);
  GLUquadric *quadric = gluNewQuadric();
  ASSERT_NE(quadric, nullptr);
  for (const Case &c : cases) {
    enter(2, packed({{10, -5, 0}}, {0, 0, 0, 1, 6, 0, 0, c.radiusMm}));
    GLuint list = GLuint(qGlDefineObject(2));
    double r = c.radiusMm * 0.001, scale = 0.8 / r;
    Image model = imageOf([&] {
      glScaled(scale, scale, scale);
      glCallList(list);
    });
    auto sphere = [&](int slices, int stacks) {
      return imageOf([&] {
        glScaled(scale, scale, scale);
        glCallList(GLuint(colorLists + 6));
        glTranslated(0.01, -0.005, 0);
        gluSphere(quadric, r, slices, stacks);
      });
    };
    EXPECT_GT(pixelsOf(model, clearColour, true), 10000) << c.radiusMm;
    EXPECT_LE(differingPixels(model, sphere(c.slices, c.stacks)), 20) << c.radiusMm;
    EXPECT_GT(differingPixels(model, sphere(c.slices + 1, c.stacks)), 200) << c.radiusMm;
    EXPECT_GT(differingPixels(model, sphere(c.slices, c.stacks + 1)), 200) << c.radiusMm;
  }
  gluDeleteQuadric(quadric);
}

// Juggled objects take the colour lists 32 above; colours beyond the palette fold into it and
// never call a list outside the colour block.
TEST_F(ModelCompilerGui, ColoursStayInsideTheColourBlock) {
  qGlSetColors2();  // dim lists 0-15, bright lists 32-47
  for (int c : {0, 4, 15, 16, 20, 47, 63, 64, 127, 200, 255}) {
    for (int juggled : {0, 1}) {
      std::vector<int> sections = {1, c, 0, 1, 1, colours(c, 0), 1, 0, 1, 2, 0, 0};
      enter(3, packed(square, sections), OBJ_NEW_LIST | (juggled ? OBJ_JUGGLED : OBJ_FIXED));
      auto drawn = drawList(GLuint(qGlDefineObject(3)));
      ASSERT_EQ(drawn.size(), 2u) << c;
      const unsigned char *p = quoitPalette[c & 15];
      float expected[3];
      for (int k = 0; k < 3; k++) {
        int dim = p[k] / 5, bright = p[k] * 1.5 < 255 ? int(p[k] * 1.5) : 255;
        expected[k] = (juggled ? bright : dim) / 255.f;
      }
      std::string what = "colour " + std::to_string(c) + (juggled ? " juggled" : "");
      expectColour(drawn[0].v[0], expected, (what + " line").c_str());
      expectColour(drawn[1].v[0], expected, (what + " triangle").c_str());
    }
  }
  EXPECT_EQ(highlightOffset, 0);
}

TEST_F(ModelCompilerGui, NewListFlagMakesANameRecompileKeepsIt) {
  const std::vector<int> oneTriangle = {0, 1, colours(4, 0), 1, 0, 1, 2, 0, 0};
  const std::vector<int> twoTriangles = {0, 2, colours(4, 0), 1, 0, 1, 2, colours(6, 0), 1, 0, 2, 3, 0, 0};
  enter(4, packed(square, oneTriangle), OBJ_FIGURE | OBJ_NEW_LIST | OBJ_RECOMPILE);
  GLuint first = GLuint(qGlDefineObject(4));
  ASSERT_NE(first, 0u);
  EXPECT_EQ(objekt_geladen[4].displayList, int(first));
  EXPECT_EQ(objekt_geladen[4].flags, OBJ_FIGURE | OBJ_RECOMPILE);
  EXPECT_TRUE(glIsList(first));

  // Recompiled in place: the same name draws the changed shape.
  shapes.back() = packed(square, twoTriangles);
  objectShapes[4] = shapes.back().data();
  EXPECT_EQ(GLuint(qGlDefineObject(4)), first);
  EXPECT_EQ(drawList(first).size(), 2u);
  EXPECT_EQ(objekt_geladen[4].flags, OBJ_FIGURE | OBJ_RECOMPILE);

  // A new list every time the model is loaded again: the old names do not stay behind.
  std::vector<GLuint> names = {first};
  for (int i = 0; i < 20; i++) {
    objekt_geladen[4].flags |= OBJ_NEW_LIST;
    names.push_back(GLuint(qGlDefineObject(4)));
  }
  for (GLuint name : names) {
    if (name != names.back()) {
      EXPECT_FALSE(glIsList(name)) << name;
    }
  }
  EXPECT_EQ(objekt_geladen[4].displayList, int(names.back()));
  EXPECT_EQ(drawList(names.back()).size(), 2u);

  // An entry whose list name is not one the compiler made for it is not compiled over: here it
  // names a colour list, which must keep its colour.
  enter(5, packed(square, oneTriangle), OBJ_FIXED | OBJ_RECOMPILE);
  objekt_geladen[5].displayList = colorLists + 3;
  GLuint own = GLuint(qGlDefineObject(5));
  EXPECT_NE(own, GLuint(colorLists + 3));
  glColor3f(0, 0, 0);
  glCallList(GLuint(colorLists + 3));
  float c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_NEAR(c[1], quoitPalette[3][1] / 255.f, 0.003);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// With textures on, the floor (entry 0) is drawn textured up to its first triangle; other models
// are not. The texture here is one grey texel, which halves the colour.
TEST_F(ModelCompilerGui, FloorIsTexturedWhenTexturesAreOn) {
  GLuint texture;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const unsigned char grey[3] = {128, 128, 128};
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, grey);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  // Two triangles: the first below the diagonal of the square, the second above it.
  const std::vector<int> floor = {0, 2, colours(8, 0), 1, 0, 2, 1, colours(8, 0), 1, 0, 3, 2, 0, 0};
  struct Case {
    int entry, displayFlags, first, second;  // red of a pixel in each triangle
  };
  const Case cases[] = {{0, 0, 176, 176}, {0, 8, 88, 176}, {1, 8, 176, 176}};
  for (const Case &c : cases) {
    qPrefs.displayFlags = c.displayFlags;
    enter(c.entry, packed(square, floor));
    Image image = imageOfList(GLuint(qGlDefineObject(c.entry)));
    EXPECT_NEAR(pixel(image, 130, 110)[0], c.first, 2) << c.entry << " " << c.displayFlags;
    EXPECT_NEAR(pixel(image, 110, 130)[0], c.second, 2) << c.entry << " " << c.displayFlags;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  }
  qPrefs.displayFlags = 0;
  glBindTexture(GL_TEXTURE_2D, 0);
  glDeleteTextures(1, &texture);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A built-in shape's list draws what its prop shape draws (in the highlight colours of a juggled
// object), with the ball's slices and stacks from the detail preference; recompiling leaks nothing.
TEST_F(ModelCompilerGui, BuiltinShapesCompileIntoTheirEntry) {
  struct Case {
    int type, detail;
    double scale;
    std::function<void()> prop;
  };
  const Case cases[] = {
      {BUILTIN_SPHEROID, 0, 10, [] { propSpheroid(qQuadric, 0.06, 14, 7, colorLists, 8, 4); }},
      {BUILTIN_SPHEROID, 3, 10, [] { propSpheroid(qQuadric, 0.06, 20, 10, colorLists, 8, 4); }},
      {BUILTIN_CLUB, 0, 2.5, [] { propClub(qQuadric); }},
      {BUILTIN_ARROW, 0, 1.5, [] { propArrow(qQuadric); }},
  };
  const GLfloat aslant[4] = {1, 2, 3, 0};
  LitScene light(aslant);
  qGlSetColors2();  // the juggled object's colours differ from the others
  for (const Case &c : cases) {
    qPrefs.detail = c.detail;
    enter(6, packed({}, {0, 0, 0, 0}), OBJ_JUGGLED | OBJ_CHOOSABLE | OBJ_NEW_LIST | OBJ_RECOMPILE);
    GLuint first = GLuint(qGlDefineBuiltinObject(6, c.type, OBJ_NEW_LIST));
    ASSERT_NE(first, 0u) << c.type;
    EXPECT_EQ(objekt_geladen[6].displayList, int(first));
    EXPECT_EQ(objekt_geladen[6].flags, OBJ_JUGGLED | OBJ_CHOOSABLE | OBJ_RECOMPILE);
    Image model = imageOf([&] {
      glRotated(-70, 1, 0, 0);  // seen from the side
      glScaled(c.scale, c.scale, c.scale);
      glCallList(first);
    });
    Image prop = imageOf([&] {
      glRotated(-70, 1, 0, 0);
      glScaled(c.scale, c.scale, c.scale);
      highlightOffset = HIGHLIGHT_LISTS;
      c.prop();
      highlightOffset = 0;
    });
    EXPECT_GT(pixelsOf(model, clearColour, true), 200) << c.type;
    EXPECT_LE(differingPixels(model, prop), 20) << c.type << " detail " << c.detail;
    GLuint again = GLuint(qGlDefineBuiltinObject(6, c.type, OBJ_NEW_LIST));
    if (again != first) {
      EXPECT_FALSE(glIsList(first));
    }
  }
  qPrefs.detail = 0;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A ball's and a club's list with the colours of a kept set written in draws, lit, what their own
// list draws through the colour lists of that set.
TEST_F(ModelCompilerGui, BuiltinShapesGetListsWithTheColoursWrittenIn) {
  const float shadow[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  const std::function<void()> sets[] = {[] { qGlSetColors(255); }, [] { qGlSetColors2(); },
                                        [&] { qGlSetShadowColors(shadow); }};
  const GLfloat aslant[4] = {1, 2, 3, 0};
  LitScene light(aslant);
  for (int type : {BUILTIN_SPHEROID, BUILTIN_CLUB}) {
    for (int i = 0; i < 3; i++) {
      sets[i]();
      enter(6, packed({}, {0, 0, 0, 0}), OBJ_JUGGLED | OBJ_NEW_LIST);
      GLuint own = GLuint(qGlDefineBuiltinObject(6, type, OBJ_NEW_LIST));
      GLuint coloured = GLuint(qGlColouredList(6));
      ASSERT_NE(coloured, 0u) << type << " " << i;
      EXPECT_NE(coloured, own) << type << " " << i;
      auto image = [](GLuint list) {
        return imageOf([list] {
          glRotated(-70, 1, 0, 0);
          glScaled(5, 5, 5);
          glCallList(list);
        });
      };
      Image written = image(coloured);
      EXPECT_GT(pixelsOf(written, clearColour, true), 200) << type << " " << i;
      EXPECT_EQ(differingPixels(written, image(own)), 0) << type << " " << i;
    }
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Broken shapes: counts and indices past the end, negative counts. Each draws exactly what its
// sound beginning draws, is reported once however often it is compiled, and leaves no GL error.
TEST_F(ModelCompilerGui, BrokenShapesDrawTheirSoundPart) {
  const std::vector<int> line = {6, 0, 1};
  const std::vector<int> triangle = {colours(4, 0), 1, 0, 2, 1};
  const std::vector<int> polygon = {colours(11, 0), 1, 3, 0, 0, 0, 2, 1, 0};
  const std::vector<int> sphere = {9, 0, 0, 100};
  auto join = [](std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto &p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  struct Case {
    const char *name;
    std::vector<int> sections;
    std::vector<int> sound;  // the sections of a shape that draws the same
    int pointCount;          // replaces the point count when not -1
    int sizeBytes;           // replaces the size word when not -1
  };
  std::vector<int> nested = {0, 0, 1};
  for (int i = 0; i < 40; i++) nested.insert(nested.end(), {colours(11, 0), 1, 3, 0, 1, 0, 2, 1, 0});
  nested.insert(nested.end(), {colours(11, 0), 1, 3, 0, 0, 0, 2, 1, 0, 0});
  const std::vector<int> full = join({{1}, line, {1}, triangle, {1}, polygon, {1}, sphere});
  const std::vector<int> nothing = {0, 0, 0, 0};
  const Case cases[] = {
      {"sound", full, full, -1, -1},
      {"no sections", {}, nothing, -1, -1},
      {"line count past the end", join({{5}, line}), join({{1}, line, {0, 0, 0}}), -1, -1},
      {"line point past the points", join({{2}, line, {6, 0, 4}}), join({{1}, line, {0, 0, 0}}), -1, -1},
      {"negative triangle point", join({{0, 2}, triangle, {colours(4, 0), 1, 0, -1, 2}}),
       join({{0, 1}, triangle, {0, 0}}), -1, -1},
      {"triangle count past the end", join({{0, 100}, triangle}), join({{0, 1}, triangle, {0, 0}}), -1, -1},
      {"polygon count missing", {0, 0}, nothing, -1, -1},
      {"outline count past the end", {0, 0, 1, colours(11, 0), 1, 30000, 0, 0, 0, 2, 1, 0}, nothing, -1, -1},
      {"negative outline count", {0, 0, 1, colours(11, 0), 1, -3, 0, 0, 0, 2, 1, 0, 0}, nothing, -1, -1},
      {"negative hole count", {0, 0, 1, colours(11, 0), 1, 3, -2, 0, 0, 2, 1, 0, 0}, nothing, -1, -1},
      {"hole point past the points", {0, 0, 1, colours(11, 0), 1, 4, 3, 0, 0, 3, 2, 1, 0, 0, 1, 9, 0, 0}, nothing,
       -1, -1},
      {"attached count past the end", {0, 0, 1, colours(11, 0), 1, 3, 0, 5, 0, 2, 1, 0}, join({{0, 0, 1}, polygon, {0}}),
       -1, -1},
      {"attached polygons nest without end", nested, join({{0, 0, 1}, polygon, {0}}), -1, -1},
      {"sphere centre past the points", {0, 0, 0, 1, 9, 0, 7, 100}, nothing, -1, -1},
      {"sphere count past the end", join({{0, 0, 0, 3}, sphere}), join({{0, 0, 0, 1}, sphere}), -1, -1},
      {"point count past the end", nothing, {}, 1000, -1},
      {"negative point count", nothing, {}, -4, -1},
      {"size word inside the header", nothing, {}, -1, 8},
      {"size word inside the points", nothing, {}, -1, 30},
  };
  int e = 10;
  for (const Case &c : cases) {
    std::vector<int16_t> words = packed(square, c.sections);
    if (c.pointCount != -1) words[SHAPE_POINT_COUNT] = int16_t(c.pointCount);
    if (c.sizeBytes != -1) words[SHAPE_SIZE] = int16_t(c.sizeBytes);
    enter(e, words, OBJ_FIXED | OBJ_NEW_LIST | OBJ_RECOMPILE);
    testing::internal::CaptureStdout();
    GLuint list = GLuint(qGlDefineObject(e));
    qGlDefineObject(e);  // a figure is compiled at every drawing
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_NE(list, 0u) << c.name;
    size_t reports = 0;
    for (size_t at = out.find("is broken"); at != std::string::npos; at = out.find("is broken", at + 1)) reports++;
    EXPECT_EQ(reports, c.sections == full ? 0u : 1u) << c.name << ": " << out;
    enter(e + 1, packed(square, c.sound));
    testing::internal::CaptureStdout();
    GLuint sound = GLuint(qGlDefineObject(e + 1));
    testing::internal::GetCapturedStdout();
    Image image = imageOfList(list, 0);
    EXPECT_EQ(differingPixels(image, imageOfList(sound, 0)), 0) << c.name;
    if (c.sound.size() > 4) {
      EXPECT_GT(pixelsOf(image, clearColour, true), 0) << c.name;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << c.name;
    e += 2;
  }
}

// A figure's list, made of part lists for what stays and its own list for what uses the hand
// points, draws what one whole list of the same shape draws: first, after the hands moved, and
// after a point that does not move changed.
TEST_F(ModelCompilerGui, FigureListDrawsItsShapeAsTheHandsMove) {
  const std::vector<Point> points = {{-600, -600, 0}, {600, -600, 0}, {-500, 0, 0}, {500, 0, 0},
                                     {500, 500, 0},   {-500, 500, 0}, {0, -700, 0}};
  // Triangles: standing, using the left hand, standing; a polygon using the right hand; a sphere.
  const std::vector<int> sections = {0, 3, colours(6, 0), 1, 2, 3, 4, colours(4, 0), 1, 0, 6, 2, colours(6, 0), 1, 2, 4, 5,
                                     1, colours(11, 0), 1, 3, 0, 0, 1, 3, 6, 1, 1, 9, 0, 5, 50};
  std::vector<int16_t> words = packed(points, sections);
  handPointCount[0] = 1;  // points 0 and 1 are the hands
  enter(7, words, OBJ_FIGURE | OBJ_NEW_LIST | OBJ_RECOMPILE);
  objekt_geladen[7].objektnummer = 0;
  int16_t *figure = objectShapes[7];
  auto whole = [&] {
    enter(8, std::vector<int16_t>(figure, figure + words.size()));
    return imageOfList(GLuint(qGlDefineObject(8)), 0);
  };
  GLuint list = GLuint(qGlDefineFigure(7));
  ASSERT_NE(list, 0u);
  EXPECT_EQ(objekt_geladen[7].flags, OBJ_FIGURE | OBJ_RECOMPILE);
  EXPECT_EQ(differingPixels(imageOfList(list, 0), whole()), 0);
  struct Change {
    const char *what;
    int point, x, y;
  } changes[] = {{"left hand", 0, -800, -300}, {"right hand", 1, 300, -800}, {"standing point", 4, 700, 800}};
  for (const Change &c : changes) {
    figure[SHAPE_POINTS + 3 * c.point] = int16_t(c.x);
    figure[SHAPE_POINTS + 3 * c.point + 1] = int16_t(c.y);
    Image before = imageOfList(list, 0);
    EXPECT_EQ(GLuint(qGlDefineFigure(7)), list) << c.what;
    Image after = imageOfList(list, 0);
    EXPECT_GT(differingPixels(before, after), 100) << c.what;
    EXPECT_EQ(differingPixels(after, whole()), 0) << c.what;
  }
  EXPECT_EQ(GLuint(qGlDefineFigure(7)), list);  // nothing moved: the same list, drawing the same
  EXPECT_EQ(differingPixels(imageOfList(list, 0), whole()), 0);
  handPointCount[0] = 0;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Each kept colour set has its own figure lists: the hands moving while one set draws leaves the
// other set's lists to be made again when that set draws next, with its own colours.
TEST_F(ModelCompilerGui, FigureListsOfEachColourSetFollowTheHands) {
  const std::vector<Point> points = {{-600, -600, 0}, {600, -600, 0}, {500, 500, 0}, {-500, 500, 0}};
  const std::vector<int> sections = {0, 2, colours(6, 0), 1, 0, 1, 2, colours(4, 0), 1, 0, 2, 3, 0, 0};
  std::vector<int16_t> words = packed(points, sections);
  handPointCount[0] = 1;  // points 0 and 1 are the hands
  enter(7, words, OBJ_FIGURE | OBJ_NEW_LIST | OBJ_RECOMPILE);
  objekt_geladen[7].objektnummer = 0;
  int16_t *figure = objectShapes[7];
  const float shadow[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  const std::function<void()> sets[] = {[] { qGlSetColors(255); }, [&] { qGlSetShadowColors(shadow); }};
  auto whole = [&] {
    enter(8, std::vector<int16_t>(figure, figure + words.size()));
    return imageOfList(GLuint(qGlDefineObject(8)), 0);
  };
  GLuint lists[2];
  for (int i = 0; i < 2; i++) {
    sets[i]();
    lists[i] = GLuint(qGlDefineFigure(7));
    ASSERT_NE(lists[i], 0u) << i;
    EXPECT_EQ(GLuint(qGlColouredList(7)), lists[i]) << i;
    EXPECT_EQ(differingPixels(imageOfList(lists[i], 0), whole()), 0) << i;
  }
  EXPECT_NE(lists[0], lists[1]);
  figure[SHAPE_POINTS] = -900;  // the left hand moves while the shadow set draws
  EXPECT_EQ(GLuint(qGlDefineFigure(7)), lists[1]);
  EXPECT_EQ(differingPixels(imageOfList(lists[1], 0), whole()), 0);
  sets[0]();
  EXPECT_NE(GLuint(qGlColouredList(7)), lists[0]);  // made before the hand moved: not used
  EXPECT_EQ(GLuint(qGlDefineFigure(7)), lists[0]);
  Image moved = imageOfList(lists[0], 0);
  EXPECT_EQ(differingPixels(moved, whole()), 0);
  sets[1]();
  EXPECT_GT(differingPixels(moved, imageOfList(lists[1], 0)), 100);  // each with its own colours
  handPointCount[0] = 0;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The list with the colours written in draws what the entry's own list draws with the colour lists
// of each colour set, and follows the entry when it is compiled again; a figure keeps its own list.
TEST_F(ModelCompilerGui, ColouredListDrawsAsTheColourListsDo) {
  const std::vector<int> chequer = {0, 2, colours(4, 0), 1, 0, 1, 2, colours(11, 0), 1, 0, 2, 3, 0, 0};
  const std::vector<int> oneColour = {0, 2, colours(6, 0), 1, 0, 1, 2, colours(6, 0), 1, 0, 2, 3, 0, 0};
  enter(9, packed(square, chequer));
  GLuint own = GLuint(qGlDefineObject(9));
  const float shadow[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  const std::function<void()> sets[] = {[] { qGlSetColors(255); }, [] { qGlSetColors2(); },
                                        [&] { qGlSetShadowColors(shadow); }, [] { qGlSetColors(255); }};
  for (int i = 0; i < 4; i++) {
    sets[i]();
    if (i == 3) {  // the entry compiled again with another shape
      shapes.back() = packed(square, oneColour);
      objectShapes[9] = shapes.back().data();
      ASSERT_EQ(GLuint(qGlDefineObject(9)), own);
    }
    GLuint coloured = GLuint(qGlColouredList(9));
    ASSERT_NE(coloured, 0u) << i;
    EXPECT_NE(coloured, own) << i;
    Image image = imageOfList(coloured, 0);
    EXPECT_GT(pixelsOf(image, clearColour, true), 1000) << i;
    EXPECT_EQ(differingPixels(image, imageOfList(own, 0)), 0) << i;
  }
  enter(10, packed(square, chequer), OBJ_FIGURE | OBJ_NEW_LIST | OBJ_RECOMPILE);
  GLuint figure = GLuint(qGlDefineFigure(10));
  EXPECT_EQ(GLuint(qGlColouredList(10)), figure);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
