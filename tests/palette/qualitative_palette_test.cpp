#include "palette/qualitative_palette.h"

#include <gtest/gtest.h>

#include <cmath>

#include "colour/cie_spaces.h"
#include "colour/colour_interpolation.h"
#include "colour/gamut.h"
#include "colour/rgb_spaces.h"
#include "palette_test_util.h"

namespace {

// For colours reached along different but equivalent hue sums.
void ExpectRGBNear(const TRGB& got, const TRGB& want) {
  EXPECT_NEAR(got.R, want.R, 1e-9);
  EXPECT_NEAR(got.G, want.G, 1e-9);
  EXPECT_NEAR(got.B, want.B, 1e-9);
}

TRGB ColorAt(const TQualitativePalette& p, double t) {
  TRGB rgb;
  p.GetColor(true, rgb, t);
  return rgb;
}

// The colour of an explicit LCh point through the chroma limit.
TRGB Expected(double L, double C, double h) {
  return LChToRGB(LimitChroma(TLCh{L, C, h}, nullptr), nullptr);
}

const double kYellowHue = GetPrimaryHue(pcYellow, nullptr);
const double kBlueHue = GetPrimaryHue(pcBlue, nullptr);

TEST(QualitativePalette, Defaults) {
  TQualitativePalette p;
  EXPECT_EQ(p.PaletteType(), ptQual);
  EXPECT_EQ(p.NumColors(), 6);
  EXPECT_EQ(p.Saturation(), 0.45);
  EXPECT_EQ(p.Brightness(), 1.0);
  EXPECT_EQ(p.Contrast(), 0.5);
  EXPECT_EQ(p.HueRange(), 1.0);
  EXPECT_EQ(p.HueShift(), 0);
  EXPECT_EQ(p.LightAnchor(), (TLCh{97, 90, kYellowHue}));
  EXPECT_EQ(p.DarkAnchor(), (TLCh{48.5, 90, kBlueHue}));
}

TEST(QualitativePalette, WalksBetweenTheAnchors) {
  TQualitativePalette p;
  // At yellow's hue the light anchor, at blue's the dark one.
  ExpectRGBEq(ColorAt(p, 0), Expected(97, 90, kYellowHue));
  ExpectRGBEq(ColorAt(p, (kBlueHue - kYellowHue) / 360), Expected(48.5, 90, kBlueHue));
  // Half way from yellow to blue the lightness is half way too; half way
  // round the rest of the circle it has risen half way back.
  const double down = (kYellowHue + kBlueHue) / 2;
  ExpectRGBEq(ColorAt(p, (down - kYellowHue) / 360), Expected(72.75, 90, down));
  const double up = FloatMod((kBlueHue + kYellowHue + 360) / 2, 360);
  ExpectRGBEq(ColorAt(p, FloatMod(up - kYellowHue, 360) / 360), Expected(72.75, 90, up));

  // The shape fields reach the anchors on the next request.
  p.SetBrightness(0.5);
  p.SetSaturation(0.2);
  p.SetContrast(0.25);
  ExpectRGBEq(ColorAt(p, 0), Expected(48.5, 40, kYellowHue));
  ExpectRGBEq(ColorAt(p, (kBlueHue - kYellowHue) / 360), Expected(48.5 * 0.75, 40, kBlueHue));
}

TEST(QualitativePalette, SwatchesStepRoundTheCircle) {
  TQualitativePalette p;
  int checked = 0;
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const TRGB c = Swatch(p, i);
    ExpectRGBEq(c, ColorAt(p, i / 6.0));
    if (!IsRGBInRange(c)) continue;  // the hue can only be read back inside the gamut
    ++checked;
    const TLCh back = RGBToLCh(c, nullptr);
    const double want = FloatMod(kYellowHue + 60 * i, 360);
    EXPECT_NEAR(std::remainder(back.h - want, 360), 0, 1e-3);
  }
  EXPECT_GE(checked, 3);
}

TEST(QualitativePalette, TheWalkWrapsOnlyBeyondOne) {
  TQualitativePalette p;
  ExpectRGBEq(ColorAt(p, 1.25), ColorAt(p, 0.25));
  ExpectRGBEq(ColorAt(p, -0.75), ColorAt(p, 0.25));
  // t = 1 is not wrapped to 0: it is the start plus the whole range, which
  // with a half range ends opposite the start.
  ExpectRGBNear(ColorAt(p, 1), ColorAt(p, 0));
  TQualitativePalette half;
  half.SetHueRange(0.5);
  ExpectRGBNear(ColorAt(half, 1), ColorAt(p, 0.5));
  EXPECT_NE(ColorAt(half, 1), ColorAt(half, 0));
}

TEST(QualitativePalette, HueShiftMovesTheStart) {
  TQualitativePalette p;
  p.SetHueShift(0.5);
  TQualitativePalette ref;
  ExpectRGBEq(ColorAt(p, 0), ColorAt(ref, 0.5));
  ExpectRGBEq(ColorAt(p, 0.25), ColorAt(ref, 0.75));
}

TEST(QualitativePalette, ColourCounts) {
  for (int n : {1, 2, 7, 256}) {
    SCOPED_TRACE(n);
    TQualitativePalette p;
    p.SetNumColors(n);
    for (int i = 0; i < n; ++i) ExpectRGBEq(Swatch(p, i), ColorAt(p, static_cast<double>(i) / n));
    if (n >= 2) {
      // Neighbouring swatches differ: the walk never stands still.
      for (int i = 1; i < n; ++i) EXPECT_NE(Swatch(p, i), Swatch(p, i - 1)) << i;
    }
  }
}

TEST(QualitativePalette, ColoursMayLeaveTheGamutUnclamped) {
  // Its own colours are not clamped (the holder clamps): with full chroma
  // some lie outside 0..255.
  TQualitativePalette p;
  p.SetSaturation(1);
  int outside = 0;
  for (int k = 0; k < 360; ++k)
    if (!IsRGBInRange(ColorAt(p, k / 360.0))) ++outside;
  EXPECT_GT(outside, 0);
}

TEST(QualitativePalette, AssignCopiesTheShapeFields) {
  TQualitativePalette source;
  source.SetName("Q");
  source.SetNumColors(9);
  source.SetSaturation(0.1);
  source.SetBrightness(0.2);
  source.SetContrast(0.3);
  source.SetHueRange(0.4);
  source.SetHueShift(0.5);
  TQualitativePalette copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Name(), "Q");
  EXPECT_EQ(copy.NumColors(), 9);
  EXPECT_EQ(copy.Saturation(), 0.1);
  EXPECT_EQ(copy.Brightness(), 0.2);
  EXPECT_EQ(copy.Contrast(), 0.3);
  EXPECT_EQ(copy.HueRange(), 0.4);
  EXPECT_EQ(copy.HueShift(), 0.5);
  for (double t : {0.0, 0.3, 0.8}) ExpectRGBEq(ColorAt(copy, t), ColorAt(source, t));
}

}  // namespace
