#include "palette/sequential_palette.h"

#include "foundation/xml_persistence.h"
#include "palette/colour_curve.h"

TSequentialPalette::TSequentialPalette() : TQuantitativePalette(1, ptSeq) {
  // Hue 0 is already in place; shape the one curve without a virtual call.
  ShapeCurve(CurveAt(0), HueAt(0));
}

void TSequentialPalette::Assign(const TBasePalette& Source) {
  TQuantitativePalette::Assign(Source);
  if (const auto* source = dynamic_cast<const TSequentialPalette*>(&Source))
    FReversePalette = source->FReversePalette;
}

void TSequentialPalette::LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) {
  TQuantitativePalette::LoadSave(Load, Node, ChildIndex);
  XMLReadWriteBoolean(Load, Node, ChildIndex, FReversePalette, "ReversePalette", false);
}

void TSequentialPalette::GetColor(bool AllowOutOfRange, TRGB& RGB, double t) const {
  if (FReversePalette) t = 1 - t;
  if (NumColors() == 0) {
    RGB = TRGB{};
    return;
  }
  RGB = CurvePointColor(CurveAt(0).GetLCh(t), AllowOutOfRange);
}

void TSequentialPalette::GetIndexColor(int Index, TRGB& RGB) const {
  const int n = NumColors();
  if (n <= 1) {
    GetColor(true, RGB, 0.5);
    return;
  }
  GetColor(true, RGB, static_cast<double>(Index) / (n - 1));
}

void TSequentialPalette::UpdateCurve(int curveIndex) {
  RequireCurveIndex(curveIndex);
  ShapeCurve(CurveAt(curveIndex), HueAt(0));
}
