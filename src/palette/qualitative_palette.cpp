#include "palette/qualitative_palette.h"

#include "colour/cie_spaces.h"
#include "colour/colour_interpolation.h"
#include "colour/gamut.h"
#include "colour/rgb_spaces.h"

namespace {

constexpr int kDefaultNumColors = 6;
constexpr double kLightnessScale = 97;  // light anchor L = 97 * Brightness
constexpr double kChromaScale = 200;    // anchor C = 200 * Saturation

}  // namespace

// The anchor hues are taken under the default settings and do not follow
// later settings.
TQualitativePalette::TQualitativePalette()
    : TBasePalette(ptQual),
      FLightHue(GetPrimaryHue(pcYellow, nullptr)),
      FDarkHue(GetPrimaryHue(pcBlue, nullptr)) {
  TBasePalette::SetNumColors(kDefaultNumColors);
}

void TQualitativePalette::Assign(const TBasePalette& Source) {
  TBasePalette::Assign(Source);
  if (const auto* source = dynamic_cast<const TQualitativePalette*>(&Source)) {
    FContrast = source->FContrast;
    FBrightness = source->FBrightness;
    FSaturation = source->FSaturation;
    FHueShift = source->FHueShift;
    FHueRange = source->FHueRange;
  }
}

TLCh TQualitativePalette::LightAnchor() const noexcept {
  return TLCh{kLightnessScale * FBrightness, kChromaScale * FSaturation, FLightHue};
}

TLCh TQualitativePalette::DarkAnchor() const noexcept {
  return TLCh{kLightnessScale * FBrightness * (1 - FContrast), kChromaScale * FSaturation,
              FDarkHue};
}

void TQualitativePalette::GetColor(bool /*AllowOutOfRange*/, TRGB& RGB, double t) const {
  const TLCh light = LightAnchor();
  const TLCh dark = DarkAnchor();
  const double h1 = light.h;
  const double h2 = dark.h;
  // t = 1 is kept so that the end of the walk can differ from its start.
  if (t != 1) t = FloatMod(t, 1);
  double h = FloatMod(360 * FHueShift + h1 + 360 * t * FHueRange, 360);
  TLCh p;
  if (h1 <= h && h < h2) {
    // From yellow's hue to blue's lightness and chroma fall to the dark anchor ...
    p = LerpLCh(light, dark, (h - h1) / (h2 - h1));
  } else {
    // ... and rise again on the rest of the circle.
    if (h < h2) h += 360;
    p = LerpLCh(dark, light, (h - h2) / (h1 + 360 - h2));
  }
  p.h = FloatMod(h, 360);
  RGB = LChToRGB(LimitChroma(p, ColorSettings()), ColorSettings());
}

void TQualitativePalette::GetIndexColor(int Index, TRGB& RGB) const {
  GetColor(true, RGB, static_cast<double>(Index) / NumColors());
}
