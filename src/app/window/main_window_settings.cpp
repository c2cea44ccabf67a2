// The main window's "View Settings" handlers, the "Custom", "Auto" and
// "Extra" tabs, the tab change that decides the current palette, the
// arrow-key stepping of the number edits and the operations that no control
// triggers.
#include "app/window/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QString>
#include <QTabWidget>
#include <algorithm>
#include <array>
#include <string>

#include "app/core/viewport/view_types.h"
#include "app/core/window/num_colors_limit.h"
#include "app/core/window/typed_numbers.h"
#include "app/toolkit/error_report.h"
#include "app/toolkit/number_edit.h"
#include "app/viewport/viewport.h"
#include "app/viewport/viewport_group.h"
#include "app/window/palette_ui.h"
#include "colour/colour_interpolation.h"
#include "colour/rgb_spaces.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "palette/colour_palette.h"

namespace {

constexpr double kRainbowLightness = 127.5;
constexpr double kRainbowSaturation = 255;
constexpr double kFullCircle = 360;
constexpr double kHalfCircle = 180;
constexpr int kMaxRainbowColors = 2000;
static_assert(kMaxRainbowColors <= kMaxNumColors, "the rainbow's own cap keeps its typed count in bounds");
constexpr char kMaxRainbowText[] = "2000";
constexpr int kSpectrumSteps = 100;

struct TStepLimits {
  double Minimum, Maximum, Step;
};
constexpr TStepLimits kGammaSteps{0, 100, 0.1};
constexpr TStepLimits kCustomCountSteps{0, 999, 1};
constexpr TStepLimits kAutoCountSteps{0, 1000, 1};

constexpr char kGammaNotPositive[] = "The gamma must be greater than 0";

// The view types whose slider holds a hue.
constexpr std::array<TViewType, 5> kHueViewTypes = {vtLuvH, vtLabH, vtHLS_H, vtHSV_H, vtOppH};

constexpr char kNoHueViewType[] =
    "One of the viewports needs to have a hue ViewType (like CIELuv_H, HSV_H, HLS_H, etc...)";
constexpr char kNoHueCaption[] = "Error!";

bool IsEnter(int Key) { return Key == Qt::Key_Return || Key == Qt::Key_Enter; }

// A typed count above the limit would size the drawing and the sampling by
// it, and a negative one is no palette at all: the edit shows the count in
// force again, and Enter says what is allowed, as the gamma's floor does.
// True when Count was refused.
bool RefuseCount(QLineEdit& Edit, int Key, int Count, int CountInForce) {
  if (Count >= 0 && Count <= kMaxNumColors) return false;
  ShowNumberText(Edit, QString::number(CountInForce));
  if (IsEnter(Key)) Notifier().ShowInformation(NumColorsRangeMessage());
  return true;
}

QString UserText(double Value) { return QString::fromStdString(FloatToText(Value, UserFormatSettings())); }

std::string UserString(double Value) { return FloatToText(Value, UserFormatSettings()); }

bool IsCurvePalette(TPaletteType Type) { return Type == ptSeq || Type == ptDiv; }

// The curve palette inside Holder (sequential or diverging).
TQuantitativePalette& CurvePalette(TColorPalette& Holder) {
  if (Holder.Typ() == ptDiv) return Holder.DivPal();
  return Holder.SeqPal();
}

}  // namespace

// --- Arrow-key stepping --------------------------------------------------------------------

bool TForm1::StepEditValue(QLineEdit& Edit, int Key, double Minimum, double Maximum, double Step) {
  double value = 0;
  try {
    value = StrToFloat(Edit.text().toStdString());
  } catch (const EConvertError& error) {
    if (IsEnter(Key)) Notifier().ShowInformation(error.what());
    return false;
  }
  double stepped = value;
  if (Key == Qt::Key_Up) stepped = std::min(value + Step, Maximum);
  if (Key == Qt::Key_Down) stepped = std::max(value - Step, Minimum);
  if (stepped == value && !IsEnter(Key)) return false;
  ShowNumberText(Edit, UserText(stepped));
  return true;
}

