#include "graphics/bitmap32.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>

#include "bitmap_art.h"

namespace {

constexpr TColor32 kInk = 0x88FFFFFFu;  // translucent, to show that lines store alpha as is

std::string Ink(const TBitmap32& b) { return Art(b, {{kInk, '#'}}); }

int CountInk(const TBitmap32& b) {
  int n = 0;
  for (int i = 0; i < b.Width() * b.Height(); ++i) n += b.Bits()[i] == kInk;
  return n;
}

}  // namespace

TEST(Bitmap32HorzVert, LinesIncludeBothEndsInEitherOrder) {
  TBitmap32 b(5, 4);
  b.HorzLine(1, 0, 3, kInk);
  b.HorzLine(3, 1, 1, kInk);
  b.VertLine(0, 1, 3, kInk);
  b.VertLine(4, 3, 2, kInk);
  EXPECT_EQ(Ink(b), Rows({".###.",
                          "####.",
                          "#...#",
                          "#...#"}));
}

TEST(Bitmap32HorzVert, ClippedAtAllFourEdges) {
  TBitmap32 b(5, 5);
  b.SetClipRect(TRect{1, 1, 4, 4});
  b.HorzLineS(-100, 1, 100, kInk);    // cut left and right
  b.VertLineS(2, INT_MIN, INT_MAX, kInk);  // cut top and bottom
  b.HorzLineS(0, 0, 4, kInk);         // above the clip
  b.HorzLineS(0, 4, 4, kInk);         // below
  b.VertLineS(0, 0, 4, kInk);         // left of it
  b.VertLineS(4, 0, 4, kInk);         // right of it
  b.HorzLineS(3, 3, 9, kInk);         // starts on the last column
  EXPECT_EQ(Ink(b), Rows({".....",
                          ".###.",
                          "..#..",
                          "..##.",
                          "....."}));
  // The unclipped forms ignore ClipRect but stop at the bitmap's edges.
  b.HorzLine(INT_MIN, 0, INT_MAX, kInk);
  b.VertLine(4, -3, 1, kInk);
  EXPECT_EQ(Ink(b), Rows({"#####",
                          ".####",
                          "..#..",
                          "..##.",
                          "....."}));
}

TEST(Bitmap32Line, DrawsTheLastPointOnlyWhenAsked) {
  TBitmap32 b(6, 3);
  b.Line(0, 0, 4, 2, kInk);
  EXPECT_EQ(Ink(b), Rows({"##....",
                          "..##..",
                          "......"}));
  b.Line(0, 0, 4, 2, kInk, true);
  EXPECT_EQ(Ink(b), Rows({"##....",
                          "..##..",
                          "....#."}));
  TBitmap32 c(3, 3);
  c.Line(1, 1, 1, 1, kInk);
  EXPECT_EQ(CountInk(c), 0);  // zero length without the last point: nothing
  c.Line(1, 1, 1, 1, kInk, true);
  EXPECT_EQ(Ink(c), Rows({"...", ".#.", "..."}));
}

TEST(Bitmap32Line, StoresColourAndAlphaWithoutBlending) {
  TBitmap32 b(3, 1);
  b.Clear(0xFF0000FFu);
  b.SetDrawMode(TDrawMode::dmBlend);  // the draw mode affects DrawTo only
  b.LineS(0, 0, 3, 0, 0x1CFFFFFFu);
  EXPECT_EQ(b.Pixel(0, 0), 0x1CFFFFFFu);
  EXPECT_EQ(b.Pixel(2, 0), 0x1CFFFFFFu);
}

// In every octant a line has max(|dx|, |dy|) pixels plus its last point when
// asked, always starts at its first point, and stays within half a pixel of the
// ideal line on the minor axis.
TEST(Bitmap32Line, EveryOctantFollowsTheIdealLine) {
  constexpr int kOffsets[][2] = {{7, 3}, {3, 7}, {-3, 7}, {-7, 3}, {-7, -3}, {-3, -7}, {3, -7}, {7, -3},
                                 {5, 5}, {-5, 5}, {6, 0}, {0, -6}};
  for (const auto& [ox, oy] : kOffsets) {
    for (bool last : {false, true}) {
      SCOPED_TRACE(testing::Message() << "to +" << ox << ", +" << oy << (last ? " with last point" : ""));
      TBitmap32 b(17, 17);
      b.Line(8, 8, 8 + ox, 8 + oy, kInk, last);
      const int major = std::max(std::abs(ox), std::abs(oy));
      EXPECT_EQ(CountInk(b), major + (last ? 1 : 0));
      EXPECT_EQ(b.Pixel(8, 8), kInk);
      EXPECT_EQ(b.Pixel(8 + ox, 8 + oy), last ? kInk : 0u);
      const bool xMajor = std::abs(ox) >= std::abs(oy);
      for (int i = 0; i <= major - (last ? 0 : 1); ++i) {
        const double t = static_cast<double>(i) / major;
        const int u = xMajor ? 8 + (ox > 0 ? i : -i) : 8 + (oy > 0 ? i : -i);
        const double ideal = 8 + (xMajor ? oy : ox) * t;
        int hits = 0;
        for (int v = 0; v < 17; ++v) {
          if ((xMajor ? b.Pixel(u, v) : b.Pixel(v, u)) != kInk) continue;
          ++hits;
          EXPECT_LE(std::abs(v - ideal), 0.5);
        }
        EXPECT_EQ(hits, 1) << "step " << i;
      }
    }
  }
}

