// Local texts: reads the language files of "l/", looks texts up and checks that every text
// only uses the printf conversions its callers pass.
#include "core/localtext.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/Tcl.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/userfiles.h"

LocalTextEntry *localTextTables[LANGUAGE_COUNT];
long localTextTableSizes[LANGUAGE_COUNT];
const char *const languageNames[LANGUAGE_COUNT] = {"deutsch", "english", "francais", "espanol", "catala"};

// Every local text the program uses with arguments, sorted by number. A text that is
// not listed here must not contain any conversion.

static const char *const titleLine = "The Ultimate Juggling Simulation Program by";

const char *localTextConversions(int n) {
  for (int i = 0; i < localTextUseCount; i++)
    if (localTextUses[i].number == n) return localTextUses[i].conversions;
  return "";
}

// Collects the conversions of a printf format, one letter per argument it reads. Returns
// false for a format that could read arguments in a way no caller does ('*', %n, unusual
// length modifiers, a '%' at the end).
bool formatConversions(const char *format, std::string &conversions) {
  conversions.clear();
  for (const char *p = format; *p; p++) {
    if (*p != '%') continue;
    p++;
    if (*p == '%') continue;
    while (*p && strchr("-+ #0", *p)) p++;
    while (*p >= '0' && *p <= '9') p++;
    if (*p == '.') {
      p++;
      while (*p >= '0' && *p <= '9') p++;
    }
    bool isLong = false;
    if (*p == 'l') {
      isLong = true;
      p++;
    }
    if (!*p) return false;
    if (strchr("diouxXc", *p))
      conversions += isLong ? 'l' : 'd';
    else if (strchr("feEgG", *p) && !isLong)
      conversions += 'f';
    else if (*p == 's' && !isLong)
      conversions += 's';
    else
      return false;
  }
  return true;
}

// The length of the well-formed UTF-8 sequence of two to four bytes at i, or 0 when none starts there.
static size_t utf8SequenceLength(const std::string &text, size_t i) {
  unsigned char c = text[i];
  size_t length = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; k++)
    if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return 0;
  return length;
}

std::string latin1FromUtf8(const std::string &text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = text[i];
    size_t length = c < 0x80 ? 1 : utf8SequenceLength(text, i);
    if (length <= 1) {
      out += c < 0x80 ? char(c) : '?';
      i++;
      continue;
    }
    unsigned code = c & (length == 2 ? 0x1f : length == 3 ? 0x0f : 0x07);
    for (size_t k = 1; k < length; k++) code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
    out += code <= 0xff ? char(code) : '?';
    i += length;
  }
  return out;
}

std::string utf8FromLatin1(const std::string &text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xc0 | (c >> 6));
      out += char(0x80 | (c & 0x3f));
    }
  }
  return out;
}

std::string utf8ForOutput(const std::string &text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    size_t length = utf8SequenceLength(text, i);
    if (length > 0) {
      out.append(text, i, length);
      i += length;
    } else {
      out += utf8FromLatin1(std::string(1, text[i]));
      i++;
    }
  }
  return out;
}

int languageIndex(const char *name) {
  if (!name) return -1;
  for (int i = 0; i < LANGUAGE_COUNT; i++)
    if (strcmp(name, languageNames[i]) == 0) return i;
  size_t length = strlen(name);
  bool quiet = name[0] == '.' || name[0] == '#' || (length > 0 && name[length - 1] == '~');
  if (!quiet) qMsg(QMSG_ERROR, "not supported language: %s\n", name);
  return -1;
}

static void freeLanguageTable(int language) {
  if (!localTextTables[language]) return;
  qFree(localTextTables[language], size_t(localTextTableSizes[language]));
  localTextTables[language] = nullptr;
  localTextTableSizes[language] = 0;
}

void freeLocalTexts() {
  for (int i = 0; i < LANGUAGE_COUNT; i++) freeLanguageTable(i);
}

// Turns one text line into an entry; false when its conversions do not fit its use.
static bool makeEntry(const char *path, long number, const std::string &rest, LocalTextEntry &entry) {
  std::string text = latin1FromUtf8(rest);
  if (text.size() > LOCAL_TEXT_MAX_CHARS) {
    qMsg(QMSG_DEBUG, "localText(%s) number %ld: Line too long.\n", path, number);
    text.resize(LOCAL_TEXT_MAX_CHARS);
  }
  std::string found;
  const char *wanted = localTextConversions(int(number));
  if (!formatConversions(text.c_str(), found) || found != wanted) {
    qMsg(QMSG_DEBUG, "Local text file %s, text no. %ld: conversions do not fit its use \"%s\", text ignored.\n",
         path, number, wanted);
    return false;
  }
  entry.number = int32_t(number);
  snprintf(entry.text, sizeof entry.text, "%s\n", text.c_str());
  return true;
}

