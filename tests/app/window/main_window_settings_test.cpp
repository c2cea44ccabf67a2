#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/core/viewport/view_types.h"
#include "app/viewport/viewport.h"
#include "app/viewport/viewport_group.h"
#include "app/window/main_window_fixture.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "graphics/bitmap32.h"
#include "palette/colour_palette.h"

namespace {

// A colour no field render ever writes: it shows whether a redraw re-rendered
// the field or only rebuilt the overlay.
constexpr TColor32 kFieldMarker = 0x01020304u;

// A click on a check box's box (its middle may lie beyond a short caption).
const QPoint kOnTheBox{6, 8};

std::string UserText(double value) { return FloatToText(value, UserFormatSettings()); }

// The user picks an item of a drop-down list.
void Choose(QComboBox* combo, int index) {
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

// The user types Text into Edit and presses Key.
void TypeAndPress(QLineEdit* edit, const QString& text, Qt::Key key = Qt::Key_Return) {
  edit->setFocus();
  edit->setText(text);
  QTest::keyClick(edit, key);
}

std::vector<TColor32> Pixels(const TBitmap32& bitmap) {
  return std::vector<TColor32>(bitmap.Bits(), bitmap.Bits() + static_cast<size_t>(bitmap.Width()) * bitmap.Height());
}

std::vector<TColor> Swatches(const TColorPalette& palette) {
  std::vector<TColor> colours;
  for (int i = 0; i < palette.GetNumColors(); ++i) colours.push_back(palette.GetIndexTColor(i));
  return colours;
}

class MainWindowSettings : public ::testing::Test {
 protected:
  TForm1& Form() { return FUnder.Form(); }
  TViewport& View(int i) { return Form().ViewportGroup->Viewport(i); }
  std::vector<std::string>& Errors() { return FUnder.Notifier.Errors; }
  std::vector<std::string>& Messages() { return FUnder.Notifier.Messages; }

  // Marks pixel (0, 0) of every viewport's field.
  void MarkFields() {
    for (int i = 0; i < kNumViewports; ++i)
      const_cast<TBitmap32&>(View(i).FieldBitmap()).SetPixel(0, 0, kFieldMarker);
  }
  bool FieldMarked(int i) { return View(i).FieldBitmap().Pixel(0, 0) == kFieldMarker; }

  TMainWindowUnderTest FUnder;
};

TEST_F(MainWindowSettings, SettingsReRenderTheFields) {
  struct TCase {
    const char* What;
    std::function<void(TForm1&)> Change;
    std::function<bool(const TColorSettings&)> Applied;
  };
  const TCase cases[] = {
      {"working space sRGB", [](TForm1& f) { Choose(f.cmbRGB_Conversion, 1); },
       [](const TColorSettings& s) { return s.RGBConversion == 1; }},
      {"reference white D50", [](TForm1& f) { Choose(f.cmbReferenceWhite, 1); },
       [](const TColorSettings& s) { return s.ReferenceWhite == 1; }},
      {"gamma 1.5", [](TForm1& f) { TypeAndPress(f.edtGamma, QString::fromStdString(UserText(1.5))); },
       [](const TColorSettings& s) { return s.Gamma == 1.5; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    const std::vector<TColor32> before = Pixels(View(0).FieldBitmap());
    MarkFields();
    c.Change(Form());
    EXPECT_TRUE(c.Applied(Form().ColorSettings));
    EXPECT_TRUE(Errors().empty());
    for (int i = 0; i < kNumViewports; ++i) EXPECT_FALSE(FieldMarked(i)) << "viewport " << i;
    EXPECT_NE(Pixels(View(0).FieldBitmap()), before);
    EXPECT_EQ(Form().ViewportGroup->ColorSettings(), &Form().ColorSettings);
    EXPECT_EQ(Form().AutoPalette->Current().ColorSettings(), &Form().ColorSettings);
  }
}

TEST_F(MainWindowSettings, WorkingSpaceSelectsItsUsualWhiteWithoutItsHandler) {
  struct TCase {
    int Space;
    int White;
  };
  // AppleRGB -> D65, BestRGB -> D50, CIE -> E, NTSC -> C.
  constexpr TCase cases[] = {{2, 3}, {3, 1}, {6, 5}, {11, 0}};
  QSignalSpy whiteChanges(Form().cmbReferenceWhite, &QComboBox::currentIndexChanged);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Space);
    Choose(Form().cmbRGB_Conversion, c.Space);
    EXPECT_EQ(Form().ColorSettings.RGBConversion, c.Space);
    EXPECT_EQ(Form().ColorSettings.ReferenceWhite, c.White);
    EXPECT_EQ(Form().cmbReferenceWhite->currentIndex(), c.White);
  }
  EXPECT_EQ(whiteChanges.count(), 0);
}

TEST_F(MainWindowSettings, OnlyAWorkingSpaceReachesAnUnshownCurrentPalette) {
  // The rainbow starts without the settings pointer; made current without
  // being shown, only a new working space hands it over.
  TColorPalette& rainbow = *Form().RainbowPalette;
  Form().Palettes[0] = &rainbow;
  Choose(Form().cmbReferenceWhite, 1);
  Choose(Form().cmbDistFunc, 0);
  TypeAndPress(Form().edtGamma, QString::fromStdString(UserText(2)));
  EXPECT_EQ(rainbow.Current().ColorSettings(), nullptr);
  Choose(Form().cmbRGB_Conversion, 1);
  EXPECT_EQ(rainbow.Current().ColorSettings(), &Form().ColorSettings);
}

TEST_F(MainWindowSettings, DistanceFunctionReshapesTheAutoPaletteNotTheFields) {
  std::vector<std::vector<TColor32>> fields;
  for (int i = 0; i < kNumViewports; ++i) fields.push_back(Pixels(View(i).FieldBitmap()));
  const std::vector<TColor> swatches = Swatches(*Form().AutoPalette);
  const std::vector<TColor32> strip = Pixels(Form().ContPaletteBitmap);
  MarkFields();
  Choose(Form().cmbDistFunc, 0);
  EXPECT_EQ(Form().ColorSettings.DistFunc, 0);
  for (int i = 0; i < kNumViewports; ++i) {
    EXPECT_FALSE(FieldMarked(i)) << "re-rendered in full";
    const_cast<TBitmap32&>(View(i).FieldBitmap()).SetPixel(0, 0, fields[i][0]);
    EXPECT_EQ(Pixels(View(i).FieldBitmap()), fields[i]) << "viewport " << i;
  }
  EXPECT_NE(Swatches(*Form().AutoPalette), swatches);
  EXPECT_NE(Pixels(Form().ContPaletteBitmap), strip);
}

TEST_F(MainWindowSettings, FlagsReachTheViewsAtTheRightRedrawLevel) {
  struct TCase {
    const char* What;
    QCheckBox* TForm1::*Check;
    bool (TViewport::*Flag)() const;
    bool FullRedraw;
  };
  const TCase cases[] = {
      {"grid lines", &TForm1::chkDrawGridLines, &TViewport::DrawGridLines, false},
      {"grid axes", &TForm1::chkDrawGridAxes, &TViewport::DrawGridAxes, false},
      {"draw time", &TForm1::chkShowDrawTime, &TViewport::ShowDrawTime, false},
      {"pixels out of range", &TForm1::chkShowPixelsOutOfRange, &TViewport::ShowPixelsOutOfRange, true},
      {"colour keys", &TForm1::chkShowColorKeys, &TViewport::ShowColorKeys, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    QCheckBox* check = Form().*c.Check;
    const std::vector<TColor32> shown = Pixels(View(0).CompositeBitmap());
    MarkFields();
    QTest::mouseClick(check, Qt::LeftButton, {}, kOnTheBox);
    for (int i = 0; i < kNumViewports; ++i) {
      EXPECT_EQ((View(i).*c.Flag)(), check->isChecked()) << "viewport " << i;
      EXPECT_EQ(FieldMarked(i), !c.FullRedraw) << "viewport " << i;
    }
    if (!c.FullRedraw) {
      EXPECT_NE(Pixels(View(0).CompositeBitmap()), shown);
    }
  }
}

TEST_F(MainWindowSettings, LayoutButtons) {
  QTest::mouseClick(Form().rad1x1, Qt::LeftButton);
  EXPECT_EQ(Form().ViewportGroup->Layout(), kLayout1x1);
  EXPECT_FALSE(View(1).Visible());
  QTest::mouseClick(Form().rad2x2, Qt::LeftButton);
  EXPECT_EQ(Form().ViewportGroup->Layout(), kLayout2x2);
  EXPECT_TRUE(View(3).Visible());
}

TEST_F(MainWindowSettings, StepEditValue) {
  struct TCase {
    const char* Text;
    int Key;
    double Min, Max, Step;
    bool Result;
    std::string After;  // the edit's text afterwards
  };
  const TCase cases[] = {
      {"2.2", Qt::Key_Up, 0, 100, 0.1, true, UserText(2.3)},
      {"2.2", Qt::Key_Down, 0, 100, 0.1, true, UserText(2.1)},
      {"100", Qt::Key_Up, 0, 100, 0.1, false, UserText(100)},
      {"2.2", Qt::Key_Return, 0, 100, 0.1, true, UserText(2.2)},
      {"2.2", Qt::Key_A, 0, 100, 0.1, false, UserText(2.2)},
      {"0", Qt::Key_Down, 0, 1000, 1, false, "0"},
      {"1000", Qt::Key_Up, 0, 1000, 1, false, "1000"},
      {"1500", Qt::Key_Up, 0, 1000, 1, true, "1000"},
      {"1500", Qt::Key_Down, 0, 1000, 1, true, "1499"},
      {"abc", Qt::Key_Up, 0, 1000, 1, false, "abc"},
  };
  QLineEdit edit;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " key " + std::to_string(c.Key));
    edit.setText(QString::fromStdString(c.Text == std::string("2.2") ? UserText(2.2) : c.Text));
    EXPECT_EQ(Form().StepEditValue(edit, c.Key, c.Min, c.Max, c.Step), c.Result);
    EXPECT_EQ(edit.text().toStdString(), c.After);
  }
  EXPECT_TRUE(Messages().empty());
  edit.setText("abc");
  EXPECT_FALSE(Form().StepEditValue(edit, Qt::Key_Return, 0, 1, 1));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("'abc' is not a valid floating point value"), std::string::npos);
}

