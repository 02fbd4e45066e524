// Object files, the loaded-object table, the instance list and the model list.
#include <cerrno>
#include <cmath>
#include <cstring>

#include "core/userfiles.h"
#include "scene_fixture.h"

namespace {

using ObjectFiles = SceneTest;

const int16_t *lastShape() { return objectShapes[loadedObjectCount - 1]; }

// A model file of this test's scratch directory, loaded as a fixed object.
int loadText(SceneTest &t, const std::string &text, int flags = OBJ_FIXED) {
  static int serial;
  std::string path = t.writeFile("model" + std::to_string(serial++), text);
  return Objektdatei_laden(path.c_str(), 3, 0, 0, 0, 0, flags);
}

struct AuthoredModel {
  const char *name;
  int points, lines, triangles, polygons, spheres;
};

TEST_F(ObjectFiles, EveryAuthoredModelLoadsWithItsCounts) {
  const AuthoredModel models[] = {
      {"o/ball", 1, 0, 0, 0, 1},           {"o/ball_red", 1, 0, 0, 0, 1},       {"o/ball_random", 1, 0, 0, 0, 1},
      {"o/club", 71, 0, 120, 2, 1},        {"o/club_red", 71, 0, 120, 2, 1},    {"o/ring", 56, 0, 0, 1, 0},
      {"o/ring_random", 56, 0, 0, 1, 0},   {"o/beanbag", 8, 0, 0, 6, 0},        {"o/torch", 33, 0, 56, 1, 0},
      {"o/dunno", 6, 0, 8, 0, 0},          {"o/basic/dunno", 6, 0, 8, 0, 0},    {"o/basic/KO_System", 64, 36, 0, 0, 0},
      {"o/basic/Heightscale", 122, 61, 0, 0, 0}, {"o/basic/SelectBox", 8, 12, 0, 0, 0},
      {"o/basic/juggler", 78, 0, 20, 42, 7},     {"o/basic/juggler_red", 78, 0, 20, 42, 7},
      {"o/basic/juggler_green", 78, 0, 20, 42, 7}, {"o/basic/juggler_yellow", 78, 0, 20, 42, 7},
      {"pano/Karoboden", 121, 0, 0, 100, 0},     {"pano/mars/Karoboden", 121, 0, 0, 100, 0},
  };
  for (const AuthoredModel &m : models) {
    SCOPED_TRACE(m.name);
    ASSERT_EQ(Objektdatei_laden(m.name, 1, 0, 0, 0, 0, OBJ_FIXED), LOAD_ENTERED);
    ShapeCounts c = walkShape(lastShape());
    EXPECT_TRUE(c.consistent);
    EXPECT_EQ(c.points, m.points);
    EXPECT_EQ(c.lines, m.lines);
    EXPECT_EQ(c.triangles, m.triangles);
    EXPECT_EQ(c.polygons, m.polygons);
    EXPECT_EQ(c.spheres, m.spheres);
    const LoadedObject &e = objekt_geladen[loadedObjectCount - 1];
    EXPECT_EQ(e.pointCount, m.points);
    EXPECT_EQ(e.elementCount, 3 * c.triangles + c.lines + c.polygonVertices + c.spheres);
  }
}

TEST_F(ObjectFiles, EveryModelOfTheListLoads) {
  for (int n = 0;; n++) {
    const char *name = objectModelFromList(n);
    ASSERT_NE(name, MODEL_LIST_MISSING);
    if (!name) {
      EXPECT_EQ(n, 25);
      break;
    }
    std::string path = name;
    SCOPED_TRACE(path);
    ASSERT_TRUE(std::filesystem::exists(path));
    int loaded = Objektdatei_laden(path.c_str(), n, 0, 0, 0, 0, OBJ_FIXED);
    ASSERT_NE(loaded, LOAD_FAILED);
    EXPECT_TRUE(walkShape(objectShapes[loaded == LOAD_ENTERED ? loadedObjectCount - 1 : loaded]).consistent);
  }
  EXPECT_STREQ(objectModelFromList(6), "o/ball");
  EXPECT_STREQ(objectModelFromList(24), "o/club");
  EXPECT_EQ(objectModelFromList(-1), nullptr);
}

TEST_F(ObjectFiles, PropsHaveJugglersSizes) {
  auto extent = [](const char *name, int axis) {
    int loaded = Objektdatei_laden(name, 1, 0, 0, 0, 0, OBJ_FIXED);
    const int16_t *s = objectShapes[loaded == LOAD_ENTERED ? loadedObjectCount - 1 : loaded];
    int low = 32767, high = -32768;
    for (int i = 0; i < s[SHAPE_POINT_COUNT]; i++) {
      low = std::min<int>(low, s[SHAPE_POINTS + 3 * i + axis]);
      high = std::max<int>(high, s[SHAPE_POINTS + 3 * i + axis]);
    }
    return high - low;
  };
  int club = extent("o/club", 2) + 25;  // the knob's sphere reaches 25 mm below its centre point
  EXPECT_GE(club, 480);
  EXPECT_LE(club, 540);
  EXPECT_EQ(extent("o/ring", 2), 320);
  EXPECT_EQ(extent("o/ring", 1), 320);
  int person = extent("o/basic/juggler", 2);
  EXPECT_GE(person, 1650);
  EXPECT_LE(person, 1900);
}

TEST_F(ObjectFiles, BallIsASingleSphere) {
  ASSERT_EQ(Objektdatei_laden("o/ball", 6, 0, 0, 0, 0, OBJ_JUGGLED), LOAD_ENTERED);
  const int16_t *s = lastShape();
  EXPECT_EQ(s[SHAPE_COLOUR], 4);
  EXPECT_EQ(s[SHAPE_ROTATION], 1);
  EXPECT_EQ(s[SHAPE_FLAGS], SHAPE_SINGLE_SPHERE);
  EXPECT_EQ(s[SHAPE_RADIUS], -60);
  EXPECT_EQ(objekt_geladen[0].flags, OBJ_JUGGLED | OBJ_CHOOSABLE | OBJ_NEW_LIST);
  ASSERT_EQ(Objektdatei_laden("o/club", 24, 0, 0, 0, 0, OBJ_JUGGLED), LOAD_ENTERED);
  s = lastShape();
  EXPECT_EQ(s[SHAPE_FLAGS], 0);
  EXPECT_EQ(s[SHAPE_RADIUS], -100);
  EXPECT_EQ(s[SHAPE_COLOUR], 7);
}

TEST_F(ObjectFiles, HeaderMayEndAtADigitOrAStar) {
  const std::string body = "3 POINTS\n0 0 0\n1 0 0\n0 1 0\n1 TRIANGLES\n(1 2 1) 0 1 2\n";
  ASSERT_EQ(loadText(*this, "r=1\n" + body), LOAD_ENTERED);
  std::vector<int16_t> first(lastShape(), lastShape() + shapeBytes(lastShape()) / 2);
  ASSERT_EQ(loadText(*this, "r=1 *\n" + body), LOAD_ENTERED);
  std::vector<int16_t> second(lastShape(), lastShape() + shapeBytes(lastShape()) / 2);
  EXPECT_EQ(first, second);
}

TEST_F(ObjectFiles, SectionHeadsInBothLanguages) {
  struct Case {
    const char *text;
    int lines, triangles, polygons, spheres;
  };
  const Case cases[] = {
      {"2 PUNKTE\n0 0 0\n1 1 1\n3 LINES\n(1 0) 0 1\n(1 0) 1 0\n(2 0) 0 0\n", 3, 0, 0, 0},
      {"2 POINTS\n0 0 0\n1 1 1\n1 LINIEN\n(1 0) 0 1\n", 1, 0, 0, 0},
      {"2 POINTS\n0 0 0\n1 1 1\n1 LINE\n(1 0) 0 1\n1 DREIECKE\n(1 1 1) 0 1 0\n", 1, 1, 0, 0},
      {"2 POINTS\n0 0 0\n1 1 1\n2 KUGELN\n(3 0) 0 0.1\n(4 0) 1 0.2\n", 0, 0, 0, 2},
      {"3 POINTS\n0 0 0\n1 0 0\n0 1 0\n1 N-ECKE\n(1 2 1) 0 1 2 0\n1 SPHERES\n(5 0) 0 0.05\n", 0, 0, 1, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_EQ(loadText(*this, c.text), LOAD_ENTERED);
    ShapeCounts s = walkShape(lastShape());
    EXPECT_TRUE(s.consistent);
    EXPECT_EQ(s.lines, c.lines);
    EXPECT_EQ(s.triangles, c.triangles);
    EXPECT_EQ(s.polygons, c.polygons);
    EXPECT_EQ(s.spheres, c.spheres);
  }
}

TEST_F(ObjectFiles, ValuesArePackedAsStored) {
  ASSERT_EQ(loadText(*this,
                     "g=0.25 r=2 *\n3 POINTS\n0.0125 -0.0125 1.5\n0 0 0\n1 1 1\n"
                     "1 LINES\n(0x05 3) 0 1\n1 TRIANGLES\n(2 5 3) 0 1 2\n"
                     "1 POLYGONS\n(4 6 1 1) 0 1 2 0 - 2 1 0 2\n(7 8 1) 2 0 1 2\n1 SPHERES\n(9 7) 2 0.125\n"),
            LOAD_ENTERED);
  const int16_t *s = lastShape();
  EXPECT_EQ(s[SHAPE_COLOUR], 9);
  EXPECT_EQ(s[SHAPE_ROTATION], 2);
  EXPECT_EQ(s[SHAPE_RADIUS], 250);
  const int16_t points[] = {12, -12, 1500};
  EXPECT_EQ(0, memcmp(s + SHAPE_POINTS, points, sizeof points));
  const int16_t *rest = s + SHAPE_POINTS + 9;
  const int16_t expected[] = {1, 251 + (3 << 8), 0, 1,                 // lines
                              1, 2 * 256 + 5, 3, 0, 1, 2,              // triangles
                              1, 4 * 256 + 6, 1, 3, 3, 1, 0, 1, 2, 0, 2, 1, 0, 2,  // polygon with a hole
                              7 * 256 + 8, 1, 3, 0, 0, 2, 0, 1, 2,     // its attached polygon
                              1, 9, 7, 2, 125};                        // sphere
  EXPECT_EQ(0, memcmp(rest, expected, sizeof expected));
  EXPECT_EQ(shapeBytes(s), (SHAPE_POINTS + 9 + sizeof expected / 2) * 2);
  EXPECT_EQ(objekt_geladen[loadedObjectCount - 1].elementCount, 3 + 1 + (3 + 3 + 3) + 1);
}

TEST_F(ObjectFiles, RandomColoursStickWithinAFile) {
  const std::string text = "3 POINTS\n0 0 0\n1 0 0\n0 1 0\n2 TRIANGLES\n(-3 -3 1) 0 1 2\n(-3 -7 1) 0 2 1\n";
  ASSERT_EQ(loadText(*this, text), LOAD_ENTERED);
  const int16_t *t = lastShape() + SHAPE_POINTS + 9 + 2;
  int first = (t[0] >> 8) & 0xff, second = t[0] & 0xff, third = (t[5] >> 8) & 0xff;
  for (int c : {first, second}) {
    EXPECT_GE(c, 1);
    EXPECT_LE(c, 15);
    EXPECT_NE(c, 8);
  }
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, third);
  EXPECT_TRUE(objekt_geladen[loadedObjectCount - 1].flags & OBJ_RANDOM_COLOURS);
  // A model with random colours is never reused: every instance is a load of its own.
  ASSERT_EQ(Objektdatei_laden("o/ball_random", 13, 0, 0, 0, 0, OBJ_JUGGLED), LOAD_ENTERED);
  ASSERT_EQ(Objektdatei_laden("o/ball_random", 13, 0, 0, 0, 0, OBJ_JUGGLED), LOAD_ENTERED);
  EXPECT_EQ(loadedObjectCount, 3);
}

TEST_F(ObjectFiles, StickyRandomSlots) {
  stickyRandom(0, -1);
  int a = stickyRandom(16, 5);
  EXPECT_EQ(stickyRandom(16, 5), a);
  EXPECT_EQ(stickyRandom(0, -1), 0);
  EXPECT_EQ(stickyRandom(1, 4), 0);   // no value can be drawn: no endless loop
  EXPECT_EQ(stickyRandom(-3, 4), 0);
  EXPECT_EQ(stickyRandom(2, 4), 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(stickyRandom(16, 51), 0);
  EXPECT_EQ(stickyRandom(16, 0), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(localMessage(123, 51, 50)), std::string::npos);
}

TEST_F(ObjectFiles, SameModelTwiceIsOneEntryWithTwoInstances) {
  ASSERT_EQ(Objektdatei_laden("o/ball", 6, 0, 0, 0, 90, OBJ_JUGGLED), LOAD_ENTERED);
  EXPECT_EQ(Objektdatei_laden("O/BALL", 6, 1.5, -0.0125, 0.0125, -90, OBJ_JUGGLED), 0);
  EXPECT_EQ(loadedObjectCount, 1);
  EXPECT_EQ(objectInstanceCount, 2);
  EXPECT_EQ(objectInstanceList[0], 0);
  EXPECT_EQ(objectInstanceList[1], 0);
  EXPECT_EQ(objectInstanceList[2], -1);
  EXPECT_EQ(instanceOrigins[0].heading, 512);
  EXPECT_EQ(instanceOrigins[1].heading, 1535);
  EXPECT_EQ(instanceOrigins[1].x, 1500);
  EXPECT_EQ(instanceOrigins[1].y, -12);
  EXPECT_EQ(instanceOrigins[1].z, 12);
}

// The missing model is said with its reason; the unknown model of its directory stands in.
TEST_F(ObjectFiles, MissingModelFallsBackToDunno) {
  const std::string absent = fileErrorReason(ENOENT);
  testing::internal::CaptureStderr();
  int loaded = Objektdatei_laden("o\\no_such_model", 2, 0, 0, 0, 0, OBJ_FIXED);
  std::string said = testing::internal::GetCapturedStderr();
  ASSERT_EQ(loaded, LOAD_ENTERED);
  EXPECT_NE(said.find(localMessage(33, "o/no_such_model", absent.c_str())), std::string::npos) << said;
  EXPECT_EQ(walkShape(lastShape()).triangles, 8);
  EXPECT_STREQ(objekt_geladen[0].name, "o/no_such_model");
  std::string missing = writeFile("empty/x", "") + "_missing";
  testing::internal::CaptureStderr();
  EXPECT_EQ(Objektdatei_laden(missing.c_str(), 2, 0, 0, 0, 0, OBJ_FIXED), LOAD_FAILED);
  said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(localMessage(33, missing.c_str(), absent.c_str())), std::string::npos) << said;
}

TEST_F(ObjectFiles, FindLoadedObjectSeesOnlyThisPattern) {
  ASSERT_EQ(Objektdatei_laden("o/club", 24, 0, 0, 0, 0, OBJ_FIXED), LOAD_ENTERED);
  ASSERT_EQ(Objektdatei_laden("o/ball_random", 13, 0, 0, 0, 0, OBJ_FIXED), LOAD_ENTERED);
  EXPECT_EQ(findLoadedObject("O/Club"), 0);
  EXPECT_EQ(findLoadedObject("o/ball_random"), -1);
  freeObjectShapes();
  resetObjectTable();
  EXPECT_EQ(findLoadedObject("o/club"), -1);  // the old record is stale
  EXPECT_EQ(Objektdatei_laden("o/club", 24, 0, 0, 0, 0, OBJ_FIXED), LOAD_ENTERED);
}

struct BrokenFile {
  std::string text;
  int message;  // the specific text inside message 117, or the index text after 108
  int number;   // the number in the index message, 0 when it has none
};

TEST_F(ObjectFiles, BrokenFilesAreRefusedWithTheirMessage) {
  const std::string p3 = "3 POINTS\n0 0 0\n1 0 0\n0 1 0\n";
  const BrokenFile cases[] = {
      {"r=1\n! only a header\n", 104, 0},
      {"g=abc *\n1 POINTS\n0 0 0\n", 104, 0},
      {"*\n12 points\n", 105, 0},
      {"*\n-2 POINTS\n", 105, 0},
      {"*\n2 POINTS\n0 0 0\n1 1\n", 106, 0},
      {p3 + "1 LINES\n(1 0) 0\n", 107, 0},
      {p3 + "1 LINES\n(1 0) 0 3\n", 109, 0},
      {p3 + "-1 LINES\n", 107, 0},
      {p3 + "1 TRIANGLES\n(1 2) 0 1 2\n", 110, 0},
      {p3 + "1 TRIANGLES\n(1 2 1) 0 1 -1\n", 111, 0},
      {p3 + "1 TRIANGLES\n(-51 2 1) 0 1 2\n", 123, 0},
      {p3 + "1 POLYGONS\n(1 2) 0 1 2 0\n", 118, 0},
      {p3 + "1 POLYGONS\n(1 2 1) 0 1 x\n", 119, 0},
      {p3 + "1 POLYGONS\n(1 2 1) 0 1 0\n", 119, 0},
      {p3 + "2 POLYGONS\n(1 2 1) 0 1 2 0\n(1 2 1) 0 1 7 0\n", 121, 2},
      {p3 + "1 POLYGONS\n(1 2 1 1) 0 1 2 0\n(1 2 1) 0 1 5 0\n", 120, 1},
      {p3 + "1 POLYGONS\n(1 2 1 1) 0 1 2 0\n(1 2 1 1) 0 1 2 0\n", 118, 0},
      {p3 + "1 SPHERES\n(1 0) 0\n", 112, 0},
      {p3 + "2 SPHERES\n(1 0) 0 0.1\n(1 0) 3 0.1\n", 113, 2},
  };
  for (const BrokenFile &c : cases) {
    SCOPED_TRACE(c.text);
    std::string path = writeFile("broken", c.text);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Objektdatei_laden(path.c_str(), 3, 0, 0, 0, 0, OBJ_FIXED), LOAD_FAILED);
    std::string err = testing::internal::GetCapturedStderr();
    std::string expected;
    if (c.message == 109 || c.message == 111 || c.message == 113 || c.message == 120 || c.message == 121)
      expected = localMessage(108, path.c_str()) + " " + (c.number ? localMessage(c.message, c.number) : localMessage(c.message));
    else if (c.message == 123)
      expected = localMessage(123, 51, 50);
    else
      expected = localMessage(117, path.c_str(), localMessage(c.message).c_str());
    EXPECT_NE(err.find(expected), std::string::npos) << err;
    EXPECT_EQ(loadedObjectCount, 0);
    EXPECT_EQ(objectInstanceList[0], -1);
  }
}

