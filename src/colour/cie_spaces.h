#pragma once
// CIE conversions between RGB (0..255), XYZ (relative: the white has Yw = 1),
// CIELUV, CIELAB and their polar forms, under the working space, reference
// white and gamma of a TColorSettings record (null = defaults). All are pure
// and allocate nothing. A colour outside the working space's gamut comes back
// with an RGB component of exactly -1 (negative linear value) or above 255.

#include "colour/colour_records.h"
#include "colour/colour_settings.h"
#include "colour/rgb_spaces.h"

// CIE epsilon 216/24389 and kappa 24389/27, in extended precision.
inline constexpr long double kCIEEpsilon = 216.0L / 24389.0L;
inline constexpr long double kCIEKappa = 24389.0L / 27.0L;

// Base conversions.
void RGBToXYZ(double R, double G, double B, double& X, double& Y, double& Z,
              const TColorSettings* Settings);
void XYZToRGB(double X, double Y, double Z, double& R, double& G, double& B,
              const TColorSettings* Settings);
void XYZToLuv(double X, double Y, double Z, double& L, double& u, double& v,
              const TColorSettings* Settings);
void LuvToXYZ(double L, double u, double v, double& X, double& Y, double& Z,
              const TColorSettings* Settings);
void XYZToLab(double X, double Y, double Z, double& L, double& a, double& b,
              const TColorSettings* Settings);
void LabToXYZ(double L, double a, double b, double& X, double& Y, double& Z,
              const TColorSettings* Settings);

// Polar forms (no settings; L is passed but not used). Hue in degrees [0, 360).
void LuvToLCh(double L, double u, double v, double& C, double& h) noexcept;
void LChToLuv(double L, double C, double h, double& u, double& v) noexcept;
void LabToLChab(double L, double a, double b, double& C, double& h) noexcept;
void LChabToLab(double L, double C, double h, double& a, double& b) noexcept;

// Composed conversions.
void RGBToLuv(double R, double G, double B, double& L, double& u, double& v,
              const TColorSettings* Settings);
void RGBToLuv(const TRGB& RGB, double& L, double& u, double& v, const TColorSettings* Settings);

void LuvToRGB(double L, double u, double v, double& R, double& G, double& B,
              const TColorSettings* Settings);
TRGB LuvToRGB(double L, double u, double v, const TColorSettings* Settings);

void RGBToLCh(double R, double G, double B, double& L, double& C, double& h,
              const TColorSettings* Settings);
TLCh RGBToLCh(const TRGB& RGB, const TColorSettings* Settings);
void RGBToLCh(const TRGB& RGB, double& L, double& C, double& h, const TColorSettings* Settings);

void LChToRGB(double L, double C, double h, double& R, double& G, double& B,
              const TColorSettings* Settings);
TRGB LChToRGB(double L, double C, double h, const TColorSettings* Settings);
TRGB LChToRGB(const TLCh& LCh, const TColorSettings* Settings);
// The linear-light components (0..1 inside the gamut) that LChToRGB encodes,
// before a negative one is marked -1: how far a colour lies outside the gamut.
void LChToLinearRGB(const TLCh& LCh, double& r, double& g, double& b,
                    const TColorSettings* Settings);
// Linear r, g, b encoded as XYZToRGB does (a negative value or NaN gives -1,
// nothing limits a value above 1), so LChToRGB is this after LChToLinearRGB.
TRGB LinearRGBToRGB(double r, double g, double b, const TColorSettings* Settings);

void RGBToLab(double R, double G, double B, double& L, double& a, double& b,
              const TColorSettings* Settings);
void RGBToLab(const TRGB& RGB, double& L, double& a, double& b, const TColorSettings* Settings);

void LabToRGB(double L, double a, double b, double& R, double& G, double& B,
              const TColorSettings* Settings);
TRGB LabToRGB(double L, double a, double b, const TColorSettings* Settings);

void RGBToLChab(double R, double G, double B, double& L, double& C, double& h,
                const TColorSettings* Settings);
void RGBToLChab(const TRGB& RGB, double& L, double& C, double& h, const TColorSettings* Settings);

void LChabToRGB(double L, double C, double h, double& R, double& G, double& B,
                const TColorSettings* Settings);
TRGB LChabToRGB(double L, double C, double h, const TColorSettings* Settings);
