#include "palette/colour_curve.h"

#include <algorithm>
#include <cmath>

#include "colour/cie_spaces.h"
#include "colour/colour_distance.h"
#include "colour/colour_interpolation.h"

namespace {

constexpr int kNumSegments = TColorCurve::kNumArcLengths - 1;

// Moves `hue` by a full turn when it lies more than 180 degrees from `ref`,
// so interpolation between them takes the shorter way.
double UnwrapHue(double hue, double ref) noexcept {
  const double d = hue - ref;
  if (d > 180) return hue - 360;
  if (d < -180) return hue + 360;
  return hue;
}

// (1 - s) P + s Q per component, written so that equal points give exactly
// that point back (a curve of coinciding points then has length 0).
double Lerp(double p, double q, double s) noexcept { return p + (q - p) * s; }

TLCh Mix(const TLCh& P, const TLCh& Q, double s) noexcept {
  return {Lerp(P.L, Q.L, s), Lerp(P.C, Q.C, s), Lerp(P.h, Q.h, s)};
}

bool UsesLightnessRule(const TColorSettings* Settings) {
  return GetDistFunc(Settings) == kDistLightness;
}

}  // namespace

TLCh TColorCurve::GetControlPoint(int Index) const noexcept {
  if (Index < 0 || Index >= static_cast<int>(FControlPoints.size())) return {};
  return FControlPoints[Index];
}

void TColorCurve::SetControlPoints(const TLCh& P0, const TLCh& P1, const TLCh& P2) {
  if (FControlPoints[0] == P0 && FControlPoints[1] == P1 && FControlPoints[2] == P2) return;
  FControlPoints = {P0, P1, P2};
  UpdateArcLengths();
}

void TColorCurve::SetSaturation(double Value) {
  if (Value == FSaturation) return;
  FSaturation = Value;
  UpdateArcLengths();
}

TLCh TColorCurve::Evaluate(double t) const {
  TLCh P0 = FControlPoints[0], P1 = FControlPoints[1], P2 = FControlPoints[2];
  P1.h = UnwrapHue(P1.h, P0.h);
  P2.h = UnwrapHue(P2.h, P1.h);

  // Inner Bezier points pulled from the ends towards P1 by the tension; the
  // two pieces P0-A-M and M-B-P2 meet smoothly at their mid point M.
  const TLCh A = Mix(P0, P1, FSaturation);
  const TLCh B = Mix(P2, P1, FSaturation);
  const TLCh M = Mix(A, B, 0.5);

  if (UsesLightnessRule(ColorSettings)) {
    const double x = (1 - Contrast) * Brightness + Contrast * t;
    // Lightness grows fast at first and slower towards the light end.
    const double target = (P2.L - P0.L) * (125 - 125 * std::pow(0.2, x)) / 100;
    t = target <= M.L ? SolveQuadBezier(P0, A, M, target) / 2
                      : SolveQuadBezier(M, B, P2, target) / 2 + 0.5;
  }

  TLCh p = t <= 0.5 ? QuadBezier(P0, A, M, 2 * t) : QuadBezier(M, B, P2, 2 * (t - 0.5));
  p.h = FloatMod(p.h, 360);
  return p;
}

double TColorCurve::ArcLengthToParam(double t) const noexcept {
  t = std::max(0.0, std::min(1.0, t));
  const double x = (1 - Contrast) * Brightness + Contrast * t;
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  int k = 1;
  while (k < kNumSegments && x >= FArcLengths[k]) ++k;
  if (FArcLengths[k] == 0) return 0;  // never built, or a curve of no length
  return ((k - 1) + (x - FArcLengths[k - 1]) / (FArcLengths[k] - FArcLengths[k - 1])) /
         kNumSegments;
}

void TColorCurve::UpdateArcLengths() {
  if (UsesLightnessRule(ColorSettings)) return;  // the table is not read then
  BuildArcLengths();
}

void TColorCurve::BuildArcLengths() const {
  // Evaluate skips the lightness rule here, so the table measures the plain
  // Bezier parameter.
  TLCh prev = Evaluate(0);
  FArcLengths[0] = 0;
  for (int k = 1; k <= kNumSegments; ++k) {
    const TLCh cur = Evaluate(static_cast<double>(k) / kNumSegments);
    FArcLengths[k] = FArcLengths[k - 1] + ColorDistance(prev, cur, ColorSettings);
    prev = cur;
  }
  const double total = FArcLengths[kNumSegments];
  if (total > 0)
    for (int k = 1; k <= kNumSegments; ++k) FArcLengths[k] /= total;
  FArcLengthsBuilt = true;
}

TLCh TColorCurve::GetLCh(double t) const {
  if (!UsesLightnessRule(ColorSettings)) {
    // A curve whose table was skipped while the lightness distance was in
    // force would otherwise sample as black for good.
    if (!FArcLengthsBuilt) BuildArcLengths();
    t = ArcLengthToParam(t);
  }
  return Evaluate(t);
}

TRGB TColorCurve::GetRGB(double t) const { return LChToRGB(GetLCh(t), ColorSettings); }

TLCh QuadBezier(const TLCh& A, const TLCh& B, const TLCh& C, double u) noexcept {
  // De Casteljau's form of (1 - u)^2 A + 2u(1 - u) B + u^2 C.
  return Mix(Mix(A, B, u), Mix(B, C, u), u);
}

double SolveQuadBezier(const TLCh& A, const TLCh& B, const TLCh& C, double Target) noexcept {
  double a0 = A.L, a2 = C.L;
  const double a1 = B.L;
  const bool flip = a0 > a1 && a1 > a2;
  if (flip) std::swap(a0, a2);
  const double d = a0 - 2 * a1 + a2;
  double u;
  if (d == 0) {
    u = a2 == a0 ? 0 : (Target - a0) / (a2 - a0);  // lightness linear in u, or constant
  } else {
    // A target the parabola never reaches is taken at its vertex.
    const double disc = std::max(a1 * a1 - a0 * a2 + d * Target, 0.0);
    u = (std::sqrt(disc) + (a0 - a1)) / d;
  }
  return flip ? 1 - u : u;
}
