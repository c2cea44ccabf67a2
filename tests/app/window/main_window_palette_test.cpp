#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/toolkit/bitmap_qimage.h"
#include "app/toolkit/bitmap_view.h"
#include "app/toolkit/shape_widget.h"
#include "app/viewport/viewport.h"
#include "app/viewport/viewport_group.h"
#include "app/window/main_window_fixture.h"
#include "colour/cie_spaces.h"
#include "colour/colour_distance.h"
#include "colour/colour_settings.h"
#include "colour/rgb_spaces.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "foundation/rounding.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

// imgPalette is 90 x 206: swatch columns 26 wide, the lone column at 11.
constexpr int kSwatchW = 26;
constexpr int kLoneColumn = 11;
constexpr int kTextX = kLoneColumn + kSwatchW + 5;

void Click(QWidget* widget, QPoint at = {}) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
}

// Makes the custom palette current with the given keys, one colour per key.
void UseCustom(TForm1& form, const std::vector<TColor>& keys) {
  TCustomPalette& custom = form.CustomPalette->CustPal();
  custom.ClearKeys();
  for (TColor key : keys) custom.AddKey(key);
  form.CustomPalette->SetNumColors(static_cast<int>(keys.size()));
  form.Palettes[0] = form.CustomPalette.get();
  form.PaletteChanged();
}

// The darkest red component among the pixels at or right of X0 in rows [Y0, Y1).
int DarkestRed(const TBitmap32& bmp, int x0, int y0, int y1) {
  int darkest = 255;
  for (int y = std::max(0, y0); y < std::min(bmp.Height(), y1); ++y)
    for (int x = x0; x < bmp.Width(); ++x) darkest = std::min<int>(darkest, RedComponent(bmp.Pixel(x, y)));
  return darkest;
}

// The brightest red component among the pixels at or right of X0 in rows [Y0, Y1).
int BrightestRed(const TBitmap32& bmp, int x0, int y0, int y1) {
  int brightest = 0;
  for (int y = std::max(0, y0); y < std::min(bmp.Height(), y1); ++y)
    for (int x = x0; x < bmp.Width(); ++x) brightest = std::max<int>(brightest, RedComponent(bmp.Pixel(x, y)));
  return brightest;
}

// Columns at or right of X0 in rows [Y0, Y1) holding a pixel that is not the background.
int InkColumns(const TBitmap32& bmp, int x0, int y0, int y1, TColor32 background) {
  int columns = 0;
  for (int x = x0; x < bmp.Width(); ++x) {
    bool ink = false;
    for (int y = std::max(0, y0); y < std::min(bmp.Height(), y1); ++y) ink |= bmp.Pixel(x, y) != background;
    columns += ink;
  }
  return columns;
}

}  // namespace

TEST(MainWindowPalette, LeftClickInAViewportAddsAKeyAndPushesTheColour) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  const TBitmap32 stripBefore = form.ContPaletteBitmap;
  TViewport& viewport = form.ViewportGroup->Viewport(0);
  const QPoint at = viewport.Image()->rect().center();
  const TColor picked = WinColor(viewport.FieldBitmap().Pixel(at.x(), at.y()));

  Click(viewport.Image(), at);
  EXPECT_EQ(form.PrevColors[0]->BrushColor(), picked);
  EXPECT_EQ(form.PrevColors[1]->BrushColor(), 0xE0E0E0u);
  ASSERT_EQ(form.CustomPalette->CustPal().GetKeyCount(), 1);
  EXPECT_EQ(form.CustomPalette->GetNumColors(), 1);
  // The automatic palette is current: the strip is as it was.
  EXPECT_EQ(std::vector<TColor32>(form.ContPaletteBitmap.Bits(), form.ContPaletteBitmap.Bits() + 87 * 206),
            std::vector<TColor32>(stripBefore.Bits(), stripBefore.Bits() + 87 * 206));

  // A second key; on the "Custom" tab the strip and swatches show the custom palette.
  Click(viewport.Image(), at + QPoint(40, -30));
  ASSERT_EQ(form.CustomPalette->GetNumColors(), 2);
  QTabBar* tabs = form.PageControl1->tabBar();
  Click(tabs, tabs->tabRect(kTabCustom).center());
  ASSERT_EQ(form.Palettes[0], form.CustomPalette.get());
  const TBitmap32& strip = form.ContPaletteBitmap;
  const int x = strip.Width() - 25 - 8;
  const int last = strip.Height() - 1;
  for (int y = 0; y <= last; ++y) {
    const TColor want = form.CustomPalette->Current().GetTColor(true, 1.0 - static_cast<double>(y) / last);
    ASSERT_EQ(strip.Pixel(x, y), Color32(want)) << "row " << y;
    ASSERT_EQ(strip.Pixel(x + 24, y), Color32(want)) << "row " << y;
    ASSERT_EQ(strip.Pixel(x + 25, y), Color32(form.PaletteBackground)) << "row " << y;
  }
  // Last colour on top, each swatch 26 high.
  EXPECT_EQ(form.PaletteBitmap.Pixel(kLoneColumn, 0), Color32(form.CustomPalette->GetIndexTColor(1)));
  EXPECT_EQ(form.PaletteBitmap.Pixel(kLoneColumn + kSwatchW - 1, kSwatchW), Color32(form.CustomPalette->GetIndexTColor(0)));
  EXPECT_EQ(form.PaletteBitmap.Pixel(kLoneColumn, 2 * kSwatchW), Color32(form.PaletteBackground));
  EXPECT_EQ(form.edtCustomNumColors->text(), "2");
}

