#pragma once
// The floating-point algorithms shared by the double and integer value
// classes: in-place arithmetic edge rules and the mathematical functions in
// extended precision. A function sets `domainError` where the language flags
// kind 3 (the value returned is then the language's fixed answer).

#include <cmath>
#include <cstdint>
#include <limits>

namespace jux_math {

inline constexpr long double kInf = std::numeric_limits<long double>::infinity();
// The square root of 1.1E4932, the largest extended value used as a limit.
inline const long double kSqrtMaxExtended = std::sqrt(1.1E4932L);

inline long double Sign(long double v) { return v > 0 ? 1.0L : (v < 0 ? -1.0L : 0.0L); }

// Truncation toward zero to a 64-bit integer; out of range and NaN give the
// processor's "integer indefinite" (INT64_MIN), never undefined behaviour.
inline int64_t TruncToInt64(long double v) {
  if (!(v > -9223372036854775808.0L && v < 9223372036854775808.0L)) return INT64_MIN;
  return static_cast<int64_t>(v);
}

inline long double Multiply(long double a, long double b) {
  if (std::fabs(a) < kSqrtMaxExtended && std::fabs(b) < kSqrtMaxExtended) return a * b;
  return Sign(a) * kInf * Sign(b);  // a zero operand gives NaN
}

// Divides; a zero divisor gives +inf for 0 / 0, else sign(a) * inf.
inline long double Divide(long double a, long double b, bool& divByZero) {
  divByZero = b == 0;
  if (!divByZero) return a / b;
  return a == 0 ? kInf : Sign(a) * kInf;
}

inline long double Mod(long double a, long double b) {
  if (b == 0) return a;
  const long double quotient = a / b;
  // A finite quotient beyond 64 bits has no integer q; the exact remainder
  // (sign of a) replaces a - INT64_MIN * b, which would exceed the divisor.
  if (std::isfinite(quotient) && std::fabs(quotient) >= 9223372036854775808.0L) return std::fmod(a, b);
  const int64_t q = TruncToInt64(quotient);
  return a - static_cast<long double>(q) * b;
}

using TUnaryFn = long double (*)(long double x, bool& domainError);
using TBinaryFn = long double (*)(long double x, long double y, bool& domainError);

inline long double Abs(long double x, bool&) { return std::fabs(x); }
// sin, cos and tan of an extended argument (float_trig.cpp): within the
// last bit of a double of the library's long double results, which they
// replace for speed; they fall back to those where the fast reduction does
// not apply.
long double SinExtended(long double x);
long double CosExtended(long double x);
long double TanExtended(long double x);

inline long double Sin(long double x, bool&) { return std::fabs(x) >= 9223372036854775808.0L ? 0.0L : SinExtended(x); }
inline long double Cos(long double x, bool&) { return std::fabs(x) >= 9223372036854775808.0L ? 0.0L : CosExtended(x); }
inline long double Tan(long double x, bool&) { return TanExtended(x); }
inline long double Atan(long double x, bool&) { return std::atan(x); }
inline long double Atan2(long double x, long double y, bool& domainError) {
  domainError = y == 0;
  return domainError ? kInf : std::atan2(x, y);
}
inline long double Log(long double x, bool& domainError) {
  domainError = x <= 0;
  return domainError ? -kInf : std::log10(x);
}
inline long double Ln(long double x, bool& domainError) {
  domainError = x <= 0;
  return domainError ? -kInf : std::log(x);
}
inline long double Sqrt(long double x, bool& domainError) {
  domainError = x < 0;
  return domainError ? kInf : std::sqrt(x);
}
inline long double Sqr(long double x, bool& domainError) {
  domainError = !(std::fabs(x) < kSqrtMaxExtended);
  return domainError ? kInf : x * x;
}
inline long double Exp(long double x, bool&) { return std::exp(x); }

inline long double Power(long double x, long double y, bool& domainError) {
  domainError = false;
  if (y == 0) return 1.0L;
  if (x == 0 && y > 0) return 0.0L;
  if (y == std::trunc(y) && std::fabs(y) <= 2147483647.0L) {
    // Repeated multiplication (by squaring), so that a negative base works.
    uint64_t n = static_cast<uint64_t>(std::fabs(y));
    long double base = x, result = 1.0L;
    while (n != 0) {
      if (n & 1) result *= base;
      base *= base;
      n >>= 1;
    }
    return y < 0 ? 1.0L / result : result;
  }
  if (x < 0) {
    domainError = true;
    return kInf;
  }
  return std::exp(y * std::log(x));
}

}  // namespace jux_math
