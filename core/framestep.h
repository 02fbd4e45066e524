// Frame step and timers: advanceFrame, the stop watch, the frame counter and the auto-advance timers.
#pragma once
#include <cstdint>

extern int frameCounter;

int stopWatch(int n);

// The packed view record the renderers read, rebuilt every frame.
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

extern ViewState viewState;
