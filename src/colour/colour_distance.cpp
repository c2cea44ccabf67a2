#include "colour/colour_distance.h"

#include <algorithm>
#include <cmath>

#include "colour/cie_spaces.h"
#include "colour/colour_interpolation.h"

namespace {

constexpr double kPow25To7 = 6103515625.0;  // 25^7

struct TLab {
  double L, a, b;
};

TLab ToLab(const TLCh& c, const TColorSettings* Settings) {
  double u, v, X, Y, Z;
  TLab lab;
  LChToLuv(c.L, c.C, c.h, u, v);
  LuvToXYZ(c.L, u, v, X, Y, Z, Settings);
  XYZToLab(X, Y, Z, lab.L, lab.a, lab.b, Settings);
  return lab;
}

double Pow7(double x) noexcept {
  const double x2 = x * x;
  return x2 * x2 * x2 * x;
}

double DegCos(double degrees) noexcept { return std::cos(DegreeToRad(degrees)); }
double DegSin(double degrees) noexcept { return std::sin(DegreeToRad(degrees)); }

// Hue of (a', b) in degrees [0, 360); (0, 0) gives 0.
double HuePrime(double aPrime, double b) noexcept {
  const double h = RadToDegree(std::atan2(b, aPrime));
  return h < 0 ? h + 360 : h;
}

double CIE1994(const TLCh& A, const TLCh& B, const TColorSettings* Settings) {
  const TLab p = ToLab(A, Settings), q = ToLab(B, Settings);
  return DeltaE1994(p.L, p.a, p.b, q.L, q.a, q.b);
}

double CIE2000(const TLCh& A, const TLCh& B, const TColorSettings* Settings) {
  const TLab p = ToLab(A, Settings), q = ToLab(B, Settings);
  return DeltaE2000(p.L, p.a, p.b, q.L, q.a, q.b);
}

double Lightness(const TLCh& A, const TLCh& B, const TColorSettings*) {
  return LightnessDistance(A.L, B.L);
}

using TDistanceFunction = double (*)(const TLCh&, const TLCh&, const TColorSettings*);
constexpr TDistanceFunction kDistanceFunctions[kNumDistFuncs] = {&CIE1994, &CIE2000, &Lightness};

}  // namespace

double ColorDistance(const TLCh& A, const TLCh& B, const TColorSettings* Settings) {
  return kDistanceFunctions[GetDistFunc(Settings)](A, B, Settings);  // GetDistFunc checks 0..2
}

double DeltaE1994(double L1, double a1, double b1, double L2, double a2, double b2) noexcept {
  const double C1 = std::sqrt(a1 * a1 + b1 * b1);
  const double C2 = std::sqrt(a2 * a2 + b2 * b2);
  const double dL = L1 - L2, da = a1 - a2, db = b1 - b2, dC = C1 - C2;
  // For nearly equal colours the difference of squares can round below zero.
  const double dH2 = std::max(da * da + db * db - dC * dC, 0.0);
  const double Cstar = std::sqrt(C1 * C1 + C2 * C2);
  const double SC = 1 + 0.045 * Cstar;
  const double SH = 1 + 0.015 * Cstar;
  return std::sqrt(dL * dL + (dC / SC) * (dC / SC) + dH2 / (SH * SH));
}

double DeltaE2000(double L1, double a1, double b1, double L2, double a2, double b2) noexcept {
  const double C1 = std::sqrt(a1 * a1 + b1 * b1);
  const double C2 = std::sqrt(a2 * a2 + b2 * b2);
  const double Cbar7 = Pow7((C1 + C2) / 2);
  const double G = 0.5 * (1 - std::sqrt(Cbar7 / (Cbar7 + kPow25To7)));
  const double a1p = (1 + G) * a1, a2p = (1 + G) * a2;
  const double C1p = std::sqrt(a1p * a1p + b1 * b1);
  const double C2p = std::sqrt(a2p * a2p + b2 * b2);
  const double h1p = HuePrime(a1p, b1), h2p = HuePrime(a2p, b2);

  const double dLp = L2 - L1;
  const double dCp = C2p - C1p;
  double dhp = h2p - h1p;
  if (dhp > 180) dhp -= 360;
  else if (dhp < -180) dhp += 360;
  const double dHp = 2 * std::sqrt(C1p * C2p) * DegSin(dhp / 2);

  const double Lbarp = (L1 + L2) / 2;
  const double Cbarp = (C1p + C2p) / 2;
  double hbarp;
  if (C1p * C2p == 0) hbarp = h1p + h2p;
  else if (std::fabs(h2p - h1p) <= 180) hbarp = (h1p + h2p) / 2;
  else if (h1p + h2p < 360) hbarp = (h1p + h2p + 360) / 2;
  else hbarp = (h1p + h2p - 360) / 2;

  const double T = 1 - 0.17 * DegCos(hbarp - 30) + 0.24 * DegCos(2 * hbarp) +
                   0.32 * DegCos(3 * hbarp + 6) - 0.20 * DegCos(4 * hbarp - 63);
  const double l50 = (Lbarp - 50) * (Lbarp - 50);
  const double SL = 1 + 0.015 * l50 / std::sqrt(20 + l50);
  const double SC = 1 + 0.045 * Cbarp;
  const double SH = 1 + 0.015 * Cbarp * T;
  const double dTheta = 30 * std::exp(-((hbarp - 275) / 25) * ((hbarp - 275) / 25));
  const double Cbarp7 = Pow7(Cbarp);
  const double RC = 2 * std::sqrt(Cbarp7 / (Cbarp7 + kPow25To7));
  const double RT = -DegSin(2 * dTheta) * RC;

  const double l = dLp / SL, c = dCp / SC, h = dHp / SH;
  return std::sqrt(l * l + c * c + h * h + RT * c * h);
}

double LightnessDistance(double L1, double L2) noexcept {
  const auto stretched = [](double L) {
    const double z = (std::log(0.2 * (1 - L / 100) + 0.05) - std::log(0.05)) / std::log(0.2);
    return 100 * (1 - z);
  };
  const double d = stretched(L1) - stretched(L2);
  return std::sqrt(36 * d * d);
}
