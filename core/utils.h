// File, text and path utilities shared by every subsystem.
#pragma once
#include <cstdarg>
#include <string>

// The unset value of a double read from a file or kept for later.
const double UNSET_DOUBLE = 1717.1717;

// Results of copyFile.
enum {
  COPY_OK = 0,
  COPY_NO_SOURCE = 1,
  COPY_SHORT_READ = 2,
  COPY_NO_TARGET = 3,
};

// Kinds of numbered output files.
enum {
  NUMBERED_IMAGE_SEQUENCE = 161,
  NUMBERED_HARDCOPY = 552,
  NUMBERED_POVRAY = 890,
};

bool fileExists(const char *path);
const char *qGetFileNode(const char *path, int stripExtension);
const char *directoryOfPath(const char *path);
std::string patternFileArgument(const char *name);
void backslashToSlash(const char *source, char *target);
std::string backslashToSlash(const std::string &source);
// A file name a user typed: kept as it is when it names a file ('\' is a plain character here),
// else with every '\' turned into '/'.
std::string typedFileName(const std::string &name);
void stripTrailingSpace(char *text);
const char *skipSpace(const char *text);
const char *skipWords(const char *text, int n);
int copyFile(const char *target, const char *source);
int numberedFileName(std::string &out, int counter, int kind, const char *extension);
// The value of a siteswap digit: 0-9, then a/A = 10 up to z/Z = 35; 0 for anything else.
int siteswapDigitValue(int character);
const char *throwCharacter(char character, int side);
// The text with &, <, > and " written as HTML entities.
std::string htmlEscaped(const std::string &text);


// A printf format filled into a string of whatever length it needs.
std::string formatText(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string formatTextV(const char *format, va_list ap);
