// Counts typed into the "Custom" and "Auto" count edits above the tool's
// limit or below zero are refused: a message on Enter, the count in force
// shown again, and nothing else touched.
#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <string>
#include <vector>

#include "app/core/viewport/colour_field.h"
#include "app/core/window/num_colors_limit.h"
#include "app/toolkit/bitmap_view.h"
#include "app/toolkit/shape_widget.h"
#include "app/viewport/viewport.h"
#include "app/viewport/viewport_group.h"
#include "app/window/main_window_fixture.h"
#include "colour/cie_spaces.h"
#include "foundation/format_settings.h"
#include "graphics/bitmap32.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

const std::string kRefusal = "The number of colours must be from 0 to " + std::to_string(kMaxNumColors);

std::vector<TColor32> Pixels(const TBitmap32& bitmap) {
  return std::vector<TColor32>(bitmap.Bits(), bitmap.Bits() + static_cast<size_t>(bitmap.Width()) * bitmap.Height());
}

// Everything a count edit could change.
struct TWindowState {
  std::vector<int> Counts;
  std::vector<QString> Texts;
  const TColorPalette* Current = nullptr;
  std::vector<std::vector<TColor32>> Images;
  int CustomKeys = 0;
  std::vector<TColor> History;
  bool operator==(const TWindowState&) const = default;
};

TWindowState StateOf(TForm1& form) {
  TWindowState state;
  for (const TColorPalette* p : {form.CustomPalette.get(), form.AutoPalette.get(), form.RainbowPalette.get(),
                                 form.StoredPalettes[0].get(), form.StoredPalettes[1].get()})
    state.Counts.push_back(p->GetNumColors());
  for (const QLineEdit* edit : {form.edtCustomNumColors, form.edtAutoNumColors, form.edtRainbowNumColors, form.edtGamma})
    state.Texts.push_back(edit->text());
  state.Current = form.Palettes[0];
  state.Images = {Pixels(form.PaletteBitmap), Pixels(form.ContPaletteBitmap)};
  for (int v = 0; v < kNumViewports; ++v) state.Images.push_back(Pixels(form.ViewportGroup->Viewport(v).CompositeBitmap()));
  state.CustomKeys = form.CustomPalette->CustPal().GetKeyCount();
  for (const TShape* shape : form.PrevColors) state.History.push_back(shape->BrushColor());
  return state;
}

void TypeAndPress(QLineEdit* edit, const QString& text, Qt::Key key = Qt::Key_Return) {
  edit->setFocus();
  edit->setText(text);
  QTest::keyClick(edit, key);
}

class MainWindowCountLimit : public ::testing::Test {
 protected:
  MainWindowCountLimit() {
    for (double hue : {20.0, 140.0, 260.0}) Form().CustomPalette->CustPal().AddKey(LChToRGB(60, 45, hue, nullptr));
  }
  TForm1& Form() { return FUnder.Form(); }
  std::vector<std::string>& Messages() { return FUnder.Notifier.Messages; }
  std::vector<std::string>& Errors() { return FUnder.Notifier.Errors; }

  // Shows the edit's tab and applies Count through the edit.
  QLineEdit* UseEdit(bool custom, int count) {
    Form().PageControl1->setCurrentIndex(custom ? kTabCustom : kTabAuto);
    QLineEdit* edit = custom ? Form().edtCustomNumColors : Form().edtAutoNumColors;
    TypeAndPress(edit, QString::number(count));
    return edit;
  }
  TColorPalette& PaletteOf(bool custom) { return custom ? *Form().CustomPalette : *Form().AutoPalette; }

  TMainWindowUnderTest FUnder;
};

