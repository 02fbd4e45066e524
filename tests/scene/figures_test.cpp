// Floor and panorama, the juggler lists, figure loading, throw heights and the head angles.
#include <cmath>

#include "core/vecmath.h"
#include "pattern/objectpaths.h"
#include "scene_fixture.h"
#include "scene/textures.h"
#include "tests/support/loadpattern.h"
#include "ui/modes.h"

namespace {

using Figures = SceneTest;

const double origin[3] = {0, 0, 0};

TEST_F(Figures, DefaultFloorKeepsTheGravity) {
  gravity = 5;
  ASSERT_EQ(Boden_laden(0), 0);
  EXPECT_STREQ(objekt_geladen[0].name, "pano/Karoboden");
  EXPECT_EQ(firstObjectInstance, 1);
  EXPECT_EQ(objekt_geladen[0].flags, OBJ_FIXED | OBJ_NEW_LIST);
  EXPECT_DOUBLE_EQ(gravity, 5);
  EXPECT_DOUBLE_EQ(gravityTimeScale, 1.0);
}

TEST_F(Figures, MarsPanoramaSetsItsGravity) {
  qPrefs.ground = "mars";
  ASSERT_EQ(Boden_laden(0), 0);
  EXPECT_STREQ(objekt_geladen[0].name, "pano/mars/Karoboden");
  EXPECT_DOUBLE_EQ(gravity, 3.70);
  EXPECT_NEAR(gravityTimeScale, 1.628, 0.001);
}

// A pattern's g= holds on the default floor wherever it stands in the header; the mars panorama
// sets its own gravity when the juggler block loads it, so only a g= after that block holds there.
TEST_F(Figures, GravityOfThePatternAndOfThePanorama) {
  const std::string jugglers = "j 0  0 0 0  c c\n", body = "*\na -\n- b\nc -\n- a\nb -\n- c\n";
  struct Case {
    const char *ground;
    std::string header;
    double gravity;
  } cases[] = {
      {"", jugglers, -9.81},          {"", "g=5\n" + jugglers, -5},          {"", jugglers + "g=5\n", -5},
      {"mars", jugglers, -3.70}, {"mars", "g=5\n" + jugglers, -3.70}, {"mars", jugglers + "g=5\n", -5},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.ground) + ": " + c.header);
    qPrefs.ground = c.ground;
    ASSERT_EQ(loadText(c.header + body), 0);
    EXPECT_DOUBLE_EQ(gravity, c.gravity);
    int flights = 0;
    for (int o = 0; o < objekte; o++)
      for (int i = 1; i <= paraz[o] && i < segmentRowLength; i++)
        if (flugbahn[o][i].flag & FB_FREE_FLIGHT) {
          EXPECT_DOUBLE_EQ(flugbahn[o][i].az, c.gravity);
          flights++;
        }
    EXPECT_GT(flights, 0);
  }
}

TEST_F(Figures, PanoramaProperties) {
  struct Case {
    const char *properties;  // null: no properties file
    double gravity, timeScale;
    int circle, own;
    bool refused;
  };
  const Case cases[] = {
      {nullptr, 9.81, 1.0, 0, 0, false},
      {"a\nw\n", 9.81, 1.0, 1, 1, false},
      {"# gravity of the moon\r\ng 1.62\r\n", 1.62, sqrt(9.81 / 1.62), 0, 0, false},
      {"g 0\n", 9.81, 1.0, 0, 0, true},
      {"g -3\n", 9.81, 1.0, 0, 0, true},
      {"g\n", 9.81, 1.0, 0, 0, true},
      {"g 1e-320\n", 9.81, 1.0, 0, 0, true},  // the time scale would be infinite
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.properties ? c.properties : "(none)");
    resetFigureState();
    resetObjectTable();
    gravity = 9.81;
    writeFile("pano/test/Karoboden", "1 POINTS\n0 0 0\n");
    if (c.properties) writeFile("pano/test/properties.dat", c.properties);
    else std::filesystem::remove(scratch / "pano/test/properties.dat");
    std::filesystem::current_path(scratch);
    qPrefs.ground = "test";
    testing::internal::CaptureStderr();
    ASSERT_EQ(Boden_laden(0), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_DOUBLE_EQ(gravity, c.gravity);
    EXPECT_DOUBLE_EQ(gravityTimeScale, c.timeScale);
    EXPECT_EQ(panoramaCircleCount, c.circle);
    EXPECT_EQ(panoramaOwnFigures, c.own);
    EXPECT_EQ(!err.empty(), c.refused) << err;
  }
}

TEST_F(Figures, MissingFloorFails) {
  std::filesystem::current_path(std::filesystem::path(writeFile("x", "")).parent_path());
  testing::internal::CaptureStderr();
  EXPECT_EQ(Boden_laden(0), 1100);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(firstObjectInstance, 0);
}

