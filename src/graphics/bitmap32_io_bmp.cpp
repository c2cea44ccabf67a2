// Windows bitmap files: a 14-byte file header, an info header, an optional
// colour table, then the pixel data: rows padded to 4 bytes, or RLE codes.
//
// Info headers: the 12-byte core header of OS/2 1.x (16-bit sizes, 3-byte
// colour table entries), the 40-byte Windows header and its longer versions
// (52, 56, 108 and 124 bytes, which add bit-field masks and colour space data
// that is not read), and the 64-byte OS/2 2.x header, read as the 40-byte one
// but with 3-byte colour table entries, as ImageMagick reads it.
#include "graphics/bitmap32_io.h"

#include <algorithm>
#include <array>

#include "graphics/bitmap32_io_bmp_rle.h"
#include "graphics/bitmap32_io_internal.h"
#include "graphics/color32.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kOs2InfoHeaderSize = 64;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// RLE codes can leave pixels unpainted (end of line, delta, end of bitmap),
// so the data's size does not bound the image's. Run codes paint at most
// 127.5 pixels per byte, which is all that writers that paint every pixel
// need; the bound leaves room eight times that for files that skip pixels,
// and keeps a few bytes from claiming a gigabyte.
constexpr int64_t kMaxRlePixelsPerByte = 1024;

// The compressions and the bit depths each takes (bit n set: n bits per
// pixel); no depth for those that are recognised but not decoded.
struct TCompressionDef {
  uint32_t Code;
  const char* Name;
  uint64_t Depths;
};
constexpr uint64_t Depth(int bits) { return uint64_t{1} << bits; }
constexpr TCompressionDef kCompressions[] = {
    {kBiRgb, "uncompressed", Depth(1) | Depth(4) | Depth(8) | Depth(16) | Depth(24) | Depth(32)},
    {kBiRle8, "RLE8", Depth(8)},
    {kBiRle4, "RLE4", Depth(4)},
    {kBiBitfields, "bit-field", Depth(16) | Depth(32)},
    {4, "JPEG", 0},
    {5, "PNG", 0},
    {6, "alpha bit-field", 0},
};
// In the OS/2 2.x header codes 3 and 4 mean other things.
constexpr TCompressionDef kOs2Compressions[] = {
    {3, "OS/2 Huffman 1D", 0},
    {4, "OS/2 RLE24", 0},
};

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
[[noreturn]] void Unsupported(const std::string& what) { throw EBitmapIOError("Unsupported BMP image: " + what); }

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

struct THeader {
  int64_t Width = 0;
  int64_t Height = 0;
  bool TopDown = false;
  uint32_t Bits = 0;
  uint32_t Compression = kBiRgb;
  uint32_t DataOffset = 0;
  // Red, green, blue and alpha masks of 16- and 32-bit pixels.
  std::array<uint32_t, 4> Masks{};
  // The colour table of paletted pixels: where it starts, bytes per entry
  // and entries.
  size_t TableAt = 0;
  size_t EntrySize = 4;
  uint32_t Colors = 0;
};

// Refuses a compression that is not decoded, or a depth it does not take.
void CheckCompression(uint32_t compression, uint32_t bits, bool os2) {
  const TCompressionDef* def = nullptr;
  if (os2)
    for (const TCompressionDef& d : kOs2Compressions)
      if (d.Code == compression) def = &d;
  if (!def)
    for (const TCompressionDef& d : kCompressions)
      if (d.Code == compression) def = &d;
  if (!def) Unsupported("compression " + std::to_string(compression));
  if (!def->Depths) Unsupported(std::string(def->Name) + " compression");
  if (bits >= 64 || !(def->Depths & Depth(static_cast<int>(bits))))
    Unsupported(std::string(def->Name) + " data of " + std::to_string(bits) + " bits per pixel");
}

