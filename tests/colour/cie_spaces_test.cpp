#include "colour/cie_spaces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "worst_error.h"

namespace {

using colour_test::Worse;

constexpr double kEps = static_cast<double>(kCIEEpsilon);
constexpr double kKappa = static_cast<double>(kCIEKappa);

// Every working space under every white at the gammas the tool offers.
std::vector<TColorSettings> AllSettings() {
  std::vector<TColorSettings> all;
  for (int s = 0; s < kNumRGBConversions; ++s)
    for (int w = 0; w < kNumReferenceWhites; ++w)
      for (double gamma : {1.0, 1.8, 2.2, 2.4})
        all.push_back({uint8_t(s), uint8_t(w), gamma, 2});
  return all;
}

std::string Describe(const TColorSettings& s) {
  return std::string(RGBConversionNames[s.RGBConversion]) + "/" +
         std::string(ReferenceWhiteNames[s.ReferenceWhite]) + "/gamma " + std::to_string(s.Gamma);
}

// The inverse of a column-major 3x3 matrix, column-major too.
TColorMatrix Inverse(const TColorMatrix& k) {
  auto at = [&](int r, int c) { return k[r + 3 * c]; };
  const double det = at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
                     at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
                     at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
  TColorMatrix inv{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      // Cofactor of (c, r) over the determinant.
      const int r0 = (c + 1) % 3, r1 = (c + 2) % 3, c0 = (r + 1) % 3, c1 = (r + 2) % 3;
      inv[r + 3 * c] = (at(r0, c0) * at(r1, c1) - at(r0, c1) * at(r1, c0)) / det;
    }
  }
  return inv;
}

// XYZ whose stored-matrix linear RGB is exactly (r, g, b) up to double rounding.
void XYZForLinear(double r, double g, double b, const TColorSettings* s, double& X, double& Y,
                  double& Z) {
  const TColorMatrix inv = Inverse(GetXYZToRGBMatrix(s));
  X = inv[0] * r + inv[3] * g + inv[6] * b;
  Y = inv[1] * r + inv[4] * g + inv[7] * b;
  Z = inv[2] * r + inv[5] * g + inv[8] * b;
}

using TRoundTrip = std::function<TRGB(const TRGB&, const TColorSettings*)>;

struct TPath {
  const char* Name;
  TRoundTrip Run;
};

const TPath kPaths[] = {
    {"XYZ",
     [](const TRGB& c, const TColorSettings* s) {
       double X, Y, Z;
       TRGB out;
       RGBToXYZ(c.R, c.G, c.B, X, Y, Z, s);
       XYZToRGB(X, Y, Z, out.R, out.G, out.B, s);
       return out;
     }},
    {"Luv",
     [](const TRGB& c, const TColorSettings* s) {
       double L, u, v;
       RGBToLuv(c, L, u, v, s);
       return LuvToRGB(L, u, v, s);
     }},
    {"LCh", [](const TRGB& c, const TColorSettings* s) { return LChToRGB(RGBToLCh(c, s), s); }},
    {"Lab",
     [](const TRGB& c, const TColorSettings* s) {
       double L, a, b;
       RGBToLab(c, L, a, b, s);
       return LabToRGB(L, a, b, s);
     }},
    {"LChab",
     [](const TRGB& c, const TColorSettings* s) {
       double L, C, h;
       RGBToLChab(c, L, C, h, s);
       return LChabToRGB(L, C, h, s);
     }},
};

}  // namespace

TEST(CIESpaces, BlackAndWhite) {
  double X, Y, Z, L, u, v, C, h;
  RGBToXYZ(0, 0, 0, X, Y, Z, nullptr);
  EXPECT_EQ(X, 0);
  EXPECT_EQ(Y, 0);
  EXPECT_EQ(Z, 0);
  RGBToLuv(0, 0, 0, L, u, v, nullptr);
  EXPECT_EQ(L, 0);
  EXPECT_EQ(u, 0);
  EXPECT_EQ(v, 0);
  // The hue of black is 0, not 180 from atan2 of two negative zeros.
  for (const TColorSettings& s : AllSettings()) {
    SCOPED_TRACE(Describe(s));
    const TLCh black = RGBToLCh(TRGB{0, 0, 0}, &s);
    EXPECT_EQ(black, MakeLCh(0, 0, 0));
    EXPECT_FALSE(std::signbit(black.h));
    RGBToLChab(0, 0, 0, L, C, h, &s);
    EXPECT_EQ(h, 0);
    const TRGB back = LChToRGB(black, &s);
    EXPECT_EQ(back, MakeRGB(0, 0, 0));
    EXPECT_TRUE(IsRGBInRange(back));
  }

  RGBToXYZ(255, 255, 255, X, Y, Z, nullptr);
  EXPECT_DOUBLE_EQ(Y, 0.297361 + 0.627355 + 0.0752847);
  EXPECT_NEAR(Y, 1.0000007, 1e-12);
  RGBToLuv(255, 255, 255, L, u, v, nullptr);
  EXPECT_GT(L, 100);
  EXPECT_LT(L, 100.0001);
}

