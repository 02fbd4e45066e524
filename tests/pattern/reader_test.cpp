// The reader's header entries, body cells and wrap lines, with the edge cases that matter.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "core/prefs.h"
#include "core/runstate.h"
#include "tests/support/loadpattern.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "core/viewrecords.h"
#include "pattern/testseam.h"

namespace {

const std::string oneJuggler = "j 0  0 0 0  c c\n";
const std::string cascade = "a -\n- b\nc -\n- a\nb -\n- c\n";

TEST(PatternHeader, CameraEntriesSetTheCameraAndTheSavedCamera) {
  ASSERT_EQ(loadText("B=0.5,1.2,4,60 G=0,0,1\n" + oneJuggler + "*\n" + cascade), 0);
  EXPECT_DOUBLE_EQ(cameraState.azimuth, 0.5);
  EXPECT_DOUBLE_EQ(cameraState.elevation, 1.2);
  EXPECT_DOUBLE_EQ(cameraState.distance, 4);
  EXPECT_DOUBLE_EQ(cameraState.zoom, 60);
  EXPECT_DOUBLE_EQ(savedCamera.azimuth, 0.5);
  EXPECT_DOUBLE_EQ(savedCamera.zoom, 60);
  for (int i = 0; i < 3; i++) EXPECT_DOUBLE_EQ(savedCamera.lookAt[i], i == 2 ? 1.0 : 0.0);
}

TEST(PatternHeader, WithoutLookAtTheDefaultLooksAtHalfTheHighestPoint) {
  ASSERT_EQ(loadText(oneJuggler + "*\n" + cascade), 0);
  EXPECT_DOUBLE_EQ(cameraState.lookAt[2], 1.9 / 2);
  EXPECT_DOUBLE_EQ(savedCamera.lookAt[2], 1.9 / 2);
}

TEST(PatternHeader, TimeFactorAppliesOnlyToAGivenTaktDuration) {
  freshPatternState();
  std::string with = writeTempPattern("dt", "dt=0.2\n" + oneJuggler + "*\n" + cascade);
  std::string without = writeTempPattern("nodt", oneJuggler + "*\n" + cascade);
  struct Case {
    const std::string &file;
    double expected;
  } cases[] = {{with, 0.4}, {without, 0.25}};
  for (const Case &c : cases) {
    freshPatternState();
    qPrefs.timefactor = 2.0;
    ASSERT_EQ(loadPreparedPattern(c.file), 0);
    EXPECT_NEAR(dt, c.expected, 1e-12);
    EXPECT_NEAR(t_zyklus, 6 * c.expected, 1e-12);
  }
  remove(with.c_str());
  remove(without.c_str());
}

TEST(PatternHeader, ObjectModelPairsFollowTheLetterOrder) {
  ASSERT_EQ(loadText(oneJuggler + "O=5 3#2 2#7\n*\na -\n- b\nc -\n- d\ne -\n- a\nb -\n- c\nd -\n- e\n"), 0);
  const int models[] = {2, 2, 2, 7, 7};
  for (int o = 0; o < 5; o++) EXPECT_EQ(objectModelNumber[o], models[o]);
}

TEST(PatternHeader, ObjectModelCountsPastTheObjectsStopAtTheLastObject) {
  objectModelNumber[3] = -5;
  ASSERT_EQ(loadText(oneJuggler + "O=3 5#2\n*\n" + cascade), 0);
  for (int o = 0; o < 3; o++) EXPECT_EQ(objectModelNumber[o], 2);
  EXPECT_EQ(objectModelNumber[3], -5);
}

TEST(PatternHeader, TitleIsCutTo64AndAnEmptyTitleLineKeepsTheJugglerBlock) {
  ASSERT_EQ(loadText("! " + std::string(80, 'T') + "\n" + oneJuggler + "*\n" + cascade), 0);
  EXPECT_EQ(std::string(Mustertitel), std::string(64, 'T'));
  ASSERT_EQ(loadText("!\n" + oneJuggler + "*\n" + cascade), 0);
  EXPECT_STREQ(Mustertitel, "\n");
  ASSERT_EQ(loadText("! 100% fun %s %n\n" + oneJuggler + "*\n" + cascade), 0);
  EXPECT_STREQ(Mustertitel, "100% fun %s %n\n");
}

TEST(PatternHeader, SiteswapTags) {
  struct Case {
    const char *line;
    const char *text;
  } cases[] = {
      {"% site-swap 531 using three balls\n", "531 "},
      {"% 5x QuoitSiteSwap\n", ""},
      {"% 441 QuoitSiteSwap\n", " 441"},
      {"% no tag here\n", ""},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(loadText(c.line + oneJuggler + "*\n" + cascade), 0) << c.line;
    EXPECT_STREQ(Siteswap_Text, c.text) << c.line;
  }
}

TEST(PatternHeader, KeyframeSectionIsReadAndTheHeaderGoesOn) {
  std::string keyframes = "kf 1 j 0\nb 0.000,0.000; 0.500,0.000; 1.000,0.500; 1.000,1.000\ntang=1\nafp=0\nangle=0.0 90.0\nkf -1\n";
  ASSERT_EQ(loadText(keyframes + "dt=0.3\n" + oneJuggler + "*\n" + cascade), 0);
  EXPECT_NEAR(dt, 0.3, 1e-12);
}

TEST(PatternHeader, PresetsOfTheKindLetters) {
  Fangwurf f = {{1, 0.7, 1}, {1, 0.7, 1}, 0, 0, 0};
  EXPECT_EQ(SetJugglersPosition(&f, KindOfThrowFlag('s')), 0);
  EXPECT_EQ(f.fang[0], 0);
  EXPECT_EQ(f.fang[1], 0.7);
  EXPECT_EQ(f.flag, int(KOT_s));
  EXPECT_EQ(SetJugglersPosition(&f, KindOfThrowFlag('d')), 0);
  EXPECT_EQ(f.fang[2], -1.25);
  EXPECT_EQ(f.wurf[1], 0.1);
  EXPECT_EQ(SetJugglersPosition(&f, KindOfThrowFlag('x')), 20499);
  EXPECT_EQ(SetJugglersPosition(&f, KindOfThrowFlag('*')), 151298);
  // Every kind the "j" block reads has a letter the editors can write back, 'd' too.
  const char letters[] = "cCfbBaAsStd";
  for (const char *l = letters; *l; l++) EXPECT_EQ(Wurfart_Buchstabe(KindOfThrowFlag(*l)), *l);
  EXPECT_EQ(Wurfart_Buchstabe(KindOfThrowFlag('r')), 'C');
  EXPECT_EQ(Wurfart_Buchstabe(KindOfThrowFlag('z')), ' ');
}

TEST(PatternBody, VirtualHandsAreNumberedAfterTheRealHands) {
  struct Case {
    const char *body;
    int hands;
    char letter;
    int takt, hand;
  } cases[] = {
      {"a&b c\n- -\n", 4, 'a', 0, 0},
      {"a&b c\n- -\n", 4, 'b', 0, 2},
      {"a&b c\n- -\n", 4, 'c', 0, 1},
      {"- -\nc a&b\n", 4, 'b', 1, 3},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(loadText(oneJuggler + "*\n" + c.body), 0) << c.body;
    EXPECT_EQ(handCount, c.hands);
    EXPECT_NE(dotzspeicher[c.takt][c.hand][Objekt_Nummer(c.letter)], 0) << c.body << c.letter;
  }
}

TEST(PatternBody, VirtualHandsOfSeveralJugglersStayInsideTheHandTable) {
  std::string two = "j 0  -1 0 0  c c\n  180 1 0 0  c c\n*\n";
  ASSERT_EQ(loadText(two + "a b c&d e\n- - - -\n"), 0);
  EXPECT_EQ(handCount, 6);
  EXPECT_NE(dotzspeicher[0][4][Objekt_Nummer('d')], 0);  // juggler 1's left virtual hand
  EXPECT_NE(dotzspeicher[0][3][Objekt_Nummer('e')], 0);
  EXPECT_EQ(Hand(4, 0), 2);
  EXPECT_EQ(Hand(5, 0), 3);
  EXPECT_EQ(Hand(5, 3), 1);
  ASSERT_EQ(loadText(two + "a&b c d e&f\n- - - -\n"), 0);
  EXPECT_EQ(handCount, 8);
  EXPECT_NE(dotzspeicher[0][4][Objekt_Nummer('b')], 0);
  EXPECT_NE(dotzspeicher[0][7][Objekt_Nummer('f')], 0);
}

TEST(PatternBody, BounceCountsAndGroupsAreStoredWithTheCell) {
  ASSERT_EQ(loadText(oneJuggler + "*\n(c)//x \\\\y\n- -\n"), 0);
  EXPECT_STREQ(muster[0][0], "(c)//x");
  EXPECT_STREQ(muster[0][1], "\\\\y");
  EXPECT_EQ(dotzspeicher[0][0][Objekt_Nummer('x')], 130);
  EXPECT_EQ(dotzspeicher[0][1][Objekt_Nummer('y')], 126);
  EXPECT_EQ(bouncesPresent, 1);
  EXPECT_EQ(Objekt_in_Zelle('x', 0, 0), 1);
  EXPECT_EQ(Objekt_in_Zelle('c', 0, 0), 0);  // inside the group
  EXPECT_EQ(Objekt_in_Zelle('y', 0, 0), 0);
}

// The one tokenizer of lines and cells: a group closes only inside the given size, so a bracket
// past a cell's end or after a line's end leaves it open.
TEST(PatternBody, CellTokens) {
  const struct {
    const char *text;
    size_t size, pos;
    int kind;
    size_t end;
  } cases[] = {
      {"a&b", 3, 1, CELL_AMPERSAND, 1}, {"/a", 2, 0, CELL_BOUNCE, 0},        {"\\a", 2, 0, CELL_BOUNCE, 0},
      {"(c*3)a", 6, 0, CELL_GROUP, 4},  {"<x>", 3, 0, CELL_GROUP, 2},         {"(cd)", 3, 0, CELL_UNCLOSED_GROUP, 2},
      {"{a", 2, 0, CELL_UNCLOSED_GROUP, 1}, {"a-", 2, 1, CELL_CHARACTER, 1},  {"[)", 2, 0, CELL_UNCLOSED_GROUP, 1},
  };
  for (const auto &c : cases) {
    CellToken t = cellToken(c.text, c.size, c.pos);
    EXPECT_EQ(t.kind, c.kind) << c.text;
    EXPECT_EQ(t.end, c.end) << c.text;
    EXPECT_EQ(t.c, c.text[c.pos]) << c.text;
  }
  patternTestSeam.lastPatternMessage = 0;
  EXPECT_NE(loadText(oneJuggler + "*\n(c a -\n- b)\n"), 0);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 770);
}

