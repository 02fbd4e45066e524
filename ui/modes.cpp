// Mode machine: every user action ends in qSetMode, which changes qMode or runs a one-shot trigger.
#include "ui/modes.h"

#include <GL/gl.h>

#include <cstdio>
#include <string>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/runstate.h"
#include "core/prefs.h"
#include "core/utils.h"
#include "pattern/catalogue.h"
#include "pattern/clock.h"
#include "pattern/fitting.h"
#include "pattern/objectpaths.h"
#include "pattern/rewriter.h"
#include "pattern/siteswaps.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/povexport.h"
#include "ui/camera.h"
#include "ui/editor.h"
#include "ui/glut_windows.h"
#include "ui/menus.h"
#include "ui/remote.h"
#include "ui/screens.h"

int clockBeatValue = -12345;

// The camera distance before the close follow view, put back when it is left.
static double closeViewDistance = 17.17;

static void clearAccumulationBuffer() { glClear(GL_ACCUM_BUFFER_BIT); }
// The temporary directory belongs to the start-up, which puts its own clearing here.
static void keepTempDirectory() {}

// The export of the current pattern as the camera shows it.
static void exportPovScene() {
  PovView view;
  view.patternFile = currentPatternFile;
  for (int i = 0; i < 3; i++) {
    view.lookAt[i] = cameraState.lookAt[i];
    view.viewDir[i] = cameraState.viewDir[i];
  }
  view.distance = cameraState.distance;
  view.zoom = cameraState.zoom;
  view.lightDistance = lightState.distance;
  view.lightAngle = lightState.angle;
  view.time = simTime;
  qPovExport(view);
}

ModeCalls modeCalls = {
    qGlutRemakeMenu,      qGlutShowWindows,   qGlutqrcsubDisplay,        qGlutSetTitle,
    toggleFlightPathDisplay, toggleHandPathDisplay, placeRandomObject, leaveObjectChooser,
    restoreObjectShapes,  keepTempDirectory,  Flugbahnen_anpassen,       StartEditor,
    EndEditor,            SelectNextEditorObject, qGlutSaveImageAfterFrame, exportPovScene,
    saveSiteswap,         writeStartNotation, Musterdatei_modif,         qStatusText,
    clearAccumulationBuffer, setStatusLineTitle,
};

static int64_t joinHalves(uint32_t low, uint32_t high) { return int64_t((uint64_t(high) << 32) | low); }

static void unknownValue(int64_t value, const char *function) {
  qMsg(QMSG_DEBUG, "%s: value 0x%llx\n", function, (unsigned long long)value);
  qMsg(QMSG_ERROR, localText(45), int(value), function);
}

int gifRecordingAvailable(int) { return 0; }

static void setFlagBits(int64_t bits, bool on) {
  if (on) qMode.flags |= bits;
  else qMode.flags &= ~bits;
}

static void SetDisplayMode(int64_t mode) {
  if (qPrefs.vrml && mode == 6) return;
  if (mode == qMode.display) {
    qMode.display = 1;
  } else {
    qMode.display = mode;
    if (mode == 6) setFlagBits(FLAG_MIRROR, false);
  }
  if (displayModeClass(qMode.display)) {
    qPrefs.sh_kind = 0;
    setFlagBits(FLAG_SHADOWS, false);
  }
}

static void chooserOn() {
  std::string message = std::string(localText(218)) + localText(219);
  qMsg(QMSG_INFO, "%s", message.c_str());
  chooserState = 1;
  savedChooserDisplay[0] = qMode.display;
  savedChooserDisplay[1] = qMode.flags;
  qSetModeValue(MOVE_WALK, 0, 0, 0);
  setFlagBits(FLAG_SHADOWS, false);
  if (qMode.display == 7 || qMode.display == 2) {
    qMode.display = 1;
    qPrefs.sh_kind = 0;
  }
  modeCalls.flightPaths(2);
  modeCalls.clearTemp();
  modeCalls.restoreShapes();
  sceneObjectList(nullptr, 6);
  qDisplay.help = 0;
  setFlagBits(FLAG_FULL_STATUS | FLAG_LETTERS, false);
  qMode.main = MAIN_CHOOSER;
}

static void chooserOff() {
  modeCalls.leaveChooser();
  sceneObjectList(nullptr, 5);
  qMode.main = 0;
  modeCalls.redrawPanel();
}

static void leavePick() {
  modeCalls.leaveChooser();
  sceneObjectList(nullptr, 5);
  modeCalls.adjustFlights();
  qMode.main = 0;
  modeCalls.remakeMenu();
}

static bool inEditor() { return qMode.main == MAIN_SCENE_EDITOR || qMode.main == MAIN_WALKING_EDITOR; }

