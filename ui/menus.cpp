// The four menu trees (main, scene editor, object chooser, walking editor) on the right mouse button
// of the 3D window and the remote control, built for the current main mode and rebuilt when it, the
// pattern or the language changes. GLUT ends the program when a menu changes while one is shown, so
// a rebuild asked for then, or from a menu callback, waits for the next idle pass.
#include "ui/menus.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <string>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/uistate.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "ui/glut_windows.h"
#include "ui/walkingeditor.h"

int menuKind;
int menuIds[MENU_SLOTS];
int menuInUse;

static int insideMenuCallback;

static void menuStatusChanged(int status, int, int) { menuInUse = status == GLUT_MENU_IN_USE; }

static int glutCreate(void (*callback)(int)) {
  glutMenuStatusFunc(menuStatusChanged);
  return glutCreateMenu(callback);
}
static void glutAttachRight() { glutAttachMenu(GLUT_RIGHT_BUTTON); }
static void glutDetachRight() { glutDetachMenu(GLUT_RIGHT_BUTTON); }
static void glutHideCurrent() { glutHideWindow(); }

MenuGlut menuGlut = {glutCreate,      glutAddMenuEntry, glutAddSubMenu, glutAttachRight,
                     glutDetachRight, glutDestroyMenu,  qGlutSetWindow, glutHideCurrent};

// The menu callbacks: a rebuild that a command asks for waits until the callback has returned.
static void mainMenuChosen(int value) {
  insideMenuCallback = 1;
  qGlutMenu(value);
  insideMenuCallback = 0;
}

static void editorMenuChosen(int value) {
  insideMenuCallback = 1;
  EditorMenu(value);
  insideMenuCallback = 0;
}

static void walkingMenuChosen(int value) {
  insideMenuCallback = 1;
  walkingEditorMenu(value);
  insideMenuCallback = 0;
}

static void entry(int text, int value) { menuGlut.addEntry(localTextLine(text).c_str(), value); }
static void keyEntry(int text, const char *key, int value) { menuGlut.addEntry(textWithKey(text, key), value); }
static void textKeyEntry(int text, int keyText, int value) {
  std::string key = localTextLine(keyText);
  menuGlut.addEntry(textWithKey(text, key.c_str()), value);
}
static void subMenu(int text, int slot) { menuGlut.addSubMenu(localTextLine(text).c_str(), menuIds[slot]); }
static void keySubMenu(int text, const char *key, int slot) { menuGlut.addSubMenu(textWithKey(text, key), menuIds[slot]); }
static void separator() { entry(2009, 0); }
static void create(int slot, void (*callback)(int)) { menuIds[slot] = menuGlut.createMenu(callback); }

static bool vrmlMode() { return qPrefs.vrml != 0; }
// The remote control carries the menu while it is shown; at start-up it is not open yet.
static bool remoteWindow() {
  return remoteState == REMOTE_SHOWN && qWindowIds[WIN_QRC] && menuGlut.setWindow(qWindowIds[WIN_QRC]);
}

void qGlutMakeDebugMenu(void (*callback)(int)) {
  create(MENU_DEBUG, callback);
  struct DebugEntry {
    const char *label;
    int value;
  };
  static const DebugEntry vrmlEntries[] = {
      {"show hand path points    [i]", 87},   {"writeHTMLdebugFile for VRML tree", 80},
      {"direct InvKin: next juggler", 81},    {"printINVKIN", 79},
      {"printSCENEBuffer", 76},               {"printSCENEBuffer_CO", 77},
      {"printVRMLBuffer", 78},
  };
  static const DebugEntry entries[] = {
      {"print_objekt_geladen", 82},    {"outputFlugbahnen    [Backspace]", 71}, {"outputHandbahnen   [Del]", 72},
      {"outputMuster", 73},            {"debug window    [NKP *]", 75},          {"generate QMSG_INFO", 83},
      {"generate QMSG_ERROR", 84},     {"generate QMSG_REPORT", 85},             {"generate QMSG_DEBUG", 86},
      {"query OpenGL states", 89},     {"check languages", 88},
  };
  if (vrmlMode())
    for (const DebugEntry &e : vrmlEntries) menuGlut.addEntry(e.label, e.value);
  for (const DebugEntry &e : entries) menuGlut.addEntry(e.label, e.value);
}

// The save-siteswap entry: for patterns with more than two hands per juggler, or when a siteswap
// stands behind the pattern and the converter options leave its start notation alone.
static bool startNotationOffered() {
  if (qPrefs.multihand > 2) return true;
  if (qPrefs.ss_opt != 0) return false;
  return ((qPrefs.current == 1 || qPrefs.current == 2) && jugglers == 1) || Siteswap_Text[0];
}

