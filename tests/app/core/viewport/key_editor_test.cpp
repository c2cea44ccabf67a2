// Key editing on a plain field bitmap, with no widget: what each button does
// to the keys, and when the three events fire.
#include "app/core/viewport/key_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/core/viewport/colour_field.h"
#include "app/core/window/num_colors_limit.h"
#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"
#include "graphics/bitmap32.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

constexpr int kSize = 200;

class KeyEditor : public ::testing::Test {
 protected:
  KeyEditor() : FField(kSize, kSize) {
    // "CIELuv_L*" at 60: colours round the middle, the background grey in the corners.
    FField.Clear(kFieldBackground32);
    TFieldParams params;
    params.ViewType = vtLuvL;
    params.SliderValue = 60;
    RenderField(FField, params);
    FPalette.SetPaletteType(ptCustom);
    FEditor.SetKeyPalette(&Keys());
    FEditor.Events().PaletteChanged = [this] { FLog.push_back("changed"); };
    FEditor.Events().ColorUnderCursor = [this](TColor c) { FUnderCursor.push_back(c); };
    FEditor.Events().ColorPicked = [this](TColor c) {
      FLog.push_back("picked with " + std::to_string(Keys().GetKeyCount()) + " keys");
      FPicked.push_back(c);
    };
    FEditor.Events().KeyRefused = [this] { FLog.push_back("refused"); };
  }

  TCustomPalette& Keys() { return FPalette.CustPal(); }
  TColor FieldColor(int x, int y) const { return WinColor(FField.Pixel(x, y)); }
  void AddKeyAt(int x, int y) {
    Keys().AddKey(FieldColor(x, y));
    Keys().SetNumColors(Keys().NumColors() + 1);
  }
  TRGB Key(int i) {
    TRGB rgb;
    Keys().GetKey(i, rgb);
    return rgb;
  }
  void Click(TMouseButton button, int x, int y) {
    FEditor.Press(button, x, y, FView);
    FEditor.Release(button, x, y, FField);
  }

  TBitmap32 FField;
  const TScreenGeometry FView{vtLuvL, kSize, kSize, nullptr};
  TColorPalette FPalette;
  TKeyEditor FEditor;
  std::vector<std::string> FLog;
  std::vector<TColor> FUnderCursor;
  std::vector<TColor> FPicked;
};

TEST_F(KeyEditor, LeftClickAddsTheFieldColourAnnouncedBeforeItIsAdded) {
  const TColor colour = FieldColor(100, 100);
  ASSERT_NE(colour, kFieldBackground);
  Click(TMouseButton::mbLeft, 100, 100);
  ASSERT_EQ(Keys().GetKeyCount(), 1);
  EXPECT_EQ(RGBToColor(Key(0)), colour);
  EXPECT_EQ(Keys().NumColors(), 1);
  EXPECT_EQ(FPicked, std::vector<TColor>{colour});
  EXPECT_EQ(FLog, (std::vector<std::string>{"picked with 0 keys", "changed"}));

  // The background grey and positions outside the field add nothing.
  ASSERT_EQ(FieldColor(1, 0), kFieldBackground);
  FLog.clear();
  for (auto [x, y] : {std::pair{1, 0}, {-1, 100}, {kSize, 100}, {100, kSize}}) Click(TMouseButton::mbLeft, x, y);
  EXPECT_EQ(Keys().GetKeyCount(), 1);
  EXPECT_TRUE(FLog.empty());

  // Without a key palette a click changes nothing and says nothing.
  FEditor.SetKeyPalette(nullptr);
  Click(TMouseButton::mbLeft, 100, 100);
  EXPECT_TRUE(FLog.empty());
}

