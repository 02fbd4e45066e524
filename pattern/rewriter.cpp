// Pattern-file rewriter. The header is walked entry by entry with the grammar the reader uses, so
// an entry's extent is exactly what the reader consumes for it; nothing past the header's '*' is
// ever touched. An entry the reader does not read whole is not rewritten, and every new text is
// checked to read as the old one with only that entry changed before it replaces the file.
#include "pattern/rewriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/Tcl.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "pattern/reader.h"
#include "pattern/store.h"

char *readWholeFile(const char *file, long *size, long *lost, const char *caller) {
  std::string text;
  if (readRegularFile(file, text, MAX_TEXT_FILE_SIZE) != READ_FILE_OK) {
    qMsg(QMSG_ERROR, localText(40), file);
    return nullptr;
  }
  char *buffer = static_cast<char *>(qAlloc(text.size() + 1));
  if (!buffer) {
    qMsg(QMSG_ERROR, localText(90), caller);
    return nullptr;
  }
  memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  *size = long(text.size()) + 1;
  *lost = 0;
  return buffer;
}

// The reader reads a NUL as a blank, so it is white space here too.
static bool isWhite(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\0';
}

static const char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";

// Where the header's text begins: after a UTF-8 byte-order mark, which the reader skips too.
static size_t textStart(const std::string &text) { return text.compare(0, 3, BYTE_ORDER_MARK) == 0 ? 3 : 0; }

// The part of the text that belongs to the header: entries are never read past limit.
struct HeaderText {
  const std::string &text;
  size_t limit;
  int jugglerCount;
};

static size_t skipWhite(const HeaderText &h, size_t pos) {
  while (pos < h.limit && isWhite(h.text[pos])) pos++;
  return pos;
}

static size_t lineEnd(const HeaderText &h, size_t pos) {
  while (pos < h.limit && h.text[pos] != '\n') pos++;
  return pos < h.limit ? pos + 1 : pos;
}

// A number as formatted input reads it: white space skipped, then the longest number. npos when
// no number stands there.
static size_t scanNumber(const HeaderText &h, size_t pos, bool integer, long *value) {
  pos = skipWhite(h, pos);
  char buffer[80];
  size_t n = std::min(sizeof buffer - 1, h.limit - pos);
  memcpy(buffer, h.text.data() + pos, n);
  buffer[n] = '\0';
  char *end;
  if (integer) {
    long v = strtol(buffer, &end, 10);
    if (value) *value = v;
  } else {
    strtod(buffer, &end);
  }
  return end == buffer ? std::string::npos : pos + size_t(end - buffer);
}

static size_t scanWord(const HeaderText &h, size_t pos) {
  pos = skipWhite(h, pos);
  if (pos >= h.limit) return std::string::npos;
  while (pos < h.limit && !isWhite(h.text[pos])) pos++;
  return pos;
}

// Consumes what formatted input with this format would: "%f" a real, "%d" an integer (its value
// into values, in order), "%s" a word, a blank any white space, other characters themselves. The
// position after the last item that matched; *complete tells whether the whole format matched.
static size_t scanFormat(const HeaderText &h, size_t pos, const char *format, bool *complete = nullptr,
                         long *values = nullptr) {
  if (complete) *complete = false;
  for (const char *f = format; *f; f++) {
    size_t next;
    if (*f == '%') {
      f++;
      if (*f == 's') next = scanWord(h, pos);
      else next = scanNumber(h, pos, *f == 'd', *f == 'd' && values ? values++ : nullptr);
    } else if (*f == ' ') {
      next = skipWhite(h, pos);
    } else {
      next = pos < h.limit && h.text[pos] == *f ? pos + 1 : std::string::npos;
    }
    if (next == std::string::npos) return pos;
    pos = next;
  }
  if (complete) *complete = true;
  return pos;
}

// The blanks after a block and its line feed.
static size_t blockTail(const HeaderText &h, size_t pos) {
  while (pos < h.limit && (h.text[pos] == ' ' || h.text[pos] == '\t' || h.text[pos] == '\r')) pos++;
  return pos < h.limit && h.text[pos] == '\n' ? pos + 1 : pos;
}

static size_t pointBlockEnd(const HeaderText &h, size_t pos, bool twoPoints, bool &complete) {
  const char *hand = twoPoints ? " %f %f %f %f %f %f" : " %f %f %f";
  for (int j = 0; j < h.jugglerCount; j++) {
    pos = scanFormat(h, pos, "%f", &complete);
    for (int k = 0; k < 2 && complete; k++) pos = scanFormat(h, pos, hand, &complete);
    if (!complete) return pos;
  }
  return blockTail(h, pos);
}

// "j": per juggler a heading, a position, two kind words and the rest of its line.
static size_t presetBlockEnd(const HeaderText &h, size_t pos, bool &complete) {
  for (int j = 0; j < h.jugglerCount; j++) {
    pos = scanFormat(h, pos, "%f %f %f %f %s %s", &complete);
    if (!complete) return pos;
    pos = lineEnd(h, pos);
  }
  return pos;
}

