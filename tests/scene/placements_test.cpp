// Placements: the flying list at a time of the cycle and its debug lines, the turn that runs back
// after the apex, the radius offset and its 16-bit limit, single-object mode, the close-follow eye,
// the chooser grid, and on the sample patterns: the flying list, the figures, the hand points and
// the flight-path object file.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/native_windows.h"
#include "core/uistate.h"
#include "core/vecmath.h"
#include "app/framestep.h"
#include "pattern/clock.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/loadpattern.h"
#include "ui/camera.h"
#include "ui/modes.h"

// Three object rows over the whole cycle of 2 s: a free flight, a fitted flight and a hold, all of
// model 5 with a radius of 100 mm.
class FlyingList : public ::testing::Test {
 public:
  std::vector<Flugbahn> rows[3];
  Flugbahn *rowPointers[3];
  int16_t shape[SHAPE_POINTS] = {SHAPE_POINTS * 2, 3, 0, 0, 100, 0};
  Flugbahn **savedFlugbahn = flugbahn;
  Handbahn **savedHandbahn = handbahn;
  int16_t *savedShape = objectShapes[5];
  Placement *savedList = flyingPlacements;

  void SetUp() override {
    objekte = 3;
    t_zyklus = 2;
    segmentRowLength = 1;
    qMode.view = VIEW_FREE;
    for (int o = 0; o < 3; o++) {
      Flugbahn s{};
      s.t_to = 2;
      s.t_apex = 0.4;
      s.X0[0] = 0.1 * o;
      s.X0[2] = 1;
      s.V[2] = 2;
      s.az = -10;
      s.Wp[0] = 1;
      s.flag = o == 0 ? FB_FREE_FLIGHT : o == 2 ? FB_HOLD_Z : 0u;
      for (int k = 0; k < 3; k++) {  // the hold: a straight line from (0, 0, 1) to (0, 1.5, 1)
        s.B0[k] = s.B1[k] = s.B2[k] = s.B3[k] = k == 2 ? 1 : 0;
      }
      s.B1[1] = 0.5;
      s.B2[1] = 1;
      s.B3[1] = 1.5;
      rows[o].assign(1, s);
      rowPointers[o] = rows[o].data();
      paraz[o] = 0;
      objectCursor[o] = 0;
      Objektbuchstaben[o] = char('a' + o);
    }
    flugbahn = rowPointers;
    handbahn = nullptr;
    objectShapes[5] = shape;
    chosenModel = 5;
  }
  void TearDown() override {
    flugbahn = savedFlugbahn;
    handbahn = savedHandbahn;
    objectShapes[5] = savedShape;
    flyingPlacements = savedList;
    chosenModel = -1;
    objekte = 0;
    qMode.view = VIEW_FREE;
    currentObjectLetter = 0;
  }
};

TEST_F(FlyingList, RowsAtATimeThenTheEnd) {
  Placement list[6] = {};
  list[5].model = 77;
  qComputeObjectPositions(list + 1, 0, 0.2, nullptr, -1);
  double z = 1 + 2 * 0.2 - 5 * 0.2 * 0.2;
  struct Expected {
    double x, y, z, r;  // path point and radius offset
  } expected[] = {{0, 0, z, 0}, {0.1, 0, z, 0.1}, {0, 0.15, 1, 0.1}};  // the hold is at a tenth of its line
  for (int o = 0; o < 3; o++) {
    SCOPED_TRACE(o);
    const Expected &e = expected[o];
    EXPECT_EQ(list[1 + o].model, 5);
    // The free flight keeps its point; the others move by the radius offset, turned with the spin
    // angle (0.2 rad here).
    EXPECT_NEAR(list[1 + o].x, 1000 * (e.x - e.r * std::sin(0.2)), 2);
    EXPECT_NEAR(list[1 + o].y, 1000 * e.y, 2);
    EXPECT_NEAR(list[1 + o].z, 1000 * (e.z - e.r * std::cos(0.2)), 2);
    EXPECT_EQ(list[1 + o].letter, 'a' + o);
  }
  EXPECT_EQ(list[4].model, PLACEMENT_END_FLYING);
  EXPECT_EQ(list[5].model, 77);
}

std::string shownLines;
void keepLines(const char *text, int, int, int) { shownLines = text; }

