#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <string>
#include <vector>

#include "app/toolkit/bitmap_view.h"
#include "app/toolkit/shape_widget.h"
#include "app/viewport/viewport.h"
#include "app/viewport/viewport_group.h"
#include "app/window/main_window_fixture.h"
#include "app/window/palette_ui.h"
#include "app/window/window_screenshot.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

int VisibleRows(TForm1& form) {
  int rows = 0;
  for (int r = 0; r < kPrevColorRows; ++r) {
    const bool shown = form.PrevColors[r * kPrevColorColumns]->isVisibleTo(form.grpPrevColors);
    for (int c = 1; c < kPrevColorColumns; ++c)
      EXPECT_EQ(form.PrevColors[r * kPrevColorColumns + c]->isVisibleTo(form.grpPrevColors), shown) << "row " << r;
    rows += shown;
  }
  return rows;
}

// A resize as the user makes it; the offscreen platform reports it through the event loop.
void Resize(TForm1& form, QSize size) {
  form.resize(size);
  QApplication::processEvents();
}

}  // namespace

TEST(MainWindow, StartUpBuildsTheToolInOrder) {
  TMainWindowUnderTest under;  // no scheme file in the working directory
  TForm1& form = under.Form();
  EXPECT_TRUE(under.Notifier.Errors.empty());
  EXPECT_EQ(form.windowTitle(), "Dravolin Quenzaro");

  // The automatic palette, six sequential colours, is current on "Auto".
  EXPECT_EQ(form.PageControl1->currentIndex(), kTabAuto);
  EXPECT_EQ(form.PageControl1->tabText(kTabAuto), "Auto");
  ASSERT_EQ(form.Palettes[0], form.AutoPalette.get());
  EXPECT_EQ(form.AutoPalette->Typ(), ptSeq);
  EXPECT_EQ(form.AutoPalette->GetNumColors(), 6);
  EXPECT_FALSE(form.AutoPalette->GetContinuous());
  EXPECT_EQ(form.AutoPalette->GetName(), "AutoPalette");
  EXPECT_EQ(form.CustomPalette->Typ(), ptCustom);
  EXPECT_EQ(form.CustomPalette->GetName(), "Custom");
  EXPECT_EQ(form.CustomPalette->GetNumColors(), 0);
  EXPECT_EQ(form.RainbowPalette->GetNumColors(), 12);
  EXPECT_EQ(form.RainbowPalette->CustPal().GetKeyCount(), 12);
  EXPECT_EQ(form.RainbowPalette->CustPal().ColorSettings(), nullptr);
  for (int s = 1; s <= 2; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(form.Palettes[s], form.StoredPalettes[s - 1].get());
    EXPECT_EQ(form.Palettes[s]->GetNumColors(), 0);
    EXPECT_EQ(form.Palettes[s]->GetName(), "");
  }
  EXPECT_EQ(form.ColorSettings, (TColorSettings{0, 3, 2.2, 2}));
  EXPECT_EQ(form.cmbRGB_Conversion->count(), kNumRGBConversions);
  EXPECT_EQ(form.cmbRGB_Conversion->currentText(), "Adobe98");
  EXPECT_EQ(form.cmbReferenceWhite->currentText(), "D65");
  EXPECT_EQ(form.cmbDistFunc->currentIndex(), 2);

  // Both scheme lists exist and are empty without the file.
  EXPECT_TRUE(form.BrewerPalettes.empty());
  EXPECT_TRUE(form.FilteredBrewerPalettes.empty());
  EXPECT_FALSE(form.ShowBrewerPalettes);

  // 2 x 2 viewports over Image1's rectangle, showing custom then automatic.
  TViewportGroup& group = *form.ViewportGroup;
  EXPECT_EQ(group.Layout(), kLayout2x2);
  EXPECT_EQ(group.Left(), 224);
  EXPECT_EQ(group.Top(), 24);
  EXPECT_EQ(group.Width(), 554);
  EXPECT_EQ(group.Height(), 541);
  EXPECT_EQ(group.KeyPalette(), &form.CustomPalette->CustPal());
  EXPECT_EQ(group.ColorSettings(), &form.ColorSettings);
  for (int v = 0; v < kNumViewports; ++v) {
    SCOPED_TRACE(v);
    const TViewport& viewport = group.Viewport(v);
    EXPECT_TRUE(viewport.Image()->isVisible());
    EXPECT_EQ(viewport.Palettes(), (std::vector<TColorPalette*>{form.CustomPalette.get(), form.AutoPalette.get()}));
    EXPECT_FALSE(viewport.FieldBitmap().Empty());
    EXPECT_FALSE(viewport.CompositeBitmap().Empty());
  }
  EXPECT_FALSE(form.Image1->isVisible());

  // Strip and swatches drawn, slider and Store live, the panel built.
  EXPECT_TRUE(form.sldCurPalette->isVisible());
  EXPECT_TRUE(form.btnStoreCurPalette->isEnabled());
  EXPECT_EQ(form.edtCustomNumColors->text(), "6");
  const int stripX = form.ContPaletteBitmap.Width() - 25 - 8;
  EXPECT_EQ(form.ContPaletteBitmap.Pixel(stripX, 0), Color32(form.AutoPalette->Current().GetTColor(true, 1.0)));
  EXPECT_EQ(form.PaletteBitmap.Pixel(90 / 8, 0), Color32(form.AutoPalette->GetIndexTColor(5)));
  ASSERT_NE(form.PaletteUI, nullptr);
  EXPECT_EQ(form.PaletteUI->Palette(), form.AutoPalette.get());
  EXPECT_EQ(form.PaletteUI->ColorSliders().size(), 5u);

  // Only sequential and qualitative are offered; sequential moves towards the
  // middle slot, up to the qualitative one.
  EXPECT_FALSE(form.radDiverging->isVisible());
  EXPECT_GT(form.radSequential->x(), 16);
  EXPECT_LE(form.radSequential->x(), 84);
  EXPECT_LT(form.radSequential->geometry().right(), form.radQualitative->x());
  EXPECT_TRUE(form.radSequential->isChecked());

  // History: 80 swatches, all the template's colour; rows 0 to 6 at the design size.
  for (TShape* swatch : form.PrevColors) EXPECT_EQ(swatch->BrushColor(), 0xE0E0E0u);
  EXPECT_EQ(VisibleRows(form), 7);
}

