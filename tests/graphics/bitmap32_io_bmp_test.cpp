// Windows bitmap files beyond plain rows: RLE8 and RLE4 codes, 16-bit pixels,
// OS/2 headers, and the compressions that are refused.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bitmap_art.h"
#include "graphics/bitmap32_io.h"
#include "graphics/load_in_child.h"

namespace {

using TBytes = std::vector<uint8_t>;

void Put16(TBytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(TBytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A bitmap file: the info header (infoSize bytes; 12 is the OS/2 core
// header), then `extra` (masks, colour table), then `data` at the offset the
// file header gives.
struct TBmp {
  int32_t Width = 1;
  int32_t Height = 1;
  uint16_t Bits = 8;
  uint32_t Compression = 0;
  TBytes Extra;
  TBytes Data;
  uint32_t InfoSize = 40;
  uint32_t ColorsUsed = 0;
  // Bit-field masks inside a header of 52 bytes or more.
  std::vector<uint32_t> Masks;

  TBytes Bytes() const {
    TBytes info;
    Put32(info, InfoSize);
    if (InfoSize == 12) {
      Put16(info, static_cast<uint32_t>(Width));
      Put16(info, static_cast<uint32_t>(Height));
      Put16(info, 1);
      Put16(info, Bits);
    } else {
      Put32(info, static_cast<uint32_t>(Width));
      Put32(info, static_cast<uint32_t>(Height));
      Put16(info, 1);
      Put16(info, Bits);
      Put32(info, Compression);
      Put32(info, static_cast<uint32_t>(Data.size()));
      Put32(info, 2835);
      Put32(info, 2835);
      Put32(info, ColorsUsed);
      Put32(info, 0);
      info.resize(std::max<size_t>(info.size(), InfoSize), 0);
      for (size_t i = 0; i < Masks.size(); ++i)
        for (size_t k = 0; k < 4; ++k) info.at(40 + 4 * i + k) = static_cast<uint8_t>(Masks[i] >> (8 * k));
    }
    TBytes b = {'B', 'M'};
    const uint32_t offset = static_cast<uint32_t>(14 + info.size() + Extra.size());
    Put32(b, static_cast<uint32_t>(offset + Data.size()));
    Put32(b, 0);
    Put32(b, offset);
    for (const TBytes* part : {static_cast<const TBytes*>(&info), &Extra, &Data}) b.insert(b.end(), part->begin(), part->end());
    return b;
  }
};

// The colour table of the RLE cases: entries a, b, c and d.
constexpr TColor32 kA = Color32(10, 20, 30), kB = Color32(200, 0, 0), kC = Color32(0, 200, 0),
                   kD = Color32(0, 0, 200);
const TBytes kTable = {30, 20, 10, 0, 0, 0, 200, 0, 0, 200, 0, 0, 200, 0, 0, 0};

// RLE8 codes for 8 bits, RLE4 codes for 4, over the table a, b, c, d.
TBmp Rle(int32_t width, int32_t height, uint16_t bits, TBytes codes, uint32_t compression = 0) {
  TBmp bmp;
  bmp.Width = width;
  bmp.Height = height;
  bmp.Bits = bits;
  bmp.Compression = compression ? compression : bits == 8 ? 1 : 2;
  bmp.Extra = kTable;
  bmp.Data = std::move(codes);
  bmp.ColorsUsed = 4;
  return bmp;
}

std::string ArtOf(const TBitmap32& image) {
  return Art(image, {{kA, 'a'}, {kB, 'b'}, {kC, 'c'}, {kD, 'd'}, {clBlack32, 'k'}});
}

std::string ErrorOf(const TBytes& bytes) {
  try {
    LoadBitmap32FromBmp(bytes);
  } catch (const EBitmapIOError& e) {
    return e.what();
  }
  return "(loaded)";
}

TBytes ReadFixture(const std::string& name) { return ReadImageFileBytes(std::string(TEST_DATA_DIR) + "/bmp/" + name); }

// Each fixture against ImageMagick's decode of it (NAME.rgba, written by
// data/bmp/make_fixtures.py): the files ImageMagick writes, and files written
// byte by byte for the codes and headers it does not write.
TEST(Bitmap32IoBmp, FixturesLoadAsImageMagickDecodesThem) {
  // ImageMagick widens 5- and 6-bit channels by repeating their top bits;
  // the loader rounds to the nearest 8-bit value, at most 1 away.
  constexpr int kWidened = 1;
  const struct {
    const char* Name;
    int Tolerance;
  } kCases[] = {
      {"im_rle8_23x7", 0},              // runs into the row padding, as ImageMagick writes them
      {"rle8_codes_6x5", 0},            // literal runs, delta, end of line and of bitmap early
      {"rle4_codes_9x4", 0},            // nibble runs, odd literal runs, delta, end of bitmap
      {"rgb555_5x3", kWidened},         // 16 bits without masks; the top bit is not used
      {"rgb565_table_5x3", kWidened},   // masks after a 40-byte header, then a colour table
      {"im_rgb565_5x3", kWidened},      // masks inside a 124-byte header
      {"im_os2_pal1_9x4", 0},           // the 12-byte OS/2 header, 3-byte table entries
      {"im_os2_pal4_7x3", 0},
      {"im_os2_pal8_6x5", 0},
      {"im_os2_rgb24_5x3", 0},
      {"os2v2_pal4_7x3", 0},            // the 64-byte OS/2 header, 3-byte table entries
      {"os2v2_rle8_6x5", 0},
      {"os2v2_rgb24_4x3", 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    const std::string name = c.Name;
    const TBitmap32 image = LoadBitmap32FromBmp(ReadFixture(name + ".bmp"));
    const TBytes want = ReadFixture(name + ".rgba");
    const std::string size = name.substr(name.rfind('_') + 1);
    ASSERT_EQ(std::to_string(image.Width()) + "x" + std::to_string(image.Height()), size);
    ASSERT_EQ(want.size(), size_t{4} * image.Width() * image.Height());
    int worst = 0;
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) {
        const TColor32 p = image.Pixel(x, y);
        const uint8_t* w = &want[4 * (static_cast<size_t>(y) * image.Width() + x)];
        for (const auto& [got, expected] : {std::pair{RedComponent(p), w[0]}, std::pair{GreenComponent(p), w[1]},
                                            std::pair{BlueComponent(p), w[2]}, std::pair{AlphaComponent(p), w[3]}})
          worst = std::max(worst, std::abs(got - expected));
      }
    EXPECT_LE(worst, c.Tolerance);
  }
}

// Codes that reach past the row or the image are clipped: nothing outside is
// written, and the next row is not touched.
TEST(Bitmap32IoBmp, RleRunsAreClippedToTheRowAndTheImage) {
  const struct {
    const char* Name;
    TBmp File;
    std::string Picture;
  } kCases[] = {
      {"a run past the row drops the rest", Rle(3, 2, 8, {5, 1, 0, 0, 1, 2, 0, 1}), Rows({"caa", "bbb"})},
      {"a run past the row without an end of line", Rle(3, 2, 8, {5, 1, 1, 2, 0, 0, 1, 3, 0, 1}),
       Rows({"daa", "bbb"})},
      {"a literal run past the row", Rle(3, 1, 8, {0, 5, 1, 2, 3, 1, 2, 0, 0, 1}), Rows({"bcd"})},
      {"rle4 literal, then a run past the row", Rle(3, 1, 4, {0, 3, 0x12, 0x30, 4, 0x23, 0, 1}), Rows({"bcd"})},
      {"a delta past the row, then a run", Rle(2, 2, 8, {0, 2, 5, 0, 2, 1, 0, 0, 1, 3, 0, 1}), Rows({"da", "aa"})},
      {"a delta past the last row ends the image; the rest is not read", Rle(2, 2, 8, {1, 1, 0, 2, 0, 5, 7}),
       Rows({"aa", "ba"})},
      {"codes after the last row are not read", Rle(2, 1, 8, {2, 1, 0, 0, 0, 3}), Rows({"bb"})},
      {"a full last row needs no end codes", Rle(2, 2, 8, {2, 1, 0, 0, 2, 2}), Rows({"cc", "bb"})},
      {"an index past the table reads opaque black", Rle(2, 1, 8, {1, 9, 1, 3, 0, 1}), Rows({"kd"})},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ArtOf(LoadBitmap32FromBmp(c.File.Bytes())), c.Picture);
  }
  // Rows stored from the top follow the codes from the top.
  TBmp topDown = Rle(1, -2, 8, {1, 1, 0, 0, 1, 2, 0, 1});
  EXPECT_EQ(ArtOf(LoadBitmap32FromBmp(topDown.Bytes())), Rows({"b", "c"}));
}

TEST(Bitmap32IoBmp, TruncatedOrOversizedRleIsRefused) {
  TBmp noData = Rle(2, 1, 8, {});
  const struct {
    const char* Name;
    TBmp File;
    const char* Reason;
  } kCases[] = {
      {"ends inside a row", Rle(2, 1, 8, {1, 1}), "Invalid BMP image: truncated RLE data"},
      {"ends inside a literal run", Rle(4, 1, 8, {0, 4, 1, 2}), "truncated RLE data"},
      {"ends inside an rle4 literal run", Rle(4, 1, 4, {0, 4, 0x12}), "truncated RLE data"},
      {"ends inside a delta", Rle(4, 2, 8, {0, 2, 1}), "truncated RLE data"},
      {"ends before the last row", Rle(2, 2, 8, {2, 1, 0, 0}), "truncated RLE data"},
      {"no codes", noData, "truncated RLE data"},
      // Two bytes of codes may stand for 2048 pixels, not more.
      {"an end of line for 2049 pixels", Rle(2049, 1, 8, {0, 0}), "too little RLE data for 2049 x 1 pixels"},
      {"16384 x 16384 ending at once", Rle(16384, 16384, 8, {0, 1}), "too little RLE data for 16384 x 16384"},
      {"rle8 of 4 bits", Rle(1, 1, 4, {0, 1}, 1),
       "Unsupported BMP image: RLE8 data of 4 bits per pixel"},
      {"rle4 of 8 bits", Rle(1, 1, 8, {0, 1}, 2),
       "Unsupported BMP image: RLE4 data of 8 bits per pixel"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    const std::string error = ErrorOf(c.File.Bytes());
    EXPECT_NE(error.find(c.Reason), std::string::npos) << error;
  }
  EXPECT_EQ(LoadBitmap32FromBmp(Rle(2048, 1, 8, {0, 0}).Bytes()).Pixel(2047, 0), kA);
}

// RLE codes for `rows` full rows of 16384 pixels of a 16384 x 16384 image
// (1 GiB of pixels), each row ended by an end-of-line code.
TBytes HugeRleFile(int rows) {
  TBytes codes;
  for (int row = 0; row < rows; ++row) {
    for (int x = 0; x < 16384; x += 255) codes.insert(codes.end(), {255, 1});
    codes.insert(codes.end(), {0, 0});
  }
  return Rle(16384, 16384, 8, codes).Bytes();
}

// RLE data that claims 1 GiB of pixels and has codes enough for the bound on
// pixels per byte, but ends before its last row, is refused before the image
// is allocated; when the complete image does not fit in memory, the refusal
// names its size.
TEST(Bitmap32IoBmp, HugeRleImagesAreRefusedWithinBudget) {
  const TBytes truncated = HugeRleFile(2100);
  ASSERT_GT(truncated.size(), (size_t{1} << 28) / 1024);
  const std::string reason = "Invalid BMP image: truncated RLE data";
  EXPECT_EQ(ErrorOf(truncated), reason);
  if (!kAddressSpaceLimited) GTEST_SKIP() << "no address space limit under the sanitizers";
  const TChildLoad cut = LoadInChild(LoadBitmap32FromBmp, truncated, size_t{100} << 20);
  EXPECT_EQ(cut.Outcome, TChildOutcome::Refused);
  EXPECT_EQ(cut.Reason, reason);
  const TChildLoad whole = LoadInChild(LoadBitmap32FromBmp, HugeRleFile(16384), size_t{100} << 20);
  EXPECT_EQ(whole.Outcome, TChildOutcome::Refused);
  EXPECT_EQ(whole.Reason, "Not enough memory for a BMP image of 16384 x 16384 pixels (1073741824 bytes)");
}

// Compressions that are recognised but not decoded are refused by their
// name, whatever bit depth the header gives with them.
TEST(Bitmap32IoBmp, UndecodedCompressionsAreRefusedByName) {
  const auto with = [](uint16_t bits, uint32_t compression, uint32_t infoSize = 40) {
    TBmp bmp;
    bmp.Bits = bits;
    bmp.Compression = compression;
    bmp.InfoSize = infoSize;
    bmp.Data = TBytes(64, 0);
    return bmp;
  };
  const struct {
    const char* Name;
    TBmp File;
    const char* Reason;
  } kCases[] = {
      {"jpeg", with(0, 4), "Unsupported BMP image: JPEG compression"},
      {"png", with(0, 5), "Unsupported BMP image: PNG compression"},
      {"png with a depth", with(24, 5), "Unsupported BMP image: PNG compression"},
      {"alpha bit fields", with(32, 6), "Unsupported BMP image: alpha bit-field compression"},
      {"os/2 huffman", with(1, 3, 64), "Unsupported BMP image: OS/2 Huffman 1D compression"},
      {"os/2 rle24", with(24, 4, 64), "Unsupported BMP image: OS/2 RLE24 compression"},
      {"unknown code", with(8, 11), "Unsupported BMP image: compression 11"},
      {"2 bits", with(2, 0), "Unsupported BMP image: uncompressed data of 2 bits per pixel"},
      {"24-bit bit fields", with(24, 3), "Unsupported BMP image: bit-field data of 24 bits per pixel"},
      {"a 16-byte os/2 header", with(8, 0, 16), "Invalid BMP image: unsupported info header"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ErrorOf(c.File.Bytes()), c.Reason);
  }
}

// 16-bit pixels with an alpha mask keep their alpha, unless it is 0
// everywhere: then the writer stored none, and the image is opaque.
TEST(Bitmap32IoBmp, SixteenBitAlphaMask) {
  const auto load = [](std::initializer_list<uint16_t> pixels) {
    TBmp bmp;
    bmp.Width = static_cast<int32_t>(pixels.size());
    bmp.Bits = 16;
    bmp.Compression = 3;
    bmp.InfoSize = 56;
    bmp.Masks = {0x7C00, 0x03E0, 0x001F, 0x8000};
    for (uint16_t p : pixels) Put16(bmp.Data, p);
    bmp.Data.resize((bmp.Data.size() + 3) / 4 * 4, 0);
    return LoadBitmap32FromBmp(bmp.Bytes());
  };
  const TBitmap32 mixed = load({0xFFFF, 0x7C00, 0x801F});
  EXPECT_EQ(mixed.Pixel(0, 0), Color32(255, 255, 255, 255));
  EXPECT_EQ(mixed.Pixel(1, 0), Color32(255, 0, 0, 0));
  EXPECT_EQ(mixed.Pixel(2, 0), Color32(0, 0, 255, 255));
  const TBitmap32 none = load({0x7FFF, 0x03E0});
  EXPECT_EQ(none.Pixel(0, 0), Color32(255, 255, 255, 255));
  EXPECT_EQ(none.Pixel(1, 0), Color32(0, 255, 0, 255));
}

// The OS/2 core header has no count of colours: its table holds 2^bits
// entries or ends where the pixels start; indexes past it read opaque black.
TEST(Bitmap32IoBmp, CoreHeaderColourTable) {
  TBmp core;
  core.InfoSize = 12;
  core.Width = 3;
  core.Bits = 4;
  core.Extra = {30, 20, 10, 0, 0, 200};  // entries a and b, 3 bytes each
  core.Data = {0x01, 0x50, 0, 0};
  EXPECT_EQ(ArtOf(LoadBitmap32FromBmp(core.Bytes())), Rows({"abk"}));

  // A table cut by the end of the file.
  TBytes cut = core.Bytes();
  cut.resize(14 + 12 + 4);
  cut[10] = 40;  // the pixels would start past the end
  EXPECT_EQ(ErrorOf(cut), "Invalid BMP image: truncated colour table");
}

}  // namespace