// With the status screen's overview on, the frame shows a line per row: letter, segment, flags and
// the two turns of the placement in degrees, then the time into the segment.
TEST_F(FlyingList, OverviewShowsALinePerRow) {
  WindowCalls saved = windowCalls;
  windowCalls.multiLineText = keepLines;
  jugglerViewCounter = 1;
  Placement list[6] = {};
  qComputeObjectPositions(list + 1, 0, 0.2, nullptr, -1);
  jugglerViewCounter = 0;
  windowCalls = saved;
  EXPECT_NE(shownLines.find("a:# 0(--------p)  11\260   0\260 0.20\n"), std::string::npos) << shownLines;
  EXPECT_NE(shownLines.find("b:# 0(---------)  11\260"), std::string::npos) << shownLines;
  EXPECT_NE(shownLines.find("c:# 0(----z----)"), std::string::npos) << shownLines;
}

TEST_F(FlyingList, TurnAboutYRunsBackAfterTheApex) {
  Placement early[5] = {}, late[5] = {};
  qComputeObjectPositions(early + 1, 0, 0.2, nullptr, -1);
  qComputeObjectPositions(late + 1, 0, 0.6, nullptr, -1);
  EXPECT_EQ(late[2].angleY, early[2].angleY);
  EXPECT_EQ(late[3].angleY, early[3].angleY);
  EXPECT_EQ(late[1].angleY, encodeAngle(0.6));  // a free flight keeps turning
}

TEST_F(FlyingList, SingleObjectModeGivesMetresAndKeepsTheCursor) {
  rows[1].resize(2);
  rows[1][0].t_to = 1;
  rows[1][1] = rows[1][0];
  rows[1][1].t_from = 1;
  rows[1][1].t_to = 2;
  rows[1][1].X0[0] = 5;
  rowPointers[1] = rows[1].data();
  paraz[1] = 1;
  segmentRowLength = 2;
  objectCursor[1] = 1;
  Placement one = {};
  double position[3] = {};
  qComputeObjectPositions(&one, 0, 0.5, position, 1);
  EXPECT_NEAR(position[0], 0.1 - 0.1 * std::sin(0.3), 0.002);  // the spin of 0.5 rad runs back to 0.3
  EXPECT_NEAR(position[2], 1 + 1 - 5 * 0.25 - 0.1 * std::cos(0.3), 0.002);
  EXPECT_EQ(objectCursor[1], 1);
}

TEST_F(FlyingList, FloorOnlyListTakesNoRows) {
  Placement *savedBlock = flyingObjects;
  flyingObjects = nullptr;
  showPatternFlyingList();
  qComputeObjectPositions(flyingPlacements + 1, 0, 0.2, nullptr, -1);
  EXPECT_EQ(flyingPlacements[0].model, 0);
  EXPECT_EQ(flyingPlacements[1].model, PLACEMENT_END_FLYING);
  flyingObjects = savedBlock;
}

// The close-follow eye is 0.65 m behind the current object along its path; a standing object
// (no direction) leaves the eye where it was.
TEST_F(FlyingList, CloseFollowEyeBehindTheCurrentObject) {
  qMode.view = VIEW_CLOSE;
  currentObjectLetter = 'b';
  Placement list[5] = {};
  qComputeObjectPositions(list + 1, 0, 0.1, nullptr, -1);  // row b rises at 1 m/s
  EXPECT_NEAR(cameraState.eye[0], list[2].x * 0.001, 1e-9);
  EXPECT_NEAR(cameraState.eye[1], list[2].y * 0.001, 1e-9);
  EXPECT_NEAR(cameraState.eye[2], list[2].z * 0.001 - 0.65, 1e-9);
  double kept[3] = {7, 8, 9};
  for (int k = 0; k < 3; k++) cameraState.eye[k] = kept[k];
  qComputeObjectPositions(list + 1, 0, 0.2, nullptr, -1);  // at its apex
  for (int k = 0; k < 3; k++) EXPECT_EQ(cameraState.eye[k], kept[k]);
}

// Millimetres stay within 16 bits when the radius offset moves a point past the limit.
TEST_F(FlyingList, RadiusOffsetKeepsSixteenBits) {
  struct Case {
    int16_t x;
    double spin;
    int expected;
  } cases[] = {{32700, -PI / 2, 32767}, {-32700, PI / 2, -32768}, {1000, -PI / 2, 1100}};
  for (const Case &c : cases) {
    Placement p{5, 0, c.x, 0, 0, encodeAngle(c.spin), 0, 0};
    qAddRadiusOffset(&p);
    EXPECT_EQ(p.x, c.expected) << c.x;
  }
  rows[0][0].X0[0] = 40;  // 40 m away
  rows[1][0].X0[0] = -40;  // and the radius offset moves it further
  Placement list[5] = {};
  qComputeObjectPositions(list + 1, 0, 0.2, nullptr, -1);
  EXPECT_EQ(list[1].x, 32767);
  EXPECT_EQ(list[2].x, -32768);
}

