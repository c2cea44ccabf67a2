#pragma once
// A path through CIELUV LCh from a dark start through a pulling point to a
// light end: two quadratic Bezier pieces joined in the middle, sampled with
// a palette position t in [0, 1]. Sampling moves t through the window given
// by Brightness and Contrast and re-parametrises it so that equal steps give
// equal perceived steps: by cumulative colour distance (a 21-entry table)
// under the CIE distances, by a target-lightness rule under the lightness
// distance (DistFunc 2).

#include <array>

#include "colour/colour_records.h"
#include "colour/colour_settings.h"

class TColorCurve {
 public:
  static constexpr int kNumArcLengths = 21;
  using TArcLengths = std::array<double, kNumArcLengths>;

  // Control point 0..2; any other index gives (0, 0, 0).
  TLCh GetControlPoint(int Index) const noexcept;
  // Stores the points and rebuilds the table, only when one of the nine
  // numbers differs from the stored one.
  void SetControlPoints(const TLCh& P0, const TLCh& P1, const TLCh& P2);

  double Saturation() const noexcept { return FSaturation; }
  // Stores the tension and rebuilds the table, only when it changes.
  void SetSaturation(double Value);

  // Entry k: normalised cumulative colour distance from t = 0 to t = k/20.
  const TArcLengths& ArcLengths() const noexcept { return FArcLengths; }

  // The point at parameter t (hue in [0, 360)); under DistFunc 2 t is first
  // replaced by the lightness-based parameter.
  TLCh Evaluate(double t) const;
  // The curve parameter of palette position t through the window and the
  // arc-length table (0 for a table that was never built or has no length).
  double ArcLengthToParam(double t) const noexcept;
  // Rebuilds the table from the shape; does nothing under DistFunc 2.
  void UpdateArcLengths();

  // The point at palette position t: through the window and the arc-length
  // table, or the lightness rule under DistFunc 2. Under DistFunc 0 or 1 a
  // table that was never built is built first.
  TLCh GetLCh(double t) const;
  // The colour of GetLCh(t), not clamped.
  TRGB GetRGB(double t) const;

  // Plain fields written by the owning palette. Brightness and Contrast need
  // no rebuild; after writing ColorSettings the owner calls UpdateArcLengths.
  double Brightness = 0.75;                       // window position, 0..1
  double Contrast = 0.88;                         // window width, 0..1
  const TColorSettings* ColorSettings = nullptr;  // not owned; null = defaults

 private:
  void BuildArcLengths() const;

  std::array<TLCh, 3> FControlPoints{};
  double FSaturation = 0.6;
  // A cache of the shape under the settings, so it may be built on first
  // sampling from a const curve.
  mutable TArcLengths FArcLengths{};
  mutable bool FArcLengthsBuilt = false;
};

// Each of L, C and h separately: (1 - u)^2 A + 2u(1 - u) B + u^2 C.
TLCh QuadBezier(const TLCh& A, const TLCh& B, const TLCh& C, double u) noexcept;

// The parameter u at which the lightness of QuadBezier(A, B, C, u) equals
// Target, for a lightness monotone along the piece. A Target beyond the
// extreme lightness of the parabola gives the parameter of that extreme (its
// vertex) rather than NaN; a piece of constant lightness gives 0.
double SolveQuadBezier(const TLCh& A, const TLCh& B, const TLCh& C, double Target) noexcept;
