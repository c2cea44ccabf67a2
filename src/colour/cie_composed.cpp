// Composed CIE conversions. Each resolves the settings once and runs the
// kernels on the resolved matrix, white and gamma: these are per-pixel paths.
#include "colour/cie_spaces.h"

#include "colour/cie_internal.h"

namespace ci = colour_internal;

namespace {

// RGB -> XYZ -> a CIE space (FromXYZ: ci::XYZToLuv or ci::XYZToLab). The
// kernel is a template argument, so it is inlined as if written out here.
template <auto FromXYZ>
void RGBToCIE(double R, double G, double B, double& L, double& p, double& q,
              const TColorSettings* Settings) {
  const TColorMatrix& m = GetRGBToXYZMatrix(Settings);
  const double gamma = GetGamma(Settings);
  const TReferenceWhiteValues& w = GetReferenceWhite(Settings);
  double X, Y, Z;
  ci::RGBToXYZ(R, G, B, m, gamma, X, Y, Z);
  FromXYZ(X, Y, Z, w, L, p, q);
}

// A CIE space -> XYZ -> linear r, g, b (ToXYZ: ci::LuvToXYZ or ci::LabToXYZ).
template <auto ToXYZ>
void CIEToLinearRGB(double L, double p, double q, double& r, double& g, double& b,
                    const TColorSettings* Settings) {
  const TColorMatrix& k = GetXYZToRGBMatrix(Settings);
  const TReferenceWhiteValues& w = GetReferenceWhite(Settings);
  double X, Y, Z;
  ToXYZ(L, p, q, w, X, Y, Z);
  ci::MultiplyColumns(k, X, Y, Z, r, g, b);
}

// A CIE space -> XYZ -> RGB: the linear values, then encoded as ci::XYZToRGB
// does.
template <auto ToXYZ>
void CIEToRGB(double L, double p, double q, double& R, double& G, double& B,
              const TColorSettings* Settings) {
  const double gamma = GetGamma(Settings);
  double r, g, b;
  CIEToLinearRGB<ToXYZ>(L, p, q, r, g, b, Settings);
  R = ci::Encode(r, gamma);
  G = ci::Encode(g, gamma);
  B = ci::Encode(b, gamma);
}

// RGB -> a cartesian CIE space -> its polar form (chroma, hue).
template <auto FromXYZ>
void RGBToCIEPolar(double R, double G, double B, double& L, double& C, double& h,
                   const TColorSettings* Settings) {
  double p, q;
  RGBToCIE<FromXYZ>(R, G, B, L, p, q, Settings);
  ci::ToPolar(p, q, C, h);
}

// A polar CIE form -> its cartesian space -> RGB.
template <auto ToXYZ>
void CIEPolarToRGB(double L, double C, double h, double& R, double& G, double& B,
                   const TColorSettings* Settings) {
  double p, q;
  ci::FromPolar(C, h, p, q);
  CIEToRGB<ToXYZ>(L, p, q, R, G, B, Settings);
}

}  // namespace

void RGBToLuv(double R, double G, double B, double& L, double& u, double& v,
              const TColorSettings* Settings) {
  RGBToCIE<ci::XYZToLuv>(R, G, B, L, u, v, Settings);
}

void RGBToLuv(const TRGB& RGB, double& L, double& u, double& v, const TColorSettings* Settings) {
  RGBToLuv(RGB.R, RGB.G, RGB.B, L, u, v, Settings);
}

void LuvToRGB(double L, double u, double v, double& R, double& G, double& B,
              const TColorSettings* Settings) {
  CIEToRGB<ci::LuvToXYZ>(L, u, v, R, G, B, Settings);
}

TRGB LuvToRGB(double L, double u, double v, const TColorSettings* Settings) {
  TRGB c;
  LuvToRGB(L, u, v, c.R, c.G, c.B, Settings);
  return c;
}

void RGBToLCh(double R, double G, double B, double& L, double& C, double& h,
              const TColorSettings* Settings) {
  RGBToCIEPolar<ci::XYZToLuv>(R, G, B, L, C, h, Settings);
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
  CIEPolarToRGB<ci::LuvToXYZ>(L, C, h, R, G, B, Settings);
}

TRGB LChToRGB(double L, double C, double h, const TColorSettings* Settings) {
  TRGB c;
  LChToRGB(L, C, h, c.R, c.G, c.B, Settings);
  return c;
}

TRGB LChToRGB(const TLCh& LCh, const TColorSettings* Settings) {
  return LChToRGB(LCh.L, LCh.C, LCh.h, Settings);
}

void LChToLinearRGB(const TLCh& LCh, double& r, double& g, double& b,
                    const TColorSettings* Settings) {
  double u, v;
  ci::FromPolar(LCh.C, LCh.h, u, v);
  CIEToLinearRGB<ci::LuvToXYZ>(LCh.L, u, v, r, g, b, Settings);
}

TRGB LinearRGBToRGB(double r, double g, double b, const TColorSettings* Settings) {
  const double gamma = GetGamma(Settings);
  return {ci::Encode(r, gamma), ci::Encode(g, gamma), ci::Encode(b, gamma)};
}

void RGBToLab(double R, double G, double B, double& L, double& a, double& b,
              const TColorSettings* Settings) {
  RGBToCIE<ci::XYZToLab>(R, G, B, L, a, b, Settings);
}

void RGBToLab(const TRGB& RGB, double& L, double& a, double& b, const TColorSettings* Settings) {
  RGBToLab(RGB.R, RGB.G, RGB.B, L, a, b, Settings);
}

void LabToRGB(double L, double a, double b, double& R, double& G, double& B,
              const TColorSettings* Settings) {
  CIEToRGB<ci::LabToXYZ>(L, a, b, R, G, B, Settings);
}

TRGB LabToRGB(double L, double a, double b, const TColorSettings* Settings) {
  TRGB c;
  LabToRGB(L, a, b, c.R, c.G, c.B, Settings);
  return c;
}

void RGBToLChab(double R, double G, double B, double& L, double& C, double& h,
                const TColorSettings* Settings) {
  RGBToCIEPolar<ci::XYZToLab>(R, G, B, L, C, h, Settings);
}

void RGBToLChab(const TRGB& RGB, double& L, double& C, double& h, const TColorSettings* Settings) {
  RGBToLChab(RGB.R, RGB.G, RGB.B, L, C, h, Settings);
}

void LChabToRGB(double L, double C, double h, double& R, double& G, double& B,
                const TColorSettings* Settings) {
  CIEPolarToRGB<ci::LabToXYZ>(L, C, h, R, G, B, Settings);
}

TRGB LChabToRGB(double L, double C, double h, const TColorSettings* Settings) {
  TRGB c;
  LChabToRGB(L, C, h, c.R, c.G, c.B, Settings);
  return c;
}