// Reads one language file into its table. Returns 0, or 1 when the file cannot be
// opened or its numbers do not rise.
int readLocalTextFile(int language, const char *path) {
  if (language < 0 || language >= LANGUAGE_COUNT) return 1;
  std::vector<std::string> lines;
  if (!readRegularLines(path, lines, MAX_TEXT_FILE_SIZE)) {
    qMsg(QMSG_ERROR, "Cannot read the local text file %s: %s.\n", path, fileErrorReason(errno));
    return 1;
  }
  freeLanguageTable(language);
  std::vector<LocalTextEntry> entries;
  long previous = -1;
  int refused = 0;
  for (const std::string &line : lines) {
    if (line.empty() || line[0] < '0' || line[0] > '9') continue;
    errno = 0;
    char *end = nullptr;
    long number = strtol(line.c_str(), &end, 10);
    if (errno == ERANGE || number >= LOCAL_TEXT_END) {
      qMsg(QMSG_ERROR, "Local text file %s: text number %.20s is too large, line ignored.\n", path, line.c_str());
      continue;
    }
    if (number <= previous) {
      qMsg(QMSG_ERROR, "Local text file %s, text no. %ld: number has to be greater than the preceding!\n", path,
           number);
      return 1;
    }
    previous = number;
    const char *rest = end;
    while (*rest == ' ' || *rest == '\t') rest++;
    LocalTextEntry entry{};
    if (makeEntry(path, number, rest, entry))
      entries.push_back(entry);
    else
      refused++;
  }
  if (refused > 0)
    qMsg(QMSG_ERROR, "Local text file %s: %d texts use conversions their callers do not pass; they are replaced.\n",
         path, refused);
  size_t size = (entries.size() + 1) * sizeof(LocalTextEntry);
  LocalTextEntry *table = static_cast<LocalTextEntry *>(qAlloc(size));
  if (!table) {
    qMsg(QMSG_ERROR, "no mem for local texts.\n");
    return 0;
  }
  if (!entries.empty()) memcpy(table, entries.data(), entries.size() * sizeof(LocalTextEntry));
  table[entries.size()].number = LOCAL_TEXT_END;
  localTextTables[language] = table;
  localTextTableSizes[language] = long(size);
  return 0;
}

int readLocalTexts() {
  while (const char *name = qNextDirEntry("l")) {
    int language = languageIndex(name);
    if (language < 0) continue;
    std::string path = std::string("l/") + name;
    if (readLocalTextFile(language, path.c_str()) != 0) {
      while (qNextDirEntry("l")) {
      }
      return 1;
    }
  }
  return 0;
}

static const LocalTextEntry *findEntry(int language, int n) {
  if (language < 0 || language >= LANGUAGE_COUNT || !localTextTables[language] || n == LOCAL_TEXT_END) return nullptr;
  const LocalTextEntry *entry = localTextTables[language];
  while (entry->number != LOCAL_TEXT_END && entry->number < n) entry++;
  return entry->number == n ? entry : nullptr;
}

const char *localText(int n) {
  static thread_local char fallback[128];
  int language = qPrefs.language;
  if (const LocalTextEntry *entry = findEntry(language, n)) return entry->text;
  if (n == 0) return titleLine;
  const LocalTextEntry *missing = findEntry(language, 42);
  if (!missing || n == 42) {
    snprintf(fallback, sizeof fallback, "no localText(%d) available\n", n);  // a line like every text
    return fallback;
  }
  char formatted[sizeof fallback];
  snprintf(formatted, sizeof formatted, missing->text, n);
  // The fallback is itself used as a format by the caller: it keeps no '%'.
  char *out = fallback;
  for (const char *p = formatted; *p; p++)
    if (*p != '%') *out++ = *p;
  *out = '\0';
  return fallback;
}

char *stripNewline(char *text) {
  size_t length = strlen(text);
  if (length > 0 && text[length - 1] == '\n') text[length - 1] = '\0';
  return text;
}

std::string localTextLine(int n) {
  std::string text = localText(n);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

const char *textWithKey(int n, const char *key) {
  static thread_local char buffer[256];
  snprintf(buffer, sizeof buffer, "%s    [%s]", localTextLine(n).c_str(), key ? key : "");
  return buffer;
}

static int entryCount(int language) {
  return int(localTextTableSizes[language] / long(sizeof(LocalTextEntry))) - 1;
}

void CheckLanguages() {
  int current = qPrefs.language;
  for (int language = 0; language < LANGUAGE_COUNT; language++) {
    if (!localTextTables[language]) continue;
    qPrefs.language = language;
    qMsg(QMSG_DEBUG, "*********************************\n");
    qMsg(QMSG_DEBUG, "%s: %d entries\n\n", localTextLine(1).c_str(), entryCount(language));
    if (language != ENGLISH && localTextTables[ENGLISH]) {
      for (const LocalTextEntry *e = localTextTables[ENGLISH]; e->number != LOCAL_TEXT_END; e++)
        if (!findEntry(language, e->number)) qMsg(QMSG_DEBUG, "%d %s", int(e->number), e->text);
    }
    qMsg(QMSG_DEBUG, "\n\n");
  }
  qPrefs.language = current;
}
