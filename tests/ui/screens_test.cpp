// Status and help screens: the texts in their order, the line limits, the status-line title, the
// wrap messages and the juggler view cycle.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <string>

#include "core/localtext.h"
#include "core/prefs.h"
#include "pattern/catalogue.h"
#include "pattern/store.h"
#include "scene/pathdisplay.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "tests/ui/glut_xvfb.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"
#include "ui/screens.h"

class Screens : public ::testing::Test {
 protected:
  int language = 0, vrml = 0, remote = 0;
  void SetUp() override {
    language = qPrefs.language;
    vrml = qPrefs.vrml;
    remote = remoteState;
    qPrefs.language = ENGLISH;
  }
  void TearDown() override {
    freeLocalTexts();
    qPrefs.language = language;
    qPrefs.vrml = vrml;
    remoteState = remote;
  }
  std::string tableFile(const std::string &content) {
    std::string path = writeTempPattern("screens_texts", content);
    EXPECT_EQ(readLocalTextFile(ENGLISH, path.c_str()), 0);
    remove(path.c_str());
    return path;
  }
};

static int lineCount(const std::string &text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

TEST_F(Screens, HelpLineBuilder) {
  tableFile("310 first line\n313 a much longer second line\n");
  std::string buffer;
  EXPECT_EQ(appendHelpLine(buffer, -1), 0);
  appendHelpLine(buffer, 310);
  appendHelpLine(buffer, 313);
  appendHelpLine(buffer, 999);  // the fallback text ends its line like every text
  EXPECT_EQ(buffer, "first line\na much longer second line\nno localText(999) available\n");
  EXPECT_EQ(appendHelpLine(buffer, -2), 28);
  EXPECT_EQ(countTextLines("a\nb\nc\n"), 1);
  EXPECT_EQ(countTextLines(""), -2);
}

TEST_F(Screens, HelpTextByRendererAndRemoteControl) {
  ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
  struct Case {
    int vrml, remote;
    int lines;
  } cases[] = {{0, REMOTE_NOT_OPENED, 0}, {0, REMOTE_HIDDEN, 1}, {0, REMOTE_SHOWN, -2}, {1, REMOTE_HIDDEN, -2}};
  int width = 0;
  qPrefs.vrml = 0;
  remoteState = REMOTE_NOT_OPENED;
  int base = lineCount(helpText(&width));
  for (const Case &c : cases) {
    qPrefs.vrml = c.vrml;
    remoteState = c.remote;
    std::string text = helpText(&width);
    EXPECT_EQ(lineCount(text), base + c.lines) << c.vrml << " " << c.remote;
    EXPECT_EQ(text.rfind(localText(310), 0), 0u);
    EXPECT_EQ(text.find(localText(318)) != std::string::npos, c.vrml == 0);
    EXPECT_EQ(text.find(localText(387)) != std::string::npos, c.remote != REMOTE_NOT_OPENED);
    EXPECT_EQ(text.find(localText(2636)) != std::string::npos, c.remote != REMOTE_SHOWN);
    EXPECT_LE(countTextLines(text.c_str()) + 1, int(ML_ZEILEN));
  }
  remoteState = REMOTE_SHOWN;
  qPrefs.vrml = 0;
  std::string shown = helpText(&width);
  EXPECT_NE(shown.find(localText(370)), std::string::npos);
  EXPECT_EQ(shown.find(localText(389)), std::string::npos);
}

TEST_F(Screens, VrmlHelpLeavesOutTheClassicKeys) {
  ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
  qPrefs.vrml = 1;
  int width;
  std::string text = helpText(&width);
  for (int n : {318, 376, 320}) EXPECT_EQ(text.find(localText(n)), std::string::npos) << n;
}

TEST_F(Screens, StatusTitleLine) {
  struct Case {
    const char *name, *line;
  } cases[] = {
      {"Demo", "-----Demo-----"},
      {"A twenty char title", "A twenty char "},
      {"Odd", "-----Odd------"},
  };
  for (const Case &c : cases) {
    tableFile(std::string("1 ") + c.name + "\n");
    remoteState = REMOTE_SHOWN;
    int lines;
    std::string text = fullStatusText(&lines);
    EXPECT_EQ(text.substr(0, text.find("\n\n")), std::string("V14.8\n") + c.line) << c.name;
  }
}

TEST_F(Screens, FullStatusText) {
  ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
  objekte = 3;
  takte = 6;
  dt = 0.25;
  t_zyklus = 1.5;
  WRAP = 0;
  remoteState = REMOTE_HIDDEN;
  int lines;
  std::string text = fullStatusText(&lines);
  EXPECT_EQ(lines, lineCount(text));
  EXPECT_EQ(text.rfind("Quoit V14.8\n  d e b u g \n", 0), 0u);
  EXPECT_NE(text.find("Objects:3\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    dt:0.2500s\nt_zyklus 1.50s\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Radius:"), std::string::npos);
  EXPECT_LE(lines, int(FS_ZEILEN));
  qPrefs.vrml = 1;
  WRAP = 1;
  std::string vrmlText = fullStatusText(&lines);
  EXPECT_EQ(lineCount(vrmlText), lineCount(text) + 3);
  EXPECT_NE(vrmlText.find("wrap:  6/  0/" + std::string(localText(60))), std::string::npos) << vrmlText;
  WRAP = 0;
}

// The wrap line gives the counts whether the pattern has wrap lines or not; only its end text
// tells which.
TEST_F(Screens, WrapLineAlwaysGivesTheCounts) {
  ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
  int savedRecord = qInternal[QINTERNAL_RECORD_TAKTS];
  struct Case {
    int wrap, takts, record, text;
    const char *counts;
  } cases[] = {{0, 6, 0, 61, "wrap:  6/  0/"}, {0, 124, 3, 61, "wrap:124/  3/"}, {1, 12, 4, 60, "wrap: 12/  4/"}};
  for (const Case &c : cases) {
    WRAP = c.wrap;
    takte = c.takts;
    qInternal[QINTERNAL_RECORD_TAKTS] = c.record;
    int lines;
    std::string text = fullStatusText(&lines);
    std::string last = std::string(c.counts) + localText(c.text);
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last) << text;
    EXPECT_EQ(lines, lineCount(text));
  }
  WRAP = 0;
  qInternal[QINTERNAL_RECORD_TAKTS] = savedRecord;
}

