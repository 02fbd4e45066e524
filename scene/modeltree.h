// Model tree and VRML model store: the object nodes of the VRML scene.
#pragma once

// The position of the first scene node of the object letter; false when there is none.
bool sceneObjectPosition(char letter, double out[3]);
