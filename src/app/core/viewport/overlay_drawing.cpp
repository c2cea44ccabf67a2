#include "app/core/viewport/overlay_drawing.h"

#include <algorithm>
#include <cstdint>

#include "colour/rgb_spaces.h"
#include "foundation/rounding.h"
#include "graphics/color32.h"

namespace {

// Axis-aligned spans with 64-bit ends, both included; empty when Lo > Hi.
// Ends are pulled in to one pixel outside the bitmap first, which keeps the
// visible pixels and the int arguments of the bitmap's own operations.
int Limit(int64_t v, int size) { return static_cast<int>(std::clamp<int64_t>(v, -1, size)); }

void HorzSpan(TBitmap32& bmp, int64_t xLo, int64_t xHi, int64_t y, TColor32 color) {
  if (xLo > xHi || y < 0 || y >= bmp.Height()) return;
  bmp.HorzLineS(Limit(xLo, bmp.Width()), static_cast<int>(y), Limit(xHi, bmp.Width()), color);
}

void VertSpan(TBitmap32& bmp, int64_t x, int64_t yLo, int64_t yHi, TColor32 color) {
  if (yLo > yHi || x < 0 || x >= bmp.Width()) return;
  bmp.VertLineS(static_cast<int>(x), Limit(yLo, bmp.Height()), Limit(yHi, bmp.Height()), color);
}

}  // namespace

void DrawGridLines(TBitmap32& overlay) {
  const int w = overlay.Width();
  const int h = overlay.Height();
  if (w == 0 || h == 0) return;
  const int cx = w / 2;
  const int cy = h / 2;
  for (int i = 1; i <= 7; ++i) overlay.VertLineS(RoundDouble(w / 8.0 * (i - 4)) + cx, 0, h - 1, kGridLineColor32);
  for (int i = 1; i <= 7; ++i) overlay.HorzLineS(0, RoundDouble(h / 8.0 * (i - 4)) + cy, w - 1, kGridLineColor32);
}

void DrawGridAxes(TBitmap32& overlay) {
  const int w = overlay.Width();
  const int h = overlay.Height();
  if (w == 0 || h == 0) return;
  overlay.VertLineS(w / 2, 0, h - 1, kAxisColor32);
  overlay.HorzLineS(0, h / 2, w - 1, kAxisColor32);
}

void DrawKeyMarker(TBitmap32& overlay, int X, int Y, const TRGB& RGB, int Size) {
  if (Size <= 0) return;
  const int64_t s = Size;
  const int64_t left = int64_t{X} - s, right = int64_t{X} + s;
  const int64_t top = int64_t{Y} - s, bottom = int64_t{Y} + s;
  if (right < 0 || left >= overlay.Width() || bottom < 0 || top >= overlay.Height()) return;

  overlay.FillRectS(Limit(left, overlay.Width()), Limit(top, overlay.Height()), Limit(right, overlay.Width()),
                    Limit(bottom, overlay.Height()), Color32(RGBToColor(RGB)));
  // Each edge stops one short of the next corner, so no pixel is drawn twice.
  VertSpan(overlay, left, top + 1, bottom, kMarkerLightEdge32);   // left, upwards
  HorzSpan(overlay, left, right - 1, top, kMarkerLightEdge32);    // top, rightwards
  VertSpan(overlay, right, top, bottom - 1, kMarkerDarkEdge32);   // right, downwards
  HorzSpan(overlay, left + 1, right, bottom, kMarkerDarkEdge32);  // bottom, leftwards
}

void DrawPathLine(TBitmap32& overlay, int X1, int Y1, int X0, int Y0, TColor32 Colour, bool HueWrap) {
  const int w = overlay.Width();
  const int h = overlay.Height();
  if (w == 0 || h == 0) return;
  Y1 = std::clamp(Y1, 0, h - 1);
  Y0 = std::clamp(Y0, 0, h - 1);

  const int64_t span = int64_t{X1} - X0;
  if (!HueWrap || (span < 0 ? -span : span) <= w / 2) {
    overlay.LineS(X1, Y1, X0, Y0, Colour, true);
    return;
  }
  // From the end with the larger x to the other end moved right by w.
  const bool firstIsRight = X1 > X0;
  const int xa = firstIsRight ? X1 : X0, ya = firstIsRight ? Y1 : Y0;
  const int xb = firstIsRight ? X0 : X1, yb = firstIsRight ? Y0 : Y1;
  const int64_t shifted = int64_t{xb} + w;
  // Only columns 0..2w-1 of the wrapped line can show. Past this test both
  // shifted ends fit in an int (the bitmap is far narrower than 2^30).
  if (std::max<int64_t>(xa, shifted) < 0 || std::min<int64_t>(xa, shifted) >= int64_t{2} * w) return;
  // The part left of the right edge where it lies, the rest one width left.
  // Shifting a line by whole pixels shifts its pixels exactly.
  overlay.LineS(xa, ya, static_cast<int>(shifted), yb, Colour, true);
  overlay.LineS(xa - w, ya, xb, yb, Colour, true);
}
