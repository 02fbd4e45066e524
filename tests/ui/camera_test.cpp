// Camera navigation: drags, limits and drift, the movement keys, panning, the follow view, the
// chooser cursor and the light controls.
#include <cmath>

#include "app/framestep.h"
#include "core/vecmath.h"
#include "pattern/store.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "tests/ui/mode_fakes.h"

using Camera = ModeTest;

TEST_F(Camera, DragsAndTheirLimits) {
  struct Case {
    int button1, button2, dragY;
    double distance, zoom, elevation;
    double newDistance, newZoom, newElevation;
  } cases[] = {
      {1, 0, -40, 0.6, 185, 1, 0.5, 185, 1},
      {1, 0, 100, 49.5, 185, 1, 50, 185, 1},
      {1, 0, 20, 3, 185, 1, 3.15, 185, 1},
      {0, 1, -10, 3, 1490, 1, 3, 1500, 1},
      {0, 1, 500, 3, 100, 1, 3, 40, 1},
      {0, 1, 100, 3, 100, 1, 3, 85, 1},
      {0, 0, 20, 3, 185, 1, 3, 185, 1.1},
      {1, 1, 20, 3, 185, 1, 3.15, 185, 1},
  };
  for (const Case &c : cases) {
    qMode.button1 = c.button1;
    qMode.button2 = c.button2;
    qMode.dragY = c.dragY;
    cameraState.distance = c.distance;
    cameraState.zoom = c.zoom;
    cameraState.elevation = c.elevation;
    mouseCamera(1);
    EXPECT_NEAR(cameraState.distance, c.newDistance, 1e-12) << c.dragY;
    EXPECT_NEAR(cameraState.zoom, c.newZoom, 1e-9) << c.dragY;
    EXPECT_NEAR(cameraState.elevation, c.newElevation, 1e-12) << c.dragY;
  }
}

TEST_F(Camera, DriftKeepsTurningUntilStopped) {
  qPrefs.mousespeed = 1;
  mouseCamera(2);
  EXPECT_DOUBLE_EQ(azimuthStep, 0.00025);
  qMode.dragX = 100;
  double start = cameraState.azimuth;
  mouseCamera(1);
  qMode.dragX = 0;
  mouseCamera(1);
  mouseCamera(1);
  EXPECT_NEAR(cameraState.azimuth - start, 3 * 0.025, 1e-12);
  frameKey = 127;
  mouseCamera(1);
  frameKey = 0;
  double stopped = cameraState.azimuth;
  mouseCamera(1);
  EXPECT_DOUBLE_EQ(cameraState.azimuth, stopped);
  qMode.dragX = 100;
  mouseCamera(1);
  qSetMode(0x9000, 0);
  stopped = cameraState.azimuth;
  mouseCamera(1);
  EXPECT_DOUBLE_EQ(cameraState.azimuth, stopped + 100 * 0.00025);
}

// The key of the frame reaches the camera although the key table has taken it already.
TEST_F(Camera, DeleteKeyOfTheFrameStopsTheDrift) {
  KeyCalls saved = keyCalls;
  keyCalls.debugInfo = [](int) {};
  rotationDrift[0] = 500;
  keyCommand(17, 127);
  mouseCamera(1);
  EXPECT_EQ(rotationDrift[0], 0);
  keyCalls = saved;
}

TEST_F(Camera, NothingInABenchmarkOrWalkClearsTheDrag) {
  qMode.benchmark = 1;
  qMode.dragY = 50;
  mouseCamera(0);
  EXPECT_EQ(qMode.dragY, 50);
  EXPECT_DOUBLE_EQ(cameraState.elevation, 1.65);
  qMode.benchmark = 0;
  qMode.button1 = 1;
  mouseCamera(0);
  EXPECT_EQ(qMode.dragY, 0);
  EXPECT_EQ(qMode.button1, 0);
  EXPECT_DOUBLE_EQ(cameraState.elevation, 1.65);
}

