#include "colour/gamut.h"

#include <algorithm>
#include <cmath>

#include "colour/cie_spaces.h"
#include "colour/colour_interpolation.h"
#include "colour/rgb_spaces.h"

namespace {

constexpr int kNumCorners = 6;

// Channels of each sector between corner k and corner k + 1: the one at 255,
// the one at 0 and the one solved for the hue (R = 0, G = 1, B = 2).
struct TSectorChannels {
  int Full, Zero, Solved;
};
constexpr TSectorChannels kSectorChannels[kNumCorners] = {
    {0, 2, 1},  // red -> yellow
    {1, 2, 0},  // yellow -> green
    {1, 0, 2},  // green -> cyan
    {2, 0, 1},  // cyan -> blue
    {2, 1, 0},  // blue -> magenta
    {0, 1, 2},  // magenta -> red
};

using TCornerTable = std::array<std::array<TCornerHues, kNumReferenceWhites>, kNumRGBConversions>;

// Corner hues of every working space and white, built on first use and
// never changed after. Keyed on the settings' values, not on the record's
// address, since the one record of the tool is changed in place.
const TCornerHues& CachedCornerHues(const TColorSettings* Settings) {
  static const TCornerTable table = [] {
    TCornerTable t{};
    for (int space = 0; space < kNumRGBConversions; ++space)
      for (int white = 0; white < kNumReferenceWhites; ++white) {
        TColorSettings s;
        s.RGBConversion = static_cast<uint8_t>(space);
        s.ReferenceWhite = static_cast<uint8_t>(white);
        t[space][white] = ComputeCornerHues(&s);
      }
    return t;
  }();
  const TColorSettings& s = Settings ? *Settings : kDefaultColorSettings;
  return table[s.RGBConversion][s.ReferenceWhite];
}

// The sector whose corner hues hold Hue; the sector that wraps across 0
// degrees takes every hue that reaches it.
int SectorOf(double Hue, const TCornerHues& h) {
  for (int k = 0; k < kNumCorners; ++k) {
    const double from = h[k];
    const double to = h[(k + 1) % kNumCorners];
    if (from >= to || (from <= Hue && Hue < to)) return k;
  }
  return kNumCorners - 1;  // Can't happen: the corner hues go once round the circle.
}

}  // namespace

TCornerHues ComputeCornerHues(const TColorSettings* Settings) {
  TCornerHues hues{};
  for (int k = 0; k < kNumCorners; ++k) {
    const TRGB corner = HSVToRGB(THSV{60.0 * k, 255, 255});
    hues[k] = RGBToLCh(corner, Settings).h;
  }
  return hues;
}

TLuv MaxChromaLuvForHue(double Hue, const TColorSettings* Settings) {
  // The accessors check the indexes before the table is read with them.
  GetRGBToXYZMatrix(Settings);
  GetReferenceWhite(Settings);
  return MaxChromaLuvForHue(Hue, CachedCornerHues(Settings), Settings);
}

TLuv MaxChromaLuvForHue(double Hue, const TCornerHues& Corners, const TColorSettings* Settings) {
  if (!(Hue >= 0 && Hue < 360)) Hue = FloatMod(Hue, 360);
  const double a = DegreeToRad(Hue);
  const double s = std::sin(a);
  const double c = std::cos(a);
  const TColorMatrix& m = GetRGBToXYZMatrix(Settings);
  const TReferenceWhiteValues& w = GetReferenceWhite(Settings);
  const double gamma = GetGamma(Settings);

  // F(n) = 0 is (u' - u'w) sin a = (v' - v'w) cos a for the linear colour
  // with channel n alone, u', v' taken without the offset of XYZToLuv.
  const double D = c * w.vw - s * w.uw;
  const auto F = [&](int n) {
    const double X = m[3 * n], Y = m[3 * n + 1], Z = m[3 * n + 2];
    return (X + 15 * Y + 3 * Z) * D + 4 * s * X - 9 * c * Y;
  };
  const TSectorChannels& ch = kSectorChannels[SectorOf(Hue, Corners)];
  const double x = -F(ch.Full) / F(ch.Solved);

  double rgb[3];
  rgb[ch.Full] = 255;
  rgb[ch.Zero] = 0;
  const double solved = x > 0 ? 255 * std::pow(x, 1 / gamma) : 0;  // NaN gives 0
  rgb[ch.Solved] = std::clamp(solved, 0.0, 255.0);

  TLuv luv;
  RGBToLuv(rgb[0], rgb[1], rgb[2], luv.L, luv.u, luv.v, Settings);
  return luv;
}

TLCh MaxChromaLChForHue(double Hue, const TColorSettings* Settings) {
  const TLuv luv = MaxChromaLuvForHue(Hue, Settings);
  TLCh lch{luv.L, 0, 0};
  LuvToLCh(luv.L, luv.u, luv.v, lch.C, lch.h);
  return lch;
}

double MaxChromaAtLightness(double L, double Hue, const TColorSettings* Settings) {
  const TLCh top = MaxChromaLChForHue(Hue, Settings);
  const double edge = L < top.L ? 0 : 100;
  const double t = (edge - L) / (edge - top.L);
  return (top.C - 1) * t + 1;
}

TLCh LimitChroma(const TLCh& P, const TColorSettings* Settings) {
  const TLCh top = MaxChromaLChForHue(P.h, Settings);
  const double bound = P.L <= top.L ? top.C * P.L / top.L
                                    : top.C * (1 - (P.L - top.L) / (100 - top.L));
  // Outside 0..100 the triangle goes negative; a negative chroma would turn
  // the hue round by 180 degrees.
  return {P.L, std::min(P.C, std::max(bound, 0.0)), P.h};
}
