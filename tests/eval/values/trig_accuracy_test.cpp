// sin, cos and tan of the double value class against the library's long
// double functions, which the value class used before its own extended
// reduction and polynomials: after rounding to a double (the result class
// stores a double) the two may differ by at most one unit in the last place.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "eval/values/scalar_vars.h"

namespace {

constexpr int kSamples = 100000;
constexpr long double kTwoPow63 = 9223372036854775808.0L;

// The previous computation, kept as the reference.
long double ReferenceSin(long double x) { return std::fabs(x) >= kTwoPow63 ? 0.0L : std::sin(x); }
long double ReferenceCos(long double x) { return std::fabs(x) >= kTwoPow63 ? 0.0L : std::cos(x); }
long double ReferenceTan(long double x) { return std::tan(x); }

using TValueFunction = void (TJUXVar::*)(TJUXVar& result, TJUXExpression* sink) const;

struct TTrigCase {
  const char* Name;
  TValueFunction Function;
  long double (*Reference)(long double);
};

constexpr TTrigCase kTrigCases[] = {
    {"sin", &TJUXVar::FnSin, &ReferenceSin},
    {"cos", &TJUXVar::FnCos, &ReferenceCos},
    {"tan", &TJUXVar::FnTan, &ReferenceTan},
};

// Doubles ordered as integers, so that neighbours differ by 1.
int64_t OrderedBits(double v) {
  const auto bits = std::bit_cast<int64_t>(v);
  return bits < 0 ? std::numeric_limits<int64_t>::min() - bits : bits;
}

uint64_t UlpDistance(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : UINT64_MAX;
  if (a == b) return 0;  // also +0 and -0
  const int64_t ia = OrderedBits(a), ib = OrderedBits(b);
  return ia > ib ? static_cast<uint64_t>(ia) - static_cast<uint64_t>(ib)
                 : static_cast<uint64_t>(ib) - static_cast<uint64_t>(ia);
}

// Extended arguments of every kind the fast path meets: small and large
// angles with a full 64-bit mantissa, tiny ones, and angles close to
// multiples of pi/2, where the reduction cancels most bits.
std::vector<long double> Arguments() {
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<long double> unit(-1.0L, 1.0L);
  std::uniform_real_distribution<long double> exponent(-40.0L, 30.0L);
  std::uniform_int_distribution<int64_t> multiple(-2000000, 2000000);
  std::vector<long double> out;
  out.reserve(kSamples);
  for (int k = 0; out.size() < static_cast<size_t>(kSamples); ++k) {
    switch (k % 5) {
      case 0: out.push_back(4.0L * unit(random)); break;
      case 1: out.push_back(1e4L * unit(random)); break;
      case 2: out.push_back(std::ldexp(unit(random), static_cast<int>(exponent(random)))); break;
      case 3: {
        const long double offset = std::ldexp(unit(random), -static_cast<int>(10 + k % 30));
        out.push_back(static_cast<long double>(multiple(random)) * 1.5707963267948966192313216916397514L + offset);
        break;
      }
      default: out.push_back(static_cast<double>(1e3L * unit(random))); break;  // arguments that are doubles
    }
  }
  return out;
}

double Evaluate(const TTrigCase& c, long double x) {
  const TJUXVar_Double value(x);
  TJUXVar_Double result;
  (value.*c.Function)(result, nullptr);
  return result.AsDouble(nullptr);
}

TEST(JUXTrigAccuracy, WithinOneUlpOfTheLongDoubleLibrary) {
  const std::vector<long double> arguments = Arguments();
  for (const TTrigCase& c : kTrigCases) {
    SCOPED_TRACE(c.Name);
    uint64_t worst = 0;
    long double worstArgument = 0;
    int differing = 0;
    for (const long double x : arguments) {
      const double want = static_cast<double>(c.Reference(x));
      const uint64_t distance = UlpDistance(Evaluate(c, x), want);
      differing += distance != 0;
      if (distance > worst) {
        worst = distance;
        worstArgument = x;
      }
    }
    EXPECT_LE(worst, 1u) << "at " << static_cast<double>(worstArgument);
    // Most results are the same double; a difference is a rounding near a tie.
    EXPECT_LT(differing, kSamples / 100);
  }
}

TEST(JUXTrigAccuracy, EdgeArgumentsKeepTheReferenceSignAndValue) {
  const long double inf = std::numeric_limits<long double>::infinity();
  const long double edges[] = {0.0L, -0.0L, 1e-300L, -1e-4000L, 0x1p25L, 0x1.000002p25L, 1e10L, -1e18L,
                               kTwoPow63, -kTwoPow63, 1e30L, inf, -inf, std::numeric_limits<long double>::quiet_NaN()};
  for (const TTrigCase& c : kTrigCases) {
    for (const long double x : edges) {
      SCOPED_TRACE(std::string(c.Name) + " of " + std::to_string(static_cast<double>(x)));
      const double want = static_cast<double>(c.Reference(x));
      const double got = Evaluate(c, x);
      EXPECT_LE(UlpDistance(got, want), 1u);
      EXPECT_EQ(std::signbit(got), std::signbit(want));
    }
  }
}

}  // namespace
