#include "graphics/bitmap32.h"
#include "graphics/bitmap32_io.h"
#include "load_in_child.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <new>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

constexpr TColor32 kRed = 0xFFFF0000u;
constexpr TColor32 kOuter = 0x12345678u;

bool SamePixels(const TBitmap32& a, const TBitmap32& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  const size_t n = static_cast<size_t>(a.Width()) * a.Height();
  return n == 0 || std::equal(a.Bits(), a.Bits() + n, b.Bits());
}

}  // namespace

TEST(Bitmap32Size, NewAndResizedBitmapsAreZeroedWithFullClip) {
  TBitmap32 b;
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Bits(), nullptr);
  b.SetSize(3, 2);
  EXPECT_FALSE(b.Empty());
  EXPECT_EQ(b.ClipRect(), (TRect{0, 0, 3, 2}));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(b.Bits()[i], 0u);

  b.Clear(kRed);
  b.SetClipRect(TRect{1, 1, 2, 2});
  b.SetSize(3, 2);  // same size: nothing changes
  EXPECT_EQ(b.Pixel(0, 0), kRed);
  EXPECT_EQ(b.ClipRect(), (TRect{1, 1, 2, 2}));
  b.SetSize(4, 2);  // new size: zeroed, clip reset
  EXPECT_EQ(b.Pixel(0, 0), 0u);
  EXPECT_EQ(b.ClipRect(), (TRect{0, 0, 4, 2}));
}

TEST(Bitmap32Size, NegativeSizesClampToZero) {
  struct Case { int w, h, wantW, wantH; };
  constexpr Case kCases[] = {{-1, 5, 0, 5}, {5, -1, 5, 0}, {INT_MIN, INT_MIN, 0, 0}, {0, 7, 0, 7}};
  for (const auto& [w, h, wantW, wantH] : kCases) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    TBitmap32 b(w, h);
    EXPECT_EQ(b.Width(), wantW);
    EXPECT_EQ(b.Height(), wantH);
    EXPECT_TRUE(b.Empty());
    b.Clear(kRed);  // nothing to clear, no crash
    b.SetPixel(0, 0, kRed);
    b.FillRect(0, 0, 10, 10, kRed);
    b.Line(0, 0, 10, 10, kRed, true);
    EXPECT_EQ(b.PixelS(0, 0), 0u);
  }
}

TEST(Bitmap32Size, OversizedBitmapIsRefusedAndKeepsItsState) {
  TBitmap32 b(2, 2);
  b.Clear(kRed);
  EXPECT_THROW(b.SetSize(1 << 15, 1 << 14), std::length_error);  // 2^29 pixels
  EXPECT_THROW(b.SetSize(INT_MAX, INT_MAX), std::length_error);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Pixel(1, 1), kRed);
  EXPECT_NO_THROW(b.SetSize(INT_MAX, 0));  // no pixels, nothing to allocate
}

// Copying a 64 MiB bitmap into a small one with room for only one of them:
// the assignment fails and the small bitmap keeps its size, pixels and clip
// (run in a child whose address space is limited; the outcome comes back as
// the "refusal" text).
TEST(Bitmap32Copy, AssignmentThatCannotAllocateKeepsTheTarget) {
  if (!kAddressSpaceLimited) GTEST_SKIP() << "no address space limit under the sanitizers";
  const TImageLoader assign = [](std::span<const uint8_t>) -> TBitmap32 {
    const TBitmap32 big(4096, 4096);
    TBitmap32 small(3, 2);
    small.Clear(kRed);
    small.SetClipRect({1, 0, 2, 1});
    try {
      small = big;
    } catch (const std::bad_alloc&) {
      const bool kept = small.Width() == 3 && small.Height() == 2 && small.Pixel(2, 1) == kRed &&
                        small.ClipRect().Left == 1 && small.ClipRect().Right == 2;
      throw EBitmapIOError(kept ? "kept" : "changed");
    }
    throw EBitmapIOError("copied");
  };
  const TChildLoad result = LoadInChild(assign, {}, size_t{96} << 20);
  EXPECT_EQ(result.Outcome, TChildOutcome::Refused);
  EXPECT_EQ(result.Reason, "kept");
}

