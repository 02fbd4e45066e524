// Classic renderer: GL state of the 3D window, projection and camera, the scene passes, qGlCheckError.
#pragma once

void qGlutShowWindows(int show);
