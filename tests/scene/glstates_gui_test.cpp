// The GL state dump in a real double-buffered RGBA window on the test program's Xvfb.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <string>

#include "scene/modeldumps.h"
#include "tests/support/glut_test_window.h"

TEST(GlStatesDumpGui, LinesOfTheWindowsModes) {
  int window = openGlutTestWindow("quoit GL states", 64, 64, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
  ASSERT_GT(window, 0);
  glutSetWindow(window);
  testing::internal::CaptureStdout();
  qGlDumpStates();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("\nOpenGL states:\nGL_DOUBLEBUFFER = 1\nGL_RGBA_MODE = 1\nGL_RED_BITS = "), 0u) << out;
  for (const char *line : {"GL_GREEN_BITS = ", "GL_BLUE_BITS = ", "GL_ALPHA_BITS = ", "GL_DEPTH_BITS = ", "GL_STENCIL_BITS = ",
                           "GL_MAX_LIGHTS = "})
    EXPECT_NE(out.find(line), std::string::npos) << line;
  EXPECT_EQ(out.find("GL_INDEX_MODE"), std::string::npos);
  EXPECT_EQ(out.find("GL_MAX_LIGHTS = 0\n"), std::string::npos);  // every GL has lights
}
