// Camera navigation: the orbit camera turned, zoomed and moved by drags and movement keys, the
// follow view aimed at the current object, the chooser's grid cursor and the light controls.
#include "ui/camera.h"

#include <cmath>

#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/vecmath.h"
#include "pattern/store.h"
#include "scene/vrml/modeltree.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "ui/keys.h"
#include "ui/modes.h"

int rotationDrift[2];
double azimuthStep = 0.00025;
int16_t lightTurn = 30, lightReach = 200, walkTurn = 0, walkReach = 500;

// Chooser grid cursor: the shape of the last row.
static int chooserLastRow = 0, chooserLastRowCount = 0;

static double clamp(double v, double low, double high) { return v < low ? low : v > high ? high : v; }

void stopCameraRotation() { rotationDrift[0] = rotationDrift[1] = 0; }

void mouseCamera(int kind) {
  if (qMode.benchmark) return;
  if (kind == 2) {
    azimuthStep = 0.00025 * qPrefs.mousespeed;
  } else if (kind == 1) {
    qCameraHook();
  } else {
    qMode.dragX = qMode.dragY = qMode.button1 = qMode.button2 = 0;
  }
  if (frameKey == 127) {
    stopCameraRotation();
    return;
  }
  rotationDrift[0] += qMode.dragX;
  rotationDrift[1] = qMode.dragY;
  CameraState &c = cameraState;
  if (qMode.button1) c.distance = clamp(c.distance + rotationDrift[1] * 0.0075, 0.5, 50);
  else if (qMode.button2) c.zoom = clamp(c.zoom * (1 - rotationDrift[1] * 0.0015), 40, 1500);
  else c.elevation += rotationDrift[1] * 0.005;
  c.azimuth += rotationDrift[0] * azimuthStep;
}

int keyCameraTranslation() {
  qViewResetHook();
  const CameraState &c = cameraState;
  const double *along = qMode.moveKeys[4] ? c.viewDir : c.up;
  double factor = qMode.moveKeys[2] ? -0.1 : qMode.moveKeys[3] ? 0.1 : 0;
  if (qMode.moveKeys[1] || qMode.moveKeys[0]) {
    along = c.side;
    factor = qMode.moveKeys[1] ? -0.1 : 0.1;
  }
  if (factor == 0) return 1;
  double step[3];
  for (int i = 0; i < 3; i++) step[i] = factor * along[i];
  if (step[0] == 0 && step[1] == 0 && step[2] == 0) return 1;
  for (int i = 0; i < 3; i++) cameraState.lookAt[i] -= step[i];
  return 0;
}

void mouseCameraTranslation() {
  qCameraHook();
  const double k = 0.0033;
  const CameraState &c = cameraState;
  const double *along = qMode.button1 ? c.viewDir : c.up;
  double total[3];
  for (int i = 0; i < 3; i++) total[i] = -qMode.dragX * k * c.side[i] + qMode.dragY * k * along[i];
  if (total[0] == 0 && total[1] == 0 && total[2] == 0) return;
  for (int i = 0; i < 3; i++) cameraState.lookAt[i] -= total[i];
}

// A cosine from rounded or capped lengths may lie a little outside -1..1; it counts as the end.
double angleFromCosine(double s, double c) {
  c = clamp(c, -1, 1);
  return s > 0 ? acos(c) : 2 * PI - acos(c);
}

// The current object's position: its node in VRML mode, its flying placement in classic mode.
static bool currentObjectPosition(double out[3]) {
  if (qPrefs.vrml) return sceneObjectPosition(currentObjectLetter, out);
  if (!flyingPlacements || !currentObjectLetter) return false;
  for (const Placement *p = flyingPlacements; p->model != PLACEMENT_END_FLYING; p++) {
    if ((p->letter & 0xFF) != uint8_t(currentObjectLetter)) continue;
    out[0] = p->x * 0.001;
    out[1] = p->y * 0.001;
    out[2] = p->z * 0.001;
    return true;
  }
  return false;
}

