#pragma once
// The bitmap the PDF image builders read: 1, 4, 8, 24 or 32 bits per pixel,
// rows stored top-down and packed to whole bytes (no 4-byte row padding),
// with a palette of up to 256 entries for the indexed formats.
//
// Pixel layout inside a row:
// - 1 bit: eight pixels per byte, the leftmost in the most significant bit;
// - 4 bits: two pixels per byte, the leftmost in the high nibble;
// - 8 bits: one palette index per byte;
// - 24 bits: blue, green, red per pixel;
// - 32 bits: blue, green, red, alpha per pixel (a little-endian TColor32).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pdf/pdf_graphic.h"

enum class TPdfPixelFormat : uint8_t {
  pf1bit = 1,
  pf4bit = 4,
  pf8bit = 8,
  pf24bit = 24,
  pf32bit = 32,
};

constexpr int BitsPerPixel(TPdfPixelFormat format) { return static_cast<int>(format); }

constexpr bool IsIndexedFormat(TPdfPixelFormat format) {
  return format == TPdfPixelFormat::pf1bit || format == TPdfPixelFormat::pf4bit ||
         format == TPdfPixelFormat::pf8bit;
}

// One colour-table entry (the red, green and blue of a palette entry).
struct TPdfPaletteEntry {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  bool operator==(const TPdfPaletteEntry&) const = default;
};

inline constexpr std::size_t kMaxPaletteEntries = 256;

class TPdfBitmap final : public TPdfGraphic {
 public:
  // An empty 24-bit bitmap.
  TPdfBitmap() = default;
  // A bitmap with every byte zero. Indexed formats get a grey ramp of
  // 2^bits entries, so a new 1-bit bitmap has black at entry 0 and white at 1.
  // Width and height must not be negative.
  TPdfBitmap(int width, int height, TPdfPixelFormat format);

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  TPdfPixelFormat PixelFormat() const { return FFormat; }

  // Bytes of one row: ceil(width * bits / 8).
  std::size_t RowBytes() const { return FRowBytes; }
  // The first byte of a row, 0 = top. The row must lie in 0..Height()-1.
  uint8_t* ScanLine(int row);
  const uint8_t* ScanLine(int row) const;

  // The colour table; meaningful for the indexed formats. At most 256 entries;
  // it may be shorter than 2^bits (or empty), indexes beyond it are black.
  const std::vector<TPdfPaletteEntry>& Palette() const { return FPalette; }
  void SetPalette(std::vector<TPdfPaletteEntry> palette);
  // The palette's entry `index`; black beyond its end.
  TPdfPaletteEntry PaletteEntry(uint32_t index) const {
    return index < FPalette.size() ? FPalette[index] : TPdfPaletteEntry{};
  }

  // The raw value of one pixel: the palette index for indexed formats, the
  // packed 0xRRGGBB colour for 24 bits and 0xAARRGGBB for 32 bits.
  uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t value);
  // The colour a pixel shows, through the palette for indexed formats.
  TPdfPaletteEntry PixelColor(int x, int y) const;

  // 1, 4 or 8 bits to 8-bit palette indexes, keeping the palette. Other
  // formats are a caller's mistake.
  TPdfBitmap ConvertedTo8Bit() const;
  // Any format to 24-bit blue-green-red: indexed pixels through the palette,
  // 32-bit pixels dropping their alpha.
  TPdfBitmap ConvertedTo24Bit() const;

 private:
  void CheckPosition(int x, int y) const;

  int FWidth = 0;
  int FHeight = 0;
  TPdfPixelFormat FFormat = TPdfPixelFormat::pf24bit;
  std::size_t FRowBytes = 0;
  std::vector<uint8_t> FPixels;
  std::vector<TPdfPaletteEntry> FPalette;
};
