// Pattern catalogue and stepping: one listed pattern directory, walked in order or drawn at
// random without repetition, and the converter list "q2.out" stepped line by line.
#include "pattern/catalogue.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cerrno>
#include <sstream>
#include <vector>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/runstate.h"
#include "core/prefs.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "core/vecmath.h"

int bounceFilter;
int passingFilter;
int multiplexFilter;
int filterPassCount;

// The catalogue: directory, names in directory order until sorted, the used flags of the
// random step, and the cursor on the entry that the next "next" step delivers.
static std::string catalogueDirectory;
static std::vector<std::string> catalogueNames;
static std::vector<int> catalogueUsed;
static int cursor;
static int drawn;

int catalogueCount() { return int(catalogueNames.size()); }
int catalogueCursor() { return cursor; }

const char *catalogueEntry(int index) {
  if (index < 0 || index >= catalogueCount()) return nullptr;
  return catalogueNames[size_t(index)].c_str();
}

static void freeCatalogue() {
  catalogueNames.clear();
  catalogueUsed.clear();
  cursor = drawn = 0;
}

static void listDirectory(const char *directory) {
  if (strlen(directory) >= CATALOGUE_NAME_SIZE) {
    qMsg(QMSG_ERROR, localText(230), directory, CATALOGUE_NAME_SIZE - 1);
    return;
  }
  catalogueDirectory = backslashToSlash(std::string(directory));
  while (const char *name = qNextDirEntry(catalogueDirectory.c_str())) {
    size_t length = strlen(name);
    if (length == 0 || name[length - 1] == '~') continue;
    if (length >= CATALOGUE_NAME_SIZE) {
      qMsg(QMSG_ERROR, localText(231), name, CATALOGUE_NAME_SIZE - 1);
      continue;
    }
    catalogueNames.push_back(name);
  }
  catalogueUsed.assign(catalogueNames.size(), 0);
}

static std::string entryPath(int index) {
  std::string path = catalogueDirectory;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + catalogueNames[size_t(index)];
}

// A leading number of a name: the digits it begins with; 0 when it begins otherwise.
static int leadingNumber(const char *name) {
  return isdigit((unsigned char)name[0]) ? int(strtol(name, nullptr, 10)) : 0;
}

int comparePatternNames(const char *a, const char *b) {
  if (qPrefs.catalogueSort == 1) {
    int na = leadingNumber(a), nb = leadingNumber(b);
    if (na != 0 && nb != 0 && na != nb) return na < nb ? -1 : 1;
  }
  return strcasecmp(a, b);
}

// Insertion sort: stays within the table whatever the comparison answers.
static void sortCatalogue() {
  for (size_t i = 1; i < catalogueNames.size(); i++)
    for (size_t j = i; j > 0 && comparePatternNames(catalogueNames[j - 1].c_str(), catalogueNames[j].c_str()) > 0; j--)
      std::swap(catalogueNames[j - 1], catalogueNames[j]);
}

// Delivers entry index into the caller's text; the cursor then stands on the entry after it.
static void deliver(int index, std::string *text) {
  cursor = index + 1;
  if (!text) return;
  *text = entryPath(index);
  qMsg(QMSG_INFO, "%s\n", text->c_str());
}

// Steps that deliver an entry need the caller's text and at least one entry.
static bool cannotStep(std::string *text) {
  if (!text) return true;
  if (catalogueCount() > 0) return false;
  qMsg(QMSG_ERROR, localText(232), catalogueDirectory.c_str());
  return true;
}

static int stepNext(std::string *text) {
  int wrapped = cursor >= catalogueCount() || cursor < 0;
  deliver(wrapped ? 0 : cursor, text);
  return wrapped;
}

// The entry before the current one (the current one is just before the cursor).
static int stepPrevious(std::string *text) {
  int count = catalogueCount();
  int index = cursor - 2;
  int wrapped = index < 0;
  if (wrapped) index = ((index % count) + count) % count;
  if (index >= count) index = count - 1;
  deliver(index, text);
  return wrapped;
}

