#include <gtest/gtest.h>

#include <png.h>
#include <sys/stat.h>
#include <thread>

#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/uistate.h"
#include "core/runstate.h"
#include "core/tclthreads.h"
#include "core/utils.h"
#include "scratch_dir.h"

namespace {

TEST(Time, TicksSplitIntoSecondsAndMicroseconds) {
  uint32_t s = 0, us = 0;
  qSplitTicks(123456, &s, &us);
  EXPECT_EQ(s, 123u);
  EXPECT_EQ(us, 456000u);
  qSplitTicks(999, &s, &us);
  EXPECT_EQ(s, 0u);
  EXPECT_EQ(us, 999000u);
}

TEST(Time, ElapsedIsSigned) {
  EXPECT_EQ(qElapsedMicroseconds(1, 900000, 2, 100000), 200000);
  EXPECT_EQ(qElapsedMicroseconds(5, 0, 5, 0), 0);
  EXPECT_EQ(qElapsedMicroseconds(2, 100000, 1, 900000), -200000);
}

TEST(Time, SleepAndTicksAreMonotonic) {
  int64_t before = qTickMs();
  EXPECT_GE(before, 0);
  qSleep(30);
  int64_t slept = qTickMs() - before;
  EXPECT_GE(slept, 30);
  before = qTickMs();
  qSleepTicks(2);
  EXPECT_GE(qTickMs() - before, 40);
  before = qTickMs();
  qSleep(-5);
  EXPECT_LT(qTickMs() - before, 20);
  uint32_t s = 0, us = 0;
  qGetTime(&s, &us);
  EXPECT_LT(us, 1000000u);
}

TEST(Memory, AllocIsZeroFilled) {
  unsigned char *block = static_cast<unsigned char *>(qAlloc(1000));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 1000; i++) ASSERT_EQ(block[i], 0);
  qFree(block, 1000);
  void *empty = qAlloc(0);
  EXPECT_NE(empty, nullptr);
  qFree(empty, 0);
  qFree(nullptr, 0);
}

TEST(Environment, PutAndRemove) {
  EXPECT_EQ(qPutenv("QUOIT_TEST_VAR=one=two"), 0);
  EXPECT_STREQ(qGetenv("QUOIT_TEST_VAR"), "one=two");
  EXPECT_EQ(qPutenv("QUOIT_TEST_VAR="), 0);
  EXPECT_EQ(qGetenv("QUOIT_TEST_VAR"), nullptr);
  EXPECT_EQ(qPutenv("QUOIT_TEST_VAR=x"), 0);
  EXPECT_EQ(qUnsetenv("QUOIT_TEST_VAR"), 0);
  EXPECT_EQ(qGetenv("QUOIT_TEST_VAR"), nullptr);
  EXPECT_NE(qPutenv("no equals sign"), 0);
  EXPECT_NE(qPutenv("=value"), 0);
}