TEST_F(MainWindowSettings, GammaArrowsAndItsPositiveFloor) {
  QLineEdit* gamma = Form().edtGamma;
  gamma->setFocus();
  QTest::keyClick(gamma, Qt::Key_Up);
  EXPECT_EQ(gamma->text().toStdString(), UserText(2.3));
  EXPECT_DOUBLE_EQ(Form().ColorSettings.Gamma, 2.3);

  // Stepping down to 0 or typing a value below it keeps the old gamma.
  TypeAndPress(gamma, QString::fromStdString(UserText(0.1)));
  ASSERT_DOUBLE_EQ(Form().ColorSettings.Gamma, 0.1);
  MarkFields();
  QTest::keyClick(gamma, Qt::Key_Down);
  EXPECT_DOUBLE_EQ(Form().ColorSettings.Gamma, 0.1);
  EXPECT_EQ(gamma->text().toStdString(), UserText(0.1));
  EXPECT_TRUE(FieldMarked(0));
  EXPECT_TRUE(Messages().empty());
  for (const char* typed : {"0", "-2"}) {
    SCOPED_TRACE(typed);
    Messages().clear();
    TypeAndPress(gamma, typed);
    EXPECT_DOUBLE_EQ(Form().ColorSettings.Gamma, 0.1);
    EXPECT_EQ(gamma->text().toStdString(), UserText(0.1));
    EXPECT_EQ(Messages().size(), 1u);
  }
  EXPECT_TRUE(FieldMarked(0));

  // Extreme gammas that are still positive are applied as typed.
  for (const char* typed : {"1E300", "1E-300"}) {
    SCOPED_TRACE(typed);
    TypeAndPress(gamma, typed);
    EXPECT_EQ(Form().ColorSettings.Gamma, std::stod(typed));
  }
  TypeAndPress(gamma, QString::fromStdString(UserText(0.1)));

  // Not a number: reported on Enter only, nothing changes.
  Messages().clear();
  gamma->setText("x");
  QTest::keyClick(gamma, Qt::Key_Up);
  EXPECT_TRUE(Messages().empty());
  QTest::keyClick(gamma, Qt::Key_Return);
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_DOUBLE_EQ(Form().ColorSettings.Gamma, 0.1);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(MainWindowSettings, CustomTab) {
  QLineEdit* count = Form().edtCustomNumColors;
  TColorPalette& custom = *Form().CustomPalette;
  struct TCase {
    std::string Typed;
    Qt::Key Key;
    int Count;  // the custom palette's count afterwards
  };
  const std::string fiveAndHalf = std::string("5") + UserFormatSettings().DecimalSeparator + "5";  // the user's locale
  const TCase cases[] = {
      {"7", Qt::Key_Return, 7},  {"7", Qt::Key_Up, 8},     {"999", Qt::Key_Up, 8},
      {fiveAndHalf, Qt::Key_Return, 8},  // not an integer: quietly ignored
      {"0", Qt::Key_Down, 8},       // held at the arrow minimum: nothing to do
      {"-3", Qt::Key_Return, 8},    // refused with a message
      {"0", Qt::Key_Return, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Typed + " key " + std::to_string(c.Key));
    TypeAndPress(count, QString::fromStdString(c.Typed), c.Key);
    EXPECT_EQ(custom.GetNumColors(), c.Count);
  }
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Messages(), std::vector<std::string>{"The number of colours must be from 0 to 100000"});

  // The interpolation method redraws the overlays only.
  MarkFields();
  Choose(Form().cmbInterpolationMethod, 0);
  EXPECT_EQ(custom.CustPal().InterpolationMethod(), 0);
  EXPECT_TRUE(FieldMarked(0));
}

