// Pattern-file rewriter: changes one header entry of a pattern file in place (replace, insert or
// remove), and reads a whole text file into one buffer.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "core/utils.h"

enum { MODIF_REPLACE = 1, MODIF_REMOVE = 2 };

// Results of rewrittenPatternText.
enum { REWRITE_UNCHANGED = 0, REWRITE_CHANGED = 1, REWRITE_REFUSED = 2 };

// Where one header entry stands in a pattern text: its start and the position after it.
struct HeaderEntry {
  size_t start;
  size_t end;
};

// Where the entries of one key letter and the juggler block stand in a pattern text.
struct HeaderScan {
  bool found;
  HeaderEntry entry;         // the first entry of the key letter
  bool complete;             // that entry holds all the reader reads for it
  bool jugglerBlock;
  HeaderEntry firstJugglers;  // the first j, p or P block
  size_t star;               // the header's '*', or the text's length when there is none
  std::vector<HeaderEntry> entries;  // every header entry in order
};

void Musterdatei_modif(const char *file, const char *line, int type);
char *readWholeFile(const char *file, long *size, long *lost, const char *caller);
HeaderScan scanPatternHeader(const std::string &text, char key);
// The text with the entry changed; *result says whether it changed or why it was refused.
std::string rewrittenPatternText(const std::string &text, const char *line, int type, int *result);
