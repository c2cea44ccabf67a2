#include "colour/gamma_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "colour/cie_spaces.h"
#include "foundation/rounding.h"

namespace {

// The level of the library's own encoding (LinearRGBToRGB: 255 * exp(log(c) /
// gamma), -1 for a negative value), rounded; outside 0..255 as the encoder
// reports it.
int ReferenceLevel(double c, double gamma) {
  const TColorSettings settings{0, 3, gamma, 2};
  const double e = LinearRGBToRGB(c, c, c, &settings).R;
  if (e >= 0.0 && e <= 255.0) return RoundDouble(e);
  return e > 255.0 ? kLevelAbove : kLevelBelow;
}

}  // namespace

// The table must give exactly the formula's byte: random values spread over
// all magnitudes, plus the values one ulp either side of every level change.
TEST(GammaEncoder, MatchesTheFormulaEverywhere) {
  for (double gamma : {2.2, 1.8, 1.0, 2.4, 0.5, 4.0, 0.05, 20.0}) {
    SCOPED_TRACE(gamma);
    const TGammaEncoder encoder(gamma);
    EXPECT_EQ(encoder.Tabulated(), gamma >= 0.1 && gamma <= 12.0);
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> exponent(-40.0, 0.1);
    int mismatches = 0;
    for (int i = 0; i < 200000; ++i) {
      const double c = std::exp2(exponent(random));
      mismatches += encoder.Level(c) != ReferenceLevel(c, gamma);
    }
    for (int level = 0; level < 255; ++level) {
      const double guess = std::pow((level + 0.5) / 255.0, gamma);
      double c = guess;
      for (int step = 0; step < 8; ++step) c = std::nextafter(c, 0.0);
      for (int step = 0; step < 16; ++step, c = std::nextafter(c, 2.0))
        mismatches += encoder.Level(c) != ReferenceLevel(c, gamma);
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(GammaEncoder, EdgesOfTheRange) {
  const TGammaEncoder encoder(2.2);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(encoder.Level(0.0), 0);
  EXPECT_EQ(encoder.Level(-0.0), 0);
  EXPECT_EQ(encoder.Level(1.0), 255);
  EXPECT_EQ(encoder.Level(std::nextafter(0.0, 1.0)), 0);
  EXPECT_EQ(encoder.Level(-1e-300), kLevelBelow);
  EXPECT_EQ(encoder.Level(std::nan("")), kLevelBelow);
  EXPECT_EQ(encoder.Level(1.0001), kLevelAbove);
  EXPECT_EQ(encoder.Level(inf), kLevelAbove);
  // The limit is the last value the formula keeps at or below 255.
  EXPECT_EQ(ReferenceLevel(encoder.Limit(), 2.2), 255);
  EXPECT_EQ(ReferenceLevel(std::nextafter(encoder.Limit(), 2.0), 2.2), kLevelAbove);
}
