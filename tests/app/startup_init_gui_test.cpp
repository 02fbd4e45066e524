// The one-time initialisation in a child process with the private display: the light's start
// values, the pattern kind filters, and a random generator seeded anew in every run.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/startup.h"
#include "core/prefs.h"
#include "core/random.h"
#include "core/viewrecords.h"
#include "pattern/catalogue.h"
#include "tests/ui/glut_xvfb.h"

namespace {

std::string tracePath(const std::string &name) { return std::string(QUOIT_BINARY_DIR) + "/" + name + ".trace.txt"; }

// Runs InitOnce in a child; its exit code is 0 when every start value is right, else the number
// of the first one that is wrong. The child writes its first random numbers to the file.
int initOnceInChild(const std::string &name, const std::string &randomFile) {
  pid_t child = runChild(tracePath(name), [randomFile] {
    qPrefs.width = 320;
    qPrefs.height = 240;
    lightState = LightState{};
    passingFilter = bounceFilter = multiplexFilter = 1;
    if (InitOnce() != 0) return 10;
    FILE *f = fopen(randomFile.c_str(), "w");
    if (!f) return 11;
    for (int i = 0; i < 4; i++) fprintf(f, "%d\n", qRandom());
    fclose(f);
    const LightState &l = lightState;
    if (l.distance != 600) return 1;
    if (l.angle != 1438) return 2;
    if (l.spotRadius != 350) return 3;
    if (l.xOffset != 0 || l.yOffset != 0) return 4;
    if (passingFilter || bounceFilter || multiplexFilter) return 5;
    return 0;
  });
  return waitChild(child, 20);
}

class InitOnceGui : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start"; }
};

TEST_F(InitOnceGui, MakesTheLightAndFilterDefaultsAndSeedsTheRandomGenerator) {
  std::string first = tracePath("init_once_random_1"), second = tracePath("init_once_random_2");
  ASSERT_EQ(initOnceInChild("init_once_1", first), 0);
  ASSERT_EQ(initOnceInChild("init_once_2", second), 0);
  std::string a = readFile(first), b = readFile(second);
  EXPECT_FALSE(a.empty());
  EXPECT_NE(a, b) << "two runs draw the same random numbers:\n" << a;
}

}  // namespace
