// The view records that every layer reads: the packed view and light the frame step writes, the
// camera the navigation moves and the pattern file sets, the saved camera, the chooser cursor.
#pragma once
#include <cstdint>

struct Placement;

struct LightState {
  int16_t distance;    // 1/100 m
  int16_t angle;       // 1/2048 of a turn
  int16_t xOffset;     // mm
  int16_t yOffset;     // mm
  int16_t spotRadius;  // mm
};

struct ViewState {
  int16_t x, y, z;     // look-at point, mm
  int16_t elevation;   // 0..2047
  int16_t azimuth;     // 0..2047
  uint16_t radius;     // camera distance, mm (up to 65.535 m)
  int16_t zoom;
  int64_t status;      // status bits; the upper half repeats bit 31
  int16_t width, height;
  LightState lightState;
  void *objectModels;
  const unsigned char *wrapTable;
  Placement *flying;
  Placement *staticScene;
};

struct CameraState {
  double distance;   // metres
  double elevation;  // radians from the vertical
  double azimuth;    // radians
  double zoom;       // 40..1500
  double eye[3];
  double lookAt[3];
  double viewDir[3];
  double side[3];
  double up[3];
};

// The camera stored by the pattern file and restored on request.
struct SavedCamera {
  double lookAt[3];
  double distance;
  double elevation;
  double azimuth;
  double zoom;
};

extern ViewState viewState;
extern LightState &lightState;
extern CameraState cameraState;
extern SavedCamera savedCamera;

// The chooser cursor's grid cell (the object chooser draws its cursor there).
extern int chooserColumn, chooserRow;

// The eye point from azimuth, elevation (from the vertical) and distance around the look-at
// point; also the unit view direction.
void computeEyePosition(double out[3]);
