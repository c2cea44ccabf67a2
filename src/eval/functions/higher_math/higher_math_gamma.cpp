#include "eval/functions/higher_math/higher_math.h"

#include <array>
#include <cmath>
#include <limits>

#include "eval/functions/higher_math/higher_math_internal.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// W. J. Cody's GAMMA (SPECFUN, ACM TOMS 715): numerator and denominator of
// the rational approximation on [1, 2), and the asymptotic series from 12 on.
constexpr std::array<double, 8> kGammaP = {
    -1.71618513886549492533811e+0, 2.47656508055759199108314e+1,
    -3.79804256470945635097577e+2, 6.29331155312818442661052e+2,
    8.66966202790413211295064e+2,  -3.14512729688483675254357e+4,
    -3.61444134186911729807069e+4, 6.64561438202405440627855e+4};
constexpr std::array<double, 8> kGammaQ = {
    -3.08402300119738975254353e+1, 3.15350626979604161529144e+2,
    -1.01515636749021914166146e+3, -3.10777167157231109440444e+3,
    2.25381184209801510330112e+4,  4.75584627752788110767815e+3,
    -1.34659959864969306392456e+5, -1.15132259675553483497211e+5};
constexpr std::array<double, 7> kGammaC = {
    -1.910444077728e-03,          8.4171387781295e-04,
    -5.952379913043012e-04,       7.93650793500350248e-04,
    -2.777777777777681622553e-03, 8.333333333333333331554247e-02,
    5.7083835261e-03};

// Cephes lgam: A is the asymptotic (Stirling) series, B / C the rational
// approximation on [2, 3]; C's leading coefficient 1 is implicit.
constexpr std::array<long double, 5> kLnGammaA = {
    8.11614167470508450300E-4L, -5.95061904284301438324E-4L, 7.93650340457716943945E-4L,
    -2.77777777730099687205E-3L, 8.33333333333331927722E-2L};
constexpr std::array<long double, 6> kLnGammaB = {
    -1.37825152569120859100E3L, -3.88016315134637840924E4L, -3.31612992738871184744E5L,
    -1.16237097492762307383E6L, -1.72173700820839662146E6L, -8.53555664245765465627E5L};
constexpr std::array<long double, 6> kLnGammaC = {
    -3.51815701436523470549E2L, -1.70642106651881159223E4L, -2.20528590553854454839E5L,
    -1.13933444367982507207E6L, -2.53252307177582951285E6L, -2.01889141433532773231E6L};

constexpr long double kLnGammaMax = 2.556348E305L;
constexpr long double kMinusInfinityEx = -std::numeric_limits<long double>::infinity();

// Gamma on [1, 2): the rational approximation in z = x - 1.
double GammaOneTwo(double x) {
  const double z = x - 1.0;
  double num = 0.0;
  double den = 1.0;
  for (int i = 0; i < 8; ++i) {
    num = (num + kGammaP[i]) * z;
    den = den * z + kGammaQ[i];
  }
  return num / den + 1.0;
}

}  // namespace

double GammaFunction(double x) {
  if (std::fabs(x) < 1E-16) return kInfinity;
  if (x < 0.0) {
    // Reflection: Gamma(-y) = -pi / (sin(pi y) Gamma(y + 1)), with the sign of
    // sin(pi y) taken from the parity of the integer part of y.
    const double y = -x;
    const double n = std::trunc(y);
    const double f = y - n;
    double s = static_cast<double>(kSpecialPi) / std::sin(static_cast<double>(kSpecialPi) * f);
    if (std::fabs(n / 2.0 - std::trunc(n / 2.0)) < 0.25) s = -s;
    // At a pole s is already the signed infinity; dividing it by Gamma(y + 1),
    // itself infinite beyond about -170, would turn it into NaN.
    if (f == 0.0) return s;
    return s / GammaFunction(y + 1.0);
  }
  if (x < 1.0) return GammaFunction(x + 1.0) / x;
  if (x < 2.0) return GammaOneTwo(x);
  if (x < 12.0) {
    double y = x - std::trunc(x) + 1.0;
    double r = GammaOneTwo(y);
    for (int i = static_cast<int>(std::trunc(x)) - 1; i > 0; --i) {
      r *= y;
      y += 1.0;
    }
    return r;
  }
  const double xsq = x * x;
  double s = kGammaC[6];
  for (int i = 0; i < 6; ++i) s = s / xsq + kGammaC[i];
  s = s / x - x + static_cast<double>(kSpecialLnSqrt2Pi);
  s += (x - 0.5) * std::log(x);
  return std::exp(s);
}

long double EvalPolynomial(std::span<const long double> coefficients, int n, long double x) {
  long double sum = coefficients[n];
  long double power = 1.0L;
  for (int i = n - 1; i >= 0; --i) {
    power *= x;
    sum += coefficients[i] * power;
  }
  return sum;
}

long double LnGamma(long double x) {
  if (x < -34.0L) {
    const long double q = -x;
    const long double w = LnGamma(q);
    long double p = std::trunc(q);
    if (p == q) return kMinusInfinityEx;
    long double z = q - p;
    if (z > 0.5L) {
      p += 1.0L;
      z = p - q;
    }
    z = q * std::sin(kSpecialPi * z);
    if (z == 0.0L) return kMinusInfinityEx;
    return std::log(kSpecialPi) - std::log(z) - w;
  }
  if (x <= 13.0L) {
    long double z = 1.0L;
    while (x >= 3.0L) {
      x -= 1.0L;
      z *= x;
    }
    while (x < 2.0L) {
      if (x == 0.0L) return kMinusInfinityEx;
      z /= x;
      x += 1.0L;
    }
    if (z < 0.0L) z = -z;
    if (x == 2.0L) return std::log(z);
    x -= 2.0L;
    // Denominator: x^6 + C[0] x^5 + ... + C[5].
    long double x6 = x * x * x;
    x6 *= x6;
    const long double den = x6 + EvalPolynomial(kLnGammaC, 5, x);
    return std::log(z) + x * EvalPolynomial(kLnGammaB, 5, x) / den;
  }
  if (x > kLnGammaMax) return kMinusInfinityEx;
  long double q = (x - 0.5L) * std::log(x) - x + kSpecialLnSqrt2Pi;
  if (x > 1E8L) return q;
  const long double p = 1.0L / (x * x);
  if (x >= 1000.0L)
    q += ((p / 1260.0L - 1.0L / 360.0L) * p + 1.0L / 12.0L) / x;
  else
    q += EvalPolynomial(kLnGammaA, 4, p) / x;
  return q;
}
