// Preferences: the qPrefs record, the preferences file and "+" command-line lines.
#pragma once
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// Every field starts at its default; readPreferences(0) restores them.
struct QuoitPrefs {
  std::string intensity;         // Intensity: grey level of the clear colour, as text
  int abitrate = 1152000;        // MPEG bit rate
  int animationFlags = 1;        // 1 dolist, 4 GIF, 8 FLI
  int asize = 100;
  int backgroundFlag = 1;        // 1 = no background image
  std::string bgdir = "tex/bgr/";  // background tile directory, ends with '/'
  int bophase = 0;               // phase passed to patconv
  int clflag = 0;
  int current = 0;               // pattern source mode 0..5
  int donotcheck = 0;
  int detail = 0;
  int fontsize = 3;
  int textFont = 3;
  int fps = 1;
  int catalogueSort = 0;         // 0, 1 by number, 2 by name
  double fre_ratio = 0.0;
  double freq = 25.0;
  std::string ground;
  std::string hardcopy = "tmp/";
  int height = 256;
  int width = 320;
  int hold = 0;
  int displayFlags = 0;          // 1 full screen, 8 textures
  int iflag = 0;
  int q2_at = 0;
  int q2_persons = 1;
  int jugglerlist = 0;
  int language = 1;
  int minFrameMs = 0;
  double mousespeed = 0.0;
  int multihand = 2;
  int notcl = 0;
  int numbers = 0;
  std::string patterndir;
  std::string povout = "tmp/";
  int povShortNames = 0;
  int randomcolor = 0;
  int scflag = 0;
  int show_bcmd = 0;
  int sh_kind = 0;
  int show_scmd = 0;
  std::string siteswapdir = "m";
  std::string ss_hfile;
  int ss_opt = 0;
  std::string ss_sfile;
  int sym = 0;
  int thlist = 0;
  double timefactor = 1.0;
  int trans_g = 0;
  std::string trans_in;
  std::string trans_out;
  int trans_s = 0;
  std::string temp = "tmp/";
  std::string uname = "quoit-user";
  int vrml = 0;
  int version = 0;               // 5 or 9, 0 before a header was read
  std::string homeDirectory;
  std::string lastCatalogueDirectory;
};

enum { PREFS_LINE_LIMIT = 1023 };

extern QuoitPrefs qPrefs;

// Changes into the directory that "QUOIT" names when no preferences file is here, and takes the
// working directory as the home. The start does this once, before the texts and the preferences are
// read; readPreferences reads the preferences file of the working directory.
void enterHomeDirectory();
void readPreferences(int again);
int scanPreferenceLine(const char *line);
int prefIntValue(const char *line);
const char *prefWordValue(const char *line, std::string &out);
void prefRestOfLine(const char *line, std::string &out);
// 1 a line read, 2 a line too long (left empty), 0 the end of the file.
int readPrefsLine(std::string &buffer, FILE *file);

// Results of writePreferenceSettings.
enum { PREFS_WRITTEN = 0, PREFS_REFUSED = 1, PREFS_NOT_WRITTEN = 2 };
// Stores key=value settings in the preferences file: the lines of those keys are replaced, every
// other line is kept, and a header is added when there is none. A key or value holding a line end
// (LF or CR) would add lines of its own: then nothing is written (PREFS_REFUSED). A file that
// cannot be read or written stays as it was (PREFS_NOT_WRITTEN). Each failure is reported.
int writePreferenceSettings(const std::vector<std::pair<std::string, std::string>> &settings);

// Called when a preferences file names another pattern directory: the catalogue reads it anew.
// app/ sets it; the default keeps the catalogue.
extern void (*patternDirectoryChanged)(const char *directory);
