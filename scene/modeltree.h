// Model tree and VRML model store: the object nodes of the VRML scene.
#pragma once

// The position of the first scene node of the object letter; false when there is none.
bool sceneObjectPosition(char letter, double out[3]);

struct ObjectNode;

int loadObjectByName(const char *name, const double position[3], double ax, double ay, double az, int flags);
ObjectNode *findSceneNode(int objectIndex, int number);
void setSceneNodePosition(ObjectNode *node, const double position[3]);
