#include "palette/diverging_palette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"
#include "palette/colour_curve.h"
#include "palette_test_util.h"

namespace {

TRGB ColorAt(const TDivergingPalette& p, double t, bool allowOutOfRange = true) {
  TRGB rgb;
  p.GetColor(allowOutOfRange, rgb, t);
  return rgb;
}

TEST(DivergingPalette, Defaults) {
  TDivergingPalette p;
  EXPECT_EQ(p.PaletteType(), ptDiv);
  EXPECT_EQ(p.MidPoint(), 0.5);
  EXPECT_EQ(p.MidPointType(), 0);
  EXPECT_EQ(p.GetHue(0), 192);
  EXPECT_EQ(p.GetHue(1), 12);
  EXPECT_EQ(p.GetControlPoint(0, 0), (TLCh{0, 0, 192}));
  EXPECT_EQ(p.GetControlPoint(1, 0), (TLCh{0, 0, 12}));
}

TEST(DivergingPalette, SetMidPointSnapsToHalfSwatchSteps) {
  struct Case {
    int numColors;
    bool continuous;
    double value, want;
  };
  const Case cases[] = {
      {5, false, 0.3, 0.25},      // round(2.4) / 8
      {5, false, 4.5 / 8, 0.5},   // 4.5 ties to even: 4 / 8
      {5, false, 5.5 / 8, 0.75},  // 5.5 ties to even: 6 / 8
      {4, false, 0.4, 2.0 / 6},   // round(2.4) / 6
      {5, true, 0.3, 0.3},        // continuous: not snapped
      {1, false, 0.3, 0.3},       // one colour: no grid
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.numColors << " colours, continuous " << c.continuous
                                    << ", value " << c.value);
    TDivergingPalette p;
    p.SetNumColors(c.numColors);
    p.SetContinuous(c.continuous);
    p.SetMidPoint(c.value, 3);
    EXPECT_DOUBLE_EQ(p.MidPoint(), c.want);
    EXPECT_EQ(p.MidPointType(), 3);
    p.SetMidPoint(c.value);
    EXPECT_EQ(p.MidPointType(), 0);  // set by value
  }
}

TEST(DivergingPalette, HalvesFollowTheirCurves) {
  TDivergingPalette p;
  // t = 0 is the dark end of curve 1, t = 1 the dark end of curve 0.
  ExpectRGBEq(ColorAt(p, 0), ClampRGB(p.GetCurve(1).GetRGB(0)));
  ExpectRGBEq(ColorAt(p, 1), ClampRGB(p.GetCurve(0).GetRGB(0)));
  ExpectRGBEq(ColorAt(p, 0.25), ClampRGB(p.GetCurve(1).GetRGB(0.5)));
  ExpectRGBEq(ColorAt(p, 0.75), ClampRGB(p.GetCurve(0).GetRGB(0.5)));
  // An off-centre mid point keeps both halves at the same speed: the shorter
  // side ends before its curve's dark end.
  p.SetContinuous(true);
  p.SetMidPoint(0.25);  // s = 0.5, u = (t + 0.5) / 1.5
  ExpectRGBEq(ColorAt(p, 0), ClampRGB(p.GetCurve(1).GetRGB(2.0 / 3)));
  ExpectRGBEq(ColorAt(p, 1), ClampRGB(p.GetCurve(0).GetRGB(0)));
}

TEST(DivergingPalette, MidColourIsTheBlendOfBothSides) {
  for (double coldWarm : {0.0, 0.7}) {
    SCOPED_TRACE(coldWarm);
    TDivergingPalette p;
    p.SetColdWarm(coldWarm);
    const TLCh a = RGBToLCh(ColorAt(p, 0.49), nullptr);
    const TLCh b = RGBToLCh(ColorAt(p, 0.51), nullptr);
    const TLCh mid = RGBToLCh(ColorAt(p, 0.5), nullptr);
    // Read back through RGB: the conversions' own constants (the offset in
    // u', v' and the decimal third) leave about 1e-4 of round-trip error.
    EXPECT_NEAR(mid.L, (a.L + b.L) / 2, 1e-3);
    if (coldWarm == 0) {
      EXPECT_NEAR(mid.C, 0, 1e-2);  // a neutral grey
    } else {
      EXPECT_NEAR(mid.h, RGBToLCh(TRGB{255, 255, 0}, nullptr).h, 1e-2);
      EXPECT_GT(mid.C, 1);
    }
  }
}

