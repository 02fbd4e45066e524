// POV-Ray and MPEG parameter export: every moving thing of one cycle is written as POV-Ray code
// that computes its place from the clock (flights as parabolas, holds and hand moves as cubic
// Bezier curves); models, colours and the figure come from the include files the scene names.
#include "scene/povexport.h"

#include <locale.h>

#include <cctype>
#include <cmath>
#include <ctime>

#include "core/Tcl.h"
#include "core/userfiles.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/utils.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/classic_renderer.h"
#include "scene/objects.h"

PovFiles povFiles;

// Free names are looked for up to this counter; a short name has room for five digits.
enum { POV_COUNTER_LIMIT = 99999, POV_SHORT_NAME_CHARS = 5, POV_SHORT_DIGITS = 5, POV_FRAME_LIMIT = 999999 };

#define POV_STATISTICS_FILE "qUoItaNiM.oUt"

// Pattern file names reach INI and parameter files that are read line by line and word by word:
// only letters, digits and ". _ - +" are kept.
static std::string safeFileNode(const char *node) {
  std::string safe = node;
  for (char &c : safe)
    if (!isalnum(uint8_t(c)) && c != '.' && c != '_' && c != '-' && c != '+') c = '_';
  return safe;
}

std::string qPovShortName(const char *name, int counter) {
  std::string digits;
  const char *p = name;
  while (isdigit(uint8_t(*p)) && digits.size() < POV_SHORT_DIGITS) digits += *p++;
  if (*p) p++;
  std::string part = (digits + p).substr(0, POV_SHORT_NAME_CHARS);
  std::string number = formatText("%d", counter);
  size_t room = number.size() < POV_SHORT_NAME_CHARS ? POV_SHORT_NAME_CHARS - number.size() : 0;
  return part.substr(0, room) + number;
}

std::string qPovDeclareName(int number) {
  if (number == POV_RIGHT_HAND) return "    #declare righthand";
  if (number == POV_LEFT_HAND) return "    #declare lefthand";
  return formatText("    #declare QU_%d", number);
}

int qPovOpenFiles(const PovView &view) {
  PovFiles &f = povFiles;
  f.patternBase = safeFileNode(qGetFileNode(view.patternFile.c_str(), 1));
  const std::string &out = qPrefs.povout;
  bool shortNames = qPrefs.povShortNames != 0;
  int counter = 0;
  for (;; counter++) {
    f.sceneBase = shortNames ? qPovShortName(f.patternBase.c_str(), counter)
                             : formatText("%s_%d", f.patternBase.c_str(), counter);
    f.povName = out + f.sceneBase + ".pov";
    f.iniName = out + f.sceneBase + (shortNames ? ".ini" : "_.ini");
    if (counter == POV_COUNTER_LIMIT || (!nameTaken(f.povName.c_str()) && !nameTaken(f.iniName.c_str()))) break;
  }
  qStatusText(formatText(localText(900), f.povName.c_str()).c_str(), 1, 0x202);
  f.pov = createNewFile(f.povName.c_str());
  if (!f.pov) {
    qMsg(QMSG_ERROR, localText(901), f.povName.c_str());
    return POV_NO_FILE;
  }
  f.ini = createNewFile(f.iniName.c_str());
  if (!f.ini) {
    qMsg(QMSG_ERROR, localText(901), f.iniName.c_str());
    fclose(f.pov);
    f.pov = nullptr;
    remove(f.povName.c_str());
    return POV_NO_FILE;
  }
  qSleep(150);
  return POV_OK;
}

// A step that could not write all it wrote (a full disk) ends the export.
static int streamResult() {
  bool failed = false;
  for (FILE *file : {povFiles.pov, povFiles.ini}) failed = fflush(file) != 0 || ferror(file) || failed;
  return failed ? POV_WRITE_FAILED : POV_OK;
}

// The film covers recordTakts takts, or one cycle when that is 0.
static double filmSeconds() {
  int record = qInternal[QINTERNAL_RECORD_TAKTS];
  if (record <= 0 || takte <= 0) return t_zyklus;
  return t_zyklus / takte * record;
}

// A film of one frame would make POV-Ray render a still without a frame number, so there are
// always at least two.
static int finalFrameOf(double seconds) {
  double frames = std::trunc(seconds * qPrefs.freq);
  if (!(frames >= 1)) return 1;
  return frames > double(POV_FRAME_LIMIT) ? int(POV_FRAME_LIMIT) : int(frames);
}

