// The real program driven through its menus and its remote control: a right click opens the menu,
// an entry chosen with the pointer takes effect; clicks on the remote control's buttons, at centres
// computed from its layout, change the speed, and clicks and drags in its panel move the camera.
#include <gtest/gtest.h>
// After gtest: Xlib's macros None and Bool would break its names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/glut_xvfb.h"
#include "tests/ui/running_quoit.h"
#include "ui/remote.h"

namespace {

// The program ended by Esc with no GL error and no window it could not find on the way.
void expectCleanEnd(const RunResult &run) {
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.trace.find("OpenGL Error"), std::string::npos) << run.trace;
  EXPECT_EQ(run.trace.find("window not found"), std::string::npos) << run.trace;
}

class QuoitMenusGui : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start"; }
};

// The main menu of a one-juggler classic pattern has 11 entries, its speed submenu (the fourth) 7:
// the fifth stops the animation. The last entry of the main menu quits.
TEST_F(QuoitMenusGui, RightClickMenuEntriesTakeEffect) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  ASSERT_NE(quoit.waitForTitle("[100%]", 5).find("[100%]"), std::string::npos);
  chooseFromMenu(quoit.window(), 3, 11, 4, 7);
  std::string title = quoit.waitForTitle("[0%]", 5);
  EXPECT_NE(title.find("[0%]"), std::string::npos) << title;
  EXPECT_TRUE(shownMenus(0).empty()) << "the menu stays open";
  chooseFromMenu(quoit.window(), 10, 11, -1, 0);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// quoit with the remote control shown, its window found by its title.
