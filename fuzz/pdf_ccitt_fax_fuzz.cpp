// Fuzzes the fax encoder: the input gives a width, a height and pixel bits;
// every mode must encode without fault and match libtiff's encoder:
// - Group 4 byte for byte, and it decodes back through libtiff;
// - Group 3 1-D: the rows coded with an EOL before each are byte for byte
//   libtiff's Group 3 1-D code, and mode 0 is those row codes back to back;
// - Group 3 2-D: each row is an EOL, the tag bit 0 and then the row's code
//   in libtiff's Group 4 code, ahead of its end-of-facsimile block.
// libtiff's encoders are the oracle because its Group 3 1-D decoder refuses
// some sound code, its own included: a row of single-pixel runs that starts
// black, in an image whose width is a multiple of 32, overflows its run
// buffer (fuzz/corpus/pdf_ccitt_fax_fuzz/regression_g3_1d_alternating_512x7).
//
// Input: bytes 0-1 width - 1 (big-endian, modulo 6000), byte 2 height - 1
// (modulo 32), then the bitmap's bytes (0 = black), repeated to fill the image.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "../tests/pdf/ccitt_test_images.h"
#include "../tests/pdf/ccitt_tiff_oracle.h"
#include "pdf/ccitt_fax.h"

namespace {

constexpr int kEolLength = 12;  // eleven 0 bits and a 1
constexpr int kEofbLength = 2 * kEolLength;

std::vector<uint8_t> Compress(const std::vector<uint8_t>& bitmap, const ccitt_test::TFaxImage& image,
                              TVCCITTMode mode) {
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  encoder.SetMode(mode);
  encoder.Compress(ccitt_test::BitmapView(bitmap, image));
  return out;
}

// Modified Huffman code of every row, each preceded by an EOL when `eols`.
std::vector<uint8_t> OneDimRows(const ccitt_test::TFaxImage& image, bool eols) {
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  for (int y = 0; y < image.Height; ++y) {
    if (eols) encoder.PutBits(0x001, kEolLength);
    encoder.Encode1DRow(std::span(image.Row(y), image.RowBytes), image.Width);
  }
  encoder.FlushBits();
  return out;
}

std::vector<bool> Bits(const std::vector<uint8_t>& code) {
  std::vector<bool> bits;
  bits.reserve(code.size() * 8);
  for (uint8_t byte : code)
    for (int i = 7; i >= 0; --i) bits.push_back(((byte >> i) & 1) != 0);
  return bits;
}

// The row codes of Group 3 2-D code: every EOL and the tag bit after it taken
// out. An EOL cannot occur inside sound row code, so eleven 0 bits then a 1
// mark one. Nothing unless the code starts with an EOL, there is one EOL per
// row and every tag bit is 0 (the row is coded 2-D).
std::optional<std::vector<bool>> TwoDimRowCodes(const std::vector<uint8_t>& code, int height) {
  std::vector<bool> rows;
  int zeros = 0;
  int eols = 0;
  const std::vector<bool> bits = Bits(code);
  for (std::size_t i = 0; i < bits.size(); ++i) {
    if (!bits[i]) {
      ++zeros;
      rows.push_back(false);
      continue;
    }
    if (zeros < kEolLength - 1) {
      zeros = 0;
      rows.push_back(true);
      continue;
    }
    rows.resize(rows.size() - (kEolLength - 1));
    if ((eols == 0 && !rows.empty()) || i + 1 >= bits.size() || bits[i + 1]) return std::nullopt;
    ++eols;
    ++i;
    zeros = 0;
  }
  if (eols != height) return std::nullopt;
  return rows;
}

// Our Group 3 2-D code holds the row codes of libtiff's Group 4 code, which
// ends with the EOFB (its last 1 bit) and zero fill; our own fill after the
// row codes is zero and shorter than a byte.
bool SameRowsAsGroup4(const std::vector<uint8_t>& twoDim, const std::vector<uint8_t>& group4, int height) {
  const auto ours = TwoDimRowCodes(twoDim, height);
  if (!ours) return false;
  std::vector<bool> theirs = Bits(group4);
  while (!theirs.empty() && !theirs.back()) theirs.pop_back();
  if (theirs.size() < kEofbLength) return false;
  theirs.resize(theirs.size() - kEofbLength);
  if (ours->size() < theirs.size() || ours->size() - theirs.size() >= 8) return false;
  for (std::size_t i = 0; i < ours->size(); ++i)
    if ((*ours)[i] != (i < theirs.size() && theirs[i])) return false;
  return true;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int width = 1 + ((data[0] << 8) | data[1]) % 6000;
  const int height = 1 + data[2] % 32;
  ccitt_test::TFaxImage image(width, height);
  std::vector<uint8_t> bitmap(image.Ink.size(), 0xFF);
  if (size > 3)
    for (std::size_t i = 0; i < bitmap.size(); ++i) bitmap[i] = data[3 + i % (size - 3)];
  for (std::size_t i = 0; i < bitmap.size(); ++i) image.Ink[i] = static_cast<uint8_t>(~bitmap[i]);
  ccitt_test::ClearPadding(image.Ink, width, image.RowBytes);

  const std::vector<uint8_t> libtiffGroup4 = ccitt_test::TiffEncodeGroup4(image.Ink, width, height);
  const std::vector<uint8_t> group4 = Compress(bitmap, image, TVCCITTMode::Group4);
  Check(group4 == libtiffGroup4);
  const auto g4 = ccitt_test::TiffDecode(group4, width, height, ccitt_test::TTiffFax::Group4);
  Check(g4 && *g4 == image.Ink);

  const std::vector<uint8_t> twoDim = Compress(bitmap, image, TVCCITTMode::Group3TwoDim);
  Check(SameRowsAsGroup4(twoDim, libtiffGroup4, height));

  Check(OneDimRows(image, true) ==
        ccitt_test::TiffEncode(image.Ink, width, height, ccitt_test::TTiffFax::Group3OneDim));
  Check(Compress(bitmap, image, TVCCITTMode::Group3OneDim) == OneDimRows(image, false));
  return 0;
}