class ObjectChooser : public ::testing::Test {
 public:
  LoadedObject *saved = objekt_geladen;
  std::vector<LoadedObject> table = std::vector<LoadedObject>(LOO_MAX + 1);
  int16_t turning[SHAPE_POINTS] = {SHAPE_POINTS * 2, 3, 1, 0, 0, 0};
  int16_t *savedShape = objectShapes[0];
  Placement *savedList = flyingPlacements;

  void SetUp() override {
    objekt_geladen = table.data();
    for (int m = 0; m < 23; m++) {
      table[m].flags = OBJ_CHOOSABLE;
      chooserModels[m] = int16_t(m);
    }
    chooserModels[23] = -1;
    chooserRow = chooserColumn = -1;
    chooserCursorModel = 0;
    objectShapes[0] = nullptr;
  }
  void TearDown() override {
    objekt_geladen = saved;
    objectShapes[0] = savedShape;
    flyingPlacements = savedList;
    chooserModels[0] = -1;
  }
  int shown() {
    int n = 0;
    while (flyingPlacements[1 + n].model != PLACEMENT_END_FLYING) n++;
    return n;
  }
};

TEST_F(ObjectChooser, TwentyModelsAPageAndPagesClamped) {
  struct Case {
    int page, count, first;
  } cases[] = {{0, 20, 0}, {1, 19, 4}, {5, 3, 20}, {6, 0, -1}, {1000000, 0, -1}, {INT_MAX, 0, -1},
               {-2, 12, 0}, {-5, 0, -1}, {INT_MIN, 0, -1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.page);
    EXPECT_EQ(qBuildObjectChooser(c.page, 0, 0), 0);
    EXPECT_EQ(flyingPlacements[0].model, 0);
    EXPECT_EQ(flyingPlacements[0].z, -10000);
    EXPECT_EQ(shown(), c.count);
    if (c.count) {
      EXPECT_EQ(flyingPlacements[1].model, c.first);
      EXPECT_EQ(flyingPlacements[1].x, -1050);
      EXPECT_EQ(flyingPlacements[1].z, c.page < 0 ? (2 + c.page) * 700 : 1400);
    }
  }
}

TEST_F(ObjectChooser, SkipsModelsNotChoosableAndTurnsTheTurningOnes) {
  table[2].flags = 0;
  objectShapes[0] = turning;
  qBuildObjectChooser(0, 0, 100);
  const int expectedModels[] = {0, 1, 3, 4};
  const int expectedX[] = {-1050, -350, 350, 1050};
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(flyingPlacements[1 + i].model, expectedModels[i]);
    EXPECT_EQ(flyingPlacements[1 + i].x, expectedX[i]);
    EXPECT_EQ(flyingPlacements[1 + i].angleZ, 6);
  }
  EXPECT_EQ(flyingPlacements[1].angleY, 2048 - 100);
  EXPECT_EQ(flyingPlacements[2].angleY, 0);
  EXPECT_EQ(flyingPlacements[5].z, 700);  // the second row
}

TEST_F(ObjectChooser, CursorFrameAndThePick) {
  chooserCursorModel = 30;
  chooserRow = 2;
  chooserColumn = 1;
  EXPECT_EQ(qBuildObjectChooser(1, -1, 0), 9);  // page 1, grid row 1: entries 8..11
  EXPECT_EQ(shown(), 20);
  EXPECT_EQ(flyingPlacements[6].model, 9);
  EXPECT_EQ(flyingPlacements[7].model, 30);
  EXPECT_EQ(flyingPlacements[7].x, flyingPlacements[6].x);
  EXPECT_EQ(flyingPlacements[7].z, flyingPlacements[6].z);
  EXPECT_EQ(qBuildObjectChooser(1, 0, 0), 0);
}

// The sample patterns loaded as the pattern loop loads them, then placed.
class SamplePlacements : public SceneTest {
 public:
  void SetUp() override {
    SceneTest::SetUp();
    if (!localTextTables[qPrefs.language]) {
      ASSERT_EQ(readLocalTexts(), 0);
    }
  }
  void TearDown() override {
    freePatternData();
    currentObjectLetter = 0;
    SceneTest::TearDown();
  }
  void load(const char *name) {
    ASSERT_EQ(loadPattern(sourcePath(std::string("data/m/") + name)), 0) << name;
    ASSERT_EQ(qPlaceJugglers(), 0) << name;
  }
  // The juggled objects' models without radius, so the positions are the path points.
  void withoutRadii() {
    for (int o = 0; o < objekte; o++) {
      int m = objectModelForRow(o);
      if (m >= 0 && m < LOO_MAX && objectShapes[m]) objectShapes[m][SHAPE_RADIUS] = 0;
    }
  }
};

