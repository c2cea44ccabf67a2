#pragma once
// What a viewport's overlay shows, drawn into its overlay bitmap: grid lines,
// centre axes, and for each palette on show its sampled curve, a marker at
// every discrete colour and its keys or curve control points joined by lines.
// Which of these a palette gets follows its name (palette_names.h). No Qt:
// the viewport lays the result over its field.
//
// Building runs in two steps: the palettes are sampled (colours and CIELUV
// points, the same for every view), then the samples are mapped into one
// view and drawn. The viewport group samples once for all its viewports.

#include <cstddef>
#include <span>
#include <vector>

#include "app/core/viewport/screen_mapping.h"
#include "graphics/bitmap32.h"

class TColorPalette;

// Points along a palette's curve.
inline constexpr int kCurveSamples = 101;
// Marker half-sizes: the keys of "Custom", and every other marker.
inline constexpr int kCustomKeyMarkerSize = 4;
inline constexpr int kMarkerSize = 3;

// What one palette contributes to an overlay.
struct TPaletteSamples {
  TColor32 LineColor = 0;
  bool IsCustomName = false;        // keys as size-4 markers
  bool ShowsKeys = false;           // keys or control points (not for "Stored")
  bool DrawsKeyLines = false;       // keys joined by lines
  std::vector<TRGB> Curve;          // kCurveSamples colours, clamped; empty: no curve
  std::vector<TRGB> Colors;         // the discrete colours, clamped
  std::vector<TRGB> Keys;           // a custom palette's keys, as stored
  std::vector<TLCh> ControlPoints;  // 3 per curve of a curve palette
};

// The samples of a list of palettes, kept between redraws so that sampling
// again reuses the storage.
class TOverlaySamples {
 public:
  // Samples Palettes (not owned; null entries and palettes without colours
  // are passed over, as the overlay passes them over).
  void Sample(std::span<TColorPalette* const> Palettes);
  // True when taken from exactly this list of palettes (same entries, same
  // order), so a view showing it may draw these samples.
  bool SampledFrom(std::span<TColorPalette* const> Palettes) const;
  // The palettes drawn, in list order.
  std::span<const TPaletteSamples> Entries() const { return {FEntries.data(), FCount}; }

 private:
  std::vector<TColorPalette*> FSource;
  std::vector<TPaletteSamples> FEntries;  // the first FCount are in use
  std::size_t FCount = 0;
};

struct TOverlayParams {
  // The view the points are mapped into; its size is the overlay's.
  TScreenGeometry Geometry;
  bool DrawGridLines = true;
  bool DrawGridAxes = false;
  bool ShowColorKeys = false;
};

// Clears the overlay to transparent and draws everything into it, the
// palettes from the last to the first (so the first ends on top). Each line
// and marker replaces the pixels beneath it, alpha included.
void BuildOverlay(TBitmap32& Overlay, const TOverlayParams& Params, const TOverlaySamples& Samples);
