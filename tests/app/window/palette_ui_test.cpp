#include "app/window/palette_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <string_view>
#include <vector>

#include "app/test_notifier.h"
#include "app/toolkit/bitmap_qimage.h"
#include "app/toolkit/bitmap_view.h"
#include "colour/colour_interpolation.h"
#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

constexpr int kPanelSize = 225;                                        // the tool's panel
constexpr int kRight = kSliderLeft + kPanelSize - kSliderWidthMargin;  // 175

QString Num(double value) {
  return QString::fromStdString(FloatToText(value, UserFormatSettings()));
}

// The tool's 225 x 225 panel on a palette holder, counting change events.
class PaletteUITest : public ::testing::Test {
 protected:
  PaletteUITest() {
    Panel.resize(kPanelSize, kPanelSize);
    Other = new QLineEdit(&Panel);
    Other->setGeometry(0, 0, 1, 1);
    UI = std::make_unique<TPaletteUI>(&Panel, &Palette);
    UI->OnChange = [this] { ++Changes; };
    Panel.show();
  }
  TBitmapView* Image() { return UI->Image(); }
  QLineEdit* Edit(int i) { return UI->ValueEdits().at(i); }
  // Types into edit i and presses a key.
  void Type(int i, const QString& text, Qt::Key key = Qt::Key_Return) {
    Edit(i)->setText(text);
    QTest::keyClick(Edit(i), key);
  }
  QPoint At(int i, int dx) const { return {kSliderLeft + dx, UI->ColorSliders().at(i).Top + 10}; }

  TRecordingNotifier Notifier;
  TColorPalette Palette;
  QWidget Panel;
  QLineEdit* Other;
  std::unique_ptr<TPaletteUI> UI;
  int Changes = 0;
};

// The sequential sliders, top to bottom.
constexpr int kHue = 0, kBrightness = 2, kSaturation = 3, kContrast = 4;

}  // namespace

TEST_F(PaletteUITest, SlidersFollowThePaletteType) {
  struct Case {
    TPaletteType Type;
    std::vector<TSliderKind> Kinds;
    std::vector<int> Tops;
    std::vector<QString> Texts;
  };
  const Case cases[] = {
      {ptDiv,
       {skHue, skHue, skColdWarm, skMidPoint, skBrightness, skSaturation, skContrast},
       {10, 50, 90, 130, 190, 230, 270},
       {"", "", "0", Num(0.5), Num(0.75), Num(0.6), Num(0.88)}},
      {ptQual,
       {skHueShift, skHueRange, skBrightness, skSaturation, skContrast},
       {10, 50, 90, 130, 170},
       {"0", "1", "1", Num(0.45), Num(0.5)}},
      {ptSeq,
       {skHue, skColdWarm, skBrightness, skSaturation, skContrast},
       {10, 50, 110, 150, 190},
       {"", "0", Num(0.75), Num(0.6), Num(0.88)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Type));
    const std::vector<QLineEdit*> old(UI->ValueEdits().begin(), UI->ValueEdits().end());
    Palette.SetPaletteType(c.Type);
    UI->Redraw();
    const auto& sliders = UI->ColorSliders();
    ASSERT_EQ(sliders.size(), c.Kinds.size());
    ASSERT_EQ(UI->ValueEdits().size(), c.Kinds.size());
    int hues = 0;
    for (size_t i = 0; i < sliders.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(sliders[i].Kind, c.Kinds[i]);
      EXPECT_EQ(sliders[i].HueIndex, sliders[i].Kind == skHue ? hues++ : 0);
      EXPECT_EQ(sliders[i].Left, 73);
      EXPECT_EQ(sliders[i].Width, 102);
      EXPECT_EQ(sliders[i].Height, 20);
      EXPECT_EQ(sliders[i].Top, c.Tops[i]);
      EXPECT_EQ(Edit(i)->geometry().topLeft(), QPoint(185, c.Tops[i]));
      EXPECT_EQ(Edit(i)->width(), 30);
      EXPECT_EQ(Edit(i)->parentWidget(), &Panel);
      if (!c.Texts[i].isEmpty()) {
        EXPECT_EQ(Edit(i)->text(), c.Texts[i]);
      }
    }
    // The old edits are off the panel.
    for (QLineEdit* edit : old) EXPECT_NE(edit->parentWidget(), &Panel);
  }
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Notifier.Errors.size(), 0u);
}

