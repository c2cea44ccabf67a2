#pragma once
// The two packed colour forms that travel between the colour code, the
// bitmaps and the widgets.

#include <cstdint>

// A widget colour: R | G<<8 | B<<16, top byte 0 for the colours this tool builds.
using TColor = uint32_t;

// A bitmap colour: A<<24 | R<<16 | G<<8 | B (the layout of QImage::Format_ARGB32).
using TColor32 = uint32_t;
