#include "palette/custom_palette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "colour/cie_spaces.h"
#include "colour/colour_interpolation.h"
#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"

namespace {

constexpr TRGB kBlack{0, 0, 0};
constexpr TRGB kRed{255, 0, 0};
constexpr TRGB kBlue{0, 0, 255};

void ExpectRGBNear(const TRGB& got, const TRGB& want, double tolerance = 0) {
  EXPECT_NEAR(got.R, want.R, tolerance);
  EXPECT_NEAR(got.G, want.G, tolerance);
  EXPECT_NEAR(got.B, want.B, tolerance);
}

void MakeKeys(TCustomPalette& p, const std::vector<TRGB>& keys, uint8_t method) {
  p.ClearKeys();
  for (const TRGB& k : keys) p.AddKey(k);
  p.SetNumColors(static_cast<int>(keys.size()));
  p.SetInterpolationMethod(method);
}

TRGB ColorAt(const TCustomPalette& p, double t) {
  TRGB rgb;
  p.GetColor(false, rgb, t);
  return rgb;
}

std::vector<TRGB> Keys(const TCustomPalette& p) {
  std::vector<TRGB> keys(p.GetKeyCount());
  for (int i = 0; i < p.GetKeyCount(); ++i) p.GetKey(i, keys[i]);
  return keys;
}

TEST(CustomPalette, Defaults) {
  TCustomPalette p;
  EXPECT_EQ(p.PaletteType(), ptCustom);
  EXPECT_EQ(p.NumColors(), 0);
  EXPECT_EQ(p.GetKeyCount(), 0);
  EXPECT_EQ(p.InterpolationMethod(), imCIELUV);
}

TEST(CustomPalette, FewKeysOrColours) {
  TCustomPalette p;
  p.SetNumColors(5);
  ExpectRGBNear(ColorAt(p, 0.5), kBlack);  // no keys
  p.AddKey(TRGB{10, 20, 30});
  for (double t : {-1.0, 0.0, 0.4, 1.0, 2.0}) ExpectRGBNear(ColorAt(p, t), TRGB{10, 20, 30});
  p.AddKey(kBlue);
  p.SetNumColors(0);
  ExpectRGBNear(ColorAt(p, 0.5), kBlack);  // no colours
  p.SetNumColors(1);
  ExpectRGBNear(ColorAt(p, 0.9), TRGB{10, 20, 30});  // one colour: key 0
  TRGB swatch;
  p.GetIndexColor(0, swatch);
  ExpectRGBNear(swatch, TRGB{10, 20, 30});
}

TEST(CustomPalette, EndsAndMiddleKeysForEveryMethod) {
  const std::vector<TRGB> keys = {TRGB{200, 30, 40}, TRGB{20, 180, 90}, TRGB{60, 70, 220}};
  for (uint8_t method = imRGB; method <= imCIELUVStraight; ++method) {
    SCOPED_TRACE(static_cast<int>(method));
    TCustomPalette three;
    MakeKeys(three, keys, method);
    ExpectRGBNear(ColorAt(three, 0), keys[0]);
    ExpectRGBNear(ColorAt(three, 1), keys[2]);
    ExpectRGBNear(ColorAt(three, -0.5), keys[0]);
    ExpectRGBNear(ColorAt(three, 1.5), keys[2]);
    // t = 0.5 lands on key 1: exactly in RGB, otherwise up to the round trip
    // (HSV rounds to whole components; the CIE conversions' own constants
    // leave about 1e-3).
    const double roundTrip = method == imRGB ? 0 : method == imHLS ? 0.5 : 1e-2;
    ExpectRGBNear(ColorAt(three, 0.5), keys[1], roundTrip);
    // The keys are spread evenly: between keys 0 and 1 the three-key palette
    // is the two-key palette of those keys.
    TCustomPalette first, second;
    MakeKeys(first, {keys[0], keys[1]}, method);
    MakeKeys(second, {keys[1], keys[2]}, method);
    for (double f : {0.2, 0.5, 0.9}) {
      SCOPED_TRACE(f);
      ExpectRGBNear(ColorAt(three, f / 2), ColorAt(first, f), 1e-9);
      ExpectRGBNear(ColorAt(three, 0.5 + f / 2), ColorAt(second, f), 1e-9);
    }
  }
}

TEST(CustomPalette, RGBIsLinear) {
  TCustomPalette p;
  MakeKeys(p, {kRed, kBlue}, imRGB);
  ExpectRGBNear(ColorAt(p, 0.5), TRGB{127.5, 0, 127.5});
  ExpectRGBNear(ColorAt(p, 0.25), TRGB{191.25, 0, 63.75});
}

TEST(CustomPalette, HLSInterpolatesInHSVWithValueWeightedSaturation) {
  struct Case {
    const char* what;
    TRGB a, b;
    double t;
    TRGB want;
  };
  const Case cases[] = {
      // Towards black the hue keeps its saturation: a dark red, not a grey.
      {"black to red", kBlack, kRed, 0.5, TRGB{128, 0, 0}},
      {"black to black", kBlack, kBlack, 0.5, kBlack},
      // Hues 344.9 and 15.1 meet at 0, not at 180.
      {"hue wrap", TRGB{255, 0, 64}, TRGB{255, 64, 0}, 0.5, kRed},
      {"red to blue", kRed, kBlue, 0.5, TRGB{255, 0, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TCustomPalette p;
    MakeKeys(p, {c.a, c.b}, imHLS);
    ExpectRGBNear(ColorAt(p, c.t), c.want);
  }
}

TEST(CustomPalette, CIEMethodsInterpolateInTheirSpace) {
  // Moderate colours, so the interpolated ones stay inside the gamut and
  // read back.
  const TRGB a{180, 100, 90};
  const TRGB b{90, 110, 170};
  TCustomPalette luv, lch, straight;
  MakeKeys(luv, {a, b}, imCIELUV);
  MakeKeys(lch, {a, b}, imCIELCHuv);
  MakeKeys(straight, {a, b}, imCIELUVStraight);
  TLuv la, lb;
  RGBToLuv(a, la.L, la.u, la.v, nullptr);
  RGBToLuv(b, lb.L, lb.u, lb.v, nullptr);
  const TLCh ca = RGBToLCh(a, nullptr);
  const TLCh cb = RGBToLCh(b, nullptr);
  for (double t : {0.1, 0.5, 0.8}) {
    SCOPED_TRACE(t);
    // Read back in the space of the method: the conversions' own constants
    // leave about 1e-4 of round-trip error.
    const TLuv want = LerpLuv(la, lb, t);
    TLuv got;
    RGBToLuv(ColorAt(luv, t), got.L, got.u, got.v, nullptr);
    EXPECT_NEAR(got.L, want.L, 1e-3);
    EXPECT_NEAR(got.u, want.u, 1e-3);
    EXPECT_NEAR(got.v, want.v, 1e-3);
    ASSERT_TRUE(IsRGBInRange(ColorAt(lch, t)));
    const TLCh wantLCh = LerpLCh(ca, cb, t);
    const TLCh gotLCh = RGBToLCh(ColorAt(lch, t), nullptr);
    EXPECT_NEAR(gotLCh.L, wantLCh.L, 1e-3);
    EXPECT_NEAR(gotLCh.C, wantLCh.C, 1e-3);
    EXPECT_NEAR(gotLCh.h, wantLCh.h, 1e-3);
    // The straight method differs only in how the viewports draw it.
    EXPECT_EQ(ColorAt(straight, t), ColorAt(luv, t));
  }
}

TEST(CustomPalette, LChTakesTheShortHueArc) {
  // A magenta and an olive: their CIELUV hues (332, 54) lie either side of 0.
  const TRGB a{200, 40, 170};
  const TRGB b{150, 120, 60};
  const double ha = RGBToLCh(a, nullptr).h;
  const double hb = RGBToLCh(b, nullptr).h;
  ASSERT_GT(ha, 300);
  ASSERT_LT(hb, 60);
  TCustomPalette p;
  MakeKeys(p, {a, b}, imCIELCHuv);
  ASSERT_TRUE(IsRGBInRange(ColorAt(p, 0.5)));
  const double mid = RGBToLCh(ColorAt(p, 0.5), nullptr).h;
  EXPECT_NEAR(mid, InterpolateHue(0.5, ha, hb), 1e-3);
  EXPECT_TRUE(mid > 300 || mid < 60) << mid;
}

TEST(CustomPalette, UnknownMethodInterpolatesAsCIELUV) {
  TCustomPalette luv, unknown;
  MakeKeys(luv, {kRed, kBlue}, imCIELUV);
  MakeKeys(unknown, {kRed, kBlue}, 9);
  EXPECT_EQ(ColorAt(unknown, 0.3), ColorAt(luv, 0.3));
}

TEST(CustomPalette, SwatchesSpreadOverTheKeys) {
  TCustomPalette p;
  MakeKeys(p, {kRed, kBlue}, imRGB);
  p.SetNumColors(5);
  for (int i = 0; i < 5; ++i) {
    TRGB swatch;
    p.GetIndexColor(i, swatch);
    ExpectRGBNear(swatch, ColorAt(p, i / 4.0));
  }
}

TEST(CustomPalette, KeyOperations) {
  TCustomPalette p;
  p.ClearKeys();  // empty: nothing to do
  p.AddKey(TColor{0x302010});
  p.AddKey(kBlue);
  p.AddKey(kRed);
  EXPECT_EQ(Keys(p), (std::vector<TRGB>{TRGB{16, 32, 48}, kBlue, kRed}));
  p.SetKey(1, TRGB{1, 2, 3});
  p.DeleteKey(0);
  EXPECT_EQ(Keys(p), (std::vector<TRGB>{TRGB{1, 2, 3}, kRed}));
  p.CopyKeys(p);  // appending its own keys
  EXPECT_EQ(Keys(p), (std::vector<TRGB>{TRGB{1, 2, 3}, kRed, TRGB{1, 2, 3}, kRed}));
  p.ClearKeys();
  EXPECT_EQ(p.GetKeyCount(), 0);
}

TEST(CustomPalette, KeyIndexOutOfRangeIsAnAssertion) {
  TCustomPalette p;
  p.AddKey(kRed);
  TRGB rgb;
  EXPECT_THROW(p.GetKey(1, rgb), EAssertionFailed);
  EXPECT_THROW(p.SetKey(-1, rgb), EAssertionFailed);
  EXPECT_THROW(p.DeleteKey(1), EAssertionFailed);
  EXPECT_EQ(p.GetKeyCount(), 1);
}

TEST(CustomPalette, AssignCopiesTheKeys) {
  TCustomPalette source;
  MakeKeys(source, {kRed, kBlue}, imCIELCHuv);
  TCustomPalette copy;
  MakeKeys(copy, {kBlack, kBlack, kBlack}, imRGB);
  copy.Assign(source);
  EXPECT_EQ(Keys(copy), Keys(source));
  EXPECT_EQ(copy.InterpolationMethod(), imCIELCHuv);
  EXPECT_EQ(copy.NumColors(), 2);
  source.SetKey(0, kBlack);  // copies, not shared
  EXPECT_EQ(Keys(copy), (std::vector<TRGB>{kRed, kBlue}));

  // From itself the keys stay.
  copy.Assign(copy);
  EXPECT_EQ(Keys(copy), (std::vector<TRGB>{kRed, kBlue}));
}

}  // namespace
