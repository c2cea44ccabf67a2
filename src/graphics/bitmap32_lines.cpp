#include "graphics/bitmap32.h"

#include <algorithm>
#include <cstdlib>

// General (Bresenham) lines with analytic clipping.
//
// A line is walked along its major axis (the axis of the larger delta, D
// steps); the minor axis (delta d <= D) advances at step i to the offset
// m(i) = floor((2 i d + D - 1) / (2 D)), the nearest offset to i d / D with
// halves rounded toward the start (the classic Bresenham choice). Clipping solves for the range of steps
// whose pixel lies inside the clip rectangle instead of walking to it, so end
// points anywhere in the int range cost only the pixels drawn. The products
// 2 D m reach about 2^66 for end points near +-2^31, hence the 128-bit setup;
// the walk itself runs on a 64-bit error term.

namespace {

using Wide = __int128;

Wide FloorDiv(Wide a, Wide b) {  // b > 0
  Wide q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}

Wide CeilDiv(Wide a, Wide b) {  // b > 0
  Wide q = a / b;
  if (a % b != 0 && a > 0) ++q;
  return q;
}

}  // namespace

void TBitmap32::ClippedLine(const TRect& clip, int x1, int y1, int x2, int y2, TColor32 color,
                            bool drawLastPoint) {
  if (clip.IsEmpty()) return;
  const int64_t dx = int64_t{x2} - x1;
  const int64_t dy = int64_t{y2} - y1;
  if (dx == 0 && dy == 0) {
    if (drawLastPoint && clip.Contains(x1, y1)) FBits[static_cast<size_t>(y1) * FWidth + x1] = color;
    return;
  }

  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t u0 = xMajor ? x1 : y1;  // start on the major axis
  const int64_t v0 = xMajor ? y1 : x1;  // start on the minor axis
  const int64_t majorDelta = xMajor ? dx : dy;
  const int64_t minorDelta = xMajor ? dy : dx;
  const int64_t D = std::llabs(majorDelta);
  const int64_t d = std::llabs(minorDelta);
  const int su = majorDelta > 0 ? 1 : -1;
  const int sv = minorDelta >= 0 ? 1 : -1;
  const int64_t lastStep = drawLastPoint ? D : D - 1;

  // Clip bounds, inclusive, on each axis.
  const int64_t uLo = xMajor ? clip.Left : clip.Top;
  const int64_t uHi = (xMajor ? clip.Right : clip.Bottom) - int64_t{1};
  const int64_t vLo = xMajor ? clip.Top : clip.Left;
  const int64_t vHi = (xMajor ? clip.Bottom : clip.Right) - int64_t{1};

  // Steps whose major coordinate u0 + su * i lies in [uLo, uHi].
  Wide iLo = su > 0 ? uLo - u0 : u0 - uHi;
  Wide iHi = su > 0 ? uHi - u0 : u0 - uLo;
  iLo = std::max<Wide>(iLo, 0);
  iHi = std::min<Wide>(iHi, lastStep);

  // Steps whose minor offset m(i) lies in [mLo, mHi], so that v0 + sv * m(i)
  // lies in [vLo, vHi]. m is non-decreasing in i.
  const Wide mLo = sv > 0 ? vLo - v0 : v0 - vHi;
  const Wide mHi = sv > 0 ? vHi - v0 : v0 - vLo;
  if (d == 0) {
    if (mLo > 0 || mHi < 0) return;
  } else {
    const Wide twoD = Wide{2} * D;
    const Wide twod = Wide{2} * d;
    // m(i) >= k  <=>  2 i d >= 2 D k - D + 1;  m(i) <= k  <=>  2 i d <= 2 D k + D.
    iLo = std::max(iLo, CeilDiv(twoD * mLo - D + 1, twod));
    iHi = std::min(iHi, FloorDiv(twoD * mHi + D, twod));
  }
  if (iLo > iHi) return;

  // Minor offset and error term at the first drawn step.
  const Wide num = Wide{2} * iLo * d + D - 1;
  const int64_t twoD = 2 * D;
  const int64_t twod = 2 * d;
  const int64_t m = static_cast<int64_t>(num / twoD);
  int64_t err = static_cast<int64_t>(num % twoD);
  const int64_t first = static_cast<int64_t>(iLo);
  const int64_t u = u0 + su * first;
  const int64_t v = v0 + sv * m;
  const int64_t x = xMajor ? u : v;
  const int64_t y = xMajor ? v : u;

  const ptrdiff_t majorStep = xMajor ? su : static_cast<ptrdiff_t>(su) * FWidth;
  const ptrdiff_t minorStep = xMajor ? static_cast<ptrdiff_t>(sv) * FWidth : sv;
  TColor32* const bits = FBits.data();
  ptrdiff_t at = static_cast<ptrdiff_t>(y * FWidth + x);
  for (int64_t count = static_cast<int64_t>(iHi - iLo) + 1;;) {
    bits[at] = color;
    if (--count == 0) break;
    err += twod;
    if (err >= twoD) {
      err -= twoD;
      at += minorStep;
    }
    at += majorStep;
  }
}

void TBitmap32::Line(int x1, int y1, int x2, int y2, TColor32 color, bool drawLastPoint) {
  ClippedLine(BoundsRect(), x1, y1, x2, y2, color, drawLastPoint);
}

void TBitmap32::LineS(int x1, int y1, int x2, int y2, TColor32 color, bool drawLastPoint) {
  ClippedLine(FClipRect, x1, y1, x2, y2, color, drawLastPoint);
}
