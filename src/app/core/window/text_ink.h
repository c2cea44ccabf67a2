// The ink for text written straight onto a plain background: black or white,
// whichever stands out more from it.
#pragma once

#include "graphics/color_types.h"

// Black on light backgrounds, white on dark ones. The choice is the one with
// the higher contrast ratio of relative luminances ((L1 + 0.05) / (L2 + 0.05),
// sRGB primaries), so it switches near a luminance of 0.18: at about mid grey
// (118, 118, 118) for a grey, earlier for saturated blues, later for yellows.
TColor32 TextInkOn(TColor Background) noexcept;
