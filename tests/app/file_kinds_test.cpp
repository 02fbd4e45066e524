// Every file the program makes or reads, met with each kind of thing at its name: a link to a
// file outside the home, a dangling link, a FIFO, a directory and a regular file. No link is
// followed for a write, no FIFO is waited on, and what is refused is said.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "app/startup.h"
#include "core/Tcl.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/utils.h"
#include "pattern/catalogue.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "scene/povexport.h"
#include "scene/vrml/modeltree.h"
#include "tests/support/childprocess.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/scratch_home.h"

namespace fs = std::filesystem;

namespace {

enum Kind { LINK_OUTSIDE, DANGLING_LINK, FIFO, DIRECTORY, REGULAR };
const char *const kindNames[] = {"link to outside", "dangling link", "FIFO", "directory", "regular file"};

// How the program treats the name: a numbered new name skips whatever stands there; an own file
// of a fixed name is refused unless it is a regular file; an input is read through a link.
enum Use { NEW_NAME, OWN_FILE, INPUT };

// Opens the other end of a FIFO when the code under test has waited on it for too long, so a
// test that would hang fails instead.
class FifoGuard {
 public:
  explicit FifoGuard(const std::string &path) : path(path), thread([this] { watch(); }) {}
  ~FifoGuard() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      done = true;
    }
    changed.notify_all();
    thread.join();
  }
  bool blocked() const { return waited; }

 private:
  void watch() {
    std::unique_lock<std::mutex> lock(mutex);
    if (changed.wait_for(lock, std::chrono::seconds(3), [this] { return done; })) return;
    waited = true;
    while (!done) {
      int fd = open(path.c_str(), O_RDWR | O_NONBLOCK);
      if (fd >= 0) close(fd);
      changed.wait_for(lock, std::chrono::milliseconds(10));
    }
  }
  std::string path;
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  std::atomic<bool> waited{false};
  std::thread thread;
};

struct Item {
  const char *path;
  Use use;
  const char *content;  // what a regular file or the link's target holds before
  const char *written;  // for an own file: a text the program writes into it
  std::function<bool()> act;  // for a new name and an input: true when the image was saved or the file read
};