TEST(MainWindowPalette, DistancesSitBesideThePairTheyMeasure) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  const TColor32 background = Color32(form.PaletteBackground);
  const int th = TextHeight("123456789.0");
  // Pair (0, 1) is two equal blacks, distance "0"; pair (1, 2) black to
  // white, a wide number. Swatches top-down: white, black, black.
  UseCustom(form, {0x000000, 0x000000, 0xFFFFFF});
  const double h = kSwatchW;
  const auto band = [&](int slot) { return RoundDouble((slot - 0.5) * h + th / 2.0); };
  const int wide = InkColumns(form.PaletteBitmap, kTextX, band(1), band(1) + th, background);   // white | black
  const int narrow = InkColumns(form.PaletteBitmap, kTextX, band(2), band(2) + th, background); // black | black
  EXPECT_GT(narrow, 0);
  EXPECT_GT(wide, 2 * narrow);
  // Distances in black, the mean at the top in grey ($888888, lighter where
  // anti-aliased).
  EXPECT_LT(DarkestRed(form.PaletteBitmap, kTextX, band(1), band(1) + th), 0x40);
  EXPECT_GT(InkColumns(form.PaletteBitmap, kTextX, 0, th, background), 20);
  EXPECT_GE(DarkestRed(form.PaletteBitmap, kTextX, 0, th), 0x88);
  EXPECT_LT(DarkestRed(form.PaletteBitmap, kTextX, 0, th), 0xA0);

  // One colour: no distances, no mean.
  UseCustom(form, {0x336699});
  EXPECT_EQ(InkColumns(form.PaletteBitmap, kTextX, 0, form.PaletteBitmap.Height(), background), 0);

  // Stored palettes shown: three columns from x = 0, no texts.
  UseCustom(form, {0x000000, 0xFFFFFF});
  Click(form.btnStoreCurPalette);
  Click(form.chkShowStoredPalette);
  EXPECT_EQ(form.PaletteBitmap.Pixel(0, 0), Color32(0xFFFFFFu));
  EXPECT_EQ(form.PaletteBitmap.Pixel(kSwatchW + 5, 0), Color32(0xFFFFFFu));  // stored 1
  EXPECT_EQ(form.PaletteBitmap.Pixel(2 * (kSwatchW + 5), 0), background);   // stored 2 is empty
  EXPECT_EQ(form.PaletteBitmap.Pixel(kSwatchW + 2, 0), background);
}

