// The current object, the flight and hand path display, the guide objects, the random prop and
// the object chooser's frames, on wrap tables made by hand and on the sample patterns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/viewrecords.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "tests/scene/path_fixture.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/loadpattern.h"

namespace {

// Three objects a, b, c with the wrap lines given, or none.
class WrapTable : public ::testing::Test {
 public:
  void SetUp() override {
    objekte = 3;
    snprintf(Objektbuchstaben, sizeof Objektbuchstaben, "abc-");
    currentObjectLetter = 0;
    nextObjectRequest = 0;
    t_zyklus = 3.0;
    wrap("abc", "abc", 0);
  }
  void TearDown() override {
    wrap("", "", 0);
    objekte = 0;
    currentObjectLetter = 0;
  }
  static void wrap(const char *before, const char *after, int on) {
    snprintf(Wraplinie[0], sizeof Wraplinie[0], "%s", before);
    snprintf(Wraplinie[1], sizeof Wraplinie[1], "%s", after);
    WRAP = on;
    int n = 0;
    for (; before[n]; n++) {
      wraptable[2 * n] = uint8_t(before[n]);
      wraptable[2 * n + 1] = uint8_t(after[n]);
    }
    wraptable[2 * n] = 0xFF;
  }
};

TEST_F(WrapTable, CurrentObjectStartsStepsAndFollowsTheWrap) {
  wrap("bca", "cab", 1);
  int step = 0;
  trackCurrentObject(&step);
  EXPECT_EQ(currentObjectLetter, 'b');  // the first letter of the wrap table
  step = 1;
  trackCurrentObject(&step);
  EXPECT_EQ(currentObjectLetter, 'c');
  EXPECT_EQ(step, 0);
  step = 2;
  trackCurrentObject(&step);
  EXPECT_EQ(currentObjectLetter, 'b');
  const char next[] = {'c', 'a', 'b', 'c'};  // in object order, round the end
  for (char expected : next) {
    nextObjectRequest = 1;
    trackCurrentObject(nullptr);
    EXPECT_EQ(currentObjectLetter, expected);
    EXPECT_EQ(nextObjectRequest, 0);
  }
}

TEST_F(WrapTable, NoObjectsNoCurrentObjectAndNoWaitingRequest) {
  objekte = 0;
  currentObjectLetter = 'a';
  nextObjectRequest = 1;
  int step = 1;
  trackCurrentObject(&step);
  EXPECT_EQ(currentObjectLetter, 0);
  EXPECT_EQ(nextObjectRequest, 0);
  EXPECT_EQ(step, 0);
  EXPECT_EQ(currentObjectForPath(), 0);
}

TEST_F(WrapTable, ABlankLetterStepsToTheNextObject) {
  snprintf(Objektbuchstaben, sizeof Objektbuchstaben, " ab-");
  currentObjectLetter = ' ';
  EXPECT_EQ(currentObjectForPath(), 'a');
  snprintf(Objektbuchstaben, sizeof Objektbuchstaben, "   -");
  currentObjectLetter = ' ';
  EXPECT_EQ(currentObjectForPath(), 0);  // blanks only: asked a bounded number of times
}

TEST_F(WrapTable, SamplesOneCycleForEveryObjectOfTheWrapChain) {
  struct Case {
    const char *before, *after;
    int wrapOn;
    double cycle;
    char letter;
    int count, cycles;
  } cases[] = {
      {"abc", "abc", 0, 3.0, 'a', 60, 1},   // no wrap lines
      {"abc", "bca", 1, 3.0, 'a', 180, 3},  // a -> b -> c -> a
      {"abc", "bac", 1, 3.0, 'a', 120, 2},  // a and b swap
      {"abc", "bac", 1, 3.0, 'c', 60, 1},   // c stays
      {"abc", "bbc", 1, 3.0, 'a', 180, 3},  // a chain that never comes back ends after every object
      {"abc", "bca", 1, 3.0, 'x', 60, 1},   // a letter without a partner
      {"abc", "abc", 0, 0.02, 'a', 1, 1},   // a cycle shorter than one sample still gets one
      {"abc", "bca", 1, 0.02, 'a', 3, 3},
      {"abc", "abc", 0, 1.234, 'b', 24, 1},
      {"abc", "abc", 0, 1e9, 'a', MAX_CYCLE_SAMPLES, 1},  // a cycle of years stays within memory
      {"abc", "bca", 1, NAN, 'a', 3, 3},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.after) + " " + c.letter + " " + std::to_string(c.cycle));
    wrap(c.before, c.after, c.wrapOn);
    t_zyklus = c.cycle;
    PathSamples s = flightPathSamples(c.letter);
    EXPECT_EQ(s.count, c.count);
    EXPECT_EQ(s.cycles, c.cycles);
    if (!std::isnan(c.cycle)) {
      EXPECT_NEAR(s.step * s.count, c.cycle * c.cycles, 1e-9 * c.cycle);
    }
  }
}