TEST_F(PaletteUITest, CustomPaletteAndMissingPalette) {
  Palette.SetPaletteType(ptCustom);
  UI->Redraw();
  EXPECT_TRUE(UI->ColorSliders().empty());
  EXPECT_TRUE(UI->ValueEdits().empty());
  EXPECT_EQ(UI->Bitmap().Pixel(100, 200), Color32(244, 243, 238));
  EXPECT_EQ(UI->Bitmap().Pixel(100, 0), Color32(252, 252, 254));
  EXPECT_TRUE(UI->Caption().isEmpty());

  UI->SetPalette(nullptr);
  EXPECT_EQ(UI->Caption(), "No palette...");
  EXPECT_TRUE(Image()->isHidden());
  UI->SetPalette(&Palette);
  EXPECT_TRUE(UI->Caption().isEmpty());
  EXPECT_FALSE(Image()->isHidden());

  // A host label shows the caption itself.
  QLabel host("Palette UI");
  host.resize(kPanelSize, kPanelSize);
  TPaletteUI onLabel(&host, nullptr);
  EXPECT_EQ(onLabel.Caption(), "No palette...");
  EXPECT_EQ(host.text(), "No palette...");

  TPaletteUI withoutPanel(nullptr, &Palette);  // nothing to show, nothing to crash
  withoutPanel.Redraw();
  EXPECT_TRUE(withoutPanel.ColorSliders().empty());
}

TEST_F(PaletteUITest, LabelsAreDrawnBesideTheSliders) {
  // Some dark glyph pixels left of each slider, none in a blank sequential gap.
  const auto darkIn = [&](int top) {
    int dark = 0;
    for (int y = top; y < top + 16; ++y)
      for (int x = 10; x < kSliderLeft - 4; ++x)
        dark += GreenComponent(UI->Bitmap().Pixel(x, y)) < 128;
    return dark;
  };
  ASSERT_EQ(UI->ColorSliders().size(), 5u);  // the sequential sliders
  for (const TColorSlider& slider : UI->ColorSliders())
    EXPECT_GT(darkIn(slider.Top), 0) << slider.Top;
  EXPECT_EQ(darkIn(88), 0);
}

// With the tool's font every label ends before its slider's frame, for every
// palette type: measured in the label's own font, and in the picture, where
// the slider's frame, thumb and tick are as the slider alone draws them.
TEST_F(PaletteUITest, LabelsEndBeforeTheirSliders) {
  const QFontMetrics metrics(UI->LabelFont());
  // Every label a slider can carry: each kind's name, and the numbered hues.
  std::vector<QString> labels;
  for (std::string_view name : SliderKindNames) labels.push_back(QString::fromUtf8(name.data(), name.size()) + ":");
  for (TPaletteType type : {ptSeq, ptDiv, ptQual}) {
    Palette.SetPaletteType(type);
    UI->Redraw();
    for (const TColorSlider& slider : UI->ColorSliders()) {
      const QString label = QString::fromStdString(slider.LabelText());
      labels.push_back(label);
      SCOPED_TRACE(label.toStdString());
      const int frame = slider.Left - 1;
      EXPECT_LT(10 + metrics.horizontalAdvance(label), frame);
      EXPECT_LT(TextExtent(UI->LabelFont(), 10, slider.Top + 4, label).right(), frame);
      // The slider drawn alone, without any label.
      TBitmap32 alone(UI->Bitmap().Width(), UI->Bitmap().Height());
      DrawPanelBackground(alone);
      TColorSlider copy(Palette, alone);
      copy.Left = slider.Left;
      copy.Top = slider.Top;
      copy.Width = slider.Width;
      copy.Height = slider.Height;
      copy.Kind = slider.Kind;
      copy.HueIndex = slider.HueIndex;
      copy.Draw();
      for (int y = slider.Top - 4; y < slider.Top + kSliderHeight + 4; ++y)
        for (int x = frame - 3; x < slider.Left + 4; ++x)
          ASSERT_EQ(UI->Bitmap().Pixel(x, y), alone.Pixel(x, y)) << x << ", " << y;
    }
  }
  // Only as much smaller as needed: one pixel more and the widest label's
  // extent would come within two pixels of its slider's frame.
  const int pixels = QFontInfo(UI->LabelFont()).pixelSize();
  if (pixels == QFontInfo(QApplication::font()).pixelSize()) {
    EXPECT_EQ(UI->LabelFont(), QApplication::font());  // not made smaller at all
    return;
  }
  QFont larger = UI->LabelFont();
  larger.setPixelSize(pixels + 1);
  int widest = 0;
  for (const QString& label : labels) widest = std::max(widest, TextExtent(larger, 0, 0, label).width());
  EXPECT_GT(10 + widest + 2, kSliderLeft - 1);
}