static const char *samplePatterns[] = {"3ball_cascade",     "3ball_cascade_wrap", "3ball_forced_bounce",
                                       "3ball_props_camera", "3ball_underleg",    "4ball_32_3_mplex",
                                       "5ball_cascade",     "6club_2count_pass",  "9club_feed_pass"};

TEST_F(SamplePlacements, FlyingListFloorRowsEnd) {
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    ASSERT_EQ(flyingPlacements, flyingObjects);
    const Placement &floor = flyingPlacements[0];
    EXPECT_EQ(floor.model, 0);
    EXPECT_EQ(floor.x | floor.y | floor.z | floor.angleX | floor.angleY | floor.angleZ, 0);
    qComputeObjectPositions(flyingPlacements + 1, 0, 0.37, nullptr, -1);
    for (int o = 0; o < objekte; o++) {
      EXPECT_EQ(flyingPlacements[1 + o].model, objectModelForRow(o)) << o;
      EXPECT_EQ(flyingPlacements[1 + o].letter, (unsigned char)Objektbuchstaben[o]) << o;
    }
    EXPECT_EQ(flyingPlacements[1 + objekte].model, PLACEMENT_END_FLYING);
  }
}

TEST_F(SamplePlacements, FiguresOnePerJugglerWithTheirHeading) {
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    for (int j = 0; j < jugglers; j++) {
      int found = 0;
      for (int i = 0; i < sceneObjectCount - 1; i++) {
        const Placement &p = sceneObjects[i];
        if (p.model != j + 1) continue;
        found++;
        EXPECT_EQ(p.angleZ, encodeAngle(quoitPos[j].ZWinkel)) << j;
        EXPECT_EQ(p.angleX | p.angleY | p.letter, 0);
        EXPECT_EQ(p.x, instanceOrigins[j + 1].x);
        EXPECT_EQ(p.y, instanceOrigins[j + 1].y);
        EXPECT_EQ(p.z, instanceOrigins[j + 1].z);
      }
      EXPECT_EQ(found, 1) << j;
      EXPECT_TRUE(objekt_geladen[j + 1].flags & OBJ_FIGURE) << j;
    }
    EXPECT_EQ(sceneObjects[sceneObjectCount - 1].model, PLACEMENT_END_FIXED);
  }
}

// At the start of each segment an object is at the segment's throw point (a flight's start, a
// hold's first control point), at its end at the catch point.
TEST_F(SamplePlacements, ObjectsAtTheirSegmentsEnds) {
  const double eps = 1e-7, millimetre = 0.001 + 1e-9;  // positions are truncated to millimetres
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    withoutRadii();
    int checked = 0;
    for (int o = 0; o < objekte; o++) {
      for (int i = 0; i <= paraz[o]; i++) {
        const Flugbahn &s = flugbahn[o][i];
        if (s.haltehand == SEGMENT_CLEARED || s.t_from <= 0 || s.t_to >= t_zyklus || s.t_to - s.t_from < 4 * eps)
          continue;
        double T = s.t_to - s.t_from, start[3], end[3];
        for (int k = 0; k < 3; k++) {
          bool hold = s.flag & FB_HOLD_Z;
          start[k] = hold ? s.B0[k] : s.X0[k];
          end[k] = hold ? s.B3[k] : s.X0[k] + s.V[k] * T + (k == 2 ? s.az * T * T / 2 : 0);
        }
        Placement one;
        double at[3];
        qComputeObjectPositions(&one, 0, s.t_from + eps, at, o);
        for (int k = 0; k < 3; k++) EXPECT_NEAR(at[k], start[k], millimetre) << "object " << o << " segment " << i;
        qComputeObjectPositions(&one, 0, s.t_to - eps, at, o);
        for (int k = 0; k < 3; k++) EXPECT_NEAR(at[k], end[k], millimetre) << "object " << o << " segment " << i;
        checked++;
      }
    }
    EXPECT_GT(checked, 0);
  }
}

