// Placements: the angle encoding, the flying list of the juggled objects at the scene time, the
// figures' hand points, the fixed placements of jugglers and single objects, the chooser grid and the
// flight path of the current object written as an object file.
#include "scene/placements.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "core/userfiles.h"
#include "core/Tcl.h"
#include "core/stopwatch.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/utils.h"
#include "core/vecmath.h"
#include "pattern/clock.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "core/viewrecords.h"
#include "core/uistate.h"

static Placement floorOnlyList[2] = {{0, 0, 0, 0, 0, 0, 0, 0}, {PLACEMENT_END_FLYING, 0, 0, 0, 0, 0, 0, 0}};
Placement *flyingPlacements = floorOnlyList;

// Object rows the pattern's block has room for (it holds them, the floor and the end record).
static int blockRows;

// The floor record, 20 models, one cursor record and the end record.
static Placement chooserGrid[CHOOSER_COLUMNS * CHOOSER_ROWS + 3];

int16_t packMillimetres(double metres) {
  double mm = std::trunc(metres * 1000);
  if (std::isnan(mm)) return 0;
  if (mm < -32768) return -32768;
  return mm > 32767 ? 32767 : int16_t(mm);
}

// A millimetre value kept within 16 bits (not a number gives 0).
static int16_t clampMillimetres(double mm) {
  if (std::isnan(mm)) return 0;
  return int16_t(std::clamp(mm, -32768.0, 32767.0));
}

static void setPosition(Placement *p, const double metres[3]) {
  p->x = packMillimetres(metres[0]);
  p->y = packMillimetres(metres[1]);
  p->z = packMillimetres(metres[2]);
}

void showPatternFlyingList() {
  if (flyingObjects) {
    flyingPlacements = flyingObjects;
    return;
  }
  blockRows = 0;
  flyingPlacements = floorOnlyList;
}

void showFloorOnlyFlyingList() { flyingPlacements = floorOnlyList; }

void qAddRadiusOffset(Placement *p) {
  const double *v = Objekt_Radiusvektor(p->model, decodeAngle(p->angleY), decodeAngle(p->angleZ));
  p->x = clampMillimetres(p->x + std::trunc(v[0] * 1000));
  p->y = clampMillimetres(p->y + std::trunc(v[1] * 1000));
  p->z = clampMillimetres(p->z + std::trunc(v[2] * 1000));
}

int segmentIndex(int o, double t, int restart) {
  int last = std::clamp(paraz[o], 0, segmentRowLength - 1);
  if (!restart) return std::clamp(objectCursor[o], 0, last);
  int i = 0;
  while (i < last && t > flugbahn[o][i].t_to) i++;
  return i;
}

void segmentPoint(const Flugbahn &s, double d, double f, double point[3], double direction[3]) {
  if (s.flag & FB_HOLD_Z) {
    bezierPoint(s.B0, s.B1, s.B2, s.B3, f, point);
    double ahead[3];
    bezierPoint(s.B0, s.B1, s.B2, s.B3, f + 0.05, ahead);
    vectorDifference(direction, ahead, point);
    return;
  }
  for (int k = 0; k < 3; k++) {
    point[k] = s.X0[k] + s.V[k] * d;
    direction[k] = s.V[k];
  }
  point[2] += s.az * d * d / 2;
  direction[2] += s.az * d;
}

// The close-follow camera sits 0.65 m behind the current object, looking along its path.
static void placeCloseFollowEye(const Placement &p, double direction[3]) {
  if (!(vectorLength(direction) > 0)) return;
  normalizeVector(direction);
  const double at[3] = {p.x * 0.001, p.y * 0.001, p.z * 0.001};
  for (int k = 0; k < 3; k++) cameraState.eye[k] = at[k] - 0.65 * direction[k];
}

