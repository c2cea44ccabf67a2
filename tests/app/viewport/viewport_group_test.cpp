// The viewport group: its layouts and geometry, the broadcasts to all four
// viewports (also the hidden ones), palettes added and removed, and the two
// redraw levels.
#include "app/viewport/viewport_group.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <algorithm>

#include "app/core/viewport/colour_field.h"
#include "app/core/viewport/screen_mapping.h"
#include "app/core/window/num_colors_limit.h"
#include "app/test_notifier.h"
#include "app/viewport/viewport.h"
#include "palette/colour_palette.h"

namespace {

class ViewportGroup : public ::testing::Test {
 protected:
  void SetUp() override {
    FWindow.resize(600, 600);
    FWindow.show();
  }
  TViewport& View(int i) { return FGroup.Viewport(i); }
  // Which of the four have been redrawn: a redraw leaves an opaque composite.
  std::array<bool, kNumViewports> Rendered() {
    std::array<bool, kNumViewports> r{};
    for (int i = 0; i < kNumViewports; ++i) r[i] = View(i).CompositeBitmap().Pixel(0, 0) >> 24 == 0xFF;
    return r;
  }

  TRecordingNotifier FNotifier;
  QWidget FWindow;
  TViewportGroup FGroup{&FWindow};
};

}  // namespace

TEST_F(ViewportGroup, StartsInTwoByTwoWithItsViewTypes) {
  EXPECT_EQ(FGroup.Layout(), kLayout2x2);
  EXPECT_TRUE(FGroup.Visible());
  EXPECT_TRUE(FGroup.ShowColorKeys());
  const TViewType types[] = {vtLuvL, vtLuvC, vtLuvH, vtHLS_H};
  for (int i = 0; i < kNumViewports; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(View(i).ViewType(), types[i]);
    EXPECT_EQ(View(i).SliderOnRight(), i == 1 || i == 3);
    EXPECT_TRUE(View(i).ShowColorKeys());
    EXPECT_TRUE(View(i).Visible());
  }
  EXPECT_EQ(View(0).Left(), 10);
  EXPECT_EQ(View(0).Top(), 10);
  EXPECT_THROW(FGroup.Viewport(4), EAssertionFailed);
}

TEST_F(ViewportGroup, TwoByTwoSizesAndTenPixelGaps) {
  FGroup.SetPosition(20, 30);
  FGroup.SetSize(410, 300);
  // Viewport 0 is asked for 200 x 145: a 122-pixel image, totals 152 x 145.
  for (int i = 0; i < kNumViewports; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(View(i).FieldBitmap().Width(), 122);
    EXPECT_EQ(View(i).TotalWidth(), 152);
    EXPECT_EQ(View(i).TotalHeight(), 145);
  }
  const std::pair<int, int> corners[] = {{20, 30}, {182, 30}, {20, 185}, {182, 185}};
  for (int i = 0; i < kNumViewports; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(View(i).Left(), corners[i].first);
    EXPECT_EQ(View(i).Top(), corners[i].second);
  }
}

TEST_F(ViewportGroup, LayoutSwitchShowsSizesAndRedrawsOnlyOnAChange) {
  FGroup.SetSize(410, 300);
  FGroup.SetLayout(kLayout1x1);
  EXPECT_EQ(View(0).FieldBitmap().Width(), 277);  // min(410 - 30, 300 - 23)
  EXPECT_TRUE(View(0).Visible());
  for (int i = 1; i < kNumViewports; ++i) EXPECT_FALSE(View(i).Visible()) << i;
  EXPECT_EQ(Rendered(), (std::array<bool, 4>{true, false, false, false}));

  // The same layout again does nothing, not even a redraw.
  View(0).SetSliderValue(5);
  const TBitmap32 before = View(0).FieldBitmap();
  FGroup.SetLayout(kLayout1x1);
  EXPECT_EQ(View(0).FieldBitmap().Pixel(138, 138), before.Pixel(138, 138));

  FGroup.SetLayout(kLayout2x2);
  for (int i = 0; i < kNumViewports; ++i) EXPECT_TRUE(View(i).Visible()) << i;
  EXPECT_EQ(View(0).FieldBitmap().Width(), 122);
  EXPECT_NE(View(0).FieldBitmap().Pixel(61, 61), before.Pixel(61, 61));  // re-rendered at 5
  EXPECT_EQ(Rendered(), (std::array<bool, 4>{true, true, true, true}));
  EXPECT_THROW(FGroup.SetLayout(2), EAssertionFailed);
}

TEST_F(ViewportGroup, SetVisibleShowsTheLayoutsViewportsOrHidesAll) {
  FGroup.SetLayout(kLayout1x1);
  FGroup.SetVisible(false);
  for (int i = 0; i < kNumViewports; ++i) EXPECT_FALSE(View(i).Visible()) << i;
  FGroup.SetVisible(true);
  EXPECT_TRUE(View(0).Visible());
  for (int i = 1; i < kNumViewports; ++i) EXPECT_FALSE(View(i).Visible()) << i;
}

TEST_F(ViewportGroup, OneByOneRedrawsViewportZeroOnly) {
  FGroup.SetSize(410, 300);
  FGroup.SetLayout(kLayout1x1);
  for (bool overlayOnly : {true, false}) {
    SCOPED_TRACE(overlayOnly);
    FGroup.Redraw(overlayOnly);
    EXPECT_EQ(Rendered(), (std::array<bool, 4>{true, false, false, false}));
  }
}

