// Pointer input: which drag and buttons the camera gets from the mouse, a click in the object
// chooser, and the movement keys.
#include <gtest/gtest.h>

#include <thread>

#include "core/native_windows.h"
#include "core/pointer.h"
#include "core/uistate.h"

namespace {

class Pointer : public ::testing::Test {
 protected:
  void SetUp() override {
    pointerReset();
    qMode = decltype(qMode)();
  }
  void TearDown() override { pointerReset(); }
  // One frame: the camera hook, after the frame step cleared the last frame's input.
  void frame() {
    resetViewOffsets();
    qCameraHook();
  }
  void keysOfFrame() {
    resetViewOffsets();
    qViewResetHook();
  }
};

// One drag from (100, 100) by (dx, dy) with the button and modifiers; what the camera gets.
TEST_F(Pointer, DragsByButtonAndModifier) {
  struct Case {
    const char *name;
    int button, modifiers, dx, dy;
    int dragX, dragY, button1, button2;
  } cases[] = {
      {"left turns", POINTER_LEFT, 0, 30, -12, 30, -12, 0, 0},
      {"middle moves along the view", POINTER_MIDDLE, 0, 0, 25, 0, 25, 1, 0},
      {"Ctrl-left is the middle button", POINTER_LEFT, POINTER_CTRL, 4, 25, 4, 25, 1, 0},
      {"Shift-left zooms", POINTER_LEFT, POINTER_SHIFT, 0, -40, 0, -40, 0, 1},
      {"the right button is the menu's", POINTER_RIGHT, 0, 30, 30, 0, 0, 0, 0},
  };
  for (const Case &c : cases) {
    pointerReset();
    pointerButton(c.button, true, c.modifiers, 100, 100);
    pointerMotion(100 + c.dx / 2, 100 + c.dy / 2);
    pointerMotion(100 + c.dx, 100 + c.dy);
    frame();
    EXPECT_EQ(qMode.dragX, c.dragX) << c.name;
    EXPECT_EQ(qMode.dragY, c.dragY) << c.name;
    EXPECT_EQ(qMode.button1, c.button1) << c.name;
    EXPECT_EQ(qMode.button2, c.button2) << c.name;
    // The drag is handed over once; the button stays held until it is let go.
    frame();
    EXPECT_EQ(qMode.dragX, 0) << c.name;
    EXPECT_EQ(qMode.button1, c.button1) << c.name;
    pointerButton(c.button, false, c.modifiers, 100 + c.dx, 100 + c.dy);
    frame();
    EXPECT_EQ(qMode.button1 + qMode.button2, 0) << c.name;
  }
}

// Ctrl may be let go before the button: the drag along the view still ends with the button.
TEST_F(Pointer, CtrlLeftDragEndsWithItsButton) {
  pointerButton(POINTER_LEFT, true, POINTER_CTRL, 0, 0);
  frame();
  EXPECT_EQ(qMode.button1, 1);
  pointerButton(POINTER_LEFT, false, 0, 0, 0);
  pointerMotion(10, 10);
  frame();
  EXPECT_EQ(qMode.button1, 0);
  EXPECT_EQ(qMode.dragX, 0);
}

TEST_F(Pointer, MotionWithoutAButtonIsNoDrag) {
  pointerMotion(10, 10);
  pointerMotion(50, 70);
  frame();
  EXPECT_EQ(qMode.dragX, 0);
  EXPECT_EQ(qMode.dragY, 0);
}

// A left click without a drag takes the model in the object chooser, for one frame; elsewhere,
// and after a drag, it is no pick.
TEST_F(Pointer, ClickPicksInTheChooserOnly) {
  struct Case {
    int64_t main;
    bool drag;
    int picks;
  } cases[] = {{MAIN_CHOOSER, false, 1}, {MAIN_CHOOSER, true, 0}, {0, false, 0}};
  for (const Case &c : cases) {
    pointerReset();
    qMode.main = c.main;
    pointerButton(POINTER_LEFT, true, 0, 5, 5);
    if (c.drag) pointerMotion(9, 5);
    pointerButton(POINTER_LEFT, false, 0, c.drag ? 9 : 5, 5);
    frame();
    EXPECT_EQ(qMode.button1, c.picks) << c.main << " " << c.drag;
    frame();
    EXPECT_EQ(qMode.button1, 0);
  }
}

// A held arrow key steps the camera once at once and then at a steady rate; a key let go before
// the frame still steps once; Shift moves along the view.
TEST_F(Pointer, MovementKeys) {
  pointerMoveKey(MOVE_LEFT, true, 0);
  int64_t start = qTickMs();
  keysOfFrame();
  EXPECT_EQ(qMode.moveKeys[MOVE_LEFT], 1);
  EXPECT_EQ(qMode.moveKeys[MOVE_ALONG_VIEW], 0);
  keysOfFrame();
  if (qTickMs() - start < MOVE_KEY_STEP_MS) {
    EXPECT_EQ(qMode.moveKeys[MOVE_LEFT], 0) << "a step waits for the rate";
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(MOVE_KEY_STEP_MS + 5));
  keysOfFrame();
  EXPECT_EQ(qMode.moveKeys[MOVE_LEFT], 1);
  pointerMoveKey(MOVE_LEFT, false, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(MOVE_KEY_STEP_MS + 5));
  keysOfFrame();
  EXPECT_EQ(qMode.moveKeys[MOVE_LEFT], 0);
  pointerMoveKey(MOVE_UP, true, POINTER_SHIFT);
  pointerMoveKey(MOVE_UP, false, POINTER_SHIFT);
  keysOfFrame();
  EXPECT_EQ(qMode.moveKeys[MOVE_UP], 1);
  EXPECT_EQ(qMode.moveKeys[MOVE_ALONG_VIEW], 1);
  pointerMoveKey(7, true, 0);  // not a movement key
  std::this_thread::sleep_for(std::chrono::milliseconds(MOVE_KEY_STEP_MS + 5));
  keysOfFrame();
  for (int k : qMode.moveKeys) EXPECT_EQ(k, 0);
}

}  // namespace