class FileKinds : public ScratchHomeTest {
 protected:
  void SetUp() override {
    ScratchHomeTest::SetUp();
    outside = childprocess::makeScratchDirectory();
    previousPipeHandler = signal(SIGPIPE, SIG_IGN);
    qPrefs.hardcopy = "hardcopy/";
    qPrefs.povout = "pov/";
    currentPatternFile = "m/5.pat";
    fs::create_directories("hardcopy");
  }
  void TearDown() override {
    signal(SIGPIPE, previousPipeHandler);
    qPrefs.current = 0;
    childprocess::removeScratchDirectory(outside);
    ScratchHomeTest::TearDown();
  }
  void place(const Item &item, Kind kind) {
    fs::remove_all(item.path);  // another file's messages may have made it
    writeWholeFile(outside + "/target", item.content);
    switch (kind) {
      case LINK_OUTSIDE: fs::create_symlink(outside + "/target", item.path); break;
      case DANGLING_LINK: fs::create_symlink(outside + "/absent", item.path); break;
      case FIFO: ASSERT_EQ(mkfifo(item.path, 0600), 0); break;
      case DIRECTORY: fs::create_directory(item.path); break;
      case REGULAR: writeWholeFile(item.path, item.content); break;
    }
  }
  // The kind still stands at the name, untouched.
  static bool kept(const Item &item, Kind kind) {
    fs::file_status status = fs::symlink_status(item.path);
    switch (kind) {
      case LINK_OUTSIDE:
      case DANGLING_LINK: return fs::is_symlink(status);
      case FIFO: return fs::is_fifo(status);
      case DIRECTORY: return fs::is_directory(status);
      case REGULAR: return fs::is_regular_file(status) && readWholeFile(item.path) == item.content;
    }
    return false;
  }
  // Puts the kind at the item's name and runs the item's action with a guard on a FIFO there.
  struct Outcome {
    bool done;
    bool blocked;
    std::string said;    // standard output and standard error
    std::string errors;  // standard error alone
  };
  Outcome attempt(const Item &item, Kind kind) {
    place(item, kind);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Outcome outcome;
    {
      FifoGuard guard(item.path);
      outcome.done = item.act();
      outcome.blocked = guard.blocked();
    }
    std::string output = testing::internal::GetCapturedStdout();
    outcome.errors = testing::internal::GetCapturedStderr();
    outcome.said = output + outcome.errors;
    return outcome;
  }
  // The item met with each kind of thing at its name.
  void expectEachKindMet(const Item &item) {
    for (Kind kind : {LINK_OUTSIDE, DANGLING_LINK, FIFO, DIRECTORY, REGULAR}) {
      SCOPED_TRACE(std::string(item.path) + ", " + kindNames[kind]);
      Outcome outcome = attempt(item, kind);
      bool done = outcome.done;
      const std::string &said = outcome.said;
      EXPECT_FALSE(outcome.blocked);
      EXPECT_EQ(readWholeFile(outside + "/target"), item.content);
      EXPECT_FALSE(fs::exists(fs::symlink_status(outside + "/absent")));
      bool readable = kind == REGULAR || kind == LINK_OUTSIDE;
      switch (item.use) {
        case NEW_NAME:
          EXPECT_TRUE(done);
          EXPECT_TRUE(kept(item, kind));
          break;
        case OWN_FILE:
          if (kind == REGULAR) {
            EXPECT_NE(readWholeFile(item.path).find(item.written), std::string::npos) << readWholeFile(item.path);
          } else {
            EXPECT_TRUE(kept(item, kind));
            EXPECT_NE(said.find(item.path), std::string::npos) << said;
          }
          break;
        case INPUT:
          EXPECT_EQ(done, readable);
          if (!readable && item.path == std::string(CONVERTER_LIST_FILE)) {
            EXPECT_NE(said.find("Cannot read the file q2.out"), std::string::npos) << said;
          }
          break;
      }
      fs::remove_all(item.path);
      fs::remove_all("hardcopy/5-1.png");
      fs::remove_all(outside + "/absent");
    }
  }
  std::string outside;
  void (*previousPipeHandler)(int) = SIG_DFL;
};

// Makes the trace file standard output for one line, then gives the test its output back.
bool traceOneLine() {
  int saved = dup(STDOUT_FILENO);
  bool opened = openTraceFile();
  if (opened) {
    printf("trace line\n");
    fflush(stdout);
  }
  dup2(saved, STDOUT_FILENO);
  close(saved);
  return opened;
}

bool saveImage() {
  static const uint8_t pixels[18] = {};
  const uint8_t *rows[2] = {pixels, pixels + 9};
  return qSaveImageRows(NUMBERED_HARDCOPY, 0, 3, 2, rows) == 2 && fs::is_regular_file("hardcopy/5-1.png");
}

void writeFilmParameters() {
  povFiles.patternBase = "club";
  povFiles.sceneBase = "club_0";
  povFiles.iniName = "pov/club_0_.ini";
  povFiles.finalFrame = 10;
  povFiles.width = 320;
  povFiles.height = 240;
  qWriteMpegParams();
}

bool stepList() {
  qPrefs.current = 2;
  qPrefs.q2_at = 0;
  return stepConverterList(STEP_NEXT) == 0 && currentPatternFile == "531";
}

bool copySource() {
  return copyFile("copy.pat", "source.pat") == COPY_OK && readWholeFile("copy.pat") == "% source\n";
}

bool readAnswer() {
  char answer[TCL_ANSWER_SIZE] = "";
  return readTclPassing(answer) == 0 && std::string(answer) == "answer";
}