// Every output starts as the free camera's value and keeps it where the follow view gives
// none: no target, an eye on the target (no direction), or an eye straight above it (no azimuth).
void followCurrentObject(int *track, double lookAtOut[3], double *elevationOut, double *azimuthOut,
                         double *distanceOut) {
  const CameraState &c = cameraState;
  for (int i = 0; i < 3; i++) lookAtOut[i] = c.lookAt[i];
  *elevationOut = c.elevation;
  *azimuthOut = c.azimuth;
  *distanceOut = c.distance;
  if (qMode.view != VIEW_CLOSE) trackCurrentObject(track);
  double target[3];
  if (!currentObjectPosition(target)) return;
  double d[3] = {c.eye[0] - target[0], c.eye[1] - target[1], c.eye[2] - target[2]};
  double h = sqrt(d[0] * d[0] + d[1] * d[1]);
  double dist = sqrt(h * h + d[2] * d[2]);
  for (int i = 0; i < 3; i++) lookAtOut[i] = target[i];
  if (!(dist > 0)) return;
  *distanceOut = dist;
  *elevationOut = angleFromCosine(h / dist, d[2] / dist);
  if (h > 0) *azimuthOut = angleFromCosine(d[1] / h, d[0] / h);
}

void resetChooserCursor() {
  chooserColumn = 2;
  chooserRow = 4;
  chooserLastRow = chooserLastRowCount = 0;
}

// One axis of the cursor: past +-70 it moves a cell, at the grid's edge it stays at the edge.
static void stepCursor(int16_t &offset, int &cell, int last) {
  if (offset < -70) {
    if (cell == 0) offset = -70;
    else {
      offset = 0;
      cell--;
    }
  } else if (offset > 70) {
    if (cell == last) offset = 70;
    else {
      offset = 0;
      cell++;
    }
  }
}

int moveChooserCursor(int *rowOffsetOut, int16_t *cursorX, int16_t *cursorY) {
  qSetMode(uint32_t(MOVE_ROTATE), 0);
  qCameraHook();
  if (chooserLastRow == 0) {
    int n = chooserEntryCount();
    chooserLastRow = n / 4;
    chooserLastRowCount = n - 4 * chooserLastRow;
  }
  *cursorX = int16_t(*cursorX + qMode.dragX);
  *cursorY = int16_t(*cursorY + qMode.dragY);
  stepCursor(*cursorX, chooserColumn, 3);
  stepCursor(*cursorY, chooserRow, chooserLastRow);
  *rowOffsetOut = std::min(chooserRow - 2, chooserLastRow - 1);
  bool filled = chooserRow < chooserLastRow || chooserColumn < chooserLastRowCount;
  return (qMode.main == MAIN_CHOOSER_PICK || qMode.button1 == 1) && filled ? -1 : 0;
}

static int16_t clampReach(int v) { return int16_t(v < -500 ? -500 : v > 500 ? 500 : v); }

// The light from the drag: the middle button moves its place, Shift-left the spot's radius, a
// plain drag its direction and distance.
static void steerLight() {
  LightState &l = lightState;
  if (qMode.button1) {
    walkTurn = int16_t(walkTurn - qMode.dragX);
    walkReach = clampReach(walkReach + qMode.dragY);
    double a = walkTurn * 0.01, r = 2.5 - walkReach * 2.5 / 500;
    l.xOffset = int16_t(trunc(cos(a) * r * 1000));
    l.yOffset = int16_t(trunc(sin(a) * r * 1000));
  } else if (qMode.button2) {
    double v = clamp(l.spotRadius * 0.001 - qMode.dragY * 0.001, 0.05, 0.75);
    l.spotRadius = int16_t(trunc(v * 1000));
  } else {
    lightTurn = int16_t(lightTurn + qMode.dragX);
    lightReach = clampReach(lightReach + qMode.dragY);
    double a = lightTurn * 0.01;
    l.distance = int16_t(trunc((1 - lightReach / 500.0) * 1000));
    l.angle = encodeAngle(-a - PI / 2);
  }
}

void walkControlFromMouse() {
  qCameraHook();
  steerLight();
}

void lightFromDrag() {
  qCameraHook();
  if (qMode.dragX || qMode.dragY) steerLight();
}

// The inverse of the plain drag's formulas, to the nearest counter values: the light angle a
// counts as the middle of its 1/2048 turn, and lightTurn stays within half a turn of 0.
void lightControlsFollowLight() {
  lightReach = clampReach(int(std::lround((1000 - lightState.distance) / 2.0)));
  double a = -PI / 2 - (lightState.angle + 0.5) * 2 * PI / 2048;
  lightTurn = int16_t(std::lround(std::remainder(a, 2 * PI) * 100));
}