TEST_F(ObjectFiles, OversizedModelStopsAtTheBufferLimit) {
  std::string text = "*\n9000 POINTS\n";
  for (int i = 0; i < 9000; i++) text += "0.001 0.002 0.003\n";
  std::string path = writeFile("huge", text);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Objektdatei_laden(path.c_str(), 3, 0, 0, 0, 0, OBJ_FIXED), LOAD_FAILED);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(localMessage(114, path.c_str())), std::string::npos);
  // Just below the limit the size word still reads right (it is above 32767 bytes).
  text = "*\n8000 POINTS\n";
  for (int i = 0; i < 8000; i++) text += "0.001 0.002 0.003\n";
  path = writeFile("large", text);
  ASSERT_EQ(Objektdatei_laden(path.c_str(), 3, 0, 0, 0, 0, OBJ_FIXED), LOAD_ENTERED);
  EXPECT_EQ(shapeBytes(lastShape()), (SHAPE_POINTS + 3 * 8000 + 4) * 2u);
  EXPECT_TRUE(walkShape(lastShape()).consistent);
}

TEST_F(ObjectFiles, TableAndInstanceListKeepTheirEndMarkers) {
  std::string path = writeFile("random", "1 POINTS\n0 0 0\n1 SPHERES\n(-1 0) 0 0.05\n");
  for (int i = 0; i < LOO_MAX - 1; i++) ASSERT_EQ(Objektdatei_laden(path.c_str(), 1, 0, 0, 0, 0, 1), LOAD_ENTERED);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Objektdatei_laden(path.c_str(), 1, 0, 0, 0, 0, 1), LOAD_FAILED);  // the instance list's last slot
  EXPECT_NE(testing::internal::GetCapturedStderr().find(localMessage(49, "Fill_objekt_geladen", "LOO_MAX")),
            std::string::npos);
  EXPECT_EQ(loadedObjectCount, LOO_MAX - 1);
  EXPECT_EQ(objekt_geladen[LOO_MAX - 1].elementCount, -1);
  EXPECT_EQ(Objektnummer_eintragen(0), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Objektnummer_eintragen(0), -1);
  EXPECT_EQ(Objektdatei_laden("o/ball", 6, 0, 0, 0, 0, OBJ_FIXED), LOAD_FAILED);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(objectInstanceCount, INSTANCE_MAX);
  EXPECT_EQ(objectInstanceList[INSTANCE_MAX], -1);
}

