// Known-answer vectors worked out by hand from the T.4 / T.6 code tables, the
// row primitives, and the encoder's error and edge behaviour.

#include "pdf/ccitt_fax.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pdf/ccitt_test_images.h"
#include "pdf/pdf_error.h"

namespace {

using ccitt_test::TFaxImage;

// The bytes as a string of '0' and '1', first sent bit on the left.
std::string BitString(const std::vector<uint8_t>& bytes) {
  std::string bits;
  for (uint8_t b : bytes)
    for (int i = 7; i >= 0; --i) bits += ((b >> i) & 1) != 0 ? '1' : '0';
  return bits;
}

// `bits` padded with zeros to whole bytes.
std::string Padded(std::string bits) {
  while (bits.size() % 8 != 0) bits += '0';
  return bits;
}

std::vector<uint8_t> Encode(const TFaxImage& image, TVCCITTMode mode) {
  return ccitt_test::EncodedImage(image, mode);
}

// An image from rows of '.' (white) and '#' (black).
TFaxImage Picture(const std::vector<std::string>& rows) {
  TFaxImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x)
      if (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#') image.SetBlack(x, y);
  return image;
}

const std::string kEol = "000000000001";

struct TVector {
  const char* Name;
  TVCCITTMode Mode;
  std::vector<std::string> Rows;
  std::string Bits;  // expected code before the zero padding
};

TEST(CCITTFaxTest, KnownVectors) {
  using M = TVCCITTMode;
  const std::string white1728(1728, '.'), white2624(2624, '.'), black2624(2624, '#');
  const TVector vectors[] = {
      {"1x1 white, 1-D: white 1", M::Group3OneDim, {"."}, "000111"},
      {"1x1 white, 2-D: EOL, tag 0, V0", M::Group3TwoDim, {"."}, kEol + "0" + "1"},
      {"1x1 white, Group 4: V0, EOFB", M::Group4, {"."}, "1" + kEol + kEol},
      {"1x1 black, 1-D: white 0, black 1", M::Group3OneDim, {"#"}, "00110101" "010"},
      {"1-D rows follow without EOL or fill", M::Group3OneDim, {".", "."}, "000111" "000111"},
      {"2-D: every row has EOL and tag", M::Group3TwoDim, {".", "."}, kEol + "01" + kEol + "01"},
      {"1728 white: make-up 1728, white 0", M::Group3OneDim, {white1728}, "010011011" "00110101"},
      {"2624 white: 2560, 64, white 0", M::Group3OneDim, {white2624}, "000000011111" "11011" "00110101"},
      {"2624 black: white 0, 2560, black 64, black 0",
       M::Group3OneDim,
       {black2624},
       "00110101" "000000011111" "0000001111" "0000110111"},
      {"row starting black, Group 4: horizontal white 0, black 4, then V0",
       M::Group4,
       {"####...."},
       "001" "00110101" "011" "1" + kEol + kEol},
      // Row 1: horizontal white 4 black 4, V0. Row 2: the black run moves 3
      // right, both of its edges are VR3, then V0.
      {"edge 3 right of its reference: VR3",
       M::Group4,
       {"....####........", ".......####....."},
       "001" "1011" "011" "1" "0000011" "0000011" "1" + kEol + kEol},
      // Row 2 is white under a black run of row 1: pass mode, then V0.
      {"reference run left of a1: pass",
       M::Group4,
       {"..##............", "................"},
       "001" "0111" "11" "1" "0001" "1" + kEol + kEol},
  };
  for (const TVector& v : vectors) {
    SCOPED_TRACE(v.Name);
    EXPECT_EQ(BitString(Encode(Picture(v.Rows), v.Mode)), Padded(v.Bits));
  }
}

TEST(CCITTFaxTest, OneWhitePixelIsTheByte1C) {
  EXPECT_EQ(Encode(Picture({"."}), TVCCITTMode::Group3OneDim), std::vector<uint8_t>{0x1C});
}

TEST(CCITTFaxTest, ErrorsWriteNothing) {
  const std::vector<uint8_t> bits(4, 0);
  const TVCCITTBitmap oneBit{bits.data(), 8, 4, 1, 1};
  TVCCITTBitmap eightBit = oneBit;
  eightBit.BitsPerPixel = 8;

  TVCCITTCompression encoder;
  try {
    encoder.Compress(eightBit);  // both wrong: the missing output is reported first
    ADD_FAILURE() << "no exception";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "Output stream is empty.");
  }

