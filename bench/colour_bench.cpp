// Per-pixel costs of the CIE conversions the viewports run at every full
// redraw: one conversion per iteration, so the time shown is ns per call.
// Argument 0 runs under the defaults (null settings), 1 under ProPhoto/D50
// with gamma 1.8.
#include <benchmark/benchmark.h>

#include <array>

#include "colour/cie_spaces.h"

namespace {

constexpr TColorSettings kProPhoto{13, 1, 1.8, 2};

const TColorSettings* SettingsFor(const benchmark::State& state) {
  return state.range(0) == 0 ? nullptr : &kProPhoto;
}

void Label(benchmark::State& state) {
  state.SetLabel(state.range(0) == 0 ? "Adobe98/D65/2.2 (null)" : "ProPhoto/D50/1.8");
}

// A ring of inputs so no call sees a constant.
constexpr int kRing = 64;

struct TTriple {
  double A, B, C;
};

constexpr std::array<TTriple, kRing> MakeRing(double a0, double a1, double b0, double b1,
                                              double c0, double c1) {
  std::array<TTriple, kRing> ring{};
  for (int i = 0; i < kRing; ++i) {
    const double t = i / double(kRing - 1);
    const double t2 = ((i * 37) % kRing) / double(kRing - 1);
    const double t3 = ((i * 11) % kRing) / double(kRing - 1);
    ring[i] = {a0 + (a1 - a0) * t, b0 + (b1 - b0) * t2, c0 + (c1 - c0) * t3};
  }
  return ring;
}

constexpr auto kRGBRing = MakeRing(0, 255, 0, 255, 0, 255);
constexpr auto kLuvRing = MakeRing(1, 99, -80, 80, -80, 80);
constexpr auto kLChRing = MakeRing(1, 99, 0, 90, 0, 359);
constexpr auto kLabRing = MakeRing(1, 99, -60, 60, -60, 60);

template <void (*Convert)(double, double, double, double&, double&, double&, const TColorSettings*)>
void Run(benchmark::State& state, const std::array<TTriple, kRing>& ring) {
  const TColorSettings* settings = SettingsFor(state);
  int i = 0;
  for (auto _ : state) {
    const TTriple& in = ring[i];
    double x, y, z;
    Convert(in.A, in.B, in.C, x, y, z, settings);
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(y);
    benchmark::DoNotOptimize(z);
    i = (i + 1) & (kRing - 1);
  }
  Label(state);
}

void BM_LuvToRGB(benchmark::State& state) { Run<LuvToRGB>(state, kLuvRing); }
void BM_LChToRGB(benchmark::State& state) { Run<LChToRGB>(state, kLChRing); }
void BM_LabToRGB(benchmark::State& state) { Run<LabToRGB>(state, kLabRing); }
void BM_RGBToLuv(benchmark::State& state) { Run<RGBToLuv>(state, kRGBRing); }
void BM_RGBToLCh(benchmark::State& state) { Run<RGBToLCh>(state, kRGBRing); }

}  // namespace

BENCHMARK(BM_LuvToRGB)->Arg(0)->Arg(1);
BENCHMARK(BM_LChToRGB)->Arg(0)->Arg(1);
BENCHMARK(BM_LabToRGB)->Arg(0)->Arg(1);
BENCHMARK(BM_RGBToLuv)->Arg(0)->Arg(1);
BENCHMARK(BM_RGBToLCh)->Arg(0)->Arg(1);