TEST(PathFiles, NamedAfterThePatternAndTheLetter) {
  std::string temp = qPrefs.temp, file = currentPatternFile;
  qPrefs.temp = "tmp/";
  currentPatternFile = "m/sub/3ball_cascade";
  EXPECT_EQ(pathFileName('a', false), "tmp/3ball_cascade.a");
  EXPECT_EQ(pathFileName('Z', true), "tmp/3ball_cascade.Z.hpp");
  EXPECT_EQ(pathFileName('7', false), "tmp/3ball_cascade.7");
  EXPECT_EQ(pathFileName('/', false), "tmp/3ball_cascade.2f");  // never a path of its own
  EXPECT_EQ(pathFileName('.', true), "tmp/3ball_cascade.2e.hpp");
  qPrefs.temp = temp;
  currentPatternFile = file;
}

TEST(ChooserTurn, OneTurnASecondKeptWithinATurn) {
  double time = 0;
  EXPECT_EQ(chooserTurnAfter(&time, 0.5), 1024);
  EXPECT_EQ(chooserTurnAfter(&time, 0.25), 1536);
  EXPECT_EQ(chooserTurnAfter(&time, 0.5), 512);  // past one turn it starts again
  for (int i = 0; i < 100; i++) {
    int turn = chooserTurnAfter(&time, 0.37);
    ASSERT_GE(turn, 0);
    ASSERT_LT(turn, 2048);
  }
  double before = time;
  chooserTurnAfter(&time, NAN);
  chooserTurnAfter(&time, -3);
  EXPECT_EQ(time, before);
  time = 40000;  // after hours the turn is still within one turn
  EXPECT_LT(chooserTurnAfter(&time, 0.1), 2048);
}

