// Pattern file reader: pre-scan, header, body, wrap lines and inline comments.
#include "pattern/reader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/Tcl.h"
#include "core/uistate.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "core/viewrecords.h"
#include "pattern/dumps.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "pattern/modeltable.h"
#include "pattern/scenecalls.h"
#include "pattern/testseam.h"

static const double DEGREES = 57.29577951;
static const double MAX_COORDINATE = 32.767;  // metres that fit 16-bit millimetres
static const double MAX_ANGLE = 36000.0;      // degrees

// The pattern text the stream reads from (line ends made LF, a last line end added), and where the
// header's '*' and the body stand in it.
static std::string patternText;
static long headerStar;
static long bodyStart;

// A line of text as a C string for the messages, without its line end.
static std::string lineAt(const std::string &text, size_t pos) {
  size_t end = text.find('\n', pos);
  return text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
}

static std::string withoutNewline(const char *text) {
  std::string s = text;
  if (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

static bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

int macroIndex(char c) {
  const char *p = c ? strchr(Handmakrobuchstaben, c) : nullptr;
  return p ? int(p - Handmakrobuchstaben) : -1;
}

// The bracket that closes a group, 0 for no group.
static char closingBracket(char c) {
  switch (c) {
    case '(': return ')';
    case '<': return '>';
    case '[': return ']';
    case '{': return '}';
    default: return 0;
  }
}

CellToken cellToken(const char *text, size_t size, size_t pos) {
  char c = text[pos];
  if (c == '&') return {CELL_AMPERSAND, c, pos};
  if (c == '/' || c == '\\') return {CELL_BOUNCE, c, pos};
  if (char close = closingBracket(c)) {
    for (size_t i = pos + 1; i < size; i++)
      if (text[i] == close) return {CELL_GROUP, c, i};
    return {CELL_UNCLOSED_GROUP, c, size - 1};
  }
  return {CELL_CHARACTER, c, pos};
}

// Splits a body line into cells. Every reader of body lines goes through here, so the pre-scan and
// the body reader agree on columns, letters, virtual hands and bounce counts.
int scanBodyLine(const std::string &line, BodyLine &out) {
  out.cells.clear();
  out.comment = std::string::npos;
  size_t size = std::min(line.find('\n'), line.size());
  size_t column = 0;
  int bounce = 0, macro = -1;
  for (size_t i = 0; i < size; i++) {
    CellToken token = cellToken(line.data(), size, i);
    char c = token.c;
    if (c == '*') break;
    if (isBlank(c)) continue;
    if (c == '!' || c == '%') {
      out.comment = i;
      break;
    }
    if (token.kind == CELL_AMPERSAND) {
      if (column == 0) return BODY_AMPERSAND_FIRST;
      column--;
      BodyCell &cell = out.cells[column];
      cell.text += '&';
      cell.ampersands++;
      bounce = 0;
      macro = -1;
      continue;
    }
    if (out.cells.size() <= column) out.cells.resize(column + 1, BodyCell{"", {}, 0});
    BodyCell &cell = out.cells[column];
    if (token.kind == CELL_UNCLOSED_GROUP) return BODY_UNCLOSED_GROUP;
    if (token.kind == CELL_GROUP) {
      if (c == '(') cell.text += line.substr(i, token.end - i + 1);
      i = token.end;
    } else if (token.kind == CELL_BOUNCE) {
      bounce += c == '/' ? 1 : -1;
      cell.text += c;
    } else if (c == '-') {
      cell.text += c;
      column++;
      bounce = 0;
      macro = -1;
    } else if (macroIndex(c) >= 0) {
      cell.text += c;
      macro = macroIndex(c);
    } else {
      cell.text += c;
      cell.entries.push_back({c, cell.ampersands, macro, bounce});
      column++;
      bounce = 0;
      macro = -1;
    }
  }
  return 0;
}

static void bodyLineMessage(int error, int takt) {
  patternMessage(QMSG_ERROR, error == BODY_UNCLOSED_GROUP ? 770 : 774, takt + 1);
}

int Objekt_Nummer(char letter) {
  if (letter == '-') return objekte;
  for (int i = 0; i < objekte; i++)
    if (Objektbuchstaben[i] == letter) return i;
  return -1;
}

// Adds the new object letters of one body line and their segment estimates; the count, or
// LOO_MAX_OBJECTS when the line would bring more than MAX_OBJECTS objects.
int ObjekteSuchen(const char *line, int count) {
  BodyLine body;
  if (scanBodyLine(line, body)) return count;
  for (const BodyCell &cell : body.cells)
    for (const BodyEntry &e : cell.entries) {
      int o = 0;
      while (o < count && Objektbuchstaben[o] != e.letter) o++;
      if (o == count) {
        if (count >= MAX_OBJECTS) return LOO_MAX_OBJECTS;
        Objektbuchstaben[count++] = e.letter;
        Objektbuchstaben[count] = '\0';
        segmentEstimate[o] = 0;
      }
      segmentEstimate[o] += 2 + std::abs(e.bounce);
    }
  return count;
}

// A leading UTF-8 byte-order mark goes, CR LF becomes LF, NUL a blank, and the last line gets
// its line end.
static void normaliseText(std::string &text) {
  std::string out;
  out.reserve(text.size() + 1);
  for (size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; i < text.size(); i++) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i] ? text[i] : ' ';
  }
  if (out.empty() || out.back() != '\n') out += '\n';
  text.swap(out);
}