TEST_F(Figures, FigureIsPlacedWithItsHandTemplate) {
  ASSERT_EQ(Boden_laden(0), 0);
  const double position[3] = {1.0, 2.0, 0.0};
  ASSERT_EQ(Mensch_laden(position, 90), 0);
  EXPECT_EQ(figuresLoaded, 1);
  EXPECT_EQ(firstObjectInstance, 2);
  const LoadedObject &e = objekt_geladen[1];
  EXPECT_STREQ(e.name, "o/basic/juggler");
  EXPECT_EQ(e.objektnummer, 0);
  EXPECT_EQ(e.flags, OBJ_FIGURE | OBJ_NEW_LIST | OBJ_RECOMPILE);
  EXPECT_EQ(objectShapes[1][SHAPE_ROTATION], -1);
  EXPECT_EQ(instanceOrigins[1].heading, 512);
  EXPECT_EQ(instanceOrigins[1].x, 1000);
  const QuoitPosRecord &q = quoitPos[0];
  EXPECT_DOUBLE_EQ(q.position[1], 2.0);
  EXPECT_NEAR(q.reference[0], 1.0, 1e-9);
  EXPECT_NEAR(q.reference[1], 1.6, 1e-9);
  EXPECT_NEAR(q.reference[2], 1.2, 1e-9);
  EXPECT_DOUBLE_EQ(q.base[0], 1.0);
  EXPECT_EQ(handPointCount[0], 4);
  EXPECT_EQ(headPointCount[0], 8);
  double maxZ = -1, sumX = 0, lowX = 1, highX = -1, lowY = 1, highY = -1;
  for (int i = 0; i < 4; i++) {
    const double *t = handTemplate[0][i];
    maxZ = fmax(maxZ, t[2]);
    lowX = fmin(lowX, t[0]), highX = fmax(highX, t[0]);
    lowY = fmin(lowY, t[1]), highY = fmax(highY, t[1]);
    sumX += t[0];
  }
  EXPECT_NEAR(maxZ, 0, 1e-9);
  EXPECT_NEAR(lowX + highX, 0, 1e-9);
  EXPECT_NEAR(lowY + highY, 0, 1e-9);
  EXPECT_GT(highX - lowX, 0.05);  // a hand, not a point
}

TEST_F(Figures, FiguresComeInListOrder) {
  writeFile("list_of_Oldjugglers", "3\nfirst\nsecond third\nthird\n");
  for (const char *name : {"first", "second", "third"}) writeFile(std::string("o/basic/") + name, "1 POINTS\n0 0 0\n");
  std::filesystem::current_path(scratch);
  qInternal[QINTERNAL_JUGGLERS] = 5;
  for (int j = 0; j < 5; j++) ASSERT_EQ(Mensch_laden(origin, 0), 0);
  const char *expected[] = {"o/basic/first", "o/basic/second", "o/basic/third", "o/basic/first", "o/basic/second"};
  for (int j = 0; j < 5; j++) EXPECT_STREQ(objekt_geladen[j].name, expected[j]);
  EXPECT_EQ(loadedObjectCount, 5);  // a figure is never shared with another juggler
}

TEST_F(Figures, EveryClassicFigureLoads) {
  qInternal[QINTERNAL_JUGGLERS] = 5;
  for (int j = 0; j < 5; j++) ASSERT_EQ(Mensch_laden(origin, 72.0 * j), 0);
  const char *expected[] = {"o/basic/juggler", "o/basic/juggler_red", "o/basic/juggler_green", "o/basic/juggler_yellow",
                            "o/basic/juggler"};
  for (int j = 0; j < 5; j++) {
    EXPECT_STREQ(objekt_geladen[j].name, expected[j]);
    EXPECT_EQ(handPointCount[j], 4);
    EXPECT_EQ(headPointCount[j], 8);
  }
}

TEST_F(Figures, CirclePanoramaAddsFigures) {
  qInternal[QINTERNAL_JUGGLERS] = 2;
  panoramaCircleCount = 1;
  const double position[3] = {3, 3, 0};
  ASSERT_EQ(Mensch_laden(position, 45), 0);
  EXPECT_EQ(figuresLoaded, 3);
  EXPECT_EQ(instanceOrigins[0].heading, 0);
  EXPECT_EQ(instanceOrigins[1].heading, 512);
  EXPECT_EQ(instanceOrigins[2].heading, 1024);
  EXPECT_EQ(instanceOrigins[2].x, 0);
}