// A sample pattern loaded and placed, with the temporary directory in the test's scratch directory.
class PathDisplay : public PathTest<SceneTest> {
 public:
  void load(const char *name) {
    resetPathDisplay();
    ASSERT_EQ(loadPattern(sourcePath(std::string("data/m/") + name)), 0) << name;
    ASSERT_EQ(qPlaceJugglers(), 0) << name;
  }
  int placed(const std::string &name) {
    int model = findLoadedObject(name.c_str()), n = 0;
    for (int i = 0; model >= 0 && i < sceneObjectCount - 1; i++) n += sceneObjects[i].model == model;
    return n;
  }
  static std::string contents(const std::string &path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(PathDisplay, FlightPathOfTheCurrentObjectShownRemovedAndItsPlaceReused) {
  load("3ball_cascade");
  toggleFlightPathDisplay(0);
  char a = Objektbuchstaben[0], b = Objektbuchstaben[1];
  EXPECT_EQ(shownFlightPaths, std::string(1, a));
  std::string fileA = pathFileName(a, false);
  EXPECT_EQ(fileA, qPrefs.temp + "3ball_cascade." + a);
  ASSERT_TRUE(std::filesystem::exists(fileA));
  int samples = int(std::trunc(t_zyklus * 20));
  EXPECT_NE(contents(fileA).find("\n" + std::to_string(samples) + " POINTS\n"), std::string::npos);
  EXPECT_EQ(placed(fileA), 1);

  toggleFlightPathDisplay(0);
  EXPECT_EQ(shownFlightPaths, "-");
  EXPECT_EQ(placed(fileA), 0);

  nextObjectRequest = 1;
  toggleFlightPathDisplay(0);
  EXPECT_EQ(shownFlightPaths, std::string(1, b));  // the removed entry is taken again
  EXPECT_EQ(placed(pathFileName(b, false)), 1);
}

TEST_F(PathDisplay, AllPathsWhenNoneIsShownElseNone) {
  load("5ball_cascade");
  toggleFlightPathDisplay(1);
  ASSERT_EQ(int(shownFlightPaths.size()), objekte);
  for (int o = 0; o < objekte; o++) {
    EXPECT_NE(shownFlightPaths.find(Objektbuchstaben[o]), std::string::npos) << o;
    EXPECT_EQ(placed(pathFileName(Objektbuchstaben[o], false)), 1) << o;
  }
  nextObjectRequest = 1;
  toggleFlightPathDisplay(0);  // one removed: some are still shown, so "all" removes the rest
  toggleFlightPathDisplay(1);
  EXPECT_EQ(shownFlightPaths, std::string(objekte, '-'));
  for (int o = 0; o < objekte; o++) EXPECT_EQ(placed(pathFileName(Objektbuchstaben[o], false)), 0) << o;
  toggleFlightPathDisplay(1);
  EXPECT_EQ(shownFlightPaths.find('-'), std::string::npos);
  toggleFlightPathDisplay(2);
  EXPECT_EQ(shownFlightPaths, std::string(objekte, '-'));
}

TEST_F(PathDisplay, WrapPatternPathRunsThroughTheWholeChain) {
  load("3ball_cascade_wrap");
  ASSERT_EQ(WRAP, 1);
  trackCurrentObject(nullptr);
  char letter = currentObjectLetter;
  PathSamples s = flightPathSamples(letter);
  toggleFlightPathDisplay(0);
  std::string text = contents(pathFileName(letter, false));
  EXPECT_NE(text.find("\n" + std::to_string(s.count) + " POINTS\n"), std::string::npos) << s.count;
  EXPECT_EQ(s.count, s.cycles * int(std::trunc(t_zyklus * 20)));
}

TEST_F(PathDisplay, AFileThatIsThereIsPlacedWithoutWritingItAgain) {
  load("3ball_cascade");
  trackCurrentObject(nullptr);
  std::string file = pathFileName(currentObjectLetter, false);
  std::string box = contents("o/basic/SelectBox");
  std::ofstream(file) << box;
  toggleFlightPathDisplay(0);
  EXPECT_EQ(contents(file), box);
  EXPECT_EQ(placed(file), 1);
}

TEST_F(PathDisplay, ALinkInTheTemporaryDirectoryIsReplacedNotFollowed) {
  load("3ball_cascade");
  trackCurrentObject(nullptr);
  std::string file = pathFileName(currentObjectLetter, false);
  std::string target = scratch.string() + "/elsewhere";
  std::filesystem::create_symlink(target, file);
  toggleFlightPathDisplay(0);
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_FALSE(std::filesystem::is_symlink(file));
  EXPECT_NE(contents(file).find(" POINTS\n"), std::string::npos);
  EXPECT_EQ(placed(file), 1);
}

TEST_F(PathDisplay, NoTemporaryDirectoryOneMessageAndNoPath) {
  load("3ball_cascade");
  qPrefs.temp = "nix/QuoitParab/";  // the start-up puts its folder below the word
  testing::internal::CaptureStdout();
  toggleFlightPathDisplay(0);
  toggleFlightPathDisplay(1);
  toggleHandPathDisplay(0);
  std::string out = testing::internal::GetCapturedStdout();
  std::string message = localMessage(367);
  size_t first = out.find(message);
  ASSERT_NE(first, std::string::npos) << out;
  // One message for the flight paths and one for the hand paths, none for the second flight toggle.
  size_t second = out.find(message, first + 1);
  ASSERT_NE(second, std::string::npos) << out;
  EXPECT_EQ(out.find(message, second + 1), std::string::npos) << out;
  EXPECT_TRUE(shownFlightPaths.empty());
  EXPECT_TRUE(shownHandPaths.empty());
}

TEST_F(PathDisplay, HandPathsOnlyKeepTheirListInClassicMode) {
  load("3ball_cascade");
  int count = sceneObjectCount;
  toggleHandPathDisplay(0);
  char a = Objektbuchstaben[0];
  EXPECT_EQ(shownHandPaths, std::string(1, a));
  EXPECT_EQ(sceneObjectCount, count);
  toggleHandPathDisplay(0);
  EXPECT_EQ(shownHandPaths, "-");
  toggleHandPathDisplay(0);
  toggleHandPathDisplay(1);
  EXPECT_EQ(shownHandPaths, "-");
}

TEST_F(PathDisplay, GuideObjectsFollowTheirFlags) {
  load("3ball_cascade");
  const char *scale = "o/basic/Heightscale", *system = "o/basic/KO_System";
  qMode.flags = FLAG_HEIGHT_SCALE;
  toggleHelperObjects();
  toggleHelperObjects();
  EXPECT_EQ(placed(scale), 1);
  EXPECT_EQ(placed(system), 0);
  qMode.flags = FLAG_COORDINATES;
  toggleHelperObjects();
  EXPECT_EQ(placed(scale), 0);
  EXPECT_EQ(placed(system), 1);
  qMode.flags = 0;
  toggleHelperObjects();
  EXPECT_EQ(placed(system), 0);
}

TEST_F(PathDisplay, RandomPropFromTheChoosableModelsOnly) {
  load("3ball_cascade");
  int count = sceneObjectCount;
  std::vector<int> flags;
  for (int i = 0; i < loadedObjectCount; i++) {
    flags.push_back(objekt_geladen[i].flags);
    objekt_geladen[i].flags &= ~OBJ_CHOOSABLE;
  }
  testing::internal::CaptureStdout();
  placeRandomObject();  // nothing choosable
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(localMessage(368)), std::string::npos) << out;
  EXPECT_EQ(sceneObjectCount, count);

  for (int i = 0; i < int(flags.size()); i++) objekt_geladen[i].flags = flags[i];
  ASSERT_EQ(AlleObjekteLaden(), 0);
  for (int i = 0; i < 20; i++) {
    placeRandomObject();
    ASSERT_EQ(sceneObjectCount, count + 1);
    const Placement &p = sceneObjects[sceneObjectCount - 2];
    bool choosable = false;  // a model with random colours is placed as an entry of its own
    for (int m = 0; m < loadedObjectCount; m++)
      choosable |= (objekt_geladen[m].flags & OBJ_CHOOSABLE) && strcmp(objekt_geladen[m].name, objekt_geladen[p.model].name) == 0;
    EXPECT_TRUE(choosable) << objekt_geladen[p.model].name;
    EXPECT_LE(std::abs(p.x), 2500);
    EXPECT_LE(std::abs(p.y), 2500);
    EXPECT_EQ(p.z, 60);
    count++;
  }
}

// The chooser's frames with a cursor that picks when it is told to.
class ChooserFrames : public PathDisplay {
 public:
  static int pickNow;
  static std::vector<uint32_t> modes;
  AidCalls saved = aidCalls;
  static int cursor(int *rowOffset, int16_t *, int16_t *) {
    *rowOffset = 0;
    return pickNow;
  }
  static int setMode(uint32_t low, uint32_t) {
    modes.push_back(low);
    qMode.main = qMode.main == MAIN_CHOOSER_PICK ? int64_t(0) : int64_t(MAIN_CHOOSER_PICK);
    return 0;
  }
  void SetUp() override {
    PathDisplay::SetUp();
    aidCalls = {setMode, cursor};
    pickNow = 0;
    modes.clear();
    chooserRow = 0;
    chooserColumn = 1;
  }
  void TearDown() override {
    aidCalls = saved;
    chooserState = 0;
    qMode.main = 0;
    chosenModel = -1;
    PathDisplay::TearDown();
  }
  void enter() {
    chooserState = 1;
    qMode.main = MAIN_CHOOSER;
    savedChooserDisplay[0] = 3;
    savedChooserDisplay[1] = FLAG_SHADOWS;
    qMode.display = 1;
  }
};
int ChooserFrames::pickNow;
std::vector<uint32_t> ChooserFrames::modes;

TEST_F(ChooserFrames, FirstFrameLoadsTheModelsAndShowsTheGrid) {
  load("3ball_cascade");
  enter();
  selectObjectInBox();
  ASSERT_GT(chooserCursorModel, 0);
  EXPECT_STREQ(objekt_geladen[chooserCursorModel].name, "o/basic/SelectBox");
  EXPECT_EQ(chooserEntryCount(), 25);  // every line of the object list
  EXPECT_EQ(chooserState, 1);
  EXPECT_NE(flyingPlacements, flyingObjects);
  EXPECT_EQ(flyingPlacements[0].z, CHOOSER_FLOOR_Z);
  int shown = 0, frames = 0;
  for (const Placement *p = flyingPlacements + 1; p->model != PLACEMENT_END_FLYING; p++)
    (p->model == chooserCursorModel ? frames : shown)++;
  EXPECT_EQ(shown, 20);
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(viewState.radius, 1750);
  EXPECT_EQ(viewState.zoom, 200);
  EXPECT_EQ(viewState.elevation, 512);
  EXPECT_TRUE(modes.empty());
}

TEST_F(ChooserFrames, APickBecomesTheObjectsModel) {
  load("3ball_cascade");
  enter();
  selectObjectInBox();
  int wanted = chooserModels[1];  // row 0, column 1
  int before = objectModelForRow(0);
  pickNow = -1;
  selectObjectInBox();
  EXPECT_EQ(chosenModel, wanted);
  EXPECT_EQ(objectModelForRow(0), wanted);
  EXPECT_EQ(chooserState, 0);
  EXPECT_EQ(flyingPlacements, flyingObjects);
  EXPECT_EQ(qMode.display, 3);  // the display the chooser was entered with
  EXPECT_EQ(qMode.flags & FLAG_SHADOWS, FLAG_SHADOWS);
  EXPECT_EQ(modes, (std::vector<uint32_t>{uint32_t(MAIN_CHOOSER_PICK), uint32_t(MAIN_CHOOSER_PICK)}));
  EXPECT_EQ(qMode.main, 0);
  EXPECT_NE(objekt_geladen[wanted].flags & OBJ_JUGGLED, 0);
  EXPECT_NE(objekt_geladen[wanted].flags & OBJ_NEW_LIST, 0);
  if (before != wanted) {
    EXPECT_EQ(objekt_geladen[before].flags & OBJ_JUGGLED, 0);
  }
}

TEST_F(ChooserFrames, AMenuPickLeavesOnceAndFullScreenKeepsTheRelease) {
  load("3ball_cascade");
  enter();
  selectObjectInBox();
  qMode.main = MAIN_CHOOSER_PICK;  // the menu's pick command
  qMode.flags |= FLAG_FULL_SCREEN;
  pickNow = -1;
  selectObjectInBox();
  EXPECT_EQ(modes.size(), 1u);
  EXPECT_EQ(qMode.main, 0);
  EXPECT_EQ(chooserState, 2);
  EXPECT_EQ(chosenModel, chooserModels[1]);
}

TEST_F(ChooserFrames, WithoutTheObjectListTheChooserEnds) {
  load("3ball_cascade");
  enter();
  sceneObjectList(nullptr, 6);
  std::filesystem::current_path(scratch);  // no object list here
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  selectObjectInBox();
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(chooserState, 0);
  EXPECT_EQ(qMode.main, 0);
  EXPECT_EQ(chooserCursorModel, 0);
  EXPECT_EQ(flyingPlacements, flyingObjects);
  EXPECT_EQ(sceneObjectsShown, 1);  // the jugglers are back
}

}  // namespace
