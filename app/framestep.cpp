// The per-frame simulation step, the status texts after each frame, the lap timer and the timers that end
// a benchmark or advance a timed show.
#include "app/framestep.h"

#include <GL/gl.h>

#include <cmath>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "app/benchmark_report.h"
#include "app/patternloop.h"
#include "core/prefs.h"
#include "core/vecmath.h"
#include "app/startup.h"
#include "pattern/clock.h"
#include "pattern/store.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/vrmlscene.h"
#include "ui/camera.h"
#include "ui/editor.h"
#include "ui/keys.h"
#include "ui/modes.h"
#include "ui/screens.h"
#include "ui/walkingeditor.h"

int frameCounter;
int wrapFlag;
double previousAnimationTime;

static const double UNSET = 1717.1717;
static const int64_t FLAG_BIT33 = 0x200000000LL;

static int benchmarkStarted;
static double benchmarkStart;

static double realSeconds() {
  uint32_t s, us;
  frameStepTime(&s, &us);
  return s + us * 0.000001;
}

uint16_t packDistance(double metres) {
  double mm = std::trunc(metres * 1000);
  if (!(mm > 0)) return 0;  // also NaN
  return mm > 65535 ? 65535 : uint16_t(mm);
}

int64_t viewStatusWord() {
  uint32_t s = 0;
  int64_t flags = qMode.flags, display = qMode.display;
  if (flags & FLAG_BIT33) s |= 1;
  if (flags & 0x100000) s |= 2;
  if (displayModeClass(display) == 0) s |= uint32_t(qPrefs.sh_kind & 7) << 2;
  if (display & 4) s |= 4;
  if (flags & 0x800000) s |= 0x80;
  if (display == 6) s |= 0x200;
  if (wrapFlag) s |= 0x400;
  if (nextObjectRequest) s |= 0x800;
  if (flags & 0x10000000) s |= 0x1000;
  if (display == 8) s |= 0x2000;
  if (display == 2) s |= 0x10000;
  s |= uint32_t(keyTableState & 3) << 30;
  return int64_t(int32_t(s));
}

// The juggler of a one-shot preset, or null when no figure of that number is loaded.
static const QuoitPosRecord *presetJuggler(int j) {
  if (j < 1 || j > qInternal[QINTERNAL_JUGGLERS] || j > MAX_JUGGLERS) return nullptr;
  const QuoitPosRecord *p = &quoitPos[j - 1];
  return p->headTilt == UNSET ? nullptr : p;
}

static void serveViewPreset() {
  if (const QuoitPosRecord *p = presetJuggler(qMode.viewPreset)) {
    for (int i = 0; i < 3; i++) cameraState.lookAt[i] = p->reference[i];
    cameraState.distance = 2.5;
    cameraState.zoom = 180;
    cameraState.azimuth = 1.0;
    cameraState.elevation = 1.0;
  }
  qMode.viewPreset = 0;
}

// The view from the juggler's eyes: the eye stands half a look-at distance in front of the head,
// 0.5 m above the reference point, and looks along the heading, tilted with the head. The figures'
// heads stand above their base point; the reference point lies 0.4 m behind it, so only its height
// is taken.
static void serveCameraPreset() {
  rotationDrift[0] = rotationDrift[1] = 0;
  if (const QuoitPosRecord *p = presetJuggler(qMode.cameraPreset)) {
    double h = p->ZWinkel, e = p->headTilt, c = cos(e) * 0.25;
    cameraState.distance = 0.25;
    cameraState.zoom = 150;
    cameraState.lookAt[0] = p->base[0] + cos(h) * 1.5 * c;
    cameraState.lookAt[1] = p->base[1] + sin(h) * 1.5 * c;
    cameraState.lookAt[2] = p->reference[2] + 0.5 - sin(e) * 0.25;
    cameraState.elevation = PI / 2 - e;
    cameraState.azimuth = h + PI;
  }
  qMode.cameraPreset = 0;
}

// In move mode 0x300 the camera only keeps its drift and the 3D window's drags steer the light;
// without a drag the light keeps what the remote's panel set.
void moveCamera() {
  if (qMode.move == 0x300) {
    mouseCamera(0);
    lightFromDrag();
  } else if (chooserState != 1) {
    int keysMovedNothing = keyCameraTranslation();
    if (qMode.move == 0x200) {
      if (keysMovedNothing) mouseCameraTranslation();
    } else {
      mouseCamera(1);
    }
  }
}

static void cameraVectors() {
  CameraState &c = cameraState;
  computeEyePosition(c.eye);
  c.side[0] = -sin(c.azimuth);
  c.side[1] = cos(c.azimuth);
  c.side[2] = 0;
  const double *up = crossProduct(c.side, c.viewDir);
  for (int i = 0; i < 3; i++) c.up[i] = up[i];
}

