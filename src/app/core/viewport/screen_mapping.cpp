#include "app/core/viewport/screen_mapping.h"

#include <cmath>
#include <numbers>

#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"
#include "foundation/rounding.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Far outside every gamut: the saturation where the HLS or HSV factor is 0.
constexpr double kNoSaturation = 999999;

double DegToRad(double degrees) { return degrees / 360 * kTwoPi; }

double HLSFactor(double L) { return L <= 127.5 ? L / 127.5 : 1.0 - (L - 127.5) / 127.5; }

// A point given as fractions of the image's size less one pixel.
struct TFraction {
  double X = 0, Y = 0;
};

TScreenPoint ToScreen(const TScreenGeometry& G, TFraction f) {
  return {RoundDouble(f.X * (G.Width - 1)), RoundDouble(f.Y * (G.Height - 1))};
}

// The CIELUV view types 0..6 from L*, u*, v* and the polar C, h.
TFraction LuvFraction(TViewType t, double L, double u, double v, double C, double h) {
  switch (t) {
    case vtLuvL: return {u / 400 + 0.5, 0.5 - v / 400};
    case vtLuvC: return {h / 360, 1 - L / 100};
    case vtLuvL2: return {h / 360, 1 - C / 200};
    case vtLuvHFull:
    case vtLuvHFull2: return {(C / 200 + 1) / 2, 1 - L / 100};
    default: return {C / 400, 1 - L / 100};  // vtLuvH, vtLuvH2
  }
}

// The CIELAB view types 7..9.
TFraction LabFraction(TViewType t, double L, double a, double b, double C, double h) {
  switch (t) {
    case vtLabL: return {a / 400 + 0.5, 0.5 - b / 400};
    case vtLabC: return {h / 360, 1 - L / 100};
    default: return {(C / 200 + 1) / 2, 1 - L / 100};  // vtLabH
  }
}

// A disc of hue (degrees) and display saturation r (0..1 at the rim).
TFraction DiscFraction(double H, double r) {
  const double a = DegToRad(H);
  return {(r * std::cos(a) + 1) / 2, (1 - r * std::sin(a)) / 2};
}

TFraction DeviceFraction(TViewType t, const TRGB& c) {
  if (t <= vtHLS_S) {
    const THLS hls = RGBToHLS(c);
    const double f = HLSFactor(hls.L);
    if (t == vtHLS_H) return {hls.S * f / 510, 1 - hls.L / 255};
    if (t == vtHLS_L) return DiscFraction(hls.H, hls.S * f / 255);
    return {hls.H / 360, 1 - hls.L / 255};
  }
  if (t <= vtHSV_V) {
    const THSV hsv = RGBToHSV(c);
    const double f = hsv.V / 255;
    if (t == vtHSV_H) return {hsv.S * f / 255, 1 - hsv.V / 255};
    if (t == vtHSV_S) return {hsv.H / 360, 1 - hsv.V / 255};
    return DiscFraction(hsv.H, hsv.S * f / 255);
  }
  switch (t) {
    case vtRGB_R: return {c.G / 255, c.B / 255};
    case vtRGB_G: return {c.R / 255, c.B / 255};
    case vtRGB_B: return {c.R / 255, c.G / 255};
    case vtOppI: {
      double I, RG, YB;
      RGBToOpponent(c.R, c.G, c.B, I, RG, YB);
      return {RG / 200 + 0.5, 0.5 - YB / 200};
    }
    default: {
      double I, C, h;
      RGBToOpponentPolar(c.R, c.G, c.B, I, C, h);
      if (t == vtOppC) return {h / 360, 1 - I / 100};
      return {(C / 100 + 1) / 2, 1 - I / 100};  // vtOppH
    }
  }
}

TFraction FractionOf(const TScreenGeometry& G, const TRGB& c) {
  const TViewType t = G.ViewType;
  if (t <= vtLuvHFull2) {
    double L, u, v, C, h;
    RGBToLuv(c, L, u, v, G.Settings);
    LuvToLCh(L, u, v, C, h);
    return LuvFraction(t, L, u, v, C, h);
  }
  if (t <= vtLabH) {
    double L, a, b, C, h;
    RGBToLab(c, L, a, b, G.Settings);
    LabToLChab(L, a, b, C, h);
    return LabFraction(t, L, a, b, C, h);
  }
  return DeviceFraction(t, c);
}

// The disc's hue (degrees) and radius-based saturation at pixel (X, Y).
void DiscAt(const TScreenGeometry& G, int X, int Y, double& H, double& radius) {
  const double xd = (X / static_cast<double>(G.Width - 1) - 0.5) * 2;
  const double yd = (0.5 - Y / static_cast<double>(G.Height - 1)) * 2;
  H = std::atan2(yd, xd) / kTwoPi * 360;
  if (H < 0) H += 360;
  radius = 255 * std::sqrt(xd * xd + yd * yd);
}

double SaturationFor(double numerator, double f) { return f == 0 ? kNoSaturation : numerator / f; }

}  // namespace

TScreenPoint ColorToScreen(const TScreenGeometry& G, const TRGB& RGB) {
  GetViewTypeInfo(G.ViewType);  // checks the view type
  return ToScreen(G, FractionOf(G, ClampRGB(RGB)));
}

TScreenPoint ControlPointToScreen(const TScreenGeometry& G, const TLCh& P) {
  const TViewType t = G.ViewType;
  if (t <= vtLuvHFull2) {
    double u, v;
    LChToLuv(P.L, P.C, P.h, u, v);
    return ToScreen(G, LuvFraction(t, P.L, u, v, P.C, P.h));
  }
  if (t <= vtLabH) {
    double u, v, X, Y, Z, L, a, b, C, h;
    LChToLuv(P.L, P.C, P.h, u, v);
    LuvToXYZ(P.L, u, v, X, Y, Z, G.Settings);
    XYZToLab(X, Y, Z, L, a, b, G.Settings);
    LabToLChab(L, a, b, C, h);
    return ToScreen(G, LabFraction(t, L, a, b, C, h));
  }
  return ColorToScreen(G, LChToRGB(P, G.Settings));
}

