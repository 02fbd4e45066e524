// Menus and command values: the right-button menu trees and the command tables menus and buttons share.
#pragma once
#include <cstdint>

enum { MENU_MAIN = 0, MENU_EDITOR = 1, MENU_CHOOSER = 2, MENU_WALKING = 3 };

// Slots of the menu ids of the current tree; the editor tree puts its hand-kind, radius and circle
// submenus into the first four submenu slots.
enum {
  MENU_TOP,
  MENU_GENERAL,
  MENU_DISPLAY,
  MENU_LANGUAGE,
  MENU_SPEED,
  MENU_CAMERA,
  MENU_VIEW_PRESETS,
  MENU_CAMERA_PRESETS,
  MENU_PATHS,
  MENU_EXPORT,
  MENU_DEBUG,
  MENU_SLOTS,
  MENU_LEFT_KINDS = MENU_GENERAL,
  MENU_RIGHT_KINDS = MENU_DISPLAY,
  MENU_RADIUS = MENU_LANGUAGE,
  MENU_CIRCLE = MENU_SPEED,
};

// Command values with a name of their own: view presets 1-10 and camera presets 1-10.
enum { VALUE_VIEW_PRESET = 10000, VALUE_CAMERA_PRESET = 10010, PRESET_COUNT = 10 };

extern int menuKind;            // kind of the tree built last (MENU_MAIN ...)
extern int menuIds[MENU_SLOTS];  // ids of the current tree; a top id of 0: no tree yet
extern int menuInUse;           // GLUT shows a menu now: no menu may change

// The GLUT menu calls; tests put a recorder in their place.
struct MenuGlut {
  int (*createMenu)(void (*callback)(int value));
  void (*addEntry)(const char *label, int value);
  void (*addSubMenu)(const char *label, int menu);
  void (*attachRight)();  // the current menu to the right button of the current window
  void (*detachRight)();
  void (*destroyMenu)(int menu);
  int (*setWindow)(int id);  // 1 when the window exists and is current now
  void (*hideWindow)();
};
extern MenuGlut menuGlut;

// What the command tables call outside this file; tests replace entries.
struct CommandCalls {
  int (*setMode)(uint32_t low, uint32_t high);
  int (*setModeValue)(uint32_t modeLow, uint32_t modeHigh, int32_t valueLow, int32_t valueHigh);
  int (*getMode)(int type);
  void (*fullScreen)();
  void (*remoteToggle)();
  void (*stepPattern)(int command);
  void (*printAbout)();  // app/ sets it
  void (*remakeMenu)();
  void (*selectObjectInBox)();
  void (*debugInfo)(int code);
  void (*handPathDisplay)(int op);
  void (*checkLanguages)();
  // The scene editor.
  void (*nextEditorObject)();
  void (*resetEditorView)();
  int (*addEditorObject)(int what);
  int (*deleteEditorObject)();
  int (*saveEditorPattern)(int how);
  int (*endEditor)();
  int (*selectedJuggler)();  // the selected editor object's juggler number, -1 when it is no juggler
  void (*centreEditorObject)();
  void (*groundEditorObject)();
  void (*placeInCircle)(int value);
  void (*toggleEditMode)(int how);
};
extern CommandCalls commandCalls;

void qGlutMakeMenu();
void qGlutRemakeMenu();
void qGlutMakeDebugMenu(void (*callback)(int value));

// The command tables: the main one (main and chooser menus, remote-control buttons), the scene
// editor's, and the debug one that every menu choice reaches last.
void qGlutMenu(int value);
void EditorMenu(int value);
void qGlutDebugMenu(int value);