  std::vector<uint8_t> out{0xAB};
  encoder.SetOutput(&out);
  try {
    encoder.Compress(eightBit);
    ADD_FAILURE() << "no exception";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "Incorrect image format.");
  }
  EXPECT_EQ(out, std::vector<uint8_t>{0xAB});

  TVCCITTBitmap shortStride = oneBit;
  shortStride.Width = 9;  // two bytes per row, rows one byte apart
  EXPECT_THROW(encoder.Compress(shortStride), EPdfAssertionFailed);
  TVCCITTBitmap negative = oneBit;
  negative.Height = -1;
  EXPECT_THROW(encoder.Compress(negative), EPdfAssertionFailed);
  TVCCITTBitmap noBits = oneBit;
  noBits.Bits = nullptr;
  EXPECT_THROW(encoder.Compress(noBits), EPdfAssertionFailed);
  EXPECT_EQ(out, std::vector<uint8_t>{0xAB});
}

TEST(CCITTFaxTest, ImagesWithoutPixelsEncodeToNothing) {
  // No pixel pointer at all: nothing may read a row that does not exist.
  const TVCCITTBitmap empties[] = {{nullptr, 0, 0, 0, 1}, {nullptr, 5, 0, 1, 1}, {nullptr, 0, 5, 0, 1}};
  for (TVCCITTMode mode : {TVCCITTMode::Group3OneDim, TVCCITTMode::Group3TwoDim, TVCCITTMode::Group4})
    for (const TVCCITTBitmap& empty : empties) {
      SCOPED_TRACE(std::to_string(static_cast<int>(mode)) + ": " + std::to_string(empty.Width) + " x " +
                   std::to_string(empty.Height));
      std::vector<uint8_t> out{0x42};
      TVCCITTCompression encoder;
      encoder.SetOutput(&out);
      encoder.SetMode(mode);
      encoder.Compress(empty);
      EXPECT_EQ(out, std::vector<uint8_t>{0x42});
    }
}

TEST(CCITTFaxTest, AppendsAndRestartsTheBitBuffer) {
  std::vector<uint8_t> out{0x55};
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  encoder.PutBits(1, 3);  // left pending; a new image starts on a byte boundary
  const std::vector<uint8_t> white(1, 0xFF);
  encoder.Compress(TVCCITTBitmap{white.data(), 1, 1, 1, 1});
  encoder.Compress(TVCCITTBitmap{white.data(), 1, 1, 1, 1});
  EXPECT_EQ(out, (std::vector<uint8_t>{0x55, 0x1C, 0x1C}));
  EXPECT_EQ(encoder.PendingBits(), 0);
}

TEST(CCITTFaxTest, BottomUpRowsWithNegativeStride) {
  for (TVCCITTMode mode : {TVCCITTMode::Group3OneDim, TVCCITTMode::Group3TwoDim, TVCCITTMode::Group4}) {
    SCOPED_TRACE(static_cast<int>(mode));
    const TFaxImage image = ccitt_test::MakeImage(ccitt_test::TPattern::DriftingEdges, 77, 9);
    const std::vector<uint8_t> topDown = ccitt_test::BitmapBytes(image);
    std::vector<uint8_t> bottomUp;
    for (int y = image.Height - 1; y >= 0; --y)
      bottomUp.insert(bottomUp.end(), topDown.begin() + static_cast<std::ptrdiff_t>(image.RowBytes) * y,
                      topDown.begin() + static_cast<std::ptrdiff_t>(image.RowBytes) * (y + 1));
    const auto stride = static_cast<std::ptrdiff_t>(image.RowBytes);
    std::vector<uint8_t> out;
    TVCCITTCompression encoder;
    encoder.SetOutput(&out);
    encoder.SetMode(mode);
    encoder.Compress(TVCCITTBitmap{bottomUp.data() + stride * (image.Height - 1), image.Width,
                                   image.Height, -stride, 1});
    EXPECT_EQ(out, Encode(image, mode));
  }
}

