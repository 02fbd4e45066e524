// POV-Ray and MPEG parameter export: one pattern cycle as POV-Ray scene, INI and mpeg2encode files.
#pragma once
#include <cstdio>
#include <string>

// What the export takes from the window layer: the pattern file, the camera, the light and the
// animation time of the frame on screen.
struct PovView {
  std::string patternFile;
  double lookAt[3];    // metres
  double viewDir[3];   // unit view direction, from the eye to the look-at point
  double distance;     // eye distance from the look-at point, metres
  double zoom;
  int lightDistance;   // 1/100 m
  int lightAngle;      // 1/2048 of a turn
  double time;         // seconds within the cycle
};

// The open scene and INI files, their names, the scene's base name (the frames are named after it),
// the final frame and the frame size.
struct PovFiles {
  FILE *pov;
  FILE *ini;
  std::string povName;
  std::string iniName;
  std::string patternBase;  // the pattern file's name without directory and extension
  std::string sceneBase;
  int finalFrame;
  int width;
  int height;
};

// Results of the steps.
enum { POV_OK = 0, POV_NO_FILE = 2, POV_WRITE_FAILED = 3 };

// Hand numbers of qPovWriteBezier besides an object number.
enum { POV_LEFT_HAND = -13, POV_RIGHT_HAND = -15 };

// The include file that declares the juggler figure, and the figure's object name.
#define POV_FIGURE_INCLUDE "Vizuziro.inc"
#define POV_FIGURE_OBJECT "maleJuggler"

// The directory of the home directory that holds the include files the scene names.
#define POV_INCLUDE_DIRECTORY "pov/"

extern PovFiles povFiles;

void qPovExport(const PovView &view);
int qPovOpenFiles(const PovView &view);
int qPovWriteHeader(const PovView &view);
int qPovWriteJugglers();
int qPovWriteObjects();
void qPovWriteBezier(const double *const points[4], double radius, double start, double end, int number);
std::string qPovDeclareName(int number);
std::string qPovShortName(const char *name, int counter);
void qWriteMpegParams();
void qPovCloseFiles();
// Where POV-Ray finds the include files: the home directory's include directory.
std::string povIncludeDirectory();
// The frame-number pattern of the .par file for frames 0 to finalFrame, as POV-Ray names them.
const char *povFrameDigits(int finalFrame);
