// Reading a 12-megapixel JPEG: libjpeg's header read alone (the floor), the
// PDF writer's TJpegImage (also of the same picture arithmetic-coded, which
// it recodes with Huffman coding), the bitmap decoder beside a bare
// libjpeg-turbo decode to BGRA, and the decoder's peak memory.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
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

// Width x height RGB rows encoded one by one at quality 90 (no bitmap of
// their size is needed): `configure` adjusts the coder after its defaults,
// `fill` writes row y's samples.
template <typename Configure, typename Fill>
std::vector<uint8_t> EncodeRgbRows(int width, int height, Configure configure, Fill fill) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  configure(info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    fill(static_cast<int>(info.next_scanline), row.data());
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

// The same picture arithmetic-coded, as cjpeg -arithmetic writes it.
const std::vector<uint8_t>& ArithmeticJpeg12MP() {
  static const std::vector<uint8_t> jpeg = [] {
    const TBitmap32 picture = LoadBitmap32FromJpeg(Jpeg12MP());
    return EncodeRgbRows(
        kWidth, kHeight, [](jpeg_compress_struct& info) { info.arith_code = TRUE; },
        [&picture](int y, JSAMPLE* row) {
          const TColor32* pixels = picture.ScanLine(y);
          for (int x = 0; x < kWidth; ++x) {
            row[3 * x] = static_cast<JSAMPLE>(RedComponent(pixels[x]));
            row[3 * x + 1] = static_cast<JSAMPLE>(GreenComponent(pixels[x]));
            row[3 * x + 2] = static_cast<JSAMPLE>(BlueComponent(pixels[x]));
          }
        });
  }();
  return jpeg;
}

// libjpeg reading `jpeg` from memory, its header read; destroyed with it.
struct TBenchDecoder {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Error;

  explicit TBenchDecoder(const std::vector<uint8_t>& jpeg) {
    Info.err = jpeg_std_error(&Error);
    jpeg_create_decompress(&Info);
    jpeg_mem_src(&Info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&Info, TRUE);
  }
  TBenchDecoder(const TBenchDecoder&) = delete;
  TBenchDecoder& operator=(const TBenchDecoder&) = delete;
  ~TBenchDecoder() { jpeg_destroy_decompress(&Info); }
};

// The header read that a header-only check costs: create, read, destroy.
void BM_JpegReadHeader12MP(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = Jpeg12MP();
  for (auto _ : state) {
    const TBenchDecoder decoder(jpeg);
    benchmark::DoNotOptimize(decoder.Info.image_width);
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

// The floor for the bitmap decoder: libjpeg-turbo decoding the same file
// straight to BGRA into a fresh buffer of the image's size, 16 rows a call.
void BM_BareLibjpegDecodeToBgra12MP(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = Jpeg12MP();
  for (auto _ : state) {
    TBenchDecoder decoder(jpeg);
    jpeg_decompress_struct& info = decoder.Info;
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    const std::size_t stride = std::size_t{info.output_width} * 4;
    const std::unique_ptr<JSAMPLE[]> pixels(new JSAMPLE[stride * info.output_height]);
    while (info.output_scanline < info.output_height) {
      const JDIMENSION count = std::min<JDIMENSION>(16, info.output_height - info.output_scanline);
      JSAMPROW rows[16];
      for (JDIMENSION i = 0; i < count; ++i) rows[i] = pixels.get() + stride * (info.output_scanline + i);
      jpeg_read_scanlines(&info, rows, count);
    }
    jpeg_finish_decompress(&info);
    benchmark::DoNotOptimize(pixels.get());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BareLibjpegDecodeToBgra12MP)->Unit(benchmark::kMillisecond);

// A photo-like picture of any size encoded row by row (no bitmap of its
// size is held): baseline 4:2:0 as the writer's defaults, or progressive with
// full-resolution chroma (4:4:4).
std::vector<uint8_t> EncodedPicture(int width, int height, bool progressive444) {
  std::uint32_t noise = 12345;
  return EncodeRgbRows(
      width, height,
      [progressive444](jpeg_compress_struct& info) {
        if (!progressive444) return;
        jpeg_simple_progression(&info);
        for (int c = 0; c < 3; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
      },
      [&noise, width, height](int y, JSAMPLE* row) {
        for (int x = 0; x < width; ++x) {
          noise = noise * 1664525u + 1013904223u;
          const int n = static_cast<int>(noise >> 29);
          row[3 * x] = static_cast<JSAMPLE>((x * 255 / width + n) & 0xFF);
          row[3 * x + 1] = static_cast<JSAMPLE>((y * 255 / height + n) & 0xFF);
          row[3 * x + 2] = static_cast<JSAMPLE>(((x + y) / 28 + n) & 0xFF);
        }
      });
}

// A "VmRSS:"-style field of /proc/self/status, in bytes.
double StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::string(field).size())) * 1024;
  return 0;
}

// The decoder's peak memory as a multiple of the bitmap it gives: the peak
// resident size during the load (VmHWM, reset just before it) less the
// resident size before it, which holds the process and the encoded file.
// Freed heap is handed back first, so the load cannot hide in it.
void BM_LoadBitmap32FromJpegPeakMemory(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  const std::vector<uint8_t> jpeg = EncodedPicture(width, height, state.range(2) != 0);
  double worst = 0;
  for (auto _ : state) {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";  // VmHWM := VmRSS
    const double before = StatusBytes("VmRSS:");
    {
      const TBitmap32 bitmap = LoadBitmap32FromJpeg(jpeg);
      benchmark::DoNotOptimize(bitmap.Bits());
    }
    worst = std::max(worst, (StatusBytes("VmHWM:") - before) / (4.0 * width * height));
  }
  state.counters["peak_x_bitmap"] = worst;
  state.counters["file_MB"] = static_cast<double>(jpeg.size()) / 1e6;
}
BENCHMARK(BM_LoadBitmap32FromJpegPeakMemory)
    ->ArgNames({"width", "height", "progressive444"})
    ->Args({4000, 4097, 0})
    ->Args({8000, 6000, 0})
    ->Args({8000, 6000, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