// Analytic clipping must give exactly the pixels of the unclipped line that
// fall inside the clip. Every line between two points of a grid around a
// small window, with and without its last point: the clipped drawing equals
// the unclipped one masked by the window.
TEST(Bitmap32Line, ClippedLineKeepsTheUnclippedPixelsOfEveryShortLine) {
  constexpr TRect kWindow{4, 3, 8, 6};
  int mismatches = 0;
  for (int x1 = -2; x1 <= 13; ++x1)
    for (int y1 = -2; y1 <= 11; ++y1)
      for (int x2 = -2; x2 <= 13; ++x2)
        for (int y2 = -2; y2 <= 11; ++y2)
          for (bool last : {false, true}) {
            TBitmap32 full(12, 10);
            full.Line(x1, y1, x2, y2, kInk, last);
            TBitmap32 clipped(12, 10);
            clipped.SetClipRect(kWindow);
            clipped.LineS(x1, y1, x2, y2, kInk, last);
            for (int y = 0; y < 10; ++y)
              for (int x = 0; x < 12; ++x)
                if (clipped.Pixel(x, y) != (kWindow.Contains(x, y) ? full.Pixel(x, y) : 0u) && mismatches++ < 5)
                  ADD_FAILURE() << "line " << x1 << "," << y1 << " -> " << x2 << "," << y2 << " at " << x << "," << y;
          }
  EXPECT_EQ(mismatches, 0);
}

// The same for long lines through windows at each edge of the bitmap.
TEST(Bitmap32Line, ClippedLineKeepsTheUnclippedPixels) {
  constexpr TRect kWindows[] = {{20, 18, 44, 40}, {0, 0, 64, 64}, {0, 30, 1, 64}, {63, 0, 64, 64},
                                {10, 0, 50, 1}, {10, 63, 50, 64}, {30, 30, 31, 31}};
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> coord(-40, 104);
  for (const TRect& window : kWindows) {
    for (int n = 0; n < 400; ++n) {
      const int x1 = coord(random), y1 = coord(random), x2 = coord(random), y2 = coord(random);
      const bool last = n % 2 == 0;
      TBitmap32 full(64, 64);
      full.Line(x1, y1, x2, y2, kInk, last);
      TBitmap32 clipped(64, 64);
      clipped.SetClipRect(window);
      clipped.LineS(x1, y1, x2, y2, kInk, last);
      bool same = true;
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
          same &= clipped.Pixel(x, y) == (window.Contains(x, y) ? full.Pixel(x, y) : 0u);
      ASSERT_TRUE(same) << "line " << x1 << "," << y1 << " -> " << x2 << "," << y2
                        << " in window " << window.Left << "," << window.Top << "," << window.Right << ","
                        << window.Bottom;
    }
  }
}

// End points near the int limits: the visible part follows the ideal line and
// the call returns at once (the walk covers only the visible pixels).
TEST(Bitmap32Line, FarEndPointsDrawOnlyTheVisiblePart) {
  struct Case { int x1, y1, x2, y2; int wantPixels; };
  constexpr Case kCases[] = {
      {INT_MIN, 5, INT_MAX, 5, 16},                  // horizontal through the whole row
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 16},      // the main diagonal
      {INT_MAX, INT_MAX, INT_MIN, INT_MIN, 16},      // the same, drawn backwards
      {INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, 16},
      {INT_MIN, 0, INT_MIN + 5, 0, 0},               // far left, never visible
      {INT_MIN, INT_MAX, INT_MAX, INT_MIN, 1},       // the anti-diagonal through the corner region
      {-1000000000, -500000000, 1000000000, 500000008, 16},  // slope 1/2, passing the window
  };
  for (const auto& [x1, y1, x2, y2, wantPixels] : kCases) {
    SCOPED_TRACE(testing::Message() << x1 << "," << y1 << " -> " << x2 << "," << y2);
    TBitmap32 b(16, 16);
    b.LineS(x1, y1, x2, y2, kInk, true);
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    int count = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        if (b.Pixel(x, y) != kInk) continue;
        ++count;
        // Distance to the ideal line along the minor axis, in long double.
        const long double t = xMajor ? (x - static_cast<long double>(x1)) / dx : (y - static_cast<long double>(y1)) / dy;
        const long double ideal = xMajor ? y1 + t * dy : x1 + t * dx;
        EXPECT_LE(std::fabs((xMajor ? y : x) - ideal), 0.5L + 1e-6L) << "pixel " << x << "," << y;
      }
    }
    if (wantPixels == 1) EXPECT_LE(count, 1);  // touches the corner pixel at most
    else EXPECT_EQ(count, wantPixels);
  }
}

TEST(Bitmap32Line, UnclippedLineStopsAtTheBitmapNotTheClip) {
  TBitmap32 b(4, 4);
  b.SetClipRect(TRect{1, 1, 3, 3});
  b.Line(-2, -2, 10, 10, kInk, true);
  EXPECT_EQ(Ink(b), Rows({"#...", ".#..", "..#.", "...#"}));
  b.Clear(0);
  b.LineS(-2, -2, 10, 10, kInk, true);
  EXPECT_EQ(Ink(b), Rows({"....", ".#..", "..#.", "...."}));
}
