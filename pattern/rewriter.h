// Pattern-file rewriter: changes one header entry of a pattern file in place (replace, insert or
// remove), and reads a whole text file into one buffer.
#pragma once
#include <cstddef>
#include <string>

#include "core/utils.h"

enum { MODIF_REPLACE = 1, MODIF_REMOVE = 2 };

// Where one header entry stands in a pattern text: its start and the position after it.
struct HeaderEntry {
  size_t start;
  size_t end;
};

// Where the entries of one key letter and the juggler block stand in a pattern text.
struct HeaderScan {
  bool found;
  HeaderEntry entry;         // the first entry of the key letter
  bool jugglerBlock;
  HeaderEntry firstJugglers;  // the first j, p or P block
  size_t star;               // the header's '*', or the text's length when there is none
};

void Musterdatei_modif(const char *file, const char *line, int type);
char *readWholeFile(const char *file, long *size, long *lost, const char *caller);
HeaderScan scanPatternHeader(const std::string &text, char key);
std::string rewrittenPatternText(const std::string &text, const char *line, int type, bool *changed);
