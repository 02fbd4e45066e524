// Local texts: reading language files, the lookup with its fallbacks, and the shipped files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>

#include "core/localtext.h"
#include "core/prefs.h"
#include "tests/support/quoit_test_support.h"

namespace fs = std::filesystem;

class LocalTextFile : public ::testing::Test {
 protected:
  std::string home, previous;
  int savedLanguage = 0;
  void SetUp() override {
    enterScratchHome(home, previous);
    savedLanguage = qPrefs.language;
    qPrefs.language = ENGLISH;
  }
  void TearDown() override {
    freeLocalTexts();
    qPrefs.language = savedLanguage;
    leaveScratchHome(previous);
  }
  int load(const std::string &content, int language = ENGLISH) {
    std::string path = home + "/l/test-language";
    writeWholeFile(path, content);
    return readLocalTextFile(language, path.c_str());
  }
};

TEST_F(LocalTextFile, LinesCommentsAndLineEnds) {
  ASSERT_EQ(load("# comment\n10 ten\r\n\n  20 not a text line\n12\n13 \tthirteen  \nno digit\n17 last"), 0);
  EXPECT_STREQ(localText(10), "ten\n");
  EXPECT_STREQ(localText(12), "\n");
  EXPECT_STREQ(localText(13), "thirteen  \n");
  EXPECT_STREQ(localText(17), "last\n");
  EXPECT_EQ(localTextTableSizes[ENGLISH], long(5 * sizeof(LocalTextEntry)));
}

TEST_F(LocalTextFile, NumbersMustRise) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(load("10 a\n10 b\n"), 1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("text no. 10: number has to be greater than the preceding!"), std::string::npos) << err;
  EXPECT_EQ(localTextTables[ENGLISH], nullptr);
  EXPECT_EQ(load("20 a\n15 b\n"), 1);
}

TEST_F(LocalTextFile, LongTextsAreCutAndLongLinesStayOneText) {
  std::string seventy(70, 'x');
  std::string longLine = "30 " + std::string(196, 'y') + "4 continuation that starts with a digit";
  ASSERT_EQ(load("20 " + seventy + "\n" + longLine + "\n"), 0);
  EXPECT_EQ(std::string(localText(20)), std::string(61, 'x') + "\n");
  EXPECT_EQ(std::string(localText(30)), std::string(61, 'y') + "\n");
  EXPECT_EQ(localTextTableSizes[ENGLISH], long(3 * sizeof(LocalTextEntry)));
}

TEST_F(LocalTextFile, Utf8IsReadAsLatin1) {
  ASSERT_EQ(load("1 Fran\xc3\xa7" "ais \xe2\x82\xac\n"), 0);
  EXPECT_STREQ(localText(1), "Fran\xe7" "ais ?\n");
  EXPECT_EQ(utf8FromLatin1(localText(1)), "Fran\xc3\xa7" "ais ?\n");
}

TEST_F(LocalTextFile, Fallbacks) {
  EXPECT_STREQ(localText(0), "The Ultimate Juggling Simulation Program by");
  EXPECT_STREQ(localText(7), "no localText(7) available\n");
  ASSERT_EQ(load("10 ten\n42 Text %d is missing (100%%).\n50 fifty\n"), 0);
  EXPECT_STREQ(localText(20), "Text 20 is missing (100).\n");
  EXPECT_STREQ(localText(42), "Text %d is missing (100%%).\n");
  EXPECT_STREQ(localText(0), "The Ultimate Juggling Simulation Program by");
  EXPECT_STREQ(localText(LOCAL_TEXT_END + 5), "Text 11111116 is missing (100).\n");
  EXPECT_STREQ(localText(LOCAL_TEXT_END), "Text 11111111 is missing (100).\n");
  ASSERT_EQ(load("10 ten\n"), 0);
  EXPECT_STREQ(localText(42), "no localText(42) available\n");
  EXPECT_STREQ(localText(11), "no localText(11) available\n");
  qPrefs.language = 7;
  EXPECT_STREQ(localText(10), "no localText(10) available\n");
}

// A file saved with a byte-order mark keeps its first text; only regular files are read.
TEST_F(LocalTextFile, ByteOrderMarkAndRegularFilesOnly) {
  ASSERT_EQ(load("\xEF\xBB\xBF" "10 ten\n"), 0);
  EXPECT_STREQ(localText(10), "ten\n");
  EXPECT_EQ(readLocalTextFile(ENGLISH, "/dev/zero"), 1);
}

