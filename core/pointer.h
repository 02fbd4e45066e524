// Pointer input: the 3D window's mouse drags and held movement keys between two frames, handed to
// the camera by the input hooks qCameraHook and qViewResetHook.
#pragma once

enum {
  POINTER_LEFT = 0,
  POINTER_MIDDLE = 1,
  POINTER_RIGHT = 2,
  POINTER_SHIFT = 1,  // modifier bits
  POINTER_CTRL = 2,
  MOVE_KEY_STEP_MS = 40,  // a held movement key steps the camera this often
};

// Movement keys: their index in qMode.moveKeys, [4] is Shift (along the view).
enum { MOVE_LEFT = 0, MOVE_RIGHT = 1, MOVE_UP = 2, MOVE_DOWN = 3, MOVE_ALONG_VIEW = 4 };

// A mouse button pressed (down) or released at the pointer position (x, y), with the modifiers.
// The middle button, or the left one with Ctrl, moves along the camera's line of sight (button1);
// the left one with Shift zooms (button2); the plain left one turns. The right button is the menu's.
void pointerButton(int button, bool down, int modifiers, int x, int y);
// The pointer moved to (x, y); with a button held this is a drag.
void pointerMotion(int x, int y);
// A movement key (MOVE_LEFT .. MOVE_DOWN) pressed or released, with the modifiers at that time.
void pointerMoveKey(int key, bool down, int modifiers);
// Forgets every held button and key (the window lost the pointer, a new pattern).
void pointerReset();