TEST(MainWindow, ControlsCarryTheirCaptionsAndStates) {
  TMainWindowUnderTest under;
  TForm1& f = under.Form();
  struct TButtonCase {
    QAbstractButton* Button;
    const char* Caption;
    bool Checked;
  };
  const TButtonCase buttons[] = {
      {f.chkShowPixelsOutOfRange, "Show pixels out of range", false},
      {f.chkDrawGridLines, "Draw grid lines", true},
      {f.chkDrawGridAxes, "Draw grid axes (red)", false},
      {f.chkShowDrawTime, "Show draw time (MSec)", false},
      {f.chkShowColorKeys, "Show color keys", true},
      {f.rad1x1, "1 x 1", false},
      {f.rad2x2, "2 x 2", true},
      {f.radSequential, "Sequential", true},
      {f.radQualitative, "Qualitative", false},
      {f.chkStandardRainbow, "Rainbow", false},
      {f.radSpectrumLight, "Light", true},
      {f.radSpectrumDark, "Dark", false},
      {f.chkNiceNumbersFixed, "Fixed number of categories", false},
      {f.chkCurPaletteShowPixelsOutOfRange, "Show pixels out of range", true},
      {f.chkShowStoredPalette, "Show stored palettes", false},
      {f.btnShowBrewerPalettes, "Show ColorBrewer Palettes", false},
      {f.btnCopySelectedToCustom, "Copy selected to custom ", false},
      {f.btnDrawCompleteSpectrum, "Draw complete sprectrum", false},
      {f.btnStoreCurPalette, "Store", false},
      {f.btnBackground, "Background", false},
      {f.btnRandomize, "Randomize", false},
  };
  for (const auto& [button, caption, checked] : buttons) {
    SCOPED_TRACE(caption);
    EXPECT_EQ(button->text(), caption);
    EXPECT_EQ(button->isChecked(), checked);
  }
  const std::vector<QString> tabs = {"Custom", "Auto", "Brewer", "Extra"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.PageControl1->tabText(i), tabs[i]);
  EXPECT_EQ(f.cmbInterpolationMethod->count(), 5);
  EXPECT_EQ(f.cmbInterpolationMethod->currentText(), "CIELUV");
  EXPECT_EQ(f.cmbBrewerPaletteType->currentText(), "Sequential");
  EXPECT_EQ(f.cmbDrawCompleteSpectrumViewportNr->currentText(), "1");
  EXPECT_TRUE(f.cmbDrawCompleteSpectrumViewportNr->isEditable());
  EXPECT_EQ(f.edtRainbowNumColors->text(), "12");
  EXPECT_EQ(f.edtAutoNumColors->text(), "6");
  EXPECT_FALSE(f.GroupBox5->isVisibleTo(f.tabExtra));
  EXPECT_EQ(f.lblNiceNumbers->text(), "20, 25, 30, 35, 40");
  EXPECT_EQ(f.sldCurPalette->value(), 50);
  EXPECT_EQ(f.sldCurPalette->maximum(), 100);
  EXPECT_EQ(f.grpPalette->geometry(), QRect(792, 368, 241, 297));
  EXPECT_EQ(f.imgPalette->geometry(), QRect(136, 19, 90, 206));
  EXPECT_EQ(f.panPaletteUI->geometry(), QRect(4, 76, 225, 225));
}

