#include "graphics/bitmap32_io.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <zlib.h>

#include "graphics/jpeg_files.h"
#include "graphics/load_in_child.h"
#include "graphics/png_chunks.h"

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

// A PNG of 8-bit RGBA declaring width x height, with `idat` as its only
// image data chunk (none when empty).
TBytes PngWithData(uint32_t width, uint32_t height, const TBytes& idat) {
  TBytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  TBytes header;
  PutBigEndian32(header, width);
  PutBigEndian32(header, height);
  header.insert(header.end(), {8, 6, 0, 0, 0});
  for (const TBytes& chunk : {PngChunk("IHDR", header), idat.empty() ? TBytes() : PngChunk("IDAT", idat),
                              PngChunk("IEND", {})})
    png.insert(png.end(), chunk.begin(), chunk.end());
  return png;
}

// The first `size` bytes of a zlib stream of zeros: image data cut short.
TBytes CutZlibStream(size_t size) {
  const TBytes zeros(1 << 16, 0);
  uLongf length = compressBound(static_cast<uLong>(zeros.size()));
  TBytes out(length);
  compress2(out.data(), &length, zeros.data(), static_cast<uLong>(zeros.size()), 9);
  out.resize(std::min<size_t>(size, length));
  return out;
}

// A JPEG whose frame header is patched to declare width x height.
TBytes JpegDeclaring(TBytes jpeg, int width, int height) {
  for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xC0) continue;
    jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
    jpeg[i + 6] = static_cast<uint8_t>(height);
    jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
    jpeg[i + 8] = static_cast<uint8_t>(width);
    return jpeg;
  }
  ADD_FAILURE() << "no baseline frame header";
  return jpeg;
}

TBytes Cut(TBytes bytes, double fraction) {
  bytes.resize(static_cast<size_t>(static_cast<double>(bytes.size()) * fraction));
  return bytes;
}

// Short files whose headers declare huge images are refused within 100 MB of
// address space: none allocates the declared size (1 GiB or more) before its
// data runs out, and none decodes as a grey image of that size. The sanitizers
// reserve address space of their own, so the limit is only applied in a plain
// build.
TEST(Bitmap32Io, ShortFilesDeclaringHugeImagesAreRefusedWithinBudget) {
  const TBitmap32 grey8 = [] {
    TBitmap32 image(8, 8);
    image.Clear(Color32(128, 128, 128));
    return image;
  }();
  const struct {
    const char* Name;
    TBytes Data;
    TImageLoader Load;
    const char* Reason;
  } kCases[] = {
      {"png 16384 x 16384 with cut data", PngWithData(16384, 16384, CutZlibStream(12)), LoadBitmap32FromPng,
       "too little image data for 16384 x 16384 pixels"},
      {"png 16384 x 16384 without data", PngWithData(16384, 16384, {}), LoadBitmap32FromPng,
       "Invalid PNG image: "},
      {"bmp header of 2^28 pixels", Bmp(16384, 16384, 32, {}, {}), LoadBitmap32FromBmp, "truncated pixel data"},
      {"baseline jpeg 8 x 8 declaring 16384 x 16384", JpegDeclaring(SaveBitmap32ToJpeg(grey8), 16384, 16384),
       LoadBitmap32FromJpeg, "Corrupt JPEG data"},
      {"jpeg 64 x 48 cut at 60%", Cut(SaveBitmap32ToJpeg(Gradient(64, 48)), 0.6), LoadBitmap32FromJpeg,
       "Premature end of JPEG file"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    try {
      c.Load(c.Data);
      ADD_FAILURE() << "loaded";
    } catch (const EBitmapIOError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Reason), std::string::npos) << e.what();
    }
    if (!kAddressSpaceLimited) continue;
    const TChildLoad result = LoadInChild(c.Load, c.Data, size_t{100} << 20);
    EXPECT_EQ(result.Outcome, TChildOutcome::Refused);
    EXPECT_NE(result.Reason.find(c.Reason), std::string::npos) << result.Reason;
  }
}

// A chunk header whose length field says 0x7fffffff, then a few bytes.
TBytes LyingChunk(const std::string& type) {
  constexpr char kText[] = "Comment\0a few bytes";
  const std::string chunk = "\x7F\xFF\xFF\xFF" + type + std::string(kText, sizeof kText - 1);
  return TBytes(chunk.begin(), chunk.end());
}

// `png` with `bytes` inserted where its first chunk of type `before` starts.
TBytes InsertBeforeChunk(TBytes png, const std::string& before, const TBytes& bytes) {
  const auto type = std::search(png.begin() + 8, png.end(), before.begin(), before.end());
  EXPECT_NE(type, png.end()) << before;
  png.insert(type - 4, bytes.begin(), bytes.end());
  return png;
}

