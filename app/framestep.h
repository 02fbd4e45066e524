// Frame step and timers: advanceFrame, qAfterRendering, stopWatch, the benchmark and auto-advance timers,
// viewState with lightState, the frame counter and the wrap flag.
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

enum { WRAP_NONE = 0, WRAP_FORWARD = 1, WRAP_BACKWARD = 2 };

extern ViewState viewState;
extern LightState &lightState;
extern int frameCounter;
extern int wrapFlag;
extern double previousAnimationTime;

// Real time source of the timers (seconds and microseconds); tests replace it.
extern void (*frameStepTime)(uint32_t *seconds, uint32_t *microseconds);

int advanceFrame();
void qAfterRendering(int previousResult);
int stopWatch(int n);
void benchmarkTimer();
void autoAdvanceTimer();

// Steps of advanceFrame.
void servePresets();
void packViewState();
int cycleWrapFlag(double previousTime, double time, int speed);
int16_t packAngle(double radians);
int16_t packMillimetres(double metres);
uint16_t packDistance(double metres);
int64_t viewStatusWord();
