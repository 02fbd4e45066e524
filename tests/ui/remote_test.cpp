// The remote control without a window: its layout at a given size, the 2D panel's steering of the
// camera, pan, light and chooser cursor, and what a click on its buttons does with the modes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/uistate.h"
#include "core/vecmath.h"
#include "tests/ui/mode_fakes.h"
#include "ui/camera.h"
#include "ui/glut_windows.h"
#include "ui/remote.h"

namespace {

TEST(RemoteLayout, LandscapeAbove07AndTheSubwindows) {
  EXPECT_TRUE(remoteLayout(100, 120).landscape);   // 0.83
  EXPECT_FALSE(remoteLayout(80, 120).landscape);   // 0.67
  RemoteLayout l = remoteLayout(210, 120);
  EXPECT_EQ(l.extentX, 210);
  EXPECT_EQ(l.extentY, 120);
  EXPECT_EQ((std::vector<int>(l.panel, l.panel + 4)), (std::vector<int>{0, 15, 90, 90}));
  EXPECT_EQ((std::vector<int>(l.fps, l.fps + 4)), (std::vector<int>{120, 55, 90, 15}));
  l = remoteLayout(240, 420);
  EXPECT_EQ(l.extentX, 120);
  EXPECT_EQ(l.extentY, 210);
  EXPECT_EQ((std::vector<int>(l.panel, l.panel + 4)), (std::vector<int>{0, 30, 240, 180}));
  EXPECT_EQ((std::vector<int>(l.fps, l.fps + 4)), (std::vector<int>{60, 290, 180, 30}));
  int x, y;
  EXPECT_EQ(remoteButtonCentre(99, 210, 120, &x, &y), 0);
}

class RemoteTest : public ModeTest {
 protected:
  void SetUp() override {
    ModeTest::SetUp();
    remoteState = REMOTE_NOT_OPENED;
    for (int &id : qWindowIds) id = 0;
    panelSize[0] = panelSize[1] = 100;
    panelPoint[0] = panelPoint[1] = 50;
    panDragFlag = 0;
    for (int &state : remoteButtonStates) state = 0;
    lightState = LightState{300, 100, 0, 0, 500};
  }
};

TEST_F(RemoteTest, RotatePanel) {
  qGlutqrc2DPanel(0, 50, 20);  // inside the dead zone sideways
  EXPECT_EQ(rotationDrift[0], 0);
  EXPECT_DOUBLE_EQ(cameraState.elevation, 15 * PI / 90);
  qGlutqrc2DPanel(0, 80, 20);
  EXPECT_EQ(rotationDrift[0], 280);
  qGlutqrc2DPanel(2, 50, 1);  // right button near the top: as far as it goes
  EXPECT_DOUBLE_EQ(cameraState.zoom, 3400.0 / 5);
  EXPECT_DOUBLE_EQ(cameraState.distance, 45);
  qGlutqrc2DPanel(2, 60, 100);
  EXPECT_DOUBLE_EQ(cameraState.zoom, 3400.0 / 13);
  EXPECT_DOUBLE_EQ(cameraState.distance, 0.5 * cameraState.zoom / 300);
}

TEST_F(RemoteTest, PointsOutsideThePanelAreIgnored) {
  CameraState before = cameraState;
  for (int xy : {-1, 101}) {
    qGlutqrc2DPanel(0, xy, 50);
    qGlutqrc2DPanel(0, 50, xy);
  }
  EXPECT_EQ(cameraState.elevation, before.elevation);
  EXPECT_EQ(rotationDrift[0], 0);
  panelSize[0] = 0;
  qGlutqrc2DPanel(0, 10, 10);
  EXPECT_EQ(cameraState.elevation, before.elevation);
}

// A pan drag starts where the pointer is; moving right moves the look-at point against the side
// vector, moving down along the view direction (left button) or the up vector (other buttons).
TEST_F(RemoteTest, PanPanel) {
  qMode.move = MOVE_PAN;
  cameraState = CameraState{3, 1, 0, 185, {0, 0, 0}, {0, 0, 0}, {0, 0, -2}, {1, 0, 0}, {0, 1, 0}};
  panDragFlag = 1;
  qGlutqrc2DPanel(0, 30, 30);
  EXPECT_EQ(panDragFlag, 0);
  EXPECT_EQ(cameraState.lookAt[0], 0);
  qGlutqrc2DPanel(0, 40, 30);
  EXPECT_NEAR(cameraState.lookAt[0], 0.33, 1e-12);  // side (1, 0, 0)
  qGlutqrc2DPanel(0, 40, 40);
  EXPECT_NEAR(cameraState.lookAt[2], 0.33, 1e-12);  // view direction (0, 0, -1)
  qGlutqrc2DPanel(1, 40, 50);
  EXPECT_NEAR(cameraState.lookAt[1], -0.33, 1e-12);  // up (0, 1, 0)
  EXPECT_EQ(panelPoint[0], 40);
  EXPECT_EQ(panelPoint[1], 50);
}

TEST_F(RemoteTest, LightPanel) {
  qMode.move = MOVE_WALK;
  cameraState.azimuth = 0;
  qGlutqrc2DPanel(0, 50, 50);  // the centre has no direction: the angle stays
  EXPECT_EQ(lightState.angle, 100);
  EXPECT_EQ(lightState.distance, 0);
  qGlutqrc2DPanel(0, 100, 50);  // 48 to the right of the dead zone
  EXPECT_EQ(lightState.distance, 960);
  EXPECT_EQ(lightState.angle, 1536);  // three quarters of a turn
  cameraState.azimuth = PI / 2;   // the panel turns with the camera
  qGlutqrc2DPanel(0, 100, 50);
  EXPECT_EQ(lightState.angle, 1024);
  qGlutqrc2DPanel(0, 100, 100);
  EXPECT_EQ(lightState.distance, 1000);
  qGlutqrc2DPanel(2, 60, 50);
  EXPECT_EQ(lightState.spotRadius, 400);
  qGlutqrc2DPanel(2, 100, 50);
  EXPECT_EQ(lightState.spotRadius, 1000);
}

TEST_F(RemoteTest, ChooserPanel) {
  qMode.main = MAIN_CHOOSER;
  chooserState = 1;
  chooserPoint[0] = chooserPoint[1] = 50;
  qGlutqrc2DPanel(0, 60, 45);
  EXPECT_EQ(qMode.dragX, 200);
  EXPECT_EQ(qMode.dragY, -100);
  EXPECT_EQ(chooserPoint[0], 60);
  qGlutqrc2DPanel(2, 60, 45);
  EXPECT_EQ(qMode.main, MAIN_CHOOSER_PICK);
}

int stateOf(int name) {
  for (int i = 0; i < REMOTE_BUTTON_COUNT; i++)
    if (remoteButtonNames[i] == name) return remoteButtonStates[i];
  return -1;
}

// The move buttons are a radio group; a one-shot button is marked until the next click; a release
// outside every button clears the marks and sends 0, which does nothing.
TEST_F(RemoteTest, ButtonClicks) {
  remoteButtonReleased(47);
  EXPECT_EQ(qMode.move, MOVE_PAN);
  EXPECT_EQ(stateOf(47), 2);
  remoteButtonReleased(46);
  EXPECT_EQ(qMode.move, MOVE_WALK);
  EXPECT_EQ(stateOf(46), 2);
  EXPECT_EQ(stateOf(47), 0);
  remoteButtonReleased(27);
  EXPECT_EQ(qMode.speed, 0);
  EXPECT_EQ(stateOf(27), 1);
  EXPECT_EQ(stateOf(46), 2);
  QuoitMode before = qMode;
  remoteButtonReleased(0);
  for (int name : remoteButtonNames) EXPECT_EQ(stateOf(name) & 1, 0) << name;
  EXPECT_EQ(qMode.speed, before.speed);
  EXPECT_EQ(qMode.move, before.move);
  EXPECT_EQ(qMode.main, before.main);
  remoteButtonReleased(33);
  EXPECT_EQ(rotationDrift[0], 0);
  remoteButtonReleased(45);
  EXPECT_EQ(qMode.move, MOVE_ROTATE);
}

TEST_F(RemoteTest, ChooserButton) {
  remoteButtonReleased(48);
  EXPECT_EQ(qMode.main, MAIN_CHOOSER);
  EXPECT_EQ(stateOf(48), 2);
  remoteButtonReleased(48);  // while the chooser runs: the pick
  EXPECT_EQ(qMode.main, MAIN_CHOOSER_PICK);
  EXPECT_EQ(stateOf(48), 0);
}

// Hidden and shown again, the panel keeps its own size (the 3D window's mouse moves the camera).
TEST_F(RemoteTest, HidingKeepsThePanelSize) {
  remoteState = REMOTE_SHOWN;
  panelSize[0] = panelSize[1] = 90;
  qGlutqrcToggle();
  EXPECT_EQ(remoteState, REMOTE_HIDDEN);
  qGlutqrcToggle();
  EXPECT_EQ(remoteState, REMOTE_SHOWN);
  EXPECT_EQ(panelSize[0], 90);
  EXPECT_EQ(panelSize[1], 90);
  remoteState = REMOTE_NOT_OPENED;
  qGlutqrcToggle();
  EXPECT_EQ(remoteState, REMOTE_NOT_OPENED);
}

}  // namespace
