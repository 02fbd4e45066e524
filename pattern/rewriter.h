// Pattern-file rewriter: changes one header entry of a pattern file in place (replace, insert or
// remove), and reads a whole text file into one buffer.
#pragma once
#include <cstddef>
#include <string>

enum { MODIF_REPLACE = 1, MODIF_REMOVE = 2 };

// How writeFileThroughTemporary puts the file in place, and its results besides 0.
enum { WRITE_REPLACE = 1, WRITE_NEW = 2 };
enum { WRITE_FAILED = 1, WRITE_EXISTS = 2 };

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
// Writes the text to a unique temporary file beside the target, syncs it and moves it into place:
// renamed over the target (WRITE_REPLACE), or linked only when no file of that name exists
// (WRITE_NEW). On any failure the target is left as it was and the temporary file removed.
int writeFileThroughTemporary(const char *file, const std::string &text, int how);
char *readWholeFile(const char *file, long *size, long *lost, const char *caller);
HeaderScan scanPatternHeader(const std::string &text, char key);
std::string rewrittenPatternText(const std::string &text, const char *line, int type, bool *changed);