// A language file that cannot be read is named with the reason, not reported as missing.
TEST_F(LocalTextFile, UnreadableFileIsNamedWithTheReason) {
  writeWholeFile("l/large", std::string((1 << 20) + 1, '!'));
  ASSERT_EQ(mkfifo("l/fifo", 0600), 0);
  struct Case {
    const char *path, *message;
  } cases[] = {
      {"l/large", "Cannot read the local text file l/large: too large.\n"},
      {"l/fifo", "Cannot read the local text file l/fifo: not a regular file.\n"},
      {"l/none", "Cannot read the local text file l/none: No such file or directory.\n"},
  };
  for (const Case &c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(readLocalTextFile(ENGLISH, c.path), 1) << c.path;
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.substr(0, err.find('\n') + 1), c.message);
  }
}

TEST_F(LocalTextFile, NumbersBeyondTheEndMarkAreIgnored) {
  ASSERT_EQ(load("10 ten\n11111111 end\n99999999999999999999 huge\n"), 0);
  EXPECT_EQ(localTextTableSizes[ENGLISH], long(2 * sizeof(LocalTextEntry)));
  EXPECT_STREQ(localText(10), "ten\n");
}

// Each text is checked against the conversions its callers pass; a text that does not fit is
// not stored, so its callers get the fallback.
TEST_F(LocalTextFile, ConversionsMustFitTheirUse) {
  struct Case {
    int number;
    const char *text;
    bool kept;
  } cases[] = {
      {1, "English 100%%", true},  {14, "option %s", true},    {15, "error %d in %s", true},
      {16, "%s %d", true},         {20, "OK %s", false},       {40, "file %d", false},
      {41, "file %n", false},      {42, "missing %5d", true},  {43, "%s %d", false},
      {44, "dir %*s", false},      {45, "%d %s %s", false},    {90, "memory %s", true},
      {212, "VRML %", false},      {306, "%.1f fps", true},    {307, "%f", false},
  };
  std::string file;
  for (const Case &c : cases) file += std::to_string(c.number) + " " + c.text + "\n";
  testing::internal::CaptureStderr();
  ASSERT_EQ(load(file), 0);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("8 texts use conversions"), std::string::npos) << err;
  for (const Case &c : cases) {
    const char *text = localText(c.number);
    EXPECT_EQ(std::string(text) == std::string(c.text) + "\n", c.kept) << c.number << " " << c.text;
  }
}

TEST(LocalTextFormat, ConversionsOfFormats) {
  struct Case {
    const char *format;
    bool safe;
    const char *conversions;
  } cases[] = {
      {"plain", true, ""},        {"%d %s", true, "ds"},        {"%-5.2f%%", true, "f"},
      {"%ld %lx %c", true, "lld"}, {"%g %e %s", true, "ffs"},   {"%n", false, ""},
      {"%*d", false, ""},         {"%hd", false, ""},           {"%lld", false, ""},
      {"%p", false, ""},          {"100%", false, ""},          {"%lf", false, ""},
  };
  for (const Case &c : cases) {
    std::string found;
    EXPECT_EQ(formatConversions(c.format, found), c.safe) << c.format;
    if (c.safe) {
      EXPECT_EQ(found, c.conversions) << c.format;
    }
  }
}

TEST_F(LocalTextFile, TextWithKeyAndLinesLeaveTheTableAlone) {
  ASSERT_EQ(load("10 ten\n"), 0);
  EXPECT_STREQ(textWithKey(10, "F1"), "ten    [F1]");
  EXPECT_EQ(localTextLine(10), "ten");
  EXPECT_STREQ(localText(10), "ten\n");
  char own[] = "own\n";
  EXPECT_STREQ(stripNewline(own), "own");
}

TEST_F(LocalTextFile, LanguageNames) {
  struct Case {
    const char *name;
    int index;
    bool reported;
  } cases[] = {
      {"deutsch", 0, false}, {"english", 1, false}, {"francais", 2, false}, {"espanol", 3, false},
      {"catala", 4, false},  {"klingon", -1, true}, {".hidden", -1, false}, {"#save#", -1, false},
      {"english~", -1, false}, {"..", -1, false},   {"English", -1, true},
  };
  for (const Case &c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(languageIndex(c.name), c.index) << c.name;
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("not supported language: " + std::string(c.name)) != std::string::npos, c.reported) << c.name;
  }
}

