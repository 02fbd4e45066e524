// Test support for the picture tests: sample patterns, frame windows, read-back frames, PNG files.
#pragma once
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/uistate.h"
#include "core/viewrecords.h"
#include "tests/support/glut_test_window.h"
#include "tests/support/quoit_test_support.h"

// The sample patterns of data/m/ that the picture tests draw.
inline constexpr const char *samplePatterns[] = {
    "3ball_cascade",  "3ball_cascade_wrap", "3ball_forced_bounce", "3ball_props_camera", "3ball_underleg",
    "4ball_32_3_mplex", "5ball_cascade",    "6club_2count_pass",   "9club_feed_pass"};

// Moment k (0 or 1) of the loaded pattern's cycle, away from its start (s).
double cycleMoment(int k);

// From so many looked at, a tenth and one more may miss (a prop hidden behind a body or a hand).
bool nearlyAll(int passed, int looked);

// Reads the local texts if no table is there yet (fails the test when it cannot) and makes the
// window current.
void useTestWindow(int window);

// What a picture test changes of the program's frame state.
struct PictureState {
  QuoitMode mode;
  ViewState view;
  LightState light;
};
// The window made current for width x height frames as the program draws them: display mode 1
// without flags, no intensity curve, no overlay requests, colour lists of this window's own, the
// renderer's GL modes. The state it changes is kept in saved.
void beginPictures(int window, int width, int height, PictureState *saved);
// The pattern freed and the kept frame state put back.
void endPictures(const PictureState &saved);

// A fixture over Base (the scene or the VRML fixture) that draws Width x Height frames in a window
// of its own, opened once for the suite; the frame state is begun and ended around each test.
template <class Base, int Width, int Height>
class PictureTest : public Base {
 protected:
  static inline int window = 0;
  PictureState saved{};

  static void SetUpTestSuite() {
    if (!window)
      window = openGlutTestWindow("quoit pictures", Width, Height, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    ASSERT_GT(window, 0);
  }
  void SetUp() override {
    Base::SetUp();
    if (!this->HasFatalFailure()) beginPictures(window, Width, Height, &saved);
  }
  void TearDown() override {
    endPictures(saved);
    Base::TearDown();
  }
};

// The back buffer's RGB pixels, rows from the bottom up.
std::vector<unsigned char> readWindowRgb(int width, int height);

// The colour and depth buffers of one frame, what the frame reported (GL errors) and the camera
// it was drawn with.
struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  std::vector<float> depth;
  GLdouble model[16], projection[16];
  GLint viewport[4];
  std::string output;

  const unsigned char *pixel(int x, int y) const { return &rgb[3 * (size_t(y) * width + x)]; }
  float depthAt(int x, int y) const { return depth[size_t(y) * width + x]; }
  // Window position and depth of a world point (m); false when it falls outside the window.
  bool project(const double p[3], int *x, int *y, double *z = nullptr) const;
  // The eye position (m): -R^T t of the camera matrix.
  void eye(double out[3]) const;
  bool differsAt(const Picture &other, int x, int y) const;
  // Pixels within n of (x, y), inside the window, that differ from the other picture.
  int differencesNear(const Picture &other, int x, int y, int n) const;
  // Pixels of the whole window that differ from the other picture.
  int differences(const Picture &other) const;
};

// One frame as the display callback draws it (the classic or the VRML display) on a cleared screen,
// read back with the camera the renderer used; what the frame printed goes into its output.
Picture drawPicture(int (*display)(), int width, int height);

// Where the light's ray through the point p meets the floor, by the renderer's shadow matrix.
void shadowOnFloor(const double p[3], double out[3]);

// The RGB pixels of a PNG file, rows from the bottom up as GL reads them, and its size; empty while
// the file is not whole.
std::vector<unsigned char> readPngRgb(const std::string &path, unsigned *width = nullptr, unsigned *height = nullptr);
bool writePngRgb(const std::string &path, const std::vector<unsigned char> &rgb, int width, int height);

// quoit run with the arguments in the home on the shared display: 'h' pressed twice, each time
// waiting for the window image it saves, then Escape. The whole images it saved (hardcopy/*.png,
// by name), and whether its window was found.
struct SavedMoments {
  RunResult run;
  bool windowFound = false;
  std::vector<std::string> images;
};
SavedMoments runQuoitSavingTwoMoments(const std::vector<std::string> &arguments, const std::string &home);

// The sample pattern data/m/<name> loaded in VRML mode with a fresh VRML scene, in the data
// directory (which stays the working directory); the loader's report is dropped. Its code.
int loadVrmlSample(const char *name);
// The same for the pattern file at the path, which becomes the current pattern file.
int loadVrmlPattern(const std::string &path);