TEST_F(Camera, MovementKeys) {
  struct Case {
    int keys[5];
    int result;
    double dx, dy, dz;
  } cases[] = {
      {{0, 0, 0, 0, 0}, 1, 0, 0, 0},    {{1, 0, 0, 0, 0}, 0, 0, -0.1, 0}, {{0, 1, 0, 0, 0}, 0, 0, 0.1, 0},
      {{0, 0, 1, 0, 0}, 0, 0, 0, 0.1},  {{0, 0, 0, 1, 0}, 0, 0, 0, -0.1}, {{0, 0, 1, 0, 1}, 0, 0, 0, -0.1},
      {{0, 0, 0, 1, 1}, 0, 0, 0, 0.1},  {{1, 0, 1, 0, 0}, 0, 0, -0.1, 0}, {{0, 0, 0, 0, 1}, 1, 0, 0, 0},
  };
  for (const Case &c : cases) {
    for (int i = 0; i < 5; i++) qMode.moveKeys[i] = c.keys[i];
    double before[3] = {cameraState.lookAt[0], cameraState.lookAt[1], cameraState.lookAt[2]};
    EXPECT_EQ(keyCameraTranslation(), c.result);
    EXPECT_NEAR(cameraState.lookAt[0] - before[0], c.dx, 1e-12);
    EXPECT_NEAR(cameraState.lookAt[1] - before[1], c.dy, 1e-12);
    EXPECT_NEAR(cameraState.lookAt[2] - before[2], c.dz, 1e-12);
  }
}

TEST_F(Camera, PanByDrag) {
  qMode.dragX = 10;
  qMode.dragY = 20;
  mouseCameraTranslation();
  EXPECT_NEAR(cameraState.lookAt[1], 10 * 0.0033, 1e-12);
  EXPECT_NEAR(cameraState.lookAt[2], 1 - 20 * 0.0033, 1e-12);
  qMode.button1 = 1;
  mouseCameraTranslation();
  EXPECT_NEAR(cameraState.lookAt[2], 1 - 20 * 0.0033 + 20 * 0.0033, 1e-12);
}

TEST(CameraMaths, AngleFromCosine) {
  EXPECT_DOUBLE_EQ(angleFromCosine(1, 0), PI / 2);
  EXPECT_DOUBLE_EQ(angleFromCosine(-1, 0), 1.5 * PI);
  EXPECT_DOUBLE_EQ(angleFromCosine(0, 1), 2 * PI);
  EXPECT_DOUBLE_EQ(angleFromCosine(0.5, -1), PI);
  // A cosine past the ends, as a capped radius gives it, is no angle of NaN.
  EXPECT_DOUBLE_EQ(angleFromCosine(1, 2), 0);
  EXPECT_DOUBLE_EQ(angleFromCosine(-1, -1.0000000000000002), PI);
}

// The follow view aims from the eye at the current object's flying placement.
TEST(CameraMaths, EyeAboveTheLookAtPointAtElevationZero) {
  cameraState.azimuth = 1.3;
  cameraState.elevation = 0;
  cameraState.distance = 4;
  cameraState.lookAt[0] = 1, cameraState.lookAt[1] = 2, cameraState.lookAt[2] = 1;
  double eye[3];
  computeEyePosition(eye);
  EXPECT_NEAR(eye[0], 1, 1e-12);
  EXPECT_NEAR(eye[1], 2, 1e-12);
  EXPECT_NEAR(eye[2], 5, 1e-12);
  EXPECT_NEAR(cameraState.viewDir[2], -1, 1e-12);
  cameraState.azimuth = PI / 2;
  cameraState.elevation = PI / 2;
  computeEyePosition(eye);
  EXPECT_NEAR(eye[1], 6, 1e-12);
  EXPECT_NEAR(cameraState.viewDir[1], -1, 1e-12);
}

