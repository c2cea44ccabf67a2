#include "app/core/window/colour_slider.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "colour/colour_interpolation.h"
#include "colour/rgb_spaces.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "foundation/rounding.h"
#include "graphics/bitmap32.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

constexpr TSliderKind kSeqSliders[] = {skHue, skColdWarm, skBrightness, skSaturation, skContrast};
constexpr TSliderKind kDivSliders[] = {skHue,        skHue,        skColdWarm, skMidPoint,
                                       skBrightness, skSaturation, skContrast};
constexpr TSliderKind kQualSliders[] = {skHueShift, skHueRange, skBrightness, skSaturation,
                                        skContrast};

constexpr int kSliderSpacing = 40;
constexpr int kFirstSliderTop = 10;
constexpr int kHueGap = 20;

constexpr TColor32 kPanelColor = Color32(244, 243, 238);
constexpr TColor kPanelTopColor = 252 | 252 << 8 | 254 << 16;
constexpr TColor kPanelBottomColor = 244 | 243 << 8 | 238 << 16;
constexpr double kFadeFraction = 0.55;
constexpr TColor32 kFrameColor = Color32(153, 153, 153);
constexpr TColor32 kThumbOuterColor = Color32(102, 102, 102);
constexpr TColor32 kTickColor = Color32(170, 170, 170);

// The preview: 5 swatches of a 5-colour palette at 5 parameter steps, each
// swatch a 4-pixel row.
constexpr int kPreviewSteps = 5;
constexpr int kPreviewRows = 5;
constexpr int kPreviewRowHeight = 4;
constexpr int kPreviewHeight = kPreviewRows * kPreviewRowHeight;
constexpr int kTickLength = 4;

// The scratch palette's contrast, as a share of the real one's, so that the
// preview rows stay apart.
constexpr double kSeqPreviewContrast = 0.8;
constexpr double kDivPreviewContrast = 0.6;

// The hue sliders keep 0.1 degree off the hue of blue at the left end so that
// both ends of the 0..360 scale stay apart.
constexpr double kHueOffset = 0.1;

// Built-in defaults, where the default tick sits, by kind. The curve
// palettes' contrast default is the automatic contrast, computed.
constexpr std::optional<double> kCurveDefaults[] = {
    std::nullopt, std::nullopt, 0.0, 0.5, 0.6, 0.75, std::nullopt, std::nullopt, std::nullopt};
constexpr std::optional<double> kQualDefaults[] = {
    std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0.45, 1.0, 0.5, 0.0, 1.0};
static_assert(std::size(kCurveDefaults) == SliderKindNames.size());
static_assert(std::size(kQualDefaults) == SliderKindNames.size());

constexpr TStepRange kHueSteps{-20, 370, 10};
constexpr TStepRange kUnitSteps{0, 1, 0.1};
constexpr double kContinuousMidPointStep = 0.01;

// Hue of blue under the default settings: the origin of the hue scale.
double BlueHue() {
  static const double hue = GetPrimaryHue(pcBlue, nullptr);
  return hue;
}

TQuantitativePalette* CurvePalette(TColorPalette& palette) {
  return dynamic_cast<TQuantitativePalette*>(&palette.Current());
}
const TQuantitativePalette* CurvePalette(const TColorPalette& palette) {
  return dynamic_cast<const TQuantitativePalette*>(&palette.Current());
}
TQualitativePalette* QualPalette(TColorPalette& palette) {
  return dynamic_cast<TQualitativePalette*>(&palette.Current());
}
const TQualitativePalette* QualPalette(const TColorPalette& palette) {
  return dynamic_cast<const TQualitativePalette*>(&palette.Current());
}

