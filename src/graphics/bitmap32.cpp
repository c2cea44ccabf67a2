#include "graphics/bitmap32.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

TBitmap32::TBitmap32(int width, int height) { SetSize(width, height); }

TBitmap32::TBitmap32(TBitmap32&& other) noexcept
    : FWidth(std::exchange(other.FWidth, 0)),
      FHeight(std::exchange(other.FHeight, 0)),
      FBits(std::move(other.FBits)),
      FClipRect(std::exchange(other.FClipRect, TRect{})),
      FOuterColor(other.FOuterColor),
      FDrawMode(other.FDrawMode),
      FMasterAlpha(other.FMasterAlpha) {
  other.FBits.clear();
}

TBitmap32& TBitmap32::operator=(const TBitmap32& other) {
  // Copy first, then move: member-wise assignment would change the size
  // before the pixel copy could fail, leaving a size its pixels do not have.
  if (this != &other) *this = TBitmap32(other);
  return *this;
}

TBitmap32& TBitmap32::operator=(TBitmap32&& other) noexcept {
  if (this != &other) {
    FWidth = std::exchange(other.FWidth, 0);
    FHeight = std::exchange(other.FHeight, 0);
    FBits = std::move(other.FBits);
    other.FBits.clear();
    FClipRect = std::exchange(other.FClipRect, TRect{});
    FOuterColor = other.FOuterColor;
    FDrawMode = other.FDrawMode;
    FMasterAlpha = other.FMasterAlpha;
  }
  return *this;
}

void TBitmap32::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  const int64_t pixels = int64_t{width} * height;
  if (pixels > kMaxBitmap32Pixels) throw std::length_error("TBitmap32: bitmap size too large");
  // A zero dimension makes an empty bitmap; keep the other one so Width and
  // Height read back what was asked for.
  TPixelBuffer bits(static_cast<size_t>(pixels));
  FBits.swap(bits);
  FWidth = width;
  FHeight = height;
  ResetClipRect();
}

void TBitmap32::SetHeightKeepingRows(int height) {
  height = std::max(height, 0);
  if (height == FHeight) return;
  const int64_t pixels = int64_t{FWidth} * height;
  if (pixels > kMaxBitmap32Pixels) throw std::length_error("TBitmap32: bitmap size too large");
  FBits.Resize(static_cast<size_t>(pixels));
  FHeight = height;
  ResetClipRect();
}

TColor32* TBitmap32::ScanLine(int y) {
  if (y < 0 || y >= FHeight) throw std::out_of_range("TBitmap32::ScanLine: row out of range");
  return FBits.data() + static_cast<ptrdiff_t>(y) * FWidth;
}

const TColor32* TBitmap32::ScanLine(int y) const {
  if (y < 0 || y >= FHeight) throw std::out_of_range("TBitmap32::ScanLine: row out of range");
  return FBits.data() + static_cast<ptrdiff_t>(y) * FWidth;
}

void TBitmap32::SetClipRect(const TRect& rect) { FClipRect = IntersectRect(rect, BoundsRect()); }

void TBitmap32::Clear(TColor32 color) { std::fill(FBits.begin(), FBits.end(), color); }

TColor32 TBitmap32::Pixel(int x, int y) const {
  if (!BoundsRect().Contains(x, y)) return FOuterColor;
  return FBits[static_cast<size_t>(y) * FWidth + x];
}

TColor32 TBitmap32::PixelS(int x, int y) const {
  if (!FClipRect.Contains(x, y)) return FOuterColor;
  return FBits[static_cast<size_t>(y) * FWidth + x];
}

void TBitmap32::SetPixel(int x, int y, TColor32 color) {
  if (BoundsRect().Contains(x, y)) FBits[static_cast<size_t>(y) * FWidth + x] = color;
}

void TBitmap32::SetPixelS(int x, int y, TColor32 color) {
  if (FClipRect.Contains(x, y)) FBits[static_cast<size_t>(y) * FWidth + x] = color;
}

void TBitmap32::SetPixelT(int x, int y, TColor32 color) {
  if (!BoundsRect().Contains(x, y)) return;
  TColor32& p = FBits[static_cast<size_t>(y) * FWidth + x];
  p = BlendColor32(color, p);
}

void TBitmap32::SetPixelTS(int x, int y, TColor32 color) {
  if (!FClipRect.Contains(x, y)) return;
  TColor32& p = FBits[static_cast<size_t>(y) * FWidth + x];
  p = BlendColor32(color, p);
}
