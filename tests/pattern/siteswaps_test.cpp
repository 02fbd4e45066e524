// Saved siteswaps and the start-notation collection: the names, the copy, the dialog answers, the
// HTML blocks and their sorted insertion; the dialogs themselves in the Gui suite at the end.
#include "pattern/siteswaps.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/localtext.h"
#include "core/prefs.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/scratch_home.h"

namespace fs = std::filesystem;

static StartNotation notation(const char *pattern, int hands, const char *start, std::initializer_list<int> counts) {
  StartNotation n{};
  n.pattern = pattern;
  n.hands = hands;
  n.start = start;
  int k = 0;
  for (int c : counts) n.counts[k++] = c;
  return n;
}

TEST(StartNotationBlock, GoldenHtml) {
  struct Case {
    const char *name;
    StartNotation n;
    int objects;
    const char *in, *out;
    const char *block, *link;
  } cases[] = {
      {"531 solo", notation("531", 2, "", {2, 1}), 3, "", "",
       "<a name=\"531\"><h3>3 objects: 531</h3></a>\n<table border=\"1\">\n"
       "(2R 1L, start R) { 531 }  &nbsp; &nbsp; &nbsp; &nbsp; \n</table>\nGround state pattern\n\n",
       "<a href=\"#531\">531</a> \n"},
      {"solo with a start and a transition", notation("441", 2, "55", {2, 2}), 3, "5", "52",
       "<a name=\"441\"><h3>3 objects: 441</h3></a>\n<table border=\"1\">\n"
       "(2R 2L) 55 -> { 441 }  &nbsp; &nbsp; &nbsp; &nbsp; \n</table>\nTransition: 3 -> 5 { 441 } 52  -> 3\n\n",
       "<a href=\"#441\">441</a> \n"},
      {"four hands, start throw, pattern repeated", notation("786", 4, "5", {2, 2, 1, 2}), 7, "", "",
       "<a name=\"786 4-handed\"><h3>7 objects: 786 4-handed</h3></a>\n<table border=\"1\">\n"
       "<tr><td>Juggler A (2R 1L) starts R<td>5x<td rowspan=\"2\">&nbsp;<td><td>8<td><td>7<td><td>6<td>\n"
       "<tr><td>Juggler B (2R 2L) follows R<td><td>7x<td><td>6<td><td>8<td><td>\n"
       "</table>\nGround state pattern\n\n",
       "<a href=\"#786 4-handed\">786&nbsp;4-handed</a> \n"},
      {"four hands, length a multiple of the hands", notation("7777", 4, "", {2, 2, 2, 1}), 7, "", "",
       "<a name=\"7777 4-handed\"><h3>7 objects: 7777 4-handed</h3></a>\n<table border=\"1\">\n"
       "<tr><td>Juggler A (2R 2L) starts R<td>7<td><td>7<td><td>\n"
       "<tr><td>Juggler B (2R 1L) follows R<td><td>7x<td><td>7x<td>\n"
       "</table>\nGround state pattern\n\n",
       "<a href=\"#7777 4-handed\">7777&nbsp;4-handed</a> \n"},
      // A pattern written like an object count must not take the section's anchor.
      {"pattern named like a section", notation("3", 2, "", {2, 1}), 3, "", "",
       "<a name=\"3 2-handed\"><h3>3 objects: 3</h3></a>\n<table border=\"1\">\n"
       "(2R 1L, start R) { 3 }  &nbsp; &nbsp; &nbsp; &nbsp; \n</table>\nGround state pattern\n\n",
       "<a href=\"#3 2-handed\">3</a> \n"},
      {"markup in a pattern is text", notation("<3p|3>", 2, "", {2, 1}), 3, "", "",
       "<a name=\"&lt;3p|3&gt;\"><h3>3 objects: &lt;3p|3&gt;</h3></a>\n<table border=\"1\">\n"
       "(2R 1L, start R) { &lt;3p|3&gt; }  &nbsp; &nbsp; &nbsp; &nbsp; \n</table>\nGround state pattern\n\n",
       "<a href=\"#&lt;3p|3&gt;\">&lt;3p|3&gt;</a> \n"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(startNotationBlock(c.n, c.objects, c.in, c.out), c.block) << c.name;
    EXPECT_EQ(startNotationLink(c.n), c.link) << c.name;
  }
}

TEST(StartNotationAnswer, Parsing) {
  struct Case {
    const char *answer;
    int result;
    const char *pattern, *start;
    int hands;
    int counts[START_HANDS_MAX];
  } cases[] = {
      {"531 2 - 2 - 1", 0, "531", "", 2, {2, 1}},
      {"441 2 55 - 2 - 2", 0, "441", "55", 2, {2, 2}},
      {"786 4 5 - 2 -2 -1 -2", 0, "786", "5", 4, {2, 2, 1, 2}},
      {"3 6 - 1 - 1 - 1 - 0 - 0 - 0", 0, "3", "", 6, {1, 1, 1, 0, 0, 0}},
      {"3-3 2 - 1 - 1", 0, "3-3", "", 2, {1, 1}},  // a '-' in the pattern is not the counts' start
      {"-1", 11, "", "", 0, {}},
      {"531 2 2 1", 12, "", "", 0, {}},  // no '-' at all
      {"531 2", 12, "", "", 0, {}},
      {"531 2 - 2", 12, "", "", 0, {}},  // a count missing
      {"531 2 - 2 - x", 12, "", "", 0, {}},
      {"531 2 - 2 - -1", 12, "", "", 0, {}},
      {"531 2 - 2 - 100", 12, "", "", 0, {}},
      {"531 3 - 1 - 1 - 1", 12, "", "", 0, {}},
      {"531 x - 2 - 1", 12, "", "", 0, {}},
      {"", 12, "", "", 0, {}},
  };
  for (const Case &c : cases) {
    StartNotation n{};
    ASSERT_EQ(parseStartNotationAnswer(c.answer, n), c.result) << c.answer;
    if (c.result != 0) continue;
    EXPECT_EQ(n.pattern, c.pattern) << c.answer;
    EXPECT_EQ(n.start, c.start) << c.answer;
    EXPECT_EQ(n.hands, c.hands) << c.answer;
    for (int k = 0; k < c.hands; k++) EXPECT_EQ(n.counts[k], c.counts[k]) << c.answer << " hand " << k;
  }
}

// A small collection: section 3 holds one pattern, section 4 is empty, section 5 has a link
// without any empty line after it, and there is no section 6.
static const char *const collection =
    "<h1>Start notations</h1>\n\n"
    "<h2><a name=\"3\">3 objects</a></h2>\n"
    "<a href=\"#441\">441</a> \n"
    "\n"
    "<a name=\"441\"><h3>3 objects: 441</h3></a>\nX\nGround state pattern\n\n"
    "<h2><a name=\"4\">4 objects</a></h2>\n"
    "\n"
    "<h2><a name=\"5\">5 objects</a></h2>\n"
    "<a href=\"#645\">645</a> \n"
    "<h2><a name=\"7\">7 objects</a></h2>\n"
    "<a href=\"#777\">777</a> \n"
    "\n";

TEST(InsertStartNotation, SortedPlaceInsideItsSection) {
  std::string linkOf531 = "<a href=\"#531\">531</a> \n", linkOf342 = "<a href=\"#342\">342</a> \n";
  std::string blockOf531 = "<a name=\"531\"><h3>3 objects: 531</h3></a>\nY\nGround state pattern\n\n";
  std::string blockOf333 = "<a name=\"333\"><h3>3 objects: 333</h3></a>\nZ\nGround state pattern\n\n";
  std::string head(collection, strstr(collection, "<a href=\"#441\""));
  std::string afterLink = std::string(collection).substr(head.size() + strlen("<a href=\"#441\">441</a> \n"));
  struct Case {
    const char *name, *section, *itemAnchor, *endAnchor;
    std::string item;
    int result;
    std::string expected;  // the whole text after the insertion; empty: unchanged
  } cases[] = {
      {"a link that sorts last goes to the empty line after the links", "<a name=\"3\"", "<a href", "<a name=\"4\"",
       linkOf531, 0, head + "<a href=\"#441\">441</a> \n" + linkOf531 + afterLink},
      {"a link that sorts first goes before the first link", "<a name=\"3\"", "<a href", "<a name=\"4\"", linkOf342, 0,
       head + linkOf342 + "<a href=\"#441\">441</a> \n" + afterLink},
      {"a block that sorts last follows the last block's empty line", "<a name=\"3\"", "<a name", "<h2>", blockOf531, 0,
       std::string(collection).insert(std::string(collection).find("<h2><a name=\"4\""), blockOf531)},
      {"a block that sorts first goes before the first block", "<a name=\"3\"", "<a name", "<h2>", blockOf333, 0,
       std::string(collection).insert(std::string(collection).find("<a name=\"441\""), blockOf333)},
      {"an empty section takes a link right after its heading", "<a name=\"4\"", "<a href", "<a name=\"5\"",
       "<a href=\"#4\">4</a> \n", 0,
       std::string(collection).insert(std::string(collection).find("\n<h2><a name=\"5\"") , "<a href=\"#4\">4</a> \n")},
      // Without an empty line in the section the link stays in it, before the next section's
      // heading, also when the section of the next object count is missing.
      {"no empty line in the section", "<a name=\"5\"", "<a href", "<a name=\"6\"", "<a href=\"#756\">756</a> \n", 0,
       std::string(collection).insert(std::string(collection).find("<h2><a name=\"7\""), "<a href=\"#756\">756</a> \n")},
      {"the link is there already", "<a name=\"3\"", "<a href", "<a name=\"4\"", "<a href=\"#441\">441</a> \n",
       INSERT_ALREADY_THERE, ""},
      {"a missing section", "<a name=\"6\"", "<a href", "<a name=\"7\"", linkOf531, INSERT_NO_SECTION, ""},
  };
  for (const Case &c : cases) {
    std::string text = collection;
    ASSERT_EQ(insertedStartNotation(text, c.section, c.itemAnchor, c.item, c.endAnchor), c.result) << c.name;
    EXPECT_EQ(text, c.expected.empty() ? std::string(collection) : c.expected) << c.name;
  }
}

// A block goes into the section of its object count even when the pattern is that count.
TEST(InsertStartNotation, PatternNamedLikeItsSection) {
  std::string text = collection;
  StartNotation three = notation("3", 2, "", {2, 1}), other = notation("531", 2, "", {2, 1});
  for (const StartNotation &n : {three, other}) {
    ASSERT_EQ(insertedStartNotation(text, "<a name=\"3\"", "<a href", startNotationLink(n), "<a name=\"4\""), 0);
    ASSERT_EQ(insertedStartNotation(text, "<a name=\"3\"", "<a name", startNotationBlock(n, 3, "", ""), "<h2>"), 0);
  }
  size_t section3 = text.find("<h2><a name=\"3\""), section4 = text.find("<h2><a name=\"4\"");
  EXPECT_EQ(text.find("<a name=\"3\""), text.find("<a name=\"3\">3 objects"));
  for (const char *part : {"<a href=\"#3 2-handed\">3</a>", "<a name=\"3 2-handed\">", "<a href=\"#531\">",
                           "<a name=\"531\">"}) {
    size_t at = text.find(part);
    EXPECT_GT(at, section3) << part;
    EXPECT_LT(at, section4) << part;
  }
}

TEST(SavedSiteswapName, CharactersAFileNameCannotHold) {
  struct Case {
    const char *directory, *siteswap;
    int objects, multihand;
    const char *name;
  } cases[] = {
      {"m", "531", 3, 2, "m/3_531"},
      {"m/", "531", 3, 2, "m/3_531"},
      {"saved", "(4,4)*", 4, 2, "saved/4_(4,4)#"},
      {"m", "[33]/1", 3, 2, "m/3_[33]_1"},
      {"m", "a\\b:c?\"<>|\x01", 1, 2, "m/1_a_b_c______"},
      {"m", "../../x", 1, 2, "m/1_.._.._x"},
      {"m", "333", 3, 3, "m/3_333-3_hands"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(proposedSiteswapName(c.directory, c.objects, c.siteswap, c.multihand), c.name) << c.siteswap;
}

class SavedSiteswaps : public ScratchHomeTest {
 protected:
  // The converter's pattern file for a siteswap, made by the real converter in the home.
  void convert(const char *siteswap) {
    RunResult run = runProgram(programPath("kovex"), {"-n", "-q", siteswap, "QuoitSiteSwap"}, home, RunOptions());
    ASSERT_EQ(run.exitCode, 0) << run.standardError;
    ASSERT_TRUE(fs::exists("QuoitSiteSwap"));
  }
};

TEST_F(SavedSiteswaps, CopyLoadsAgain) {
  convert("531");
  ASSERT_EQ(copyConvertedPattern("QuoitSiteSwap", "m/3_531"), 0);
  EXPECT_EQ(readWholeFile("m/3_531"), readWholeFile("QuoitSiteSwap"));
  ASSERT_EQ(loadPattern(home + "/m/3_531"), 0);
  EXPECT_EQ(objekte, 3);
  for (const auto &entry : fs::directory_iterator("m"))
    EXPECT_EQ(entry.path().filename().string().find("3_531."), std::string::npos) << "left behind: " << entry.path();
}

TEST_F(SavedSiteswaps, CopyFailures) {
  convert("531");
  writeWholeFile("m/taken", "mine\n");
  fs::create_symlink("QuoitSiteSwap", "linked");
  fs::create_symlink("nowhere", "m/dangling");
  fs::create_directory("locked");
  chmod("locked", 0555);
  struct Case {
    const char *source, *target;
    int result;
  } cases[] = {
      {"QuoitSiteSwap", "m/taken", 2},   // an existing file is not replaced
      {"QuoitSiteSwap", "m/dangling", 2},  // nor a link, not even a dangling one
      {"missing", "m/new", 1},
      {"linked", "m/new", 1},  // the source is not followed through a link
      {"m", "m/new", 1},       // nor read when it is a directory
      {"QuoitSiteSwap", "no_such_directory/new", 3},
  };
  for (const Case &c : cases) EXPECT_EQ(copyConvertedPattern(c.source, c.target), c.result) << c.source << " " << c.target;
  EXPECT_EQ(readWholeFile("m/taken"), "mine\n");
  EXPECT_TRUE(fs::is_symlink("m/dangling"));
  EXPECT_FALSE(fs::exists("m/new"));
  if (geteuid() != 0) {
    EXPECT_EQ(copyConvertedPattern("QuoitSiteSwap", "locked/new"), 3);
    EXPECT_TRUE(fs::is_empty("locked"));
  }
  chmod("locked", 0755);
}

TEST_F(SavedSiteswaps, NothingConvertedIsNotSaved) {
  convertedSiteswap = ConvertedSiteswap();
  std::string saved = "unchanged";
  EXPECT_EQ(saveSiteswap(1, saved), 11);
  EXPECT_EQ(saved, "");
}

// The collection is replaced whole: its mode stays, no temporary file is left, and a collection
// that cannot be read or written is reported and left alone.
TEST_F(SavedSiteswaps, CollectionRewrite) {
  chmod(START_NOTATION_FILE, 0640);
  std::string before = readWholeFile(START_NOTATION_FILE);
  std::string link = "<a href=\"#531\">531</a> \n";
  ASSERT_EQ(insertStartNotation(START_NOTATION_FILE, "<a name=\"3\"", "<a href", link, "<a name=\"4\""), 0);
  std::string after = readWholeFile(START_NOTATION_FILE);
  EXPECT_EQ(after.size(), before.size() + link.size());
  EXPECT_NE(after.find("<h2><a name=\"3\">3 objects</a></h2>\n" + link + "\n"), std::string::npos);
  struct stat info;
  ASSERT_EQ(stat(START_NOTATION_FILE, &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  for (const auto &entry : fs::directory_iterator("."))
    EXPECT_EQ(entry.path().filename().string().find(START_NOTATION_FILE "."), std::string::npos) << entry.path();
  EXPECT_EQ(insertStartNotation("missing.html", "<a name=\"3\"", "<a href", link, "<a name=\"4\""), INSERT_NOT_READ);
  fs::create_directory("locked");
  writeWholeFile("locked/start-notation.html", before);
  chmod("locked", 0555);
  if (geteuid() != 0) {
    EXPECT_EQ(insertStartNotation("locked/start-notation.html", "<a name=\"3\"", "<a href", link, "<a name=\"4\""),
              INSERT_NOT_WRITTEN);
    EXPECT_EQ(readWholeFile("locked/start-notation.html"), before);
  }
  chmod("locked", 0755);
}

// The dialogs under a private X server, answered by QUOIT_TEST_ANSWER.
class SavedSiteswapsGui : public SavedSiteswaps {
 protected:
  void SetUp() override {
    SavedSiteswaps::SetUp();
    ASSERT_FALSE(sharedDisplay().empty());
    setenv("DISPLAY", sharedDisplay().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("DISPLAY");
    setenv("QUOIT_TEST_ANSWER", "1", 1);
    SavedSiteswaps::TearDown();
  }
  int save(const char *answer, std::string &saved) {
    setenv("QUOIT_TEST_ANSWER", answer, 1);
    return saveSiteswap(1, saved);
  }
  int notate(const char *answer, const char *siteswap, int hands, int objects) {
    setenv("QUOIT_TEST_ANSWER", answer, 1);
    return writeStartNotation(siteswap, hands, objects);
  }
};

TEST_F(SavedSiteswapsGui, SavedUnderTheConfirmedName) {
  convert("531");
  convertedSiteswap = {"531", "QuoitSiteSwap"};
  objekte = 3;
  std::string saved;
  ASSERT_EQ(save("1", saved), 0);
  EXPECT_EQ(saved, "m/3_531");
  EXPECT_EQ(readWholeFile("m/3_531"), readWholeFile("QuoitSiteSwap"));
  ASSERT_EQ(loadPattern(home + "/m/3_531"), 0);
  EXPECT_EQ(objekte, 3);
  // The same name again is refused and the saved file kept; a typed name is taken.
  objekte = 3;
  writeWholeFile("m/3_531", "kept\n");
  EXPECT_EQ(save("1", saved), 2);
  EXPECT_EQ(saved, "");
  EXPECT_EQ(readWholeFile("m/3_531"), "kept\n");
  ASSERT_EQ(save("m\\typed_531", saved), 0);
  EXPECT_EQ(saved, "m/typed_531");
  EXPECT_EQ(readWholeFile("m/typed_531"), readWholeFile("QuoitSiteSwap"));
}

// The name dialog shows its prompt above the proposed name: the dialog is wrapped by a script
// that notes the prompt and the name its window shows, then cancels.
TEST_F(SavedSiteswapsGui, NameDialogShowsItsPrompt) {
  convert("531");
  convertedSiteswap = {"531", "QuoitSiteSwap"};
  objekte = 3;
  fs::rename("tcl/namereq.tcl", "tcl/namereq_shown.tcl");
  writeWholeFile("tcl/namereq.tcl",
                 "source tcl/namereq_shown.tcl\n"
                 "after 10 {\n"
                 "    set file [open shown.txt w]\n"
                 "    puts $file [expr {[winfo exists .prompt] ? [.prompt cget -text] : {no prompt}}]\n"
                 "    puts $file [.name get]\n"
                 "    close $file\n"
                 "    answerName -17\n"
                 "}\n");
  unsetenv("QUOIT_TEST_ANSWER");
  std::string saved = "unchanged";
  EXPECT_EQ(saveSiteswap(1, saved), 0);
  EXPECT_EQ(saved, "");
  EXPECT_EQ(readWholeFile("shown.txt"), localTextLine(2416) + "\nm/3_531\n");
}

TEST_F(SavedSiteswapsGui, CancelAndBoston) {
  convert("531");
  objekte = 3;
  struct Case {
    const char *answer;
  } cancels[] = {{"2"}, {"-17"}};
  convertedSiteswap = {"531", "QuoitSiteSwap"};
  for (const Case &c : cancels) {
    std::string saved = "unchanged";
    EXPECT_EQ(save(c.answer, saved), 0) << c.answer;
    EXPECT_EQ(saved, "") << c.answer;
    EXPECT_FALSE(fs::exists("m/3_531")) << c.answer;
  }
  // What is shown is saved: the Boston-Mess form when that is on show, '*' as '#' in the name.
  writeWholeFile("QuoitSiteSwap_Patconv", readWholeFile("QuoitSiteSwap") + "! the Boston-Mess form\n");
  convertedSiteswap = {"(4,4)*", "QuoitSiteSwap_Patconv"};
  std::string saved;
  ASSERT_EQ(save("1", saved), 0);
  EXPECT_EQ(saved, "m/3_(4,4)#");
  EXPECT_EQ(readWholeFile(saved), readWholeFile("QuoitSiteSwap_Patconv"));
}

TEST_F(SavedSiteswapsGui, StartNotationIntoTheCollection) {
  std::string skeleton = readWholeFile(START_NOTATION_FILE);
  std::string link = "<a href=\"#531\">531</a> \n";
  std::string block = startNotationBlock(notation("531", 2, "", {2, 1}), 3, "", "");
  ASSERT_EQ(notate("1", "531", 2, 3), 0);
  std::string once = readWholeFile(START_NOTATION_FILE);
  EXPECT_EQ(once, std::string(skeleton).insert(skeleton.find("<h2><a name=\"4\""), block)
                      .insert(skeleton.find("<h2><a name=\"3\">3 objects</a></h2>\n") +
                                  strlen("<h2><a name=\"3\">3 objects</a></h2>\n"),
                              link));
  EXPECT_EQ(readWholeFile(START_NOTATION_BLOCK_FILE), block);
  // The same again: an answer other than 1 to the question keeps it out; with 1 the link stays
  // single and the table, there already, is not written twice.
  EXPECT_EQ(notate("531 2 - 2 - 1", "531", 2, 3), 5);
  EXPECT_EQ(readWholeFile(START_NOTATION_FILE), once);
  EXPECT_EQ(notate("1", "531", 2, 3), 4);
  EXPECT_EQ(readWholeFile(START_NOTATION_FILE), once);
  // Another start notation of the listed pattern, added again: its table goes in, no second link.
  std::string other = startNotationBlock(notation("531", 2, "", {1, 2}), 3, "", "");
  setenv("QUOIT_TEST_ANSWER", "1", 1);
  ASSERT_EQ(addStartNotation(START_NOTATION_FILE, notation("531", 2, "", {1, 2}), other, 3), 0);
  std::string twice = readWholeFile(START_NOTATION_FILE);
  EXPECT_EQ(twice, std::string(once).insert(once.find(block), other));
  // Cancelled, not understood, no section for the object count.
  EXPECT_EQ(notate("2", "531", 2, 3), 11);
  EXPECT_EQ(notate("531 2 2 1", "531", 2, 3), 12);
  EXPECT_EQ(notate("1", "531", 2, 40), 6);
  EXPECT_EQ(readWholeFile(START_NOTATION_FILE), twice);
}

TEST_F(SavedSiteswapsGui, FourHandsFromTheDialog) {
  ASSERT_EQ(notate("1", "7", 4, 7), 0);
  std::string text = readWholeFile(START_NOTATION_FILE);
  EXPECT_NE(text.find("<a href=\"#7 4-handed\">7&nbsp;4-handed</a> \n"), std::string::npos);
  EXPECT_NE(text.find("<tr><td>Juggler A (2R 2L) starts R<td>7<td><td>\n"
                      "<tr><td>Juggler B (2R 1L) follows R<td><td>7x<td>\n"),
            std::string::npos)
      << text;
}
