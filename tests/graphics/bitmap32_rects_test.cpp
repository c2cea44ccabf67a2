#include "graphics/bitmap32.h"

#include <gtest/gtest.h>

#include <climits>

#include "bitmap_art.h"

namespace {

constexpr TColor32 kInk = 0x66000000u;

std::string Ink(const TBitmap32& b) { return Art(b, {{kInk, '#'}}); }

}  // namespace

TEST(Bitmap32FillRect, ExcludesRightAndBottomEdges) {
  TBitmap32 b(5, 4);
  b.FillRect(1, 1, 4, 3, kInk);
  EXPECT_EQ(Ink(b), Rows({".....", ".###.", ".###.", "....."}));
}

TEST(Bitmap32FillRect, EmptyOrReversedRectanglesDrawNothing) {
  constexpr TRect kRects[] = {{2, 1, 2, 3}, {1, 2, 4, 2}, {4, 1, 1, 3}, {1, 3, 4, 1}, {INT_MAX, INT_MAX, INT_MIN, INT_MIN}};
  for (const TRect& r : kRects) {
    SCOPED_TRACE(testing::Message() << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom);
    TBitmap32 b(5, 4);
    b.FillRectS(r, kInk);
    b.FrameRectS(r, kInk);
    EXPECT_EQ(Ink(b), Rows({".....", ".....", ".....", "....."}));
  }
}

TEST(Bitmap32FillRect, ClippedAtAllFourEdges) {
  TBitmap32 b(6, 6);
  b.SetClipRect(TRect{1, 1, 5, 5});
  b.FillRectS(INT_MIN, 2, 3, 3, kInk);    // left
  b.FillRectS(4, 3, INT_MAX, 4, kInk);    // right
  b.FillRectS(2, INT_MIN, 3, 2, kInk);    // top
  b.FillRectS(3, 4, 4, INT_MAX, kInk);    // bottom
  EXPECT_EQ(Ink(b), Rows({"......",
                          "..#...",
                          ".##...",
                          "....#.",
                          "...#..",
                          "......"}));
  b.FillRect(-1, -1, 2, 1, kInk);  // the unclipped form reaches the bitmap's edge
  EXPECT_EQ(Ink(b).substr(0, 7), "##....\n");
}

TEST(Bitmap32FrameRect, OutlinesTheRectangleInsideItsBounds) {
  struct Case { TRect rect; std::string want; };
  const Case kCases[] = {
      {{0, 0, 5, 4}, Rows({"#####", "#...#", "#...#", "#####"})},
      {{1, 1, 2, 2}, Rows({".....", ".#...", ".....", "....."})},  // 1 x 1
      {{1, 0, 2, 4}, Rows({".#...", ".#...", ".#...", ".#..."})},  // one column
      {{0, 2, 5, 3}, Rows({".....", ".....", "#####", "....."})},  // one row
      {{1, 1, 3, 3}, Rows({".....", ".##..", ".##..", "....."})},  // 2 x 2
      {{-1, -1, 3, 6}, Rows({"..#..", "..#..", "..#..", "..#.."})},  // only its right edge is inside
  };
  for (const auto& [rect, want] : kCases) {
    SCOPED_TRACE(testing::Message() << rect.Left << "," << rect.Top << "," << rect.Right << "," << rect.Bottom);
    TBitmap32 b(5, 4);
    b.FrameRectS(rect, kInk);
    EXPECT_EQ(Ink(b), want);
  }
}

TEST(Bitmap32FrameRect, ClippedFrameKeepsOnlyTheInsideEdges) {
  TBitmap32 b(5, 5);
  b.SetClipRect(TRect{1, 1, 4, 4});
  b.FrameRectS(0, 0, 5, 5, kInk);  // frame entirely outside the clip
  b.FrameRectS(2, 2, 8, 8, kInk);  // only its top and left edges fall inside
  EXPECT_EQ(Ink(b), Rows({".....", ".....", "..##.", "..#..", "....."}));
  b.FrameRect(0, 0, 5, 5, kInk);   // unclipped: the bitmap's border
  EXPECT_EQ(Ink(b), Rows({"#####", "#...#", "#.###", "#.#.#", "#####"}));
}
