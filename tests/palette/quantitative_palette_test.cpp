#include "palette/quantitative_palette.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "colour/cie_spaces.h"
#include "colour/gamut.h"
#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"
#include "palette/colour_curve.h"
#include "palette/diverging_palette.h"
#include "palette/palette_types.h"
#include "palette/qualitative_palette.h"
#include "palette/sequential_palette.h"
#include "palette_test_util.h"

namespace {

constexpr std::string_view kCurveIndexMessage =
    "Use a curveIndex in the possible range [0..FNumCurves-1]";

template <class F>
void ExpectAssertion(F&& call, std::string_view message) {
  try {
    call();
    ADD_FAILURE() << "no assertion failure for: " << message;
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), message);
    // The location is the palette code's own check, not a helper's caller.
    EXPECT_THAT(e.File(), testing::HasSubstr("src/palette/"));
  }
}

void ExpectLChNear(const TLCh& got, const TLCh& want, double tolerance) {
  EXPECT_NEAR(got.L, want.L, tolerance);
  EXPECT_NEAR(got.C, want.C, tolerance);
  EXPECT_NEAR(got.h, want.h, tolerance);
}

// Every curve carries the palette's tension, window and settings.
void ExpectCurvesInLine(const TQuantitativePalette& p) {
  for (int i = 0; i < p.NumCurves(); ++i) {
    SCOPED_TRACE(testing::Message() << "curve " << i);
    const TColorCurve& c = p.GetCurve(i);
    EXPECT_EQ(c.Saturation(), p.Saturation());
    EXPECT_EQ(c.Brightness, p.Brightness());
    EXPECT_EQ(c.Contrast, p.GetContrast());
    EXPECT_EQ(c.ColorSettings, p.ColorSettings());
  }
}

TEST(QuantitativePalette, Defaults) {
  TSequentialPalette seq;
  TDivergingPalette div;
  for (const TQuantitativePalette* p : {static_cast<TQuantitativePalette*>(&seq),
                                        static_cast<TQuantitativePalette*>(&div)}) {
    EXPECT_EQ(p->NumColors(), 5);
    EXPECT_EQ(p->Saturation(), 0.6);
    EXPECT_EQ(p->Contrast(), 0.88);
    EXPECT_EQ(p->Brightness(), 0.75);
    EXPECT_EQ(p->ColdWarm(), 0);
    EXPECT_FALSE(p->AutomatedContrast());
    EXPECT_EQ(p->ColorSettings(), nullptr);
    EXPECT_EQ(p->Name(), "");
    EXPECT_FALSE(p->Continuous());
    ExpectCurvesInLine(*p);
  }
  EXPECT_EQ(seq.PaletteType(), ptSeq);
  EXPECT_EQ(seq.NumCurves(), 1);
  EXPECT_EQ(div.PaletteType(), ptDiv);
  EXPECT_EQ(div.NumCurves(), 2);
}

TEST(QuantitativePalette, AutomatedContrastFollowsTheColourCount) {
  struct Case {
    int numColors;
    double want;
  };
  const Case cases[] = {{0, 0.34}, {2, 0.46}, {5, 0.64}, {9, 0.88}, {20, 0.88}};
  TSequentialPalette p;
  p.SetContrast(0.5);
  p.SetAutomatedContrast(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.numColors);
    p.SetNumColors(c.numColors);
    EXPECT_NEAR(p.GetContrast(), c.want, 1e-12);
    EXPECT_EQ(p.GetCurve(0).Contrast, p.GetContrast());  // the curve follows the count
  }
  EXPECT_EQ(p.Contrast(), 0.5);  // the stored value is kept but not in force
  p.SetAutomatedContrast(false);
  EXPECT_EQ(p.GetCurve(0).Contrast, 0.5);
}

TEST(QuantitativePalette, FreezeAutomatedContrastStoresTheAutomaticValue) {
  TSequentialPalette p;
  p.SetNumColors(2);
  p.FreezeAutomatedContrast();
  EXPECT_FALSE(p.AutomatedContrast());
  EXPECT_NEAR(p.Contrast(), 0.46, 1e-12);
  EXPECT_NEAR(p.GetCurve(0).Contrast, 0.46, 1e-12);

  // The diverging palette freezes its own automatic value (9 colours: m = 5).
  TDivergingPalette d;
  d.SetNumColors(9);
  d.FreezeAutomatedContrast();
  EXPECT_NEAR(d.Contrast(), 0.64, 1e-12);
}

