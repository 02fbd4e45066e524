// Colour lists and the built-in prop shapes in a real GL context (an X server: Xvfb when there
// is no usable display).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/prefs.h"
#include "pattern/clock.h"
#include "scene/colours.h"
#include "scene/geometry.h"
#include "scene/renderer.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <X11/Xlib.h>  // last: its macros clash with other headers

namespace {

// Starts a private Xvfb when the current display cannot be opened, and one GLUT window on it.
// (A shared helper for this is on its way in tests/support; this one keeps the folder self-contained.)
class GlWindow : public ::testing::Environment {
 public:
  void SetUp() override {
    const char *display = getenv("DISPLAY");
    Display *d = display ? XOpenDisplay(display) : nullptr;
    if (d) XCloseDisplay(d);
    else startXvfb();
    int argc = 1;
    char name[] = "gui_colours_test";
    char *argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(200, 200);
    window = glutCreateWindow("quoit colour test");
  }
  void TearDown() override {
    if (window) glutDestroyWindow(window);
    glutExit();
    if (server > 0) {
      kill(server, SIGTERM);
      waitpid(server, nullptr, 0);
    }
  }

 private:
  int window = 0;
  pid_t server = -1;

  // Test processes running side by side start their servers one at a time under a lock, each on
  // the first display number from 400 up that has no server; a server dies with its test process.
  void startXvfb() {
    int lock = open("/tmp/quoit-test-xvfb.lock", O_CREAT | O_RDWR, 0666);
    ASSERT_GE(lock, 0);
    flock(lock, LOCK_EX);
    std::string display;
    for (int n = 400; n < 900 && display.empty(); n++) {
      std::string number = std::to_string(n);
      if (access(("/tmp/.X" + number + "-lock").c_str(), F_OK) == 0 ||
          access(("/tmp/.X11-unix/X" + number).c_str(), F_OK) == 0)
        continue;
      if (startServer(":" + number)) display = ":" + number;
    }
    flock(lock, LOCK_UN);
    close(lock);
    ASSERT_FALSE(display.empty()) << "no Xvfb could be started";
    setenv("DISPLAY", display.c_str(), 1);
  }

  // Starts Xvfb on the display and waits until it answers; false when it ended instead.
  bool startServer(const std::string &display) {
    pid_t parent = getpid();
    server = fork();
    if (server == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (getppid() != parent) _exit(1);
      execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "640x480x24", "+extension", "GLX", "-noreset", "-nolisten",
             "tcp", (char *)nullptr);
      _exit(127);
    }
    for (int wait = 0; wait < 200; wait++) {
      usleep(25000);
      if (waitpid(server, nullptr, WNOHANG) == server) break;
      if (Display *d = XOpenDisplay(display.c_str())) {
        XCloseDisplay(d);
        return true;
      }
    }
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    server = -1;
    return false;
  }
};

const auto *environment = ::testing::AddGlobalTestEnvironment(new GlWindow);

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

TEST(ColourSets, NormalSetWithItsAlpha) {
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

TEST(ColourSets, DimmedAndBrightenedSet) {
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

TEST(ColourSets, GhostsPulseByCounter) {
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

TEST(ColourSets, ShadowAndGradientSets) {
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

TEST(PropShapes, SegmentedBallFacesOutward) {
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

TEST(PropShapes, SegmentsTakeTheirColourLists) {
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

TEST(PropShapes, ClubSpansHalfAMetre) {
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

TEST(PropShapes, ArrowPointsAtTheOrigin) {
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
