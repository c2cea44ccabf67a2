// The bitmap layer the image builders read: pixel packing per format and the
// two conversions.
#include "pdf/pdf_bitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "pdf/pdf_error.h"

namespace {

TEST(PdfBitmapLayer, PacksPixelsLeftmostInTheHighBits) {
  struct TCase {
    TPdfPixelFormat Format;
    uint32_t Value;  // written at x = 1
    std::vector<uint8_t> Row;
  };
  const TCase cases[] = {
      {TPdfPixelFormat::pf1bit, 1, {0x40, 0x00}},
      {TPdfPixelFormat::pf4bit, 0xA, {0x0A, 0x00, 0x00, 0x00, 0x00}},
      {TPdfPixelFormat::pf8bit, 0xC3, {0x00, 0xC3, 0, 0, 0, 0, 0, 0, 0}},
      {TPdfPixelFormat::pf24bit, 0x123456, {0, 0, 0, 0x56, 0x34, 0x12}},
      {TPdfPixelFormat::pf32bit, 0x80123456, {0, 0, 0, 0, 0x56, 0x34, 0x12, 0x80}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(BitsPerPixel(c.Format));
    const int width = 9;  // not a whole number of bytes at 1 and 4 bits
    TPdfBitmap bitmap(width, 2, c.Format);
    bitmap.SetPixel(1, 1, c.Value);
    EXPECT_EQ(bitmap.Pixel(1, 1), c.Value);
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * BitsPerPixel(c.Format) + 7) / 8;
    ASSERT_EQ(bitmap.RowBytes(), rowBytes);
    const std::vector<uint8_t> row(bitmap.ScanLine(1), bitmap.ScanLine(1) + rowBytes);
    EXPECT_EQ(std::vector<uint8_t>(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(c.Row.size())),
              c.Row);
    EXPECT_EQ(bitmap.Pixel(1, 0), 0u);  // the row above is untouched
  }
}

TEST(PdfBitmapLayer, ConvertsIndexesToBytesAndEverythingToRgb) {
  TPdfBitmap nibbles(3, 1, TPdfPixelFormat::pf4bit);
  nibbles.SetPalette({{1, 2, 3}, {4, 5, 6}});
  nibbles.SetPixel(0, 0, 1);
  nibbles.SetPixel(2, 0, 9);  // beyond the palette: black
  const TPdfBitmap bytes = nibbles.ConvertedTo8Bit();
  EXPECT_EQ(bytes.PixelFormat(), TPdfPixelFormat::pf8bit);
  EXPECT_EQ(bytes.Palette(), nibbles.Palette());
  EXPECT_EQ(std::vector<uint8_t>(bytes.ScanLine(0), bytes.ScanLine(0) + 3), (std::vector<uint8_t>{1, 0, 9}));

  const TPdfBitmap rgb = nibbles.ConvertedTo24Bit();
  EXPECT_EQ(rgb.Pixel(0, 0), 0x040506u);
  EXPECT_EQ(rgb.Pixel(1, 0), 0x010203u);
  EXPECT_EQ(rgb.Pixel(2, 0), 0u);

  TPdfBitmap rgba(2, 1, TPdfPixelFormat::pf32bit);
  rgba.SetPixel(1, 0, 0x7FABCDEF);
  EXPECT_EQ(rgba.ConvertedTo24Bit().Pixel(1, 0), 0xABCDEFu);
  EXPECT_THROW(rgba.ConvertedTo8Bit(), EPdfAssertionFailed);

  // New indexed bitmaps start with a grey ramp: black at entry 0.
  const TPdfBitmap bits(1, 1, TPdfPixelFormat::pf1bit);
  EXPECT_EQ(bits.Palette(), (std::vector<TPdfPaletteEntry>{{0, 0, 0}, {255, 255, 255}}));
  EXPECT_EQ(TPdfBitmap(1, 1, TPdfPixelFormat::pf8bit).Palette().size(), 256u);
}

TEST(PdfBitmapLayer, RefusesBrokenPreconditions) {
  TPdfBitmap bitmap(2, 2, TPdfPixelFormat::pf8bit);
  EXPECT_THROW(TPdfBitmap(-1, 2, TPdfPixelFormat::pf24bit), EPdfAssertionFailed);
  EXPECT_THROW(TPdfBitmap(1, 1, static_cast<TPdfPixelFormat>(16)), EPdfAssertionFailed);
  EXPECT_THROW(bitmap.ScanLine(2), EPdfAssertionFailed);
  EXPECT_THROW(bitmap.Pixel(2, 0), EPdfAssertionFailed);
  EXPECT_THROW(bitmap.SetPixel(0, -1, 0), EPdfAssertionFailed);
  EXPECT_THROW(bitmap.SetPalette(std::vector<TPdfPaletteEntry>(257)), EPdfAssertionFailed);
  bitmap.SetPalette(std::vector<TPdfPaletteEntry>(256));
}

}  // namespace
