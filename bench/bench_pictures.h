// Pictures the image benchmarks encode and decode.
#pragma once

#include "graphics/bitmap32.h"

inline constexpr int kPictureWidth = 4000;
inline constexpr int kPictureHeight = 3000;  // 12 megapixels

// A photo-like 12-megapixel picture: smooth gradients with a little
// deterministic noise, so filters, transforms and entropy coders have real
// work to do. Opaque, or with an alpha that varies across the columns.
TBitmap32 NoisyGradient12MP(bool varyingAlpha);