TEST(Environment, FrozenOnceThreadsRun) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        qPutenv("QUOIT_TEST_KEPT=1");
        qFreezeEnvironment();
        bool refused = qPutenv("QUOIT_TEST_NEW=1") != 0 && qUnsetenv("QUOIT_TEST_KEPT") != 0;
        exit(refused && !getenv("QUOIT_TEST_NEW") && getenv("QUOIT_TEST_KEPT") ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(Sizing, BufferSize) {
  computeBufferSize(10, 7);
  EXPECT_EQ(patternBufferSize, 30000);
  computeBufferSize(0, 1);
  EXPECT_EQ(patternBufferSize, 17000);
}

TEST(Version, Line) {
  std::string line = qVersionLine();
  EXPECT_EQ(line.rfind("Linux Developer Version V14.8 -- ", 0), 0u);
  EXPECT_EQ(line.substr(line.size() - 2), "\n\n");
}

TEST(Buffers, TrailingNuls) {
  EXPECT_EQ(countTrailingNuls("ab\0\0", 4), 2);
  EXPECT_EQ(countTrailingNuls("ab", 2), 0);
  EXPECT_EQ(countTrailingNuls("\0\0\0", 3), 3);
  EXPECT_EQ(countTrailingNuls("", 0), 0);
}

// With the remote control shown an unforced text is skipped unless the texts are being refreshed;
// a text that is shown is asked for as overlay of the 3D window whether the remote is shown or not.
TEST(FrontEnd, TextOutputRespectsTheRemoteControl) {
  struct Case {
    int remote, refresh, force;
    bool skipped;
    int refreshAfter;
  } cases[] = {{1, 0, 0, true, 0}, {1, 2, 0, false, 1}, {1, 0, 1, false, 0}, {0, 0, 0, false, 0}, {2, 0, 0, false, 0}};
  for (const Case &c : cases) {
    remoteState = c.remote;
    textRefresh = c.refresh;
    overlayRequests = 0;
    int skipped = qSkippedTexts;
    qTextOutput("text", 1, 10, c.force);
    EXPECT_EQ(qSkippedTexts, skipped + (c.skipped ? 1 : 0)) << c.remote << c.refresh << c.force;
    EXPECT_EQ(overlayRequests & 1, c.skipped ? 0 : 1) << c.remote << c.refresh << c.force;
    EXPECT_EQ(textRefresh, c.refreshAfter) << c.remote << c.refresh << c.force;
  }
  remoteState = 2;
}

TEST(FrontEnd, ViewOffsetsAreCleared) {
  qMode.dragX = 3;
  qMode.dragY = -4;
  qMode.button1 = 1;
  qMode.button2 = 1;
  qMode.speed = 100;
  resetViewOffsets();
  EXPECT_EQ(qMode.dragX, 0);
  EXPECT_EQ(qMode.dragY, 0);
  EXPECT_EQ(qMode.button1, 0);
  EXPECT_EQ(qMode.button2, 0);
  EXPECT_EQ(qMode.speed, 100);
}

int raised = 0;

TEST(FrontEnd, RaiseOnlyAKnownWindowAndOnlyOnTheMainThread) {
  qRaiseWindowHook = [] { raised++; };
  qRaiseWindow(3);
  EXPECT_EQ(raised, 0);
  qRaiseWindow(2);
  qRaiseWindow(3);
  EXPECT_EQ(raised, 1);
  std::thread([] { qRaiseWindow(3); }).join();
  EXPECT_EQ(raised, 1);
  serveMainThreadRequests();
  EXPECT_EQ(raised, 2);
  qRaiseWindow(7);
  EXPECT_EQ(raised, 2);
  qRaiseWindowHook = nullptr;
}

using Directories = ScratchDir;

TEST_F(Directories, CwdAndMkdir) {
  std::string deep = dir;
  for (int i = 0; i < 5; i++) deep += "/" + std::string(60, char('a' + i));
  std::filesystem::create_directories(deep);
  EXPECT_EQ(qChdir(deep.c_str()), 0);
  EXPECT_EQ(std::string(qGetcwd()), std::filesystem::canonical(deep).string());
  EXPECT_GT(strlen(qGetcwd()), 300u);
  EXPECT_NE(qChdir("no-such-directory"), 0);
  EXPECT_EQ(qChdir(dir.c_str()), 0);
  EXPECT_EQ(qMkdir("made"), 0);
  EXPECT_TRUE(std::filesystem::is_directory("made"));
  EXPECT_NE(qMkdir("made"), 0);
  EXPECT_NE(qMkdir("no/such/parent"), 0);
}

TEST_F(Directories, FileLength) {
  writeFile("five", "12345");
  mkdir("sub", 0777);
  EXPECT_EQ(qFileLength("five"), 5);
  EXPECT_EQ(qFileLength("missing"), 0);
  EXPECT_EQ(qFileLength("sub"), 0);
}

std::vector<std::string> walkAll(const char *directory) {
  std::vector<std::string> names;
  while (const char *name = qNextDirEntry(directory)) names.push_back(name);
  return names;
}

TEST_F(Directories, WalkIsSortedAndSkipsDirectories) {
  writeFile("d/zeta", "");
  writeFile("d/alpha", "");
  writeFile("d/.hidden", "");
  writeFile("d/sub/inner", "");
  std::filesystem::create_symlink("sub", "d/link-to-sub");
  std::filesystem::create_symlink("alpha", "d/link-to-alpha");
  const std::vector<std::string> expected = {".hidden", "alpha", "link-to-alpha", "zeta"};
  EXPECT_EQ(walkAll("d"), expected);
  EXPECT_EQ(walkAll("d"), expected);
}

TEST_F(Directories, WalkEdgeCases) {
  writeFile("only/sub/file", "");
  EXPECT_EQ(qNextDirEntry("only"), nullptr);
  testing::internal::CaptureStdout();
  EXPECT_EQ(qNextDirEntry("missing"), nullptr);
  std::string said = testing::internal::GetCapturedStdout();
  EXPECT_NE(said.find("directory 'missing' not found"), std::string::npos);
}

TEST_F(Directories, UnfinishedWalkContinuesOrRestarts) {
  writeFile("a/1", "");
  writeFile("a/2", "");
  writeFile("a/3", "");
  writeFile("b/x", "");
  EXPECT_STREQ(qNextDirEntry("a"), "1");
  EXPECT_STREQ(qNextDirEntry("a"), "2");
  EXPECT_STREQ(qNextDirEntry("b"), "x");
  EXPECT_EQ(qNextDirEntry("b"), nullptr);
  EXPECT_STREQ(qNextDirEntry("a"), "1");
}

std::vector<uint8_t> readPng(const std::string &path, int &width, int &height) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  width = int(image.width);
  height = int(image.height);
  return pixels;
}

