// patconv: rewrites a pattern file into its Boston-Mess form. Every (object, hand) pair of the
// body gets a hand macro of its own, placed so that each object keeps a lateral column of its own;
// the phase picks the order of the columns, the orientation mirrors the second or third juggler.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/userfiles.h"
#include "patconv/patconv.h"

namespace {

const char *const VERSION = "V0.54";
const int MAX_OBJECTS = 100;  // the object table; a pattern may hold at most 99 objects
const int MAX_MACROS = 62;    // 'A'-'Z', 'a'-'z', '0'-'9'
const size_t MAX_NAME = 190;  // the output name gets "_Patconv" appended within 200 characters

struct Macro {
  int obj;
  int hand;
  char letter;
};

char filename[200];
long long phase = 0;
unsigned char orientation = 1;
int N = 0;
int nop = 0;
char object[MAX_OBJECTS];
Macro mymacro[MAX_MACROS];
int anz_macros = 0;

std::vector<std::string> lines;  // the input file, line ends removed
size_t starLine = 0;             // index of the line that ends the header
size_t bodyEnd = 0;              // first line after the body
std::string headerMacroLetters;  // letters of the hand macros the header already defines
std::string macroLetters;        // letters free for new macros, in the order they are handed out
std::string output;               // the converted file, written whole at the end

// The end of a run before its last step: patconvMain returns the code.
struct Exit {
  int code;
};

// Ends the run with a message; nothing is written.
[[noreturn]] void fail(int code, const char *format, ...) {
  va_list args;
  va_start(args, format);
  vprintf(format, args);
  va_end(args);
  fflush(stdout);
  throw Exit{code};
}

void emit(const char *format, ...) __attribute__((format(printf, 1, 2)));
void emit(const char *format, ...) {
  va_list args;
  va_start(args, format);
  char buffer[256];
  va_list again;
  va_copy(again, args);
  int n = vsnprintf(buffer, sizeof buffer, format, args);
  if (n >= 0 && size_t(n) < sizeof buffer) {
    output.append(buffer, size_t(n));
  } else if (n >= 0) {
    std::string text(size_t(n) + 1, '\0');
    vsnprintf(text.data(), text.size(), format, again);
    output.append(text.data(), size_t(n));
  }
  va_end(again);
  va_end(args);
}

void usage(const char *program) {
  printf("usage: %s filename [phase [orientation]]\n\n", program);
  printf("The number of Objects N_o and the number of jugglers N_j (N_j<=3) is taken from the the "
         "file \"filename\".\n\n");
  printf("filename: valid QUOIT pattern file\n");
  printf("phase: chose one of the N_o! (faculty) possibilities for Boston-Mess\n");
  printf("       with 0 <= phase < N_o!\n");
  printf("       standard value: phase=0\n");
  printf("orientation: specifies the orientation of the second/third juggler\n");
  printf("             with respect to juggler nr.1\n");
  printf("             allowed values: 0 <= orientation < 2^(N_j-1)\n");
  printf("             examples:\n");
  printf("                0 : all jugglers look into the same direction\n");
  printf("                1 : second juggler looks into the opposite direction (default)\n");
  printf("                2 : third juggler looks into the opposite direction\n");
  printf("                3 : second and third juggler look into the opposite direction\n\n");
  printf("patconv %s\n", VERSION);
}

bool readNumber(const char *text, long long *value) {
  errno = 0;
  char *end = nullptr;
  *value = strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0';
}

void HandleOptions(int argc, char **argv) {
  if (argc < 2) {
    usage(argv[0]);
    throw Exit{10};
  }
  long long orient = 1;
  if ((argc > 2 && !readNumber(argv[2], &phase)) || (argc > 3 && !readNumber(argv[3], &orient))) {
    usage(argv[0]);
    throw Exit{10};
  }
  orientation = (unsigned char)(orient & 0xff);
  if (strlen(argv[1]) > MAX_NAME) fail(2, "Error: file name longer than %zu characters!\n", MAX_NAME);
  snprintf(filename, sizeof filename, "%s", argv[1]);
  struct stat status;
  if (lstat(filename, &status) == 0) return;  // a name that exists keeps its '\'
  for (char *p = filename; *p; p++)
    if (*p == '\\') *p = '/';
}

// Reads the whole input, a regular file of at most 1 MiB; a line end is LF or CR LF, a last
// line without one is a line too.
bool readInput() { return readRegularLines(filename, lines, MAX_TEXT_FILE_SIZE); }

// The converted file is patconv's own: a link at its name is replaced, never written through.
void finishOutput() {
  std::string target = std::string(filename) + "_Patconv";
  if (!replaceOwnFileAtomically(target.c_str(), output)) fail(3, "Error: could not create file!\n");
}

// Every run starts from the same state, also when several run in one process.
void resetState() {
  filename[0] = '\0';
  phase = 0;
  orientation = 1;
  N = nop = anz_macros = 0;
  lines.clear();
  starLine = bodyEnd = 0;
  headerMacroLetters.clear();
  macroLetters.clear();
  output.clear();
}

bool isOneOf(char c, const char *set) { return c != '\0' && strchr(set, c) != nullptr; }

bool isBlankLine(const std::string &line) {
  return line.find_first_not_of(" \t\r\n\v\f") == std::string::npos;
}

// Collects the hand-macro letters of the header: an '@' takes the next character, '!' and '%'
// comment out the rest of their line.
void findHeaderMacros() {
  for (size_t i = 0; i < starLine; i++) {
    const std::string &line = lines[i];
    for (size_t k = 0; k < line.size(); k++) {
      if (line[k] == '!' || line[k] == '%') break;
      if (line[k] == '@') {
        if (k + 1 < line.size()) headerMacroLetters += line[k + 1];
        break;
      }
    }
  }
}

// Walks one body line and calls onObject for every object character outside groups, with its
// position and the hand it stands in. Returns the number of hands of the line.
int scanBodyLine(const std::string &line, const std::function<void(size_t, int)> &onObject) {
  int hand = 0;
  int depth = 0;
  for (size_t i = 0; i < line.size(); i++) {
    char c = line[i];
    if (c == '&') fail(1, "Error: multiplex not allowed in Boston-Mess!\n");
    if (c == '@') fail(6, "Error: pattern contains already handmacros!\n");
    if (isOneOf(c, "([{<")) {
      depth++;
      continue;
    }
    if (isOneOf(c, ")]}>")) {
      if (depth > 0) depth--;
      continue;
    }
    if (depth > 0 || isOneOf(c, " \t\r\n/\\")) continue;
    if (c == '!' || c == '%' || c == '*') break;  // inline comment or end of the line
    if (c == '-') {
      hand++;
      continue;
    }
    if (headerMacroLetters.find(c) != std::string::npos)
      fail(6, "Error: pattern contains already handmacros!\n");
    onObject(i, hand);
    hand++;
  }
  return hand;
}

int objectNumber(char c) {
  for (int i = 0; i < N; i++)
    if (object[i] == c) return i + 1;
  return 0;
}

// The macro letters: 'A'-'Z', 'a'-'z', '0'-'9', leaving out the object characters and the
// letters of macros the header already has.
void chooseMacroLetters() {
  const char *all = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  for (const char *p = all; *p; p++)
    if (!objectNumber(*p) && headerMacroLetters.find(*p) == std::string::npos) macroLetters += *p;
}

// Macro k takes the k-th free letter. When none is left, the message counts the letters in use
// (the new macros and the letters objects and header macros already take) against all 62.
char getallowedchar(int k) {
  if (k >= (int)macroLetters.size()) {
    int taken = MAX_MACROS - (int)macroLetters.size();
    fail(5,
         "Error: number of handmacros too large: %d>=%d (%d of the letters A-Z, a-z, 0-9 are objects or "
         "macros of the header)\n",
         k + taken, MAX_MACROS, taken);
  }
  return macroLetters[k];
}

char gethandmacro(int obj, int hand) {
  for (int i = 0; i < anz_macros; i++)
    if (mymacro[i].obj == obj && mymacro[i].hand == hand) return mymacro[i].letter;
  char letter = getallowedchar(anz_macros);
  mymacro[anz_macros] = {obj, hand, letter};
  printf("new handmacro: Nr:%d; letter:-%c-\n", anz_macros, letter);
  anz_macros++;
  return letter;
}

void preparse() {
  anz_macros = 0;
  while (starLine < lines.size() && lines[starLine].compare(0, 1, "*") != 0) starLine++;
  if (starLine == lines.size()) fail(4, "Error: could not find \"*\" in pattern file!");
  bodyEnd = starLine + 1;
  while (bodyEnd < lines.size() && lines[bodyEnd].compare(0, 1, "*") != 0 &&
         !isBlankLine(lines[bodyEnd]))
    bodyEnd++;
  findHeaderMacros();
  int hands = 0;
  for (size_t i = starLine + 1; i < bodyEnd; i++)
    hands = scanBodyLine(lines[i], [&](size_t pos, int) {
      char c = lines[i][pos];
      if (objectNumber(c)) return;
      if (N + 1 >= MAX_OBJECTS) fail(6, "Error: too many objects: %d>=%d\n", N + 1, MAX_OBJECTS);
      object[N++] = c;
    });
  chooseMacroLetters();
  for (size_t i = starLine + 1; i < bodyEnd; i++)
    scanBodyLine(lines[i], [&](size_t pos, int hand) { gethandmacro(objectNumber(lines[i][pos]), hand); });
  nop = (hands - 1) / 2 + 1;
  printf("\npattern-info: N=%d; nop=%d;\n\n", N, nop);
}

// Position k (1-based) of the column order chosen by the phase: the phase, taken modulo N!, in
// factorial base picks the swaps. Floor division keeps a negative phase in range, and no
// factorial is ever formed.
int perm(int k) {
  int a[MAX_OBJECTS + 1] = {};
  for (int i = 1; i <= N; i++) a[i] = i;
  long long q = phase;
  for (int i = 2; i <= N; i++) {
    long long digit = q % i;
    q /= i;
    if (digit < 0) {
      digit += i;
      q -= 1;
    }
    int j = i - (int)digit;
    int t = a[j];
    a[j] = a[i];
    a[i] = t;
  }
  return a[k];
}

int get_bit(unsigned char value, int bit) {
  if (bit < 0 || bit > 7) return 0;
  return (value >> bit) & 1;
}

double sqr(double v) { return v * v; }

void writeMacro(const Macro &m) {
  int c = 2 * perm(m.obj) - N - 1;
  if (get_bit(orientation, m.hand / 2 - 1)) c = -c;
  double x = N == 1 ? 0.0 : 0.42 * c / (N - 1);
  double y = -0.1 * sqr(x / 0.42) + 0.0;  // + 0.0 turns -0 into 0
  emit("@%c rel p %.4f %.4f 1\n", m.letter, y, x);
}

void writeHeader() {
  size_t first = 0;
  if (starLine > 0 && lines[0].compare(0, 1, "!") == 0) {
    emit("%s & patconv %s\n", lines[0].c_str(), VERSION);
    first = 1;
  } else {
    emit("! Boston-Mess converted with patconv %s\n", VERSION);
  }
  for (size_t i = first; i < starLine; i++) emit("%s\n", lines[i].c_str());
  emit("\n");
  for (int i = 0; i < anz_macros; i++) writeMacro(mymacro[i]);
  emit("\n*\n");
}

std::string convertLine(const std::string &line) {
  printf("<%s> -%c-\n", line.c_str(), line.empty() ? ' ' : line[0]);
  std::string result;
  size_t copied = 0;
  scanBodyLine(line, [&](size_t pos, int hand) {
    char c = line[pos];
    int obj = objectNumber(c);
    if (!obj) fail(7, "should not happen: objct not saved!...\n");
    char letter = gethandmacro(obj, hand);
    printf("-%c-\n", c);
    printf("buff[i]: -%c- \t index: %zu\t obj: %d\t hand: %d\n", c, pos, obj, hand);
    printf("character: -%d=%c-\n", letter, letter);
    result.append(line, copied, pos - copied);
    result += letter;
    copied = pos;
  });
  result.append(line, copied, std::string::npos);
  return result;
}

void writeBody() {
  for (size_t i = starLine + 1; i < bodyEnd; i++) emit("%s\n", convertLine(lines[i]).c_str());
  for (size_t i = bodyEnd; i < lines.size(); i++) emit("%s\n", lines[i].c_str());
}

int convert(int argc, char **argv) {
  resetState();
  HandleOptions(argc, argv);
  if (!readInput()) fail(2, "Error: could not open file!\n");
  if (!canWriteBeside((std::string(filename) + "_Patconv").c_str())) fail(3, "Error: could not create file!\n");
  preparse();
  writeHeader();
  writeBody();
  finishOutput();
  return 0;
}

}  // namespace

int patconvMain(int argc, char **argv) {
  try {
    return convert(argc, argv);
  } catch (const Exit &e) {
    return e.code;
  }
}