// Each click on "Background" redraws the distance texts in an ink that stands
// out from the new background: white on black, black on white and on the
// button face. The grey mean stays as it is.
TEST(MainWindowPalette, DistanceTextsStandOutFromEveryBackground) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  const int th = TextHeight("123456789.0");
  UseCustom(form, {0x000000, 0xFFFFFF});
  const int band = RoundDouble(0.5 * kSwatchW + th / 2.0);
  const TColor face = TForm1::ButtonFaceColor();
  for (TColor background : {TColor{0x000000}, TColor{0xFFFFFF}, face}) {
    SCOPED_TRACE(background);
    Click(form.btnBackground);
    ASSERT_EQ(form.PaletteBackground, background);
    const bool dark = background == 0x000000;
    // The text's darkest and brightest red, against the background's.
    const int darkest = DarkestRed(form.PaletteBitmap, kTextX, band, band + th);
    const int brightest = BrightestRed(form.PaletteBitmap, kTextX, band, band + th);
    EXPECT_GT(InkColumns(form.PaletteBitmap, kTextX, band, band + th, Color32(background)), 2);
    if (dark) {
      EXPECT_EQ(darkest, 0);
      EXPECT_GT(brightest, 0xE0);
    } else {
      EXPECT_LT(darkest, 0x40);
      EXPECT_EQ(brightest, RedComponent(Color32(background)));
    }
    // The mean at the top keeps its grey ($888888) on every background.
    if (dark) {
      EXPECT_LE(BrightestRed(form.PaletteBitmap, kTextX, 0, th), 0x88);
      EXPECT_GT(BrightestRed(form.PaletteBitmap, kTextX, 0, th), 0x60);
    } else {
      EXPECT_GE(DarkestRed(form.PaletteBitmap, kTextX, 0, th), 0x88);
      EXPECT_LT(DarkestRed(form.PaletteBitmap, kTextX, 0, th), 0xA0);
    }
  }
}

// The mean and the distance texts are each whole inside the swatch image and
// never run into one another, for every distance function and colour count:
// the mean in a font small enough for the room right of the swatches, the
// distances as many as fit, from the top.
TEST(MainWindowPalette, SwatchTextsLieWholeInsideTheImageAndApart) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  const TBitmap32& bmp = form.PaletteBitmap;
  const QRect image(0, 0, bmp.Width(), bmp.Height());
  const TColor32 background = Color32(form.PaletteBackground);
  for (int distFunc = 0; distFunc < kNumDistFuncs; ++distFunc) {
    form.cmbDistFunc->setCurrentIndex(distFunc);
    form.cmbDistFuncChange();
    for (int count : {2, 6, 16, 2000}) {
      SCOPED_TRACE("distance function " + std::to_string(distFunc) + ", " + std::to_string(count) + " colours");
      form.edtAutoNumColors->setText(QString::number(count));
      form.edtAutoNumColorsKeyDown(Qt::Key_Return);
      ASSERT_EQ(form.AutoPalette->GetNumColors(), count);
      const std::vector<TForm1::TSwatchText>& texts = form.SwatchTexts;
      ASSERT_FALSE(texts.empty());

      // The mean, whole, in the font the drawing uses for it.
      double sum = 0;
      for (int i = 1; i < count; ++i) {
        TRGB a, b;
        form.AutoPalette->GetIndexColor(i - 1, a);
        form.AutoPalette->GetIndexColor(i, b);
        sum += ColorDistance(RGBToLCh(a, &form.ColorSettings), RGBToLCh(b, &form.ColorSettings), &form.ColorSettings);
      }
      const QString mean = "Avg: " + QString::fromStdString(FloatToText(std::nearbyint(sum / (count - 1) / 0.1) * 0.1,
                                                                        UserFormatSettings()));
      EXPECT_EQ(texts.front().Text, mean);
      const QFont meanFont = FontFittingWidth(QApplication::font(), mean, bmp.Width() - kTextX);
      const QRect atTop = TextExtent(meanFont, kTextX, 0, mean);
      EXPECT_EQ(texts.front().Extent, atTop.translated(0, std::max(0, -atTop.top())));

      // Every text inside the image, each below the one above it.
      for (size_t t = 0; t < texts.size(); ++t) {
        SCOPED_TRACE(texts[t].Text.toStdString());
        EXPECT_TRUE(image.contains(texts[t].Extent));
        if (t > 0) {
          EXPECT_GT(texts[t].Extent.top(), texts[t - 1].Extent.bottom());
        }
      }
      // And the picture holds no ink beyond them: nothing cut, no bar.
      for (int y = 0; y < bmp.Height(); ++y)
        for (int x = kTextX - 1; x < bmp.Width(); ++x) {
          if (bmp.Pixel(x, y) == background) continue;
          const bool inText = std::any_of(texts.begin(), texts.end(),
                                          [&](const TForm1::TSwatchText& t) { return t.Extent.contains(x, y); });
          ASSERT_TRUE(inText) << "ink at " << x << ", " << y;
        }
      // Up to 16 colours every distance has its text; 2000 give a readable selection.
      if (count <= 16) {
        EXPECT_EQ(static_cast<int>(texts.size()), count);
      } else {
        EXPECT_GT(texts.size(), 10u);
      }
    }
  }
}

