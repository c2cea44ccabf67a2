// The fax encoder against libtiff as an independent codec: Group 4 code, and
// Group 3 1-D code with EOLs, are byte-identical to libtiff's encoder's, and
// the code of every mode of the corpus decodes back to the input rows.
// Corpus: widths around byte and make-up-code boundaries, five patterns,
// heights 1 to 17, garbage in the padding bits.

#include "pdf/ccitt_fax.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/ccitt_test_images.h"
#include "pdf/ccitt_tiff_oracle.h"

namespace {

using ccitt_test::TFaxImage;
using ccitt_test::TTiffFax;

constexpr int kWidths[] = {1, 7, 8, 9, 13, 64, 100, 1727, 1728, 1729, 2560, 2623, 2624, 2625, 5000};
constexpr int kMaxHeight = 17;

std::vector<uint8_t> Compress(const TFaxImage& image, TVCCITTMode mode) {
  return ccitt_test::EncodedImage(image, mode, static_cast<uint32_t>(image.Height));
}

// Group 3 one-dimensional code as libtiff reads it: an EOL before every row,
// the rows coded with Encode1DRow from the ink (padding bits set at random).
std::vector<uint8_t> OneDimWithEols(const TFaxImage& image) {
  std::vector<uint8_t> ink = image.Ink;
  const std::vector<uint8_t> bitmap = ccitt_test::BitmapBytes(image, 5);
  for (std::size_t i = 0; i < ink.size(); ++i) ink[i] = static_cast<uint8_t>(~bitmap[i]);
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  for (int y = 0; y < image.Height; ++y) {
    encoder.PutBits(0x001, 12);
    const std::span<const uint8_t> row(ink.data() + image.RowBytes * static_cast<std::size_t>(y), image.RowBytes);
    EXPECT_TRUE(encoder.Encode1DRow(row, image.Width));
  }
  encoder.FlushBits();
  return out;
}

// Mode 0 output: the same row codes with nothing between them.
std::vector<uint8_t> OneDimRowsConcatenated(const TFaxImage& image) {
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  for (int y = 0; y < image.Height; ++y)
    encoder.Encode1DRow(std::span(image.Row(y), image.RowBytes), image.Width);
  encoder.FlushBits();
  return out;
}

// Runs `check` over the whole corpus, stopping after a few failures so that a
// broken code table does not print thousands of them.
template <typename TCheck>
void ForCorpus(TCheck check) {
  int failures = 0;
  for (int width : kWidths)
    for (ccitt_test::TPattern pattern : ccitt_test::kAllPatterns)
      for (int height = 1; height <= kMaxHeight; ++height) {
        const TFaxImage image =
            ccitt_test::MakeImage(pattern, width, height, static_cast<uint32_t>(width * 31 + height));
        const std::string name = std::to_string(width) + " x " + std::to_string(height) + " " +
                                 ccitt_test::PatternName(pattern);
        SCOPED_TRACE(name);
        if (!check(image) && ++failures >= 5) return;
      }
}

TEST(CCITTLibtiffTest, Group4IsByteIdenticalToLibtiff) {
  ForCorpus([](const TFaxImage& image) {
    const std::vector<uint8_t> ours = Compress(image, TVCCITTMode::Group4);
    const std::vector<uint8_t> theirs = ccitt_test::TiffEncodeGroup4(image.Ink, image.Width, image.Height);
    EXPECT_FALSE(theirs.empty());
    if (ours == theirs) return true;
    ADD_FAILURE() << "code differs from libtiff's: " << ours.size() << " vs " << theirs.size() << " bytes";
    return false;
  });
}

TEST(CCITTLibtiffTest, EveryModeDecodesBackThroughLibtiff) {
  struct TMode {
    const char* Name;
    TTiffFax Kind;
  };
  const TMode modes[] = {{"Group 3 1-D", TTiffFax::Group3OneDim},
                         {"Group 3 2-D", TTiffFax::Group3TwoDim},
                         {"Group 4", TTiffFax::Group4}};
  for (const TMode& mode : modes) {
    SCOPED_TRACE(mode.Name);
    ForCorpus([&](const TFaxImage& image) {
      const std::vector<uint8_t> code =
          mode.Kind == TTiffFax::Group3OneDim ? OneDimWithEols(image)
          : mode.Kind == TTiffFax::Group3TwoDim ? Compress(image, TVCCITTMode::Group3TwoDim)
                                                : Compress(image, TVCCITTMode::Group4);
      const auto decoded = ccitt_test::TiffDecode(code, image.Width, image.Height, mode.Kind);
      if (!decoded) {
        ADD_FAILURE() << "libtiff: " << ccitt_test::TiffLastError();
        return false;
      }
      if (*decoded == image.Ink) return true;
      ADD_FAILURE() << "decoded rows differ from the input";
      return false;
    });
  }
}

// Group 3 1-D code with an EOL before every row is libtiff's own Group 3 1-D
// code, byte for byte. Beyond the corpus, images whose sound code libtiff's
// decoder refuses, its own code included: a row of single-pixel runs that
// starts black overflows its run buffer when the width is a multiple of 32.
// Each bitmap (0 = black) repeats its bytes to fill the image, as the fax
// fuzz target builds images; the first is an input that target found.
TEST(CCITTLibtiffTest, Group3OneDimWithEolsIsByteIdenticalToLibtiff) {
  const auto identical = [](const TFaxImage& image) {
    const std::vector<uint8_t> theirs =
        ccitt_test::TiffEncode(image.Ink, image.Width, image.Height, TTiffFax::Group3OneDim);
    EXPECT_FALSE(theirs.empty());
    if (OneDimWithEols(image) == theirs) return true;
    ADD_FAILURE() << "code differs from libtiff's";
    return false;
  };
  ForCorpus(identical);

  std::vector<uint8_t> fuzzFind = {0x76};
  fuzzFind.insert(fuzzFind.end(), 86, 0x55);
  fuzzFind.insert(fuzzFind.end(), {0xbf, 0x01, 0xff});
  struct TCase {
    const char* Name;
    int Width;
    int Height;
    std::vector<uint8_t> Bitmap;
  };
  const TCase cases[] = {
      {"fuzz find", 512, 7, fuzzFind},
      {"single-pixel runs starting black", 32, 1, {0x55}},
      {"rows of single-pixel runs starting black, then white", 64, 4,
       {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
      {"single-pixel runs, widest", 5984, 3, {0x55}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFaxImage image(c.Width, c.Height);
    for (std::size_t i = 0; i < image.Ink.size(); ++i)
      image.Ink[i] = static_cast<uint8_t>(~c.Bitmap[i % c.Bitmap.size()]);
    ccitt_test::ClearPadding(image.Ink, image.Width, image.RowBytes);
    identical(image);
  }
}

// A white run of r then a black run of r, for every r up to 2700 and sparser
// beyond, so that every terminating and make-up code of both colours, and
// the repeated 2560 make-up code, is sent and checked.
TEST(CCITTLibtiffTest, EveryRunLengthOfBothColours) {
  std::vector<int> runs;
  for (int r = 1; r <= 2700; ++r) runs.push_back(r);
  for (int r = 2701; r <= 8000; r += 97) runs.push_back(r);
  int failures = 0;
  for (int r : runs) {
    SCOPED_TRACE(r);
    TFaxImage image(2 * r, 2);
    image.FillBlack(r, 2 * r, 0);
    image.FillBlack(0, r, 1);  // second row starts black: white run 0 first
    const auto decoded = ccitt_test::TiffDecode(OneDimWithEols(image), image.Width, image.Height,
                                                TTiffFax::Group3OneDim);
    const bool sameRows = decoded && *decoded == image.Ink;
    const bool sameCode = Compress(image, TVCCITTMode::Group4) ==
                          ccitt_test::TiffEncodeGroup4(image.Ink, image.Width, image.Height);
    EXPECT_TRUE(sameRows) << ccitt_test::TiffLastError();
    EXPECT_TRUE(sameCode);
    if ((!sameRows || !sameCode) && ++failures >= 5) return;
  }
}

// Mode 0 has no EOLs for libtiff to synchronise on; its code must be the
// decodable row codes above with nothing in between.
TEST(CCITTLibtiffTest, Group3OneDimIsTheRowCodesBackToBack) {
  ForCorpus([](const TFaxImage& image) {
    const bool same = Compress(image, TVCCITTMode::Group3OneDim) == OneDimRowsConcatenated(image);
    EXPECT_TRUE(same);
    return same;
  });
}

}  // namespace
