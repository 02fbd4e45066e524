// Pattern store dumps: the grid, the hand entries and the object and hand path chains, written to
// the debug output; the Text functions give the same text for tests and other callers.
#pragma once
#include <string>

struct Flugbahn;

std::string outputMusterText(int firstTakt, int lastTakt);
std::string outputFangwurfText();
std::string outputFlugbahnenText(int detail, int firstObject, int lastObject);
std::string outputHandbahnenText(int hand);
std::string flugbahnLine(const Flugbahn &segment, int index, int detail);
std::string flagLetters(unsigned flag);

void outputMuster(int firstTakt, int lastTakt);
void outputFangwurf();
void outputFlugbahnen(int detail, int firstObject, int lastObject);
void outputHandbahnen(int hand);