// random01 may give 1.0: a draw equal to the count is drawn again.
static int drawRandomIndex(int count) {
  for (;;) {
    int index = int(random01() * count);
    if (index >= 0 && index < count && catalogueUsed[size_t(index)] != CATALOGUE_DRAWN) return index;
  }
}

static void stepRandom(std::string *text) {
  int count = catalogueCount();
  int index = drawRandomIndex(count);
  catalogueUsed[size_t(index)] = CATALOGUE_DRAWN;
  deliver(index, text);
  if (++drawn >= count) {
    catalogueUsed.assign(catalogueNames.size(), 0);
    drawn = 0;
  }
}

static int findEntry(const char *name) {
  for (int i = 0; i < catalogueCount(); i++)
    if (catalogueNames[size_t(i)] == name) return i;
  return -1;
}

// The cursor on the entry the text names, else on the first entry numbered at least as the
// text's number (a name without a number counts as the entry before it); none: the first entry.
static void positionAtNumber(const std::string &text) {
  const char *node = qGetFileNode(text.c_str(), 0);
  cursor = 0;
  int named = findEntry(node);
  if (named >= 0 || !isdigit((unsigned char)node[0])) {
    cursor = named >= 0 ? named : 0;
    return;
  }
  int wanted = leadingNumber(node), number = 0;
  for (int i = 0; i < catalogueCount(); i++) {
    const char *name = catalogueNames[size_t(i)].c_str();
    if (isdigit((unsigned char)name[0])) number = leadingNumber(name);
    if (number >= wanted) {
      cursor = i;
      return;
    }
  }
}

static void positionAfterName(const std::string &text) { cursor = findEntry(qGetFileNode(text.c_str(), 0)) + 1; }

int GetAllPatterns(const char *directory, int operation, std::string *text) {
  switch (operation) {
    case CATALOGUE_LIST:
      freeCatalogue();
      listDirectory(directory ? directory : "");
      return 0;
    case CATALOGUE_NEXT:
      return cannotStep(text) ? 0 : stepNext(text);
    case CATALOGUE_RANDOM:
      if (!cannotStep(text)) stepRandom(text);
      return 0;
    case CATALOGUE_FREE:
      freeCatalogue();
      return 0;
    case CATALOGUE_SORT:
      sortCatalogue();
      return 0;
    case CATALOGUE_AT_NUMBER:
      if (text) positionAtNumber(*text);
      return 0;
    case CATALOGUE_PREVIOUS:
      return cannotStep(text) ? 0 : stepPrevious(text);
    case CATALOGUE_AFTER_NAME:
      if (text) positionAfterName(*text);
      return 0;
    default:
      qMsg(QMSG_ERROR, localText(45), operation, "GetAllPatterns()");
      return 0;
  }
}

void stepPattern(int command) {
  patternStepped = 1;
  if (qPrefs.current == 0) {
    nextPatternAction = command == STEP_NEXT ? ACTION_NEXT : ACTION_PREVIOUS;
    restartRequest = 1;
  } else if (qPrefs.current == 2) {
    stepConverterList(command);
  }
}

// The non-empty lines of the converter list, a regular file read within the bound of every
// pattern file; false after a report when it cannot be read or a line is too long.
static bool readConverterList(std::vector<std::string> &lines) {
  std::vector<std::string> all;
  if (!readRegularLines(CONVERTER_LIST_FILE, all, MAX_TEXT_FILE_SIZE)) {
    qMsg(QMSG_ERROR, localText(33), CONVERTER_LIST_FILE, fileErrorReason(errno));
    return false;
  }
  for (size_t i = 0; i < all.size(); i++) {
    if (all[i].size() > CONVERTER_LIST_LINE) {
      qMsg(QMSG_ERROR, localText(233), int(i + 1), CONVERTER_LIST_FILE, int(CONVERTER_LIST_LINE));
      return false;
    }
    if (all[i].find_first_not_of(" \t") != std::string::npos) lines.push_back(all[i]);
  }
  return true;
}

