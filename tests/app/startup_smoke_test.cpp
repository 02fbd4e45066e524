#include <gtest/gtest.h>

#include "core/localtext.h"

TEST(LocalText, TitleLineIsBuiltIn) {
  EXPECT_STREQ(localText(0), "The Ultimate Juggling Simulation Program by");
}
