#include "palette/quantitative_palette.h"

#include <algorithm>
#include <string>

#include "colour/cie_spaces.h"
#include "colour/colour_interpolation.h"
#include "colour/gamut.h"
#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"
#include "foundation/xml_persistence.h"
#include "palette/colour_curve.h"

namespace {

constexpr double kDefaultSaturation = 0.6;
constexpr double kDefaultContrast = 0.88;
constexpr double kDefaultBrightness = 0.75;
constexpr int kDefaultNumColors = 5;

// A curve point counts as inside the gamut when each linear component lies
// within this distance of [0, 1]. The stored XYZ-to-RGB matrices invert their
// partners only to about 4e-6 per element: a row of their product less the
// identity sums to at most 8.5e-6 in absolute value (PAL_SECAM), so a colour
// inside the cube comes back at most that far outside, and the most saturated
// colours of 720 hues under all 96 working-space and white pairs miss by up
// to 6.9e-6. The same colours with 0.1% more chroma lie at least 3.4e-4
// outside; 1e-5 covers the rounding and stays far below real excursions.
constexpr double kGamutTolerance = 1e-5;

// NaN lies outside.
bool WithinGamutTolerance(double linear) noexcept {
  return linear >= -kGamutTolerance && linear <= 1 + kGamutTolerance;
}

}  // namespace

TQuantitativePalette::TQuantitativePalette(int NumCurves, TPaletteType Type)
    : TBasePalette(Type), FHues(NumCurves, 0.0), FNumCurves(NumCurves) {
  FCurves.reserve(NumCurves);
  for (int i = 0; i < NumCurves; ++i) FCurves.push_back(std::make_unique<TColorCurve>());
  TBasePalette::SetNumColors(kDefaultNumColors);
  FSaturation = kDefaultSaturation;
  FBrightness = kDefaultBrightness;
  FContrast = kDefaultContrast;
  // AutomatedContrast is off, so the contrast in force is the stored one for
  // every kind; the curves get it without a virtual call.
  for (auto& curve : FCurves) {
    curve->SetSaturation(FSaturation);
    curve->Brightness = FBrightness;
    curve->Contrast = FContrast;
  }
}

TQuantitativePalette::~TQuantitativePalette() = default;

TRGB TQuantitativePalette::CurvePointColor(const TLCh& Point, bool AllowOutOfRange) const {
  const TColorSettings* settings = ColorSettings();
  if (AllowOutOfRange) return ClampRGB(LChToRGB(Point, settings));
  // Decided on the linear values: LChToRGB marks every negative one, however
  // small, with -1. A greyed colour is never encoded.
  double r, g, b;
  LChToLinearRGB(Point, r, g, b, settings);
  if (!WithinGamutTolerance(r) || !WithinGamutTolerance(g) || !WithinGamutTolerance(b))
    return kOutOfGamutGrey;
  return ClampRGB(LinearRGBToRGB(r, g, b, settings));
}

void TQuantitativePalette::RequireCurveIndex(int curveIndex, TSourceLocation Where) const {
  if (curveIndex < 0 || curveIndex >= FNumCurves)
    throw EAssertionFailed("Use a curveIndex in the possible range [0..FNumCurves-1]", Where);
}

void TQuantitativePalette::SetColorSettings(const TColorSettings* Settings) {
  TBasePalette::SetColorSettings(Settings);
  for (auto& curve : FCurves) {
    curve->ColorSettings = Settings;
    curve->UpdateArcLengths();
  }
  UpdateCurves();
}

void TQuantitativePalette::SetNumColors(int N) {
  TBasePalette::SetNumColors(N);
  SetCurvesContrast();
}

void TQuantitativePalette::Assign(const TBasePalette& Source) {
  TBasePalette::Assign(Source);
  if (const auto* source = dynamic_cast<const TQuantitativePalette*>(&Source)) {
    FColdWarm = source->FColdWarm;
    FBrightness = source->FBrightness;
    FSaturation = source->FSaturation;
    FAutomatedContrast = source->FAutomatedContrast;
    FContrast = source->GetContrast();
    const int common = std::min(FNumCurves, source->FNumCurves);
    for (int i = 0; i < common; ++i) FHues[i] = source->GetHue(i);
  }
  // Also after a non-curve source: its settings and colour count reach the
  // curves, so they stay in line with the palette.
  AlignCurves();
  UpdateCurves();
}

