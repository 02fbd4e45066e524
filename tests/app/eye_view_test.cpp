// The camera presets (F1-F10 and the menu's "view from a juggler's eyes") on real figures: for two
// jugglers facing each other, each preset's eye lies in front of its juggler's face and looks at the
// other juggler.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/framestep.h"
#include "core/viewrecords.h"
#include "pattern/modeltable.h"
#include "pattern/store.h"
#include "scene/objects.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/loadpattern.h"
#include "ui/camera.h"
#include "ui/modes.h"

namespace {

// The head points of figure g in world coordinates (metres), as the classic renderer places them.
std::vector<std::array<double, 3>> headPoints(int g) {
  std::vector<std::array<double, 3>> points;
  for (int i = 0, figure = 0; i < firstObjectInstance && objectInstanceList[i] >= 0; i++) {
    const int16_t *shape = objectShapes[objectInstanceList[i]];
    if (!shape || shape[SHAPE_ROTATION] != -1 || figure++ != g) continue;
    const InstanceOrigin &o = instanceOrigins[i];
    double a = o.heading * 2 * M_PI / 2048;
    const int16_t *p = shape + SHAPE_POINTS + 3 * 2 * handPointCount[g];
    for (int k = 0; k < headPointCount[g]; k++, p += 3) {
      double x = p[0] * 0.001, y = p[1] * 0.001;
      points.push_back({o.x * 0.001 + x * cos(a) - y * sin(a), o.y * 0.001 + x * sin(a) + y * cos(a),
                        o.z * 0.001 + p[2] * 0.001});
    }
  }
  return points;
}

std::array<double, 3> centre(const std::vector<std::array<double, 3>> &points) {
  std::array<double, 3> c{};
  for (const auto &p : points)
    for (int i = 0; i < 3; i++) c[i] += p[i] / points.size();
  return c;
}

class EyeView : public SceneTest {
 protected:
  void TearDown() override {
    freePatternData();
    SceneTest::TearDown();
  }
};

const char *const FACING_ON_A_DIAGONAL =
    "! two jugglers facing each other on a diagonal\n"
    "dt=0.3 l=1.0\n"
    "j 45   -1 -1 0   c c\n"
    "  225   1  1 0   c c\n"
    "*\n"
    "a - c -\n"
    "- b - d\n"
    "c - a -\n"
    "- d - b\n";

TEST_F(EyeView, EachPresetLooksFromTheFaceAtThePartner) {
  struct Case {
    const char *name;
    std::string path;
  } cases[] = {{"the two-count sample", sourcePath("data/m/6club_2count_pass")},
               {"a diagonal pair", writeTempPattern("eye_view_diagonal", FACING_ON_A_DIAGONAL)}};
  for (const Case &c : cases) {
    testing::internal::CaptureStdout();
    int code = loadPattern(c.path);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(code, 0) << c.name;
    ASSERT_EQ(jugglers, 2) << c.name;
    for (int j = 0; j < 2; j++) {
      auto own = headPoints(j), partner = headPoints(1 - j);
      ASSERT_FALSE(own.empty()) << c.name;
      qMode.cameraPreset = j + 1;
      servePresets();
      double eye[3];
      computeEyePosition(eye);
      double h = quoitPos[j].ZWinkel, forward[2] = {cos(h), sin(h)};
      for (const auto &p : own)  // the nose and the eyes too lie behind the camera's eye
        EXPECT_GT((eye[0] - p[0]) * forward[0] + (eye[1] - p[1]) * forward[1], 0.0)
            << c.name << ", juggler " << j + 1 << " head point " << p[0] << " " << p[1] << " " << p[2];
      auto target = centre(partner);
      double d[3] = {target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
      double length = sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
      double along = (d[0] * cameraState.viewDir[0] + d[1] * cameraState.viewDir[1] + d[2] * cameraState.viewDir[2]);
      EXPECT_GT(along / length, cos(15 * M_PI / 180)) << c.name << ", juggler " << j + 1;
    }
  }
  remove(cases[1].path.c_str());
}

}  // namespace
