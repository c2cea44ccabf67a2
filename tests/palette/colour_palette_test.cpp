#include "palette/colour_palette.h"

#include <gtest/gtest.h>

#include <functional>
#include <string_view>

#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"
#include "palette/colour_curve.h"

namespace {

constexpr std::string_view kTypeMessage =
    "SetPaletteType is called with an unsupported palette type (use only ptSeq, ptDiv or ptQual)";

TRGB HolderColor(const TColorPalette& p, double t) {
  TRGB rgb;
  p.GetColor(t, rgb);
  return rgb;
}

TEST(ColorPalette, StartsSequential) {
  TColorPalette p;
  EXPECT_EQ(p.Typ(), ptSeq);
  EXPECT_EQ(&p.Current(), &p.SeqPal());
  EXPECT_EQ(p.GetNumColors(), 5);
  EXPECT_EQ(p.GetName(), "");
  EXPECT_FALSE(p.GetContinuous());
}

TEST(ColorPalette, SetPaletteTypeSelectsTheCurrentPalette) {
  TColorPalette p;
  p.SetPaletteType(ptCustom);  // accepted, although the message leaves it out
  EXPECT_EQ(&p.Current(), &p.CustPal());
  EXPECT_EQ(p.GetNumColors(), 0);
  p.SetPaletteType(ptQual);
  EXPECT_EQ(&p.Current(), &p.QualPal());
  EXPECT_EQ(p.GetNumColors(), 6);
  p.SetPaletteType(ptDiv);
  EXPECT_EQ(&p.Current(), &p.DivPal());
  for (int bad : {0, int{ptBase}, int{ptQuantitative}, 7, 255}) {
    SCOPED_TRACE(bad);
    try {
      p.SetPaletteType(static_cast<TPaletteType>(bad));
      ADD_FAILURE() << "no exception";
    } catch (const EPaletteTypeError& e) {
      EXPECT_EQ(std::string_view(e.what()), kTypeMessage);
    }
    EXPECT_EQ(p.Typ(), ptDiv);
    EXPECT_EQ(&p.Current(), &p.DivPal());
  }
}

TEST(ColorPalette, TypedGettersCheckTheType) {
  struct Getter {
    TPaletteType type;
    std::function<void(const TColorPalette&)> get;
    std::string_view message;
  };
  const Getter getters[] = {
      {ptCustom, [](const TColorPalette& p) { p.CustPal(); },
       ".CustPal can only be used if the palette type (.Typ) is ptCustom"},
      {ptDiv, [](const TColorPalette& p) { p.DivPal(); },
       ".DivPal can only be used if the palette type (.Typ) is ptDiv"},
      {ptQual, [](const TColorPalette& p) { p.QualPal(); },
       ".QualPal can only be used if the palette type (.Typ) is ptQual"},
      {ptSeq, [](const TColorPalette& p) { p.SeqPal(); },
       ".SeqPal can only be used if the palette type (.Typ) is ptSeq"},
  };
  TColorPalette p;
  for (TPaletteType type : {ptCustom, ptSeq, ptDiv, ptQual}) {
    p.SetPaletteType(type);
    for (const Getter& g : getters) {
      SCOPED_TRACE(testing::Message() << "type " << int(type) << ": " << g.message);
      if (g.type == type) {
        EXPECT_NO_THROW(g.get(p));
        continue;
      }
      try {
        g.get(p);
        ADD_FAILURE() << "no assertion failure";
      } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), g.message);
      }
    }
  }
}

TEST(ColorPalette, EachKindKeepsItsStateAcrossSwitches) {
  TColorPalette p;
  p.SeqPal().SetHue(0, 140);
  p.SetPaletteType(ptDiv);
  p.DivPal().SetContinuous(true);
  p.DivPal().SetMidPoint(0.3);
  p.SetPaletteType(ptQual);
  p.QualPal().SetHueShift(0.25);
  p.SetPaletteType(ptCustom);
  p.CustPal().AddKey(TRGB{1, 2, 3});
  p.SetPaletteType(ptSeq);
  EXPECT_EQ(p.SeqPal().GetHue(0), 140);
  p.SetPaletteType(ptDiv);
  EXPECT_EQ(p.DivPal().MidPoint(), 0.3);
  p.SetPaletteType(ptQual);
  EXPECT_EQ(p.QualPal().HueShift(), 0.25);
  p.SetPaletteType(ptCustom);
  EXPECT_EQ(p.CustPal().GetKeyCount(), 1);
}

