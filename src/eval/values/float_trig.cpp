// sin, cos and tan in extended precision without the library's long double
// routines (over 100 ns each): the argument is reduced by pi/2 in extended
// precision and the reduced angle goes through Taylor polynomials that are
// accurate far below a double's last bit, which is all a result keeps.
#include "eval/values/float_math_internal.h"

#include <array>

namespace jux_math {
namespace {

// pi/2 in three parts: kPio2Hi has 33 significant bits and kPio2Mid the next
// 32, so that n * kPio2Hi and n * kPio2Mid are exact for |n| < 2^31;
// kPio2Lo holds the following 64 bits.
constexpr long double kPio2Hi = 0x1921fb544p-32L;
constexpr long double kPio2Mid = 0x42d18469p-64L;
constexpr long double kPio2Lo = 0x898cc51701b839a2p-128L;
constexpr long double kTwoOverPi = 0x28be60db9391054a7fp-70L;
// Adding and subtracting 1.5 * 2^63 rounds an extended value to an integer.
constexpr long double kRoundShift = 0x1.8p63L;
// Beyond this the three-part reduction loses bits: the library takes over.
constexpr long double kFastLimit = 0x1p25L;
// A reduced angle this close to 0 for n != 0 means x lies next to a multiple
// of pi/2, where the reduction's absolute error would matter relative to the
// angle; the library's exact reduction takes over there.
constexpr long double kTinyReduced = 0x1p-20L;

constexpr long double InverseFactorial(int n) {
  long double f = 1.0L;
  for (int k = 2; k <= n; ++k) f *= k;  // exact up to 20!
  return 1.0L / f;
}

// Coefficients of z = r^2 for |r| <= pi/4: sin r = r (1 + z S(z)) and
// cos r = 1 + z C(z); the first omitted terms are below 2^-70 relative.
constexpr std::array<long double, 9> kSinCoefficients = {
    -InverseFactorial(3),  InverseFactorial(5),  -InverseFactorial(7),
    InverseFactorial(9),   -InverseFactorial(11), InverseFactorial(13),
    -InverseFactorial(15), InverseFactorial(17),  -InverseFactorial(19)};
constexpr std::array<long double, 9> kCosCoefficients = {
    -InverseFactorial(2),  InverseFactorial(4),  -InverseFactorial(6),
    InverseFactorial(8),   -InverseFactorial(10), InverseFactorial(12),
    -InverseFactorial(14), InverseFactorial(16),  -InverseFactorial(18)};

// c[0] + c[1] z + ... + c[8] z^8 in Estrin's order: independent pairs first,
// so that the processor overlaps them (Horner's chain of dependent steps
// takes about twice as long).
long double Polynomial(const std::array<long double, 9>& c, long double z) {
  const long double z2 = z * z;
  const long double z4 = z2 * z2;
  const long double low = (c[0] + c[1] * z) + z2 * (c[2] + c[3] * z);
  const long double high = (c[4] + c[5] * z) + z2 * (c[6] + c[7] * z);
  return low + z4 * (high + z4 * c[8]);
}

// z = 0 (r is zero or below 2^-8000) returns r itself, which keeps the sign of -0.
long double SinKernel(long double r, long double z) { return z == 0 ? r : r + r * (z * Polynomial(kSinCoefficients, z)); }
long double CosKernel(long double z) { return 1.0L + z * Polynomial(kCosCoefficients, z); }

// x = n pi/2 + r with |r| about pi/4 at most; false when the fast
// reduction does not apply (large, non-finite or near a multiple of pi/2).
bool Reduce(long double x, long double& r, unsigned& quadrant) {
  if (!(std::fabs(x) <= kFastLimit)) return false;
  const long double n = (x * kTwoOverPi + kRoundShift) - kRoundShift;
  if (n == 0) {
    r = x;
    quadrant = 0;
    return true;
  }
  r = ((x - n * kPio2Hi) - n * kPio2Mid) - n * kPio2Lo;
  quadrant = static_cast<unsigned>(static_cast<int64_t>(n)) & 3u;
  return std::fabs(r) >= kTinyReduced;
}

}  // namespace

long double SinExtended(long double x) {
  long double r;
  unsigned quadrant;
  if (!Reduce(x, r, quadrant)) return std::sin(x);
  const long double z = r * r;
  const long double value = (quadrant & 1u) ? CosKernel(z) : SinKernel(r, z);
  return (quadrant & 2u) ? -value : value;
}

long double CosExtended(long double x) {
  long double r;
  unsigned quadrant;
  if (!Reduce(x, r, quadrant)) return std::cos(x);
  const long double z = r * r;
  const long double value = (quadrant & 1u) ? SinKernel(r, z) : CosKernel(z);
  return (quadrant == 1u || quadrant == 2u) ? -value : value;
}

long double TanExtended(long double x) {
  long double r;
  unsigned quadrant;
  if (!Reduce(x, r, quadrant)) return std::tan(x);
  const long double z = r * r;
  const long double s = SinKernel(r, z);
  const long double c = CosKernel(z);
  return (quadrant & 1u) ? -c / s : s / c;
}

}  // namespace jux_math
