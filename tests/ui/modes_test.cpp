// Mode machine: display, flag, move, view and main-mode commands, the triggers, qSetModeValue,
// qGetMode and the shadow kind, with fakes for everything the handlers call.
#include <algorithm>
#include <cstdio>

#include "pattern/clock.h"
#include "pattern/objectpaths.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "tests/support/quoit_test_support.h"
#include "tests/ui/mode_fakes.h"
#include "app/startup.h"

using Modes = ModeTest;

TEST_F(Modes, DisplayCommands) {
  struct Case {
    int vrml;
    long long startDisplay, startFlags;
    int startShadowKind;
    std::vector<long long> commands;
    long long display, flags;
    int shadowKind;
  } cases[] = {
      {0, 1, 0, 3, {9}, 9, 0, 3},
      {0, 1, 0, 3, {9, 9}, 1, 0, 3},
      {1, 1, 0, 0, {6}, 1, 0, 0},
      {0, 1, 0, 0, {6}, 6, 0, 0},
      {0, 1, FLAG_MIRROR, 0, {6}, 6, 0, 0},
      {0, 1, FLAG_SHADOWS, 3, {4}, 4, 0, 0},
      {0, 1, FLAG_SHADOWS, 3, {8}, 8, 0, 0},
      {0, 6, 0, 0, {FLAG_SHADOWS, FLAG_MIRROR}, 6, 0, 0},
      {0, 9, 0, 0, {FLAG_SHADOWS, FLAG_MIRROR}, 9, FLAG_SHADOWS | FLAG_MIRROR, 0},
  };
  for (const Case &c : cases) {
    qPrefs.vrml = c.vrml;
    qMode.display = c.startDisplay;
    qMode.flags = c.startFlags;
    qPrefs.sh_kind = c.startShadowKind;
    for (long long command : c.commands) mode(command);
    EXPECT_EQ(qMode.display, c.display) << c.commands[0];
    EXPECT_EQ(qMode.flags, c.flags) << c.commands[0];
    EXPECT_EQ(qPrefs.sh_kind, c.shadowKind) << c.commands[0];
  }
}

TEST_F(Modes, FlagsAndWhatGoesWithThem) {
  mode(FLAG_METERS);
  EXPECT_EQ(qMode.flags & FLAG_METERS, 0);
  EXPECT_EQ(qDisplay.timeMeter, 0);
  EXPECT_EQ(qDisplay.speedMeter, 0);
  mode(FLAG_MOTION_BLUR);
  mode(FLAG_MOTION_BLUR);
  EXPECT_EQ(callLog, std::vector<std::string>{"accum"});
  chooserState = 1;
  mode(FLAG_HEIGHT_SCALE);
  EXPECT_EQ(qMode.flags & FLAG_HEIGHT_SCALE, 0);
  chooserState = 0;
  mode(FLAG_HEIGHT_SCALE);
  mode(FLAG_LETTERS);
  EXPECT_EQ(qMode.flags, FLAG_HEIGHT_SCALE | FLAG_LETTERS);
  EXPECT_EQ(qGetMode(7), 0);
}

TEST_F(Modes, StatusLineCycle) {
  std::vector<int> lines;
  for (int i = 0; i < 3; i++) {
    mode(FLAG_STATUSLINE);
    lines.push_back(qDisplay.statusline);
  }
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(callLog, (std::vector<std::string>{"status title", "status title"}));
}

TEST_F(Modes, SpeedValues) {
  struct Case {
    long long value;
    int speed;
    bool title;
  } cases[] = {{201, 100, false}, {-200, -200, true}, {200, 200, true}, {-201, 100, false}, {0x100000064LL, 100, false}};
  for (const Case &c : cases) {
    qMode.speed = 100;
    callLog.clear();
    EXPECT_EQ(qSetModeValue(8, 0, int32_t(c.value), int32_t(c.value >> 32)), 0);
    EXPECT_EQ(qMode.speed, c.speed) << c.value;
    EXPECT_EQ(callLog.size(), c.title ? 1u : 0u) << c.value;
  }
}