TEST_F(MainWindowSettings, AutoTabCountAndType) {
  QLineEdit* count = Form().edtAutoNumColors;
  TColorPalette& autoPalette = *Form().AutoPalette;
  // The contrast in force for the new count stays when automatic contrast is
  // switched off again.
  autoPalette.SeqPal().SetAutomatedContrast(true);
  TypeAndPress(count, "8");
  EXPECT_EQ(autoPalette.GetNumColors(), 8);
  autoPalette.SeqPal().SetAutomatedContrast(false);
  EXPECT_DOUBLE_EQ(autoPalette.SeqPal().GetContrast(), 1 - (11 - 8) * 0.06);

  TypeAndPress(count, "1500", Qt::Key_Up);
  EXPECT_EQ(count->text(), "1000");
  EXPECT_EQ(autoPalette.GetNumColors(), 1000);
  TypeAndPress(count, "6");

  // A number that is no integer ends with the conversion error.
  TypeAndPress(count, QString::fromStdString(UserText(5.5)));
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("is not a valid integer value"), std::string::npos);
  EXPECT_EQ(autoPalette.GetNumColors(), 6);

  // Leaving the edit applies what was typed.
  count->setFocus();
  count->setText("4");
  Form().edtCustomNumColors->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(autoPalette.GetNumColors(), 4);

  // A typed negative count is refused for either kind; the count in force stays.
  TypeAndPress(count, "-2");
  EXPECT_EQ(autoPalette.GetNumColors(), 4);
  EXPECT_EQ(count->text(), "4");

  QTest::mouseClick(Form().radQualitative, Qt::LeftButton);
  EXPECT_EQ(autoPalette.Typ(), ptQual);
  TypeAndPress(count, "-1");
  EXPECT_EQ(autoPalette.GetNumColors(), 4);
  TypeAndPress(count, "0");
  EXPECT_EQ(autoPalette.GetNumColors(), 0);
  TypeAndPress(count, "9");
  EXPECT_EQ(autoPalette.GetNumColors(), 9);
  QTest::mouseClick(Form().radSequential, Qt::LeftButton);
  EXPECT_EQ(autoPalette.Typ(), ptSeq);
  EXPECT_EQ(autoPalette.GetNumColors(), 9);
}

