// Scene editor: every sample pattern saved by the editor and read again gives the same scene;
// the "j" and "z" blocks it writes; the mouse drags; adding, hiding and the circle within the
// pattern's jugglers; a failed start that leaves everything as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <GL/freeglut.h>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/uistate.h"
#include "pattern/reader.h"
#include "pattern/rewriter.h"
#include "pattern/siteswaps.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/vrml/modeltree.h"
#include "scene/vrmlaids.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/scratch_home.h"
#include "ui/editor.h"
#include "ui/glut_windows.h"
#include "ui/keys.h"
#include "ui/modes.h"
#include "ui/walkingeditor.h"
#include "ui/screens.h"

namespace {

namespace fs = std::filesystem;

std::string fileText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// What a loaded pattern places: per juggler position, heading, visibility and hand kinds; per prop
// model, angles and position.
struct Scene {
  struct Juggler {
    double position[3], heading;
    int hidden;
    char left, right;
  };
  std::vector<Juggler> jugglers;
  std::vector<PropRecord> props;
};

char kindLetter(int hand) {
  char letter = Wurfart_Buchstabe(uint32_t(fangwurf[hand].flag & 0x7ff00));
  return letter == ' ' ? 'c' : letter;  // the editor gives a hand without a kind 'c'
}

Scene loadedScene() {
  Scene s;
  for (int j = 0; j < jugglers; j++) {
    const QuoitPosRecord &q = quoitPos[j];
    s.jugglers.push_back({{q.position[0], q.position[1], q.position[2]}, q.ZWinkel * 57.29577951, hiddenJuggler[j],
                          kindLetter(2 * j), kindLetter(2 * j + 1)});
  }
  for (int k = 0; k < propCount; k++) s.props.push_back(propRecords[k]);
  return s;
}

// Equal within what the blocks write: centimetres and tenths of a degree.
void expectSameScene(const Scene &a, const Scene &b) {
  ASSERT_EQ(a.jugglers.size(), b.jugglers.size());
  for (size_t j = 0; j < a.jugglers.size(); j++) {
    SCOPED_TRACE("juggler " + std::to_string(j));
    for (int i = 0; i < 3; i++) EXPECT_NEAR(a.jugglers[j].position[i], b.jugglers[j].position[i], 0.005);
    EXPECT_NEAR(a.jugglers[j].heading, b.jugglers[j].heading, 0.05);
    EXPECT_EQ(a.jugglers[j].hidden, b.jugglers[j].hidden);
    EXPECT_EQ(a.jugglers[j].left, b.jugglers[j].left);
    EXPECT_EQ(a.jugglers[j].right, b.jugglers[j].right);
  }
  ASSERT_EQ(a.props.size(), b.props.size());
  for (size_t k = 0; k < a.props.size(); k++) {
    SCOPED_TRACE("prop " + std::to_string(k));
    EXPECT_STREQ(a.props[k].name, b.props[k].name);
    for (int i = 0; i < 3; i++) {
      EXPECT_NEAR(a.props[k].angles[i], b.props[k].angles[i], 0.05);
      EXPECT_NEAR(a.props[k].position[i], b.props[k].position[i], 0.005);
    }
  }
}

const char *const BODY_ONE = "*\n3 -\n- 3\n3 -\n- 3\n";

// In a scratch home: the figures and props an editor loads, and the temporary directory.
class SceneEditor : public ScratchHomeTest {
 protected:
  std::vector<std::string> files;
  int width = 0, height = 0, vrml = 0;
  void SetUp() override {
    ScratchHomeTest::SetUp();
    width = qPrefs.width;
    height = qPrefs.height;
    vrml = qPrefs.vrml;
    qPrefs.width = 640;
    qPrefs.height = 480;
    qMode.flags &= ~FLAG_METERS;
    shownSiteswap[0] = '\0';
  }
  void TearDown() override {
    qMode.main = 0;
    editorObject = nullptr;
    freePatternData();
    qPrefs.width = width;
    qPrefs.height = height;
    qPrefs.vrml = vrml;
    restartRequest = 0;
    for (const std::string &f : files) remove(f.c_str());
    ScratchHomeTest::TearDown();
  }
  // A copy of the text loaded as the current pattern file, the scene editor started on it.
  std::string start(const std::string &name, const std::string &text) {
    std::string path = writeTempPattern(name, text);
    files.push_back(path);
    EXPECT_EQ(loadPattern(path), 0) << name;
    currentPatternFile = path;
    qMode.main = MAIN_SCENE_EDITOR;
    EXPECT_EQ(StartEditor(), 0) << name;
    return path;
  }
  std::string reload(const std::string &path) {
    qMode.main = 0;
    EXPECT_EQ(loadPattern(path), 0) << fileText(path);
    return fileText(path);
  }
  // The juggler node of that number, a visible one first, selected.
  ObjectNode *juggler(int label) {
    ObjectNode *found = nullptr;
    for (ObjectNode *n = firstEditorNode(); n; n = n->next) {
      if (n->parent || !(n->flags & NODE_JUGGLER) || n->labelNumber != label) continue;
      if (!found || (found->flags & NODE_HIDDEN)) found = n;
    }
    if (found) editorObject = found;
    return found;
  }
};

TEST_F(SceneEditor, EverySamplePatternSavedAndReadAgainGivesTheSameScene) {
  for (const auto &entry : fs::directory_iterator(sourcePath("data/m"))) {
    std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    std::string path = start("sample_" + name, fileText(entry.path().string()));
    Scene before = loadedScene();
    ASSERT_EQ(SaveEditorPattern(1), 0);
    std::string saved = reload(path);
    expectSameScene(before, loadedScene());
    std::string jBlock, zBlock;
    EditorObjectsToText(jBlock, EDITOR_JUGGLER_BLOCK);
    EXPECT_NE(saved.find(jBlock), std::string::npos) << saved;
    EXPECT_EQ(saved.find("\np"), std::string::npos);
    EXPECT_EQ(saved.find("\nP"), std::string::npos);
    EXPECT_EQ(saved.find("\nz=") != std::string::npos, !before.props.empty());
    // A second save of the reloaded scene changes nothing.
    qMode.main = MAIN_SCENE_EDITOR;
    ASSERT_EQ(StartEditor(), 0);
    ASSERT_EQ(SaveEditorPattern(1), 0);
    EXPECT_EQ(fileText(path), saved);
  }
}

TEST_F(SceneEditor, BlocksKeepHiddenJugglersEveryKindAndPropAngles) {
  start("blocks",
        "! blocks\nj 0  -1.25 0 0  c d\n 199.8  1.25 0.9 0  C t i\n"
        "z=2\n o/club r 10 0 30  0.5 0.7 0.02\n o/ring 0 0.6 -0.8 0.01\n"
        "*\n3 - - -\n- 3 - -\n");
  std::string text;
  EXPECT_EQ(EditorObjectsToText(text, EDITOR_JUGGLER_BLOCK), 2);
  EXPECT_EQ(text, "j\n   0\n-1.25  0.00  0.00 c d\n 199.8\n 1.25  0.90  0.00 C t i\n");
  EXPECT_EQ(EditorObjectsToText(text, EDITOR_PROPS_BLOCK), 2);
  EXPECT_EQ(text, "z=2\no/club r   10    0   30\n 0.50  0.70  0.02\no/ring\n   0\n 0.60 -0.80  0.01\n");
  EXPECT_EQ(editorJugglerCount, 1);
  EXPECT_EQ(editorObjectCount, 2);
  Scene before = loadedScene();
  ASSERT_EQ(SaveEditorPattern(1), 0);
  reload(files.back());
  expectSameScene(before, loadedScene());
  EXPECT_EQ(hiddenJuggler[1], 1);
  EXPECT_EQ(kindLetter(1), 'd');
}

TEST_F(SceneEditor, PropNames) {
  std::string home = qPrefs.homeDirectory;
  qPrefs.homeDirectory = "/home/q/quoit";
  struct Case {
    const char *model, *written;
  } cases[] = {
      {"v/basic/club.wrl", "o/basic/club"},
      {"v\\basic\\club.wrl", "o/basic/club"},
      {"/home/q/quoit/v/basic/club.wrl", "o/basic/club"},
      {"o/ring", "o/ring"},
      {"o/basic.set/ring", "o/basic.set/ring"},
      {"/elsewhere/props/ring.wrl", "/elsewhere/props/ring.wrl"},
  };
  for (const Case &c : cases) EXPECT_EQ(editorPropName(c.model), c.written) << c.model;
  qPrefs.homeDirectory = home;
}

// A save without props removes the "z" entry; with props it writes as many as there are.
TEST_F(SceneEditor, PropBlockFollowsTheVisibleProps) {
  std::string path = start("props", "j 0 0 0 0 c c\nz=2\n o/ring 0 1 1 0\n o/club 0 -1 1 0\n" + std::string(BODY_ONE));
  editorObject = nullptr;
  SelectNextEditorObject();
  SelectNextEditorObject();  // the first prop
  ASSERT_EQ(DeleteCurrentEditorObject(), 0);
  EXPECT_EQ(editorObjectCount, 1);
  ASSERT_EQ(SaveEditorPattern(1), 0);
  EXPECT_NE(fileText(path).find("z=1\no/club\n   0\n-1.00  1.00  0.00\n"), std::string::npos) << fileText(path);
  reload(path);
  qMode.main = MAIN_SCENE_EDITOR;
  ASSERT_EQ(StartEditor(), 0);
  SelectNextEditorObject();
  ASSERT_EQ(DeleteCurrentEditorObject(), 0);
  EXPECT_EQ(editorObjectCount, 0);
  ASSERT_EQ(SaveEditorPattern(1), 0);
  EXPECT_EQ(fileText(path), "j\n   0\n 0.00  0.00  0.00 c c\n" + std::string(BODY_ONE));
}

TEST_F(SceneEditor, MouseDragsMoveRaiseAndTurnTheSelectedObject) {
  start("drags", "j 0 0 0 0 c c\n" + std::string(BODY_ONE));
  ObjectNode *node = editorObject;
  ASSERT_NE(node, nullptr);
  editorMouseWith(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 240, 0);
  EditorMotion(640, 240);  // the whole width: 5 m
  EditorMotion(640, 0);    // half the height up: 2.5 m
  editorMouseWith(GLUT_LEFT_BUTTON, GLUT_UP, 640, 0, 0);
  EXPECT_DOUBLE_EQ(node->position[0], 5.0);
  EXPECT_DOUBLE_EQ(node->position[1], 2.5);
  editorMouseWith(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 480, GLUT_ACTIVE_SHIFT);
  EditorMotion(100, 240);
  EXPECT_DOUBLE_EQ(node->position[2], 2.5);
  editorMouseWith(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0, GLUT_ACTIVE_CTRL);  // Ctrl + left: a turn
  EditorMotion(640, 0);
  EXPECT_DOUBLE_EQ(node->angles[2], 400.0);
  EXPECT_DOUBLE_EQ(node->position[0], 5.0);
  ToggleEditorEditMode(0);  // viewing: the mouse is the camera's
  EXPECT_EQ(editState, 0);
  EditorMotion(320, 0);
  EXPECT_DOUBLE_EQ(node->position[0], 5.0);
  ToggleEditorEditMode(0);
  EXPECT_EQ(editState, EDITING_OBJECTS);
  groundSelectedEditorObject();
  EXPECT_EQ(node->position[2], 0.0);
}

const char *const SEVEN_JUGGLERS =
    "j 0 0 0 0 c c\n 0 1 0 0 c c\n 0 2 0 0 c c\n 0 3 0 0 c c\n 0 4 0 0 c c\n 0 5 0 0 c c\n 0 6 0 0 c c\n"
    "*\n3 - - - - - - - - - - - - -\n- 3 - - - - - - - - - - - -\n";

// Adding is bounded by the pattern's jugglers: a juggler takes the place of a hidden one.
TEST_F(SceneEditor, JugglersAreAddedOnlyInPlaceOfHiddenOnes) {
  std::string path = start("add", "j 0 -1 0 0 c c\n 180 1 0 0 C C\n*\n3 - - -\n- 3 - -\n");
  EXPECT_EQ(AddEditorObject(0), EDITOR_NO_ROOM);
  ASSERT_NE(juggler(0), nullptr);
  ASSERT_EQ(DeleteCurrentEditorObject(), 0);
  EXPECT_EQ(editorJugglerCount, 1);
  ASSERT_NE(juggler(1), nullptr);
  EXPECT_EQ(DeleteCurrentEditorObject(), 4);  // the last juggler stays
  ASSERT_EQ(AddEditorObject(0), 0);
  EXPECT_EQ(selectedEditorJuggler(), 0);
  EXPECT_EQ(editorJugglerCount, 2);
  EXPECT_EQ(AddEditorObject(0), EDITOR_NO_ROOM);
  ASSERT_EQ(SaveEditorPattern(1), 0);
  EXPECT_NE(fileText(path).find("j\n   0\n 2.00  2.00  0.00 c c\n 180\n 1.00  0.00  0.00 C C\n"), std::string::npos)
      << fileText(path);
}

TEST_F(SceneEditor, CircleUsesRealDivisionAndShowsHiddenJugglersAsNeeded) {
  start("circle", SEVEN_JUGGLERS);
  for (int j : {3, 4, 5, 6}) {
    ASSERT_NE(juggler(j), nullptr);
    ASSERT_EQ(DeleteCurrentEditorObject(), 0);
  }
  ASSERT_EQ(editorJugglerCount, 3);
  circleRadius = 2.0;
  PlaceJugglersInCircle(111 + 5);
  EXPECT_EQ(editorJugglerCount, 5);
  for (int j = 0; j < 5; j++) {
    ObjectNode *n = juggler(j);
    ASSERT_NE(n, nullptr);
    EXPECT_FALSE(n->flags & NODE_HIDDEN) << j;
    double a = 72.0 * j;
    EXPECT_NEAR(n->position[0], 2.0 * cos(a / 57.29577951), 1e-9) << j;
    EXPECT_NEAR(n->position[1], 2.0 * sin(a / 57.29577951), 1e-9) << j;
    EXPECT_NEAR(n->angles[2], a - 180, 1e-9) << j;
  }
  EXPECT_TRUE(juggler(5)->flags & NODE_HIDDEN);

  PlaceJugglersInCircle(111 + 7);
  EXPECT_EQ(editorJugglerCount, 7);
  EXPECT_NEAR(juggler(1)->angles[2], 360.0 / 7 - 180, 1e-9);
  EXPECT_NEAR(juggler(6)->position[0], 2.0 * cos(360.0 / 7 * 6 / 57.29577951), 1e-9);
  double before = juggler(0)->position[0];
  PlaceJugglersInCircle(111 + 8);  // more than the pattern has: refused
  EXPECT_EQ(juggler(0)->position[0], before);
}

TEST_F(SceneEditor, WithSixVisibleAFiveCircleLeavesOneInPlace) {
  start("six", SEVEN_JUGGLERS);
  ASSERT_NE(juggler(6), nullptr);
  ASSERT_EQ(DeleteCurrentEditorObject(), 0);
  PlaceJugglersInCircle(111 + 5);
  EXPECT_EQ(editorJugglerCount, 6);
  EXPECT_DOUBLE_EQ(juggler(5)->position[0], 5.0);
  EXPECT_DOUBLE_EQ(juggler(5)->position[1], 0.0);
  EXPECT_TRUE(juggler(6)->flags & NODE_HIDDEN);
}

// A walking editor whose Tcl thread cannot start leaves the mode, the meters and the mouse as they were.
TEST_F(SceneEditor, AFailedStartLeavesEverythingAsItWas) {
  std::string path = writeTempPattern("failed", "j 0 0 0 0 c c\n" + std::string(BODY_ONE));
  files.push_back(path);
  ASSERT_EQ(loadPattern(path), 0);
  qMode.flags |= FLAG_METERS;
  editState = 0;
  qMode.main = 0;
  qSetMode(MAIN_WALKING_EDITOR, 0);  // no display: Tk cannot start
  EXPECT_EQ(qMode.main, 0);
  EXPECT_TRUE(qMode.flags & FLAG_METERS);
  EXPECT_EQ(editState, 0);
  EXPECT_EQ(editorObject, nullptr);
}

TEST_F(SceneEditor, HelpAndStatusScreens) {
  start("screens", "j 0 0.5 -0.25 0 c S\nz=1\n o/ring 0 1 1 0\n" + std::string(BODY_ONE));
  int width = 0, lines = 0;
  std::string help = editorHelpText(&width);
  EXPECT_NE(help.find(localText(2637)), std::string::npos);
  EXPECT_NE(help.find(localText(2636)), std::string::npos);
  EXPECT_LE(countTextLines(help.c_str()) + 1, 15);
  std::string status = editorStatusText(&lines);
  EXPECT_NE(status.find("     X: 0.500m\n     Y:-0.250m\n     Z: 0.000m\n"), std::string::npos) << status;
  EXPECT_NE(status.find("Right hand: S"), std::string::npos) << status;
  EXPECT_NE(status.find("Props:1"), std::string::npos) << status;
  EXPECT_LE(lines, 25);
}

std::string shownText;
int shownLines, shownColumns;

// In every language, with the remote control hidden or shown, for a juggler and for a prop, the
// window draws the whole editor status: beside the scene in a wide window, wrapped at the width of
// a narrow one.
TEST_F(SceneEditor, StatusScreenIsDrawnWholeInEveryLanguage) {
  start("status", "j 0 0.5 -0.25 0 c S\nz=1\n o/ring 0 1 1 0\n" + std::string(BODY_ONE));
  ObjectNode *juggler = editorObject, *prop = nullptr;
  for (ObjectNode *n = firstEditorNode(); n && !prop; n = n->next)
    if (!n->parent && !(n->flags & (NODE_JUGGLER | NODE_HIDDEN))) prop = n;
  ASSERT_NE(juggler, nullptr);
  ASSERT_NE(prop, nullptr);
  WindowCalls savedCalls = windowCalls;
  int savedLanguage = qPrefs.language, savedRemote = remoteState, savedFont = qPrefs.textFont;
  windowCalls.multiLineText = [](const char *text, int lines, int columns, int) {
    shownText = text;
    shownLines = lines;
    shownColumns = columns;
  };
  qPrefs.textFont = 0;  // 8 pixels a character
  for (int language = 0; language < LANGUAGE_COUNT; language++) {
    std::string path = sourcePath("data/l/") + languageNames[language];
    ASSERT_EQ(readLocalTextFile(language, path.c_str()), 0) << path;
    qPrefs.language = language;
    for (int remote : {REMOTE_HIDDEN, REMOTE_SHOWN}) {
      remoteState = remote;
      for (int width : {640, 160}) {
        qPrefs.width = width;
        for (ObjectNode *selected : {juggler, prop}) {
          SCOPED_TRACE(path + " remote " + std::to_string(remote) + " width " + std::to_string(width) +
                       (selected == juggler ? " juggler" : " prop"));
          editorObject = selected;
          int lines;
          std::string text = editorStatusText(&lines);
          shownText.clear();
          qFullStatusEditor();
          ASSERT_EQ(shownText, text);
          std::vector<std::string> drawn = drawnTextLines(shownText, shownLines, shownColumns);
          std::string joined, whole;
          for (const std::string &line : drawn) joined += line;
          for (char c : text)
            if (c != '\n') whole += c;
          EXPECT_EQ(joined, whole) << text;
          EXPECT_LE((shownColumns + 1) * 8 + 14, width);
          if (width == 640) {
            EXPECT_EQ(int(drawn.size()), lines) << "no line wraps beside the scene";
          }
        }
      }
    }
  }
  windowCalls = savedCalls;
  qPrefs.language = savedLanguage;
  qPrefs.textFont = savedFont;
  remoteState = savedRemote;
}

}  // namespace

