#include "graphics/bitmap32_io_png_internal.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "graphics/bitmap32_io.h"

namespace bitmap32_io {
namespace {

constexpr size_t kSignatureSize = 8;
constexpr size_t kChunkHeaderSize = 8;  // length, type
constexpr size_t kCrcSize = 4;
constexpr uint8_t kLastFilterType = 4;  // Paeth

uint32_t BigEndian32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

std::string_view ChunkType(std::span<const uint8_t> bytes, size_t at) {
  return {reinterpret_cast<const char*>(bytes.data() + at + 4), 4};
}

// A chunk type as text, with any byte that is not a letter shown as '?'.
std::string ChunkTypeText(std::span<const uint8_t> bytes, size_t at) {
  std::string type(ChunkType(bytes, at));
  for (char& c : type)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) c = '?';
  return type;
}

// Adam7: the first column and row of each pass and the steps between them.
struct TPass {
  uint32_t X0, Y0, Dx, Dy;
};
constexpr TPass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr TPass kWhole = {0, 0, 1, 1};

uint64_t Count(uint32_t size, uint32_t start, uint32_t step) { return size > start ? (size - start + step - 1) / step : 0; }

// Rows and bytes per row (after the filter byte) of one pass.
struct TPassRows {
  uint64_t Rows = 0;
  uint64_t RowBytes = 0;
};

TPassRows RowsOf(const TPngRowLayout& layout, const TPass& pass) {
  const uint64_t columns = Count(layout.Width, pass.X0, pass.Dx);
  const uint64_t rows = Count(layout.Height, pass.Y0, pass.Dy);
  if (columns == 0 || rows == 0) return {};
  return {rows, (columns * layout.BitsPerPixel + 7) / 8};
}

std::span<const TPass> PassesOf(const TPngRowLayout& layout) {
  return layout.Adam7 ? std::span<const TPass>(kAdam7) : std::span<const TPass>(&kWhole, 1);
}

// Walks the inflated bytes row by row and checks each row's filter byte.
class TFilterByteCheck {
 public:
  explicit TFilterByteCheck(const TPngRowLayout& layout) {
    for (const TPass& pass : PassesOf(layout)) FPasses[FPassCount++] = RowsOf(layout, pass);
  }

  void Take(const uint8_t* from, const uint8_t* to) {
    while (from < to) {
      if (FLeftInRow > 0) {
        const uint64_t skip = std::min<uint64_t>(FLeftInRow, static_cast<uint64_t>(to - from));
        from += skip;
        FLeftInRow -= skip;
        continue;
      }
      while (FRowsLeft == 0 && FPass < FPassCount) FRowsLeft = FPasses[FPass++].Rows;
      if (FRowsLeft == 0) return;  // past the rows: the caller stops before
      if (*from > kLastFilterType)
        throw EBitmapIOError("Invalid PNG image: row " + std::to_string(FRow) + " of the image data has filter type " +
                             std::to_string(*from) + ", not 0 to 4");
      ++from;
      --FRowsLeft;
      ++FRow;
      FLeftInRow = FPasses[FPass - 1].RowBytes;
    }
  }

 private:
  std::array<TPassRows, std::size(kAdam7)> FPasses{};
  size_t FPassCount = 0;
  size_t FPass = 0;         // the next pass to start
  uint64_t FRowsLeft = 0;   // rows of the current pass still to start
  uint64_t FLeftInRow = 0;  // bytes of the current row still to come
  uint64_t FRow = 0;        // rows started, counted over all passes
};

class TInflater {
 public:
  TInflater() {
    if (inflateInit(&FStream) != Z_OK) throw EBitmapIOError("Cannot check PNG image data: out of memory");
  }
  ~TInflater() { inflateEnd(&FStream); }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  z_stream& Stream() { return FStream; }

 private:
  z_stream FStream{};
};

}  // namespace