TEST(MainWindow, StartUpReadsTheSchemeFileOfTheWorkingDirectory) {
  TMainWindowUnderTest under(ReadFile(std::string(TEST_DATA_DIR) + "/brewer_small.txt"));
  TForm1& form = under.Form();
  EXPECT_FALSE(form.BrewerPalettes.empty());
  EXPECT_EQ(form.BrewerPalettes.front()->GetName(), "s Blues");
  EXPECT_EQ(form.Palettes[0], form.AutoPalette.get());  // the schemes stay hidden
}

TEST(MainWindow, ResizeFollowsTheRightAndBottomEdges) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  TViewportGroup& group = *form.ViewportGroup;
  const QSize design = form.size();

  // The slider value changes without a redraw: only a re-render shows it.
  TViewport& first = group.Viewport(0);
  const TBitmap32 before = first.FieldBitmap();
  first.SetSliderValue(20);

  form.FormResize();  // the same size: no re-render
  EXPECT_EQ(group.Width(), 554);
  EXPECT_TRUE(first.FieldBitmap().Bits() != nullptr);
  EXPECT_EQ(std::vector<TColor32>(first.FieldBitmap().Bits(), first.FieldBitmap().Bits() + before.Width() * before.Height()),
            std::vector<TColor32>(before.Bits(), before.Bits() + before.Width() * before.Height()));

  // Wider: the group's requested width changes (its images, limited by the
  // height, keep their size), so the viewports re-render.
  Resize(form, QSize(design.width() + 40, design.height()));
  EXPECT_EQ(group.Width(), 594);
  EXPECT_EQ(group.Height(), 541);
  EXPECT_EQ(first.FieldBitmap().Width(), before.Width());
  EXPECT_NE(std::vector<TColor32>(first.FieldBitmap().Bits(), first.FieldBitmap().Bits() + before.Width() * before.Height()),
            std::vector<TColor32>(before.Bits(), before.Bits() + before.Width() * before.Height()));
  EXPECT_EQ(form.PageControl1->x(), 792 + 40);
  EXPECT_EQ(form.grpPalette->x(), 792 + 40);
  EXPECT_EQ(form.PageControl1->y(), 24);
  EXPECT_EQ(form.grpPalette->size(), QSize(241, 297));

  // Higher, then back: whole rows of history swatches show and hide from the
  // bottom (the window opens at its smallest height).
  form.PushPreviousColor(0x123456);
  Resize(form, QSize(design.width(), design.height() + 174));  // group height 511: rows 0-10
  EXPECT_EQ(form.grpPrevColors->height(), 337 + 174);
  EXPECT_EQ(group.Height(), 541 + 174);
  EXPECT_EQ(VisibleRows(form), 11);
  Resize(form, design);
  EXPECT_EQ(VisibleRows(form), 7);
  form.PushPreviousColor(0x654321);  // shifts hidden swatches too
  EXPECT_EQ(form.PrevColors[1]->BrushColor(), 0x123456u);
  EXPECT_EQ(form.PrevColors[0]->BrushColor(), 0x654321u);
  EXPECT_EQ(form.PageControl1->x(), 792);
}

