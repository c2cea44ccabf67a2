#include "app/core/window/text_ink.h"

#include <gtest/gtest.h>

#include "graphics/color32.h"

namespace {

// Backgrounds as widget colours (R | G << 8 | B << 16) and the ink each gets.
// The greys either side of the switch and the saturated primaries pin the
// luminance weights and the sRGB curve, not just the two ends.
TEST(TextInk, StandsOutFromTheBackground) {
  struct TCase {
    TColor Background;
    TColor32 Ink;
  };
  const TCase cases[] = {
      {0x000000, clWhite32}, {0xFFFFFF, clBlack32}, {0xF0F0F0, clBlack32},  // the button faces
      {0x757575, clWhite32}, {0x767676, clBlack32},                         // greys either side of the switch
      {0x808080, clBlack32}, {0x404040, clWhite32},
      {0xFF0000, clWhite32},  // pure blue: dark at its brightest
      {0x0000FF, clBlack32},  // pure red: just light enough
      {0x00FF00, clBlack32}, {0x00FFFF, clBlack32},
      {0x0000C0, clWhite32}, {0x00C000, clBlack32},  // the same component in red and in green
  };
  for (const TCase& c : cases) EXPECT_EQ(TextInkOn(c.Background), c.Ink) << std::hex << c.Background;
}

}  // namespace