// Presets exist for jugglers 1 to 10 only: the entries of further jugglers do nothing.
static void presetMenus() {
  create(MENU_VIEW_PRESETS, mainMenuChosen);
  for (int i = 1; i <= jugglers && i <= MAX_JUGGLERS; i++) {
    char label[32];
    if (i <= 9) snprintf(label, sizeof label, "   %d    [%d]", i, i);
    else snprintf(label, sizeof label, "   %d   ", i);
    menuGlut.addEntry(label, i <= PRESET_COUNT ? VALUE_VIEW_PRESET + i - 1 : 0);
  }
  create(MENU_CAMERA_PRESETS, mainMenuChosen);
  for (int i = 1; i <= jugglers && i <= MAX_JUGGLERS; i++) {
    char label[32];
    if (i <= PRESET_COUNT) snprintf(label, sizeof label, "   %d    [F%d]", i, i);
    else snprintf(label, sizeof label, "   %d   ", i);
    menuGlut.addEntry(label, i <= PRESET_COUNT ? VALUE_CAMERA_PRESET + i - 1 : 0);
  }
}

static void buildMainMenu() {
  menuKind = MENU_MAIN;
  if (qMode.benchmark) {
    menuGlut.createMenu(mainMenuChosen);
    textKeyEntry(2010, 474, 44);
    return;
  }
  // Display mode 6 has no key of its own ('i' is the hand-path key), so its entry names none.
  create(MENU_DISPLAY, mainMenuChosen);
  keyEntry(2100, "S", 1);
  keyEntry(2104, "s", 6);
  keyEntry(2109, "m", 10);
  keyEntry(2110, "d", 11);
  keyEntry(2103, "O", 5);
  keyEntry(2101, "n", 2);
  if (!vrmlMode()) keyEntry(2107, "g", 3);
  keyEntry(2105, "D", 7);
  if (!vrmlMode()) entry(2102, 4);
  keyEntry(2108, "q", 8);
  keyEntry(2401, "R", 9);

  create(MENU_LANGUAGE, mainMenuChosen);
  menuGlut.addEntry("deutsch", 64);
  menuGlut.addEntry("english", 65);
  menuGlut.addEntry("fran\xe7" "ais", 66);
  menuGlut.addEntry("espanol", 69);
  menuGlut.addEntry("catala", 70);

  create(MENU_GENERAL, mainMenuChosen);
  textKeyEntry(2200, 470, 12);
  textKeyEntry(392, 477, 21);
  textKeyEntry(393, 478, 22);
  keyEntry(2205, "c", 13);
  if (!(qPrefs.displayFlags & 1)) {
    keyEntry(2201, "W", 14);
    if (remoteState != REMOTE_NOT_OPENED) keyEntry(2202, "J", 15);
  }
  keyEntry(2207, "u", 19);
  keyEntry(2208, "t", 20);
  entry(2401, 17);
  keySubMenu(2206, "l", MENU_LANGUAGE);
  separator();
  entry(2011, 43);

  create(MENU_SPEED, mainMenuChosen);
  keyEntry(2300, "+", 23);
  keyEntry(2301, "-", 24);
  keyEntry(2302, "w", 25);
  keyEntry(2303, "E", 26);
  keyEntry(2304, "e", 27);
  entry(2306, 29);
  entry(2305, 28);

  presetMenus();

  create(MENU_CAMERA, mainMenuChosen);
  entry(2404, 30);
  textKeyEntry(2400, 472, 33);
  keyEntry(206, "b", 31);
  keyEntry(207, "o", 32);
  separator();
  keyEntry(2406, "Tab", 39);
  subMenu(2407, MENU_CAMERA_PRESETS);
  subMenu(2408, MENU_VIEW_PRESETS);
  keyEntry(2409, "a", 40);
  keyEntry(2402, "v", 35);
  keyEntry(2403, "k", 36);
  keyEntry(2401, "r", 34);

  create(MENU_PATHS, mainMenuChosen);
  keyEntry(2500, "f", 59);
  keyEntry(2508, "F", 62);
  keyEntry(2501, "M", 57);
  keyEntry(2602, "K", 60);
  keyEntry(2502, "j", 58);
  keyEntry(2506, "z", 61);
  if (qInlineCommentCount > 0) keyEntry(2511, "Z", 63);

  create(MENU_EXPORT, mainMenuChosen);
  keyEntry(2405, "p", 38);
  if (shownSiteswap[0]) keyEntry(2507, "P", 54);
  keyEntry(2411, "T", 42);
  if (startNotationOffered()) {
    char label[256];
    snprintf(label, sizeof label, "%s    [%s-s]", localTextLine(2412).c_str(), localTextLine(471).c_str());
    menuGlut.addEntry(label, 56);
  }
  entry(2505, 53);

  qGlutMakeDebugMenu(mainMenuChosen);

  create(MENU_TOP, mainMenuChosen);
  menuGlut.addSubMenu("debug (>debug.quoit.txt)", menuIds[MENU_DEBUG]);
  subMenu(2002, MENU_GENERAL);
  subMenu(2001, MENU_DISPLAY);
  subMenu(2003, MENU_SPEED);
  subMenu(2004, MENU_CAMERA);
  if (vrmlMode()) entry(2600, 90);
  subMenu(2006, MENU_EXPORT);
  subMenu(2005, MENU_PATHS);
  separator();
  keyEntry(2204, "?", 18);
  separator();
  textKeyEntry(2010, 474, 44);
}