TRGB ScreenToColor(const TScreenGeometry& G, int X, int Y, double Third) {
  const double w1 = G.Width - 1;
  const double h1 = G.Height - 1;
  const double lightness = (1 - Y / h1) * 100;  // L* or intensity down the image
  const double level = (1 - Y / h1) * 255;      // HLS lightness or HSV value
  const double hue = 360 * X / w1;
  const double line = (2 * X - w1);             // signed position on a hue line, times W - 1
  const TColorSettings* s = G.Settings;
  switch (G.ViewType) {
    case vtLuvL:
      return LuvToRGB(Third, (2 * X / w1 - 1) * 200, (1 - 2 * Y / h1) * 200, s);
    case vtLuvC: return LChToRGB(lightness, Third, hue, s);
    case vtLuvH:
    case vtLuvH2: return LChToRGB(lightness, 400 * X / w1, Third, s);
    case vtLuvL2: return LChToRGB(Third, (1 - Y / h1) * 200, hue, s);
    case vtLuvHFull:
    case vtLuvHFull2: return LChToRGB(lightness, line * 200 / w1, Third, s);
    case vtLabL:
      return LabToRGB(Third, (2 * X / w1 - 1) * 200, (1 - 2 * Y / h1) * 200, s);
    case vtLabC: return LChabToRGB(lightness, Third, hue, s);
    case vtLabH: return LChabToRGB(lightness, line * 200 / w1, Third, s);
    case vtHLS_H: return HLSToRGB({Third, level, SaturationFor(510 * X, w1 * HLSFactor(level))});
    case vtHLS_L: {
      double H, radius;
      DiscAt(G, X, Y, H, radius);
      return HLSToRGB({H, Third, SaturationFor(radius, HLSFactor(Third))});
    }
    case vtHLS_S: return HLSToRGB({hue, level, Third});
    case vtHSV_H: return HSVToRGB({Third, level, SaturationFor(255 * X, w1 * (level / 255))});
    case vtHSV_S: return HSVToRGB({hue, level, Third});
    case vtHSV_V: {
      double H, radius;
      DiscAt(G, X, Y, H, radius);
      return HSVToRGB({H, Third, SaturationFor(radius, Third / 255)});
    }
    case vtRGB_R: return {Third, 255 * X / w1, 255 * Y / h1};
    case vtRGB_G: return {255 * X / w1, Third, 255 * Y / h1};
    case vtRGB_B: return {255 * X / w1, 255 * Y / h1, Third};
    case vtOppI: {
      TRGB c;
      OpponentToRGB(Third, (2 * X / w1 - 1) * 100, (1 - 2 * Y / h1) * 100, c.R, c.G, c.B);
      return c;
    }
    case vtOppC: {
      TRGB c;
      OpponentPolarToRGB(lightness, Third, hue, c.R, c.G, c.B);
      return c;
    }
    case vtOppH: {
      TRGB c;
      OpponentPolarToRGB(lightness, line * 100 / w1, Third, c.R, c.G, c.B);
      return c;
    }
    default: GetViewTypeInfo(G.ViewType); return {};  // raises: no such view type
  }
}

std::optional<double> SliderAxisValue(TViewType ViewType, const TRGB& RGB, const TColorSettings* Settings) {
  double a, b, c;
  switch (ViewType) {
    case vtLuvL:
    case vtLuvL2: RGBToLuv(RGB, a, b, c, Settings); return a;
    case vtLuvC: RGBToLCh(RGB, a, b, c, Settings); return b;
    case vtLuvH:
    case vtLuvHFull: RGBToLCh(RGB, a, b, c, Settings); return c;
    case vtLuvH2:
    case vtLuvHFull2: return std::nullopt;
    case vtLabL: RGBToLab(RGB, a, b, c, Settings); return a;
    case vtLabC: RGBToLChab(RGB, a, b, c, Settings); return b;
    case vtLabH: RGBToLChab(RGB, a, b, c, Settings); return c;
    case vtHLS_H: return RGBToHLS(RGB).H;
    case vtHLS_L: return RGBToHLS(RGB).L;
    case vtHLS_S: return RGBToHLS(RGB).S;
    case vtHSV_H: return RGBToHSV(RGB).H;
    case vtHSV_S: return RGBToHSV(RGB).S;
    case vtHSV_V: return RGBToHSV(RGB).V;
    case vtRGB_R: return RGB.R;
    case vtRGB_G: return RGB.G;
    case vtRGB_B: return RGB.B;
    case vtOppI: RGBToOpponent(RGB.R, RGB.G, RGB.B, a, b, c); return a;
    case vtOppC: RGBToOpponentPolar(RGB.R, RGB.G, RGB.B, a, b, c); return b;
    case vtOppH: RGBToOpponentPolar(RGB.R, RGB.G, RGB.B, a, b, c); return c;
    default: GetViewTypeInfo(ViewType); return std::nullopt;  // raises: no such view type
  }
}

TRGB ScreenToColorKeepThird(const TScreenGeometry& G, int X, int Y, const TRGB& RGB) {
  double third;
  if (const auto value = SliderAxisValue(G.ViewType, RGB, G.Settings)) {
    third = *value;
  } else {
    third = RGBToLCh(RGB, G.Settings).h;  // the path view types keep the hue
  }
  return ScreenToColor(G, X, Y, third);
}
