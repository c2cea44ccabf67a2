// Key editing with the mouse, driven by real mouse events on a viewport's
// image: adding, dragging, deleting and clearing keys, and the three events.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <cmath>
#include <cstdint>
#include <vector>

#include "app/core/viewport/colour_field.h"
#include "app/test_notifier.h"
#include "app/viewport/viewport.h"
#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

class ViewportMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    FWindow.resize(300, 300);
    FView.SetSize(230, 223);  // a 200 x 200 image of "CIELuv_L*" at 60
    FCustom.SetPaletteType(ptCustom);
    FCustom.SetName("Custom");
    FView.Palettes().push_back(&FCustom);
    FView.SetKeyPalette(&Keys());
    FView.SetShowColorKeys(true);
    FView.SetOnPaletteChanged([this] {
      ++FChanged;
      FView.Redraw(true);
    });
    FView.SetOnColorUnderCursor([this](TColor c) { FUnderCursor.push_back(c); });
    FView.SetOnColorPicked([this](TColor c) {
      FPicked.push_back(c);
      FKeysWhenPicked = Keys().GetKeyCount();
    });
    FWindow.show();
    FView.Redraw(false);
  }

  TCustomPalette& Keys() { return FCustom.CustPal(); }
  QWidget* Image() { return FView.Image(); }
  TColor FieldColor(int x, int y) const { return WinColor(FView.FieldBitmap().Pixel(x, y)); }
  // A key of the field colour at (x, y), so that it lies on that pixel.
  void AddKeyAt(int x, int y) {
    Keys().AddKey(FieldColor(x, y));
    Keys().SetNumColors(Keys().NumColors() + 1);
  }
  TRGB Key(int i) const {
    TRGB rgb;
    FCustom.CustPal().GetKey(i, rgb);
    return rgb;
  }

  TRecordingNotifier FNotifier;
  QWidget FWindow;
  TViewport FView{&FWindow};
  TColorPalette FCustom;
  int FChanged = 0;
  int FKeysWhenPicked = -1;
  std::vector<TColor> FUnderCursor;
  std::vector<TColor> FPicked;
};

}  // namespace

TEST_F(ViewportMouse, LeftClickAddsTheColourUnderThePointer) {
  const TColor colour = FieldColor(100, 100);
  ASSERT_NE(colour, kFieldBackground);
  QTest::mouseClick(Image(), Qt::LeftButton, {}, QPoint(100, 100));
  ASSERT_EQ(Keys().GetKeyCount(), 1);
  EXPECT_EQ(RGBToColor(Key(0)), colour);
  EXPECT_EQ(Keys().NumColors(), 1);
  EXPECT_EQ(FPicked, std::vector<TColor>{colour});
  EXPECT_EQ(FKeysWhenPicked, 0);  // announced before it is added
  EXPECT_EQ(FChanged, 1);
  // The new key shows as a size-4 marker at its place.
  const TScreenPoint at = FView.ColorToScreen(Key(0));
  EXPECT_EQ(FView.OverlayBitmap().Pixel(at.X + 4, at.Y), 0x66000000u);

  // The background grey adds nothing and says nothing. (QTest takes the
  // point (0, 0) for the widget's centre.)
  ASSERT_EQ(FieldColor(1, 0), kFieldBackground);
  QTest::mouseClick(Image(), Qt::LeftButton, {}, QPoint(1, 0));
  EXPECT_EQ(Keys().GetKeyCount(), 1);
  EXPECT_EQ(FPicked.size(), 1u);
  EXPECT_EQ(FChanged, 1);
  EXPECT_TRUE(FNotifier.Errors.empty());
}

TEST_F(ViewportMouse, ClickOnAKeyWithoutMovingAddsAnotherKey) {
  AddKeyAt(90, 110);
  QTest::mouseClick(Image(), Qt::LeftButton, {}, QPoint(91, 110));
  ASSERT_EQ(Keys().GetKeyCount(), 2);
  EXPECT_EQ(RGBToColor(Key(1)), FieldColor(91, 110));
  EXPECT_EQ(Keys().NumColors(), 2);
}

TEST_F(ViewportMouse, DragMovesTheKeyAndKeepsItsLightness) {
  AddKeyAt(80, 100);
  const TRGB start = Key(0);
  QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(81, 101));
  QTest::mouseMove(Image(), QPoint(120, 90));
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(120, 90));
  ASSERT_EQ(Keys().GetKeyCount(), 1);  // moved, not added
  EXPECT_TRUE(FPicked.empty());
  EXPECT_GE(FChanged, 1);
  const TScreenPoint at = FView.ColorToScreen(Key(0));
  EXPECT_LE(std::abs(at.X - 120), 1);
  EXPECT_LE(std::abs(at.Y - 90), 1);
  // The slider axis (L*) is that of the key when the drag began; rounding
  // to bytes is all that changes it.
  EXPECT_NEAR(RGBToLCh(Key(0), nullptr).L, RGBToLCh(start, nullptr).L, 0.5);
  ASSERT_FALSE(FUnderCursor.empty());
  EXPECT_EQ(FUnderCursor.back(), RGBToColor(Key(0)));

  // Over the background a drag still reports: the dragged key's colour.
  QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(at.X, at.Y));
  QTest::mouseMove(Image(), QPoint(2, 2));
  EXPECT_NE(FUnderCursor.back(), kFieldBackground);
  EXPECT_EQ(FUnderCursor.back(), RGBToColor(Key(0)));
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(2, 2));
}

