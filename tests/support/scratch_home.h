// Test fixture: a fresh scratch home as the working directory, with the English local texts read.
#pragma once
#include <gtest/gtest.h>

#include <string>

class ScratchHomeTest : public ::testing::Test {
 protected:
  std::string home, previous;
  void SetUp() override;
  void TearDown() override;
};
