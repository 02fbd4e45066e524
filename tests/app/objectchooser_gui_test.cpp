// The object chooser as the frame step runs it, drawn in a real GL context on the test program's
// Xvfb: entering it shows the grid of models, a click takes the model under the cursor, the camera
// command writes that model into the pattern file and the pattern loads with it again.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/framestep.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/viewrecords.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/classic_renderer.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/loadpattern.h"
#include "tests/support/picture_fixture.h"
#include "ui/camera.h"
#include "ui/modes.h"

namespace {

const int W = 320, H = 240;

Picture drawFrame() { return drawPicture(qGlUpdateDisplay, W, H); }

std::string contents(const std::string &path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ObjectChooserGui : public PictureTest<SceneTest, W, H> {
 protected:
  std::string savedTemp;
  void SetUp() override {
    PictureTest::SetUp();
    savedTemp = qPrefs.temp;
    qMode.main = 0;
    qMode.move = MOVE_ROTATE;
    qMode.view = VIEW_FREE;
    qMode.speed = 0;
    chooserState = 0;
    chosenModel = -1;
    resetChooserCursor();
  }
  void TearDown() override {
    resetPathDisplay();
    qPrefs.temp = savedTemp;
    chooserState = 0;
    chosenModel = -1;
    PictureTest::TearDown();
  }
  std::string load(const std::string &file) {
    resetPathDisplay();
    testing::internal::CaptureStdout();
    int code = loadPattern(file);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(code, 0) << file;
    EXPECT_EQ(qPlaceJugglers(), 0);
    return file;
  }
};

TEST_F(ObjectChooserGui, AClickTakesTheModelAndTheCameraCommandWritesIt) {
  std::string file = writeFile("m/3ball_cascade", contents("m/3ball_cascade"));
  qPrefs.temp = std::filesystem::path(writeFile("tmp/keep", "")).parent_path().string() + "/";
  load(file);
  packViewState();
  Picture pattern = drawFrame();

  qSetMode(uint32_t(MAIN_CHOOSER), 0);
  ASSERT_EQ(chooserState, 1);
  testing::internal::CaptureStdout();
  advanceFrame();
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(chooserState, 1);
  ASSERT_GT(chooserCursorModel, 0);
  EXPECT_EQ(viewState.radius, 1750);
  Picture grid = drawFrame();
  EXPECT_GT(grid.differences(pattern), W * H / 20);

  int wanted = chooserModels[4 * chooserRow + chooserColumn];  // the model under the cursor
  qMode.button1 = 1;  // a left click on the panel
  testing::internal::CaptureStdout();
  advanceFrame();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(chosenModel, wanted);
  EXPECT_EQ(chooserState, 0);
  EXPECT_EQ(qMode.main, 0);
  EXPECT_EQ(flyingPlacements, flyingObjects);
  EXPECT_EQ(objectModelForRow(0), wanted);
  Picture picked = drawFrame();
  EXPECT_GT(picked.differences(grid), W * H / 20);

  int number = objekt_geladen[wanted].objektnummer;
  qSetMode(0x3000, 0);
  std::string text = contents(file);
  EXPECT_NE(text.find("a=" + std::to_string(number)), std::string::npos) << text;

  chosenModel = -1;
  load(file);
  int model = objectModelForRow(0);
  ASSERT_GE(model, 0);
  EXPECT_EQ(objekt_geladen[model].objektnummer, number);
}

}  // namespace
