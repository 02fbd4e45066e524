// Frames of the classic renderer in a real GL context on the test program's Xvfb: a floor and a red
// ball in the flying list and a figure in the fixed list, drawn in every display mode and with the
// scene flags; the camera, projection, light and shadow maths against their own computation.
#include <gtest/gtest.h>
#include <unistd.h>

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/vecmath.h"
#include "app/framestep.h"
#include "core/prefs.h"
#include "pattern/clock.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/colours.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "tests/support/glut_test_window.h"
#include "tests/support/quoit_test_support.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"

namespace {

const int W = 320, H = 240;


struct Rgb {
  double r, g, b;
};

class RendererFrameGui : public ::testing::Test {
 protected:
  static int window;
  static bool hasAccum;

  static void SetUpTestSuite() {
    if (window) return;
    window = openGlutTestWindow("quoit frame test", W, H, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL | GLUT_ACCUM);
    ASSERT_GT(window, 0);
    GLint bits = 0;
    glGetIntegerv(GL_ACCUM_RED_BITS, &bits);
    hasAccum = bits > 0;
  }

  Placement flying[3] = {{0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 1000, 0, 0, 'a'}, {-1, 0, 0, 0, 0, 0, 0, 0}};
  Placement fixed[2] = {{2, 0, 1500, 1500, 900, 0, 0, 0}, {-2, 0, 0, 0, 0, 0, 0, 0}};
  Placement *savedFlying = nullptr, *savedFixed = nullptr;
  QuoitMode savedMode{};
  ViewState savedView{};
  std::filesystem::path previous, scratch;
  GLuint floorList = 0, ballList = 0, figureList = 0;

  void SetUp() override {
    glutSetWindow(window);
    previous = std::filesystem::current_path();
    char pattern[] = "/tmp/quoit-frame-XXXXXX";
    scratch = mkdtemp(pattern);
    std::filesystem::current_path(scratch);  // reported errors write their files here
    savedFlying = flyingPlacements;
    savedFixed = sceneObjectDrawList;
    savedMode = qMode;
    savedView = viewState;
    flyingPlacements = flying;
    sceneObjectDrawList = fixed;
    qMode.display = 1;
    qMode.flags = 0;
    qPrefs.intensity.clear();
    qPrefs.displayFlags = 0;
    overlayRequests = 0;
    ASSERT_EQ(allocObjectBuffers(), 0);
    resetObjectTable();
    objekt_geladen[arrowObject] = LoadedObject{};
    qGlReshape(W, H);
    qGlSetModes();
    compileLists();
    setEntry(0, 0, 0, floorList);
    setEntry(1, 1, 0, ballList);
    setEntry(2, 0, OBJ_FIGURE, figureList);
    loadedObjectCount = 3;
    objekt_geladen[3].elementCount = -1;
    topView(3000);
    lightState = LightState{1000, 0, 0, 0, 1000};
    stencilDirty = 0;
  }

  void TearDown() override {
    glDeleteLists(floorList, 1);
    glDeleteLists(ballList, 1);
    glDeleteLists(figureList, 1);
    resetObjectTable();
    flyingPlacements = savedFlying;
    sceneObjectDrawList = savedFixed;
    qMode = savedMode;
    viewState = savedView;
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(scratch);
  }

  // A grey floor of 6 m x 6 m, seen from both sides, a red ball of 30 cm radius and a figure made of the
  // ball, in the colour lists.
  void compileLists() {
    floorList = glGenLists(1);
    glNewList(floorList, GL_COMPILE);
    glCallList(GLuint(colorLists + 8));
    glNormal3f(0, 0, 1);
    const float corners[4][2] = {{-3, -3}, {3, -3}, {3, 3}, {-3, 3}};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; i++) glVertex3f(corners[i][0], corners[i][1], 0);
    for (int i = 3; i >= 0; i--) glVertex3f(corners[i][0], corners[i][1], 0);
    glEnd();
    glEndList();
    ballList = glGenLists(1);
    GLUquadric *q = gluNewQuadric();
    glNewList(ballList, GL_COMPILE);
    glCallList(GLuint(colorLists + 4));
    gluSphere(q, 0.3, 24, 12);
    glEndList();
    figureList = glGenLists(1);  // a ball below its placement point, where letters mode shows the number
    glNewList(figureList, GL_COMPILE);
    glTranslated(0, 0, -0.6);
    glCallList(ballList);
    glEndList();
    gluDeleteQuadric(q);
  }

