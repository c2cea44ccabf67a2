#pragma once
// TBitmap32: the 32-bit off-screen bitmap behind every colour field, overlay,
// palette strip and icon image.
//
// Memory layout: Width x Height TColor32 pixels (A<<24 | R<<16 | G<<8 | B), rows
// from the top, pixels from the left, contiguous with no padding (the stride is
// Width pixels, 4 * Width bytes). This is the layout of QImage::Format_ARGB32,
// so the application wraps Bits() in a QImage without copying.
//
// Clipping: the "S" operations (SetPixelS, PixelS, HorzLineS, LineS, FillRectS,
// FrameRectS) honour ClipRect. The plain ones ignore ClipRect but never touch
// memory outside the bitmap: what falls outside the bitmap is dropped (reads
// outside give OuterColor). Line drawing stores colour and alpha together, with
// no blending; only SetPixelT(S) and DrawTo in dmBlend mode blend.
//
// Text output (TextOut, TextWidth, TextHeight, anti-aliased text) is not part of
// this class: the application draws text with QPainter on a QImage that wraps
// Bits() (see the adapter in src/app).
//
// File load/save and the stretch filter (used when an icon is drawn at another
// size) are still to be added: loading and saving as free functions in a file
// of their own beside this one (bitmap32_io.h), the filter as a TStretchFilter
// property next to DrawMode, read by a stretching DrawTo overload.

#include <cstddef>
#include <cstdint>

#include "graphics/color32.h"
#include "graphics/color_types.h"
#include "graphics/pixel_buffer.h"
#include "graphics/rect.h"

// How DrawTo combines this bitmap's pixels with the target's.
enum class TDrawMode : uint8_t {
  dmOpaque,  // copy colour and alpha
  dmBlend,   // alpha-blend over the target (BlendColor32 with MasterAlpha)
};

// Largest Width * Height that SetSize accepts (1 GiB of pixels). Larger sizes
// raise std::length_error instead of attempting the allocation.
inline constexpr int64_t kMaxBitmap32Pixels = int64_t{1} << 28;

class TBitmap32 {
 public:
  // An empty (0 x 0) bitmap.
  TBitmap32() = default;
  // A Width x Height bitmap, every pixel 0 (transparent black).
  TBitmap32(int width, int height);

  // Copies size, pixels, DrawMode, MasterAlpha, OuterColor and ClipRect.
  // An assignment whose pixels cannot be allocated raises std::bad_alloc and
  // leaves the bitmap as it was.
  TBitmap32(const TBitmap32&) = default;
  TBitmap32& operator=(const TBitmap32& other);
  // A moved-from bitmap is empty with its clip rectangle reset.
  TBitmap32(TBitmap32&& other) noexcept;
  TBitmap32& operator=(TBitmap32&& other) noexcept;
  void Assign(const TBitmap32& source) { *this = source; }