// Pixel (x, y) of the picture filled in at step `step` of a height change.
TColor32 StepPixel(int x, int y, int step) { return Color32(x & 0xFF, y & 0xFF, step, 255 - (x >> 8)); }

// A height change keeps the rows both heights share and zeroes the others,
// whether the pixels live on the heap or in a memory map of their own and
// whichever way they move between the two. A map shrunk to a length inside a
// memory page (999 rows of 4000 bytes) keeps that page's old bytes, so
// growing it again must not bring back the rows cut off.
TEST(Bitmap32Size, SetHeightKeepingRowsKeepsSharedRowsAndZeroesNewOnes) {
  struct Case {
    const char* Name;
    int Width;
    std::vector<int> Heights;  // the first is the bitmap's, then each change
  };
  const Case kCases[] = {
      {"on the heap", 3, {5, 7, 2, 9}},
      {"heap to map and back", 300, {200, 1000, 100}},
      {"within a map", 1000, {300, 1100, 999, 1000, 1200}},
      {"to nothing and back", 1000, {300, 0, 400}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.Name);
    TBitmap32 b(c.Width, c.Heights[0]);
    for (size_t step = 0; step < c.Heights.size(); ++step) {
      SCOPED_TRACE(testing::Message() << "height " << c.Heights[step]);
      if (step > 0) {
        b.SetClipRect(TRect{1, 1, 2, 2});
        b.SetHeightKeepingRows(c.Heights[step]);
        ASSERT_EQ(b.Width(), c.Width);
        ASSERT_EQ(b.Height(), c.Heights[step]);
        EXPECT_EQ(b.ClipRect(), b.BoundsRect());
        const int kept = std::min(c.Heights[step - 1], c.Heights[step]);
        int wrong = 0;
        for (int y = 0; y < b.Height(); ++y)
          for (int x = 0; x < c.Width; ++x)
            wrong += b.Pixel(x, y) != (y < kept ? StepPixel(x, y, static_cast<int>(step) - 1) : 0u);
        ASSERT_EQ(wrong, 0);
      }
      for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < c.Width; ++x) b.SetPixel(x, y, StepPixel(x, y, static_cast<int>(step)));
    }
    const TBitmap32 copy = b;  // deep, from either kind of memory
    EXPECT_TRUE(SamePixels(copy, b));
    EXPECT_NE(copy.Bits(), b.Bits());
  }
}

TEST(Bitmap32Size, SetHeightKeepingRowsRefusesOversizedBitmapsAndKeepsState) {
  TBitmap32 b(1 << 14, 2);
  b.Clear(kRed);
  EXPECT_THROW(b.SetHeightKeepingRows(1 << 15), std::length_error);  // 2^29 pixels
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Pixel((1 << 14) - 1, 1), kRed);
  b.SetHeightKeepingRows(-3);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 1 << 14);
}

TEST(Bitmap32Memory, RowsAreTopDownAndContiguous) {
  TBitmap32 b(3, 2);
  b.SetPixel(2, 1, 0xAABBCCDDu);
  EXPECT_EQ(b.Bits()[1 * 3 + 2], 0xAABBCCDDu);
  EXPECT_EQ(b.ScanLine(1), b.Bits() + 3);
  EXPECT_EQ(std::as_const(b).ScanLine(0), b.Bits());
  EXPECT_THROW(b.ScanLine(2), std::out_of_range);
  EXPECT_THROW(b.ScanLine(-1), std::out_of_range);
}

TEST(Bitmap32Copy, CopiesAreDeepAndCarryTheDrawingState) {
  TBitmap32 a(2, 2);
  a.Clear(kRed);
  a.SetDrawMode(TDrawMode::dmBlend);
  a.SetMasterAlpha(77);
  a.SetOuterColor(kOuter);
  a.SetClipRect(TRect{1, 0, 2, 2});

  TBitmap32 b(a);
  TBitmap32 c(5, 5);
  c.Assign(a);
  for (const TBitmap32* copy : {&b, &c}) {
    EXPECT_TRUE(SamePixels(*copy, a));
    EXPECT_EQ(copy->DrawMode(), TDrawMode::dmBlend);
    EXPECT_EQ(copy->MasterAlpha(), 77);
    EXPECT_EQ(copy->OuterColor(), kOuter);
    EXPECT_EQ(copy->ClipRect(), (TRect{1, 0, 2, 2}));
  }
  b.SetPixel(0, 0, 0);
  EXPECT_EQ(a.Pixel(0, 0), kRed);  // not shared

  TBitmap32 d(std::move(c));
  EXPECT_TRUE(SamePixels(d, a));
  EXPECT_TRUE(c.Empty());  // NOLINT(bugprone-use-after-move): moved-from state is specified
  EXPECT_EQ(c.ClipRect(), TRect{});
  c.SetPixelS(0, 0, kRed);  // usable, draws nothing
}