// A row's padding bits and whatever lies after its last byte are white.
TEST(CCITTFaxTest, NothingBeyondTheWidthCountsAsPixels) {
  // Five white pixels followed by three black padding bits: one white run of 5.
  const std::vector<uint8_t> padded{0x07};
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  EXPECT_TRUE(encoder.Encode1DRow(padded, 5));
  encoder.FlushBits();
  EXPECT_EQ(BitString(out), Padded("1100"));  // white 5

  // Rows of exactly 8 pixels in buffers of exactly one byte (the sanitizer
  // build catches a read past them): a1 and b1 reach the width, and the colour
  // there is taken as white.
  struct TCase {
    uint8_t Row, Reference;
    std::string Bits;
  };
  const TCase cases[] = {
      {0x00, 0x00, "1"},                                // a1 = b1 = 8: V0
      {0x00, 0x0F, "001" "10011" "0000110111"},         // a1 = 8, b1 = 4: horizontal white 8, black 0
      {0xFF, 0x00, "001" "00110101" "000101"},          // a1 = 0, b1 = 8: white 0, black 8
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Bits);
    const std::vector<uint8_t> row(1, c.Row), reference(1, c.Reference);
    std::vector<uint8_t> code;
    encoder.SetOutput(&code);
    EXPECT_TRUE(encoder.Encode2DRow(row, reference, 8));
    encoder.FlushBits();
    EXPECT_EQ(BitString(code), Padded(c.Bits));
  }
}

TEST(CCITTFaxTest, RowWidthMustFitTheRow) {
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  const std::vector<uint8_t> row(2, 0);
  EXPECT_THROW(encoder.Encode1DRow(row, 16), EPdfAssertionFailed);  // no output yet
  encoder.SetOutput(&out);
  EXPECT_THROW(encoder.Encode1DRow(row, 17), EPdfAssertionFailed);
  EXPECT_THROW(encoder.Encode2DRow(row, std::span(row).first(1), 9), EPdfAssertionFailed);
  EXPECT_THROW(encoder.Encode1DRow(row, -1), EPdfAssertionFailed);
  EXPECT_TRUE(out.empty());
}

TEST(CCITTFaxTest, PutBitsPacksFromTheHighBit) {
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  encoder.PutBits(0b101, 3);
  EXPECT_EQ(encoder.PendingBits(), 3);
  EXPECT_TRUE(out.empty());
  encoder.PutBits(0b0000001100101, 13);  // black make-up 1728: 13 bits
  encoder.PutBits(0xFFFFFFF0u, 4);       // only the low 4 bits count
  encoder.PutBits(0xFF, 0);
  EXPECT_EQ(BitString(out), "1010000001100101");
  EXPECT_EQ(encoder.PendingBits(), 4);
  encoder.FlushBits();
  encoder.FlushBits();  // nothing pending: writes nothing
  EXPECT_EQ(BitString(out), "1010000001100101" "00000000");
  EXPECT_THROW(encoder.PutBits(0, 17), EPdfAssertionFailed);
  EXPECT_THROW(encoder.PutBits(0, -1), EPdfAssertionFailed);
}

