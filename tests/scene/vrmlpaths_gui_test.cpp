// The VRML path aids and the chooser drawn in a real GL context on the test program's Xvfb: the
// key 'F' puts every object's flight path into the picture where its samples lie and takes them out
// again, and a model picked in the chooser is what the juggled objects are drawn with afterwards.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/framestep.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/tclthreads.h"
#include "core/runstate.h"
#include "core/uistate.h"
#include "core/viewrecords.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/vrml_renderer.h"
#include "scene/vrmlaids.h"
#include "scene/vrmlscene.h"
#include "tests/scene/path_fixture.h"
#include "tests/scene/vrml_fixture.h"
#include "tests/support/picture_fixture.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "tests/ui/glut_xvfb.h"
#include "ui/editor.h"
#include "ui/keyframes.h"
#include "ui/keys.h"
#include "ui/modes.h"

namespace {

const int W = 320, H = 240;

Picture drawFrame() { return drawPicture(qGlUpdateVRMLDisplay, W, H); }

class VrmlPathsGui : public PathTest<PictureTest<VrmlTest, W, H>> {
 protected:
  AidCalls savedCalls = aidCalls;
  static int pickNow;

  static int cursor(int *rowOffset, int16_t *, int16_t *) {
    *rowOffset = 0;
    return pickNow;
  }

  void SetUp() override {
    PathTest::SetUp();
    if (HasFatalFailure()) return;
    qWindowIds[WIN_3D] = window;  // the model lists are compiled in this window
    pickNow = 0;
    qGlSetLightColor(37);
  }

  void TearDown() override {
    freeObjectList(&qScene_CO);
    aidCalls = savedCalls;
    chooserState = 0;
    qWindowIds[WIN_3D] = 0;
    PathTest::TearDown();
  }

  void load(const char *name) {
    loadVrml(name);
    // The juggler from the front, with the props' whole paths in view.
    cameraState.azimuth = 0.085;
    cameraState.elevation = 1.65;
    cameraState.distance = 3.34;
    cameraState.zoom = 185;
    cameraState.lookAt[0] = UNSET_DOUBLE;
    G_Vorgabe_setzen();
    computeEyePosition(cameraState.eye);
    packViewState();
    lightState = LightState{0, 0, 0, 0, 1000};
  }

  // The chooser entered with its cursor on the row and column, and its first frame.
  static void openChooser(int row, int column) {
    aidCalls.moveChooserCursor = cursor;
    chooserRow = row;
    chooserColumn = column;
    chooserState = 1;
    qMode.main = MAIN_CHOOSER;
    testing::internal::CaptureStdout();
    selectObjectInBox();
    testing::internal::GetCapturedStdout();
  }
  // A chooser frame that picks the model under the cursor.
  static void pickInChooser() {
    pickNow = -1;
    testing::internal::CaptureStdout();
    selectObjectInBox();
    testing::internal::GetCapturedStdout();
    pickNow = 0;
  }

  // The lists the nodes of the list compiled, and how many of them are lists of this context.
  static std::vector<GLuint> ownLists(const ObjectNode *head) {
    std::vector<GLuint> lists;
    for (const ObjectNode *n = head; n; n = n->next)
      for (int32_t list : n->ownLists)
        if (list > 0) lists.push_back(GLuint(list));
    return lists;
  }
  static int alive(const std::vector<GLuint> &lists) {
    int n = 0;
    for (GLuint list : lists) n += glIsList(list) == GL_TRUE;
    return n;
  }