// "z=n" and n props of five or eight words.
static size_t propBlockEnd(const HeaderText &h, size_t pos, bool &complete) {
  long n = 0;
  pos = scanFormat(h, pos, "=%d", &complete, &n);
  for (long k = 0; complete && k < n; k++) {
    size_t name = scanWord(h, pos);
    size_t angle = name == std::string::npos ? name : scanWord(h, name);
    if (angle == std::string::npos) {
      complete = false;
      return pos;
    }
    char first = h.text[skipWhite(h, name)];
    pos = angle;
    if (first == 'r' || first == 'R') pos = scanFormat(h, pos, " %f %f %f", &complete);
    if (complete) pos = scanFormat(h, pos, " %f %f %f", &complete);
  }
  return complete ? blockTail(h, pos) : pos;
}

// "O=n" and pairs "count#model" until the counts reach n; the counts are bounded by n as the
// reader bounds them by the objects.
static size_t objectModelsEnd(const HeaderText &h, size_t pos, bool &complete) {
  long n = 0;
  pos = scanFormat(h, pos, "=%d", &complete, &n);
  for (long assigned = 0; complete && assigned < n;) {
    long pair[2] = {0, 0};
    pos = scanFormat(h, pos, " %d#%d", &complete, pair);
    if (pair[0] < 1) {
      complete = false;
      break;
    }
    assigned += std::min(pair[0], n - assigned);
  }
  return pos;
}

// The keyframe section: whole lines up to the first "kf" line with a negative number.
static size_t keyframesEnd(const HeaderText &h, size_t pos) {
  while (pos < h.limit) {
    size_t end = lineEnd(h, pos);
    std::string line = h.text.substr(pos, end - pos);
    int number;
    if (sscanf(line.c_str(), " kf %d", &number) == 1 && number < 0) return end;
    pos = end;
  }
  return pos;
}

static size_t wordEnd(const HeaderText &h, size_t pos) {
  while (pos < h.limit && !isWhite(h.text[pos])) pos++;
  return pos;
}

// The position after the entry that starts at pos; complete tells whether the entry held all
// that the reader reads for it.
static size_t entryEnd(const HeaderText &h, size_t pos, bool &complete) {
  size_t next = pos + 1;
  complete = true;
  switch (h.text[pos]) {
    case '!': case '%': case '@': return lineEnd(h, pos);
    case 'B': return scanFormat(h, next, "=%f,%f,%f,%f", &complete);
    case 'G': return scanFormat(h, next, "=%f,%f,%f", &complete);
    case 'O': return objectModelsEnd(h, next, complete);
    case 'p': return pointBlockEnd(h, next, false, complete);
    case 'P': return pointBlockEnd(h, next, true, complete);
    case 'j': return presetBlockEnd(h, next, complete);
    case 'z': return propBlockEnd(h, next, complete);
    case 'k': return keyframesEnd(h, pos);
    case 'Z': case 'g': case 'l': case 's': return scanFormat(h, next, "=%f", &complete);
    case 'd': return scanFormat(h, next, "t=%f", &complete);
    case 'e': return scanFormat(h, next, "ps=%f", &complete);
    case 'a': case 'o': case 'r': case 'h': case 't': case 'u': return scanFormat(h, next, "=%d", &complete);
    default: return wordEnd(h, next);
  }
}

// The header's '*' as the reader finds it: '!' and '%' skip their line, '@' its line after the
// macro letter. Collects the macro letters.
static size_t findHeaderStar(const std::string &text, std::string &macros) {
  size_t pos = 0;
  while (pos < text.size()) {
    char c = text[pos];
    if (c == '*') return pos;
    if (c == '@' && pos + 1 < text.size() && macros.size() < MAX_HAND_MACROS) macros += text[pos + 1];
    if (c == '!' || c == '%' || c == '@') {
      size_t end = text.find('\n', pos);
      pos = end == std::string::npos ? text.size() : end + 1;
    } else {
      pos++;
    }
  }
  return text.size();
}

// The number of jugglers of the file: half the columns of its first body line, read with the
// reader's body-line tokenizer and the file's own macro letters. The loaded pattern's count when
// the body gives none.
static int fileJugglerCount(const std::string &text, size_t star, const std::string &macros) {
  size_t start = text.find('\n', star);
  int count = 0;
  if (start != std::string::npos) {
    size_t end = text.find('\n', start + 1);
    std::string line = text.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    char saved[sizeof Handmakrobuchstaben];
    memcpy(saved, Handmakrobuchstaben, sizeof saved);
    snprintf(Handmakrobuchstaben, sizeof Handmakrobuchstaben, "%s", macros.c_str());
    BodyLine body;
    if (scanBodyLine(line, body) == 0 && body.cells.size() % 2 == 0) count = int(body.cells.size() / 2);
    memcpy(Handmakrobuchstaben, saved, sizeof saved);
  }
  if (count > 0 && count <= MAX_JUGGLERS) return count;
  return jugglers > 0 ? jugglers : 1;
}