// In every language the full status screen is drawn whole: its lines are as wide as the widest
// text, so none wraps, and the last ones (zoom, object, wrap) are drawn too. A NUL object letter
// does not cut its line.
TEST_F(Screens, FullStatusIsDrawnWholeInEveryLanguage) {
  objekte = 3;
  takte = 6;
  t_zyklus = 1.5;
  WRAP = 0;
  remoteState = REMOTE_HIDDEN;
  for (int language = 0; language < LANGUAGE_COUNT; language++) {
    qPrefs.language = language;
    std::string path = sourcePath("data/l/") + languageNames[language];
    ASSERT_EQ(readLocalTextFile(language, path.c_str()), 0) << path;
    for (char letter : {'\0', 'b'}) {
      currentObjectLetter = letter;
      int lines;
      std::string text = fullStatusText(&lines);
      std::vector<std::string> drawn = drawnTextLines(text, lines, widestTextLine(text));
      ASSERT_GE(drawn.size(), 3u) << path;
      EXPECT_EQ(int(drawn.size()), lines) << path << "\n" << text;
      EXPECT_EQ(drawn.back(), "wrap:  6/  0/" + localTextLine(61)) << path;
      std::string object = localTextLine(209);
      object = object.substr(0, object.find('%')) + (letter ? letter : ' ');
      EXPECT_EQ(drawn[drawn.size() - 2], object) << path;
      EXPECT_EQ(drawn[drawn.size() - 3].rfind("Zoom  :", 0), 0u) << path;
    }
  }
  currentObjectLetter = 0;
}

// The help screen at the default window size (640 x 480, 8 x 13 font) in every language: two
// columns, the second after the widest line of the first, both within the window.
TEST_F(Screens, HelpColumnsFitTheDefaultWindow) {
  qPrefs.vrml = 0;
  for (int remote : {REMOTE_NOT_OPENED, REMOTE_HIDDEN, REMOTE_SHOWN}) {
    remoteState = remote;
    for (int language = 0; language < LANGUAGE_COUNT; language++) {
      qPrefs.language = language;
      std::string path = sourcePath("data/l/") + languageNames[language];
      ASSERT_EQ(readLocalTextFile(language, path.c_str()), 0) << path;
      int width;
      std::string text = helpText(&width);
      int lines = countTextLines(text.c_str());
      std::vector<std::string> drawn = drawnTextLines(text, lines, width);
      EXPECT_EQ(int(drawn.size()), lines + 2) << path;
      for (const std::string &line : drawn) EXPECT_LT(int(line.size()), MAX_TEXT_COLUMNS) << line;
      ASSERT_GT((lines + 2) * 14, 480 - 46) << "the help takes two columns";
      TextColumns columns = splitTextColumns(drawn, lines, [](const std::string &line) { return 8 * int(line.size()); });
      EXPECT_GE(columns.secondX, 4 + columns.firstWidth + 8) << path;
      EXPECT_LE(columns.secondX + columns.secondWidth, 640 - 4) << path << " remote " << remote;
      int h = (lines + 2) * 14 / 2, top = (480 + h) / 2;
      EXPECT_LE(top, 480 - 10) << path;
      EXPECT_GE(top - columns.splitAfter * 14, 2) << path;
      EXPECT_GE(top - 2 * 14 - (int(drawn.size()) - columns.splitAfter - 2) * 14, 2) << path;
    }
  }
}

