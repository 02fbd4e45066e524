// Local texts: the numbered user-visible texts of the five languages, and the conversions each text may use.
#pragma once
#include <cstdint>
#include <string>

struct LocalTextEntry {
  int32_t number;
  char text[64];
};

// What the callers of a local text pass to it: one letter per argument, in order
// ('d' int, 'l' long, 'f' double, 's' text); "" for a text used without arguments.
struct LocalTextUse {
  int32_t number;
  const char *conversions;
};

enum {
  LANGUAGE_COUNT = 5,
  LOCAL_TEXT_END = 11111111,
  LOCAL_TEXT_MAX_CHARS = 61,  // characters of a text before its '\n'
  ENGLISH = 1,
};

extern LocalTextEntry *localTextTables[LANGUAGE_COUNT];
extern long localTextTableSizes[LANGUAGE_COUNT];
extern const char *const languageNames[LANGUAGE_COUNT];
extern const LocalTextUse localTextUses[];
extern const int localTextUseCount;

int readLocalTexts();
int readLocalTextFile(int language, const char *path);
const char *localText(int n);
std::string localTextLine(int n);
int languageIndex(const char *name);
char *stripNewline(char *text);
const char *textWithKey(int n, const char *key);
void CheckLanguages();
void freeLocalTexts();

const char *localTextConversions(int n);
bool formatConversions(const char *format, std::string &conversions);
std::string latin1FromUtf8(const std::string &text);
std::string utf8FromLatin1(const std::string &text);
// UTF-8 of a text that joins the program's own Latin-1 texts with names from outside (file names,
// arguments), which are UTF-8 already: a UTF-8 sequence stays as it is, every other byte is read as
// Latin-1, so neither kind is encoded twice.
std::string utf8ForOutput(const std::string &text);