std::string povIncludeDirectory() {
  const std::string &home = qPrefs.homeDirectory;
  if (home.empty()) return POV_INCLUDE_DIRECTORY;
  return home + (home.back() == '/' ? "" : "/") + POV_INCLUDE_DIRECTORY;
}

int qPovWriteHeader(const PovView &view) {
  PovFiles &f = povFiles;
  if (qInternal[QINTERNAL_RECORD_TAKTS] == 0) qMsg(QMSG_INFO, "%s", localText(905));
  double clockEnd = filmSeconds();
  f.finalFrame = finalFrameOf(clockEnd);
  f.width = (qPrefs.width + 8) & ~7;
  f.height = (qPrefs.height + 4) & ~3;
  const char *out = qPrefs.povout.c_str();

  fprintf(f.ini, ";;\n;; %s;;\n\n", localText(902));
  fprintf(f.ini, "Input_File_Name=%s\n", f.povName.c_str());
  fprintf(f.ini, "Initial_Frame=%d\nFinal_Frame=%d\n\n", 0, f.finalFrame);
  fprintf(f.ini, "Initial_Clock=0\nFinal_Clock=%f\n\n", clockEnd);
  fprintf(f.ini, "Cyclic_Animation=on\nPause_when_Done=off\nOutput_File_Type=P\nOutput_File_Name=%s%s_\n", out,
          f.sceneBase.c_str());
  fprintf(f.ini,
          "\nWidth=%d    ;; same as Quoit 3D window but divisible by 8\n"
          "Height=%d    ;; same as Quoit 3D window but divisible by 4\n",
          f.width, f.height);
  fprintf(f.ini, "\nLibrary_Path=%s   ;; set as povout in quoit.prefs\n", out);
  fprintf(f.ini, "Library_Path=%s   ;; the include files of quoit\n", povIncludeDirectory().c_str());

  fprintf(f.pov, "//\n// Persistance of vision raytracer version 3.0\n//\n// %s//\n", localText(903));
  fprintf(f.pov,
          "\n// %s\n// #declare Quoit_NoAnim = 1\n\n/* global settings */\n#version 3.0\nglobal_settings {\n"
          " assumed_gamma 2.2\n}\n\n#declare RANDOM = seed(%ld)\n#include \"colors.inc\"\n#include \"shapes.inc\"\n"
          "#include \"textures.inc\"\n#include \"QuoitCol.inc\"\n#include \"QuoitObj.inc\"\n#include \"QuoitWld.inc\"\n\n",
          localTextLine(904).c_str(), long(time(nullptr) & 0x7fffffff));

  // The film sees what the window's frustum sees at the frame's width and height: POV-Ray's angle
  // is the horizontal one, the right vector gives the frame's shape and so the same height.
  double eye[3];
  for (int i = 0; i < 3; i++) eye[i] = view.lookAt[i] - view.distance * view.viewDir[i];
  WindowFrustum seen = windowFrustum(f.width, f.height, view.zoom);
  fprintf(f.pov,
          "/* the camera */\ncamera {\n  sky <0,0,1>\n  right <-%d/%d, 0.0, 0.0>\n  location < %f , %f , %f >\n"
          "  look_at  < %f , %f , %f >\n  angle degrees(2 * atan2( %f , %f ))\n}\n\n",
          f.width, f.height, eye[0], eye[1], eye[2], view.lookAt[0], view.lookAt[1], view.lookAt[2],
          seen.halfWidth * 1000, seen.nearPlane * 1000);

  // The main light stands where the window's light stands: its distance in 1/100 m, 10 m up.
  double d = view.lightDistance * 0.01;
  double a = -(view.lightAngle / 2048.0 * 2 * M_PI) - M_PI / 2;
  double x = cos(a) * d, y = sin(a) * d;
  fprintf(f.pov,
          "/* the light sources */\n\nlight_source {< %f , %f , %f > color White} /* Main light source */\n\n"
          "/* other light sources */\n\nlight_source {< %f , %f , %f > color Gray30 shadowless}\n"
          "light_source {< %f , %f , %f > color Gray30 shadowless}\n\n\n",
          x, y, 10.0, x * -0.342 - y * 0.9396, y * -0.342 + x * 0.9396, 20.0, x * -0.342 + y * 0.9396,
          y * -0.342 - x * 0.9396, 20.0);

  // Times past the cycle (a film of more takts than one cycle) show the cycle again.
  fprintf(f.pov,
          "/* set time to clock if no anim was selected */\n\n#ifdef(Quoit_NoAnim)\n  #declare maintime=%f\n#else\n"
          "  #declare maintime=clock\n#end\n#declare maintime=mod(maintime, %f)\n\n",
          view.time, t_zyklus);
  fprintf(f.pov, "default{\n  pigment { Yellow }\n  finish{ ambient 0.1}\n}\n\n");
  return streamResult();
}

