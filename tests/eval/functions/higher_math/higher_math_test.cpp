#include "eval/functions/higher_math/higher_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr long double kInfEx = std::numeric_limits<long double>::infinity();
const double kSqrtPi = std::sqrt(std::acos(-1.0));

// The larger of worst and error, NaN once either is NaN: std::max would drop a
// NaN error and let the bound check pass.
double Worse(double worst, double error) {
  return std::isnan(worst) || std::isnan(error) ? std::numeric_limits<double>::quiet_NaN()
                                                : std::max(worst, error);
}

double RelError(long double got, long double want) {
  return static_cast<double>(std::fabs(got - want) / std::max(std::fabs(want), 1e-300L));
}

TEST(GammaFunctionTest, MatchesTgammaOverItsRange) {
  // Cody's approximation is good to a few units in the last place of a double;
  // above 12 the result is e^s with s up to about 700, where the rounding of s
  // alone is about 1.5e-13 relative.
  double worst = 0;
  for (double x = -30.75; x < 171.0; x += 0.0625) {
    if (x == std::trunc(x) && x <= 0) continue;
    worst = Worse(worst, RelError(GammaFunction(x), std::tgamma(x)));
  }
  EXPECT_LT(worst, 5e-13);
}

TEST(GammaFunctionTest, KnownValuesPolesAndOverflow) {
  EXPECT_NEAR(GammaFunction(5), 24.0, 1e-12);
  EXPECT_NEAR(GammaFunction(0.5), kSqrtPi, 1e-15);
  EXPECT_NEAR(GammaFunction(-0.5), -2 * kSqrtPi, 1e-14);
  EXPECT_EQ(GammaFunction(0.0), kInf);
  EXPECT_EQ(GammaFunction(-0.0), kInf);
  EXPECT_EQ(GammaFunction(1e-17), kInf);
  EXPECT_EQ(GammaFunction(-1), kInf);   // odd pole
  EXPECT_EQ(GammaFunction(-2), -kInf);  // even pole
  EXPECT_EQ(GammaFunction(-3), kInf);
  EXPECT_EQ(GammaFunction(200), kInf);
  // Poles beyond the range where Gamma(n + 1) is finite keep their sign
  // instead of becoming infinity / infinity.
  EXPECT_EQ(GammaFunction(-200), -kInf);
  EXPECT_EQ(GammaFunction(-201), kInf);
  EXPECT_TRUE(std::isnan(GammaFunction(std::nan(""))));
}

TEST(LnGammaTest, MatchesLgammaIncludingReflection) {
  double worst = 0;
  for (long double x = -60.3L; x < 400.0L; x += 0.1L) {
    const long double want = std::lgamma(x);
    worst = Worse(worst, static_cast<double>(std::fabs(LnGamma(x) - want) /
                                             std::max(1.0L, std::fabs(want))));
  }
  for (long double x : {1e3L, 5e3L, 1e6L, 1e9L, 1e100L, 1e300L}) {
    worst = Worse(worst, RelError(LnGamma(x), std::lgamma(x)));
  }
  EXPECT_LT(worst, 1e-13);
}

TEST(LnGammaTest, ExactPointsAndPoles) {
  EXPECT_EQ(LnGamma(1), 0.0L);
  EXPECT_EQ(LnGamma(2), 0.0L);
  EXPECT_NEAR(static_cast<double>(LnGamma(2.5L)), std::log(3 * kSqrtPi / 4), 1e-15);
  EXPECT_NEAR(static_cast<double>(LnGamma(-0.5L)), std::log(2 * kSqrtPi), 1e-15);
  for (long double pole : {0.0L, -1.0L, -2.0L, -33.0L, -34.0L, -35.0L, -100.0L}) {
    SCOPED_TRACE(static_cast<double>(pole));
    EXPECT_EQ(LnGamma(pole), -kInfEx);
  }
  EXPECT_EQ(LnGamma(3e305L), -kInfEx);
  EXPECT_EQ(LnGamma(kInfEx), -kInfEx);
}

TEST(EvalPolynomialTest, HighestPowerFirst) {
  const long double c[] = {2.0L, -3.0L, 5.0L};  // 2x^2 - 3x + 5
  EXPECT_EQ(EvalPolynomial(c, 2, 4.0L), 25.0L);
  EXPECT_EQ(EvalPolynomial(c, 0, 4.0L), 2.0L);
}

