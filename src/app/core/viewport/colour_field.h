#pragma once
// The colour field of a viewport: for every pixel of a square image the
// colour of its view type at that position and slider value, written into
// the bitmap where it lies inside the RGB gamut (everywhere, clamped, when
// out-of-range pixels are shown). Pixels outside the gamut keep what the
// bitmap held: the caller clears it to kFieldBackground first.

#include <span>

#include "app/core/viewport/view_types.h"
#include "colour/colour_settings.h"
#include "graphics/bitmap32.h"

class TColorPalette;

// The background grey (102, 102, 102) of every field, opaque.
inline constexpr TColor kFieldBackground = 0x666666;
inline constexpr TColor32 kFieldBackground32 = 0xFF666666u;

struct TFieldParams {
  TViewType ViewType = vtLuvL;
  double SliderValue = 0;
  const TColorSettings* Settings = nullptr;  // not owned; null = defaults
  bool ShowPixelsOutOfRange = false;
  // The palettes that the path view types take their hue path from (not owned).
  std::span<TColorPalette* const> Palettes;
};

// Paints the field into Bitmap (its size is the image's). Nothing happens for
// a bitmap smaller than 2 x 2. The path view types paint nothing when no
// palette supplies a path.
void RenderField(TBitmap32& Bitmap, const TFieldParams& Params);
