#include "graphics/color32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

TEST(Color32, PacksAndUnpacksComponents) {
  constexpr TColor32 c = Color32(0x12, 0x34, 0x56, 0x78);
  static_assert(c == 0x78123456u);
  EXPECT_EQ(AlphaComponent(c), 0x78);
  EXPECT_EQ(RedComponent(c), 0x12);
  EXPECT_EQ(GreenComponent(c), 0x34);
  EXPECT_EQ(BlueComponent(c), 0x56);
  EXPECT_EQ(Color32(1, 2, 3), 0xFF010203u);  // opaque by default
  EXPECT_EQ(Color32(256 + 1, 2, 3, 256), 0x00010203u);  // modulo 256, no spill into the next byte
  EXPECT_EQ(SetAlpha(0xFF102030u, 0x40), 0x40102030u);
}

TEST(Color32, ConvertsBetweenWidgetAndBitmapColours) {
  struct Case { TColor win; TColor32 bitmap; };
  constexpr Case kCases[] = {
      {0x000000FFu, 0xFFFF0000u},  // TColor red is the low byte
      {0x0000FF00u, 0xFF00FF00u},
      {0x00FF0000u, 0xFF0000FFu},
      {0x00665544u, 0xFF445566u},
      {0x00FFFFFFu, clWhite32},
      {0x00000000u, clBlack32},
  };
  for (const auto& [win, bitmap] : kCases) {
    SCOPED_TRACE(win);
    EXPECT_EQ(Color32(win), bitmap);
    EXPECT_EQ(WinColor(bitmap), win);
    EXPECT_EQ(WinColor(SetAlpha(bitmap, 0x12)), win);  // alpha is dropped
  }
  EXPECT_EQ(Color32(TColor{0x8000000Fu}), 0xFF0F0000u);  // a system-colour flag byte is ignored
}

// Reference blend in doubles: channels Back + (Fore - Back) * a, alpha "over".
TEST(Color32, BlendMatchesExactArithmeticWithinOne) {
  int worst = 0;
  for (uint32_t master : {255u, 128u, 1u}) {
    for (uint32_t fa = 0; fa <= 255; fa += 3) {
      for (uint32_t f = 0; f <= 255; f += 15) {
        for (uint32_t b = 0; b <= 255; b += 17) {
          for (uint32_t ba : {0u, 100u, 255u}) {
            const TColor32 out = BlendColor32(Color32(f, 255 - f, f / 2, fa), Color32(b, b / 3, 255 - b, ba), master);
            const double a = fa * master / (255.0 * 255.0);
            const auto want = [a](double fc, double bc) { return bc + (fc - bc) * a; };
            worst = std::max<int>(worst, std::abs(RedComponent(out) - static_cast<int>(std::lround(want(f, b)))));
            worst = std::max<int>(worst, std::abs(GreenComponent(out) - static_cast<int>(std::lround(want(255 - f, b / 3)))));
            worst = std::max<int>(worst, std::abs(BlueComponent(out) - static_cast<int>(std::lround(want(f / 2, 255 - b)))));
            const double alpha = 255 * a + ba * (1 - a);
            worst = std::max<int>(worst, std::abs(AlphaComponent(out) - static_cast<int>(std::lround(alpha))));
          }
        }
      }
    }
  }
  EXPECT_LE(worst, 1);  // integer rounding of the alpha and of each product
}

TEST(Color32, BlendEndPointsAreExact) {
  const TColor32 back = 0xFF665544u;
  EXPECT_EQ(BlendColor32(0x00FFFFFFu, back), back);   // transparent leaves the background
  EXPECT_EQ(BlendColor32(0xFF123456u, back), 0xFF123456u);
  EXPECT_EQ(BlendColor32(0xFF123456u, back, 0), back);  // master alpha 0 hides everything
  EXPECT_EQ(AlphaComponent(BlendColor32(0x1CFFFFFFu, back)), 255);  // over opaque stays opaque
  EXPECT_EQ(BlendColor32(0x80FFFFFFu, 0xFF000000u), 0xFF808080u);
}