TPngImageData FindPngImageData(std::span<const uint8_t> bytes) {
  TPngImageData data;
  bool inFirstRun = false;
  for (uint64_t at = kSignatureSize; at + kChunkHeaderSize <= bytes.size();) {
    const uint64_t length = BigEndian32(bytes, at);
    const std::string_view type = ChunkType(bytes, at);
    if (type == "IEND") break;
    const uint64_t follow = bytes.size() - at - kChunkHeaderSize;
    if (length + kCrcSize > follow)
      throw EBitmapIOError("Invalid PNG image: the " + ChunkTypeText(bytes, at) + " chunk at byte " +
                           std::to_string(at) + " declares " + std::to_string(length) +
                           " bytes of data and a 4-byte CRC, more than the " + std::to_string(follow) +
                           " that follow");
    const bool idat = type == "IDAT";
    if (idat && data.FirstChunk == 0) {
      data.FirstChunk = at;
      inFirstRun = true;
    }
    inFirstRun = inFirstRun && idat;
    if (inFirstRun) data.Bytes += length;
    at += kChunkHeaderSize + length + kCrcSize;
  }
  return data;
}

uint64_t PngInflatedSize(const TPngRowLayout& layout) {
  uint64_t total = 0;
  for (const TPass& pass : PassesOf(layout)) {
    const TPassRows rows = RowsOf(layout, pass);
    total += rows.Rows * (1 + rows.RowBytes);
  }
  return total;
}

void CheckPngImageData(std::span<const uint8_t> bytes, const TPngImageData& data, const TPngRowLayout& layout) {
  const uint64_t need = PngInflatedSize(layout);
  const auto tooShort = [need](uint64_t got) {
    return EBitmapIOError("Invalid PNG image: the image data inflates to " + std::to_string(got) + " of the " +
                          std::to_string(need) + " bytes its rows need");
  };
  if (data.FirstChunk == 0) throw tooShort(0);
  TInflater inflater;
  z_stream& z = inflater.Stream();
  TFilterByteCheck filters(layout);
  std::array<uint8_t, 16384> out;
  uint64_t got = 0;
  for (size_t at = data.FirstChunk; at + kChunkHeaderSize <= bytes.size() && ChunkType(bytes, at) == "IDAT";) {
    // FindPngImageData has checked that data and CRC lie within the bytes.
    const size_t length = BigEndian32(bytes, at);
    const uint8_t* chunk = bytes.data() + at + 4;
    if (crc32_z(0, chunk, 4 + length) != BigEndian32(bytes, at + kChunkHeaderSize + length))
      throw EBitmapIOError("Invalid PNG image: CRC error in the IDAT chunk at byte " + std::to_string(at));
    z.next_in = const_cast<Bytef*>(chunk + 4);
    z.avail_in = static_cast<uInt>(length);
    while (z.avail_in > 0 && got < need) {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(std::min<uint64_t>(out.size(), need - got));
      const uInt inBefore = z.avail_in;
      const int result = inflate(&z, Z_NO_FLUSH);
      const size_t produced = static_cast<size_t>(z.next_out - out.data());
      // Input and room for output but no progress: zlib cannot go on.
      const bool stuck = produced == 0 && z.avail_in == inBefore;
      filters.Take(out.data(), out.data() + produced);
      got += produced;
      if (result == Z_STREAM_END) {
        if (got < need) throw tooShort(got);
        break;
      }
      if (result == Z_NEED_DICT)
        throw EBitmapIOError("Invalid PNG image: the image data asks for a preset dictionary");
      if ((result != Z_OK && result != Z_BUF_ERROR) || stuck)
        throw EBitmapIOError("Invalid PNG image: damaged image data after " + std::to_string(got) + " of the " +
                             std::to_string(need) + " bytes its rows need (" + (z.msg ? z.msg : "zlib error") +
                             ")");
    }
    if (got >= need) return;
    at += kChunkHeaderSize + length + kCrcSize;
  }
  throw tooShort(got);
}

}  // namespace bitmap32_io
