#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jpeg_fixture.h"
#include "pdf/jpeg_image.h"
#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_image.h"
#include "pdf_image_test_util.h"
#include "test_pdf_document.h"

namespace {

using TKeys = std::vector<std::string>;

const TKeys kRgbKeys = {"Length", "Filter", "DecodeParms",     "Type", "Subtype", "ColorSpace",
                        "Width",  "Height", "BitsPerComponent"};

std::unique_ptr<TVPDFImage> Build(const TPdfGraphic& graphic, bool isMask = false, int maskIndex = -1,
                                  std::unique_ptr<TVPdfObject> mask = nullptr) {
  return TVPDFBitmap().CreateImage(graphic, isMask, maskIndex, std::move(mask));
}

std::string Message(const std::exception& e) { return e.what(); }

TEST(PdfImageBitmap, RgbBitmapGivesPackedRgbSamplesUnderFlate) {
  TPdfBitmap bitmap(2, 1, TPdfPixelFormat::pf24bit);
  bitmap.SetPixel(0, 0, 0xFF0000);
  bitmap.SetPixel(1, 0, 0x0000FF);
  const auto image = Build(bitmap);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Data(), (TPdfBytes{0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF}));
  EXPECT_EQ(image->Document(), nullptr);
  EXPECT_EQ(image->Dict().Owner(), nullptr);

  TPdfBytes written;
  image->WriteValue(written);
  const std::string text(PdfBytesView(written));
  const TPdfBytes body = image->EncodedBody();
  const std::string head = "<<\r\n/Length " + std::to_string(body.size()) +
                           "\r\n/Filter [/FlateDecode ]\r\n/DecodeParms []\r\n/Type /XObject\r\n"
                           "/Subtype /Image\r\n/ColorSpace /DeviceRGB\r\n/Width 2\r\n/Height 1\r\n"
                           "/BitsPerComponent 8\r\n>>\r\nstream\r\n";
  ASSERT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(
      Inflate(TPdfBytes(written.begin() + static_cast<std::ptrdiff_t>(head.size()), written.end() - 10)),
      image->Data());
}

// Rows of an odd width make any row padding or stride mistake visible.
TEST(PdfImageBitmap, ThirtyTwoBitPixelsLoseTheirAlphaOnly) {
  TPdfBitmap rgba(3, 2, TPdfPixelFormat::pf32bit);
  TPdfBitmap rgb(3, 2, TPdfPixelFormat::pf24bit);
  const uint32_t colours[6] = {0x00102030, 0xFF405060, 0x80FFFFFF, 0x7F000000, 0x01A0B0C0, 0xFEC0FFEE};
  for (int i = 0; i < 6; ++i) {
    rgba.SetPixel(i % 3, i / 3, colours[i]);
    rgb.SetPixel(i % 3, i / 3, colours[i] & 0xFFFFFF);
  }
  const auto fromRgba = Build(rgba);
  EXPECT_EQ(fromRgba->Data(), Build(rgb)->Data());
  EXPECT_EQ(fromRgba->Data().size(), 18u);
  EXPECT_EQ(fromRgba->Data()[3], 0x40);  // second pixel, red
  EXPECT_EQ(KeyOrder(fromRgba->Dict()), kRgbKeys);
}

TEST(PdfImageBitmap, FourBitBitmapBecomesIndexesUnderA256EntryPalette) {
  TPdfBitmap bitmap(3, 2, TPdfPixelFormat::pf4bit);
  bitmap.SetPalette({{0, 0, 0}, {255, 255, 255}, {0x12, 0xAB, 0xEF}});
  const uint32_t indexes[6] = {0, 1, 2, 2, 1, 15};  // 15 lies beyond the palette
  for (int i = 0; i < 6; ++i) bitmap.SetPixel(i % 3, i / 3, indexes[i]);
  const auto image = Build(bitmap);
  EXPECT_EQ(image->Data(), (TPdfBytes{0, 1, 2, 2, 1, 15}));
  EXPECT_EQ(KeyOrder(image->Dict()), kRgbKeys);

  const auto* space = dynamic_cast<const TVPdfArray*>(image->Dict().FindValue("ColorSpace"));
  ASSERT_NE(space, nullptr);
  ASSERT_EQ(space->Count(), 4);
  const auto* lookup = dynamic_cast<const TVPdfBinary*>(space->GetItem(3));
  ASSERT_NE(lookup, nullptr);
  const std::string text(PdfBytesView(lookup->Data));
  ASSERT_EQ(text.size(), 1794u);
  EXPECT_EQ(text.substr(0, 22), "<000000 FFFFFF 12ABEF ");
  std::string rest;
  for (int i = 3; i < 256; ++i) rest += "000000 ";
  EXPECT_EQ(text.substr(22), rest + ">");
  EXPECT_EQ(WrittenText(*space), "[/Indexed /DeviceRGB 255 " + text + " ]");
}

