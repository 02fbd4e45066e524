// Preferences: the qPrefs record, the preferences file and "+" command-line lines.
#pragma once
#include <cstdio>
#include <string>

struct QuoitPrefs {
  std::string intensity;      // Intensity: grey level of the clear colour, as text
  int abitrate;               // MPEG bit rate
  int animationFlags;         // 1 dolist, 4 GIF, 8 FLI
  int asize;
  int backgroundFlag;         // 1 = off
  std::string bgdir;          // background tile directory, ends with '/'
  int bophase;                // phase passed to patconv
  int clflag;
  int current;                // pattern source mode 0..5
  int donotcheck;
  int detail;
  int fontsize;
  int textFont;
  int fps;
  int catalogueSort;          // 0, 1 by number, 2 by name
  double fre_ratio;
  double freq;
  std::string ground;
  std::string hardcopy;
  int height;
  int width;
  int hold;
  int displayFlags;           // 1 full screen, 8 textures
  int iflag;
  int q2_at;
  int q2_persons;
  int jugglerlist;
  int language;
  int minFrameMs;
  double mousespeed;
  int multihand;
  int notcl;
  int numbers;
  std::string patterndir;
  std::string povout;
  int povShortNames;
  int randomcolor;
  int scflag;
  int show_bcmd;
  int sh_kind;
  int show_scmd;
  std::string siteswapdir;
  std::string ss_hfile;
  int ss_opt;
  std::string ss_sfile;
  int sym;
  int thlist;
  double timefactor;
  int trans_g;
  std::string trans_in;
  std::string trans_out;
  int trans_s;
  std::string temp;
  std::string uname;
  int vrml;
  int version;                // 5 or 9, 0 before a header was read
  std::string homeDirectory;
  std::string lastCatalogueDirectory;
};

extern QuoitPrefs qPrefs;

void readPreferences(int again);
int scanPreferenceLine(const char *line);
int prefIntValue(const char *line);
const char *prefWordValue(const char *line, std::string &out);
void prefRestOfLine(const char *line, std::string &out);
int readPrefsLine(std::string &buffer, FILE *file);
