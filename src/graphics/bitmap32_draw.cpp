#include "graphics/bitmap32.h"

#include <algorithm>
#include <stdexcept>

// Drawing one bitmap onto another by the source's draw mode.

void TBitmap32::DrawTo(TBitmap32& dst, int dstX, int dstY) const {
  if (&dst == this) throw std::invalid_argument("TBitmap32::DrawTo: cannot draw a bitmap onto itself");
  // The target rectangle in 64 bits: dstX + Width may pass INT_MAX.
  const int64_t left = std::max<int64_t>(dstX, dst.FClipRect.Left);
  const int64_t top = std::max<int64_t>(dstY, dst.FClipRect.Top);
  const int64_t right = std::min<int64_t>(int64_t{dstX} + FWidth, dst.FClipRect.Right);
  const int64_t bottom = std::min<int64_t>(int64_t{dstY} + FHeight, dst.FClipRect.Bottom);
  if (left >= right || top >= bottom) return;

  const auto count = static_cast<ptrdiff_t>(right - left);
  const uint32_t master = FMasterAlpha;
  for (int64_t y = top; y < bottom; ++y) {
    const TColor32* src = FBits.data() + (y - dstY) * FWidth + (left - dstX);
    TColor32* out = dst.FBits.data() + y * dst.FWidth + left;
    if (FDrawMode == TDrawMode::dmOpaque) {
      std::copy(src, src + count, out);
    } else {
      for (ptrdiff_t i = 0; i < count; ++i) out[i] = BlendColor32(src[i], out[i], master);
    }
  }
}