THeader ReadHeader(std::span<const uint8_t> b) {
  if (b.size() < kFileHeaderSize + kCoreHeaderSize || b[0] != 'B' || b[1] != 'M') Fail("no bitmap header");
  THeader h;
  h.DataOffset = U32(b, 10);
  const uint32_t infoSize = U32(b, 14);
  if ((infoSize != kCoreHeaderSize && infoSize < kInfoHeaderSize) || infoSize > b.size() - kFileHeaderSize)
    Fail("unsupported info header");
  h.TableAt = kFileHeaderSize + infoSize;
  if (infoSize == kCoreHeaderSize) {
    h.Width = U16(b, 18);
    h.Height = U16(b, 20);
    h.Bits = U16(b, 24);
    h.EntrySize = 3;
  } else {
    h.Width = static_cast<int32_t>(U32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(U32(b, 22));
    h.TopDown = rawHeight < 0;
    h.Height = h.TopDown ? -static_cast<int64_t>(rawHeight) : rawHeight;
    h.Bits = U16(b, 28);
    h.Compression = U32(b, 30);
    h.Colors = U32(b, 46);
    if (infoSize == kOs2InfoHeaderSize) h.EntrySize = 3;
  }
  CheckCompression(h.Compression, h.Bits, infoSize == kOs2InfoHeaderSize);

  if (h.Bits <= 8) {
    const uint32_t maxColors = 1u << h.Bits;
    if (h.Colors == 0 || h.Colors > maxColors) h.Colors = maxColors;
    // A shorter table ends where the pixel data starts.
    if (h.DataOffset >= h.TableAt)
      h.Colors = static_cast<uint32_t>(std::min<size_t>(h.Colors, (h.DataOffset - h.TableAt) / h.EntrySize));
  } else if (h.Compression == kBiBitfields) {
    // The masks follow a 40-byte header, or sit inside a larger one.
    const size_t at = kFileHeaderSize + kInfoHeaderSize;
    if (b.size() < at + 12) Fail("missing bit-field masks");
    for (size_t i = 0; i < 3; ++i) h.Masks[i] = U32(b, at + 4 * i);
    h.Masks[3] = infoSize >= 56 ? U32(b, at + 12) : 0;
  } else if (h.Bits == 16) {
    h.Masks = {0x7C00u, 0x03E0u, 0x001Fu, 0};
  } else {
    h.Masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
  }
  return h;
}

// A pixel index past the colour table reads opaque black, as every entry
// of the table is opaque: a paletted file holds no alpha.
std::array<TColor32, 256> ReadPalette(std::span<const uint8_t> b, const THeader& h) {
  std::array<TColor32, 256> palette;
  palette.fill(clBlack32);
  for (uint32_t i = 0; i < h.Colors; ++i) {
    const size_t p = h.TableAt + h.EntrySize * i;
    if (p + h.EntrySize > b.size()) Fail("truncated colour table");
    palette[i] = Color32(b[p + 2], b[p + 1], b[p]);
  }
  return palette;
}

TBitmap32 LoadRle(std::span<const uint8_t> b, const THeader& h, std::span<const TColor32, 256> palette) {
  bitmap32_io::CheckImageSize(h.Width, h.Height, "BMP");
  if (h.DataOffset > b.size()) Fail("truncated pixel data");
  const std::span<const uint8_t> codes = b.subspan(h.DataOffset);
  const int bits = static_cast<int>(h.Bits);
  // The whole stream is walked before anything is allocated, so truncated
  // data is refused at no cost.
  const size_t used = bitmap32_io::ScanBmpRle(codes, bits, h.Width, h.Height);
  if (h.Width * h.Height > kMaxRlePixelsPerByte * static_cast<int64_t>(used))
    Fail("too little RLE data for " + std::to_string(h.Width) + " x " + std::to_string(h.Height) + " pixels");
  TBitmap32 bitmap = bitmap32_io::NewImage(h.Width, h.Height, "BMP");
  bitmap.Clear(palette[0]);
  bitmap32_io::DecodeBmpRle(codes, bits, palette, h.TopDown, bitmap);
  return bitmap;
}

// Decodes the rows of uncompressed data with readRow(in, out).
template <typename TReadRow>
TBitmap32 LoadRows(std::span<const uint8_t> b, const THeader& h, TReadRow readRow) {
  // The pixel data's exact size is known: check it against the file before
  // anything is allocated, so a short file cannot claim a huge image.
  bitmap32_io::CheckImageSize(h.Width, h.Height, "BMP");
  const size_t stride = (static_cast<size_t>(h.Width) * h.Bits + 31) / 32 * 4;
  if (h.DataOffset > b.size() || (b.size() - h.DataOffset) / stride < static_cast<size_t>(h.Height))
    Fail("truncated pixel data");
  TBitmap32 bitmap = bitmap32_io::NewImage(h.Width, h.Height, "BMP");
  for (int64_t row = 0; row < h.Height; ++row) {
    const uint8_t* in = b.data() + h.DataOffset + static_cast<size_t>(row) * stride;
    readRow(in, bitmap.ScanLine(static_cast<int>(h.TopDown ? row : h.Height - 1 - row)));
  }
  return bitmap;
}

TBitmap32 LoadBitFields(std::span<const uint8_t> b, const THeader& h) {
  const TChannel red(h.Masks[0]), green(h.Masks[1]), blue(h.Masks[2]), alpha(h.Masks[3]);
  const int width = static_cast<int>(h.Width);
  const auto pixel = [&](uint32_t p) {
    return Color32(red.Of(p, 0), green.Of(p, 0), blue.Of(p, 0), alpha.Of(p, 255));
  };
  const auto read16 = [&](const uint8_t* in, TColor32* out) {
    for (int x = 0; x < width; ++x) out[x] = pixel(static_cast<uint32_t>(in[2 * x] | in[2 * x + 1] << 8));
  };
  const auto read32 = [&](const uint8_t* in, TColor32* out) {
    for (int x = 0; x < width; ++x) out[x] = pixel(U32(std::span<const uint8_t>(in + 4 * x, 4), 0));
  };
  // The usual layout, B, G, R and A or an unused byte, needs no scaling.
  const bool bytes = h.Bits == 32 && h.Masks[0] == 0x00FF0000u && h.Masks[1] == 0x0000FF00u &&
                     h.Masks[2] == 0x000000FFu && (h.Masks[3] == 0xFF000000u || h.Masks[3] == 0);
  const uint32_t noAlpha = h.Masks[3] ? 0 : 255;
  const auto read32Bytes = [&](const uint8_t* in, TColor32* out) {
    for (int x = 0; x < width; ++x, in += 4) out[x] = Color32(in[2], in[1], in[0], in[3] | noAlpha);
  };
  TBitmap32 bitmap = h.Bits == 16 ? LoadRows(b, h, read16)
                     : bytes      ? LoadRows(b, h, read32Bytes)
                                  : LoadRows(b, h, read32);
  // Most writers leave the alpha bits 0: such an image stores no alpha and
  // is opaque.
  TColor32* p = bitmap.Bits();
  const int64_t n = int64_t{bitmap.Width()} * bitmap.Height();
  if (alpha.Mask && std::all_of(p, p + n, [](TColor32 c) { return AlphaComponent(c) == 0; }))
    for (int64_t i = 0; i < n; ++i) p[i] = SetAlpha(p[i], 255);
  return bitmap;
}

}  // namespace

