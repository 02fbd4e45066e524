// Juggler figures, floor and panorama: loads the floor and its properties, chooses and loads one
// figure per juggler from the juggler lists, and turns each figure's head toward its highest throw.
#include "scene/figures.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/random.h"
#include "core/tclthreads.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "core/vecmath.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "scene/kinematics.h"
#include "scene/objects.h"
#include "scene/textread.h"
#include "scene/textures.h"
#include "core/uistate.h"
#include "scene/vrml/modeltree.h"

int figuresLoaded;
int panoramaCircleCount;
int panoramaOwnFigures;
int invisibleJugglers;
int orderCursor;

void resetFigureState() {
  figuresLoaded = 0;
  panoramaCircleCount = 0;
  panoramaOwnFigures = 0;
  gravityTimeScale = 1.0;
  invisibleJugglers = 0;
}

static int jugglerCount() { return qInternal[QINTERNAL_JUGGLERS]; }

// ---- floor and panorama -------------------------------------------------------------------------

static std::string panoramaPath(const char *file) {
  std::string ground = backslashToSlash(qPrefs.ground);
  return ground.empty() ? std::string("pano/") + file : "pano/" + ground + "/" + file;
}

static void applyPanoramaProperties(FILE *f) {
  std::string line;
  while (readLine(f, line, 98)) {
    if (line.empty()) continue;
    if (line[0] == 'a') panoramaCircleCount = 1;
    if (line[0] == 'w') panoramaOwnFigures = 1;
    if (line[0] != 'g') continue;
    const char *text = line.size() > 2 ? line.c_str() + 2 : "";
    char *end;
    double g = strtod(text, &end);
    // A gravity so small that the time scale overflows is refused like one that is no number.
    if (end == text || !std::isfinite(g) || g <= 0 || !std::isfinite(9.81 / g)) {
      qMsg(QMSG_ERROR, localText(122), text);
      continue;
    }
    gravity = g;
    gravityTimeScale = sqrt(9.81 / g);
  }
}

int Boden_laden(int kind) {
  std::string path;
  if (kind == 1) path = "b/floor" + std::to_string(qMode.benchmark);
  else path = panoramaPath("Karoboden");
  if (Objektdatei_laden(path.c_str(), 0, 0, 0, 0, 0, OBJ_FIXED) == LOAD_FAILED) return 1100;
  firstObjectInstance++;
  if (qPrefs.vrml && qScene) {
    qScene->objectIndex = 0;
    qScene->number = 0;
    for (int i = 0; i < 3; i++) qScene->position[i] = qScene->angles[i] = 0;
    qScene->letter = 0;
  }
  FILE *properties = openRegularFile(panoramaPath("properties.dat").c_str());
  if (properties) {
    applyPanoramaProperties(properties);
    fclose(properties);
  }
  return 0;
}

// ---- juggler lists ------------------------------------------------------------------------------

int readListCount(FILE *&file, const char *listName) {
  std::string line;
  if (file && readLine(file, line, 99)) {
    char *end;
    long count = strtol(line.c_str(), &end, 10);
    if (end != line.c_str() && count >= -32768 && count <= 32767) return int(count);
    qMsg(QMSG_ERROR, localText(601), listName);
  }
  if (file) fclose(file);
  file = nullptr;
  return -42;
}

static bool skipLines(FILE *file, int n) {
  std::string line;
  for (int i = 0; i < n; i++)
    if (!readLine(file, line, 0)) return false;
  return true;
}

int skipListSections(FILE *&file, const char *listName, int sections) {
  for (int s = 0; s < sections; s++) {
    int count = readListCount(file, listName);
    if (count == -42) return 1;
    if (!skipLines(file, count)) {
      fclose(file);
      file = nullptr;
      return 2;
    }
  }
  return 0;
}

// Skips n lines and takes the first word of the next as the model "o/basic/<word>"; a negative n
// only closes the file.
static const char *takeModel(FILE *&file, int n) {
  static char model[MODEL_NAME_SIZE];
  std::string line;
  bool ok = file && n >= 0 && skipLines(file, n) && readLine(file, line, 0);
  if (file) fclose(file);
  file = nullptr;
  if (!ok) return nullptr;
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return nullptr;
  std::string word = line.substr(start, line.find_first_of(" \t", start) - start);
  if (word.size() + 8 >= sizeof model) return nullptr;
  snprintf(model, sizeof model, "o/basic/%s", backslashToSlash(word).c_str());
  return model;
}

static int randomPick(int count) { return int(long(qRandom()) * count / 32768); }

// A random line of the section whose count line comes next.
static const char *randomInSection(FILE *&file, const char *listName) {
  int count = readListCount(file, listName);
  if (count <= 0) {
    if (file) fclose(file);
    file = nullptr;
    return nullptr;
  }
  return takeModel(file, randomPick(count));
}