// --- "View Settings" ------------------------------------------------------------------------

void TForm1::HandOutColorSettings() {
  ViewportGroup->SetColorSettings(&ColorSettings);
  AutoPalette->SetColorSettings(&ColorSettings);
}

void TForm1::cmbRGB_ConversionChange() {
  const int index = cmbRGB_Conversion->currentIndex();
  if (index < 0 || index >= kNumRGBConversions) return;
  ColorSettings.ReferenceWhite = DefaultReferenceWhite[index];
  ColorSettings.RGBConversion = static_cast<uint8_t>(index);
  {
    const QSignalBlocker hold(cmbReferenceWhite);
    cmbReferenceWhite->setCurrentIndex(ColorSettings.ReferenceWhite);
  }
  HandOutColorSettings();
  // A new working space also reaches the current and both stored palettes.
  for (TColorPalette* palette : Palettes)
    if (palette != nullptr) palette->SetColorSettings(&ColorSettings);
  DrawPalette();
  ViewportGroup->Redraw(false);
}

void TForm1::cmbReferenceWhiteChange() {
  const int index = cmbReferenceWhite->currentIndex();
  if (index < 0 || index >= kNumReferenceWhites) return;
  ColorSettings.ReferenceWhite = static_cast<uint8_t>(index);
  HandOutColorSettings();
  DrawPalette();
  ViewportGroup->Redraw(false);
}

void TForm1::cmbDistFuncChange() {
  const int index = cmbDistFunc->currentIndex();
  if (index < 0 || index >= kNumDistFuncs) return;
  ColorSettings.DistFunc = static_cast<uint8_t>(index);
  HandOutColorSettings();
  DrawPalette();
  ViewportGroup->Redraw(false);
}

void TForm1::edtGammaKeyDown(int Key) {
  if (!StepEditValue(*edtGamma, Key, kGammaSteps.Minimum, kGammaSteps.Maximum, kGammaSteps.Step)) return;
  const double gamma = StrToFloat(edtGamma->text().toStdString());
  // A gamma of 0 or below makes the conversions degenerate (0, infinity or
  // NaN per channel): keep the old one and show it again.
  if (gamma <= 0) {
    ShowNumberText(*edtGamma, UserText(ColorSettings.Gamma));
    if (IsEnter(Key)) Notifier().ShowInformation(kGammaNotPositive);
    return;
  }
  ColorSettings.Gamma = gamma;
  HandOutColorSettings();
  DrawPalette();
  ViewportGroup->Redraw(false);
}

void TForm1::chkShowPixelsOutOfRangeClick() {
  ViewportGroup->SetShowPixelsOutOfRange(chkShowPixelsOutOfRange->isChecked());
  DrawPalette();
  ViewportGroup->Redraw(false);
}

void TForm1::chkShowColorKeysClick() {
  ViewportGroup->SetShowColorKeys(chkShowColorKeys->isChecked());
  DrawPalette();
  ViewportGroup->Redraw(false);
}

void TForm1::chkDrawGridLinesClick() {
  ViewportGroup->SetDrawGridLines(chkDrawGridLines->isChecked());
  ViewportGroup->Redraw(true);
}

void TForm1::chkDrawGridAxesClick() {
  ViewportGroup->SetDrawGridAxes(chkDrawGridAxes->isChecked());
  ViewportGroup->Redraw(true);
}

void TForm1::chkShowDrawTimeClick() {
  ViewportGroup->SetShowDrawTime(chkShowDrawTime->isChecked());
  ViewportGroup->Redraw(true);
}

// The group re-renders itself on a new layout.
void TForm1::rad1x1Click() { ViewportGroup->SetLayout(kLayout1x1); }

void TForm1::rad2x2Click() { ViewportGroup->SetLayout(kLayout2x2); }

// --- Tab "Custom" ---------------------------------------------------------------------------

