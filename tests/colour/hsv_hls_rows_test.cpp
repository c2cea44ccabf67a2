#include "colour/hsv_hls_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"

namespace {

bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

// Levels on both sides of the HLS switch at 127.5 and the ends.
constexpr double kLevels[] = {0, 0.25, 64, 127.25, 127.5, 127.75, 200, 254.9, 255};

// Saturations from 0 past 255 (the disc views reach 255 sqrt 2 and beyond),
// an odd count so the row's last element takes the single-element path.
std::vector<double> Saturations() {
  std::vector<double> s;
  for (double x = 0; x <= 420; x += 3.7) s.push_back(x);
  s.push_back(255);
  return s;
}

std::string Describe(double H, double level, double S) {
  return "H " + std::to_string(H) + " level " + std::to_string(level) + " S " + std::to_string(S);
}

}  // namespace

// The HLS levels of a whole row, then the kernel from turns, against
// HLSToRGB of each pixel alone, to the bit; and the disc's shortcut: the
// smallest component is Round(m1), the largest Round(m2).
TEST(HSVHLSRows, HLSRowMatchesThePerPixelConversion) {
  const std::vector<double> S = Saturations();
  std::vector<double> m1(S.size()), m2(S.size());
  ASSERT_EQ(S.size() % 2, 1u);
  int bad = 0;
  std::string first;
  for (double L : kLevels) {
    colour_rows::HLSLevelsRow(L, S, m1, m2);
    for (size_t i = 0; i < S.size(); ++i) {
      double one1, one2;
      colour_rows::HLSLevels(L, S[i], one1, one2);
      for (double H : {0.0, 30.0, 59.9, 120.0, 200.5, 299.0, 359.5}) {
        const TRGB want = HLSToRGB({H, L, S[i]});
        bool same = SameBits(m1[i], one1) && SameBits(m2[i], one2);
        if (S[i] != 0) {
          same = same && colour_rows::HLSFromTurns(H / 360.0, m1[i], m2[i]) == want;
          same = same && std::min({want.R, want.G, want.B}) == colour_rows::Round(m1[i]) &&
                 std::max({want.R, want.G, want.B}) == colour_rows::Round(m2[i]);
        }
        if (!same && bad++ == 0) first = Describe(H, L, S[i]);
      }
    }
  }
  EXPECT_EQ(bad, 0) << "first: " << first;
}

// HSV from sixths against HSVToRGB of each pixel alone, with the disc's
// shortcut: the smallest component is the low level, limited to 255.
TEST(HSVHLSRows, HSVKernelMatchesThePerPixelConversion) {
  int bad = 0;
  std::string first;
  for (double V : kLevels) {
    for (double S : Saturations()) {
      if (S == 0) continue;  // grey: HSVToRGB does not reach the kernel
      for (double H : {0.0, 30.0, 59.9, 60.0, 120.0, 200.5, 299.0, 359.5}) {
        const TRGB want = HSVToRGB({H, V, S});
        bool same = colour_rows::HSVFromSixths(H / 60.0, V, S) == want;
        same = same && std::min({want.R, want.G, want.B}) ==
                           std::min(colour_rows::Round(colour_rows::HSVLowLevel(V, S)), 255.0);
        if (!same && bad++ == 0) first = Describe(H, V, S);
      }
    }
  }
  EXPECT_EQ(bad, 0) << "first: " << first;
}

TEST(HSVHLSRows, RowsOfDifferentLengthsAreRefused) {
  const double S[3] = {1, 2, 3};
  double m1[3], m2[2];
  EXPECT_THROW(colour_rows::HLSLevelsRow(100, S, m1, m2), EAssertionFailed);
}