TEST(Bitmap32Clear, ClearsEveryPixelIgnoringTheClip) {
  TBitmap32 b(3, 3);
  b.SetClipRect(TRect{1, 1, 2, 2});
  b.Clear(0x80102030u);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(b.Bits()[i], 0x80102030u);
  b.Clear();
  EXPECT_EQ(b.Pixel(2, 2), clBlack32);
}

TEST(Bitmap32Clip, SetClipRectStaysInsideTheBitmap) {
  TBitmap32 b(4, 3);
  b.SetClipRect(TRect{-5, 1, 10, 10});
  EXPECT_EQ(b.ClipRect(), (TRect{0, 1, 4, 3}));
  b.SetClipRect(TRect{5, 5, 9, 9});
  EXPECT_TRUE(b.ClipRect().IsEmpty());
  b.SetPixelS(0, 0, kRed);
  EXPECT_EQ(b.Pixel(0, 0), 0u);
  b.ResetClipRect();
  EXPECT_EQ(b.ClipRect(), b.BoundsRect());
}

// A 4 x 4 bitmap clipped to its inner 2 x 2: every neighbour outside each of
// the four clip edges reads as the outer colour and takes no write.
TEST(Bitmap32Clip, PixelAccessAtAllFourClipEdges) {
  TBitmap32 b(4, 4);
  b.Clear(kRed);
  b.SetOuterColor(kOuter);
  b.SetClipRect(TRect{1, 1, 3, 3});
  struct Case { int x, y; bool inside; };
  constexpr Case kCases[] = {
      {1, 1, true}, {2, 2, true}, {1, 2, true}, {2, 1, true},
      {0, 1, false}, {3, 1, false}, {1, 0, false}, {1, 3, false},  // left, right, top, bottom
      {-1, 2, false}, {4, 2, false}, {2, -1, false}, {2, 4, false}, {INT_MIN, INT_MAX, false},
  };
  for (const auto& [x, y, inside] : kCases) {
    SCOPED_TRACE(testing::Message() << x << ", " << y);
    EXPECT_EQ(b.PixelS(x, y), inside ? kRed : kOuter);
    const bool inBitmap = x >= 0 && x < 4 && y >= 0 && y < 4;
    EXPECT_EQ(b.Pixel(x, y), inBitmap ? kRed : kOuter);  // the unclipped read ignores ClipRect
    b.SetPixelS(x, y, 0x01020304u);
    EXPECT_EQ(b.Pixel(x, y), inside ? 0x01020304u : (inBitmap ? kRed : kOuter));
    b.SetPixel(x, y, 0x05060708u);  // the unclipped write reaches the whole bitmap
    EXPECT_EQ(b.Pixel(x, y), inBitmap ? 0x05060708u : kOuter);
    b.Clear(kRed);
  }
}

TEST(Bitmap32Pixel, SetPixelTBlendsAndSetPixelStores) {
  TBitmap32 b(2, 1);
  b.Clear(clBlack32);
  b.SetPixelT(0, 0, 0x80FFFFFFu);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF808080u);
  b.SetPixel(1, 0, 0x80FFFFFFu);
  EXPECT_EQ(b.Pixel(1, 0), 0x80FFFFFFu);
  b.SetClipRect(TRect{1, 0, 2, 1});
  b.SetPixelTS(0, 0, clWhite32);  // outside the clip
  EXPECT_EQ(b.Pixel(0, 0), 0xFF808080u);
  b.SetPixelT(5, 0, clWhite32);  // outside the bitmap: dropped
}
