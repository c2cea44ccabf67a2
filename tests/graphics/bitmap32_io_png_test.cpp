#include "graphics/bitmap32_io.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

// 16-bit files of every colour type, untagged or tagged gAMA 1/2.2, sRGB or
// with a colour key, plain and Adam7, load as ImageMagick reduces them to 8
// bits (made by data/make_png16_fixtures.py). The samples are the stored ones:
// no tag changes them. The reader rounds v * 255 / 65535 to the nearest;
// ImageMagick 6 truncates it, so they may differ by 1.
TEST(Bitmap32IoPng, SixteenBitFilesLoadAsImageMagickReducesThem) {
  constexpr int kWidth = 13, kHeight = 11;
  for (const char* kind : {"grey", "greyalpha", "rgb", "rgba"})
    for (const char* tag : {"none", "gama", "srgb", "trns"}) {
      const std::string base = std::string("png16_") + kind + "_" + tag;
      if (std::string(tag) == "trns" && (std::string(kind) == "greyalpha" || std::string(kind) == "rgba")) continue;
      const TBytes want = DataFile(base + ".rgba");
      ASSERT_EQ(want.size(), size_t{4} * kWidth * kHeight) << base;
      for (const char* layout : {"plain", "adam7"}) {
        const std::string name = base + "_" + layout + ".png";
        SCOPED_TRACE(name);
        const TBitmap32 image = LoadBitmap32FromPng(DataFile(name));
        ASSERT_EQ(image.Width(), kWidth);
        ASSERT_EQ(image.Height(), kHeight);
        const TDifference d = Compare(image, want);
        EXPECT_LE(d.Worst, 1) << d.PixelsOff << " of " << kWidth * kHeight << " pixels off, the worst by " << d.Worst;
      }
    }
}

}  // namespace
