// Composed CIE conversions. Each resolves the settings once and runs the
// kernels on the resolved matrix, white and gamma: these are per-pixel paths.
#include "colour/cie_spaces.h"

#include "colour/cie_internal.h"

namespace ci = colour_internal;

void RGBToLuv(double R, double G, double B, double& L, double& u, double& v,
              const TColorSettings* Settings) {
  const TColorMatrix& m = GetRGBToXYZMatrix(Settings);
  const double gamma = GetGamma(Settings);
  const TReferenceWhiteValues& w = GetReferenceWhite(Settings);
  double X, Y, Z;
  ci::RGBToXYZ(R, G, B, m, gamma, X, Y, Z);
  ci::XYZToLuv(X, Y, Z, w, L, u, v);
}

void RGBToLuv(const TRGB& RGB, double& L, double& u, double& v, const TColorSettings* Settings) {
  RGBToLuv(RGB.R, RGB.G, RGB.B, L, u, v, Settings);
}

void LuvToRGB(double L, double u, double v, double& R, double& G, double& B,
              const TColorSettings* Settings) {
  const TColorMatrix& k = GetXYZToRGBMatrix(Settings);
  const double gamma = GetGamma(Settings);
  const TReferenceWhiteValues& w = GetReferenceWhite(Settings);
  double X, Y, Z;
  ci::LuvToXYZ(L, u, v, w, X, Y, Z);
  ci::XYZToRGB(X, Y, Z, k, gamma, R, G, B);
}

TRGB LuvToRGB(double L, double u, double v, const TColorSettings* Settings) {
  TRGB c;
  LuvToRGB(L, u, v, c.R, c.G, c.B, Settings);
  return c;
}

void RGBToLCh(double R, double G, double B, double& L, double& C, double& h,
              const TColorSettings* Settings) {
  double u, v;
  RGBToLuv(R, G, B, L, u, v, Settings);
  ci::ToPolar(u, v, C, h);
}

TLCh RGBToLCh(const TRGB& RGB, const TColorSettings* Settings) {
  TLCh c;
  RGBToLCh(RGB.R, RGB.G, RGB.B, c.L, c.C, c.h, Settings);
  return c;
}

void RGBToLCh(const TRGB& RGB, double& L, double& C, double& h, const TColorSettings* Settings) {
  RGBToLCh(RGB.R, RGB.G, RGB.B, L, C, h, Settings);
}

void LChToRGB(double L, double C, double h, double& R, double& G, double& B,
              const TColorSettings* Settings) {
  double u, v;
  ci::FromPolar(C, h, u, v);
  LuvToRGB(L, u, v, R, G, B, Settings);
}

TRGB LChToRGB(double L, double C, double h, const TColorSettings* Settings) {
  TRGB c;
  LChToRGB(L, C, h, c.R, c.G, c.B, Settings);
  return c;
}

TRGB LChToRGB(const TLCh& LCh, const TColorSettings* Settings) {
  return LChToRGB(LCh.L, LCh.C, LCh.h, Settings);
}

void RGBToLab(double R, double G, double B, double& L, double& a, double& b,
              const TColorSettings* Settings) {
  const TColorMatrix& m = GetRGBToXYZMatrix(Settings);
  const double gamma = GetGamma(Settings);
  const TReferenceWhiteValues& w = GetReferenceWhite(Settings);
  double X, Y, Z;
  ci::RGBToXYZ(R, G, B, m, gamma, X, Y, Z);
  ci::XYZToLab(X, Y, Z, w, L, a, b);
}

void RGBToLab(const TRGB& RGB, double& L, double& a, double& b, const TColorSettings* Settings) {
  RGBToLab(RGB.R, RGB.G, RGB.B, L, a, b, Settings);
}

void LabToRGB(double L, double a, double b, double& R, double& G, double& B,
              const TColorSettings* Settings) {
  const TColorMatrix& k = GetXYZToRGBMatrix(Settings);
  const double gamma = GetGamma(Settings);
  const TReferenceWhiteValues& w = GetReferenceWhite(Settings);
  double X, Y, Z;
  ci::LabToXYZ(L, a, b, w, X, Y, Z);
  ci::XYZToRGB(X, Y, Z, k, gamma, R, G, B);
}

TRGB LabToRGB(double L, double a, double b, const TColorSettings* Settings) {
  TRGB c;
  LabToRGB(L, a, b, c.R, c.G, c.B, Settings);
  return c;
}

void RGBToLChab(double R, double G, double B, double& L, double& C, double& h,
                const TColorSettings* Settings) {
  double a, b;
  RGBToLab(R, G, B, L, a, b, Settings);
  ci::ToPolar(a, b, C, h);
}

void RGBToLChab(const TRGB& RGB, double& L, double& C, double& h, const TColorSettings* Settings) {
  RGBToLChab(RGB.R, RGB.G, RGB.B, L, C, h, Settings);
}

void LChabToRGB(double L, double C, double h, double& R, double& G, double& B,
                const TColorSettings* Settings) {
  double a, b;
  ci::FromPolar(C, h, a, b);
  LabToRGB(L, a, b, R, G, B, Settings);
}

TRGB LChabToRGB(double L, double C, double h, const TColorSettings* Settings) {
  TRGB c;
  LChabToRGB(L, C, h, c.R, c.G, c.B, Settings);
  return c;
}
