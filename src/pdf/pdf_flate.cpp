#include "pdf/pdf_flate.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <string>

#include "pdf/pdf_error.h"

namespace {

constexpr int kLevel = 9;
constexpr int kWindowBits = 15;
constexpr int kMemLevel = 8;

// Owns a zlib deflate stream.
class TDeflater {
 public:
  TDeflater() {
    if (deflateInit2(&FStream, kLevel, Z_DEFLATED, kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY) != Z_OK)
      throw EPdfError("Flate: cannot initialise the compressor.");
  }
  ~TDeflater() { deflateEnd(&FStream); }
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;
  z_stream& Stream() { return FStream; }

 private:
  z_stream FStream{};
};

}  // namespace

TPdfBytes PdfFlateCompress(const TPdfBytes& data) {
  TDeflater deflater;
  z_stream& zs = deflater.Stream();
  // deflateBound is exact enough to finish in one call; the loop below only
  // matters for inputs beyond zlib's 32-bit counters.
  constexpr std::size_t kChunkLimit = std::numeric_limits<uInt>::max();
  TPdfBytes out(deflateBound(&zs, static_cast<uLong>(data.size())));
  const Bytef* next = data.data();
  std::size_t remaining = data.size();
  std::size_t produced = 0;
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (produced == out.size()) out.resize(out.size() + out.size() / 2 + 64);
    const std::size_t inChunk = std::min(remaining, kChunkLimit);
    const std::size_t outChunk = std::min(out.size() - produced, kChunkLimit);
    zs.next_in = const_cast<Bytef*>(next);
    zs.avail_in = static_cast<uInt>(inChunk);
    zs.next_out = out.data() + produced;
    zs.avail_out = static_cast<uInt>(outChunk);
    status = deflate(&zs, inChunk == remaining ? Z_FINISH : Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
      throw EPdfError("Flate: compression failed (zlib error " + std::to_string(status) + ").");
    next += inChunk - zs.avail_in;
    remaining -= inChunk - zs.avail_in;
    produced += outChunk - zs.avail_out;
  }
  out.resize(produced);
  return out;
}