TEST_F(PaletteUITest, PressSetsTheValueAndEveryDragEventFiresOnChange) {
  QTest::mousePress(Image(), Qt::LeftButton, {}, At(kSaturation, 51));
  EXPECT_EQ(Palette.SeqPal().Saturation(), 0.5);
  EXPECT_EQ(Edit(kSaturation)->text(), Num(0.5));
  EXPECT_EQ(UI->DraggedSlider(), kSaturation);
  EXPECT_EQ(Image()->cursor().shape(), Qt::BlankCursor);
  EXPECT_EQ(Changes, 1);
  // Off the slider but still over the image: the drag keeps driving it.
  QTest::mouseMove(Image(), {kRight + 20, 20});
  EXPECT_EQ(Palette.SeqPal().Saturation(), 1);
  QTest::mouseMove(Image(), {5, 20});
  EXPECT_EQ(Palette.SeqPal().Saturation(), 0);
  EXPECT_EQ(Changes, 3);
  // The same column again changes nothing but is still announced.
  QTest::mouseMove(Image(), {6, 20});
  EXPECT_EQ(Changes, 4);
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, {6, 20});
  EXPECT_EQ(UI->DraggedSlider(), -1);
  EXPECT_NE(Image()->cursor().shape(), Qt::BlankCursor);
  // Without a button the pointer drives nothing.
  QTest::mouseMove(Image(), At(kSaturation, 30));
  EXPECT_EQ(Changes, 4);
  EXPECT_EQ(Notifier.Errors.size(), 0u);
}

TEST_F(PaletteUITest, LeavingTheImageEndsTheSliderUntilAnEnterHitsOne) {
  QTest::mousePress(Image(), Qt::LeftButton, {}, At(kBrightness, 0));
  EXPECT_EQ(Palette.SeqPal().Brightness(), 0);
  QTest::mouseMove(Image(), {kPanelSize + 10, 40});  // leave
  EXPECT_EQ(UI->DraggedSlider(), -1);
  EXPECT_NE(Image()->cursor().shape(), Qt::BlankCursor);
  QTest::mouseMove(Image(), {kPanelSize + 20, 40});  // still outside: no event
  EXPECT_EQ(Changes, 1);
  QTest::mouseMove(Image(), {100, 100});  // enter between sliders: none is dragged
  QTest::mouseMove(Image(), At(kBrightness, 51));
  EXPECT_EQ(Palette.SeqPal().Brightness(), 0);
  EXPECT_EQ(Changes, 1);
  QTest::mouseMove(Image(), {kPanelSize + 10, 40});
  QTest::mouseMove(Image(), At(kSaturation, 102));  // enter on a slider drives it
  EXPECT_EQ(UI->DraggedSlider(), kSaturation);
  EXPECT_EQ(Palette.SeqPal().Saturation(), 1);
  EXPECT_EQ(Changes, 2);
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, At(kSaturation, 102));
}