static void buildChooserMenu() {
  menuKind = MENU_CHOOSER;
  create(MENU_TOP, mainMenuChosen);
  entry(2410, 139);
  separator();
  entry(2010, 44);
}

static void buildEditorMenu() {
  menuKind = MENU_EDITOR;
  static const int kindTexts[5] = {2615, 2616, 2617, 2618, 2619};  // c, C, f, b, S
  static const int leftValues[5] = {99, 100, 102, 101, 103};
  create(MENU_LEFT_KINDS, editorMenuChosen);
  for (int i = 0; i < 5; i++) entry(kindTexts[i], leftValues[i]);
  create(MENU_RIGHT_KINDS, editorMenuChosen);
  for (int i = 0; i < 5; i++) entry(kindTexts[i], leftValues[i] + 5);

  create(MENU_RADIUS, editorMenuChosen);
  for (int i = 0; i < 6; i++) {
    char label[32];
    snprintf(label, sizeof label, "%3.1f m", 1.0 + 0.5 * i);
    menuGlut.addEntry(label, 132 + i);
  }

  create(MENU_CIRCLE, editorMenuChosen);
  subMenu(2625, MENU_RADIUS);
  separator();
  std::string format = localTextLine(2612);
  for (int n = 3; n <= 20; n++) {
    char label[128];
    snprintf(label, sizeof label, format.c_str(), n);
    menuGlut.addEntry(label, 111 + n);
  }

  qGlutMakeDebugMenu(editorMenuChosen);

  create(MENU_TOP, editorMenuChosen);
  menuGlut.addSubMenu("debug", menuIds[MENU_DEBUG]);
  separator();
  entry(2601, 91);
  separator();
  keyEntry(2629, "e", 138);
  keyEntry(2603, "r", 92);
  textKeyEntry(2400, 472, 33);
  keyEntry(2602, "K", 60);
  keyEntry(2204, "?", 18);
  separator();
  keyEntry(2604, "J", 93);
  subMenu(2613, MENU_LEFT_KINDS);
  subMenu(2614, MENU_RIGHT_KINDS);
  subMenu(2611, MENU_CIRCLE);
  keyEntry(2605, "j", 94);
  separator();
  keyEntry(2627, "0", 110);
  entry(2623, 109);
  separator();
  entry(2606, 95);
  separator();
  keyEntry(2405, "p", 38);
  entry(2607, 96);
  entry(2608, 97);
  separator();
  entry(2609, 98);
}

static void buildWalkingEditorMenu() {
  menuKind = MENU_WALKING;
  qGlutMakeDebugMenu(walkingMenuChosen);
  create(MENU_TOP, walkingMenuChosen);
  menuGlut.addSubMenu("debug", menuIds[MENU_DEBUG]);
  separator();
  keyEntry(2629, "e", 138);
  keyEntry(2603, "r", 92);
  textKeyEntry(2400, 472, 33);
  keyEntry(2602, "K", 60);
  separator();
  entry(2608, 97);
  separator();
  entry(2891, 98);
}

static void destroyTree() {
  if (remoteWindow()) menuGlut.detachRight();
  if (menuGlut.setWindow(qWindowIds[WIN_3D])) menuGlut.detachRight();
  for (int &id : menuIds) {
    if (id) menuGlut.destroyMenu(id);
    id = 0;
  }
}

// A tree that exists is replaced: not while a menu is shown or from a menu callback, where the
// idle pass does it later.
void qGlutMakeMenu() {
  if (menuIds[MENU_TOP]) {
    if (menuInUse || insideMenuCallback) {
      menuRebuildPending = 1;
      return;
    }
    destroyTree();
  }
  qGlCheckError("qGlutMakeMenu");
  int window = qWindowIds[WIN_3D];
  if (!menuGlut.setWindow(window)) return;
  switch (qMode.main) {
    case MAIN_CHOOSER:
      qGlCheckError("qGlutMakeSelectObjectMenu");
      buildChooserMenu();
      break;
    case MAIN_SCENE_EDITOR:
      qGlCheckError("qGlutMakeEditorMenu");
      buildEditorMenu();
      break;
    case MAIN_WALKING_EDITOR:
      qGlCheckError("qGlutMakeWalkingEditorMenu");
      buildWalkingEditorMenu();
      break;
    default:
      qGlCheckError("qGlutMakeQuoitMenu");
      buildMainMenu();
  }
  menuGlut.attachRight();
  if (remoteWindow()) menuGlut.attachRight();
  menuGlut.setWindow(window);
  if (menuHidePending) {
    menuHidePending = 0;
    menuGlut.hideWindow();
  }
}

void qGlutRemakeMenu() {
  if (menuIds[MENU_TOP]) qGlutMakeMenu();
}
