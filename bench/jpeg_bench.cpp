// Reading a 12-megapixel JPEG: libjpeg's header read alone (the floor), the
// PDF writer's TJpegImage, and the bitmap decoder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <vector>

#include <jpeglib.h>

#include "graphics/bitmap32.h"
#include "graphics/bitmap32_io.h"
#include "pdf/jpeg_image.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;  // 12 megapixels

// A photo-like picture at quality 90: smooth gradients with a little
// deterministic noise, so the entropy decoder has real work to do.
const std::vector<uint8_t>& Jpeg12MP() {
  static const std::vector<uint8_t> jpeg = [] {
    TBitmap32 picture(kWidth, kHeight);
    std::uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
      TColor32* row = picture.ScanLine(y);
      for (int x = 0; x < kWidth; ++x) {
        noise = noise * 1664525u + 1013904223u;
        const int n = static_cast<int>(noise >> 29);  // 0..7
        row[x] = Color32((x * 255 / kWidth + n) & 0xFF, (y * 255 / kHeight + n) & 0xFF, ((x + y) / 28 + n) & 0xFF);
      }
    }
    return SaveBitmap32ToJpeg(picture, 90);
  }();
  return jpeg;
}

// The header read that a header-only check costs: create, read, destroy.
void BM_JpegReadHeader12MP(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = Jpeg12MP();
  for (auto _ : state) {
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    benchmark::DoNotOptimize(info.image_width);
    jpeg_destroy_decompress(&info);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(jpeg.size()));
}
BENCHMARK(BM_JpegReadHeader12MP)->Unit(benchmark::kMicrosecond);

void BM_TJpegImageFromBytes12MP(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = Jpeg12MP();
  for (auto _ : state) {
    const TJpegImage image = TJpegImage::FromBytes(jpeg);
    benchmark::DoNotOptimize(image.Width());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(jpeg.size()));
}
BENCHMARK(BM_TJpegImageFromBytes12MP)->Unit(benchmark::kMillisecond);

void BM_LoadBitmap32FromJpeg12MP(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = Jpeg12MP();
  for (auto _ : state) {
    const TBitmap32 bitmap = LoadBitmap32FromJpeg(jpeg);
    benchmark::DoNotOptimize(bitmap.Bits());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_LoadBitmap32FromJpeg12MP)->Unit(benchmark::kMillisecond);

}  // namespace