TEST_F(Figures, TwentyFiguresAtMost) {
  qInternal[QINTERNAL_JUGGLERS] = 20;
  for (int j = 0; j < MAX_FIGURES; j++) ASSERT_EQ(Mensch_laden(origin, 0), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Mensch_laden(origin, 0), 60301);
  EXPECT_EQ(Objektdatei_laden("o/basic/juggler", 0, 0, 0, 0, 0, OBJ_FIGURE), LOAD_FAILED);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(localMessage(751, 20)), std::string::npos);
  EXPECT_EQ(figuresLoaded, MAX_FIGURES);
}

TEST_F(Figures, BrokenListsGiveNoFigure) {
  struct Case {
    const char *list;
    int code;
  };
  const Case cases[] = {
      {"many\njuggler\n", 612},  // count line is not a number
      {"", 612},                 // empty list
      {"0\n", 612},
      {"-4\njuggler\n", 612},
      {"3\n", 612},              // the list ends early
      {"1\n\n", 612},            // a line without a name
      {"1\nno_such_figure\n", 613},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.list);
    writeFile("list_of_Oldjugglers", c.list);
    std::filesystem::current_path(scratch);
    orderCursor = 0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Mensch_laden(origin, 0), c.code);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(c.code == 612 ? localMessage(717) : localMessage(716, "o/basic/no_such_figure")),
              std::string::npos) << err;
  }
  std::filesystem::remove(scratch / "list_of_Oldjugglers");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Mensch_laden(origin, 0), 612);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(localMessage(40, "list_of_Oldjugglers")), std::string::npos);
}

TEST_F(Figures, ListReadersCloseTheFileOnTheirErrors) {
  std::string path = writeFile("list", "2\na\nb\nx\n1\n");
  FILE *f = fopen(path.c_str(), "r");
  EXPECT_EQ(skipListSections(f, "list", 1), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(readListCount(f, "list"), -42);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(localMessage(601, "list")), std::string::npos);
  EXPECT_EQ(f, nullptr);
  f = fopen(path.c_str(), "r");
  EXPECT_EQ(skipListSections(f, "list", 3), 1);
  EXPECT_EQ(f, nullptr);
  path = writeFile("short", "2\na\nb\n5\nc\n");
  f = fopen(path.c_str(), "r");
  EXPECT_EQ(skipListSections(f, "short", 2), 2);
  EXPECT_EQ(f, nullptr);
}

TEST_F(Figures, FigureHeaderCountsAreChecked) {
  struct Case {
    const char *header;
    bool loads;
    int hands, heads;
  };
  const Case cases[] = {
      {"h=2 k=2 *", true, 2, 2},   // 2 x 2 + 2 = 6 points
      {"*", true, 0, 0},           // counts of an earlier figure do not stay
      {"h=11 *", false, 0, 0},
      {"h=-1 *", false, 0, 0},
      {"h=3 k=1 *", false, 0, 0},  // 7 points needed
      {"k=-2 *", false, 0, 0},
  };
  const std::string points = "\n6 POINTS\n0 0 0\n0 0 0\n0 0 0\n0 0 0\n0 0 0\n0 0 0\n";
  int serial = 0;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.header);
    std::string path = writeFile("figure" + std::to_string(serial++), c.header + points);
    int figure = figuresLoaded;
    handPointCount[figure] = headPointCount[figure] = 7;
    testing::internal::CaptureStderr();
    int result = Objektdatei_laden(path.c_str(), 0, 0, 0, 0, 0, OBJ_FIGURE);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result != LOAD_FAILED, c.loads);
    if (c.loads) {
      EXPECT_EQ(handPointCount[figure], c.hands);
      EXPECT_EQ(headPointCount[figure], c.heads);
    } else {
      EXPECT_NE(err.find(localMessage(117, path.c_str(), localMessage(115).c_str())), std::string::npos) << err;
    }
  }
}

TEST_F(Figures, RandomListWithShirtsButNoShirtsLoaded) {
  qPrefs.vrml = 1;
  qPrefs.displayFlags = 8;
  tshirt_count = 0;
  writeFile("list_of_VRMLjugglers", "random\n");
  writeFile("list_of_VRMLjugglers.random", "1\nalpha\n2\nbeta\ngamma\n3\nx\ny\nz\n");
  std::filesystem::current_path(scratch);
  for (int i = 0; i < 20; i++) {
    const char *name = chooseJugglerModel(0);
    ASSERT_NE(name, nullptr);
    std::string s = name;
    EXPECT_TRUE(s == "o/basic/alpha" || s == "o/basic/beta" || s == "o/basic/gamma") << s;
  }
  EXPECT_STREQ(chooseJugglerModel(INVISIBLE_HEADING), "o/basic/invisibleJuggler");
  EXPECT_EQ(invisibleJugglers, 1);
  writeFile("list_of_VRMLjugglers.random", "0\n0\n0\n");
  EXPECT_EQ(chooseJugglerModel(0), nullptr);
}

