// A viewport's controls: layout, the view-type list, the slider value kept
// per view type, the slider and the value edit as the user drives them.
#include "app/viewport/viewport.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/core/viewport/colour_field.h"
#include "app/test_notifier.h"
#include "foundation/assertion.h"
#include "foundation/format_settings.h"
#include "palette/colour_palette.h"

namespace {

// The index of the first character the edit shows (painting it scrolls the
// text to keep the cursor in sight).
int FirstShownCharacter(QLineEdit& edit) {
  edit.grab();
  return edit.cursorPositionAt(QPoint(0, edit.height() / 2));
}

class Viewport : public ::testing::Test {
 protected:
  void SetUp() override {
    FWindow.resize(400, 400);
    FWindow.show();
  }

  // Types into the value edit and releases Enter there.
  void TypeAndEnter(const QString& text) {
    View.ValueEdit()->setText(text);
    QTest::keyClick(View.ValueEdit(), Qt::Key_Return);
  }
  // The focus leaves the edit for another control.
  void LeaveEdit() {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(View.ValueEdit(), &out);
  }
  // A corner pixel: background unless out-of-range pixels were shown by the
  // last full redraw. Setting that flag without a redraw makes the next full
  // redraw visible here.
  bool CornerShown() const { return View.FieldBitmap().Pixel(0, 0) != kFieldBackground32; }
  void ArmRedrawProbe() {
    View.SetShowPixelsOutOfRange(false);
    View.Redraw(false);
    ASSERT_FALSE(CornerShown());
    View.SetShowPixelsOutOfRange(true);
  }
  // Chooses a view type in the list as the user does, by keyboard.
  void ChooseViewType(int index) {
    QComboBox* combo = View.ViewTypeCombo();
    while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
  }

  TRecordingNotifier Notifier;
  QWidget FWindow;
  TViewport View{&FWindow};
};

}  // namespace

TEST_F(Viewport, StartsOnLuvLightnessAt60) {
  EXPECT_EQ(View.ViewType(), vtLuvL);
  EXPECT_EQ(View.ViewTypeCombo()->currentText(), "CIELuv_L*");
  EXPECT_EQ(View.ViewTypeCombo()->count(), kNumViewTypes);
  EXPECT_EQ(View.ValueEdit()->text(), "60");
  EXPECT_EQ(View.MinLabel()->text(), "0");
  EXPECT_EQ(View.MaxLabel()->text(), "100");
  EXPECT_EQ(View.EqualsLabel()->text(), "=");
  EXPECT_EQ(View.GetSliderValue(), 60);
  // Upside down: the top end (position 0) is 100, so 60 sits at 40.
  EXPECT_EQ(View.Slider()->value(), 40);
  EXPECT_EQ(View.Image()->size(), QSize(70, 70));  // 100 x 100 less the slider, squared
}

// SetSize(200, 150): a 127-pixel square image; the area is 157 x 150.
TEST_F(Viewport, SizeAndPosition) {
  View.SetPosition(10, 20);
  View.SetSize(200, 150);
  EXPECT_EQ(View.TotalWidth(), 157);
  EXPECT_EQ(View.TotalHeight(), 150);
  EXPECT_EQ(View.FieldBitmap().Width(), 127);
  EXPECT_EQ(View.CompositeBitmap().Height(), 127);
  struct TCase {
    const char* Name;
    QWidget* Control;
    QRect Left, Right;  // geometry with the slider left and right of the image
  };
  const TCase cases[] = {
      {"image", View.Image(), {40, 43, 127, 127}, {10, 43, 127, 127}},
      {"max label", View.MaxLabel(), {10, 43, 30, 13}, {137, 43, 30, 13}},
      {"slider", View.Slider(), {10, 56, 30, 101}, {137, 56, 30, 101}},
      {"min label", View.MinLabel(), {10, 157, 30, 13}, {137, 157, 30, 13}},
      // The row of 145 pixels centred over the image: (127 - 145) div 2 = -9.
      {"list", View.ViewTypeCombo(), {31, 20, 105, 21}, {1, 20, 105, 21}},
      {"=", View.EqualsLabel(), {136, 22, 10, 13}, {106, 22, 10, 13}},
      {"edit", View.ValueEdit(), {146, 20, 30, 21}, {116, 20, 30, 21}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Control->geometry(), c.Left);
  }
  View.SetSliderOnRight(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Control->geometry(), c.Right);
  }
  EXPECT_EQ(View.Slider()->tickPosition(), QSlider::TicksLeft);
}