  static void setEntry(int i, int number, int flags, GLuint list) {
    LoadedObject &e = objekt_geladen[i];
    e = LoadedObject{};
    snprintf(e.name, sizeof e.name, "model%d", i);
    e.objektnummer = number;
    e.flags = flags;
    e.displayList = int(list);
    e.elementCount = 1;
  }

  static void topView(int radius) {
    viewState.x = viewState.y = viewState.z = 0;
    viewState.elevation = 0;
    viewState.azimuth = 0;
    viewState.radius = uint16_t(radius);
    viewState.zoom = 180;
  }

  // One frame; the text of every GL error it reported.
  static std::string drawFrame() {
    testing::internal::CaptureStdout();
    qGlClearScreen();
    qGlUpdateDisplay();
    glFinish();
    return testing::internal::GetCapturedStdout();
  }

  // Window position of a world point (m) with the camera of the last frame.
  static void project(double x, double y, double z, int *px, int *py) {
    GLdouble model[16], projection[16], wx, wy, wz;
    GLint viewport[4];
    qGlSetProjection(W, H);
    ModifyWorld(0);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
    *px = int(lround(wx));
    *py = int(lround(wy));
  }

  static Rgb pixel(int x, int y) {
    unsigned char c[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, c);
    return {c[0] / 255.0, c[1] / 255.0, c[2] / 255.0};
  }

  static Rgb pixelAt(double x, double y, double z) {
    int px, py;
    project(x, y, z, &px, &py);
    EXPECT_TRUE(px >= 0 && px < W && py >= 0 && py < H) << "point off the window";
    return pixel(px, py);
  }

  // Pixels of the square of half-size n around a window point for which the test holds.
  template <class Test>
  static int countPixels(int cx, int cy, int n, Test test) {
    int count = 0;
    for (int y = cy - n; y <= cy + n; y++)
      for (int x = cx - n; x <= cx + n; x++) count += test(pixel(x, y));
    return count;
  }
};
int RendererFrameGui::window;
bool RendererFrameGui::hasAccum;

bool isRed(const Rgb &c) { return c.r > 0.6 && c.g < 0.2 && c.b < 0.2; }
bool isWhite(const Rgb &c) { return c.r > 0.8 && c.g > 0.8 && c.b > 0.8; }
bool isGreen(const Rgb &c) { return c.g > 0.9 && c.r < 0.1; }

TEST_F(RendererFrameGui, EveryDisplayModeAndFlagSetDrawsWithoutError) {
  const int64_t flagSets[] = {
      0,          FLAG_SHADOWS,  FLAG_MIRROR, FLAG_MOTION_BLUR, FLAG_LETTERS,
      FLAG_ARROW, FLAG_COMMENTS, FLAG_SHADOWS | FLAG_MIRROR | FLAG_MOTION_BLUR | FLAG_ARROW | FLAG_COMMENTS,
  };
  objekte = 1;
  Objektbuchstaben[0] = 'a';
  currentObjectLetter = 'a';
  QInlineComment comment{0, 0, 0.0, 10.0, "hello"};
  qInlineComment = &comment;
  qInlineCommentCount = 1;
  simTime = 1.0;
  for (int elevation : {400, 1400})  // from above, from below
    for (int mode = 0; mode <= 11; mode++)
      for (int64_t flags : flagSets) {
        qMode.display = mode;
        qMode.flags = flags;
        viewState.elevation = int16_t(elevation);
        std::string out = drawFrame();
        EXPECT_EQ(out.find("OpenGL Error"), std::string::npos)
            << "mode " << mode << " flags " << std::hex << flags << " elevation " << elevation << "\n" << out;
      }
  qInlineComment = nullptr;
  qInlineCommentCount = 0;
  currentObjectLetter = 0;
  objekte = 0;
}

