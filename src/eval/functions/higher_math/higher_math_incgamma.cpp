#include "eval/functions/higher_math/higher_math.h"

#include <cmath>
#include <limits>

namespace {

constexpr long double kMinusInfinityEx = -std::numeric_limits<long double>::infinity();
// Both expansions stop after this many terms, at this relative tolerance.
constexpr int kMaxTerms = 100;
constexpr long double kTolerance = 3E-7L;
// Below this an extended value counts as zero.
constexpr long double kTiny = 1E-4400L;

// e^(-x + a ln x - ln Gamma(a)), the factor both expansions share.
long double Prefactor(long double a, long double x, long double lnGammaA) {
  return std::exp(-x + a * std::log(x) - lnGammaA);
}

}  // namespace

long double IncGammaP(long double a, long double x) {
  if (x < 0.0L || a <= 0.0L) return kMinusInfinityEx;
  long double result = 0.0L;
  long double lnGammaA = 0.0L;
  if (x < a + 1.0L) {
    IncGammaSeries(a, x, result, lnGammaA);
    return result;
  }
  IncGammaContFrac(a, x, result, lnGammaA);
  return 1.0L - result;
}

void IncGammaSeries(long double a, long double x, long double& result, long double& lnGammaA) {
  lnGammaA = LnGamma(a);
  if (std::fabs(x) <= kTiny) {
    result = 0.0L;
    return;
  }
  if (x < 0.0L) {
    result = kMinusInfinityEx;
    return;
  }
  long double ap = a;
  long double del = 1.0L / a;
  long double sum = del;
  for (int n = 0; n < kMaxTerms; ++n) {
    ap += 1.0L;
    del = del * x / ap;
    sum += del;
    if (std::fabs(del) < std::fabs(sum) * kTolerance) {
      result = sum * Prefactor(a, x, lnGammaA);
      return;
    }
  }
  result = kMinusInfinityEx;  // no convergence
}

void IncGammaContFrac(long double a, long double x, long double& result, long double& lnGammaA) {
  // Recurrence of the continued fraction's convergents, renormalized by the
  // last numerator (fac) at every step so that they cannot overflow.
  lnGammaA = LnGamma(a);
  long double gold = 0.0L;
  long double g = 0.0L;
  long double a0 = 1.0L;
  long double a1 = x;
  long double b0 = 0.0L;
  long double b1 = 1.0L;
  long double fac = 1.0L;
  for (int n = 1; n <= kMaxTerms; ++n) {
    const long double an = n;
    const long double ana = an - a;
    a0 = (a1 + a0 * ana) * fac;
    b0 = (b1 + b0 * ana) * fac;
    const long double anf = an * fac;
    a1 = x * a0 + anf * a1;
    b1 = x * b0 + anf * b1;
    if (std::fabs(a1) > kTiny) {
      fac = 1.0L / a1;
      g = b1 * fac;
      if (std::fabs((g - gold) / g) < kTolerance) break;
      gold = g;
    }
  }
  // Without convergence the last convergent stands.
  result = Prefactor(a, x, lnGammaA) * g;
}
