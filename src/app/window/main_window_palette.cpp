// The main window's palette strip and swatches, the colour under the cursor,
// the 80-swatch colour history and the handlers of the "Palette colors" group.
#include "app/window/main_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "app/core/palette_names.h"
#include "app/core/window/text_ink.h"
#include "app/toolkit/bitmap_qimage.h"
#include "app/toolkit/bitmap_view.h"
#include "app/toolkit/number_edit.h"
#include "app/toolkit/shape_widget.h"
#include "app/viewport/viewport_group.h"
#include "colour/cie_spaces.h"
#include "colour/colour_distance.h"
#include "colour/rgb_spaces.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "foundation/rounding.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

constexpr int kStripMargin = 10;   // image width less the three strips
constexpr int kStripGap = 5;       // between neighbouring strips or swatch columns
constexpr int kStripRightGap = 8;  // right of the current strip while stored ones are hidden
constexpr int kSwatchColumnFraction = 8;  // the lone column starts at width / 8
constexpr int kNumSlots = 3;
constexpr double kSliderScale = 100.0;
constexpr double kDistanceStep = 0.01;
constexpr double kMeanStep = 0.1;
constexpr TColor32 kMeanInk = 0xFF888888u;
constexpr char kTextHeightSample[] = "123456789.0";
constexpr char kDigitSample[] = "0123456789";
constexpr TColor kBlack = 0x000000;
constexpr TColor kWhite = 0xFFFFFF;

bool HasColors(const TColorPalette* palette) { return palette != nullptr && palette->GetNumColors() > 0; }

// Value rounded to a multiple of Step, ties to even.
double RoundToStep(double value, double step) { return std::nearbyint(value / step) * step; }

QString UserText(double value) { return QString::fromStdString(FloatToText(value, UserFormatSettings())); }

QString RoundedUserText(double value) { return UserText(std::nearbyint(value)); }

// Clock-seeded Random(m), re-seeded for every Randomize.
std::function<int(int)> ClockRandom() {
  auto engine = std::make_shared<std::mt19937>(
      static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
  return [engine](int m) { return std::uniform_int_distribution<int>(0, m - 1)(*engine); };
}

}  // namespace

// --- Repaint ------------------------------------------------------------------------------

void TForm1::PaletteChanged() {
  DrawPalette();
  ViewportGroup->Redraw(true);
}

void TForm1::DrawPalette() {
  TColorPalette* current = Palettes[0];
  const bool hasColors = HasColors(current);
  sldCurPalette->setVisible(hasColors);
  btnStoreCurPalette->setEnabled(hasColors);
  if (current != nullptr) ShowNumberText(*edtCustomNumColors, QString::number(current->GetNumColors()));
  DrawStrips();
  DrawSwatches();
}

void TForm1::DrawStrips() {
  TBitmap32& bmp = ContPaletteBitmap;
  const bool showStored = chkShowStoredPalette->isChecked();
  const bool allowOutOfRange = chkCurPaletteShowPixelsOutOfRange->isChecked();
  const int w = (bmp.Width() - kStripMargin) / 3;
  bmp.Clear(Color32(PaletteBackground));
  int x = showStored ? bmp.Width() - w : bmp.Width() - w - kStripRightGap;
  const int last = bmp.Height() - 1;
  for (int s = 0; s < kNumSlots; ++s) {
    const TColorPalette* palette = Palettes[s];
    if (HasColors(palette) && (s == 0 || showStored)) {
      for (int y = 0; y <= last; ++y) {
        const double t = last > 0 ? 1.0 - static_cast<double>(y) / last : 1.0;
        const TColor color = palette->Current().GetTColor(allowOutOfRange, t);
        if (w > 0) bmp.HorzLine(x, y, x + w - 1, Color32(color));
      }
    }
    x -= w + kStripGap;
  }
  imgContPalette->Changed();
}

