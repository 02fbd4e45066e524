// Preferences: defaults, the file "quoit.prefsV9" and single "key=value" lines. Keys are known by
// a few letters at fixed positions; a letter is only read inside the key, before its '='.
#include "core/prefs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "core/runstate.h"
#include "core/uistate.h"

static void keepCatalogue(const char *) {}
void (*patternDirectoryChanged)(const char *directory) = keepCatalogue;

QuoitPrefs qPrefs;

static const char PREFS_FILE[] = "quoit.prefsV9";

// The letters of a key; past its end every position reads as '\0'.
struct Key {
  const char *text;
  size_t length;
  char operator[](size_t i) const { return i < length ? text[i] : '\0'; }
};

static bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

static const char *valueStart(const char *line) {
  const char *eq = strchr(line, '=');
  return eq ? eq + 1 : nullptr;
}

// The "%d" directly after '='; the field keeps its value when there is none.
static bool readInt(const char *line, int &field) {
  const char *value = valueStart(line);
  if (!value) return false;
  char *end = nullptr;
  long n = strtol(value, &end, 10);
  if (end == value) return false;
  field = int(n);
  return true;
}

int prefIntValue(const char *line) {
  int value = 0;
  readInt(line, value);
  return value;
}

const char *prefWordValue(const char *line, std::string &out) {
  out.clear();
  const char *p = valueStart(line);
  if (!p) return line + strlen(line);
  while (isWhite(*p)) p++;
  const char *start = p;
  while (*p && !isWhite(*p)) p++;
  out.assign(start, p);
  return p;
}

void prefRestOfLine(const char *line, std::string &out) {
  out.clear();
  const char *p = valueStart(line);
  if (!p) return;
  while (isWhite(*p)) p++;
  out = p;
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
}

static bool readFraction(const char *line, double &field) {
  std::string word;
  prefWordValue(line, word);
  char *end = nullptr;
  double value = strtod(word.c_str(), &end);
  if (end == word.c_str()) return false;
  field = value;
  return true;
}

static std::string wordValue(const char *line) {
  std::string word;
  prefWordValue(line, word);
  return word;
}

static std::string pathValue(const char *line) { return backslashToSlash(wordValue(line)); }

static int noUnlessN(const char *line) { return wordValue(line).find_first_of("nN") == std::string::npos ? 1 : 0; }

static void setFlag(int &word, int flag, bool on) { word = on ? word | flag : word & ~flag; }

static void scanAnimation(const char *line) {
  if (qPrefs.version == 5) {
    readInt(line, qPrefs.animationFlags);
    return;
  }
  std::string word = wordValue(line);
  if (word == "GIF") qPrefs.animationFlags |= 4;
  if (word == "FLI") qPrefs.animationFlags |= 8;
}

static void scanBackground(const char *line) {
  std::string word = pathValue(line);
  if (word.empty()) return;
  if (word == "off") {
    qPrefs.backgroundFlag = 1;
    return;
  }
  if (word.back() != '/') word += '/';
  qPrefs.bgdir = word;
  qPrefs.backgroundFlag = 0;
}

static void scanCurrent(const char *line) {
  static const char letters[] = "as2rex";
  std::string word = wordValue(line);
  if (word.size() < 2) return;
  const char *found = strchr(letters, word[1]);
  if (found) qPrefs.current = int(found - letters);
}

static void scanHwmode(const char *line) {
  std::string word = wordValue(line);
  if (word.empty()) return;
  if (word[0] == 'o') {
    qPrefs.displayFlags = 0;
    qUnsetenv("MESA_GLX_FX");
  } else if (word[0] == 'v') {
    qPrefs.displayFlags = 9;
    qPutenv("MESA_GLX_FX=fullscreen");
    qPutenv("FX_GLIDE_SWAPINTERVAL=0");
    qPutenv("FX_GLIDE_NO_SPLASH=1");
  }
}

static void scanLanguage(const char *line) {
  int index = languageIndex(wordValue(line).c_str());
  if (index >= 0) qPrefs.language = index;
}

static void scanMaxfps(const char *line) {
  int n = prefIntValue(line);
  if (n > 0) qPrefs.minFrameMs = 1000 / n;
  qMsg(0, "min_ms=%d\n", qPrefs.minFrameMs);
}

static void scanMultihand(const char *line) {
  int n = prefIntValue(line);
  qPrefs.multihand = (n % 2 != 0 || n < 0 || n > 10) ? 2 : n;
}

static void scanObjects(const char *line) {
  objectCountOption = prefIntValue(line);
  objectOptionKind = objectCountOption == -1 ? 0 : 1;
}

