// Bitmap drawing: the overlay blend of a viewport redraw, long clipped lines
// and a full-field row write.
#include <benchmark/benchmark.h>

#include <climits>

#include "graphics/bitmap32.h"

namespace {

void BM_Bitmap32BlendOverlay(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  TBitmap32 field(size, size), overlay(size, size), composite(size, size);
  field.Clear(0xFF666666u);
  for (int y = 0; y < size; y += 2) overlay.HorzLine(0, y, size - 1, 0x1CFFFFFFu);
  overlay.SetDrawMode(TDrawMode::dmBlend);
  for (auto _ : state) {
    field.DrawTo(composite);
    overlay.DrawTo(composite);
    benchmark::DoNotOptimize(composite.Bits());
  }
  state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_Bitmap32BlendOverlay)->Arg(128)->Arg(512);

// End points far outside the bitmap: the cost must follow the visible pixels.
void BM_Bitmap32FarClippedLine(benchmark::State& state) {
  TBitmap32 b(256, 256);
  for (auto _ : state) {
    b.LineS(INT_MIN, INT_MIN + 7, INT_MAX, INT_MAX - 3, 0xAAFFFFFFu, true);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(BM_Bitmap32FarClippedLine);

void BM_Bitmap32DiagonalLine(benchmark::State& state) {
  TBitmap32 b(256, 256);
  for (auto _ : state) {
    b.Line(0, 0, 255, 170, 0xAAFFFFFFu, true);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(BM_Bitmap32DiagonalLine);

}  // namespace