// A chunk before IEND that declares more bytes than the file holds is refused
// before libpng reads it, whatever its type and whether it stands before or
// after the image data, with a reason naming the chunk and its declared
// length. libpng left to itself would try to allocate the declared 2 GiB for
// text and suggested-palette chunks; the load runs under a 100 MB address
// space limit, and the reason shows the refusal is not libpng's own. What
// follows IEND, or a file that ends at a chunk boundary or inside IEND, loads:
// the decoder never reads it.
TEST(Bitmap32Io, PngChunksDeclaringMoreThanTheFileHoldsAreRefused) {
  const TBytes png = SaveBitmap32ToPng(Gradient(16, 16));
  const struct {
    const char* Type;
    const char* Before;
  } kLies[] = {
      {"tEXt", "IDAT"}, {"zTXt", "IDAT"}, {"iTXt", "IDAT"}, {"sPLT", "IDAT"},
      {"prVt", "IDAT"},  // private, which libpng skips
      {"IDAT", "IDAT"}, {"tEXt", "IEND"},
  };
  for (const auto& lie : kLies) {
    SCOPED_TRACE(std::string(lie.Type) + " before " + lie.Before);
    const TBytes bad = InsertBeforeChunk(png, lie.Before, LyingChunk(lie.Type));
    const TChildLoad result = LoadInChild(LoadBitmap32FromPng, bad, size_t{100} << 20);
    EXPECT_EQ(result.Outcome, TChildOutcome::Refused);
    EXPECT_EQ(result.Reason.rfind(std::string("Invalid PNG image: the ") + lie.Type + " chunk at byte ", 0), 0u)
        << result.Reason;
    EXPECT_NE(result.Reason.find("declares 2147483647 bytes"), std::string::npos) << result.Reason;
  }

  const TBytes noEnd(png.begin(), png.end() - 12);
  TBytes trailing = png;
  trailing.insert(trailing.end(), {'m', 'o', 'r', 'e'});
  TBytes lieAfterEnd = png;
  const TBytes lie = LyingChunk("tEXt");
  lieAfterEnd.insert(lieAfterEnd.end(), lie.begin(), lie.end());
  for (const TBytes& whole : {noEnd, TBytes(png.begin(), png.end() - 9), TBytes(png.begin(), png.end() - 2),
                              trailing, lieAfterEnd}) {
    SCOPED_TRACE(whole.size());
    ExpectSamePixels(LoadBitmap32FromPng(whole), Gradient(16, 16));
  }
}

// A JPEG that ends early or has damaged entropy data is refused with
// libjpeg's reason, rather than loaded with grey where the data is missing.
// Harmless warnings keep the image loading.
TEST(Bitmap32Io, JpegWarningsOfDamageRefuseAndOthersLoad) {
  const TBitmap32 image = Gradient(48, 40);
  const TBytes jpeg = SaveBitmap32ToJpeg(image, 90);

  // The second half of the entropy-coded data (after the SOS segment, up to
  // the end marker) overwritten with markers.
  TBytes garbled = jpeg;
  size_t scan = 0;
  while (scan + 3 < jpeg.size() && !(jpeg[scan] == 0xFF && jpeg[scan + 1] == 0xDA)) ++scan;
  scan += 2 + (jpeg[scan + 2] << 8 | jpeg[scan + 3]);
  for (size_t i = (scan + jpeg.size()) / 2; i + 3 < jpeg.size(); i += 2) garbled[i] = 0xFF, garbled[i + 1] = 0x01;
  for (const TBytes& bad : {Cut(jpeg, 0.9), Cut(jpeg, 0.5), TBytes(jpeg.begin(), jpeg.end() - 2), garbled}) {
    try {
      LoadBitmap32FromJpeg(bad);
      ADD_FAILURE() << "loaded " << bad.size() << " bytes";
    } catch (const EBitmapIOError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Invalid JPEG image: ", 0), 0u) << e.what();
    }
  }

  // The frame written by libjpeg follows SOI and a 16-byte JFIF APP0 segment.
  ASSERT_EQ(jpeg[20], 0xFF);
  TBytes extraneous = jpeg;  // bytes between two markers: "extraneous bytes before marker"
  extraneous.insert(extraneous.begin() + 20, {'x', 'y', 'z'});
  TBytes jfifMajor = jpeg;  // JFIF version 2.01: "unknown JFIF revision number"
  jfifMajor[11] = 2;
  TBytes trailing = jpeg;  // bytes after the end of the image are never read
  trailing.insert(trailing.end(), {1, 2, 3, 4});
  for (const TBytes& benign : {extraneous, jfifMajor, trailing}) {
    const TBitmap32 loaded = LoadBitmap32FromJpeg(benign);
    ASSERT_EQ(loaded.Width(), 48);
    ASSERT_EQ(loaded.Height(), 40);
    EXPECT_NEAR(RedComponent(loaded.Pixel(30, 20)), RedComponent(image.Pixel(30, 20)), 8);
  }
}