// Tells the user that stepping through a list went round its end.
static void reportListWrap(int first, int second) {
  qMsg(82, "%s %s", localTextLine(first).c_str(), localText(second));
}

void reportListWrapToFirst() { reportListWrap(394, 395); }
void reportListWrapToLast() { reportListWrap(396, 397); }

// The line at index q2_at, stepped by the command, wrapping at either end.
static int steppedLine(int command, int count) {
  int at = qPrefs.q2_at;
  if (at < 0 || at >= count) {
    qMsg(QMSG_ERROR, localText(235), at, CONVERTER_LIST_FILE);
    at = command == STEP_NEXT ? count - 1 : 0;
  }
  if (command == STEP_NEXT) {
    if (at + 1 < count) return at + 1;
    reportListWrapToFirst();
    return 0;
  }
  if (at > 0) return at - 1;
  reportListWrapToLast();
  return count - 1;
}

// With fewer than three persons the list's words are lower-cased, else kept as they are.
static std::string listWord(const std::string &word) {
  if (qPrefs.q2_persons >= 3) return keepCase(word.c_str());
  std::string lower = word;
  for (char &c : lower) c = char(tolower((unsigned char)c));
  return lower;
}

// One word is the pattern; three are the transition into it, the pattern and the way out.
static void takeListLine(const std::string &line) {
  std::string words[3];
  std::istringstream split(line);
  int n = 0;
  while (n < 3 && split >> words[n]) n++;
  if (n == 1) {
    currentPatternFile = listWord(words[0]);
    qPrefs.trans_in.clear();
    qPrefs.trans_out.clear();
  } else {
    qPrefs.trans_in = listWord(words[0]);
    currentPatternFile = listWord(words[1]);
    qPrefs.trans_out = listWord(words[2]);
  }
}

int stepConverterList(int command) {
  std::vector<std::string> lines;
  if (!readConverterList(lines)) return 1;
  if (lines.empty()) {
    qMsg(QMSG_ERROR, localText(234), CONVERTER_LIST_FILE);
    return 1;
  }
  int at = steppedLine(command, int(lines.size()));
  qPrefs.q2_at = at;
  nextPatternAction = ACTION_NAMED_FILE;
  restartRequest = 2;
  takeListLine(lines[size_t(at)]);
  return 0;
}

const char *keepCase(const char *text) { return text; }

// Compares without changing either text: both may be string literals.
int containsIgnoreCase(const char *text, const char *word) {
  size_t n = strlen(word);
  for (const char *p = text; *p; p++)
    if (strncasecmp(p, word, n) == 0) return 1;
  return n == 0;
}

static int passesFilter(int setting, const char *name, const char *const *words, int count) {
  if (setting == 0) return 1;
  int found = 0;
  for (int i = 0; i < count; i++) found = found || containsIgnoreCase(name, words[i]);
  return setting == 1 ? found : !found;
}

int patternKindFilter(const char *path, int reset) {
  static const char *const bounceWords[] = {"bounce"};
  static const char *const passingWords[] = {"pass", "feed", "pps", "cnt"};
  static const char *const multiplexWords[] = {"mplex", "mult"};
  if (reset) {
    filterPassCount = 0;
    return 0;
  }
  if (!path) return 0;
  char name[256];
  snprintf(name, sizeof name, "%s", qGetFileNode(path, 1));
  size_t length = strlen(name);
  if (length > 0 && name[length - 1] == '~') return 0;
  for (char *c = name; *c; c++) *c = char(tolower((unsigned char)*c));
  if (!passesFilter(bounceFilter, name, bounceWords, 1)) return 0;
  if (!passesFilter(passingFilter, name, passingWords, 4)) return 0;
  if (!passesFilter(multiplexFilter, name, multiplexWords, 2)) return 0;
  filterPassCount++;
  return 1;
}