// P(n, x) for a whole n: 1 - e^-x * sum_{k<n} x^k / k!
long double IncGammaWhole(int n, long double x) {
  long double term = 1.0L;
  long double sum = 0.0L;
  for (int k = 0; k < n; ++k) {
    sum += term;
    term *= x / (k + 1);
  }
  return 1.0L - std::exp(-x) * sum;
}

TEST(IncGammaPTest, MatchesClosedFormsOnBothBranches) {
  // Both expansions stop at a relative step of 3e-7, so the result is good to
  // about that much; x < a + 1 takes the series, the rest the fraction.
  double worst = 0;
  for (int a = 1; a <= 20; ++a) {
    for (long double x = 0.05L; x < 60.0L; x += 0.25L) {
      worst = Worse(worst, static_cast<double>(std::fabs(IncGammaP(a, x) - IncGammaWhole(a, x))));
    }
  }
  for (long double x = 0.01L; x < 40.0L; x += 0.13L) {
    const long double want = std::erf(std::sqrt(x));  // P(1/2, x) = erf(sqrt x)
    worst = Worse(worst, static_cast<double>(std::fabs(IncGammaP(0.5L, x) - want)));
  }
  EXPECT_LT(worst, 1e-6);
}

TEST(IncGammaPTest, DomainAndLimits) {
  EXPECT_EQ(IncGammaP(1, 0), 0.0L);
  EXPECT_NEAR(static_cast<double>(IncGammaP(1, 1)), 1 - std::exp(-1.0), 1e-7);
  EXPECT_EQ(IncGammaP(1, -1), -kInfEx);
  EXPECT_EQ(IncGammaP(0, 1), -kInfEx);
  EXPECT_EQ(IncGammaP(-2, 1), -kInfEx);
  EXPECT_LE(IncGammaP(3, 1e6L), 1.0L);
  // A shape so large that 100 series terms cannot converge.
  EXPECT_EQ(IncGammaP(1e6L, 999000.0L), -kInfEx);
}

TEST(IncGammaPartsTest, SeriesAndFractionAreComplements) {
  long double p = 0, q = 0, lnA = 0, lnB = 0;
  IncGammaSeries(3.0L, 2.5L, p, lnA);
  IncGammaContFrac(3.0L, 2.5L, q, lnB);
  EXPECT_NEAR(static_cast<double>(p + q), 1.0, 1e-6);
  EXPECT_NEAR(static_cast<double>(lnA), std::log(2.0), 1e-15);
  EXPECT_EQ(lnA, lnB);
}

TEST(ErfCoreTest, MatchesLibraryOnAllThreeIntervals) {
  // Cody's tables are accurate to about 1e-18 relative on erf and erfc.
  double worstErf = 0;
  double worstErfc = 0;
  for (long double x = -7.0L; x <= 27.0L; x += 1.0L / 64) {
    worstErf = Worse(worstErf, static_cast<double>(std::fabs(ErfCore(0, x) - std::erf(x))));
    worstErfc = Worse(worstErfc, RelError(ErfCore(1, x), std::erfc(x)));
  }
  EXPECT_LT(worstErf, 1e-16);
  EXPECT_LT(worstErfc, 1e-14);
}

TEST(ErfCoreTest, SymmetryAndExtremes) {
  EXPECT_EQ(ErfCore(0, 0), 0.0L);
  EXPECT_EQ(ErfCore(1, 0), 1.0L);
  for (long double x : {0.3L, 0.46875L, 0.5L, 2.0L, 4.0L, 4.5L, 10.0L}) {
    SCOPED_TRACE(static_cast<double>(x));
    EXPECT_EQ(ErfCore(0, -x), -ErfCore(0, x));
    EXPECT_NEAR(static_cast<double>(ErfCore(1, -x)), static_cast<double>(2 - ErfCore(1, x)), 1e-18);
  }
  EXPECT_EQ(ErfCore(0, 1e300L), 1.0L);
  EXPECT_EQ(ErfCore(1, 1e300L), 0.0L);
  // Infinite arguments give the limits, not NaN.
  EXPECT_EQ(ErfCore(0, kInfEx), 1.0L);
  EXPECT_EQ(ErfCore(0, -kInfEx), -1.0L);
  EXPECT_EQ(ErfCore(1, kInfEx), 0.0L);
  EXPECT_EQ(ErfCore(1, -kInfEx), 2.0L);
  EXPECT_TRUE(std::isnan(ErfCore(0, std::nanl(""))));
  EXPECT_TRUE(std::isnan(ErfCore(1, std::nanl(""))));
}

