#include "app/core/viewport/screen_mapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"

namespace {

TScreenGeometry View(TViewType type, int size, const TColorSettings* settings = nullptr) {
  return {type, size, size, settings};
}

// The axis whose coordinate is a hue angle, where x = 0 and x = W - 1 meet.
bool HueAcross(TViewType t) {
  return t == vtLuvC || t == vtLuvL2 || t == vtLabC || t == vtHLS_S || t == vtHSV_S || t == vtOppC;
}
// The hue lines through grey: only the right half is reached from a colour.
bool HueLine(TViewType t) { return t == vtLuvHFull || t == vtLuvHFull2 || t == vtLabH || t == vtOppH; }
bool Disc(TViewType t) { return t == vtHLS_L || t == vtHSV_V; }

double MaxChannelDifference(const TRGB& a, const TRGB& b) {
  return std::max({std::fabs(a.R - b.R), std::fabs(a.G - b.G), std::fabs(a.B - b.B)});
}

// Colours inside the RGB cube on a grid, kept away from greys (a grey's hue
// is not a coordinate of it) and from the cube's faces (where a step outside
// is clamped, and the power law near 0 magnifies any step).
std::vector<TRGB> ColourGrid() {
  std::vector<TRGB> grid;
  for (int r = 26; r <= 255; r += 51)
    for (int g = 26; g <= 255; g += 51)
      for (int b = 26; b <= 255; b += 51)
        if (!(r == g && g == b)) grid.push_back({double(r), double(g), double(b)});
  return grid;
}

}  // namespace

// A colour mapped to its pixel and back, keeping its slider coordinate,
// returns within what one pixel spans: on a 2001-pixel image a step of 1/2000
// of each axis moves a channel by well under 2 levels (HLS and HSV results
// are whole numbers, which adds up to 0.5).
TEST(ScreenMapping, ColourToScreenAndBack) {
  const TColorSettings other{1, 1, 1.8, 2};
  for (const TColorSettings* settings : {static_cast<const TColorSettings*>(nullptr), &other}) {
    for (TViewType type = 0; type < kNumViewTypes; ++type) {
      SCOPED_TRACE(std::string(ViewTypeInfo[type].Name) + (settings ? " other settings" : ""));
      const TScreenGeometry g = View(type, 2001, settings);
      double worst = 0;
      TRGB worstColour;
      for (const TRGB& c : ColourGrid()) {
        const TScreenPoint p = ColorToScreen(g, c);
        const TRGB back = ClampRGB(ScreenToColorKeepThird(g, p.X, p.Y, c));
        const double d = MaxChannelDifference(c, back);
        if (d > worst) {
          worst = d;
          worstColour = c;
        }
      }
      EXPECT_LT(worst, 2.0) << worstColour.R << "," << worstColour.G << "," << worstColour.B;
    }
  }
}

// Every pixel whose colour lies inside the gamut maps back onto itself.
TEST(ScreenMapping, ScreenToColourAndBack) {
  constexpr int kSize = 65;
  for (TViewType type = 0; type < kNumViewTypes; ++type) {
    SCOPED_TRACE(ViewTypeInfo[type].Name);
    const TViewTypeInfo& info = ViewTypeInfo[type];
    int checked = 0;
    for (double third : {info.Min + (info.Max - info.Min) * 0.3, info.Min + (info.Max - info.Min) * 0.6}) {
      const TScreenGeometry g = View(type, kSize);
      for (int y = 0; y < kSize; ++y)
        for (int x = HueLine(type) ? kSize / 2 + 1 : 0; x < kSize; ++x) {
          const TRGB c = ScreenToColor(g, x, y, third);
          if (!IsRGBInRange(c)) continue;
          // Near grey the hue (and in the discs the angle) is no coordinate.
          double L, C, h;
          RGBToLCh(c, L, C, h, nullptr);
          const THSV hsv = RGBToHSV(c);
          if ((HueAcross(type) || Disc(type)) && (C < 5 || hsv.S < 10)) continue;
          // At HLS lightness 0 or 255 and HSV value 0 a whole row is one grey.
          if (type >= vtHLS_H && type <= vtHSV_V && hsv.S == 0) continue;
          // Near black the CIE chroma collapses: any chroma gives black.
          if (type <= vtLabH && L < 5) continue;
          const TScreenPoint p = ColorToScreen(g, c);
          int dx = std::abs(p.X - x);
          if (HueAcross(type)) dx = std::min(dx, kSize - 1 - dx);  // hue 0 and 360 meet
          // HLS and HSV colours come back as whole numbers: up to two pixels.
          const int tolerance = type >= vtHLS_H && type <= vtHSV_V ? 2 : 1;
          ASSERT_LE(dx, tolerance) << x << "," << y << " third " << third;
          ASSERT_LE(std::abs(p.Y - y), tolerance) << x << "," << y << " third " << third;
          ++checked;
        }
    }
    EXPECT_GT(checked, 40);  // the sweep reached a fair part of the image
  }
}