// Each hand's points of its figure keep the template's shape and sit at the hand's path point.
TEST_F(SamplePlacements, HandPointsFollowTheHandPaths) {
  load("6club_2count_pass");
  ASSERT_GT(handPointCount[0], 0);
  for (double t : {0.13, 0.61}) {
    qComputeObjectPositions(flyingPlacements + 1, 0, t, nullptr, -1);
    for (int j = 0; j < 2 * jugglers; j++) {
      int g = j / 2, n = handPointCount[g];
      const Handbahn *h = &handbahn[j][0];
      while (h < &handbahn[j][handLastSegment[j]] && t > h->t_to) h++;
      double path[3];
      bezierPoint(h->B0, h->B1, h->B2, h->B3, (t - h->t_from) / (h->t_to - h->t_from), path);
      const int16_t *points = objectShapes[objectInstanceList[g + 1]] + SHAPE_POINTS + 3 * (j % 2 ? n : 0);
      for (int k = 0; k < n; k++)
        for (int c = 0; c < 3; c++)
          EXPECT_NEAR(points[3 * k + c] * 0.001, path[c] + handTemplate[g][k][c], 0.001 + 1e-9) << t << " hand " << j;
    }
  }
}

static std::vector<std::string> fileLines(const std::string &path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(SamplePlacements, PathObjectIsAClosedLoopThatLoadsAgain) {
  load("3ball_cascade");
  currentObjectLetter = Objektbuchstaben[1];
  qMode.speed = 37;
  objectCursor[0] = objectCursor[1] = 2;
  std::string path = writeFile("paths/flight", "");
  ASSERT_EQ(qWritePathObject(path.c_str(), 100, 0.05), 0);
  EXPECT_EQ(qMode.speed, 37);
  EXPECT_EQ(objectCursor[0], 0);
  EXPECT_EQ(objectCursor[1], 0);

  std::vector<std::string> lines = fileLines(path);
  ASSERT_EQ(lines.size(), 1u + 1 + 1 + 100 + 1 + 100);
  EXPECT_EQ(lines[0], "! " + localMessage(723, Objektbuchstaben[1]));
  EXPECT_EQ(lines[1], "*");
  EXPECT_EQ(lines[2], "100 POINTS");
  double first[3], expected[3];
  Placement one;
  std::istringstream(lines[3]) >> first[0] >> first[1] >> first[2];
  qComputeObjectPositions(&one, 0, 0.01, expected, 1);
  for (int k = 0; k < 3; k++) EXPECT_NEAR(first[k], expected[k], 0.0006);
  EXPECT_EQ(lines[103], "100 LINES");
  int colour = ObjektEigenschaft(0, 1, 1);
  EXPECT_EQ(lines[104], "(" + std::to_string(colour) + " 0) 0 1");
  EXPECT_EQ(lines.back(), "(" + std::to_string(colour) + " 0) 99 0");

  const double origin[3] = {0, 0, 0};
  int before = sceneObjectCount;
  ASSERT_EQ(qPlaceObject(path.c_str(), origin, 0, 0, 0), 0);
  int model = findLoadedObject(path.c_str());
  ASSERT_GE(model, 0);
  EXPECT_EQ(objekt_geladen[model].pointCount, 100);
  EXPECT_EQ(objekt_geladen[model].elementCount, 100);
  EXPECT_EQ(sceneObjects[sceneObjectCount - 2].model, model);
  ASSERT_EQ(qPlaceObject(path.c_str(), origin, 0, 0, 0), 0);  // a second placement, the same model
  EXPECT_EQ(findLoadedObject(path.c_str()), model);
  EXPECT_EQ(qRemoveObject(path.c_str()), 0);
  EXPECT_EQ(sceneObjectCount, before);
  qMode.speed = 100;
}

TEST_F(SamplePlacements, PathObjectFailuresAndUnknownObjects) {
  load("3ball_cascade");
  currentObjectLetter = Objektbuchstaben[0];
  std::string missing = writeFile("x", "") + "_missing/flight";
  testing::internal::CaptureStdout();  // messages for the user are also written to stdout
  EXPECT_NE(qWritePathObject(missing.c_str(), 10, 0.05), 0);
  EXPECT_NE(qRemoveObject("o/nothing/like/this"), 0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(localMessage(41, missing.c_str())), std::string::npos) << out;
  EXPECT_NE(out.find(localMessage(362, "o/nothing/like/this")), std::string::npos) << out;
  int count = sceneObjectCount;
  const double origin[3] = {0, 0, 0};
  testing::internal::CaptureStderr();
  EXPECT_NE(qPlaceObject("o/nothing/like/this", origin, 0, 0, 0), 0);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(sceneObjectCount, count);
}