TEST_F(Figures, RandomListPanoramaSections) {
  qPrefs.vrml = 1;
  writeFile("list_of_VRMLjugglers", "r\n");
  writeFile("list_of_VRMLjugglers.random", "1\ns1\n1\ns2\n1\ns3\n1\ns4\n1\ns5\n1\ns6\n");
  std::filesystem::current_path(scratch);
  panoramaOwnFigures = 1;
  EXPECT_STREQ(chooseJugglerModel(0), "o/basic/s4");
  panoramaOwnFigures = 0;
  panoramaCircleCount = 1;
  EXPECT_STREQ(chooseJugglerModel(0), "o/basic/s5");
  EXPECT_STREQ(chooseJugglerModel(0), "o/basic/s6");
  EXPECT_EQ(panoramaCircleCount, 3);
}

TEST_F(Figures, TimingRunUsesItsOwnFigure) {
  qMode.benchmark = 2;
  EXPECT_STREQ(chooseJugglerModel(0), "b/juggler2");
  qMode.benchmark = 0;
}

TEST(HeadAngles, TiltFollowsTheThrowHeight) {
  const double down = PI / 8, up = -PI / 5;
  const double cases[][2] = {{-1, down}, {-0.2, down}, {-0.1, down / 2}, {0, 0}, {1, up / 2}, {2, up}, {2.6, up}};
  for (const auto &c : cases) EXPECT_NEAR(headAngles(c[0], 1, 0)[0], c[1], 1e-12) << c[0];
  EXPECT_EQ(headAngles(0, 1, 0)[1], 0);
  EXPECT_NEAR(headAngles(0, 0, -1)[2], PI / 2, 1e-12);
  EXPECT_NEAR(headAngles(0, -1, 0)[2], PI, 1e-12);
}

TEST(HeadAngles, RotationTurnsAboutTheHeadAxis) {
  double angles[3] = {0.7, 0, 0.3};
  const double axis[3] = {-cos(0.3), sin(0.3), 0};
  double out[3];
  rotateAboutHeadAxis(angles, axis, out);
  for (int i = 0; i < 3; i++) EXPECT_NEAR(out[i], axis[i], 1e-12);
  const double p[3] = {0, 0, 1};  // perpendicular to the axis
  rotateAboutHeadAxis(angles, p, out);
  EXPECT_NEAR(vectorLength(out), 1, 1e-12);
  EXPECT_NEAR(out[2], cos(0.7), 1e-12);
  EXPECT_NEAR(out[0] * axis[0] + out[1] * axis[1], 0, 1e-12);
}

TEST_F(Figures, HeadsLookUpAtHighThrows) {
  qInternal[QINTERNAL_JUGGLERS] = 2;
  ASSERT_EQ(Boden_laden(0), 0);
  ASSERT_EQ(Mensch_laden(origin, 0), 0);
  ASSERT_EQ(Mensch_laden(origin, 0), 0);
  // Juggler 0 throws 4 m high (hand columns 0 and 1), juggler 1 has no throws.
  Flugbahn segments[2] = {};
  segments[0].flag = FB_FREE_FLIGHT;
  segments[0].handbis = 1;
  segments[0].t_apex = 0.5;
  segments[0].X0[2] = 1.2;
  segments[0].V[2] = 2 * (4.0 - 1.2) / 0.5;
  segments[0].az = -segments[0].V[2] / 0.5;
  segments[1] = segments[0];
  segments[1].flag = FB_HOLD;
  segments[1].X0[2] = 9;
  Flugbahn *rows[1] = {segments};
  handCount = 4;
  ASSERT_EQ(Hand(0, HAND_SETUP), 0);
  flugbahn = rows;
  paraz[0] = 1;
  objekte = 1;
  EXPECT_NEAR(maxThrowHeight(0), 4.0, 1e-9);
  EXPECT_DOUBLE_EQ(maxThrowHeight(1), 1.9);
  const int16_t *nose0 = objectShapes[1] + SHAPE_POINTS + 3 * 11;
  const int16_t *nose1 = objectShapes[2] + SHAPE_POINTS + 3 * 11;
  int before = nose0[2];
  setHeadUpAngles();
  flugbahn = nullptr;
  objekte = 0;
  handCount = 0;
  EXPECT_NEAR(quoitPos[0].headTilt, -PI / 5, 1e-12);  // 4 m is over 2 m above the neck
  double neck = 1.585 - 0.1;
  EXPECT_NEAR(quoitPos[1].headTilt, (1.9 - neck) / 2 * -PI / 5, 0.002);
  EXPECT_GT(nose0[2], before + 20);  // the face turns up
  EXPECT_GT(nose0[2], nose1[2]);
  for (int g = 2; g < MAX_FIGURES; g++) EXPECT_EQ(quoitPos[g].headTilt, 1717.1717);
}

}  // namespace
