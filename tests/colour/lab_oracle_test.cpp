// XYZ <-> CIELAB checked against LittleCMS with the same white point.
#include <gtest/gtest.h>
#include <lcms2.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "colour/cie_spaces.h"
#include "worst_error.h"

namespace {

using colour_test::Worse;

// Our constants are within ~2e-11 of the textbook forms LittleCMS uses.
constexpr double kTolerance = 1e-9;

// Values on both sides of the linear/cube-root threshold (epsilon ~ 0.008856)
// and past the white.
constexpr std::array<double, 12> kXYZLevels = {0,     1e-5,  0.002, 0.0088, 0.008856, 0.0089,
                                               0.05,  0.2,   0.45,  0.8,    1.0,      1.25};

// Runs worstError(settings, white, whitePoint) under every reference white;
// each worst difference from LittleCMS must stay below kTolerance.
template <class TWorstError>
void ExpectMatchUnderEveryWhite(TWorstError worstError) {
  for (int w = 0; w < kNumReferenceWhites; ++w) {
    SCOPED_TRACE(ReferenceWhiteNames[w]);
    const TColorSettings s{0, uint8_t(w), 2.2, 2};
    const TReferenceWhiteValues& white = ReferenceWhiteValues[w];
    const cmsCIEXYZ wp{white.Xw, white.Yw, white.Zw};
    const double worst = worstError(s, white, wp);
    EXPECT_LT(worst, kTolerance);
  }
}

}  // namespace

TEST(LabOracle, XYZToLabMatchesLittleCMS) {
  ExpectMatchUnderEveryWhite([](const TColorSettings& s, const TReferenceWhiteValues& white,
                                const cmsCIEXYZ& wp) {
    double worst = 0;
    for (double x : kXYZLevels) {
      for (double y : kXYZLevels) {
        for (double z : kXYZLevels) {
          // Scale by the white so each level hits the threshold on every axis.
          const cmsCIEXYZ xyz{x * white.Xw, y * white.Yw, z * white.Zw};
          cmsCIELab want;
          cmsXYZ2Lab(&wp, &want, &xyz);
          double L, a, b;
          XYZToLab(xyz.X, xyz.Y, xyz.Z, L, a, b, &s);
          worst = Worse(worst, {std::abs(L - want.L), std::abs(a - want.a), std::abs(b - want.b)});
        }
      }
    }
    return worst;
  });
}

TEST(LabOracle, LabToXYZMatchesLittleCMS) {
  ExpectMatchUnderEveryWhite([](const TColorSettings& s, const TReferenceWhiteValues& /*white*/,
                                const cmsCIEXYZ& wp) {
    double worst = 0;
    for (double L : {0.0, 0.5, 4.0, 7.999, 8.0, 8.001, 20.0, 50.0, 75.0, 100.0}) {
      for (double a = -120; a <= 120; a += 15) {
        for (double b = -120; b <= 120; b += 15) {
          const cmsCIELab lab{L, a, b};
          cmsCIEXYZ want;
          cmsLab2XYZ(&wp, &want, &lab);
          double X, Y, Z;
          LabToXYZ(L, a, b, X, Y, Z, &s);
          worst = Worse(worst, {std::abs(X - want.X), std::abs(Y - want.Y), std::abs(Z - want.Z)});
        }
      }
    }
    return worst;
  });
}
