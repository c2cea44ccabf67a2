#include "palette/sequential_palette.h"

#include <gtest/gtest.h>

#include "colour/rgb_spaces.h"
#include "palette/colour_curve.h"
#include "palette_test_util.h"

namespace {

TRGB ColorAt(const TSequentialPalette& p, bool allowOutOfRange, double t) {
  TRGB rgb;
  p.GetColor(allowOutOfRange, rgb, t);
  return rgb;
}

TEST(SequentialPalette, RunsFromBlackToTheLightEnd) {
  TSequentialPalette p;
  p.SetContrast(1);  // the whole curve
  p.SetHue(0, 200);
  ExpectRGBEq(ColorAt(p, true, 0), TRGB{0, 0, 0});
  const TRGB light = ColorAt(p, true, 1);
  EXPECT_NEAR(light.R, 255, 0.5);
  EXPECT_NEAR(light.G, 255, 0.5);
  EXPECT_NEAR(light.B, 255, 0.5);
}

TEST(SequentialPalette, ReverseReadsFromTheLightEnd) {
  TSequentialPalette forward;
  TSequentialPalette reversed;
  forward.SetHue(0, 300);
  reversed.SetHue(0, 300);
  reversed.SetReversePalette(true);
  for (double t : {0.0, 0.2, 0.5, 0.9, 1.0}) {
    SCOPED_TRACE(t);
    ExpectRGBEq(ColorAt(reversed, true, t), ColorAt(forward, true, 1 - t));
  }
  ExpectRGBEq(Swatch(reversed, 0), ColorAt(forward, true, 1));
}

TEST(SequentialPalette, SwatchPositions) {
  struct Case {
    int numColors, index;
    double t;
  };
  const Case cases[] = {{5, 0, 0}, {5, 1, 0.25}, {5, 4, 1}, {2, 1, 1}, {1, 0, 0.5}, {0, 3, 0.5}};
  TSequentialPalette p;
  p.SetHue(0, 120);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.numColors << " colours, swatch " << c.index);
    p.SetNumColors(c.numColors);
    TSequentialPalette ref;
    ref.SetHue(0, 120);
    ref.SetNumColors(c.numColors == 0 ? 5 : c.numColors);
    // With 0 colours the swatch asks for t = 0.5 and GetColor gives black.
    ExpectRGBEq(Swatch(p, c.index), c.numColors == 0 ? TRGB{} : ColorAt(ref, true, c.t));
  }
}

TEST(SequentialPalette, NoColoursGiveBlack) {
  TSequentialPalette p;
  p.SetNumColors(0);
  ExpectRGBEq(ColorAt(p, true, 0.7), TRGB{});
  ExpectRGBEq(ColorAt(p, false, 0.7), TRGB{});
}

// The curve's own colour decides: inside the gamut both forms give it, outside
// AllowOutOfRange gives it clamped and otherwise the grey, or the same clamped
// colour where it lies on the gamut's edge (see the quantitative palette tests).
TEST(SequentialPalette, OutOfGamutColoursAreGreyedOrClamped) {
  TSequentialPalette p;
  p.SetColdWarm(1);
  p.SetSaturation(1);
  int outside = 0;
  for (int hue = 0; hue < 360; hue += 15) {
    p.SetHue(0, hue);
    for (int k = 0; k <= 40; ++k) {
      const double t = k / 40.0;
      SCOPED_TRACE(testing::Message() << "hue " << hue << " t " << t);
      const TRGB c = p.GetCurve(0).GetRGB(t);
      const TRGB allowed = ColorAt(p, true, t);
      ExpectRGBEq(allowed, ClampRGB(c));
      if (IsRGBInRange(c)) {
        ExpectRGBEq(ColorAt(p, false, t), c);
      } else {
        const TRGB strict = ColorAt(p, false, t);
        if (strict == kOutOfGamutGrey) ++outside;
        else ExpectRGBEq(strict, allowed);
      }
    }
  }
  EXPECT_GT(outside, 0) << "the sweep must reach outside the gamut";
}

}  // namespace