static const char *fromShirtSections(FILE *&file, const char *listName, int c1) {
  if (!skipLines(file, c1 > 0 ? c1 : 0)) return takeModel(file, -1);
  int c2 = readListCount(file, listName);
  if (c2 == -42 || !skipLines(file, c2 > 0 ? c2 : 0)) return takeModel(file, -1);
  int c3 = readListCount(file, listName);
  if (c3 == -42) return nullptr;
  c1 = c1 > 0 ? c1 : 0;
  c2 = c2 > 0 ? c2 : 0;
  int shirts = tshirt_count > 0 ? tshirt_count : 0;
  int total = c1 + c2 + (c3 > 0 ? c3 : 0) * shirts;
  if (total <= 0) return takeModel(file, -1);
  int h = randomPick(total);
  if (h >= c1 + c2) {
    int s = h - c1 - c2;
    const char *model = takeModel(file, s / shirts);
    if (model) loadShirtTextures(s % shirts);
    return model;
  }
  rewind(file);
  if (readListCount(file, listName) == -42) return nullptr;
  if (h < c1) return takeModel(file, h);
  if (!skipLines(file, c1) || readListCount(file, listName) == -42) return takeModel(file, -1);
  return takeModel(file, h - c1);
}

static const char *randomFigure(FILE *&file, const char *listName, bool shirts) {
  int c1 = readListCount(file, listName);
  if (c1 == -42) return nullptr;
  if (panoramaOwnFigures || panoramaCircleCount > 0) {
    int skip = panoramaOwnFigures ? 3 : panoramaCircleCount > 1 ? 5 : 4;
    if (!panoramaOwnFigures) panoramaCircleCount++;
    rewind(file);
    if (skipListSections(file, listName, skip)) return nullptr;
    return randomInSection(file, listName);
  }
  if (shirts) return fromShirtSections(file, listName, c1);
  if (c1 <= 0) return takeModel(file, -1);
  return takeModel(file, randomPick(c1));
}

static const char *orderedFigure(FILE *&file, const char *listName) {
  int c1 = readListCount(file, listName);
  if (c1 == -42) return nullptr;
  if (c1 <= 0) return takeModel(file, -1);
  if (orderCursor >= c1 || orderCursor < 0) orderCursor = 0;
  if (panoramaCircleCount > 0) panoramaCircleCount++;  // the next figure of the circle turns on
  return takeModel(file, orderCursor++);
}

const char *chooseJugglerModel(double heading) {
  static char chosen[MODEL_NAME_SIZE];
  if (qMode.benchmark) {
    snprintf(chosen, sizeof chosen, "b/juggler%d", qMode.benchmark);
    return chosen;
  }
  std::string listName = "list_of_Oldjugglers";
  bool random = false, shirts = false;
  if (qPrefs.vrml) {
    if (heading == INVISIBLE_HEADING) {
      invisibleJugglers++;
      return "o/basic/invisibleJuggler";
    }
    shirts = qPrefs.displayFlags == 8;
    if (qPrefs.jugglerlist == 1) {
      listName = "list_of_VRMLQjugglers";
    } else {
      FILE *selector = openRegularFile("list_of_VRMLjugglers");
      if (!selector) {
        qMsg(QMSG_ERROR, localText(40), "list_of_VRMLjugglers");
        return nullptr;
      }
      random = getc(selector) == 'r';
      fclose(selector);
      listName = std::string("list_of_VRMLjugglers.") + (random ? "random" : "order");
    }
  }
  FILE *file = openRegularFile(listName.c_str());
  if (!file) {
    qMsg(QMSG_ERROR, localText(40), listName.c_str());
    return nullptr;
  }
  const char *model = random ? randomFigure(file, listName.c_str(), shirts) : orderedFigure(file, listName.c_str());
  if (file) fclose(file);
  return model;
}

int Mensch_laden(const double position[3], double heading) {
  reportProgress(0);
  int figures = panoramaCircleCount == 0 ? 1 : panoramaCircleCount == 1 ? 3 : 2;
  for (int i = 0; i < figures; i++) {
    if (figuresLoaded >= MAX_FIGURES) {
      qMsg(QMSG_ERROR, localText(751), MAX_FIGURES);
      return 60301;
    }
    double p[3] = {position[0], position[1], position[2]};
    if (panoramaCircleCount) {
      int jugglers = jugglerCount() > 0 ? jugglerCount() : 1;
      p[0] = p[1] = p[2] = 0;
      heading = (panoramaCircleCount - 1) * 360.0 / (2 * jugglers);
    }
    const char *chosen = chooseJugglerModel(heading);
    if (!chosen) {
      qMsg(QMSG_ERROR, "%s", localText(717));
      return 612;
    }
    std::string name = chosen;
    if (Objektdatei_laden(name.c_str(), firstObjectInstance, p[0], p[1], p[2], heading, OBJ_FIGURE) == LOAD_FAILED) {
      qMsg(QMSG_ERROR, localText(716), name.c_str());
      return 613;
    }
    if (qPrefs.vrml && fileRootNode) fileRootNode->labelNumber = figuresLoaded - 1;
    firstObjectInstance++;
  }
  return 0;
}

// ---- throw heights and head angles --------------------------------------------------------------