TEST_F(MainWindowSettings, RainbowCountAndCheckBox) {
  TColorPalette& rainbow = *Form().RainbowPalette;
  // The 12 keys at start lie on whole components: red, green and blue at 0,
  // 120 and 240 degrees.
  ASSERT_EQ(rainbow.CustPal().GetKeyCount(), 12);
  TRGB key;
  for (auto [index, want] : {std::pair{0, TRGB{255, 0, 0}}, {4, TRGB{0, 255, 0}}, {8, TRGB{0, 0, 255}}}) {
    rainbow.CustPal().GetKey(index, key);
    EXPECT_EQ(key, want) << "key " << index;
  }
  for (int i = 0; i < 12; ++i) {
    rainbow.CustPal().GetKey(i, key);
    EXPECT_TRUE(key.R == std::round(key.R) && key.G == std::round(key.G) && key.B == std::round(key.B));
  }

  struct TCase {
    const char* Typed;
    int Keys, Count;
    const char* Shown;  // the edit's text afterwards
  };
  const TCase cases[] = {
      {"2500", 2000, 2000, "2000"}, {"0", 0, 0, "0"}, {"5", 5, 5, "5"}, {"-4", 0, 0, "-4"}, {"abc", 0, 0, "abc"},
      {"-2147483648", 0, 0, "-2147483648"}, {"3", 3, 3, "3"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Typed);
    Form().edtRainbowNumColors->setText(c.Typed);
    EXPECT_EQ(rainbow.CustPal().GetKeyCount(), c.Keys);
    EXPECT_EQ(rainbow.GetNumColors(), c.Count);
    EXPECT_EQ(Form().edtRainbowNumColors->text().toStdString(), c.Shown);
  }
  EXPECT_TRUE(Errors().empty());

  Form().PageControl1->setCurrentIndex(kTabExtra);
  const auto shows = [&](int i) {
    const auto& palettes = View(i).Palettes();
    return std::count(palettes.begin(), palettes.end(), &rainbow);
  };
  QTest::mouseClick(Form().chkStandardRainbow, Qt::LeftButton, {}, kOnTheBox);
  EXPECT_EQ(Form().Palettes[0], &rainbow);
  for (int i = 0; i < kNumViewports; ++i) EXPECT_EQ(shows(i), 1);
  // Shown and current, a negative count draws nothing and holds no count.
  Form().edtRainbowNumColors->setText("-1");
  EXPECT_EQ(rainbow.GetNumColors(), 0);
  EXPECT_EQ(rainbow.CustPal().GetKeyCount(), 0);
  Form().edtRainbowNumColors->setText("12");
  QTest::mouseClick(Form().chkStandardRainbow, Qt::LeftButton, {}, kOnTheBox);
  EXPECT_EQ(Form().Palettes[0], nullptr);
  for (int i = 0; i < kNumViewports; ++i) EXPECT_EQ(shows(i), 0);
}

