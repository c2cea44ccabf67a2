// Sampling cost of each palette kind: GetColor over a sweep of t and
// GetIndexColor over every swatch, at 6 and 256 colours.

#include <benchmark/benchmark.h>

#include "palette/colour_palette.h"

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

}  // namespace

BENCHMARK(BM_PaletteGetColor)->Apply(PaletteArgs);
BENCHMARK(BM_PaletteGetIndexColor)->Apply(PaletteArgs);