// Too small for the slider and the list: the image and slider clamp at 0.
TEST_F(Viewport, TooSmall) {
  View.SetSize(20, 10);
  EXPECT_EQ(View.Image()->size(), QSize(0, 0));
  EXPECT_EQ(View.Slider()->height(), 0);
  EXPECT_EQ(View.TotalWidth(), 30);
  EXPECT_EQ(View.TotalHeight(), 23);
  View.Redraw(false);
  TypeAndEnter("30");
  EXPECT_EQ(View.GetSliderValue(), 30);
  EXPECT_TRUE(Notifier.Errors.empty());
}

TEST_F(Viewport, SliderValueKeptPerViewType) {
  ChooseViewType(vtHLS_L);
  EXPECT_EQ(View.ViewType(), vtHLS_L);
  EXPECT_EQ(View.ValueEdit()->text(), "128");
  EXPECT_EQ(View.MinLabel()->text(), "0");
  EXPECT_EQ(View.MaxLabel()->text(), "255");
  EXPECT_EQ(View.Slider()->value(), 127);
  TypeAndEnter("200");
  ChooseViewType(vtLuvL);
  EXPECT_EQ(View.ValueEdit()->text(), "60");
  EXPECT_EQ(View.Slider()->value(), 40);
  ChooseViewType(vtHLS_L);
  EXPECT_EQ(View.GetSliderValue(), 200);
  // A fractional value shows rounded after a view-type change.
  const QString twelveAndHalf = QString("12") + UserFormatSettings().DecimalSeparator + "5";  // the user's locale
  TypeAndEnter(twelveAndHalf);
  EXPECT_EQ(View.ValueEdit()->text(), twelveAndHalf);
  View.SetViewType(vtLuvL);
  View.SetViewType(vtHLS_L);
  EXPECT_EQ(View.ValueEdit()->text(), "12");
  EXPECT_EQ(View.GetSliderValue(), 12.5);
}

TEST_F(Viewport, SliderEnds) {
  ArmRedrawProbe();
  View.Slider()->triggerAction(QAbstractSlider::SliderToMinimum);  // the top end
  EXPECT_EQ(View.GetSliderValue(), 100);
  EXPECT_EQ(View.ValueEdit()->text(), "100");
  EXPECT_TRUE(CornerShown());  // the slider redraws in full
  View.Slider()->triggerAction(QAbstractSlider::SliderToMaximum);  // the bottom end
  EXPECT_EQ(View.GetSliderValue(), 0);
  // Set from code: the slider moves, its change handling stays quiet.
  View.SetSliderValue(25);
  EXPECT_EQ(View.Slider()->value(), 75);
  EXPECT_EQ(View.GetSliderValue(), 25);
}

// Enter acts on key release; a value out of the range is kept, the slider
// shows the nearest end, even far beyond the int range.
TEST_F(Viewport, ValueEditEnter) {
  ArmRedrawProbe();
  TypeAndEnter("75");
  EXPECT_EQ(View.GetSliderValue(), 75);
  EXPECT_EQ(View.Slider()->value(), 25);
  EXPECT_TRUE(CornerShown());

  TypeAndEnter("150");
  EXPECT_EQ(View.GetSliderValue(), 150);
  EXPECT_EQ(View.Slider()->value(), 0);
  TypeAndEnter("1e12");
  EXPECT_EQ(View.GetSliderValue(), 1e12);
  EXPECT_EQ(View.Slider()->value(), 0);
  TypeAndEnter("-1e12");
  EXPECT_EQ(View.Slider()->value(), 100);
  // Rounded for the edit after a view-type change: the whole number, not
  // the 32-bit overflow value.
  TypeAndEnter("1e12");
  View.SetViewType(vtLuvC);
  View.SetViewType(vtLuvL);
  EXPECT_EQ(View.ValueEdit()->text(), "1000000000000");
  EXPECT_TRUE(Notifier.Errors.empty());
}

