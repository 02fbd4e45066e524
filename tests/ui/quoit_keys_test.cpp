// The real program driven from the keyboard: keys sent with xdotool to a running "quoit 531" change
// the speed in the window title, show the help screen, move the camera, 'F' shows every flight
// path, 'h' saves the window image and 'X' exports the cycle for POV-Ray. A held key acts once although X repeats it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "pattern/store.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "tests/ui/glut_xvfb.h"
#include "tests/ui/running_quoit.h"

namespace {

namespace fs = std::filesystem;

class QuoitKeysGui : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start"; }
};

TEST_F(QuoitKeysGui, SpeedKeysShowInTheTitle) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  EXPECT_NE(quoit.waitForTitle("[100%]", 5).find("[100%]"), std::string::npos);
  struct Step {
    const char *key;
    const char *title;
  } steps[] = {
      {"plus", "[110%]"}, {"minus", "[100%]"}, {"minus", "[90%]"}, {"less", "[89%]"}, {"greater", "[90%]"},
      {"e", "[0%]"},      {"minus", "[-10%]"}, {"E", "[50%]"},     {"w", "[100%]"},
  };
  for (const Step &step : steps) {
    quoit.key(step.key);
    std::string title = quoit.waitForTitle(step.title, 5);
    EXPECT_NE(title.find(step.title), std::string::npos) << step.key << ": " << title;
  }
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// The server repeats a held key many times a second; the program takes it once, so an unguarded
// speed key held for a second and a half changes the speed by one step.
TEST_F(QuoitKeysGui, HeldKeyActsOnce) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  quoit.key("e");
  ASSERT_NE(quoit.waitForTitle("[0%]", 5).find("[0%]"), std::string::npos);
  quoit.holdKey("greater", 1.5);
  std::string title = quoit.waitForTitle("[1%]", 5);
  EXPECT_NE(title.find("[1%]"), std::string::npos) << title;
  quoit.holdKey("greater", 1.5);
  title = quoit.waitForTitle("[2%]", 5);
  EXPECT_NE(title.find("[2%]"), std::string::npos) << title;
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

TEST_F(QuoitKeysGui, HImageIsAPngOfTheWindow) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  std::string geometry = commandOutput("xdotool getwindowgeometry " + quoit.window() + " 2>/dev/null");
  unsigned width = 0, height = 0;
  size_t at = geometry.find("Geometry: ");
  ASSERT_NE(at, std::string::npos) << geometry;
  ASSERT_EQ(sscanf(geometry.c_str() + at, "Geometry: %ux%u", &width, &height), 2) << geometry;
  std::string path;
  Image image = quoit.saveImage(&path);
  EXPECT_EQ(image.width, width) << path;
  EXPECT_EQ(image.height, height) << path;
  EXPECT_EQ(image.rgb.size(), size_t(width) * height * 3);
  EXPECT_EQ(quoit.saveImage().width, width);
  EXPECT_EQ(quoit.savedImages().size(), 2u);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// 'X' exports the cycle into the output directory of the shipped preferences, where the include
// files lie, with the window's size rounded up as POV-Ray frames need it.
TEST_F(QuoitKeysGui, XExportsTheCycleForPovRay) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  quoit.key("X");
  std::string ini;
  for (int i = 0; i < 100 && ini.empty(); i++) {
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(quoit.home() + "/pov", error))
      if (entry.path().extension() == ".ini") ini = entry.path().string();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(quoit.finish().exitCode, 0);
  ASSERT_FALSE(ini.empty());
  std::string text = readWholeFile(ini);
  size_t at = text.find("Input_File_Name=pov/");
  ASSERT_NE(at, std::string::npos) << text;
  std::string scene = text.substr(at + 16, text.find('\n', at) - at - 16);
  std::string pov = readWholeFile(quoit.home() + "/" + scene);
  EXPECT_NE(pov.find("#include \"QuoitObj.inc\""), std::string::npos) << scene;
  EXPECT_EQ(pov.find("nan"), std::string::npos);
  EXPECT_NE(text.find("\nWidth=648 "), std::string::npos) << text;
  EXPECT_NE(text.find("\nHeight=484 "), std::string::npos) << text;
  EXPECT_TRUE(fs::exists(quoit.home() + "/pov/QuoitObj.inc"));
}

// With the picture still, two images are the same; '?' shows the help screen over it and 'y' the
// status screen, with the remote control shown too, and a second press takes the screen away again.
TEST_F(QuoitKeysGui, HelpAndStatusKeysShowTheirScreens) {
  struct Case {
    const char *key;
    bool remote;
  } cases[] = {{"question", false}, {"question", true}, {"y", false}, {"y", true}};
  for (const Case &c : cases) {
    std::vector<std::string> words = {"531"};
    if (c.remote) words.push_back("+qremote=1");
    RunningQuoit quoit(words);
    ASSERT_FALSE(quoit.window().empty()) << c.key << " remote " << c.remote;
    Image still = quoit.stillImage();
    ASSERT_GT(still.width, 0u) << "no still picture: " << c.key << " remote " << c.remote;
    quoit.key(c.key);
    Image shown = quoit.saveImage();
    ASSERT_GT(shown.width, 0u);
    EXPECT_FALSE(shown == still) << c.key << " remote " << c.remote;
    quoit.key(c.key);
    EXPECT_TRUE(quoit.saveImage() == still) << c.key << " remote " << c.remote;
    EXPECT_EQ(quoit.finish().exitCode, 0);
  }
}