void TForm1::edtCustomNumColorsKeyDown(int Key) {
  if (!StepEditValue(*edtCustomNumColors, Key, kCustomCountSteps.Minimum, kCustomCountSteps.Maximum,
                     kCustomCountSteps.Step))
    return;
  // A number that is not a whole one (5.5) is ignored here.
  const auto count = TextToInt32(edtCustomNumColors->text().toStdString());
  if (!count) return;
  if (RefuseCount(*edtCustomNumColors, Key, *count, CustomPalette->GetNumColors())) return;
  CustomPalette->SetNumColors(*count);
  PaletteChanged();
}

void TForm1::cmbInterpolationMethodChange() {
  const int index = cmbInterpolationMethod->currentIndex();
  if (index < imRGB || index > imCIELUVStraight) return;
  CustomPalette->CustPal().SetInterpolationMethod(static_cast<uint8_t>(index));
  DrawPalette();
  ViewportGroup->Redraw(true);
}

// --- Tab "Auto" -----------------------------------------------------------------------------

void TForm1::edtAutoNumColorsKeyDown(int Key) {
  if (!StepEditValue(*edtAutoNumColors, Key, kAutoCountSteps.Minimum, kAutoCountSteps.Maximum,
                     kAutoCountSteps.Step))
    return;
  const TPaletteType type = AutoPalette->Typ();
  if (type != ptSeq && type != ptDiv && type != ptQual) return;
  // A number that is not a whole one ends here with the conversion error.
  const int count = StrToInt(edtAutoNumColors->text().toStdString());
  if (RefuseCount(*edtAutoNumColors, Key, count, AutoPalette->GetNumColors())) return;
  AutoPalette->SetNumColors(count);
  // The contrast stays what it is for the new count when the user moves on.
  if (IsCurvePalette(type)) CurvePalette(*AutoPalette).FreezeAutomatedContrast();
  DrawPalette();
  if (PaletteUI) PaletteUI->Redraw();
  ViewportGroup->Redraw(true);
}

void TForm1::edtAutoNumColorsExit() { edtAutoNumColorsKeyDown(Qt::Key_Return); }

void TForm1::radSeqDivClick() { UpdateAutoPaletteType(); }

void TForm1::UpdateAutoPaletteType() {
  if (radSequential->isChecked())
    AutoPalette->SetPaletteType(ptSeq);
  else if (radDiverging->isChecked())
    AutoPalette->SetPaletteType(ptDiv);
  else if (radQualitative->isChecked())
    AutoPalette->SetPaletteType(ptQual);
  if (PaletteUI) PaletteUI->Redraw();
  PaletteChanged();
}

// --- Tab "Extra" ----------------------------------------------------------------------------

void TForm1::chkStandardRainbowClick() {
  if (chkStandardRainbow->isChecked()) {
    ViewportGroup->AddPalette(RainbowPalette.get());
    Palettes[0] = RainbowPalette.get();
  } else {
    ViewportGroup->RemovePalette(RainbowPalette.get());
    Palettes[0] = nullptr;
  }
  DrawPalette();
  ViewportGroup->Redraw(true);
}

void TForm1::edtRainbowNumColorsChange() {
  // A text that is not an integer changes nothing; one beyond 32 bits is
  // past the cap, or below 0, all the same.
  const auto typed = TextToInt32Held(edtRainbowNumColors->text().toStdString());
  if (!typed) return;
  // A negative count is a rainbow without keys; the text stays as typed.
  int count = std::max(*typed, 0);
  if (count > kMaxRainbowColors) {
    count = kMaxRainbowColors;
    // The edit shows the count in force, with the caret after it as typing
    // leaves it, so a further digit goes past the cap again. This is the
    // count this handler builds, so the text change need not run it again.
    const QSignalBlocker hold(edtRainbowNumColors);
    edtRainbowNumColors->setText(kMaxRainbowText);
    edtRainbowNumColors->end(false);
  }
  BuildRainbow(count);
  ViewportGroup->Redraw(true);
  DrawPalette();
}

