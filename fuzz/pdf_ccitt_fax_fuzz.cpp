// Fuzzes the fax encoder: the input gives a width, a height and pixel bits;
// every mode must encode without fault, Group 4 must match libtiff's encoder
// byte for byte, and the code of every mode must decode back through libtiff.
//
// Input: bytes 0-1 width - 1 (big-endian, modulo 6000), byte 2 height - 1
// (modulo 32), then the bitmap's bytes (0 = black), repeated to fill the image.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../tests/pdf/ccitt_test_images.h"
#include "../tests/pdf/ccitt_tiff_oracle.h"
#include "pdf/ccitt_fax.h"

namespace {

std::vector<uint8_t> Compress(const std::vector<uint8_t>& bitmap, const ccitt_test::TFaxImage& image,
                              TVCCITTMode mode) {
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  encoder.SetMode(mode);
  encoder.Compress(ccitt_test::BitmapView(bitmap, image));
  return out;
}

// Group 3 1-D with an EOL before each row, the form libtiff can decode.
std::vector<uint8_t> OneDimWithEols(const ccitt_test::TFaxImage& image) {
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  for (int y = 0; y < image.Height; ++y) {
    encoder.PutBits(0x001, 12);
    encoder.Encode1DRow(std::span(image.Row(y), image.RowBytes), image.Width);
  }
  encoder.FlushBits();
  return out;
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

  const std::vector<uint8_t> group4 = Compress(bitmap, image, TVCCITTMode::Group4);
  Check(group4 == ccitt_test::TiffEncodeGroup4(image.Ink, width, height));
  const auto g4 = ccitt_test::TiffDecode(group4, width, height, ccitt_test::TTiffFax::Group4);
  Check(g4 && *g4 == image.Ink);

  const std::vector<uint8_t> twoDim = Compress(bitmap, image, TVCCITTMode::Group3TwoDim);
  const auto g32 = ccitt_test::TiffDecode(twoDim, width, height, ccitt_test::TTiffFax::Group3TwoDim);
  Check(g32 && *g32 == image.Ink);

  const auto g31 = ccitt_test::TiffDecode(OneDimWithEols(image), width, height,
                                          ccitt_test::TTiffFax::Group3OneDim);
  Check(g31 && *g31 == image.Ink);
  Check(!Compress(bitmap, image, TVCCITTMode::Group3OneDim).empty());
  return 0;
}
