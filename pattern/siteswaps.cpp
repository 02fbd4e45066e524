// Saved siteswaps and the start-notation collection. A saved siteswap is a copy of the pattern
// file the converters produced, under a name the user confirms; the collection is an HTML file
// with one section per object count, each holding an index of links and a table per pattern,
// both kept in sorted order.
#include "pattern/siteswaps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/Tcl.h"
#include "core/userfiles.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/utils.h"
#include "pattern/rewriter.h"
#include "pattern/store.h"

ConvertedSiteswap convertedSiteswap;

enum {
  SAVE_CANCELLED_OR_DONE = 0,
  SAVE_NOT_READ = 1,
  SAVE_EXISTS = 2,
  SAVE_NOT_WRITTEN = 3,
  SAVE_NO_SITESWAP = 11,
};

enum {
  NOTATION_BLOCK_NOT_WRITTEN = 1,
  NOTATION_NOT_INSERTED = 4,
  NOTATION_DECLINED = 5,
  NOTATION_LINK_FAILED = 6,
  NOTATION_DIALOG_FAILED = 10,
  NOTATION_CANCELLED = 11,
  NOTATION_NOT_UNDERSTOOD = 12,
};

static const size_t MAX_PATTERN_COPY = 1 << 20;
static const size_t MAX_COLLECTION_SIZE = 16 << 20;
static const size_t DUPLICATE_COMPARE_LENGTH = 200;
static const int MAX_START_COUNT = 99;
// Every section of the collection begins with a heading: no section reaches past the next one.
static const char *const SECTION_HEADING = "<h2>";

// ---------------------------------------------------------------- saved siteswaps

// Characters a file name cannot hold on any of the systems pattern files travel to.
static char fileNameCharacter(char c) {
  if (c == '*') return '#';
  if (static_cast<unsigned char>(c) < 32 || strchr("/\\:?\"<>|", c)) return '_';
  return c;
}

std::string proposedSiteswapName(const std::string &directory, int objects, const std::string &siteswap, int multihand) {
  std::string name = directory;
  if (!name.empty() && name.back() != '/') name += '/';
  name += std::to_string(objects) + "_";
  for (char c : siteswap) name += fileNameCharacter(c);
  if (multihand >= 3) name += "-" + std::to_string(multihand) + "_hands";
  return name;
}