TEST_F(ViewportGroup, BroadcastsReachHiddenViewportsToo) {
  FGroup.SetSize(410, 300);
  FGroup.SetLayout(kLayout1x1);
  TColorSettings settings;
  TColorPalette custom, auto_, brewer;
  custom.SetPaletteType(ptCustom);
  FGroup.AddPalettes(std::vector<TColorPalette*>{&custom, &auto_});
  FGroup.SetColorSettings(&settings);
  FGroup.SetKeyPalette(&custom.CustPal());
  FGroup.SetDrawGridLines(false);
  FGroup.SetDrawGridAxes(true);
  FGroup.SetShowPixelsOutOfRange(true);
  FGroup.SetShowDrawTime(true);
  FGroup.SetShowColorKeys(false);
  int changed = 0;
  std::vector<TColor> picked, under;
  FGroup.SetOnPaletteChanged([&] { ++changed; });
  FGroup.SetOnColorPicked([&](TColor c) { picked.push_back(c); });
  FGroup.SetOnColorUnderCursor([&](TColor c) { under.push_back(c); });
  int refused = 0;
  FGroup.SetOnKeyRefused([&] { ++refused; });
  FGroup.AddPalette(&brewer);
  FGroup.AddPalette(&brewer);
  const TRGB colour{200, 120, 90};
  FGroup.SetSliderFromColor(colour);

  for (int i = 0; i < kNumViewports; ++i) {
    SCOPED_TRACE(i);
    TViewport& v = View(i);
    EXPECT_EQ(v.ColorSettings(), &settings);
    EXPECT_EQ(v.KeyPalette(), &custom.CustPal());
    EXPECT_FALSE(v.DrawGridLines());
    EXPECT_TRUE(v.DrawGridAxes());
    EXPECT_TRUE(v.ShowPixelsOutOfRange());
    EXPECT_TRUE(v.ShowDrawTime());
    EXPECT_FALSE(v.ShowColorKeys());
    EXPECT_EQ(v.Palettes(), (std::vector<TColorPalette*>{&custom, &auto_, &brewer, &brewer}));
    const double want = *SliderAxisValue(v.ViewType(), colour, &settings);
    EXPECT_NE(want, kDefaultSliderValues[v.ViewType()]);
    EXPECT_DOUBLE_EQ(v.GetSliderValue(), want);
  }
  // The viewports hand the settings on to the palettes they show.
  EXPECT_EQ(auto_.SeqPal().ColorSettings(), &settings);

  FGroup.RemovePalette(&brewer);
  FGroup.RemovePalettes(std::vector<TColorPalette*>{&custom, &custom});
  for (int i = 0; i < kNumViewports; ++i)
    EXPECT_EQ(View(i).Palettes(), (std::vector<TColorPalette*>{&auto_, &brewer})) << i;

  // The events are the group's in a hidden viewport as well.
  View(3).SetSize(230, 223);
  View(3).Redraw(false);
  View(3).ImageMouseUp(TMouseButton::mbLeft, 100, 100);
  View(3).ImageMouseMove(100, 100);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(picked.size(), 1u);
  EXPECT_EQ(under.size(), 1u);
  EXPECT_EQ(custom.CustPal().GetKeyCount(), 1);
  EXPECT_EQ(refused, 0);
  custom.CustPal().SetNumColors(kMaxNumColors);
  View(3).ImageMouseUp(TMouseButton::mbLeft, 100, 100);
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(custom.CustPal().GetKeyCount(), 1);
}

TEST_F(ViewportGroup, OverlaysDrawnTogetherMatchOverlaysDrawnAlone) {
  FGroup.SetSize(410, 300);
  TColorPalette custom, automatic, only2;
  custom.SetPaletteType(ptCustom);
  custom.SetName("Custom");
  for (TColor key : {0x3060C0u, 0x20A040u, 0xC08030u}) custom.CustPal().AddKey(key);
  custom.SetNumColors(3);
  automatic.SetName("AutoPalette");
  automatic.SetNumColors(6);
  FGroup.AddPalette(&custom);
  FGroup.AddPalette(&automatic);
  // One viewport shows a palette the others do not.
  only2.SetPaletteType(ptCustom);
  only2.SetName("Set1");
  only2.CustPal().AddKey(TRGB{250, 250, 0});
  only2.SetNumColors(1);
  View(2).Palettes().push_back(&only2);

  FGroup.Redraw(false);
  std::vector<TBitmap32> together;
  for (int i = 0; i < kNumViewports; ++i) together.push_back(View(i).OverlayBitmap());
  for (int i = 0; i < kNumViewports; ++i) {
    SCOPED_TRACE(i);
    View(i).Redraw(true);
    const TBitmap32& alone = View(i).OverlayBitmap();
    EXPECT_TRUE(std::equal(alone.Bits(), alone.Bits() + alone.Width() * alone.Height(), together[i].Bits()));
  }
  const TScreenPoint at = View(2).ColorToScreen(TRGB{250, 250, 0});
  EXPECT_EQ(together[2].Pixel(at.X, at.Y), 0xFFFAFA00u);
}
