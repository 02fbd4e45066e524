// Bounded token reading: every number and word has a length limit, overlong ones fail or are cut,
// so a hostile file can never overrun a buffer or overflow a value.
#include "scene/textread.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

int peekAfterSpace(FILE *f) {
  int c;
  while ((c = getc(f)) != EOF && isspace(c)) {
  }
  if (c != EOF) ungetc(c, f);
  return c;
}

// Collects up to size-1 characters for which accept() holds; the rest of such a run is dropped
// and counted in *dropped. The first character not accepted is put back.
template <typename Accept>
static size_t collect(FILE *f, char *buffer, size_t size, Accept accept, size_t *dropped) {
  size_t n = 0;
  *dropped = 0;
  int c;
  while ((c = getc(f)) != EOF && accept(c)) {
    if (n + 1 < size) buffer[n++] = char(c);
    else (*dropped)++;
  }
  if (c != EOF) ungetc(c, f);
  buffer[n] = 0;
  return n;
}

bool readInt(FILE *f, int *value) {
  if (peekAfterSpace(f) == EOF) return false;
  char buffer[16];
  size_t dropped;
  size_t n = collect(f, buffer, sizeof buffer, [](int c) { return isdigit(c) || c == '-' || c == '+'; }, &dropped);
  if (n == 0 || dropped) return false;
  char *end;
  errno = 0;
  long v = strtol(buffer, &end, 10);
  if (*end || end == buffer || errno || v < -2147483647L || v > 2147483647L) return false;
  *value = int(v);
  return true;
}

bool readIntBefore(FILE *f, int stop, int *value) {
  if (peekAfterSpace(f) == stop) return false;
  return readInt(f, value);
}

bool readReal(FILE *f, double *value) {
  if (peekAfterSpace(f) == EOF) return false;
  char buffer[64];
  size_t dropped;
  size_t n = collect(f, buffer, sizeof buffer,
                     [](int c) { return isdigit(c) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'; }, &dropped);
  if (n == 0 || dropped) return false;
  char *end;
  double v = strtod(buffer, &end);
  if (*end || end == buffer || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

bool readWord(FILE *f, char *word, size_t size) {
  if (peekAfterSpace(f) == EOF) return false;
  size_t dropped;
  return collect(f, word, size, [](int c) { return !isspace(c); }, &dropped) > 0;
}

bool readBaseWord(FILE *f, int *value) {
  if (peekAfterSpace(f) == EOF) return false;
  char buffer[32];
  size_t dropped;
  size_t n = collect(f, buffer, sizeof buffer, [](int c) { return !isspace(c) && c != '(' && c != ')'; }, &dropped);
  if (n == 0 || dropped) return false;
  char *end;
  errno = 0;
  long v = strtol(buffer, &end, 0);
  if (*end || errno || v < -2147483647L || v > 2147483647L) return false;
  const char *digits = buffer[0] == '-' || buffer[0] == '+' ? buffer + 1 : buffer;
  bool hex = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
  *value = int(hex ? -v : v);
  return true;
}

bool readLine(FILE *f, std::string &line, size_t limit) {
  line.clear();
  int c = getc(f);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = getc(f))
    if (limit == 0 || line.size() < limit) line += char(c);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

void skipLine(FILE *f) {
  int c;
  while ((c = getc(f)) != EOF && c != '\n') {
  }
}

void skipWord(FILE *f) {
  char word[2];
  readWord(f, word, sizeof word);
}

bool skipTo(FILE *f, int wanted) {
  int c;
  while ((c = getc(f)) != EOF)
    if (c == wanted) return true;
  return false;
}

bool skipClosing(FILE *f) {
  if (peekAfterSpace(f) != ')') return false;
  getc(f);
  return true;
}