TEST_F(MainWindowCountLimit, CountsOutsideTheRangeAreRefusedAndChangeNothing) {
  for (bool custom : {true, false}) {
    QLineEdit* edit = UseEdit(custom, 7);
    ASSERT_EQ(PaletteOf(custom).GetNumColors(), 7);
    const TWindowState before = StateOf(Form());
    ASSERT_EQ(before.Texts[custom ? 0 : 1], "7");
    for (const char* typed : {"100000000", "2147483647", "100001", "-1", "-5", "-2147483648"}) {
      SCOPED_TRACE(std::string(custom ? "custom " : "auto ") + typed);
      Messages().clear();
      TypeAndPress(edit, typed);
      EXPECT_EQ(Messages(), std::vector<std::string>{kRefusal});
      EXPECT_EQ(PaletteOf(custom).GetNumColors(), 7);
      EXPECT_EQ(edit->text(), "7");
      EXPECT_TRUE(StateOf(Form()) == before);
    }
    EXPECT_TRUE(Errors().empty());
  }
}

TEST_F(MainWindowCountLimit, TheLimitItselfAndSteppingBackAreAccepted) {
  for (bool custom : {true, false}) {
    SCOPED_TRACE(custom ? "custom" : "auto");
    QLineEdit* edit = UseEdit(custom, 7);
    Messages().clear();
    TypeAndPress(edit, QString::number(kMaxNumColors + 1));
    EXPECT_EQ(Messages(), std::vector<std::string>{kRefusal});
    EXPECT_EQ(PaletteOf(custom).GetNumColors(), 7);

    // Down from one above the limit reaches the limit; Up is held by the
    // edit's arrow maximum as before.
    Messages().clear();
    TypeAndPress(edit, QString::number(kMaxNumColors + 1), Qt::Key_Down);
    EXPECT_EQ(PaletteOf(custom).GetNumColors(), kMaxNumColors);
    EXPECT_EQ(edit->text(), QString::number(kMaxNumColors));
    TypeAndPress(edit, "100000000", Qt::Key_Up);
    EXPECT_EQ(PaletteOf(custom).GetNumColors(), custom ? 999 : 1000);

    // Down from far above is refused quietly, as the gamma's floor is.
    TypeAndPress(edit, "100000000", Qt::Key_Down);
    EXPECT_EQ(PaletteOf(custom).GetNumColors(), custom ? 999 : 1000);
    EXPECT_EQ(edit->text(), custom ? "999" : "1000");
    EXPECT_TRUE(Messages().empty());

    // Counts from 0 to the limit are used as typed.
    for (int count : {kMaxNumColors, 1500, 1, 0}) {
      TypeAndPress(edit, QString::number(count));
      EXPECT_EQ(PaletteOf(custom).GetNumColors(), count);
    }
    EXPECT_TRUE(Messages().empty());

    // Up from a negative count that stays negative is refused quietly; Down
    // from it is lifted to 0 by the edit's arrow minimum. Enter on it says why.
    TypeAndPress(edit, "3");
    TypeAndPress(edit, "-5", Qt::Key_Up);
    EXPECT_EQ(PaletteOf(custom).GetNumColors(), 3);
    EXPECT_EQ(edit->text(), "3");
    EXPECT_TRUE(Messages().empty());
    TypeAndPress(edit, "-5", Qt::Key_Down);
    EXPECT_EQ(PaletteOf(custom).GetNumColors(), 0);
    EXPECT_EQ(edit->text(), "0");
    TypeAndPress(edit, "3");
    TypeAndPress(edit, "-5");
    EXPECT_EQ(Messages(), std::vector<std::string>{kRefusal});
    EXPECT_EQ(PaletteOf(custom).GetNumColors(), 3);
    EXPECT_EQ(edit->text(), "3");
    Messages().clear();
    EXPECT_TRUE(Errors().empty());
  }
}

