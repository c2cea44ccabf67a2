#pragma once
// Kernels of the CIE conversions on settings already resolved to a matrix,
// a white and a gamma, so a composed conversion reads the settings once.
// The XYZ-from-L* kernels are those of the row converters (cie_rows.h), so a
// pixel converted alone and one converted in a row agree to the bit.
// Internal to src/colour.

#include <cmath>
#include <numbers>

#include "colour/cie_rows.h"
#include "colour/cie_spaces.h"

namespace colour_internal {

inline constexpr double kPi = std::numbers::pi;

using colour_rows::MultiplyColumns;

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

using colour_rows::LuminanceOf;

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
  colour_rows::TLuvRow(L, w).ToXYZ(u, v, X, Y, Z);
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

inline void LabToXYZ(double L, double a, double b, const TReferenceWhiteValues& w, double& X,
                     double& Y, double& Z) noexcept {
  colour_rows::TLabRow(L, w).ToXYZ(colour_rows::TLabAB(a, b), X, Y, Z);
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
  const colour_rows::THueDirection d = colour_rows::HueDirection(h);
  x = C * d.Cos;
  y = C * d.Sin;
}

}  // namespace colour_internal
