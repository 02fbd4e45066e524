// VRML renderer: the light colour and one frame of the model tree.
#pragma once

struct ObjectNode;

void qGlSetLightColor(int colour);
int qGlUpdateVRMLDisplay();
// Compiles a node's polygon tree into a display list (kind 0x1000 normal colours, 0x4000 the second list).
int qGlDefineGLVRMLObject(ObjectNode *node, int kind);