// An editor is left through its own ending, which may ask the user and keep it running.
int leaveMainMode() {
  if (qMode.main == MAIN_CHOOSER || chooserState == 1) {
    chooserOff();
    modeCalls.remakeMenu();
  } else if (qMode.main == MAIN_CHOOSER_PICK) {
    leavePick();
  } else if (inEditor()) {
    modeCalls.endEditor();
    if (inEditor()) {
      qMsg(QMSG_DEBUG, "the editor stays: the command waits until it is left\n");
      return 1;
    }
  }
  return 0;
}

static void startEditor(int64_t value) {
  qMode.main = value;
  if (int result = modeCalls.startEditor()) {
    qMsg(QMSG_DEBUG, "StartEditor()=%d: the editor is not started\n", result);
    qMode.main = 0;
  }
}

static void SetMainMode(int64_t value) {
  switch (value) {
    case MAIN_PATTERN_DIALOG:
      if (qMode.main == MAIN_CHOOSER || leaveMainMode()) return;
      nextPatternAction = ACTION_DIALOG;
      restartRequest = 2;
      patternStepped = 0;
      modeCalls.showWindows(0);
      return;
    case MAIN_CHOOSER:
      if (inEditor()) {
        leaveMainMode();
      } else if (chooserState == 0) {
        chooserOn();
      } else {
        chooserOff();
      }
      modeCalls.remakeMenu();
      return;
    case MAIN_QUIT:
      nextPatternAction = ACTION_QUIT;
      restartRequest = 1;
      return;
    case MAIN_SCENE_EDITOR:
    case MAIN_WALKING_EDITOR:
      if (qMode.main == value) qMode.main = 0;
      else if (qMode.main == 0) startEditor(value);
      else leaveMainMode();
      modeCalls.remakeMenu();
      return;
    case MAIN_CHOOSER_PICK:
      if (qMode.main == MAIN_CHOOSER_PICK) {
        leavePick();
        return;
      }
      if (qMode.main == MAIN_CHOOSER) restoreChooserDisplay();
      qMode.main = MAIN_CHOOSER_PICK;
      return;
    default:
      unknownValue(value, "SetMainMode()");
  }
}

static void SetMoveMode(int64_t value) {
  if (value == MOVE_WALK) {
    qMode.move = qMode.move == MOVE_WALK ? MOVE_ROTATE : MOVE_WALK;
    modeCalls.redrawPanel();
  } else if (value == MOVE_PAN) {
    if (qMode.move == MOVE_PAN) {
      qMode.move = MOVE_ROTATE;
      return;
    }
    qMode.move = MOVE_PAN;
    stopCameraRotation();
    std::string message = localTextLine(206) + " :\n" + localText(220) + localText(221);
    qMsg(QMSG_INFO, "%s", message.c_str());
  } else {
    qMode.move = value;
  }
}

static void SetViewMode(int64_t value) {
  if (chooserState == 1) return;
  if (value == VIEW_CLOSE) {
    if (qMode.view != VIEW_CLOSE) {
      closeViewDistance = cameraState.distance;
      cameraState.distance = 0.5;
    } else {
      cameraState.distance = closeViewDistance;
    }
  }
  qMode.view = qMode.view == value ? VIEW_FREE : value;
}

static void cycleStatusLine() {
  qDisplay.statusline = (qDisplay.statusline + 1) % 3;
  if (qDisplay.statusline) modeCalls.statusLineTitle();
}

// Toggles one flag bit with what goes with it; false when the bit is refused now.
static bool toggleFlag(int64_t bit) {
  if ((bit == FLAG_SHADOWS || bit == FLAG_MIRROR) && qMode.display == 6) return false;
  if (bit == FLAG_HEIGHT_SCALE && chooserState == 1) return false;
  qMode.flags ^= bit;
  bool on = (qMode.flags & bit) != 0;
  if (bit == FLAG_METERS) {
    qDisplay.timeMeter = !qDisplay.timeMeter;
    qDisplay.speedMeter = !qDisplay.speedMeter;
  } else if (bit == FLAG_STATUSLINE) {
    cycleStatusLine();
  } else if (bit == FLAG_MOTION_BLUR && on) {
    modeCalls.clearAccumulation();
  }
  return true;
}

static void SetModeFlags(int64_t bits) {
  for (int64_t bit = FLAG_STATUS2; bit & FLAG_BITS; bit <<= 1)
    if (bits & bit) toggleFlag(bit);
}

void patternLookAt(double out[3]) {
  out[0] = 0;
  out[1] = 0;
  out[2] = maxheight / 2;
}

// The camera's distance, angles and zoom kept as the one a restore returns to.
static void keepCameraView(const CameraState &c) {
  savedCamera.distance = c.distance;
  savedCamera.elevation = c.elevation;
  savedCamera.azimuth = c.azimuth;
  savedCamera.zoom = c.zoom;
}

