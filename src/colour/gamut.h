#pragma once
// The edge of the RGB gamut in CIELUV: the most saturated in-gamut colour of
// a hue and two chroma bounds at a given lightness. `Settings` may be null
// (the defaults).

#include <array>

#include "colour/colour_records.h"
#include "colour/colour_settings.h"

// The CIELUV hues of the six cube corners red, yellow, green, cyan, blue and
// magenta under one working space and reference white (the gamma plays no
// part: the corners' components are 0 and 255).
using TCornerHues = std::array<double, 6>;
TCornerHues ComputeCornerHues(const TColorSettings* Settings);

// The most saturated in-gamut colour of a CIELUV hue (degrees; a hue outside
// [0, 360) is first reduced modulo 360): one channel at 255, one at 0 and the
// third solved for the hue. The corner hues come from a table built once per
// working space and reference white.
TLuv MaxChromaLuvForHue(double Hue, const TColorSettings* Settings);
// The same with corner hues the caller computed (ComputeCornerHues of the
// same Settings).
TLuv MaxChromaLuvForHue(double Hue, const TCornerHues& Corners, const TColorSettings* Settings);

// MaxChromaLuvForHue in polar form; the hue is recomputed from u, v.
TLCh MaxChromaLChForHue(double Hue, const TColorSettings* Settings);

// A chroma bound in straight lines from 1 at L = 0 up to the hue's maximum
// chroma at its lightness and down to 1 at L = 100.
double MaxChromaAtLightness(double L, double Hue, const TColorSettings* Settings);

// P with its chroma limited by the triangle from 0 at L = 0 through the hue's
// maximum chroma to 0 at L = 100 (never below 0). L and h are unchanged.
TLCh LimitChroma(const TLCh& P, const TColorSettings* Settings);
