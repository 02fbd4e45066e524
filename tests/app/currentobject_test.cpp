// The current object in the frame step: the first frame picks the first object of the wrap table,
// the follow view looks at it, and the next-object command (Tab) moves the view to the next one.
#include <gtest/gtest.h>

#include "app/framestep.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/loadpattern.h"
#include "ui/modes.h"

namespace {

class CurrentObjectFrames : public SceneTest {
 protected:
  QuoitMode savedMode{};
  void SetUp() override {
    SceneTest::SetUp();
    savedMode = qMode;
    qMode = QuoitMode();
    qMode.display = 1;
    qMode.move = MOVE_ROTATE;
    qMode.view = VIEW_FOLLOW;
    qMode.speed = 0;  // the objects stand still between the frames
    chooserState = 0;
    nextObjectRequest = 0;
    resetPathDisplay();
    testing::internal::CaptureStdout();
    int code = loadPattern(sourcePath("data/m/3ball_cascade"));
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(code, 0);
    ASSERT_EQ(qPlaceJugglers(), 0);
  }
  void TearDown() override {
    freePatternData();
    resetPathDisplay();
    qMode = savedMode;
    SceneTest::TearDown();
  }
  // The flying placement of the letter.
  static const Placement *placementOf(char letter) {
    for (const Placement *p = flyingPlacements + 1; p->model != PLACEMENT_END_FLYING; p++)
      if ((p->letter & 0xff) == (unsigned char)letter) return p;
    return nullptr;
  }
  static void expectViewOn(char letter) {
    const Placement *p = placementOf(letter);
    ASSERT_NE(p, nullptr) << letter;
    EXPECT_NEAR(viewState.x, p->x, 1) << letter;
    EXPECT_NEAR(viewState.y, p->y, 1) << letter;
    EXPECT_NEAR(viewState.z, p->z, 1) << letter;
  }
};

TEST_F(CurrentObjectFrames, FollowViewLooksAtTheCurrentObjectAndTabStepsIt) {
  advanceFrame();
  EXPECT_EQ(currentObjectLetter, char(wraptable[0]));
  expectViewOn(currentObjectLetter);
  char first = currentObjectLetter;
  qSetMode(0xC000, 0);  // Tab
  advanceFrame();
  EXPECT_EQ(currentObjectLetter, Objektbuchstaben[(Objekt_Nummer(first) + 1) % objekte]);
  EXPECT_NE(currentObjectLetter, first);
  expectViewOn(currentObjectLetter);
}

}  // namespace