// Typing the value already shown, or pressing Up and Down, redraws nothing.
TEST_F(Viewport, ValueEditNoRedraw) {
  ArmRedrawProbe();
  TypeAndEnter("60");
  QTest::keyClick(View.ValueEdit(), Qt::Key_Up);
  QTest::keyClick(View.ValueEdit(), Qt::Key_Down);
  EXPECT_EQ(View.GetSliderValue(), 60);
  EXPECT_FALSE(CornerShown());
  // Key presses other than Enter apply nothing.
  View.ValueEdit()->setText("70");
  QTest::keyClick(View.ValueEdit(), Qt::Key_Tab);
  EXPECT_EQ(View.GetSliderValue(), 60);
}

// A text that is no finite number is reported and changes nothing, on Enter
// and on leaving the edit.
TEST_F(Viewport, ValueEditRejectsNonNumbers) {
  ArmRedrawProbe();
  struct TCase {
    const char* Text;
    bool Enter;
  };
  const TCase cases[] = {{"abc", true}, {"abc", false}, {"", true}, {"1e999", true}, {"nan", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + (c.Enter ? " Enter" : " exit"));
    Notifier.Errors.clear();
    if (c.Enter) {
      TypeAndEnter(c.Text);
    } else {
      View.ValueEdit()->setText(c.Text);
      LeaveEdit();
    }
    ASSERT_EQ(Notifier.Errors.size(), 1u);
    EXPECT_EQ(Notifier.Errors[0], "'" + std::string(c.Text) + "' is not a valid floating point value");
    EXPECT_EQ(View.GetSliderValue(), 60);
    EXPECT_FALSE(CornerShown());
  }
}

// The error box closes on the press of Enter and the window system hands the
// release to the edit, which gets the focus back: one Enter closes the box
// for good instead of opening it again.
TEST_F(Viewport, EnterThatClosesTheErrorBoxOpensNoOther) {
  View.ValueEdit()->setFocus();
  TypeAndEnter("abc");
  ASSERT_EQ(Notifier.Errors.size(), 1u);
  QMessageBox box(QMessageBox::Critical, "", QString::fromStdString(Notifier.Errors[0]), QMessageBox::Ok, &FWindow);
  box.show();
  QTest::keyPress(&box, Qt::Key_Return);
  EXPECT_FALSE(box.isVisible());
  QTest::keyRelease(View.ValueEdit(), Qt::Key_Return);
  EXPECT_EQ(Notifier.Errors.size(), 1u);
  EXPECT_EQ(View.GetSliderValue(), 60);
}

// A number written into the 30-pixel value edit shows its first digits, not
// its last: from a colour, from the slider and from a typed value.
TEST_F(Viewport, ValueEditShowsTheStartOfTheNumber) {
  const std::vector<std::pair<const char*, std::function<void()>>> writes = {
      {"from a colour", [&] { View.SetSliderFromColor(TRGB{200, 120, 40}); }},
      {"set", [&] { View.SetSliderValue(80.6907548421939); }},
      {"typed", [&] { TypeAndEnter(QString("-12") + UserFormatSettings().DecimalSeparator + "3456789012345"); }},
  };
  for (const auto& [name, write] : writes) {
    SCOPED_TRACE(name);
    View.SetSliderValue(1);
    View.ValueEdit()->grab();  // shown once with a short number
    write();
    QLineEdit& edit = *View.ValueEdit();
    ASSERT_GT(edit.fontMetrics().horizontalAdvance(edit.text()), edit.width()) << edit.text().toStdString();
    EXPECT_EQ(FirstShownCharacter(edit), 0) << edit.text().toStdString();
  }
}

