// Local texts: the numbered user-visible texts of the five languages.
#pragma once
#include <cstdint>

struct LocalTextEntry {
  int32_t number;
  char text[64];
};

enum { LANGUAGE_COUNT = 5, LOCAL_TEXT_END = 11111111 };

extern LocalTextEntry *localTextTables[LANGUAGE_COUNT];
extern long localTextTableSizes[LANGUAGE_COUNT];

int readLocalTexts();
const char *localText(int n);
int languageIndex(const char *name);
char *stripNewline(char *text);
const char *textWithKey(int n, const char *key);
void CheckLanguages();
void freeLocalTexts();