TEST_F(RendererFrameGui, ShadowDarkensTheFloorAwayFromTheLight) {
  // Light 10 m out at angle 0 stands at (0, -10, 10): the ball at (0, 0, 1) casts its shadow around
  // (0, 10/9 x 10 - 10, 0).
  double shadowY = -10 + 10 * 10.0 / 9;
  drawFrame();
  Rgb lit = pixelAt(0, shadowY, 0);
  qMode.flags = FLAG_SHADOWS;
  stencilDirty = 0;
  drawFrame();
  Rgb shaded = pixelAt(0, shadowY, 0);
  EXPECT_EQ(stencilDirty, 1);
  EXPECT_NEAR(lit.r, 176 / 255.0, 0.02);
  EXPECT_NEAR(shaded.r, lit.r * 0.6, 0.03);
  EXPECT_NEAR(shaded.g, lit.g * 0.6, 0.03);
  Rgb farFromShadow = pixelAt(0, -1.5, 0);
  EXPECT_NEAR(farFromShadow.r, lit.r, 0.02);
  qMode.flags = FLAG_SHADOWS | FLAG_LETTERS;  // letters mode casts no shadows
  drawFrame();
  EXPECT_NEAR(pixelAt(0, shadowY, 0).r, lit.r, 0.02);
}

TEST_F(RendererFrameGui, MirrorFloorShowsTheBallBelowTheFloorLine) {
  viewState.elevation = 400;
  viewState.z = 500;
  viewState.radius = 4000;
  drawFrame();
  Rgb plain = pixelAt(0, 0, -1);  // where the ball's mirror image lies
  qMode.flags = FLAG_MIRROR;
  drawFrame();
  Rgb mirrored = pixelAt(0, 0, -1);
  EXPECT_NEAR(plain.r, plain.g, 0.02);  // the grey floor
  // The floor at alpha 160 over the red image.
  double a = 160 / 255.0;
  EXPECT_NEAR(mirrored.r, a * 176 / 255.0 + (1 - a) * 240 / 255.0, 0.04);
  EXPECT_NEAR(mirrored.g, a * 176 / 255.0, 0.04);
  EXPECT_TRUE(isRed(pixelAt(0, 0, 1)));  // the ball itself
}

TEST_F(RendererFrameGui, CameraBelowTheFloorDrawsTheFloorLastAndNoMirrorOrShadows) {
  qMode.flags = FLAG_SHADOWS | FLAG_MIRROR;
  drawFrame();
  EXPECT_TRUE(isRed(pixelAt(0, 0, 1)));
  EXPECT_EQ(stencilDirty, 1);
  stencilDirty = 0;
  viewState.elevation = 1024;  // looking up from below
  drawFrame();
  Rgb c = pixelAt(0, 0, 1);
  EXPECT_NEAR(c.r, 176 / 255.0, 0.02);  // the floor hides the ball
  EXPECT_NEAR(c.g, 176 / 255.0, 0.02);
  EXPECT_EQ(stencilDirty, 0);
}

