// Large colour counts draw only what can be seen, and the pictures are those
// of a plain drawing of everything: every swatch filled, every distance text
// that fits written (all of them while they all fit), a marker at every colour
// of the overlay. The plain drawing is written out here as the reference.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cmath>
#include <string>
#include <vector>

#include "app/core/viewport/overlay_builder.h"
#include "app/core/viewport/overlay_drawing.h"
#include "app/core/window/num_colors_limit.h"
#include "app/toolkit/bitmap_qimage.h"
#include "app/window/main_window.h"
#include "app/window/main_window_fixture.h"
#include "colour/cie_spaces.h"
#include "colour/colour_distance.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "foundation/rounding.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

// Counts around the swatch heights' turning points (7 swatches of 26 fit the
// 206-pixel image, 206 are one pixel each), then large ones up to the limit.
constexpr int kCounts[] = {1, 2, 7, 8, 205, 206, 207, 1500, 5000, kMaxNumColors};

std::vector<TColor32> Pixels(const TBitmap32& bitmap) {
  return std::vector<TColor32>(bitmap.Bits(), bitmap.Bits() + static_cast<size_t>(bitmap.Width()) * bitmap.Height());
}

QString UserText(double value) { return QString::fromStdString(FloatToText(value, UserFormatSettings())); }

bool HasColors(const TColorPalette* palette) { return palette != nullptr && palette->GetNumColors() > 0; }

// Which distance texts the plain drawing writes.
enum class TTextRule {
  kEvery,    // all of them, whether or not they overlap or are cut off
  kFitting,  // from the top down, those whose extent lies inside the image and below the text above
};

// The swatch image as DrawPalette draws it, every swatch and text in turn. The
// mean is written in the largest font (whole pixels, at most the application
// font) whose extent fits right of the swatches; the distances in the
// application font, made smaller the same way only where one is too wide.
TBitmap32 PlainSwatches(TForm1& form, TTextRule rule) {
  TBitmap32 bmp(form.PaletteBitmap.Width(), form.PaletteBitmap.Height());
  const bool showStored = form.chkShowStoredPalette->isChecked();
  const int w = (bmp.Width() - 10) / 3;
  int maxN = 0;
  for (const TColorPalette* palette : form.Palettes)
    if (HasColors(palette)) maxN = std::max(maxN, palette->GetNumColors());
  const double h = bmp.Height() >= w * maxN ? w : static_cast<double>(bmp.Height()) / maxN;
  bmp.Clear(Color32(form.PaletteBackground));
  int x = showStored ? 0 : bmp.Width() / 8;
  const int firstColumn = x;
  for (int s = 0; s < 3; ++s) {
    const TColorPalette* palette = form.Palettes[s];
    if (HasColors(palette) && (s == 0 || showStored)) {
      const int n = palette->GetNumColors();
      for (int k = 0; k < n; ++k)
        bmp.FillRect(x, RoundDouble(k * h), x + w, RoundDouble((k + 1) * h), Color32(palette->GetIndexTColor(n - 1 - k)));
    }
    if (showStored) x += w + 5;
  }
  const TColorPalette* current = form.Palettes[0];
  if (showStored || current == nullptr || current->GetNumColors() < 2) return bmp;
  const int n = current->GetNumColors();
  const int textX = firstColumn + w + 5;
  const int room = bmp.Width() - textX;
  const int th = TextHeight("123456789.0");
  struct TText {
    int Y;
    QString Text;
    TColor32 Ink;
  };
  std::vector<TText> distances;  // in index order: pair (i - 1, i) level with the border n - i from the top
  double sum = 0;
  for (int i = 1; i < n; ++i) {
    TRGB a, b;
    current->GetIndexColor(i - 1, a);
    current->GetIndexColor(i, b);
    const double d = ColorDistance(RGBToLCh(a, &form.ColorSettings), RGBToLCh(b, &form.ColorSettings), &form.ColorSettings);
    sum += d;
    distances.push_back({RoundDouble((n - i - 0.5) * h + th / 2.0), UserText(std::nearbyint(d / 0.01) * 0.01), clBlack32});
  }
  const auto fontFor = [&](const QString& text) { return FontFittingWidth(QApplication::font(), text, room); };
  // The mean at the top, lowered until its extent starts inside the image.
  TText mean{0, "Avg: " + UserText(std::nearbyint(sum / (n - 1) / 0.1) * 0.1), 0xFF888888u};
  while (TextExtent(fontFor(mean.Text), textX, mean.Y, mean.Text).top() < 0) ++mean.Y;
  if (rule == TTextRule::kEvery) {
    for (const TText& t : distances) RenderText(bmp, textX, t.Y, t.Text, t.Ink, fontFor(t.Text));
    RenderText(bmp, textX, mean.Y, mean.Text, mean.Ink, fontFor(mean.Text));
    return bmp;
  }
  const QRect image(0, 0, bmp.Width(), bmp.Height());
  int clearFrom = 0;
  const auto place = [&](const TText& t) {
    const QRect extent = TextExtent(fontFor(t.Text), textX, t.Y, t.Text);
    if (extent.top() < clearFrom || !image.contains(extent)) return;
    RenderText(bmp, textX, t.Y, t.Text, t.Ink, fontFor(t.Text));
    clearFrom = extent.bottom() + 1;
  };
  place(mean);
  for (auto it = distances.rbegin(); it != distances.rend(); ++it) place(*it);
  return bmp;
}

