#pragma once
// The three colour-distance functions selected by TColorSettings::DistFunc:
// 0 CIE 1994, 1 CIEDE2000 (both on CIELAB values derived from the CIELUV
// operands) and 2 a distance of lightness alone.

#include "colour/colour_records.h"
#include "colour/colour_settings.h"

inline constexpr int kDistCIE1994 = 0;
inline constexpr int kDistCIE2000 = 1;
inline constexpr int kDistLightness = 2;

// The distance between two CIELUV LCh colours by GetDistFunc(Settings)
// (null: 2). A DistFunc outside 0..2 raises EAssertionFailed.
double ColorDistance(const TLCh& A, const TLCh& B, const TColorSettings* Settings);

// CIE 1994 on CIELAB values (kL = kC = kH = 1), with the weighting chroma
// C* = sqrt(C1^2 + C2^2), so the result is symmetric in its operands.
double DeltaE1994(double L1, double a1, double b1, double L2, double a2, double b2) noexcept;

// CIEDE2000 on CIELAB values (kL = kC = kH = 1).
double DeltaE2000(double L1, double a1, double b1, double L2, double a2, double b2) noexcept;

// The lightness distance of two CIELUV lightnesses: 6 |L'1 - L'2| with L'
// running from 200 at L = 0 to 100 at L = 100, steeper near white.
double LightnessDistance(double L1, double L2) noexcept;