TEST_F(RendererFrameGui, InterlaceShowsTheSceneInPhaseOneOrInsideTheRows) {
  qMode.display = 6;
  int cx, cy;
  project(0, 0, 1, &cx, &cy);
  auto greenFirst = [] {
    glClearColor(0, 1, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
  };
  auto greenShare = [&] { return countPixels(cx, cy, 5, isGreen) / 121.0; };

  greenFirst();
  interlacePhase = 0;
  drawFrame();
  EXPECT_EQ(interlacePhase, 1);
  EXPECT_LT(greenShare(), 0.05);  // the colour buffer kept, the scene over it

  greenFirst();
  drawFrame();
  EXPECT_EQ(interlacePhase, 0);
  double share = greenShare();  // no scene: every second row band and a few noise points
  EXPECT_GT(share, 0.3);
  EXPECT_LT(share, 0.6);
  int rowColour = countPixels(cx, cy, 5, [](const Rgb &c) { return c.r > 0.15 && c.r < 0.25 && c.g < 0.05; });
  EXPECT_GT(rowColour, 30);

  greenFirst();
  interlacePhase = 1;
  stencilDirty = 1;  // the rows are marked in the stencil and the scene drawn inside them
  drawFrame();
  EXPECT_EQ(stencilDirty, 0);
  EXPECT_EQ(interlacePhase, 0);
  share = greenShare();
  EXPECT_GT(share, 0.3);
  EXPECT_LT(share, 0.6);
  rowColour = countPixels(cx, cy, 5, [](const Rgb &c) { return c.r > 0.15 && c.r < 0.25 && c.g < 0.05; });
  EXPECT_LT(rowColour, 10);
}

TEST_F(RendererFrameGui, NoiseFollowsTheWrappingSquareGenerators) {
  qMode.display = 6;
  noiseState = NoiseState{100, 6, 10, 7, 77, 3};
  drawFrame();
  // The same generators in 64 bits, reduced to 32-bit two's complement after each product.
  auto square = [](int64_t g, int64_t m) {
    int64_t p = (g * g) & 0xffffffffLL;
    if (p >= 0x80000000LL) p -= 0x100000000LL;
    return p % m;
  };
  int64_t g1 = 10, g2 = 7, g3 = 77, g4 = 3;
  bool wrapped = false;
  for (int i = 0; i < W * H / 100; i++) {
    wrapped = wrapped || g1 * g1 > INT32_MAX;
    g1 = square(g1, 95743), g2 = square(g2, 98789), g3 = square(g3, 99773), g4 = square(g4, 57437);
  }
  EXPECT_TRUE(wrapped);
  EXPECT_EQ(noiseState.g1, g1);
  EXPECT_EQ(noiseState.g2, g2);
  EXPECT_EQ(noiseState.g3, g3);
  EXPECT_EQ(noiseState.g4, g4);
  EXPECT_EQ(noiseState.a, g1 + g3);
  EXPECT_EQ(noiseState.b, g2 + g4);
}

TEST_F(RendererFrameGui, LettersModeShowsLettersInsteadOfTheFlyingObjectsAndTheArrowStays) {
  int cx, cy, fx, fy;
  project(0, 0, 1, &cx, &cy);
  project(1.5, 1.5, 0.3, &fx, &fy);  // the figure's ball, below its number
  drawFrame();
  EXPECT_GT(countPixels(cx, cy, 8, isRed), 250);
  EXPECT_EQ(countPixels(cx, cy, 30, isWhite), 0);
  qMode.flags = FLAG_LETTERS;
  drawFrame();
  EXPECT_LT(countPixels(cx, cy, 8, isRed), 5);
  EXPECT_GT(countPixels(cx, cy, 30, isWhite), 10);  // the letter a
  EXPECT_TRUE(isRed(pixel(fx, fy)));  // the figure still draws, its number over it
  int nx, ny;
  project(1.5, 1.5, 0.9, &nx, &ny);
  EXPECT_GT(countPixels(nx, ny, 30, isWhite), 5);
  // The arrow over the current object stays, here a ball of its own list.
  LoadedObject &arrow = objekt_geladen[arrowObject];
  arrow.displayList = int(ballList);
  arrow.flags = 0;
  currentObjectLetter = 'a';
  qMode.flags = FLAG_LETTERS | FLAG_ARROW;
  drawFrame();
  EXPECT_GT(countPixels(cx, cy, 8, isRed), 250);
  currentObjectLetter = 'b';
  drawFrame();
  EXPECT_LT(countPixels(cx, cy, 8, isRed), 5);
  currentObjectLetter = 0;
}

// The blurred frame is compared with the same accumulation done here, so the buffer's own colour
// transfer does not matter.
TEST_F(RendererFrameGui, MotionBlurStartsFromAClearedBufferAndNeedsOne) {
  drawFrame();
  Rgb sharp = pixelAt(0, 0, 1);
  Rgb reference = sharp;
  if (hasAccum) {
    glClearAccum(0, 0, 0, 0);
    glClear(GL_ACCUM_BUFFER_BIT);
    glAccum(GL_ACCUM, 0.4f);
    glAccum(GL_RETURN, 1.0f);
    reference = pixelAt(0, 0, 1);
    glClearColor(1, 1, 1, 1);  // white left in the accumulation buffer from earlier frames
    glClear(GL_COLOR_BUFFER_BIT);
    glAccum(GL_LOAD, 1.0f);
  }
  qMode.flags = FLAG_MOTION_BLUR;
  std::string out = drawFrame();
  EXPECT_EQ(out.find("OpenGL Error"), std::string::npos) << out;
  Rgb first = pixelAt(0, 0, 1);
  EXPECT_NEAR(first.r, reference.r, 0.01);
  EXPECT_NEAR(first.g, reference.g, 0.01);
  if (hasAccum) {
    EXPECT_LT(first.r, sharp.r - 0.1);
    drawFrame();
    Rgb second = pixelAt(0, 0, 1);
    EXPECT_GT(second.r, first.r + 0.05);  // on its way to the sharp colour
  }
  qMode.flags = 0;
  drawFrame();
}

TEST_F(RendererFrameGui, ProjectionFrustumFromWindowAndZoom) {
  struct Case {
    int width, height, zoom;
    double halfWidth, nearPlane;
  } cases[] = {
      {320, 240, 180, 0.2, 0.18},     // 320 x 300 / 240 = 400
      {400, 299, 238, 0.2005, 0.238},  // 401.3 truncated to 401
      {401, 300, 40, 0.2005, 0.04},
      {320, 240, 0, 0.2, 0.001},  // no zoom: the nearest plane
      {320, 240, -50, 0.2, 0.001},
      {0, 240, 180, 0.0005, 0.18},  // a window without width still gets a frustum
  };
  for (const Case &c : cases) {
    viewState.zoom = int16_t(c.zoom);
    testing::internal::CaptureStdout();
    qGlSetProjection(c.width, c.height);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("OpenGL Error"), std::string::npos) << out;
    GLdouble p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    double n = p[14] / (p[10] - 1), f = p[14] / (p[10] + 1);
    EXPECT_NEAR(n, c.nearPlane, 1e-6) << c.width << "x" << c.height << " zoom " << c.zoom;
    EXPECT_NEAR(f, 70, 0.2);  // from a matrix of floats
    EXPECT_NEAR(2 * n / p[0], 2 * c.halfWidth, 1e-6);  // right - left
    EXPECT_NEAR(2 * n / p[5], 0.3, 1e-6);              // top - bottom
    EXPECT_NEAR(p[8], 0, 1e-9);                        // centred
    EXPECT_NEAR(p[9], 0, 1e-9);
  }
  viewState.zoom = 180;
  glMatrixMode(GL_MODELVIEW);
  glTranslated(1, 2, 3);
  qGlSetProjection(320, 0);  // height 0 leaves the projection at identity
  GLdouble p[16], m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, p);
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  for (int i = 0; i < 16; i++) {
    EXPECT_EQ(p[i], i % 5 == 0 ? 1.0 : 0.0) << i;
    EXPECT_EQ(m[i], i % 5 == 0 ? 1.0 : 0.0) << i;
  }
}