HeaderScan scanPatternHeader(const std::string &text, char key) {
  std::string macros;
  size_t star = findHeaderStar(text, macros);
  HeaderText h{text, star, fileJugglerCount(text, star, macros)};
  HeaderScan scan{false, {0, 0}, true, false, {0, 0}, star, {}};
  size_t pos = textStart(text);
  while (pos < star) {
    if (isWhite(text[pos])) {
      pos++;
      continue;
    }
    bool complete;
    size_t end = std::max(entryEnd(h, pos, complete), pos + 1);
    char c = text[pos];
    if (c == key && !scan.found) {
      scan.found = true;
      scan.entry = {pos, end};
      scan.complete = complete;
    }
    if ((c == 'j' || c == 'p' || c == 'P') && !scan.jugglerBlock) {
      scan.jugglerBlock = true;
      scan.firstJugglers = {pos, end};
    }
    scan.entries.push_back({pos, end});
    pos = end;
  }
  return scan;
}

static std::string entryText(const std::string &text, HeaderEntry e) { return text.substr(e.start, e.end - e.start); }

// The text from the line after the header's '*' on: the body and the wrap lines.
static std::string bodyText(const std::string &text, size_t star) {
  size_t end = text.find('\n', star);
  return end == std::string::npos ? std::string() : text.substr(end + 1);
}

static std::string withoutTrailingWhite(std::string s) {
  while (!s.empty() && isWhite(s.back())) s.pop_back();
  return s;
}

// True when the new text reads as the old one with only the one entry changed: the same body,
// and the same header entries but the replaced, removed or inserted one, which reads whole. A
// new value glued to what followed the old entry, or a header end moved to another line, fails.
static bool onlyTheEntryChanged(const std::string &text, const HeaderScan &before, const std::string &out,
                                const char *line, int type) {
  HeaderScan after = scanPatternHeader(out, line[0]);
  if (bodyText(text, before.star) != bodyText(out, after.star)) return false;
  std::vector<std::string> expected, got;
  for (HeaderEntry e : before.entries)
    if (!before.found || e.start != before.entry.start) expected.push_back(withoutTrailingWhite(entryText(text, e)));
  for (HeaderEntry e : after.entries)
    if (type == MODIF_REMOVE || !after.found || e.start != after.entry.start)
      got.push_back(withoutTrailingWhite(entryText(out, e)));
  if (expected != got) return false;
  if (type == MODIF_REMOVE) return true;
  return after.found && after.complete &&
         withoutTrailingWhite(entryText(out, after.entry)) == withoutTrailingWhite(line);
}

std::string rewrittenPatternText(const std::string &text, const char *line, int type, int *result) {
  *result = REWRITE_UNCHANGED;
  HeaderScan scan = scanPatternHeader(text, line[0]);
  if (scan.found && !scan.complete) {
    *result = REWRITE_REFUSED;
    return text;
  }
  std::string out;
  if (scan.found) {
    out = text.substr(0, scan.entry.start);
    if (type == MODIF_REPLACE) out += line;
    out += text.substr(scan.entry.end);
  } else {
    if (type == MODIF_REMOVE) return text;
    size_t at = scan.star;
    if (scan.jugglerBlock) at = line[0] == 'z' ? scan.firstJugglers.end : scan.firstJugglers.start;
    std::string entry = line;
    if (entry.back() != '\n') entry += '\n';
    if (at > 0 && !isWhite(text[at - 1])) entry.insert(0, "\n");  // a line of its own
    out = text.substr(0, at) + entry + text.substr(at);
  }
  if (!onlyTheEntryChanged(text, scan, out, line, type)) {
    *result = REWRITE_REFUSED;
    return text;
  }
  *result = REWRITE_CHANGED;
  return out;
}

void Musterdatei_modif(const char *file, const char *line, int type) {
  if (type != MODIF_REPLACE && type != MODIF_REMOVE) {
    qMsg(QMSG_ERROR, localText(45), type, "Musterdatei_modif()");
    return;
  }
  if (!file || !line || !line[0] || isWhite(line[0]) || line[0] == '*') {
    qMsg(QMSG_ERROR, localText(46), "no entry to change", "Musterdatei_modif()");
    return;
  }
  long size, lost;
  char *buffer = readWholeFile(file, &size, &lost, "Musterdatei_modif()");
  if (!buffer) return;
  std::string text(buffer, size_t(size - 1 - lost));
  qFree(buffer, size_t(size));
  int result;
  std::string out = rewrittenPatternText(text, line, type, &result);
  static const char *const outcome[] = {"nothing to change", "rewritten", "refused"};
  qMsg(QMSG_DEBUG, "Musterdatei_modif(%s, %d): %s\n", file, type, outcome[result]);
  if (result == REWRITE_REFUSED) {
    qMsg(QMSG_ERROR, localText(780), line[0], file);
  } else if (result == REWRITE_CHANGED && !writeFileAtomically(file, out)) {
    qMsg(QMSG_ERROR, localText(34), file, strerror(errno));
  }
}
