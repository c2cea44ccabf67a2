#pragma once
// How a bitmap is resampled when it is drawn at another size.

#include <cstdint>

enum class TStretchFilter : uint8_t {
  sfNearest,  // nearest pixel
  sfDraft,    // fast box average, for previews and small icons
  sfLinear,   // bilinear
};
