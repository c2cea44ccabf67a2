// HSV and HLS on the 0..255 scale with the hue in degrees.
#include "colour/rgb_spaces.h"

#include <cmath>

#include "foundation/rounding.h"

namespace {

double Round(double c) noexcept { return static_cast<double>(RoundDouble(c)); }

// Hue reduced into [0, 360]. fmod keeps a huge hue from looping for ever; a
// hue just below 0 can land on 360 itself, which the callers accept.
double ReduceHue(double H) noexcept {
  H = std::fmod(H, 360.0);
  if (H < 0.0) H += 360.0;
  return H;
}

// Shared hue of RGBToHSV and RGBToHLS; the test order R, G, B settles ties.
double HueOf(const TRGB& c, double max, double d) noexcept {
  double H;
  if (c.R == max) {
    H = (c.G - c.B) / d;
  } else if (c.G == max) {
    H = 2.0 + (c.B - c.R) / d;
  } else {
    H = 4.0 + (c.R - c.G) / d;
  }
  H = 60.0 * H;
  if (H < 0.0) H += 360.0;
  return H;
}

// Which of (V, p, q, t) goes to R, G and B in each 60-degree sector.
enum : int { kV, kP, kQ, kT };
constexpr int kSectorPick[6][3] = {
    {kV, kT, kP}, {kQ, kV, kP}, {kP, kV, kT}, {kP, kQ, kV}, {kT, kP, kV}, {kV, kP, kQ}};

// One HLS component from the hue position x (in turns) and the two levels.
double HLSComponent(double m1, double m2, double x) noexcept {
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

}  // namespace

THSV RGBToHSV(const TRGB& RGB) noexcept {
  const double max = Max3(RGB.R, RGB.G, RGB.B);
  const double min = Min3(RGB.R, RGB.G, RGB.B);
  if (max == min) return {0.0, max, 0.0};
  const double d = max - min;
  return {HueOf(RGB, max, d), max, 255.0 * d / max};
}

TRGB HSVToRGB(const THSV& HSV) noexcept {
  if (HSV.S == 0.0) {
    const double g = Round(HSV.V);  // grey: no upper limit
    return {g, g, g};
  }
  const double h = ReduceHue(HSV.H) / 60.0;
  // Truncation into 0..5; h = 6 (a hue that reduced to 360) and NaN stay in range.
  const int i = h >= 5.0 ? 5 : (h >= 0.0 ? static_cast<int>(h) : 0);
  const double f = h - i;
  const double k = HSV.V / 255.0;
  const double level[4] = {
      HSV.V,                              // kV
      (255.0 - HSV.S) * k,                // kP
      (255.0 - HSV.S * f) * k,            // kQ
      (255.0 - (1.0 - f) * HSV.S) * k,    // kT
  };
  const int* pick = kSectorPick[i];
  auto out = [&](int n) { return std::fmin(Round(level[pick[n]]), 255.0); };
  return {out(0), out(1), out(2)};
}

THLS RGBToHLS(const TRGB& RGB) noexcept {
  const double max = Max3(RGB.R, RGB.G, RGB.B);
  const double min = Min3(RGB.R, RGB.G, RGB.B);
  const double L = (max + min) * 0.5;
  if (max == min) return {0.0, L, 0.0};
  const double d = max - min;
  const double S = L <= 127.5 ? 255.0 * d / (2.0 * L) : 255.0 * d / (510.0 - 2.0 * L);
  return {HueOf(RGB, max, d), L, S};
}

TRGB HLSToRGB(const THLS& HLS) noexcept {
  if (HLS.S == 0.0) {
    const double g = Round(HLS.L);
    return {g, g, g};
  }
  const double h = ReduceHue(HLS.H) / 360.0;
  const double L = HLS.L;
  const double S = HLS.S;
  const double m2 = L >= 127.5 ? L + S - L * S / 255.0 : L * (255.0 + S) / 255.0;
  const double m1 = 2.0 * L - m2;
  return {Round(HLSComponent(m1, m2, h + 1.0 / 3.0)), Round(HLSComponent(m1, m2, h)),
          Round(HLSComponent(m1, m2, h - 1.0 / 3.0))};
}

TColor HLSToColor(const THLS& HLS) noexcept { return RGBToColor(HLSToRGB(HLS)); }