TEST_F(ObjectFiles, TwoHundredModelsAtMost) {
  std::string path = writeFile("random", "1 POINTS\n0 0 0\n1 SPHERES\n(-1 0) 0 0.05\n");
  for (int i = 0; i < LOO_MAX - 1; i++) ASSERT_EQ(Objektdatei_laden(path.c_str(), 1, 0, 0, 0, 0, 1), LOAD_ENTERED);
  // Free the instance list so that only the table's own limit is left.
  for (int i = 0; i < INSTANCE_MAX; i++) objectInstanceList[i] = -1;
  objectInstanceCount = 0;
  ASSERT_EQ(Objektdatei_laden(path.c_str(), 1, 0, 0, 0, 0, 1), LOAD_ENTERED);
  EXPECT_EQ(loadedObjectCount, LOO_MAX);
  EXPECT_EQ(objekt_geladen[LOO_MAX].elementCount, -1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Objektdatei_laden(path.c_str(), 1, 0, 0, 0, 0, 1), LOAD_FAILED);
  std::string expected = localMessage(101) + " " + localMessage(102, 200);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(expected), std::string::npos) << err;
}

TEST_F(ObjectFiles, ObjekteLadenLoadsThePatternsObjects) {
  objekte = 3;
  objectModelNumber[0] = objectModelNumber[1] = 6;
  objectModelNumber[2] = 24;
  ASSERT_EQ(Objektdatei_laden("o/ball", 6, 0, 0, 0, 0, OBJ_FIXED), LOAD_ENTERED);
  objekt_geladen[0].flags |= OBJ_JUGGLED;
  EXPECT_EQ(Objekte_laden(), 0);
  EXPECT_EQ(loadedObjectCount, 2);
  EXPECT_EQ(objectInstanceCount, 4);
  EXPECT_FALSE(objekt_geladen[0].flags & OBJ_JUGGLED);  // cleared, then reused without it
  EXPECT_EQ(objekt_geladen[1].objektnummer, 24);
  EXPECT_EQ(objekt_geladen[1].flags, OBJ_JUGGLED | OBJ_CHOOSABLE | OBJ_NEW_LIST);

  modelFileArgument = "o/club_red";
  EXPECT_EQ(Objekte_laden(), 0);
  EXPECT_STREQ(objekt_geladen[2].name, "o/club_red");
  modelFileArgument.clear();

  objectModelNumber[1] = 99;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Objekte_laden(), 12);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(localMessage(715, 99)), std::string::npos);
  objekte = 0;
}