TEST_F(ViewportMouse, ReleaseOutsideTheImageEndsTheDrag) {
  AddKeyAt(80, 100);
  QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(80, 100));
  QTest::mouseMove(Image(), QPoint(120, 90));
  const TRGB moved = Key(0);
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(260, -30));
  EXPECT_EQ(Keys().GetKeyCount(), 1);
  // Later moves with no button pressed leave the key alone.
  QTest::mouseMove(Image(), QPoint(60, 60));
  QTest::mouseMove(Image(), QPoint(140, 130));
  EXPECT_EQ(Key(0), moved);
  // Far-off positions are ignored without reading outside the field.
  FView.ImageMouseMove(INT_MIN, INT_MAX);
  FView.ImageMouseUp(TMouseButton::mbLeft, 200, 200);
  FView.ImageMouseUp(TMouseButton::mbMiddle, -1, 5);
  EXPECT_EQ(Keys().GetKeyCount(), 1);
}

TEST_F(ViewportMouse, CloseKeysLeftDragTakesTheLaterRightClickDeletesTheEarlier) {
  AddKeyAt(100, 100);
  AddKeyAt(103, 102);
  const TRGB first = Key(0), second = Key(1);
  QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(101, 101));
  QTest::mouseMove(Image(), QPoint(140, 100));
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(140, 100));
  EXPECT_EQ(Key(0), first);
  EXPECT_NE(Key(1), second);

  Keys().SetKey(1, second);
  FChanged = 0;
  QTest::mousePress(Image(), Qt::RightButton, {}, QPoint(101, 101));
  EXPECT_EQ(FChanged, 0);  // announced on the release
  ASSERT_EQ(Keys().GetKeyCount(), 1);
  EXPECT_EQ(Key(0), second);
  EXPECT_EQ(Keys().NumColors(), 1);
  QTest::mouseRelease(Image(), Qt::RightButton, {}, QPoint(101, 101));
  EXPECT_EQ(FChanged, 1);
}

TEST_F(ViewportMouse, RightReleasesAnnounceAsTheyShould) {
  // On nothing: no edit, but the release inside the image still announces.
  QTest::mouseClick(Image(), Qt::RightButton, {}, QPoint(50, 50));
  EXPECT_EQ(FChanged, 1);
  // A delete whose release comes outside the image is still announced.
  AddKeyAt(100, 100);
  QTest::mousePress(Image(), Qt::RightButton, {}, QPoint(100, 100));
  QTest::mouseRelease(Image(), Qt::RightButton, {}, QPoint(-20, 400));
  EXPECT_EQ(Keys().GetKeyCount(), 0);
  EXPECT_EQ(FChanged, 2);
  // Outside with nothing deleted: nothing to announce.
  QTest::mousePress(Image(), Qt::RightButton, {}, QPoint(30, 30));
  QTest::mouseRelease(Image(), Qt::RightButton, {}, QPoint(-20, 400));
  EXPECT_EQ(FChanged, 2);
}

TEST_F(ViewportMouse, MiddleClickClearsAllKeys) {
  AddKeyAt(100, 100);
  AddKeyAt(60, 120);
  QTest::mouseClick(Image(), Qt::MiddleButton, {}, QPoint(10, 10));  // anywhere in the image
  EXPECT_EQ(Keys().GetKeyCount(), 0);
  EXPECT_EQ(Keys().NumColors(), 0);
  EXPECT_EQ(FChanged, 1);
  QTest::mouseClick(Image(), Qt::MiddleButton, {}, QPoint(10, 10));
  EXPECT_EQ(Keys().NumColors(), 0);
  EXPECT_EQ(FChanged, 2);
}

TEST_F(ViewportMouse, ColourUnderCursorIsNotReportedOverTheBackground) {
  QTest::mouseMove(Image(), QPoint(1, 1));
  EXPECT_TRUE(FUnderCursor.empty());
  QTest::mouseMove(Image(), QPoint(100, 100));
  EXPECT_EQ(FUnderCursor, std::vector<TColor>{FieldColor(100, 100)});
  EXPECT_EQ(FChanged, 0);
}

TEST_F(ViewportMouse, LostGrabEndsTheDrag) {
  AddKeyAt(80, 100);
  QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(80, 100));
  FView.ImageCaptureLost();
  const TRGB before = Key(0);
  QTest::mouseMove(Image(), QPoint(130, 130));
  EXPECT_EQ(Key(0), before);
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(130, 130));
}

TEST_F(ViewportMouse, DeletingAKeyAtTheLowestTypedCountGivesNone) {
  // A typed count may be negative down to the lowest int; one less would
  // leave the range before it is held at 0.
  AddKeyAt(100, 100);
  Keys().SetNumColors(INT32_MIN);
  QTest::mouseClick(Image(), Qt::RightButton, {}, QPoint(100, 100));
  EXPECT_EQ(Keys().GetKeyCount(), 0);
  EXPECT_EQ(Keys().NumColors(), 0);
}
