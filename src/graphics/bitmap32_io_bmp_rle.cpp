#include "graphics/bitmap32_io_bmp_rle.h"

#include <algorithm>

#include "graphics/bitmap32_io.h"

namespace {

constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;

[[noreturn]] void Truncated() { throw EBitmapIOError("Invalid BMP image: truncated RLE data"); }

// Walks the codes and hands every run, clipped to the image, to `paint`:
// paint.Run(x, y, n, value) for a repeated value and paint.Literal(x, y, n,
// bytes) for literal pixels, with 0 < n <= width - x and y < height (y counts
// rows in file order). Gives the bytes taken up to where decoding stops.
template <typename TPaint>
size_t Walk(std::span<const uint8_t> data, int bits, int64_t width, int64_t height, TPaint& paint) {
  const size_t size = data.size();
  int64_t x = 0, y = 0;  // x stays within 0..width: past the row nothing is painted
  size_t at = 0;
  // How many pixels of a run of n starting at x lie inside the row.
  const auto visible = [&](int64_t n) { return std::min(n, width - x); };
  while (y < height) {  // a delta past the last row ends the image too
    if (size - at < 2) {
      // Data that ends with the last row full has lost only its end codes.
      if (y == height - 1 && x == width) return at;
      Truncated();
    }
    const uint8_t count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {
      if (const int64_t n = visible(count)) paint.Run(x, y, n, value);
      x = std::min(x + count, width);
      continue;
    }
    if (value == kEndOfLine) {
      x = 0;
      ++y;
    } else if (value == kEndOfBitmap) {
      return at;
    } else if (value == kDelta) {
      if (size - at < 2) Truncated();
      x = std::min<int64_t>(x + data[at], width);
      y += data[at + 1];
      at += 2;
    } else {
      const size_t bytes = bits == 8 ? value : (value + 1u) / 2;
      const size_t padded = (bytes + 1) & ~size_t{1};
      if (size - at < padded) Truncated();
      if (const int64_t n = visible(value)) paint.Literal(x, y, n, data.data() + at);
      x = std::min<int64_t>(x + value, width);
      at += padded;
    }
  }
  return at;
}

struct TNoPaint {
  void Run(int64_t, int64_t, int64_t, uint8_t) {}
  void Literal(int64_t, int64_t, int64_t, const uint8_t*) {}
};

class TPaletteInk {
 public:
  TPaletteInk(TBitmap32& image, std::span<const TColor32, 256> palette, int bits, bool topDown)
      : FImage(image), FPalette(palette), FBits(bits), FTopDown(topDown) {}

  void Run(int64_t x, int64_t y, int64_t n, uint8_t value) {
    TColor32* out = Row(y) + x;
    if (FBits == 8) {
      std::fill_n(out, n, FPalette[value]);
      return;
    }
    const TColor32 pair[2] = {FPalette[value >> 4], FPalette[value & 0x0F]};
    for (int64_t i = 0; i < n; ++i) out[i] = pair[i & 1];
  }

  void Literal(int64_t x, int64_t y, int64_t n, const uint8_t* in) {
    TColor32* out = Row(y) + x;
    if (FBits == 8) {
      for (int64_t i = 0; i < n; ++i) out[i] = FPalette[in[i]];
      return;
    }
    for (int64_t i = 0; i < n; ++i) out[i] = FPalette[(in[i / 2] >> (i & 1 ? 0 : 4)) & 0x0F];
  }

 private:
  TColor32* Row(int64_t y) {
    return FImage.ScanLine(static_cast<int>(FTopDown ? y : FImage.Height() - 1 - y));
  }

  TBitmap32& FImage;
  std::span<const TColor32, 256> FPalette;
  int FBits;
  bool FTopDown;
};

}  // namespace

namespace bitmap32_io {

size_t ScanBmpRle(std::span<const uint8_t> data, int bits, int64_t width, int64_t height) {
  TNoPaint none;
  return Walk(data, bits, width, height, none);
}

void DecodeBmpRle(std::span<const uint8_t> data, int bits, std::span<const TColor32, 256> palette, bool topDown,
                  TBitmap32& image) {
  TPaletteInk ink(image, palette, bits, topDown);
  Walk(data, bits, image.Width(), image.Height(), ink);
}

}  // namespace bitmap32_io
