#include "palette/quantitative_palette.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string_view>

#include "colour/cie_spaces.h"
#include "colour/gamut.h"
#include "foundation/assertion.h"
#include "palette/colour_curve.h"
#include "palette/diverging_palette.h"
#include "palette/qualitative_palette.h"
#include "palette/sequential_palette.h"

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

}  // namespace