// With the picture still after the set-up key, the close follow view ('k') gives another window
// image, and a second 'k' brings the first one back.
void expectCloseFollowChangesThePicture(const char *setupKey) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  quoit.stillPicture();
  quoit.key(setupKey);
  Image free = quoit.saveImage();
  ASSERT_GT(free.width, 0u);
  ASSERT_TRUE(quoit.saveImage() == free) << "the picture does not stand still";
  quoit.key("k");
  Image close = quoit.saveImage();
  ASSERT_GT(close.width, 0u);
  EXPECT_FALSE(close == free);
  quoit.key("k");
  EXPECT_TRUE(quoit.saveImage() == free);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// The full status screen ('y') shows the camera's numbers, which the close follow view changes.
TEST_F(QuoitKeysGui, CameraKeysChangeTheCameraOnTheStatusScreen) { expectCloseFollowChangesThePicture("y"); }

// The scene itself, after a camera reset ('r'), seen from the close follow view.
TEST_F(QuoitKeysGui, CameraKeysMoveTheView) { expectCloseFollowChangesThePicture("r"); }

// Gives the keysym a key of its own on the private display, so that xdotool sends it without
// changing the keyboard map around each key; true when the keysym has a key.
bool keysymOnTheKeyboard(KeySym sym) {
  Display *display = XOpenDisplay(PrivateXvfb::display().c_str());
  if (!display) return false;
  bool found = XKeysymToKeycode(display, sym) != 0;
  int low, high, perCode;
  XDisplayKeycodes(display, &low, &high);
  KeySym *map = XGetKeyboardMapping(display, KeyCode(low), high - low + 1, &perCode);
  for (int code = high; !found && map && code >= low; code--) {
    bool unused = true;
    for (int i = 0; i < perCode; i++) unused = unused && map[(code - low) * perCode + i] == NoSymbol;
    if (unused) {
      XChangeKeyboardMapping(display, code, 1, &sym, 1);
      found = true;
    }
  }
  if (map) XFree(map);
  XSync(display, False);
  XCloseDisplay(display);
  return found;
}

// The left arrow only moves the camera: the picture then stands still again, where the object
// chooser would keep its models turning. The typed 'ä' opens the chooser and closes it again, as
// the Latin-1 key it is.
TEST_F(QuoitKeysGui, LeftArrowMovesTheCameraAndAUmlautOpensTheChooser) {
  ASSERT_TRUE(keysymOnTheKeyboard(XK_adiaeresis));
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  Image still = quoit.stillImage();
  ASSERT_GT(still.width, 0u) << "no still picture";
  quoit.key("Left");
  Image moved = quoit.saveImage();
  ASSERT_GT(moved.width, 0u);
  EXPECT_FALSE(moved == still) << "the left arrow did not move the camera";
  EXPECT_TRUE(quoit.saveImage() == moved) << "the left arrow opened the chooser";
  quoit.key("adiaeresis");
  Image chooser = quoit.saveImage();
  EXPECT_FALSE(chooser == moved);
  EXPECT_FALSE(quoit.saveImage() == chooser) << "no chooser turns its models";
  quoit.key("adiaeresis");
  EXPECT_TRUE(quoit.saveImage() == moved);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// The names of the files in a directory of the scratch home.
std::vector<std::string> filesIn(const std::string &directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto &entry : fs::directory_iterator(directory, error)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// 'F' writes the flight path of every object into the temporary directory and shows them all in
// the still picture; a second 'F' takes them away again.
TEST_F(QuoitKeysGui, FShowsEveryFlightPath) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  Image still = quoit.stillImage();
  ASSERT_GT(still.width, 0u) << "no still picture";
  quoit.key("F");
  Image paths = quoit.saveImage();
  ASSERT_GT(paths.width, 0u);
  EXPECT_FALSE(paths == still);
  std::vector<std::string> files = filesIn(quoit.home() + "/tmp/QuoitParab");
  int pathFiles = 0;
  for (const std::string &name : files) pathFiles += name.size() > 2 && name[name.size() - 2] == '.';
  std::string listing;
  for (const std::string &name : files) listing += name + " ";
  EXPECT_EQ(pathFiles, 3) << listing;  // one for each of the three balls
  quoit.key("F");
  EXPECT_TRUE(quoit.saveImage() == still);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// Waits up to the time for a file that holds the text; its contents, or what was there at the end.
std::string waitForFileWith(const std::string &path, const std::string &text, double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::string contents = readWholeFile(path);
  while (contents.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    contents = readWholeFile(path);
  }
  return contents;
}

// 'P' saves the converted siteswap under the proposed name (the name dialog answers by itself),
// the saved file keeps the camera and loads again; Ctrl-S adds 531 to the start-notation collection.
TEST_F(QuoitKeysGui, SavedSiteswapAndStartNotation) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  std::string saved = quoit.home() + "/m/3_531";
  quoit.key("P");
  std::string text = waitForFileWith(saved, "B=", 10);
  EXPECT_NE(text.find("B="), std::string::npos) << text;
  quoit.key("ctrl+s");
  std::string collection = waitForFileWith(quoit.home() + "/start-notation.html", "(2R 1L, start R) { 531 }", 10);
  EXPECT_NE(collection.find("<a href=\"#531\">531</a> \n"), std::string::npos) << collection;
  EXPECT_NE(collection.find("(2R 1L, start R) { 531 }"), std::string::npos) << collection;
  EXPECT_EQ(quoit.finish().exitCode, 0);
  ASSERT_EQ(loadPattern(saved), 0);
  EXPECT_EQ(objekte, 3);
}

}  // namespace