TEST_F(LocalTextFile, CheckLanguagesListsMissingTexts) {
  ASSERT_EQ(load("1 English\n10 ten\n20 twenty\n", ENGLISH), 0);
  ASSERT_EQ(load("1 Deutsch\n10 zehn\n", 0), 0);
  qPrefs.language = ENGLISH;
  testing::internal::CaptureStdout();
  CheckLanguages();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Deutsch: 2 entries\n\n20 twenty\n"), std::string::npos) << out;
  EXPECT_NE(out.find("English: 3 entries\n\n\n\n"), std::string::npos) << out;
  EXPECT_EQ(qPrefs.language, ENGLISH);
}

TEST_F(LocalTextFile, DirectoryWalkSkipsOtherFiles) {
  writeWholeFile(home + "/l/english~", "1 backup\n");
  writeWholeFile(home + "/l/.english.swp", "junk\n");
  ASSERT_EQ(readLocalTexts(), 0);
  for (int language = 0; language < LANGUAGE_COUNT; language++)
    EXPECT_NE(localTextTables[language], nullptr) << languageNames[language];
  writeWholeFile(home + "/l/catala", "10 a\n9 b\n");
  freeLocalTexts();
  EXPECT_EQ(readLocalTexts(), 1);
  // The walk was closed on the failure: the next one starts at the beginning again.
  fs::remove(home + "/l/catala");
  freeLocalTexts();
  ASSERT_EQ(readLocalTexts(), 0);
  EXPECT_NE(localTextTables[ENGLISH], nullptr);
}

// The shipped language files against the code: every number that the sources and the dialog
// scripts use is in all five files, with the conversions its callers pass.
struct LocalTextUseSite {
  int number;
  std::string file;
  int arguments;  // arguments after the text in the same call, -1 when not a direct format
};

static int countArguments(const std::string &source, size_t position) {
  while (position < source.size() && isspace(static_cast<unsigned char>(source[position]))) position++;
  if (position >= source.size()) return -1;
  if (source[position] == ')') return 0;
  if (source[position] != ',') return -1;
  int depth = 0, count = 1;
  char quote = 0;
  for (size_t i = position + 1; i < source.size(); i++) {
    char c = source[i];
    if (quote) {
      if (c == '\\') i++;
      else if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(') {
      depth++;
    } else if (c == ')') {
      if (depth-- == 0) return count;
    } else if (c == ',' && depth == 0) {
      count++;
    }
  }
  return -1;
}

static bool isIdentifierCharacter(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Every "<name>(<digits>" in the text whose name stands alone; calls back with the number and
// the position after the digits and the blanks after them.
template <typename F>
static void findNumberedCalls(const std::string &text, const std::string &name, F found) {
  std::string opening = name + "(";
  for (size_t p = text.find(opening); p != std::string::npos; p = text.find(opening, p + 1)) {
    if (p > 0 && isIdentifierCharacter(text[p - 1])) continue;
    size_t digits = p + opening.size();
    while (digits < text.size() && text[digits] == ' ') digits++;
    size_t end = digits;
    while (end < text.size() && isdigit(static_cast<unsigned char>(text[end]))) end++;
    if (end == digits) continue;
    size_t after = end;
    while (after < text.size() && text[after] == ' ') after++;
    found(std::stoi(text.substr(digits, end - digits)), after);
  }
}

static std::vector<LocalTextUseSite> collectUses() {
  std::vector<LocalTextUseSite> uses;
  for (const char *folder : {"core", "pattern", "scene", "ui", "patconv", "kovex"}) {
    fs::path directory = fs::path(sourceDirectory()) / folder;
    if (!fs::exists(directory)) continue;
    for (const auto &entry : fs::directory_iterator(directory)) {
      std::string source = readWholeFile(entry.path().string());
      std::string file = entry.path().filename().string();
      for (const char *name : {"localText", "localTextLine", "textWithKey"}) {
        findNumberedCalls(source, name, [&](int number, size_t after) {
          bool direct = std::string(name) == "localText" && after < source.size() && source[after] == ')';
          uses.push_back({number, file, direct ? countArguments(source, after + 1) : -1});
        });
      }
    }
  }
  for (const auto &entry : fs::directory_iterator(fs::path(sourceDirectory()) / "data" / "tcl")) {
    std::string script = readWholeFile(entry.path().string());
    for (size_t p = script.find("[LT "); p != std::string::npos; p = script.find("[LT ", p + 1)) {
      size_t end = p + 4;
      while (end < script.size() && isdigit(static_cast<unsigned char>(script[end]))) end++;
      if (end > p + 4 && script[end] == ']')
        uses.push_back({std::stoi(script.substr(p + 4, end - p - 4)), entry.path().filename().string(), -1});
    }
  }
  return uses;
}

// The text of every numbered line of a shipped language file, as written.
static std::map<int, std::string> shippedTexts(const char *language) {
  std::map<int, std::string> texts;
  std::istringstream file(readWholeFile(sourceDirectory() + "/data/l/" + language));
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || !isdigit(static_cast<unsigned char>(line[0]))) continue;
    size_t end = line.find_first_not_of("0123456789");
    std::string text = end == std::string::npos ? "" : line.substr(line.find_first_not_of(" \t", end));
    texts[std::stoi(line.substr(0, end))] = latin1FromUtf8(text);
  }
  return texts;
}

