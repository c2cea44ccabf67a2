#pragma once
// Interpolation of hues and colour records, colour blending and the small
// numeric helpers (floating modulo and quotient, degrees and radians). In
// every interpolation t = 0 gives the first operand and t = 1 the second; t
// is not limited to [0, 1]. All are pure.

#include "colour/colour_records.h"
#include "graphics/color_types.h"

// The hue at t on the shorter arc from FromHue to ToHue, in [0, 360]. A
// difference of exactly 180 degrees goes the direct way (not wrapped).
double InterpolateHue(double t, double FromHue, double ToHue) noexcept;

TRGB LerpRGB(const TRGB& A, const TRGB& B, double t) noexcept;
TLuv LerpLuv(const TLuv& A, const TLuv& B, double t) noexcept;
// L and C linear, h by InterpolateHue.
TLCh LerpLCh(const TLCh& A, const TLCh& B, double t) noexcept;

// Linear blend in RGB of two packed colours, rounded (ties to even) and
// limited to 0..255.
TColor BlendColors(TColor A, TColor B, double t) noexcept;

// Value modulo Modulus: in [0, Modulus) for a positive Modulus, except that a
// tiny negative Value may round to Modulus itself.
double FloatMod(double Value, double Modulus) noexcept;

// The number of times Divisor can be subtracted from Value, by repeated
// subtraction (so rounding can make it differ from a floor quotient: 2.0 by
// 0.1 gives 19). Both are negated first when Divisor is negative; a Value
// below Divisor gives 0. Where subtraction could make no progress (a
// quotient beyond 2^53, an infinite Value) the floor of Value / Divisor is
// returned instead. A zero Divisor raises EAssertionFailed.
double FloatQuotient(double Value, double Divisor);

// Angle conversions with the constants in extended precision.
double RadToDegree(double x) noexcept;
double DegreeToRad(double x) noexcept;