TEST(DistPowerTest, WholeFractionalAndZeroCases) {
  EXPECT_EQ(DistPower(0, 0), 1.0L);
  EXPECT_EQ(DistPower(0, 2.5L), 0.0L);
  EXPECT_EQ(DistPower(0, -1), kInfEx);
  EXPECT_EQ(DistPower(-2, 3), -8.0L);
  EXPECT_EQ(DistPower(-2, -2), 0.25L);
  EXPECT_EQ(DistPower(3, 2147483647.0L), kInfEx);
  EXPECT_NEAR(static_cast<double>(DistPower(2, 0.5L)), std::sqrt(2.0), 1e-15);
  EXPECT_TRUE(std::isnan(DistPower(-8, 1.0L / 3)));
}

TEST(DistributionsTest, LargeShapesDoNotOverflowToZero) {
  // Gamma(200) overflows a double; the densities there are ordinary numbers.
  const double gammaWant = std::exp(199 * std::log(200.0) - 200 - std::lgamma(200.0));
  EXPECT_NEAR(static_cast<double>(GammaDensity(200, 200, 1)), gammaWant, 1e-12 * gammaWant);
  EXPECT_GT(gammaWant, 0.02);
  const double chiWant = std::exp(-350 * std::log(2.0) + 349 * std::log(700.0) - 350 - std::lgamma(350.0));
  EXPECT_NEAR(static_cast<double>(ChiSquareDensity(700, 700)), chiWant, 1e-12 * chiWant);
  EXPECT_EQ(GammaDensity(0, 200, 1), 0.0L);
}

TEST(DistributionsTest, DensitiesIntegrateToOneAndTailsMatch) {
  // Midpoint rule over a wide range; the densities are smooth there.
  auto integrate = [](auto density, long double from, long double to) {
    const int steps = 20000;
    const long double h = (to - from) / steps;
    long double sum = 0;
    for (int i = 0; i < steps; ++i) sum += density(from + (i + 0.5L) * h);
    return static_cast<double>(sum * h);
  };
  EXPECT_NEAR(integrate([](long double x) { return GammaDensity(x, 2.5L, 1.5L); }, 0, 80), 1.0, 1e-6);
  EXPECT_NEAR(integrate([](long double x) { return ChiSquareDensity(x, 5); }, 0, 100), 1.0, 1e-6);
  // The language's normal density is normalised by sqrt(2 pi s), so it
  // integrates to sqrt(s); its tail is the integral from x on.
  for (long double s : {0.5L, 1.0L, 4.0L}) {
    SCOPED_TRACE(static_cast<double>(s));
    const double root = std::sqrt(static_cast<double>(s));
    EXPECT_NEAR(integrate([s](long double x) { return NormalDensity(x, 3, s); }, 3 - 20 * s, 3 + 20 * s), root,
                1e-7);
    // One standard deviation above the mean, in either direction.
    EXPECT_NEAR(static_cast<double>(NormalUpperTail(3 + s, 3, s)), root * 0.5 * std::erfc(1 / std::sqrt(2.0)), 1e-15);
    EXPECT_NEAR(static_cast<double>(NormalUpperTail(3 - s, 3, s)), root * 0.5 * std::erfc(-1 / std::sqrt(2.0)), 1e-15);
    EXPECT_NEAR(static_cast<double>(NormalUpperTail(3, 3, s)), root / 2, 1e-18);
  }
  EXPECT_EQ(NormalDensity(0, 0, 0), -kInfEx);
  EXPECT_TRUE(std::isnan(NormalUpperTail(0, 0, -1)));
  EXPECT_EQ(GammaDensity(-1, 1, 2), -kInfEx);
  EXPECT_EQ(ChiSquareDensity(0, 2), -kInfEx);
  EXPECT_NEAR(static_cast<double>(ChiSquareDistribution(3.0L, 5)),
              integrate([](long double x) { return ChiSquareDensity(x, 5); }, 0, 3), 1e-6);
}
}  // namespace