// Pairs of visible controls placed straight on the window (the left-hand
// groups, the tab page, the palette group and every viewport's image, slider,
// range labels, list, "=" and value edit) that overlap.
std::vector<std::string> Overlaps(TForm1& form) {
  std::vector<QWidget*> controls;
  for (QWidget* child : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (child->isVisibleTo(&form)) controls.push_back(child);
  std::vector<std::string> overlaps;
  for (size_t i = 0; i < controls.size(); ++i)
    for (size_t j = i + 1; j < controls.size(); ++j)
      if (controls[i]->geometry().intersects(controls[j]->geometry()))
        overlaps.push_back(std::string(controls[i]->metaObject()->className()) + " and " +
                           controls[j]->metaObject()->className());
  return overlaps;
}

// A control named by its class and caption, for the messages.
std::string Describe(const QWidget* control) {
  QString caption;
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) caption = button->text();
  if (const auto* label = qobject_cast<const QLabel*>(control)) caption = label->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(control)) caption = group->title();
  return std::string(control->metaObject()->className()) + " \"" + caption.toStdString() + "\"";
}

// Visible controls, at any depth, that do not lie wholly inside the window's
// client area and inside their parent (a control cut off by its group is as
// out of reach as one below the window's edge).
std::vector<std::string> ControlsOutside(TForm1& form) {
  std::vector<std::string> outside;
  for (QWidget* control : form.findChildren<QWidget*>()) {
    if (!control->isVisibleTo(&form)) continue;
    const QRect inWindow(control->mapTo(&form, QPoint(0, 0)), control->size());
    const QRect parent(QPoint(0, 0), control->parentWidget()->size());
    if (!form.rect().contains(inWindow) || !parent.contains(control->geometry())) outside.push_back(Describe(control));
  }
  return outside;
}

// Pairs of visible controls side by side in one of the window's groups or tab
// pages that overlap. Left out by design: the history swatches, which share
// their borders, the palette panel, whose edits lie on its picture, and the
// palette slider's box, whose last column lies under the swatch image.
std::vector<std::string> OverlapsInGroups(TForm1& form) {
  std::vector<std::string> overlaps;
  for (QWidget* container : {static_cast<QWidget*>(form.GroupBox2), static_cast<QWidget*>(form.GroupBox1),
                             static_cast<QWidget*>(form.grpPalette), form.tabCustom, form.tabAuto, form.tabBrewer,
                             form.tabExtra, static_cast<QWidget*>(form.GroupBox4)}) {
    std::vector<QWidget*> controls;
    for (QWidget* child : container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
      if (child->isVisibleTo(container)) controls.push_back(child);
    const auto meant = [&](const QWidget* a, const QWidget* b) {
      return (a == form.sldCurPalette && b == form.imgPalette) || (a == form.imgPalette && b == form.sldCurPalette);
    };
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t j = i + 1; j < controls.size(); ++j)
        if (controls[i]->geometry().intersects(controls[j]->geometry()) && !meant(controls[i], controls[j]))
          overlaps.push_back(Describe(controls[i]) + " and " + Describe(controls[j]));
  }
  return overlaps;
}

