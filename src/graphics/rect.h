#pragma once
// An integer rectangle in bitmap pixels: Left and Top included, Right and
// Bottom excluded (so Right - Left is the width).

#include <algorithm>

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  // True when the rectangle holds no pixel (including reversed rectangles).
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool operator==(const TRect&) const = default;
};

// The common part of two rectangles; empty (all zero) when they do not overlap.
constexpr TRect IntersectRect(const TRect& a, const TRect& b) {
  const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                std::min(a.Bottom, b.Bottom)};
  return r.IsEmpty() ? TRect{} : r;
}
