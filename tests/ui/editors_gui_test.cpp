// The editors in the running program, driven with xdotool: Ctrl-E, a drag and a save move the
// juggler in the pattern file; Ctrl-W opens the walking editor's panel, and its save writes the
// keyframe section.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/quoit_test_support.h"
#include "tests/ui/glut_xvfb.h"
#include "tests/ui/running_quoit.h"
#include "ui/remote.h"

namespace {

// Waits up to the time for the file to hold the text; what it held last.
std::string waitForText(const std::string &path, const std::string &text, double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::string seen = readWholeFile(path);
  while (seen.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    seen = readWholeFile(path);
  }
  return seen;
}

class EditorsGui : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start"; }
};

// "531" comes from the siteswap converter, so leaving the editor asks whether to save: the
// unattended dialog says yes, and the unattended requester names the file "1", which is "m/1"
// in the home as every pattern name that begins with a digit. A drag moves the juggler by its
// length over the 3D window's width times 5 m, in the 3D window and in the remote's panel alike.
TEST_F(EditorsGui, ADragInTheSceneEditorMovesTheJugglerInTheSavedFile) {
  const struct {
    const char *where;
    bool remote;
    int fromX, fromY, length;  // from the top left of the 3D window, or of the panel
  } drags[] = {
      {"3D window", false, 50, 150, 200},
      {"remote's panel", true, 5, 45, 80},
  };
  for (const auto &d : drags) {
    std::vector<std::string> words = {"531"};
    if (d.remote) words.push_back("+qremote=1");
    RunningQuoit quoit(words);
    ASSERT_FALSE(quoit.window().empty()) << d.where;
    int width = windowGeometry(quoit.window()).width;
    ASSERT_GT(width, 200) << d.where;
    std::string target = quoit.window();
    int x = d.fromX, y = d.fromY;
    if (d.remote) {
      target = findWindow("^QuoitRemoteControl$", 10);
      ASSERT_FALSE(target.empty());
      Geometry g = windowGeometry(target);
      RemoteLayout l = remoteLayout(g.width, g.height);
      ASSERT_LT(d.fromX + d.length, l.panel[2]);
      x += l.panel[0];
      y += l.panel[1];
    }
    quoit.key("ctrl+e");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    commandOutput("xdotool mousemove --window " + target + " " + std::to_string(x) + " " + std::to_string(y) +
                  " mousedown 1 2>/dev/null");
    for (int step = 1; step <= 10; step++) {
      commandOutput("xdotool mousemove --window " + target + " " + std::to_string(x + d.length * step / 10) + " " +
                    std::to_string(y) + " 2>/dev/null");
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    commandOutput("xdotool mouseup 1 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    quoit.key("ctrl+e");
    std::string saved = waitForText(quoit.home() + "/m/1", "\nj\n", 20);
    size_t at = saved.find("\nj\n");
    ASSERT_NE(at, std::string::npos) << d.where << ": " << saved;
    double heading = 1717, jx = 1717, jy = 1717, jz = 1717;
    char left = 0, right = 0;
    ASSERT_EQ(sscanf(saved.c_str() + at, "\nj\n%lf\n%lf %lf %lf %c %c", &heading, &jx, &jy, &jz, &left, &right), 6)
        << d.where << ": " << saved;
    EXPECT_NEAR(jx, double(d.length) / width * 5, 0.011) << d.where << ": " << saved;
    EXPECT_NEAR(jy, 0, 0.011) << d.where << ": " << saved;
    EXPECT_EQ(left, 'c');
    EXPECT_EQ(right, 'c');
    // Leaving reloads the saved file: the program goes on with it.
    EXPECT_NE(quoit.waitForTitle("Quoit: ", 10).find("Quoit: "), std::string::npos) << d.where;
    EXPECT_EQ(quoit.finish().exitCode, 0) << d.where;
  }
}

// The walking pattern's file as the program read it, its keyframe section, and the file without it.
struct KeyframeFile {
  std::string path, original, section, without;
};

void readKeyframeFile(const RunningQuoit &quoit, KeyframeFile *file) {
  file->path = quoit.home() + "/m/3ball_walking";
  file->original = readWholeFile(file->path);
  size_t from = file->original.find("kf 1"), to = file->original.find("kf -1\n");
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  file->section = file->original.substr(from, to + 6 - from);
  file->without = file->original.substr(0, from) + file->original.substr(to + 6);
}

// The section the program read is what the panel's save writes: with it taken out of the file
// after the load, the save puts it back in its place, byte for byte.
TEST_F(EditorsGui, TheWalkingEditorsPanelSavesTheKeyframeSection) {
  RunningQuoit quoit({"m/3ball_walking"});
  ASSERT_FALSE(quoit.window().empty());
  KeyframeFile file;
  ASSERT_NO_FATAL_FAILURE(readKeyframeFile(quoit, &file));
  writeWholeFile(file.path, file.without);
  quoit.key("ctrl+w");
  EXPECT_FALSE(findWindow("^quoit: walking editor$", 10).empty());
  EXPECT_EQ(waitForText(file.path, file.section, 20), file.original);
  EXPECT_NE(quoit.title().find("Quoit: "), std::string::npos);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// Presses the panel's first button, "Save and leave", from the keyboard: Tab takes the focus to it,
// space presses it.
void pressSaveAndLeave(const std::string &panel) {
  commandOutput("xdotool windowfocus --sync " + panel + " 2>/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  commandOutput("xdotool key --clearmodifiers Tab space 2>/dev/null");
}

// However the walking editor is left, its panel closes; each time it is entered again a new panel
// opens, and the last one's "Save and leave" works. No dialog answers by itself here: the panel
// waits for its buttons. The editor keeps the keyframes it read, so each save puts the section
// back into the file it was taken out of.
TEST_F(EditorsGui, LeavingTheWalkingEditorClosesItsPanelAndEnteringOpensANewOne) {
  RunningQuoit quoit({"m/3ball_walking"}, "", false);
  ASSERT_FALSE(quoit.window().empty());
  KeyframeFile file;
  ASSERT_NO_FATAL_FAILURE(readKeyframeFile(quoit, &file));
  const char *title = "^quoit: walking editor$";
  const struct {
    const char *way;
    bool saves;
  } ways[] = {{"Ctrl-W", false}, {"the menu's Save and leave", true}, {"the panel's Save and leave", true}};
  for (const auto &w : ways) {
    writeWholeFile(file.path, file.without);
    quoit.key("ctrl+w");
    std::string panel = findWindow(title, 10);
    ASSERT_FALSE(panel.empty()) << w.way << ": no panel";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (w.way[0] == 'C') quoit.key("ctrl+w");
    else if (strstr(w.way, "menu")) chooseFromMenu(quoit.window(), 7, 10, -1, 0);
    else pressSaveAndLeave(panel);
    EXPECT_EQ(findVisible(title, false), "") << w.way << ": the panel stays open";
    if (w.saves) EXPECT_EQ(waitForText(file.path, file.section, 20), file.original) << w.way;
    else EXPECT_EQ(readWholeFile(file.path), file.without) << w.way;
  }
  EXPECT_NE(quoit.title().find("Quoit: "), std::string::npos);
  EXPECT_EQ(quoit.finish().exitCode, 0);
}

// A text of the English texts in the home, by its number.
std::string englishText(const std::string &home, const std::string &number) {
  std::string texts = readWholeFile(home + "/l/english");
  size_t at = texts.find("\n" + number + " ");
  if (at == std::string::npos) return "";
  at += number.size() + 2;
  return texts.substr(at, texts.find('\n', at) - at);
}

size_t occurrences(const std::string &text, const std::string &part) {
  size_t count = 0;
  for (size_t at = text.find(part); !part.empty() && at != std::string::npos; at = text.find(part, at + 1)) count++;
  return count;
}

// With a directory where the exchange file goes, the question on leaving the editor of a converted
// siteswap cannot be shown: Ctrl-E, the menu's leave entry and Esc still leave the editor, without
// saving and saying so, and Esc then ends quoit.
TEST_F(EditorsGui, TheSceneEditorIsLeftWhenItsQuestionCannotBeShown) {
  for (const char *way : {"Ctrl-E", "the menu's leave entry", "Esc"}) {
    SCOPED_TRACE(way);
    RunningQuoit quoit({"531"});
    ASSERT_FALSE(quoit.window().empty());
    std::string exchange = quoit.home() + "/tmp/tcl_passing";
    remove(exchange.c_str());
    ASSERT_EQ(mkdir(exchange.c_str(), 0700), 0);
    std::string notice = englishText(quoit.home(), "2656");
    ASSERT_FALSE(notice.empty());
    quoit.key("ctrl+e");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    if (way[0] == 'C') quoit.key("ctrl+e");
    else if (way[0] == 't') chooseFromMenu(quoit.window(), 25, 26, -1, 0);
    if (way[0] != 'E') {
      EXPECT_NE(waitForText(quoit.home() + "/debug.quoit.txt", notice, 10).find(notice), std::string::npos);
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    quoit.key("Escape");
    EXPECT_TRUE(quoit.waitForWindowGone(20));
    RunResult run = quoit.finish();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(occurrences(run.trace, notice), 1u);
    EXPECT_FALSE(std::filesystem::exists(quoit.home() + "/m/1")) << "saved though not asked";
  }
}

// A FIFO put at the exchange file while the program runs: Ctrl-W refuses the walking editor with a
// message instead of waiting on it, and Esc still ends the program. A program that waits on the
// FIFO does not take its window away, and the time limit of the run ends it.
TEST_F(EditorsGui, AFifoAtTheExchangeFileRefusesTheWalkingEditorAndEscStillEnds) {
  RunningQuoit quoit({"m/3ball_walking"});
  ASSERT_FALSE(quoit.window().empty());
  std::string exchange = quoit.home() + "/tmp/tcl_passing";
  remove(exchange.c_str());
  ASSERT_EQ(mkfifo(exchange.c_str(), 0600), 0);
  quoit.key("ctrl+w");
  commandOutput("xdotool key --window " + quoit.window() + " Escape 2>/dev/null");
  EXPECT_TRUE(quoit.waitForWindowGone(5));
  RunResult run = quoit.finish();
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.standardError.find("Cannot write the file tmp/tcl_passing: not a regular file"), std::string::npos)
      << run.standardError;
  EXPECT_NE(run.standardError.find("Error 20051108 in StartEditor."), std::string::npos) << run.standardError;
}

}  // namespace
