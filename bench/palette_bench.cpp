// Sampling cost of each palette kind: GetColor over a sweep of t and
// GetIndexColor over every swatch, at 6 and 256 colours; and the curve
// palettes' GetColor with out-of-gamut colours greyed, at tension 1.0.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "palette/colour_palette.h"
#include "palette/diverging_palette.h"
#include "palette/sequential_palette.h"

namespace {

// A holder with the given kind current and n colours; the custom palette
// gets six keys round the hue circle.
void Prepare(TColorPalette& holder, TPaletteType type, int n) {
  holder.SetNumColors(n);
  holder.SetPaletteType(type);
  if (type == ptCustom) {
    constexpr TRGB kKeys[] = {{255, 0, 0},   {255, 255, 0}, {0, 255, 0},
                              {0, 255, 255}, {0, 0, 255},   {255, 0, 255}};
    for (const TRGB& key : kKeys) holder.CustPal().AddKey(key);
  }
}

// Times read(palette, i, n, rgb) for every i < n on the holder's current
// palette of the benchmark's kind and size.
template <class TRead>
void SweepPalette(benchmark::State& state, TRead read) {
  const auto type = static_cast<TPaletteType>(state.range(0));
  const int n = static_cast<int>(state.range(1));
  TColorPalette holder;
  Prepare(holder, type, n);
  const TBasePalette& palette = holder.Current();
  TRGB rgb;
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) {
      read(palette, i, n, rgb);
      benchmark::DoNotOptimize(rgb);
    }
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_PaletteGetColor(benchmark::State& state) {
  SweepPalette(state, [](const TBasePalette& palette, int i, int n, TRGB& rgb) {
    palette.GetColor(true, rgb, static_cast<double>(i) / (n - 1));
  });
}

void BM_PaletteGetIndexColor(benchmark::State& state) {
  SweepPalette(state, [](const TBasePalette& palette, int i, int /*n*/, TRGB& rgb) {
    palette.GetIndexColor(i, rgb);
  });
}

void PaletteArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"type", "colors"});
  for (int type : {int{ptCustom}, int{ptSeq}, int{ptDiv}, int{ptQual}})
    for (int n : {6, 256}) b->Args({type, n});
}

constexpr int kGreyedHues = 72;     // every 5 degrees
constexpr int kGreyedSamples = 101;  // t = k / 100

// GetColor(false) over 72 hues x 101 samples of sequential or diverging
// palettes under the default settings with tension 1.0, where a curve runs
// along the gamut's face from black to the most saturated colour of its hue.
// The "greyed" counter is the number of samples per sweep given the
// out-of-gamut grey.
void BM_PaletteGetColorGreyed(benchmark::State& state) {
  const auto type = static_cast<TPaletteType>(state.range(0));
  std::vector<std::unique_ptr<TQuantitativePalette>> palettes;
  for (int i = 0; i < kGreyedHues; ++i) {
    std::unique_ptr<TQuantitativePalette> palette;
    if (type == ptSeq) palette = std::make_unique<TSequentialPalette>();
    else palette = std::make_unique<TDivergingPalette>();
    palette->SetSaturation(1);
    for (int curve = 0; curve < palette->NumCurves(); ++curve)
      palette->SetHue(curve, (5 * i + 180 * curve) % 360);
    palettes.push_back(std::move(palette));
  }
  int greyed = 0;
  for (auto _ : state) {
    greyed = 0;
    for (const auto& palette : palettes) {
      for (int k = 0; k < kGreyedSamples; ++k) {
        TRGB rgb;
        palette->GetColor(false, rgb, k / 100.0);
        greyed += rgb == kOutOfGamutGrey;
        benchmark::DoNotOptimize(rgb);
      }
    }
  }
  state.counters["greyed"] = greyed;
  state.SetItemsProcessed(state.iterations() * kGreyedHues * kGreyedSamples);
}

}  // namespace

BENCHMARK(BM_PaletteGetColor)->Apply(PaletteArgs);
BENCHMARK(BM_PaletteGetIndexColor)->Apply(PaletteArgs);
BENCHMARK(BM_PaletteGetColorGreyed)->ArgName("type")->Arg(ptSeq)->Arg(ptDiv);
