// Path display, object chooser and guide objects: the current object, the chooser frame, the guides.
#pragma once

extern char currentObjectLetter;

void trackCurrentObject(int *step);
void selectObjectInBox();
void toggleHelperObjects();