// Published CIELUV and CIELAB values of the sRGB primaries under D65; the
// primaries are 0 or 255 in each channel, so the gamma does not matter. The
// tolerance covers the rounding of the published matrix.
TEST(CIESpaces, SRGBPrimariesHaveTheirKnownCoordinates) {
  struct Case {
    TRGB rgb;
    double L, u, v, a, b;
  };
  const Case cases[] = {
      {{255, 0, 0}, 53.24, 175.01, 37.76, 80.09, 67.20},
      {{0, 255, 0}, 87.73, -83.07, 107.41, -86.18, 83.18},
      {{0, 0, 255}, 32.30, -9.40, -130.35, 79.19, -107.86},
  };
  const TColorSettings srgb{1, 3, 2.2, 2};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.L);
    double L, u, v, a, b;
    RGBToLuv(c.rgb, L, u, v, &srgb);
    EXPECT_NEAR(L, c.L, 0.01);
    EXPECT_NEAR(u, c.u, 0.05);
    EXPECT_NEAR(v, c.v, 0.05);
    RGBToLab(c.rgb, L, a, b, &srgb);
    EXPECT_NEAR(L, c.L, 0.01);
    EXPECT_NEAR(a, c.a, 0.05);
    EXPECT_NEAR(b, c.b, 0.05);
  }
}

TEST(CIESpaces, NullAndDefaultRecordAgreeExactly) {
  const TColorSettings defaults{0, 3, 2.2, 2};
  for (const TRGB& c : {TRGB{0, 0, 0}, TRGB{255, 255, 255}, TRGB{12, 200, 99}, TRGB{255, 0, 77}}) {
    SCOPED_TRACE(c.R);
    EXPECT_EQ(RGBToLCh(c, nullptr), RGBToLCh(c, &defaults));
    double a1, b1, c1, a2, b2, c2;
    RGBToLab(c, a1, b1, c1, nullptr);
    RGBToLab(c, a2, b2, c2, &defaults);
    EXPECT_EQ(a1, a2);
    EXPECT_EQ(b1, b2);
    EXPECT_EQ(c1, c2);
    const TLCh lch = RGBToLCh(c, nullptr);
    EXPECT_EQ(LChToRGB(lch, nullptr), LChToRGB(lch, &defaults));
    EXPECT_EQ(LabToRGB(50, 20, -30, nullptr), LabToRGB(50, 20, -30, &defaults));
  }
}

TEST(CIESpaces, OutOfGamutMarks) {
  for (const TColorSettings& s : AllSettings()) {
    SCOPED_TRACE(Describe(s));
    double X, Y, Z, R, G, B;
    XYZForLinear(0.5, -1e-9, 0.5, &s, X, Y, Z);
    XYZToRGB(X, Y, Z, R, G, B, &s);
    EXPECT_EQ(G, -1.0);
    EXPECT_NEAR(R, 255 * std::pow(0.5, 1 / s.Gamma), 1e-6);
    EXPECT_FALSE(IsRGBInRange({R, G, B}));
    XYZForLinear(0.5, 1.2, 0.5, &s, X, Y, Z);
    XYZToRGB(X, Y, Z, R, G, B, &s);
    EXPECT_NEAR(G, 255 * std::pow(1.2, 1 / s.Gamma), 1e-6);
    EXPECT_GT(G, 255);
    XYZToRGB(0, 0, 0, R, G, B, &s);
    EXPECT_EQ(MakeRGB(R, G, B), MakeRGB(0, 0, 0));
  }
  // A NaN linear value is marked like a negative one, never passed through.
  double R, G, B;
  XYZToRGB(std::nan(""), 0.5, 0.5, R, G, B, nullptr);
  EXPECT_EQ(MakeRGB(R, G, B), MakeRGB(-1, -1, -1));
  // The guarded divisions of LuvToXYZ land far outside the gamut, not on NaN.
  const TRGB far = LuvToRGB(50, -13 * 50 * ReferenceWhiteValues[3].uw, 0, nullptr);
  EXPECT_FALSE(IsRGBInRange(far));
  EXPECT_FALSE(std::isnan(far.R) || std::isnan(far.G) || std::isnan(far.B));
}

