// Scene editor: its state, the editor's objects and commands, the help and status screens, and
// the "j" and "z" blocks it writes into the pattern file.
#pragma once
#include <cstdint>
#include <string>

#include "core/uistate.h"

struct ObjectNode;

enum { EDITING_OBJECTS = 4488, NO_EDIT_DRAG = -1717 };
// Kinds of EditorObjectsToText.
enum { EDITOR_PROPS_BLOCK = 3, EDITOR_JUGGLER_BLOCK = 4 };
// Results of AddEditorObject besides 0, 1 (cancelled) and 2 (not loaded): no room for another.
enum { EDITOR_NO_ROOM = 3 };
// Results of SaveEditorPattern besides 0, 1 (cancelled) and 3 (copy failed): the file was not rewritten.
enum { EDITOR_SAVE_FAILED = 4 };

extern int editState;         // 4488 while objects are edited with the mouse
extern char editorHint[100];  // the editor's hint line
extern int editorJugglerCount;  // visible jugglers
extern int editorObjectCount;   // visible props
extern int editDrag;            // the drag in progress, -1717 none
extern double circleRadius;     // metres, for PlaceJugglersInCircle
extern int editorHelpShown;     // an editor's help was shown since the editor was entered

// The first node of the editor's scene list, after its head; none before an editor started.
ObjectNode *firstEditorNode();

void ShowEditorHelp();
void qFullStatusEditor();
// Shows an editor's help screen once after the editor was entered (the scene and walking editors').
void showEditorHelpScreen(const std::string &text, int width, const char *limitName, int level);
// The texts of the two screens, for the callers that show them and for tests.
std::string editorHelpText(int *width);
std::string editorStatusText(int *lines);

int StartEditor();
int EndEditor();
void SelectNextEditorObject();
int AddEditorObject(int what);
void ToggleEditorEditMode(int how);
void ResetEditorView();
int DeleteCurrentEditorObject();
int DeleteEditorObject(ObjectNode *node, int hide);
void SetEditorHiddenObjects(int show);
// how 0: save as a new file, 1: save into the pattern file.
int SaveEditorPattern(int how);
// The selected object's juggler number, -1 when the selected object is no juggler.
int selectedEditorJuggler();
// The selected object to the centre of the floor, turned back to angle 0.
void centreSelectedEditorObject();
// The jugglers on a circle of circleRadius; value - 111 is their number.
void PlaceJugglersInCircle(int value);
// The selected object's height := 0.
void groundSelectedEditorObject();

// The "j" block (kind 4) or the "z" block (kind 3) of the scene; the number of entries written.
int EditorObjectsToText(std::string &text, int kind);
// A prop's model name as the "z" block writes it.
std::string editorPropName(const char *model);

// GLUT mouse and motion callbacks while an editor runs; the mouse with its modifier keys given.
void EditorMouse(int button, int state, int x, int y);
void EditorMotion(int x, int y);
void editorMouseWith(int button, int state, int x, int y, int modifiers);