TEST(PatternBody, StarInsideASpinGroupIsPartOfTheGroup) {
  ASSERT_EQ(loadText(oneJuggler + "*\n(c*3)a -\n- b\n(f*)c -\n- a\nb -\n- c\n"), 0);
  EXPECT_EQ(takte, 6);
  EXPECT_STREQ(muster[0][0], "(c*3)a");
  EXPECT_STREQ(muster[2][0], "(f*)c");
}

TEST(PatternBody, LineEndsAndLongLines) {
  struct Case {
    const char *name;
    std::string text;
  } cases[] = {
      {"CR LF", "j 0  0 0 0  c c\r\n*\r\na -\r\n- b\r\nc -\r\n- a\r\nb -\r\n- c\r\n"},
      {"no last line end", oneJuggler + "*\n" + cascade.substr(0, cascade.size() - 1)},
      {"star line with a note", oneJuggler + "* body follows\n" + cascade},
      {"long line", oneJuggler + "*\na" + std::string(120, ' ') + "-\n" + cascade.substr(4)},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(loadText(c.text), 0) << c.name;
    EXPECT_EQ(takte, 6) << c.name;
    EXPECT_EQ(objekte, 3) << c.name;
    EXPECT_STREQ(muster[5][1], "c") << c.name;
  }
}

