#include "colour/rgb_spaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "worst_error.h"

namespace {

using colour_test::Worse;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string Describe(const TRGB& c) {
  return "(" + std::to_string(c.R) + ", " + std::to_string(c.G) + ", " + std::to_string(c.B) + ")";
}

}  // namespace

TEST(RGBPacking, RGBToColorLimitsAndRoundsTiesToEven) {
  struct Case {
    double R, G, B;
    TColor want;
  };
  const Case cases[] = {
      {127.5, 128.5, 0.5, 128u | 128u << 8 | 0u << 16},
      {-5, 300, 0, 0u | 255u << 8},
      {255, 255, 255, 0xFFFFFFu},
      {254.5, 0.4999, 1.5, 254u | 0u << 8 | 2u << 16},
      // NaN is taken as 0 and cannot spill into a neighbouring byte.
      {kNaN, 255, 255, 0u | 255u << 8 | 255u << 16},
      {255, kNaN, 255, 255u | 0u << 8 | 255u << 16},
      {1e300, -1e300, kNaN, 255u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe({c.R, c.G, c.B}));
    EXPECT_EQ(RGBToColor(c.R, c.G, c.B), c.want);
    EXPECT_EQ(RGBToColor(MakeRGB(c.R, c.G, c.B)), c.want);
    EXPECT_EQ(RGBToColorRounded(c.R, c.G, c.B), c.want);
    const TRGB back = ColorToRGB(c.want);
    EXPECT_EQ(RGBToColor(back), c.want);
    EXPECT_EQ(back, ClampRGB({std::nearbyint(back.R), std::nearbyint(back.G), std::nearbyint(back.B)}));
  }
}

TEST(RGBPacking, ColorToRGBUnpacksEachByte) {
  EXPECT_EQ(ColorToRGB(0x00336699u), MakeRGB(0x99, 0x66, 0x33));
  // A set top byte must not leak into blue.
  EXPECT_EQ(ColorToRGB(0x7F336699u), MakeRGB(0x99, 0x66, 0x33));
}

TEST(RGBPacking, ClampAndRange) {
  EXPECT_EQ(ClampRGB({-1, 300, 12.5}), MakeRGB(0, 255, 12.5));
  EXPECT_EQ(ClampRGB({kNaN, kNaN, kNaN}), MakeRGB(0, 0, 0));
  EXPECT_TRUE(IsRGBInRange({0, 0, 0}));
  EXPECT_TRUE(IsRGBInRange({255, 255, 255}));
  EXPECT_FALSE(IsRGBInRange({-0.001, 0, 0}));
  EXPECT_FALSE(IsRGBInRange({0, 255.001, 0}));
  EXPECT_FALSE(IsRGBInRange({0, 0, -1}));
  EXPECT_FALSE(IsRGBInRange({0, kNaN, 0}));
  EXPECT_EQ(Max3(1, 3, 2), 3);
  EXPECT_EQ(Min3(1, -3, 2), -3);
}

TEST(HSV, KnownValues) {
  struct Case {
    TRGB in;
    THSV want;
  };
  const Case cases[] = {
      {{0, 0, 0}, {0, 0, 0}},
      {{128, 128, 128}, {0, 128, 0}},
      {{255, 0, 0}, {0, 255, 255}},
      {{0, 0, 255}, {240, 255, 255}},
      {{255, 0, 255}, {300, 255, 255}},
      {{255, 0, 128}, {360 - 60 * 128.0 / 255, 255, 255}},
      {{255, 255, 0}, {60, 255, 255}},  // tie between R and G: R is tested first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.in));
    const THSV got = RGBToHSV(c.in);
    EXPECT_DOUBLE_EQ(got.H, c.want.H);
    EXPECT_EQ(got.V, c.want.V);
    EXPECT_DOUBLE_EQ(got.S, c.want.S);
  }
  EXPECT_NEAR(RGBToHSV({255, 0, 128}).H, 329.9, 0.05);
}

TEST(HSV, HueIsReducedIntoOneTurn) {
  const TRGB at330 = HSVToRGB({330, 200, 100});
  EXPECT_EQ(HSVToRGB({-30, 200, 100}), at330);
  EXPECT_EQ(HSVToRGB({690, 200, 100}), at330);
  EXPECT_EQ(HSVToRGB({330 + 360.0 * 1e6, 200, 100}), at330);
  // A huge typed hue finishes at once instead of looping.
  EXPECT_EQ(HSVToRGB({1e300, 200, 100}), HSVToRGB({std::fmod(1e300, 360.0), 200, 100}));
  // Just below 0 the reduced hue rounds to 360: still pure red, not an unset colour.
  EXPECT_EQ(HSVToRGB({-1e-14, 200, 255}), MakeRGB(200, 0, 0));
  EXPECT_EQ(HLSToRGB({-1e-14, 127.5, 255}), MakeRGB(255, 0, 0));
  EXPECT_EQ(HLSToRGB({-30, 100, 200}), HLSToRGB({330, 100, 200}));
  EXPECT_EQ(HLSToRGB({1e300, 100, 200}), HLSToRGB({std::fmod(1e300, 360.0), 100, 200}));
}

