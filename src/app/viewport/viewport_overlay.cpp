// Redraw of a viewport: the field when asked (and always for the view types
// whose field follows a palette's path), the overlay built by the Qt-free
// overlay code, the overlay blended over the field into the composite the
// image shows, and the optional draw time.
#include <QString>
#include <chrono>

#include "app/core/viewport/colour_field.h"
#include "app/core/viewport/overlay_builder.h"
#include "app/core/viewport/overlay_drawing.h"
#include "app/toolkit/bitmap_qimage.h"
#include "app/viewport/viewport.h"

namespace {
constexpr int kDrawTimeLeft = 5;
constexpr int kDrawTimeTop = 5;
constexpr TColor32 kDrawTimeBackground32 = 0xFF999999u;
constexpr TColor32 kDrawTimeText32 = clBlack32;
}  // namespace

void TViewport::Redraw(bool OverlayOnly) { Redraw(OverlayOnly, FOverlaySamples); }

void TViewport::Redraw(bool OverlayOnly, const TOverlaySamples& Samples) {
  if (FFieldBitmap.Width() < 2 || FFieldBitmap.Height() < 2) return;
  // A monotonic clock: a change of the wall clock cannot give a negative time.
  const auto start = std::chrono::steady_clock::now();
  // Our own samples are taken afresh; given ones only when of our palettes.
  const TOverlaySamples* samples = &Samples;
  if (samples == &FOverlaySamples || !Samples.SampledFrom(FPalettes)) {
    FOverlaySamples.Sample(FPalettes);
    samples = &FOverlaySamples;
  }

  if (!OverlayOnly || FollowsPalettePath(FViewType)) {
    FFieldBitmap.Clear(kFieldBackground32);
    RenderField(FFieldBitmap);
  }

  TOverlayParams params;
  params.Geometry = Geometry();
  params.DrawGridLines = FDrawGridLines;
  params.DrawGridAxes = FDrawGridAxes;
  params.ShowColorKeys = FShowColorKeys;
  BuildOverlay(FOverlayBitmap, params, *samples);

  // The overlay's alpha takes effect here, once.
  FFieldBitmap.SetDrawMode(TDrawMode::dmOpaque);
  FOverlayBitmap.SetDrawMode(TDrawMode::dmBlend);
  FFieldBitmap.DrawTo(FCompositeBitmap);
  FOverlayBitmap.DrawTo(FCompositeBitmap);

  if (FShowDrawTime) {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    const QString text = QString::number(elapsed.count());
    FCompositeBitmap.FillRectS(kDrawTimeLeft, kDrawTimeTop, kDrawTimeLeft + TextWidth(text),
                               kDrawTimeTop + TextHeight(text), kDrawTimeBackground32);
    RenderText(FCompositeBitmap, kDrawTimeLeft, kDrawTimeTop, text, kDrawTimeText32);
  }

  if (!FImage) return;  // the parent has gone
  FImage->SetBitmap(&FCompositeBitmap);
  FImage->repaint();
}

void TViewport::DrawKeyMarker(int X, int Y, const TRGB& RGB, int Size) {
  ::DrawKeyMarker(FOverlayBitmap, X, Y, RGB, Size);
}

void TViewport::DrawPathLine(int X1, int Y1, int X0, int Y0, TColor32 Colour) {
  ::DrawPathLine(FOverlayBitmap, X1, Y1, X0, Y0, Colour, HasHueAxis(FViewType));
}
