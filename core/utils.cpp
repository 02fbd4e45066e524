// File, text and path utilities. Functions that return a const char * share one static buffer
// each, valid until their next call.
#include "core/utils.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/userfiles.h"
#include "core/runstate.h"

static bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool fileExists(const char *path) {
  FILE *file = openRegularFile(path);
  if (file) fclose(file);
  return file != nullptr;
}

const char *qGetFileNode(const char *path, int stripExtension) {
  static std::string node;
  if (stripExtension != 0 && stripExtension != 1) {
    qMsg(QMSG_ERROR, localText(43), stripExtension, "qGetFileNode");
    return nullptr;
  }
  const char *start = path;
  for (const char *p = path; *p; p++)
    if (isSeparator(*p)) start = p + 1;
  node = start;
  if (stripExtension) {
    size_t dot = node.rfind('.');
    if (dot != std::string::npos) node.erase(dot);
  }
  return node.c_str();
}

const char *directoryOfPath(const char *path) {
  static std::string directory;
  size_t end = 0;
  for (size_t i = 0; path[i]; i++)
    if (isSeparator(path[i])) end = i + 1;
  directory.assign(path, end);
  return directory.c_str();
}

std::string patternFileArgument(const char *name) {
  if (isdigit(static_cast<unsigned char>(name[0]))) return std::string("m/") + name;
  return name;
}

// The target holds at least as many characters as the source; it may be the source itself.
void backslashToSlash(const char *source, char *target) {
  size_t i = 0;
  for (; source[i]; i++) target[i] = source[i] == '\\' ? '/' : source[i];
  target[i] = '\0';
}

std::string typedFileName(const std::string &name) {
  struct stat info;
  if (name.find('\\') == std::string::npos || lstat(name.c_str(), &info) == 0) return name;
  return backslashToSlash(name);
}

std::string backslashToSlash(const std::string &source) {
  std::string target = source;
  for (char &c : target)
    if (c == '\\') c = '/';
  return target;
}

void stripTrailingSpace(char *text) {
  size_t n = strlen(text);
  while (n > 0 && isspace(static_cast<unsigned char>(text[n - 1]))) n--;
  text[n] = '\0';
}

const char *skipSpace(const char *text) {
  while (*text && isspace(static_cast<unsigned char>(*text))) text++;
  return text;
}

static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

const char *skipWords(const char *text, int n) {
  for (int i = 0; i < n && *text; i++) {
    while (*text && !isBlank(*text)) text++;
    while (isBlank(*text)) text++;
  }
  return text;
}

// The source is read like every pattern file: a regular file, within the bound; the target is a
// user's file, replaced through a temporary file.
int copyFile(const char *target, const char *source) {
  std::string text;
  int read = readRegularFile(source, text, MAX_TEXT_FILE_SIZE);
  if (read == READ_FILE_NOT_REGULAR || read == READ_FILE_CANNOT_OPEN) {
    qMsg(QMSG_ERROR, localText(40), source);
    return COPY_NO_SOURCE;
  }
  if (read != READ_FILE_OK) {
    qMsg(QMSG_ERROR, localText(33), source, fileErrorReason(errno));
    return COPY_SHORT_READ;
  }
  if (!writeFileAtomically(target, text)) {
    qMsg(QMSG_ERROR, localText(41), target);
    return COPY_NO_TARGET;
  }
  return COPY_OK;
}

static std::string formatNumbered(const std::string &directory, const char *node, int number, const char *extension,
                                  bool threeDigits) {
  char digits[16];
  snprintf(digits, sizeof digits, threeDigits ? "%03d" : "%d", number);
  return directory + node + "-" + digits + "." + extension;
}

int numberedFileName(std::string &out, int counter, int kind, const char *extension) {
  out.clear();
  if (kind != NUMBERED_HARDCOPY && kind != NUMBERED_POVRAY && kind != NUMBERED_IMAGE_SEQUENCE) return counter;
  std::string node = qGetFileNode(currentPatternFile.c_str(), 1);
  const std::string &directory = kind == NUMBERED_POVRAY ? qPrefs.povout : qPrefs.hardcopy;
  if (kind == NUMBERED_IMAGE_SEQUENCE) {
    out = formatNumbered(directory, node.c_str(), counter, extension, true);
    if (counter < INT_MAX) counter++;
    // A link there is removed, never what it points to.
    if (nameTaken(out.c_str())) {
      unlink(out.c_str());
      qSleepTicks(1);
    }
    return counter;
  }
  do {
    out = formatNumbered(directory, node.c_str(), counter, extension, false);
    if (counter == INT_MAX) break;
    counter++;
  } while (nameTaken(out.c_str()));
  return counter;
}

int siteswapDigitValue(int character) {
  if (character >= '0' && character <= '9') return character - '0';
  if (character >= 'a' && character <= 'z') return character - 'a' + 10;
  if (character >= 'A' && character <= 'Z') return character - 'A' + 10;
  return 0;
}

const char *throwCharacter(char character, int side) {
  static char text[3];
  int v = siteswapDigitValue(character);
  int remainder = v % 4;
  bool crossing = v % 2 != 0 && remainder == (side == 0 ? 1 : 3);
  text[0] = character;
  text[1] = crossing ? 'x' : '\0';
  text[2] = '\0';
  return text;
}

std::string formatTextV(const char *format, va_list ap) {
  va_list copy;
  va_copy(copy, ap);
  int length = vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return std::string();
  std::string text(size_t(length) + 1, '\0');
  vsnprintf(text.data(), text.size(), format, ap);
  text.resize(size_t(length));
  return text;
}

std::string formatText(const char *format, ...) {
  va_list ap;
  va_start(ap, format);
  std::string text = formatTextV(format, ap);
  va_end(ap);
  return text;
}

std::string htmlEscaped(const std::string &text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}