TEST(LocalTextLanguageFiles, EveryUsedNumberIsInEveryLanguage) {
  std::vector<LocalTextUseSite> uses = collectUses();
  ASSERT_FALSE(uses.empty());
  std::set<int> used;
  for (const auto &use : uses) used.insert(use.number);
  used.insert(1);   // the language's own name, shown by the language check
  used.insert(42);  // the fallback format for a missing text
  for (const char *language : languageNames) {
    std::map<int, std::string> texts = shippedTexts(language);
    for (int number : used) {
      auto text = texts.find(number);
      if (text == texts.end()) {
        ADD_FAILURE() << language << " lacks text " << number;
        continue;
      }
      std::string conversions;
      EXPECT_TRUE(formatConversions(text->second.c_str(), conversions)) << language << " " << number;
      EXPECT_EQ(conversions, localTextConversions(number)) << language << " text " << number << ": " << text->second;
      EXPECT_LE(text->second.size(), size_t(LOCAL_TEXT_MAX_CHARS)) << language << " " << number;
    }
  }
}

TEST(LocalTextLanguageFiles, CallersPassWhatTheTablesSay) {
  for (const auto &use : collectUses()) {
    if (use.arguments < 0) continue;
    EXPECT_EQ(size_t(use.arguments), strlen(localTextConversions(use.number)))
        << "localText(" << use.number << ") in " << use.file;
  }
  for (int i = 1; i < localTextUseCount; i++) EXPECT_LT(localTextUses[i - 1].number, localTextUses[i].number);
}

// A key's line on the help screen ("g          dark scene, ...") and its menu entry name the same
// action in every language, and the README's key table names it as the English texts do.
TEST(LocalTextLanguageFiles, HelpLineAndMenuEntryNameOneAction) {
  struct Pair {
    int help, menu;
  } pairs[] = {{318, 2107}, {371, 2108}};
  std::string readme = readWholeFile(sourceDirectory() + "/README.md");
  for (const char *language : languageNames) {
    std::map<int, std::string> texts = shippedTexts(language);
    for (const Pair &p : pairs) {
      std::string help = texts[p.help], menu = texts[p.menu];
      ASSERT_GT(help.size(), 11u) << language << " " << p.help;
      ASSERT_FALSE(menu.empty()) << language << " " << p.menu;
      std::string action = help.substr(11);  // after the key column; its first letter may be either case
      for (std::string *text : {&action, &menu}) (*text)[0] = char(tolower(static_cast<unsigned char>((*text)[0])));
      EXPECT_EQ(action.compare(0, menu.size(), menu), 0) << language << ": " << help << " / " << menu;
      if (std::string(language) == "english") EXPECT_NE(readme.find(menu), std::string::npos) << menu;
    }
  }
}

TEST_F(LocalTextFile, ShippedFilesLoadWhole) {
  ASSERT_EQ(readLocalTexts(), 0);
  for (int language = 0; language < LANGUAGE_COUNT; language++) {
    ASSERT_NE(localTextTables[language], nullptr) << languageNames[language];
    long stored = localTextTableSizes[language] / long(sizeof(LocalTextEntry)) - 1;
    EXPECT_EQ(size_t(stored), shippedTexts(languageNames[language]).size()) << languageNames[language];
  }
}
