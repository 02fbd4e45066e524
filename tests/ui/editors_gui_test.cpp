// The editors in the running program, driven with xdotool: Ctrl-E, a drag and a save move the
// juggler in the pattern file; Ctrl-W opens the walking editor's panel, and its save writes the
// keyframe section.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/support/quoit_test_support.h"
#include "tests/ui/glut_xvfb.h"
#include "tests/ui/running_quoit.h"

namespace {

// Waits up to the time for the file to hold the text; what it held last.
std::string waitForText(const std::string &path, const std::string &text, double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::string seen = readWholeFile(path);
  while (seen.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    seen = readWholeFile(path);
  }
  return seen;
}

int windowWidth(const std::string &window) {
  std::string geometry = commandOutput("xdotool getwindowgeometry " + window + " 2>/dev/null");
  unsigned width = 0, height = 0;
  size_t at = geometry.find("Geometry: ");
  if (at == std::string::npos || sscanf(geometry.c_str() + at, "Geometry: %ux%u", &width, &height) != 2) return 0;
  return int(width);
}

class EditorsGui : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start"; }
};

// "531" comes from the siteswap converter, so leaving the editor asks whether to save: the
// unattended dialog says yes, and the unattended requester names the file "1", which is "m/1"
// in the home as every pattern name that begins with a digit.
TEST_F(EditorsGui, ADragInTheSceneEditorMovesTheJugglerInTheSavedFile) {
  RunningQuoit quoit;
  ASSERT_FALSE(quoit.window().empty());
  int width = windowWidth(quoit.window());
  ASSERT_GT(width, 200);
  quoit.key("ctrl+e");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const std::string &w = quoit.window();
  commandOutput("xdotool mousemove --window " + w + " 50 150 mousedown 1 2>/dev/null");
  for (int x = 70; x <= 250; x += 20) {
    commandOutput("xdotool mousemove --window " + w + " " + std::to_string(x) + " 150 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  commandOutput("xdotool mouseup 1 2>/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  quoit.key("ctrl+e");
  std::string saved = waitForText(quoit.home() + "/m/1", "\nj\n", 20);
  size_t at = saved.find("\nj\n");
  ASSERT_NE(at, std::string::npos) << saved;
  double heading = 1717, x = 1717, y = 1717, z = 1717;
  char left = 0, right = 0;
  ASSERT_EQ(sscanf(saved.c_str() + at, "\nj\n%lf\n%lf %lf %lf %c %c", &heading, &x, &y, &z, &left, &right), 6) << saved;
  EXPECT_NEAR(x, 200.0 / width * 5, 0.011) << saved;
  EXPECT_NEAR(y, 0, 0.011) << saved;
  EXPECT_EQ(left, 'c');
  EXPECT_EQ(right, 'c');
  // Leaving reloads the saved file: the program goes on with it.
  EXPECT_NE(quoit.waitForTitle("Quoit: ", 10).find("Quoit: "), std::string::npos);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// The section the program read is what the panel's save writes: with it taken out of the file
// after the load, the save puts it back in its place, byte for byte.
TEST_F(EditorsGui, TheWalkingEditorsPanelSavesTheKeyframeSection) {
  RunningQuoit quoit({"m/3ball_walking"});
  ASSERT_FALSE(quoit.window().empty());
  std::string path = quoit.home() + "/m/3ball_walking";
  std::string original = readWholeFile(path);
  size_t from = original.find("kf 1"), to = original.find("kf -1\n");
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  std::string section = original.substr(from, to + 6 - from);
  writeWholeFile(path, original.substr(0, from) + original.substr(to + 6));
  quoit.key("ctrl+w");
  EXPECT_FALSE(findWindow("^quoit: walking editor$", 10).empty());
  EXPECT_EQ(waitForText(path, section, 20), original);
  EXPECT_NE(quoit.title().find("Quoit: "), std::string::npos);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

}  // namespace