TEST_F(FileKinds, NoLinkFollowedNoFifoWaitedOn) {
  const Item items[] = {
      {"hardcopy/5-0.png", NEW_NAME, "old image", nullptr, saveImage},
      {TRACE_FILE, OWN_FILE, "old trace\n", "trace line", traceOneLine},
      {TCL_PASSING_FILE, OWN_FILE, "old request\n", "new request", [] { return writeTclPassing("new request") == 0; }},
      {TCL_INFO_FILE, OWN_FILE, "old info\n", "new info", [] { qMsg(QMSG_INFO, "new info\n"); return true; }},
      {TCL_REPORT_FILE, OWN_FILE, "old report\n", "m/5.pat", [] { qMsg(QMSG_REPORT, "new report\n"); return true; }},
      {"pov/club.par", OWN_FILE, "old parameters\n", "qUoItaNiM.oUt", [] { writeFilmParameters(); return true; }},
      {CONVERTER_LIST_FILE, INPUT, "441\n531\n", nullptr, stepList},
      {TCL_PASSING_FILE, INPUT, "answer\n", nullptr, readAnswer},
      {"source.pat", INPUT, "% source\n", nullptr, copySource},
  };
  for (const Item &item : items) expectEachKindMet(item);
}

// Own files of a fixed name with a second name elsewhere (a hard link): the program's text goes
// into a new file at the name, and the file elsewhere keeps what it held.
TEST_F(FileKinds, HardLinkedOwnFilesAreReplacedNotWrittenInto) {
  const Item items[] = {
      {TRACE_FILE, OWN_FILE, "old trace\n", "trace line", traceOneLine},
      {TCL_REPORT_FILE, OWN_FILE, "old report\n", "m/5.pat", [] { qMsg(QMSG_REPORT, "new report\n"); return true; }},
      {TCL_PASSING_FILE, OWN_FILE, "old request\n", "new request", [] { return writeTclPassing("new request") == 0; }},
      {TCL_INFO_FILE, OWN_FILE, "old info\n", "new info", [] { qMsg(QMSG_INFO, "new info\n"); return true; }},
  };
  fs::create_directory("elsewhere");
  for (const Item &item : items) {
    SCOPED_TRACE(item.path);
    writeWholeFile("elsewhere/file", item.content);
    fs::remove_all(item.path);  // another file's messages may have made it
    ASSERT_EQ(link("elsewhere/file", item.path), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    item.act();
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(readWholeFile("elsewhere/file"), item.content);
    EXPECT_NE(readWholeFile(item.path).find(item.written), std::string::npos) << readWholeFile(item.path);
    struct stat status;
    ASSERT_EQ(lstat(item.path, &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_nlink, 1u);
    fs::remove_all(item.path);
  }
}

// The dialog scripts reach the exchange and information files only through the program's checks,
// also when something is put at the name while a dialog is open (no request is written then); a
// dialog script itself, and a script it sources, runs only from a regular file.
class FileKindsGui : public FileKinds {
 protected:
  void SetUp() override {
    FileKinds::SetUp();
    ASSERT_FALSE(sharedDisplay().empty());
    setenv("DISPLAY", sharedDisplay().c_str(), 1);
    writeWholeFile("tcl/write_answer.tcl", "source tcl/qdialog.tcl\nqWriteAnswer written\ndestroy .\n");
    writeWholeFile("tcl/read_request.tcl", "source tcl/qdialog.tcl\nset request [qReadPassing]\ndestroy .\n");
    writeWholeFile("tcl/show_info.tcl",
                   "source tcl/tcl_thread.tcl\nqMsgInfo\nset shown [string trim [.top.info get 1.0 end]]\n"
                   "destroy .\nif {$shown ne \"info\"} {error \"not shown\"}\n");
    writeWholeFile("tcl/source_part.tcl", "source tcl/any_part.tcl\ndestroy .\n");
  }
  void TearDown() override {
    waitForNonModalDialogs(5000);
    unsetenv("DISPLAY");
    FileKinds::TearDown();
  }
};

bool runDialog(const char *script) { return InvokeTclCmd(script, nullptr, 0, nullptr) == 0; }

TEST_F(FileKindsGui, DialogScriptsReachTheirFilesThroughTheChecks) {
  const Item items[] = {
      {TCL_PASSING_FILE, OWN_FILE, "old answer\n", "written", [] { return runDialog("tcl/write_answer.tcl"); }},
      {TCL_PASSING_FILE, INPUT, "request\n", nullptr, [] { return runDialog("tcl/read_request.tcl"); }},
      {TCL_INFO_FILE, INPUT, "info\n", nullptr, [] { return runDialog("tcl/show_info.tcl"); }},
      {"tcl/any_dialog.tcl", INPUT, "destroy .\n", nullptr, [] { return runDialog("tcl/any_dialog.tcl"); }},
      {"tcl/any_part.tcl", INPUT, "set part 1\n", nullptr, [] { return runDialog("tcl/source_part.tcl"); }},
  };
  for (const Item &item : items) expectEachKindMet(item);
}

// ---- models and their Inline files ---------------------------------------------------------------

const char *const ballModel = "#VRML V2.0 utf8\nShape { geometry Sphere { radius 0.04 } }\n";

// A pattern's models in VRML mode in a copy of the home, one table and scene a pattern as the
// pattern loop makes them.
class ModelKinds : public FileKinds {
 protected:
  void SetUp() override {
    FileKinds::SetUp();
    jugglerModel = readWholeFile("v/basic/juggler.wrl");
    writeWholeFile("v/kinds_parent.wrl", "#VRML V2.0 utf8\nInline { url \"v/kinds_part.wrl\" }\n");
    qPrefs.vrml = 1;
    qPrefs.jugglerlist = 0;
    ASSERT_EQ(allocObjectBuffers(), 0);
    ASSERT_EQ(allocVRMLBuffers(), 0);
  }
  void TearDown() override {
    newPattern();
    qPrefs.vrml = 0;
    FileKinds::TearDown();
  }
  static void newPattern() {
    resetObjectTable();
    resetVRMLScene();
    resetFigureState();
    orderCursor = 0;
  }
  static std::string jugglerModel;
};
std::string ModelKinds::jugglerModel;

// Two balls of one model, as a pattern loads them: true when the model itself was read; the
// unknown model stands in for one that cannot be read.
bool loadBallsOf(const char *path) {
  int read = 0;
  for (int ball = 0; ball < 2; ball++) {
    if (loadVRMLFile(path, loadedObjectCount, 0, 0, 0, 0, VRML_JUGGLED) != VRML_LOADED) continue;
    std::string name = currentObjectNode->name;
    EXPECT_TRUE(name == path || name == "v/dunno.wrl") << name;
    read += name == path;
  }
  return read == 2;
}

// The lines of the text that name the file.
int linesNaming(const std::string &text, const std::string &path) {
  int lines = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (text.substr(at, end - at).find(path) != std::string::npos) lines++;
    at = end + 1;
  }
  return lines;
}

TEST_F(ModelKinds, ModelsAreReadThroughLinksAndNoFifoIsWaitedOn) {
  const Item items[] = {
      {"v/kinds_ball.wrl", INPUT, ballModel, nullptr, [] { newPattern(); return loadBallsOf("v/kinds_ball.wrl"); }},
      {"v/kinds_part.wrl", INPUT, ballModel, nullptr, [] { newPattern(); return loadBallsOf("v/kinds_parent.wrl"); }},
      {"v/basic/juggler.wrl", INPUT, jugglerModel.c_str(), nullptr, [] {
         newPattern();
         const double origin[3] = {0, 0, 0};
         return Mensch_laden(origin, 0) == 0;
       }},
  };
  for (const Item &item : items) {
    for (Kind kind : {LINK_OUTSIDE, DANGLING_LINK, FIFO, DIRECTORY, REGULAR}) {
      SCOPED_TRACE(std::string(item.path) + ", " + kindNames[kind]);
      Outcome outcome = attempt(item, kind);
      EXPECT_FALSE(outcome.blocked);
      bool readable = kind == REGULAR || kind == LINK_OUTSIDE;
      EXPECT_EQ(outcome.done, readable) << outcome.said;
      EXPECT_EQ(linesNaming(outcome.errors, item.path), readable ? 0 : 1) << outcome.errors;
      if (kind == FIFO || kind == DIRECTORY) {
        EXPECT_NE(outcome.errors.find("not a regular file"), std::string::npos) << outcome.errors;
      }
      fs::remove_all(item.path);
      fs::remove_all(outside + "/absent");
    }
  }
}

}  // namespace
