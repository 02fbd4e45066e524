// Test helper: a fresh scratch directory that the test works in, removed afterwards.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class ScratchDir : public testing::Test {
 public:
  static void writeFile(const std::string &path, const std::string &text) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quoit-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
  }
  std::string dir;
  std::filesystem::path previous;
};