TEST_F(Camera, FollowTheCurrentObject) {
  struct Case {
    double eye[3];
    int16_t object[3];
    double distance, elevation, azimuth;
  } cases[] = {
      {{3, 0, 1}, {0, 0, 1000}, 3, PI / 2, 2 * PI},
      {{0, 2, 1}, {0, 0, 1000}, 2, PI / 2, PI / 2},
      {{0, 0, 4}, {0, 0, 1000}, 3, 2 * PI, 0.085},  // straight above: the azimuth stays
      {{0, 0, 1}, {0, 0, 1000}, 3.34, 1.65, 0.085},   // on the object: everything stays
  };
  Placement list[] = {{3, 0, 0, 0, 0, 0, 0, 'b'}, {4, 0, 0, 0, 0, 0, 0, 'a'}, {-1, 0, 0, 0, 0, 0, 0, 0}};
  Placement *savedList = flyingPlacements;
  flyingPlacements = list;
  currentObjectLetter = 'a';
  qMode.view = VIEW_FOLLOW;
  for (const Case &c : cases) {
    for (int i = 0; i < 3; i++) cameraState.eye[i] = c.eye[i];
    list[1].x = c.object[0];
    list[1].y = c.object[1];
    list[1].z = c.object[2];
    int track = 0;
    double lookAt[3], elevation, azimuth, distance;
    followCurrentObject(&track, lookAt, &elevation, &azimuth, &distance);
    EXPECT_DOUBLE_EQ(lookAt[2], 1.0);
    EXPECT_NEAR(distance, c.distance, 1e-12) << c.eye[0];
    EXPECT_NEAR(elevation, c.elevation, 1e-12) << c.eye[0];
    EXPECT_NEAR(azimuth, c.azimuth, 1e-12) << c.eye[0];
  }
  currentObjectLetter = 'q';
  int track = 0;
  double lookAt[3], elevation, azimuth, distance;
  followCurrentObject(&track, lookAt, &elevation, &azimuth, &distance);
  EXPECT_DOUBLE_EQ(lookAt[2], cameraState.lookAt[2]);
  EXPECT_DOUBLE_EQ(distance, cameraState.distance);
  flyingPlacements = savedList;
  currentObjectLetter = 0;
}

TEST_F(Camera, ChooserCursor) {
  resetChooserCursor();
  qMode.main = MAIN_CHOOSER;
  int16_t x = 0, y = 0;
  int rowOffset = 0;
  struct Step {
    int dragX, dragY, button1;
    int16_t x, y;
    int rowOffset, result;
  } steps[] = {
      {60, 0, 0, 60, 0, -1, 0},  // no entries: the last row is 0
      {20, 0, 0, 0, 0, -1, 0},   // column 3
      {80, 0, 0, 70, 0, -1, 0},  // column 3 stays, x held at the edge
  };
  for (const Step &s : steps) {
    qMode.dragX = s.dragX;
    qMode.dragY = s.dragY;
    qMode.button1 = s.button1;
    int result = moveChooserCursor(&rowOffset, &x, &y);
    EXPECT_EQ(x, s.x);
    EXPECT_EQ(y, s.y);
    EXPECT_EQ(rowOffset, s.rowOffset);
    EXPECT_EQ(result, s.result);
  }
  EXPECT_EQ(qMode.move, MOVE_ROTATE);
}

TEST_F(Camera, LightControlsStartValues) {
  qMode.dragX = qMode.dragY = 0;
  qMode.button1 = qMode.button2 = 0;
  walkControlFromMouse();
  EXPECT_EQ(lightState.distance, 600);
  EXPECT_EQ(lightState.angle, 1438);
  qMode.button2 = 1;
  lightState.spotRadius = 300;
  qMode.dragY = 500;
  walkControlFromMouse();
  EXPECT_EQ(lightState.spotRadius, 50);
  qMode.button2 = 0;
  qMode.button1 = 1;
  qMode.dragY = 0;
  walkControlFromMouse();
  EXPECT_EQ(lightState.xOffset, 0);
  EXPECT_EQ(lightState.yOffset, 0);
  qMode.dragY = -1000;
  walkControlFromMouse();
  EXPECT_EQ(walkReach, -500);
  EXPECT_EQ(lightState.xOffset, 5000);
  walkReach = 500;
}
