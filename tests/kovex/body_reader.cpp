// A small reader of the pattern files kovex writes, kept apart from kovex's own code.
#include "body_reader.h"

#include <sstream>

namespace {

std::vector<std::string> splitLines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

bool readCell(const std::string &cell, std::vector<char> *letters, std::string *group) {
  size_t i = 0;
  if (cell == "-") return true;
  if (cell[0] == '(') {
    i = cell.find(')');
    if (i == std::string::npos) return false;
    *group = cell.substr(0, i + 1);
    i++;
  }
  for (; i < cell.size(); i++) {
    if (cell[i] == '&') continue;
    letters->push_back(cell[i]);
  }
  return !letters->empty();
}

}  // namespace

bool readPatternText(const std::string &text, ReadPattern *out, std::string *why) {
  std::vector<std::string> lines = splitLines(text);
  size_t i = 0;
  while (i < lines.size() && lines[i] != "*") out->header.push_back(lines[i++]);
  if (i == lines.size()) {
    *why = "no '*' line after the header";
    return false;
  }
  for (i++; i < lines.size() && lines[i] != "*"; i++) {
    std::istringstream words(lines[i]);
    std::string cell;
    out->cells.emplace_back();
    out->groups.emplace_back();
    while (words >> cell) {
      out->cells.back().emplace_back();
      out->groups.back().emplace_back();
      if (!readCell(cell, &out->cells.back().back(), &out->groups.back().back())) {
        *why = "bad cell '" + cell + "' in body line " + std::to_string(out->cells.size());
        return false;
      }
    }
  }
  if (i < lines.size()) {
    if (i + 2 >= lines.size()) {
      *why = "wrap part without two lines";
      return false;
    }
    out->wrapBefore = lines[i + 1];
    out->wrapAfter = lines[i + 2];
  }
  return true;
}

bool nextThrowOf(const ReadPattern &p, char letter, int takt, int *after, int *column) {
  int takts = (int)p.cells.size();
  char current = letter;
  for (int t = takt + 1; t < takt + 4 * takts; t++) {
    int row = t % takts;
    if (row == 0) {
      size_t at = p.wrapBefore.find(current);
      if (at != std::string::npos && at < p.wrapAfter.size()) current = p.wrapAfter[at];
    }
    for (size_t c = 0; c < p.cells[(size_t)row].size(); c++)
      for (char l : p.cells[(size_t)row][c])
        if (l == current) {
          *after = t - takt;
          *column = (int)c;
          return true;
        }
  }
  return false;
}