class Images : public ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    qPrefs = QuoitPrefs();
    qPrefs.hardcopy = "hardcopy/";
    currentPatternFile = "m/5.pat";
    for (int i = 0; i < 3 * 2 * 3; i++) pixels.push_back(uint8_t(i * 13));
    rows = {pixels.data(), pixels.data() + 9};
  }
  std::vector<uint8_t> pixels;
  std::vector<const uint8_t *> rows;
};

TEST_F(Images, PngRoundTrip) {
  ASSERT_EQ(writePngFile("out.png", 3, 2, rows.data()), 0);
  int width = 0, height = 0;
  EXPECT_EQ(readPng("out.png", width, height), pixels);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  EXPECT_NE(writePngFile("out.png", 0, 2, rows.data()), 0);
  EXPECT_NE(writePngFile("no/dir/out.png", 3, 2, rows.data()), 0);
}

TEST_F(Images, NumberedImagesInTheHardcopyDirectory) {
  EXPECT_EQ(qSaveImageRows(NUMBERED_HARDCOPY, 0, 3, 2, rows.data()), 1);
  EXPECT_EQ(qSaveImageRows(NUMBERED_HARDCOPY, 0, 3, 2, rows.data()), 2);
  int width = 0, height = 0;
  EXPECT_EQ(readPng("hardcopy/5-0.png", width, height), pixels);
  EXPECT_EQ(readPng("hardcopy/5-1.png", width, height), pixels);
  EXPECT_EQ(qSaveImageRows(12, 4, 3, 2, rows.data()), 4);
}

// A frame of an image sequence replaces what has its name: a link there is removed, and the file
// it points to, or would make, is never written.
TEST_F(Images, ImageSequenceReplacesALinkNotItsTarget) {
  std::filesystem::create_directory("hardcopy");
  writeFile("outside", "outside text");
  for (const char *target : {"../outside", "../absent"}) {
    std::filesystem::create_symlink(target, "hardcopy/5-000.png");
    EXPECT_EQ(qSaveImageRows(NUMBERED_IMAGE_SEQUENCE, 0, 3, 2, rows.data()), 1) << target;
    int width = 0, height = 0;
    EXPECT_EQ(readPng("hardcopy/5-000.png", width, height), pixels) << target;
    EXPECT_FALSE(std::filesystem::is_symlink("hardcopy/5-000.png")) << target;
    EXPECT_EQ(readFile("outside"), "outside text");
    EXPECT_FALSE(std::filesystem::exists("absent")) << target;
    std::filesystem::remove("hardcopy/5-000.png");
  }
}

TEST_F(Images, WindowImageNeedsAPixelReader) {
  qReadWindowPixels = nullptr;
  EXPECT_EQ(qSaveWindowImage(NUMBERED_HARDCOPY, 0), 0);
  qReadWindowPixels = [](int *width, int *height, std::vector<uint8_t> &rgb) {
    *width = 2;
    *height = 1;
    rgb = {1, 2, 3, 4, 5, 6};
    return 0;
  };
  EXPECT_EQ(qSaveWindowImage(NUMBERED_HARDCOPY, 0), 1);
  int width = 0, height = 0;
  EXPECT_EQ(readPng("hardcopy/5-0.png", width, height), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  qReadWindowPixels = [](int *width, int *height, std::vector<uint8_t> &rgb) {
    *width = 4;
    *height = 4;
    rgb.assign(3, 0);
    return 0;
  };
  EXPECT_EQ(qSaveWindowImage(NUMBERED_HARDCOPY, 1), 1);
  qReadWindowPixels = nullptr;
}

}  // namespace
