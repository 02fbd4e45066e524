// Status and help screens. The texts are built from local texts into strings, so the longest texts
// any language gives fit; a screen longer than its line limit is still shown whole, and the limit
// is reported once until the screen fits again.
#include "ui/screens.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/Tcl.h"
#include "core/viewrecords.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "pattern/clock.h"
#include "pattern/dumps.h"
#include "pattern/store.h"
#include "scene/figures.h"
#include "scene/geometry.h"
#include "scene/pathdisplay.h"
#include "scene/textures.h"
#include "ui/camera.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"

char statusLineTitle[STATUS_TITLE_SIZE + 1];
int statusLineTitleLength;

static const char *const VERSION = "V14.8";
static int helpWidth;

const char *versionText() { return VERSION; }

static void appendFormat(std::string &text, const char *format, ...) __attribute__((format(printf, 2, 3)));
static void appendFormat(std::string &text, const char *format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  text += line;
}

static int newlines(const std::string &text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

// Local text 1 in the middle of 14 characters of dashes.
static std::string titleLine() {
  std::string title = localTextLine(1).substr(0, 14);
  size_t left = (14 - title.size()) / 2;
  return std::string(left, '-') + title + std::string(14 - left - title.size(), '-') + "\n\n";
}

std::string fullStatusText(int *lines) {
  std::string text;
  if (remoteState == REMOTE_SHOWN) appendFormat(text, "%s\n", VERSION);
  else appendFormat(text, "Quoit %s\n  d e b u g \n", VERSION);
  text += titleLine();
  appendFormat(text, localText(215), objekte);
  appendFormat(text, localText(216), jugglerModelCount());
  appendFormat(text, "    dt:%6.4fs\n", dt);
  appendFormat(text, "t_zyklus%5.2fs\n", t_zyklus);
  appendFormat(text, "     t:%6.2fs\n", simTime);
  const double *v = cameraState.viewDir;
  appendFormat(text, localText(202), v[0]);
  appendFormat(text, "     Y:%6.3fm\n     Z:%6.3fm\n", v[1], v[2]);
  appendFormat(text, localText(203), viewState.x * 0.001);
  appendFormat(text, "     Y:%6.3fm\n     Z:%6.3fm\n", viewState.y * 0.001, viewState.z * 0.001);
  appendFormat(text, localText(204), viewState.elevation / 2048.0 * 360);
  appendFormat(text, localText(205), viewState.azimuth / 2048.0 * 360);
  appendFormat(text, "Radius:%6.3fm\n", uint16_t(viewState.radius) * 0.001);
  appendFormat(text, "Zoom  :%7.2f\n", double(viewState.zoom));
  if (qPrefs.vrml) {
    appendFormat(text, localText(213), propShapeCount(0));
    appendFormat(text, localText(214), propShapeCount(1));
    appendFormat(text, localText(217), loadedTextureCount());
  }
  appendFormat(text, localText(209), currentObjectLetter ? currentObjectLetter : ' ');
  appendFormat(text, "wrap:%3d/%3d/%s", takte, qInternal[QINTERNAL_RECORD_TAKTS], localText(WRAP ? 60 : 61));
  *lines = newlines(text);
  return text;
}

// Reports a screen longer than its limit once, until it fits again.
static void reportTooLong(bool tooLong, bool &reported, const char *format, int needed) {
  if (tooLong && !reported) qMsg(QMSG_ERROR, format, needed);
  reported = tooLong;
}

void showFullStatus() {
  static bool reported;
  int lines;
  std::string text = fullStatusText(&lines);
  reportTooLong(lines > FS_ZEILEN, reported,
                "qAfterRendering(): the full status screen needs %d lines: FS_ZEILEN is too small\n", lines);
  qTextOutput(text.c_str(), lines, widestTextLine(text), 1);
}

int widestTextLine(const std::string &text) {
  int widest = 0, length = 0;
  for (char c : text) {
    length = c == '\n' ? 0 : length + 1;
    if (length > widest) widest = length;
  }
  return widest;
}

int appendHelpLine(std::string &buffer, int n) {
  if (n == -1) {
    helpWidth = 0;
    return 0;
  }
  if (n == -2) return helpWidth;
  std::string line = localText(n);
  if (line.empty() || line.back() != '\n') line += '\n';
  buffer += line;
  int length = int(strlen(localText(n)));
  if (length > helpWidth) helpWidth = length;
  return 0;
}

int countTextLines(const char *text) {
  int n = 0;
  for (const char *p = text; *p; p++) n += *p == '\n';
  return n - 2;
}

static void appendAll(std::string &buffer, const int *numbers, size_t count) {
  for (size_t i = 0; i < count; i++)
    if (numbers[i] < 0) buffer += '\n';
    else appendHelpLine(buffer, numbers[i]);
}

std::string helpText(int *width) {
  const int NL = -3;
  std::string buffer;
  appendHelpLine(buffer, -1);
  const int head[] = {310, NL, 385, 313, 314, 381, 316, 379, 390, 317, 377};
  appendAll(buffer, head, sizeof head / sizeof head[0]);
  if (!qPrefs.vrml) {
    const int classic[] = {318, 376, 320};
    appendAll(buffer, classic, 3);
  }
  appendHelpLine(buffer, 321);
  if (remoteState != REMOTE_NOT_OPENED) appendHelpLine(buffer, 387);
  // The arrow keys (401, 407) act whether the remote control is shown or not.
  const int keys[] = {323, 386, 371, 380, 374, 326, 327, 382, 329, 375, 330, 331, 401, 407, 354, 391, 332, 383,
                      406, 333, 402, 334, 336, 338, 388, 340, 373, 372, 384, NL};
  appendAll(buffer, keys, sizeof keys / sizeof keys[0]);
  if (remoteState == REMOTE_SHOWN) {
    appendHelpLine(buffer, 370);
  } else {
    const int panel[] = {389, 399, 400, 2636};
    appendAll(buffer, panel, 4);
  }
  const int tail[] = {NL, 344, NL, 345, 346, 369, 349, NL, 352, 398, NL, 353, 354, NL, 355};
  appendAll(buffer, tail, sizeof tail / sizeof tail[0]);
  *width = appendHelpLine(buffer, -2);
  return buffer;
}

void help_anzeigen() {
  static bool reported;
  int width;
  std::string text = helpText(&width);
  int needed = countTextLines(text.c_str()) + 1;
  reportTooLong(needed > ML_ZEILEN, reported, "help_anzeigen(): ML_ZEILEN is zu klein: %d w\xe4ren n\xf6tig\n", needed);
  qTextOutput(text.c_str(), countTextLines(text.c_str()), width, 1);
}

void setStatusLineTitle() {
  snprintf(statusLineTitle, sizeof statusLineTitle, "%s", Mustertitel);
  statusLineTitleLength = int(strlen(statusLineTitle));
}

static void dumpBetweenBanners(const char *name, void (*dump)()) {
  qMsg(QMSG_DEBUG, "---------------------start %s -------------------------\n", name);
  dump();
  qMsg(QMSG_DEBUG, "---------------------end %s -------------------------\n", name);
}

void debuginfo(int code) {
  switch (code) {
    case 71: dumpBetweenBanners("outputFlugbahnen(DEBUG_LONG)", [] { outputFlugbahnen(3, -1, -1); }); break;
    case 72: dumpBetweenBanners("outputHandbahnen(DEBUG_LONG)", [] { outputHandbahnen(-1); }); break;
    case 73: dumpBetweenBanners("outputMuster()", [] { outputMuster(0, takte - 1); }); break;
    case 74: dumpBetweenBanners("outputFangwurf()", [] { outputFangwurf(); }); break;
    case 75:
      jugglerViewCounter++;
      if (jugglerViewCounter > jugglers + 1) jugglerViewCounter = 0;
      if (jugglerViewCounter > 1) qMode.viewPreset = jugglerViewCounter - 1;
      break;
    default: qMsg(QMSG_ERROR, localText(45), code, "debuginfo()");
  }
}
