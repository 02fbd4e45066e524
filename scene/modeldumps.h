// Developer dumps of the scene's data: the GL state, the joint table, the loaded-object table, the
// object-node lists and polygon chains to the trace file, and all of it as "VRMLdebug.html".
#pragma once
#include <cstdint>
#include <string>

struct ObjectNode;

void qGlDumpStates();
void printInvKinTable();
void print_objekt_geladen();
void printSCENEBuffer(int which);  // 0 the scene list, 1 the chooser's list
void printVRMLBuffer(int which);   // the polygon chains of the active list
void writeHTMLdebugFile();

// The node list and the polygon chains as the trace dumps write them.
std::string sceneListText(const ObjectNode *head, const char *name);
std::string polygonChainsText(const ObjectNode *active);
// The whole HTML page for the scene list, the active list (the chooser's while it runs) and the
// pattern file's name.
std::string modelDumpHtml(const ObjectNode *scene, const ObjectNode *active, const char *patternFile);