// The linear values are those LChToRGB encodes, taken before the -1 marking:
// a component a hair below 0 stays a number there, and encoding them gives
// LChToRGB's result exactly.
TEST(CIESpaces, LinearRGBOfLChIsWhatLChToRGBEncodes) {
  constexpr std::array<double, 5> kLevels = {0, 40, 128, 201, 255};
  // The stored XYZ-to-RGB matrices invert their partners to about 4e-6 per
  // element; a row of their product's error sums to at most 8.5e-6.
  constexpr double kMatrixRounding = 1e-5;
  double worst = 0;
  int negative = 0;
  for (const TColorSettings& s : AllSettings()) {
    SCOPED_TRACE(Describe(s));
    for (double r : kLevels) {
      for (double g : kLevels) {
        for (double b : kLevels) {
          const TLCh lch = RGBToLCh({r, g, b}, &s);
          double lin[3];
          LChToLinearRGB(lch, lin[0], lin[1], lin[2], &s);
          const TRGB encoded = LChToRGB(lch, &s);
          EXPECT_EQ(LinearRGBToRGB(lin[0], lin[1], lin[2], &s), encoded);
          const double in[3] = {r, g, b}, out[3] = {encoded.R, encoded.G, encoded.B};
          for (int i = 0; i < 3; ++i) {
            worst = Worse(worst, {std::abs(lin[i] - std::pow(in[i] / 255, s.Gamma))});
            if (lin[i] < 0) {
              ++negative;
              EXPECT_EQ(out[i], -1.0);
            } else {
              EXPECT_EQ(out[i], lin[i] == 0 ? 0.0 : 255 * std::exp(std::log(lin[i]) / s.Gamma));
            }
          }
        }
      }
    }
  }
  EXPECT_LT(worst, kMatrixRounding);
  EXPECT_GT(negative, 0) << "the sweep must reach zero channels that round below 0";
  // As XYZToRGB: -1 for a negative value or NaN, nothing limits one above 1.
  const TRGB marked = LinearRGBToRGB(-1e-12, std::nan(""), 1.2, nullptr);
  EXPECT_EQ(marked.R, -1.0);
  EXPECT_EQ(marked.G, -1.0);
  EXPECT_NEAR(marked.B, 255 * std::pow(1.2, 1 / 2.2), 1e-9);
}

TEST(CIESpaces, LightnessBranchesMeetAtLStar8) {
  for (int w = 0; w < kNumReferenceWhites; ++w) {
    SCOPED_TRACE(ReferenceWhiteNames[w]);
    const TColorSettings s{0, uint8_t(w), 2.2, 2};
    double X, Y, Z;
    // L* = 8 takes the linear branch, L* just above it the cubic one; both give epsilon at 8.
    LuvToXYZ(8, 0, 0, X, Y, Z, &s);
    EXPECT_EQ(Y, static_cast<double>(8 / kCIEKappa));
    EXPECT_NEAR(Y, kEps, 1e-18);
    LabToXYZ(8, 0, 0, X, Y, Z, &s);
    EXPECT_EQ(Y, static_cast<double>(8 / kCIEKappa));
    const double t = (8.0001 + 16) / 116;
    LuvToXYZ(8.0001, 0, 0, X, Y, Z, &s);
    EXPECT_EQ(Y, t * t * t);
    LabToXYZ(8.0001, 0, 0, X, Y, Z, &s);
    EXPECT_EQ(Y, t * t * t);
    EXPECT_NEAR(t * t * t, 8.0001 / kKappa, 1e-12);

    // Luminance epsilon gives L* 8 from both sides.
    double L, u, v;
    XYZToLuv(kEps * 0.5, kEps, kEps, L, u, v, &s);
    EXPECT_NEAR(L, 8, 1e-12);
    XYZToLuv(kEps * 0.5, kEps * (1 + 1e-12), kEps, L, u, v, &s);
    EXPECT_NEAR(L, 8, 1e-9);
    double a, b;
    XYZToLab(kEps, kEps, kEps, L, a, b, &s);
    EXPECT_NEAR(L, 8, 1e-11);  // the decimal 0.3333333333333 exponent shifts L* by ~4e-12

    // Zero in gives zero out without touching the guarded divisions.
    LuvToXYZ(0, 0, 0, X, Y, Z, &s);
    EXPECT_EQ(X, 0);
    EXPECT_EQ(Y, 0);
    EXPECT_EQ(Z, 0);
    LabToXYZ(0, 0, 0, X, Y, Z, &s);
    EXPECT_EQ(X, 0);
    EXPECT_EQ(Y, 0);
    EXPECT_EQ(Z, 0);
  }
}

