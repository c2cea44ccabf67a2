#pragma once
// CIE conversions for pixel loops under one setting (working space, white,
// gamma). LuvToXYZ and LabToXYZ are split into the part that depends on L*
// and the white alone, built once per image row (TLuvRow, TLabRow), and the
// rest, run per pixel; TCIERowConverter is built once per setting and takes
// XYZ to 8-bit RGB levels through the working space's matrix and a tabulated
// power law. The library's per-pixel conversions (LuvToXYZ, LabToXYZ,
// LChToLuv, ...) run these same kernels, so a row gives exactly their results.
//
//   const TCIERowConverter convert(Settings);                 // once per setting
//   for each row:   const TLuvRow row = convert.LuvRow(L);    // once per row
//     for each pixel: TRGBLevels c = convert.Levels(row, u, v);
//
// Nothing here allocates except the converter's constructor.

#include <cmath>
#include <numbers>

#include "colour/cie_spaces.h"
#include "colour/gamma_encoder.h"

namespace colour_rows {

// X = m0 a + m3 b + m6 c etc.: a matrix stored column by column times a vector.
inline void MultiplyColumns(const TColorMatrix& m, double a, double b, double c, double& x,
                            double& y, double& z) noexcept {
  x = m[0] * a + m[3] * b + m[6] * c;
  y = m[1] * a + m[4] * b + m[7] * c;
  z = m[2] * a + m[5] * b + m[8] * c;
}

// Relative luminance of a lightness: cubic above L* = 8, linear up to it.
inline double LuminanceOf(double L) noexcept {
  if (L > 8.0) {
    const double t = (L + 16.0) / 116.0;
    return t * t * t;
  }
  return static_cast<double>(L / kCIEKappa);
}

// Inverse CIELAB companding of fx or fz.
inline double LabFInverse(double f) noexcept {
  const double f3 = f * f * f;
  if (f3 > kCIEEpsilon) return f3;
  return static_cast<double>((116.0 * f - 16.0) / kCIEKappa);
}

// cos and sin of a hue in degrees, as the polar forms turn a hue into a
// direction: (C cos, C sin) of this is LChToLuv's (u*, v*).
struct THueDirection {
  double Cos = 0, Sin = 0;
};

inline THueDirection HueDirection(double hDegrees) noexcept {
  const double a = hDegrees * std::numbers::pi / 180.0;
  return {std::cos(a), std::sin(a)};
}

// Everything of LuvToXYZ that depends on L* and the white only.
class TLuvRow {
 public:
  TLuvRow(double L, const TReferenceWhiteValues& w) noexcept
      : FL(L),
        FY(LuminanceOf(L) * w.Yw),
        FBB(-5.0 * FY),
        FLu(13.0 * L * w.uw),
        FLv(13.0 * L * w.vw),
        FL52(52.0 * L),
        FL39(39.0 * L) {}

  // LuvToXYZ of (L*, u, v).
  void ToXYZ(double u, double v, double& X, double& Y, double& Z) const noexcept {
    if (FL == 0.0 && u == 0.0 && v == 0.0) {
      X = Y = Z = 0.0;
      return;
    }
    // 9999999 stands in for each division by zero: it drives the colour far
    // outside every gamut instead of producing infinities.
    constexpr double kHuge = 9999999.0;
    constexpr double c = -1.0 / 3.0;
    Y = FY;
    const double du = u + FLu;
    const double a = du == 0.0 ? kHuge : (FL52 / du - 1.0) * 0.33333333333333;
    const double dv = v + FLv;
    const double d = dv == 0.0 ? kHuge : (FL39 / dv - 5.0) * FY;
    X = a - c == 0.0 ? kHuge : (d - FBB) / (a - c);
    Z = X * a + FBB;
  }