void appendSegmentLine(std::string &text, int letter, const Flugbahn &s, int index, double yDegrees, double zDegrees,
                       double d) {
  static const struct {
    uint32_t flag;
    char letter;
  } flags[] = {{FB_BOUNCE_PENDING, 'd'}, {FB_FORCED_BOUNCE, 'f'}, {FB_BOUNCE, 'b'}, {FB_PASS, 'P'}, {FB_HOLD_Z, 'z'},
               {FB_MIRRORED, 'g'}, {FB_SPIN_TURN, '2'}, {FB_HOLD, 'h'}, {FB_FREE_FLIGHT, 'p'}};
  char letters[10];
  for (int k = 0; k < 9; k++) letters[k] = s.flag & flags[k].flag ? flags[k].letter : '-';
  letters[9] = '\0';
  char line[100];
  snprintf(line, sizeof line, "%c:#%2d(%s)%4.0f\260%4.0f\260%5.2f\n", letter, index, letters, yDegrees, zDegrees, d);
  text += line;
}

// Row o at time t into *p; the segment's index, d and its direction for the follow camera and the trace.
static const Flugbahn &placeRow(Placement *p, int o, double t, int wrapped, int restart, int *index, double *d,
                                double direction[3]) {
  double f = 0;
  *d = prepareScene(&t, 0, &wrapped, SCENE_OBJECT, restart, o, &f);
  *index = segmentIndex(o, t, restart);
  const Flugbahn &s = flugbahn[o][*index];
  *p = Placement{int16_t(objectModelForRow(o)), 0, 0, 0, 0, 0, 0, 0};
  double point[3];
  segmentPoint(s, *d, f, point, direction);
  setPosition(p, point);
  p->angleZ = encodeAngle(s.W[1] + s.Wp[1] * *d);
  if (s.flag & FB_FREE_FLIGHT) {
    p->angleY = encodeAngle(s.W[0] + s.Wp[0] * *d);
  } else {
    double turned = *d < s.t_apex ? *d : 2 * s.t_apex - *d;  // the turn about y runs back after the apex
    p->angleY = encodeAngle(s.W[0] + s.Wp[0] * turned);
    qAddRadiusOffset(p);
  }
  p->letter = int16_t((unsigned char)Objektbuchstaben[o]);
  return s;
}

// Every hand's points of its figure follow the hand's path at time t.
static void moveHands(double t, int wrapped) {
  if (!handbahn || takte < 0) return;
  for (int j = 0; j < 2 * jugglers && j < handCount && j < MAX_HANDS; j++) {
    int g = j / 2;
    if (g >= MAX_FIGURES) break;
    int model = objectInstanceList[g + 1];
    if (model < 0 || model >= LOO_MAX || !objectShapes[model]) continue;
    double f = 0;
    prepareScene(&t, 0, &wrapped, SCENE_HAND, 0, j, &f);
    const Handbahn &h = handbahn[j][std::clamp(handCursor[j], 0, takte)];
    double point[3];
    bezierPoint(h.B0, h.B1, h.B2, h.B3, f, point);
    int16_t *shape = objectShapes[model];
    int count = std::clamp(handPointCount[g], 0, int(MAX_HAND_POINTS));
    int first = j % 2 ? count : 0;
    for (int k = 0; k < count && first + k < shape[SHAPE_POINT_COUNT]; k++) {
      int16_t *out = shape + SHAPE_POINTS + 3 * (first + k);
      for (int c = 0; c < 3; c++) out[c] = packMillimetres(point[c] + handTemplate[g][k][c]);
    }
  }
}

// Object rows that may be written from out on: the flying list holds as many as its block has room
// for; a caller's own list has room for every row.
static int roomFrom(const Placement *out) {
  if (out != flyingPlacements + 1) return MAX_OBJECTS;
  return flyingPlacements == flyingObjects ? blockRows : 0;
}

