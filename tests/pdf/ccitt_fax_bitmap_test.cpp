// The encoder fed from the image builders' bitmap.

#include "pdf/ccitt_fax.h"

#include <gtest/gtest.h>

#include <vector>

#include "pdf/ccitt_test_images.h"
#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_error.h"

namespace {

using ccitt_test::Encoded;

TEST(CCITTFaxBitmapTest, CodesPixelValuesNotPaletteColours) {
  TPdfBitmap bitmap(1, 1, TPdfPixelFormat::pf1bit);
  bitmap.SetPixel(0, 0, 1);  // entry 1: coded white
  EXPECT_EQ(Encoded(bitmap, TVCCITTMode::Group3OneDim), std::vector<uint8_t>{0x1C});
  bitmap.SetPalette({{255, 255, 255}, {0, 0, 0}});  // the palette is not consulted
  EXPECT_EQ(Encoded(bitmap, TVCCITTMode::Group3OneDim), std::vector<uint8_t>{0x1C});
  bitmap.SetPixel(0, 0, 0);  // entry 0: white run 0, black run 1
  EXPECT_EQ(Encoded(bitmap, TVCCITTMode::Group3OneDim), (std::vector<uint8_t>{0x35, 0x40}));
}

TEST(CCITTFaxBitmapTest, RowsAreReadAtTheirOwnStride) {
  // 9 pixels: two bytes per row. Row 0 white, row 1 black; Group 4 codes row 0
  // as V0 and row 1 as horizontal white 0, black 9.
  TPdfBitmap bitmap(9, 2, TPdfPixelFormat::pf1bit);
  for (int x = 0; x < 9; ++x) bitmap.SetPixel(x, 0, 1);
  // 1 | 001 00110101 000100 | 000000000001 x 2, padded
  const std::vector<uint8_t> expected{0x93, 0x51, 0x00, 0x04, 0x00, 0x40};
  EXPECT_EQ(Encoded(bitmap, TVCCITTMode::Group4), expected);
}

TEST(CCITTFaxBitmapTest, RefusesOtherFormatsAndSkipsEmptyBitmaps) {
  EXPECT_TRUE(Encoded(TPdfBitmap(0, 3, TPdfPixelFormat::pf1bit), TVCCITTMode::Group4).empty());
  EXPECT_TRUE(Encoded(TPdfBitmap(3, 0, TPdfPixelFormat::pf1bit), TVCCITTMode::Group4).empty());
  try {
    Encoded(TPdfBitmap(2, 2, TPdfPixelFormat::pf24bit), TVCCITTMode::Group4);
    ADD_FAILURE() << "no exception";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "Incorrect image format.");
  }
}

}  // namespace