TEST(MainWindow, AtTheMinimumSizeEveryControlIsInsideTheWindowOnEveryTab) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  Resize(form, QSize(640, 420));
  ASSERT_EQ(form.size(), form.minimumSize());
  for (QRadioButton* layout : {form.rad1x1, form.rad2x2}) {
    QTest::mouseClick(layout, Qt::LeftButton);
    for (int tab = 0; tab < form.PageControl1->count(); ++tab) {
      SCOPED_TRACE(layout->text().toStdString() + ", tab " + form.PageControl1->tabText(tab).toStdString());
      form.PageControl1->setCurrentIndex(tab);
      QApplication::processEvents();
      EXPECT_EQ(ControlsOutside(form), std::vector<std::string>{});
      EXPECT_EQ(Overlaps(form), std::vector<std::string>{});
      EXPECT_EQ(OverlapsInGroups(form), std::vector<std::string>{});
    }
  }
}

TEST(MainWindow, ShrinksNoFurtherThanItsControlsStayApart) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  EXPECT_TRUE(Overlaps(form).empty());
  // Below the minimum the window keeps it, in both layouts.
  Resize(form, QSize(640, 420));
  EXPECT_EQ(form.size(), form.minimumSize());
  EXPECT_GT(form.minimumWidth(), 640);
  EXPECT_GT(form.minimumHeight(), 420);
  EXPECT_EQ(Overlaps(form), std::vector<std::string>{});
  QTest::mouseClick(form.rad1x1, Qt::LeftButton);
  EXPECT_EQ(Overlaps(form), std::vector<std::string>{});
  QTest::mouseClick(form.rad2x2, Qt::LeftButton);
  // The first history row still shows.
  EXPECT_GE(VisibleRows(form), 1);

  // The whole "Palette colors" group shows, ending where the history group does.
  EXPECT_EQ(form.minimumSize(), QSize(827, 674));
  EXPECT_EQ(form.grpPalette->geometry().bottom(), form.grpPrevColors->geometry().bottom());

  // One pixel narrower and the viewports' controls would meet; one pixel lower
  // and the palette group would reach below the history group's margin.
  form.setMinimumSize(0, 0);
  const QSize minimum = form.size();
  Resize(form, minimum - QSize(1, 0));
  ASSERT_EQ(form.size(), minimum - QSize(1, 0));
  EXPECT_FALSE(Overlaps(form).empty());
  Resize(form, minimum - QSize(0, 1));
  ASSERT_EQ(form.size(), minimum - QSize(0, 1));
  EXPECT_GT(form.grpPalette->geometry().bottom(), form.grpPrevColors->geometry().bottom());
}

// Not a check of pixels: a picture of the whole window to look at, started
// on the scheme file the tool ships with. The pictures go into the test's own
// folder, which goes when the test ends.
TEST(MainWindow, ScreenshotOfTheWholeWindow) {
  TMainWindowUnderTest under(ReadFile(std::string(TEST_DATA_DIR) + "/../../../data/ColorBrewer_all_schemes.txt"));
  EXPECT_TRUE(under.Notifier.Errors.empty());
  EXPECT_FALSE(under.Form().BrewerPalettes.empty());
  const QString dir = QString::fromStdString(::testing::TempDir());
  const QString path = dir + "palette_designer_window.png";
  ASSERT_TRUE(SaveWindowScreenshot(under.Form(), path));
  EXPECT_TRUE(QFile::exists(path));
  // Each tab's page as well.
  for (int tab = 0; tab < under.Form().PageControl1->count(); ++tab) {
    QWidget* page = under.Form().PageControl1->widget(tab);
    page->resize(under.Form().PageControl1->currentWidget()->size());
    EXPECT_TRUE(SaveWindowScreenshot(*page, dir + QString("palette_designer_tab_%1.png").arg(tab)));
  }
}
