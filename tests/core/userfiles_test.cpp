// Safe file access: which files are read, and what a replaced file keeps; the temporary file
// is synced before the rename, so a crash leaves the old or the new text, never an empty file.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "core/userfiles.h"
#include "tests/core/scratch_dir.h"

namespace fs = std::filesystem;

// Every fsync of the program, recorded with what the synced descriptor held at that moment.
struct SyncRecord {
  bool directory;
  std::string text;
};
static std::vector<SyncRecord> syncs;
static int lastSynced = -1;
// When set, the close of the descriptor synced last fails as a close on a network file system
// can: the descriptor is closed, but the data may be lost, and the call says EIO.
static bool failCloseAfterSync = false;

extern "C" int close(int fd) {
  int result = int(syscall(SYS_close, fd));
  if (failCloseAfterSync && fd == lastSynced && result == 0) {
    errno = EIO;
    return -1;
  }
  return result;
}

extern "C" int fsync(int fd) {
  lastSynced = fd;
  struct stat status;
  SyncRecord r{fstat(fd, &status) == 0 && S_ISDIR(status.st_mode), ""};
  if (!r.directory) {
    char buffer[256];
    ssize_t n = pread(fd, buffer, sizeof buffer, 0);
    if (n > 0) r.text.assign(buffer, size_t(n));
  }
  syncs.push_back(r);
  return int(syscall(SYS_fsync, fd));
}

class UserFiles : public ScratchDir {};

TEST_F(UserFiles, OnlyRegularFilesAreReadAndWithinTheBound) {
  writeFile("small", "abc");
  ASSERT_EQ(mkfifo("fifo", 0600), 0);
  fs::create_directory("directory");
  struct Case {
    const char *path;
    size_t limit;
    int result;
  } cases[] = {{"small", 3, READ_FILE_OK},         {"small", 2, READ_FILE_TOO_LARGE},
               {"fifo", 100, READ_FILE_NOT_REGULAR}, {"/dev/zero", 100, READ_FILE_NOT_REGULAR},
               {"directory", 100, READ_FILE_NOT_REGULAR}, {"missing", 100, READ_FILE_CANNOT_OPEN}};
  for (const Case &c : cases) {
    std::string text = "old";
    EXPECT_EQ(readRegularFile(c.path, text, c.limit), c.result) << c.path;
    EXPECT_EQ(text, c.result == READ_FILE_OK ? "abc" : "") << c.path;
  }
}

TEST_F(UserFiles, ReplacedFileKeepsModeAndLinkAndIsSyncedFirst) {
  writeFile("target", "old text");
  chmod("target", 0640);
  fs::create_symlink("target", "link");
  syncs.clear();
  ASSERT_TRUE(writeFileAtomically("link", "new text"));
  EXPECT_TRUE(fs::is_symlink("link"));
  EXPECT_EQ(readFile("target"), "new text");
  struct stat status;
  ASSERT_EQ(stat("target", &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  ASSERT_EQ(syncs.size(), 2u);
  EXPECT_FALSE(syncs[0].directory);
  EXPECT_EQ(syncs[0].text, "new text");
  EXPECT_TRUE(syncs[1].directory);
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
}

TEST_F(UserFiles, FailedWriteLeavesTheOldFile) {
  writeFile("kept", "old text");
  fs::create_symlink("/proc/version", "unwritable");
  EXPECT_FALSE(writeFileAtomically("unwritable", "new text"));
  EXPECT_FALSE(canWriteBeside("unwritable"));
  EXPECT_TRUE(canWriteBeside("kept"));
  EXPECT_EQ(readFile("kept"), "old text");
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
}

// A close that fails after the text was written and synced leaves the old file, and its own
// reason is the one reported.
TEST_F(UserFiles, FailedCloseIsReportedWithItsReason) {
  writeFile("kept", "old text");
  failCloseAfterSync = true;
  errno = 0;
  bool written = writeFileAtomically("kept", "new text");
  int error = errno;
  failCloseAfterSync = false;
  EXPECT_FALSE(written);
  EXPECT_EQ(error, EIO);
  EXPECT_EQ(readFile("kept"), "old text");
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}
