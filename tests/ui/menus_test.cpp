// The menu trees through a recorder in place of the GLUT menu calls, compared with golden trees in
// tests/ui/menu_trees/ (QUOIT_UPDATE_GOLDEN=1 writes them anew); the rebuild and when it waits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/uistate.h"
#include "pattern/store.h"
#include "tests/support/childprocess.h"
#include "tests/support/loadpattern.h"
#include "ui/glut_windows.h"
#include "ui/menus.h"

namespace {

struct RecordedEntry {
  std::string label;
  int value;    // the command value, or the submenu's id
  bool isMenu;
};

struct RecordedMenu {
  void (*callback)(int);
  std::vector<RecordedEntry> entries;
  bool destroyed = false;
};

struct Recorder {
  std::map<int, RecordedMenu> menus;
  int nextId = 1, current = 0, window = 0;
  std::map<int, int> attached;  // window -> menu
  std::vector<std::string> log;
};
Recorder rec;

MenuGlut recordingGlut() {
  MenuGlut g;
  g.createMenu = [](void (*callback)(int)) {
    int id = rec.nextId++;
    rec.menus[id] = RecordedMenu{callback, {}};
    rec.current = id;
    return id;
  };
  g.addEntry = [](const char *label, int value) { rec.menus[rec.current].entries.push_back({label, value, false}); };
  g.addSubMenu = [](const char *label, int menu) { rec.menus[rec.current].entries.push_back({label, menu, true}); };
  g.attachRight = [] {
    rec.attached[rec.window] = rec.current;
    rec.log.push_back("attach " + std::to_string(rec.window));
  };
  g.detachRight = [] {
    rec.attached.erase(rec.window);
    rec.log.push_back("detach " + std::to_string(rec.window));
  };
  g.destroyMenu = [](int menu) {
    EXPECT_FALSE(rec.menus[menu].destroyed) << "menu " << menu << " destroyed twice";
    rec.menus[menu].destroyed = true;
  };
  g.setWindow = [](int id) {
    EXPECT_NE(id, 0) << "a window that does not exist";
    if (id == qWindowIds[WIN_QRC] && remoteState != REMOTE_SHOWN) return 0;
    rec.window = id;
    return 1;
  };
  g.hideWindow = [] { rec.log.push_back("hide " + std::to_string(rec.window)); };
  return g;
}

void printMenu(int id, int depth, std::string &out) {
  const RecordedMenu &menu = rec.menus.at(id);
  for (const RecordedEntry &e : menu.entries) {
    out += std::string(size_t(depth) * 2, ' ') + e.label;
    if (e.isMenu) {
      out += " >\n";
      printMenu(e.value, depth + 1, out);
    } else {
      out += " -> " + std::to_string(e.value) + "\n";
    }
  }
}

// The tree attached to the 3D window, one line per entry, submenus indented below their entry.
std::string attachedTree() {
  auto it = rec.attached.find(qWindowIds[WIN_3D]);
  if (it == rec.attached.end()) return "(no menu attached)\n";
  std::string out;
  printMenu(it->second, 0, out);
  return out;
}

class MenuTest : public ::testing::Test {
 protected:
  MenuGlut savedGlut;
  CommandCalls savedCommands;
  QuoitPrefs savedPrefs;
  int savedIds[WINDOW_COUNT];
  void SetUp() override {
    savedGlut = menuGlut;
    savedCommands = commandCalls;
    savedPrefs = qPrefs;
    for (int i = 0; i < WINDOW_COUNT; i++) savedIds[i] = qWindowIds[i];
    menuGlut = recordingGlut();
    rec = Recorder();
    for (int &id : menuIds) id = 0;
    menuInUse = 0;
    menuHidePending = 0;
    menuRebuildPending = 0;
    qWindowIds[WIN_3D] = 1;
    qWindowIds[WIN_QRC] = 3;
    remoteState = REMOTE_NOT_OPENED;
    qMode = QuoitMode();
    qPrefs.vrml = 0;
    qPrefs.displayFlags = 0;
    qPrefs.multihand = 2;
    qPrefs.ss_opt = 0;
    qPrefs.current = 0;
    jugglers = 1;
    shownSiteswap[0] = 0;
    Siteswap_Text[0] = 0;
    qInlineCommentCount = 0;
    ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
    qPrefs.language = ENGLISH;
  }
  void TearDown() override {
    menuGlut = savedGlut;
    commandCalls = savedCommands;
    qPrefs = savedPrefs;
    for (int i = 0; i < WINDOW_COUNT; i++) qWindowIds[i] = savedIds[i];
    for (int &id : menuIds) id = 0;
    remoteState = REMOTE_NOT_OPENED;
    qMode = QuoitMode();
    jugglers = 0;
    freeLocalTexts();
  }
};

struct TreeCase {
  const char *golden;
  int64_t main;
  int vrml, benchmark, remote, jugglerCount, siteswap, comments;
};

TEST_F(MenuTest, TreesMatchTheGoldenTrees) {
  const TreeCase cases[] = {
      {"classic", 0, 0, 0, REMOTE_NOT_OPENED, 1, 0, 0},
      {"classic_remote_siteswap_12", 0, 0, 0, REMOTE_SHOWN, 12, 1, 1},
      {"vrml_remote_hidden", 0, 1, 0, REMOTE_HIDDEN, 1, 0, 0},
      {"benchmark", 0, 0, 2, REMOTE_SHOWN, 1, 0, 0},
      {"chooser", MAIN_CHOOSER, 0, 0, REMOTE_NOT_OPENED, 1, 0, 0},
      {"scene_editor", MAIN_SCENE_EDITOR, 0, 0, REMOTE_NOT_OPENED, 2, 0, 0},
      {"walking_editor", MAIN_WALKING_EDITOR, 0, 0, REMOTE_NOT_OPENED, 2, 0, 0},
  };
  for (const TreeCase &c : cases) {
    SCOPED_TRACE(c.golden);
    rec = Recorder();
    for (int &id : menuIds) id = 0;
    qMode.main = c.main;
    qMode.benchmark = c.benchmark;
    qPrefs.vrml = c.vrml;
    remoteState = c.remote;
    jugglers = c.jugglerCount;
    snprintf(shownSiteswap, sizeof shownSiteswap, "%s", c.siteswap ? "531" : "");
    snprintf(Siteswap_Text, sizeof Siteswap_Text, "%s", c.siteswap ? "531" : "");
    qInlineCommentCount = c.comments;
    qGlutMakeMenu();
    std::string tree = attachedTree();
    std::string path = sourcePath(std::string("tests/ui/menu_trees/") + c.golden + ".txt");
    if (getenv("QUOIT_UPDATE_GOLDEN")) childprocess::writeFile(path, tree);
    EXPECT_EQ(tree, childprocess::readFile(path));
    // The remote control carries the same menu while it is shown.
    if (c.remote == REMOTE_SHOWN) EXPECT_EQ(rec.attached[qWindowIds[WIN_QRC]], rec.attached[qWindowIds[WIN_3D]]);
    else EXPECT_EQ(rec.attached.count(qWindowIds[WIN_QRC]), 0u);
    EXPECT_EQ(rec.window, qWindowIds[WIN_3D]) << "the 3D window is current again";
  }
}

// Presets exist for jugglers 1 to 10: the entries of jugglers 11 and 12 send nothing, neither a
// camera preset from the view-preset menu nor anything else.
TEST_F(MenuTest, PresetEntriesBeyondTheTenthJugglerDoNothing) {
  jugglers = 12;
  qGlutMakeMenu();
  const RecordedMenu &views = rec.menus.at(menuIds[MENU_VIEW_PRESETS]);
  const RecordedMenu &cameras = rec.menus.at(menuIds[MENU_CAMERA_PRESETS]);
  ASSERT_EQ(views.entries.size(), 12u);
  ASSERT_EQ(cameras.entries.size(), 12u);
  for (int i = 0; i < 12; i++) {
    EXPECT_EQ(views.entries[i].value, i < 10 ? 10000 + i : 0) << i;
    EXPECT_EQ(cameras.entries[i].value, i < 10 ? 10010 + i : 0) << i;
  }
  for (int i = 0; i < 12; i++) {
    qMode.viewPreset = qMode.cameraPreset = 0;
    views.callback(views.entries[i].value);
    EXPECT_EQ(qMode.viewPreset, i < 10 ? i + 1 : 0) << i;
    EXPECT_EQ(qMode.cameraPreset, 0) << i;
    cameras.callback(cameras.entries[i].value);
    EXPECT_EQ(qMode.cameraPreset, i < 10 ? i + 1 : 0) << i;
  }
}

// A rebuild detaches the menu from both windows, destroys every menu of the old tree and builds the
// tree of the new main mode; the first build after start-up hides the 3D window once.
TEST_F(MenuTest, RebuildReplacesTheWholeTree) {
  remoteState = REMOTE_SHOWN;
  menuHidePending = 1;
  qGlutMakeMenu();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"attach 1", "attach 3", "hide 1"}));
  std::vector<int> oldTree;
  for (int id : menuIds)
    if (id) oldTree.push_back(id);
  EXPECT_EQ(oldTree.size(), size_t(MENU_SLOTS));
  rec.log.clear();
  qMode.main = MAIN_CHOOSER;
  qGlutRemakeMenu();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"detach 3", "detach 1", "attach 1", "attach 3"}));
  for (int id : oldTree) EXPECT_TRUE(rec.menus[id].destroyed) << id;
  EXPECT_EQ(menuKind, MENU_CHOOSER);
  EXPECT_EQ(rec.menus[menuIds[MENU_TOP]].entries.size(), 3u);
}