void TForm1::DrawSwatches() {
  TBitmap32& bmp = PaletteBitmap;
  const bool showStored = chkShowStoredPalette->isChecked();
  const int w = (bmp.Width() - kStripMargin) / 3;
  int maxN = 0;
  for (const TColorPalette* palette : Palettes)
    if (HasColors(palette)) maxN = std::max(maxN, palette->GetNumColors());
  // In 64 bits: w * maxN overflows int for counts the edits cannot reach but
  // a palette may still hold.
  const double h = bmp.Height() >= int64_t{w} * maxN ? w : static_cast<double>(bmp.Height()) / maxN;

  bmp.Clear(Color32(PaletteBackground));
  int x = showStored ? 0 : bmp.Width() / kSwatchColumnFraction;
  const int firstColumn = x;
  for (int s = 0; s < kNumSlots; ++s) {
    const TColorPalette* palette = Palettes[s];
    if (HasColors(palette) && (s == 0 || showStored)) {
      const int n = palette->GetNumColors();
      for (int k = 0; k < n; ++k) {
        const int top = RoundDouble(k * h);
        const int bottom = RoundDouble((k + 1) * h);
        // A swatch below the image, or less than a pixel high that rounds to
        // no rows, shows nothing: its colour is not even computed, and the
        // swatch that takes its rows stands for it.
        if (top >= bottom || top >= bmp.Height()) continue;
        bmp.FillRect(x, top, x + w, bottom, Color32(palette->GetIndexTColor(n - 1 - k)));
      }
    }
    if (showStored) x += w + kStripGap;
  }
  if (!showStored) DrawDistances(firstColumn, w, h);
  imgPalette->Changed();
}

// The colour distance of each pair of neighbouring swatches, written level
// with the border between the two, and their mean at the top. A text too wide
// for the room right of the swatches is written in a smaller font; a text that
// would reach into the one above it, or out of the image, is left out, so
// many colours give a readable selection instead of a black bar.
void TForm1::DrawDistances(int X, int W, double H) {
  SwatchTexts.clear();
  const TColorPalette* current = Palettes[0];
  if (current == nullptr) return;
  const int n = current->GetNumColors();
  if (n < 2) return;
  const int textX = X + W + kStripGap;
  const int room = PaletteBitmap.Width() - textX;
  const QRect image(0, 0, PaletteBitmap.Width(), PaletteBitmap.Height());
  const int th = TextHeight(kTextHeightSample);
  const auto lchOf = [&](int index) {
    TRGB rgb;
    current->GetIndexColor(index, rgb);
    return RGBToLCh(rgb, &ColorSettings);
  };
  // Every distance counts towards the mean, summed in index order.
  double sum = 0;
  TLCh previous = lchOf(0);
  for (int i = 1; i < n; ++i) {
    const TLCh lch = lchOf(i);
    sum += ColorDistance(previous, lch, &ColorSettings);
    previous = lch;
  }

  // The distances stand beside the swatches on the bare background; the
  // grey mean reads on every background the button gives.
  const TColor32 distanceInk = TextInkOn(PaletteBackground);
  TBitmapTextWriter writer(PaletteBitmap);
  const QFont font = writer.Font();
  int clearFrom = 0;  // the first row below the texts written so far
  const auto place = [&](int y, const QString& text, TColor32 ink) {
    writer.SetFont(FontFittingWidth(font, text, room));
    const QRect extent = writer.Extent(textX, y, text);
    if (extent.top() < clearFrom || !image.contains(extent)) return;
    writer.Write(textX, y, text, ink);
    SwatchTexts.push_back({text, extent});
    clearFrom = extent.bottom() + 1;
  };
  // The mean at the top; a smaller font may put its fringe above row 0, and
  // then the text comes down as far.
  const QString mean = "Avg: " + UserText(RoundToStep(sum / (n - 1), kMeanStep));
  writer.SetFont(FontFittingWidth(font, mean, room));
  place(std::max(0, -writer.Extent(textX, 0, mean).top()), mean, kMeanInk);

  // From the top down, so each text only has to clear the one above it. Every
  // distance text holds digits, so it reaches at least as high as they do: a
  // slot whose digits would start above the last text's bottom is passed over
  // without computing its distance.
  writer.SetFont(font);
  const int digitsTop = writer.Extent(0, 0, kDigitSample).top();
  for (int slot = 1; slot < n; ++slot) {
    const int textY = RoundDouble((slot - 0.5) * H + th / 2.0);
    if (textY + digitsTop >= image.height()) break;
    if (textY + digitsTop < clearFrom) continue;
    // Level with the border of the swatches slot - 1 and slot from the top:
    // the colours i and i - 1.
    const int i = n - slot;
    const double d = ColorDistance(lchOf(i - 1), lchOf(i), &ColorSettings);
    place(textY, UserText(RoundToStep(d, kDistanceStep)), distanceInk);
  }
}

// --- Colour under the cursor and the history -----------------------------------------------

