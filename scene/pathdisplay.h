// Path display, object chooser and guide objects: the current object, the chooser frame, the guides.
#pragma once

#include "core/uistate.h"

extern int chooserVertexTotal;  // VRML totals of the picked model
extern int chooserFaceTotal;
extern int arrowObject;         // loaded-object record of the guide arrow
extern char currentObjectLetter;
extern int chooserCursorModel;  // loaded-object index of the chooser's cursor frame, 0 until it is loaded

void trackCurrentObject(int *step);
void selectObjectInBox();
void toggleHelperObjects();

void toggleFlightPathDisplay(int op);
void toggleHandPathDisplay(int op);
void placeRandomObject();
void leaveObjectChooser();
// Entries of the chooser's object list.
int chooserEntryCount();