namespace {

// In classic mode the juggled objects leave the picture while the editor runs, and the jugglers
// and props are drawn where the editor has them.
TEST_F(SceneEditor, ClassicModeShowsTheEditedSceneAsTheFixedPlacements) {
  std::string path = writeTempPattern("classic", "j 0 0 0 0 c c\nz=1\n o/ring 0 1 1 0\n" + std::string(BODY_ONE));
  files.push_back(path);
  ASSERT_EQ(loadPattern(path), 0);
  ASSERT_EQ(qPlaceJugglers(), 0);
  ASSERT_EQ(flyingPlacements, flyingObjects);
  currentPatternFile = path;
  qMode.main = MAIN_SCENE_EDITOR;
  ASSERT_EQ(StartEditor(), 0);
  EXPECT_NE(flyingPlacements, flyingObjects);
  EXPECT_EQ(flyingPlacements[1].model, PLACEMENT_END_FLYING);
  ASSERT_EQ(sceneObjectCount, 3);  // the juggler, the ring and the end record
  editorMouseWith(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0, 0);
  EditorMotion(128, 0);  // a fifth of the width: 1 m
  EXPECT_EQ(sceneObjects[0].x, 1000);
  EXPECT_EQ(sceneObjects[1].x, 1000);  // the ring stays
  SelectNextEditorObject();
  ASSERT_EQ(DeleteCurrentEditorObject(), 0);
  EXPECT_EQ(sceneObjectCount, 2);
  EXPECT_EQ(EndEditor(), 0);
  EXPECT_EQ(flyingPlacements, flyingObjects);
}

// Leaving reloads the pattern from its file. A converted siteswap asks first; a question that
// cannot be asked (no dialog opens here) leaves without saving and says so in the message line for
// a while, so the editor can always be left.
TEST_F(SceneEditor, LeavingReloadsAlsoWhenTheQuestionCannotBeAsked) {
  int (*savedClock)() = qGlutClockMs;
  static int clockMs = 1000;
  qGlutClockMs = [] { return clockMs; };
  std::string notice = localTextLine(2656);
  for (const char *siteswap : {"531", ""}) {
    SCOPED_TRACE(siteswap);
    std::string path = start("leave", "j 0 0 0 0 c c\n" + std::string(BODY_ONE));
    std::string before = fileText(path);
    snprintf(shownSiteswap, sizeof shownSiteswap, "%s", siteswap);
    restartRequest = 0;
    EXPECT_EQ(EndEditor(), 0);
    EXPECT_EQ(qMode.main, 0);
    EXPECT_EQ(restartRequest, 1);
    EXPECT_EQ(nextPatternAction, ACTION_RELOAD);
    EXPECT_EQ(editState, 0);
    EXPECT_EQ(fileText(path), before);
    EXPECT_EQ(std::string(messageLine), siteswap[0] ? notice : "");
    // The notice outlasts other texts and idle passes until its time is up.
    qGlutStatusText("another text", 3, STATUS_MESSAGE);
    qGlutExpireStatusLines();
    qGlutExpireStatusLines();
    EXPECT_EQ(std::string(messageLine), siteswap[0] ? notice : "");
    clockMs += NOTICE_MS;
    qGlutExpireStatusLines();
    qGlutExpireStatusLines();
    EXPECT_EQ(std::string(messageLine), "");
  }
  qGlutClockMs = savedClock;
}

// Each caller of the question dialog writes a request of exactly three lines, the question and its
// two answers, whatever line ends its texts bring along.
TEST_F(SceneEditor, EachQuestionRequestHasItsThreeLines) {
  std::string notation = "<a name=\"3\">\n";
  struct Case {
    const char *caller;
    std::function<void()> ask;
    std::vector<std::string> lines;
  } cases[] = {
      {"leaving the scene editor of a converted siteswap",
       [&] {
         start("ask", "j 0 0 0 0 c c\n" + std::string(BODY_ONE));
         snprintf(shownSiteswap, sizeof shownSiteswap, "%s", "531");
         EndEditor();
       },
       {localTextLine(2630), localTextLine(2646), localTextLine(2647)}},
      {"a start notation listed already",
       [&] {
         StartNotation n{};
         n.pattern = "531";
         n.hands = 2;
         std::string block = startNotationBlock(n, 3, "", "");
         writeWholeFile("notes.html", notation);
         ASSERT_EQ(addStartNotation("notes.html", n, block, 3), 0);
         EXPECT_NE(addStartNotation("notes.html", n, block, 3), 0);  // not added: no answer
       },
       {"531 exists already.", localTextLine(37), localTextLine(70)}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.caller);
    std::filesystem::remove(TCL_PASSING_FILE);
    testing::internal::CaptureStdout();
    c.ask();
    testing::internal::GetCapturedStdout();
    std::string request = fileText(TCL_PASSING_FILE);
    std::vector<std::string> lines;
    for (size_t at = 0, end;; at = end + 1) {
      end = request.find('\n', at);
      lines.push_back(request.substr(at, end - at));
      if (end == std::string::npos) break;
    }
    EXPECT_EQ(lines, c.lines) << request;
  }
}

// The panel's save writes the keyframes and leaves; once the editor is left, a late answer of the
// panel does nothing.
TEST_F(SceneEditor, WalkingEditorSaveWritesTheKeyframesAndLeaves) {
  const std::string section = "kf 1 j 0\nb 0.000,0.000; 0.500,0.000; 1.000,0.500; 1.000,1.000\ntang=1\nafp=0\nangle=0.0 90.0\nkf -1\n";
  std::string path = start("walking", "j 0 0 0 0 c c\n" + section + BODY_ONE);
  writeWholeFile(path, "j 0 0 0 0 c c\n" + std::string(BODY_ONE));
  qMode.main = MAIN_WALKING_EDITOR;
  walkingEditorMenu(97);
  EXPECT_EQ(qMode.main, 0);
  EXPECT_EQ(fileText(path), section + "j 0 0 0 0 c c\n" + BODY_ONE);
  writeWholeFile(path, "j 0 0 0 0 c c\n" + std::string(BODY_ONE));
  walkingEditorMenu(97);
  EXPECT_EQ(fileText(path), "j 0 0 0 0 c c\n" + std::string(BODY_ONE));
  int width = 0;
  std::string help = walkingEditorHelpText(&width);
  EXPECT_NE(help.find(localText(2635)), std::string::npos);
  EXPECT_LE(countTextLines(help.c_str()) + 1, 15);
}

}  // namespace