void TForm1::ShowColorUnderCursor(TColor Color) {
  const TRGB rgb = ColorToRGB(Color);
  lblRGB->setText(QString("%1 %2 %3").arg(RoundDouble(rgb.R)).arg(RoundDouble(rgb.G)).arg(RoundDouble(rgb.B)));
  double L = 0, u = 0, v = 0;
  RGBToLuv(rgb, L, u, v, &ColorSettings);
  lblLuv->setText(RoundedUserText(L) + " " + RoundedUserText(u) + " " + RoundedUserText(v));
  double C = 0, h = 0;
  LuvToLCh(L, u, v, C, h);
  lblCH->setText(RoundedUserText(C) + "   " + RoundedUserText(h));
  panCurColor->SetBrushColor(Color);
}

void TForm1::PushPreviousColor(TColor Color) {
  for (int i = kNumPrevColors - 1; i >= 1; --i) PrevColors[i]->SetBrushColor(PrevColors[i - 1]->BrushColor());
  PrevColors[0]->SetBrushColor(Color);
}

bool TForm1::PixelAt(const TBitmap32& Bitmap, int X, int Y, TColor& Color) {
  if (X < 0 || Y < 0 || X >= Bitmap.Width() || Y >= Bitmap.Height()) return false;
  Color = WinColor(Bitmap.Pixel(X, Y));
  return true;
}

void TForm1::PrevColorPanelMouseMove(TShape* Sender, int, int) { ShowColorUnderCursor(Sender->BrushColor()); }

void TForm1::imgContPaletteMouseMove(int X, int Y) {
  TColor color = 0;
  if (PixelAt(ContPaletteBitmap, X, Y, color) && color != ButtonFaceColor()) ShowColorUnderCursor(color);
}

void TForm1::imgPaletteMouseMove(int X, int Y) {
  TColor color = 0;
  if (PixelAt(PaletteBitmap, X, Y, color) && color != ButtonFaceColor()) ShowColorUnderCursor(color);
}

void TForm1::imgPaletteMouseUp(TMouseButton, int X, int Y) {
  TColor color = 0;
  if (PixelAt(PaletteBitmap, X, Y, color) && color != ButtonFaceColor()) PushPreviousColor(color);
}

// --- Handlers of the "Palette colors" group -------------------------------------------------

void TForm1::btnStoreCurPaletteClick() {
  if (!HasColors(Palettes[0])) return;
  // Into the existing holders: the viewports may be pointing at them.
  Palettes[2]->Assign(*Palettes[1]);
  Palettes[1]->Assign(*Palettes[0]);
  Palettes[1]->SetName(kStoredPaletteName);
  DrawPalette();
  ViewportGroup->Redraw(true);
}

void TForm1::chkShowStoredPaletteClick() {
  for (int s = 1; s <= 2; ++s) {
    if (chkShowStoredPalette->isChecked())
      ViewportGroup->AddPalette(Palettes[s]);
    else
      ViewportGroup->RemovePalette(Palettes[s]);
  }
  DrawPalette();
  ViewportGroup->Redraw(true);
}

void TForm1::sldCurPaletteChange() {
  const TColorPalette* current = Palettes[0];
  if (current == nullptr) return;
  const double t = sldCurPalette->value() / kSliderScale;
  TRGB rgb;
  current->GetColor(1.0 - t, rgb);
  ViewportGroup->SetSliderFromColor(rgb);
  ViewportGroup->Redraw(false);
}

void TForm1::btnRandomizeClick() {
  if (!HasColors(Palettes[0])) return;
  const std::function<int(int)> random = FRandom ? FRandom : ClockRandom();
  const bool showStored = chkShowStoredPalette->isChecked();
  int k = 1;
  if (showStored) {
    k = 0;
    while (k < kNumSlots && HasColors(Palettes[k])) ++k;
  }
  for (TShape* swatch : PrevColors) {
    const TColorPalette* palette = Palettes[showStored ? random(k) : 0];
    swatch->SetBrushColor(palette->GetIndexTColor(random(palette->GetNumColors())));
  }
}

void TForm1::btnBackgroundClick() {
  const TColor face = ButtonFaceColor();
  if (PaletteBackground == face)
    PaletteBackground = kBlack;
  else if (PaletteBackground != kBlack)
    PaletteBackground = face;
  else
    PaletteBackground = kWhite;
  DrawPalette();
}

void TForm1::chkCurPaletteShowPixelsOutOfRangeClick() { DrawPalette(); }