  static void pose() { ASSERT_EQ(buildScene(qScene, 0, 0.3 * t_zyklus + 0.01, nullptr, -1), 0); }

};
int VrmlPathsGui::pickNow;

TEST_F(VrmlPathsGui, KeyFShowsEveryFlightPathWhereItsSamplesLie) {
  load("3ball_cascade");
  pose();
  Picture plain = drawFrame();
  keyCommand(0, 'F');
  ASSERT_EQ(int(shownFlightPaths.size()), objekte);
  pose();
  Picture paths = drawFrame();
  EXPECT_EQ(paths.output.find("OpenGL Error"), std::string::npos) << paths.output;
  EXPECT_GT(plain.differences(paths), 100);
  for (int o = 0; o < objekte; o++) {
    SCOPED_TRACE(o);
    const ObjectNode *path = findPathNode(pathFileName(Objektbuchstaben[o], false).c_str(), FLIGHT_PATH_NUMBER - o);
    ASSERT_NE(path, nullptr);
    const PolyNode *line = path->poly->child;
    ASSERT_NE(line, nullptr);
    int looked = 0, drawn = 0;
    for (int i = 0; i < line->coordCount; i++) {
      int x, y;
      if (!paths.project(line->coords[i], &x, &y)) continue;
      looked++;
      drawn += paths.differencesNear(plain, x, y, 1) > 0;
    }
    EXPECT_GT(looked, 10);
    EXPECT_GE(4 * drawn, 3 * looked) << drawn << " of " << looked;  // some lie behind the juggler
  }
  keyCommand(0, 0);  // the key was let go
  keyCommand(0, 'F');
  EXPECT_EQ(shownFlightPaths, std::string(objekte, '-'));
  pose();
  EXPECT_EQ(drawFrame().differences(plain), 0);
}

TEST_F(VrmlPathsGui, TheChooserShowsTheModelsAndThePickIsDrawn) {
  load("3ball_cascade");
  pose();
  Picture before = drawFrame();
  std::vector<double> props;
  for (const ObjectNode *n : juggled()) props.insert(props.end(), n->position, n->position + 3);
  openChooser(2, 2);  // the eleventh model of the object list, a club
  ASSERT_EQ(chooserState, 1);
  Picture grid = drawFrame();
  EXPECT_EQ(grid.output.find("OpenGL Error"), std::string::npos) << grid.output;
  EXPECT_GT(grid.differences(before), 1000);

  pickInChooser();
  ASSERT_EQ(chosenModel, chooserModels[10]);
  EXPECT_NE(std::string(objekt_geladen[chosenModel].name).find("club"), std::string::npos);
  qMode.main = 0;
  qMode.display = 1;
  qMode.flags = 0;
  packViewState();
  pose();
  Picture after = drawFrame();
  EXPECT_EQ(after.output.find("OpenGL Error"), std::string::npos) << after.output;
  // The chooser's frames leave GL state behind that shades the props a little differently, so the
  // pick is also told from the props drawn after the chooser with their own models given back.
  qMode.main = MAIN_CHOOSER;
  ASSERT_EQ(qVRMLObjectChooser(2), 0);
  qMode.main = 0;
  pose();
  Picture own = drawFrame();
  int looked = 0, changed = 0, picked = 0;
  for (size_t i = 0; i + 2 < props.size(); i += 3) {
    int x, y;
    if (!after.project(&props[i], &x, &y)) continue;
    looked++;
    changed += after.differencesNear(before, x, y, 4) > 0;
    picked += after.differencesNear(own, x, y, 4) > 0;
  }
  EXPECT_GT(looked, 0);
  EXPECT_EQ(changed, looked);
  EXPECT_EQ(picked, looked);
}

// In the scene editor the arrow stands on the selected object, and Tab moves it to the next: the
// pixels the arrow changes lie around the selected node's place in the picture and nowhere else.
TEST_F(VrmlPathsGui, TheEditorsArrowIsDrawnOnTheSelectedObjectAndTabMovesIt) {
  load("6club_2count_pass");
  qWindowIds[WIN_3D] = 0;  // the editor leaves the test window's callbacks alone
  qSetMode(MAIN_SCENE_EDITOR, 0);
  ASSERT_EQ(qMode.main, MAIN_SCENE_EDITOR);
  qWindowIds[WIN_3D] = window;
  packViewState();
  pose();
  drawFrame();  // the first frame compiles the models' lists
  const ObjectNode *selected[2];
  int at[2][2];
  for (int k = 0; k < 2; k++) {
    SCOPED_TRACE(k);
    ObjectNode *node = editorObject;
    ASSERT_NE(node, nullptr);
    selected[k] = node;
    editorObject = nullptr;
    Picture plain = drawFrame();
    editorObject = node;
    Picture arrow = drawFrame();
    EXPECT_EQ(arrow.output.find("OpenGL Error"), std::string::npos) << arrow.output;
    int &x = at[k][0], &y = at[k][1];
    ASSERT_TRUE(arrow.project(node->position, &x, &y));
    int changed = arrow.differences(plain), near = arrow.differencesNear(plain, x, y, 8);
    EXPECT_GT(near, 10);
    EXPECT_EQ(near, changed);
    keyCommand(0, 9);  // Tab
    keyCommand(0, 0);
  }
  EXPECT_NE(selected[1], selected[0]);
  EXPECT_GT(std::hypot(at[1][0] - at[0][0], at[1][1] - at[0][1]), 20);  // apart, so the arrow moved
  qWindowIds[WIN_3D] = 0;
  EXPECT_EQ(EndEditor(), 0);
  restartRequest = 0;  // the pattern is not loaded again here
}

// The walking editor in VRML mode: its start builds each juggler's walking-path node from the
// keyframes, and its end (the panel's own answer, save and leave, served by the main thread's
// requests) hides it. It runs in a scratch home: the panel's exchange file is in its tmp/, and
// the save writes into its copy of the pattern.
TEST_F(VrmlPathsGui, TheWalkingEditorBuildsItsPathsAndHidesThemWhenItEnds) {
  if (!getenv("QUOIT_TEST_ANSWER")) {
    ASSERT_EQ(qPutenv("QUOIT_TEST_ANSWER=1"), 0) << "the panel would wait for a person";
  }
  std::string home = makeScratchHome(currentTestName()), path = home + "/m/3ball_walking";
  std::filesystem::create_directories(home + "/tmp");
  resetPathDisplay();
  ASSERT_EQ(loadVrmlPattern(path), 0);
  std::filesystem::current_path(home);
  qWindowIds[WIN_3D] = 0;  // the editor leaves the test window's callbacks alone
  int nodes = 0, keyframes = 0;
  for (const ObjectNode *n = qScene; n; n = n->next) nodes++;
  for (const Keyframe *k = keyframeList; k; k = k->next) keyframes += k->j == 0;
  ASSERT_EQ(jugglers, 1);
  ASSERT_GT(keyframes, 0);
  EXPECT_EQ(findPathNode("walking_path_J0", WALKING_PATH_NUMBER), nullptr);

  qSetMode(MAIN_WALKING_EDITOR, 0);
  ASSERT_EQ(qMode.main, MAIN_WALKING_EDITOR);
  ObjectNode *walking = findPathNode("walking_path_J0", WALKING_PATH_NUMBER);
  ASSERT_NE(walking, nullptr);
  EXPECT_EQ(walking->flags & NODE_HIDDEN, 0u);
  EXPECT_EQ(findPathNode("walking_path_J1", WALKING_PATH_NUMBER + 1), nullptr);
  int spheres = 0;
  for (const PolyNode *p = walking->poly->child; p; p = p->brother) spheres += (p->flags & POLY_SPHERE) != 0;
  EXPECT_EQ(spheres, 4 * keyframes);
  int all = 0;
  for (const ObjectNode *n = qScene; n; n = n->next) all++;
  EXPECT_EQ(all, nodes + 1);

  for (int i = 0; i < 100 && qMode.main == MAIN_WALKING_EDITOR; i++) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    serveMainThreadRequests();
  }
  EXPECT_EQ(qMode.main, 0);
  EXPECT_NE(walking->flags & NODE_HIDDEN, 0u);
  EXPECT_EQ(findPathNode("walking_path_J0", WALKING_PATH_NUMBER), walking);
  EXPECT_NE(readWholeFile(path).find("kf "), std::string::npos);
  // The panel's thread ends with its window.
  for (int i = 0; i < 50 && !commandOutput("xdotool search --name '^quoit: walking editor$' 2>/dev/null").empty(); i++)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

// A freed scene deletes the lists its nodes compiled. The juggled objects that draw the chooser's
// pick only borrow the model's lists: those stay while the chooser's list has them, and go with it.
TEST_F(VrmlPathsGui, AFreedSceneDeletesTheListsItsNodesCompiledNotTheLentOnes) {
  load("3ball_cascade");
  pose();
  drawFrame();
  std::vector<GLuint> scene = ownLists(qScene);
  ASSERT_GT(scene.size(), 10u);
  EXPECT_EQ(alive(scene), int(scene.size()));
  openChooser(2, 2);
  pickInChooser();
  ASSERT_GE(chosenModel, 0);
  std::vector<GLuint> chooser = ownLists(qScene_CO);
  ASSERT_FALSE(chooser.empty());
  EXPECT_EQ(alive(chooser), int(chooser.size()));
  std::vector<ObjectNode *> objects = juggled();
  ASSERT_FALSE(objects.empty());
  GLuint lent = GLuint(objects[0]->displayList);
  EXPECT_NE(std::find(chooser.begin(), chooser.end(), lent), chooser.end());
  qMode.main = 0;
  while (glGetError() != GL_NO_ERROR) {
  }

  resetVRMLScene();
  EXPECT_EQ(alive(scene), 0);
  EXPECT_EQ(alive(chooser), int(chooser.size()));
  EXPECT_TRUE(glIsList(lent));
  freeObjectList(&qScene_CO);
  EXPECT_EQ(alive(chooser), 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A new chooser scene frees the old one's models: the juggled objects draw their own lists again.
TEST_F(VrmlPathsGui, ANewChooserSceneGivesTheJuggledObjectsTheirOwnListsBack) {
  load("3ball_cascade");
  std::vector<ObjectNode *> objects = juggled();
  ASSERT_FALSE(objects.empty());
  std::vector<int32_t> before;
  for (const ObjectNode *n : objects) before.insert(before.end(), {n->displayList, n->shadowList});
  openChooser(2, 2);
  pickInChooser();
  ASSERT_GE(chosenModel, 0);
  std::vector<GLuint> chooser = ownLists(qScene_CO);
  ASSERT_NE(objects[0]->displayList, before[0]);
  qMode.main = MAIN_CHOOSER;
  ASSERT_EQ(qVRMLObjectChooser(2), 0);
  qMode.main = 0;
  EXPECT_EQ(alive(chooser), 0);
  std::vector<int32_t> after;
  for (const ObjectNode *n : objects) after.insert(after.end(), {n->displayList, n->shadowList});
  EXPECT_EQ(after, before);
  for (int32_t list : after) EXPECT_TRUE(glIsList(GLuint(list))) << list;
}

// quoit run in VRML mode on the sample pattern, in a scratch home on the shared display; drive
// gets its window when one was found. The run ends with Escape, sent after drive.
struct VrmlRun {
  RunResult run;
  std::string home;
  bool windowFound = false;
};
VrmlRun runVrmlQuoit(const char *pattern, const std::function<void(const std::string &window)> &drive) {
  VrmlRun r;
  r.home = makeScratchHome(currentTestName());
  RunOptions options;
  options.display = sharedDisplay();
  options.timeLimitSeconds = 60;
  std::thread program(
      [&] { r.run = runProgram(programPath("quoit"), {"+vrml=1", std::string("m/") + pattern}, r.home, options); });
  std::string window = findWindow("^Quoit: ", 30);
  r.windowFound = !window.empty();
  if (r.windowFound) {
    drive(window);
    commandOutput("xdotool key --window " + window + " Escape 2>/dev/null");
  }
  program.join();
  EXPECT_TRUE(r.windowFound) << r.run.standardOutput << r.run.standardError;
  EXPECT_EQ(r.run.exitCode, 0) << r.run.standardError;
  EXPECT_EQ(r.run.trace.find("OpenGL Error"), std::string::npos) << r.run.trace.substr(0, 2000);
  return r;
}

// The real program in VRML mode: 'F' shows the flight paths, 'c' opens the chooser, a click picks
// the model under the cursor, and 'p' writes it into the pattern file as its "a=" entry.
TEST_F(VrmlPathsGui, RunningQuoitPicksAModelThatGoesIntoThePatternFile) {
  VrmlRun r = runVrmlQuoit("3ball_cascade", [](const std::string &window) {
    auto key = [&](const char *k) {
      commandOutput("xdotool key --window " + window + " " + k + " 2>/dev/null");
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    };
    key("F");
    key("c");
    commandOutput("xdotool mousemove --window " + window + " 100 100 click 1 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    key("p");
  });
  ASSERT_TRUE(r.windowFound);
  const std::string &trace = r.run.trace;
  size_t selected = trace.find("Object ");
  int number = -1;
  while (selected != std::string::npos && sscanf(trace.c_str() + selected, "Object %d was selected.", &number) != 1)
    selected = trace.find("Object ", selected + 1);
  ASSERT_NE(selected, std::string::npos) << trace.substr(0, 4000);
  EXPECT_NE(trace.find("ver="), std::string::npos);
  std::string pattern = readWholeFile(r.home + "/m/3ball_cascade");
  EXPECT_NE(pattern.find("\na=" + std::to_string(number) + "\n"), std::string::npos) << pattern;
}

// The walking editor in VRML mode builds its paths on entering and hides them when its panel
// (answering by itself) saves and leaves; the program goes on and ends cleanly.
TEST_F(VrmlPathsGui, RunningQuoitEntersAndLeavesTheWalkingEditorInVrmlMode) {
  std::string panel;
  VrmlRun r = runVrmlQuoit("3ball_walking", [&](const std::string &window) {
    commandOutput("xdotool key --window " + window + " ctrl+w 2>/dev/null");
    panel = findWindow("^quoit: walking editor$", 10);
    for (int i = 0; i < 50 && !commandOutput("xdotool search --name '^quoit: walking editor$' 2>/dev/null").empty(); i++)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  });
  ASSERT_TRUE(r.windowFound);
  EXPECT_FALSE(panel.empty());
}

}  // namespace
