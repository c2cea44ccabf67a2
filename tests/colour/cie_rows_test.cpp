#include "colour/cie_rows.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/rounding.h"

namespace {

using colour_rows::TCIERowConverter;
using colour_rows::TLabAB;
using colour_rows::TRGBLevels;

// Every working space under every white, at the gammas the tool offers and
// at one outside the encoder's tables (which then evaluates the formula).
std::vector<TColorSettings> SettingsGrid() {
  std::vector<TColorSettings> all;
  for (int s = 0; s < kNumRGBConversions; ++s)
    for (int w = 0; w < kNumReferenceWhites; ++w)
      for (double gamma : {1.8, 2.2, 25.0})
        all.push_back({uint8_t(s), uint8_t(w), gamma, 2});
  return all;
}

std::string Describe(const TColorSettings& s) {
  return std::string(RGBConversionNames[s.RGBConversion]) + "/" +
         std::string(ReferenceWhiteNames[s.ReferenceWhite]) + "/gamma " + std::to_string(s.Gamma);
}

// Lightnesses on both sides of the linear/cubic switch at L* = 8, black and
// beyond white.
constexpr double kLightnesses[] = {0, 0.5, 8, 8.0001, 23.7, 50, 77.25, 100, 104};
// Chromatic coordinates on a coarse grid through 0 (greys, and black at L* 0).
std::vector<double> Axis() {
  std::vector<double> axis;
  for (double t = -200; t <= 200; t += 25) axis.push_back(t);
  axis.push_back(-0.0);
  axis.push_back(3.3e-3);
  return axis;
}

// The level a per-pixel RGB component gives: rounded where it lies in
// 0..255, else below or above.
int LevelOf(double c) {
  if (c >= 0.0 && c <= 255.0) return RoundDouble(c);
  return c > 255.0 ? kLevelAbove : kLevelBelow;
}
TRGBLevels LevelsOf(const TRGB& c) { return {LevelOf(c.R), LevelOf(c.G), LevelOf(c.B)}; }

bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

// Counts the points where a row conversion differs from the per-pixel one,
// keeping the first for the message.
struct TMismatches {
  int Count = 0;
  std::string First;
  void Check(bool same, const std::string& where) {
    if (same) return;
    if (Count++ == 0) First = where;
  }
};

}  // namespace

// A row's XYZ and levels against LuvToXYZ, LabToXYZ, LuvToRGB, LabToRGB and
// LChToRGB of each pixel alone, to the bit, over the grid of settings. The
// points include the guarded divisions of LuvToXYZ (u* or v* cancelling the
// white's term) and black.
TEST(CIERows, RowsMatchThePerPixelConversions) {
  const std::vector<double> axis = Axis();
  for (const TColorSettings& s : SettingsGrid()) {
    SCOPED_TRACE(Describe(s));
    const TCIERowConverter convert(&s);
    const TReferenceWhiteValues& w = GetReferenceWhite(&s);
    TMismatches bad;
    for (double L : kLightnesses) {
      const colour_rows::TLuvRow luv = convert.LuvRow(L);
      const colour_rows::TLabRow lab = convert.LabRow(L);
      std::vector<double> us = axis, vs = axis;
      us.push_back(-(13.0 * L * w.uw));  // du = 0
      vs.push_back(-(13.0 * L * w.vw));  // dv = 0
      for (double u : us) {
        for (double v : vs) {
          const std::string where = "L " + std::to_string(L) + " (" + std::to_string(u) + ", " +
                                    std::to_string(v) + ")";
          double X, Y, Z, X1, Y1, Z1;
          luv.ToXYZ(u, v, X, Y, Z);
          LuvToXYZ(L, u, v, X1, Y1, Z1, &s);
          bad.Check(SameBits(X, X1) && SameBits(Y, Y1) && SameBits(Z, Z1), "Luv XYZ " + where);
          bad.Check(convert.Levels(luv, u, v) == LevelsOf(LuvToRGB(L, u, v, &s)), "Luv " + where);

          // a* scaled along a column, b* along a row, as the fields hold them.
          const TLabAB ab{colour_rows::TLabA(u), colour_rows::TLabB(v)};
          lab.ToXYZ(ab, X, Y, Z);
          LabToXYZ(L, u, v, X1, Y1, Z1, &s);
          bad.Check(SameBits(X, X1) && SameBits(Y, Y1) && SameBits(Z, Z1), "Lab XYZ " + where);
          bad.Check(convert.Levels(lab, ab) == LevelsOf(LabToRGB(L, u, v, &s)), "Lab " + where);
        }
      }
      // Polar: a hue's direction scaled by the chroma, as the fields hoist it.
      for (double h : {0.0, 12.5, 90.0, 181.0, 359.9, 400.0}) {
        const colour_rows::THueDirection d = colour_rows::HueDirection(h);
        for (double C : {0.0, 10.0, 55.5, 200.0}) {
          const std::string where = "L " + std::to_string(L) + " C " + std::to_string(C) + " h " +
                                    std::to_string(h);
          double u, v;
          LChToLuv(L, C, h, u, v);
          bad.Check(SameBits(C * d.Cos, u) && SameBits(C * d.Sin, v), "LChToLuv " + where);
          bad.Check(convert.Levels(luv, C * d.Cos, C * d.Sin) == LevelsOf(LChToRGB(L, C, h, &s)),
                    "LCh " + where);
        }
      }
    }
    EXPECT_EQ(bad.Count, 0) << "first: " << bad.First;
  }
}

// A converter keeps the values of its settings, not the record: changing the
// record afterwards changes nothing, and null means the defaults.
TEST(CIERows, ConverterKeepsItsSettings) {
  TColorSettings s{1, 1, 1.8, 2};
  const TCIERowConverter convert(&s);
  const TRGBLevels before = convert.Levels(convert.LuvRow(60), 20, -30);
  s = {13, 5, 2.4, 2};
  EXPECT_EQ(convert.Levels(convert.LuvRow(60), 20, -30), before);
  const TCIERowConverter other(&s);
  EXPECT_NE(other.Levels(other.LuvRow(60), 20, -30), before);

  const TCIERowConverter defaults(nullptr);
  const TRGBLevels grey = defaults.Levels(defaults.LuvRow(50), 0, 0);
  EXPECT_EQ(grey, LevelsOf(LuvToRGB(50, 0, 0, nullptr)));
  EXPECT_TRUE(grey.InGamut());
  EXPECT_FALSE(defaults.Levels(defaults.LuvRow(50), 400, 0).InGamut());
}
