// Windows bitmap files: a 14-byte file header, an info header of at least 40
// bytes, an optional colour table, then the rows, each padded to 4 bytes.
#include "graphics/bitmap32_io.h"

#include <array>

#include "graphics/bitmap32_io_internal.h"
#include "graphics/color32.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

uint32_t U16(std::span<const uint8_t> b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

[[noreturn]] void Fail(const std::string& why) { throw EBitmapIOError("Invalid BMP image: " + why); }

// One channel of a bit-field pixel scaled to 0..255; a missing mask gives Missing.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;
  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (!mask) return;
    while (!(mask & 1)) mask >>= 1, ++Shift;
    Max = mask;
  }
  uint32_t Of(uint32_t pixel, uint32_t missing) const {
    if (!Mask) return missing;
    return static_cast<uint32_t>((static_cast<uint64_t>((pixel & Mask) >> Shift) * 255 + Max / 2) / Max);
  }
};

}  // namespace

TBitmap32 LoadBitmap32FromBmp(std::span<const uint8_t> b) {
  if (b.size() < kFileHeaderSize + kInfoHeaderSize || b[0] != 'B' || b[1] != 'M') Fail("no bitmap header");
  const uint32_t dataOffset = U32(b, 10);
  const uint32_t infoSize = U32(b, 14);
  if (infoSize < kInfoHeaderSize || infoSize > b.size() - kFileHeaderSize) Fail("unsupported info header");
  const int32_t width = static_cast<int32_t>(U32(b, 18));
  const int32_t rawHeight = static_cast<int32_t>(U32(b, 22));
  const uint32_t bits = U16(b, 28);
  const uint32_t compression = U32(b, 30);
  uint32_t colorsUsed = U32(b, 46);
  const bool topDown = rawHeight < 0;
  const int64_t height = topDown ? -static_cast<int64_t>(rawHeight) : rawHeight;

  const bool paletted = bits == 1 || bits == 4 || bits == 8;
  if (!paletted && bits != 24 && bits != 32) Fail("unsupported bit depth " + std::to_string(bits));
  if (compression != kBiRgb && !(compression == kBiBitfields && bits == 32)) Fail("compressed data is not supported");

  // Bit-field masks follow a 40-byte header, or sit inside a larger one.
  uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
  if (compression == kBiBitfields) {
    const size_t at = kFileHeaderSize + kInfoHeaderSize;
    if (b.size() < at + 12) Fail("missing bit-field masks");
    for (int i = 0; i < 3; ++i) masks[i] = U32(b, at + 4 * i);
    masks[3] = infoSize >= 56 ? U32(b, at + 12) : 0;
  }

  // A pixel index past the colour table reads opaque black, as every entry
  // of the table is opaque: a paletted file holds no alpha.
  std::array<TColor32, 256> palette;
  palette.fill(clBlack32);
  if (paletted) {
    const uint32_t maxColors = 1u << bits;
    if (colorsUsed == 0 || colorsUsed > maxColors) colorsUsed = maxColors;
    const size_t at = kFileHeaderSize + infoSize;
    for (uint32_t i = 0; i < colorsUsed; ++i) {
      const size_t p = at + 4 * i;
      if (p + 4 > b.size()) Fail("truncated colour table");
      palette[i] = Color32(b[p + 2], b[p + 1], b[p]);
    }
  }

  // The pixel data's exact size is known: check it against the file before
  // anything is allocated, so a short file cannot claim a huge image.
  bitmap32_io::CheckImageSize(width, height, "BMP");
  const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  if (dataOffset > b.size() || (b.size() - dataOffset) / stride < static_cast<size_t>(height)) Fail("truncated pixel data");
  TBitmap32 bitmap = bitmap32_io::NewImage(width, height, "BMP");

  const TChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  bool anyAlpha = false;
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t* in = b.data() + dataOffset + static_cast<size_t>(row) * stride;
    TColor32* out = bitmap.ScanLine(static_cast<int>(topDown ? row : height - 1 - row));
    for (int x = 0; x < width; ++x) {
      if (paletted) {
        const size_t bit = static_cast<size_t>(x) * bits;
        const uint32_t index = (in[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        out[x] = palette[index];
      } else if (bits == 24) {
        out[x] = Color32(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
      } else {
        const uint32_t pixel = U32(std::span<const uint8_t>(in + 4 * x, 4), 0);
        out[x] = Color32(red.Of(pixel, 0), green.Of(pixel, 0), blue.Of(pixel, 0), alpha.Of(pixel, 255));
        anyAlpha |= AlphaComponent(out[x]) != 0;
      }
    }
  }
  // Most 32-bit writers leave the fourth byte 0: such an image is opaque.
  if (bits == 32 && !anyAlpha) {
    TColor32* p = bitmap.Bits();
    for (int64_t i = 0, n = int64_t{width} * height; i < n; ++i) p[i] = SetAlpha(p[i], 255);
  }
  return bitmap;
}

std::vector<uint8_t> SaveBitmap32ToBmp(const TBitmap32& bitmap) {
  bitmap32_io::RequireImage(bitmap, "BMP");
  const uint64_t pixelBytes = uint64_t{4} * static_cast<uint64_t>(bitmap.Width()) * static_cast<uint64_t>(bitmap.Height());
  if (pixelBytes > UINT32_MAX - kFileHeaderSize - kInfoHeaderSize) throw EBitmapIOError("Bitmap too large for a BMP file");
  std::vector<uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + pixelBytes));
  Put32(out, 0);
  Put32(out, kFileHeaderSize + kInfoHeaderSize);
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(bitmap.Width()));
  Put32(out, static_cast<uint32_t>(bitmap.Height()));  // positive: rows from the bottom
  Put16(out, 1);                                        // planes
  Put16(out, 32);                                       // bits per pixel
  Put32(out, kBiRgb);
  Put32(out, static_cast<uint32_t>(pixelBytes));
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    const TColor32* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) Put32(out, row[x]);  // B, G, R, A in little-endian order
  }
  return out;
}
