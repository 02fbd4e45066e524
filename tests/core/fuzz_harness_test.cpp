// The fuzz harness: the seed corpora that tests/fuzz/run writes (every seed of a row is its own
// file, a mode byte stands in front of the seeds that carry one, a text seed keeps its words), and
// the targets' scratch directory with its copy of the home, gone when the target ends.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "tests/support/childprocess.h"

namespace {

using namespace childprocess;

TEST(FuzzSeeds, EverySeedOfATargetIsKept) {
  const struct {
    const char *target;
    size_t count;
    const char *seed;
    std::string text;
  } cases[] = {
      {"kovex", 6, "seed0", "-q\n531"},
      {"kovex", 6, "seed4", "-l\n[33]33\nout"},
      {"kovex", 6, "seed5", "-r0.5\n531 441 51"},
      {"kovex_options", 5, "seed0", std::string("\0B=0.5,1.2,4,60\n", 16)},
      {"tcl_passing", 4, "seed1", "m/531\nmore"},
      {"lists", 9, "seed0", std::string(1, '\0') + readFile(QUOIT_SOURCE_DIR "/data/list_of_objects")},
      {"lists", 9, "seed1", "\1" + readFile(QUOIT_SOURCE_DIR "/data/list_of_Oldjugglers")},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.target) + " " + c.seed);
    std::string corpus = makeScratchDirectory();
    Result made = run({QUOIT_SOURCE_DIR "/tests/fuzz/run", "--seeds", c.target, corpus}, corpus);
    ASSERT_EQ(made.exitCode, 0) << made.output;
    EXPECT_EQ(listDirectory(corpus).size(), c.count);
    std::string seed = readFile(corpus + "/" + c.seed);
    EXPECT_EQ(seed.substr(0, c.text.size()), c.text);
    removeScratchDirectory(corpus);
  }
}

// A target's process works in the copy, so what it writes stays there, and the copy goes with it.
TEST(FuzzScratch, HomeCopyIsTheWorkingDirectoryAndGoesWithTheProcess) {
  std::string temp = makeScratchDirectory();
  pid_t child = fork();
  if (child == 0) {
    setenv("TMPDIR", temp.c_str(), 1);
    if (!enterFuzzHome()) _exit(2);
    writeFile("quoit.err", "written by the target\n");
    if (!fileExists(temp + "/quoit_fuzz_" + std::to_string(getpid()) + "/home/quoit.err")) _exit(3);
    if (!fileExists(temp + "/quoit_fuzz_" + std::to_string(getpid()) + "/home/list_of_objects")) _exit(4);
    exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(listDirectory(temp).empty());
  // Other tests may leave a report of their own in the source home; only the target's text matters.
  std::string sourceReport = QUOIT_SOURCE_DIR "/data/quoit.err";
  if (fileExists(sourceReport)) EXPECT_EQ(readFile(sourceReport).find("written by the target"), std::string::npos);
  removeScratchDirectory(temp);
}

}  // namespace
