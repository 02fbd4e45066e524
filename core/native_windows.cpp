// Platform layer for Linux: memory, monotonic time, directories, environment, the calls into the
// window front end, the PNG writer and the hooks that do nothing on this platform.
#include "core/native_windows.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <png.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/uistate.h"
#include "core/tclthreads.h"
#include "core/userfiles.h"
#include "core/utils.h"

long patternBufferSize = 0;
int qSkippedTexts = 0;
void (*qRaiseWindowHook)() = nullptr;
int (*qReadWindowPixels)(int *width, int *height, std::vector<uint8_t> &rgb) = nullptr;

// Static initialisation runs on the main thread.
static const std::thread::id mainThreadId = std::this_thread::get_id();

void *qAlloc(size_t size) { return calloc(1, size ? size : 1); }

void qFree(void *block, size_t) { free(block); }

static int64_t monotonicMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

static const int64_t processStartMs = monotonicMs();

int64_t qTickMs() { return monotonicMs() - processStartMs; }

void qSplitTicks(int64_t ticks, uint32_t *seconds, uint32_t *microseconds) {
  *seconds = uint32_t(ticks / 1000);
  *microseconds = uint32_t(ticks % 1000) * 1000;
}

void qGetTime(uint32_t *seconds, uint32_t *microseconds) { qSplitTicks(qTickMs(), seconds, microseconds); }

int64_t qElapsedMicroseconds(uint32_t seconds0, uint32_t microseconds0, uint32_t seconds1, uint32_t microseconds1) {
  return (int64_t(seconds1) - int64_t(seconds0)) * 1000000 + (int64_t(microseconds1) - int64_t(microseconds0));
}

void qSleep(int ms) {
  if (ms <= 0) return;
  timespec rest = {ms / 1000, long(ms % 1000) * 1000000};
  while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
  }
}

void qSleepTicks(int n) { qSleep(n * 20); }

int qChdir(const char *path) { return chdir(path) == 0 ? 0 : 1; }

const char *qGetcwd() {
  static std::string cwd;
  std::vector<char> buffer(256);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) {
      cwd.clear();
      return cwd.c_str();
    }
    buffer.resize(buffer.size() * 2);
  }
  cwd = buffer.data();
  return cwd.c_str();
}

int qMkdir(const char *path) {
  if (mkdir(path, 0777) == 0) return 0;
  qMsg(QMSG_ERROR, localText(44), path);
  return 1;
}

const char *qGetenv(const char *name) { return getenv(name); }

// setenv is not safe while another thread reads the environment, so once the first Tcl thread
// has started the environment stays as it is.
static bool environmentFrozen = false;

void qFreezeEnvironment() { environmentFrozen = true; }

static bool environmentWritable(const char *text) {
  if (!environmentFrozen) return true;
  qMsg(QMSG_DEBUG, "environment not changed while threads run: %s\n", text);
  return false;
}

// "NAME=value" sets the variable, "NAME=" removes it.
int qPutenv(const char *text) {
  const char *eq = strchr(text, '=');
  if (!eq || eq == text || !environmentWritable(text)) return 1;
  std::string name(text, eq);
  if (eq[1] == '\0') return unsetenv(name.c_str()) == 0 ? 0 : 1;
  return setenv(name.c_str(), eq + 1, 1) == 0 ? 0 : 1;
}

int qUnsetenv(const char *name) {
  std::string text = std::string(name) + "=";
  return qPutenv(text.c_str());
}

long qFileLength(const char *path) {
  struct stat info;
  if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  FILE *file = openRegularFile(path);
  if (!file) return 0;
  fclose(file);
  return long(info.st_size);
}

// One walk at a time: the sorted file names of one directory and the position in them.
static struct {
  bool open;
  std::string directory;
  std::vector<std::string> names;
  size_t next;
} walk;