 private:
  double FL, FY, FBB, FLu, FLv, FL52, FL39;
};

// a* with a* / 500 and b* with b* / 200, the forms LabToXYZ adds to fy: a
// caller that holds a* along a column or b* along a row scales it once.
// Default-constructed, each is 0.
struct TLabA {
  TLabA() = default;
  explicit TLabA(double a) noexcept : Value(a), Scaled(a / 500.0) {}
  double Value = 0, Scaled = 0;
};
struct TLabB {
  TLabB() = default;
  explicit TLabB(double b) noexcept : Value(b), Scaled(b / 200.0) {}
  double Value = 0, Scaled = 0;
};

struct TLabAB {
  TLabAB() = default;
  TLabAB(TLabA a, TLabB b) noexcept : A(a.Value), B(b.Value), A500(a.Scaled), B200(b.Scaled) {}
  TLabAB(double a, double b) noexcept : TLabAB(TLabA(a), TLabB(b)) {}
  double A = 0, B = 0, A500 = 0, B200 = 0;
};

// Everything of LabToXYZ that depends on L* and the white only.
class TLabRow {
 public:
  TLabRow(double L, const TReferenceWhiteValues& w) noexcept : FL(L), FXw(w.Xw), FZw(w.Zw) {
    const double yr = LuminanceOf(L);
    FFy = yr <= kCIEEpsilon ? static_cast<double>((kCIEKappa * yr + 16.0L) / 116.0L) : (L + 16.0) / 116.0;
    FY = yr * w.Yw;
  }

  // LabToXYZ of (L*, a*, b*).
  void ToXYZ(const TLabAB& ab, double& X, double& Y, double& Z) const noexcept {
    if (FL == 0.0 && ab.A == 0.0 && ab.B == 0.0) {
      X = Y = Z = 0.0;
      return;
    }
    X = LabFInverse(ab.A500 + FFy) * FXw;
    Y = FY;
    Z = LabFInverse(FFy - ab.B200) * FZw;
  }

 private:
  double FL, FXw, FZw, FFy = 0, FY = 0;
};

// The 8-bit levels of an RGB colour: 0..255, or kLevelBelow / kLevelAbove
// for a component outside the gamut (XYZToRGB's -1, or above 255).
struct TRGBLevels {
  int R = 0, G = 0, B = 0;
  bool operator==(const TRGBLevels&) const = default;
  bool InGamut() const noexcept {
    return (static_cast<unsigned>(R) | static_cast<unsigned>(G) | static_cast<unsigned>(B)) <= 255u;
  }
};

// XYZ to levels: the working space's XYZ-to-RGB matrix, then the power law by
// table. Small enough to copy into a pixel loop, so the matrix stays in
// registers; it refers to the encoder of the converter that made it.
class TXYZToLevels {
 public:
  TXYZToLevels(const TColorMatrix& XYZToRGB, const TGammaEncoder& encoder) noexcept
      : FMatrix(XYZToRGB), FEncoder(&encoder) {}

  // RoundDouble of each component of XYZToRGB where it lies in 0..255.
  TRGBLevels operator()(double X, double Y, double Z) const noexcept {
    double r, g, b;
    MultiplyColumns(FMatrix, X, Y, Z, r, g, b);
    return {FEncoder->Level(r), FEncoder->Level(g), FEncoder->Level(b)};
  }

 private:
  TColorMatrix FMatrix;
  const TGammaEncoder* FEncoder;  // not owned
};

// The CIE-to-RGB conversions of one setting, resolved once: the white, the
// XYZ-to-RGB matrix and the gamma's encoding table.
class TCIERowConverter {
 public:
  // `Settings` may be null (the defaults); only its values are kept.
  explicit TCIERowConverter(const TColorSettings* Settings);

  TLuvRow LuvRow(double L) const noexcept { return TLuvRow(L, FWhite); }
  TLabRow LabRow(double L) const noexcept { return TLabRow(L, FWhite); }
  // Valid while this converter lives.
  TXYZToLevels XYZToLevels() const noexcept { return TXYZToLevels(FMatrix, FEncoder); }

  // LuvToRGB and LabToRGB of one pixel of a row, as levels.
  TRGBLevels Levels(const TLuvRow& row, double u, double v) const noexcept {
    double X, Y, Z;
    row.ToXYZ(u, v, X, Y, Z);
    return XYZToLevels()(X, Y, Z);
  }
  TRGBLevels Levels(const TLabRow& row, const TLabAB& ab) const noexcept {
    double X, Y, Z;
    row.ToXYZ(ab, X, Y, Z);
    return XYZToLevels()(X, Y, Z);
  }

 private:
  TReferenceWhiteValues FWhite;
  TColorMatrix FMatrix;
  TGammaEncoder FEncoder;
};

}  // namespace colour_rows
