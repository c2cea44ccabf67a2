#include "graphics/bitmap32.h"

#include <algorithm>

// Horizontal and vertical lines, filled and framed rectangles.

void TBitmap32::FillSpan(int x1, int y, int x2, TColor32 color) {
  TColor32* row = FBits.data() + static_cast<ptrdiff_t>(y) * FWidth;
  std::fill(row + x1, row + x2 + 1, color);
}

void TBitmap32::ClippedHorzLine(const TRect& clip, int x1, int y, int x2, TColor32 color) {
  if (x2 < x1) std::swap(x1, x2);
  if (y < clip.Top || y >= clip.Bottom) return;
  x1 = std::max(x1, clip.Left);
  x2 = std::min(x2, clip.Right - 1);
  if (x1 <= x2) FillSpan(x1, y, x2, color);
}

void TBitmap32::ClippedVertLine(const TRect& clip, int x, int y1, int y2, TColor32 color) {
  if (y2 < y1) std::swap(y1, y2);
  if (x < clip.Left || x >= clip.Right) return;
  y1 = std::max(y1, clip.Top);
  y2 = std::min(y2, clip.Bottom - 1);
  if (y1 > y2) return;
  TColor32* p = FBits.data() + static_cast<ptrdiff_t>(y1) * FWidth + x;
  for (int y = y1; y <= y2; ++y, p += FWidth) *p = color;
}

void TBitmap32::ClippedFillRect(const TRect& clip, int x1, int y1, int x2, int y2, TColor32 color) {
  const TRect r = IntersectRect(TRect{x1, y1, x2, y2}, clip);
  for (int y = r.Top; y < r.Bottom; ++y) FillSpan(r.Left, y, r.Right - 1, color);
}

void TBitmap32::ClippedFrameRect(const TRect& clip, int x1, int y1, int x2, int y2, TColor32 color) {
  if (x2 <= x1 || y2 <= y1) return;
  // The last row and column inside; x2 > x1 and y2 > y1 keep these from wrapping.
  const int right = x2 - 1;
  const int bottom = y2 - 1;
  ClippedHorzLine(clip, x1, y1, right, color);
  if (bottom > y1) ClippedHorzLine(clip, x1, bottom, right, color);
  if (bottom > y1 + 1) {
    ClippedVertLine(clip, x1, y1 + 1, bottom - 1, color);
    if (right > x1) ClippedVertLine(clip, right, y1 + 1, bottom - 1, color);
  }
}

void TBitmap32::HorzLine(int x1, int y, int x2, TColor32 color) { ClippedHorzLine(BoundsRect(), x1, y, x2, color); }
void TBitmap32::HorzLineS(int x1, int y, int x2, TColor32 color) { ClippedHorzLine(FClipRect, x1, y, x2, color); }
void TBitmap32::VertLine(int x, int y1, int y2, TColor32 color) { ClippedVertLine(BoundsRect(), x, y1, y2, color); }
void TBitmap32::VertLineS(int x, int y1, int y2, TColor32 color) { ClippedVertLine(FClipRect, x, y1, y2, color); }

void TBitmap32::FillRect(int x1, int y1, int x2, int y2, TColor32 color) {
  ClippedFillRect(BoundsRect(), x1, y1, x2, y2, color);
}
void TBitmap32::FillRectS(int x1, int y1, int x2, int y2, TColor32 color) {
  ClippedFillRect(FClipRect, x1, y1, x2, y2, color);
}
void TBitmap32::FrameRect(int x1, int y1, int x2, int y2, TColor32 color) {
  ClippedFrameRect(BoundsRect(), x1, y1, x2, y2, color);
}
void TBitmap32::FrameRectS(int x1, int y1, int x2, int y2, TColor32 color) {
  ClippedFrameRect(FClipRect, x1, y1, x2, y2, color);
}