static bool isDirectoryEntry(const std::string &directory, const dirent *entry) {
  if (entry->d_type == DT_DIR) return true;
  if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return false;
  struct stat info;
  std::string path = directory + "/" + entry->d_name;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

static bool startWalk(const char *directory) {
  DIR *dir = opendir(directory);
  if (!dir) {
    qMsg(0, "directory '%s' not found \nin directory '%s'\n", directory, qGetcwd());
    return false;
  }
  walk.open = true;
  walk.directory = directory;
  walk.names.clear();
  walk.next = 0;
  while (const dirent *entry = readdir(dir)) {
    if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
    if (!isDirectoryEntry(walk.directory, entry)) walk.names.push_back(entry->d_name);
  }
  closedir(dir);
  std::sort(walk.names.begin(), walk.names.end());
  return true;
}

const char *qNextDirEntry(const char *directory) {
  if (walk.open && walk.directory != directory) walk.open = false;
  if (!walk.open && !startWalk(directory)) return nullptr;
  if (walk.next >= walk.names.size()) {
    walk.open = false;
    walk.names.clear();
    return nullptr;
  }
  return walk.names[walk.next++].c_str();
}

int countTrailingNuls(const char *buffer, long length) {
  int n = 0;
  while (length > 0 && buffer[length - 1] == '\0') {
    length--;
    n++;
  }
  return n;
}

int InitNothing(const char *) { return 0; }

static int noWindowLayer() { return 0; }
static int noWindow(int) { return 0; }
static void noText(const char *, int, int, int) {}
static void noStatus(const char *, int, int) {}
static void noOverlay() {}
static void noStroke(const char *) {}
static int noKey() { return 0; }

WindowCalls windowCalls = {noWindowLayer, noWindowLayer, noWindow, noText, noStatus, noOverlay, noStroke, noKey};

int qInitWindowSystem() { return windowCalls.resetFlags(); }

int qOpenWindows() { return windowCalls.openWindows(); }

// With the remote control shown, only the texts the user asked for (forced, or after a key that
// refreshes the texts) reach the 3D window; the others are counted as skipped.
void qTextOutput(const char *text, int lines, int charactersPerLine, int force) {
  if (remoteState == 1 && force == 0 && textRefresh == 0) {
    qSkippedTexts++;
    return;
  }
  overlayRequests |= 1;
  windowCalls.multiLineText(text, lines, charactersPerLine, 0);
  if (textRefresh > 0) textRefresh--;
}

void qStatusText(const char *text, int level, int flags) { windowCalls.statusText(text, level, flags); }

int qTakeKey() { return windowCalls.takeKey(); }

// 2 notes that the 3D window exists (once); 3 raises it. The window belongs to the main thread,
// so another thread's raise goes through the main thread's request queue.
void qRaiseWindow(int which) {
  static bool kept = false;
  if (which == 2 && !kept) kept = qRaiseWindowHook != nullptr;
  if (which != 3 || !kept) return;
  if (std::this_thread::get_id() == mainThreadId)
    qRaiseWindowHook();
  else
    postMainThreadRequest(MAIN_REQUEST_RAISE_WINDOW, 0);
}

// Debugger output: shown on stderr when QUOIT_DEBUGSTRING is set, like a debugger would.
void qDebugString(const char *text) {
  static const bool shown = getenv("QUOIT_DEBUGSTRING") != nullptr;
  if (shown) fputs(text, stderr);
}

const char *qVersionLine() {
  static char line[80];
  snprintf(line, sizeof line, "Linux Developer Version V14.8 -- %s, %s\n\n", __DATE__, __TIME__);
  return line;
}

void computeBufferSize(int a, int b) { patternBufferSize = (long(a) + 2 + b / 2) * 1000 + 15000; }

void qAfterFrameHook() {}
void qFrameCountHook() {}
void qShutdownHook() {}
void qQuitHook() {}
void qLoadHook(int) {}
void qSpeedHook(int) {}
void qStatusHook() {}
void qFileDoneHook() {}
void qImageSequenceDone() {}

void resetViewOffsets() {
  qMode.dragX = 0;
  qMode.dragY = 0;
  qMode.button1 = 0;
  qMode.button2 = 0;
  for (int &k : qMode.moveKeys) k = 0;
}

int qSaveWindowImage(int kind, int counter) {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  if (!qReadWindowPixels || qReadWindowPixels(&width, &height, rgb) != 0) return counter;
  if (width <= 0 || height <= 0 || rgb.size() < size_t(width) * size_t(height) * 3) return counter;
  std::vector<const uint8_t *> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; y++) rows[size_t(y)] = rgb.data() + size_t(y) * size_t(width) * 3;
  return qSaveImageRows(kind, counter, width, height, rows.data());
}

static void makeDirectoryOf(const std::string &path) {
  std::string directory = directoryOfPath(path.c_str());
  while (!directory.empty() && directory.back() == '/') directory.pop_back();
  struct stat info;
  if (!directory.empty() && stat(directory.c_str(), &info) != 0) qMkdir(directory.c_str());
}

int qSaveImageRows(int kind, int counter, int width, int height, const uint8_t *const *rows) {
  std::string name;
  int next = numberedFileName(name, counter, kind, "png");
  if (name.empty()) return counter;
  makeDirectoryOf(name);
  if (writePngFile(name.c_str(), width, height, rows) != 0) qMsg(QMSG_ERROR, localText(41), name.c_str());
  return next;
}

static int writePngRows(FILE *file, int width, int height, const uint8_t *const *rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return 1;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 1;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; y++) png_write_row(png, rows[y]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return 0;
}

// An RGB image of 8 bits a channel, rows from top to bottom, into a file of a new name; 0 on
// success. A failed write leaves no file behind.
int writePngFile(const char *path, int width, int height, const uint8_t *const *rows) {
  if (width <= 0 || height <= 0 || !rows) return 1;
  FILE *file = createNewFile(path);
  if (!file) return 1;
  int result = writePngRows(file, width, height, rows);
  if (fclose(file) != 0) result = 1;
  if (result != 0) remove(path);
  return result;
}
