// kovex: converts a siteswap into a pattern file for quoit. With several siteswaps (separated by
// blanks) the first is converted and all are listed in "q2.out" next to the pattern file, with
// the transitions into and out of the excited ones.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/userfiles.h"
#include "kovex/kovex.h"
#include "kovex/patternfile.h"
#include "kovex/siteswap.h"

namespace {

const int EXIT_NOT_JUGGLEABLE = 1;
const int EXIT_USAGE = 2;
const int EXIT_WRITE = 3;
const size_t MAX_LIST_LINE = 500;  // longest line the list reader takes

struct Settings {
  bool quiet = false;
  int hands = 2;
  bool mirrored = false;
  std::string siteswap;
  bool haveSiteswap = false;
  std::string output = "QuoitSiteSwap";
  std::string headerFile, styleFile;
  PatternFileOptions file;
};

void printHelp() {
  printf(
      "usage: kovex [options] siteswap [pattern-file]\n"
      "Converts a siteswap into a quoit pattern file (default name QuoitSiteSwap).\n\n"
      "Notation:\n"
      "  531, 97531, b1     vanilla throws: 0-9, then a-z for 10 and more ('p' and 'x' are marks)\n"
      "  (4,4), (6x,4)(4,6x), (4,2x)*\n"
      "                     synchronous pairs (left hand, right hand); x crosses, * repeats mirrored\n"
      "  [33]33, [54]24, ([44],[44])\n"
      "                     multiplexes: several objects thrown at once by one hand\n"
      "  <3p|3p><3|3>, <3p 3|3p 3>, <3p2|3p3|3p1>\n"
      "                     passing: one sequence per juggler between '|'; p passes to the next\n"
      "                     juggler, p2 to juggler 2\n"
      "  531 441 51         several siteswaps: the first is converted, all are listed in q2.out,\n"
      "                     a vanilla one that does not start from the ground state as\n"
      "                     \"<throws into it> <siteswap> <throws back>\"\n\n"
      "Options:\n"
      "  -q           quiet: print nothing but errors\n"
      "  -n           accepted for the main program, changes nothing\n"
      "  -r<ratio>    share of a hand's turn that it is empty (0 < ratio < 1), written as dwell\n"
      "  -H<file>     header entries copied into the pattern file; a juggler block there\n"
      "               (p, P or j) replaces kovex's own\n"
      "  -S<file>     throw styles, lines \"<throw> <letters>\": kind-of-throw letters (ABCSabcdfrst)\n"
      "               for every throw of that value, e.g. \"3 b\"\n"
      "  -o<model>    object model number for every object (0 keeps the default)\n"
      "  -s           mirrored: every juggler starts with the left hand\n"
      "  -m<hands>    a vanilla siteswap is thrown by that many hands in turn (even, 2 to 40),\n"
      "               two per juggler; hand k is juggler k's right hand, k + jugglers the left\n"
      "  -p<persons>  the same with two hands per person\n"
      "  -l           show 2s as objects held in the hand\n"
      "  --help       this text\n"
      "  --           the end of the options: every later word is a siteswap or the file name\n"
      "Other options are ignored. Exit status: 0 converted, 1 not juggleable, 2 bad command line\n"
      "or option file, 3 the file could not be written.\n");
}

// The end of a run before its last step: kovexMain returns the code.
struct Quit {
  int code;
};

[[noreturn]] void quit(int code, const std::string &message) {
  if (!message.empty()) fprintf(stderr, "kovex: %s\n", message.c_str());
  throw Quit{code};
}

void warn(const Settings &s, const std::string &message) {
  if (!s.quiet) fprintf(stderr, "kovex: %s\n", message.c_str());
}

bool readInt(const char *text, int *value) {
  char *end = nullptr;
  long v = strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < -1000000 || v > 1000000) return false;
  *value = (int)v;
  return true;
}

void readOption(const char *arg, Settings *s) {
  const char *value = arg + 2;
  int n = 0;
  switch (arg[1]) {
    case 'q': s->quiet = true; break;
    case 'n': break;
    case 'l': s->file.holds = true; break;
    case 's':
      if (*value) warn(*s, std::string("option ") + arg + " ignored");
      else s->mirrored = true;
      break;
    case 'H': s->headerFile = value; break;
    case 'S': s->styleFile = value; break;
    case 'r': {
      char *end = nullptr;
      double r = strtod(value, &end);
      if (end == value || *end != '\0') warn(*s, std::string("option ") + arg + " ignored: not a number");
      else s->file.freeRatio = r;
      break;
    }
    case 'o':
      if (!readInt(value, &n)) warn(*s, std::string("option ") + arg + " ignored: not a number");
      else s->file.objectModel = n;
      break;
    case 'm':
    case 'p':
      if (!readInt(value, &n) || n < 1) warn(*s, std::string("option ") + arg + " ignored: not a count");
      else s->hands = arg[1] == 'p' ? 2 * n : n;
      break;
    default: warn(*s, std::string("option ") + arg + " ignored"); break;
  }
}

