// HSV and HLS on the 0..255 scale with the hue in degrees. The conversions
// to RGB are the pixel kernels of hsv_hls_rows.h.
#include "colour/rgb_spaces.h"

#include "colour/hsv_hls_rows.h"

namespace {

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

}  // namespace

THSV RGBToHSV(const TRGB& RGB) noexcept {
  const double max = Max3(RGB.R, RGB.G, RGB.B);
  const double min = Min3(RGB.R, RGB.G, RGB.B);
  if (max == min) return {0.0, max, 0.0};
  const double d = max - min;
  return {HueOf(RGB, max, d), max, 255.0 * d / max};
}

TRGB HSVToRGB(const THSV& HSV) noexcept { return colour_rows::HSVToRGB(HSV.H, HSV.V, HSV.S); }

THLS RGBToHLS(const TRGB& RGB) noexcept {
  const double max = Max3(RGB.R, RGB.G, RGB.B);
  const double min = Min3(RGB.R, RGB.G, RGB.B);
  const double L = (max + min) * 0.5;
  if (max == min) return {0.0, L, 0.0};
  const double d = max - min;
  const double S = L <= 127.5 ? 255.0 * d / (2.0 * L) : 255.0 * d / (510.0 - 2.0 * L);
  return {HueOf(RGB, max, d), L, S};
}

TRGB HLSToRGB(const THLS& HLS) noexcept { return colour_rows::HLSToRGB(HLS.H, HLS.L, HLS.S); }

TColor HLSToColor(const THLS& HLS) noexcept { return RGBToColor(HLSToRGB(HLS)); }