static size_t nextLine(const std::string &text, size_t pos) {
  size_t end = text.find('\n', pos);
  return end == std::string::npos ? text.size() : end + 1;
}

static bool validMacroLetter(char c) {
  return uint8_t(c) > ' ' && !strchr("-&()<>[]{}/\\!%*", c) && macroIndex(c) < 0;
}

// Finds the header's '*' and the hand macros: '!' and '%' skip their line, '@' names a macro and
// skips its line. 0, or the local text of the failure.
static int scanHeader() {
  size_t pos = 0;
  while (pos < patternText.size()) {
    char c = patternText[pos];
    if (c == '!' || c == '%') {
      pos = nextLine(patternText, pos);
    } else if (c == '@') {
      if (handMacroCount >= MAX_HAND_MACROS) {
        patternMessage(QMSG_ERROR, 720, int(MAX_HAND_MACROS));
        return 720;
      }
      char letter = pos + 1 < patternText.size() ? patternText[pos + 1] : '\0';
      if (!validMacroLetter(letter)) {
        patternMessage(QMSG_ERROR, 740, '@');
        return 740;
      }
      Handmakrobuchstaben[handMacroCount++] = letter;
      Handmakrobuchstaben[handMacroCount] = '\0';
      pos = nextLine(patternText, pos);
    } else if (c == '*') {
      headerStar = long(pos);
      bodyStart = long(nextLine(patternText, pos));
      return 0;
    } else {
      pos++;
    }
  }
  patternMessage(QMSG_ERROR, 768);
  return 768;
}

static bool isBodyEnd(const std::string &line) {
  if (!line.empty() && line[0] == '*') return true;
  return std::all_of(line.begin(), line.end(), [](char c) { return isBlank(c); });
}

// Counts the body's takts, columns, objects and virtual hands and checks the limits before any
// of the store is made. 0, or the local text of the failure.
static int scanBody() {
  size_t pos = size_t(bodyStart);
  BodyLine body;
  while (pos < patternText.size()) {
    std::string line = lineAt(patternText, pos);
    if (isBodyEnd(line)) break;
    qMsg(QMSG_DEBUG, "%s\n", line.c_str());
    if (takte >= MAX_TAKTE) {
      patternMessage(QMSG_ERROR, 776, int(MAX_TAKTE));
      return 776;
    }
    if (int error = scanBodyLine(line, body)) {
      bodyLineMessage(error, takte);
      return 770;
    }
    if (takte == 0) {
      if (body.cells.size() % 2) {
        patternMessage(QMSG_ERROR, 706);
        return 706;
      }
      jugglers = int(body.cells.size() / 2);
      if (jugglers > MAX_JUGGLERS) {
        patternMessage(QMSG_ERROR, 764, jugglers, int(MAX_JUGGLERS));
        return 764;
      }
    }
    objekte = ObjekteSuchen(line.c_str(), objekte);
    if (objekte == LOO_MAX_OBJECTS) {
      patternMessage(QMSG_ERROR, 766, int(MAX_OBJECTS));
      return 766;
    }
    for (size_t c = 0; c < body.cells.size() && c < size_t(2 * jugglers); c++)
      qInternal[c / 2] = std::max(qInternal[c / 2], body.cells[c].ampersands);
    takte++;
    pos = nextLine(patternText, pos);
  }
  if (takte == 0 || jugglers == 0) {
    patternMessage(QMSG_ERROR, 762);
    return 762;
  }
  handCount = 2 * jugglers;
  for (int j = 0; j < jugglers; j++) handCount += 2 * qInternal[j];
  if (handCount > MAX_HANDS) {
    patternMessage(QMSG_ERROR, 765, handCount, int(MAX_HANDS));
    return 765;
  }
  return 0;
}

FILE *Muster_oeffnen(const char *fileName) {
  qMsg(QMSG_DEBUG, " '%s' ", fileName);
  takte = objekte = 0;
  jugglers = handCount = handMacroCount = 0;
  Handmakrobuchstaben[0] = Objektbuchstaben[0] = '\0';
  for (int j = 0; j < MAX_JUGGLERS; j++) qInternal[j] = 0;
  int read = readRegularFile(fileName, patternText, MAX_TEXT_FILE_SIZE);
  if (read == READ_FILE_TOO_LARGE) {
    patternMessage(QMSG_ERROR, 775, fileName, long(MAX_TEXT_FILE_SIZE));
    return nullptr;
  }
  if (read != READ_FILE_OK) {
    patternMessage(QMSG_ERROR, 40, fileName);
    return nullptr;
  }
  normaliseText(patternText);
  if (scanHeader() || scanBody()) {
    takte = objekte = jugglers = handCount = handMacroCount = 0;
    return nullptr;
  }
  return fmemopen(patternText.data(), patternText.size(), "r");
}

// ---------------------------------------------------------------- header

static std::string readRestOfLine(FILE *stream) {
  std::string line;
  int c;
  while ((c = fgetc(stream)) != EOF && c != '\n') line += char(c);
  return line;
}

static void skipWord(FILE *stream, std::string *word) {
  int c;
  while ((c = fgetc(stream)) != EOF && !isspace(c))
    if (word) *word += char(c);
  if (c != EOF) ungetc(c, stream);
}

static bool finiteAll(const double *v, int n) {
  for (int i = 0; i < n; i++)
    if (!std::isfinite(v[i])) return false;
  return true;
}

static bool saneCoordinates(const double *v, int n) {
  for (int i = 0; i < n; i++)
    if (!(std::fabs(v[i]) <= MAX_COORDINATE)) return false;
  return true;
}