// Rows arrive in a bitmap that grows as they come; a tall image must still
// come back whole, every row in its place.
TEST(Bitmap32Io, TallJpegKeepsEveryRow) {
  TBitmap32 image(3, 131);
  for (int y = 0; y < image.Height(); ++y) image.HorzLine(0, y, 2, Color32(y, 255 - y, 128));
  const TBitmap32 loaded = LoadBitmap32FromJpeg(SaveBitmap32ToJpeg(image, 100));
  ASSERT_EQ(loaded.Width(), 3);
  ASSERT_EQ(loaded.Height(), 131);
  int worst = 0;
  for (int y = 0; y < loaded.Height(); ++y)
    worst = std::max(worst, std::abs(RedComponent(loaded.Pixel(1, y)) - y));
  EXPECT_LE(worst, 6);  // chroma subsampling and the DCT at quality 100
}

// A valid JPEG loads within its bitmap and some room for libjpeg: the
// bitmap grows as rows arrive without ever holding two copies of them. A
// progressive one (4:4:4) adds libjpeg's coefficients, one and a half times
// the bitmap, to that. With less room than the bitmap needs it is refused
// with the reader's own error naming the size (not std::bad_alloc).
TEST(Bitmap32Io, ValidJpegTooLargeForMemoryIsRefusedByTheReader) {
  if (!kAddressSpaceLimited) GTEST_SKIP() << "no address space limit under the sanitizers";
  constexpr int kSide = 4096;
  constexpr size_t kBitmapBytes = size_t{4} * kSide * kSide;
  constexpr size_t kLibjpegRoom = size_t{8} << 20;
  const struct {
    const char* Name;
    bool Progressive;
    size_t Fits;
  } kCases[] = {
      {"baseline 4:2:0", false, kBitmapBytes + kLibjpegRoom},
      {"progressive 4:4:4", true, kBitmapBytes / 2 * 5 + kLibjpegRoom},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    const TBytes jpeg = MakeJpegFile({.Width = kSide,
                                      .Height = kSide,
                                      .HorzSampling = c.Progressive ? 1 : 2,
                                      .VertSampling = c.Progressive ? 1 : 2,
                                      .Progressive = c.Progressive,
                                      .Flat = {90, 120, 150}});
    const TChildLoad fits = LoadInChild(LoadBitmap32FromJpeg, jpeg, c.Fits);
    EXPECT_EQ(fits.Outcome, TChildOutcome::Loaded) << fits.Reason;
    const TChildLoad tooSmall = LoadInChild(LoadBitmap32FromJpeg, jpeg, c.Fits - kBitmapBytes / 2);
    EXPECT_EQ(tooSmall.Outcome, TChildOutcome::Refused);
    EXPECT_EQ(tooSmall.Reason, "Not enough memory for a JPEG image of 4096 x 4096 pixels (67108864 bytes)");
  }
}