// The rainbow's count edit applies every change of its text. Typed key by key,
// a count past the cap shows the cap with the caret after it, so the next
// digit is read as part of a count above the cap again; a count under the cap
// keeps the text and the caret where typing left them.
TEST_F(MainWindowSettings, RainbowCountTypedKeyByKeyShowsTheCountInForce) {
  QLineEdit* edit = Form().edtRainbowNumColors;
  TColorPalette& rainbow = *Form().RainbowPalette;
  struct TCase {
    const char* Start;  // the text before typing
    int Caret;          // where typing starts in it
    const char* Typed;
    const char* Shown;
    int ShownCaret;
  };
  const TCase cases[] = {
      {"", 0, "25000", "2000", 4},      {"", 0, "3000000000", "2000", 4}, {"", 0, "2001", "2000", 4},
      {"", 0, "2000", "2000", 4},       {"", 0, "150", "150", 3},         {"150", 1, "9", "1950", 2},
      {"1950", 2, "0", "2000", 4},      {"150", 0, "1", "1150", 1},       {"12", 2, "00000", "2000", 4},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Start) + " + " + c.Typed + " at " + std::to_string(c.Caret));
    edit->setText(c.Start);
    edit->setCursorPosition(c.Caret);
    QTest::keyClicks(edit, c.Typed);
    EXPECT_EQ(edit->text().toStdString(), c.Shown);
    EXPECT_EQ(edit->cursorPosition(), c.ShownCaret);
    const int count = std::stoi(c.Shown);
    EXPECT_EQ(rainbow.GetNumColors(), count);
    EXPECT_EQ(rainbow.CustPal().GetKeyCount(), count);
  }

  // A pasted integer beyond 32 bits is a count past the cap too, or below 0.
  edit->setText("3000000000");
  EXPECT_EQ(edit->text().toStdString(), "2000");
  EXPECT_EQ(rainbow.GetNumColors(), 2000);
  edit->setText("12");
  edit->setText("-3000000000");
  EXPECT_EQ(edit->text().toStdString(), "-3000000000");
  EXPECT_EQ(rainbow.GetNumColors(), 0);
  EXPECT_EQ(rainbow.CustPal().GetKeyCount(), 0);
  EXPECT_TRUE(Errors().empty());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(MainWindowSettings, CompleteSpectrumEndsAtTheSliderEnd) {
  QComboBox* number = Form().cmbDrawCompleteSpectrumViewportNr;
  const auto draw = [&](const char* viewport, bool light) {
    number->setEditText(viewport);
    (light ? Form().radSpectrumLight : Form().radSpectrumDark)->setChecked(true);
    QTest::mouseClick(Form().btnDrawCompleteSpectrum, Qt::LeftButton);
  };
  for (int v = 0; v < kNumViewports; ++v) {
    SCOPED_TRACE(v);
    const TViewTypeInfo& info = View(v).GetViewTypeInfo();
    draw(std::to_string(v + 1).c_str(), true);
    EXPECT_EQ(View(v).GetSliderValue(), info.Max);
    draw(std::to_string(v + 1).c_str(), false);
    EXPECT_EQ(View(v).GetSliderValue(), info.Min);
  }

  // Only viewport 1 in the 1 x 1 layout; other texts do nothing.
  QTest::mouseClick(Form().rad1x1, Qt::LeftButton);
  for (int v = 1; v < kNumViewports; ++v) View(v).SetSliderValue(42);
  for (const char* text : {"2", "3", "4", "0", "5", "x", ""}) {
    SCOPED_TRACE(text);
    draw(text, true);
    for (int v = 1; v < kNumViewports; ++v) EXPECT_EQ(View(v).GetSliderValue(), 42);
  }
  EXPECT_TRUE(Errors().empty());
}

