#include "colour/gamut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"
#include "worst_error.h"

namespace {

using colour_test::Worse;

using TMatrix3 = std::array<std::array<double, 3>, 3>;

// The exact inverse of a working space's RGB-to-XYZ matrix (the stored
// XYZ-to-RGB partner is only good to 4e-6), so linear components of a colour
// on the gamut edge come out at 0 and 1 to within rounding.
TMatrix3 InverseOfRGBToXYZ(const TColorSettings* s) {
  const TColorMatrix& m = GetRGBToXYZMatrix(s);
  // Row i, column j of the usual matrix is m[3j + i].
  const auto a = [&](int i, int j) { return m[3 * j + i]; };
  const double det = a(0, 0) * (a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1)) -
                     a(0, 1) * (a(1, 0) * a(2, 2) - a(1, 2) * a(2, 0)) +
                     a(0, 2) * (a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0));
  TMatrix3 inv;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
      inv[i][j] = (a(r0, c0) * a(r1, c1) - a(r0, c1) * a(r1, c0)) / det;
    }
  return inv;
}

double HueGap(double a, double b) {
  const double d = std::fabs(a - b);
  return std::min(d, 360 - d);
}

TEST(MaxChromaLuvForHue, LiesOnTheGamutEdgeWithTheRequestedHue) {
  for (int space = 0; space < kNumRGBConversions; ++space)
    for (int white = 0; white < kNumReferenceWhites; ++white) {
      SCOPED_TRACE(testing::Message() << RGBConversionNames[space] << " / "
                                      << ReferenceWhiteNames[white]);
      TColorSettings s;
      s.RGBConversion = static_cast<uint8_t>(space);
      s.ReferenceWhite = static_cast<uint8_t>(white);
      const TMatrix3 inv = InverseOfRGBToXYZ(&s);
      double worstHue = 0, worstEdge = 0;
      for (int i = 0; i < 1440; ++i) {
        const double hue = i * 0.25;
        const TLuv luv = MaxChromaLuvForHue(hue, &s);
        double C, h, X, Y, Z;
        LuvToLCh(luv.L, luv.u, luv.v, C, h);
        worstHue = Worse(worstHue, {HueGap(h, hue)});
        LuvToXYZ(luv.L, luv.u, luv.v, X, Y, Z, &s);
        double lin[3];
        for (int c = 0; c < 3; ++c) lin[c] = inv[c][0] * X + inv[c][1] * Y + inv[c][2] * Z;
        const double hi = std::max({lin[0], lin[1], lin[2]});
        const double lo = std::min({lin[0], lin[1], lin[2]});
        worstEdge = Worse(worstEdge, {std::fabs(hi - 1), std::fabs(lo)});
      }
      // Hue and linear components go through the Luv round trip, whose
      // constants (1e-7 offset, 14-digit third) limit agreement to ~1e-6.
      EXPECT_LT(worstHue, 2e-5);
      EXPECT_LT(worstEdge, 1e-5);
    }
}

TEST(MaxChromaLuvForHue, CornerHuesGiveTheCorners) {
  const TRGB corners[] = {{255, 0, 0}, {255, 255, 0}, {0, 255, 0},
                          {0, 255, 255}, {0, 0, 255}, {255, 0, 255}};
  for (int space : {0, 1, 6, 11, 13}) {
    TColorSettings s;
    s.RGBConversion = static_cast<uint8_t>(space);
    s.ReferenceWhite = DefaultReferenceWhite[space];
    for (int k = 0; k < 6; ++k) {
      SCOPED_TRACE(testing::Message() << RGBConversionNames[space] << " corner " << k);
      const TLuv got = MaxChromaLuvForHue(GetPrimaryHue(static_cast<TPrimaryColor>(k), &s), &s);
      double L, u, v;
      RGBToLuv(corners[k], L, u, v, &s);
      EXPECT_NEAR(got.L, L, 1e-3);
      EXPECT_NEAR(got.u, u, 1e-3);
      EXPECT_NEAR(got.v, v, 1e-3);
    }
  }
}

TEST(MaxChromaLuvForHue, CacheFollowsTheRecordChangedInPlace) {
  // One record, changed in place like the main window's: the cached corner
  // hues must follow its values, including a change of gamma.
  TColorSettings s;
  for (int space : {0, 13, 6, 0})
    for (double gamma : {2.2, 1.0, 1.8}) {
      s.RGBConversion = static_cast<uint8_t>(space);
      s.ReferenceWhite = DefaultReferenceWhite[space];
      s.Gamma = gamma;
      SCOPED_TRACE(testing::Message() << RGBConversionNames[space] << " gamma " << gamma);
      const TCornerHues cold = ComputeCornerHues(&s);
      for (double hue = 0; hue < 360; hue += 7.5)
        EXPECT_EQ(MaxChromaLuvForHue(hue, &s), MaxChromaLuvForHue(hue, cold, &s)) << hue;
    }
  EXPECT_EQ(MaxChromaLuvForHue(40, nullptr), MaxChromaLuvForHue(40, &kDefaultColorSettings));
}

TEST(MaxChromaLuvForHue, HueOutsideTheCircleIsReduced) {
  for (const auto& [outside, inside] : {std::pair{370.0, 10.0}, {-90.0, 270.0}, {1085.0, 5.0}}) {
    SCOPED_TRACE(outside);
    const TLuv a = MaxChromaLuvForHue(outside, nullptr), b = MaxChromaLuvForHue(inside, nullptr);
    EXPECT_NEAR(a.L, b.L, 1e-9);
    EXPECT_NEAR(a.u, b.u, 1e-9);
    EXPECT_NEAR(a.v, b.v, 1e-9);
  }
}

TEST(ChromaBounds, MaxChromaAtLightnessAndLimitChroma) {
  for (double hue : {0.0, 12.0, 85.0, 140.0, 265.0, 320.0}) {
    SCOPED_TRACE(hue);
    const TLCh top = MaxChromaLChForHue(hue, nullptr);
    EXPECT_LT(HueGap(top.h, hue), 1e-4);
    EXPECT_NEAR(MaxChromaAtLightness(top.L, hue, nullptr), top.C, 1e-12);
    EXPECT_NEAR(MaxChromaAtLightness(0, hue, nullptr), 1, 1e-12);
    EXPECT_NEAR(MaxChromaAtLightness(100, hue, nullptr), 1, 1e-12);
    EXPECT_NEAR(MaxChromaAtLightness(top.L / 2, hue, nullptr), (top.C + 1) / 2, 1e-9);

    EXPECT_EQ(LimitChroma({0, 50, hue}, nullptr).C, 0);
    EXPECT_NEAR(LimitChroma({100, 50, hue}, nullptr).C, 0, 1e-12);
    EXPECT_NEAR(LimitChroma({top.L, 500, hue}, nullptr).C, top.C, 1e-9);
    const TLCh small{top.L, 1, hue};
    EXPECT_EQ(LimitChroma(small, nullptr), small);
    // Beyond 0..100 the bound stays at 0 rather than turning negative.
    EXPECT_EQ(LimitChroma({110, 50, hue}, nullptr).C, 0);
    EXPECT_EQ(LimitChroma({-5, 50, hue}, nullptr).C, 0);
  }
}

}  // namespace