static void scanPovout(const char *line) {
  std::string word;
  const char *rest = prefWordValue(line, word);
  qPrefs.povout = backslashToSlash(word);
  qPrefs.povShortNames = strncmp(skipSpace(rest), "8.3", 3) == 0 ? 1 : 0;
}

// width=W, the height after the first '*', 'x' or 'X', then an optional 'f' for full screen.
static void scanWindow(const char *line) {
  const char *value = valueStart(line);
  readInt(line, qPrefs.width);
  const char *times = strpbrk(value, "*xX");
  if (!times) return;
  char *end = nullptr;
  long height = strtol(times + 1, &end, 10);
  if (end == times + 1) return;
  qPrefs.height = int(height);
  if (strpbrk(end, "fF")) qMode.flags |= 0x4000000;
}

static void scanTemp(const char *line) {
  std::string word = pathValue(line);
  if (!word.empty()) qPrefs.temp = word;
}

static void scanKeyA(const Key &k, const char *line) {
  if (k[1] == 'b') readInt(line, qPrefs.abitrate);
  else if (k[1] == 'n') scanAnimation(line);
  else if (k[1] == 's') readInt(line, qPrefs.asize);
}

static void scanKeyD(const Key &k, const char *line) {
  int n = 0;
  if (k[2] == 'l' && readInt(line, n)) setFlag(qPrefs.animationFlags, 1, n != 0);
  else if (k[2] == 'n') readInt(line, qPrefs.donotcheck);
  else if (k[2] == 't') readInt(line, qPrefs.detail);
  else if (k[2] == 'u') qPrefs.language = 0;
}

static void scanKeyF(const Key &k, const char *line) {
  if (k[1] == 'o') {
    if (readInt(line, qPrefs.fontsize) && qPrefs.fontsize > 14) qPrefs.textFont = 2;
  } else if (k[1] == 'p') {
    readInt(line, qPrefs.fps);
  } else if (k[1] == 'q') {
    qPrefs.catalogueSort = wordValue(line) == "num" ? 1 : 2;
  } else if (k[1] == 'r' && k[3] == '_') {
    readFraction(line, qPrefs.fre_ratio);
  } else if (k[1] == 'r' && k[3] == 'q') {
    int n = 0;
    if (readInt(line, n)) qPrefs.freq = n;
  }
}

static void scanKeyH(const Key &k, const char *line) {
  if (k[1] == 'a') qPrefs.hardcopy = pathValue(line);
  else if (k[1] == 'e') readInt(line, qPrefs.height);
  else if (k[1] == 'o') readInt(line, qPrefs.hold);
  else if (k[1] == 'w') scanHwmode(line);
}

static void scanKeyQ(const Key &k, const char *line) {
  if (k[1] == '2' && k[3] == 'a') readInt(line, qPrefs.q2_at);
  else if (k[1] == '2' && k[3] == 'p') readInt(line, qPrefs.q2_persons);
  else if (k[1] == 'r') remoteState = prefIntValue(line) > 0 ? 1 : 2;
}

static void scanKeyJ(const Key &k, const char *line) {
  if (k[1] != 'u') return;
  if (k[5] == 'e') {
    qPrefs.jugglerlist = noUnlessN(line);
  } else if (k[5] == 'i') {
    std::string rest;
    prefRestOfLine(line, rest);
    currentPatternFile = typedFileName(rest);
  }
}

static void scanKeyM(const Key &k, const char *line) {
  if (k[1] == 'a') scanMaxfps(line);
  else if (k[1] == 'o') readFraction(line, qPrefs.mousespeed);
  else if (k[1] == 'u') scanMultihand(line);
}

static void scanKeyP(const Key &k, const char *line) {
  if (k[1] == 'a') {
    std::string rest;
    prefRestOfLine(line, rest);
    qPrefs.patterndir = backslashToSlash(rest);
  } else if (k[1] == 'o') {
    scanPovout(line);
  }
}

static void scanKeyS(const Key &k, const char *line) {
  if (k[1] == 'c') {
    readInt(line, qPrefs.scflag);
  } else if (k[1] == 'h') {
    if (k[5] == 'b') readInt(line, qPrefs.show_bcmd);
    else if (k[5] == 'n') readInt(line, qPrefs.sh_kind);
    else if (k[5] == 's') readInt(line, qPrefs.show_scmd);
  } else if (k[1] == 'i') {
    qPrefs.siteswapdir = pathValue(line);
  } else if (k[1] == 's') {
    if (k[3] == 'h') qPrefs.ss_hfile = pathValue(line);
    else if (k[3] == 'o') readInt(line, qPrefs.ss_opt);
    else if (k[3] == 's') qPrefs.ss_sfile = pathValue(line);
  } else if (k[1] == 'y') {
    readInt(line, qPrefs.sym);
  }
}

