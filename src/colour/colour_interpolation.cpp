#include "colour/colour_interpolation.h"

#include <climits>
#include <cmath>
#include <numbers>

#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"

namespace {

constexpr long double kPiL = std::numbers::pi_v<long double>;

// One run of steps of the repeated subtraction inside one binade. Within a
// binade every step rounds the divisor to the same multiple of its ulp (after
// at most one step when the divisor sits exactly half-way between two), so
// once two consecutive steps there were equal, the next ones are too as long
// as the exact difference stays in the binade. Returns how many steps it
// took off `value`; counts and results are those of the plain loop.
double SkipEqualSteps(double& value, double divisor, double step) {
  const double binadeFloor = std::ldexp(1.0, std::ilogb(value));
  // Every skipped step starts at least `divisor + step` above the floor, with
  // one further step of margin for the rounding of `room` itself.
  const double room = value - binadeFloor - divisor;
  if (!(room > 2 * step)) return 0;
  const double n = std::floor(room / step) - 1;
  value -= n * step;  // exact: a multiple of the ulp that stays in the binade
  return n;
}

}  // namespace

double InterpolateHue(double t, double FromHue, double ToHue) noexcept {
  double f = FloatMod(FromHue, 360);
  const double g = FloatMod(ToHue, 360);
  if (std::fabs(g - f) > 180) f += f < g ? 360 : -360;
  return FloatMod((1 - t) * f + t * g, 360);
}

TRGB LerpRGB(const TRGB& A, const TRGB& B, double t) noexcept {
  return {(1 - t) * A.R + t * B.R, (1 - t) * A.G + t * B.G, (1 - t) * A.B + t * B.B};
}

TLuv LerpLuv(const TLuv& A, const TLuv& B, double t) noexcept {
  return {(1 - t) * A.L + t * B.L, (1 - t) * A.u + t * B.u, (1 - t) * A.v + t * B.v};
}

TLCh LerpLCh(const TLCh& A, const TLCh& B, double t) noexcept {
  return {(1 - t) * A.L + t * B.L, (1 - t) * A.C + t * B.C, InterpolateHue(t, A.h, B.h)};
}

TColor BlendColors(TColor A, TColor B, double t) noexcept {
  return RGBToColor(LerpRGB(ColorToRGB(A), ColorToRGB(B), t));
}

double FloatMod(double Value, double Modulus) noexcept {
  const double q = Value / Modulus;
  double r = (q - std::trunc(q)) * Modulus;
  if (r < 0) r += Modulus;
  return r;
}

double FloatQuotient(double Value, double Divisor) {
  Require(Divisor != 0, "FloatQuotient needs a non-zero divisor");
  if (Divisor < 0) {
    Value = -Value;
    Divisor = -Divisor;
  }
  const double original = Value;
  double q = 0;
  int lastBinade = INT_MIN;  // binade of the last step, when it stayed inside one
  double lastStep = 0;
  while (Value >= Divisor) {
    double next = Value - Divisor;
    // No progress: the divisor is below half an ulp of the value (or the
    // value is infinite), so the subtraction loop would never end.
    if (next == Value) return std::floor(original / Divisor);
    q += 1;
    const double step = Value - next;  // exact when next stays in Value's binade
    const int binade = std::ilogb(Value);
    const bool inBinade = std::ilogb(next) == binade;
    if (inBinade && binade == lastBinade && step == lastStep)
      q += SkipEqualSteps(next, Divisor, step);
    lastBinade = inBinade ? binade : INT_MIN;
    lastStep = step;
    Value = next;
  }
  return q;
}

double RadToDegree(double x) noexcept {
  return static_cast<double>(x * (180.0L / kPiL));
}

double DegreeToRad(double x) noexcept {
  return static_cast<double>(x * (kPiL / 180.0L));
}
