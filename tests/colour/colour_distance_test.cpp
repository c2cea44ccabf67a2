#include "colour/colour_distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/assertion.h"

namespace {

struct TSharmaPair {
  int Pair;
  double L1, a1, b1, L2, a2, b2, DeltaE;
};

// The published CIEDE2000 test pairs (Sharma, Wu and Dalal 2005, Table 1).
std::vector<TSharmaPair> ReadSharmaPairs() {
  std::ifstream in(std::string(TEST_DATA_DIR) + "/ciede2000_sharma2005.tsv");
  std::vector<TSharmaPair> pairs;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("pair", 0) == 0) continue;
    std::istringstream row(line);
    TSharmaPair p;
    row >> p.Pair >> p.L1 >> p.a1 >> p.b1 >> p.L2 >> p.a2 >> p.b2 >> p.DeltaE;
    if (row) pairs.push_back(p);
  }
  return pairs;
}

TEST(DeltaE2000, PublishedPairsBothWays) {
  const std::vector<TSharmaPair> pairs = ReadSharmaPairs();
  ASSERT_EQ(pairs.size(), 34u);
  for (const TSharmaPair& p : pairs) {
    SCOPED_TRACE(testing::Message() << "pair " << p.Pair);
    // The published values have four decimals.
    EXPECT_NEAR(DeltaE2000(p.L1, p.a1, p.b1, p.L2, p.a2, p.b2), p.DeltaE, 1e-4);
    EXPECT_NEAR(DeltaE2000(p.L2, p.a2, p.b2, p.L1, p.a1, p.b1), p.DeltaE, 1e-4);
  }
}

TEST(DeltaE1994, HandDerivedCases) {
  struct Case {
    const char* what;
    double L1, a1, b1, L2, a2, b2, want;
  };
  const Case cases[] = {
      // Zero chroma on both sides: only |dL| is left.
      {"greys", 60, 0, 0, 40, 0, 0, 20},
      // Equal chroma 10, a quarter turn apart: dC = 0, dH^2 = 200,
      // C* = sqrt(200), SH = 1 + 0.015 sqrt(200).
      {"equal chroma", 50, 10, 0, 50, 0, 10, std::sqrt(200.0) / (1 + 0.015 * std::sqrt(200.0))},
      // Same hue, chroma 3 and 4: dH^2 = 0, C* = 5, SC = 1.225.
      {"chroma only", 50, 3, 0, 50, 4, 0, 1 / 1.225},
      // Lightness and chroma: sqrt(dL^2 + (dC/SC)^2) with C* = 5.
      {"lightness and chroma", 70, 0, 3, 50, 0, 4, std::hypot(20.0, 1 / 1.225)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NEAR(DeltaE1994(c.L1, c.a1, c.b1, c.L2, c.a2, c.b2), c.want, 1e-12);
    // C* = sqrt(C1^2 + C2^2) makes the distance symmetric.
    EXPECT_EQ(DeltaE1994(c.L1, c.a1, c.b1, c.L2, c.a2, c.b2),
              DeltaE1994(c.L2, c.a2, c.b2, c.L1, c.a1, c.b1));
  }
}

TEST(DeltaE1994, NearlyEqualColoursGiveNoNaN) {
  // da^2 + db^2 - dC^2 rounds to about -4e-29 here: the squared hue
  // difference is taken as 0 instead of producing NaN.
  const double a1 = -16.2662941282086, b1 = -50.044415316658103;
  const double a2 = std::nextafter(a1, 0.0);
  const double d = DeltaE1994(50, a1, b1, 50, a2, b1);
  EXPECT_FALSE(std::isnan(d));
  EXPECT_LT(d, 1e-12);
}

TEST(LightnessDistance, Figures) {
  EXPECT_NEAR(LightnessDistance(0, 100), 600, 1e-9);
  EXPECT_NEAR(LightnessDistance(0, 50), 190.4, 0.05);
  EXPECT_NEAR(LightnessDistance(50, 100), 409.6, 0.05);
  EXPECT_EQ(LightnessDistance(50, 100), LightnessDistance(100, 50));
  EXPECT_EQ(LightnessDistance(37, 37), 0);
}

TEST(ColorDistance, ChoosesTheFunctionOfTheSettings) {
  // Black to white is 600 under the lightness distance, whatever the chroma
  // and hue; a null record means that distance.
  const TLCh black{0, 40, 10}, white{100, 5, 250};
  EXPECT_NEAR(ColorDistance(black, white, nullptr), 600, 1e-9);
  TColorSettings s;
  EXPECT_EQ(ColorDistance(black, white, &s), ColorDistance(black, white, nullptr));
  // The CIE distances see the chroma: two greys of equal lightness are
  // nearly 0 apart, the same lightness with chroma 40 is not.
  const TLCh grey{50, 0, 0}, coloured{50, 40, 120};
  for (uint8_t f : {uint8_t{0}, uint8_t{1}}) {
    SCOPED_TRACE(static_cast<int>(f));
    s.DistFunc = f;
    EXPECT_GT(ColorDistance(grey, coloured, &s), 10);
    EXPECT_NEAR(ColorDistance(grey, TLCh{60, 0, 0}, &s), ColorDistance(TLCh{60, 0, 0}, grey, &s),
                1e-9);
  }
  s.DistFunc = 2;
  EXPECT_EQ(ColorDistance(grey, coloured, &s), 0);
  s.DistFunc = 3;
  EXPECT_THROW(ColorDistance(grey, coloured, &s), EAssertionFailed);
}

TEST(ColorDistance, ColourToItselfIsZero) {
  const TLCh colours[] = {{0, 0, 0}, {50, 30, 12}, {97, 90, 85}, {30, 60, 265}, {100, 0, 0}};
  for (uint8_t f = 0; f < kNumDistFuncs; ++f)
    for (int space : {0, 6, 13})
      for (const TLCh& c : colours) {
        SCOPED_TRACE(testing::Message() << "func " << int(f) << " space " << space << " L " << c.L);
        TColorSettings s;
        s.DistFunc = f;
        s.RGBConversion = static_cast<uint8_t>(space);
        EXPECT_EQ(ColorDistance(c, c, &s), 0);
      }
}

}  // namespace