TEST(MainWindowPalette, StoreCopiesIntoTheExistingSlots) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  TColorPalette* slot1 = form.Palettes[1];
  TColorPalette* slot2 = form.Palettes[2];

  // No colours: Store is disabled and the slider hidden; a click does nothing.
  UseCustom(form, {});
  EXPECT_FALSE(form.btnStoreCurPalette->isEnabled());
  EXPECT_FALSE(form.sldCurPalette->isVisible());
  form.btnStoreCurPaletteClick();
  EXPECT_EQ(slot1->GetNumColors(), 0);

  form.Palettes[0] = form.AutoPalette.get();
  form.PaletteChanged();
  EXPECT_TRUE(form.btnStoreCurPalette->isEnabled());
  Click(form.btnStoreCurPalette);
  UseCustom(form, {0x0000FF, 0x00FF00, 0xFF0000});
  Click(form.btnStoreCurPalette);
  ASSERT_EQ(form.Palettes[1], slot1);
  ASSERT_EQ(form.Palettes[2], slot2);
  EXPECT_EQ(slot1->Typ(), ptCustom);
  EXPECT_EQ(slot1->GetNumColors(), 3);
  EXPECT_EQ(slot2->Typ(), ptSeq);
  EXPECT_EQ(slot2->GetNumColors(), 6);
  EXPECT_EQ(slot1->GetName(), "Stored");
  EXPECT_EQ(slot2->GetName(), "Stored");
  // Copies: the current palette changing afterwards leaves them alone.
  const TColor stored = slot1->GetIndexTColor(0);
  form.CustomPalette->CustPal().SetKey(0, TRGB{10, 20, 30});
  EXPECT_EQ(slot1->GetIndexTColor(0), stored);
  EXPECT_EQ(form.CustomPalette->GetName(), "Custom");

  // Shown and hidden in the viewports, as the same holders.
  Click(form.chkShowStoredPalette);
  const auto& shown = form.ViewportGroup->Viewport(0).Palettes();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), slot1), 1);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), slot2), 1);
  Click(form.chkShowStoredPalette);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), slot1), 0);
}

TEST(MainWindowPalette, RandomizeScattersPaletteColoursOverTheHistory) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  std::vector<int> bounds;
  int calls = 0;
  form.SetRandomGenerator([&](int m) {
    bounds.push_back(m);
    return (calls++ / 2) % m;
  });

  // Nothing to scatter: nothing changes, the generator is not asked.
  UseCustom(form, {});
  Click(form.btnRandomize);
  EXPECT_TRUE(bounds.empty());
  EXPECT_EQ(form.PrevColors[0]->BrushColor(), 0xE0E0E0u);

  // Stored hidden: one draw per swatch from the current palette.
  UseCustom(form, {0x0000FF, 0x00FF00, 0xFF0000});
  Click(form.btnRandomize);
  ASSERT_EQ(bounds.size(), 80u);
  for (int i = 0; i < kNumPrevColors; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(bounds[i], 3);
    EXPECT_EQ(form.PrevColors[i]->BrushColor(), form.CustomPalette->GetIndexTColor((i / 2) % 3));
  }

  // Stored shown with slot 1 filled and slot 2 empty: slots drawn from the
  // first two, then the colour from that slot's count.
  Click(form.btnStoreCurPalette);
  form.Palettes[0] = form.AutoPalette.get();
  Click(form.chkShowStoredPalette);
  bounds.clear();
  calls = 0;
  Click(form.btnRandomize);
  ASSERT_EQ(bounds.size(), 160u);
  for (int i = 0; i < kNumPrevColors; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(bounds[2 * i], 2);
    const TColorPalette* palette = form.Palettes[i % 2];  // the scripted slot draw
    EXPECT_EQ(bounds[2 * i + 1], palette->GetNumColors());
    EXPECT_EQ(form.PrevColors[i]->BrushColor(), palette->GetIndexTColor(i % palette->GetNumColors()));
  }
}