void TQuantitativePalette::LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) {
  TBasePalette::LoadSave(Load, Node, ChildIndex);
  XMLReadWriteDouble(Load, Node, ChildIndex, FColdWarm, "PaletteColdWarm", 0);
  XMLReadWriteDouble(Load, Node, ChildIndex, FBrightness, "PaletteBrightness", kDefaultBrightness);
  XMLReadWriteDouble(Load, Node, ChildIndex, FSaturation, "PaletteSaturation", kDefaultSaturation);
  XMLReadWriteDouble(Load, Node, ChildIndex, FContrast, "PaletteContrast", kDefaultContrast);
  XMLReadWriteBoolean(Load, Node, ChildIndex, FAutomatedContrast, "PaletteAutomatedContrast",
                      false);
  // The count is written for a reader's information; each kind has a fixed
  // number of curves, so a loaded count (missing, 0, negative or another
  // kind's) never resizes them.
  int32_t numCurves = FNumCurves;
  XMLReadWriteInteger(Load, Node, ChildIndex, numCurves, "PaletteNumCurves", 1);
  for (int i = 0; i < FNumCurves; ++i)
    XMLReadWriteDouble(Load, Node, ChildIndex, FHues[i], "PaletteHue" + std::to_string(i), 0);
  if (Load) AlignCurves();
  UpdateCurves();
}

double TQuantitativePalette::GetContrast() const {
  if (!FAutomatedContrast) return FContrast;
  // In doubles: a colour count near the 32-bit limits must not overflow.
  return std::min(kDefaultContrast, 1 - (11.0 - NumColors()) * 0.06);
}

void TQuantitativePalette::UpdateCurves() {
  for (int i = 0; i < FNumCurves; ++i) UpdateCurve(i);
}

void TQuantitativePalette::SetAutomatedContrast(bool Value) {
  FAutomatedContrast = Value;
  SetCurvesContrast();
}

void TQuantitativePalette::FreezeAutomatedContrast() {
  const bool automated = FAutomatedContrast;
  FAutomatedContrast = true;
  const double contrast = GetContrast();
  FAutomatedContrast = automated;
  SetContrast(contrast);
}

void TQuantitativePalette::SetBrightness(double Value) {
  FBrightness = Value;
  for (auto& curve : FCurves) curve->Brightness = Value;
}

void TQuantitativePalette::SetColdWarm(double Value) {
  if (Value == FColdWarm) return;
  FColdWarm = Value;
  UpdateCurves();
}

void TQuantitativePalette::SetSaturation(double Value) {
  if (Value == FSaturation) return;
  FSaturation = Value;
  for (auto& curve : FCurves) curve->SetSaturation(Value);
  // The light end's chroma depends on the tension only when it is pulled
  // towards yellow.
  if (FColdWarm != 0) UpdateCurves();
}

void TQuantitativePalette::SetContrast(double Value) {
  FContrast = Value;
  SetCurvesContrast();
}

void TQuantitativePalette::ShapeCurve(TColorCurve& Curve, double Hue) const {
  const TColorSettings* settings = ColorSettings();
  const double w = 1 - (1 - FColdWarm) * (1 - FColdWarm);
  const TLCh yellow = RGBToLCh(TRGB{255, 255, 0}, settings);
  TLCh light;
  light.L = (1 - w) * 100 + w * yellow.L;
  light.h = InterpolateHue(w, Hue, yellow.h);
  light.C = std::min(MaxChromaAtLightness(light.L, light.h, settings), yellow.C * w * FSaturation);
  const TLCh middle = MaxChromaLChForHue(Hue, settings);
  const TLCh dark{0, 0, Hue};
  Curve.SetControlPoints(dark, middle, light);
}

TLCh TQuantitativePalette::GetControlPoint(int curveIndex, int controlPointIndex) const {
  RequireCurveIndex(curveIndex);
  Require(controlPointIndex >= 0 && controlPointIndex <= 2,
          "Use a controlPointIndex in the possible range [0..2]");
  return FCurves[curveIndex]->GetControlPoint(controlPointIndex);
}

void TQuantitativePalette::SetHue(int curveIndex, double Hue) {
  RequireCurveIndex(curveIndex);
  FHues[curveIndex] = Hue;
  UpdateCurve(curveIndex);
}

double TQuantitativePalette::GetHue(int curveIndex) const {
  RequireCurveIndex(curveIndex);
  return FHues[curveIndex];
}

const TColorCurve& TQuantitativePalette::GetCurve(int curveIndex) const {
  RequireCurveIndex(curveIndex);
  return *FCurves[curveIndex];
}

void TQuantitativePalette::AlignCurves() {
  const double contrast = GetContrast();
  for (auto& curve : FCurves) {
    curve->SetSaturation(FSaturation);
    curve->Brightness = FBrightness;
    curve->Contrast = contrast;
    curve->ColorSettings = ColorSettings();
  }
}

void TQuantitativePalette::SetCurvesContrast() {
  const double contrast = GetContrast();
  for (auto& curve : FCurves) curve->Contrast = contrast;
}
