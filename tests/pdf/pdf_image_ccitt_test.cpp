#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/ccitt_fax.h"
#include "pdf/ccitt_test_images.h"
#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_image.h"
#include "pdf_image_test_util.h"

namespace {

using TKeys = std::vector<std::string>;

// A 1-bit bitmap with the default palette (entry 0 black) and a diagonal of
// white pixels on black.
TPdfBitmap Diagonal(int width, int height) {
  TPdfBitmap bitmap(width, height, TPdfPixelFormat::pf1bit);
  for (int y = 0; y < height; ++y) bitmap.SetPixel(y % width, y, 1);
  return bitmap;
}

TEST(PdfImageCCITT, EachBuilderWritesItsModeAndDecodeParms) {
  struct TCase {
    const char* Name;
    const TVPDFImageBlock* Builder;
    TVCCITTMode Mode;
    const char* K;
    const char* EndOfBlock;  // the key as written, or nothing at its default
  };
  const TVPDFCCITT31 g31;
  const TVPDFCCITT32 g32;
  const TVPDFCCITT4 g4;
  const TCase cases[] = {
      // Group 3 data ends after the last row, without an end-of-block code.
      {"31", &g31, TVCCITTMode::Group3OneDim, "0", "\r\n/EndOfBlock false"},
      {"32", &g32, TVCCITTMode::Group3TwoDim, "1", "\r\n/EndOfBlock false"},
      {"4", &g4, TVCCITTMode::Group4, "-1", ""},
  };
  const TPdfBitmap bitmap = Diagonal(37, 5);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto image = c.Builder->CreateImage(bitmap, false, -1, nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Data(), ccitt_test::Encoded(bitmap, c.Mode));
    EXPECT_EQ(KeyOrder(image->Dict()), (TKeys{"Length", "Filter", "DecodeParms", "Type", "Subtype",
                                              "ColorSpace", "BitsPerComponent", "Width", "Height"}));
    EXPECT_EQ(WrittenText(*image->Dict().FindValue("Filter")), "[/CCITTFaxDecode ]");
    EXPECT_EQ(WrittenText(*image->Dict().FindValue("ColorSpace")), "/DeviceGray");
    EXPECT_EQ(WrittenText(*image->Dict().FindValue("DecodeParms")),
              std::string("[<<\r\n/K ") + c.K + "\r\n/Columns 37\r\n/Rows 5" + c.EndOfBlock + "\r\n>> ]");
    // The fax data is written as coded, not deflated again.
    EXPECT_EQ(image->EncodedBody(), image->Data());
  }
}

// The encoder codes 0 bits as black; a bitmap whose entry 0 is white must
// come out as it looks, i.e. as the same picture with the usual palette.
TEST(PdfImageCCITT, BitmapWithWhiteAtEntryZeroIsCodedAsItLooks) {
  TPdfBitmap inverted = Diagonal(20, 4);
  for (int y = 0; y < 4; ++y)
    for (std::size_t i = 0; i < inverted.RowBytes(); ++i) inverted.ScanLine(y)[i] ^= 0xFF;
  inverted.SetPalette({{255, 255, 255}, {0, 0, 0}});
  for (const int kind : {31, 32, 42}) {
    SCOPED_TRACE(kind);
    TVCCITTCompression encoder;
    const auto looksSame = CreateCCITTImage(encoder, Diagonal(20, 4), false, -1, nullptr, kind);
    const auto image = CreateCCITTImage(encoder, inverted, false, -1, nullptr, kind);
    EXPECT_EQ(image->Data(), looksSame->Data());
    EXPECT_EQ(encoder.Output(), nullptr);  // not left pointing into the image
  }
}

TEST(PdfImageCCITT, MaskHasNoColourSpaceAndNoMaskEntry) {
  const auto image = TVPDFCCITT4().CreateImage(Diagonal(8, 8), true, 0, TVPdfEmptyObject::CreateRef(3));
  EXPECT_EQ(KeyOrder(image->Dict()), (TKeys{"Length", "Filter", "DecodeParms", "Type", "Subtype",
                                            "BitsPerComponent", "Width", "Height", "ImageMask"}));
  const auto masked = TVPDFCCITT4().CreateImage(Diagonal(8, 8), false, 0, TVPdfEmptyObject::CreateRef(3));
  EXPECT_EQ(WrittenText(*StoredValue(masked->Dict(), "Mask")), "3 0 R");
  EXPECT_EQ(KeyOrder(masked->Dict()).back(), "Mask");
}

TEST(PdfImageCCITT, RefusesWhatIsNotAOneBitBitmapWithPixels) {
  const TPdfBitmap rgb(4, 4, TPdfPixelFormat::pf24bit);
  const TPdfBitmap grey(4, 4, TPdfPixelFormat::pf8bit);
  const TPdfBitmap noRows(4, 0, TPdfPixelFormat::pf1bit);
  struct TCase {
    const char* Name;
    const TPdfBitmap* Bitmap;
    const char* Message;
  };
  const TCase cases[] = {
      {"24 bits", &rgb, "Incorrect image format."},
      {"8 bits", &grey, "Incorrect image format."},
      {"no rows", &noRows, "Image has no pixels: width and height must be at least 1."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      TVPDFCCITT31().CreateImage(*c.Bitmap, false, -1, nullptr);
      ADD_FAILURE() << "accepted";
    } catch (const EPdfError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
  TVCCITTCompression encoder;
  EXPECT_THROW(CreateCCITTImage(encoder, Diagonal(2, 2), false, -1, nullptr, 33), EPdfAssertionFailed);
}

}  // namespace