static bool saneAngle(double a) { return std::fabs(a) <= MAX_ANGLE; }

static bool readPoint(FILE *stream, double p[3]) {
  return fscanf(stream, "%lf %lf %lf", &p[0], &p[1], &p[2]) == 3 && saneCoordinates(p, 3);
}

// Siteswap text of the pattern: the word in front of the tag word "QuoitSiteSwap", or the words
// after a word containing "site-swap" up to one that begins with u, c or k.
static std::string siteswapFromLine(const std::string &line) {
  size_t tag = line.find("QuoitSiteSwap");
  std::string text;
  if (tag != std::string::npos) {
    size_t end = tag;
    while (end > 0 && isspace(uint8_t(line[end - 1]))) end--;
    size_t start = end;
    while (start > 0 && !isspace(uint8_t(line[start - 1]))) start--;
    if (start > 0) start--;
    return line.substr(start, end - start);
  }
  size_t pos = line.find("site-swap");
  pos = line.find_first_of(" \t", pos);
  bool first = true;
  while (pos != std::string::npos) {
    size_t start = line.find_first_not_of(" \t", pos);
    if (start == std::string::npos) break;
    size_t end = line.find_first_of(" \t", start);
    std::string word = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!first && strchr("uck", word[0])) break;
    text += word + " ";
    first = false;
    pos = end;
  }
  return text;
}