  // --- Size -----------------------------------------------------------------
  // Negative sizes count as 0. A change of size sets every pixel to 0 and
  // resets ClipRect to the whole bitmap; the same size keeps everything.
  // Raises std::length_error when Width * Height exceeds kMaxBitmap32Pixels.
  void SetSize(int width, int height);
  // Changes the height only, keeping the rows both heights share; new rows are
  // 0. A large bitmap changes height by remapping its memory, so it never
  // holds two copies of its pixels (see TPixelBuffer). Resets ClipRect to the
  // whole bitmap. Raises std::length_error as SetSize, and std::bad_alloc
  // with the bitmap unchanged when the memory is refused.
  void SetHeightKeepingRows(int height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // True when the bitmap holds no pixel.
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  TRect BoundsRect() const { return TRect{0, 0, FWidth, FHeight}; }

  // --- Pixel memory ---------------------------------------------------------
  // Width * Height pixels, rows from the top; nullptr for an empty bitmap.
  TColor32* Bits() { return FBits.empty() ? nullptr : FBits.data(); }
  const TColor32* Bits() const { return FBits.empty() ? nullptr : FBits.data(); }
  // The first pixel of row Y; raises std::out_of_range unless 0 <= Y < Height.
  TColor32* ScanLine(int y);
  const TColor32* ScanLine(int y) const;

  // --- State ------------------------------------------------------------------
  TDrawMode DrawMode() const { return FDrawMode; }
  void SetDrawMode(TDrawMode mode) { FDrawMode = mode; }
  // Extra opacity applied to the whole bitmap when DrawTo blends it (255 = none).
  uint8_t MasterAlpha() const { return FMasterAlpha; }
  void SetMasterAlpha(uint8_t alpha) { FMasterAlpha = alpha; }
  // The colour that clipped reads give outside ClipRect (default 0).
  TColor32 OuterColor() const { return FOuterColor; }
  void SetOuterColor(TColor32 color) { FOuterColor = color; }
  // The rectangle the "S" operations draw in and read from; always inside the
  // bitmap. SetClipRect intersects the given rectangle with BoundsRect.
  TRect ClipRect() const { return FClipRect; }
  void SetClipRect(const TRect& rect);
  void ResetClipRect() { FClipRect = BoundsRect(); }

  // --- Clear ------------------------------------------------------------------
  // Sets every pixel (ClipRect is ignored). Clear() clears to opaque black.
  void Clear() { Clear(clBlack32); }
  void Clear(TColor32 color);

  // --- Single pixels ----------------------------------------------------------
  // Pixel reads OuterColor outside the bitmap; PixelS outside ClipRect.
  TColor32 Pixel(int x, int y) const;
  TColor32 PixelS(int x, int y) const;
  // Stores the colour as it is; dropped outside the bitmap (SetPixel) or
  // outside ClipRect (SetPixelS).
  void SetPixel(int x, int y, TColor32 color);
  void SetPixelS(int x, int y, TColor32 color);
  // Blends the colour over the pixel (BlendColor32, MasterAlpha not applied).
  void SetPixelT(int x, int y, TColor32 color);
  void SetPixelTS(int x, int y, TColor32 color);

  // --- Lines (plain stores of colour and alpha) ----------------------------------
  // Horizontal line from X1 to X2 in row Y, and vertical line from Y1 to Y2 in
  // column X, both ends included, in either order.
  void HorzLine(int x1, int y, int x2, TColor32 color);
  void HorzLineS(int x1, int y, int x2, TColor32 color);
  void VertLine(int x, int y1, int y2, TColor32 color);
  void VertLineS(int x, int y1, int y2, TColor32 color);
  // A Bresenham line from (X1, Y1) to (X2, Y2): max(|dx|, |dy|) pixels, the
  // start point included, plus the end point when DrawLastPoint is set (a
  // zero-length line is its single point then, nothing otherwise). Pixel i
  // along the major axis (D steps) lies at the minor offset nearest to
  // i * d / D, halves toward the start point. Clipping
  // is analytic: the clipped line draws exactly the unclipped line's pixels
  // that lie inside the clip, and its cost depends only on the pixels drawn,
  // for any end points in the int range.
  void Line(int x1, int y1, int x2, int y2, TColor32 color, bool drawLastPoint = false);
  void LineS(int x1, int y1, int x2, int y2, TColor32 color, bool drawLastPoint = false);

  // --- Rectangles (plain stores; Right and Bottom excluded) ----------------------
  // A reversed or empty rectangle draws nothing.
  void FillRect(int x1, int y1, int x2, int y2, TColor32 color);
  void FillRectS(int x1, int y1, int x2, int y2, TColor32 color);
  void FillRectS(const TRect& rect, TColor32 color) { FillRectS(rect.Left, rect.Top, rect.Right, rect.Bottom, color); }
  // The one-pixel outline of the rectangle: rows Y1 and Y2 - 1, columns X1 and X2 - 1.
  void FrameRect(int x1, int y1, int x2, int y2, TColor32 color);
  void FrameRectS(int x1, int y1, int x2, int y2, TColor32 color);
  void FrameRectS(const TRect& rect, TColor32 color) { FrameRectS(rect.Left, rect.Top, rect.Right, rect.Bottom, color); }

  // --- Drawing onto another bitmap ------------------------------------------------
  // Draws this bitmap with its top-left corner at (DstX, DstY) of Dst, clipped
  // to Dst's ClipRect, combining by this bitmap's DrawMode. Dst may not be this
  // bitmap (raises std::invalid_argument).
  void DrawTo(TBitmap32& dst, int dstX = 0, int dstY = 0) const;

 private:
  // Fills the columns X1..X2 (inclusive, X1 <= X2) of row Y; the caller clipped them.
  void FillSpan(int x1, int y, int x2, TColor32 color);
  void ClippedHorzLine(const TRect& clip, int x1, int y, int x2, TColor32 color);
  void ClippedVertLine(const TRect& clip, int x, int y1, int y2, TColor32 color);
  void ClippedLine(const TRect& clip, int x1, int y1, int x2, int y2, TColor32 color, bool drawLastPoint);
  void ClippedFillRect(const TRect& clip, int x1, int y1, int x2, int y2, TColor32 color);
  void ClippedFrameRect(const TRect& clip, int x1, int y1, int x2, int y2, TColor32 color);

  int FWidth = 0;
  int FHeight = 0;
  TPixelBuffer FBits;
  TRect FClipRect{};
  TColor32 FOuterColor = 0;
  TDrawMode FDrawMode = TDrawMode::dmOpaque;
  uint8_t FMasterAlpha = 255;
};
