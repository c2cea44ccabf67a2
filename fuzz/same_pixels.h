#pragma once
// Whether two bitmaps have the same size and the same pixels (for the fuzz
// targets' round trips).

#include <cstdint>

#include "graphics/bitmap32.h"

inline bool SamePixels(const TBitmap32& a, const TBitmap32& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  const int64_t pixels = int64_t{a.Width()} * a.Height();
  for (int64_t i = 0; i < pixels; ++i)
    if (a.Bits()[i] != b.Bits()[i]) return false;
  return true;
}
