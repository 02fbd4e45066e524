// Regular files read with a bound, user files written through a synced temporary file.
#include "core/userfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

FILE *openRegularFile(const char *path) {
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    errno = EINVAL;
    return nullptr;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  FILE *file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

int readRegularFile(const char *path, std::string &text, size_t limit) {
  text.clear();
  FILE *file = openRegularFile(path);
  if (!file) return errno == EINVAL ? READ_FILE_NOT_REGULAR : READ_FILE_CANNOT_OPEN;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (text.size() + n > limit) {
      fclose(file);
      text.clear();
      errno = EFBIG;
      return READ_FILE_TOO_LARGE;
    }
    text.append(buffer, n);
  }
  bool failed = ferror(file) != 0;
  fclose(file);
  return failed ? READ_FILE_FAILED : READ_FILE_OK;
}

bool readRegularLines(const char *path, std::vector<std::string> &lines, size_t limit) {
  std::string text;
  if (readRegularFile(path, text, limit) != READ_FILE_OK) return false;
  size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return true;
}

bool nameTaken(const char *path) {
  struct stat status;
  return lstat(path, &status) == 0;
}

FILE *createNewFile(const char *path) {
  int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  FILE *file = fdopen(fd, "w");
  if (!file) close(fd);
  return file;
}

// A regular file with a second name elsewhere (a hard link) is not written into, since that would
// change the other file: its name here is removed and a new file made in its place.
static int openUnsharedFile(const char *path, int fd, const struct stat &status) {
  if (status.st_nlink <= 1) return fd;
  close(fd);
  if (unlink(path) != 0) return -1;
  return open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
}

// Without O_NONBLOCK the open of a FIFO would wait for a reader; with it, a FIFO without one
// gives ENXIO, and one with a reader is refused by the check of its kind.
FILE *createOwnFile(const char *path) {
  int fd = open(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == ENXIO) errno = EINVAL;
    return nullptr;
  }
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    errno = EINVAL;
    return nullptr;
  }
  fd = openUnsharedFile(path, fd, status);
  if (fd < 0) return nullptr;
  FILE *file = nullptr;
  if (ftruncate(fd, 0) == 0 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0) file = fdopen(fd, "w");
  if (!file) {
    int error = errno;
    close(fd);
    errno = error;
  }
  return file;
}

const char *fileErrorReason(int error) {
  switch (error) {
    case EINVAL: return "not a regular file";
    case ELOOP: return "a symbolic link";
    case EFBIG: return "too large";
    default: return strerror(error);
  }
}

// The file a path names after following its symbolic links (at most 40 of them).
static std::string linkTarget(const std::string &path) {
  std::string target = path;
  for (int hops = 0; hops < 40; hops++) {
    struct stat status;
    if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return target;
    char link[PATH_MAX];
    ssize_t n = readlink(target.c_str(), link, sizeof link - 1);
    if (n <= 0) return target;
    link[n] = '\0';
    size_t slash = target.rfind('/');
    if (link[0] == '/' || slash == std::string::npos)
      target = link;
    else
      target = target.substr(0, slash + 1) + link;
  }
  return target;
}

static bool writeAll(int fd, const std::string &text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += size_t(n);
  }
  return true;
}

static void syncDirectory(const std::string &file) {
  size_t slash = file.rfind('/');
  std::string directory = slash == std::string::npos ? "." : file.substr(0, slash + 1);
  int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool canWriteBeside(const char *path) {
  std::string temporary = linkTarget(path) + ".XXXXXX";
  int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  unlink(temporary.c_str());
  return true;
}

// The text into a unique temporary file beside target with the mode given, synced; then moved
// into place: renamed over the target, or (keep) linked only when no file of that name exists.
static bool writeThroughTemporary(const std::string &target, const std::string &text, mode_t mode, bool keep) {
  std::string temporary = target + ".XXXXXX";
  int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  // The reason of a failure is taken right after the step that failed.
  bool ok = fchmod(fd, mode) == 0 && writeAll(fd, text) && fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && (keep ? link(temporary.c_str(), target.c_str()) : rename(temporary.c_str(), target.c_str())) == 0) {
    if (keep) unlink(temporary.c_str());
    syncDirectory(target);
    return true;
  }
  if (ok) error = errno;
  unlink(temporary.c_str());
  errno = error;
  return false;
}

static mode_t newFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool writeFileAtomically(const char *path, const std::string &text) {
  std::string target = linkTarget(path);
  struct stat status;
  mode_t mode = stat(target.c_str(), &status) == 0 ? status.st_mode & 07777 : newFileMode();
  return writeThroughTemporary(target, text, mode, false);
}

bool replaceOwnFileAtomically(const char *path, const std::string &text) {
  return writeThroughTemporary(path, text, newFileMode(), false);
}

bool writeNewFileAtomically(const char *path, const std::string &text) {
  return writeThroughTemporary(path, text, newFileMode(), true);
}

bool makeOwnDirectory(const char *path) {
  struct stat status;
  if (lstat(path, &status) == 0) {
    if (S_ISDIR(status.st_mode)) return true;
    if (unlink(path) != 0) return false;
  }
  return mkdir(path, 0700) == 0;
}

void clearOwnDirectory(const char *path) {
  int fd = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  DIR *directory = fdopendir(fd);
  if (!directory) {
    close(fd);
    return;
  }
  while (const dirent *entry = readdir(directory)) {
    struct stat status;
    if (fstatat(fd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
    bool ours = S_ISREG(status.st_mode) && status.st_uid == getuid();
    if (S_ISLNK(status.st_mode) || ours) unlinkat(fd, entry->d_name, 0);
  }
  closedir(directory);
}