TEST_F(MainWindowSettings, SetToHueTakesTheFirstShownHueView) {
  TColorPalette& autoPalette = *Form().AutoPalette;
  // Viewport 2 ("CIELuv_H*") is the first hue view of the 2 x 2 layout.
  View(2).SetSliderValue(250);
  View(3).SetSliderValue(20);
  Form().btnSetToHueClick();
  EXPECT_DOUBLE_EQ(autoPalette.SeqPal().GetHue(0), 250);

  autoPalette.SetPaletteType(ptDiv);
  Form().btnSetToHueClick();
  EXPECT_DOUBLE_EQ(autoPalette.DivPal().GetHue(0), 250);
  EXPECT_DOUBLE_EQ(autoPalette.DivPal().GetHue(1), 70);
  EXPECT_TRUE(Messages().empty());

  // In the 1 x 1 layout only "CIELuv_L*" is shown.
  QTest::mouseClick(Form().rad1x1, Qt::LeftButton);
  View(2).SetSliderValue(100);
  Form().btnSetToHueClick();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0],
            "Error!: One of the viewports needs to have a hue ViewType (like CIELuv_H, HSV_H, HLS_H, etc...)");
  EXPECT_DOUBLE_EQ(autoPalette.DivPal().GetHue(0), 250);
}