TEST(HSV, GreyHasNoUpperLimitButColoursAreCapped) {
  EXPECT_EQ(HSVToRGB({0, 300, 0}), MakeRGB(300, 300, 300));
  const TRGB capped = HSVToRGB({0, 300, 255});
  EXPECT_EQ(capped.R, 255);
  EXPECT_EQ(HSVToRGB({0, 127.5, 0}), MakeRGB(128, 128, 128));
}

TEST(HLS, KnownValues) {
  EXPECT_EQ(HLSToRGB({0, 127.5, 255}), MakeRGB(255, 0, 0));
  EXPECT_EQ(HLSToColor({120, 127.5, 255}), RGBToColor(0, 255, 0));
  EXPECT_EQ(HLSToRGB({240, 127.5, 255}), MakeRGB(0, 0, 255));
  EXPECT_EQ(HLSToRGB({0, 200.5, 0}), MakeRGB(200, 200, 200));
  const THLS grey = RGBToHLS({128, 128, 128});
  EXPECT_EQ(grey.H, 0);
  EXPECT_EQ(grey.L, 128);
  EXPECT_EQ(grey.S, 0);
  const THLS red = RGBToHLS({255, 0, 0});
  EXPECT_EQ(red.H, 0);
  EXPECT_EQ(red.L, 127.5);
  EXPECT_EQ(red.S, 255);
  EXPECT_DOUBLE_EQ(RGBToHLS({255, 128, 128}).S, 255.0 * 127 / (510 - 383));  // L above 127.5
}

// Both conversions back round to whole numbers, so integer colours come back exactly.
TEST(HSVAndHLS, RoundTripsAreExactOnAnIntegerGrid) {
  int failures = 0;
  for (int r = 0; r <= 255; r += 3) {
    for (int g = 0; g <= 255; g += 3) {
      for (int b = 0; b <= 255; b += 3) {
        const TRGB c{double(r), double(g), double(b)};
        if (HSVToRGB(RGBToHSV(c)) != c || HLSToRGB(RGBToHLS(c)) != c) {
          if (++failures < 5) ADD_FAILURE() << Describe(c);
        }
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(Opponent, RoundTripAndAxes) {
  double I, RG, YB;
  RGBToOpponent(255, 255, 255, I, RG, YB);
  EXPECT_DOUBLE_EQ(I, 100);
  EXPECT_NEAR(RG, 0, 1e-12);
  EXPECT_NEAR(YB, 0, 1e-12);
  RGBToOpponent(255, 0, 0, I, RG, YB);
  EXPECT_NEAR(RG, 86.6025403784, 1e-9);
  EXPECT_DOUBLE_EQ(YB, 50);
  RGBToOpponent(0, 0, 255, I, RG, YB);
  EXPECT_DOUBLE_EQ(YB, -100);

  double worst = 0;
  for (int r = 0; r <= 255; r += 15) {
    for (int g = 0; g <= 255; g += 15) {
      for (int b = 0; b <= 255; b += 15) {
        double C, h, R, G, B;
        RGBToOpponentPolar(r, g, b, I, C, h);
        EXPECT_GE(h, 0);
        EXPECT_LT(h, 360);
        OpponentPolarToRGB(I, C, h, R, G, B);
        worst = Worse(worst, {std::abs(R - r), std::abs(G - g), std::abs(B - b)});
      }
    }
  }
  EXPECT_LT(worst, 1e-9);  // exact inverse up to double rounding

  double C, h;
  OpponentToPolar(50, 0, 0, C, h);
  EXPECT_EQ(C, 0);
  EXPECT_EQ(h, 0);
  OpponentToPolar(50, 0, -2, C, h);
  EXPECT_DOUBLE_EQ(h, 270);
}

TEST(PrimaryHue, CornersUnderSettings) {
  EXPECT_EQ(GetPrimaryHue(6, nullptr), -1.0);
  EXPECT_EQ(GetPrimaryHue(255, nullptr), -1.0);
  for (TPrimaryColor corner = pcRed; corner <= pcMagenta; ++corner) {
    SCOPED_TRACE(int(corner));
    const double h = GetPrimaryHue(corner, nullptr);
    EXPECT_GE(h, 0);
    EXPECT_LT(h, 360);
    // Only the working space and the white matter, never the gamma.
    for (double gamma : {1.0, 1.8, 2.4}) {
      const TColorSettings s{0, 3, gamma, 2};
      EXPECT_DOUBLE_EQ(GetPrimaryHue(corner, &s), h);
    }
    const TColorSettings other{13, 1, 2.2, 2};
    EXPECT_NE(GetPrimaryHue(corner, &other), h);
  }
  // CIELUV hue order round the cube: red, yellow, green, cyan, blue, magenta.
  EXPECT_LT(GetPrimaryHue(pcRed, nullptr), GetPrimaryHue(pcYellow, nullptr));
  EXPECT_LT(GetPrimaryHue(pcYellow, nullptr), GetPrimaryHue(pcGreen, nullptr));
  EXPECT_LT(GetPrimaryHue(pcGreen, nullptr), GetPrimaryHue(pcCyan, nullptr));
  EXPECT_LT(GetPrimaryHue(pcCyan, nullptr), GetPrimaryHue(pcBlue, nullptr));
  EXPECT_LT(GetPrimaryHue(pcBlue, nullptr), GetPrimaryHue(pcMagenta, nullptr));
}