// The eye's height from the inverse of the camera matrix: the floor is seen from above exactly when the
// eye is above z = 0, also when the floor's origin is behind the eye, nearer than the near plane or
// beyond the far plane.
TEST_F(RendererFrameGui, FloorSideFollowsTheEyeHeight) {
  struct Camera {
    int elevation, azimuth, radius, x, y, z, zoom;
  } cameras[] = {
      {0, 0, 3000, 0, 0, 0, 180},          {400, 300, 5000, 0, 0, 500, 180},    {700, 0, 5000, 0, 0, 500, 180},
      {1024, 100, 3000, 0, 0, 0, 180},     {1700, 900, 8000, 0, 0, 0, 180},     {500, 0, 2000, 30000, 0, 1500, 180},
      {500, 1024, 2000, 30000, 0, 1500, 180}, {540, 512, 2000, 0, -30000, -300, 180}, {300, 0, 1000, 0, 0, 0, 1500},
      {480, 0, 60000, 20000, 0, 0, 180},  {480, 1024, 60000, 20000, 0, 0, 180}, {200, 1500, 1200, 800, 0, 100, 1400},
      {560, 0, 60000, 20000, 0, 0, 180},  {560, 1024, 60000, 20000, 0, 0, 180},
  };
  int behind = 0, nearer = 0, beyond = 0;
  for (const Camera &c : cameras) {
    viewState.elevation = int16_t(c.elevation);
    viewState.azimuth = int16_t(c.azimuth);
    viewState.radius = uint16_t(c.radius);
    viewState.x = int16_t(c.x), viewState.y = int16_t(c.y), viewState.z = int16_t(c.z);
    viewState.zoom = int16_t(c.zoom);
    qGlSetProjection(W, H);
    ModifyWorld(0);
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    // eye = -R^T t, with R the upper 3 x 3 block (column order) and t the translation.
    double eyeZ = -(m[8] * m[12] + m[9] * m[13] + m[10] * m[14]);
    double originZ = m[14];  // the floor's origin in eye coordinates
    behind += originZ > 0;
    nearer += originZ <= 0 && originZ > -c.zoom * 0.001;
    beyond += originZ < -70;
    double side = floorSide();
    EXPECT_EQ(side < 0, eyeZ > 0) << "elevation " << c.elevation << " azimuth " << c.azimuth << " eye z " << eyeZ;
  }
  EXPECT_GE(behind, 2);
  EXPECT_GE(nearer, 1);
  EXPECT_GE(beyond, 2);
}

