#pragma once
// The abstract parent of the palettes that follow one colour curve per hue
// (sequential: one curve, diverging: two). It holds the shape parameters all
// curve palettes share and keeps every curve in line with them: each curve's
// tension and brightness are the palette's, its contrast is GetContrast and
// its settings are the palette's.

#include <memory>
#include <vector>

#include "foundation/assertion.h"
#include "palette/base_palette.h"

class TColorCurve;

class TQuantitativePalette : public TBasePalette {
 public:
  ~TQuantitativePalette() override;

  // Hands the settings to every curve, rebuilds their arc lengths and
  // reshapes them.
  void SetColorSettings(const TColorSettings* Settings) override;
  // Stores N; the curves' contrast follows when it is automatic.
  void SetNumColors(int N) override;
  // From a curve palette also the shape parameters and as many hues as both
  // have curves; from any other palette only the base fields.
  void Assign(const TBasePalette& Source) override;
  // Base keys, then "PaletteColdWarm", "PaletteBrightness",
  // "PaletteSaturation", "PaletteContrast", "PaletteAutomatedContrast",
  // "PaletteNumCurves" and "PaletteHue<i>". The curve count is read but never
  // changes the palette's own count.
  void LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) override;

  // With AutomatedContrast, min(0.88, 1 - (11 - NumColors) * 0.06);
  // otherwise Contrast.
  virtual double GetContrast() const;
  // UpdateCurve for every curve.
  virtual void UpdateCurves();
  // Reshapes curve curveIndex from its hue.
  virtual void UpdateCurve(int curveIndex) = 0;

  void SetAutomatedContrast(bool Value);
  // Stores the automatic contrast for the current colour count as Contrast;
  // AutomatedContrast keeps its value.
  void FreezeAutomatedContrast();
  // Writes the window position into every curve; no rebuild.
  void SetBrightness(double Value);
  // 0..1: weight of the light end towards yellow. Reshapes on a change only.
  void SetColdWarm(double Value);
  // Curve tension. On a change only: every curve's tension, and a reshape
  // when ColdWarm is not 0 (the light end's chroma then depends on it).
  void SetSaturation(double Value);
  // Stores the contrast; the curves get GetContrast.
  void SetContrast(double Value);

  // Sets the control points of Curve from Hue: black, the most saturated
  // in-gamut colour of the hue, and the light end given by ColdWarm and
  // Saturation, under the palette's settings.
  void ShapeCurve(TColorCurve& Curve, double Hue) const;

  // Control point controlPointIndex (0 dark end, 1 most saturated colour,
  // 2 light end) of curve curveIndex.
  TLCh GetControlPoint(int curveIndex, int controlPointIndex) const;
  void SetHue(int curveIndex, double Hue);
  double GetHue(int curveIndex) const;
  const TColorCurve& GetCurve(int curveIndex) const;

  int NumCurves() const noexcept { return FNumCurves; }
  double Saturation() const noexcept { return FSaturation; }
  // The stored contrast; the one in force is GetContrast.
  double Contrast() const noexcept { return FContrast; }
  bool AutomatedContrast() const noexcept { return FAutomatedContrast; }
  double Brightness() const noexcept { return FBrightness; }
  double ColdWarm() const noexcept { return FColdWarm; }

 protected:
  // NumCurves is fixed for the palette's life; Hues start at 0. Leaves the
  // curves unshaped: the derived constructor sets its hues and shapes them.
  TQuantitativePalette(int NumCurves, TPaletteType Type);

  // Unchecked access for the derived classes, which keep curveIndex in range.
  TColorCurve& CurveAt(int curveIndex) { return *FCurves[curveIndex]; }
  const TColorCurve& CurveAt(int curveIndex) const { return *FCurves[curveIndex]; }
  double HueAt(int curveIndex) const { return FHues[curveIndex]; }
  // GetColor's answer for a point of a curve, under the palette's settings:
  // its colour clamped to 0..255 when out-of-range colours are allowed or the
  // point lies inside the gamut (up to the rounding of the stored matrices),
  // kOutOfGamutGrey otherwise.
  TRGB CurvePointColor(const TLCh& Point, bool AllowOutOfRange) const;
  void SetHueAt(int curveIndex, double Hue) { FHues[curveIndex] = Hue; }
  // Raises the index assertion unless 0 <= curveIndex < NumCurves.
  void RequireCurveIndex(int curveIndex,
                         TSourceLocation Where = TSourceLocation::current()) const;

 private:
  // Saturation, Brightness, contrast and settings into every curve.
  void AlignCurves();
  void SetCurvesContrast();

  std::vector<double> FHues;
  std::vector<std::unique_ptr<TColorCurve>> FCurves;
  int FNumCurves;
  double FSaturation = 0.6;
  double FContrast = 0.88;
  bool FAutomatedContrast = false;
  double FBrightness = 0.75;
  double FColdWarm = 0;
};
