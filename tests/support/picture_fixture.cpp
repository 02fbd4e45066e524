#include "tests/support/picture_fixture.h"

#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/colours.h"
#include "scene/vrml/modeltree.h"
#include "tests/support/loadpattern.h"
#include "tests/ui/glut_xvfb.h"

double cycleMoment(int k) { return (k ? 0.65 : 0.3) * t_zyklus + 0.01; }

bool nearlyAll(int passed, int looked) { return looked > 0 && passed >= looked - looked / 10 - (looked >= 5); }

void useTestWindow(int window) {
  if (!localTextTables[qPrefs.language]) {
    ASSERT_EQ(readLocalTexts(), 0);
  }
  glutSetWindow(window);
}

void beginPictures(int window, int width, int height, PictureState *saved) {
  useTestWindow(window);
  *saved = {qMode, viewState, lightState};
  qMode.display = 1;
  qMode.flags = 0;
  qPrefs.intensity.clear();
  overlayRequests = 0;
  // The colour lists are names in the GL context they were made in, and each suite draws in a
  // window of its own: made anew here, they cannot collide with this context's model lists.
  colorLists = -1;
  qGlReshape(width, height);
  qGlSetModes();
}

void endPictures(const PictureState &saved) {
  freePatternData();
  qMode = saved.mode;
  viewState = saved.view;
  lightState = saved.light;
}

std::vector<unsigned char> readWindowRgb(int width, int height) {
  glFinish();
  std::vector<unsigned char> rgb(size_t(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

bool Picture::project(const double p[3], int *x, int *y, double *z) const {
  GLdouble wx, wy, wz;
  gluProject(p[0], p[1], p[2], model, projection, viewport, &wx, &wy, &wz);
  *x = int(lround(wx));
  *y = int(lround(wy));
  if (z) *z = wz;
  return wz > 0 && wz < 1 && *x >= 0 && *x < width && *y >= 0 && *y < height;
}

void Picture::eye(double out[3]) const {
  for (int i = 0; i < 3; i++)
    out[i] = -(model[4 * i] * model[12] + model[4 * i + 1] * model[13] + model[4 * i + 2] * model[14]);
}

bool Picture::differsAt(const Picture &other, int x, int y) const {
  const unsigned char *a = pixel(x, y), *b = other.pixel(x, y);
  return a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
}

int Picture::differencesNear(const Picture &other, int x, int y, int n) const {
  int count = 0;
  for (int v = std::max(0, y - n); v <= std::min(height - 1, y + n); v++)
    for (int u = std::max(0, x - n); u <= std::min(width - 1, x + n); u++) count += differsAt(other, u, v);
  return count;
}

int Picture::differences(const Picture &other) const { return differencesNear(other, 0, 0, std::max(width, height)); }

Picture drawPicture(int (*display)(), int width, int height) {
  Picture p;
  p.width = width;
  p.height = height;
  testing::internal::CaptureStdout();
  qGlClearScreen();
  display();
  glFinish();
  p.output = testing::internal::GetCapturedStdout();
  p.rgb = readWindowRgb(width, height);
  p.depth.resize(size_t(width) * height);
  glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, p.depth.data());
  qGlSetProjection(width, height);
  ModifyWorld(0);
  glGetDoublev(GL_MODELVIEW_MATRIX, p.model);
  glGetDoublev(GL_PROJECTION_MATRIX, p.projection);
  glGetIntegerv(GL_VIEWPORT, p.viewport);
  return p;
}

void shadowOnFloor(const double p[3], double out[3]) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  qGlShadowMatrix();
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  double s[4];
  for (int row = 0; row < 4; row++) s[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
  for (int i = 0; i < 3; i++) out[i] = s[i] / s[3];
}

std::vector<unsigned char> readPngRgb(const std::string &path, unsigned *width, unsigned *height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), -3 * int(image.width), nullptr)) {
    png_image_free(&image);
    return {};
  }
  if (width) *width = image.width;
  if (height) *height = image.height;
  return rgb;
}

bool writePngRgb(const std::string &path, const std::vector<unsigned char> &rgb, int width, int height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = unsigned(width);
  image.height = unsigned(height);
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), -3 * width, nullptr) != 0;
}

// The PNG files in the home's hardcopy folder whose end chunk is written, by name.
static std::vector<std::string> wholeSavedImages(const std::string &home) {
  std::vector<std::string> paths, images;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(home + "/hardcopy", error))
    if (entry.path().extension() == ".png") paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  for (const std::string &path : paths)
    if (readWholeFile(path).find("IEND") != std::string::npos) images.push_back(path);
  return images;
}

SavedMoments runQuoitSavingTwoMoments(const std::vector<std::string> &arguments, const std::string &home) {
  SavedMoments saved;
  RunOptions options;
  options.display = sharedDisplay();
  options.timeLimitSeconds = 60;
  std::thread program([&] { saved.run = runProgram(programPath("quoit"), arguments, home, options); });
  std::string window = findWindow("^Quoit: ", 30);
  saved.windowFound = !window.empty();
  for (int k = 0; k < 2 && saved.windowFound; k++) {
    size_t before = wholeSavedImages(home).size();
    commandOutput("xdotool key --window " + window + " h 2>/dev/null");
    for (int i = 0; i < 100 && wholeSavedImages(home).size() == before; i++)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
  }
  if (saved.windowFound) commandOutput("xdotool key --window " + window + " Escape 2>/dev/null");
  program.join();
  saved.images = wholeSavedImages(home);
  return saved;
}

int loadVrmlSample(const char *name) { return loadVrmlPattern(std::string(QUOIT_SOURCE_DIR "/data/m/") + name); }

int loadVrmlPattern(const std::string &path) {
  freshPatternState();
  qPrefs.vrml = 1;
  resetVRMLScene();
  currentPatternFile = path;
  std::filesystem::current_path(QUOIT_SOURCE_DIR "/data");
  testing::internal::CaptureStdout();
  int code = Muster_laden();
  testing::internal::GetCapturedStdout();
  return code;
}
