// The base CIE conversions and the polar forms.
#include "colour/cie_spaces.h"

#include "colour/cie_internal.h"

namespace ci = colour_internal;

void RGBToXYZ(double R, double G, double B, double& X, double& Y, double& Z,
              const TColorSettings* Settings) {
  ci::RGBToXYZ(R, G, B, GetRGBToXYZMatrix(Settings), GetGamma(Settings), X, Y, Z);
}

void XYZToRGB(double X, double Y, double Z, double& R, double& G, double& B,
              const TColorSettings* Settings) {
  ci::XYZToRGB(X, Y, Z, GetXYZToRGBMatrix(Settings), GetGamma(Settings), R, G, B);
}

void XYZToLuv(double X, double Y, double Z, double& L, double& u, double& v,
              const TColorSettings* Settings) {
  ci::XYZToLuv(X, Y, Z, GetReferenceWhite(Settings), L, u, v);
}

void LuvToXYZ(double L, double u, double v, double& X, double& Y, double& Z,
              const TColorSettings* Settings) {
  ci::LuvToXYZ(L, u, v, GetReferenceWhite(Settings), X, Y, Z);
}

void XYZToLab(double X, double Y, double Z, double& L, double& a, double& b,
              const TColorSettings* Settings) {
  ci::XYZToLab(X, Y, Z, GetReferenceWhite(Settings), L, a, b);
}

void LabToXYZ(double L, double a, double b, double& X, double& Y, double& Z,
              const TColorSettings* Settings) {
  ci::LabToXYZ(L, a, b, GetReferenceWhite(Settings), X, Y, Z);
}

void LuvToLCh(double /*L*/, double u, double v, double& C, double& h) noexcept {
  ci::ToPolar(u, v, C, h);
}

void LChToLuv(double /*L*/, double C, double h, double& u, double& v) noexcept {
  ci::FromPolar(C, h, u, v);
}

void LabToLChab(double /*L*/, double a, double b, double& C, double& h) noexcept {
  ci::ToPolar(a, b, C, h);
}

void LChabToLab(double /*L*/, double C, double h, double& a, double& b) noexcept {
  ci::FromPolar(C, h, a, b);
}
