#pragma once
// Device colour spaces: RGB records and their packing into TColor, HSV, HLS,
// an opponent-colour space with its polar form, and the CIELUV hue of the
// corners of the RGB cube. All are pure functions.

#include <cstdint>

#include "colour/colour_records.h"
#include "colour/colour_settings.h"
#include "graphics/color_types.h"

// A corner of the RGB cube; any other value is accepted and names no corner.
using TPrimaryColor = uint8_t;
inline constexpr TPrimaryColor pcRed = 0;      // (255, 0, 0)
inline constexpr TPrimaryColor pcYellow = 1;   // (255, 255, 0)
inline constexpr TPrimaryColor pcGreen = 2;    // (0, 255, 0)
inline constexpr TPrimaryColor pcCyan = 3;     // (0, 255, 255)
inline constexpr TPrimaryColor pcBlue = 4;     // (0, 0, 255)
inline constexpr TPrimaryColor pcMagenta = 5;  // (255, 0, 255)

TRGB MakeRGB(double R, double G, double B) noexcept;
TLCh MakeLCh(double L, double C, double h) noexcept;

// Each component limited to [0, 255]; NaN gives 0.
TRGB ClampRGB(const TRGB& RGB) noexcept;
// True when every component lies in [0, 255], bounds included.
bool IsRGBInRange(const TRGB& RGB) noexcept;

// R | G<<8 | B<<16 after limiting each component to [0, 255] (NaN gives 0)
// and rounding to nearest, ties to even.
TColor RGBToColor(double R, double G, double B) noexcept;
TColor RGBToColor(const TRGB& RGB) noexcept;
TColor RGBToColorRounded(double R, double G, double B) noexcept;
// The three bytes of a packed colour as whole-number components.
TRGB ColorToRGB(TColor Color) noexcept;

THSV RGBToHSV(const TRGB& RGB) noexcept;
TRGB HSVToRGB(const THSV& HSV) noexcept;
THLS RGBToHLS(const TRGB& RGB) noexcept;
TRGB HLSToRGB(const THLS& HLS) noexcept;
TColor HLSToColor(const THLS& HLS) noexcept;

double Max3(double A, double B, double C) noexcept;
double Min3(double A, double B, double C) noexcept;

// CIELUV hue in degrees [0, 360) of a cube corner under `Settings` (may be
// null), or -1.0 for a value that names no corner.
double GetPrimaryHue(TPrimaryColor Corner, const TColorSettings* Settings);

// Opponent space: I 0..100, RG about +-86.6, YB -100..100 for in-gamut colours.
void RGBToOpponent(double R, double G, double B, double& I, double& RG, double& YB) noexcept;
void OpponentToRGB(double I, double RG, double YB, double& R, double& G, double& B) noexcept;
// Polar form: chroma C and hue h in degrees [0, 360). I is not used.
void OpponentToPolar(double I, double RG, double YB, double& C, double& h) noexcept;
void PolarToOpponent(double I, double C, double h, double& RG, double& YB) noexcept;
void RGBToOpponentPolar(double R, double G, double B, double& I, double& C, double& h) noexcept;
void OpponentPolarToRGB(double I, double C, double h, double& R, double& G, double& B) noexcept;
