// Throws: kinds of throw and their flags, the juggler-local to world conversion, spin mirroring.
#pragma once
#include <cstdint>

struct Fangwurf;

enum : uint32_t {
  KOT_ERROR = 0x80000000u,
  KOT_GROUP_END = 0x40000000u,
  KOT_c = 0x100, KOT_C = 0x200, KOT_f = 0x400, KOT_b = 0x800, KOT_B = 0x1000, KOT_a = 0x2000,
  KOT_A = 0x4000, KOT_s = 0x8000, KOT_S = 0x10000, KOT_t = 0x20000, KOT_d = 0x40000, KOT_z = 0x80000,
};

uint32_t KindOfThrowFlag(char letter);
void Punkt_drehen(double p[2], double angle);
void Fangwurf_umrechnen(Fangwurf *record, int column);
int Spin_spiegeln();
