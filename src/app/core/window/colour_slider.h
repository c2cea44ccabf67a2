#pragma once
// The sliders of the palette-parameter panel, without any widget code: which
// shape parameter each kind drives, which sliders each palette type gets and
// where, and the drawing of a slider into the panel's bitmap (a gradient
// preview of the palette across the slider's range, a frame, a tick at the
// built-in default and a thumb at the current value).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "palette/palette_types.h"

class TBitmap32;
class TColorPalette;

using TSliderKind = uint8_t;
inline constexpr TSliderKind skNone = 0;
inline constexpr TSliderKind skHue = 1;  // hue of one curve
inline constexpr TSliderKind skColdWarm = 2;
inline constexpr TSliderKind skMidPoint = 3;  // diverging palettes only
inline constexpr TSliderKind skSaturation = 4;
inline constexpr TSliderKind skBrightness = 5;
inline constexpr TSliderKind skContrast = 6;
inline constexpr TSliderKind skHueShift = 7;  // qualitative palettes only
inline constexpr TSliderKind skHueRange = 8;  // qualitative palettes only

inline constexpr std::array<std::string_view, 9> SliderKindNames{
    "None",       "Hue",      "Cold/Warm", "MidPoint", "Saturation",
    "Brightness", "Contrast", "Hue Shift", "Hue Range"};

// The sliders of a palette type, top to bottom; none for ptCustom or any
// other type.
std::span<const TSliderKind> SliderKindsFor(TPaletteType type);

// Slider geometry in panel pixels.
inline constexpr int kSliderLeft = 73;
inline constexpr int kSliderHeight = 20;
// The slider width is the panel width less this.
inline constexpr int kSliderWidthMargin = 123;
// Top of slider `index` of a palette type: 40 pixels apart from 10, with a
// 20-pixel gap after the hue-like sliders of the curve palettes.
int SliderTop(TPaletteType type, int index);

// Fills the panel bitmap with its background: (244, 243, 238), its top 55 %
// fading down to that from (252, 252, 254).
void DrawPanelBackground(TBitmap32& bitmap);

// The bounds and step of a value edit's arrow keys; Step 0 means the arrows
// do not step.
struct TStepRange {
  double Min = 0, Max = 1, Step = 0.1;
};

class TColorSlider {
 public:
  // Neither is owned; both must outlive the slider. Kind Hue, curve 0.
  TColorSlider(TColorPalette& Palette, TBitmap32& Bitmap);

  // Draws preview, frame, default tick and thumb. A slider of zero or
  // negative width draws nothing. Everything is opaque and clipped to the
  // bitmap. Reading the default contrast of a curve palette with automatic
  // contrast off switches it on for a moment (the palette ends as it was).
  void Draw();

  // Inside the slider's rectangle, bounds included; never for a slider of
  // zero or negative width (it has no drag position).
  bool Contains(int X, int Y) const;
  // The bitmap column of a marker at position p (0 left end, 1 right end).
  int MarkerX(double p) const;
  // Sets the parameter from pointer column X as a drag does: the position
  // (X - Left) / Width limited to [0, 1]. A curve palette's contrast is left
  // alone while it is automatic. Nothing for a slider of zero width.
  void DragTo(int X);

  // Marker positions read from the palette; nullopt when the kind does not fit
  // the palette's type (or, for the tick, the kind has no default).
  std::optional<double> ThumbPosition() const;
  std::optional<double> DefaultPosition();

  // The number its value edit shows: the hue on the 0..360 scale that starts
  // at blue, rounded to a whole number; the other parameters rounded to 2
  // decimals. nullopt when the kind does not fit the palette's type.
  std::optional<double> ShownValue() const;
  // ShownValue in the user's locale, empty when there is none.
  std::string ValueText() const;
  // Applies a typed value as typed (no bounds); false when the kind does not
  // fit the palette's type. A typed contrast is stored even while the
  // contrast is automatic.
  bool ApplyTypedValue(double Value);
  // The arrow keys' range and step for this kind on the palette.
  TStepRange StepRange() const;
  // The kind's name and ":"; the hue sliders of a diverging palette are
  // numbered ("Hue 1:", "Hue 2:").
  std::string LabelText() const;

  TBitmap32* Bitmap;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  TSliderKind Kind = skHue;
  int HueIndex = 0;
  TColorPalette* Palette;
};
