#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "app/viewport/viewport.h"
#include "app/viewport/viewport_group.h"
#include "app/window/main_window_fixture.h"
#include "graphics/bitmap32.h"
#include "palette/colour_palette.h"

namespace {

const std::string kSmallTable = TEST_DATA_DIR "/brewer_small.txt";
const std::string kShippedTable = TEST_DATA_DIR "/../../../data/ColorBrewer_all_schemes.txt";

std::vector<std::string> Items(const QComboBox* combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
  return items;
}

std::vector<std::string> Names(const std::vector<TColorPalette*>& palettes) {
  std::vector<std::string> names;
  for (const TColorPalette* p : palettes) names.push_back(p->GetName() + " " + std::to_string(p->GetNumColors()));
  return names;
}

std::vector<TRGB> Keys(const TColorPalette& palette) {
  std::vector<TRGB> keys(palette.CustPal().GetKeyCount());
  for (size_t i = 0; i < keys.size(); ++i) palette.CustPal().GetKey(static_cast<int>(i), keys[i]);
  return keys;
}

std::vector<TColor32> Pixels(const TBitmap32& bitmap) {
  return std::vector<TColor32>(bitmap.Bits(), bitmap.Bits() + bitmap.Width() * bitmap.Height());
}

// The user picks the item showing Text.
void Choose(QComboBox* combo, const char* text) {
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text;
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

class MainWindowBrewer : public ::testing::Test {
 protected:
  MainWindowBrewer() : FUnder(ReadFile(kSmallTable)) {}
  TForm1& Form() { return FUnder.Form(); }
  // How often viewport I draws Palette.
  long Shown(const TColorPalette* palette, int i = 0) {
    const auto& palettes = Form().ViewportGroup->Viewport(i).Palettes();
    return std::count(palettes.begin(), palettes.end(), palette);
  }
  bool ShowsAnyScheme() {
    for (int i = 0; i < kNumViewports; ++i)
      for (const auto& scheme : Form().BrewerPalettes)
        if (Shown(scheme.get(), i) != 0) return true;
    return false;
  }
  TMainWindowUnderTest FUnder;
};

TEST_F(MainWindowBrewer, StartUpNarrowsToSequentialFiveHidden) {
  TForm1& f = Form();
  EXPECT_EQ(f.BrewerPalettes.size(), 16u);
  EXPECT_EQ(f.BrewerType, ptSeq);
  EXPECT_EQ(f.BrewerNumColors, 5);
  EXPECT_EQ(f.BrewerName, "All");
  EXPECT_EQ(f.cmbBrewerPaletteType->currentText(), "Sequential");
  // "sunny" (type word "warm") reads as sequential through its first letter.
  EXPECT_EQ(Items(f.cmbBrewerNumColors), (std::vector<std::string>{"All", "3", "4", "5"}));
  EXPECT_EQ(f.cmbBrewerNumColors->currentText(), "5");
  EXPECT_EQ(Items(f.cmbBrewerPaletteName), (std::vector<std::string>{"All", "Blues"}));
  EXPECT_EQ(f.cmbBrewerPaletteName->currentText(), "All");
  EXPECT_EQ(Names(f.FilteredBrewerPalettes), (std::vector<std::string>{"s Blues 5"}));
  EXPECT_FALSE(ShowsAnyScheme());
  EXPECT_EQ(f.btnShowBrewerPalettes->text(), "Show ColorBrewer Palettes");
  EXPECT_FALSE(f.btnCopySelectedToCustom->isEnabled());
  EXPECT_EQ(f.Palettes[0], f.AutoPalette.get());
  EXPECT_TRUE(FUnder.Notifier.Errors.empty());
}

TEST_F(MainWindowBrewer, FiltersRebuildTheCombosWithoutTheirHandlers) {
  TForm1& f = Form();
  // A type: the number stays inside the diverging range 4..7, the names are
  // those with that number, the name resets and the schemes show.
  Choose(f.cmbBrewerPaletteType, "Diverging");
  EXPECT_EQ(Items(f.cmbBrewerNumColors), (std::vector<std::string>{"All", "4", "5", "6", "7"}));
  EXPECT_EQ(f.cmbBrewerNumColors->currentText(), "5");
  EXPECT_EQ(Items(f.cmbBrewerPaletteName), (std::vector<std::string>{"All", "RdBu"}));
  EXPECT_EQ(Names(f.FilteredBrewerPalettes), (std::vector<std::string>{"d RdBu 5"}));
  EXPECT_EQ(f.btnShowBrewerPalettes->text(), "Hide ColorBrewer Palettes");
  EXPECT_TRUE(f.btnCopySelectedToCustom->isEnabled());
  EXPECT_EQ(f.Palettes[0], f.FilteredBrewerPalettes.front());
  for (int i = 0; i < kNumViewports; ++i) EXPECT_EQ(Shown(f.FilteredBrewerPalettes.front(), i), 1);

  // A count outside the next name's range moves to its nearest end.
  Choose(f.cmbBrewerNumColors, "7");
  EXPECT_EQ(Items(f.cmbBrewerPaletteName), (std::vector<std::string>{"All", "PuOr"}));
  Choose(f.cmbBrewerNumColors, "All");
  EXPECT_EQ(Items(f.cmbBrewerPaletteName), (std::vector<std::string>{"All", "RdBu", "PuOr"}));
  Choose(f.cmbBrewerPaletteName, "RdBu");
  EXPECT_EQ(Items(f.cmbBrewerNumColors), (std::vector<std::string>{"All", "4", "5", "6"}));
  EXPECT_EQ(f.cmbBrewerNumColors->currentText(), "All");
  EXPECT_EQ(Names(f.FilteredBrewerPalettes), (std::vector<std::string>{"d RdBu 4", "d RdBu 5", "d RdBu 6"}));
  Choose(f.cmbBrewerNumColors, "6");
  EXPECT_EQ(f.cmbBrewerNumColors->currentText(), "6");
  EXPECT_EQ(f.cmbBrewerPaletteName->currentText(), "RdBu");
  EXPECT_EQ(Names(f.FilteredBrewerPalettes), (std::vector<std::string>{"d RdBu 6"}));

  // A name with type "All" covers that name's schemes of every type.
  Choose(f.cmbBrewerPaletteType, "All");
  Choose(f.cmbBrewerNumColors, "All");
  Choose(f.cmbBrewerPaletteName, "Mixed");
  EXPECT_EQ(Items(f.cmbBrewerNumColors), (std::vector<std::string>{"All", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(Names(f.FilteredBrewerPalettes), (std::vector<std::string>{"s Mixed 3", "q Mixed 7"}));

  // Only the last selection is in the views.
  for (const auto& scheme : f.BrewerPalettes) {
    const bool selected = std::count(f.FilteredBrewerPalettes.begin(), f.FilteredBrewerPalettes.end(), scheme.get());
    EXPECT_EQ(Shown(scheme.get()), selected ? 1 : 0) << scheme->GetName();
  }
  EXPECT_TRUE(FUnder.Notifier.Errors.empty());

  // Rebuilding the items and selecting from code fires no change event.
  QSignalSpy typeChanges(f.cmbBrewerPaletteType, &QComboBox::currentIndexChanged);
  QSignalSpy numberChanges(f.cmbBrewerNumColors, &QComboBox::currentIndexChanged);
  QSignalSpy nameChanges(f.cmbBrewerPaletteName, &QComboBox::currentIndexChanged);
  {
    const QSignalBlocker hold(f.cmbBrewerPaletteType);
    f.cmbBrewerPaletteType->setCurrentIndex(1);
  }
  f.cmbBrewerSelectionCriteriaChange();
  EXPECT_EQ(Names(f.FilteredBrewerPalettes), (std::vector<std::string>{"s Blues 3", "s Blues 4", "s Blues 5", "s Greens 3",
                                                                  "s Greens 4", "s Mixed 3", "sunny 3"}));
  EXPECT_EQ(typeChanges.count() + numberChanges.count() + nameChanges.count(), 0);
}

TEST_F(MainWindowBrewer, ShowAndHide) {
  TForm1& f = Form();
  QTest::mouseClick(f.btnShowBrewerPalettes, Qt::LeftButton);
  ASSERT_EQ(f.FilteredBrewerPalettes.size(), 1u);
  TColorPalette* blues = f.FilteredBrewerPalettes.front();
  EXPECT_EQ(Shown(blues), 1);
  EXPECT_EQ(f.Palettes[0], blues);
  QTest::mouseClick(f.btnShowBrewerPalettes, Qt::LeftButton);
  EXPECT_FALSE(ShowsAnyScheme());
  EXPECT_EQ(f.Palettes[0], nullptr);
  EXPECT_EQ(f.btnShowBrewerPalettes->text(), "Show ColorBrewer Palettes");
  EXPECT_FALSE(f.btnCopySelectedToCustom->isEnabled());
  // With no current palette the swatch slider hides.
  EXPECT_FALSE(f.sldCurPalette->isVisibleTo(f.grpPalette));
}

TEST_F(MainWindowBrewer, CopySelectedToCustomRedrawsNothing) {
  TForm1& f = Form();
  TColorPalette& custom = *f.CustomPalette;
  custom.CustPal().SetInterpolationMethod(imRGB);
  Choose(f.cmbBrewerPaletteType, "Diverging");
  const TColorPalette& scheme = *f.FilteredBrewerPalettes.front();
  const std::vector<TColor32> swatches = Pixels(f.PaletteBitmap);
  const TBitmap32& overlay = f.ViewportGroup->Viewport(0).OverlayBitmap();
  const std::vector<TColor32> overlayBefore = Pixels(overlay);

  QTest::mouseClick(f.btnCopySelectedToCustom, Qt::LeftButton);
  EXPECT_EQ(custom.GetName(), "Custom");
  EXPECT_EQ(custom.Typ(), ptCustom);
  EXPECT_EQ(custom.GetNumColors(), 5);
  EXPECT_EQ(Keys(custom), Keys(scheme));
  EXPECT_EQ(custom.CustPal().InterpolationMethod(), imCIELUV);
  // The keys the mouse edits are the copied ones.
  EXPECT_EQ(f.ViewportGroup->KeyPalette(), &custom.CustPal());
  EXPECT_EQ(Pixels(f.PaletteBitmap), swatches);
  EXPECT_EQ(Pixels(overlay), overlayBefore);

  // Hidden schemes disable the button.
  QTest::mouseClick(f.btnShowBrewerPalettes, Qt::LeftButton);
  custom.CustPal().ClearKeys();
  QTest::mouseClick(f.btnCopySelectedToCustom, Qt::LeftButton);
  EXPECT_EQ(custom.CustPal().GetKeyCount(), 0);
}

// Whatever method the "Custom" tab's list showed, after a copy it shows the
// method the copy brings (CIELUV for every scheme), and showing it runs no
// change handler: the views still show the keys from before the copy.
TEST_F(MainWindowBrewer, CopySelectedToCustomShowsTheCopiedMethod) {
  TForm1& f = Form();
  TCustomPalette& keys = f.CustomPalette->CustPal();
  const TBitmap32& overlay = f.ViewportGroup->Viewport(0).OverlayBitmap();
  QTest::mouseClick(f.btnShowBrewerPalettes, Qt::LeftButton);
  for (const char* chosen : {"RGB", "HLS", "CIELCH_uv", "CIELUV (straight)"}) {
    SCOPED_TRACE(chosen);
    // Keys other than the scheme's, drawn, so a redraw by the copy would show.
    keys.ClearKeys();
    keys.AddKey(TRGB{250, 20, 20});
    keys.AddKey(TRGB{20, 20, 250});
    Choose(f.cmbInterpolationMethod, chosen);
    ASSERT_EQ(f.cmbInterpolationMethod->currentIndex(), keys.InterpolationMethod());
    const std::vector<TColor32> overlayBefore = Pixels(overlay);
    QTest::mouseClick(f.btnCopySelectedToCustom, Qt::LeftButton);
    EXPECT_EQ(keys.InterpolationMethod(), imCIELUV);
    EXPECT_EQ(f.cmbInterpolationMethod->currentIndex(), imCIELUV);
    EXPECT_EQ(f.cmbInterpolationMethod->currentText(), "CIELUV");
    EXPECT_EQ(Pixels(overlay), overlayBefore);
  }
}

TEST_F(MainWindowBrewer, ReloadingLeavesNothingPointingAtOldSchemes) {
  TForm1& f = Form();
  QTest::mouseClick(f.btnShowBrewerPalettes, Qt::LeftButton);
  f.LoadBrewerPalettes(kSmallTable);
  EXPECT_FALSE(ShowsAnyScheme());
  EXPECT_EQ(f.Palettes[0], nullptr);
  EXPECT_TRUE(f.FilteredBrewerPalettes.empty());
  f.UpdateBrewerSelection();
  EXPECT_EQ(Names(f.FilteredBrewerPalettes), (std::vector<std::string>{"s Blues 5"}));
}

TEST(MainWindowBrewerFile, NoFileGivesAnEmptyBrowserThatKeepsWorking) {
  TMainWindowUnderTest under;
  TForm1& f = under.Form();
  EXPECT_TRUE(f.BrewerPalettes.empty());
  // An empty count range leaves the count filter at "All", so the next
  // change still reads a number.
  EXPECT_EQ(f.BrewerNumColors, -1);
  EXPECT_EQ(Items(f.cmbBrewerNumColors), (std::vector<std::string>{"All"}));
  EXPECT_EQ(f.cmbBrewerNumColors->currentText(), "All");
  for (const char* type : {"Diverging", "All", "Qualitative"}) {
    SCOPED_TRACE(type);
    Choose(f.cmbBrewerPaletteType, type);
    EXPECT_TRUE(f.FilteredBrewerPalettes.empty());
    EXPECT_EQ(f.Palettes[0], nullptr);
  }
  Choose(f.cmbBrewerNumColors, "All");
  Choose(f.cmbBrewerPaletteName, "All");
  QTest::mouseClick(f.btnCopySelectedToCustom, Qt::LeftButton);
  EXPECT_EQ(f.CustomPalette->CustPal().GetKeyCount(), 0);
  EXPECT_TRUE(under.Notifier.Errors.empty());
}

TEST(MainWindowBrewerFile, BrokenTableKeepsCompleteSchemesAndReportsOnce) {
  const std::string table =
      "ColorName\tNumOfColors\tType\n"
      "Blues\t3\tseq\n1\tA\t1\t2\t3\n2\tB\t4\t5\t6\n3\tC\t7\t8\t9\n"
      "Greens\t3\tseq\n1\tA\t1\t2\t3\n2\tB\tx\t5\t6\n";  // a colour that is no integer
  TMainWindowUnderTest under(table);
  TForm1& f = under.Form();
  EXPECT_EQ(under.Notifier.Errors.size(), 1u);
  ASSERT_EQ(f.BrewerPalettes.size(), 1u);
  EXPECT_EQ(f.BrewerPalettes[0]->GetName(), "s Blues");
  // The rest of start-up ran.
  EXPECT_EQ(f.Palettes[0], f.AutoPalette.get());
  EXPECT_NE(f.PaletteUI, nullptr);
  // The start filter of 5 colours moves to the only count there is.
  EXPECT_EQ(Names(f.FilteredBrewerPalettes), std::vector<std::string>{"s Blues 3"});
  EXPECT_EQ(Items(f.cmbBrewerNumColors), (std::vector<std::string>{"All", "3"}));
  EXPECT_EQ(f.cmbBrewerNumColors->currentText(), "3");
}

TEST(MainWindowBrewerFile, ShippedTableAtStartUp) {
  TMainWindowUnderTest under(ReadFile(kShippedTable));
  TForm1& f = under.Form();
  EXPECT_TRUE(under.Notifier.Errors.empty());
  EXPECT_EQ(f.BrewerPalettes.size(), 265u);
  EXPECT_EQ(Items(f.cmbBrewerNumColors),
            (std::vector<std::string>{"All", "3", "4", "5", "6", "7", "8", "9"}));
  // Every sequential scheme has 5 colours.
  EXPECT_EQ(f.FilteredBrewerPalettes.size(), 18u);
  EXPECT_EQ(f.cmbBrewerPaletteName->count(), 19);
  // BuGn 5: #edf8fb #b2e2e2 #66c2a4 #2ca25f #006d2c
  EXPECT_EQ(Keys(*f.FilteredBrewerPalettes.front()),
            (std::vector<TRGB>{{0xed, 0xf8, 0xfb}, {0xb2, 0xe2, 0xe2}, {0x66, 0xc2, 0xa4}, {0x2c, 0xa2, 0x5f},
                               {0x00, 0x6d, 0x2c}}));
  Choose(f.cmbBrewerPaletteType, "All");
  Choose(f.cmbBrewerNumColors, "All");
  EXPECT_EQ(f.FilteredBrewerPalettes.size(), 265u);
  EXPECT_EQ(f.cmbBrewerPaletteName->count(), 36);
}

TEST(MainWindowNiceNumbers, HandlerLabelsTheBoundsAndSetsTheClasses) {
  TMainWindowUnderTest under;
  TForm1& f = under.Form();
  TColorPalette& custom = *f.CustomPalette;
  struct TCase {
    const char* A;
    const char* B;
    bool Fixed;
    int CustomBefore;
    const char* Label;
    int CustomAfter;
  };
  const TCase cases[] = {
      {"20", "40", false, 0, "20,  22,  24,  26,  28,  30,  32,  34,  36,  38,  40", 10},
      {"40", "20", false, 0, "20,  22,  24,  26,  28,  30,  32,  34,  36,  38,  40", 10},
      {"20", "40", true, 5, "20,  24,  28,  32,  36,  40", 5},
      {"3", "97", true, 4, "0,  25,  50,  75,  100", 4},
      {"7", "7", false, 3, "0", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.A) + " " + c.B);
    custom.SetNumColors(c.CustomBefore);
    f.chkNiceNumbersFixed->setChecked(c.Fixed);
    {
      const QSignalBlocker holdA(f.edtNiceNumber1);
      const QSignalBlocker holdB(f.edtNiceNumber2);
      f.edtNiceNumber1->setText(c.A);
      f.edtNiceNumber2->setText(c.B);
    }
    f.edtNiceNumberChange();
    EXPECT_EQ(f.lblNiceNumbers->text().toStdString(), c.Label);
    EXPECT_EQ(custom.GetNumColors(), c.CustomAfter);
  }

  // Typing runs the handler; a fixed count of one bound or a text that is
  // no number changes nothing more.
  f.chkNiceNumbersFixed->setChecked(true);
  custom.SetNumColors(0);
  f.edtNiceNumber1->setText("10");
  EXPECT_EQ(f.lblNiceNumbers->text().toStdString(), "0");
  f.chkNiceNumbersFixed->setChecked(false);
  f.edtNiceNumber1->setText("abc");
  EXPECT_EQ(f.lblNiceNumbers->text().toStdString(), "0");
  EXPECT_EQ(custom.GetNumColors(), 0);
  EXPECT_TRUE(under.Notifier.Errors.empty());
}

}  // namespace
