#pragma once
// Where colours lie in a viewport's image and which colour lies at a pixel:
// the geometry of the colour field used forward (curves, markers, keys) and
// in reverse (dragging a key). Screen coordinates are rounded to nearest,
// ties to even; fractions of the image use its size less one pixel.

#include <optional>

#include "app/core/viewport/view_types.h"
#include "colour/colour_records.h"
#include "colour/colour_settings.h"

struct TScreenPoint {
  int X = 0, Y = 0;
  bool operator==(const TScreenPoint&) const = default;
};

// The view a mapping is for: its type, the image's size and the settings.
struct TScreenGeometry {
  TViewType ViewType = vtLuvL;
  int Width = 0, Height = 0;
  const TColorSettings* Settings = nullptr;  // not owned; null = defaults
};

// The point of a colour, clamped to 0..255 first.
TScreenPoint ColorToScreen(const TScreenGeometry& G, const TRGB& RGB);

// The point of a CIELUV LCh point (a curve's control point): for the CIE view
// types computed from the point itself, so a point outside the gamut is not
// clamped; for the others through LChToRGB and ColorToScreen.
TScreenPoint ControlPointToScreen(const TScreenGeometry& G, const TLCh& P);

// The colour at pixel (X, Y) whose coordinate along the slider axis is
// Third. May lie outside 0..255; callers clamp it.
TRGB ScreenToColor(const TScreenGeometry& G, int X, int Y, double Third);

// The colour's coordinate along the slider axis of a view type (what
// SetSliderFromColor moves the slider to); none for the two path view types,
// whose slider is no colour coordinate.
std::optional<double> SliderAxisValue(TViewType ViewType, const TRGB& RGB, const TColorSettings* Settings);

// The colour at (X, Y) that keeps RGB's own slider-axis coordinate (for the
// path view types its CIELUV hue).
TRGB ScreenToColorKeepThird(const TScreenGeometry& G, int X, int Y, const TRGB& RGB);