static void poseScene() {
  int wrapStep = wrapFlag;
  wrapFlag = WRAP_NONE;  // the flag says "wrapped in this frame"
  if (chooserState == 1) {
    selectObjectInBox();
    return;
  }
  trackCurrentObject(&wrapStep);
  if (qPrefs.vrml) {
    if (buildScene(qScene, 0, 0, nullptr, -1)) restartRequest = 1;
  } else {
    qComputeObjectPositions(flyingPlacements + 1, 0, 0, nullptr, -1);
  }
  viewState.flying = flyingPlacements;
  if (WRAP) wrapFlag = cycleWrapFlag(previousAnimationTime, simTime, qMode.speed);
}

int cycleWrapFlag(double previousTime, double time, int speed) {
  if (speed > 0 && time < previousTime) return WRAP_FORWARD;
  if (speed <= 0 && time > previousTime) return WRAP_BACKWARD;
  return WRAP_NONE;
}

void servePresets() {
  if (qMode.viewPreset) serveViewPreset();
  if (qMode.cameraPreset) serveCameraPreset();
}

void packViewState() {
  double lookAt[3], elevation, azimuth, distance;
  if (qMode.view == 0x800 || qMode.view == 0xC00) {
    int track = 0;
    followCurrentObject(&track, lookAt, &elevation, &azimuth, &distance);
  } else {
    for (int i = 0; i < 3; i++) lookAt[i] = cameraState.lookAt[i];
    elevation = cameraState.elevation;
    azimuth = cameraState.azimuth;
    distance = cameraState.distance;
  }
  viewState.x = packMillimetres(lookAt[0]);
  viewState.y = packMillimetres(lookAt[1]);
  viewState.z = packMillimetres(lookAt[2]);
  viewState.elevation = encodeAngle(elevation);
  viewState.azimuth = encodeAngle(azimuth);
  viewState.radius = packDistance(distance);
  viewState.zoom = int16_t(std::trunc(cameraState.zoom));
  viewState.status = viewStatusWord();
}

int advanceFrame() {
  if (!qMode.benchmark) keyCommand(17, 0);
  servePresets();
  previousAnimationTime = simTime;
  if (!qMode.benchmark) moveCamera();
  qStatusHook();
  cameraVectors();
  toggleHelperObjects();
  bool choosing = chooserState == 1;  // the chooser sets the view itself
  poseScene();
  if (!choosing) packViewState();
  resetViewOffsets();
  benchmarkTimer();
  autoAdvanceTimer();
  return 1;
}

// The real time since the previous frame in 1/50 s; a time that went back (a new pattern) counts
// from one cycle later.
int timeMeterValue(double elapsed) {
  static double previous;
  double t = std::trunc((elapsed - previous) * 50);
  if (t < 0) t += std::trunc(takte * dt * 50);
  previous = elapsed;
  return std::isfinite(t) && std::fabs(t) < 1e9 ? int(t) : 0;
}

static void showHelpScreen() {
  if (qMode.main == 0x50) ShowEditorHelp();
  else if (qMode.main == 0x60) ShowWalkingEditorHelp();
  else help_anzeigen();
}

static void messageLine(const char *text) { qStatusText(text, 3, 0x201); }

static void showStatusTexts() {
  if (qDisplay.timeMeter) qLoadHook(timeMeterValue(realTimeTotal));
  if (qDisplay.speedMeter) qSpeedHook(qMode.speed);
  if (qMode.flags & 0x2000000) showFullStatus();
  if (qMode.main == 0x50) {
    qFullStatusEditor();
    messageLine(editState == 4488 ? localText(2622) : localText(2404));
    qStatusText(editorHint, 3, 0x204);
  }
  if (qMode.benchmark) {
    messageLine(localText(211));
  } else if (qMode.move == 0x200) {
    messageLine(localText(206));
  } else if (qMode.move == 0x300) {
    messageLine(localText(207));
  } else if (qMode.move != 0x100) {
    qMsg(QMSG_ERROR, localText(45), int(qMode.move), "qAfterRendering():qMode.move");
  }
  switch (qDisplay.statusline) {
    case 0: break;
    case 1: qStatusText(Mustertitel, 1, 0x204); break;
    case 2: qStatusText(currentPatternFile.c_str(), 1, 0x204); break;
    default: qMsg(QMSG_ERROR, localText(45), qDisplay.statusline, "qAfterRendering():qDisplay.statusline");
  }
}

void qAfterRendering(int) {
  if (qDisplay.help) showHelpScreen();
  else if (chooserState != 1) showStatusTexts();
  qFrameCountHook();
  if (qMode.benchmark) benchmarkFrameShown(frameCounter);
  frameCounter++;
  qAfterFrameHook();
}

void benchmarkTimer() {
  if (!qMode.benchmark) return;
  double now = realSeconds();
  if (!benchmarkStarted) {
    benchmarkStarted = 1;
    benchmarkStart = now;
  } else if (now - benchmarkStart > 15) {
    nextPatternAction = ACTION_QUIT;
    restartRequest = 1;
  }
}

void autoAdvanceTimer() {
  double t = realTimeTotal;
  if (randomInterval > 0 && randomInterval < t) {
    nextPatternAction = ACTION_RANDOM;
    restartRequest = 1;
  }
  if (orderInterval > 0 && orderInterval < t) {
    nextPatternAction = ACTION_NEXT;
    restartRequest = 1;
  }
}