// 't' keys: [1] 'h', [1] 'i', else the "tr" keys by [6], and then every key by [2].
static void scanKeyT(const Key &k, const char *line) {
  if (k[1] == 'h') {
    readInt(line, qPrefs.thlist);
    return;
  }
  if (k[1] == 'i') {
    readFraction(line, qPrefs.timefactor);
    return;
  }
  if (k[1] == 'r') {
    if (k[6] == 'g') readInt(line, qPrefs.trans_g);
    else if (k[6] == 'i') qPrefs.trans_in = wordValue(line);
    else if (k[6] == 'o') qPrefs.trans_out = wordValue(line);
    else if (k[6] == 's') readInt(line, qPrefs.trans_s);
  }
  int n = 0;
  if (k[2] == 'm' || k[2] == 'p') scanTemp(line);
  else if (k[2] == 'x' && readInt(line, n)) setFlag(qPrefs.displayFlags, 8, n != 0);
}

static void scanKey(const Key &k, const char *line) {
  switch (k[0]) {
    case 'I': qPrefs.intensity = wordValue(line); break;
    case 'a': scanKeyA(k, line); break;
    case 'b':
      if (k[1] == 'a' || k[1] == 'g') scanBackground(line);
      else if (k[1] == 'o') readInt(line, qPrefs.bophase);
      break;
    case 'c':
      if (k[1] == 'l') qPrefs.clflag = noUnlessN(line);
      else if (k[1] == 'u') scanCurrent(line);
      break;
    case 'd': scanKeyD(k, line); break;
    case 'f': scanKeyF(k, line); break;
    case 'g': qPrefs.ground = wordValue(line); break;
    case 'h': scanKeyH(k, line); break;
    case 'i': readInt(line, qPrefs.iflag); break;
    case 'q': scanKeyQ(k, line); break;
    case 'j': scanKeyJ(k, line); break;
    case 'l': scanLanguage(line); break;
    case 'm': scanKeyM(k, line); break;
    case 'n':
      if (k[1] == 'o') readInt(line, qPrefs.notcl);
      else if (k[1] == 'u') readInt(line, qPrefs.numbers);
      break;
    case 'o': scanObjects(line); break;
    case 'p': scanKeyP(k, line); break;
    case 'r': readInt(line, qPrefs.randomcolor); break;
    case 's': scanKeyS(k, line); break;
    case 't': scanKeyT(k, line); break;
    case 'u':
      if (k[1] == 'n' || k[1] == 's') qPrefs.uname = wordValue(line);
      break;
    case 'v': readInt(line, qPrefs.vrml); break;
    case 'w':
      if (k[2] == 'd') readInt(line, qPrefs.width);
      else if (k[2] == 'n') scanWindow(line);
      break;
  }
}

// "deutsch" takes no value, so its line needs no '='.
static bool takesNoValue(const Key &k) { return k[0] == 'd' && k[2] == 'u'; }

int scanPreferenceLine(const char *line) {
  if (!line || line[0] == '!') return 0;
  const char *eq = strchr(line, '=');
  Key k = {line, eq ? size_t(eq - line) : strlen(line)};
  if (k[0] == 'e') {  // "english", and any key that begins with 'e'
    qPrefs.language = 1;
    return 0;
  }
  if (eq || takesNoValue(k)) scanKey(k, line);
  return 0;
}

// Lines read from the preferences file so far, for the message on a line that is too long.
static int prefsLineNumber;

int readPrefsLine(std::string &buffer, FILE *file) {
  buffer.clear();
  int c;
  while ((c = fgetc(file)) != EOF && c != '\n') buffer += char(c);
  if (c == EOF && buffer.empty()) return 0;
  if (!buffer.empty() && buffer.back() == '\r') buffer.pop_back();
  prefsLineNumber++;
  if (buffer.size() > PREFS_LINE_LIMIT) {
    printf("preferences line longer than %d characters ignored: %.40s...\n", PREFS_LINE_LIMIT, buffer.c_str());
    fflush(stdout);
    buffer.clear();
    return 2;
  }
  return 1;
}

static void say(const char *text) {
  fputs(text, stdout);
  fflush(stdout);
}