TEST(PatternFile, BackslashesInTheNameAreSlashes) {
  std::string path = writeTempPattern("slash", oneJuggler + "*\n" + cascade);
  std::string windows = path;
  for (char &c : windows)
    if (c == '/') c = '\\';
  EXPECT_EQ(loadPattern(windows), 0);
  remove(path.c_str());
}

TEST(PatternBody, WrapPartners) {
  ASSERT_EQ(loadText(oneJuggler + "*\na -\n- b\nc -\n- a\n*\nabc\nbca\n"), 0);
  EXPECT_EQ(WRAP, 1);
  EXPECT_EQ(Wrap_Partner('a', 1), 'b');
  EXPECT_EQ(Wrap_Partner('b', 2), 'a');
  EXPECT_EQ(Wrap_Partner('-', 1), '-');
  EXPECT_EQ(Wrap_Partner('z', 1), 255);
}

TEST(PatternBody, CellWriterChecksItsRanges) {
  ASSERT_EQ(loadText(oneJuggler + "*\n" + cascade), 0);
  EXPECT_EQ(muster_ausfuellen(6, 0, 0, 'x'), 1);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 726);
  EXPECT_EQ(muster_ausfuellen(0, 2, 0, 'x'), 1);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 727);
  EXPECT_EQ(muster_ausfuellen(0, 0, -1, 'x'), 1);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 15);
  EXPECT_EQ(muster_ausfuellen(0, 0, CELL_SIZE, 'x'), 1);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 735);
  EXPECT_EQ(muster[0][0][CELL_SIZE], '\0');
  EXPECT_EQ(muster_ausfuellen(0, 0, 1, 'x'), 0);
  EXPECT_STREQ(muster[0][0], "ax");
}