int qComputeObjectPositions(Placement *out, double step, double t, double *position, int row) {
  int wrapped = 0;
  prepareScene(&t, step, &wrapped, SCENE_CLOCK, t != 0 ? SCENE_STILL : SCENE_ADVANCE, 0, nullptr);
  if (!out) return 0;
  int rows = flugbahn && segmentRowLength > 0 ? std::min({objekte, int(MAX_OBJECTS), position ? int(MAX_OBJECTS) : roomFrom(out)}) : 0;
  int from = row >= 0 ? row : 0;
  int to = row >= 0 ? std::min(row + 1, rows) : rows;
  bool trace = !position && jugglerViewCounter == 1;
  std::string text;
  if (trace) {
    char head[64];
    snprintf(head, sizeof head, "%5.2f          Ywin Zwin  t\n\n", t);
    text = head;
  }
  int restart = position != nullptr;
  for (int o = from; o < to; o++) {
    int index;
    double d, direction[3];
    const Flugbahn &s = placeRow(out, o, t, wrapped, restart, &index, &d, direction);
    if (position) {
      position[0] = out->x * 0.001;
      position[1] = out->y * 0.001;
      position[2] = out->z * 0.001;
      return 0;
    }
    if (qMode.view == VIEW_CLOSE && currentObjectLetter && Objektbuchstaben[o] == currentObjectLetter)
      placeCloseFollowEye(*out, direction);
    if (trace)
      appendSegmentLine(text, out->letter & 0xff, s, index, out->angleY / 2048.0 * 360, out->angleZ / 2048.0 * 360, d);
    out++;
    out->model = PLACEMENT_END_FLYING;
  }
  out->model = PLACEMENT_END_FLYING;
  if (trace) qTextOutput(text.c_str(), to - from, 32, 1);
  moveHands(t, wrapped);
  return 0;
}

int qPlaceJugglers() {
  if (allocPatternData()) {
    qMsg(QMSG_INFO, "%s", localText(12));
    return 31;
  }
  blockRows = objekte;
  for (int j = 0; j < jugglers && j < MAX_JUGGLERS && j + 1 < loadedObjectCount; j++) {
    Placement p{int16_t(j + 1), 0, 0, 0, 0, 0, encodeAngle(quoitPos[j].ZWinkel), 0};
    if (instanceOrigins) {
      p.x = instanceOrigins[j + 1].x;
      p.y = instanceOrigins[j + 1].y;
      p.z = instanceOrigins[j + 1].z;
    }
    sceneObjectList(&p, 2);
  }
  flyingObjects[0] = Placement{0, 0, 0, 0, 0, 0, 0, 0};
  flyingObjects[1].model = PLACEMENT_END_FLYING;
  showPatternFlyingList();
  return 0;
}

static int chooserModelCount() {
  int n = 0;
  while (n < LOO_MAX && chooserModels[n] >= 0) n++;
  return n;
}

int qBuildObjectChooser(int page, int wanted, int turn) {
  Placement *p = chooserGrid;
  *p++ = Placement{0, 0, 0, 0, CHOOSER_FLOOR_Z, 0, 0, 0};
  int count = chooserModelCount();
  page = std::clamp(page, -int(CHOOSER_ROWS), count);  // a page past either end shows an empty grid
  int entry = page >= 0 ? CHOOSER_COLUMNS * page : 0;
  int k = page >= 0 ? 0 : -page;
  int16_t angleY = int16_t((0u - unsigned(turn)) & 0x7ff);
  int16_t angleZ = int16_t((turn / 16) & 0x7ff);
  for (int i = 0; entry < count && k < CHOOSER_ROWS && objekt_geladen; entry++) {
    int m = chooserModels[entry];
    if (m >= LOO_MAX || !(objekt_geladen[m].flags & OBJ_CHOOSABLE)) continue;
    *p = Placement{int16_t(m), 0, int16_t((i - 1) * CHOOSER_SPACING - 350), 0, int16_t((2 - k) * CHOOSER_SPACING),
                   ObjektEigenschaft(m, -17, 2) ? angleY : int16_t(0), angleZ, 0};
    if (k == chooserRow - page && i == chooserColumn) {
      if (chooserCursorModel > 0) {
        p[1] = Placement{int16_t(chooserCursorModel), 0, p->x, p->y, p->z, 0, 0, 0};
        p++;
      }
      if (wanted) wanted = m;
    }
    p++;
    if (++i == CHOOSER_COLUMNS) {
      i = 0;
      k++;
    }
  }
  p->model = PLACEMENT_END_FLYING;
  flyingPlacements = chooserGrid;
  return wanted;
}