// Each added key raises the count by one, so a click stops at the limit: it
// adds no key, announces no colour and only says it was refused.
TEST_F(KeyEditor, LeftClickAtTheCountLimitAddsNothing) {
  struct TCase {
    int Count;
    bool Added;
  };
  for (const TCase c : {TCase{kMaxNumColors - 1, true}, {kMaxNumColors, false}, {kMaxNumColors + 1, false},
                        {INT32_MAX, false}}) {
    SCOPED_TRACE(c.Count);
    Keys().ClearKeys();
    AddKeyAt(80, 100);
    Keys().SetNumColors(c.Count);
    FLog.clear();
    FPicked.clear();
    Click(TMouseButton::mbLeft, 100, 100);
    EXPECT_EQ(Keys().GetKeyCount(), c.Added ? 2 : 1);
    EXPECT_EQ(Keys().NumColors(), c.Added ? c.Count + 1 : c.Count);
    const std::vector<std::string> log =
        c.Added ? std::vector<std::string>{"picked with 1 keys", "changed"} : std::vector<std::string>{"refused"};
    EXPECT_EQ(FLog, log);
    EXPECT_EQ(FPicked.size(), c.Added ? 1u : 0u);
  }

  // Dragging, deleting and clearing still work at the limit.
  Keys().SetNumColors(kMaxNumColors);
  FEditor.Press(TMouseButton::mbLeft, 80, 100, FView);
  FEditor.Move(120, 90, FView, FField);
  FEditor.Release(TMouseButton::mbLeft, 120, 90, FField);
  const TScreenPoint at = ColorToScreen(FView, Key(0));
  EXPECT_LE(std::abs(at.X - 120), 1);
  EXPECT_LE(std::abs(at.Y - 90), 1);
  EXPECT_EQ(Keys().NumColors(), kMaxNumColors);
  Click(TMouseButton::mbRight, at.X, at.Y);
  EXPECT_EQ(Keys().GetKeyCount(), 0);
  EXPECT_EQ(Keys().NumColors(), kMaxNumColors - 1);
}

TEST_F(KeyEditor, DragMovesTheKeyInTheGivenViewAndKeepsItsLightness) {
  AddKeyAt(80, 100);
  const TRGB start = Key(0);
  FEditor.Press(TMouseButton::mbLeft, 83, 97, FView);  // within 4 pixels of the key
  FEditor.Move(120, 90, FView, FField);
  FEditor.Release(TMouseButton::mbLeft, 120, 90, FField);
  ASSERT_EQ(Keys().GetKeyCount(), 1);  // moved, not added
  EXPECT_TRUE(FPicked.empty());
  EXPECT_EQ(FLog, std::vector<std::string>{"changed"});
  const TScreenPoint at = ColorToScreen(FView, Key(0));
  EXPECT_LE(std::abs(at.X - 120), 1);
  EXPECT_LE(std::abs(at.Y - 90), 1);
  EXPECT_NEAR(RGBToLCh(Key(0), nullptr).L, RGBToLCh(start, nullptr).L, 0.5);
  EXPECT_EQ(FUnderCursor, std::vector<TColor>{RGBToColor(Key(0))});

  // Five pixels off is a miss: the press drags nothing, the move only reports.
  FLog.clear();
  FEditor.Press(TMouseButton::mbLeft, at.X + 5, at.Y, FView);
  FEditor.Move(30, 100, FView, FField);
  EXPECT_TRUE(FLog.empty());
  EXPECT_EQ(ColorToScreen(FView, Key(0)).X, at.X);
  FEditor.CaptureLost();
}

// A right press on a key deletes it at once; the announcement waits for the
// release, wherever it comes, or for the lost grab.
TEST_F(KeyEditor, RightPressDeletesAndItsEndAnnounces) {
  enum class TEnd { kInside, kOutside, kGrabLost };
  for (TEnd end : {TEnd::kInside, TEnd::kOutside, TEnd::kGrabLost}) {
    SCOPED_TRACE(static_cast<int>(end));
    Keys().ClearKeys();
    Keys().SetNumColors(0);
    AddKeyAt(100, 100);
    AddKeyAt(60, 120);
    FLog.clear();
    FEditor.Press(TMouseButton::mbRight, 101, 99, FView);
    ASSERT_EQ(Keys().GetKeyCount(), 1);
    EXPECT_EQ(RGBToColor(Key(0)), FieldColor(60, 120));
    EXPECT_EQ(Keys().NumColors(), 1);
    EXPECT_TRUE(FLog.empty());
    if (end == TEnd::kGrabLost)
      FEditor.CaptureLost();
    else
      FEditor.Release(TMouseButton::mbRight, end == TEnd::kInside ? 101 : -20, 99, FField);
    EXPECT_EQ(FLog, std::vector<std::string>{"changed"});
    // Announced once only.
    FEditor.CaptureLost();
    EXPECT_EQ(FLog.size(), 1u);
  }
}

TEST_F(KeyEditor, MiddleClickInsideClearsAllKeys) {
  AddKeyAt(100, 100);
  AddKeyAt(60, 120);
  Click(TMouseButton::mbMiddle, -1, 5);  // outside: nothing
  EXPECT_EQ(Keys().GetKeyCount(), 2);
  EXPECT_TRUE(FLog.empty());
  Click(TMouseButton::mbMiddle, 1, 1);  // anywhere inside, the background too
  EXPECT_EQ(Keys().GetKeyCount(), 0);
  EXPECT_EQ(Keys().NumColors(), 0);
  EXPECT_EQ(FLog, std::vector<std::string>{"changed"});
}

}  // namespace