// The first line that is no comment; 5 or 9 for the two headers, 0 for anything else. A UTF-8
// byte-order mark at the start of the file is no text.
static int readHeader(FILE *file) {
  std::string line;
  char mark[3];
  if (fread(mark, 1, sizeof mark, file) != sizeof mark || memcmp(mark, "\xEF\xBB\xBF", sizeof mark) != 0) rewind(file);
  while (readPrefsLine(line, file)) {
    if (!line.empty() && line[0] == '!') continue;
    if (line.compare(0, 12, "QuoitPrefsV9") == 0) return 9;
    if (line.compare(0, 12, "QuoitPrefsV5") == 0) return 5;
    return 0;
  }
  return 0;
}

void enterHomeDirectory() {
  const char *home = qGetenv("QUOIT");
  if (!fileExists("quoit.prefs") && !fileExists(PREFS_FILE) && home) qChdir(home);
  qPrefs.homeDirectory = qGetcwd();
}

void readPreferences(int again) {
  std::string cwd = qGetcwd();
  if (again == 0) {
    qPrefs = QuoitPrefs();
    qUnsetenv("MESA_GLX_FX");
  }
  qPrefs.homeDirectory = cwd;
  FILE *file = openRegularFile(PREFS_FILE);
  prefsLineNumber = 0;
  if (!file) {
    printf("file '%s' doesn't exist\nassuming default values\n", PREFS_FILE);
    fflush(stdout);
    return;
  }
  int version = readHeader(file);
  if (version == 0) {
    say("neither QuoitPrefsV5 nor QuoitPrefsV9 found\n");
    fclose(file);
    return;
  }
  qPrefs.version = version;
  std::string line;
  while (int got = readPrefsLine(line, file)) {
    if (got == 2)
      qMsg(QMSG_ERROR, localText(233), prefsLineNumber, PREFS_FILE, int(PREFS_LINE_LIMIT));
    else
      scanPreferenceLine(line.c_str());
  }
  fclose(file);
  if (qPrefs.vrml == 0) qPrefs.displayFlags &= ~8;
  if (qPrefs.patterndir != qPrefs.lastCatalogueDirectory) {
    qPrefs.lastCatalogueDirectory = qPrefs.patterndir;
    patternDirectoryChanged(qPrefs.patterndir.c_str());
  }
}

static bool holdsLineEnd(const std::string &text) { return text.find_first_of("\r\n") != std::string::npos; }

// A text for a one-line message: its line ends written as \n and \r.
static std::string visibleLineEnds(const std::string &text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

// The key of a preferences line without the blanks around it; empty for a comment or a line
// without '='.
static std::string lineKey(const std::string &line) {
  size_t eq = line.find('=');
  if (line.empty() || line[0] == '!' || eq == std::string::npos) return "";
  size_t start = line.find_first_not_of(" \t");
  size_t end = line.find_last_not_of(" \t", eq - 1);
  return start < eq && end != std::string::npos ? line.substr(start, end - start + 1) : "";
}

int writePreferenceSettings(const std::vector<std::pair<std::string, std::string>> &settings) {
  for (const auto &setting : settings) {
    if (holdsLineEnd(setting.first) || holdsLineEnd(setting.second)) {
      qMsg(QMSG_ERROR, localText(244), visibleLineEnds(setting.first + "=" + setting.second).c_str());
      return PREFS_REFUSED;
    }
  }
  std::vector<std::string> lines;
  if (!readRegularLines(PREFS_FILE, lines, MAX_TEXT_FILE_SIZE) && errno != ENOENT) {
    qMsg(QMSG_ERROR, localText(33), PREFS_FILE, fileErrorReason(errno));
    return PREFS_NOT_WRITTEN;
  }
  // A line the reader would drop is not written: it would be lost and reported at every start.
  int lineNumber = int(lines.size());
  for (const auto &setting : settings) {
    lineNumber++;
    if (setting.first.size() + 1 + setting.second.size() > PREFS_LINE_LIMIT) {
      qMsg(QMSG_ERROR, localText(233), lineNumber, PREFS_FILE, int(PREFS_LINE_LIMIT));
      return PREFS_REFUSED;
    }
  }
  std::string text;
  bool header = false;
  for (const std::string &line : lines) header = header || line.compare(0, 10, "QuoitPrefs") == 0;
  if (!header) text = "QuoitPrefsV9\n";
  for (const std::string &line : lines) {
    std::string key = lineKey(line);
    bool replaced = false;
    for (const auto &setting : settings) replaced = replaced || (!key.empty() && setting.first == key);
    if (!replaced) text += line + "\n";
  }
  for (const auto &setting : settings) text += setting.first + "=" + setting.second + "\n";
  if (!writeFileAtomically(PREFS_FILE, text)) {
    qMsg(QMSG_ERROR, localText(34), PREFS_FILE, fileErrorReason(errno));
    return PREFS_NOT_WRITTEN;
  }
  return PREFS_WRITTEN;
}