void qPovWriteBezier(const double *const P[4], double radius, double start, double end, int number) {
  FILE *pov = povFiles.pov;
  double length = end - start;
  if (length > 0) fprintf(pov, "    #declare tv    = time/%f\n", length);
  else fprintf(pov, "    #declare tv    = 0\n");
  fprintf(pov,
          "    #declare emt   = 1.0-tv\n    #declare emt2  = emt*emt\n    #declare emtm3 = 3.0*emt\n"
          "    #declare t2    = tv*tv\n    #declare tm3   = 3.0*tv\n");
  std::string name = qPovDeclareName(number);
  for (int k = 0; k < 3; k++) {
    fprintf(pov, "%s%c = emt2*(emt*(%f)+tm3*(%f))+t2*(emtm3*(%f)+tv*(%f))", name.c_str(), "xyz"[k], P[0][k], P[1][k],
            P[2][k], P[3][k]);
    // The held object's centre lies one radius from the hand point, along its spin axis.
    if (radius == 0) fputc('\n', pov);
    else if (k == 0) fprintf(pov, " - (%f)*sin(radians(QU_%dyr))*cos(radians(QU_%dzr))\n", radius, number, number);
    else if (k == 1) fprintf(pov, " - (%f)*sin(radians(QU_%dyr))*sin(radians(QU_%dzr))\n", radius, number, number);
    else fprintf(pov, " - (%f)*cos(radians(QU_%dyr))\n", radius, number);
  }
}

// The segments a #switch shows: from the first up to the first one that reaches the cycle end,
// never fewer than one; count is how many a chain has at most.
template <typename Segment, typename Used>
static int segmentsToWrite(const Segment *chain, int count, Used used) {
  int n = 0;
  while (n < count && used(chain[n])) {
    n++;
    if (chain[n - 1].t_to >= t_zyklus) break;
  }
  return n;
}

static void writeHandSegment(const Handbahn &segment, int number) {
  const double *const points[4] = {segment.B0, segment.B1, segment.B2, segment.B3};
  fprintf(povFiles.pov, "    #declare time=maintime-(%f)\n", segment.t_from);
  qPovWriteBezier(points, 0, segment.t_from, segment.t_to, number);
}