TEST(ColorPalette, FanOutReachesAllFourPalettes) {
  TColorSettings settings;
  settings.RGBConversion = 1;
  TColorPalette p;
  p.SetNumColors(8);
  p.SetName("AutoPalette");
  p.SetContinuous(true);
  p.SetColorSettings(&settings);
  for (TPaletteType type : {ptCustom, ptSeq, ptDiv, ptQual}) {
    SCOPED_TRACE(int(type));
    p.SetPaletteType(type);
    const TBasePalette& c = p.Current();
    EXPECT_EQ(c.NumColors(), 8);
    EXPECT_EQ(c.Name(), "AutoPalette");
    EXPECT_TRUE(c.Continuous());
    EXPECT_EQ(c.ColorSettings(), &settings);
  }
  p.SetPaletteType(ptSeq);
  EXPECT_EQ(p.SeqPal().GetCurve(0).ColorSettings, &settings);  // the curves follow
}

TEST(ColorPalette, SetContinuousRecomputesNothing) {
  TColorPalette p;
  p.SetPaletteType(ptDiv);
  p.DivPal().SetMidPoint(0.3);  // snapped to 0.25
  p.SetContinuous(true);
  EXPECT_EQ(p.DivPal().MidPoint(), 0.25);
}

TEST(ColorPalette, AssignMakesAnIndependentCopy) {
  TColorPalette source;
  source.SetName("Custom");
  source.SeqPal().SetHue(0, 33);
  source.SetPaletteType(ptCustom);
  source.CustPal().AddKey(TRGB{255, 0, 0});
  source.CustPal().AddKey(TRGB{0, 0, 255});
  source.SetPaletteType(ptQual);
  source.QualPal().SetSaturation(0.2);

  TColorPalette copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Typ(), ptQual);
  EXPECT_EQ(&copy.Current(), &copy.QualPal());
  EXPECT_EQ(copy.QualPal().Saturation(), 0.2);
  EXPECT_EQ(copy.GetName(), "Custom");

  // Later edits of the source do not reach the copy.
  source.QualPal().SetSaturation(0.9);
  source.SetPaletteType(ptCustom);
  source.CustPal().SetKey(0, TRGB{0, 255, 0});
  source.CustPal().AddKey(TRGB{9, 9, 9});
  source.SetPaletteType(ptSeq);
  source.SeqPal().SetHue(0, 200);

  EXPECT_EQ(copy.QualPal().Saturation(), 0.2);
  copy.SetPaletteType(ptCustom);
  ASSERT_EQ(copy.CustPal().GetKeyCount(), 2);
  TRGB key;
  copy.CustPal().GetKey(0, key);
  EXPECT_EQ(key, (TRGB{255, 0, 0}));
  copy.SetPaletteType(ptSeq);
  EXPECT_EQ(copy.SeqPal().GetHue(0), 33);

  copy.Assign(copy);  // from itself: unchanged
  EXPECT_EQ(copy.Typ(), ptSeq);
  copy.SetPaletteType(ptCustom);
  EXPECT_EQ(copy.CustPal().GetKeyCount(), 2);
}

TEST(ColorPalette, ColoursThroughTheHolderAreClamped) {
  TColorPalette p;
  // A sequential palette outside the gamut: clamped, never the grey.
  p.SeqPal().SetColdWarm(1);
  p.SeqPal().SetSaturation(1);
  int outside = 0;
  for (int hue = 0; hue < 360; hue += 15) {
    p.SeqPal().SetHue(0, hue);
    for (int k = 0; k <= 40; ++k) {
      const double t = k / 40.0;
      const TRGB c = p.SeqPal().GetCurve(0).GetRGB(t);
      if (IsRGBInRange(c)) continue;
      ++outside;
      EXPECT_EQ(HolderColor(p, t), ClampRGB(c));
    }
  }
  EXPECT_GT(outside, 0);

  // Custom keys outside 0..255 come out clamped, without greying; the same
  // for swatches and the packed forms.
  p.SetPaletteType(ptCustom);
  p.CustPal().AddKey(TRGB{300, -20, 128});
  p.SetNumColors(1);
  EXPECT_EQ(HolderColor(p, 0.5), (TRGB{255, 0, 128}));
  TRGB swatch;
  p.GetIndexColor(0, swatch);
  EXPECT_EQ(swatch, (TRGB{255, 0, 128}));
  EXPECT_EQ(p.GetTColor(0.5), RGBToColor(255, 0, 128));
  EXPECT_EQ(p.GetIndexTColor(0), RGBToColor(255, 0, 128));

  // Qualitative colours that leave the gamut are clamped as well.
  p.SetPaletteType(ptQual);
  p.QualPal().SetSaturation(1);
  outside = 0;
  for (int k = 0; k < 360; ++k) {
    TRGB own;
    p.Current().GetColor(true, own, k / 360.0);
    if (IsRGBInRange(own)) continue;
    ++outside;
    EXPECT_EQ(HolderColor(p, k / 360.0), ClampRGB(own));
  }
  EXPECT_GT(outside, 0);
}

}  // namespace
