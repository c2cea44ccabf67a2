// Reading a 12-megapixel RGBA PNG: the whole load, and the check of its image
// data (one inflate pass without keeping the rows) that the load makes before
// it allocates the bitmap.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "graphics/bitmap32.h"
#include "graphics/bitmap32_io.h"
#include "graphics/bitmap32_io_png_internal.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;  // 12 megapixels

// Smooth gradients with a little deterministic noise and a varying alpha, so
// that the filters and the deflate stream have real work to do.
const std::vector<uint8_t>& Png12MP() {
  static const std::vector<uint8_t> png = [] {
    TBitmap32 picture(kWidth, kHeight);
    std::uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
      TColor32* row = picture.ScanLine(y);
      for (int x = 0; x < kWidth; ++x) {
        noise = noise * 1664525u + 1013904223u;
        const int n = static_cast<int>(noise >> 29);  // 0..7
        row[x] = Color32((x * 255 / kWidth + n) & 0xFF, (y * 255 / kHeight + n) & 0xFF, ((x + y) / 28 + n) & 0xFF,
                         255 - (x / 16 & 0x3F));
      }
    }
    return SaveBitmap32ToPng(picture);
  }();
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
