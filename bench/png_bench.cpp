// Reading PNG files: the whole load of photo-like pictures beside libpng's
// simplified API reading the same file to BGRA (the peer whose speed the
// reader should match), and the check of the image data (one inflate pass
// without keeping the rows) that the load makes before it allocates the bitmap
// of a file whose data is small for its size.
#include <benchmark/benchmark.h>
#include <png.h>

#include <chrono>
#include <csetjmp>
#include <cstdint>
#include <string>
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

// The files both readers load: the picture (or its top left corner) as RGB or
// RGBA, 8 or 16 bits a sample, plain or Adam7, untagged or with a gAMA,
// written by libpng's full API with its default filters; or the RGBA picture
// as SaveBitmap32ToPng writes it.
struct TPngCase {
  const char* Name;
  int Width, Height;
  int Channels;  // 3 or 4
  int Depth;     // 8 or 16
  bool Adam7;
  png_fixed_point Gamma;  // 0: no gAMA chunk
  bool Saved = false;     // written by SaveBitmap32ToPng instead
};
constexpr TPngCase kCases[] = {
    {"rgb_12mp", kWidth, kHeight, 3, 8, false, 0},
    {"rgba_12mp", kWidth, kHeight, 4, 8, false, 0},
    {"rgb16_12mp", kWidth, kHeight, 3, 16, false, 0},
    {"rgb16_gamma1_12mp", kWidth, kHeight, 3, 16, false, 100000},
    {"rgb_adam7_4mp", 2000, 2000, 3, 8, true, 0},
    {"rgba_saved_12mp", kWidth, kHeight, 4, 8, false, 0, true},
};
constexpr int kCaseCount = static_cast<int>(std::size(kCases));

void AppendToVector(png_structp png, png_bytep data, size_t size) {
  auto& out = *static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out.insert(out.end(), data, data + size);
}

// libpng's writer with its default filters and compression; false on error.
bool WritePng(const TPngCase& c, png_bytepp rows, std::vector<uint8_t>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendToVector, nullptr);
  png_set_IHDR(png, info, c.Width, c.Height, c.Depth, c.Channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               c.Adam7 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (c.Gamma != 0) png_set_gAMA_fixed(png, info, c.Gamma);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

// 16-bit samples carry the 8-bit value in their high byte and a
// deterministic pattern in the low one, so both bytes vary.
std::vector<uint8_t> EncodeCase(const TPngCase& c) {
  const TBitmap32 picture = NoisyGradient12MP(c.Channels == 4);
  if (c.Saved) return SaveBitmap32ToPng(picture);
  const size_t sampleBytes = static_cast<size_t>(c.Depth / 8);
  const size_t stride = static_cast<size_t>(c.Width) * c.Channels * sampleBytes;
  std::vector<uint8_t> pixels(stride * c.Height);
  std::vector<png_bytep> rows(c.Height);
  for (int y = 0; y < c.Height; ++y) {
    uint8_t* out = rows[y] = pixels.data() + y * stride;
    const TColor32* in = picture.ScanLine(y);
    for (int x = 0; x < c.Width; ++x) {
      const uint8_t samples[] = {RedComponent(in[x]), GreenComponent(in[x]), BlueComponent(in[x]),
                                 AlphaComponent(in[x])};
      for (int s = 0; s < c.Channels; ++s) {
        *out++ = samples[s];
        if (sampleBytes == 2) *out++ = static_cast<uint8_t>(x * 37 + y * 11 + s * 5);
      }
    }
  }
  std::vector<uint8_t> png;
  if (!WritePng(c, rows.data(), png)) png.clear();
  return png;
}

const std::vector<uint8_t>& CaseFile(int index) {
  static std::vector<uint8_t> files[kCaseCount];
  if (files[index].empty()) files[index] = EncodeCase(kCases[index]);
  return files[index];
}

void BM_PngLoad(benchmark::State& state) {
  const TPngCase& c = kCases[state.range(0)];
  const std::vector<uint8_t>& png = CaseFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const TBitmap32 bitmap = LoadBitmap32FromPng(png);
    benchmark::DoNotOptimize(bitmap.Bits());
  }
  state.SetLabel(c.Name);
  state.SetItemsProcessed(state.iterations() * c.Width * c.Height);
}
BENCHMARK(BM_PngLoad)->DenseRange(0, kCaseCount - 1)->Unit(benchmark::kMillisecond);

// The peer: libpng's simplified API into a bitmap of the same size; false
// (with the message in `error`) when libpng refuses the file.
bool LoadWithLibpngSimplified(const std::vector<uint8_t>& png, std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
    error = image.message;
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  TBitmap32 bitmap(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, bitmap.Bits(), 0, nullptr)) {
    error = image.message;
    png_image_free(&image);
    return false;
  }
  benchmark::DoNotOptimize(bitmap.Bits());
  return true;
}

void BM_PngLoadLibpngSimplified(benchmark::State& state) {
  const TPngCase& c = kCases[state.range(0)];
  const std::vector<uint8_t>& png = CaseFile(static_cast<int>(state.range(0)));
  std::string error;
  for (auto _ : state)
    if (!LoadWithLibpngSimplified(png, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
  state.SetLabel(c.Name);
  state.SetItemsProcessed(state.iterations() * c.Width * c.Height);
}
BENCHMARK(BM_PngLoadLibpngSimplified)->DenseRange(0, kCaseCount - 1)->Unit(benchmark::kMillisecond);

// Both readers in turn on the same file, so that a busy machine slows them
// alike: the time is the pair's; the counters give each reader's mean time a
// load and their ratio (ours / libpng's).
void BM_PngLoadBesideLibpng(benchmark::State& state) {
  using TClock = std::chrono::steady_clock;
  const TPngCase& c = kCases[state.range(0)];
  const std::vector<uint8_t>& png = CaseFile(static_cast<int>(state.range(0)));
  std::string error;
  TClock::duration ours{}, peer{};
  for (auto _ : state) {
    const TClock::time_point start = TClock::now();
    {
      const TBitmap32 bitmap = LoadBitmap32FromPng(png);
      benchmark::DoNotOptimize(bitmap.Bits());
    }
    const TClock::time_point between = TClock::now();
    if (!LoadWithLibpngSimplified(png, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    const TClock::time_point end = TClock::now();
    ours += between - start;
    peer += end - between;
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ours_ms"] = std::chrono::duration<double, std::milli>(ours).count() / n;
  state.counters["libpng_ms"] = std::chrono::duration<double, std::milli>(peer).count() / n;
  state.counters["ratio"] = std::chrono::duration<double>(ours) / std::chrono::duration<double>(peer);
  state.SetLabel(c.Name);
}
BENCHMARK(BM_PngLoadBesideLibpng)->DenseRange(0, kCaseCount - 1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
