// The scene editor's status screen in the running program: the window draws every line of it, the
// juggler's hand letters at its end too.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/glut_xvfb.h"
#include "tests/ui/running_quoit.h"

namespace {

using running_quoit::Image;
using running_quoit::RunningQuoit;

class EditorStatusGui : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start"; }
};

// Text is drawn in (0.8, 0.8, 0.3); the floor's squares are grey, the backdrop blue.
bool textPixel(const Image &image, unsigned x, unsigned y) {
  const uint8_t *p = &image.rgb[(size_t(y) * image.width + x) * 3];
  return p[0] > 160 && p[1] > 160 && p[2] < 120;
}

// Lines of text in the right third of the window, below the message line: bands of rows that hold
// text pixels.
int textLinesAtTheRight(const Image &image) {
  int lines = 0;
  bool inLine = false;
  for (unsigned y = 40; y < image.height; y++) {
    bool text = false;
    for (unsigned x = image.width * 2 / 3; x < image.width && !text; x++) text = textPixel(image, x, y);
    if (text && !inLine) lines++;
    inLine = text;
  }
  return lines;
}

// The juggler is selected as the editor starts: the version, the editor's title, the two counts, the
// position, the azimuth and both hands make ten lines of text, with the remote control shown too.
TEST_F(EditorStatusGui, EveryLineOfTheStatusScreenIsDrawn) {
  for (bool remote : {false, true}) {
    std::vector<std::string> words = {"3ball_props_camera"};
    if (remote) words.push_back("+qremote=1");
    RunningQuoit quoit(words);
    ASSERT_FALSE(quoit.window().empty());
    quoit.key("ctrl+e");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Image image = quoit.saveImage();
    ASSERT_GT(image.width, 0u);
    EXPECT_EQ(textLinesAtTheRight(image), 10) << "remote " << remote;
    quoit.finish();
  }
}

}  // namespace
