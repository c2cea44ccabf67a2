#pragma once
// LuvToXYZ and LabToXYZ of the colour library split into the part that
// depends on L* alone (once per image row) and the rest (once per pixel): the
// same operations on the same values in the same order, so the same results.
// The colour field's tests compare every pixel against the library.

#include "colour/cie_internal.h"

namespace cie_kernels {

// Everything of LuvToXYZ that depends on L* and the white only.
struct TLuvRow {
  double L = 0, Y = 0, BB = 0, Lu = 0, Lv = 0, L52 = 0, L39 = 0;
};

inline TLuvRow LuvRow(double L, const TReferenceWhiteValues& w) {
  TLuvRow r;
  r.L = L;
  r.Y = colour_internal::LuminanceOf(L) * w.Yw;
  r.BB = -5.0 * r.Y;
  r.Lu = 13.0 * L * w.uw;
  r.Lv = 13.0 * L * w.vw;
  r.L52 = 52.0 * L;
  r.L39 = 39.0 * L;
  return r;
}

inline void LuvToXYZ(const TLuvRow& r, double u, double v, double& X, double& Y, double& Z) {
  if (r.L == 0.0 && u == 0.0 && v == 0.0) {
    X = Y = Z = 0.0;
    return;
  }
  constexpr double kHuge = 9999999.0;
  constexpr double c = -1.0 / 3.0;
  Y = r.Y;
  const double du = u + r.Lu;
  const double a = du == 0.0 ? kHuge : (r.L52 / du - 1.0) * 0.33333333333333;
  const double dv = v + r.Lv;
  const double d = dv == 0.0 ? kHuge : (r.L39 / dv - 5.0) * r.Y;
  X = a - c == 0.0 ? kHuge : (d - r.BB) / (a - c);
  Z = X * a + r.BB;
}

// Everything of LabToXYZ that depends on L* and the white only.
struct TLabRow {
  double L = 0, Fy = 0, Y = 0;
};

inline TLabRow LabRow(double L, const TReferenceWhiteValues& w) {
  const double yr = colour_internal::LuminanceOf(L);
  TLabRow r;
  r.L = L;
  r.Fy = yr <= kCIEEpsilon ? static_cast<double>((kCIEKappa * yr + 16.0L) / 116.0L) : (L + 16.0) / 116.0;
  r.Y = yr * w.Yw;
  return r;
}

// a* and b* with their scaled forms a* / 500 and b* / 200 (computed by the
// caller once per column or row).
struct TLabAB {
  double A = 0, B = 0, A500 = 0, B200 = 0;
};

inline TLabAB LabAB(double a, double b) { return {a, b, a / 500.0, b / 200.0}; }

inline void LabToXYZ(const TLabRow& r, const TLabAB& ab, const TReferenceWhiteValues& w, double& X,
                     double& Y, double& Z) {
  if (r.L == 0.0 && ab.A == 0.0 && ab.B == 0.0) {
    X = Y = Z = 0.0;
    return;
  }
  const double fx = ab.A500 + r.Fy;
  const double fz = r.Fy - ab.B200;
  X = colour_internal::LabFInverse(fx) * w.Xw;
  Y = r.Y;
  Z = colour_internal::LabFInverse(fz) * w.Zw;
}

}  // namespace cie_kernels
