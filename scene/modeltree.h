// Model tree and VRML model store: the object nodes of the VRML scene and their reset before each pattern.
#pragma once

void resetVRMLScene();
