#include "graphics/bitmap32_io.h"

#include <filesystem>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using TBytes = std::vector<uint8_t>;

TBitmap32 Gradient(int width, int height) {
  TBitmap32 image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, Color32(x * 40, y * 60, 200, 255 - x * 30 - y));
  return image;
}

void ExpectSamePixels(const TBitmap32& a, const TBitmap32& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

void Put16(TBytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(TBytes& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A BMP with a 40-byte info header, Colors palette entries and the pixel rows.
TBytes Bmp(int32_t width, int32_t height, uint16_t bits, const TBytes& palette, const TBytes& rows,
           uint32_t compression = 0) {
  TBytes b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, static_cast<uint32_t>(54 + palette.size()));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, bits);
  Put32(b, 30, compression);
  b.insert(b.end(), palette.begin(), palette.end());
  b.insert(b.end(), rows.begin(), rows.end());
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  return b;
}

TEST(Bitmap32Io, PngRoundTripKeepsEveryPixelAndAlpha) {
  const TBitmap32 image = Gradient(5, 3);
  const TBytes png = SaveBitmap32ToPng(image);
  EXPECT_EQ(ImageFileTypeFromSignature(png), TImageFileType::iftPng);
  ExpectSamePixels(LoadBitmap32FromPng(png), image);
  ExpectSamePixels(LoadBitmap32(png), image);
}

TEST(Bitmap32Io, BmpRoundTripKeepsEveryPixelAndAlpha) {
  const TBitmap32 image = Gradient(3, 4);
  const TBytes bmp = SaveBitmap32ToBmp(image);
  EXPECT_EQ(bmp.size(), 54u + 4 * 12);
  ExpectSamePixels(LoadBitmap32FromBmp(bmp), image);
}

TEST(Bitmap32Io, JpegRoundTripIsCloseAndOpaque) {
  TBitmap32 image(16, 8);
  image.Clear(Color32(200, 100, 50, 10));
  const TBytes jpeg = SaveBitmap32ToJpeg(image, 95);
  EXPECT_EQ(ImageFileTypeFromSignature(jpeg), TImageFileType::iftJpeg);
  const TBitmap32 loaded = LoadBitmap32FromJpeg(jpeg);
  ASSERT_EQ(loaded.Width(), 16);
  ASSERT_EQ(loaded.Height(), 8);
  const TColor32 c = loaded.Pixel(7, 3);
  EXPECT_EQ(AlphaComponent(c), 255);
  EXPECT_NEAR(RedComponent(c), 200, 3);
  EXPECT_NEAR(GreenComponent(c), 100, 3);
  EXPECT_NEAR(BlueComponent(c), 50, 3);
}

TEST(Bitmap32Io, BmpVariants) {
  // 24 bits, 2 x 2, bottom-up rows padded to 8 bytes: bottom row blue, red; top row green, white.
  const TBytes rows24 = {255, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
  const TBitmap32 b24 = LoadBitmap32FromBmp(Bmp(2, 2, 24, {}, rows24));
  EXPECT_EQ(b24.Pixel(0, 1), 0xFF0000FFu);
  EXPECT_EQ(b24.Pixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(b24.Pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(b24.Pixel(1, 0), 0xFFFFFFFFu);
  // The same rows with a negative height run from the top.
  EXPECT_EQ(LoadBitmap32FromBmp(Bmp(2, -2, 24, {}, rows24)).Pixel(0, 0), 0xFF0000FFu);

  // 1 bit with a two-colour table: 10100000 in a 4-byte row.
  const TBytes palette = {0, 0, 0, 0, 255, 255, 255, 0};
  const TBitmap32 b1 = LoadBitmap32FromBmp(Bmp(3, 1, 1, palette, {0xA0, 0, 0, 0}));
  EXPECT_EQ(b1.Pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(b1.Pixel(1, 0), 0xFF000000u);
  EXPECT_EQ(b1.Pixel(2, 0), 0xFFFFFFFFu);

  // 4 bits with a table of two colours (colours used = 2): indexes 0, 1 and
  // 5, the last past the table, which reads opaque black, not transparent
  // (found by fuzzing the decoders).
  TBytes short4 = Bmp(3, 1, 4, {0, 0, 255, 0, 0, 255, 0, 0}, {0x01, 0x50, 0, 0});
  Put32(short4, 46, 2);
  const TBitmap32 b4 = LoadBitmap32FromBmp(short4);
  EXPECT_EQ(b4.Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(b4.Pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(b4.Pixel(2, 0), 0xFF000000u);

  // 32 bits whose fourth byte is 0 everywhere: no alpha stored, so opaque.
  const TBitmap32 b32 = LoadBitmap32FromBmp(Bmp(1, 1, 32, {}, {10, 20, 30, 0}));
  EXPECT_EQ(b32.Pixel(0, 0), Color32(30, 20, 10, 255));
}

TEST(Bitmap32Io, MalformedDataRaisesAClearError) {
  TBytes truncatedPng = SaveBitmap32ToPng(Gradient(8, 8));
  truncatedPng.resize(truncatedPng.size() / 2);
  TBytes truncatedJpeg = SaveBitmap32ToJpeg(Gradient(8, 8));
  truncatedJpeg.resize(20);

  // A valid PNG signature and header claiming 100000 x 100000 pixels.
  TBytes hugePng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                    0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0, 8, 6, 0, 0, 0, 0, 0, 0, 0};
  const uLong crc = crc32(0, hugePng.data() + 12, 17);
  for (int i = 0; i < 4; ++i) hugePng[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));

  const TBytes rows = {1, 2, 3, 0};
  const struct {
    const char* Name;
    TBytes Data;
    TBitmap32 (*Load)(std::span<const uint8_t>);
  } kCases[] = {
      {"empty png", {}, LoadBitmap32FromPng},
      {"garbage png", {1, 2, 3, 4, 5, 6, 7, 8, 9}, LoadBitmap32FromPng},
      {"truncated png", truncatedPng, LoadBitmap32FromPng},
      {"huge png", hugePng, LoadBitmap32FromPng},
      {"empty jpeg", {}, LoadBitmap32FromJpeg},
      {"truncated jpeg", truncatedJpeg, LoadBitmap32FromJpeg},
      {"png as jpeg", SaveBitmap32ToPng(Gradient(2, 2)), LoadBitmap32FromJpeg},
      {"empty bmp", {}, LoadBitmap32FromBmp},
      {"short bmp", {'B', 'M', 0, 0}, LoadBitmap32FromBmp},
      {"zero width", Bmp(0, 1, 24, {}, rows), LoadBitmap32FromBmp},
      {"huge bmp", Bmp(100000, 100000, 24, {}, rows), LoadBitmap32FromBmp},
      {"most negative height", Bmp(1, INT32_MIN, 24, {}, rows), LoadBitmap32FromBmp},
      {"missing rows", Bmp(1, 2, 24, {}, rows), LoadBitmap32FromBmp},
      {"rle", Bmp(1, 1, 8, TBytes(1024, 0), rows, 1), LoadBitmap32FromBmp},
      {"16 bits", Bmp(1, 1, 16, {}, rows), LoadBitmap32FromBmp},
      {"unknown", {'G', 'I', 'F', '8'}, LoadBitmap32},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    EXPECT_THROW(c.Load(c.Data), EBitmapIOError);
  }
}

TEST(Bitmap32Io, Files) {
  const std::filesystem::path dir = testing::TempDir();
  const TBitmap32 image = Gradient(4, 2);
  for (const char* name : {"io.png", "io.BMP", "io.other"}) {
    SCOPED_TRACE(name);
    const std::string path = (dir / name).string();
    SaveBitmap32ToFile(image, path);
    ExpectSamePixels(LoadBitmap32FromFile(path), image);
  }
  EXPECT_EQ(ImageFileTypeFromSignature(ReadImageFileBytes((dir / "io.other").string())), TImageFileType::iftBmp);
  EXPECT_EQ(ImageFileTypeFromName("a.b/c"), TImageFileType::iftUnknown);
  EXPECT_EQ(ImageFileTypeFromName("C.JPEG"), TImageFileType::iftJpeg);

  EXPECT_THROW(LoadBitmap32FromFile((dir / "does-not-exist.png").string()), EBitmapIOError);
  EXPECT_THROW(SaveBitmap32ToFile(image, (dir / "no-such-dir" / "x.png").string()), EBitmapIOError);
  EXPECT_THROW(SaveBitmap32ToPng(TBitmap32()), EBitmapIOError);
  EXPECT_THROW(SaveBitmap32ToBmp(TBitmap32()), EBitmapIOError);
  EXPECT_THROW(SaveBitmap32ToJpeg(image, 0), EBitmapIOError);
}

}  // namespace
