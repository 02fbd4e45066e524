// The command tables against a fake mode machine: what each command value of the menus and the
// remote-control buttons asks of the mode machine and the rest of the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/uistate.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/kinematics.h"
#include "scene/objects.h"
#include "scene/vrml/modeltree.h"
#include "tests/support/loadpattern.h"
#include "ui/editor.h"
#include "ui/menus.h"

namespace {

std::vector<std::string> calls;
int fakeSpeed;
int fakeSelectedJuggler;

std::string hex(unsigned long long v) {
  char text[32];
  snprintf(text, sizeof text, "0x%llx", v);
  return text;
}

CommandCalls fakeCommandCalls() {
  CommandCalls c;
  c.setMode = [](uint32_t low, uint32_t high) {
    calls.push_back("mode " + hex((uint64_t(high) << 32) | low));
    return 0;
  };
  c.setModeValue = [](uint32_t low, uint32_t high, int32_t value, int32_t valueHigh) {
    calls.push_back("value " + hex((uint64_t(high) << 32) | low) + " " + std::to_string(value) +
                    (valueHigh == (value < 0 ? -1 : 0) ? "" : " bad high half"));
    return 0;
  };
  c.getMode = [](int type) {
    calls.push_back("get " + std::to_string(type));
    return fakeSpeed;
  };
  c.fullScreen = [] { calls.push_back("full screen"); };
  c.remoteToggle = [] { calls.push_back("remote"); };
  c.stepPattern = [](int command) { calls.push_back("step " + std::to_string(command)); };
  c.printAbout = [] { calls.push_back("about"); };
  c.remakeMenu = [] { calls.push_back("menu"); };
  c.selectObjectInBox = [] { calls.push_back("select in box " + hex(uint64_t(qMode.main))); };
  c.debugInfo = [](int code) { calls.push_back("debuginfo " + std::to_string(code)); };
  c.handPathDisplay = [](int op) { calls.push_back("hand paths " + std::to_string(op)); };
  c.checkLanguages = [] { calls.push_back("check languages"); };
  c.nextEditorObject = [] { calls.push_back("next editor object"); };
  c.resetEditorView = [] { calls.push_back("reset editor view"); };
  c.addEditorObject = [](int what) {
    calls.push_back("add " + std::to_string(what));
    return 0;
  };
  c.deleteEditorObject = [] {
    calls.push_back("delete");
    return 0;
  };
  c.saveEditorPattern = [](int how) {
    calls.push_back("save " + std::to_string(how));
    return 0;
  };
  c.endEditor = [] {
    calls.push_back("end editor");
    return 0;
  };
  c.selectedJuggler = [] { return fakeSelectedJuggler; };
  c.centreEditorObject = [] { calls.push_back("centre"); };
  c.groundEditorObject = [] { calls.push_back("ground"); };
  c.placeInCircle = [](int value) { calls.push_back("circle " + std::to_string(value)); };
  c.toggleEditMode = [](int how) { calls.push_back("edit mode " + std::to_string(how)); };
  return c;
}

class CommandTest : public ::testing::Test {
 protected:
  CommandCalls saved;
  QuoitPrefs savedPrefs;
  void SetUp() override {
    saved = commandCalls;
    savedPrefs = qPrefs;
    commandCalls = fakeCommandCalls();
    calls.clear();
    fakeSpeed = 100;
    fakeSelectedJuggler = -1;
    qMode = QuoitMode();
    textRefresh = 0;
    qOpenGL.invkin = 0;
    jugglers = 2;
  }
  void TearDown() override {
    commandCalls = saved;
    qPrefs = savedPrefs;
    qMode = QuoitMode();
    qOpenGL.invkin = 0;
    jugglers = 0;
    freeLocalTexts();
  }
};

struct Case {
  int value;
  std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST_F(CommandTest, MainTable) {
  const Case cases[] = {
      {1, {"mode 0x1000000"}},
      {2, {"mode 0x4"}},
      {3, {"mode 0x2"}},
      {4, {"mode 0x6"}},
      {5, {"mode 0x7"}},
      {6, {"mode 0x9"}},
      {7, {"mode 0x8"}},
      {8, {"mode 0x10000000"}},
      {9, {"mode 0x1", "value 0x19000000 0"}},
      {10, {"mode 0x8000000"}},
      {11, {"mode 0x3"}},
      {12, {"mode 0x10"}},
      {13, {"mode 0x20"}},
      {14, {"full screen"}},
      {15, {"remote"}},
      {16, {"mode 0xa000"}},
      {17, {"mode 0x5000"}},
      {18, {"mode 0xb000"}},
      {19, {"mode 0x400000"}},
      {20, {"mode 0x200000"}},
      {21, {"step 21"}},
      {22, {"step 22"}},
      {23, {"get 8", "value 0x8 110"}},
      {24, {"get 8", "value 0x8 90"}},
      {25, {"value 0x8 100"}},
      {26, {"value 0x8 50"}},
      {27, {"value 0x8 0"}},
      {28, {"value 0x8 -100"}},
      {29, {"value 0x8 -50"}},
      {30, {"mode 0x100"}},
      {31, {"mode 0x200"}},
      {32, {"mode 0x300"}},
      {33, {"mode 0x9000"}},
      {34, {"mode 0x4000", "mode 0x400"}},
      {35, {"mode 0x800"}},
      {36, {"mode 0xc00"}},
      {38, {"mode 0x3000"}},
      {39, {"mode 0xc000"}},
      {40, {"mode 0x40000000"}},
      {41, {"mode 0x40000"}},
      {42, {"mode 0x50000"}},
      {43, {"about"}},
      {44, {"mode 0x40"}},
      {50, {"mode 0x6000"}},
      {51, {"mode 0x7000"}},
      {52, {"mode 0xf000"}},
      {53, {"mode 0x8000"}},
      {54, {"mode 0xd000"}},
      {55, {"mode 0x10000"}},
      {56, {"mode 0x60000"}},
      {57, {"mode 0x100000000"}},
      {58, {"mode 0x2000"}},
      {59, {"mode 0x1000"}},
      {60, {"mode 0x80000000"}},
      {61, {"mode 0x200000000"}},
      {62, {"mode 0xe000"}},
      {63, {"mode 0x20000000"}},
      {90, {"mode 0x50"}},
      {139, {"select in box 0x80"}},
      {140, {"mode 0x60"}},
      // Values that do nothing here, and debug values that the main table passes on.
      {0, {}},
      {37, {}},
      {45, {}},
      {49, {}},
      {67, {}},
      {68, {}},
      {91, {}},
      {10020, {}},
      {71, {"debuginfo 71"}},
      {87, {"hand paths 0"}},
      {88, {"check languages"}},
  };
  for (const Case &c : cases) {
    calls.clear();
    qMode.main = 0;
    qGlutMenu(c.value);
    EXPECT_EQ(calls, c.calls) << "value " << c.value;
  }
}

// Speed steps ask the mode machine for the speed and hand it the new one, which it may refuse.
TEST_F(CommandTest, SpeedStepsStartFromTheCurrentSpeed) {
  fakeSpeed = -195;
  qGlutMenu(24);
  EXPECT_EQ(calls, (Calls{"get 8", "value 0x8 -205"}));
}

TEST_F(CommandTest, PresetsAreOneShotsOfTheFrameStep) {
  qGlutMenu(10000);
  EXPECT_EQ(qMode.viewPreset, 1);
  qGlutMenu(10009);
  EXPECT_EQ(qMode.viewPreset, 10);
  qGlutMenu(10010);
  EXPECT_EQ(qMode.cameraPreset, 1);
  qGlutMenu(10019);
  EXPECT_EQ(qMode.cameraPreset, 10);
  EXPECT_TRUE(calls.empty());
}

// A language rebuilds the menus and refreshes the texts; one without texts is refused.
TEST_F(CommandTest, LanguageEntries) {
  ASSERT_EQ(readLocalTextFile(3, sourcePath("data/l/espanol").c_str()), 0);
  qPrefs.language = ENGLISH;
  qGlutMenu(69);
  EXPECT_EQ(qPrefs.language, 3);
  EXPECT_EQ(textRefresh, 2);
  EXPECT_EQ(calls, (Calls{"menu"}));
  calls.clear();
  textRefresh = 0;
  qGlutMenu(64);
  EXPECT_EQ(qPrefs.language, 3);
  EXPECT_EQ(textRefresh, 0);
  EXPECT_TRUE(calls.empty());
}

TEST_F(CommandTest, EditorTable) {
  const Case cases[] = {
      {18, {"mode 0xb000"}},  {33, {"mode 0x9000"}},         {38, {"mode 0x3000"}},
      {60, {"mode 0x80000000"}}, {91, {"next editor object"}}, {92, {"reset editor view"}},
      {93, {"add 0"}},        {94, {"add 1"}},               {95, {"delete"}},
      {96, {"save 0"}},       {97, {"save 1", "end editor"}}, {98, {"end editor"}},
      {109, {"centre"}},      {110, {"ground"}},             {114, {"circle 114"}},
      {131, {"circle 131"}},  {138, {"edit mode 0"}},        {12, {}},
      {44, {}},               {111, {}},                     {132, {}},
      {72, {"debuginfo 72"}},
  };
  for (const Case &c : cases) {
    calls.clear();
    EditorMenu(c.value);
    EXPECT_EQ(calls, c.calls) << "value " << c.value;
  }
}

TEST_F(CommandTest, CircleRadius) {
  const double radii[] = {1.0, 1.5, 2.0, 2.5, 3.0, 3.5};
  for (int i = 0; i < 6; i++) {
    EditorMenu(132 + i);
    EXPECT_DOUBLE_EQ(circleRadius, radii[i]);
  }
  circleRadius = 2.0;
}

// The hand-kind entries set the kind of throw of the selected juggler's hand; on a prop they
// change nothing.
TEST_F(CommandTest, HandKindsOfTheSelectedJuggler) {
  std::vector<Fangwurf> hands(4);
  Fangwurf *savedHands = fangwurf;
  fangwurf = hands.data();
  struct KindCase {
    int value, hand, flag;
  } kinds[] = {{99, 2, 0x100},  {100, 2, 0x200},  {101, 2, 0x800},  {102, 2, 0x400},  {103, 2, 0x10000},
               {104, 3, 0x100}, {105, 3, 0x200}, {106, 3, 0x800}, {107, 3, 0x400}, {108, 3, 0x10000}};
  fakeSelectedJuggler = 1;
  for (const KindCase &k : kinds) {
    EditorMenu(k.value);
    EXPECT_EQ(hands[size_t(k.hand)].flag, k.flag) << k.value;
  }
  for (Fangwurf &h : hands) h.flag = 0;
  for (int selected : {-1, 2}) {
    fakeSelectedJuggler = selected;
    for (int value = 99; value <= 108; value++) EditorMenu(value);
    for (const Fangwurf &h : hands) EXPECT_EQ(h.flag, 0) << "selected " << selected;
  }
  fangwurf = savedHands;
}

// The arm test mode steps through the jugglers and switches off after the last one.
TEST_F(CommandTest, InvKinStepsThroughTheJugglers) {
  const int expected[] = {1, 2, 0, 1};
  for (int e : expected) {
    qGlutDebugMenu(81);
    EXPECT_EQ(qOpenGL.invkin, e);
  }
}

// The debug menu's dumps on a small scene, run in a scratch working directory: each writes its own
// text to the trace, 80 the page "VRMLdebug.html"; in classic mode those that walk the model tree
// say so in one line and write nothing else.
TEST_F(CommandTest, DebugDumpsWriteWhatTheyName) {
  ObjectNode scene{}, ball{}, chooser{};
  scene.next = scene.brother = &ball;
  snprintf(scene.name, sizeof scene.name, "Karoboden");
  snprintf(ball.name, sizeof ball.name, "redball");
  ball.number = 1;
  std::vector<LoadedObject> table(OBJECT_RECORDS);
  snprintf(table[0].name, sizeof table[0].name, "v/basic/ball.wrl");
  table[0].objektnummer = 7;
  table[0].node = &ball;
  ObjectNode *savedScene = qScene, *savedChooser = qScene_CO;
  LoadedObject *savedTable = objekt_geladen;
  int savedCount = loadedObjectCount, savedVrml = qPrefs.vrml;
  qScene = &scene;
  qScene_CO = &chooser;
  objekt_geladen = table.data();
  loadedObjectCount = 1;
  jugglers = 1;
  std::filesystem::path previous = std::filesystem::current_path();
  char pattern[] = "/tmp/quoit-debugdumps-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::filesystem::path dir = pattern;
  std::filesystem::current_path(dir);
  std::filesystem::path page = dir / "VRMLdebug.html";

  struct Dump {
    int value;
    const char *name;
    std::vector<std::string> trace;  // what the trace holds in VRML mode
    bool walksModelTree;
  } dumps[] = {
      {76, "printSCENEBuffer", {"\n: printSCENEBuffer :\n\n\nqScene = " + hex(uintptr_t(&scene)) + "\n", "\nnd  1 "}, true},
      {77, "printSCENEBuffer_CO", {"\n: printSCENEBuffer :\n\n\nqScene_CO = " + hex(uintptr_t(&chooser)) + "\n"}, true},
      {78, "printVRMLBuffer", {"\n: printVRMLBuffer :\n\n", "Object  1: redball  "}, true},
      {79, "printInvKinTable", {"JUGGLER 0:\n               HeadUp: 0x0\n"}, true},
      {80, "writeHTMLdebugFile", {"Wrote VRMLdebug.html \n"}, true},
      {82, "print_objekt_geladen", {"\n: print_objekt_geladen :\n\nobj_gel[0]: objektnummer=  7  objnode=0x"}, true},
      {89, "qGlDumpStates", {"\nOpenGL states:\nGL_DOUBLEBUFFER = ", "GL_MAX_LIGHTS = "}, false},
  };
  for (const Dump &d : dumps) {
    SCOPED_TRACE(d.name);
    for (int vrml : {1, 0}) {
      SCOPED_TRACE(vrml ? "VRML mode" : "classic mode");
      qPrefs.vrml = vrml;
      std::filesystem::remove(page);
      testing::internal::CaptureStdout();
      qGlutDebugMenu(d.value);
      std::string trace = testing::internal::GetCapturedStdout();
      EXPECT_TRUE(calls.empty());
      if (!vrml && d.walksModelTree) {
        EXPECT_EQ(trace, std::string(d.name) + ": classic mode has no model tree to dump\n");
        EXPECT_FALSE(std::filesystem::exists(page));
        continue;
      }
      for (const std::string &part : d.trace) EXPECT_NE(trace.find(part), std::string::npos) << trace;
      EXPECT_EQ(std::filesystem::exists(page), d.value == 80);
    }
  }
  qPrefs.vrml = 1;
  qGlutDebugMenu(80);
  std::ifstream in(page);
  std::stringstream html;
  html << in.rdbuf();
  EXPECT_NE(html.str().find("<h1>Quoit VRML Tree</h1>"), std::string::npos);
  EXPECT_NE(html.str().find(">redball</a>"), std::string::npos) << html.str();

  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  qScene = savedScene;
  qScene_CO = savedChooser;
  objekt_geladen = savedTable;
  loadedObjectCount = savedCount;
  qPrefs.vrml = savedVrml;
}

}  // namespace
