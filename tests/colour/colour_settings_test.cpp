#include "colour/colour_settings.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/assertion.h"

namespace {

// XYZ of RGB white (1, 1, 1): the sum of each row of m0..m8.
void WhiteOfMatrix(const TColorMatrix& m, double& X, double& Y, double& Z) {
  X = m[0] + m[3] + m[6];
  Y = m[1] + m[4] + m[7];
  Z = m[2] + m[5] + m[8];
}

}  // namespace

TEST(ColourSettings, NullPointerMeansDefaults) {
  const TColorSettings record{0, 3, 2.2, 2};
  EXPECT_EQ(record, kDefaultColorSettings);
  for (const TColorSettings* s : {static_cast<const TColorSettings*>(nullptr), &record}) {
    double Xw, Yw, Zw, uw, vw;
    GetReferenceWhite(s, Xw, Yw, Zw, uw, vw);
    EXPECT_EQ(Xw, 0.95047);
    EXPECT_EQ(Yw, 1.0);
    EXPECT_EQ(Zw, 1.08883);
    EXPECT_EQ(GetGamma(s), 2.2);
    EXPECT_EQ(GetDistFunc(s), 2);
    EXPECT_EQ(&GetRGBToXYZMatrix(s), &WorkingSpaceMatrices[0].RGBToXYZ);
    EXPECT_EQ(&GetXYZToRGBMatrix(s), &WorkingSpaceMatrices[0].XYZToRGB);
  }
  EXPECT_EQ(RGBConversionNames[0], "Adobe98");
  EXPECT_EQ(ReferenceWhiteNames[3], "D65");
  EXPECT_EQ(DistFuncNames[2], "Vestrom Custom");
}

TEST(ColourSettings, AccessorsFollowTheRecord) {
  const TColorSettings s{13, 1, 1.8, 0};
  EXPECT_EQ(&GetRGBToXYZMatrix(&s), &WorkingSpaceMatrices[13].RGBToXYZ);
  EXPECT_EQ(&GetXYZToRGBMatrix(&s), &WorkingSpaceMatrices[13].XYZToRGB);
  EXPECT_EQ(&GetReferenceWhite(&s), &ReferenceWhiteValues[1]);
  EXPECT_EQ(GetGamma(&s), 1.8);
  EXPECT_EQ(GetDistFunc(&s), 0);
}

TEST(ColourSettings, WhiteChromaticitiesAreTheTableDigits) {
  const TReferenceWhiteValues& d65 = ReferenceWhiteValues[3];
  EXPECT_EQ(d65.uw, 0.19783982482140774);
  EXPECT_EQ(d65.vw, 0.46833630293240969);
  const TReferenceWhiteValues& e = ReferenceWhiteValues[5];
  EXPECT_EQ(e.uw, 4.0 / 19.0);
  EXPECT_EQ(e.vw, 9.0 / 19.0);
  for (int i = 0; i < kNumReferenceWhites; ++i) {
    SCOPED_TRACE(ReferenceWhiteNames[i]);
    const TReferenceWhiteValues& w = ReferenceWhiteValues[i];
    const double d = w.Xw + 15 * w.Yw + 3 * w.Zw;
    EXPECT_EQ(w.Yw, 1.0);
    EXPECT_NEAR(w.uw, 4 * w.Xw / d, 1e-16);
    EXPECT_NEAR(w.vw, 9 * w.Yw / d, 1e-16);
  }
}

TEST(ColourSettings, MatricesAreInversePairs) {
  for (int s = 0; s < kNumRGBConversions; ++s) {
    SCOPED_TRACE(RGBConversionNames[s]);
    const TColorMatrix& m = WorkingSpaceMatrices[s].RGBToXYZ;
    const TColorMatrix& k = WorkingSpaceMatrices[s].XYZToRGB;
    double worst = 0;
    // Element (row, col) of K * M with column-major storage.
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        double sum = 0;
        for (int j = 0; j < 3; ++j) sum += k[row + 3 * j] * m[j + 3 * col];
        worst = std::max(worst, std::abs(sum - (row == col ? 1.0 : 0.0)));
      }
    }
    EXPECT_LT(worst, 4e-6);
  }
}

TEST(ColourSettings, MatrixWhiteIsTheUsualWhite) {
  for (int s = 0; s < kNumRGBConversions; ++s) {
    SCOPED_TRACE(RGBConversionNames[s]);
    const TReferenceWhiteValues& w = ReferenceWhiteValues[DefaultReferenceWhite[s]];
    double X, Y, Z;
    WhiteOfMatrix(WorkingSpaceMatrices[s].RGBToXYZ, X, Y, Z);
    // NTSC's published matrix is rounded more coarsely than the others.
    const double tolerance = RGBConversionNames[s] == "NTSC" ? 1.3e-3 : 2e-4;
    EXPECT_NEAR(X, w.Xw, tolerance);
    EXPECT_NEAR(Y, w.Yw, tolerance);
    EXPECT_NEAR(Z, w.Zw, tolerance);
  }
}

TEST(ColourSettings, OnlyNTSCAndCIEUseWhitesCAndE) {
  for (int s = 0; s < kNumRGBConversions; ++s) {
    SCOPED_TRACE(RGBConversionNames[s]);
    EXPECT_EQ(DefaultReferenceWhite[s] == 0, RGBConversionNames[s] == "NTSC");
    EXPECT_EQ(DefaultReferenceWhite[s] == 5, RGBConversionNames[s] == "CIE");
    EXPECT_LT(DefaultReferenceWhite[s], kNumReferenceWhites);
  }
}

TEST(ColourSettings, IndexOutOfRangeIsAnAssertionFailure) {
  const TColorSettings badSpace{16, 3, 2.2, 2};
  const TColorSettings badWhite{0, 6, 2.2, 2};
  const TColorSettings badDist{0, 3, 2.2, 3};
  EXPECT_THROW(GetRGBToXYZMatrix(&badSpace), EAssertionFailed);
  EXPECT_THROW(GetXYZToRGBMatrix(&badSpace), EAssertionFailed);
  EXPECT_THROW(GetReferenceWhite(&badWhite), EAssertionFailed);
  EXPECT_THROW(GetDistFunc(&badDist), EAssertionFailed);
  try {
    GetReferenceWhite(&badWhite);
    ADD_FAILURE() << "no exception";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "TColorSettings.ReferenceWhite out of range (0..5)");
  }
}
