// The fax encoder in each mode on a 5100 x 6600 page (letter size at 600 dpi),
// text-like and noise, against libtiff's encoder on the same page.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "../tests/pdf/ccitt_test_images.h"
#include "../tests/pdf/ccitt_tiff_oracle.h"
#include "pdf/ccitt_fax.h"

namespace {

constexpr int kPageWidth = 5100;
constexpr int kPageHeight = 6600;

enum TPage { kText = 0, kNoise = 1 };

struct TPageData {
  ccitt_test::TFaxImage Image;
  std::vector<uint8_t> Bitmap;  // as the encoder is handed it: 0 = black
};

const TPageData& Page(int page) {
  static const TPageData pages[2] = {
      [] {
        TPageData d{ccitt_test::MakeTextPage(kPageWidth, kPageHeight), {}};
        d.Bitmap = ccitt_test::BitmapBytes(d.Image);
        return d;
      }(),
      [] {
        TPageData d{ccitt_test::MakeImage(ccitt_test::TPattern::Noise, kPageWidth, kPageHeight), {}};
        d.Bitmap = ccitt_test::BitmapBytes(d.Image);
        return d;
      }(),
  };
  return pages[page];
}

void BM_CCITTCompress(benchmark::State& state) {
  const TPageData& page = Page(static_cast<int>(state.range(1)));
  const auto mode = static_cast<TVCCITTMode>(state.range(0));
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  encoder.SetMode(mode);
  for (auto _ : state) {
    out.clear();
    encoder.Compress(ccitt_test::BitmapView(page.Bitmap, page.Image));
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["code_bytes"] = static_cast<double>(out.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.Bitmap.size()));
}

void BM_LibtiffEncode(benchmark::State& state) {
  const TPageData& page = Page(static_cast<int>(state.range(1)));
  const auto kind = static_cast<ccitt_test::TTiffFax>(state.range(0));
  std::size_t size = 0;
  for (auto _ : state) {
    const std::vector<uint8_t> code = ccitt_test::TiffEncode(page.Image.Ink, kPageWidth, kPageHeight, kind);
    size = code.size();
    benchmark::DoNotOptimize(code.data());
  }
  state.counters["code_bytes"] = static_cast<double>(size);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.Bitmap.size()));
}

// First argument: mode 0 (Group 3 1-D), 1 (Group 3 2-D), 2 (Group 4); second: text page or noise.
BENCHMARK(BM_CCITTCompress)->ArgsProduct({{0, 1, 2}, {kText, kNoise}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibtiffEncode)->ArgsProduct({{0, 1, 2}, {kText, kNoise}})->Unit(benchmark::kMillisecond);

}  // namespace
