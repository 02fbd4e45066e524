// Stand-in camera: the camera record only (weak, so the real camera wins).
#include "ui/camera.h"

__attribute__((weak)) CameraState cameraState = {3.34, 1.65, 0.085, 185, {0, 0, 0}, {0, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