// The parameter of a slider kind as stored (the hue in degrees); nullopt when
// the kind does not belong to the palette's type.
std::optional<double> GetParameter(const TColorPalette& palette, TSliderKind kind, int hueIndex) {
  if (const auto* curve = CurvePalette(palette)) {
    switch (kind) {
      case skHue:
        return curve->GetHue(hueIndex);
      case skColdWarm:
        return curve->ColdWarm();
      case skMidPoint:
        if (const auto* div = dynamic_cast<const TDivergingPalette*>(curve)) return div->MidPoint();
        return std::nullopt;
      case skSaturation:
        return curve->Saturation();
      case skBrightness:
        return curve->Brightness();
      case skContrast:
        return curve->GetContrast();
      default:
        return std::nullopt;
    }
  }
  if (const auto* qual = QualPalette(palette)) {
    switch (kind) {
      case skSaturation:
        return qual->Saturation();
      case skBrightness:
        return qual->Brightness();
      case skContrast:
        return qual->Contrast();
      case skHueShift:
        return qual->HueShift();
      case skHueRange:
        return qual->HueRange();
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

// Writes the parameter through the palette's setter (or field); false when
// the kind does not belong to the palette's type.
bool SetParameter(TColorPalette& palette, TSliderKind kind, int hueIndex, double value) {
  if (auto* curve = CurvePalette(palette)) {
    switch (kind) {
      case skHue:
        curve->SetHue(hueIndex, value);
        return true;
      case skColdWarm:
        curve->SetColdWarm(value);
        return true;
      case skMidPoint:
        if (auto* div = dynamic_cast<TDivergingPalette*>(curve)) {
          div->SetMidPoint(value);
          return true;
        }
        return false;
      case skSaturation:
        curve->SetSaturation(value);
        return true;
      case skBrightness:
        curve->SetBrightness(value);
        return true;
      case skContrast:
        curve->SetContrast(value);
        return true;
      default:
        return false;
    }
  }
  if (auto* qual = QualPalette(palette)) {
    switch (kind) {
      case skSaturation:
        qual->SetSaturation(value);
        return true;
      case skBrightness:
        qual->SetBrightness(value);
        return true;
      case skContrast:
        qual->SetContrast(value);
        return true;
      case skHueShift:
        qual->SetHueShift(value);
        return true;
      case skHueRange:
        qual->SetHueRange(value);
        return true;
      default:
        return false;
    }
  }
  return false;
}

// Nearest, ties to even, without the 32-bit limit of RoundDouble: a typed
// value may be far outside the slider's range.
double RoundTo2Decimals(double value) { return std::nearbyint(value * 100) / 100; }

constexpr TColor32 Opaque(TColor color) { return Color32(color); }

}  // namespace

std::span<const TSliderKind> SliderKindsFor(TPaletteType type) {
  switch (type) {
    case ptSeq:
      return kSeqSliders;
    case ptDiv:
      return kDivSliders;
    case ptQual:
      return kQualSliders;
    default:
      return {};
  }
}

int SliderTop(TPaletteType type, int index) {
  const int gapFrom = type == ptSeq ? 2 : type == ptDiv ? 4 : std::numeric_limits<int>::max();
  return kSliderSpacing * index + kFirstSliderTop + (index >= gapFrom ? kHueGap : 0);
}

void DrawPanelBackground(TBitmap32& bitmap) {
  bitmap.Clear(kPanelColor);
  const int fadeRows = RoundDouble(kFadeFraction * bitmap.Height());
  for (int y = 0; y < fadeRows; ++y) {
    const double t = static_cast<double>(y) / fadeRows;
    bitmap.HorzLine(0, y, bitmap.Width() - 1,
                    Opaque(BlendColors(kPanelTopColor, kPanelBottomColor, t)));
  }
}

TColorSlider::TColorSlider(TColorPalette& Palette, TBitmap32& Bitmap)
    : Bitmap(&Bitmap), Palette(&Palette) {}

bool TColorSlider::Contains(int X, int Y) const {
  return Width > 0 && Left <= X && X <= Left + Width && Top <= Y && Y <= Top + Height;
}

int TColorSlider::MarkerX(double p) const {
  // Far-off positions (a typed value of 1e9) stay far off the bitmap without
  // overflowing the coordinate arithmetic of the frames drawn round them.
  constexpr int64_t kFar = int64_t{1} << 24;
  const int64_t x = int64_t{RoundDouble((Width - 4) * p)} + Left + 2;
  return static_cast<int>(std::clamp(x, -kFar, kFar));
}

std::optional<double> TColorSlider::ThumbPosition() const {
  const auto value = GetParameter(*Palette, Kind, HueIndex);
  if (!value) return std::nullopt;
  if (Kind == skHue) return FloatMod(*value - BlueHue() - kHueOffset, 360) / 360;
  return value;
}

std::optional<double> TColorSlider::DefaultPosition() {
  if (Kind >= SliderKindNames.size()) return std::nullopt;
  if (auto* curve = CurvePalette(*Palette)) {
    if (!GetParameter(*Palette, Kind, HueIndex)) return std::nullopt;
    if (Kind != skContrast) return kCurveDefaults[Kind];
    // The automatic contrast for the colour count; the flag is put back.
    const bool automated = curve->AutomatedContrast();
    curve->SetAutomatedContrast(true);
    const double automatic = curve->GetContrast();
    curve->SetAutomatedContrast(automated);
    return automatic;
  }
  if (QualPalette(*Palette)) return kQualDefaults[Kind];
  return std::nullopt;
}

void TColorSlider::Draw() {
  if (Width <= 0) return;
  const double blue = BlueHue();

  // The preview reshapes a copy, never the palette itself.
  TColorPalette scratch;
  scratch.Assign(*Palette);
  scratch.SetNumColors(kPreviewRows);
  const TPaletteType type = scratch.Typ();
  if (auto* curve = CurvePalette(scratch)) {
    curve->SetAutomatedContrast(false);
    const double share = type == ptSeq ? kSeqPreviewContrast : kDivPreviewContrast;
    curve->SetContrast(share * CurvePalette(*Palette)->GetContrast());
    if (type == ptDiv) scratch.DivPal().SetMidPoint(0.5);
  }
  // A diverging hue shapes one half of the palette: show that half.
  const bool halfPreview = Kind == skHue && type == ptDiv;

  TColor previous[kPreviewRows] = {};
  TColor current[kPreviewRows] = {};
  for (int k = 0; k < kPreviewSteps; ++k) {
    const double t = static_cast<double>(k) / (kPreviewSteps - 1);
    const double value =
        Kind == skHue ? (t == 1 ? blue : FloatMod(360 * t + blue + kHueOffset, 360)) : t;
    SetParameter(scratch, Kind, HueIndex, value);
    for (int j = 0; j < kPreviewRows; ++j) {
      current[j] = halfPreview ? scratch.GetTColor((HueIndex == 0 ? 1.0 : 0.5) - j / 8.0)
                               : scratch.GetIndexTColor(kPreviewRows - 1 - j);
    }
    if (k > 0) {
      const int x0 = RoundDouble((k - 1) * Width / 4.0);
      const int x1 = RoundDouble(k * Width / 4.0);
      for (int x = x0; x <= x1; ++x) {
        const double f = x1 == x0 ? 0 : static_cast<double>(x - x0) / (x1 - x0);
        for (int j = 0; j < kPreviewRows; ++j) {
          const int y = Top + kPreviewRowHeight * j;
          Bitmap->VertLine(Left + x, y, y + kPreviewRowHeight - 1,
                           Opaque(BlendColors(previous[j], current[j], f)));
        }
      }
    }
    std::copy(std::begin(current), std::end(current), std::begin(previous));
  }

  Bitmap->FrameRect(Left - 1, Top - 1, Left + Width + 1, Top + kPreviewHeight + 1, kFrameColor);

  if (const auto tick = DefaultPosition()) {
    const int x = MarkerX(*tick);
    Bitmap->VertLine(x, Top - kTickLength, Top - 1, kTickColor);
    Bitmap->VertLine(x, Top + Height, Top + Height + kTickLength - 1, kTickColor);
  }
  if (const auto thumb = ThumbPosition()) {
    const int x = MarkerX(*thumb);
    Bitmap->FrameRect(x - 2, Top - 1, x + 3, Top + Height + 1, kFrameColor);
    Bitmap->FrameRect(x - 3, Top - 2, x + 4, Top + Height + 2, kThumbOuterColor);
  }
}

void TColorSlider::DragTo(int X) {
  if (Width <= 0) return;
  const double t = std::clamp(static_cast<double>(X - Left) / Width, 0.0, 1.0);
  if (Kind == skHue) {
    const double blue = BlueHue();
    SetParameter(*Palette, Kind, HueIndex,
                 t == 0 ? blue + kHueOffset : FloatMod(360 * t + blue - kHueOffset, 360));
    return;
  }
  if (Kind == skContrast) {
    const auto* curve = CurvePalette(*Palette);
    if (curve != nullptr && curve->AutomatedContrast()) return;
  }
  SetParameter(*Palette, Kind, HueIndex, t);
}

std::optional<double> TColorSlider::ShownValue() const {
  const auto value = GetParameter(*Palette, Kind, HueIndex);
  if (!value) return std::nullopt;
  if (Kind != skHue) return RoundTo2Decimals(*value);
  // Degrees from blue; blue itself reads 360, the right end of the scale.
  double v = FloatMod(*value - BlueHue(), 360);
  if (RoundDouble(v) == 0) v = FloatMod(v - kHueOffset, 360);
  return RoundDouble(v);
}

std::string TColorSlider::ValueText() const {
  const auto value = ShownValue();
  return value ? FloatToText(*value, UserFormatSettings()) : std::string();
}

bool TColorSlider::ApplyTypedValue(double Value) {
  if (Kind == skHue) {
    // 360 is blue itself; any other value keeps 0.1 degree off it, as a drag does.
    const double v = RoundDouble(Value) == 360 ? Value : Value + kHueOffset;
    return SetParameter(*Palette, Kind, HueIndex, FloatMod(v + BlueHue(), 360));
  }
  return SetParameter(*Palette, Kind, HueIndex, Value);
}

TStepRange TColorSlider::StepRange() const {
  if (Kind == skHue) return kHueSteps;
  if (Kind != skMidPoint) return kUnitSteps;
  TStepRange range = kUnitSteps;
  const int n = Palette->GetNumColors();
  // One snapping step of the mid point; with fewer than 2 colours there is no
  // grid, so the arrows do not step.
  range.Step = Palette->GetContinuous() ? kContinuousMidPointStep
               : n >= 2                 ? 1.0 / (2.0 * (n - 1))
                                        : 0;
  return range;
}

std::string TColorSlider::LabelText() const {
  if (Kind == skHue && Palette->Typ() != ptSeq) return "Hue " + std::to_string(HueIndex + 1) + ":";
  const std::string_view name =
      Kind < SliderKindNames.size() ? SliderKindNames[Kind] : SliderKindNames[skNone];
  return std::string(name) + ":";
}