TEST(QuantitativePalette, SettersKeepTheCurvesInLine) {
  TColorSettings settings;
  settings.RGBConversion = 1;
  settings.DistFunc = 0;
  TDivergingPalette p;
  p.SetBrightness(0.4);
  ExpectCurvesInLine(p);
  p.SetSaturation(0.9);
  ExpectCurvesInLine(p);
  p.SetContrast(0.7);
  ExpectCurvesInLine(p);
  p.SetColorSettings(&settings);
  ExpectCurvesInLine(p);
  p.SetAutomatedContrast(true);
  p.SetNumColors(3);
  ExpectCurvesInLine(p);
}

TEST(QuantitativePalette, ShapeCurveFromAHue) {
  TSequentialPalette p;
  p.SetHue(0, 250);
  // ColdWarm 0: black, the most saturated colour of the hue, white.
  ExpectLChNear(p.GetControlPoint(0, 0), TLCh{0, 0, 250}, 0);
  ExpectLChNear(p.GetControlPoint(0, 1), MaxChromaLChForHue(250, nullptr), 1e-12);
  ExpectLChNear(p.GetControlPoint(0, 2), TLCh{100, 0, 250}, 1e-12);

  // ColdWarm 1: yellow's lightness and hue, chroma scaled by the tension and
  // capped by the gamut at that lightness.
  p.SetColdWarm(1);
  const TLCh yellow = RGBToLCh(TRGB{255, 255, 0}, nullptr);
  const TLCh light = p.GetControlPoint(0, 2);
  EXPECT_NEAR(light.L, yellow.L, 1e-12);
  EXPECT_NEAR(light.h, yellow.h, 1e-12);
  EXPECT_NEAR(light.C,
              std::min(MaxChromaAtLightness(yellow.L, yellow.h, nullptr), yellow.C * 0.6), 1e-12);
  EXPECT_GT(light.C, 0);

  // With the light end pulled towards yellow the tension changes its chroma.
  p.SetSaturation(0.3);
  EXPECT_LT(p.GetControlPoint(0, 2).C, light.C);
}

TEST(QuantitativePalette, SaturationWithoutColdWarmLeavesTheControlPoints) {
  TSequentialPalette p;
  p.SetHue(0, 40);
  const TLCh before[3] = {p.GetControlPoint(0, 0), p.GetControlPoint(0, 1),
                          p.GetControlPoint(0, 2)};
  p.SetSaturation(0.95);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(p.GetControlPoint(0, k), before[k]);
  EXPECT_EQ(p.GetCurve(0).Saturation(), 0.95);
}

TEST(QuantitativePalette, SettingTheCurrentValueReshapesNothing) {
  // The record is changed in place without being handed out again: only a
  // reshape would pick the new working space up, so it shows whether one ran.
  TColorSettings settings;
  TSequentialPalette p;
  p.SetColorSettings(&settings);
  p.SetColdWarm(0.5);
  const TLCh middle = p.GetControlPoint(0, 1);
  settings.RGBConversion = 13;  // "ProPhoto"
  p.SetColdWarm(0.5);
  p.SetSaturation(0.6);
  EXPECT_EQ(p.GetControlPoint(0, 1), middle);
  p.SetSaturation(0.7);  // a change with ColdWarm on reshapes
  EXPECT_NE(p.GetControlPoint(0, 1), middle);
}

TEST(QuantitativePalette, IndexPreconditions) {
  TSequentialPalette p;
  ExpectAssertion([&] { p.GetControlPoint(1, 0); }, kCurveIndexMessage);
  ExpectAssertion([&] { p.GetControlPoint(-1, 0); }, kCurveIndexMessage);
  ExpectAssertion([&] { p.GetControlPoint(0, 3); },
                  "Use a controlPointIndex in the possible range [0..2]");
  ExpectAssertion([&] { p.GetControlPoint(0, -1); },
                  "Use a controlPointIndex in the possible range [0..2]");
  ExpectAssertion([&] { p.GetHue(2); }, kCurveIndexMessage);
  ExpectAssertion([&] { p.SetHue(1, 10); }, kCurveIndexMessage);
  ExpectAssertion([&] { p.UpdateCurve(1); }, kCurveIndexMessage);
  TDivergingPalette d;
  ExpectAssertion([&] { d.UpdateCurve(2); }, kCurveIndexMessage);
  EXPECT_NO_THROW(d.GetHue(1));
}