namespace {

int loadVrml(const std::string &path) {
  freshPatternState();
  qPrefs.vrml = 1;
  resetVRMLScene();
  currentPatternFile = path;
  return Muster_laden();
}

// In VRML mode the editor's objects are the model tree's top-level nodes.
TEST_F(SceneEditor, VrmlModeEditsTheModelTree) {
  ASSERT_EQ(allocObjectBuffers(), 0);
  ASSERT_EQ(allocVRMLBuffers(), 0);
  std::string path = writeTempPattern("vrml", fileText(sourcePath("data/m/3ball_props_camera")));
  files.push_back(path);
  ASSERT_EQ(loadVrml(path), 0);
  qMode.main = MAIN_SCENE_EDITOR;
  ASSERT_EQ(StartEditor(), 0);
  ASSERT_NE(qScene, nullptr);
  EXPECT_EQ(firstEditorNode(), qScene->next);
  EXPECT_EQ(editorJugglerCount, 1);
  EXPECT_EQ(editorObjectCount, 3);
  Scene before = loadedScene();
  ObjectNode *juggler = nullptr;
  for (ObjectNode *n = firstEditorNode(); n && !juggler; n = n->next)
    if (!n->parent && (n->flags & NODE_JUGGLER)) juggler = n;
  ASSERT_NE(juggler, nullptr);
  juggler->position[0] = 0.75;
  ASSERT_EQ(SaveEditorPattern(1), 0);
  qMode.main = 0;
  ASSERT_EQ(loadVrml(path), 0);
  before.jugglers[0].position[0] = 0.75;
  expectSameScene(before, loadedScene());
  freeVRMLAll();
}

int visibleTopNodes() {
  int n = 0;
  for (const ObjectNode *node = qScene; node; node = node->next) n += !node->parent && !(node->flags & NODE_HIDDEN);
  return n;
}

int noPick(int *rowOffset, int16_t *, int16_t *) {
  *rowOffset = 0;
  return 0;
}

// Each aid turned on before the editor starts: the editor counts and saves only the pattern's own
// props, so the file is the same as one saved without any aid.
TEST_F(SceneEditor, NoAidReachesTheSavedPattern) {
  ASSERT_EQ(allocObjectBuffers(), 0);
  ASSERT_EQ(allocVRMLBuffers(), 0);
  std::string temp = qPrefs.temp;
  qPrefs.temp = home + "/";
  AidCalls savedAidCalls = aidCalls;
  aidCalls.moveChooserCursor = noPick;
  const std::string original = fileText(sourcePath("data/m/3ball_props_camera"));
  std::string path = writeTempPattern("aids", original);
  files.push_back(path);
  struct Aid {
    const char *name;
    void (*turnOn)();
    bool inTheScene;  // its nodes join the scene list
  } aids[] = {
      {"no aid", [] {}, false},
      {"debug cross",
       [] {
         qOpenGL.invkin = 1;
         keyCommand(0, 'X');
         qOpenGL.invkin = 0;
       },
       true},
      {"object chooser",
       [] {
         qMode.main = MAIN_CHOOSER;
         chooserState = 1;
         selectObjectInBox();
         leaveObjectChooser();
         qMode.main = 0;
       },
       false},
      {"flight path", [] { toggleFlightPathDisplay(0); }, true},
      {"hand path", [] { toggleHandPathDisplay(0); }, true},
      {"walking path",
       [] {
         WalkingSegment segment = {0, {{0, 0, 0}, {0.5, 0, 0}, {1, 0.5, 0}, {1, 1, 0}}};
         qMakeVRMLWalkingPaths(1, &segment, 1);
       },
       true},
      {"height scale",
       [] {
         qMode.flags |= FLAG_HEIGHT_SCALE;
         toggleHelperObjects();
       },
       true},
      {"coordinate system",
       [] {
         qMode.flags |= FLAG_COORDINATES;
         toggleHelperObjects();
       },
       true},
      {"arrow", [] { qMode.flags |= FLAG_ARROW; }, false},
  };
  std::string savedWithoutAids;
  for (const Aid &aid : aids) {
    SCOPED_TRACE(aid.name);
    writeWholeFile(path, original);
    resetPathDisplay();
    ASSERT_EQ(loadVrml(path), 0);
    trackCurrentObject(nullptr);
    int shown = visibleTopNodes();
    aid.turnOn();
    EXPECT_EQ(visibleTopNodes() > shown, aid.inTheScene) << "the aid is shown";
    qMode.main = MAIN_SCENE_EDITOR;
    ASSERT_EQ(StartEditor(), 0);
    EXPECT_EQ(editorObjectCount, 3);
    ASSERT_EQ(SaveEditorPattern(1), 0);
    qMode.main = 0;
    qMode.flags = 0;
    if (savedWithoutAids.empty()) savedWithoutAids = fileText(path);
    else EXPECT_EQ(fileText(path), savedWithoutAids);
  }
  EXPECT_NE(savedWithoutAids.find("\nz=3\n"), std::string::npos) << savedWithoutAids;
  aidCalls = savedAidCalls;
  qPrefs.temp = temp;
  resetPathDisplay();
  freeObjectList(&qScene_CO);
  freeVRMLAll();
}

}  // namespace
