// Load time of a sample pattern: a benchmark, run by bench/run, not part of the default test run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/loadpattern.h"

TEST(LoadTimeBench, DISABLED_LargestSample) {
  const char *name = getenv("QUOIT_BENCH_PATTERN");
  std::string pattern = name ? name : "m/9club_feed_pass";
  const int rounds = 20;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; i++) ASSERT_EQ(loadPattern(sourcePath("data/" + pattern)), 0) << pattern;
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / rounds;
  printf("load time of %s: %.2f ms\n", pattern.c_str(), ms);
}
