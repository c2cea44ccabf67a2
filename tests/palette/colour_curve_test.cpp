#include "palette/colour_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "colour/colour_distance.h"
#include "colour/gamut.h"

namespace {

// A curve shaped as the curve palettes shape theirs: black, the most
// saturated colour of the hue, white.
class ColourCurveTest : public testing::Test {
 protected:
  void Shape(TColorCurve& curve, double hue, uint8_t distFunc) {
    FSettings.DistFunc = distFunc;
    curve.ColorSettings = &FSettings;
    curve.SetControlPoints({0, 0, hue}, MaxChromaLChForHue(hue, &FSettings), {100, 0, hue});
    curve.UpdateArcLengths();
  }

  // The arc-length table read forwards: the fraction of the length at
  // parameter p, linear inside each twentieth.
  static double TableAt(const TColorCurve& curve, double p) {
    const int k = std::min(static_cast<int>(p * 20), 19);
    const double f = p * 20 - k;
    return (1 - f) * curve.ArcLengths()[k] + f * curve.ArcLengths()[k + 1];
  }

  TColorSettings FSettings;
};

TEST_F(ColourCurveTest, ArcLengthsRiseFromZeroToOne) {
  for (uint8_t f : {uint8_t{0}, uint8_t{1}})
    for (double hue : {0.0, 60.0, 130.0, 265.0}) {
      SCOPED_TRACE(testing::Message() << "func " << int(f) << " hue " << hue);
      TColorCurve curve;
      Shape(curve, hue, f);
      const auto& a = curve.ArcLengths();
      EXPECT_EQ(a[0], 0);
      EXPECT_DOUBLE_EQ(a[20], 1);
      for (int k = 1; k <= 20; ++k) EXPECT_GT(a[k], a[k - 1]) << k;
    }
}

TEST_F(ColourCurveTest, ArcLengthToParamInvertsTheTable) {
  TColorCurve curve;
  Shape(curve, 200, 1);
  curve.Brightness = 0.5;
  curve.Contrast = 1;  // x = t
  double worstTable = 0, worstTrue = 0;
  // The true length fraction, summed on a fine grid, bounds the error of the
  // 20-piece linear table.
  constexpr int kFine = 2000;
  std::vector<double> fine(kFine + 1, 0.0);
  for (int i = 1; i <= kFine; ++i)
    fine[i] = fine[i - 1] + ColorDistance(curve.Evaluate((i - 1.0) / kFine),
                                          curve.Evaluate(1.0 * i / kFine), &FSettings);
  for (int i = 1; i < 100; ++i) {
    const double x = i / 100.0;
    const double p = curve.ArcLengthToParam(x);
    worstTable = std::max(worstTable, std::fabs(TableAt(curve, p) - x));
    worstTrue = std::max(worstTrue, std::fabs(fine[std::lround(p * kFine)] / fine[kFine] - x));
  }
  EXPECT_LT(worstTable, 1e-12);
  // Linear inside each twentieth, the table follows the true length to a
  // few hundredths (the speed changes fastest near black); a table read one
  // segment off would be 0.05 out.
  EXPECT_LT(worstTrue, 0.03);
  // Outside 0..1 the position behaves as at the nearer end.
  EXPECT_EQ(curve.ArcLengthToParam(-3), curve.ArcLengthToParam(0));
  EXPECT_EQ(curve.ArcLengthToParam(7), curve.ArcLengthToParam(1));
  EXPECT_EQ(curve.ArcLengthToParam(1), 1);
}

TEST_F(ColourCurveTest, WindowOfBrightnessAndContrast) {
  TColorCurve curve;
  Shape(curve, 30, 0);
  // The default window [0.09, 0.97] of the length.
  EXPECT_NEAR(TableAt(curve, curve.ArcLengthToParam(0)), 0.09, 1e-12);
  EXPECT_NEAR(TableAt(curve, curve.ArcLengthToParam(1)), 0.97, 1e-12);
  curve.Contrast = 0;  // the window collapses to the point Brightness
  const double p = curve.ArcLengthToParam(0);
  for (double t : {0.2, 0.7, 1.0}) EXPECT_EQ(curve.ArcLengthToParam(t), p) << t;
  EXPECT_NEAR(TableAt(curve, p), 0.75, 1e-12);
}

TEST_F(ColourCurveTest, CurveOfNoLength) {
  TColorCurve curve;
  FSettings.DistFunc = 0;
  curve.ColorSettings = &FSettings;
  curve.Contrast = 1;
  curve.SetControlPoints({40, 20, 90}, {40, 20, 90}, {40, 20, 90});
  for (double a : curve.ArcLengths()) EXPECT_EQ(a, 0);
  for (double x : {0.01, 0.5, 0.99}) EXPECT_EQ(curve.ArcLengthToParam(x), 0) << x;
  EXPECT_EQ(curve.ArcLengthToParam(1), 1);
  const TRGB c = curve.GetRGB(0.5);
  EXPECT_FALSE(std::isnan(c.R) || std::isnan(c.G) || std::isnan(c.B));
}

TEST_F(ColourCurveTest, HuesUnwrapThroughZero) {
  TColorCurve curve;
  FSettings.DistFunc = 0;  // plain Bezier parameter
  curve.ColorSettings = &FSettings;
  curve.SetControlPoints({0, 0, 350}, {50, 60, 10}, {100, 0, 30});
  for (int i = 0; i <= 20; ++i) {
    const TLCh p = curve.Evaluate(i / 20.0);
    SCOPED_TRACE(i);
    EXPECT_GE(p.h, 0);
    EXPECT_LT(p.h, 360);
    // Between 350 and 30 the short way: never near 180.
    EXPECT_TRUE(p.h >= 350 || p.h <= 30) << p.h;
  }
  EXPECT_EQ(curve.Evaluate(0).h, 350);
  EXPECT_NEAR(curve.Evaluate(1).h, 30, 1e-12);
}

TEST_F(ColourCurveTest, RebuildsOnlyOnAChange) {
  TColorCurve curve;
  Shape(curve, 100, 0);
  const TColorCurve::TArcLengths underCIE94 = curve.ArcLengths();
  // Switch the distance without a rebuild: an unchanged point or tension
  // must leave the table as it is, a changed one rebuilds it.
  FSettings.DistFunc = 1;
  curve.SetControlPoints(curve.GetControlPoint(0), curve.GetControlPoint(1),
                         curve.GetControlPoint(2));
  curve.SetSaturation(curve.Saturation());
  EXPECT_EQ(curve.ArcLengths(), underCIE94);
  curve.SetSaturation(0.4);
  EXPECT_NE(curve.ArcLengths(), underCIE94);
  const TColorCurve::TArcLengths rebuilt = curve.ArcLengths();
  TLCh end = curve.GetControlPoint(2);
  end.C += 1;
  curve.SetControlPoints(curve.GetControlPoint(0), curve.GetControlPoint(1), end);
  EXPECT_NE(curve.ArcLengths(), rebuilt);
}

TEST_F(ColourCurveTest, TableSkippedUnderLightnessDistanceIsBuiltWhenSampled) {
  // Shaped while the lightness distance was in force, the table stayed
  // empty; the record then changed in place with no hand-out.
  TColorCurve skipped, built;
  Shape(skipped, 250, 2);
  for (double a : skipped.ArcLengths()) EXPECT_EQ(a, 0);
  FSettings.DistFunc = 0;
  built.ColorSettings = &FSettings;
  built.SetControlPoints(skipped.GetControlPoint(0), skipped.GetControlPoint(1),
                         skipped.GetControlPoint(2));
  for (double t : {0.0, 0.3, 0.8, 1.0}) {
    SCOPED_TRACE(t);
    const TRGB a = skipped.GetRGB(t), b = built.GetRGB(t);
    EXPECT_EQ(a, b);
  }
  EXPECT_GT(skipped.GetRGB(0.8).B, 100);  // not black
  EXPECT_EQ(skipped.ArcLengths(), built.ArcLengths());
}

TEST_F(ColourCurveTest, LightnessRuleUnderTheLightnessDistance) {
  TColorCurve curve;
  Shape(curve, 140, 2);
  const double L2 = curve.GetControlPoint(2).L;
  struct Case {
    double t, x;
  };
  // Default window: t = 0 gives x = 0.09, t = 1 gives x = 0.97.
  for (const Case& c : {Case{0, 0.09}, Case{0.5, 0.53}, Case{1, 0.97}}) {
    SCOPED_TRACE(c.t);
    const double target = L2 * (125 - 125 * std::pow(0.2, c.x)) / 100;
    EXPECT_NEAR(curve.Evaluate(c.t).L, target, 1e-9);
  }
  EXPECT_LT(curve.Evaluate(1).L, L2);
  EXPECT_GT(curve.Evaluate(1).L, L2 - 2);
}

TEST_F(ColourCurveTest, ControlPointsOutsideTheRangeAreZero) {
  TColorCurve curve;
  curve.SetControlPoints({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
  EXPECT_EQ(curve.GetControlPoint(1), (TLCh{4, 5, 6}));
  EXPECT_EQ(curve.GetControlPoint(3), TLCh{});
  EXPECT_EQ(curve.GetControlPoint(-1), TLCh{});
}

TEST(SolveQuadBezier, FindsTheLightness) {
  struct Case {
    const char* what;
    double a0, a1, a2, target;
  };
  const Case cases[] = {
      {"rising", 0, 40, 60, 25},
      {"rising, middle halfway (linear)", 0, 30, 60, 45},
      {"falling: solved mirrored", 60, 40, 0, 25},
      {"falling, linear", 60, 30, 0, 10},
      {"at the ends", 10, 50, 90, 90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TLCh A{c.a0, 0, 0}, B{c.a1, 0, 0}, C{c.a2, 0, 0};
    const double u = SolveQuadBezier(A, B, C, c.target);
    EXPECT_GE(u, 0);
    EXPECT_LE(u, 1);
    EXPECT_NEAR(QuadBezier(A, B, C, u).L, c.target, 1e-9);
  }
  // A piece of constant lightness, and a target the piece never reaches,
  // still give a number.
  EXPECT_EQ(SolveQuadBezier({50, 0, 0}, {50, 0, 0}, {50, 0, 0}, 50), 0);
  EXPECT_FALSE(std::isnan(SolveQuadBezier({0, 0, 0}, {80, 0, 0}, {60, 0, 0}, 95)));
}

TEST(QuadBezier, EndsAndMiddle) {
  const TLCh A{0, 0, 10}, B{50, 80, 20}, C{100, 0, 40};
  EXPECT_EQ(QuadBezier(A, B, C, 0), A);
  EXPECT_EQ(QuadBezier(A, B, C, 1), C);
  EXPECT_EQ(QuadBezier(A, B, C, 0.5), (TLCh{50, 40, 22.5}));
}

}  // namespace