void TForm1::BuildRainbow(int N) {
  TCustomPalette& rainbow = RainbowPalette->CustPal();
  rainbow.ClearKeys();
  // HLSToColor rounds every key to whole 0..255 components.
  for (int i = 0; i < N; ++i)
    rainbow.AddKey(HLSToColor(THLS{static_cast<double>(i) / N * kFullCircle, kRainbowLightness, kRainbowSaturation}));
  RainbowPalette->SetNumColors(N);
}

void TForm1::btnDrawCompleteSpectrumClick() {
  // A text that is not an integer changes nothing.
  const auto number = TextToInt32(cmbDrawCompleteSpectrumViewportNr->currentText().toStdString());
  if (!number) return;
  const int v = *number;
  if (v < 1 || v > kNumViewports) return;
  if (ViewportGroup->Layout() != kLayout2x2 && v != 1) return;  // only viewport 1 is shown
  ViewportGroup->Viewport(v - 1).DrawCompleteSpectrum(radSpectrumLight->isChecked(), kSpectrumSteps);
}

// --- Tab change ------------------------------------------------------------------------------

void TForm1::PageControl1Change() {
  switch (PageControl1->currentIndex()) {
    case kTabCustom:
      Palettes[0] = CustomPalette.get();
      break;
    case kTabAuto:
      Palettes[0] = AutoPalette.get();
      if (PaletteUI) PaletteUI->Redraw();
      break;
    case kTabBrewer:
      if (ShowBrewerPalettes) Palettes[0] = FilteredBrewerPalettes.empty() ? nullptr : FilteredBrewerPalettes.front();
      break;
    case kTabExtra:
      if (chkStandardRainbow->isChecked()) Palettes[0] = RainbowPalette.get();
      break;
    default:
      break;
  }
  ViewportGroup->Redraw(true);
  DrawPalette();
}

// --- Operations that no control triggers ------------------------------------------------------

void TForm1::btnSetToHueClick() {
  const int shown = ViewportGroup->Layout() == kLayout2x2 ? kNumViewports : 1;
  const TViewport* hueView = nullptr;
  for (int i = 0; i < shown && hueView == nullptr; ++i) {
    const TViewport& view = ViewportGroup->Viewport(i);
    if (std::find(kHueViewTypes.begin(), kHueViewTypes.end(), view.ViewType()) != kHueViewTypes.end())
      hueView = &view;
  }
  if (hueView == nullptr) {
    Notifier().ShowMessage(kNoHueCaption, kNoHueViewType);
    return;
  }
  const double hue = hueView->GetSliderValue();
  if (AutoPalette->Typ() == ptSeq) {
    AutoPalette->SeqPal().SetHue(0, hue);
  } else if (AutoPalette->Typ() == ptDiv) {
    AutoPalette->DivPal().SetHue(0, hue);
    AutoPalette->DivPal().SetHue(1, FloatMod(hue + kHalfCircle, kFullCircle));
  }
  DrawPalette();
  ViewportGroup->Redraw(true);
}

void TForm1::btnCopyParametersClick() {
  std::string text;
  const TPaletteType type = AutoPalette->Typ();
  if (IsCurvePalette(type)) {
    const TQuantitativePalette& curves = CurvePalette(*AutoPalette);
    text = "< N: " + Int32ToText(curves.NumColors());
    if (type == ptSeq)
      text += ", h: " + UserString(curves.GetHue(0));
    else
      text += ", h0: " + UserString(curves.GetHue(0)) + ", h1: " + UserString(curves.GetHue(1));
    text += ", w: " + UserString(curves.ColdWarm()) + ", c: " + UserString(curves.GetContrast()) +
            ", s: " + UserString(curves.Saturation()) + ", b: " + UserString(curves.Brightness()) + ">";
  }
  QApplication::clipboard()->setText(QString::fromStdString(text));
}

void TForm1::edtHueShift2KeyDown(int) {}