// Grey and three-component files are decoded by libjpeg straight into the
// bitmap's rows; every pixel must be what libjpeg decodes to RGB, opaque,
// for every sampling, coding and an image whose rows outgrow the heap into a
// memory map and then grow that (1031 x 1100).
TEST(Bitmap32Io, JpegPixelsAreLibjpegsRgbDecode) {
  const struct {
    const char* Name;
    TJpegFileSpec Spec;
  } kCases[] = {
      {"4:2:0", {.Width = 37, .Height = 29}},
      {"4:2:2", {.Width = 37, .Height = 29, .VertSampling = 1}},
      {"4:4:4", {.Width = 37, .Height = 29, .HorzSampling = 1, .VertSampling = 1}},
      {"chroma a quarter of the height", {.Width = 45, .Height = 70, .HorzSampling = 1, .VertSampling = 4}},
      {"stored as RGB", {.Width = 37, .Height = 29, .HorzSampling = 1, .VertSampling = 1, .StoreRgb = true}},
      {"grey", {.Width = 37, .Height = 29, .Components = 1, .HorzSampling = 1, .VertSampling = 1}},
      {"progressive 4:2:0", {.Width = 37, .Height = 29, .Progressive = true}},
      {"progressive grey",
       {.Width = 37, .Height = 29, .Components = 1, .HorzSampling = 1, .VertSampling = 1, .Progressive = true}},
      {"arithmetic", {.Width = 37, .Height = 29, .Arithmetic = true}},
      {"rows outgrowing the heap", {.Width = 1031, .Height = 1100}},
      {"progressive, rows outgrowing the heap", {.Width = 1031, .Height = 1100, .Progressive = true}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    const TBytes jpeg = MakeJpegFile(c.Spec);
    ExpectSamePixels(LoadBitmap32FromJpeg(jpeg), LibjpegRgbDecode(jpeg));
  }
}

// Four-component files go through a row of CMYK samples: with Adobe's marker
// (as Photoshop writes them, plain or as YCCK) 255 is no ink, without it 0
// is. Red, green and blue are (255 - ink) * (255 - black ink) / 255.
TEST(Bitmap32Io, CmykJpegsKeepTheirColours) {
  const struct {
    const char* Name;
    TJpegFileSpec Spec;
    TColor32 Expected;
  } kCases[] = {
      {"Adobe cyan", {.Components = 4, .Flat = {0, 255, 255, 255}}, Color32(0, 255, 255)},
      {"Adobe YCCK cyan", {.Components = 4, .Ycck = true, .Flat = {0, 255, 255, 255}}, Color32(0, 255, 255)},
      {"Adobe half black", {.Components = 4, .Flat = {255, 255, 255, 128}}, Color32(128, 128, 128)},
      {"Adobe magenta over a quarter black", {.Components = 4, .Flat = {255, 0, 255, 191}}, Color32(191, 0, 191)},
      {"plain cyan", {.Components = 4, .AdobeMarker = false, .Flat = {255, 0, 0, 0}}, Color32(0, 255, 255)},
      {"plain half black", {.Components = 4, .AdobeMarker = false, .Flat = {0, 0, 0, 127}}, Color32(128, 128, 128)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    const TBitmap32 loaded = LoadBitmap32FromJpeg(MakeJpegFile(c.Spec));
    ASSERT_EQ(loaded.Width(), c.Spec.Width);
    ASSERT_EQ(loaded.Height(), c.Spec.Height);
    int worst = 0;
    for (int y = 0; y < loaded.Height(); ++y)
      for (int x = 0; x < loaded.Width(); ++x) {
        const TColor32 p = loaded.Pixel(x, y);
        ASSERT_EQ(AlphaComponent(p), 255);
        for (const auto component : {RedComponent, GreenComponent, BlueComponent})
          worst = std::max(worst, std::abs(component(p) - component(c.Expected)));
      }
    EXPECT_LE(worst, 2);  // flat samples survive the DCT within rounding
  }
}

TEST(Bitmap32Io, DamagedPngDataIsRefused) {
  const TBytes png = SaveBitmap32ToPng(Gradient(16, 16));
  // Locate the IDAT chunk: 8-byte signature, 25-byte IHDR, then possibly others.
  const auto idat = std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1);
  ASSERT_NE(idat, png.end());
  const size_t data = static_cast<size_t>(idat - png.begin()) + 4;
  const uint32_t length = static_cast<uint32_t>(png[data - 8]) << 24 | png[data - 7] << 16 | png[data - 6] << 8 | png[data - 5];
  TBytes inflated(length);
  std::copy_n(png.begin() + static_cast<std::ptrdiff_t>(data), length, inflated.begin());
  TBytes damaged = inflated;
  for (size_t i = 2; i < damaged.size(); ++i) damaged[i] = static_cast<uint8_t>(0xA5 ^ i);  // not deflate data

  for (const TBytes& bad : {PngWithData(16, 16, damaged), PngWithData(16, 16, {}),
                            PngWithData(16, 16, TBytes(inflated.begin(), inflated.begin() + length / 2))}) {
    EXPECT_THROW(LoadBitmap32FromPng(bad), EBitmapIOError);
  }
  ExpectSamePixels(LoadBitmap32FromPng(PngWithData(16, 16, inflated)), Gradient(16, 16));
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
      {"rle ending inside its first row", Bmp(2, 1, 8, TBytes(1024, 0), {1, 2}, 1), LoadBitmap32FromBmp},
      {"2 bits", Bmp(1, 1, 2, {}, rows), LoadBitmap32FromBmp},
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
  EXPECT_THROW(LoadBitmap32FromFile(dir.string()), EBitmapIOError);  // a directory opens but cannot be read
  EXPECT_THROW(SaveBitmap32ToFile(image, (dir / "no-such-dir" / "x.png").string()), EBitmapIOError);
  EXPECT_THROW(SaveBitmap32ToPng(TBitmap32()), EBitmapIOError);
  EXPECT_THROW(SaveBitmap32ToBmp(TBitmap32()), EBitmapIOError);
  EXPECT_THROW(SaveBitmap32ToJpeg(image, 0), EBitmapIOError);
}

}  // namespace