// At start-up the menu is built before the remote control opens; the main loop's build replaces
// the tree and gives the remote control the menu too.
TEST_F(MenuTest, StartUpBuildsBeforeTheRemoteControlOpens) {
  remoteState = REMOTE_SHOWN;
  qWindowIds[WIN_QRC] = 0;
  qGlutMakeMenu();
  EXPECT_EQ(rec.log, std::vector<std::string>{"attach 1"});
  int first = menuIds[MENU_TOP];
  qWindowIds[WIN_QRC] = 3;
  rec.log.clear();
  qGlutMakeMenu();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"detach 3", "detach 1", "attach 1", "attach 3"}));
  EXPECT_TRUE(rec.menus[first].destroyed);
  EXPECT_EQ(rec.attached[3], menuIds[MENU_TOP]);
}

// No tree, no rebuild: in a benchmark the single menu is not a tree.
TEST_F(MenuTest, BenchmarkMenuIsNotRebuilt) {
  qMode.benchmark = 1;
  qGlutMakeMenu();
  EXPECT_EQ(menuIds[MENU_TOP], 0);
  size_t before = rec.menus.size();
  qGlutRemakeMenu();
  EXPECT_EQ(rec.menus.size(), before);
  EXPECT_TRUE(rec.log == std::vector<std::string>{"attach 1"});
}