TEST(CIESpaces, PolarForms) {
  struct Case {
    double u, v;
    double lowest, highest;  // hue bounds
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {-0.0, -0.0, 0, 0},
      {1, -0.0, 0, 0},
      {-1, -0.0001, 180, 180.01},
      {1, -0.0001, 359.99, 360},
      {1, -1e-300, 0, 0},  // rounds onto the circle's start, not to 360
      {0, 1, 90, 90},
      {-1, 0, 180, 180},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.u) + ", " + std::to_string(c.v));
    double C, h;
    LuvToLCh(50, c.u, c.v, C, h);
    EXPECT_DOUBLE_EQ(C, std::sqrt(c.u * c.u + c.v * c.v));
    EXPECT_GE(h, c.lowest);
    EXPECT_LE(h, c.highest);
    EXPECT_LT(h, 360);
    EXPECT_FALSE(std::signbit(h));
    double a, b;
    LabToLChab(50, c.u, c.v, C, h);
    EXPECT_GE(h, c.lowest);
    EXPECT_LE(h, c.highest);
    LChabToLab(50, C, h, a, b);
    EXPECT_NEAR(a, c.u, 1e-12);
    EXPECT_NEAR(b, c.v, 1e-12);
  }
  double u, v;
  LChToLuv(50, 10, 360 + 90, u, v);  // hues past 360 work through the trigonometry
  EXPECT_NEAR(u, 0, 1e-12);
  EXPECT_NEAR(v, 10, 1e-12);
}

TEST(CIESpaces, GammaOneIsLinear) {
  double X1, Y1, Z1, X2, Y2, Z2;
  const TColorSettings s{1, 3, 1.0, 2};
  RGBToXYZ(40, 80, 120, X1, Y1, Z1, &s);
  RGBToXYZ(80, 160, 240, X2, Y2, Z2, &s);
  EXPECT_NEAR(X2, 2 * X1, 1e-15);
  EXPECT_NEAR(Y2, 2 * Y1, 1e-15);
  EXPECT_NEAR(Z2, 2 * Z1, 1e-15);
}

// Round trips over a grid for every space, white and gamma. The stored
// XYZ-to-RGB matrix inverts its partner only to about 4e-6 per element, so a
// channel that is 0 can come back as -1 (slightly negative linear value) or,
// after the 1/gamma power, up to about 1.6 above 0; every other channel
// (>= 17) comes back within 0.03 (worst seen 0.024).
TEST(CIESpaces, RoundTripsThroughEverySpace) {
  constexpr std::array<double, 7> kLevels = {0, 17, 40, 100, 128, 201, 255};
  constexpr double kTolerance = 0.03;
  constexpr double kZeroChannelLimit = 2;
  for (const TPath& path : kPaths) {
    double worst = 0, worstZero = 0;
    for (const TColorSettings& s : AllSettings()) {
      for (double r : kLevels) {
        for (double g : kLevels) {
          for (double b : kLevels) {
            const TRGB c{r, g, b};
            const TRGB back = path.Run(c, &s);
            const double in[3] = {r, g, b}, out[3] = {back.R, back.G, back.B};
            for (int i = 0; i < 3; ++i) {
              if (in[i] == 0) {
                if (out[i] != -1.0) {
                  EXPECT_GE(out[i], 0) << path.Name << " " << Describe(s);
                  worstZero = std::max(worstZero, out[i]);
                }
              } else {
                worst = Worse(worst, {std::abs(out[i] - in[i])});
              }
            }
          }
        }
      }
    }
    SCOPED_TRACE(path.Name);
    EXPECT_LT(worst, kTolerance);
    EXPECT_LT(worstZero, kZeroChannelLimit);
  }
}
