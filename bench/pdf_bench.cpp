// Stream writing with Flate against a bare zlib call, and RC4 throughput.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>

#include "pdf/pdf_stream.h"
#include "pdf/rc4.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;  // 12 megapixels

// A photo-like RGB picture: smooth gradients with a little deterministic
// noise, so the compressor has real work to do.
const TPdfBytes& Picture() {
  static const TPdfBytes picture = [] {
    TPdfBytes data(static_cast<std::size_t>(kWidth) * kHeight * 3);
    std::uint32_t noise = 12345;
    std::size_t at = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        noise = noise * 1664525u + 1013904223u;
        const int n = static_cast<int>(noise >> 29);  // 0..7
        data[at++] = static_cast<std::uint8_t>((x * 255 / kWidth + n) & 0xFF);
        data[at++] = static_cast<std::uint8_t>((y * 255 / kHeight + n) & 0xFF);
        data[at++] = static_cast<std::uint8_t>(((x + y) / 28 + n) & 0xFF);
      }
    return data;
  }();
  return picture;
}

void BM_PdfStreamFlate12MP(benchmark::State& state) {
  TVPdfStream stream;
  stream.Data() = Picture();
  stream.Dict().FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));
  TPdfBytes out;
  for (auto _ : state) {
    out.clear();
    stream.WriteValue(out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(Picture().size()));
  state.counters["written"] = static_cast<double>(out.size());
}
BENCHMARK(BM_PdfStreamFlate12MP)->Unit(benchmark::kMillisecond)->Iterations(3);

// The baseline: one compress2 call at level 9 on the same bytes.
void BM_Compress2Level9(benchmark::State& state) {
  const TPdfBytes& data = Picture();
  TPdfBytes out(compressBound(static_cast<uLong>(data.size())));
  uLongf size = 0;
  for (auto _ : state) {
    size = static_cast<uLongf>(out.size());
    compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(data.size()));
  state.counters["written"] = static_cast<double>(size);
}
BENCHMARK(BM_Compress2Level9)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RC4Crypt(benchmark::State& state) {
  TPdfBytes buffer(static_cast<std::size_t>(state.range(0)), 0x5A);
  const std::uint8_t key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  TRC4State rc4;
  for (auto _ : state) {
    RC4Init(rc4, key, sizeof key);
    RC4Crypt(rc4, buffer.data(), buffer.data(), buffer.size());
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_RC4Crypt)->Arg(4096)->Arg(16 << 20);

}  // namespace
