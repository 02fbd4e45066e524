// Window images of every sample pattern in every display mode (and with shadows and the mirror
// floor) against stored reference images: the renderer's lists and passes may be built differently,
// but the frame they draw stays the same. With QUOIT_WRITE_REFERENCE set the images are written
// into tests/scene/reference/ instead of compared.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/framestep.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "pattern/clock.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/placements.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/loadpattern.h"
#include "tests/support/picture_fixture.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"

namespace {

const int W = 160, H = 120;
const int TOLERANCE = 3;  // pixel values (0..255) a channel may differ by

struct ImageCase {
  const char *name;
  int display;
  int64_t flags;
};

const ImageCase imageCases[] = {
    {"mode1", 1, 0},   {"mode2", 2, 0},   {"mode3", 3, 0},   {"mode4", 4, 0},
    {"mode5", 5, 0},   {"mode6", 6, 0},   {"mode7", 7, 0},   {"mode8", 8, 0},
    {"mode9", 9, 0},   {"mode10", 10, 0}, {"mode11", 11, 0}, {"shadows", 1, FLAG_SHADOWS},
    {"mirror", 1, FLAG_MIRROR}, {"lit_shadows_mirror", 9, FLAG_SHADOWS | FLAG_MIRROR},
};

std::string referencePath(const char *pattern, const char *name) {
  return sourcePath(std::string("tests/scene/reference/") + pattern + "_" + name + ".png");
}

class FrameImagesGui : public PictureTest<SceneTest, W, H> {
 protected:
  // The pattern as the pattern loop loads and places it, seen from the cameras the reference images
  // were drawn with (the sample files' own cameras came later: their lines are left out, and the
  // props-camera sample keeps its first one), with a light out to the side, so that shadows and the
  // spot fall where they show.
  void load(const char *name) {
    std::ifstream in(sourcePath(std::string("data/m/") + name));
    std::string text, line;
    while (std::getline(in, line)) {
      if (line.rfind("B=", 0) == 0 || line.rfind("G=", 0) == 0) {
        if (std::string(name) != "3ball_props_camera") continue;
        if (line.rfind("B=", 0) == 0) line = "B=0.6,1.2,4.5,190";
      }
      text += line + "\n";
    }
    std::string path = writeTempPattern(name, text);
    testing::internal::CaptureStdout();
    int code = loadPattern(path);
    testing::internal::GetCapturedStdout();
    std::remove(path.c_str());
    ASSERT_EQ(code, 0) << name;
    ASSERT_EQ(qPlaceJugglers(), 0) << name;
    packViewState();
    lightState = LightState{400, 300, 0, 0, 1000};
  }

  // The renderer's frame state as at the program's start, an empty window, then two frames at two
  // moments (the hands move between them); the second frame's image.
  static std::vector<unsigned char> drawCase(const ImageCase &c, std::string &output) {
    qMode.display = c.display;
    qMode.flags = c.flags;
    stencilDirty = 0;
    interlacePhase = 1;
    noiseState = NoiseState{100, 6, 10, 7, 77, 3};
    realTimeTotal = 1.25;  // the ghosts' translucency follows it
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    testing::internal::CaptureStdout();
    for (double share : {0.3, 0.55}) {
      qComputeObjectPositions(flyingPlacements + 1, 0, share * t_zyklus + 0.01, nullptr, -1);
      qGlClearScreen();
      qGlUpdateDisplay();
    }
    glFinish();
    output = testing::internal::GetCapturedStdout();
    std::vector<unsigned char> rgb = readWindowRgb(W, H);
    qMode.flags = 0;
    return rgb;
  }
};

// Pixels whose largest channel difference exceeds the tolerance.
int differingPixels(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b) {
  int n = 0;
  for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3) {
    int worst = 0;
    for (int k = 0; k < 3; k++) worst = std::max(worst, std::abs(int(a[i + k]) - int(b[i + k])));
    n += worst > TOLERANCE;
  }
  return n;
}

TEST_F(FrameImagesGui, EveryPatternAndModeDrawsItsReferenceImage) {
  bool writing = getenv("QUOIT_WRITE_REFERENCE") != nullptr;
  for (const char *pattern : samplePatterns) {
    SCOPED_TRACE(pattern);
    load(pattern);
    for (const ImageCase &c : imageCases) {
      SCOPED_TRACE(c.name);
      std::string output;
      std::vector<unsigned char> image = drawCase(c, output);
      EXPECT_EQ(output.find("OpenGL Error"), std::string::npos) << output;
      std::string path = referencePath(pattern, c.name);
      if (writing) {
        EXPECT_TRUE(writePngRgb(path, image, W, H)) << path;
        continue;
      }
      unsigned width = 0, height = 0;
      std::vector<unsigned char> reference = readPngRgb(path, &width, &height);
      if (width != unsigned(W) || height != unsigned(H)) reference.clear();
      ASSERT_EQ(reference.size(), image.size()) << "no reference image " << path;
      EXPECT_EQ(differingPixels(image, reference), 0) << path;
    }
    freePatternData();
  }
}

}  // namespace
