// Mode machine: the mode record qMode.
#pragma once
#include <cstdint>

struct QMode {
  int moveKeys[5];
  int dragX, dragY;
  int button1, button2;
  int benchmark;     // 0, or the benchmark number 1-3
  int reserved;
  int cameraPreset;
  int speed;
  int viewPreset;
  int64_t display;
  int64_t main;
  int64_t move;
  int64_t flags;
  int64_t view;
};

extern QMode qMode;