TEST_F(Modes, SetModeValueSetsInsteadOfToggling) {
  EXPECT_EQ(qSetModeValue(uint32_t(FLAG_SHADOWS), 0, 1, 0), 0);
  EXPECT_EQ(qSetModeValue(uint32_t(FLAG_SHADOWS), 0, 1, 0), 0);
  EXPECT_EQ(qMode.flags & FLAG_SHADOWS, FLAG_SHADOWS);
  EXPECT_EQ(qSetModeValue(0, 1, 1, 0), 0);
  EXPECT_EQ(qMode.flags & FLAG_HEIGHT_SCALE, FLAG_HEIGHT_SCALE);
  EXPECT_EQ(qSetModeValue(9, 0, 1, 0), 1);
  EXPECT_EQ(qSetModeValue(9, 0, 1, 0), 1);
  EXPECT_EQ(qMode.display, 9);
  EXPECT_EQ(qSetModeValue(0x300, 0, 1, 0), 0);
  EXPECT_EQ(qMode.move, MOVE_WALK);
  EXPECT_EQ(qSetModeValue(0x300, 0, 0, 0), 0);
  EXPECT_EQ(qMode.move, MOVE_ROTATE);
  EXPECT_EQ(callLog, std::vector<std::string>{"panel"});
}

TEST_F(Modes, UnknownValuesAreReported) {
  loadEnglish();
  struct Case {
    long long value;
    const char *function;
  } cases[] = {{0x11000, "SetTriggerMode()"}, {0x30, "SetMainMode()"}, {0x100000010LL, "SetMainMode()"}, {0x100001000LL, "SetTriggerMode()"}};
  for (const Case &c : cases) {
    testing::internal::CaptureStderr();
    mode(c.value);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(c.function), std::string::npos) << err;
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(qGetMode(6), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Unknown operation 6 (qGetMode())"), std::string::npos);
  EXPECT_EQ(qMode.main, 0);
}

TEST_F(Modes, GetMode) {
  qMode.display = 7;
  qMode.main = 0x20;
  qMode.move = 0x200;
  qMode.view = 0x800;
  qMode.flags = FLAG_SHADOWS | FLAG_LETTERS;
  qMode.speed = -40;
  const int expected[][2] = {{1, 7}, {2, 0}, {3, 0x20}, {4, 0x200}, {5, 0x800}, {7, 0x1000000}, {8, -40}};
  for (const auto &e : expected) EXPECT_EQ(qGetMode(e[0]), e[1]) << e[0];
}

TEST_F(Modes, TriggersThatWaitWhileChoosing) {
  struct Case {
    long long trigger;
    const char *call;
  } cases[] = {{0x1000, "flight 0"}, {0x2000, "random"}, {0xE000, "flight 1"}, {0x20000, "hand 0"}, {0x30000, "hand 1"}};
  for (const Case &c : cases) {
    for (int state : {1, 2, 0}) {
      chooserState = state;
      callLog.clear();
      mode(c.trigger);
      EXPECT_EQ(callLog, state ? std::vector<std::string>{} : std::vector<std::string>{c.call}) << c.call;
    }
  }
}

TEST_F(Modes, OneShotTriggers) {
  mode(0x6000);
  mode(0x8000);
  mode(0xD000);
  EXPECT_EQ(callLog, (std::vector<std::string>{"image 552 0", "pov", "siteswap 1"}));
  mode(0xB000);
  EXPECT_EQ(qDisplay.help, 1);
  EXPECT_EQ(textRefresh, 2);
  mode(0xC000);
  EXPECT_EQ(nextObjectRequest, 1);
  qMode.main = MAIN_SCENE_EDITOR;
  nextObjectRequest = 0;
  mode(0xC000);
  EXPECT_EQ(nextObjectRequest, 0);
  EXPECT_EQ(callLog.back(), "next editor object");
  rotationDrift[0] = 50;
  mode(0x9000);
  EXPECT_EQ(rotationDrift[0], 0);
}

// Animated images cannot be recorded here: each recording command says so in the status line and
// leaves the animation flags as they are.
TEST_F(Modes, RecordingCommandsSayTheyRecordNothing) {
  loadEnglish();
  for (long long trigger : {0x7000, 0xF000, 0x10000}) {
    callLog.clear();
    mode(trigger);
    EXPECT_EQ(callLog, std::vector<std::string>{"status " + localTextLine(504) + " 3 0x202"}) << hex(trigger);
    EXPECT_EQ(qPrefs.animationFlags, savedPrefs.animationFlags);
  }
}

TEST_F(Modes, CameraResetByJugglerCount) {
  struct Case {
    int jugglerCount;
    double savedDistance;
    double distance, zoom, elevation, azimuth, saved;
  } cases[] = {
      {1, 0, 3.34, 185, 1.65, 0.085, 3.34},
      {2, 0, 4.12, 238, 1.76, 1.5, 4.12},
      {2, 7.0, 4.12, 238, 1.76, 1.5, 7.0},
  };
  for (const Case &c : cases) {
    jugglers = c.jugglerCount;
    savedCamera.distance = c.savedDistance;
    cameraState.distance = 20;
    rotationDrift[0] = 9;
    mode(0x4000);
    EXPECT_DOUBLE_EQ(cameraState.distance, c.distance);
    EXPECT_DOUBLE_EQ(cameraState.zoom, c.zoom);
    EXPECT_DOUBLE_EQ(cameraState.elevation, c.elevation);
    EXPECT_DOUBLE_EQ(cameraState.azimuth, c.azimuth);
    EXPECT_DOUBLE_EQ(savedCamera.distance, c.saved);
    EXPECT_EQ(rotationDrift[0], 0);
    EXPECT_DOUBLE_EQ(cameraState.lookAt[2], maxheight / 2);
  }
}

TEST_F(Modes, FullResetThenCameraReset) {
  qMode.display = 9;
  qMode.flags = FLAG_SHADOWS | FLAG_MIRROR | FLAG_ARROW | FLAG_MOTION_BLUR | FLAG_STATUS2 | FLAG_HEIGHT_SCALE |
                FLAG_STATUS80 | FLAG_LETTERS | FLAG_METERS | FLAG_COMMENTS;
  qMode.move = MOVE_PAN;
  qMode.view = VIEW_FOLLOW;
  qMode.speed = -30;
  simTime = 1.5;
  clockBeatValue = 3;
  mode(0x5000);
  EXPECT_EQ(qMode.display, 1);
  EXPECT_EQ(qMode.flags, FLAG_METERS | FLAG_COMMENTS);
  EXPECT_EQ(qMode.move, MOVE_ROTATE);
  EXPECT_EQ(qMode.view, VIEW_FREE);
  EXPECT_EQ(qMode.speed, 100);
  EXPECT_EQ(simTime, 0);
  EXPECT_EQ(clockBeatValue, -12345);
  EXPECT_DOUBLE_EQ(cameraState.distance, 3.34);
  EXPECT_EQ(callLog, (std::vector<std::string>{"flight 2", "title", "panel"}));
}

TEST_F(Modes, CameraIntoThePatternFileAndBack) {
  cameraState = CameraState{4, 1.2, 0.5, 60, {}, {0, 0.25, 1}, {}, {}, {}};
  ASSERT_EQ(allocObjectBuffers(), 0);
  int loaded = loadedObjectCount;
  loadedObjectCount = 8;
  objekt_geladen[7].objektnummer = 12;  // the chosen model's object number goes into the file
  chosenModel = 7;
  mode(0x3000);
  loadedObjectCount = loaded;
  EXPECT_EQ(callLog, (std::vector<std::string>{
                         "status " + localTextLine(501) + " 3 0x202",
                         "rewrite 1 B=0.500000,1.200000,4.000000,60.000000",
                         "rewrite 1 G=0.000000,0.250000,1.000000",
                         "rewrite 2 Z=",
                         "rewrite 1 a=12",
                     }));
  cameraState = CameraState{9, 0.1, 0.2, 300, {}, {5, 5, 5}, {}, {}, {}};
  mode(0x40000);
  EXPECT_DOUBLE_EQ(cameraState.distance, 4);
  EXPECT_DOUBLE_EQ(cameraState.zoom, 60);
  EXPECT_DOUBLE_EQ(cameraState.lookAt[1], 0.25);
}

// A saved siteswap becomes the current pattern and gets the camera; a cancelled save changes nothing.
TEST_F(Modes, SavedSiteswapBecomesTheCurrentPattern) {
  struct Case {
    const char *saved, *current;
    size_t calls;
  } cases[] = {{"m/3_531", "m/3_531", 5}, {"", SITESWAP_FILE, 1}};
  for (const Case &c : cases) {
    currentPatternFile = SITESWAP_FILE;
    fakeResults.savedSiteswap = c.saved;
    callLog.clear();
    mode(0xD000);
    EXPECT_EQ(currentPatternFile, c.current) << c.saved;
    ASSERT_EQ(callLog.size(), c.calls) << c.saved;
    EXPECT_EQ(callLog[0], "siteswap 1");
    if (c.calls > 1) {
      EXPECT_EQ(callLog[2].substr(0, 12), "rewrite 1 B=");
    }
  }
}

// The beat duration goes back as the file gives it, not as the time factors made it.
TEST_F(Modes, BeatDurationAsTheFileGivesIt) {
  struct Case {
    const char *file;
    double loaded, timeFactor;
    const char *written;
  } cases[] = {
      {"! t\ndt=0.3\nj 0 0 0 0 c c\n*\na -\n", 0.6, 2.0, "rewrite 1 dt=0.300000"},
      {"! t\nj 0 0 0 0 c c\n*\na -\n", 0.25, 2.0, "rewrite 1 dt=0.250000"},
      {"! dt in the title\n%% dt=9\nj 0 0 0 0 c c\ndt=0.2\n*\na -\n", 0.1, 0.5, "rewrite 1 dt=0.200000"},
  };
  for (const Case &c : cases) {
    currentPatternFile = writeTempPattern("modes_dt", c.file);
    dt = c.loaded;
    qPrefs.timefactor = c.timeFactor;
    callLog.clear();
    mode(0x50000);
    ASSERT_FALSE(callLog.empty());
    EXPECT_EQ(callLog[0], c.written) << c.file;
    remove(currentPatternFile.c_str());
  }
}

TEST_F(Modes, NextLanguage) {
  qPrefs.language = 1;
  mode(0xA000);
  EXPECT_EQ(qPrefs.language, 1);
  EXPECT_EQ(textRefresh, 2);
  ASSERT_EQ(readLocalTextFile(3, sourcePath("data/l/espanol").c_str()), 0);
  ASSERT_EQ(readLocalTextFile(0, sourcePath("data/l/deutsch").c_str()), 0);
  std::vector<int> visited;
  for (int i = 0; i < 3; i++) {
    mode(0xA000);
    visited.push_back(qPrefs.language);
  }
  EXPECT_EQ(visited, (std::vector<int>{3, 0, 3}));
}

TEST_F(Modes, MoveModes) {
  rotationDrift[0] = 30;
  mode(0x200);
  EXPECT_EQ(qMode.move, MOVE_PAN);
  EXPECT_EQ(rotationDrift[0], 0);
  mode(0x200);
  EXPECT_EQ(qMode.move, MOVE_ROTATE);
  mode(0x300);
  EXPECT_EQ(qMode.move, MOVE_WALK);
  mode(0x300);
  EXPECT_EQ(qMode.move, MOVE_ROTATE);
  EXPECT_EQ(callLog, (std::vector<std::string>{"panel", "panel"}));
}

TEST_F(Modes, ViewModes) {
  cameraState.distance = 3;
  mode(0xC00);
  EXPECT_EQ(qMode.view, VIEW_CLOSE);
  EXPECT_DOUBLE_EQ(cameraState.distance, 0.5);
  mode(0xC00);
  EXPECT_EQ(qMode.view, VIEW_FREE);
  EXPECT_DOUBLE_EQ(cameraState.distance, 3);
  mode(0xC00);
  mode(0x800);
  EXPECT_EQ(qMode.view, VIEW_FOLLOW);
  EXPECT_DOUBLE_EQ(cameraState.distance, 0.5);
  mode(0x800);
  EXPECT_EQ(qMode.view, VIEW_FREE);
  chooserState = 1;
  mode(0x800);
  EXPECT_EQ(qMode.view, VIEW_FREE);
}

TEST_F(Modes, PatternDialogAndQuit) {
  qMode.main = MAIN_CHOOSER;
  chooserState = 1;
  mode(0x10);
  EXPECT_EQ(restartRequest, 0);
  qMode.main = 0;
  chooserState = 0;
  patternStepped = 1;
  mode(0x10);
  EXPECT_EQ(nextPatternAction, ACTION_DIALOG);
  EXPECT_EQ(restartRequest, 2);
  EXPECT_EQ(patternStepped, 0);
  EXPECT_EQ(callLog, std::vector<std::string>{"windows 0"});
  mode(0x40);
  EXPECT_EQ(nextPatternAction, ACTION_QUIT);
  EXPECT_EQ(restartRequest, 1);
}

TEST_F(Modes, ObjectChooserOnAndOff) {
  qMode.display = 7;
  qMode.flags = FLAG_SHADOWS | FLAG_FULL_STATUS | FLAG_LETTERS | FLAG_METERS;
  qMode.move = MOVE_WALK;
  qDisplay.help = 1;
  qPrefs.sh_kind = 4;
  mode(0x20);
  EXPECT_EQ(chooserState, 1);
  EXPECT_EQ(qMode.main, MAIN_CHOOSER);
  EXPECT_EQ(savedChooserDisplay[0], 7);
  EXPECT_EQ(savedChooserDisplay[1], FLAG_SHADOWS | FLAG_FULL_STATUS | FLAG_LETTERS | FLAG_METERS);
  EXPECT_EQ(qMode.display, 1);
  EXPECT_EQ(qPrefs.sh_kind, 0);
  EXPECT_EQ(qMode.flags, FLAG_METERS);
  EXPECT_EQ(qMode.move, MOVE_ROTATE);
  EXPECT_EQ(qDisplay.help, 0);
  EXPECT_EQ(callLog, (std::vector<std::string>{"flight 2", "temp", "shapes", "menu"}));
  callLog.clear();
  mode(0x20);
  EXPECT_EQ(qMode.main, 0);
  EXPECT_EQ(chooserState, 0);
  EXPECT_EQ(callLog, (std::vector<std::string>{"leave chooser", "panel", "menu"}));
  callLog.clear();
  mode(0x80);
  EXPECT_EQ(qMode.main, MAIN_CHOOSER_PICK);
  mode(0x80);
  EXPECT_EQ(qMode.main, 0);
  EXPECT_EQ(callLog, (std::vector<std::string>{"leave chooser", "adjust", "menu"}));
}

// A pick puts back every flag bit the chooser found, the ones above bit 31 too; bit 31 does not
// spread into the bits above it.
TEST_F(Modes, ChooserPickRestoresEveryFlag) {
  const long long flagSets[] = {
      FLAG_BITS & ~(FLAG_FULL_SCREEN | FLAG_METERS),
      FLAG_LETTERS | FLAG_SHADOWS,
      FLAG_HEIGHT_SCALE,
      FLAG_COORDINATES,
      FLAG_COORDINATES | FLAG_LETTERS | FLAG_FULL_STATUS,
  };
  for (long long flags : flagSets) {
    qMode.display = 7;
    qMode.flags = flags;
    chooserState = 0;
    qMode.main = 0;
    mode(0x20);
    EXPECT_EQ(qMode.flags & (FLAG_SHADOWS | FLAG_FULL_STATUS | FLAG_LETTERS), 0) << hex(flags);
    mode(0x80);
    EXPECT_EQ(qMode.main, MAIN_CHOOSER_PICK) << hex(flags);
    EXPECT_EQ(qMode.flags, flags) << hex(flags);
    EXPECT_EQ(qMode.display, 7) << hex(flags);
    mode(0x80);
    EXPECT_EQ(qMode.main, 0) << hex(flags);
    EXPECT_EQ(qMode.flags, flags) << hex(flags);
  }
}

// The full-screen and meters bits follow the window and the meters, not the saved flags.
TEST_F(Modes, ChooserPickKeepsTheWindowAndMeterBits) {
  qMode.flags = FLAG_METERS | FLAG_ARROW;
  mode(0x20);
  qMode.flags ^= FLAG_METERS | FLAG_FULL_SCREEN;
  mode(0x80);
  EXPECT_EQ(qMode.flags, FLAG_FULL_SCREEN | FLAG_ARROW);
}

TEST_F(Modes, EditorsStartAndLeave) {
  mode(0x50);
  EXPECT_EQ(qMode.main, MAIN_SCENE_EDITOR);
  mode(0x50);
  EXPECT_EQ(qMode.main, 0);
  fakeResults.startEditor = 270501;
  mode(0x60);
  EXPECT_EQ(qMode.main, 0);
  EXPECT_EQ(callLog, (std::vector<std::string>{"start editor", "menu", "menu", "start editor", "menu"}));
}

// A mode switch or a pattern change while an editor runs ends the editor first; an editor that
// will not end keeps the command from running.
TEST_F(Modes, SwitchingLeavesTheEditorFirst) {
  struct Case {
    long long editor, command;
    bool stays;
    int restart;
    long long main;
  } cases[] = {
      {MAIN_SCENE_EDITOR, 0x20, false, 0, 0},
      {MAIN_SCENE_EDITOR, 0x60, false, 0, 0},
      {MAIN_WALKING_EDITOR, 0x50, false, 0, 0},
      {MAIN_SCENE_EDITOR, 0x10, false, 2, 0},
      {MAIN_SCENE_EDITOR, 0x10, true, 0, MAIN_SCENE_EDITOR},
      {MAIN_WALKING_EDITOR, 0x20, true, 0, MAIN_WALKING_EDITOR},
  };
  for (const Case &c : cases) {
    qMode.main = c.editor;
    restartRequest = 0;
    chooserState = 0;
    fakeResults.editorStays = c.stays;
    callLog.clear();
    mode(c.command);
    EXPECT_EQ(callLog[0], "end editor") << c.command;
    EXPECT_EQ(std::count(callLog.begin(), callLog.end(), "start editor"), 0) << c.command;
    EXPECT_EQ(chooserState, 0) << c.command;
    EXPECT_EQ(qMode.main, c.main) << c.command;
    EXPECT_EQ(restartRequest, c.restart) << c.command;
  }
  qMode.main = MAIN_CHOOSER_PICK;
  EXPECT_EQ(leaveMainMode(), 0);
  EXPECT_EQ(qMode.main, 0);
}

TEST_F(Modes, ShadowKindIntoTheDisplayMode) {
  struct Case {
    long long display;
    int kind;
    long long newDisplay;
    bool shadows;
    int newKind;
  } cases[] = {
      {1, 0, 1, false, 0}, {1, 1, 3, false, 1}, {1, 2, 1, true, 2}, {1, 3, 9, true, 3},
      {9, 4, 7, true, 4},  {1, 5, 9, false, 5}, {8, 3, 8, false, 3}, {4, 3, 4, false, 1},
      {9, 7, 9, false, 7},
  };
  for (const Case &c : cases) {
    qMode.display = c.display;
    qMode.flags = 0;
    qPrefs.sh_kind = c.kind;
    testing::internal::CaptureStderr();
    schatten_auswerten();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(qMode.display, c.newDisplay) << c.kind;
    EXPECT_EQ((qMode.flags & FLAG_SHADOWS) != 0, c.shadows) << c.kind;
    EXPECT_EQ(qPrefs.sh_kind, c.newKind) << c.kind;
    EXPECT_EQ(err.empty(), c.kind <= 5) << c.kind;
  }
}

TEST_F(Modes, StartNotation) {
  struct Case {
    int multihand, ssOpt, current, jugglerCount;
    const char *shown, *patternText;
    const char *call;
  } cases[] = {
      {2, 1, 1, 1, "531", "", nullptr},
      {2, 0, 0, 1, "", "", nullptr},
      {2, 0, 1, 1, "531", "", "notation 531 2 3"},
      {2, 0, 0, 2, "", "44", "notation 44 4 3"},
      {3, 1, 0, 2, "", "", "notation  4 3"},
  };
  for (const Case &c : cases) {
    qPrefs.multihand = c.multihand;
    qPrefs.ss_opt = c.ssOpt;
    qPrefs.current = c.current;
    jugglers = c.jugglerCount;
    snprintf(shownSiteswap, sizeof shownSiteswap, "%s", c.shown);
    snprintf(Siteswap_Text, sizeof Siteswap_Text, "%s", c.patternText);
    callLog.clear();
    mode(0x60000);
    EXPECT_EQ(callLog, c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{}) << c.shown;
  }
  shownSiteswap[0] = Siteswap_Text[0] = '\0';
}
