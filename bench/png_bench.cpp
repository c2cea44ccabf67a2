// Reading a 12-megapixel RGBA PNG: the whole load, and the check of its image
// data (one inflate pass without keeping the rows) that the load makes before
// it allocates the bitmap.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_pictures.h"
#include "graphics/bitmap32.h"
#include "graphics/bitmap32_io.h"
#include "graphics/bitmap32_io_png_internal.h"

namespace {

constexpr int kWidth = kPictureWidth;
constexpr int kHeight = kPictureHeight;

// The picture with its varying alpha, so every PNG filter has work to do.
const std::vector<uint8_t>& Png12MP() {
  static const std::vector<uint8_t> png = SaveBitmap32ToPng(NoisyGradient12MP(true));
  return png;
}

void BM_LoadBitmap32FromPng12MP(benchmark::State& state) {
  const std::vector<uint8_t>& png = Png12MP();
  for (auto _ : state) {
    const TBitmap32 bitmap = LoadBitmap32FromPng(png);
    benchmark::DoNotOptimize(bitmap.Bits());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_LoadBitmap32FromPng12MP)->Unit(benchmark::kMillisecond);

void BM_PngImageDataCheck12MP(benchmark::State& state) {
  const std::vector<uint8_t>& png = Png12MP();
  const bitmap32_io::TPngRowLayout layout{kWidth, kHeight, 32, false};
  for (auto _ : state) {
    const bitmap32_io::TPngImageData data = bitmap32_io::FindPngImageData(png);
    bitmap32_io::CheckPngImageData(png, data, layout);
    benchmark::DoNotOptimize(data.Bytes);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_PngImageDataCheck12MP)->Unit(benchmark::kMillisecond);

}  // namespace
