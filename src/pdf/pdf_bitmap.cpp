#include "pdf/pdf_bitmap.h"

#include <utility>

#include "pdf/pdf_error.h"

namespace {

// The palette a new indexed bitmap starts with: an even grey ramp from
// black at entry 0 to white at the last entry.
std::vector<TPdfPaletteEntry> GreyRamp(int entries) {
  std::vector<TPdfPaletteEntry> ramp(static_cast<std::size_t>(entries));
  for (int i = 0; i < entries; ++i) {
    const auto grey = static_cast<uint8_t>(i * 255 / (entries - 1));
    ramp[static_cast<std::size_t>(i)] = {grey, grey, grey};
  }
  return ramp;
}

std::size_t RowBytesFor(int width, TPdfPixelFormat format) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(BitsPerPixel(format)) + 7) / 8;
}

// Palette index of pixel x in an indexed row.
uint32_t IndexAt(const uint8_t* row, int x, TPdfPixelFormat format) {
  switch (format) {
    case TPdfPixelFormat::pf1bit:
      return (row[x / 8] >> (7 - x % 8)) & 1u;
    case TPdfPixelFormat::pf4bit:
      return (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0Fu;
    default:
      return row[x];
  }
}

}  // namespace

TPdfBitmap::TPdfBitmap(int width, int height, TPdfPixelFormat format)
    : FWidth(width), FHeight(height), FFormat(format) {
  PdfRequire(width >= 0 && height >= 0, "Bitmap size must not be negative.");
  const int bits = BitsPerPixel(format);
  PdfRequire(bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32, "Not supported pixel format.");
  FRowBytes = RowBytesFor(width, format);
  FPixels.assign(FRowBytes * static_cast<std::size_t>(height), 0);
  if (IsIndexedFormat(format)) FPalette = GreyRamp(1 << bits);
}

uint8_t* TPdfBitmap::ScanLine(int row) {
  PdfRequire(row >= 0 && row < FHeight, "Scan line index out of bounds.");
  return FPixels.data() + static_cast<std::size_t>(row) * FRowBytes;
}

const uint8_t* TPdfBitmap::ScanLine(int row) const {
  PdfRequire(row >= 0 && row < FHeight, "Scan line index out of bounds.");
  return FPixels.data() + static_cast<std::size_t>(row) * FRowBytes;
}

void TPdfBitmap::SetPalette(std::vector<TPdfPaletteEntry> palette) {
  PdfRequire(palette.size() <= kMaxPaletteEntries, "A palette holds at most 256 entries.");
  FPalette = std::move(palette);
}

void TPdfBitmap::CheckPosition(int x, int y) const {
  PdfRequire(x >= 0 && x < FWidth && y >= 0 && y < FHeight, "Pixel position out of bounds.");
}

uint32_t TPdfBitmap::Pixel(int x, int y) const {
  CheckPosition(x, y);
  const uint8_t* row = ScanLine(y);
  switch (FFormat) {
    case TPdfPixelFormat::pf24bit: {
      const uint8_t* p = row + static_cast<std::size_t>(x) * 3;
      return p[0] | (p[1] << 8) | (p[2] << 16);
    }
    case TPdfPixelFormat::pf32bit: {
      const uint8_t* p = row + static_cast<std::size_t>(x) * 4;
      return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    default:
      return IndexAt(row, x, FFormat);
  }
}

void TPdfBitmap::SetPixel(int x, int y, uint32_t value) {
  CheckPosition(x, y);
  uint8_t* row = ScanLine(y);
  switch (FFormat) {
    case TPdfPixelFormat::pf1bit: {
      const auto bit = static_cast<uint8_t>(0x80u >> (x % 8));
      row[x / 8] = static_cast<uint8_t>((value & 1u) != 0 ? row[x / 8] | bit : row[x / 8] & ~bit);
      return;
    }
    case TPdfPixelFormat::pf4bit: {
      const int shift = x % 2 == 0 ? 4 : 0;
      row[x / 2] = static_cast<uint8_t>((row[x / 2] & ~(0x0F << shift)) | ((value & 0x0Fu) << shift));
      return;
    }
    case TPdfPixelFormat::pf8bit:
      row[x] = static_cast<uint8_t>(value);
      return;
    case TPdfPixelFormat::pf24bit:
    case TPdfPixelFormat::pf32bit: {
      const int bytes = BitsPerPixel(FFormat) / 8;
      uint8_t* p = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(bytes);
      for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
      return;
    }
  }
}

TPdfPaletteEntry TPdfBitmap::PixelColor(int x, int y) const {
  const uint32_t value = Pixel(x, y);
  if (IsIndexedFormat(FFormat)) return PaletteEntry(value);
  return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

TPdfBitmap TPdfBitmap::ConvertedTo8Bit() const {
  PdfRequire(IsIndexedFormat(FFormat), "Not supported pixel format.");
  TPdfBitmap result(FWidth, FHeight, TPdfPixelFormat::pf8bit);
  result.FPalette = FPalette;
  for (int y = 0; y < FHeight; ++y) {
    const uint8_t* source = ScanLine(y);
    uint8_t* target = result.ScanLine(y);
    for (int x = 0; x < FWidth; ++x) target[x] = static_cast<uint8_t>(IndexAt(source, x, FFormat));
  }
  return result;
}

TPdfBitmap TPdfBitmap::ConvertedTo24Bit() const {
  TPdfBitmap result(FWidth, FHeight, TPdfPixelFormat::pf24bit);
  if (!IsIndexedFormat(FFormat)) {
    // Blue, green and red stay in place; a 32-bit pixel's alpha is dropped.
    const std::size_t sourceBytes = static_cast<std::size_t>(BitsPerPixel(FFormat) / 8);
    for (int y = 0; y < FHeight; ++y) {
      const uint8_t* source = ScanLine(y);
      uint8_t* target = result.ScanLine(y);
      for (int x = 0; x < FWidth; ++x, source += sourceBytes, target += 3) {
        target[0] = source[0];
        target[1] = source[1];
        target[2] = source[2];
      }
    }
    return result;
  }
  for (int y = 0; y < FHeight; ++y) {
    const uint8_t* source = ScanLine(y);
    uint8_t* target = result.ScanLine(y);
    for (int x = 0; x < FWidth; ++x, target += 3) {
      const TPdfPaletteEntry c = PaletteEntry(IndexAt(source, x, FFormat));
      target[0] = c.Blue;
      target[1] = c.Green;
      target[2] = c.Red;
    }
  }
  return result;
}
