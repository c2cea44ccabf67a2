// The viewport's colour field and coordinate mappings: the current view type,
// slider value and settings handed to the Qt-free field and mapping code.
#include "app/viewport/viewport.h"

#include "app/core/viewport/colour_field.h"
#include "foundation/assertion.h"

TScreenGeometry TViewport::Geometry() const {
  return {FViewType, FFieldBitmap.Width(), FFieldBitmap.Height(), FColorSettings};
}

void TViewport::RenderField(TBitmap32& Bitmap) const {
  TFieldParams params;
  params.ViewType = FViewType;
  params.SliderValue = GetSliderValue();
  params.Settings = FColorSettings;
  params.ShowPixelsOutOfRange = FShowPixelsOutOfRange;
  params.Palettes = FPalettes;
  ::RenderField(Bitmap, params);
}

TScreenPoint TViewport::ColorToScreen(const TRGB& RGB) const { return ::ColorToScreen(Geometry(), RGB); }

TScreenPoint TViewport::ControlPointToScreen(const TLCh& P) const {
  return ::ControlPointToScreen(Geometry(), P);
}

TRGB TViewport::ScreenToColor(int X, int Y, double Third) const {
  return ::ScreenToColor(Geometry(), X, Y, Third);
}

void TViewport::ScreenToColorKeepThird(int X, int Y, TRGB& RGB) const {
  RGB = ::ScreenToColorKeepThird(Geometry(), X, Y, RGB);
}

void TViewport::DrawCompleteSpectrum(bool Light, int Steps) {
  Require(Steps >= 2, "a complete spectrum needs at least 2 steps");
  // Only in-gamut pixels, so every slice paints over the earlier ones only
  // where it has colours.
  const bool showOutOfRange = FShowPixelsOutOfRange;
  FShowPixelsOutOfRange = false;
  FFieldBitmap.Clear(kFieldBackground32);
  const TViewTypeInfo& info = GetViewTypeInfo();
  for (int i = 0; i < Steps; ++i) {
    double t = static_cast<double>(i) / (Steps - 1);
    if (!Light) t = 1 - t;
    SetSliderValue(info.Min + (info.Max - info.Min) * t);
    RenderField(FFieldBitmap);
  }
  FShowPixelsOutOfRange = showOutOfRange;
  Redraw(true);
}
