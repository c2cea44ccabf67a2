#pragma once
// HLSToRGB and HSVToRGB of the colour library as inline code for the pixel
// loop of the colour field: the same operations in the same order, so the
// same results, but with the rounding done in registers and the hue
// reduction skipped for hues already in [0, 360). The field's tests compare
// every pixel against the library functions.

#include <cmath>

#include "colour/colour_records.h"

namespace device_kernels {

// RoundDouble as a double: nearest, ties to even; NaN and values outside the
// 32-bit range give -2147483648.
inline double Round(double x) {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52
  constexpr double kExact = 2251799813685248.0;  // 2^51: below it the magic sum rounds
  const double r = std::fabs(x) < kExact ? (x + kMagic) - kMagic : x;
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return -2147483648.0;
  return r;
}

// fmod(H, 360) lifted into [0, 360]; fmod returns a hue in [0, 360) unchanged.
inline double ReduceHue(double H) {
  if (H >= 0.0 && H < 360.0) return H;
  H = std::fmod(H, 360.0);
  if (H < 0.0) H += 360.0;
  return H;
}

// HSVToRGB from the hue in sixths of a turn, 0..6 (S not 0).
[[gnu::always_inline]] inline TRGB HSVFromSixths(double h, double V, double S) {
  const int i = h >= 5.0 ? 5 : (h >= 0.0 ? static_cast<int>(h) : 0);
  const double f = h - i;
  const double k = V / 255.0;
  const double v = V;
  const double p = (255.0 - S) * k;
  const double q = (255.0 - S * f) * k;
  const double t = (255.0 - (1.0 - f) * S) * k;
  auto out = [](double level) { return std::fmin(Round(level), 255.0); };
  switch (i) {
    case 0: return {out(v), out(t), out(p)};
    case 1: return {out(q), out(v), out(p)};
    case 2: return {out(p), out(v), out(t)};
    case 3: return {out(p), out(q), out(v)};
    case 4: return {out(t), out(p), out(v)};
    default: return {out(v), out(p), out(q)};
  }
}

[[gnu::always_inline]] inline TRGB HSVToRGB(double H, double V, double S) {
  if (S == 0.0) {
    const double g = Round(V);
    return {g, g, g};
  }
  return HSVFromSixths(ReduceHue(H) / 60.0, V, S);
}

[[gnu::always_inline]] inline double HLSComponent(double m1, double m2, double x) {
  if (x > 1.0) {
    x -= 1.0;
  } else if (x < 0.0) {
    x += 1.0;
  }
  if (x < 1.0 / 6.0) return m1 + (m2 - m1) * 6.0 * x;
  if (x < 0.5) return m2;
  if (x < 2.0 / 3.0) return m1 + (m2 - m1) * (2.0 / 3.0 - x) * 6.0;
  return m1;
}

// The two levels of HLSToRGB: every colour has one component at m2 and one
// at m1, whatever its hue.
inline void HLSLevels(double L, double S, double& m1, double& m2) {
  m2 = L >= 127.5 ? L + S - L * S / 255.0 : L * (255.0 + S) / 255.0;
  m1 = 2.0 * L - m2;
}

// HLSToRGB from the hue in turns, 0..1, and the two levels (S not 0).
[[gnu::always_inline]] inline TRGB HLSFromTurns(double h, double m1, double m2) {
  return {Round(HLSComponent(m1, m2, h + 1.0 / 3.0)), Round(HLSComponent(m1, m2, h)),
          Round(HLSComponent(m1, m2, h - 1.0 / 3.0))};
}

[[gnu::always_inline]] inline TRGB HLSToRGB(double H, double L, double S) {
  if (S == 0.0) {
    const double g = Round(L);
    return {g, g, g};
  }
  double m1, m2;
  HLSLevels(L, S, m1, m2);
  return HLSFromTurns(ReduceHue(H) / 360.0, m1, m2);
}

}  // namespace device_kernels