TEST(ScreenMapping, KnownPoints) {
  const TRGB white{255, 255, 255};
  EXPECT_EQ(ColorToScreen(View(vtLuvL, 101), white), (TScreenPoint{50, 50}));
  EXPECT_EQ(ColorToScreen(View(vtLuvH, 101), white), (TScreenPoint{0, 0}));
  // Clamped first: a colour beyond the cube lands where its clamped colour does.
  EXPECT_EQ(ColorToScreen(View(vtRGB_R, 256), TRGB{20, 300, -5}), (TScreenPoint{255, 0}));
  // The hue lines take chroma as never negative: the right half only.
  EXPECT_GE(ColorToScreen(View(vtLuvHFull, 101), TRGB{0, 0, 255}).X, 50);
  // Screen coordinates round halves to even.
  EXPECT_EQ(ColorToScreen(View(vtRGB_G, 6), TRGB{127.5, 0, 25.5}), (TScreenPoint{2, 0}));
  // A saturation factor of 0 (lightness or value 0) gives a saturation far
  // outside, which at that level is black.
  EXPECT_EQ(ScreenToColor(View(vtHLS_L, 101), 10, 10, 0), (TRGB{0, 0, 0}));
  EXPECT_EQ(ScreenToColor(View(vtHSV_H, 101), 30, 100, 0), (TRGB{0, 0, 0}));  // value 0
}

// Control points of the CIE view types are placed from L*, C, h themselves:
// inside the gamut where the colour would be, outside it not clamped.
TEST(ScreenMapping, ControlPoints) {
  for (TViewType type = 0; type < kNumViewTypes; ++type) {
    SCOPED_TRACE(ViewTypeInfo[type].Name);
    const TScreenGeometry g = View(type, 401);
    for (const TRGB& c : ColourGrid()) {
      const TScreenPoint viaColour = ColorToScreen(g, c);
      const TScreenPoint viaPoint = ControlPointToScreen(g, RGBToLCh(c, nullptr));
      int dx = std::abs(viaColour.X - viaPoint.X);
      if (HueAcross(type)) dx = std::min(dx, 400 - dx);
      ASSERT_LE(dx, 1) << c.R << "," << c.G << "," << c.B;
      ASSERT_LE(std::abs(viaColour.Y - viaPoint.Y), 1) << c.R << "," << c.G << "," << c.B;
    }
  }
  const TLCh vivid{50, 350, 0};  // far outside the gamut
  EXPECT_EQ(ControlPointToScreen(View(vtLuvH, 401), vivid), (TScreenPoint{350, 200}));
  EXPECT_GT(ControlPointToScreen(View(vtLuvL, 401), vivid).X, 400);
  const TScreenPoint clamped = ControlPointToScreen(View(vtRGB_R, 401), vivid);
  EXPECT_LE(clamped.X, 400);
  EXPECT_LE(clamped.Y, 400);
}

TEST(ScreenMapping, SliderAxisValues) {
  const TRGB c{200, 100, 50};
  double L, u, v, C, h;
  RGBToLuv(c, L, u, v, nullptr);
  LuvToLCh(L, u, v, C, h);
  EXPECT_EQ(SliderAxisValue(vtLuvL, c, nullptr), L);
  EXPECT_EQ(SliderAxisValue(vtLuvC, c, nullptr), C);
  EXPECT_EQ(SliderAxisValue(vtLuvHFull, c, nullptr), h);
  EXPECT_FALSE(SliderAxisValue(vtLuvH2, c, nullptr));
  EXPECT_FALSE(SliderAxisValue(vtLuvHFull2, c, nullptr));
  EXPECT_EQ(SliderAxisValue(vtHSV_V, c, nullptr), 200);
  EXPECT_EQ(SliderAxisValue(vtRGB_G, c, nullptr), 100);
  // The path view types keep the hue when a key is dragged.
  const TRGB kept = ScreenToColorKeepThird(View(vtLuvH2, 101), 20, 40, c);
  EXPECT_NEAR(RGBToLCh(kept, nullptr).h, h, 1e-3);  // through RGB and back
}