TEST(PdfImageBitmap, OneBitBitmapKeepsItsPaletteAsIndexes) {
  TPdfBitmap bitmap(10, 1, TPdfPixelFormat::pf1bit);
  bitmap.SetPalette({{255, 255, 255}, {0, 0, 128}});
  bitmap.SetPixel(0, 0, 1);
  bitmap.SetPixel(9, 0, 1);
  const auto image = Build(bitmap);
  EXPECT_EQ(image->Data(), (TPdfBytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
  const auto* space = dynamic_cast<const TVPdfArray*>(image->Dict().FindValue("ColorSpace"));
  ASSERT_NE(space, nullptr);
  EXPECT_EQ(
      std::string(PdfBytesView(dynamic_cast<const TVPdfBinary*>(space->GetItem(3))->Data)).substr(0, 15),
      "<FFFFFF 000080 ");
}

// A mask is written as 1-bit samples: dark pixels 0 (they paint), others 1,
// rows padded to whole bytes with 1 bits; it has no colour space and no Mask.
TEST(PdfImageBitmap, MaskIsPackedOneBitRowsWithoutColourSpaceOrMask) {
  TPdfBitmap bitmap(10, 2, TPdfPixelFormat::pf24bit);
  for (int x = 0; x < 10; ++x) bitmap.SetPixel(x, 0, 0xFFFFFF);
  bitmap.SetPixel(0, 0, 0x000000);
  bitmap.SetPixel(9, 0, 0x7F7F7F);  // just below mid grey: dark
  for (int x = 0; x < 10; ++x) bitmap.SetPixel(x, 1, x < 5 ? 0x000000 : 0x808080);
  const auto image = Build(bitmap, true, 0, TVPdfEmptyObject::CreateRef(9));
  EXPECT_EQ(image->Data(), (TPdfBytes{0x7F, 0xBF, 0x07, 0xFF}));
  EXPECT_EQ(KeyOrder(image->Dict()), (TKeys{"Length", "Filter", "DecodeParms", "Type", "Subtype", "Width",
                                            "Height", "BitsPerComponent", "ImageMask"}));
  EXPECT_EQ(WrittenText(*image->Dict().FindValue("BitsPerComponent")), "1");
  EXPECT_EQ(WrittenText(*image->Dict().FindValue("ImageMask")), "true");

  // An indexed bitmap is thresholded through its palette.
  TPdfBitmap indexed(3, 1, TPdfPixelFormat::pf1bit);
  indexed.SetPalette({{255, 255, 255}, {0, 0, 0}});
  indexed.SetPixel(1, 0, 1);
  EXPECT_EQ(Build(indexed, true)->Data(), (TPdfBytes{0xBF}));
}

TEST(PdfImageBitmap, MaskEntryTakesADirectObjectOrAReference) {
  const TPdfBitmap bitmap(1, 1, TPdfPixelFormat::pf24bit);
  auto colourKey = std::make_unique<TVPdfArray>();
  colourKey->Add(std::make_unique<TVPdfNum>(0));
  colourKey->Add(std::make_unique<TVPdfNum>(16));
  const auto keyed = Build(bitmap, false, 0, std::move(colourKey));
  EXPECT_EQ(KeyOrder(keyed->Dict()).back(), "Mask");
  EXPECT_EQ(WrittenText(*keyed->Dict().FindValue("Mask")), "[0 16 ]");

  TTestPdfDocument document;
  const std::int32_t maskNumber = document.AddObject(Build(bitmap, true));
  const auto referenced = Build(bitmap, false, 3, TVPdfEmptyObject::CreateRef(maskNumber));
  TPdfBytes written;
  referenced->Dict().WriteValue(written);
  EXPECT_NE(std::string(PdfBytesView(written)).find("/Mask " + std::to_string(maskNumber) + " 0 R\r\n"),
            std::string::npos);

  EXPECT_EQ(StoredValue(Build(bitmap, false, -1, TVPdfEmptyObject::CreateRef(4))->Dict(), "Mask"), nullptr);
  try {
    Build(bitmap, false, 0, nullptr);
    ADD_FAILURE() << "a missing mask was accepted";
  } catch (const EPdfError& e) {
    EXPECT_EQ(Message(e), "Atom object creating error.");
  }
}

TEST(PdfImageBitmap, RefusesPicturesItCannotWrite) {
  TPdfBitmap noPalette(2, 2, TPdfPixelFormat::pf8bit);
  noPalette.SetPalette({});
  const TJpegImage jpeg(MakeJpegFixture({}));
  struct TCase {
    const char* Name;
    const TPdfGraphic* Graphic;
    std::string Message;
  };
  const TPdfBitmap empty;
  const TPdfBitmap noRows(5, 0, TPdfPixelFormat::pf24bit);
  const TPdfBitmap noColumns(0, 3, TPdfPixelFormat::pf8bit);
  const std::string noPixels = "Image has no pixels: width and height must be at least 1.";
  const TCase cases[] = {
      {"jpeg", &jpeg, "Unsupported bitmap image format."},
      {"empty", &empty, noPixels},
      {"no rows", &noRows, noPixels},
      {"no columns", &noColumns, noPixels},
      {"no palette", &noPalette, "Palette error."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      Build(*c.Graphic);
      ADD_FAILURE() << "accepted";
    } catch (const EPdfError& e) {
      EXPECT_EQ(Message(e), c.Message);
    }
  }
  try {
    IndexedColorSpace(TPdfBitmap(1, 1, TPdfPixelFormat::pf24bit));
    ADD_FAILURE() << "accepted";
  } catch (const EPdfError& e) {
    EXPECT_EQ(Message(e), "Not supported pixel format.");
  }
}

// Inside an encrypted object every string is encrypted with the object's key;
// the lookup must follow, or readers decrypt it into a garbled palette.
TEST(PdfImageBitmap, LookupStringIsEncryptedWithTheImageKey) {
  TPdfBitmap bitmap(2, 1, TPdfPixelFormat::pf8bit);
  std::vector<TPdfPaletteEntry> palette;
  for (int i = 0; i < 256; ++i)
    palette.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
  bitmap.SetPalette(palette);
  TPdfBytes plainTable;
  for (const TPdfPaletteEntry& e : palette) plainTable.insert(plainTable.end(), {e.Red, e.Green, e.Blue});

  for (const TTestEncryption encryption : {TTestEncryption::RC4_40, TTestEncryption::RC4_128}) {
    SCOPED_TRACE(static_cast<int>(encryption));
    TTestPdfDocument document(encryption);
    TVPDFImage* image = document.Add(Build(bitmap));
    const auto* space = dynamic_cast<const TVPdfArray*>(image->Dict().FindValue("ColorSpace"));
    ASSERT_NE(space, nullptr);
    const auto* lookup = space->GetItem(3);
    const std::string written = WrittenText(*lookup);
    ASSERT_EQ(written.size(), 1794u);
    ASSERT_EQ(written.front(), '<');
    ASSERT_EQ(written.back(), '>');
    TPdfBytes table;
    for (std::size_t i = 1; i + 1 < written.size(); i += 7) {
      for (std::size_t j = 0; j < 6; j += 2)
        table.push_back(static_cast<uint8_t>(std::stoi(written.substr(i + j, 2), nullptr, 16)));
      EXPECT_EQ(written[i + 6], ' ');
    }
    EXPECT_NE(table, plainTable);
    PdfEncryptStreamRC4(table, document.FileKey(), document.SecuritySettings().Use128, image->ID());
    EXPECT_EQ(table, plainTable);
    EXPECT_EQ(WrittenText(*lookup), written);  // a fresh key schedule on every write
  }

  // Without encryption the lookup is written exactly as held.
  TTestPdfDocument plain;
  TVPDFImage* image = plain.Add(Build(bitmap));
  const auto* lookup = dynamic_cast<const TVPdfBinary*>(
      dynamic_cast<const TVPdfArray*>(image->Dict().FindValue("ColorSpace"))->GetItem(3));
  EXPECT_EQ(WrittenText(*lookup), std::string(PdfBytesView(lookup->Data)));
}

}  // namespace