// True when every distance text, in the application font, lies inside the
// image and clear of the mean and of every other.
bool EveryDistanceFits(TForm1& form) {
  const TColorPalette* current = form.Palettes[0];
  if (current == nullptr || form.SwatchTexts.empty()) return false;  // no texts to compare
  const int n = current->GetNumColors();
  int maxN = 0;
  for (const TColorPalette* palette : form.Palettes)
    if (HasColors(palette)) maxN = std::max(maxN, palette->GetNumColors());
  const int w = (form.PaletteBitmap.Width() - 10) / 3;
  const int textX = form.PaletteBitmap.Width() / 8 + w + 5;
  const double h = form.PaletteBitmap.Height() >= w * maxN ? w : static_cast<double>(form.PaletteBitmap.Height()) / maxN;
  const int th = TextHeight("123456789.0");
  const QRect image(0, 0, form.PaletteBitmap.Width(), form.PaletteBitmap.Height());
  int clearFrom = form.SwatchTexts.front().Extent.bottom() + 1;  // below the mean
  for (int slot = 1; slot < n; ++slot) {
    TRGB a, b;
    current->GetIndexColor(n - slot - 1, a);
    current->GetIndexColor(n - slot, b);
    const double d = ColorDistance(RGBToLCh(a, &form.ColorSettings), RGBToLCh(b, &form.ColorSettings), &form.ColorSettings);
    const QString text = UserText(std::nearbyint(d / 0.01) * 0.01);
    const QRect extent = TextExtent(QApplication::font(), textX, RoundDouble((slot - 0.5) * h + th / 2.0), text);
    if (extent.top() < clearFrom || !image.contains(extent)) return false;
    clearFrom = extent.bottom() + 1;
  }
  return true;
}

// The overlay as BuildOverlay draws it without keys: for each palette from
// the last, its 101-point curve, then a marker at every colour.
TBitmap32 PlainOverlay(const TScreenGeometry& geometry, const std::vector<TColorPalette*>& palettes) {
  TBitmap32 overlay(geometry.Width, geometry.Height);
  overlay.Clear(clTransparent32);
  for (auto it = palettes.rbegin(); it != palettes.rend(); ++it) {
    const TColorPalette& p = **it;
    TScreenPoint previous{};
    for (int j = 0; j < kCurveSamples; ++j) {
      TRGB rgb;
      p.GetColor(j / double(kCurveSamples - 1), rgb);
      const TScreenPoint point = ColorToScreen(geometry, rgb);
      if (j > 0)
        DrawPathLine(overlay, previous.X, previous.Y, point.X, point.Y, PaletteLineColor(p.GetName()),
                     HasHueAxis(geometry.ViewType));
      previous = point;
    }
    for (int k = 0; k < p.GetNumColors(); ++k) {
      TRGB rgb;
      p.GetIndexColor(k, rgb);
      const TScreenPoint point = ColorToScreen(geometry, rgb);
      DrawKeyMarker(overlay, point.X, point.Y, rgb, kMarkerSize);
    }
  }
  return overlay;
}

}  // namespace

