#include "app/core/window/colour_slider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "colour/colour_interpolation.h"
#include "colour/rgb_spaces.h"
#include "foundation/format_settings.h"
#include "foundation/rounding.h"
#include "graphics/bitmap32.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

constexpr int kPanelSize = 225;  // the tool's panel
constexpr int kWidth = kPanelSize - kSliderWidthMargin;
constexpr TColor32 kFrame = Color32(153, 153, 153);
constexpr TColor32 kThumbOuter = Color32(102, 102, 102);
constexpr TColor32 kTick = Color32(170, 170, 170);

// Text with a '.', written with the user's decimal separator as the value texts are.
std::string InUserLocale(std::string text) {
  std::replace(text.begin(), text.end(), '.', UserFormatSettings().DecimalSeparator);
  return text;
}
constexpr TColor32 kBlank = Color32(1, 2, 3);

double BlueHue() { return GetPrimaryHue(pcBlue, nullptr); }

// A slider at the panel's first slider position over a blank bitmap.
class ColorSliderTest : public ::testing::Test {
 protected:
  ColorSliderTest() : Bitmap(kPanelSize, kPanelSize), Slider(Palette, Bitmap) {
    Bitmap.Clear(kBlank);
    Slider.Left = kSliderLeft;
    Slider.Top = 10;
    Slider.Width = kWidth;
    Slider.Height = kSliderHeight;
  }
  TSequentialPalette& Seq() { return Palette.SeqPal(); }

  TColorPalette Palette;
  TBitmap32 Bitmap;
  TColorSlider Slider;
};

}  // namespace

TEST(SliderLayout, KindsAndTopsPerPaletteType) {
  struct Case {
    TPaletteType Type;
    std::vector<TSliderKind> Kinds;
    std::vector<int> Tops;
  };
  const Case cases[] = {
      {ptSeq, {skHue, skColdWarm, skBrightness, skSaturation, skContrast}, {10, 50, 110, 150, 190}},
      {ptDiv,
       {skHue, skHue, skColdWarm, skMidPoint, skBrightness, skSaturation, skContrast},
       {10, 50, 90, 130, 190, 230, 270}},
      {ptQual,
       {skHueShift, skHueRange, skBrightness, skSaturation, skContrast},
       {10, 50, 90, 130, 170}},
      {ptCustom, {}, {}},
      {ptBase, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Type));
    const auto kinds = SliderKindsFor(c.Type);
    EXPECT_EQ(std::vector<TSliderKind>(kinds.begin(), kinds.end()), c.Kinds);
    for (size_t i = 0; i < c.Tops.size(); ++i)
      EXPECT_EQ(SliderTop(c.Type, static_cast<int>(i)), c.Tops[i]);
  }
  EXPECT_EQ(SliderKindNames[skHueShift], "Hue Shift");
  EXPECT_EQ(kWidth, 102);
}

TEST(PanelBackground, FadesDownToThePanelColour) {
  TBitmap32 bitmap(10, 100);
  DrawPanelBackground(bitmap);
  constexpr TColor top = 252 | 252 << 8 | 254 << 16;
  constexpr TColor bottom = 244 | 243 << 8 | 238 << 16;
  EXPECT_EQ(bitmap.Pixel(0, 0), Color32(252, 252, 254));
  EXPECT_EQ(bitmap.Pixel(9, 30), Color32(BlendColors(top, bottom, 30 / 55.0)));
  EXPECT_EQ(bitmap.Pixel(5, 55), Color32(244, 243, 238));
  EXPECT_EQ(bitmap.Pixel(5, 99), Color32(244, 243, 238));
}

TEST_F(ColorSliderTest, ThumbAndTickAtTheirColumns) {
  // Saturation 0.3: x = round(98 * 0.3) + 75 = 104; default 0.6: x = round(58.8) + 75 = 134.
  Slider.Kind = skSaturation;
  Seq().SetSaturation(0.3);
  Slider.Draw();
  const int top = Slider.Top, bottom = Slider.Top + kSliderHeight;
  EXPECT_EQ(Slider.MarkerX(0.3), 104);
  for (int y : {top - 2, top + 5, bottom + 1}) {
    SCOPED_TRACE(y);
    EXPECT_EQ(Bitmap.Pixel(104 - 3, y), kThumbOuter);
    EXPECT_EQ(Bitmap.Pixel(104 + 3, y), kThumbOuter);
  }
  EXPECT_EQ(Bitmap.Pixel(104 - 2, top + 5), kFrame);
  EXPECT_EQ(Bitmap.Pixel(104 + 2, top + 5), kFrame);
  EXPECT_EQ(Bitmap.Pixel(104, top - 2), kThumbOuter);
  EXPECT_EQ(Bitmap.Pixel(104, top - 3), kBlank);

  for (int y : {top - 4, top - 1, bottom, bottom + 3}) EXPECT_EQ(Bitmap.Pixel(134, y), kTick) << y;
  EXPECT_EQ(Bitmap.Pixel(134, top - 5), kBlank);
  EXPECT_EQ(Bitmap.Pixel(134, bottom + 4), kBlank);
  EXPECT_NE(Bitmap.Pixel(135, top - 1), kTick);
  // The frame round the preview.
  EXPECT_EQ(Bitmap.Pixel(kSliderLeft - 1, top + 10), kFrame);
  EXPECT_EQ(Bitmap.Pixel(kSliderLeft + kWidth, top + 10), kFrame);
  EXPECT_EQ(Bitmap.Pixel(kSliderLeft + 10, top + 20), kFrame);
}