TEST_F(PaletteUITest, DragsThatMoveNothing) {
  // Started outside every slider: nothing moves, the default cursor shows.
  QTest::mousePress(Image(), Qt::LeftButton, {}, {20, 100});
  QTest::mouseMove(Image(), At(kSaturation, 10));
  EXPECT_EQ(Palette.SeqPal().Saturation(), 0.6);
  EXPECT_NE(Image()->cursor().shape(), Qt::BlankCursor);
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, At(kSaturation, 10));
  EXPECT_EQ(Changes, 0);
  // Other buttons do not drag.
  QTest::mousePress(Image(), Qt::RightButton, {}, At(kSaturation, 10));
  QTest::mouseRelease(Image(), Qt::RightButton, {}, At(kSaturation, 10));
  EXPECT_EQ(Changes, 0);
  // Automatic contrast: the value stays, yet the panel redraws and announces.
  Palette.SeqPal().SetAutomatedContrast(true);
  QTest::mousePress(Image(), Qt::LeftButton, {}, At(kContrast, 10));
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, At(kContrast, 10));
  EXPECT_EQ(Palette.SeqPal().Contrast(), 0.88);
  EXPECT_EQ(Edit(kContrast)->text(), Num(0.64));
  EXPECT_EQ(Changes, 1);
}

TEST_F(PaletteUITest, HueEndsReadZeroAndThreeSixty) {
  const double blue = GetPrimaryHue(pcBlue, nullptr);
  QTest::mousePress(Image(), Qt::LeftButton, {}, At(kHue, 0));
  EXPECT_DOUBLE_EQ(Palette.SeqPal().GetHue(0), blue + 0.1);
  EXPECT_EQ(Edit(kHue)->text(), "0");
  QTest::mouseMove(Image(), At(kHue, 102));
  EXPECT_DOUBLE_EQ(Palette.SeqPal().GetHue(0), FloatMod(blue - 0.1, 360));
  EXPECT_EQ(Edit(kHue)->text(), "360");
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, At(kHue, 102));
  Type(kHue, "360");
  EXPECT_DOUBLE_EQ(Palette.SeqPal().GetHue(0), blue);
  Type(kHue, "0");
  EXPECT_DOUBLE_EQ(Palette.SeqPal().GetHue(0), blue + 0.1);
  // The arrows step by 10 within -20 .. 370.
  Type(kHue, "-15", Qt::Key_Down);
  EXPECT_EQ(Edit(kHue)->text(), "340");  // -20 applied, shown on the 0..360 scale
  EXPECT_DOUBLE_EQ(Palette.SeqPal().GetHue(0), FloatMod(blue - 19.9, 360));
}

TEST_F(PaletteUITest, ArrowsStepWithinBoundsAndTypedValuesApplyAsTyped) {
  Type(kSaturation, Num(0.95));
  EXPECT_EQ(Palette.SeqPal().Saturation(), 0.95);
  EXPECT_EQ(Changes, 1);
  QTest::keyClick(Edit(kSaturation), Qt::Key_Up);
  EXPECT_EQ(Palette.SeqPal().Saturation(), 1);
  EXPECT_EQ(Changes, 2);
  QTest::keyClick(Edit(kSaturation), Qt::Key_Up);  // at the bound: nothing happens
  EXPECT_EQ(Changes, 2);
  QTest::keyClick(Edit(kSaturation), Qt::Key_Down);
  EXPECT_DOUBLE_EQ(Palette.SeqPal().Saturation(), 0.9);
  // Other keys never apply; Enter applies even the same value.
  Edit(kSaturation)->setText(Num(0.2));
  QTest::keyClick(Edit(kSaturation), Qt::Key_Left);
  EXPECT_DOUBLE_EQ(Palette.SeqPal().Saturation(), 0.9);
  EXPECT_EQ(Changes, 3);
  Type(kSaturation, Num(1.5));  // not limited
  EXPECT_EQ(Palette.SeqPal().Saturation(), 1.5);
  EXPECT_EQ(Edit(kSaturation)->text(), Num(1.5));
  Type(kSaturation, Num(1.5));
  EXPECT_EQ(Changes, 5);
  // A typed contrast is stored although the automatic one stays in force.
  Palette.SeqPal().SetAutomatedContrast(true);
  Type(kContrast, Num(0.3));
  EXPECT_EQ(Palette.SeqPal().Contrast(), 0.3);
  EXPECT_EQ(Palette.SeqPal().GetContrast(), 0.64);
  EXPECT_EQ(Edit(kContrast)->text(), Num(0.64));
  EXPECT_EQ(Notifier.Messages.size(), 0u);
}