TEST_F(RendererFrameGui, ShadowMatrixProjectsAlongTheRayFromTheLight) {
  const LightState lights[] = {{1000, 0, 0, 0, 0}, {300, 512, 0, 0, 0}, {0, 0, 0, 0, 0}, {750, 1900, 400, -200, 0}};
  const double points[][3] = {{0, 0, 1}, {0.5, -1.2, 2.5}, {-2, 3, 0.1}, {1, 1, 0}};
  for (const LightState &light : lights) {
    lightState = light;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    qGlShadowMatrix();
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    // The light without its offsets: its angle runs clockwise from -y.
    double a = light.angle / 2048.0 * 2 * PI, d = light.distance * 0.01;
    double lx = -d * sin(a), ly = -d * cos(a);
    for (const auto &p : points) {
      double out[4];
      for (int row = 0; row < 4; row++)
        out[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
      double t = 10 / (10 - p[2]);  // from the light at height 10 to z = 0
      EXPECT_NEAR(out[0] / out[3], lx + t * (p[0] - lx), 1e-6);
      EXPECT_NEAR(out[1] / out[3], ly + t * (p[1] - ly), 1e-6);
      EXPECT_NEAR(out[2] / out[3], 0, 1e-9);
    }
  }
}

TEST_F(RendererFrameGui, LightStandsTenMetresUpAndTheSpotNarrowsWithItsRadius) {
  struct Case {
    int display, sign;
    LightState light;
    double x, y, cutoff;
  } cases[] = {
      {1, 1, {300, 512, 0, 0, 1000}, -3, 0, 180},  // a quarter turn from -y: at -x
      {9, -1, {500, 0, 250, -100, 1000}, 0.25, -5.1, 180},
      {7, 1, {200, 1024, 0, 0, 1000}, 0, 2, atan(0.2) * 180 / PI},
      {7, 1, {200, 1024, 0, 0, 5000}, 0, 2, atan(1.0) * 180 / PI},
  };
  for (const Case &c : cases) {
    qMode.display = c.display;
    lightState = c.light;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 90);
    qGlSetLight(c.sign);
    GLfloat position[4], cutoff, exponent;
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &cutoff);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, &exponent);
    EXPECT_NEAR(position[0], c.x, 1e-5);
    EXPECT_NEAR(position[1], c.y, 1e-5);
    EXPECT_NEAR(position[2], 10 * c.sign, 1e-6);
    EXPECT_NEAR(position[3], 1, 1e-6);
    EXPECT_NEAR(cutoff, c.cutoff, 1e-4);
    EXPECT_EQ(exponent, 20);
    if (c.display == 7) {  // aimed at the floor point below the offsets
      GLfloat direction[3];
      glGetLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
      EXPECT_NEAR(direction[0], -c.x, 1e-5);
      EXPECT_NEAR(direction[1], -c.y, 1e-5);
      EXPECT_NEAR(direction[2], -10, 1e-5);
    }
  }
}