// Each key a click adds raises the custom count by one: the click that would
// pass the limit adds no key, pushes no colour into the history and says why
// as the count edit does.
TEST_F(MainWindowCountLimit, AClickInAViewportDoesNotTakeTheCustomPalettePastTheLimit) {
  UseEdit(true, kMaxNumColors - 1);
  TViewport& viewport = Form().ViewportGroup->Viewport(0);
  const QPoint at = viewport.Image()->rect().center();
  const TColor picked = WinColor(viewport.FieldBitmap().Pixel(at.x(), at.y()));
  ASSERT_NE(picked, kFieldBackground);
  ASSERT_EQ(Form().CustomPalette->CustPal().GetKeyCount(), 3);

  // Up to the limit a click adds its key.
  QTest::mouseClick(viewport.Image(), Qt::LeftButton, {}, at);
  EXPECT_EQ(Form().CustomPalette->GetNumColors(), kMaxNumColors);
  EXPECT_EQ(Form().CustomPalette->CustPal().GetKeyCount(), 4);
  EXPECT_EQ(Form().PrevColors[0]->BrushColor(), picked);
  EXPECT_EQ(Form().edtCustomNumColors->text(), QString::number(kMaxNumColors));
  EXPECT_TRUE(Messages().empty());

  const TWindowState before = StateOf(Form());
  for (const QPoint& where : {at, at + QPoint(20, -15)}) {
    Messages().clear();
    QTest::mouseClick(viewport.Image(), Qt::LeftButton, {}, where);
    EXPECT_EQ(Messages(), std::vector<std::string>{kRefusal});
    EXPECT_EQ(Form().CustomPalette->GetNumColors(), kMaxNumColors);
    EXPECT_TRUE(StateOf(Form()) == before);
  }

  // The count in force is one the count edit accepts.
  Messages().clear();
  QTest::keyClick(Form().edtCustomNumColors, Qt::Key_Return);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Form().CustomPalette->GetNumColors(), kMaxNumColors);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(MainWindowCountLimit, LeavingTheAutoEditRefusesAsEnterDoes) {
  QLineEdit* edit = UseEdit(false, 9);
  Messages().clear();
  edit->setFocus();
  edit->setText("2147483647");
  Form().edtGamma->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(Messages(), std::vector<std::string>{kRefusal});
  EXPECT_EQ(Form().AutoPalette->GetNumColors(), 9);
  EXPECT_EQ(edit->text(), "9");
}

// On Enter a count edit first reads its text as a real number and writes it
// back in the shortest form. A text that is no number is shown as such by
// both edits; a number that is no 32-bit integer is then ignored quietly by
// "Custom" and reported by "Auto". No count changes.
TEST_F(MainWindowCountLimit, TextsThatAreNoIntegerAreIgnoredByCustomAndReportedByAuto) {
  struct TCase {
    std::string Typed;
    std::string Written;  // the text after Enter; empty when it is no number
  };
  const std::string oneAndHalf = std::string("1") + UserFormatSettings().DecimalSeparator + "5";  // the user's locale
  const TCase cases[] = {
      {"3000000000", "3000000000"}, {"99999999999999999999", "1E20"}, {oneAndHalf, oneAndHalf}, {"abc", ""}};
  for (bool custom : {true, false}) {
    QLineEdit* edit = UseEdit(custom, 7);
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(custom ? "custom " : "auto ") + c.Typed);
      Messages().clear();
      Errors().clear();
      TypeAndPress(edit, QString::fromStdString(c.Typed));
      EXPECT_EQ(PaletteOf(custom).GetNumColors(), 7);
      if (c.Written.empty()) {
        EXPECT_EQ(Messages(), std::vector<std::string>{"'abc' is not a valid floating point value"});
        EXPECT_TRUE(Errors().empty());
        continue;
      }
      EXPECT_EQ(edit->text().toStdString(), c.Written);
      EXPECT_TRUE(Messages().empty());
      if (custom)
        EXPECT_TRUE(Errors().empty());
      else
        EXPECT_EQ(Errors(), std::vector<std::string>{"'" + c.Written + "' is not a valid integer value"});
    }
  }
}

}  // namespace