TEST(CCITTFaxTest, PutSpanRepeatsTheLongestMakeUp) {
  struct TCase {
    int Span;
    bool Black;
    std::string Bits;
  };
  const TCase cases[] = {
      {0, false, "00110101"},
      {63, true, "000001100111"},
      {64, false, "11011" "00110101"},
      {2559, false, "000000011110" "00110100"},  // 2496 + 63
      {2560, true, "000000011111" "0000110111"},
      {2623, false, "000000011111" "00110100"},
      {2624, false, "000000011111" "11011" "00110101"},
      {5248, true, "000000011111" "000000011111" "000011001000" "0000110111"},  // 2 x 2560 + 128
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Span);
    std::vector<uint8_t> out;
    TVCCITTCompression encoder;
    encoder.SetOutput(&out);
    encoder.PutSpan(c.Span, c.Black ? kFaxBlackCodes : kFaxWhiteCodes);
    encoder.FlushBits();
    EXPECT_EQ(BitString(out), Padded(c.Bits));
  }
}

// Every start and end over rows of long and short runs, against a pixel-by-
// pixel count.
TEST(CCITTFaxTest, SpanFindersMatchAPixelCount) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 6; ++trial) {
    std::vector<uint8_t> row(24);
    for (uint8_t& b : row) {
      const uint32_t kind = random() % 3;
      b = kind == 0 ? 0x00 : kind == 1 ? 0xFF : static_cast<uint8_t>(random());
    }
    if (trial == 0) std::fill(row.begin(), row.end(), 0x00);  // runs longer than a 64-bit word
    if (trial == 1) std::fill(row.begin(), row.end(), 0xFF);
    const std::span<const uint8_t> view(row);
    const int bits = static_cast<int>(row.size() * 8);
    for (int start = -2; start <= bits + 2; ++start)
      for (int end = start - 2; end <= bits + 4; ++end) {
        int white = 0, black = 0;
        for (int x = std::max(start, 0); x < std::min(end, bits) && TVCCITTCompression::GetBit(view, x) == 0; ++x)
          ++white;
        for (int x = std::max(start, 0); x < std::min(end, bits) && TVCCITTCompression::GetBit(view, x) == 1; ++x)
          ++black;
        if (start < 0) white = black = 0;
        ASSERT_EQ(TVCCITTCompression::FindWhiteSpan(view, start, end), white) << start << ".." << end;
        ASSERT_EQ(TVCCITTCompression::FindBlackSpan(view, start, end), black) << start << ".." << end;
      }
  }
}

TEST(CCITTFaxTest, GetBitAndFindDiff) {
  const std::vector<uint8_t> row{0x80, 0x01};  // pixels 0 and 15 black
  const std::span<const uint8_t> view(row);
  EXPECT_EQ(TVCCITTCompression::GetBit(view, 0), 1);
  EXPECT_EQ(TVCCITTCompression::GetBit(view, 1), 0);
  EXPECT_EQ(TVCCITTCompression::GetBit(view, 15), 1);
  EXPECT_EQ(TVCCITTCompression::GetBit(view, 16), 0);  // outside the row: white
  EXPECT_EQ(TVCCITTCompression::GetBit(view, -1), 0);
  EXPECT_EQ(TVCCITTCompression::FindDiff(view, 0, 1, 16), 1);
  EXPECT_EQ(TVCCITTCompression::FindDiff(view, 1, 0, 16), 15);
  EXPECT_EQ(TVCCITTCompression::FindDiff(view, 1, 0, 10), 10);
  EXPECT_EQ(TVCCITTCompression::FindDiff(view, 16, 1, 16), 16);
  EXPECT_EQ(TVCCITTCompression::FindDiff2(view, 12, 0, 16), 15);
  EXPECT_EQ(TVCCITTCompression::FindDiff2(view, 16, 1, 16), 16);
  EXPECT_EQ(TVCCITTCompression::FindDiff2(view, 20, 1, 16), 16);
}

TEST(CCITTFaxTest, UnknownModeIsRefused) {
  std::vector<uint8_t> out;
  const std::vector<uint8_t> white(1, 0xFF);
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  encoder.SetMode(static_cast<TVCCITTMode>(3));
  EXPECT_THROW(encoder.Compress(TVCCITTBitmap{white.data(), 1, 1, 1, 1}), EPdfAssertionFailed);
  EXPECT_TRUE(out.empty());
}

}  // namespace