TEST(LargeCountRendering, SwatchesAndDistancesAreThoseOfThePlainDrawing) {
  TMainWindowUnderTest under;
  TForm1& form = under.Form();
  // Three keys, so neighbouring colours and their distances differ.
  for (double hue : {20.0, 140.0, 260.0}) form.CustomPalette->CustPal().AddKey(LChToRGB(60, 45, hue, nullptr));
  struct TSetUp {
    const char* What;
    TColorPalette* Current;
    int StoredCount;  // of stored palette 1, a copy of the custom palette
    bool ShowStored;
  };
  const TSetUp setUps[] = {
      {"automatic", form.AutoPalette.get(), 0, false},
      {"custom", form.CustomPalette.get(), 0, false},
      {"custom beside a larger stored one", form.CustomPalette.get(), 9, false},
      {"stored shown", form.AutoPalette.get(), 300, true},
  };
  int allFit = 0;
  for (const TSetUp& s : setUps) {
    for (int count : kCounts) {
      SCOPED_TRACE(std::string(s.What) + ", count " + std::to_string(count));
      form.CustomPalette->SetNumColors(s.StoredCount);
      form.StoredPalettes[0]->Assign(*form.CustomPalette);
      form.chkShowStoredPalette->setChecked(s.ShowStored);
      form.CustomPalette->SetNumColors(count);
      form.AutoPalette->SetNumColors(count);
      form.Palettes[0] = s.Current;
      form.DrawPalette();
      ASSERT_EQ(Pixels(form.PaletteBitmap), Pixels(PlainSwatches(form, TTextRule::kFitting)));
      // While every distance fits, they are all written.
      if (EveryDistanceFits(form)) {
        ++allFit;
        ASSERT_EQ(Pixels(form.PaletteBitmap), Pixels(PlainSwatches(form, TTextRule::kEvery)));
      }
    }
  }
  EXPECT_GE(allFit, 6);  // the small counts of the first three set-ups
}

TEST(LargeCountRendering, OverlayMarkersAreThoseOfThePlainDrawing) {
  TColorPalette automatic, custom, flat;
  automatic.SetName("AutoPalette");
  custom.SetPaletteType(ptCustom);
  custom.SetName("Custom");
  for (double hue : {20.0, 140.0, 260.0}) custom.CustPal().AddKey(LChToRGB(60, 45, hue, nullptr));
  // One key: every colour is the same.
  flat.SetPaletteType(ptCustom);
  flat.SetName("Stored");
  flat.CustPal().AddKey(LChToRGB(50, 30, 200, nullptr));
  const std::vector<TColorPalette*> palettes{&custom, &automatic, &flat};
  for (TViewType view : {vtLuvL, vtLuvC, vtRGB_R}) {
    for (int count : {1, 2, 300, 5000, kMaxNumColors}) {
      SCOPED_TRACE("view " + std::to_string(view) + ", count " + std::to_string(count));
      for (TColorPalette* p : palettes) p->SetNumColors(count);
      TOverlayParams params;
      params.Geometry = {view, 257, 257, nullptr};
      params.DrawGridLines = false;
      params.ShowColorKeys = false;
      TOverlaySamples samples;
      samples.Sample(palettes);
      TBitmap32 overlay(257, 257);
      BuildOverlay(overlay, params, samples);
      ASSERT_EQ(Pixels(overlay), Pixels(PlainOverlay(params.Geometry, palettes)));
    }
  }
}