static void cameraIntoPatternFile() {
  modeCalls.statusText(localTextLine(501).c_str(), 3, 0x202);
  const char *file = currentPatternFile.c_str();
  const CameraState &c = cameraState;
  char line[200];
  snprintf(line, sizeof line, "B=%f,%f,%f,%f", c.azimuth, c.elevation, c.distance, c.zoom);
  modeCalls.rewrite(file, line, MODIF_REPLACE);
  snprintf(line, sizeof line, "G=%f,%f,%f", c.lookAt[0], c.lookAt[1], c.lookAt[2]);
  modeCalls.rewrite(file, line, MODIF_REPLACE);
  modeCalls.rewrite(file, "Z=", MODIF_REMOVE);
  if (chosenModel != -1) {
    snprintf(line, sizeof line, "a=%d", loadedObjectNumber(chosenModel));
    modeCalls.rewrite(file, line, MODIF_REPLACE);
  }
  for (int i = 0; i < 3; i++) savedCamera.lookAt[i] = c.lookAt[i];
  keepCameraView(c);
}

static void cameraReset() {
  patternLookAt(cameraState.lookAt);
  stopCameraRotation();
  CameraState &c = cameraState;
  if (jugglers > 1) {
    c.azimuth = 1.5;
    c.distance = 4.12;
    c.elevation = 1.76;
    c.zoom = 238;
  } else {
    c.azimuth = 0.085;
    c.distance = 3.34;
    c.elevation = 1.65;
    c.zoom = 185;
  }
  if (savedCamera.distance == 0) keepCameraView(c);
  modeCalls.redrawPanel();
}

static void fullReset() {
  qSetMode(1, 0);
  setFlagBits(FLAG_SHADOWS | FLAG_MIRROR | FLAG_ARROW, false);
  qSetMode(MOVE_ROTATE, 0);
  qSetMode(VIEW_FREE, 0);
  simTime = 0;
  clockBeatValue = -12345;
  modeCalls.flightPaths(2);
  qSetModeValue(8, 0, 100, 0);
  setFlagBits(FLAG_MOTION_BLUR | FLAG_STATUS2 | FLAG_HEIGHT_SCALE | FLAG_STATUS80 | FLAG_LETTERS, false);
}

static void restoreCamera() {
  for (int i = 0; i < 3; i++) cameraState.lookAt[i] = savedCamera.lookAt[i];
  cameraState.distance = savedCamera.distance;
  cameraState.elevation = savedCamera.elevation;
  cameraState.azimuth = savedCamera.azimuth;
  cameraState.zoom = savedCamera.zoom;
}

// The next language that has a table; the language stays when none has one.
static void nextLanguage() {
  int language = qPrefs.language;
  for (int step = 0; step < LANGUAGE_COUNT; step++) {
    language = (language + 1 + LANGUAGE_COUNT) % LANGUAGE_COUNT;
    if (localTextTables[language]) {
      qPrefs.language = language;
      break;
    }
  }
  modeCalls.remakeMenu();
  textRefresh = 2;
}

// The beat duration as the file gives it: the reader multiplies it by the preference time
// factor (only when the file has a "dt=" entry) and by the panorama's time scale.
static double fileBeatDuration(const char *file) {
  double value = dt / (gravityTimeScale != 0 ? gravityTimeScale : 1.0);
  long size, lost;
  char *buffer = readWholeFile(file, &size, &lost, "SetTriggerMode()");
  if (!buffer) return value;
  HeaderScan scan = scanPatternHeader(std::string(buffer, size_t(size - 1 - lost)), 'd');
  qFree(buffer, size_t(size));
  if (scan.found && qPrefs.timefactor != 0) value /= qPrefs.timefactor;
  return value;
}

static void beatDurationIntoPatternFile() {
  const char *file = currentPatternFile.c_str();
  char line[80];
  snprintf(line, sizeof line, "dt=%f", fileBeatDuration(file));
  modeCalls.rewrite(file, line, MODIF_REPLACE);
  qMsg(QMSG_INFO, "%s", localText(403));
  qMsg(QMSG_INFO, "%s", localText(404));
}

static void startNotation() {
  if (qPrefs.multihand <= 2) {
    if (qPrefs.ss_opt) return;
    if ((qPrefs.current != 1 && qPrefs.current != 2) || jugglers > 1)
      if (!Siteswap_Text[0]) return;
  }
  const char *siteswap = shownSiteswap[0] ? shownSiteswap : Siteswap_Text;
  modeCalls.startNotation(siteswap, 2 * jugglers, objekte);
}

