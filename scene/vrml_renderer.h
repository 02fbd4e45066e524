// VRML renderer: the light colour and one frame of the model tree.
#pragma once

void qGlSetLightColor(int colour);
int qGlUpdateVRMLDisplay();
