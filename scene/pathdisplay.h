// Path display, object chooser and guide objects: the current object, the shown flight and hand
// paths, the chooser frame, the guides, the random prop, and the calls they make of the layers above.
#pragma once
#include <cstdint>
#include <string>

#include "core/uistate.h"

// Object numbers of the aids: the flight path of object k is 199 - k, its hand path 199 - k - objekte.
enum { FLIGHT_PATH_NUMBER = 199 };

extern int chooserVertexTotal;  // VRML totals of the picked model
extern int chooserFaceTotal;
extern int arrowObject;         // loaded-object record of the guide arrow
extern char currentObjectLetter;
extern int chooserCursorModel;  // loaded-object index of the chooser's cursor frame, 0 until it is loaded
// One letter per shown path; a removed path leaves '-', which the next shown path takes.
extern std::string shownFlightPaths;
extern std::string shownHandPaths;

// What the aids ask of the mode machine and the camera above them; app/ fills it, the defaults
// do nothing (no mode change, no cursor move and no pick).
struct AidCalls {
  int (*setMode)(uint32_t low, uint32_t high);
  int (*moveChooserCursor)(int *rowOffsetOut, int16_t *cursorX, int16_t *cursorY);
};
extern AidCalls aidCalls;

// Keeps the current letter: the first object when there is none, its wrap partner across the wrap
// (step 1 forward, 2 backward; set to 0), the next object on a next-object request.
void trackCurrentObject(int *step);
// The current letter for a path toggle, stepping past a blank letter; 0 when there is none.
char currentObjectForPath();

// Per pattern: no path shown, no current object, the random prop enabled, the guides off.
void resetPathDisplay();
void toggleFlightPathDisplay(int op);  // 0 current object, 1 all objects, 2 none
void toggleHandPathDisplay(int op);    // 0 current object, else none

// The file of the object's flight path (or hand path) in the temporary directory.
std::string pathFileName(char letter, bool hand);
// Samples of a flight path: one cycle per object of the letter's wrap chain, about 20 a second
// and at least one a cycle, and the time step between two samples.
struct PathSamples {
  int count;
  int cycles;
  double step;
};
PathSamples flightPathSamples(char letter);

void selectObjectInBox();
void leaveObjectChooser();
// Entries of the chooser's object list.
int chooserEntryCount();
// The chooser's model turn (1/2048 of a turn, 0..2047) after running for the time in seconds.
int chooserTurnAfter(double *runningTime, double seconds);

// The guides count as not shown and the random prop is enabled again (every pattern).
void resetGuideObjects();
void toggleHelperObjects();
void placeRandomObject();