TEST_F(ColorSliderTest, ContrastTickIsTheAutomaticContrastAndTheFlagIsKept) {
  Slider.Kind = skContrast;
  for (bool automated : {false, true}) {
    SCOPED_TRACE(automated);
    Seq().SetAutomatedContrast(automated);
    // 5 colours: 1 - 6 * 0.06 = 0.64.
    ASSERT_TRUE(Slider.DefaultPosition().has_value());
    EXPECT_DOUBLE_EQ(*Slider.DefaultPosition(), 0.64);
    Slider.Draw();
    EXPECT_EQ(Seq().AutomatedContrast(), automated);
    EXPECT_EQ(Bitmap.Pixel(Slider.MarkerX(0.64), Slider.Top - 4), kTick);
  }
}

TEST_F(ColorSliderTest, PreviewShowsTheScratchPaletteSwatches) {
  Slider.Kind = skBrightness;
  Slider.Draw();
  // Column x1 = round(2 * 102 / 4) = 51 of step 2 shows brightness 0.5 of a
  // 5-colour copy with 0.8 of the contrast, the last swatch on top.
  TColorPalette scratch;
  scratch.Assign(Palette);
  scratch.SetNumColors(5);
  scratch.SeqPal().SetContrast(0.8 * Seq().GetContrast());
  scratch.SeqPal().SetBrightness(0.5);
  for (int j = 0; j < 5; ++j) {
    SCOPED_TRACE(j);
    for (int dy : {0, 3})
      EXPECT_EQ(Bitmap.Pixel(kSliderLeft + 51, 10 + 4 * j + dy),
                Color32(scratch.GetIndexTColor(4 - j)));
  }
  // The palette itself is untouched.
  EXPECT_EQ(Seq().Brightness(), 0.75);
  EXPECT_EQ(Palette.GetNumColors(), 5);
}

TEST_F(ColorSliderTest, DivergingHuePreviewShowsItsHalf) {
  Palette.SetNumColors(9);
  Palette.SetPaletteType(ptDiv);
  Slider.Kind = skHue;
  Slider.HueIndex = 1;
  Slider.Draw();
  // Column 0 shows step 0: hue 0.1 past blue, sampled over the lower half.
  TColorPalette scratch;
  scratch.Assign(Palette);
  scratch.SetNumColors(5);
  scratch.DivPal().SetContrast(0.6 * Palette.DivPal().GetContrast());
  scratch.DivPal().SetMidPoint(0.5);
  scratch.DivPal().SetHue(1, FloatMod(BlueHue() + 0.1, 360));
  for (int j = 0; j < 5; ++j)
    EXPECT_EQ(Bitmap.Pixel(kSliderLeft, 10 + 4 * j), Color32(scratch.GetTColor(0.5 - j / 8.0)))
        << j;
}

TEST_F(ColorSliderTest, NothingDrawnOffTheBitmapOrWithoutWidth) {
  const TBitmap32 blank = Bitmap;
  Slider.Kind = skContrast;
  Slider.Top = 230;  // a diverging palette's last sliders lie below the panel
  Slider.Draw();
  EXPECT_EQ(Bitmap.Pixel(kSliderLeft + 10, kPanelSize - 1), kBlank);
  Slider.Top = 10;
  Slider.Width = 0;  // a panel exactly 123 pixels wide
  Slider.Draw();
  EXPECT_FALSE(Slider.Contains(kSliderLeft, 15));
  Slider.DragTo(kSliderLeft);
  for (int y = 0; y < kPanelSize; ++y)
    for (int x = 0; x < kPanelSize; ++x)
      ASSERT_EQ(Bitmap.Pixel(x, y), blank.Pixel(x, y)) << x << "," << y;
  EXPECT_EQ(Seq().GetContrast(), 0.88);
  // A typed value far outside the range draws its thumb off the bitmap.
  Slider.Width = kWidth;
  Seq().SetContrast(1e12);
  Slider.Draw();
}

