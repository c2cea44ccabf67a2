#pragma once
// Well separated hues for categories: the hue walks round the CIELUV hue
// circle while lightness and chroma swing between a light anchor at the hue
// of yellow and a dark anchor at the hue of blue. Colours are limited in
// chroma towards the gamut but not clamped: callers that need 0..255 clamp.

#include "palette/base_palette.h"

class TQualitativePalette : public TBasePalette {
 public:
  // 6 colours; anchor hues of yellow and blue under the default settings.
  TQualitativePalette();

  // From a qualitative palette also the five shape fields.
  void Assign(const TBasePalette& Source) override;
  // AllowOutOfRange is not used.
  void GetColor(bool AllowOutOfRange, TRGB& RGB, double t) const override;
  // Index / NumColors: n swatches divide one walk without repeating its start.
  void GetIndexColor(int Index, TRGB& RGB) const override;

  // The anchors as a colour request uses them: L and C follow the shape
  // fields; the hues are fixed (yellow's for the light, blue's for the dark).
  TLCh LightAnchor() const noexcept;
  TLCh DarkAnchor() const noexcept;

  // The shape fields are plain values without side effects; they are not
  // persisted.
  // Chroma of both anchors = 200 * Saturation.
  double Saturation() const noexcept { return FSaturation; }
  void SetSaturation(double Value) noexcept { FSaturation = Value; }
  // Light anchor lightness = 97 * Brightness.
  double Brightness() const noexcept { return FBrightness; }
  void SetBrightness(double Value) noexcept { FBrightness = Value; }
  // Dark anchor lightness = light anchor lightness * (1 - Contrast).
  double Contrast() const noexcept { return FContrast; }
  void SetContrast(double Value) noexcept { FContrast = Value; }
  // Fraction of the hue circle walked while t goes from 0 to 1.
  double HueRange() const noexcept { return FHueRange; }
  void SetHueRange(double Value) noexcept { FHueRange = Value; }
  // Start offset of the walk, in turns.
  double HueShift() const noexcept { return FHueShift; }
  void SetHueShift(double Value) noexcept { FHueShift = Value; }

 private:
  double FLightHue;
  double FDarkHue;
  double FSaturation = 0.45;
  double FBrightness = 1.0;
  double FContrast = 0.5;
  double FHueRange = 1.0;
  double FHueShift = 0;
};
