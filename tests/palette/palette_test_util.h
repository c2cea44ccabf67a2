#pragma once
// Readers shared by the palette tests: a swatch of a palette and an exact
// comparison of two colours. Header-only, compiled only where included.

#include <gtest/gtest.h>

#include "colour/colour_records.h"
#include "palette/base_palette.h"

inline void ExpectRGBEq(const TRGB& got, const TRGB& want) {
  EXPECT_EQ(got.R, want.R);
  EXPECT_EQ(got.G, want.G);
  EXPECT_EQ(got.B, want.B);
}

inline TRGB Swatch(const TBasePalette& p, int index) {
  TRGB rgb;
  p.GetIndexColor(index, rgb);
  return rgb;
}
