#pragma once
// Kernels of the CIE conversions on settings already resolved to a matrix,
// a white and a gamma, so a composed conversion reads the settings once.
// Internal to src/colour.

#include <cmath>
#include <numbers>

#include "colour/cie_spaces.h"

namespace colour_internal {

inline constexpr double kPi = std::numbers::pi;

// X = m0 r + m3 g + m6 b etc. with r, g, b linear 0..1.
inline void MultiplyColumns(const TColorMatrix& m, double a, double b, double c, double& x,
                            double& y, double& z) noexcept {
  x = m[0] * a + m[3] * b + m[6] * c;
  y = m[1] * a + m[4] * b + m[7] * c;
  z = m[2] * a + m[5] * b + m[8] * c;
}

// A 0..255 component to linear light: a plain power law, zero stays zero.
inline double Linearise(double c, double gamma) noexcept {
  const double base = c / 255.0;
  return base == 0.0 ? 0.0 : std::pow(base, gamma);
}

// Linear light back to 0..255. A negative value (or NaN) marks a colour
// outside the gamut with exactly -1; nothing limits the result above 255.
inline double Encode(double c, double gamma) noexcept {
  if (c > 0.0) return 255.0 * std::exp(std::log(c) / gamma);
  if (c == 0.0) return 0.0;
  return -1.0;
}

inline void RGBToXYZ(double R, double G, double B, const TColorMatrix& m, double gamma,
                     double& X, double& Y, double& Z) noexcept {
  MultiplyColumns(m, Linearise(R, gamma), Linearise(G, gamma), Linearise(B, gamma), X, Y, Z);
}

inline void XYZToRGB(double X, double Y, double Z, const TColorMatrix& k, double gamma,
                     double& R, double& G, double& B) noexcept {
  double r, g, b;
  MultiplyColumns(k, X, Y, Z, r, g, b);
  R = Encode(r, gamma);
  G = Encode(g, gamma);
  B = Encode(b, gamma);
}

// CIE lightness of a relative luminance (either branch in extended precision).
inline double LightnessLuv(double y) noexcept {
  if (y <= kCIEEpsilon) return static_cast<double>(kCIEKappa * y);
  return static_cast<double>(116.0L * std::pow(static_cast<long double>(y), 1.0L / 3.0L) - 16.0L);
}

// Relative luminance of a lightness: cubic above L* = 8, linear up to it.
inline double LuminanceOf(double L) noexcept {
  if (L > 8.0) {
    const double t = (L + 16.0) / 116.0;
    return t * t * t;
  }
  return static_cast<double>(L / kCIEKappa);
}

inline void XYZToLuv(double X, double Y, double Z, const TReferenceWhiteValues& w, double& L,
                     double& u, double& v) noexcept {
  // The offset keeps black (d = 0) defined with u' = v' = 0.
  const double d = X + 15.0 * Y + 3.0 * Z;
  const double up = 4.0 * X / (d + 1e-7);
  const double vp = 9.0 * Y / (d + 1e-7);
  L = LightnessLuv(Y / w.Yw);
  u = 13.0 * L * (up - w.uw);
  v = 13.0 * L * (vp - w.vw);
}

inline void LuvToXYZ(double L, double u, double v, const TReferenceWhiteValues& w, double& X,
                     double& Y, double& Z) noexcept {
  if (L == 0.0 && u == 0.0 && v == 0.0) {
    X = Y = Z = 0.0;
    return;
  }
  // 9999999 stands in for each division by zero: it drives the colour far
  // outside every gamut instead of producing infinities.
  constexpr double kHuge = 9999999.0;
  Y = LuminanceOf(L) * w.Yw;
  const double du = u + 13.0 * L * w.uw;
  const double a = du == 0.0 ? kHuge : (52.0 * L / du - 1.0) * 0.33333333333333;
  const double bb = -5.0 * Y;
  const double c = -1.0 / 3.0;
  const double dv = v + 13.0 * L * w.vw;
  const double d = dv == 0.0 ? kHuge : (39.0 * L / dv - 5.0) * Y;
  X = a - c == 0.0 ? kHuge : (d - bb) / (a - c);
  Z = X * a + bb;
}

// The CIELAB companding function; its cube root is the decimal 0.3333333333333.
inline double LabF(double t) noexcept {
  if (t <= kCIEEpsilon) return static_cast<double>((kCIEKappa * t + 16.0L) / 116.0L);
  return std::pow(t, 0.3333333333333);
}

inline void XYZToLab(double X, double Y, double Z, const TReferenceWhiteValues& w, double& L,
                     double& a, double& b) noexcept {
  const double fx = LabF(X / w.Xw);
  const double fy = LabF(Y / w.Yw);
  const double fz = LabF(Z / w.Zw);
  L = 116.0 * fy - 16.0;
  a = 500.0 * (fx - fy);
  b = 200.0 * (fy - fz);
}

// Inverse companding of fx or fz.
inline double LabFInverse(double f) noexcept {
  const double f3 = f * f * f;
  if (f3 > kCIEEpsilon) return f3;
  return static_cast<double>((116.0 * f - 16.0) / kCIEKappa);
}

inline void LabToXYZ(double L, double a, double b, const TReferenceWhiteValues& w, double& X,
                     double& Y, double& Z) noexcept {
  if (L == 0.0 && a == 0.0 && b == 0.0) {
    X = Y = Z = 0.0;
    return;
  }
  const double yr = LuminanceOf(L);
  const double fy =
      yr <= kCIEEpsilon ? static_cast<double>((kCIEKappa * yr + 16.0L) / 116.0L) : (L + 16.0) / 116.0;
  const double fx = a / 500.0 + fy;
  const double fz = fy - b / 200.0;
  X = LabFInverse(fx) * w.Xw;
  Y = yr * w.Yw;
  Z = LabFInverse(fz) * w.Zw;
}

// Chroma and hue in degrees [0, 360) of a cartesian pair. A negative zero is
// made +0 first, so black and greys get hue 0 rather than 180.
inline void ToPolar(double x, double y, double& C, double& h) noexcept {
  x += 0.0;
  y += 0.0;
  C = std::sqrt(x * x + y * y);
  h = std::atan2(y, x) * 180.0 / kPi;
  if (h < 0.0) {
    h += 360.0;
    if (h >= 360.0) h = 0.0;  // a tiny negative angle would round up to 360
  }
}

inline void FromPolar(double C, double h, double& x, double& y) noexcept {
  const double a = h * kPi / 180.0;
  x = C * std::cos(a);
  y = C * std::sin(a);
}

}  // namespace colour_internal
