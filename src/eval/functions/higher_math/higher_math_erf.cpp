#include "eval/functions/higher_math/higher_math.h"

#include <array>
#include <cmath>

#include "eval/functions/higher_math/higher_math_internal.h"

namespace {

// W. J. Cody's CALERF (SPECFUN, ACM TOMS 715). A / B: erf for |x| <= 0.46875;
// C / D: erfc for 0.46875 < |x| <= 4; P / Q: erfc for |x| > 4.
constexpr std::array<long double, 5> kErfA = {
    3.16112374387056560e00L, 1.13864154151050156e02L, 3.77485237685302021e02L,
    3.20937758913846947e03L, 1.85777706184603153e-1L};
constexpr std::array<long double, 4> kErfB = {
    2.36012909523441209e01L, 2.44024637934444173e02L, 1.28261652607737228e03L,
    2.84423683343917062e03L};
constexpr std::array<long double, 9> kErfC = {
    5.64188496988670089e-1L, 8.88314979438837594e00L, 6.61191906371416295e01L,
    2.98635138197400131e02L, 8.81952221241769090e02L, 1.71204761263407058e03L,
    2.05107837782607147e03L, 1.23033935479799725e03L, 2.15311535474403846e-8L};
constexpr std::array<long double, 8> kErfD = {
    1.57449261107098347e01L, 1.17693950891312499e02L, 5.37181101862009858e02L,
    1.62138957456669019e03L, 3.29079923573345963e03L, 4.36261909014324716e03L,
    3.43936767414372164e03L, 1.23033935480374942e03L};
constexpr std::array<long double, 6> kErfP = {
    3.05326634961232344e-1L, 3.60344899949804439e-1L, 1.25781726111229246e-1L,
    1.60837851487422766e-2L, 6.58749161529837803e-4L, 1.63153871373020978e-2L};
constexpr std::array<long double, 5> kErfQ = {
    2.56852019228982242e00L, 1.87295284992346047e00L, 5.27905102951428412e-1L,
    6.05183413124413191e-2L, 2.33520497626869185e-3L};

constexpr long double kThreshold = 0.46875L;

// One of Cody's rational approximations in s: numerator and denominator,
// each with its last coefficient added (a has one coefficient more than b).
struct TRational {
  long double Num;
  long double Den;
};
template <size_t N>
TRational Rational(const std::array<long double, N + 1>& a, const std::array<long double, N>& b, long double s) {
  long double num = a[N] * s;
  long double den = s;
  for (size_t i = 0; i + 1 < N; ++i) {
    num = (num + a[i]) * s;
    den = (den + b[i]) * s;
  }
  return {num + a[N - 1], den + b[N - 1]};
}

// e^(-y^2) r, with y^2 split at a multiple of 1/16 so that the large part is
// exact and the exponent loses no accuracy.
long double Damp(long double y, long double r) {
  const long double t = std::trunc(16.0L * y) / 16.0L;
  const long double d = (y - t) * (y + t);
  return std::exp(-t * t) * std::exp(-d) * r;
}

}  // namespace

long double ErfCore(int kind, long double x) {
  const long double y = std::fabs(x);
  long double r;
  if (y <= kThreshold) {
    const TRational q = Rational(kErfA, kErfB, y * y);
    r = x * q.Num / q.Den;
    return kind == 0 ? r : 1.0L - r;
  }
  if (y <= 4.0L) {
    const TRational q = Rational(kErfC, kErfD, y);
    r = Damp(y, q.Num / q.Den);
  } else if (std::isinf(y)) {
    // erfc(infinity) is 0; the damping would compute infinity - infinity.
    r = 0.0L;
  } else {
    const long double s = 1.0L / (y * y);
    const TRational q = Rational(kErfP, kErfQ, s);
    r = s * q.Num / q.Den;
    r = Damp(y, (1.0L / std::sqrt(kSpecialPi) - r) / y);
    if (std::isinf(static_cast<double>(r))) r = 0.0L;
  }
  // r is erfc(|x|) here.
  if (kind == 0) {
    if (x > kThreshold) return 1.0L - r;
    if (x < -kThreshold) return r - 1.0L;
    return r;  // NaN only
  }
  if (x < -kThreshold) return 2.0L - r;
  return r;
}