TEST_F(MainWindowSettings, CopyParametersDescribesACurvePalette) {
  TColorPalette& autoPalette = *Form().AutoPalette;
  const TSequentialPalette& seq = autoPalette.SeqPal();
  Form().btnCopyParametersClick();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            "< N: 6, h: " + UserText(seq.GetHue(0)) + ", w: " + UserText(seq.ColdWarm()) +
                ", c: " + UserText(seq.GetContrast()) + ", s: " + UserText(seq.Saturation()) +
                ", b: " + UserText(seq.Brightness()) + ">");

  autoPalette.SetPaletteType(ptDiv);
  const TDivergingPalette& div = autoPalette.DivPal();
  Form().btnCopyParametersClick();
  const std::string text = QApplication::clipboard()->text().toStdString();
  EXPECT_EQ(text.rfind("< N: 6, h0: " + UserText(div.GetHue(0)) + ", h1: " + UserText(div.GetHue(1)) + ", w: ", 0),
            0u);

  autoPalette.SetPaletteType(ptQual);
  Form().btnCopyParametersClick();
  EXPECT_EQ(QApplication::clipboard()->text(), "");
}

TEST(MainWindowTabs, TabChoosesTheCurrentPalette) {
  TMainWindowUnderTest under(ReadFile(std::string(TEST_DATA_DIR) + "/brewer_small.txt"));
  TForm1& form = under.Form();
  const auto select = [&](int tab) {
    form.PageControl1->setCurrentIndex(tab);
    return form.Palettes[0];
  };
  EXPECT_EQ(select(kTabCustom), form.CustomPalette.get());
  EXPECT_EQ(select(kTabAuto), form.AutoPalette.get());
  // Hidden schemes and an unchecked rainbow leave the current palette.
  EXPECT_EQ(select(kTabBrewer), form.AutoPalette.get());
  EXPECT_EQ(select(kTabExtra), form.AutoPalette.get());
  form.chkStandardRainbow->setChecked(true);
  EXPECT_EQ(select(kTabCustom), form.CustomPalette.get());
  EXPECT_EQ(select(kTabExtra), form.RainbowPalette.get());

  QTest::mouseClick(form.btnShowBrewerPalettes, Qt::LeftButton);
  ASSERT_FALSE(form.FilteredBrewerPalettes.empty());
  EXPECT_EQ(select(kTabAuto), form.AutoPalette.get());
  EXPECT_EQ(select(kTabBrewer), form.FilteredBrewerPalettes.front());
  EXPECT_EQ(form.Palettes[0]->GetName(), "s Blues");

  EXPECT_TRUE(under.Notifier.Errors.empty());
}

TEST(MainWindowTabs, ShownSchemesWithNoneMatchingLeaveNoCurrentPalette) {
  TMainWindowUnderTest under;  // no scheme file
  TForm1& form = under.Form();
  QTest::mouseClick(form.btnShowBrewerPalettes, Qt::LeftButton);
  form.PageControl1->setCurrentIndex(kTabCustom);
  ASSERT_EQ(form.Palettes[0], form.CustomPalette.get());
  form.PageControl1->setCurrentIndex(kTabBrewer);
  EXPECT_EQ(form.Palettes[0], nullptr);
  EXPECT_TRUE(under.Notifier.Errors.empty());
}

}  // namespace
