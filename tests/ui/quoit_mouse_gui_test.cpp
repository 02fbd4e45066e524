// The real program driven with the mouse: drags in the window turn, raise, zoom and move the
// camera and steer the light as the help screen says, and the arrow keys move the camera. Each
// binding is checked by the window image before and after it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/ui/running_quoit.h"

namespace {

// A drag with the X button (1 left, 2 middle) and a held modifier key ("" none), from (x, y) by
// (dx, dy) in ten steps.
void drag(const RunningQuoit &quoit, int button, const std::string &modifier, int x, int y, int dx, int dy) {
  const std::string w = " --window " + quoit.window() + " ";
  commandOutput("xdotool mousemove" + w + std::to_string(x) + " " + std::to_string(y) + " 2>/dev/null");
  if (!modifier.empty()) commandOutput("xdotool keydown " + modifier + " 2>/dev/null");
  commandOutput("xdotool mousedown " + std::to_string(button) + " 2>/dev/null");
  for (int i = 1; i <= 10; i++) {
    commandOutput("xdotool mousemove" + w + std::to_string(x + dx * i / 10) + " " + std::to_string(y + dy * i / 10) +
                  " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  commandOutput("xdotool mouseup " + std::to_string(button) + " 2>/dev/null");
  if (!modifier.empty()) commandOutput("xdotool keyup " + modifier + " 2>/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

struct Binding {
  const char *name;
  int button;
  const char *modifier;
  int dx, dy;
  bool turns;  // the camera keeps turning after the drag until space stops it
};

class QuoitMouseGui : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start"; }
};

// Each binding of the help screen, from the camera reset: the picture changes, and stands still
// again once the camera stops.
TEST_F(QuoitMouseGui, DragsTurnRaiseZoomAndMoveTheCamera) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  quoit.stillPicture();
  const Binding bindings[] = {
      {"left, up and down: height", 1, "", 0, -40, false},
      {"left, sideways: turning", 1, "", 60, 0, true},
      {"middle: distance", 2, "", 0, 60, false},
      {"Ctrl-left: distance", 1, "ctrl", 0, 60, false},
      {"Shift-left: zoom", 1, "shift", 0, 80, false},
  };
  for (const Binding &b : bindings) {
    quoit.key("r");
    Image before = quoit.saveImage();
    ASSERT_GT(before.width, 0u) << b.name;
    ASSERT_TRUE(quoit.saveImage() == before) << b.name << ": the picture does not stand still";
    drag(quoit, b.button, b.modifier, 300, 240, b.dx, b.dy);
    Image after = quoit.saveImage();
    EXPECT_FALSE(after == before) << b.name;
    if (b.turns) {
      EXPECT_FALSE(quoit.saveImage() == after) << b.name << ": the camera does not keep turning";
      quoit.key("space");
    }
    Image stopped = quoit.saveImage();
    EXPECT_TRUE(quoit.saveImage() == stopped) << b.name << ": the camera does not stop";
    EXPECT_FALSE(stopped == before) << b.name;
  }
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// In pan mode ('b') a drag moves the camera; the arrow keys move it in every mode.
TEST_F(QuoitMouseGui, PanDragAndArrowKeysMoveTheCamera) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  quoit.stillPicture();
  quoit.key("b");
  Image before = quoit.saveImage();
  ASSERT_GT(before.width, 0u);
  drag(quoit, 1, "", 300, 240, 50, 30);
  Image panned = quoit.saveImage();
  EXPECT_FALSE(panned == before);
  EXPECT_TRUE(quoit.saveImage() == panned);
  drag(quoit, 2, "", 300, 240, 0, 40);
  Image along = quoit.saveImage();
  EXPECT_FALSE(along == panned) << "the middle button moves along the view";
  quoit.key("b");
  for (const char *arrow : {"Left", "Up", "shift+Up"}) {
    Image still = quoit.saveImage();
    quoit.key(arrow);
    EXPECT_FALSE(quoit.saveImage() == still) << arrow;
  }
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// With the spot light shown ('O') and the light mode on ('o'), drags move the light: a plain drag
// its direction and distance, the middle button its place, Shift-left the spot's radius.
TEST_F(QuoitMouseGui, DragsSteerTheLightInLightMode) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  quoit.stillPicture();
  quoit.key("O");
  quoit.key("o");
  const Binding bindings[] = {
      {"left: direction and distance", 1, "", 60, 40, false},
      {"middle: place", 2, "", 60, -60, false},
      {"Shift-left: spot radius", 1, "shift", 0, -100, false},
  };
  for (const Binding &b : bindings) {
    Image before = quoit.saveImage();
    ASSERT_GT(before.width, 0u) << b.name;
    ASSERT_TRUE(quoit.saveImage() == before) << b.name;
    drag(quoit, b.button, b.modifier, 300, 240, b.dx, b.dy);
    Image after = quoit.saveImage();
    EXPECT_FALSE(after == before) << b.name;
    EXPECT_TRUE(quoit.saveImage() == after) << b.name;
  }
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

}  // namespace