TEST(QuantitativePalette, AssignFromACurvePalette) {
  TColorSettings settings;
  TDivergingPalette source;
  source.SetName("Stored");
  source.SetNumColors(9);
  source.SetColorSettings(&settings);
  source.SetColdWarm(0.25);
  source.SetBrightness(0.5);
  source.SetSaturation(0.8);
  source.SetContrast(0.3);
  source.SetAutomatedContrast(true);
  source.SetHue(0, 100);
  source.SetHue(1, 300);

  // A one-curve receiver takes only the first hue; the contrast it stores is
  // the one in force at the source.
  TSequentialPalette seq;
  seq.Assign(source);
  EXPECT_EQ(seq.PaletteType(), ptSeq);
  EXPECT_EQ(seq.Name(), "Stored");
  EXPECT_EQ(seq.NumColors(), 9);
  EXPECT_EQ(seq.ColorSettings(), &settings);
  EXPECT_EQ(seq.ColdWarm(), 0.25);
  EXPECT_EQ(seq.Brightness(), 0.5);
  EXPECT_EQ(seq.Saturation(), 0.8);
  EXPECT_TRUE(seq.AutomatedContrast());
  EXPECT_EQ(seq.Contrast(), source.GetContrast());
  EXPECT_EQ(seq.GetHue(0), 100);
  ExpectCurvesInLine(seq);
  TSequentialPalette built;  // the same shape reached through the setters
  built.SetColorSettings(&settings);
  built.SetColdWarm(0.25);
  built.SetSaturation(0.8);
  built.SetHue(0, 100);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(seq.GetControlPoint(0, k), built.GetControlPoint(0, k));

  // A two-curve receiver from a one-curve source keeps its second hue.
  TDivergingPalette div;
  div.Assign(seq);
  EXPECT_EQ(div.GetHue(0), 100);
  EXPECT_EQ(div.GetHue(1), 12);
}

TEST(QuantitativePalette, AssignFromAQualitativePaletteTakesOnlyTheBaseFields) {
  TQualitativePalette qual;
  qual.SetName("Q");
  qual.SetContinuous(true);
  qual.SetSaturation(0.1);
  qual.SetBrightness(0.2);
  qual.SetContrast(0.3);
  TSequentialPalette seq;
  seq.SetHue(0, 77);
  seq.Assign(qual);
  EXPECT_EQ(seq.Name(), "Q");
  EXPECT_TRUE(seq.Continuous());
  EXPECT_EQ(seq.NumColors(), 6);
  EXPECT_EQ(seq.Saturation(), 0.6);
  EXPECT_EQ(seq.Brightness(), 0.75);
  EXPECT_EQ(seq.Contrast(), 0.88);
  EXPECT_EQ(seq.GetHue(0), 77);
  ExpectCurvesInLine(seq);
}

// The default working space and white, the default space under another
// white, a wide-gamut space, and the space whose stored matrices round worst.
constexpr TColorSettings kGamutEdgeSettings[] = {
    {0, 3, 2.2, 2}, {0, 1, 2.2, 2}, {15, 1, 2.2, 2}, {12, 3, 2.2, 2}};

std::string Describe(const TColorSettings& s) {
  return std::string(RGBConversionNames[s.RGBConversion]) + "/" +
         std::string(ReferenceWhiteNames[s.ReferenceWhite]);
}

// How far a colour lies outside [0, 1] in linear light (0 inside).
double GamutExcursion(const TLCh& point, const TColorSettings* settings) {
  double r, g, b;
  LChToLinearRGB(point, r, g, b, settings);
  return std::max({0.0, -r, -g, -b, r - 1, g - 1, b - 1});
}

// A curve palette whose curves' middle points (the most saturated colours of
// their hues) are pushed 1% beyond the gamut's edge in chroma whenever a
// curve is shaped.
template <class TPalette>
class TBeyondEdgePalette : public TPalette {
 public:
  void UpdateCurve(int curveIndex) override {
    TPalette::UpdateCurve(curveIndex);
    TColorCurve& curve = this->CurveAt(curveIndex);
    TLCh middle = curve.GetControlPoint(1);
    middle.C *= 1.01;
    curve.SetControlPoints(curve.GetControlPoint(0), middle, curve.GetControlPoint(2));
  }
};

template <class TPalette>
std::unique_ptr<TQuantitativePalette> MakeCurvePalette(bool beyondEdge) {
  if (beyondEdge) return std::make_unique<TBeyondEdgePalette<TPalette>>();
  return std::make_unique<TPalette>();
}

