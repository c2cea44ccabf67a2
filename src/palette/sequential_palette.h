#pragma once
// A palette along one colour curve, from black (t = 0) to the curve's light
// end (t = 1), or the other way round when reversed.

#include "palette/quantitative_palette.h"

class TSequentialPalette : public TQuantitativePalette {
 public:
  // One curve of hue 0, shaped; 5 colours; not reversed.
  TSequentialPalette();

  void Assign(const TBasePalette& Source) override;
  // The curve palette's keys, then "ReversePalette".
  void LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) override;
  void GetColor(bool AllowOutOfRange, TRGB& RGB, double t) const override;
  // Swatches at Index / (NumColors - 1); a single colour sits at t = 0.5.
  void GetIndexColor(int Index, TRGB& RGB) const override;
  void UpdateCurve(int curveIndex) override;

  // When true the palette is read from its light end to black.
  bool ReversePalette() const noexcept { return FReversePalette; }
  void SetReversePalette(bool Value) noexcept { FReversePalette = Value; }

 private:
  bool FReversePalette = false;
};