// One hand of juggler p as the variables <side>handx, y, z relative to the figure. Every time
// declares them: the #else branch repeats the chain's first segment, or holds the hand at the
// figure's origin when the hand has no chain.
static void writeHand(int p, int hand, int number) {
  FILE *pov = povFiles.pov;
  fprintf(pov, "#switch (maintime)\n");
  const Handbahn *chain = handbahn && hand < handCount ? handbahn[hand] : nullptr;
  int n = chain ? segmentsToWrite(chain, takte + 1, [](const Handbahn &s) { return s.t_from <= t_zyklus; }) : 0;
  double reference[3], heading;
  handPathOrigin(p, reference, &heading);
  for (int s = 0; s <= n; s++) {
    Handbahn segment = n > 0 ? chain[s < n ? s : 0] : Handbahn{0, 0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    if (qPrefs.vrml && n > 0) Handbahn_abs2rel(&segment, -heading, reference);
    if (s < n) fprintf(pov, "  #range ( %f , %f )\n", segment.t_from, segment.t_to);
    else fprintf(pov, "  #else\n");
    writeHandSegment(segment, number);
    if (s < n) fprintf(pov, "  #break\n");
  }
  fprintf(pov, "#end\n");
}

int qPovWriteJugglers() {
  FILE *pov = povFiles.pov;
  fprintf(pov, "\n/* The jugglers */\n\n");
  for (int p = 0; p < jugglers && p < MAX_JUGGLERS; p++) {
    double tilt = quoitPos[p].headTilt == UNSET_DOUBLE ? 0 : quoitPos[p].headTilt;
    fprintf(pov, "/* person no. %d */\n\n#declare JugglerHeadAngle = degrees(%f)\n\n", p, tilt);
    writeHand(p, 2 * p, POV_LEFT_HAND);
    writeHand(p, 2 * p + 1, POV_RIGHT_HAND);
    double reference[3], heading;
    handPathOrigin(p, reference, &heading);
    fprintf(pov, "#include \"%s\"\nobject{ %s\n  rotate degrees(%f)*z\n  translate< %f , %f , %f >\n}\n\n",
            POV_FIGURE_INCLUDE, POV_FIGURE_OBJECT, heading, reference[0], reference[1], reference[2]);
  }
  return streamResult();
}

// Spin and position of object n in one segment.
static void writeObjectSegment(int n, const Flugbahn &s, bool allAxes, bool ball, double radius) {
  FILE *pov = povFiles.pov;
  fprintf(pov, "    #declare time=maintime-(%f)\n", s.t_from);
  fprintf(pov, "    #declare QU_%dxr = degrees( %f + (%f) * time)\n", n, 0.0, 0.0);
  if (!allAxes) {
    fprintf(pov, "    #declare QU_%dyr = 0\n", n);
  } else if (s.flag & FB_FREE_FLIGHT) {
    fprintf(pov, "    #declare QU_%dyr = degrees( %f + (%f) * time)\n", n, s.W[0], s.Wp[0]);
  } else {
    // The turn runs back after the apex.
    fprintf(pov, "    #if(time < %f )\n      #declare QU_%dyr = degrees( %f + (%f) * time)\n    #else\n", s.t_apex, n,
            s.W[0], s.Wp[0]);
    fprintf(pov, "      #declare QU_%dyr = degrees( %f + (%f) * (%f-time))\n    #end\n", n, s.W[0], s.Wp[0],
            2 * s.t_apex);
  }
  fprintf(pov, "    #declare QU_%dzr = degrees( %f + (%f) * time)\n", n, s.W[1], s.Wp[1]);
  if (s.flag & FB_HOLD_Z) {
    // A ball sits on the hand point, its centre one radius above it (its shape stores the radius
    // negative); every other model lies along its spin axis.
    const double *const points[4] = {s.B0, s.B1, s.B2, s.B3};
    qPovWriteBezier(points, ball ? 0 : radius, s.t_from, s.t_to, n);
    if (ball && radius != 0) fprintf(pov, "    #declare QU_%dz = QU_%dz + (%f)\n", n, n, -radius);
  } else {
    fprintf(pov,
            "    #declare QU_%dx = %f + time * %f\n    #declare QU_%dy = %f + time * %f\n"
            "    #declare QU_%dz = %f + time * %f + time * time * 0.5 * %f\n",
            n, s.X0[0], s.V[0], n, s.X0[1], s.V[1], n, s.X0[2], s.V[2], s.az);
  }
}

// A model name inside a comment: "*/" would end the comment early.
static std::string commentSafe(const char *name) {
  std::string text = name;
  for (char &c : text)
    if (c == '*') c = '_';
  return text;
}

int qPovWriteObjects() {
  FILE *pov = povFiles.pov;
  fprintf(pov, "/* Here are the parabolas for the flying objects */\n\n");
  int rows = objekte < MAX_OBJECTS ? objekte : MAX_OBJECTS;
  for (int n = 0; flugbahn && n < rows; n++) {
    fprintf(pov, "/* Object number %d */\n#switch (maintime)\n", n);
    bool allAxes = ObjektEigenschaft(0, n, 2) == 1;
    bool ball = (ObjektEigenschaft(0, n, 3) & SHAPE_SINGLE_SPHERE) != 0;
    double radius = ObjektEigenschaft(0, n, 4) * 0.001;
    int last = paraz[n] < segmentRowLength ? paraz[n] : segmentRowLength - 1;
    const Flugbahn *chain = flugbahn[n];
    int count = segmentsToWrite(chain, last + 1, [](const Flugbahn &) { return true; });
    // Times the chain does not reach take its first segment, as the window does before a chain.
    for (int s = 0; s <= count && count > 0; s++) {
      const Flugbahn &segment = chain[s < count ? s : 0];
      if (s < count) fprintf(pov, "  #range ( %f , %f )\n", segment.t_from, segment.t_to);
      else fprintf(pov, "  #else\n");
      writeObjectSegment(n, segment, allAxes, ball, radius);
      if (s < count) fprintf(pov, "  #break\n");
    }
    fprintf(pov, "#end\n\n");
  }
  for (int i = 0; i < rows; i++) {
    int model = objectModelForRow(i);
    bool known = objekt_geladen && model >= 0 && model < loadedObjectCount;
    std::string name = known ? commentSafe(objekt_geladen[model].name) : std::string("?");
    int number = known ? objekt_geladen[model].objektnummer : 0;
    fprintf(pov,
            "/* Object %d (%s)*/\nobject { QU_%d  rotate < QU_%dxr , QU_%dyr , QU_%dzr > "
            "translate < QU_%dx , QU_%dy , QU_%dz >}\n",
            i, name.c_str(), number, i, i, i, i, i, i);
  }
  return streamResult();
}

const char *povFrameDigits(int finalFrame) {
  int frames = finalFrame + 1;
  if (frames <= 9) return "%d";
  if (frames <= 99) return "%02d";
  if (frames <= 999) return "%03d";
  if (frames <= 9999) return "%04d";
  if (frames <= 99999) return "%05d";
  return "%06d";
}

void qWriteMpegParams() {
  const PovFiles &f = povFiles;
  const char *out = qPrefs.povout.c_str();
  std::string parName = qPrefs.povout + f.patternBase + ".par";
  std::string text = localText(303);
  text += qPrefs.povout + f.sceneBase + "_" + povFrameDigits(f.finalFrame) + "\n";
  text += formatText("-\n-\n-\n%s%s\n2\n%d\n", out, POV_STATISTICS_FILE, f.finalFrame + 1);
  text += formatText("0\n00:00:00:00\n12\n3\n1\n0\n%d\n%d\n", f.width, f.height);
  text += formatText("8\n3\n%d\n20\n0\n1\n4\n8\n1\n1\n1\n5\n5\n5\n%d\n%d\n", qPrefs.abitrate, f.width, f.height);
  text += "0\n0\n1 1 1\n0 0 0\n0 0 0\n0 0 0\n0 0 0\n";
  text += "0\n1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n2 2 11 11\n";
  text += "1 1 3  3\n1 1 7  7\n1 1 7  7\n1 1 3  3\n";
  // The parameter file of a pattern is made again by each export, but never through a link.
  FILE *par = createOwnFile(parName.c_str());
  bool written = par && fputs(text.c_str(), par) >= 0;
  if (par) written = fclose(par) == 0 && written;
  if (!written) {
    qMsg(QMSG_INFO, localText(302), parName.c_str());
    return;
  }
  const char *done = localText(363);
  qStatusText(done, 1, 0x104);
  std::string film;
  numberedFileName(film, 0, NUMBERED_POVRAY, "mpg");
  // -D: POV-Ray renders the frames into their files only, without a preview of each.
  qMsg(QMSG_INFO, "\n> povray %s -D\n> mpeg2encode %s %s\n> mpeg_play -loop -quiet -controls off %s\n", f.iniName.c_str(),
       parName.c_str(), film.c_str(), film.c_str());
}

void qPovCloseFiles() {
  PovFiles &f = povFiles;
  for (FILE **file : {&f.ini, &f.pov}) {
    if (!*file) continue;
    bool failed = ferror(*file) != 0;
    failed = fclose(*file) != 0 || failed;
    *file = nullptr;
    if (failed) qMsg(QMSG_ERROR, localText(41), file == &f.ini ? f.iniName.c_str() : f.povName.c_str());
    qFileDoneHook();
  }
}

void qPovExport(const PovView &view) {
  if (!flugbahn || !handbahn || !(t_zyklus > 0)) {
    qMsg(QMSG_ERROR, localText(46), "no pattern is loaded", "qPovExport()");
    return;
  }
  // Every number goes out with a '.' whatever the program's locale.
  locale_t numbers = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
  locale_t previous = numbers ? uselocale(numbers) : locale_t(0);
  if (qPovOpenFiles(view) == POV_OK) {
    if (qPovWriteHeader(view) == POV_OK && qPovWriteJugglers() == POV_OK && qPovWriteObjects() == POV_OK)
      qWriteMpegParams();
    qPovCloseFiles();
  }
  if (numbers) {
    uselocale(previous);
    freelocale(numbers);
  }
}