// The saved copy of a converted siteswap becomes the current pattern and keeps the camera.
static void saveConvertedSiteswap() {
  std::string saved;
  if (modeCalls.saveSiteswap(1, saved) != 0 || saved.empty()) return;
  currentPatternFile = saved;
  cameraIntoPatternFile();
}

// Without animated-image recording the command only tells the user so in the status line.
static void animationRecording(int set, int clear) {
  if (!gifRecordingAvailable(8)) {
    modeCalls.statusText(localTextLine(504).c_str(), 3, 0x202);
    return;
  }
  qPrefs.animationFlags = (qPrefs.animationFlags | set) & ~clear;
}

static void SetTriggerMode(int64_t value) {
  bool choosing = chooserState != 0;
  switch (value) {
    case 0x1000: if (!choosing) modeCalls.flightPaths(0); break;
    case 0x2000: if (!choosing) modeCalls.randomObject(); break;
    case 0x3000: cameraIntoPatternFile(); break;
    case 0x5000: fullReset(); cameraReset(); break;
    case 0x4000: cameraReset(); break;
    case 0x6000: modeCalls.saveImage(NUMBERED_HARDCOPY, 0); break;
    case 0x7000: animationRecording(0, 4 | 8); break;
    case 0x8000: modeCalls.povExport(); break;
    case 0x9000: stopCameraRotation(); break;
    case 0xA000: nextLanguage(); break;
    case 0xB000: qDisplay.help = !qDisplay.help; textRefresh = 2; break;
    case 0xC000:
      if (qMode.main == MAIN_SCENE_EDITOR) modeCalls.nextEditorObject();
      else nextObjectRequest = 1;
      break;
    case 0xD000: saveConvertedSiteswap(); break;
    case 0xE000: if (!choosing) modeCalls.flightPaths(1); break;
    case 0xF000: animationRecording(4, 8); break;
    case 0x10000: animationRecording(8, 4); break;
    case 0x20000: if (!choosing) modeCalls.handPaths(0); break;
    case 0x30000: if (!choosing) modeCalls.handPaths(1); break;
    case 0x40000: restoreCamera(); break;
    case 0x50000: beatDurationIntoPatternFile(); break;
    case 0x60000: startNotation(); break;
    default: unknownValue(value, "SetTriggerMode()");
  }
}

int qSetMode(uint32_t low, uint32_t high) {
  int64_t value = joinHalves(low, high);
  if (value & 0xF) SetDisplayMode(value & 0xF);
  else if (value & 0xF0) SetMainMode(value);
  else if (value & 0x300) SetMoveMode(value & 0x300);
  else if (value & 0xC00) SetViewMode(value & 0xC00);
  else if (value & 0xFF000) SetTriggerMode(value);
  else if (value & FLAG_BITS) SetModeFlags(value & FLAG_BITS);
  return 0;
}

int qSetModeValue(uint32_t modeLow, uint32_t modeHigh, int32_t valueLow, int32_t valueHigh) {
  int64_t mode = joinHalves(modeLow, modeHigh);
  int64_t value = joinHalves(uint32_t(valueLow), uint32_t(valueHigh));
  if (mode == 8) {
    if (value >= -200 && value <= 200) {
      qMode.speed = int(value);
      modeCalls.setTitle();
    }
    return 0;
  }
  if (mode & FLAG_BITS) {
    setFlagBits(mode & FLAG_BITS, value != 0);
    return 0;
  }
  if ((mode & 0xF) && (mode & 0xF) != qMode.display) SetDisplayMode(mode & 0xF);
  if (!(mode & 0x300)) return 1;
  SetMoveMode(value ? mode & 0x300 : MOVE_ROTATE);
  return 0;
}

int qGetMode(int type) {
  switch (type) {
    case 1: return int(qMode.display);
    case 2: return qMode.reserved;
    case 3: return int(qMode.main);
    case 4: return int(qMode.move);
    case 5: return int(qMode.view);
    case 7: return int(uint32_t(qMode.flags));
    case 8: return qMode.speed;
    default:
      qMsg(QMSG_ERROR, localText(45), type, "qGetMode()");
      return 0;
  }
}

void schatten_auswerten() {
  static const int displays[6] = {1, 3, 1, 9, 7, 9};
  static const int shadows[6] = {0, 0, 1, 1, 1, 0};
  int cls = displayModeClass(qMode.display);
  if (cls == 1) return;
  if (cls == 2) {
    qPrefs.sh_kind = 1;
    return;
  }
  int kind = qPrefs.sh_kind;
  if (kind < 0 || kind > 5) {
    qMsg(QMSG_ERROR, localText(45), kind, "schatten_auswerten(2)");
    return;
  }
  qSetModeValue(uint32_t(displays[kind]), 0, 1, 0);
  qSetModeValue(uint32_t(FLAG_SHADOWS), 0, shadows[kind], 0);
}
