#pragma once
// The drawing primitives of a viewport's overlay: grid lines, centre axes,
// bevelled markers and path segments with the hue wrap. Plain stores into the
// overlay bitmap: every pixel drawn replaces colour and alpha together, and
// nothing blends until the overlay is laid over the field. Everything is
// clipped to the overlay, for any end points in the int range.

#include <string_view>

#include "app/core/palette_names.h"
#include "app/core/viewport/view_types.h"
#include "colour/colour_records.h"
#include "graphics/bitmap32.h"

inline constexpr TColor32 kGridLineColor32 = 0x1CFFFFFFu;
inline constexpr TColor32 kAxisColor32 = 0xFFFF0000u;
inline constexpr TColor32 kMarkerLightEdge32 = 0x88FFFFFFu;  // top and left edges
inline constexpr TColor32 kMarkerDarkEdge32 = 0x66000000u;   // bottom and right edges

// The colour of a palette's curve and key lines, chosen by its name.
constexpr TColor32 PaletteLineColor(std::string_view name) {
  if (name == kCustomPaletteName || name == kAutoPaletteName) return 0xAAFFFFFFu;
  if (name == kStoredPaletteName) return 0x77FFFFFFu;
  return 0x33FFFFFFu;
}

// True for the view types whose horizontal axis is a hue angle: a path
// segment there may cross the 0/360 border and wrap round the image.
constexpr bool HasHueAxis(TViewType viewType) {
  return viewType == vtLuvC || viewType == vtLuvL2 || viewType == vtLabC || viewType == vtHLS_S ||
         viewType == vtHSV_S || viewType == vtOppC;
}

// Seven vertical and seven horizontal lines one eighth of the size apart, the
// middle ones through (Width div 2, Height div 2).
void DrawGridLines(TBitmap32& overlay);
// A vertical and a horizontal line through (Width div 2, Height div 2).
void DrawGridAxes(TBitmap32& overlay);

// A raised square marker centred on (X, Y): the square from X - Size to
// X + Size (right and bottom edge excluded) filled with the colour, opaque,
// then light top and left and dark bottom and right edges.
void DrawKeyMarker(TBitmap32& overlay, int X, int Y, const TRGB& RGB, int Size);

// One segment of a curve or key path, both ends included. Y1 and Y0 are first
// clamped to the rows of the overlay. With HueWrap, a segment spanning more
// than half the width crosses the hue border: it runs from the end with the
// larger x to the other end moved right by Width, and what lies beyond the
// right edge re-enters at the left.
void DrawPathLine(TBitmap32& overlay, int X1, int Y1, int X0, int Y0, TColor32 Colour, bool HueWrap);