TBitmap32 LoadBitmap32FromBmp(std::span<const uint8_t> b) {
  const THeader h = ReadHeader(b);
  const int width = static_cast<int>(h.Width);  // 16 or 32 bits in the file: fits
  if (h.Bits > 8) {
    if (h.Bits != 24) return LoadBitFields(b, h);
    return LoadRows(b, h, [&](const uint8_t* in, TColor32* out) {
      for (int x = 0; x < width; ++x) out[x] = Color32(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
    });
  }
  const std::array<TColor32, 256> palette = ReadPalette(b, h);
  if (h.Compression != kBiRgb) return LoadRle(b, h, palette);
  const uint32_t bits = h.Bits, mask = (1u << bits) - 1;
  return LoadRows(b, h, [&](const uint8_t* in, TColor32* out) {
    for (int x = 0; x < width; ++x) {
      const size_t bit = static_cast<size_t>(x) * bits;
      out[x] = palette[(in[bit / 8] >> (8 - bits - bit % 8)) & mask];
    }
  });
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
  out.resize(kFileHeaderSize + kInfoHeaderSize + pixelBytes);
  uint8_t* at = out.data() + kFileHeaderSize + kInfoHeaderSize;
  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    const TColor32* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, at += 4) {  // B, G, R, A
      at[0] = BlueComponent(row[x]);
      at[1] = GreenComponent(row[x]);
      at[2] = RedComponent(row[x]);
      at[3] = AlphaComponent(row[x]);
    }
  }
  return out;
}