// A rebuild asked for while a menu is shown, or from a menu callback, waits for the idle pass.
TEST_F(MenuTest, RebuildWaitsWhileAMenuIsInUse) {
  qGlutMakeMenu();
  int top = menuIds[MENU_TOP];
  menuInUse = 1;
  qGlutRemakeMenu();
  EXPECT_EQ(menuIds[MENU_TOP], top);
  EXPECT_EQ(menuRebuildPending, 1);
  menuInUse = 0;
  menuRebuildPending = 0;

  // The language entry from the menu itself: the labels change on the next rebuild.
  const RecordedMenu &languages = rec.menus.at(menuIds[MENU_LANGUAGE]);
  ASSERT_EQ(languages.entries[0].label, "deutsch");
  ASSERT_EQ(readLocalTextFile(0, sourcePath("data/l/deutsch").c_str()), 0);
  languages.callback(languages.entries[0].value);
  EXPECT_EQ(qPrefs.language, 0);
  EXPECT_EQ(menuIds[MENU_TOP], top);
  EXPECT_EQ(menuRebuildPending, 1);
  menuRebuildPending = 0;
  qGlutRemakeMenu();
  EXPECT_NE(menuIds[MENU_TOP], top);
  const RecordedMenu &general = rec.menus.at(menuIds[MENU_TOP]);
  EXPECT_EQ(general.entries[1].label, "Allgemein");
}

}  // namespace