TEST(PatternBody, InlineCommentTextIsBounded) {
  ASSERT_EQ(loadText(oneJuggler + "*\na - ! a " + std::string(70, 'w') + "\n- b\nc -  ! q not an object\n- a\nb -\n- c\n"), 0);
  ASSERT_EQ(qInlineCommentCount, 1);
  EXPECT_EQ(std::string(qInlineComment[0].text).size(), 50u);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 743);
}

}  // namespace

namespace {

// A UTF-8 byte-order mark before the title is skipped: the title stays the title and no word of
// it is read as a header entry. NUL bytes before the '!' read as blanks.
TEST(PatternHeader, ByteOrderMarkAndNulsBeforeTheTitle) {
  for (const std::string &start : {std::string("\xEF\xBB\xBF"), std::string("\0\0", 2)}) {
    patternTestSeam.lastPatternMessage = 0;
    ASSERT_EQ(loadText(start + "! B=1 dt=2 title\n" + oneJuggler + "*\n" + cascade), 0);
    EXPECT_STREQ(Mustertitel, "B=1 dt=2 title\n");
    EXPECT_EQ(patternTestSeam.lastPatternMessage, 0);
    EXPECT_DOUBLE_EQ(dt, 0.25);
  }
}

// Only regular files are read: a FIFO neither blocks nor loads, nor does a device.
TEST(PatternFile, OnlyRegularFilesAreRead) {
  std::string fifo = writeTempPattern("fifo", "");
  remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string &name : {fifo, std::string("/dev/zero"), std::string("/tmp")}) {
    patternTestSeam.lastPatternMessage = 0;
    EXPECT_NE(loadPattern(name), 0) << name;
    EXPECT_EQ(patternTestSeam.lastPatternMessage, 40) << name;
  }
  remove(fifo.c_str());
}

// On Linux a '\' is a plain character of a file name: a file whose name holds one is loaded.
TEST(PatternFile, BackslashInAnExistingNameIsKept) {
  std::string path = writeTempPattern("back\\slash", oneJuggler + "*\n" + cascade);
  EXPECT_EQ(loadPattern(path), 0);
  remove(path.c_str());
}

}  // namespace
