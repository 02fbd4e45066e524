// A small reader of the pattern files kovex writes, kept apart from kovex's own code: header
// lines, body cells (object letters per takt and hand column) and wrap lines.
#pragma once

#include <string>
#include <vector>

struct ReadPattern {
  std::vector<std::string> header;                          // lines before the '*' line
  std::vector<std::vector<std::vector<char>>> cells;        // [takt][column] object letters
  std::vector<std::vector<std::string>> groups;             // [takt][column] "(...)" text or ""
  std::string wrapBefore, wrapAfter;                        // empty without wrap lines
};

// Parses the text; false with a reason when it is not laid out as expected.
bool readPatternText(const std::string &text, ReadPattern *out, std::string *why);

// Where an object thrown at (takt, column) is thrown next: the number of takts later and the
// column, following the wrap lines across the end of the body. False when it never is.
bool nextThrowOf(const ReadPattern &p, char letter, int takt, int *after, int *column);