TEST(MainWindowPalette, PointerOverStripSwatchesAndHistory) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  UseCustom(form, {0x3060C0, 0xFFFFFF});  // (192, 96, 48) then white

  // Over the swatch of colour 0 (bottom of the column).
  QTest::mouseMove(form.imgPalette, QPoint(kLoneColumn + 3, kSwatchW + 3));
  EXPECT_EQ(form.lblRGB->text(), "192 96 48");
  EXPECT_EQ(form.panCurColor->BrushColor(), 0x3060C0u);
  // Over white: L* 100.
  QTest::mouseMove(form.imgPalette, QPoint(kLoneColumn + 3, 3));
  EXPECT_EQ(form.lblRGB->text(), "255 255 255");
  EXPECT_TRUE(form.lblLuv->text().startsWith("100 ")) << form.lblLuv->text().toStdString();
  // Over the button-face background nothing is reported.
  QTest::mouseMove(form.imgPalette, QPoint(1, 200));
  EXPECT_EQ(form.lblRGB->text(), "255 255 255");

  // The strip: its top row is the palette's end (white), its bottom the start.
  const int stripX = form.ContPaletteBitmap.Width() - 25 - 8 + 3;
  QTest::mouseMove(form.imgContPalette, QPoint(stripX, 205));
  EXPECT_EQ(form.lblRGB->text(), "192 96 48");

  // A release over a swatch pushes its colour; one outside the image is ignored.
  QTest::mousePress(form.imgPalette, Qt::RightButton, {}, QPoint(kLoneColumn + 3, kSwatchW + 3));
  QTest::mouseRelease(form.imgPalette, Qt::RightButton, {}, QPoint(kLoneColumn + 3, kSwatchW + 3));
  EXPECT_EQ(form.PrevColors[0]->BrushColor(), 0x3060C0u);
  QTest::mousePress(form.imgPalette, Qt::LeftButton, {}, QPoint(kLoneColumn + 3, 3));
  QTest::mouseRelease(form.imgPalette, Qt::LeftButton, {}, QPoint(-20, 400));
  EXPECT_EQ(form.PrevColors[0]->BrushColor(), 0x3060C0u);
  EXPECT_EQ(form.PrevColors[1]->BrushColor(), 0xE0E0E0u);

  // Over a history swatch: its colour.
  QTest::mouseMove(form.PrevColors[0], QPoint(5, 5));
  EXPECT_EQ(form.lblRGB->text(), "192 96 48");
}

TEST(MainWindowPalette, HistoryIsSerpentineAndDropsTheOldest) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  const auto pos = [&](int i) { return form.PrevColors[i]->geometry(); };
  EXPECT_EQ(pos(0), QRect(8, 16, 38, 41));
  EXPECT_EQ(pos(4), QRect(8 + 4 * 37, 16, 38, 41));
  EXPECT_EQ(pos(5), QRect(8 + 4 * 37, 16 + 40, 38, 41));  // below 4
  EXPECT_EQ(pos(9), QRect(8, 16 + 40, 38, 41));           // below 0
  EXPECT_EQ(pos(79).top(), 16 + 15 * 40);
  for (TColor c = 1; c <= kNumPrevColors + 1; ++c) form.PushPreviousColor(c);
  EXPECT_EQ(form.PrevColors[0]->BrushColor(), TColor{kNumPrevColors + 1});
  EXPECT_EQ(form.PrevColors[79]->BrushColor(), 2u);  // colour 1 fell off
}

TEST(MainWindowPalette, BackgroundCyclesAndSliderSlicesTheViewports) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  const TColor face = TForm1::ButtonFaceColor();
  const std::vector<TColor> cycle = {0x000000, 0xFFFFFF, face, 0x000000};
  for (TColor want : cycle) {
    Click(form.btnBackground);
    EXPECT_EQ(form.PaletteBackground, want);
    EXPECT_EQ(form.PaletteBitmap.Pixel(0, 0), Color32(want));
    EXPECT_EQ(form.ContPaletteBitmap.Pixel(0, 0), Color32(want));
  }

  // Position 0 (the top) slices through the palette's end, t = 1.
  form.sldCurPalette->setValue(0);
  TRGB end;
  form.AutoPalette->GetColor(1.0, end);
  double L = 0, u = 0, v = 0;
  RGBToLuv(end, L, u, v, &form.ColorSettings);
  EXPECT_NEAR(form.ViewportGroup->Viewport(0).GetSliderValue(), L, 1e-9);  // "CIELuv_L*"
}