class RemoteQuoit : public RunningQuoit {
 public:
  RemoteQuoit() : RunningQuoit({"531", "+qremote=1"}) { remote_ = findWindow("^QuoitRemoteControl$", 10); }
  const std::string &remote() const { return remote_; }
  void clickButton(int name) const {
    Geometry g = windowGeometry(remote_);
    int x = 0, y = 0;
    ASSERT_TRUE(remoteButtonCentre(name, g.width, g.height, &x, &y)) << name;
    clickAt(remote_, x, y);
  }
  // A point of the panel in percent, in the remote control's pixels.
  void panelPoint(double px, double py, int *x, int *y) const {
    Geometry g = windowGeometry(remote_);
    RemoteLayout l = remoteLayout(g.width, g.height);
    *x = l.panel[0] + int(l.panel[2] * px / 100);
    *y = l.panel[1] + int(l.panel[3] * py / 100);
  }
  static void clickAt(const std::string &window, int x, int y) {
    commandOutput("xdotool mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y) +
                  " click 1 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }

 private:
  std::string remote_;
};

TEST_F(QuoitMenusGui, RemoteSpeedButtonsChangeTheSpeed) {
  RemoteQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  ASSERT_FALSE(quoit.remote().empty());
  std::string start = quoit.waitForTitle("[100%]", 5);
  ASSERT_NE(start.find("[100%]"), std::string::npos) << start;
  struct Step {
    int button;
    const char *title;
  } steps[] = {{27, "[0%]"},  {23, "[10%]"},   {23, "[20%]"}, {24, "[10%]"},
               {28, "[-100%]"}, {29, "[-50%]"}, {26, "[50%]"}, {25, "[100%]"}};
  for (const Step &step : steps) {
    quoit.clickButton(step.button);
    std::string title = quoit.waitForTitle(step.title, 5);
    EXPECT_NE(title.find(step.title), std::string::npos) << step.button << ": " << title;
  }
  // Portrait: the buttons move, and their centres with them.
  commandOutput("xdotool windowsize " + quoit.remote() + " 120 210 2>/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_EQ(windowGeometry(quoit.remote()).height, 210);
  for (const Step &step : {Step{27, "[0%]"}, Step{28, "[-100%]"}, Step{25, "[100%]"}}) {
    quoit.clickButton(step.button);
    std::string title = quoit.waitForTitle(step.title, 5);
    EXPECT_NE(title.find(step.title), std::string::npos) << "portrait " << step.button << ": " << title;
  }
  // 'J' hides the remote control and shows it again.
  quoit.key("J");
  EXPECT_EQ(findVisible("^QuoitRemoteControl$", false), "");
  quoit.key("J");
  EXPECT_EQ(findVisible("^QuoitRemoteControl$", true), quoit.remote());
  expectCleanEnd(quoit.finish());
}

// The animation stopped with the remote's speed button 0, and the picture then, which stands still.
void stoppedPicture(const RemoteQuoit &quoit, Image *picture) {
  ASSERT_FALSE(quoit.window().empty());
  ASSERT_FALSE(quoit.remote().empty());
  quoit.clickButton(27);
  ASSERT_NE(quoit.waitForTitle("[0%]", 5).find("[0%]"), std::string::npos);
  *picture = quoit.saveImage();
  ASSERT_GT(picture->width, 0u);
  ASSERT_TRUE(quoit.saveImage() == *picture) << "the picture does not stand still";
}

// A click at a point of the panel (percent of it); the picture after it, which differs from the
// one before and stands still.
void clickChangesPicture(const RemoteQuoit &quoit, double px, double py, const Image &before, Image *after) {
  int x, y;
  quoit.panelPoint(px, py, &x, &y);
  RemoteQuoit::clickAt(quoit.remote(), x, y);
  *after = quoit.saveImage();
  ASSERT_GT(after->width, 0u);
  EXPECT_FALSE(*after == before) << "the click changed nothing";
  ASSERT_TRUE(quoit.saveImage() == *after) << "the picture does not stand still after the click";
}

// With the animation stopped, a click high in the panel tilts the camera; in pan mode (its button)
// a drag across the panel moves the look-at point.
TEST_F(QuoitMenusGui, RemotePanelMovesTheCamera) {
  RemoteQuoit quoit;
  Image first;
  ASSERT_NO_FATAL_FAILURE(stoppedPicture(quoit, &first));
  Image tilted;
  ASSERT_NO_FATAL_FAILURE(clickChangesPicture(quoit, 50, 20, first, &tilted));

  quoit.clickButton(47);
  int x0, y0, x1, y1;
  quoit.panelPoint(30, 50, &x0, &y0);
  quoit.panelPoint(70, 50, &x1, &y1);
  commandOutput("xdotool mousemove --window " + quoit.remote() + " " + std::to_string(x0) + " " + std::to_string(y0) +
                " mousedown 1 2>/dev/null");
  for (int step = 1; step <= 5; step++) {
    commandOutput("xdotool mousemove --window " + quoit.remote() + " " + std::to_string(x0 + (x1 - x0) * step / 5) +
                  " " + std::to_string(y0) + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
  }
  commandOutput("xdotool mouseup 1 2>/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Image panned = quoit.saveImage();
  ASSERT_GT(panned.width, 0u);
  EXPECT_FALSE(panned == tilted);
  expectCleanEnd(quoit.finish());
}

// In light mode (its figure button) a click in the panel moves the spot light, and the light stays
// where the click put it (the frame step does not set it back).
TEST_F(QuoitMenusGui, RemotePanelMovesTheLight) {
  RemoteQuoit quoit;
  quoit.key("O");
  quoit.clickButton(46);
  Image first;
  ASSERT_NO_FATAL_FAILURE(stoppedPicture(quoit, &first));
  Image lit;
  ASSERT_NO_FATAL_FAILURE(clickChangesPicture(quoit, 90, 15, first, &lit));
  expectCleanEnd(quoit.finish());
}

// An arrow key pressed in the remote control moves the camera while it is held and no longer once
// it is let go, as in the 3D window.
TEST_F(QuoitMenusGui, ArrowKeyInTheRemoteStopsWhenLetGo) {
  RemoteQuoit quoit;
  Image first;
  ASSERT_NO_FATAL_FAILURE(stoppedPicture(quoit, &first));
  commandOutput("xdotool key --window " + quoit.remote() + " Left 2>/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Image moved = quoit.saveImage();
  ASSERT_GT(moved.width, 0u);
  EXPECT_FALSE(moved == first) << "the arrow did not move the camera";
  EXPECT_TRUE(quoit.saveImage() == moved) << "the camera goes on moving after the key was let go";
  expectCleanEnd(quoit.finish());
}

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB, rows from the top
  // Pixels of the rectangle for which the test holds.
  int count(int x0, int y0, int x1, int y1, bool (*test)(int r, int g, int b)) const {
    int n = 0;
    for (int y = y0; y < y1 && y < height; y++)
      for (int x = x0; x < x1 && x < width; x++) {
        uint32_t p = rgb[size_t(y) * width + x];
        n += test(int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255));
      }
    return n;
  }
};

// What the server shows of a window now.
Pixels windowPixels(const std::string &id) {
  Pixels pixels;
  Display *display = XOpenDisplay(PrivateXvfb::display().c_str());
  if (!display) return pixels;
  Window window = Window(strtoul(id.c_str(), nullptr, 10));
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes)) {
    XImage *image = XGetImage(display, window, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                              AllPlanes, ZPixmap);
    if (image) {
      pixels.width = attributes.width;
      pixels.height = attributes.height;
      for (int y = 0; y < pixels.height; y++)
        for (int x = 0; x < pixels.width; x++) pixels.rgb.push_back(uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
      XDestroyImage(image);
    }
  }
  XCloseDisplay(display);
  return pixels;
}

// A benchmark opens the remote control: its message line says the benchmark runs and its bar
// shows the frame rate; the benchmark ends by itself.
TEST_F(QuoitMenusGui, BenchmarkShowsItsMessageAndFrameRateInTheRemoteControl) {
  RunningQuoit quoit({"benchmark1"});
  ASSERT_FALSE(quoit.window().empty());
  std::string remote = findWindow("^QuoitRemoteControl$", 10);
  ASSERT_FALSE(remote.empty());
  std::this_thread::sleep_for(std::chrono::seconds(3));
  Pixels pixels = windowPixels(remote);
  ASSERT_GT(pixels.width, 0);
  RemoteLayout l = remoteLayout(pixels.width, pixels.height);
  int text = pixels.count(0, 0, l.panel[2], l.panel[1],
                          [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; });
  EXPECT_GT(text, 20) << "no message line";
  int red = pixels.count(l.fps[0], l.fps[1], l.fps[0] + l.fps[2], l.fps[1] + l.fps[3],
                         [](int r, int g, int b) { return r > 200 && g < 60 && b < 60; });
  EXPECT_GT(red, 20) << "no frame-rate bar";
  expectCleanEnd(quoit.finish());
}

// The part of an image at the top right where the 3D window shows the frame-rate line.
std::vector<uint8_t> fpsCorner(const Image &image) {
  std::vector<uint8_t> corner;
  for (unsigned y = 0; y < 26 && y < image.height; y++)
    for (unsigned x = image.width > 134 ? image.width - 134 : 0; x < image.width; x++)
      for (unsigned c = 0; c < 3; c++) corner.push_back(image.rgb[(size_t(y) * image.width + x) * 3 + c]);
  return corner;
}

// While the remote control is shown its bar carries the frame rate; hidden, the 3D window shows it.
TEST_F(QuoitMenusGui, HiddenRemoteControlLeavesTheFrameRateToThe3DWindow) {
  RemoteQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  ASSERT_FALSE(quoit.remote().empty());
  quoit.clickButton(27);
  ASSERT_NE(quoit.waitForTitle("[0%]", 5).find("[0%]"), std::string::npos);
  Image shown = quoit.saveImage();
  ASSERT_GT(shown.width, 0u);
  quoit.key("J");
  ASSERT_EQ(findVisible("^QuoitRemoteControl$", false), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  Image hidden = quoit.saveImage();
  ASSERT_GT(hidden.width, 0u);
  EXPECT_NE(fpsCorner(hidden), fpsCorner(shown));
  quoit.key("t");  // the frame rate off: the corner is the scene's again
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(fpsCorner(quoit.saveImage()), fpsCorner(shown));
  expectCleanEnd(quoit.finish());
}

}  // namespace
