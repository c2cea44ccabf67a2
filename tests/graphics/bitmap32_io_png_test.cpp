#include "graphics/bitmap32_io.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "graphics/load_in_child.h"
#include "graphics/png_chunks.h"

namespace {

using TBytes = std::vector<uint8_t>;

TBytes DataFile(const std::string& name) { return ReadImageFileBytes(std::string(TEST_DATA_DIR) + "/" + name); }

// The largest difference of any channel between `image` and `rgba` (R G B A
// bytes per pixel, rows from the top), and how many pixels differ at all.
struct TDifference {
  int Worst = 0;
  int PixelsOff = 0;
};

TDifference Compare(const TBitmap32& image, const TBytes& rgba) {
  TDifference d;
  const TColor32* p = image.Bits();
  for (size_t i = 0; i + 3 < rgba.size(); i += 4, ++p) {
    const int off = std::max({std::abs(RedComponent(*p) - rgba[i]), std::abs(GreenComponent(*p) - rgba[i + 1]),
                              std::abs(BlueComponent(*p) - rgba[i + 2]), std::abs(AlphaComponent(*p) - rgba[i + 3])});
    d.Worst = std::max(d.Worst, off);
    d.PixelsOff += off != 0;
  }
  return d;
}

// The fixtures `base`_plain.png and `base`_adam7.png, 13 x 11 pixels, load
// with no channel further than `tolerance` from the RGBA bytes of `base`.rgba.
void ExpectFixtureLoads(const std::string& base, int tolerance) {
  constexpr int kWidth = 13, kHeight = 11;
  const TBytes want = DataFile(base + ".rgba");
  ASSERT_EQ(want.size(), size_t{4} * kWidth * kHeight) << base;
  for (const char* layout : {"plain", "adam7"}) {
    const std::string name = base + "_" + layout + ".png";
    SCOPED_TRACE(name);
    const TBitmap32 image = LoadBitmap32FromPng(DataFile(name));
    ASSERT_EQ(image.Width(), kWidth);
    ASSERT_EQ(image.Height(), kHeight);
    const TDifference d = Compare(image, want);
    EXPECT_LE(d.Worst, tolerance) << d.PixelsOff << " of " << kWidth * kHeight << " pixels off, the worst by "
                                  << d.Worst;
  }
}

// 16-bit files of every colour type, untagged or tagged gAMA 1/2.2, sRGB or
// with a colour key, plain and Adam7, load as ImageMagick reduces them to 8
// bits (made by data/make_png_fixtures.py). The samples are the stored ones:
// no tag changes them. The reader rounds v * 255 / 65535 to the nearest;
// ImageMagick 6 truncates it, so they may differ by 1.
TEST(Bitmap32IoPng, SixteenBitFilesLoadAsImageMagickReducesThem) {
  for (const char* kind : {"grey", "greyalpha", "rgb", "rgba"})
    for (const char* tag : {"none", "gama", "srgb", "trns"}) {
      if (std::string(tag) == "trns" && (std::string(kind) == "greyalpha" || std::string(kind) == "rgba")) continue;
      ExpectFixtureLoads(std::string("png16_") + kind + "_" + tag, 1);
    }
}

// Every other colour type and bit depth, plain and Adam7, loads as
// ImageMagick decodes it (data/make_png_fixtures.py): 1, 2, 4 and 8-bit grey
// (8-bit with a colour key), 4 and 8-bit palettes with alpha, 8-bit
// grey+alpha, RGB and RGBA.
TEST(Bitmap32IoPng, EightBitAndSmallerFilesLoadAsImageMagickDecodesThem) {
  for (const char* kind : {"grey1", "grey2", "grey4", "grey8", "palette4", "palette8", "greyalpha", "rgb", "rgba"})
    ExpectFixtureLoads(std::string("png8_") + kind, 0);
}

// Files tagged with a gamma other than sRGB's (gAMA 1.0 and 0.7) of every
// colour type, 8 and 16 bits, plain and Adam7, load converted to sRGB's gamma
// exactly as the formula gives them (data/make_png_gamma_fixtures.py computes
// it): a reader that ignores gAMA, or loses the dark tones of 16-bit samples,
// fails. Alpha stays linear.
TEST(Bitmap32IoPng, GammaOtherThanSrgbsIsConvertedToSrgbs) {
  for (const char* gamma : {"gama1", "gama07"})
    for (const char* kind : {"png16_grey", "png16_greyalpha", "png16_rgb", "png16_rgba", "png16_rgb_trns", "png8_grey",
                             "png8_greyalpha", "png8_rgb", "png8_rgba", "png8_palette"})
      ExpectFixtureLoads(std::string(kind) + "_" + gamma, 0);
}

// A PNG of width x height with `chunks` between IHDR and IEND.
TBytes Png(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, bool adam7,
           const std::vector<TBytes>& chunks) {
  TBytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  TBytes header;
  PutBigEndian32(header, width);
  PutBigEndian32(header, height);
  header.insert(header.end(), {depth, colourType, 0, 0, static_cast<uint8_t>(adam7 ? 1 : 0)});
  const TBytes ihdr = PngChunk("IHDR", header);
  png.insert(png.end(), ihdr.begin(), ihdr.end());
  for (const TBytes& chunk : chunks) png.insert(png.end(), chunk.begin(), chunk.end());
  const TBytes iend = PngChunk("IEND", {});
  png.insert(png.end(), iend.begin(), iend.end());
  return png;
}

// A 1-bit grey PNG.
TBytes GreyPng(uint32_t width, uint32_t height, bool adam7, const std::vector<TBytes>& chunks) {
  return Png(width, height, 1, 0, adam7, chunks);
}

TBytes Deflate(const TBytes& data) {
  uLongf length = compressBound(static_cast<uLong>(data.size()));
  TBytes out(length);
  EXPECT_EQ(compress2(out.data(), &length, data.data(), static_cast<uLong>(data.size()), 9), Z_OK);
  out.resize(length);
  return out;
}

// The inflated image data of a black 1-bit image: every row of every pass a
// filter byte 0 and zero bits.
TBytes BlackRows(uint32_t width, uint32_t height, bool adam7) {
  struct TPass {
    uint32_t X0, Y0, Dx, Dy;
  };
  static constexpr TPass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  static constexpr TPass kWhole[] = {{0, 0, 1, 1}};
  size_t size = 0;
  for (const TPass& p : adam7 ? std::span<const TPass>(kAdam7) : std::span<const TPass>(kWhole)) {
    const size_t columns = width > p.X0 ? (width - p.X0 + p.Dx - 1) / p.Dx : 0;
    const size_t rows = height > p.Y0 ? (height - p.Y0 + p.Dy - 1) / p.Dy : 0;
    if (columns > 0) size += rows * (1 + (columns + 7) / 8);
  }
  return TBytes(size, 0);
}

constexpr uint32_t kHuge = 16384;  // 16384 x 16384 pixels: a 1 GiB bitmap
constexpr size_t kRowBytes = 1 + kHuge / 8;

// Damaged image data of a file declaring a 1 GiB image is found before the
// bitmap is allocated: every case is refused within 100 MB of address space,
// with a reason that names the damage. Each file's data could fill the image
// (about 32 KB of deflate data for 32 MiB of rows), so the size check alone
// passes them; allocating the bitmap first (1 GiB) would fail under this
// limit.
TEST(Bitmap32IoPng, DamagedImageDataIsRefusedBeforeTheImageIsAllocated) {
  TBytes rows = BlackRows(kHuge, kHuge, false);
  const TBytes good = Deflate(rows);
  rows[100 * kRowBytes] = 5;
  const TBytes badFilter = Deflate(rows);
  rows.resize(rows.size() / 2);
  rows[100 * kRowBytes] = 0;
  const TBytes half = Deflate(rows);
  TBytes badCrc = PngChunk("IDAT", good);
  badCrc.back() ^= 1;
  // The same deflate data behind a zlib header asking for a preset dictionary.
  TBytes dictionary = {0x78, 0x20, 1, 2, 3, 4};
  dictionary.insert(dictionary.end(), good.begin() + 2, good.end());
  const struct {
    const char* Name;
    TBytes Png;
    const char* Reason;
  } kCases[] = {
      {"invalid deflate block type at the first byte (data/damaged_16384x16384_grey1.png)",
       DataFile("damaged_16384x16384_grey1.png"),
       "damaged image data after 0 of the 33570816 bytes its rows need (invalid block type)"},
      {"filter type 5 in row 100", GreyPng(kHuge, kHuge, false, {PngChunk("IDAT", badFilter)}),
       "row 100 of the image data has filter type 5"},
      {"CRC error", GreyPng(kHuge, kHuge, false, {badCrc}), "CRC error in the IDAT chunk at byte 33"},
      {"zlib stream of half the rows, then more data",
       GreyPng(kHuge, kHuge, false, {PngChunk("IDAT", half), PngChunk("IDAT", good)}),
       "the image data inflates to 16785408 of the 33570816 bytes its rows need"},
      {"rows continued after another chunk",
       GreyPng(kHuge, kHuge, false,
               {PngChunk("IDAT", TBytes(good.begin(), good.begin() + good.size() / 2)), PngChunk("tEXt", good),
                PngChunk("IDAT", TBytes(good.begin() + good.size() / 2, good.end()))}),
       "too little image data for 16384 x 16384 pixels"},
      {"preset dictionary", GreyPng(kHuge, kHuge, false, {PngChunk("IDAT", dictionary)}),
       "the image data asks for a preset dictionary"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    const TChildLoad result = LoadInChild(LoadBitmap32FromPng, c.Png, size_t{100} << 20);
    EXPECT_EQ(result.Outcome, TChildOutcome::Refused);
    EXPECT_EQ(result.Reason.rfind("Invalid PNG image: ", 0), 0u) << result.Reason;
    EXPECT_NE(result.Reason.find(c.Reason), std::string::npos) << result.Reason;
  }
}

// Every 16-bit value, as grey with alpha in a 256 x 256 image (grey v at
// pixel v, alpha 65535 - v), converts at full precision from the file's gamma
// to sRGB's: grey within 1 of round(255 (v / 65535) ^ (0.45455 / gamma)) for
// gAMA 1.0, 0.7, sRGB's own and 2.2, alpha within 1 of round(255 a / 65535).
// The dark ramp of a linear file keeps its steps.
TEST(Bitmap32IoPng, SixteenBitSamplesConvertAtFullPrecision) {
  TBytes rows;
  for (uint32_t y = 0; y < 256; ++y) {
    rows.push_back(0);
    for (uint32_t x = 0; x < 256; ++x) {
      const uint32_t v = y * 256 + x;
      rows.insert(rows.end(), {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v), static_cast<uint8_t>(~v >> 8),
                               static_cast<uint8_t>(~v)});
    }
  }
  const TBytes idat = PngChunk("IDAT", Deflate(rows));
  for (const uint32_t gamma : {100000u, 70000u, 45455u, 220000u}) {
    SCOPED_TRACE(gamma);
    TBytes gama;
    PutBigEndian32(gama, gamma);
    const TBitmap32 image = LoadBitmap32FromPng(Png(256, 256, 16, 4, false, {PngChunk("gAMA", gama), idat}));
    ASSERT_EQ(image.Width(), 256);
    const double exponent = 45455.0 / gamma;
    TDifference worst;
    for (uint32_t v = 0; v < 65536; ++v) {
      const TColor32 got = image.Bits()[v];
      const int grey = static_cast<int>(std::lround(255 * std::pow(v / 65535.0, exponent)));
      const int alpha = static_cast<int>(std::lround(255 * (65535 - v) / 65535.0));
      const int off = std::max({std::abs(RedComponent(got) - grey), std::abs(GreenComponent(got) - grey),
                                std::abs(BlueComponent(got) - grey), std::abs(AlphaComponent(got) - alpha)});
      worst.Worst = std::max(worst.Worst, off);
      worst.PixelsOff += off != 0;
    }
    EXPECT_LE(worst.Worst, 1) << worst.PixelsOff << " values off";
  }

  // A linear grey ramp, against the formula's values.
  const struct {
    uint32_t Sample;
    int Grey;
  } kRamp[] = {{20, 6}, {31, 8}, {40, 9}, {64, 11}, {100, 13}, {160, 17}};
  TBytes ramp = {0};
  for (const auto& r : kRamp)
    ramp.insert(ramp.end(), {static_cast<uint8_t>(r.Sample >> 8), static_cast<uint8_t>(r.Sample)});
  TBytes linear;
  PutBigEndian32(linear, 100000);
  const TBitmap32 image = LoadBitmap32FromPng(
      Png(std::size(kRamp), 1, 16, 0, false, {PngChunk("gAMA", linear), PngChunk("IDAT", Deflate(ramp))}));
  for (size_t i = 0; i < std::size(kRamp); ++i)
    EXPECT_NEAR(RedComponent(image.Bits()[i]), kRamp[i].Grey, 1) << "sample " << kRamp[i].Sample;
}

// A small file (a bitmap of 4 MiB) is decoded without a check first: the
// damage libpng meets while decoding refuses it with the reader's error naming
// it, and nothing is returned. Its rows are pseudo-random, so the deflate data
// is about as long as the rows and each case passes the size check.
TEST(Bitmap32IoPng, DamageMetWhileDecodingRefusesTheFile) {
  constexpr uint32_t kSide = 1024;
  constexpr size_t kSmallRowBytes = 1 + kSide / 8;
  TBytes rows(kSmallRowBytes * kSide);
  uint32_t state = 12345;
  for (size_t i = 0; i < rows.size(); ++i) {
    state = state * 1103515245u + 12345u;
    rows[i] = i % kSmallRowBytes == 0 ? 0 : static_cast<uint8_t>(state >> 24);
  }
  const TBytes good = Deflate(rows);
  const TBytes goodIdat = PngChunk("IDAT", good);
  TBytes badFilter = rows;
  badFilter[100 * kSmallRowBytes] = 5;
  TBytes badCrc = goodIdat;
  badCrc.back() ^= 1;
  TBytes badBlock = good;
  badBlock[2] = 0x07;  // an invalid deflate block type
  TBytes dictionary = {0x78, 0x20, 1, 2, 3, 4};
  dictionary.insert(dictionary.end(), good.begin() + 2, good.end());
  const TBytes half = Deflate(TBytes(rows.begin(), rows.begin() + rows.size() / 2));
  const size_t split = good.size() / 2;
  TBytes firstHalfBadCrc = PngChunk("IDAT", TBytes(good.begin(), good.begin() + split));
  firstHalfBadCrc.back() ^= 1;
  const TBytes secondHalf = PngChunk("IDAT", TBytes(good.begin() + split, good.end()));
  const struct {
    const char* Name;
    std::vector<TBytes> Chunks;
    const char* Reason;
  } kCases[] = {
      {"invalid deflate block type", {PngChunk("IDAT", badBlock)}, "invalid block type"},
      {"filter type 5 in row 100", {PngChunk("IDAT", Deflate(badFilter))}, "bad adaptive filter value"},
      {"CRC error in the last IDAT chunk", {badCrc}, "CRC error"},
      {"CRC error in the first of two IDAT chunks", {firstHalfBadCrc, secondHalf}, "CRC error"},
      {"zlib stream of half the rows, then more data", {PngChunk("IDAT", half), goodIdat}, "Not enough image data"},
      {"rows continued after another chunk",
       {PngChunk("IDAT", TBytes(good.begin(), good.begin() + split)), PngChunk("tEXt", good), secondHalf},
       "Not enough image data"},
      {"preset dictionary", {PngChunk("IDAT", dictionary)}, "dictionary"},
  };
  ASSERT_EQ(LoadBitmap32FromPng(GreyPng(kSide, kSide, false, {goodIdat})).Width(), int{kSide});
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    try {
      (void)LoadBitmap32FromPng(GreyPng(kSide, kSide, false, c.Chunks));
      ADD_FAILURE() << "loaded";
    } catch (const EBitmapIOError& e) {
      const std::string reason = e.what();
      EXPECT_EQ(reason.rfind("Invalid PNG image: ", 0), 0u) << reason;
      EXPECT_NE(reason.find(c.Reason), std::string::npos) << reason;
    }
  }
}

