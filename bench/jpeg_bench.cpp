// Reading a 12-megapixel JPEG: libjpeg's header read alone (the floor), the
// PDF writer's TJpegImage (also of the same picture arithmetic-coded, which
// it recodes with Huffman coding), and the bitmap decoder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "bench_pictures.h"
#include "graphics/bitmap32.h"
#include "graphics/bitmap32_io.h"
#include "pdf/jpeg_image.h"

namespace {

constexpr int kWidth = kPictureWidth;
constexpr int kHeight = kPictureHeight;

// The picture at quality 90.
const std::vector<uint8_t>& Jpeg12MP() {
  static const std::vector<uint8_t> jpeg = SaveBitmap32ToJpeg(NoisyGradient12MP(false), 90);
  return jpeg;
}

// The same picture arithmetic-coded, as cjpeg -arithmetic writes it.
const std::vector<uint8_t>& ArithmeticJpeg12MP() {
  static const std::vector<uint8_t> jpeg = [] {
    const TBitmap32 picture = LoadBitmap32FromJpeg(Jpeg12MP());
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.arith_code = TRUE;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(kWidth) * 3);
    while (info.next_scanline < info.image_height) {
      const TColor32* pixels = picture.ScanLine(static_cast<int>(info.next_scanline));
      for (int x = 0; x < kWidth; ++x) {
        row[3 * x] = static_cast<JSAMPLE>(RedComponent(pixels[x]));
        row[3 * x + 1] = static_cast<JSAMPLE>(GreenComponent(pixels[x]));
        row[3 * x + 2] = static_cast<JSAMPLE>(BlueComponent(pixels[x]));
      }
      JSAMPROW rows[] = {row.data()};
      jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
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

// The check, the recoding and the check of the recoding.
void BM_TJpegImageFromArithmetic12MP(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = ArithmeticJpeg12MP();
  for (auto _ : state) {
    const TJpegImage image = TJpegImage::FromBytes(jpeg);
    benchmark::DoNotOptimize(image.Bytes().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(jpeg.size()));
}
BENCHMARK(BM_TJpegImageFromArithmetic12MP)->Unit(benchmark::kMillisecond);

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