// The help's key lines: the key in the first KEY_COLUMN characters, its text after them.
static const int HELP_KEY_TEXTS[] = {385, 313, 314, 381, 316, 379, 390, 317, 377, 318, 376, 320, 321, 387,
                                     323, 386, 371, 380, 374, 326, 327, 382, 329, 375, 330, 331, 401, 407,
                                     391, 332, 383, 406, 333, 402, 334, 336, 338, 388, 340, 373, 372, 384};
enum { KEY_COLUMN = 11 };

// The help screen as the window draws it, in every language at 640 x 480 and 1024 x 768, measured
// with the GLUT font: every key line is drawn whole, its key ends a space before its text, and no
// line reaches a line beside it or the window's edge. The child reports what does not fit.
TEST(HelpScreenGui, EveryKeyKeepsASpaceBeforeItsText) {
  ASSERT_FALSE(PrivateXvfb::display().empty()) << "Xvfb did not start";
  std::string trace = std::string(QUOIT_BINARY_DIR) + "/help_spaces.trace.txt";
  pid_t child = runChild(trace, [] {
    int argc = 1;
    char name[] = "help", *argv[] = {name, nullptr};
    glutInit(&argc, argv);
    qPrefs.vrml = 0;
    remoteState = REMOTE_HIDDEN;
    int faults = 0;
    auto fault = [&faults](const std::string &what) {
      printf("%s\n", what.c_str());
      fflush(stdout);
      faults++;
    };
    const int space = textLineWidth(" ");
    for (int language = 0; language < LANGUAGE_COUNT; language++) {
      qPrefs.language = language;
      std::string path = sourcePath("data/l/") + languageNames[language];
      if (readLocalTextFile(language, path.c_str()) != 0) return 100;
      struct Size {
        int width, height;
      } sizes[] = {{640, 480}, {1024, 768}};
      for (const Size &size : sizes) {
        std::string where = std::string(languageNames[language]) + " " + std::to_string(size.width) + "x" +
                            std::to_string(size.height) + ": ";
        int width;
        std::string text = helpText(&width);
        int lines = countTextLines(text.c_str());
        std::vector<std::string> drawn = drawnTextLines(text, lines, width);
        TextPlacement p = placeTextLines(drawn, lines, width, size.width, size.height, textLineWidth);
        for (int n : HELP_KEY_TEXTS) {
          std::string line = localTextLine(n);
          bool whole = false;
          for (const std::string &d : drawn) whole = whole || d == line;
          if (!whole) fault(where + "not drawn whole: " + line);
          std::string column = line.substr(0, KEY_COLUMN);
          std::string key = column.substr(0, column.find_last_not_of(' ') + 1);
          if (textLineWidth(key) + space > textLineWidth(column)) fault(where + "key runs into its text: " + line);
        }
        for (size_t i = 0; i < drawn.size(); i++) {
          int right = p.x[i] + textLineWidth(drawn[i]);
          if (p.x[i] < 0 || right > size.width) fault(where + "outside the window: " + drawn[i]);
          for (size_t j = 0; j < drawn.size(); j++)
            if (p.y[j] == p.y[i] && p.x[j] > p.x[i] && right + space > p.x[j])
              fault(where + "runs into the next column: " + drawn[i]);
        }
      }
    }
    return faults;
  });
  EXPECT_EQ(waitChild(child, 30), 0) << readFile(trace);
}

TEST_F(Screens, StatusLineTitle) {
  snprintf(Mustertitel, sizeof Mustertitel, "%s", "A pattern title\n");
  setStatusLineTitle();
  EXPECT_STREQ(statusLineTitle, "A pattern title\n");
  EXPECT_EQ(statusLineTitleLength, 16);
  Mustertitel[0] = '\0';
  setStatusLineTitle();
  EXPECT_EQ(statusLineTitleLength, 0);
}

TEST_F(Screens, ListWrapMessages) {
  tableFile("394 All shown.\n395 From the first.\n396 All shown backwards.\n397 From the last.\n");
  testing::internal::CaptureStdout();
  reportListWrapToFirst();
  reportListWrapToLast();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("All shown. From the first.\n"), std::string::npos) << out;
  EXPECT_NE(out.find("All shown backwards. From the last.\n"), std::string::npos) << out;
}

TEST_F(Screens, JugglerViewCycle) {
  jugglers = 2;
  jugglerViewCounter = 0;
  std::vector<int> presets;
  for (int i = 0; i < 8; i++) {
    qMode.viewPreset = 0;
    debuginfo(75);
    presets.push_back(qMode.viewPreset);
  }
  EXPECT_EQ(presets, (std::vector<int>{0, 1, 2, 0, 0, 1, 2, 0}));
  ASSERT_EQ(readLocalTextFile(ENGLISH, sourcePath("data/l/english").c_str()), 0);
  testing::internal::CaptureStderr();
  debuginfo(76);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("(debuginfo())"), std::string::npos);
}
