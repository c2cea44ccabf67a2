#include "colour/colour_interpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "foundation/assertion.h"

namespace {

// The repeated subtraction written out, the reference for FloatQuotient
// wherever the loop ends in reasonable time.
double LoopQuotient(double value, double divisor) {
  if (divisor < 0) {
    value = -value;
    divisor = -divisor;
  }
  double q = 0;
  while (value >= divisor) {
    value -= divisor;
    q += 1;
  }
  return q;
}

TEST(InterpolateHue, TakesTheShorterArc) {
  struct Case {
    double t, from, to, want;
  };
  const Case cases[] = {
      {0.5, 350, 10, 0},   {0.5, 10, 350, 0},  {0.25, 0, 180, 45},
      {1, 30, 400, 40},    {0, 370, 20, 10},   {0.5, 0, 180, 90},  // exactly 180: not wrapped
      {0.5, 180, 0, 90},   {0.5, 90, 300, 15}, {2, 0, 10, 20},     // t beyond 1 extrapolates
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.t << " " << c.from << " -> " << c.to);
    EXPECT_NEAR(InterpolateHue(c.t, c.from, c.to), c.want, 1e-12);
  }
}

TEST(Lerp, EndsAndMiddle) {
  const TRGB a{0, 100, 255}, b{255, 50, 0};
  EXPECT_EQ(LerpRGB(a, b, 0), a);
  EXPECT_EQ(LerpRGB(a, b, 1), b);
  EXPECT_EQ(LerpRGB(a, b, 0.5), (TRGB{127.5, 75, 127.5}));
  const TLuv p{10, -20, 30}, q{30, 20, -10};
  EXPECT_EQ(LerpLuv(p, q, 0.25), (TLuv{15, -10, 20}));
  // Lightness and chroma linear, the hue the short way round through 0.
  const TLCh m = LerpLCh({20, 10, 340}, {60, 50, 20}, 0.5);
  EXPECT_DOUBLE_EQ(m.L, 40);
  EXPECT_DOUBLE_EQ(m.C, 30);
  EXPECT_NEAR(m.h, 0, 1e-12);
}

TEST(BlendColors, EndsAndTiesToEven) {
  const TColor a = 0x102030, b = 0xF0E0D0;
  EXPECT_EQ(BlendColors(a, b, 0), a);
  EXPECT_EQ(BlendColors(a, b, 1), b);
  // Red 0 -> 255 halfway is 127.5 -> 128; green 0 -> 1 is 0.5 -> 0.
  EXPECT_EQ(BlendColors(0x000000, 0x0001FF, 0.5), 0x000080u);
  // Extrapolation is limited to 0..255.
  EXPECT_EQ(BlendColors(0x000000, 0x808080, 3), 0xFFFFFFu);
}

TEST(FloatMod, Table) {
  struct Case {
    double value, modulus, want;
  };
  const Case cases[] = {
      {-30, 360, 330}, {720, 360, 0},     {725, 360, 5},  {359.5, 360, 359.5},
      {-720, 360, 0},  {-1e-20, 360, 360},  // rounds to the modulus itself
      {7.5, 2, 1.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " mod " << c.modulus);
    // frac(Value / Modulus) * Modulus: exact only where the quotient is.
    EXPECT_NEAR(FloatMod(c.value, c.modulus), c.want, 1e-12);
  }
}

TEST(FloatQuotient, Table) {
  struct Case {
    double value, divisor, want;
  };
  const Case cases[] = {
      {7, 2, 3},   {-7, -2, 3}, {-7, 2, 0}, {7, -2, 0}, {6, 2, 3},
      {2.0, 0.1, 19},  // rounding in the subtraction, not the floor quotient 20
      {0, 5, 0},   {1.5, 1.5, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " / " << c.divisor);
    EXPECT_EQ(FloatQuotient(c.value, c.divisor), c.want);
  }
}

TEST(FloatQuotient, CountsLikeTheSubtractionLoop) {
  // Random divisors, including short binary fractions that round half-way
  // on the value's grid, with quotients up to 2^22.
  std::mt19937_64 rng(20240601);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 300; ++i) {
    const double divisor = i % 3 == 0 ? std::ldexp(std::floor(unit(rng) * 64) + 1, -(i % 40))
                                      : std::exp(unit(rng) * 20 - 10);
    const double value = divisor * std::exp(unit(rng) * std::log(4194304.0)) *
                         (i % 2 ? 1 : 1.0000001);
    SCOPED_TRACE(testing::Message() << std::hexfloat << value << " / " << divisor);
    EXPECT_EQ(FloatQuotient(value, divisor), LoopQuotient(value, divisor));
    EXPECT_EQ(FloatQuotient(-value, -divisor), LoopQuotient(-value, -divisor));
  }
}

TEST(FloatQuotient, EndsWhereTheLoopWouldNot) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  // Beyond 2^53 subtraction makes no progress: the floor quotient is given.
  EXPECT_EQ(FloatQuotient(1e30, 1), 1e30);
  EXPECT_EQ(FloatQuotient(-1e30, -3), std::floor(1e30 / 3));
  EXPECT_EQ(FloatQuotient(inf, 2), inf);
  // Large finite quotients end quickly. Near 1e15 the grid is 1/8, so each
  // subtraction of 0.7 takes off 0.75: the count falls well short of the
  // floor quotient, as the loop's would.
  const double big = FloatQuotient(1e15, 0.7);
  EXPECT_GT(big, 1e15 / 0.8);
  EXPECT_LT(big, 1e15 / 0.7);
  // Cases where the loop itself ends at once keep its answer.
  EXPECT_EQ(FloatQuotient(nan, 2), 0);
  EXPECT_EQ(FloatQuotient(5, nan), 0);
  EXPECT_EQ(FloatQuotient(5, inf), 0);
  EXPECT_EQ(FloatQuotient(-inf, 2), 0);
}

TEST(FloatQuotient, ZeroDivisorIsAPreconditionFailure) {
  try {
    FloatQuotient(1, 0);
    FAIL() << "no assertion failure";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "FloatQuotient needs a non-zero divisor");
  }
  EXPECT_THROW(FloatQuotient(-1, -0.0), EAssertionFailed);
}

TEST(Angles, DegreesAndRadians) {
  EXPECT_EQ(RadToDegree(std::numbers::pi), 180.0);
  EXPECT_EQ(DegreeToRad(180), std::numbers::pi);
  EXPECT_DOUBLE_EQ(DegreeToRad(RadToDegree(1.25)), 1.25);
  EXPECT_EQ(RadToDegree(0), 0);
}

}  // namespace