int qPlaceObject(const char *name, const double position[3], double a, double b, double c) {
  int index = findLoadedObject(name);
  if (index < 0) {
    int loaded = Objektdatei_laden(name, -1, 0, 0, 0, 0, OBJ_FIXED);
    if (loaded == LOAD_FAILED) return 1;  // the loader has said why
    index = loaded >= 0 ? loaded : loadedObjectCount - 1;
  }
  Placement p{int16_t(index), encodeAngle(a), 0, 0, 0, encodeAngle(b), encodeAngle(c), 0};
  setPosition(&p, position);
  return sceneObjectList(&p, 2);
}

int qRemoveObject(const char *name) {
  int index = findLoadedObject(name);
  if (index < 0) {
    qMsg(QMSG_INFO, localText(362), name);
    return 1;
  }
  int placed = 0;
  for (int i = 0; sceneObjects && i < sceneObjectCount - 1; i++) placed += sceneObjects[i].model == index;
  Placement p{int16_t(index), 0, 0, 0, 0, 0, 0, 0};
  int result = 0;
  for (int i = 0; i < std::max(placed, 1) && result == 0; i++) result = sceneObjectList(&p, 3);
  return result;
}

// A cycle of hours keeps its path within memory: at most MAX_CYCLE_SAMPLES, the step grows instead.
int pathSamplesPerCycle() {
  double samples = std::trunc(t_zyklus * 20);
  if (!(samples >= 1)) return 1;
  return samples > double(MAX_CYCLE_SAMPLES) ? int(MAX_CYCLE_SAMPLES) : int(samples);
}

void forEachPathSample(int object, int count, double step, const std::function<void(int i, int object, double t)> &sample) {
  int period = pathSamplesPerCycle();
  double t = 0.01;
  for (int i = 0; i < count; i++) {
    if (i != 0 && i % period == 0) {
      object = wrapPartnerObject(object, 1);
      t = 0.01;
    }
    sample(i, object, t);
    t += step;
  }
}

static void writePathPoints(std::string &text, int r, int n, double dt) {
  forEachPathSample(r, n, dt, [&text](int, int object, double t) {
    Placement one;
    double p[3] = {0, 0, 0};
    qComputeObjectPositions(&one, 0, t, p, object);
    text += formatText("%6.3f %6.3f %6.3f\n", p[0], p[1], p[2]);
  });
}

// The file's comment line names the object; it stays one comment line whatever the local text holds.
static void writeCommentLine(std::string &text, char letter) {
  char line[128];
  snprintf(line, sizeof line, localText(723), letter);
  line[strcspn(line, "\r\n")] = '\0';
  text += formatText("! %s\n", line);
}

// The clock's object cursors where the play direction starts them.
static void resetObjectCursors() {
  for (int o = 0; o < objekte && o < MAX_OBJECTS; o++) objectCursor[o] = qMode.speed > 0 ? 0 : paraz[o];
}

int qWritePathObject(const char *path, int n, double dt) {
  char letter = currentObjectLetter;
  int r = Objekt_Nummer(letter);
  if (!flugbahn || r < 0 || r >= objekte) return 1;
  n = std::max(n, 0);
  int colour = ObjektEigenschaft(0, r, 1);
  int speed = qMode.speed;
  qMode.speed = 100;
  const char *status = localText(366);
  qStatusText(status, 1, 0x602);
  std::string text;
  writeCommentLine(text, letter);
  text += formatText("*\n%d POINTS\n", n);
  writePathPoints(text, r, n, dt);
  text += formatText("%d LINES\n", n);
  for (int j = 0; j < n; j++) text += formatText("(%d 0) %d %d\n", colour, j, (j + 1) % n);
  stopWatch(0);  // the time spent here is not played
  qMode.speed = speed;
  resetObjectCursors();
  // Through a temporary file, so a link in the temporary directory is replaced, never followed.
  if (!replaceOwnFileAtomically(path, text)) {
    qMsg(QMSG_INFO, localText(41), path);
    return 1;
  }
  return 0;
}