TEST_F(PaletteUITest, MidPointStepsBySwatchHalves) {
  Palette.SetPaletteType(ptDiv);
  UI->Redraw();
  constexpr int kMidPoint = 3;
  QTest::keyClick(Edit(kMidPoint), Qt::Key_Up);  // 5 colours: 1 / 8
  EXPECT_EQ(Palette.DivPal().MidPoint(), 0.625);
  EXPECT_EQ(Edit(kMidPoint)->text(), Num(0.62));  // 2 decimals, ties to even
  // Continuous: steps of 0.01 from the value shown.
  Palette.SetContinuous(true);
  QTest::keyClick(Edit(kMidPoint), Qt::Key_Down);
  EXPECT_DOUBLE_EQ(Palette.DivPal().MidPoint(), 0.61);
  // One colour: no snapping grid, so no step; a typed value still applies.
  Palette.SetContinuous(false);
  Palette.SetNumColors(1);
  const int changes = Changes;
  QTest::keyClick(Edit(kMidPoint), Qt::Key_Up);
  EXPECT_EQ(Changes, changes);
  Type(kMidPoint, Num(0.3));
  EXPECT_EQ(Palette.DivPal().MidPoint(), 0.3);
  EXPECT_EQ(Changes, changes + 1);
}

TEST_F(PaletteUITest, TextThatIsNoNumberIsReportedOnEnterAndExitOnly) {
  Type(kBrightness, "abc", Qt::Key_Up);
  EXPECT_TRUE(Notifier.Messages.empty());
  for (const char* text : {"abc", "1e999"}) {
    SCOPED_TRACE(text);
    Notifier.Messages.clear();
    Type(kBrightness, text);
    ASSERT_EQ(Notifier.Messages.size(), 1u);
    EXPECT_NE(Notifier.Messages[0].find(std::string("'") + text +
                                        "' is not a valid floating point value"),
              std::string::npos);
  }
  // Leaving the edit for another control applies (and here reports) as Enter does.
  Notifier.Messages.clear();
  Edit(kBrightness)->setText("abc");
  QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(Edit(kBrightness), &tab);
  EXPECT_EQ(Notifier.Messages.size(), 1u);
  // A message box taking the focus is no exit.
  QFocusEvent box(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(Edit(kBrightness), &box);
  EXPECT_EQ(Notifier.Messages.size(), 1u);
  EXPECT_EQ(Palette.SeqPal().Brightness(), 0.75);
  EXPECT_EQ(Changes, 0);

  Edit(kBrightness)->setText(Num(0.4));
  QApplication::sendEvent(Edit(kBrightness), &tab);
  EXPECT_EQ(Palette.SeqPal().Brightness(), 0.4);
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(Notifier.Errors.empty());
}

TEST_F(PaletteUITest, ForeignEditFailsTheTagAssertion) {
  QLineEdit foreign;
  foreign.setProperty("tag", 0);
  try {
    UI->EditBoxKeyDown(&foreign, Qt::Key_Return);
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(),
              "The EditBox given to EditBoxKeyDown should have a tag with a correct number [ 0 .. "
              "Length(FColorSliders]-1 ]");
  }
  EXPECT_THROW(UI->EditBoxKeyDown(nullptr, Qt::Key_Return), EAssertionFailed);
}

TEST_F(PaletteUITest, StaleSlidersAreRebuiltBeforeUse) {
  // The type changed without a Redraw: the next event rebuilds instead of
  // driving a slider of the old type.
  Palette.SetPaletteType(ptQual);
  QTest::keyClick(Edit(kHue), Qt::Key_Up);
  EXPECT_EQ(UI->ColorSliders().at(0).Kind, skHueShift);
  QTest::qWait(0);  // the replaced edits are freed
  Palette.SetPaletteType(ptSeq);
  QTest::mousePress(Image(), Qt::LeftButton, {}, At(0, 51));
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, At(0, 51));
  EXPECT_EQ(UI->ColorSliders().at(0).Kind, skHue);
  EXPECT_TRUE(Notifier.Errors.empty());
  EXPECT_EQ(Changes, 0);
}