double maxThrowHeight(int juggler) {
  double highest = 1.9;
  if (!flugbahn) return highest;
  for (int o = 0; o < objekte && o < MAX_OBJECTS; o++) {
    if (!flugbahn[o]) continue;
    for (int s = 0; s <= paraz[o]; s++) {
      const Flugbahn &b = flugbahn[o][s];
      int column = Hand(b.handbis, 0);
      if (!(b.flag & FB_FREE_FLIGHT) || (column != 2 * juggler && column != 2 * juggler + 1)) continue;
      double t = b.t_apex;
      double z = b.X0[2] + b.V[2] * t + b.az * t * t / 2;
      if (z > highest) highest = z;
    }
  }
  return highest;
}

double *headAngles(double dz, double dx, double dy) {
  static double angles[3];
  const double down = 0.39269908169872414, up = -0.6283185307179586;
  double tilt;
  if (dz <= -0.2) tilt = down;
  else if (dz >= 2) tilt = up;
  else if (dz < 0) tilt = dz / -0.2 * down;
  else tilt = dz / 2 * up;
  angles[0] = tilt;
  angles[1] = 0;
  angles[2] = dx >= 0 ? -atan2(dy, dx) : atan2(dy, -dx) + PI;
  return angles;
}

void rotateAboutHeadAxis(const double angles[3], const double p[3], double out[3]) {
  if (angles[1] != 0) {
    qMsg(QMSG_INFO, "%s", localText(1000));
    return;
  }
  double ca = cos(angles[0]), sa = sin(angles[0]), cc = cos(angles[2]), sc = sin(angles[2]);
  out[0] = (cc * cc + ca * sc * sc) * p[0] + (ca - 1) * sc * cc * p[1] + sa * sc * p[2];
  out[1] = (ca - 1) * sc * cc * p[0] + (sc * sc + ca * cc * cc) * p[1] + sa * cc * p[2];
  out[2] = -sa * sc * p[0] - sa * cc * p[1] + ca * p[2];
}

static int16_t toMillimetres(double metres) {
  double mm = std::trunc(metres * 1000);
  return int16_t(mm > 32767 ? 32767 : mm < -32768 ? -32768 : mm);
}

// Turns the head points of figure g (after both hands' points) toward its highest throw.
static void tiltFigureHead(int g, int16_t *shape) {
  int h = handPointCount[g], k = headPointCount[g];
  int first = 2 * h;
  if (k < 2 || first + k > shape[SHAPE_POINT_COUNT]) {
    quoitPos[g].headTilt = 0;
    return;
  }
  int16_t *points = shape + SHAPE_POINTS;
  auto point = [&](int i, double p[3]) {
    for (int c = 0; c < 3; c++) p[c] = points[3 * i + c] * 0.001;
  };
  double a[3], b[3], neck[3];
  double lowest = 100000.0;
  for (int i = first; i < first + k; i++) {
    point(i, a);
    lowest = fmin(lowest, a[2]);
  }
  point(first, a);
  point(first + 1, b);
  neck[0] = (a[0] + b[0]) / 2;
  neck[1] = (a[1] + b[1]) / 2;
  neck[2] = lowest - 0.1;
  double v[3];
  double *angles = headAngles(maxThrowHeight(g) - neck[2], a[0] - b[0], a[1] - b[1]);
  for (int c = 0; c < 3; c++) v[c] = angles[c];
  quoitPos[g].headTilt = v[0];
  for (int i = first; i < first + k; i++) {
    double p[3], turned[3];
    point(i, p);
    for (int c = 0; c < 3; c++) p[c] -= neck[c];
    rotateAboutHeadAxis(v, p, turned);
    for (int c = 0; c < 3; c++) points[3 * i + c] = toMillimetres(turned[c] + neck[c]);
  }
}

void setHeadUpAngles() {
  if (qPrefs.vrml) {
    for (int j = 0; j < jugglerCount() && j < MAX_JUGGLERS; j++) {
      double tilt = headAngles(maxThrowHeight(j) - invKinTable[j].head[2], 0.5, 0.5)[0];
      if (invKinTable[j].joint[INVKIN_HEAD_UP]) *invKinTable[j].joint[INVKIN_HEAD_UP] = tilt * -57.29577951;
      quoitPos[j].headTilt = tilt;
    }
    return;
  }
  int g = 0;
  for (int i = 0; i < firstObjectInstance && i < INSTANCE_MAX && g < MAX_FIGURES; i++) {
    int index = objectInstanceList[i];
    if (index < 0) break;
    int16_t *shape = index < LOO_MAX ? objectShapes[index] : nullptr;
    if (!shape || shape[SHAPE_ROTATION] != -1) continue;
    tiltFigureHead(g, shape);
    g++;
  }
  for (; g < MAX_FIGURES; g++) quoitPos[g].headTilt = UNSET_DOUBLE;
}

// In VRML mode the figures standing in the scene, else the figures loaded for the pattern.
int jugglerModelCount() {
  if (!qPrefs.vrml) return figuresLoaded;
  int count = 0;
  for (const ObjectNode *n = qScene; n; n = n->next) count += (n->flags & NODE_JUGGLER) && !(n->flags & NODE_HIDDEN);
  return count;
}