TEST(DivergingPalette, SwatchesOnAndBetweenTheGrid) {
  struct Case {
    int numColors;
    double midPoint;      // already on the snapping grid
    double ownMid;        // the mid point the swatches are taken under
    double positions[5];  // the parameter of each swatch
  };
  const Case cases[] = {
      // r = 4, even: swatches on the grid, swatch 2 the blended mid colour.
      {5, 0.5, 0.5, {0, 0.25, 0.5, 0.75, 1}},
      // r = 3, odd: shifted to 0.5 for the call, m = 4; 0.5 is left out.
      {4, 0.5, 0.5, {0, 0.25, 0.75, 1}},
      // r = 1, odd: shifted to 0.25, m = 2; 0.25 is left out.
      {4, 1.0 / 6, 0.25, {0, 0.5, 0.75, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.numColors << " colours, mid point " << c.midPoint);
    TDivergingPalette p;
    p.SetNumColors(c.numColors);
    p.SetMidPoint(c.midPoint);
    ASSERT_DOUBLE_EQ(p.MidPoint(), c.midPoint);
    TDivergingPalette ref;  // the same palette read at the shifted mid point
    ref.SetNumColors(c.numColors);
    ref.SetContinuous(true);
    ref.SetMidPoint(c.ownMid);
    for (int i = 0; i < c.numColors; ++i) {
      SCOPED_TRACE(i);
      ExpectRGBEq(Swatch(p, i), ColorAt(ref, c.positions[i]));
    }
    EXPECT_EQ(p.MidPoint(), c.midPoint);  // the shift did not stick
  }
}

TEST(DivergingPalette, SwatchesOfOneColourOrNone) {
  TDivergingPalette p;
  p.SetNumColors(1);
  p.SetMidPoint(0.3);
  ExpectRGBEq(Swatch(p, 0), ColorAt(p, 0.3));
  p.SetNumColors(0);
  ExpectRGBEq(Swatch(p, 0), TRGB{});
  ExpectRGBEq(ColorAt(p, 0.2), TRGB{});
}

TEST(DivergingPalette, OwnAutomatedContrastCountsEachHalf) {
  struct Case {
    int numColors;
    double want;
  };
  // m = NumColors div 2 + 1.
  const Case cases[] = {{9, 0.64}, {8, 0.64}, {5, 0.52}, {1, 0.40}, {20, 0.88}};
  TDivergingPalette p;
  p.SetAutomatedContrast(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.numColors);
    p.SetNumColors(c.numColors);
    EXPECT_NEAR(p.GetContrast(), c.want, 1e-12);
    EXPECT_EQ(p.GetCurve(0).Contrast, p.GetContrast());
    EXPECT_EQ(p.GetCurve(1).Contrast, p.GetContrast());
  }
}

TEST(DivergingPalette, OutOfGamutColoursAreGreyed) {
  TDivergingPalette p;
  p.SetColdWarm(1);
  p.SetSaturation(1);
  int outside = 0;
  for (int hue = 0; hue < 360; hue += 30) {
    p.SetHue(0, hue);
    p.SetHue(1, 359 - hue);
    for (int k = 0; k <= 40; ++k) {
      const double t = k / 40.0;
      const TRGB allowed = ColorAt(p, t, true);
      const TRGB strict = ColorAt(p, t, false);
      EXPECT_TRUE(IsRGBInRange(allowed));
      if (strict == kOutOfGamutGrey && allowed != kOutOfGamutGrey) ++outside;
      else ExpectRGBEq(strict, allowed);
    }
  }
  EXPECT_GT(outside, 0);
}

TEST(DivergingPalette, UnusableMidPointDoesNotHang) {
  // A NaN mid point maps every t to NaN; the blend must not recurse forever.
  TDivergingPalette p;
  p.SetContinuous(true);
  p.SetMidPoint(std::numeric_limits<double>::quiet_NaN());
  TRGB rgb;
  p.GetColor(true, rgb, 0.5);
  p.GetIndexColor(2, rgb);
  SUCCEED();
}

TEST(DivergingPalette, AssignSnapsUnderTheReceiversGrid) {
  TDivergingPalette source;
  source.SetContinuous(true);
  source.SetMidPoint(0.3, 2);
  source.SetHue(1, 250);
  TDivergingPalette continuous;
  continuous.SetContinuous(true);
  continuous.Assign(source);
  EXPECT_EQ(continuous.MidPoint(), 0.3);
  EXPECT_EQ(continuous.MidPointType(), 2);
  EXPECT_EQ(continuous.GetHue(1), 250);
  // Assign copies Continuous too, so snapping follows the source's flag.
  source.SetContinuous(false);
  TDivergingPalette snapped;
  snapped.Assign(source);
  EXPECT_EQ(snapped.MidPoint(), 0.25);
  EXPECT_EQ(snapped.MidPointType(), 2);
}

}  // namespace