TEST_F(RendererFrameGui, ReshapeKeepsTheMouseAtTheSameDistanceFromTheCentre) {
  lastMouseX = 100;
  lastMouseY = 50;
  qGlReshape(W + 11, H - 11);
  EXPECT_EQ(lastMouseX, 105);
  EXPECT_EQ(lastMouseY, 45);  // -11 / 2 truncates toward zero
  EXPECT_EQ(qPrefs.width, W + 11);
  EXPECT_EQ(qPrefs.height, H - 11);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], W + 11);
  EXPECT_EQ(viewport[3], H - 11);
  qGlReshape(W, H);
}

TEST_F(RendererFrameGui, CheckErrorReportsTheErrorWithItsLocation) {
  glEnable(GLenum(0x7fff));
  testing::internal::CaptureStdout();
  int error = qGlCheckError("test location");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(error, GL_INVALID_ENUM);
  EXPECT_NE(out.find("Location: test location"), std::string::npos) << out;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(qGlCheckError("quiet"), 0);
}

// With more than a hundred models loaded the arrow still has its own record and list.
TEST_F(RendererFrameGui, ArrowNeverTakesTheRecordOfALoadedModel) {
  resetObjectTable();
  for (int i = 0; i < 150; i++) ASSERT_EQ(Fill_objekt_geladen("model", 1, 0, 1, 1, nullptr), 0) << i;
  for (int i = 0; i < loadedObjectCount; i++) {
    objekt_geladen[i].flags = 0;
    objekt_geladen[i].displayList = int(ballList);
  }
  objekt_geladen[0].displayList = int(floorList);
  qGlSetModes();
  EXPECT_NE(objekt_geladen[arrowObject].flags & OBJ_NEW_LIST, 0);
  currentObjectLetter = 'a';
  qMode.flags = FLAG_ARROW;
  drawFrame();
  const LoadedObject &arrow = objekt_geladen[arrowObject];
  EXPECT_EQ(arrow.flags & OBJ_NEW_LIST, 0);  // compiled at its first drawing
  EXPECT_GT(arrow.displayList, 0);
  EXPECT_TRUE(glIsList(GLuint(arrow.displayList)));
  for (int i = 0; i < loadedObjectCount; i++) {
    EXPECT_EQ(objekt_geladen[i].flags, 0) << i;
    EXPECT_EQ(objekt_geladen[i].displayList, int(i ? ballList : floorList)) << i;
  }
  currentObjectLetter = 0;
}

// An error left by a stage is reported once a frame, at its end; in debugging at the first stage
// that checks, with that stage's location.
TEST_F(RendererFrameGui, GlErrorsAreReportedAtTheFrameEndOrInDebuggingAtTheirStage) {
  for (int debugging : {0, 1}) {
    glStageChecks = debugging;
    glEnable(GLenum(0x7fff));
    std::string out = drawFrame();
    glStageChecks = 0;
    size_t first = out.find("OpenGL Error");
    ASSERT_NE(first, std::string::npos) << debugging;
    EXPECT_EQ(out.find("OpenGL Error", first + 1), std::string::npos) << out;
    EXPECT_NE(out.find(debugging ? "Location: after clear screen" : "Location: after update Display"), std::string::npos)
        << out;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

}  // namespace
