#include "app/core/viewport/overlay_builder.h"

#include <algorithm>
#include <string_view>

#include "app/core/palette_names.h"
#include "app/core/viewport/overlay_drawing.h"
#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"
#include "palette/colour_palette.h"

namespace {

bool DrawsCurve(const TColorPalette& P) {
  const std::string_view name = P.GetName();
  if (name != kCustomPaletteName && name != kAutoPaletteName && name != kStoredPaletteName) return false;
  // A custom palette drawn straight shows its key lines instead.
  return !(P.Typ() == ptCustom && P.CustPal().InterpolationMethod() == imCIELUVStraight);
}

void SamplePalette(const TColorPalette& P, TPaletteSamples& s) {
  const std::string_view name = P.GetName();
  s.LineColor = PaletteLineColor(name);
  s.IsCustomName = name == kCustomPaletteName;
  s.ShowsKeys = name != kStoredPaletteName;
  // "Custom" joins its points only when it is a custom palette drawn straight.
  s.DrawsKeyLines = !s.IsCustomName || (P.Typ() == ptCustom && P.CustPal().InterpolationMethod() == imCIELUVStraight);
  s.Curve.clear();
  s.Colors.clear();
  s.Keys.clear();
  s.ControlPoints.clear();

  if (DrawsCurve(P)) {
    for (int j = 0; j < kCurveSamples; ++j) {
      TRGB rgb;
      P.GetColor(j / double(kCurveSamples - 1), rgb);  // clamped by the holder
      s.Curve.push_back(rgb);
    }
    // A colour equal to the one before it would draw the same marker again
    // over itself (markers replace pixels): it is kept once.
    for (int k = 0; k < P.GetNumColors(); ++k) {
      TRGB rgb;
      P.GetIndexColor(k, rgb);
      if (s.Colors.empty() || !(s.Colors.back() == rgb)) s.Colors.push_back(rgb);
    }
  }
  if (!s.ShowsKeys) return;
  if (P.Typ() == ptCustom) {
    const TCustomPalette& custom = P.CustPal();
    for (int k = 0; k < custom.GetKeyCount(); ++k) {
      TRGB rgb;
      custom.GetKey(k, rgb);
      s.Keys.push_back(rgb);
    }
  } else if (P.Typ() == ptSeq || P.Typ() == ptDiv) {
    const auto& curves = static_cast<const TQuantitativePalette&>(P.Current());
    for (int k = 0; k < curves.NumCurves() * 3; ++k) s.ControlPoints.push_back(curves.GetControlPoint(k / 3, k % 3));
  }
}

// Draws the samples of one palette into one view.
class TPaletteDrawer {
 public:
  TPaletteDrawer(TBitmap32& overlay, const TScreenGeometry& geometry)
      : FOverlay(overlay), FGeometry(geometry), FHueWrap(HasHueAxis(geometry.ViewType)) {}

  // The sampled curve, then a marker at every discrete colour.
  void DrawCurveAndColors(const TPaletteSamples& s) {
    TScreenPoint previous{};
    for (std::size_t j = 0; j < s.Curve.size(); ++j) {
      const TScreenPoint p = ColorToScreen(FGeometry, s.Curve[j]);
      if (j > 0) DrawPathLine(FOverlay, previous.X, previous.Y, p.X, p.Y, s.LineColor, FHueWrap);
      previous = p;
    }
    // Many colours of a long palette land on one pixel in one colour: a
    // marker that repeats the one just drawn changes nothing and is skipped.
    TScreenPoint last{};
    TColor lastColor = 0;
    bool drawn = false;
    for (const TRGB& rgb : s.Colors) {
      const TScreenPoint p = ColorToScreen(FGeometry, rgb);
      const TColor color = RGBToColor(rgb);
      if (drawn && p.X == last.X && p.Y == last.Y && color == lastColor) continue;
      DrawKeyMarker(FOverlay, p.X, p.Y, rgb, kMarkerSize);
      last = p;
      lastColor = color;
      drawn = true;
    }
  }

  // The keys, or the control points (a curve's first point starts a new
  // path), then the last point's marker at the size last used.
  void DrawKeys(const TPaletteSamples& s) {
    FSize = kCustomKeyMarkerSize;
    FHavePoint = false;
    for (std::size_t k = 0; k < s.Keys.size(); ++k) Step(s, ColorToScreen(FGeometry, s.Keys[k]), s.Keys[k], k > 0);
    for (std::size_t k = 0; k < s.ControlPoints.size(); ++k) {
      const TLCh& point = s.ControlPoints[k];
      Step(s, ControlPointToScreen(FGeometry, point), LChToRGB(point, FGeometry.Settings), k % 3 != 0);
    }
    if (FHavePoint) DrawKeyMarker(FOverlay, FPrevious.X, FPrevious.Y, FPreviousColor, FSize);
  }

 private:
  // The next point of a walk. When it joins the previous point: a segment
  // from there, then the previous point's marker over the segment's start.
  void Step(const TPaletteSamples& s, TScreenPoint p, const TRGB& rgb, bool joinsPrevious) {
    if (joinsPrevious) {
      if (s.DrawsKeyLines) DrawPathLine(FOverlay, FPrevious.X, FPrevious.Y, p.X, p.Y, s.LineColor, FHueWrap);
      FSize = s.IsCustomName ? kCustomKeyMarkerSize : kMarkerSize;
      DrawKeyMarker(FOverlay, FPrevious.X, FPrevious.Y, FPreviousColor, FSize);
    }
    FPrevious = p;
    FPreviousColor = rgb;
    FHavePoint = true;
  }

  TBitmap32& FOverlay;
  const TScreenGeometry& FGeometry;
  const bool FHueWrap;
  TScreenPoint FPrevious{};
  TRGB FPreviousColor{};
  int FSize = kCustomKeyMarkerSize;
  bool FHavePoint = false;
};

}  // namespace

void TOverlaySamples::Sample(std::span<TColorPalette* const> Palettes) {
  FSource.assign(Palettes.begin(), Palettes.end());
  FCount = 0;
  for (const TColorPalette* P : Palettes) {
    if (P == nullptr || P->GetNumColors() == 0) continue;
    if (FCount == FEntries.size()) FEntries.emplace_back();
    SamplePalette(*P, FEntries[FCount++]);
  }
}

bool TOverlaySamples::SampledFrom(std::span<TColorPalette* const> Palettes) const {
  return std::equal(Palettes.begin(), Palettes.end(), FSource.begin(), FSource.end());
}

void BuildOverlay(TBitmap32& Overlay, const TOverlayParams& Params, const TOverlaySamples& Samples) {
  Overlay.Clear(clTransparent32);
  if (Params.DrawGridLines) DrawGridLines(Overlay);
  if (Params.DrawGridAxes) DrawGridAxes(Overlay);

  TPaletteDrawer drawer(Overlay, Params.Geometry);
  const auto entries = Samples.Entries();
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    drawer.DrawCurveAndColors(*it);
    if (Params.ShowColorKeys && it->ShowsKeys) drawer.DrawKeys(*it);
  }
}