// A curve palette kind, and the palette position that reads curve `curve` at
// curve position s < 1 (the diverging palette with its mid point at 0.5:
// curve 1 from its dark end up to the middle, curve 0 from there down).
struct TCurveKind {
  const char* Name;
  std::unique_ptr<TQuantitativePalette> (*Make)(bool beyondEdge);
  double (*PositionOf)(int curve, double s);
};

const TCurveKind kCurveKinds[] = {
    {"sequential", &MakeCurvePalette<TSequentialPalette>, [](int, double s) { return s; }},
    {"diverging", &MakeCurvePalette<TDivergingPalette>,
     [](int curve, double s) { return curve == 1 ? s / 2 : 1 - s / 2; }},
};

// At tension 1.0 each curve runs from black straight to its middle point
// along the gamut's face, then on to its light end. Curve i gets hue
// hue + 180 i.
std::unique_ptr<TQuantitativePalette> EdgePalette(const TCurveKind& kind, bool beyondEdge,
                                                  const TColorSettings& settings) {
  auto p = kind.Make(beyondEdge);
  p->SetColorSettings(&settings);
  p->SetSaturation(1);
  return p;
}

void SetHues(TQuantitativePalette& p, int hue) {
  for (int i = 0; i < p.NumCurves(); ++i) p.SetHue(i, (hue + 180 * i) % 360);
}

TRGB ColorAt(const TBasePalette& p, bool allowOutOfRange, double t) {
  TRGB rgb;
  p.GetColor(allowOutOfRange, rgb, t);
  return rgb;
}

// On the face the rounding of the stored matrices leaves many colours a hair
// outside in linear light, which LChToRGB marks: none of them is greyed, while
// colours clearly outside still are.
TEST(QuantitativePalette, EdgeColoursAreNotGreyed) {
  for (const TCurveKind& kind : kCurveKinds) {
    for (const TColorSettings& settings : kGamutEdgeSettings) {
      SCOPED_TRACE(testing::Message() << kind.Name << " " << Describe(settings));
      const auto p = EdgePalette(kind, false, settings);
      int edgeMarkedOutside = 0, clearlyOutside = 0;
      for (int hue = 0; hue < 360; hue += 5) {
        SetHues(*p, hue);
        for (int curve = 0; curve < p->NumCurves(); ++curve) {
          const TColorCurve& c = p->GetCurve(curve);
          for (int k = 0; k < 100; ++k) {
            const double s = k / 100.0, t = kind.PositionOf(curve, s);
            SCOPED_TRACE(testing::Message() << "hue " << hue << " curve " << curve << " s " << s);
            const TLCh point = c.GetLCh(s);
            const TRGB strict = ColorAt(*p, false, t);
            if (point.L <= c.GetControlPoint(1).L) {
              if (!IsRGBInRange(LChToRGB(point, &settings))) ++edgeMarkedOutside;
              ExpectRGBEq(strict, ColorAt(*p, true, t));
            } else if (GamutExcursion(point, &settings) > 1e-3) {
              ++clearlyOutside;
              ExpectRGBEq(strict, kOutOfGamutGrey);
            }
          }
        }
      }
      EXPECT_GT(edgeMarkedOutside, 0) << "the sweep must meet edge colours marked outside";
      EXPECT_GT(clearlyOutside, 0) << "the sweep must reach clearly outside the gamut";
    }
  }
}

TEST(QuantitativePalette, MiddlePointBeyondTheEdgeIsGreyed) {
  for (const TCurveKind& kind : kCurveKinds) {
    for (const TColorSettings& settings : kGamutEdgeSettings) {
      SCOPED_TRACE(testing::Message() << kind.Name << " " << Describe(settings));
      const auto p = EdgePalette(kind, true, settings);
      for (int hue = 0; hue < 360; hue += 5) {
        SetHues(*p, hue);
        for (int curve = 0; curve < p->NumCurves(); ++curve) {
          SCOPED_TRACE(testing::Message() << "hue " << hue << " curve " << curve);
          // The sample of the dark half nearest the middle point.
          const TColorCurve& c = p->GetCurve(curve);
          int k = 999;
          while (k > 0 && c.GetLCh(k / 1000.0).L > c.GetControlPoint(1).L) --k;
          const double s = k / 1000.0;
          ASSERT_GT(GamutExcursion(c.GetLCh(s), &settings), 1e-3);
          ExpectRGBEq(ColorAt(*p, false, kind.PositionOf(curve, s)), kOutOfGamutGrey);
        }
      }
    }
  }
}

}  // namespace