static void findSiteswapTag() {
  Siteswap_Text[0] = '\0';
  for (size_t pos = 0; pos < size_t(headerStar); pos = nextLine(patternText, pos)) {
    std::string line = lineAt(patternText, pos).substr(0, 1000);
    if (line.find("QuoitSiteSwap") == std::string::npos && line.find("site-swap") == std::string::npos) continue;
    std::string text = siteswapFromLine(line);
    if (text.size() <= 250 && text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ,.px") == std::string::npos)
      snprintf(Siteswap_Text, sizeof Siteswap_Text, "%s", text.c_str());
    return;
  }
}

// State of one header pass.
struct HeaderState {
  int modelNumber = 6;
  int jugglerBlock = 0;
  int objectsGiven = 0;
  int macrosRead = 0;
  int titleRead = 0;
};

static void readTitle(FILE *stream, HeaderState &h) {
  int c;
  while ((c = fgetc(stream)) == ' ' || c == '\t') {
  }
  if (c != EOF) ungetc(c, stream);
  std::string line = readRestOfLine(stream);
  if (h.titleRead) {
    qMsg(QMSG_DEBUG, "%s\n", line.c_str());
    return;
  }
  h.titleRead = 1;
  if (line.size() < sizeof Mustertitel - 1) line += '\n';
  snprintf(Mustertitel, sizeof Mustertitel, "%s", line.c_str());
  qMsg(QMSG_INFO, "%s", Mustertitel);
}

// "@X [r...] p x y z" or "@X [r...] P x y z x y z": hand macro m in entry handCount + m.
static int readMacro(FILE *stream, HeaderState &h) {
  std::string line = readRestOfLine(stream);
  if (h.macrosRead >= MAX_HAND_MACROS) {
    patternMessage(QMSG_ERROR, 720, int(MAX_HAND_MACROS));
    return 11;
  }
  if (h.macrosRead >= handMacroCount || line.empty() || line[0] != Handmakrobuchstaben[h.macrosRead]) {
    patternMessage(QMSG_ERROR, 740, '@');
    return 26199;
  }
  Fangwurf &f = fangwurf[macroHand(h.macrosRead)];
  size_t i = 1;
  int relative = 0;
  while (i < line.size() && line[i] != 'p' && line[i] != 'P') {
    if (line[i] == 'r') {
      relative = 1;
      while (i < line.size() && line[i] != ' ') i++;
    } else {
      i++;
    }
  }
  double v[6];
  int wanted = i < line.size() && line[i] == 'P' ? 6 : 3;
  int got = i < line.size() ? sscanf(line.c_str() + i + 1, "%lf %lf %lf %lf %lf %lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) : 0;
  if (got < wanted || !saneCoordinates(v, wanted)) {
    patternMessage(QMSG_ERROR, 740, '@');
    return 26199;
  }
  if (wanted == 3)
    for (int k = 0; k < 3; k++) v[k + 3] = v[k];
  f.kennz = line[0];
  for (int k = 0; k < 3; k++) {
    f.fang[k] = v[k];
    f.wurf[k] = v[k + 3];
  }
  f.flag = relative ? FANGWURF_RELATIVE : 0;
  qMsg(QMSG_DEBUG, "fangwurf[%d].kennz='%c' : ", macroHand(h.macrosRead), f.kennz);
  h.macrosRead++;
  return 0;
}

static void readCamera(FILE *stream, char letter) {
  double v[4];
  if (letter == 'B') {
    if (fscanf(stream, "=%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3]) != 4 || !finiteAll(v, 4)) {
      patternMessage(QMSG_ERROR, 779, letter);
      return;
    }
    cameraState.azimuth = savedCamera.azimuth = v[0];
    cameraState.elevation = savedCamera.elevation = v[1];
    cameraState.distance = savedCamera.distance = v[2];
    cameraState.zoom = savedCamera.zoom = v[3];
    computeEyePosition(cameraState.eye);
    return;
  }
  if (fscanf(stream, "=%lf,%lf,%lf", &v[0], &v[1], &v[2]) != 3 || !finiteAll(v, 3)) {
    patternMessage(QMSG_ERROR, 779, letter);
    return;
  }
  for (int i = 0; i < 3; i++) cameraState.lookAt[i] = savedCamera.lookAt[i] = v[i];
}

// "O=n" then pairs "count#model" that give the objects, in letter order, their models.
static int readObjectModels(FILE *stream, HeaderState &h) {
  int n;
  if (fscanf(stream, "=%d", &n) != 1 || n != objekte) {
    patternMessage(QMSG_ERROR, 749, objekte);
    return 11299;
  }
  h.objectsGiven = 1;
  int assigned = 0;
  while (assigned < objekte) {
    int count, model;
    if (fscanf(stream, "%d#%d", &count, &model) != 2 || count < 1 || model < 0) {
      patternMessage(QMSG_ERROR, 750);
      return 11299;
    }
    for (int i = 0; i < count && assigned < objekte; i++) objectModelNumber[assigned++] = model;
  }
  return 0;
}

static int loadFloor(char letter) {
  int result = patternCalls.loadFloor(qMode.benchmark ? 1 : 0);
  if (!result) return 0;
  if (letter == 'j') return 131;
  qMsg(QMSG_ERROR, "Boden_laden(): error=%d\n", result);
  return 151;
}

static void placeJuggler(int j, const double position[3], double headingDegrees) {
  for (int i = 0; i < 3; i++) quoitPos[j].position[i] = position[i];
  quoitPos[j].ZWinkel = headingDegrees / DEGREES;
}

// "p" and "P": per juggler a heading in degrees and per hand one or two world points.
static int readPointBlock(FILE *stream, char letter) {
  for (int j = 0; j < jugglers; j++) {
    double heading;
    if (fscanf(stream, "%lf", &heading) != 1 || !saneAngle(heading)) {
      patternMessage(QMSG_ERROR, 740, letter);
      return 26199;
    }
    double centre[3] = {0, 0, 0};
    for (int h = 2 * j; h < 2 * j + 2; h++) {
      Fangwurf &f = fangwurf[h];
      if (!readPoint(stream, f.fang)) {
        patternMessage(QMSG_ERROR, 740, 'p');
        return 26199;
      }
      if (letter == 'P' && !readPoint(stream, f.wurf)) {
        patternMessage(QMSG_ERROR, 740, 'P');
        return 26199;
      }
      if (letter == 'p') memcpy(f.wurf, f.fang, sizeof f.wurf);
      f.handnr = h;
      for (int i = 0; i < 3; i++) centre[i] += (f.fang[i] + f.wurf[i]) / 4;
    }
    centre[2] -= 1.0;
    placeJuggler(j, centre, heading);
    int result = patternCalls.loadFigure(centre, heading);
    if (result) {
      qMsg(QMSG_DEBUG, " Mensch_laden()=%d ", result);
      return 161;
    }
  }
  return 0;
}

// "j": per juggler a heading, a position, the kind letters of both hands and an optional word
// beginning with i for an invisible figure.
static int readPresetBlock(FILE *stream) {
  for (int j = 0; j < jugglers; j++) {
    double heading, position[3];
    char kind[2][100];
    if (fscanf(stream, "%lf", &heading) != 1 || !saneAngle(heading)) {
      patternMessage(QMSG_ERROR, 740, 'j');
      return 17;
    }
    if (fscanf(stream, "%lf %lf %lf %99s %99s", &position[0], &position[1], &position[2], kind[0], kind[1]) != 5 ||
        !saneCoordinates(position, 3) || isdigit(uint8_t(kind[0][0])) || isdigit(uint8_t(kind[1][0]))) {
      patternMessage(QMSG_ERROR, 740, 'j');
      return 18;
    }
    std::string rest = readRestOfLine(stream).substr(0, 100);
    char words[2][101] = {"", ""};
    int invisible = sscanf(rest.c_str(), "%100s %100s", words[0], words[1]) > 0 && (words[0][0] == 'i' || words[1][0] == 'i');
    placeJuggler(j, position, heading);
    hiddenJuggler[j] = invisible;
    if (patternCalls.loadFigure(position, invisible ? INVISIBLE_HEADING : heading)) return 141;
    for (int h = 2 * j; h < 2 * j + 2; h++) {
      Fangwurf &f = fangwurf[h];
      uint32_t flag = KindOfThrowFlag(kind[h - 2 * j][0]);
      if (flag == KOT_ERROR) patternMessage(QMSG_ERROR, 740, 'j');
      if (SetJugglersPosition(&f, flag)) return 151298;
      Fangwurf_umrechnen(&f, h);
      f.handnr = h;
    }
  }
  return 0;
}

static int readJugglerBlock(FILE *stream, HeaderState &h, char letter) {
  if (h.jugglerBlock) {
    patternMessage(QMSG_ERROR, 739);
    return 240199;
  }
  h.jugglerBlock = 1;
  if (int result = loadFloor(letter)) return result;
  return letter == 'j' ? readPresetBlock(stream) : readPointBlock(stream, letter);
}

static int16_t angleWord(double degrees) { return int16_t(int((degrees + 36000) * 2048 / 360) & 0x7ff); }

static bool readProp(FILE *stream, char *name, double angles[3], double position[3]) {
  char word[100];
  if (fscanf(stream, "%99s %99s", name, word) != 2) return false;
  if (word[0] == 'r' || word[0] == 'R') {
    if (fscanf(stream, "%lf %lf %lf", &angles[0], &angles[1], &angles[2]) != 3) return false;
  } else {
    char *end;
    angles[0] = angles[1] = 0;
    angles[2] = strtod(word, &end);
    if (end == word || *end) return false;
  }
  return saneAngle(angles[0]) && saneAngle(angles[1]) && saneAngle(angles[2]) && readPoint(stream, position);
}

// "z=n" and n props: model name, angles, position; each is loaded and placed in the scene.
static int readProps(FILE *stream, const HeaderState &h) {
  if (!h.jugglerBlock) {
    patternMessage(QMSG_ERROR, 748);
    return 281099;
  }
  int n;
  if (fscanf(stream, "=%d", &n) != 1 || n < 0 || n > MAX_PROPS) {
    patternMessage(QMSG_ERROR, 771, int(MAX_PROPS));
    return 171;
  }
  for (int k = 0; k < n; k++) {
    char name[100];
    double angles[3], position[3];
    if (!readProp(stream, name, angles, position)) {
      patternMessage(QMSG_ERROR, 773, k + 1);
      return 171;
    }
    backslashToSlash(name, name);
    if (patternCalls.loadObjectFile(name, firstObjectInstance, position[0], position[1], position[2], angles[2], 1) == -1) {
      patternMessage(QMSG_ERROR, 721, name);
      return 171;
    }
    int instance = jugglers + 1 + k;
    if (qPrefs.vrml) {
      patternCalls.placeLastObjectNode(instance, position, angles);
    } else {
      Placement p = {instance <= INSTANCE_SLOTS ? objectInstanceList[instance] : int16_t(-1),
                     angleWord(angles[0]),
                     int16_t(position[0] * 1000),
                     int16_t(position[1] * 1000),
                     int16_t(position[2] * 1000),
                     angleWord(angles[1]),
                     angleWord(angles[2]),
                     0};
      sceneObjectList(&p, 2);
    }
    firstObjectInstance++;
    PropRecord &record = propRecords[k];
    snprintf(record.name, sizeof record.name, "%s", name);
    memcpy(record.angles, angles, sizeof record.angles);
    memcpy(record.position, position, sizeof record.position);
    propCount = k + 1;
  }
  return 0;
}

static void readKeyframeSection(FILE *stream) {
  ungetc('k', stream);
  long before = ftell(stream);
  patternCalls.readKeyframes(stream);
  if (ftell(stream) == before) fgetc(stream);
}

// Reads "=value" entries whose value is a double.
static bool readDouble(FILE *stream, const char *format, double &value, char letter) {
  double v;
  if (fscanf(stream, format, &v) == 1 && std::isfinite(v)) {
    value = v;
    return true;
  }
  patternMessage(QMSG_ERROR, 779, letter);
  return false;
}

static int readOption(FILE *stream, int c, HeaderState &h) {
  int ignored;
  double ignoredDouble;
  switch (c) {
    case '!': readTitle(stream, h); return 0;
    case '%': readRestOfLine(stream); return 0;
    case '@': return readMacro(stream, h);
    case 'B': case 'G': readCamera(stream, char(c)); return 0;
    case 'O': return readObjectModels(stream, h);
    case 'o': if (fscanf(stream, "=%d", &ignored) != 1) patternMessage(QMSG_ERROR, 779, 'o'); return 0;
    case 'p': case 'P': case 'j': return readJugglerBlock(stream, h, char(c));
    case 'z': return readProps(stream, h);
    case 'Z': readDouble(stream, "=%lf", ignoredDouble, 'Z'); return 0;
    case 'a':
      if (fscanf(stream, "=%d", &ignored) == 1 && ignored >= 0 && ignored < MODEL_SLOTS)
        h.modelNumber = ignored;
      else
        patternMessage(QMSG_ERROR, 779, 'a');
      return 0;
    case 'd':
      if (readDouble(stream, "t=%lf", dt, 'd')) dt *= qPrefs.timefactor;
      return 0;
    case 'e': readDouble(stream, "ps=%lf", Dotzfaktor, 'e'); return 0;
    case 'g': readDouble(stream, "=%lf", gravity, 'g'); return 0;
    case 'l': readDouble(stream, "=%lf", dwell, 'l'); return 0;
    case 's': readDouble(stream, "=%lf", scatter, 's'); return 0;
    case 'r':
      if (fscanf(stream, "=%d", &qInternal[QINTERNAL_RECORD_TAKTS]) != 1) patternMessage(QMSG_ERROR, 779, 'r');
      return 0;
    case 'h': case 't': case 'u': if (fscanf(stream, "=%d", &ignored) != 1) patternMessage(QMSG_ERROR, 779, c); return 0;
    case 'i': skipWord(stream, nullptr); return 0;
    case 'k': readKeyframeSection(stream); return 0;
    default: {
      std::string word;
      skipWord(stream, &word);
      qMsg(QMSG_DEBUG, "ignored option in pattern header: %c%s\n", c, word.c_str());
      return 0;
    }
  }
}

static int finishHeader(const HeaderState &h) {
  if (qInternal[QINTERNAL_RECORD_TAKTS] || qPrefs.scflag) scatter = 0;
  dt *= gravityTimeScale;
  if (!(dt > 0) || !std::isfinite(dt)) {
    patternMessage(QMSG_ERROR, 760, dt);
    return 19;
  }
  if (!(gravity > 0) || !std::isfinite(gravity)) {
    patternMessage(QMSG_ERROR, 761, gravity);
    return 20;
  }
  t_zyklus = takte * dt;
  gravity = -gravity;
  if (objectOptionKind == 0) objectCountOption = h.modelNumber;
  if (!h.objectsGiven)
    for (int i = 0; i < objekte; i++) objectModelNumber[i] = objectCountOption;
  if (!h.jugglerBlock) {
    patternMessage(QMSG_ERROR, 733);
    return 15;
  }
  if (h.macrosRead != handMacroCount) {
    patternMessage(QMSG_ERROR, 740, '@');
    return 26199;
  }
  return 0;
}

int MusterHeader_einlesen(FILE *stream) {
  qInternal[QINTERNAL_RECORD_TAKTS] = 0;
  findSiteswapTag();
  rewind(stream);
  HeaderState h;
  for (;;) {
    if (ftell(stream) >= headerStar) break;
    int c = fgetc(stream);
    if (c == EOF) break;
    if (isspace(c)) continue;
    if (int result = readOption(stream, c, h)) return result;
  }
  fseek(stream, bodyStart, SEEK_SET);
  return finishHeader(h);
}

// ---------------------------------------------------------------- body

int muster_ausfuellen(int takt, int column, int position, char character) {
  if (takt < 0 || takt >= takte) {
    patternMessage(QMSG_ERROR, 726, takt);
    return 1;
  }
  if (column < 0 || column >= 2 * jugglers) {
    patternMessage(QMSG_ERROR, 727, column);
    return 1;
  }
  if (position < 0) {
    patternMessage(QMSG_ERROR, 15, 161099, "muster_ausfuellen");
    return 1;
  }
  if (position >= CELL_SIZE) {
    patternMessage(QMSG_REPORT, 735, int(CELL_SIZE));
    return 1;
  }
  muster[takt][column][position] = character;
  return 0;
}

static bool readLine(FILE *stream, std::string &line) {
  line.clear();
  int c;
  while ((c = fgetc(stream)) != EOF && c != '\n') line += char(c);
  return c != EOF || !line.empty();
}

// More cells than columns: a kind group that stands alone after the last column gets its own
// message, other extra cells are named by their column.
static int extraCells(const BodyLine &body, const std::string &line) {
  size_t columns = size_t(2 * jugglers);
  const BodyCell &extra = body.cells[columns];
  if (extra.entries.empty() && !extra.text.empty() && extra.text[0] == '(') {
    std::string t736 = withoutNewline(localText(736)), t737 = localText(737), t738 = localText(738);
    size_t group = line.find('(');
    std::string rest = group == std::string::npos ? "" : line.substr(group + 1);
    qMsg(QMSG_ERROR, "%s '%s(%s'\n%s%s", t736.c_str(), body.cells[columns - 1].text.c_str(), rest.c_str(), t737.c_str(), t738.c_str());
    patternTestSeam.lastPatternMessage = 736;
    return 151298;
  }
  for (size_t c = columns; c < body.cells.size(); c++) patternMessage(QMSG_ERROR, 727, int(c));
  return 161099;
}

// Stores one cell and records where its objects are held; 0 or the reader's code.
static int storeCell(int takt, int column, const BodyCell &cell, std::vector<int> &seen) {
  for (size_t i = 0; i < cell.text.size(); i++)
    if (muster_ausfuellen(takt, column, int(i), cell.text[i])) return 161099;
  if (cell.text.find_first_of("/\\") != std::string::npos) bouncesPresent = 1;
  if (cell.ampersands) qInternal[QINTERNAL_VIRTUAL_USED] = 1;
  int firstReal = -1;
  for (const BodyEntry &e : cell.entries) {
    int o = Objekt_Nummer(e.letter);
    if (o < 0 || o >= objekte) {
      patternMessage(QMSG_ERROR, 718, e.letter);
      return 11;
    }
    if (seen[o]) {
      patternMessage(QMSG_ERROR, 753, e.letter, takt + 1, currentPatternFile.c_str());
      return 20041028;
    }
    seen[o] = 1;
    int hand;
    if (e.macro >= 0) {
      Fangwurf &f = fangwurf[macroHand(e.macro)];
      if (f.handnr == -1) f.handnr = column;
      if (f.handnr != column) {
        patternMessage(QMSG_ERROR, 730, Handmakrobuchstaben[e.macro]);
        return 27398;
      }
      hand = macroHand(e.macro);
    } else {
      hand = handNumber(column, e.subIndex);
    }
    int32_t value = (e.bounce + 128) & 0xff;
    if (e.subIndex) value |= (e.subIndex + 1) * 256;
    dotzspeicher[takt][hand][o] = value;
    if (e.subIndex == 0 && e.macro < 0 && firstReal < 0) firstReal = o;
    if (e.subIndex == 1 && firstReal >= 0) dotzspeicher[takt][column][firstReal] |= 0x100;
  }
  return 0;
}

static int readBodyLine(FILE *stream, int takt, std::string &line, size_t &widest) {
  if (!readLine(stream, line)) {
    qMsg(QMSG_ERROR, "%s %s", withoutNewline(localText(719)).c_str(), localText(752));
    patternTestSeam.lastPatternMessage = 719;
    return 11;
  }
  if (patternDebugLevel) qMsg(QMSG_DEBUG, "\nTakt %3d: Zeit=%6.3fs / %6.3fs: ", takt, takt * dt, takt * dt + t_zyklus);
  BodyLine body;
  if (int error = scanBodyLine(line, body)) {
    bodyLineMessage(error, takt);
    return 161099;
  }
  if (body.cells.size() < size_t(2 * jugglers)) {
    patternMessage(QMSG_ERROR, 747, takt + 1);
    return 161099;
  }
  if (body.cells.size() > size_t(2 * jugglers)) return extraCells(body, line);
  std::vector<int> seen(size_t(objekte), 0);
  for (int c = 0; c < 2 * jugglers; c++) {
    widest = std::max(widest, body.cells[size_t(c)].text.size());
    if (int result = storeCell(takt, c, body.cells[size_t(c)], seen)) return result;
  }
  return 0;
}

static void trimLine(std::string &line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
}

static int wrapFailure() {
  patternMessage(QMSG_ERROR, 742);
  WRAP = 0;
  return 20599;
}

// After the body: an optional '*' line and the two wrap lines.
static int readWrapLines(FILE *stream) {
  int c;
  while ((c = fgetc(stream)) != EOF && c != '*') {
  }
  if (c == EOF) {
    for (int o = 0; o < objekte; o++) wraptable[2 * o] = wraptable[2 * o + 1] = uint8_t(Objektbuchstaben[o]);
    wraptable[2 * objekte] = 0xFF;
    return 0;
  }
  readRestOfLine(stream);
  for (auto &w : Wraplinie) {
    std::string line;
    if (!readLine(stream, line)) return wrapFailure();
    trimLine(line);
    if (line.size() != size_t(objekte)) return wrapFailure();
    snprintf(w, sizeof w, "%s", line.c_str());
  }
  WRAP = 1;
  qMsg(128, "wraptable: ");
  for (int o = 0; o < objekte; o++) {
    wraptable[2 * o] = uint8_t(Wraplinie[0][o]);
    wraptable[2 * o + 1] = uint8_t(Wraplinie[1][o]);
    qMsg(128, "%c->%c   ", Wraplinie[0][o], Wraplinie[1][o]);
  }
  qMsg(128, "\n");
  wraptable[2 * objekte] = 0xFF;
  scatter = 0;
  for (int o = 0; o < objekte; o++)
    if (Wrap_Partner(Objektbuchstaben[o], 1) == 255 || Wrap_Partner(Objektbuchstaben[o], 2) == 255) return wrapFailure();
  return 0;
}

// "! x text" at the end of a body line: a comment on object x in that takt.
static void readInlineComment(const std::string &line, const BodyLine &body, int takt) {
  if (body.comment == std::string::npos || line[body.comment] != '!') return;
  size_t i = body.comment + 1;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) i++;
  if (i >= line.size()) return;
  char letter = line[i];
  int o = Objekt_Nummer(letter);
  if (o < 0 || o >= objekte) return;
  if (qInlineCommentCount >= qInlineCommentCapacity) {
    patternMessage(QMSG_INFO, 46, "InlineComment=NULL", "Muster_einlesen");
    return;
  }
  std::string text = line.substr(i + 1);
  if (text.size() + 1 > 50) {
    text.resize(50);
    patternMessage(QMSG_INFO, 743, takt + 1, letter, text.c_str(), 50);
  } else {
    text += '\n';
  }
  QInlineComment &c = qInlineComment[qInlineCommentCount++];
  c = QInlineComment{takt, o, 0.0, 0.0, {}};
  snprintf(c.text, sizeof c.text, "%s", text.c_str());
}

// Every flight and every hold must keep a positive length with the pattern's dwell: a hold lasts
// (2 dwell - 1) takts at least, a flight over g empty takts (g + 2 - 2 dwell) takts.
static int checkDwell() {
  bool ok = dwell > 0.5;
  int hands = allHands();
  for (int o = 0; o < objekte && ok; o++) {
    std::vector<int> held;
    for (int t = 0; t < takte; t++)
      for (int h = 0; h < hands; h++)
        if (handHolds(t, h, o)) {
          held.push_back(t);
          break;
        }
    for (size_t k = 0; k < held.size() && ok; k++) {
      bool last = k + 1 == held.size();
      if (last && WRAP) break;
      int next = last ? held[0] + takte : held[k + 1];
      int gap = next - held[k] - 1;
      if (gap >= 1 && !(gap + 2 - 2 * dwell > 0)) ok = false;
    }
  }
  if (ok) return 0;
  patternMessage(QMSG_ERROR, 763, dwell);
  return 21;
}

int Muster_einlesen(FILE *stream) {
  fseek(stream, bodyStart, SEEK_SET);
  size_t widest = 0;
  std::vector<std::string> lines(static_cast<size_t>(takte));
  for (int t = 0; t < takte; t++)
    if (int result = readBodyLine(stream, t, lines[size_t(t)], widest)) return result;
  qInternal[QINTERNAL_CELL_WIDTH] = int(widest) + 2;
  Hand(0, HAND_SETUP);
  WRAP = 0;
  if (int result = readWrapLines(stream)) return result;
  Objektbuchstaben[objekte] = '-';
  Objektbuchstaben[objekte + 1] = '\0';
  BodyLine body;
  for (int t = 0; t < takte; t++)
    if (scanBodyLine(lines[size_t(t)], body) == 0) readInlineComment(lines[size_t(t)], body, t);
  qMsg(QMSG_DEBUG, "-----------\n");
  outputMuster(0, takte - 1);
  qMsg(QMSG_DEBUG, "-----------\n");
  return checkDwell();
}

// ---------------------------------------------------------------- helpers

int Objekt_in_Zelle(char letter, int takt, int hand) {
  if (takt < 0 || takt >= takte || !muster) {
    patternMessage(QMSG_ERROR, 726, takt);
    return 0;
  }
  int column = Hand(hand, 0);
  if (column < 0 || column >= 2 * jugglers) return 0;
  const char *cell = muster[takt][column];
  size_t size = strnlen(cell, CELL_SIZE + 1);
  for (size_t i = 0; i < size; i++) {
    CellToken token = cellToken(cell, size, i);
    if (token.kind == CELL_UNCLOSED_GROUP) return 0;
    if (token.kind == CELL_GROUP) i = token.end;
    else if (token.c == letter) return 1;
  }
  return 0;
}

int cellEntries(const char *cell, int column, CellEntry out[]) {
  size_t size = strnlen(cell, CELL_SIZE);
  int n = 0, level = 0, macro = -1, group = -1;
  for (size_t i = 0; i < size; i++) {
    CellToken token = cellToken(cell, size, i);
    char c = token.c;
    if (token.kind == CELL_AMPERSAND) {
      level++;
      macro = group = -1;
    } else if (token.kind == CELL_BOUNCE) {
    } else if (token.kind == CELL_UNCLOSED_GROUP) {
      break;
    } else if (token.kind == CELL_GROUP) {
      if (c == '(') group = int(i);
      i = token.end;
    } else if (macroIndex(c) >= 0) {
      macro = macroIndex(c);
    } else {
      int o = Objekt_Nummer(c);
      if (o < 0 || o >= objekte) break;
      out[n++] = {o, macro >= 0 ? macroHand(macro) : handNumber(column, level), group, level, macro >= 0};
      macro = group = -1;
    }
  }
  return n;
}

int Wrap_Partner(char letter, int direction) {
  if (!WRAP || letter == '-') return uint8_t(letter);
  const char *from = Wraplinie[direction == 1 ? 0 : 1];
  const char *to = Wraplinie[direction == 1 ? 1 : 0];
  const char *p = strchr(from, letter);
  if (!letter || !p) return 255;
  return uint8_t(to[p - from]);
}

int wrapPartnerObject(int object, int direction) {
  if (!WRAP || object < 0 || object >= objekte) return object;
  int o = Objekt_Nummer(char(Wrap_Partner(Objektbuchstaben[object], direction)));
  return o >= 0 && o < objekte ? o : object;
}

char Wurfart_Buchstabe(uint32_t flag) {
  switch (flag) {
    case KOT_c: return 'c';
    case KOT_C: return 'C';
    case KOT_f: return 'f';
    case KOT_b: return 'b';
    case KOT_B: return 'B';
    case KOT_a: return 'a';
    case KOT_A: return 'A';
    case KOT_s: return 's';
    case KOT_S: return 'S';
    case KOT_t: return 't';
    case KOT_d: return 'd';
    default: return ' ';
  }
}

// Juggler-local catch and throw points of a kind of throw; y stays unless the kind gives it.
int SetJugglersPosition(Fangwurf *entry, uint32_t flag) {
  struct Preset {
    uint32_t flag;
    double fang[3], wurf[3];
    bool keepY;
  };
  static const Preset presets[] = {
      {KOT_c, {0, 0.4, 0}, {0, 0.2, 0}, false},       {KOT_C, {0, 0.2, 0}, {0, 0.4, 0}, false},
      {KOT_f, {0, 0.3, 0}, {0, 0.3, 0}, false},       {KOT_b, {-0.2, 0.6, 0}, {-0.8, -0.2, 0}, false},
      {KOT_B, {-0.8, -0.2, 0}, {-0.2, 0.6, 0}, false}, {KOT_a, {-0.5, 0.46, 0}, {-0.23, 0, -0.25}, false},
      {KOT_A, {-0.2, 0.6, 0}, {-0.7, 0, -0.25}, false}, {KOT_s, {0, 0, 0}, {0, 0, 0}, true},
      {KOT_S, {-0.87, 0.3, 0}, {-0.2, 0.3, 0}, false}, {KOT_t, {0, 0.4, 0}, {-0.25, 0.3, 0.3}, false},
      {KOT_d, {-0.5, 0.5, -1.25}, {0.2, 0.1, -0.95}, false},
  };
  if (flag == KOT_ERROR) return 20499;
  for (const Preset &p : presets) {
    if (p.flag != flag) continue;
    entry->fang[0] = p.fang[0];
    entry->fang[2] = p.fang[2];
    entry->wurf[0] = p.wurf[0];
    entry->wurf[2] = p.wurf[2];
    if (!p.keepY) {
      entry->fang[1] = p.fang[1];
      entry->wurf[1] = p.wurf[1];
    }
    entry->flag = int32_t(flag);
    return 0;
  }
  patternMessage(QMSG_REPORT, 45, int(flag), "SetJugglersPosition");
  return 151298;
}

void G_Vorgabe_setzen() {
  double look[3] = {0, 0, maxheight / 2};
  if (cameraState.lookAt[0] == UNSET_DOUBLE)
    for (int i = 0; i < 3; i++) cameraState.lookAt[i] = look[i];
  for (int i = 0; i < 3; i++) savedCamera.lookAt[i] = cameraState.lookAt[i];
}

void Fangwurf_anheben() {
  if (!fangwurf) return;
  auto raise = [](Fangwurf &f) {
    f.fang[2] += 0.2;
    f.wurf[2] += 0.2;
  };
  for (int h = 0; h < 2 * jugglers; h++) raise(fangwurf[h]);
  for (int m = 0; m < handMacroCount; m++) raise(fangwurf[macroHand(m)]);
}
