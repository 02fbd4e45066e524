// Shared fixture of the scene tests: runs in the data directory with empty model tables, and makes
// scratch directories for files written by a test.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdarg>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/random.h"
#include "app/startup.h"
#include "pattern/store.h"
#include "scene/figures.h"
#include "scene/objects.h"

class SceneTest : public ::testing::Test {
 public:
  std::filesystem::path previous;
  std::filesystem::path scratch;

  void SetUp() override {
    previous = std::filesystem::current_path();
    std::filesystem::current_path(QUOIT_SOURCE_DIR "/data");
    qPrefs.vrml = 0;
    qPrefs.ground.clear();
    qPrefs.displayFlags = 0;
    qPrefs.jugglerlist = 0;
    modelFileArgument.clear();
    ASSERT_EQ(allocObjectBuffers(), 0);
    freeObjectShapes();
    resetObjectTable();
    resetFigureState();
    orderCursor = 0;
    gravity = 9.81;
    qInternal[QINTERNAL_JUGGLERS] = 1;
    qSeedRandom(1);
  }

  void TearDown() override {
    freeObjectShapes();
    resetObjectTable();
    std::filesystem::current_path(previous);
    if (!scratch.empty()) std::filesystem::remove_all(scratch);
  }

  // A file in this test's scratch directory; returns its full path.
  std::string writeFile(const std::string &name, const std::string &text) {
    if (scratch.empty()) {
      char pattern[] = "/tmp/quoit-scene-XXXXXX";
      scratch = mkdtemp(pattern);
    }
    std::filesystem::path path = scratch / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
    return path.string();
  }
};

// The text a caller makes from local text n and its arguments, as it would reach the user.
inline std::string localMessage(int n, ...) {
  char buffer[512];
  va_list ap;
  va_start(ap, n);
  vsnprintf(buffer, sizeof buffer, localText(n), ap);
  va_end(ap);
  std::string s = buffer;
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

// Element counts of a packed shape, found by walking it; consistent is false when the walk does
// not end exactly at the block's end or a point index lies outside the points.
struct ShapeCounts {
  int points = 0, lines = 0, triangles = 0, polygons = 0, attached = 0, spheres = 0, polygonVertices = 0;
  bool consistent = true;
};

inline ShapeCounts walkShape(const int16_t *s) {
  ShapeCounts c;
  int words = int(shapeBytes(s) / 2);
  int pos = SHAPE_POINT_COUNT;
  c.points = s[pos++];
  pos += 3 * c.points;
  auto index = [&](int i) {
    if (i < 0 || i >= c.points) c.consistent = false;
  };
  c.lines = s[pos++];
  for (int i = 0; i < c.lines; i++, pos += 3) index(s[pos + 1]), index(s[pos + 2]);
  c.triangles = s[pos++];
  for (int i = 0; i < c.triangles; i++, pos += 5) index(s[pos + 2]), index(s[pos + 3]), index(s[pos + 4]);
  c.polygons = s[pos++];
  auto polygon = [&]() {
    int n = s[pos + 2], m = s[pos + 3], h = s[pos + 4];
    pos += 5;
    for (int i = 0; i <= n; i++) index(s[pos + i]);
    if (s[pos] != s[pos + n]) c.consistent = false;
    pos += n + 1;
    if (m > 0) {
      for (int i = 0; i <= m; i++) index(s[pos + i]);
      pos += m + 1;
    }
    c.polygonVertices += n + m;
    return h;
  };
  for (int i = 0; i < c.polygons && pos < words; i++) {
    int h = polygon();
    c.attached += h;
    for (int j = 0; j < h; j++) polygon();
  }
  c.spheres = s[pos++];
  for (int i = 0; i < c.spheres; i++, pos += 4) index(s[pos + 2]);
  if (pos != words) c.consistent = false;
  return c;
}
