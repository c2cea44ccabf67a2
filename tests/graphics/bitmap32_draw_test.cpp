#include "graphics/bitmap32.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <stdexcept>

#include "bitmap_art.h"

namespace {

constexpr TColor32 kGrey = 0xFF666666u;
constexpr TColor32 kTile = 0x40FF0000u;

}  // namespace

TEST(Bitmap32DrawTo, OpaqueCopiesColourAndAlphaAtAnOffset) {
  TBitmap32 src(2, 2);
  src.Clear(kTile);
  TBitmap32 dst(4, 3);
  dst.Clear(kGrey);
  src.DrawTo(dst, 1, 1);
  EXPECT_EQ(Art(dst, {{kGrey, 'g'}, {kTile, 'T'}}), Rows({"gggg", "gTTg", "gTTg"}));
}

TEST(Bitmap32DrawTo, ClippedToTheTargetsClipRectAtEveryEdge) {
  struct Case { int x, y; std::string want; };
  const Case kCases[] = {
      {0, 1, Rows({"....", ".T..", ".T..", "...."})},   // cut at the clip's left edge
      {2, 1, Rows({"....", "..T.", "..T.", "...."})},    // right
      {1, 0, Rows({"....", ".TT.", "....", "...."})},   // top
      {1, 2, Rows({"....", "....", ".TT.", "...."})},    // bottom
      {INT_MAX, INT_MAX, Rows({"....", "....", "....", "...."})},  // far away: no overflow
      {INT_MIN, 0, Rows({"....", "....", "....", "...."})},
  };
  TBitmap32 src(2, 2);
  src.Clear(kTile);
  for (const auto& [x, y, want] : kCases) {
    SCOPED_TRACE(testing::Message() << "at " << x << ", " << y);
    TBitmap32 dst(4, 4);
    dst.SetClipRect(TRect{1, 1, 3, 3});
    src.DrawTo(dst, x, y);
    EXPECT_EQ(Art(dst, {{kTile, 'T'}}), want);
  }
}

// The overlay step of a viewport: a translucent overlay blended over the field.
TEST(Bitmap32DrawTo, BlendModeBlendsEachChannelByTheSourceAlpha) {
  TBitmap32 field(4, 1);
  field.Clear(kGrey);
  TBitmap32 overlay(4, 1);
  overlay.SetPixel(0, 0, 0x00FFFFFFu);  // transparent: field unchanged
  overlay.SetPixel(1, 0, 0xFFFF0000u);  // opaque: replaces
  overlay.SetPixel(2, 0, 0x1CFFFFFFu);  // grid colour
  overlay.SetPixel(3, 0, 0x66000000u);  // marker shadow
  overlay.SetDrawMode(TDrawMode::dmBlend);
  TBitmap32 composite(4, 1);
  field.DrawTo(composite);
  overlay.DrawTo(composite);

  const auto expect = [&](int x, double a, double fore) {
    SCOPED_TRACE(x);
    const TColor32 p = composite.Pixel(x, 0);
    EXPECT_EQ(AlphaComponent(p), 255);
    const double want = 0x66 + (fore - 0x66) * a / 255;
    EXPECT_LE(std::abs(RedComponent(p) - want), 1.0);
    EXPECT_LE(std::abs(BlueComponent(p) - want), 1.0);
  };
  EXPECT_EQ(composite.Pixel(0, 0), kGrey);
  EXPECT_EQ(composite.Pixel(1, 0), 0xFFFF0000u);
  expect(2, 0x1C, 255);
  expect(3, 0x66, 0);

  // MasterAlpha scales the source alpha: the opaque red at half strength.
  overlay.SetMasterAlpha(128);
  field.DrawTo(composite);
  overlay.DrawTo(composite);
  const TColor32 p = composite.Pixel(1, 0);
  EXPECT_LE(std::abs(RedComponent(p) - (0x66 + (255 - 0x66) * 128 / 255.0)), 1.0);
  EXPECT_LE(std::abs(GreenComponent(p) - 0x66 * 127 / 255.0), 1.0);
}

TEST(Bitmap32DrawTo, DrawingOntoItselfIsRefused) {
  TBitmap32 b(2, 2);
  EXPECT_THROW(b.DrawTo(b), std::invalid_argument);
  TBitmap32 empty;
  empty.DrawTo(b);  // an empty source or target draws nothing
  b.DrawTo(empty);
}
