// The real quoit with a passing siteswap: the converter's camera shows the two jugglers side by
// side in the window, not one behind the other.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/ui/running_quoit.h"

namespace {

// The columns of the window image in which a shirt of that colour shows: those with at least
// `tall` pixels of it, so that a ball of the colour does not count. {-1, -1} when none does.
std::array<int, 2> shirtColumns(const Image &image, const std::array<uint8_t, 3> &colour, int tall) {
  std::array<int, 2> range{-1, -1};
  for (unsigned x = 0; x < image.width; x++) {
    int count = 0;
    for (unsigned y = 0; y < image.height; y++) {
      const uint8_t *p = &image.rgb[(size_t(y) * image.width + x) * 3];
      count += p[0] == colour[0] && p[1] == colour[1] && p[2] == colour[2];
    }
    if (count < tall) continue;
    if (range[0] < 0) range[0] = int(x);
    range[1] = int(x);
  }
  return range;
}

// The two classic figures wear a blue and a red shirt.
TEST(PassingViewGui, BothJugglersStandApartInTheWindow) {
  RunningQuoit quoit({"<3p|3p>"});
  ASSERT_FALSE(quoit.window().empty());
  Image image = quoit.stillImage();
  ASSERT_GT(image.width, 0u);
  std::array<int, 2> blue = shirtColumns(image, {0, 0, 192}, 20), red = shirtColumns(image, {240, 0, 0}, 20);
  ASSERT_GE(blue[0], 0) << "the blue juggler is hidden";
  ASSERT_GE(red[0], 0) << "the red juggler is hidden";
  EXPECT_TRUE(blue[1] + 20 < red[0] || red[1] + 20 < blue[0])
      << "blue in columns " << blue[0] << "-" << blue[1] << ", red in " << red[0] << "-" << red[1];
  quoit.finish();
}

}  // namespace