TEST_F(ColorSliderTest, HueScaleStartsAtBlue) {
  const double blue = BlueHue();
  struct Case {
    int X;
    double Hue;
    double Shown;
  };
  const Case cases[] = {
      {kSliderLeft, blue + 0.1, 0},
      {kSliderLeft - 30, blue + 0.1, 0},  // limited to the left end
      {kSliderLeft + kWidth, FloatMod(blue - 0.1, 360), 360},
      {kSliderLeft + kWidth / 2, FloatMod(180 + blue - 0.1, 360), 180},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.X);
    Slider.DragTo(c.X);
    EXPECT_DOUBLE_EQ(Seq().GetHue(0), c.Hue);
    EXPECT_EQ(Slider.ShownValue(), c.Shown);
  }
  // Typed: 360 is blue itself, 0 keeps 0.1 off it; blue reads 360.
  Slider.ApplyTypedValue(360);
  EXPECT_DOUBLE_EQ(Seq().GetHue(0), blue);
  EXPECT_EQ(Slider.ValueText(), "360");
  Slider.ApplyTypedValue(0);
  EXPECT_DOUBLE_EQ(Seq().GetHue(0), blue + 0.1);
  EXPECT_EQ(Slider.ValueText(), "0");
  Slider.ApplyTypedValue(90);
  EXPECT_DOUBLE_EQ(Seq().GetHue(0), FloatMod(blue + 90.1, 360));
  EXPECT_NEAR(*Slider.ThumbPosition(), 0.25, 1e-12);
}

TEST_F(ColorSliderTest, DragWritesThePositionAndSparesAutomaticContrast) {
  Slider.Kind = skSaturation;
  Slider.DragTo(kSliderLeft + 300);
  EXPECT_EQ(Seq().Saturation(), 1);
  Slider.DragTo(kSliderLeft + 51);
  EXPECT_EQ(Seq().Saturation(), 0.5);
  Slider.Kind = skContrast;
  Seq().SetAutomatedContrast(true);
  Slider.DragTo(kSliderLeft + 51);
  EXPECT_EQ(Seq().Contrast(), 0.88);
  // A typed contrast is stored all the same; the automatic one stays in force.
  EXPECT_TRUE(Slider.ApplyTypedValue(0.3));
  EXPECT_EQ(Seq().Contrast(), 0.3);
  EXPECT_EQ(Slider.ValueText(), InUserLocale("0.64"));
  Seq().SetAutomatedContrast(false);
  Slider.DragTo(kSliderLeft + 51);
  EXPECT_EQ(Seq().Contrast(), 0.5);
}

TEST_F(ColorSliderTest, QualitativeFieldsAndMismatchedKinds) {
  Palette.SetPaletteType(ptQual);
  Slider.Kind = skHueRange;
  Slider.DragTo(kSliderLeft + 51);
  EXPECT_EQ(Palette.QualPal().HueRange(), 0.5);
  EXPECT_EQ(Slider.DefaultPosition(), 1.0);
  Slider.Kind = skContrast;
  EXPECT_TRUE(Slider.ApplyTypedValue(2.346));
  EXPECT_EQ(Palette.QualPal().Contrast(), 2.346);
  EXPECT_EQ(Slider.ValueText(), InUserLocale("2.35"));  // shown to 2 decimals
  // A curve-palette kind on a qualitative palette drives nothing.
  Slider.Kind = skMidPoint;
  EXPECT_FALSE(Slider.ApplyTypedValue(0.2));
  EXPECT_FALSE(Slider.ThumbPosition().has_value());
  EXPECT_EQ(Slider.ValueText(), "");
  Slider.Draw();
}

TEST_F(ColorSliderTest, MidPointStepAndLabels) {
  Palette.SetPaletteType(ptDiv);
  Slider.Kind = skMidPoint;
  struct Case {
    int NumColors;
    bool Continuous;
    double Step;
  };
  const Case cases[] = {
      {5, false, 0.125}, {2, false, 0.5}, {5, true, 0.01}, {1, false, 0}, {0, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.NumColors);
    Palette.SetNumColors(c.NumColors);
    Palette.SetContinuous(c.Continuous);
    EXPECT_EQ(Slider.StepRange().Step, c.Step);
  }
  Slider.Kind = skHue;
  Slider.HueIndex = 1;
  EXPECT_EQ(Slider.LabelText(), "Hue 2:");
  EXPECT_EQ(Slider.StepRange().Min, -20);
  EXPECT_EQ(Slider.StepRange().Max, 370);
  Palette.SetPaletteType(ptSeq);
  Slider.HueIndex = 0;
  EXPECT_EQ(Slider.LabelText(), "Hue:");
  Slider.Kind = skColdWarm;
  EXPECT_EQ(Slider.LabelText(), "Cold/Warm:");
}
