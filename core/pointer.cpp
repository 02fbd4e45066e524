// Pointer input: drags are summed between two frames and handed over once; a left click without a
// drag picks in the object chooser; a held movement key steps the camera at a steady rate whatever
// the frame rate.
#include "core/pointer.h"

#include "core/native_windows.h"
#include "core/uistate.h"

namespace {
struct PointerState {
  bool held[3];       // left, middle, right
  bool leftAsMiddle;  // the left button went down with Ctrl: its release ends a middle drag
  bool button1, button2;
  bool moved;         // the pointer moved since the left button went down
  bool click;         // a left click without a drag, for the next frame
  int lastX, lastY;
  int dragX, dragY;   // summed since the last frame
  bool keyHeld[4];
  bool keyTapped[4];  // pressed since the last step, even when let go again before it
  bool alongView;
  int64_t nextStepMs;  // when a held movement key steps again; 0: at once
};
PointerState pointer;
}  // namespace

void pointerButton(int button, bool down, int modifiers, int x, int y) {
  if (button < POINTER_LEFT || button > POINTER_RIGHT) return;
  PointerState &p = pointer;
  if (button == POINTER_LEFT) {
    if (down) p.leftAsMiddle = (modifiers & POINTER_CTRL) != 0;
    if (p.leftAsMiddle) button = POINTER_MIDDLE;
    if (!down) p.leftAsMiddle = false;
  }
  if (down) {
    p.held[button] = true;
    p.lastX = x;
    p.lastY = y;
    if (button == POINTER_LEFT) {
      p.moved = false;
      p.button2 = (modifiers & POINTER_SHIFT) != 0;
    }
    if (button == POINTER_MIDDLE) p.button1 = true;
    return;
  }
  if (button == POINTER_LEFT && p.held[POINTER_LEFT] && !p.moved) p.click = true;
  p.held[button] = false;
  if (button == POINTER_LEFT) p.button2 = false;
  if (button == POINTER_MIDDLE) p.button1 = false;
}

void pointerMotion(int x, int y) {
  PointerState &p = pointer;
  if (!p.held[POINTER_LEFT] && !p.held[POINTER_MIDDLE]) return;
  p.dragX += x - p.lastX;
  p.dragY += y - p.lastY;
  if (x != p.lastX || y != p.lastY) p.moved = true;
  p.lastX = x;
  p.lastY = y;
}

void pointerMoveKey(int key, bool down, int modifiers) {
  if (key < MOVE_LEFT || key > MOVE_DOWN) return;
  pointer.keyHeld[key] = down;
  if (down) {
    pointer.keyTapped[key] = true;
    pointer.alongView = (modifiers & POINTER_SHIFT) != 0;
    pointer.nextStepMs = 0;
  }
}

void pointerReset() { pointer = PointerState(); }

// Adds the drag of the frame and the buttons held to what the frame has (the frame step clears it
// at its end); a click shows as button1 in the object chooser, where it takes the model under the
// cursor.
void qCameraHook() {
  PointerState &p = pointer;
  qMode.dragX += p.dragX;
  qMode.dragY += p.dragY;
  if (p.button1 || (p.click && qMode.main == MAIN_CHOOSER)) qMode.button1 = 1;
  if (p.button2) qMode.button2 = 1;
  p.dragX = p.dragY = 0;
  p.click = false;
}

// Sets the movement keys of the frame when a step is due.
void qViewResetHook() {
  PointerState &p = pointer;
  bool any = false;
  for (int k = 0; k < 4; k++) any = any || p.keyHeld[k] || p.keyTapped[k];
  if (!any) return;
  int64_t now = qTickMs();
  if (now < p.nextStepMs) return;
  p.nextStepMs = now + MOVE_KEY_STEP_MS;
  for (int k = 0; k < 4; k++) {
    if (p.keyHeld[k] || p.keyTapped[k]) qMode.moveKeys[k] = 1;
    p.keyTapped[k] = false;
  }
  if (p.alongView) qMode.moveKeys[MOVE_ALONG_VIEW] = 1;
}
