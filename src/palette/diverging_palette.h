#pragma once
// Two colour curves joined at a mid point: from the dark end of curve 1
// (t = 0) up to its light end, a blended colour exactly at the mid point,
// then from the light end of curve 0 down to its dark end (t = 1).

#include <cstdint>

#include "palette/quantitative_palette.h"

class TDivergingPalette : public TQuantitativePalette {
 public:
  // Hues 192 (curve 0, above the mid point) and 12 (curve 1), mid point 0.5
  // set by value, 5 colours.
  TDivergingPalette();

  void Assign(const TBasePalette& Source) override;
  // The curve palette's keys, then "MidPoint" (stored as read, not snapped)
  // and "MidPointType".
  void LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) override;
  void GetColor(bool AllowOutOfRange, TRGB& RGB, double t) const override;
  void GetIndexColor(int Index, TRGB& RGB) const override;
  void UpdateCurve(int curveIndex) override;
  // The automatic contrast counts each half as a sequential palette of
  // NumColors div 2 + 1 colours.
  double GetContrast() const override;

  // Unless Continuous, snaps Value to the grid of half swatch steps
  // (ties to even); MidPointType becomes 0 (set by value).
  void SetMidPoint(double Value);
  void SetMidPoint(double Value, uint8_t MidPointType);

  double MidPoint() const noexcept { return FMidPoint; }
  // 0 set by value; 1, 2, 3 derived from data as mean, median or zero.
  uint8_t MidPointType() const noexcept { return FMidPointType; }

 private:
  // The colour at t for the given mid point; Blend allows the blended mid
  // colour (whose two samples must not blend again).
  void ColorAt(bool AllowOutOfRange, TRGB& RGB, double t, double Mid, bool Blend) const;
  void ShapeCurves();

  double FMidPoint = 0.5;
  uint8_t FMidPointType = 0;
};
