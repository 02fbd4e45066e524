// Pattern-file rewriter. The header is walked entry by entry with the grammar the reader uses, so
// an entry's extent is exactly what the reader consumes for it; nothing past the header's '*' is
// ever touched. The new text goes to a temporary file that is renamed over the pattern file.
#include "pattern/rewriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/utils.h"
#include "pattern/reader.h"
#include "pattern/store.h"

char *readWholeFile(const char *file, long *size, long *lost, const char *caller) {
  FILE *f = fopen(file, "rb");
  if (!f) {
    qMsg(QMSG_ERROR, localText(40), file);
    return nullptr;
  }
  long length = -1;
  if (fseek(f, 0, SEEK_END) == 0) length = ftell(f);
  if (length < 0 || fseek(f, 0, SEEK_SET) != 0) {
    fclose(f);
    qMsg(QMSG_ERROR, localText(40), file);
    return nullptr;
  }
  char *buffer = static_cast<char *>(qAlloc(size_t(length) + 1));
  if (!buffer) {
    fclose(f);
    qMsg(QMSG_ERROR, localText(90), caller);
    return nullptr;
  }
  size_t got = fread(buffer, 1, size_t(length), f);
  fclose(f);
  buffer[got] = '\0';
  *size = length + 1;
  *lost = length - long(got);
  return buffer;
}

static bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

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

static size_t pointBlockEnd(const HeaderText &h, size_t pos, bool twoPoints) {
  const char *hand = twoPoints ? " %f %f %f %f %f %f" : " %f %f %f";
  for (int j = 0; j < h.jugglerCount; j++) {
    bool complete;
    pos = scanFormat(h, pos, "%f", &complete);
    for (int k = 0; k < 2 && complete; k++) pos = scanFormat(h, pos, hand, &complete);
    if (!complete) return pos;
  }
  return blockTail(h, pos);
}

// "j": per juggler a heading, a position, two kind words and the rest of its line.
static size_t presetBlockEnd(const HeaderText &h, size_t pos) {
  for (int j = 0; j < h.jugglerCount; j++) {
    bool complete;
    pos = scanFormat(h, pos, "%f %f %f %f %s %s", &complete);
    if (!complete) return pos;
    pos = lineEnd(h, pos);
  }
  return pos;
}

// "z=n" and n props of five or eight words.
static size_t propBlockEnd(const HeaderText &h, size_t pos) {
  bool complete;
  long n = 0;
  pos = scanFormat(h, pos, "=%d", &complete, &n);
  for (long k = 0; complete && k < n; k++) {
    size_t name = scanWord(h, pos);
    size_t angle = name == std::string::npos ? name : scanWord(h, name);
    if (angle == std::string::npos) return pos;
    char first = h.text[skipWhite(h, name)];
    pos = angle;
    if (first == 'r' || first == 'R') pos = scanFormat(h, pos, " %f %f %f", &complete);
    if (complete) pos = scanFormat(h, pos, " %f %f %f", &complete);
  }
  return complete ? blockTail(h, pos) : pos;
}

// "O=n" and pairs "count#model" until the counts reach n.
static size_t objectModelsEnd(const HeaderText &h, size_t pos) {
  bool complete;
  long n = 0;
  pos = scanFormat(h, pos, "=%d", &complete, &n);
  for (long assigned = 0; complete && assigned < n;) {
    long pair[2] = {0, 0};
    pos = scanFormat(h, pos, " %d#%d", &complete, pair);
    if (pair[0] < 1) break;
    assigned += pair[0];
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

// The position after the entry that starts at pos.
static size_t entryEnd(const HeaderText &h, size_t pos) {
  size_t next = pos + 1;
  switch (h.text[pos]) {
    case '!': case '%': case '@': return lineEnd(h, pos);
    case 'B': return scanFormat(h, next, "=%f,%f,%f,%f");
    case 'G': return scanFormat(h, next, "=%f,%f,%f");
    case 'O': return objectModelsEnd(h, next);
    case 'p': return pointBlockEnd(h, next, false);
    case 'P': return pointBlockEnd(h, next, true);
    case 'j': return presetBlockEnd(h, next);
    case 'z': return propBlockEnd(h, next);
    case 'k': return keyframesEnd(h, pos);
    case 'Z': case 'g': case 'l': case 's': return scanFormat(h, next, "=%f");
    case 'd': return scanFormat(h, next, "t=%f");
    case 'e': return scanFormat(h, next, "ps=%f");
    case 'a': case 'o': case 'r': case 'h': case 't': case 'u': return scanFormat(h, next, "=%d");
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
  HeaderScan scan{false, {0, 0}, false, {0, 0}, star};
  size_t pos = 0;
  while (pos < star) {
    if (isWhite(text[pos])) {
      pos++;
      continue;
    }
    size_t end = std::max(entryEnd(h, pos), pos + 1);
    char c = text[pos];
    if (c == key && !scan.found) {
      scan.found = true;
      scan.entry = {pos, end};
    }
    if ((c == 'j' || c == 'p' || c == 'P') && !scan.jugglerBlock) {
      scan.jugglerBlock = true;
      scan.firstJugglers = {pos, end};
    }
    pos = end;
  }
  return scan;
}

std::string rewrittenPatternText(const std::string &text, const char *line, int type, bool *changed) {
  *changed = false;
  HeaderScan scan = scanPatternHeader(text, line[0]);
  if (scan.found) {
    *changed = true;
    std::string out = text.substr(0, scan.entry.start);
    if (type == MODIF_REPLACE) out += line;
    return out + text.substr(scan.entry.end);
  }
  if (type == MODIF_REMOVE) return text;
  size_t at = scan.star;
  if (scan.jugglerBlock) at = line[0] == 'z' ? scan.firstJugglers.end : scan.firstJugglers.start;
  *changed = true;
  std::string entry = line;
  if (entry.back() != '\n') entry += '\n';
  return text.substr(0, at) + entry + text.substr(at);
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
  bool changed;
  std::string out = rewrittenPatternText(text, line, type, &changed);
  qMsg(QMSG_DEBUG, "Musterdatei_modif(%s, %d): %s\n", file, type, changed ? "rewritten" : "nothing to change");
  if (changed && writeFileThroughTemporary(file, out, WRITE_REPLACE) != 0) qMsg(QMSG_ERROR, localText(41), file);
}