TEST_F(Viewport, ValueEditExitApplies) {
  ArmRedrawProbe();
  View.ValueEdit()->setText("33");
  LeaveEdit();
  EXPECT_EQ(View.GetSliderValue(), 33);
  EXPECT_EQ(View.Slider()->value(), 67);
  EXPECT_TRUE(CornerShown());
}

TEST_F(Viewport, SliderFromColour) {
  View.SetSliderFromColor(TRGB{255, 255, 255});
  EXPECT_NEAR(View.GetSliderValue(), 100, 1e-4);
  View.SetViewType(vtHSV_V);
  View.SetSliderFromColor(TRGB{10, 200, 30});
  EXPECT_EQ(View.GetSliderValue(), 200);
  for (TViewType type : {vtLuvH2, vtLuvHFull2}) {
    View.SetViewType(type);
    View.SetSliderValue(77);
    View.SetSliderFromColor(TRGB{10, 200, 30});
    EXPECT_EQ(View.GetSliderValue(), 77);
  }
}

TEST_F(Viewport, CompleteSpectrum) {
  View.SetSize(131, 124);  // a 101-pixel image: a pixel on the centre
  View.SetShowPixelsOutOfRange(true);
  View.DrawCompleteSpectrum(true, 100);
  EXPECT_EQ(View.GetSliderValue(), 100);
  EXPECT_EQ(View.ValueEdit()->text(), "100");
  EXPECT_TRUE(View.ShowPixelsOutOfRange());  // restored
  // Slices of higher L* end on top: the centre is the lightest grey drawn
  // (L* 99; the white of L* 100 lies a hair outside the gamut).
  const auto centre = [&] { return View.FieldBitmap().Pixel(50, 50); };
  EXPECT_EQ(centre() & 0xFF, (centre() >> 8) & 0xFF);
  EXPECT_GT(centre() & 0xFF, 250u);
  View.DrawCompleteSpectrum(false, 100);
  EXPECT_EQ(View.GetSliderValue(), 0);
  EXPECT_EQ(centre(), 0xFF000000u);  // dark: black on top
  EXPECT_THROW(View.DrawCompleteSpectrum(true, 1), EAssertionFailed);
}

TEST_F(Viewport, VisibilityAndSettings) {
  EXPECT_TRUE(View.Image()->isVisible());
  View.SetVisible(false);
  for (QWidget* w : {static_cast<QWidget*>(View.Image()), static_cast<QWidget*>(View.Slider()),
                     static_cast<QWidget*>(View.ValueEdit()), static_cast<QWidget*>(View.ViewTypeCombo()),
                     static_cast<QWidget*>(View.MinLabel()), static_cast<QWidget*>(View.MaxLabel()),
                     static_cast<QWidget*>(View.EqualsLabel())})
    EXPECT_FALSE(w->isVisible());
  View.SetVisible(true);
  EXPECT_TRUE(View.ViewTypeCombo()->isVisible());
  // The settings reach the palettes shown here.
  TColorPalette palette;
  View.Palettes().push_back(&palette);
  const TColorSettings settings{1, 1, 1.8, 2};
  View.SetColorSettings(&settings);
  EXPECT_EQ(palette.SeqPal().ColorSettings(), &settings);
  View.Palettes().clear();
}

// The viewport goes before its parent: the parent keeps no dangling controls.
TEST(ViewportLifetime, ControlsGoWithTheViewport) {
  QWidget window;
  {
    TViewport view(&window);
    EXPECT_EQ(window.findChildren<QSlider*>().size(), 1);
  }
  EXPECT_TRUE(window.findChildren<QSlider*>().isEmpty());
  EXPECT_TRUE(window.findChildren<QLineEdit*>().isEmpty());
}
