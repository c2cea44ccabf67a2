// The viewport redraw's hot path: the colour field of every view type at the
// size of one viewport of the 2 x 2 layout (242) and of the 1 x 1 layout
// (518), in ns per pixel, and a full re-render of the four start-up views.
#include <benchmark/benchmark.h>

#include <array>

#include "app/core/viewport/colour_field.h"
#include "palette/colour_palette.h"

namespace {

void BM_RenderField(benchmark::State& state) {
  const auto viewType = static_cast<TViewType>(state.range(0));
  const int size = static_cast<int>(state.range(1));
  TBitmap32 field(size, size);
  TColorPalette path;  // a sequential palette for the two path view types
  path.SetNumColors(6);
  TColorPalette* palettes[] = {&path};
  TFieldParams params;
  params.ViewType = viewType;
  params.SliderValue = kDefaultSliderValues[viewType];
  params.Palettes = palettes;
  for (auto _ : state) {
    field.Clear(kFieldBackground32);
    RenderField(field, params);
    benchmark::DoNotOptimize(field.Bits());
  }
  state.SetLabel(std::string(ViewTypeInfo[viewType].Name));
  // Seconds per pixel, shown with an SI prefix: "9.7n" is 9.7 ns per pixel.
  state.counters["time_per_pixel"] = benchmark::Counter(
      static_cast<double>(size) * size, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RenderField)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kNumViewTypes - 1, 1), {242, 518}})
    ->Unit(benchmark::kMicrosecond);

// The 2 x 2 layout at start: "CIELuv_L*", "CIELuv_C*", "CIELuv_H*", "HLS_H".
void BM_RenderFullLayout2x2(benchmark::State& state) {
  constexpr int kSize = 242;
  constexpr std::array<TViewType, 4> kViews = {vtLuvL, vtLuvC, vtLuvH, vtHLS_H};
  std::array<TBitmap32, 4> fields;
  for (TBitmap32& f : fields) f.SetSize(kSize, kSize);
  for (auto _ : state) {
    for (size_t i = 0; i < kViews.size(); ++i) {
      TFieldParams params;
      params.ViewType = kViews[i];
      params.SliderValue = kDefaultSliderValues[kViews[i]];
      fields[i].Clear(kFieldBackground32);
      RenderField(fields[i], params);
      benchmark::DoNotOptimize(fields[i].Bits());
    }
  }
}
BENCHMARK(BM_RenderFullLayout2x2)->Unit(benchmark::kMillisecond);

}  // namespace
