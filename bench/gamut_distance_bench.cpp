#include <benchmark/benchmark.h>

#include <string>

#include "colour/colour_distance.h"
#include "colour/gamut.h"
#include "palette/colour_curve.h"

namespace {

// Pairs of CIELUV colours spread over lightness, chroma and hue.
constexpr TLCh kFrom{35, 48, 20}, kTo{72, 30, 210};

void BM_ColorDistance(benchmark::State& state) {
  TColorSettings s;
  s.DistFunc = static_cast<uint8_t>(state.range(0));
  TLCh a = kFrom;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ColorDistance(a, kTo, &s));
    a.h = a.h < 359 ? a.h + 1 : 0;
  }
  state.SetLabel(std::string(DistFuncNames[s.DistFunc]));
}
BENCHMARK(BM_ColorDistance)->Arg(0)->Arg(1)->Arg(2);

// The corner hues computed on every call, as without the table.
void BM_MaxChromaLuvForHue_Cold(benchmark::State& state) {
  double hue = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MaxChromaLuvForHue(hue, ComputeCornerHues(nullptr), nullptr));
    hue = hue < 359 ? hue + 1 : 0;
  }
}
BENCHMARK(BM_MaxChromaLuvForHue_Cold);

void BM_MaxChromaLuvForHue_Cached(benchmark::State& state) {
  double hue = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MaxChromaLuvForHue(hue, nullptr));
    hue = hue < 359 ? hue + 1 : 0;
  }
}
BENCHMARK(BM_MaxChromaLuvForHue_Cached);

// One full sweep of a palette-shaped curve, 256 samples, under each distance.
void BM_ColorCurveGetRGBSweep(benchmark::State& state) {
  TColorSettings s;
  s.DistFunc = static_cast<uint8_t>(state.range(0));
  TColorCurve curve;
  curve.ColorSettings = &s;
  curve.SetControlPoints({0, 0, 250}, MaxChromaLChForHue(250, &s), {100, 0, 250});
  curve.UpdateArcLengths();
  constexpr int kSamples = 256;
  for (auto _ : state)
    for (int i = 0; i < kSamples; ++i) benchmark::DoNotOptimize(curve.GetRGB(i / (kSamples - 1.0)));
  state.SetItemsProcessed(state.iterations() * kSamples);
  state.SetLabel(std::string(DistFuncNames[s.DistFunc]));
}
BENCHMARK(BM_ColorCurveGetRGBSweep)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
