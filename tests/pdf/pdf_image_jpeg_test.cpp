#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jpeg_fixture.h"
#include "pdf/jpeg_image.h"
#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_image.h"
#include "pdf_image_test_util.h"

namespace {

using TKeys = std::vector<std::string>;

TEST(PdfImageJpeg, EmbedsTheFileBytesUnderDctDecode) {
  struct TCase {
    const char* Name;
    TJpegFixtureSpec Spec;
    const char* ColorSpace;
    // The Decode array, or nullptr for none: only Adobe CMYK is inverted.
    const char* Decode = nullptr;
  };
  const TCase cases[] = {
      {"rgb 640 x 480", {640, 480, JCS_RGB, false, 90}, "/DeviceRGB"},
      {"grey", {12, 7, JCS_GRAYSCALE, false, 90}, "/DeviceGray"},
      {"Adobe cmyk", {12, 7, JCS_CMYK, false, 90}, "/DeviceCMYK", "[1 0 1 0 1 0 1 0 ]"},
      {"Adobe ycck", {12, 7, JCS_CMYK, false, 90, {}, true, true}, "/DeviceCMYK", "[1 0 1 0 1 0 1 0 ]"},
      {"cmyk without the Adobe marker", {12, 7, JCS_CMYK, false, 90, {}, false}, "/DeviceCMYK"},
      {"progressive", {30, 20, JCS_RGB, true, 80}, "/DeviceRGB"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TJpegImage jpeg(MakeJpegFixture(c.Spec));
    const auto image = TVPDFDocJpegImage().CreateImage(jpeg, false, -1, nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Data(), jpeg.Bytes());
    EXPECT_EQ(image->EncodedBody(), jpeg.Bytes());  // no Flate on top
    TKeys keys{"Length", "Filter", "Type", "Subtype", "ColorSpace", "Width", "Height", "BitsPerComponent"};
    if (c.Decode != nullptr) keys.push_back("Decode");
    EXPECT_EQ(KeyOrder(image->Dict()), keys);
    if (c.Decode != nullptr) {
      EXPECT_EQ(WrittenText(*image->Dict().FindValue("Decode")), c.Decode);
    }
    EXPECT_EQ(WrittenText(*image->Dict().FindValue("Filter")), "[/DCTDecode ]");
    EXPECT_EQ(WrittenText(*image->Dict().FindValue("ColorSpace")), c.ColorSpace);
    EXPECT_EQ(WrittenText(*image->Dict().FindValue("Width")), std::to_string(c.Spec.Width));
    EXPECT_EQ(WrittenText(*image->Dict().FindValue("Height")), std::to_string(c.Spec.Height));
    EXPECT_EQ(WrittenText(*image->Dict().FindValue("BitsPerComponent")), "8");
  }
}

TEST(PdfImageJpeg, MaskEntryComesLast) {
  const TJpegImage jpeg(MakeJpegFixture({}));
  const auto image = TVPDFDocJpegImage().CreateImage(jpeg, false, 2, TVPdfEmptyObject::CreateRef(6));
  EXPECT_EQ(KeyOrder(image->Dict()).back(), "Mask");
  EXPECT_EQ(WrittenText(*StoredValue(image->Dict(), "Mask")), "6 0 R");
}

TEST(PdfImageJpeg, RefusesABitmapTheMaskFormAndUnshowableComponents) {
  const TPdfBitmap bitmap(2, 2, TPdfPixelFormat::pf24bit);
  const TJpegImage jpeg(MakeJpegFixture({}));
  try {
    TVPDFDocJpegImage().CreateImage(bitmap, false, -1, nullptr);
    ADD_FAILURE() << "a bitmap was accepted";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "Unsupported jpeg image format.");
  }
  try {
    TVPDFDocJpegImage().CreateImage(jpeg, true, -1, nullptr);
    ADD_FAILURE() << "a JPEG mask was accepted";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "A JPEG image cannot be an image mask.");
  }
  const TJpegImage twoComponents(MakeJpegFixture({8, 8, JCS_UNKNOWN}));
  ASSERT_EQ(twoComponents.Components(), 2);
  try {
    TVPDFDocJpegImage().CreateImage(twoComponents, false, -1, nullptr);
    ADD_FAILURE() << "a two-component JPEG was accepted";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "Unsupported number of JPEG colour components: 2.");
  }
}

}  // namespace