Settings readCommandLine(int argc, char **argv) {
  Settings s;
  std::vector<std::string> words;
  bool options = true;
  for (int i = 1; i < argc; i++) {
    if (options && strcmp(argv[i], "--") == 0) {
      options = false;
    } else if (options && strcmp(argv[i], "--help") == 0) {
      printHelp();
      quit(0, "");
    } else if (options && argv[i][0] == '-' && argv[i][1] != '\0') {
      readOption(argv[i], &s);
    } else {
      words.push_back(argv[i]);
    }
  }
  if (words.empty()) quit(EXIT_USAGE, "no siteswap given (kovex --help shows the usage)");
  s.siteswap = words[0];
  if (words.size() > 1) s.output = words[1];
  for (size_t i = 2; i < words.size(); i++) warn(s, "argument " + words[i] + " ignored");
  return s;
}

// The lines of an option file: a regular file of at most 1 MiB.
bool readLines(const std::string &path, std::vector<std::string> *lines) {
  return readRegularLines(path.c_str(), *lines, MAX_TEXT_FILE_SIZE);
}

// The header file's lines up to one that begins with '*' (which would end the header).
void loadHeaderFile(Settings *s) {
  std::vector<std::string> lines;
  if (!readLines(s->headerFile, &lines)) quit(EXIT_USAGE, "cannot read the header file " + s->headerFile);
  for (const std::string &line : lines) {
    if (!line.empty() && line[0] == '*') break;
    s->file.headerText += line + "\n";
  }
}

void loadStyleFile(Settings *s) {
  std::vector<std::string> lines;
  if (!readLines(s->styleFile, &lines)) quit(EXIT_USAGE, "cannot read the style file " + s->styleFile);
  for (size_t i = 0; i < lines.size(); i++) {
    std::string where = s->styleFile + " line " + std::to_string(i + 1);
    char throwChar = 0;
    char letters[16] = "";
    char extra = 0;
    const std::string &line = lines[i];
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || strchr("#!%", line[first])) continue;
    int n = sscanf(line.c_str(), " %c %15s %c", &throwChar, letters, &extra);
    int value = siteswapThrowValue((char)tolower((unsigned char)throwChar));
    if (n != 2 || value < 0) quit(EXIT_USAGE, where + ": expected \"<throw> <letters>\"");
    if (strspn(letters, "ABCSabcdfrst") != strlen(letters))
      quit(EXIT_USAGE, where + ": kind-of-throw letters are A B C S a b c d f r s t");
    s->file.styles[value] = letters;
  }
}

// A line of the list: the siteswap, with the throws into it and out of it when it does not
// start from the ground state.
std::string listLine(const Siteswap &p) {
  std::string in, out;
  if (groundTransitions(p, &in, &out) && !in.empty()) return in + " " + p.canonical + " " + out + "\n";
  return p.canonical + "\n";
}

std::string directoryOf(const std::string &path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// Writes one of the files kovex makes; a link at its name is replaced, never written through. A
// failure ends the run with its reason.
void writeOrQuit(const std::string &path, const std::string &text) {
  if (!replaceOwnFileAtomically(path.c_str(), text)) quit(EXIT_WRITE, "cannot write " + path + ": " + strerror(errno));
}

int convert(int argc, char **argv) {
  Settings s = readCommandLine(argc, argv);
  if (!s.headerFile.empty()) loadHeaderFile(&s);
  if (!s.styleFile.empty()) loadStyleFile(&s);
  std::vector<std::string> texts = splitSiteswaps(s.siteswap);
  if (texts.empty()) quit(EXIT_NOT_JUGGLEABLE, "the siteswap is empty");
  std::vector<Siteswap> siteswaps(texts.size());
  std::string error;
  for (size_t i = 0; i < texts.size(); i++) {
    if (!readSiteswap(texts[i], s.hands, s.mirrored, &siteswaps[i], &error)) quit(EXIT_NOT_JUGGLEABLE, texts[i] + ": " + error);
    if (listLine(siteswaps[i]).size() > MAX_LIST_LINE) quit(EXIT_NOT_JUGGLEABLE, texts[i] + ": too long for the list");
  }
  PatternBody body;
  if (!layOutBody(siteswaps[0], s.file, &body, &error)) quit(EXIT_NOT_JUGGLEABLE, texts[0] + ": " + error);
  if (texts.size() > 1) {
    std::string list;
    for (const Siteswap &p : siteswaps) list += listLine(p);
    writeOrQuit(directoryOf(s.output) + "q2.out", list);
  }
  writeOrQuit(s.output, patternFileText(siteswaps[0], s.file, body));
  if (!s.quiet)
    printf("kovex: %s: %d object(s), %d juggler(s), %zu beats -> %s\n", siteswaps[0].text.c_str(),
           siteswaps[0].objects, siteswaps[0].jugglers, body.rows.size(), s.output.c_str());
  return 0;
}

}  // namespace

int kovexMain(int argc, char **argv) {
  try {
    return convert(argc, argv);
  } catch (const Quit &q) {
    return q.code;
  }
}
