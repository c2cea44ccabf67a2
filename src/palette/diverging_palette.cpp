#include "palette/diverging_palette.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "colour/cie_spaces.h"
#include "colour/gamut.h"
#include "colour/rgb_spaces.h"
#include "foundation/xml_persistence.h"
#include "palette/colour_curve.h"

namespace {

constexpr double kDefaultHueUpper = 192;  // curve 0, t above the mid point
constexpr double kDefaultHueLower = 12;   // curve 1
constexpr double kDefaultMidPoint = 0.5;
// Distance of the two samples that the blended mid colour averages.
constexpr double kMidBlendOffset = 0.01;

// Nearest 64-bit integer, ties to even; NaN and values out of range give
// INT64_MIN (even), as the masked invalid-operation conversion does.
int64_t Round64(double Value) {
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  const double r = std::nearbyint(Value);
  if (!(r >= -kLimit && r < kLimit)) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(r);
}

}  // namespace

TDivergingPalette::TDivergingPalette() : TQuantitativePalette(2, ptDiv) {
  SetMidPoint(kDefaultMidPoint);
  FMidPointType = 0;
  SetHueAt(0, kDefaultHueUpper);
  SetHueAt(1, kDefaultHueLower);
  ShapeCurves();
}

void TDivergingPalette::ShapeCurves() {
  ShapeCurve(CurveAt(0), HueAt(0));
  ShapeCurve(CurveAt(1), HueAt(1));
}

void TDivergingPalette::Assign(const TBasePalette& Source) {
  TQuantitativePalette::Assign(Source);
  // Snapped under the receiver's own colour count and continuity.
  if (const auto* source = dynamic_cast<const TDivergingPalette*>(&Source))
    SetMidPoint(source->FMidPoint, source->FMidPointType);
}

void TDivergingPalette::LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) {
  TQuantitativePalette::LoadSave(Load, Node, ChildIndex);
  XMLReadWriteDouble(Load, Node, ChildIndex, FMidPoint, "MidPoint", kDefaultMidPoint);
  int32_t midPointType = FMidPointType;
  XMLReadWriteInteger(Load, Node, ChildIndex, midPointType, "MidPointType", 0);
  FMidPointType = static_cast<uint8_t>(midPointType & 0xFF);
}

double TDivergingPalette::GetContrast() const {
  if (!AutomatedContrast()) return Contrast();
  // Each half counts as a sequential palette of NumColors div 2 + 1 colours.
  const double m = NumColors() / 2 + 1.0;
  return std::min(0.88, 1 - (11 - m) * 0.06);
}

void TDivergingPalette::SetMidPoint(double Value) {
  const int n = NumColors();
  if (Continuous() || n == 1) {
    FMidPoint = Value;
  } else {
    const double steps = 2.0 * (n - 1.0);
    FMidPoint = static_cast<double>(Round64(steps * Value)) / steps;
  }
  FMidPointType = 0;
}

void TDivergingPalette::SetMidPoint(double Value, uint8_t MidPointType) {
  SetMidPoint(Value);
  FMidPointType = MidPointType;
}

void TDivergingPalette::GetColor(bool AllowOutOfRange, TRGB& RGB, double t) const {
  ColorAt(AllowOutOfRange, RGB, t, FMidPoint, true);
}

void TDivergingPalette::ColorAt(bool AllowOutOfRange, TRGB& RGB, double t, double Mid,
                                bool Blend) const {
  if (NumColors() == 0) {
    RGB = TRGB{};
    return;
  }
  // Map t so that the mid point lands on 0.5 and both halves keep the same
  // speed; the shorter side ends before its curve's dark end.
  const double s = (0.5 - Mid) * 2;
  const double u = s > 0 ? (t + s) / (1 + s) : t / (1 - s);
  TLCh point;
  if (u > 0.5) {
    point = CurveAt(0).GetLCh(1 - (u - 0.5) * 2);
  } else if (u < 0.5 || !Blend) {
    // The blend's own samples never map to 0.5 for a finite mid point; for a
    // NaN one they would, and blending again would never end.
    point = CurveAt(1).GetLCh(2 * u);
  } else {
    TRGB a, b;
    ColorAt(true, a, Mid - kMidBlendOffset, Mid, false);
    ColorAt(true, b, Mid + kMidBlendOffset, Mid, false);
    const TColorSettings* settings = ColorSettings();
    const TLCh la = RGBToLCh(a, settings);
    const TLCh lb = RGBToLCh(b, settings);
    const double h = RGBToLCh(TRGB{255, 255, 0}, settings).h;
    const double L = (la.L + lb.L) / 2;
    const double C = std::min(MaxChromaAtLightness(L, h, settings), (la.C + lb.C) / 2 * ColdWarm());
    point = TLCh{L, C, h};
  }
  RGB = CurvePointColor(point, AllowOutOfRange);
}

void TDivergingPalette::GetIndexColor(int Index, TRGB& RGB) const {
  const int n = NumColors();
  if (n <= 1) {
    GetColor(true, RGB, FMidPoint);
    return;
  }
  const int64_t r = Round64(2.0 * (n - 1.0) * FMidPoint);
  if (r % 2 == 0) {
    ColorAt(true, RGB, static_cast<double>(Index) / (n - 1), FMidPoint, true);
    return;
  }
  // The mid point lies halfway between two swatches: take the swatches from
  // the n + 1 points k / n, leaving out the one at the shifted mid point, so
  // neither half shows the blended mid colour and both keep equal steps. The
  // shift holds for this call only; the field is not touched.
  const double mid = ((n - 1.0) * FMidPoint + 0.5) / n;
  const int64_t m = Round64(2.0 * n * mid);
  const double k = 2.0 * Index < static_cast<double>(m) ? Index : Index + 1.0;
  ColorAt(true, RGB, k / n, mid, true);
}

void TDivergingPalette::UpdateCurve(int curveIndex) {
  RequireCurveIndex(curveIndex);
  ShapeCurve(CurveAt(curveIndex), HueAt(curveIndex));
}
