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
#include <string>
#include <thread>
#include <vector>

#include "app/framestep.h"
#include "core/localtext.h"
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
#include "tests/scene/vrml_fixture.h"
#include "tests/support/glut_test_window.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "tests/ui/glut_xvfb.h"
#include "ui/keys.h"

namespace {

const int W = 320, H = 240;

struct Picture {
  std::vector<unsigned char> rgb;
  std::string output;
  GLdouble model[16], projection[16];
  GLint viewport[4];

  bool project(const double p[3], int *x, int *y) const {
    GLdouble wx, wy, wz;
    gluProject(p[0], p[1], p[2], model, projection, viewport, &wx, &wy, &wz);
    *x = int(lround(wx));
    *y = int(lround(wy));
    return wz > 0 && wz < 1 && *x >= 1 && *x < W - 1 && *y >= 1 && *y < H - 1;
  }
  bool differsAt(const Picture &other, int x, int y) const {
    size_t i = 3 * (size_t(y) * W + x);
    return rgb[i] != other.rgb[i] || rgb[i + 1] != other.rgb[i + 1] || rgb[i + 2] != other.rgb[i + 2];
  }
  int differencesNear(const Picture &other, int x, int y, int n) const {
    int count = 0;
    for (int v = std::max(0, y - n); v <= std::min(H - 1, y + n); v++)
      for (int u = std::max(0, x - n); u <= std::min(W - 1, x + n); u++) count += differsAt(other, u, v);
    return count;
  }
  int differences(const Picture &other) const { return differencesNear(other, W / 2, H / 2, W); }
};

Picture drawPicture() {
  Picture p;
  testing::internal::CaptureStdout();
  qGlClearScreen();
  qGlUpdateVRMLDisplay();
  glFinish();
  p.output = testing::internal::GetCapturedStdout();
  p.rgb.resize(size_t(W) * H * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
  qGlSetProjection(W, H);
  ModifyWorld(0);
  glGetDoublev(GL_MODELVIEW_MATRIX, p.model);
  glGetDoublev(GL_PROJECTION_MATRIX, p.projection);
  glGetIntegerv(GL_VIEWPORT, p.viewport);
  return p;
}

class VrmlPathsGui : public VrmlTest {
 protected:
  static int window;
  QuoitMode savedMode{};
  ViewState savedView{};
  LightState savedLight{};
  AidCalls savedCalls = aidCalls;
  std::string savedTemp;
  static int pickNow;

  static int cursor(int *rowOffset, int16_t *, int16_t *) {
    *rowOffset = 0;
    return pickNow;
  }

  static void SetUpTestSuite() {
    if (window) return;
    window = openGlutTestWindow("quoit vrml paths", W, H, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    ASSERT_GT(window, 0);
  }

  void SetUp() override {
    VrmlTest::SetUp();
    if (!localTextTables[qPrefs.language]) {
      ASSERT_EQ(readLocalTexts(), 0);
    }
    glutSetWindow(window);
    qWindowIds[WIN_3D] = window;
    savedMode = qMode;
    savedView = viewState;
    savedLight = lightState;
    savedTemp = qPrefs.temp;
    qPrefs.temp = std::filesystem::path(writeFile("tmp/keep", "")).parent_path().string() + "/";
    qMode.display = 1;
    qMode.flags = 0;
    qMode.main = 0;
    qMode.speed = 100;
    qPrefs.intensity.clear();
    overlayRequests = 0;
    chosenModel = -1;
    pickNow = 0;
    qGlReshape(W, H);
    qGlSetModes();
    qGlSetLightColor(37);
  }

  void TearDown() override {
    freePatternData();
    resetPathDisplay();
    freeObjectList(&qScene_CO);
    aidCalls = savedCalls;
    chooserState = 0;
    chosenModel = -1;
    qPrefs.temp = savedTemp;
    qMode = savedMode;
    viewState = savedView;
    lightState = savedLight;
    qWindowIds[WIN_3D] = 0;
    VrmlTest::TearDown();
  }

  void load(const char *name) {
    freshPatternState();
    qPrefs.vrml = 1;
    resetVRMLScene();
    resetPathDisplay();
    currentPatternFile = std::string(QUOIT_SOURCE_DIR "/data/m/") + name;
    std::filesystem::current_path(QUOIT_SOURCE_DIR "/data");
    testing::internal::CaptureStdout();
    int code = Muster_laden();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(code, 0) << name;
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

  static void pose() { ASSERT_EQ(buildScene(qScene, 0, 0.3 * t_zyklus + 0.01, nullptr, -1), 0); }

  static std::vector<ObjectNode *> juggled() {
    std::vector<ObjectNode *> nodes;
    for (ObjectNode *n = qScene; n; n = n->next)
      if (n->flags & NODE_TAKES_CHOOSER_MODEL) nodes.push_back(n);
    return nodes;
  }
};
int VrmlPathsGui::window;
int VrmlPathsGui::pickNow;

TEST_F(VrmlPathsGui, KeyFShowsEveryFlightPathWhereItsSamplesLie) {
  load("3ball_cascade");
  pose();
  Picture plain = drawPicture();
  keyCommand(0, 'F');
  ASSERT_EQ(int(shownFlightPaths.size()), objekte);
  pose();
  Picture paths = drawPicture();
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
  EXPECT_EQ(drawPicture().differences(plain), 0);
}

TEST_F(VrmlPathsGui, TheChooserShowsTheModelsAndThePickIsDrawn) {
  load("3ball_cascade");
  pose();
  Picture before = drawPicture();
  std::vector<double> props;
  for (const ObjectNode *n : juggled()) props.insert(props.end(), n->position, n->position + 3);
  aidCalls.moveChooserCursor = cursor;
  chooserRow = 2;
  chooserColumn = 2;  // the eleventh model of the object list, a club
  chooserState = 1;
  qMode.main = MAIN_CHOOSER;
  testing::internal::CaptureStdout();
  selectObjectInBox();
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(chooserState, 1);
  Picture grid = drawPicture();
  EXPECT_EQ(grid.output.find("OpenGL Error"), std::string::npos) << grid.output;
  EXPECT_GT(grid.differences(before), 1000);

  pickNow = -1;
  testing::internal::CaptureStdout();
  selectObjectInBox();
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(chosenModel, chooserModels[10]);
  EXPECT_NE(std::string(objekt_geladen[chosenModel].name).find("club"), std::string::npos);
  qMode.main = 0;
  qMode.display = 1;
  qMode.flags = 0;
  packViewState();
  pose();
  Picture after = drawPicture();
  EXPECT_EQ(after.output.find("OpenGL Error"), std::string::npos) << after.output;
  int looked = 0, changed = 0;
  for (size_t i = 0; i + 2 < props.size(); i += 3) {
    int x, y;
    if (!after.project(&props[i], &x, &y)) continue;
    looked++;
    changed += after.differencesNear(before, x, y, 4) > 0;
  }
  EXPECT_GT(looked, 0);
  EXPECT_EQ(changed, looked);
}

// The real program in VRML mode: 'F' shows the flight paths, 'c' opens the chooser, a click picks
// the model under the cursor, and 'p' writes it into the pattern file as its "a=" entry.
TEST_F(VrmlPathsGui, RunningQuoitPicksAModelThatGoesIntoThePatternFile) {
  std::string home = makeScratchHome(currentTestName());
  RunOptions options;
  options.display = sharedDisplay();
  options.timeLimitSeconds = 60;
  RunResult run;
  std::thread program([&] { run = runProgram(programPath("quoit"), {"+vrml=1", "m/3ball_cascade"}, home, options); });
  std::string window = findWindow("^Quoit: ", 30);
  auto key = [&](const char *k) {
    commandOutput("xdotool key --window " + window + " " + k + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  };
  if (!window.empty()) {
    key("F");
    key("c");
    commandOutput("xdotool mousemove --window " + window + " 100 100 click 1 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    key("p");
    key("Escape");
  }
  program.join();
  ASSERT_FALSE(window.empty()) << run.standardOutput << run.standardError;
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_EQ(run.trace.find("OpenGL Error"), std::string::npos) << run.trace.substr(0, 2000);
  size_t selected = run.trace.find("Object ");
  int number = -1;
  while (selected != std::string::npos && sscanf(run.trace.c_str() + selected, "Object %d was selected.", &number) != 1)
    selected = run.trace.find("Object ", selected + 1);
  ASSERT_NE(selected, std::string::npos) << run.trace.substr(0, 4000);
  EXPECT_NE(run.trace.find("ver="), std::string::npos);
  std::string pattern = readWholeFile(home + "/m/3ball_cascade");
  EXPECT_NE(pattern.find("\na=" + std::to_string(number) + "\n"), std::string::npos) << pattern;
}

// The walking editor in VRML mode builds its paths on entering and hides them when its panel
// (answering by itself) saves and leaves; the program goes on and ends cleanly.
TEST_F(VrmlPathsGui, RunningQuoitEntersAndLeavesTheWalkingEditorInVrmlMode) {
  std::string home = makeScratchHome(currentTestName());
  RunOptions options;
  options.display = sharedDisplay();
  options.timeLimitSeconds = 60;
  RunResult run;
  std::thread program([&] { run = runProgram(programPath("quoit"), {"+vrml=1", "m/3ball_walking"}, home, options); });
  std::string window = findWindow("^Quoit: ", 30);
  std::string panel;
  if (!window.empty()) {
    commandOutput("xdotool key --window " + window + " ctrl+w 2>/dev/null");
    panel = findWindow("^quoit: walking editor$", 10);
    for (int i = 0; i < 50 && !commandOutput("xdotool search --name '^quoit: walking editor$' 2>/dev/null").empty(); i++)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    commandOutput("xdotool key --window " + window + " Escape 2>/dev/null");
  }
  program.join();
  ASSERT_FALSE(window.empty()) << run.standardOutput << run.standardError;
  EXPECT_FALSE(panel.empty());
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_EQ(run.trace.find("OpenGL Error"), std::string::npos) << run.trace.substr(0, 2000);
}

}  // namespace
