// The nice-number search and its score.
#include "app/core/window/nice_numbers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TResult {
  double Start, Step;
  int N;
};

TResult Find(double a, double b, int n, bool fixed) {
  TResult r{-99, -99, n};
  FindNiceNumbers(r.Start, r.Step, a, b, r.N, fixed);
  return r;
}

}  // namespace

TEST(NiceNumbers, SearchExamples) {
  struct TCase {
    double A, B;
    int N;
    bool Fixed;
    TResult Expected;
  };
  const TCase cases[] = {
      {20, 40, 0, false, {20, 2, 11}},
      {40, 20, 0, false, {20, 2, 11}},  // inputs are ordered first
      {20, 40, 6, true, {20, 4, 6}},    // 5 classes
      {3, 97, 5, true, {0, 25, 5}},     // 4 classes
      {7, 7, 42, false, {0, 0, 1}},     // equal inputs: one bound
      {7, 7, 6, true, {0, 0, 6}},
      {7, 7, 1, true, {0, 0, 1}},       // ends before dividing
      // An infinite range gives no candidate with more than 7 bounds.
      {-1.5e308, 1.5e308, 3, false, {0, 0, 1}},
      // Negative bounds through zero.
      {-10, 10, 0, false, {-10, 2, 11}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.A << " " << c.B << " n=" << c.N << " fixed=" << c.Fixed);
    const TResult r = Find(c.A, c.B, c.N, c.Fixed);
    EXPECT_DOUBLE_EQ(r.Start, c.Expected.Start);
    EXPECT_DOUBLE_EQ(r.Step, c.Expected.Step);
    EXPECT_EQ(r.N, c.Expected.N);
  }
}

TEST(NiceNumbers, FixedCountBelowTwoBoundsRaises) {
  for (int n : {1, 0, -3}) {
    SCOPED_TRACE(n);
    EXPECT_THROW(Find(20, 40, n, true), ENiceNumberError);
  }
}

TEST(NiceNumbers, Score) {
  struct TCase {
    TNiceNumberCandidate C;
    double Expected;
  };
  const TCase cases[] = {
      // Free: (simplicity + density + coverage) / 3.
      {{0, 2, 11, 1, 20, 0, false}, (1 + 1 + 1) / 3.0},               // starts at zero
      {{20, 2, 11, 3, 20, 0, false}, (0.4 + 1 + 1) / 3.0},            // third multiplier
      {{-4, 2, 11, 2, 20, 0, false}, (1 - 1 / 5.0 + 1 + 1) / 3.0},    // negative, on the grid
      {{-3, 2, 11, 2, 20, 0, false}, (1 - 2 / 5.0 + 1 + 1) / 3.0},    // negative, off the grid
      {{20, 2.5, 9, 4, 20, 0, false}, (0.2 + (1 - 2 / 11.0) + 1) / 3.0},
      {{0, 1, 30, 1, 29, 0, false}, (1 + 0 + 1) / 3.0},               // density floored at 0
      // Fixed: coverage less cover, 0 when the bounds fall short.
      {{20, 5, 6, 2, 20, 1, true}, 0.8 - 1},
      {{20, 4, 6, 6, 20, 0, true}, 1},
      {{20, 3, 6, 5, 20, 0, true}, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.C.Start << " " << c.C.Step << " " << c.C.Count);
    EXPECT_DOUBLE_EQ(NiceNumberScore(c.C), c.Expected);
  }
}

TEST(NiceNumbers, Text) {
  TFormatSettings comma = FixedFormatSettings();  // decimal ","
  EXPECT_EQ(NiceNumbersText(20, 2, 3, comma), "20,  22,  24");
  EXPECT_EQ(NiceNumbersText(0, 0.25, 3, comma), "0,  0,25,  0,5");
  EXPECT_EQ(NiceNumbersText(0, 0, 1, comma), "0");
  EXPECT_EQ(NiceNumbersText(5, 1, 0, comma), "");
}
