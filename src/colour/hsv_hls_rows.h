#pragma once
// HSVToRGB and HLSToRGB as inline kernels for pixel loops, split so that a
// loop can take the hue in sixths or turns directly and compute the HLS
// levels of a whole row at one lightness at once. The library's HSVToRGB and
// HLSToRGB run these same kernels, so a pixel converted here gives exactly
// their result. Rounding is done in registers, and a hue already in
// [0, 360) skips the reduction.

#include <cmath>
#include <span>

#include "colour/colour_records.h"

namespace colour_rows {

// RoundDouble as a double: nearest, ties to even; NaN and values outside the
// 32-bit range give -2147483648.
inline double Round(double x) noexcept {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52
  constexpr double kExact = 2251799813685248.0;  // 2^51: below it the magic sum rounds
  const double r = std::fabs(x) < kExact ? (x + kMagic) - kMagic : x;
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return -2147483648.0;
  return r;
}

// Hue reduced into [0, 360]. fmod keeps a huge hue from looping for ever; a
// hue just below 0 can land on 360 itself, which the callers accept.
inline double ReduceHue(double H) noexcept {
  if (H >= 0.0 && H < 360.0) return H;  // fmod would return it unchanged
  H = std::fmod(H, 360.0);
  if (H < 0.0) H += 360.0;
  return H;
}

// The lowest level p = (255 - S) V / 255 of an HSV colour (S not 0): every
// such colour has one component at it, whatever the hue.
inline double HSVLowLevel(double V, double S) noexcept { return (255.0 - S) * (V / 255.0); }

// HSVToRGB from the hue in sixths of a turn, 0..6 (S not 0).
[[gnu::always_inline]] inline TRGB HSVFromSixths(double h, double V, double S) noexcept {
  // Truncation into 0..5; h = 6 (a hue that reduced to 360) and NaN stay in range.
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

// HSVToRGB of (H, V, S).
[[gnu::always_inline]] inline TRGB HSVToRGB(double H, double V, double S) noexcept {
  if (S == 0.0) {
    const double g = Round(V);  // grey: no upper limit
    return {g, g, g};
  }
  return HSVFromSixths(ReduceHue(H) / 60.0, V, S);
}

// One HLS component from the hue position x (in turns) and the two levels.
[[gnu::always_inline]] inline double HLSComponent(double m1, double m2, double x) noexcept {
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
inline void HLSLevels(double L, double S, double& m1, double& m2) noexcept {
  m2 = L >= 127.5 ? L + S - L * S / 255.0 : L * (255.0 + S) / 255.0;
  m1 = 2.0 * L - m2;
}

// HLSLevels of every saturation S[i] of a row at lightness L, into m1[i] and
// m2[i]; two at a time where the processor allows, with the same operations
// in the same order, so the same values. The three spans must have one
// length (EAssertionFailed otherwise).
void HLSLevelsRow(double L, std::span<const double> S, std::span<double> m1, std::span<double> m2);

// HLSToRGB from the hue in turns, 0..1, and the two levels (S not 0).
[[gnu::always_inline]] inline TRGB HLSFromTurns(double h, double m1, double m2) noexcept {
  return {Round(HLSComponent(m1, m2, h + 1.0 / 3.0)), Round(HLSComponent(m1, m2, h)),
          Round(HLSComponent(m1, m2, h - 1.0 / 3.0))};
}

// HLSToRGB of (H, L, S).
[[gnu::always_inline]] inline TRGB HLSToRGB(double H, double L, double S) noexcept {
  if (S == 0.0) {
    const double g = Round(L);
    return {g, g, g};
  }
  double m1, m2;
  HLSLevels(L, S, m1, m2);
  return HLSFromTurns(ReduceHue(H) / 360.0, m1, m2);
}

}  // namespace colour_rows