// A valid file decodes straight into the bitmap: plain and Adam7, it loads
// within the bitmap's size plus 16 MiB, where a second full-size copy would
// not fit, and with less room than the bitmap needs it is refused with the
// reader's own error naming the size (not std::bad_alloc). Under the
// sanitizers the files load without a limit.
TEST(Bitmap32IoPng, ValidFilesNeedTheBitmapAndAFewRows) {
  constexpr uint32_t kSide = 8192;
  constexpr size_t kBitmapBytes = size_t{4} * kSide * kSide;
  for (const bool adam7 : {false, true}) {
    SCOPED_TRACE(adam7 ? "adam7" : "plain");
    const TBytes png = GreyPng(kSide, kSide, adam7, {PngChunk("IDAT", Deflate(BlackRows(kSide, kSide, adam7)))});
    const TChildLoad fits = LoadInChild(LoadBitmap32FromPng, png, kBitmapBytes + (size_t{16} << 20));
    EXPECT_EQ(fits.Outcome, TChildOutcome::Loaded) << fits.Reason;
    if (!kAddressSpaceLimited) continue;
    const TChildLoad tooSmall = LoadInChild(LoadBitmap32FromPng, png, kBitmapBytes / 2);
    EXPECT_EQ(tooSmall.Outcome, TChildOutcome::Refused);
    EXPECT_EQ(tooSmall.Reason, "Not enough memory for a PNG image of 8192 x 8192 pixels (268435456 bytes)");
  }
}

}  // namespace