static bool makeDirectory(const std::string &directory) {
  struct stat info;
  if (stat(directory.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  return mkdir(directory.c_str(), 0755) == 0;
}

int copyConvertedPattern(const char *source, const char *target) {
  struct stat info;
  if (lstat(target, &info) == 0) {
    qMsg(QMSG_ERROR, localText(39), target);
    return SAVE_EXISTS;
  }
  std::string text;  // the converter's own file: a link in its place is not followed
  if (lstat(source, &info) != 0 || S_ISLNK(info.st_mode) || readRegularFile(source, text, MAX_PATTERN_COPY) != READ_FILE_OK) {
    qMsg(QMSG_ERROR, localText(40), source);
    return SAVE_NOT_READ;
  }
  if (!writeNewFileAtomically(target, text)) {
    if (errno == EEXIST) {
      qMsg(QMSG_ERROR, localText(39), target);
      return SAVE_EXISTS;
    }
    qMsg(QMSG_ERROR, localText(41), target);
    return SAVE_NOT_WRITTEN;
  }
  return 0;
}

// The answer of the name dialog: the name, or empty when the user cancelled.
static bool cancelledName(const char *answer) {
  if (!answer[0]) return true;
  char *end;
  long number = strtol(answer, &end, 10);
  return end != answer && number == NAME_CANCELLED;
}

int saveSiteswap(int how, std::string &savedFile) {
  savedFile.clear();
  qMsg(QMSG_DEBUG, "saveSiteswap(%d): '%s' from %s\n", how, convertedSiteswap.text.c_str(),
       convertedSiteswap.file.c_str());
  if (convertedSiteswap.text.empty() || convertedSiteswap.file.empty()) {
    qMsg(QMSG_ERROR, "%s", localText(503));
    return SAVE_NO_SITESWAP;
  }
  std::string directory = backslashToSlash(qPrefs.siteswapdir);
  if (!makeDirectory(directory)) {
    qMsg(QMSG_ERROR, localText(44), directory.c_str());
    return SAVE_NOT_WRITTEN;
  }
  std::string proposed = proposedSiteswapName(directory, objekte, convertedSiteswap.text, qPrefs.multihand);
  char answer[TCL_ANSWER_SIZE] = "";
  // The request: the proposed name, then the prompt the dialog shows above it.
  std::string request = proposed + "\n" + localTextLine(2416);
  int code = InvokeTclCmd(NAME_DIALOG_SCRIPT, request.c_str(), 0, answer);
  if (code != 0) {
    qMsg(QMSG_ERROR, localText(15), code, "saveSiteswap");
    return SAVE_NOT_READ;
  }
  stripTrailingSpace(answer);
  if (cancelledName(answer)) return SAVE_CANCELLED_OR_DONE;
  std::string name = backslashToSlash(std::string(answer));
  int copied = copyConvertedPattern(convertedSiteswap.file.c_str(), name.c_str());
  if (copied != 0) return copied;
  savedFile = name;
  qMsg(QMSG_INFO, localText(502), name.c_str());
  return 0;
}

// ---------------------------------------------------------------- start notation

// Sections are named by object counts, numbers below 100.
static bool namedLikeASection(const std::string &pattern) {
  if (pattern.empty() || pattern.size() > 2) return false;
  for (char c : pattern)
    if (c < '0' || c > '9') return false;
  return true;
}

// A pattern's own anchor. A pattern written like an object count gets the hand count too, so
// that its anchor never equals the anchor of a section.
static std::string patternAnchor(const StartNotation &n) {
  std::string anchor = htmlEscaped(n.pattern);
  if (n.hands > 2 || namedLikeASection(n.pattern)) anchor += " " + std::to_string(n.hands) + "-handed";
  return anchor;
}

static std::string handsSuffix(const StartNotation &n, const char *space) {
  return n.hands > 2 ? std::string(space) + std::to_string(n.hands) + "-handed" : std::string();
}

static int parseCount(const char *&at) {
  at = skipSpace(at);
  if (*at < '0' || *at > '9') return -1;
  char *end;
  long value = strtol(at, &end, 10);
  at = end;
  return value > MAX_START_COUNT ? -1 : int(value);
}

static int notUnderstood(const char *answer) {
  qMsg(QMSG_ERROR, localText(2414), answer);
  return NOTATION_NOT_UNDERSTOOD;
}

// The answer is "pattern hands start", then after the first '-' that follows the hand count the
// start counts separated by '-': "531 2 - 2 - 1". A start sequence "-" stands for none.
int parseStartNotationAnswer(const char *answer, StartNotation &out) {
  const char *at = skipSpace(answer);
  const char *patternEnd = at + strcspn(at, " \t\n");
  out.pattern.assign(at, patternEnd);
  if (out.pattern == "-1") return NOTATION_CANCELLED;
  at = skipSpace(patternEnd);
  char *handsEnd;
  long hands = strtol(at, &handsEnd, 10);
  if (out.pattern.empty() || handsEnd == at) return notUnderstood(answer);
  if (hands != 2 && hands != 4 && hands != 6) {
    qMsg(QMSG_ERROR, localText(43), int(std::clamp(hands, -99999L, 99999L)), "writeStartNotation");
    return NOTATION_NOT_UNDERSTOOD;
  }
  out.hands = int(hands);
  at = skipSpace(handsEnd);
  const char *startEnd = at + strcspn(at, " \t\n");
  out.start.assign(at, startEnd);
  const char *dash = strchr(handsEnd, '-');
  if (out.start.empty() || !dash) return notUnderstood(answer);
  if (out.start == "-") out.start.clear();
  at = dash + 1;
  for (int k = 0; k < out.hands; k++) {
    if (k > 0) {
      at = skipSpace(at);
      if (*at != '-') return notUnderstood(answer);
      at++;
    }
    out.counts[k] = parseCount(at);
    if (out.counts[k] < 0) return notUnderstood(answer);
  }
  return 0;
}

static std::string throwCell(char c, int juggler) { return htmlEscaped(throwCharacter(c, juggler)); }

// One row per juggler; every throw is a column, written into the row of the juggler who makes it.
static std::string passingRows(const StartNotation &n) {
  int jugglerCount = n.hands / 2;
  std::string rows[START_HANDS_MAX / 2];
  for (int k = 0; k < jugglerCount; k++)
    rows[k] = formatText("<tr><td>Juggler %c (%dR %dL) %s R<td>", 'A' + k, n.counts[k], n.counts[k + jugglerCount],
                         k == 0 ? "starts" : "follows");
  size_t beats = n.start.size();
  for (size_t b = 0; b < beats; b++)
    for (int k = 0; k < jugglerCount; k++)
      rows[k] += (int(b % size_t(jugglerCount)) == k ? throwCell(n.start[b], k) : std::string()) + "<td>";
  if (beats > 0) {
    rows[0].pop_back();
    rows[0] += formatText(" rowspan=\"%d\">&nbsp;<td>", jugglerCount);
  }
  std::string throws = n.pattern;
  if (throws.size() % size_t(n.hands) != 0)
    for (int k = 1; k < jugglerCount; k++) throws += n.pattern;
  for (size_t i = 0; i < throws.size(); i++) {
    int owner = int((beats + i) % size_t(jugglerCount));
    for (int k = 0; k < jugglerCount; k++) rows[k] += (k == owner ? throwCell(throws[i], k) : std::string()) + "<td>";
  }
  std::string out;
  for (int k = 0; k < jugglerCount; k++) out += rows[k] + "\n";
  return out;
}

std::string startNotationBlock(const StartNotation &n, int objects, const std::string &transitionIn,
                               const std::string &transitionOut) {
  std::string pattern = htmlEscaped(n.pattern);
  std::string block = "<a name=\"" + patternAnchor(n) + "\"><h3>" + std::to_string(objects) + " objects: " + pattern +
                      handsSuffix(n, " ") + "</h3></a>\n<table border=\"1\">\n";
  if (n.hands == 2) {
    int right = n.counts[0], left = n.counts[1];
    block += formatText(right != left ? "(%dR %dL, start R) " : "(%dR %dL) ", right, left);
    if (!n.start.empty()) block += htmlEscaped(n.start) + " -> ";
    block += "{ " + pattern + " }  &nbsp; &nbsp; &nbsp; &nbsp; \n";
  } else {
    block += passingRows(n);
  }
  block += "</table>\n";
  if (transitionIn.empty() && transitionOut.empty()) {
    block += "Ground state pattern\n\n";
  } else {
    block += "Transition: " + std::to_string(objects) + " -> " + htmlEscaped(transitionIn) + " { " + pattern + " } " +
             htmlEscaped(transitionOut) + "  -> " + std::to_string(objects) + "\n\n";
  }
  return block;
}

std::string startNotationLink(const StartNotation &n) {
  return "<a href=\"#" + patternAnchor(n) + "\">" + htmlEscaped(n.pattern) + handsSuffix(n, "&nbsp;") + "</a> \n";
}

static size_t nextLineStart(const std::string &text, size_t at) {
  size_t end = text.find('\n', at);
  return end == std::string::npos ? text.size() : end + 1;
}

static size_t lineStartOf(const std::string &text, size_t at) {
  size_t newline = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
  return newline == std::string::npos ? 0 : newline + 1;
}

static size_t emptyLineLength(const std::string &text, size_t lineStart) {
  if (lineStart < text.size() && text[lineStart] == '\n') return 1;
  if (lineStart + 1 < text.size() && text[lineStart] == '\r' && text[lineStart + 1] == '\n') return 2;
  return 0;
}

// Where an item that sorts after every item of the section goes: at the first empty line after
// the last item (or after the section's anchor line), inside the section. An item that ends with
// an empty line of its own goes after that empty line, others before it.
static size_t insertionAfterItems(const std::string &text, size_t from, size_t end, bool haveItems,
                                  const std::string &item) {
  bool endsWithEmptyLine = item.size() >= 2 && item.compare(item.size() - 2, 2, "\n\n") == 0;
  for (size_t line = from; line < end; line = nextLineStart(text, line)) {
    size_t length = emptyLineLength(text, line);
    if (length) return endsWithEmptyLine ? line + length : line;
  }
  return haveItems ? end : from;
}

int insertedStartNotation(std::string &text, const char *sectionAnchor, const char *itemAnchor, const std::string &item,
                          const char *endAnchor) {
  size_t anchor = text.find(sectionAnchor);
  if (anchor == std::string::npos) return INSERT_NO_SECTION;
  size_t start = nextLineStart(text, anchor);
  size_t end = std::min(text.find(endAnchor, start), text.find(SECTION_HEADING, start));
  end = end == std::string::npos ? text.size() : std::max(start, lineStartOf(text, end));
  size_t compared = std::min(item.size(), DUPLICATE_COMPARE_LENGTH);
  size_t at = std::string::npos, last = std::string::npos;
  for (size_t pos = text.find(itemAnchor, start); pos < end; pos = text.find(itemAnchor, pos + 1)) {
    if (text.compare(pos, compared, item, 0, compared) == 0) return INSERT_ALREADY_THERE;
    if (text.compare(pos, item.size(), item) > 0) {
      at = pos;
      break;
    }
    last = pos;
  }
  if (at == std::string::npos) at = insertionAfterItems(text, last == std::string::npos ? start : last, end,
                                                        last != std::string::npos, item);
  std::string inserted = item;
  if (at == text.size() && !text.empty() && text.back() != '\n') inserted.insert(0, "\n");
  text.insert(at, inserted);
  return 0;
}

int insertStartNotation(const char *file, const char *sectionAnchor, const char *itemAnchor, const std::string &text,
                        const char *endAnchor) {
  std::string collection;
  if (readRegularFile(file, collection, MAX_COLLECTION_SIZE) != READ_FILE_OK) {
    qMsg(QMSG_ERROR, localText(40), file);
    return INSERT_NOT_READ;
  }
  int code = insertedStartNotation(collection, sectionAnchor, itemAnchor, text, endAnchor);
  if (code == INSERT_NO_SECTION) qMsg(QMSG_ERROR, localText(2415), file, sectionAnchor);
  if (code != 0) return code;
  if (!writeFileAtomically(file, collection)) {
    qMsg(QMSG_ERROR, localText(41), file);
    return INSERT_NOT_WRITTEN;
  }
  return 0;
}

static bool addAgain(const StartNotation &n) {
  std::string question = formatText(localText(39), n.pattern.c_str());
  std::string again = localText(37);
  std::string cancel = localText(70);
  return askUser(question.c_str(), again.c_str(), cancel.c_str()) == 1;
}

// A pattern listed already is listed once: when the user wants its notation added again, only the
// table goes in, and a table that is there already is not written twice.
int addStartNotation(const char *file, const StartNotation &n, const std::string &block, int objects) {
  std::string section = formatText("<a name=\"%d\"", objects);
  std::string nextSection = formatText("<a name=\"%d\"", objects + 1);
  int code = insertStartNotation(file, section.c_str(), "<a href", startNotationLink(n), nextSection.c_str());
  if (code == INSERT_ALREADY_THERE && !addAgain(n)) return NOTATION_DECLINED;
  if (code != 0 && code != INSERT_ALREADY_THERE) return NOTATION_LINK_FAILED;
  code = insertStartNotation(file, section.c_str(), "<a name", block, SECTION_HEADING);
  if (code == INSERT_ALREADY_THERE) qMsg(QMSG_INFO, localText(39), n.pattern.c_str());
  if (code != 0) return NOTATION_NOT_INSERTED;
  qMsg(QMSG_INFO, "%s", localText(2413));
  return 0;
}

int writeStartNotation(const char *siteswap, int hands, int objects) {
  qMsg(QMSG_DEBUG, "writeStartNotation(%s, %d, %d)\n", siteswap, hands, objects);
  std::string request = formatText("%s\n%d", siteswap, hands);
  char answer[TCL_ANSWER_SIZE] = "";
  int code = InvokeTclCmd(START_NOTATION_SCRIPT, request.c_str(), 0, answer);
  if (code != 0) {
    qMsg(QMSG_ERROR, localText(15), code, "writeStartNotation");
    return NOTATION_DIALOG_FAILED;
  }
  StartNotation notation{};
  code = parseStartNotationAnswer(answer, notation);
  if (code != 0) return code;
  std::string block = startNotationBlock(notation, objects, qPrefs.trans_in, qPrefs.trans_out);
  if (!replaceOwnFileAtomically(START_NOTATION_BLOCK_FILE, block)) {
    qMsg(QMSG_ERROR, localText(41), START_NOTATION_BLOCK_FILE);
    return NOTATION_BLOCK_NOT_WRITTEN;
  }
  return addStartNotation(START_NOTATION_FILE, notation, block, objects);
}
