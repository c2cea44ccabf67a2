#include "eval/functions/higher_math/higher_math.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "eval/functions/higher_math/higher_math_internal.h"

namespace {

constexpr long double kMinusInfinityEx = -std::numeric_limits<long double>::infinity();
constexpr long double kMaxWholeExponent = 2147483647.0L;

}  // namespace

long double DistPower(long double x, long double y) {
  if (y == 0.0L) return 1.0L;
  if (x == 0.0L && y > 0.0L) return 0.0L;
  if (y == std::trunc(y) && std::fabs(y) <= kMaxWholeExponent) {
    auto n = static_cast<uint32_t>(std::fabs(y));
    long double base = x;
    long double result = 1.0L;
    while (n != 0) {
      if (n & 1u) result *= base;
      base *= base;
      n >>= 1;
    }
    return y < 0.0L ? 1.0L / result : result;
  }
  return std::exp(y * std::log(x));
}

long double GammaDensity(long double x, long double lambda, long double r) {
  if (x < 0.0L || lambda <= 0.0L || r <= 0.0L) return kMinusInfinityEx;
  const double gamma = GammaFunction(static_cast<double>(lambda));
  // Beyond a shape of about 171.6 Gamma(lambda) overflows a double and the
  // direct form would give 0 or NaN; the logarithmic form stays finite.
  if (std::isinf(gamma) && std::isfinite(lambda))
    return std::exp((lambda - 1.0L) * std::log(x) - x / r - LnGamma(lambda) - lambda * std::log(r));
  return DistPower(x, lambda - 1.0L) * std::exp(-x / r) / gamma / DistPower(r, lambda);
}

long double ChiSquareDensity(long double x, long double k) {
  if (x <= 0.0L || k <= 0.0L) return kMinusInfinityEx;
  const long double half = k / 2.0L;
  const double gamma = GammaFunction(static_cast<double>(half));
  // As for the gamma density (the chi-square density is one with scale 2).
  if (std::isinf(gamma) && std::isfinite(half))
    return std::exp(-half * std::log(2.0L) + (half - 1.0L) * std::log(x) - x / 2.0L - LnGamma(half));
  return DistPower(0.5L, half) * DistPower(x, half - 1.0L) * std::exp(-x / 2.0L) / gamma;
}

long double ChiSquareDistribution(long double x, long double k) {
  return IncGammaP(k / 2.0L, x / 2.0L);
}

long double NormalDensity(long double x, long double mean, long double std) {
  if (std <= 0.0L) return kMinusInfinityEx;
  // The language's normaldist divides by sqrt(2 pi std), not std * sqrt(2 pi):
  // stored expressions rely on these values, so it is kept as it is defined.
  const long double d = x - mean;
  return std::exp(-(d * d) / 2.0L / (std * std)) / std::sqrt(2.0L * kSpecialPi * std);
}

long double NormalUpperTail(long double x, long double mean, long double std) {
  // The integral of NormalDensity from x on: sqrt(std) times the upper-tail
  // probability. std is not tested: a negative one gives NaN through the root.
  const long double sign = std > 0.0L ? 1.0L : (std < 0.0L ? -1.0L : 0.0L);
  return std::sqrt(std) / 2.0L * (ErfCore(0, std::sqrt(2.0L) * (mean - x) / std / 2.0L) + sign);
}