TEST_F(ObjectFiles, ObjekteLadenFailures) {
  std::string dir = std::filesystem::path(writeFile("list_of_objects", "0: absent\n")).parent_path();
  std::filesystem::current_path(dir);
  objekte = 1;
  objectModelNumber[0] = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Objekte_laden(), 14);
  std::filesystem::remove("list_of_objects");
  EXPECT_EQ(objectModelFromList(0), MODEL_LIST_MISSING);
  EXPECT_EQ(Objekte_laden(), 13);
  EXPECT_EQ(AlleObjekteLaden(), 1);
  testing::internal::GetCapturedStderr();
  objekte = 0;
}

TEST_F(ObjectFiles, AllModelsOfTheListBecomeChoosable) {
  qPrefs.homeDirectory = std::filesystem::current_path().string();
  ASSERT_EQ(AlleObjekteLaden(), 0);
  int count = 0;
  while (chooserModels[count] != -1) {
    EXPECT_TRUE(objekt_geladen[chooserModels[count]].flags & OBJ_CHOOSABLE);
    count++;
  }
  EXPECT_EQ(count, 25);
  EXPECT_EQ(objekt_geladen[chooserModels[24]].objektnummer, 24);
  qPrefs.homeDirectory.clear();
}

TEST(VrmlModelPath, OnlyTheModelDirectoryChanges) {
  EXPECT_EQ(vrmlModelPath("o/ball"), "v/ball.wrl");
  EXPECT_EQ(vrmlModelPath("o/basic/juggler"), "v/basic/juggler.wrl");
  EXPECT_EQ(vrmlModelPath("orange"), "orange.wrl");
  EXPECT_EQ(vrmlModelPath("pano/Karoboden"), "pano/Karoboden.wrl");
}

TEST_F(ObjectFiles, ListLinesMayUseBackslashesAndLineEnds) {
  std::string dir = std::filesystem::path(writeFile("list_of_objects", "0: ball\r\n1:   basic\\dunno\r\n")).parent_path();
  std::filesystem::current_path(dir);
  EXPECT_STREQ(objectModelFromList(1), "o/basic/dunno");
  qPrefs.vrml = 1;
  EXPECT_STREQ(objectModelFromList(0), "v/ball.wrl");
  EXPECT_EQ(objectModelFromList(2), nullptr);
  qPrefs.vrml = 0;
}

}  // namespace
