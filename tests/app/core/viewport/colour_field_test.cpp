#include "app/core/viewport/colour_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "app/core/viewport/lightness_path.h"
#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"
#include "palette/colour_palette.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double Deg(double d) { return d / 360 * kTwoPi; }
double HLSFactor(double L) { return L <= 127.5 ? L / 127.5 : 1 - (L - 127.5) / 127.5; }

// The field's colour at one pixel straight from the per-pixel formulas with
// the library's conversions; nullopt where the pixel keeps the background.
// An oracle for the hoisted, tabulated renderer.
class TReferenceField {
 public:
  TReferenceField(TViewType type, int size, double S, const TColorSettings* settings, bool showAll,
                  std::optional<TPathTable> path)
      : T(type), W(size), S(S), Settings(settings), ShowAll(showAll), Path(path) {
    const double step = 255.0 / (W - 1);
    double v = -step;
    for (int i = 0; i < W; ++i) Steps.push_back(v += step);
  }

  std::optional<TColor32> At(int x, int y) const {
    const auto rgb = Colour(x, y);
    if (!rgb) return std::nullopt;
    if (!ShowAll && !IsRGBInRange(*rgb)) return std::nullopt;
    return 0xFF000000u | Swap(RGBToColorRounded(rgb->R, rgb->G, rgb->B));
  }

 private:
  static TColor32 Swap(TColor c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

  static TRGB HLSRule(double H, double L, double Sd) {
    const double f = HLSFactor(L);
    if (f == 0 && Sd != 0) return {-1, -1, -1};
    return HLSToRGB({H, L, f == 0 ? Sd : Sd / f});
  }
  static TRGB HSVRule(double H, double V, double Sd) {
    const double f = V / 255;
    if (f == 0 && Sd != 0) return {-1, -1, -1};
    return HSVToRGB({H, V, f == 0 ? Sd : Sd / f});
  }
  static TRGB Opp(double I, double RG, double YB) {
    TRGB c;
    OpponentToRGB(I, RG, YB, c.R, c.G, c.B);
    return c;
  }

  std::optional<TRGB> Colour(int x, int y) const {
    const double X = x / double(W - 1), Y = y / double(W - 1);
    const double down100 = (1 - Y) * 100, down255 = (1 - Y) * 255;
    const double t = (X - 0.5) * 2;
    const double xd = (X - 0.5) * 2, yd = (0.5 - Y) * 2;
    double discH = std::atan2(yd, xd) / kTwoPi * 360;
    if (discH < 0) discH += 360;
    const double discSd = 255 * std::sqrt(xd * xd + yd * yd);
    const TColorSettings* s = Settings;
    switch (T) {
      case 0: return LuvToRGB(S, (X - 0.5) * 400, (0.5 - Y) * 400, s);
      case 1: return LuvToRGB(down100, S * std::cos(Deg(X * 360)), S * std::sin(Deg(X * 360)), s);
      case 2: return LChToRGB(down100, X * 400, S, s);
      case 3: return LChToRGB(S, (1 - Y) * 200, X * 360, s);
      case 4:
        if (!Path) return std::nullopt;
        return LChToRGB(down100, X * 400, PathHue(*Path, down100), s);
      case 5: return LuvToRGB(down100, t * (200 * std::cos(Deg(S))), t * (200 * std::sin(Deg(S))), s);
      case 6:
        if (!Path) return std::nullopt;
        return LChToRGB(down100, (2 * X - 1) * 200, PathHue(*Path, down100), s);
      case 7: return LabToRGB(S, (X - 0.5) * 400, (0.5 - Y) * 400, s);
      case 8: return LabToRGB(down100, S * std::cos(Deg(X * 360)), S * std::sin(Deg(X * 360)), s);
      case 9: return LabToRGB(down100, t * (200 * std::cos(Deg(S))), t * (200 * std::sin(Deg(S))), s);
      case 10: return HLSRule(S, down255, X * 510);
      case 11: return HLSRule(discH, S, discSd);
      case 12: return HLSRule(X * 360, down255, S);
      case 13: return HSVRule(S, down255, X * 255);
      case 14: return HSVRule(X * 360, down255, S);
      case 15: return HSVRule(S == 0 ? 0 : discH, S, discSd);
      case 16: return TRGB{S, Steps[x], Steps[y]};
      case 17: return TRGB{Steps[x], S, Steps[y]};
      case 18: return TRGB{Steps[x], Steps[y], S};
      case 19: return Opp(S, (X - 0.5) * 200, (0.5 - Y) * 200);
      case 20: return Opp(down100, S * std::cos(Deg(X * 360)), S * std::sin(Deg(X * 360)));
      default: return Opp(down100, t * (100 * std::cos(Deg(S))), t * (100 * std::sin(Deg(S))));
    }
  }

  TViewType T;
  int W;
  double S;
  const TColorSettings* Settings;
  bool ShowAll;
  std::optional<TPathTable> Path;
  std::vector<double> Steps;
};

// Pixels of Bitmap that differ from the reference (the background where it
// gives none).
int Mismatches(const TBitmap32& bitmap, const TReferenceField& reference, std::string& first) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const TColor32 want = reference.At(x, y).value_or(kFieldBackground32);
      if (bitmap.Pixel(x, y) == want) continue;
      if (count++ == 0)
        first = "(" + std::to_string(x) + "," + std::to_string(y) + ") got " +
                std::to_string(bitmap.Pixel(x, y)) + " want " + std::to_string(want);
    }
  return count;
}

TBitmap32 Render(TViewType type, int size, double S, const TColorSettings* settings = nullptr,
                 bool showAll = false, std::span<TColorPalette* const> palettes = {}) {
  TBitmap32 bitmap(size, size);
  bitmap.Clear(kFieldBackground32);
  TFieldParams params;
  params.ViewType = type;
  params.SliderValue = S;
  params.Settings = settings;
  params.ShowPixelsOutOfRange = showAll;
  params.Palettes = palettes;
  RenderField(bitmap, params);
  return bitmap;
}

struct TRGB8 {
  int R, G, B;
  bool operator==(const TRGB8&) const = default;
};
TRGB8 PixelRGB(const TBitmap32& b, int x, int y) {
  const TColor32 c = b.Pixel(x, y);
  return {int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)};
}

// The pixels of columns [x0, x1) that are not background.
int DrawnPixels(const TBitmap32& b, int x0, int x1) {
  int drawn = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = x0; x < x1; ++x) drawn += b.Pixel(x, y) != kFieldBackground32;
  return drawn;
}

}  // namespace

// Every pixel of every view type, against the formulas evaluated one pixel
// at a time: odd and even sizes, out-of-range display off and on, two slider
// values, the default settings, another working space, white and gamma, and
// gammas outside the tabulated range.
TEST(ColourField, EveryPixelMatchesTheFormulas) {
  const TColorSettings sRGB_D50{1, 1, 1.8, 2};
  const TColorSettings lowGamma{0, 3, 0.05, 2};
  const TColorSettings highGamma{13, 5, 25.0, 2};
  const TColorSettings* settingsList[] = {nullptr, &sRGB_D50, &lowGamma, &highGamma};
  // Paths for the two path view types: a sequential palette (S <= 120) and a
  // custom palette with keys (S > 120).
  TColorPalette sequential;
  sequential.SetNumColors(6);
  TColorPalette custom;
  custom.SetPaletteType(ptCustom);
  custom.CustPal().AddKey(TRGB{200, 30, 40});
  custom.CustPal().AddKey(TRGB{20, 90, 220});
  custom.CustPal().AddKey(TRGB{250, 240, 60});
  custom.SetNumColors(3);
  TColorPalette* palettes[] = {&sequential, &custom};

  for (const TColorSettings* settings : settingsList) {
    for (TViewType type = 0; type < kNumViewTypes; ++type) {
      const TViewTypeInfo& info = ViewTypeInfo[type];
      const double values[] = {kDefaultSliderValues[type], info.Min + (info.Max - info.Min) * 0.7};
      for (double S : values) {
        for (int size : {41, 64}) {
          for (bool showAll : {false, true}) {
            SCOPED_TRACE(std::string(info.Name) + " S=" + std::to_string(S) + " size " +
                         std::to_string(size) + (showAll ? " shown" : "") +
                         (settings ? " gamma " + std::to_string(settings->Gamma) : " defaults"));
            const auto path = FollowsPalettePath(type) ? BuildPathTable(S, palettes, settings)
                                                       : std::nullopt;
            const TReferenceField reference(type, size, S, settings, showAll, path);
            std::string first;
            EXPECT_EQ(Mismatches(Render(type, size, S, settings, showAll, palettes), reference, first), 0)
                << first;
          }
        }
      }
    }
  }
}

// Known colours at known points.
TEST(ColourField, KnownPixels) {
  {
    SCOPED_TRACE("CIELuv_L* at 60: neutral centre, corners outside the gamut");
    const TBitmap32 off = Render(vtLuvL, 41, 60);
    const TRGB8 centre = PixelRGB(off, 20, 20);
    EXPECT_EQ(centre.R, centre.G);
    EXPECT_EQ(centre.G, centre.B);
    EXPECT_NE(off.Pixel(20, 20), kFieldBackground32);
    for (auto [x, y] : {std::pair{0, 0}, {40, 0}, {0, 40}, {40, 40}}) EXPECT_EQ(off.Pixel(x, y), kFieldBackground32);
    const TBitmap32 on = Render(vtLuvL, 41, 60, nullptr, true);
    for (auto [x, y] : {std::pair{0, 0}, {40, 0}, {0, 40}, {40, 40}}) EXPECT_NE(on.Pixel(x, y), kFieldBackground32);
    EXPECT_EQ(on.Pixel(20, 20), off.Pixel(20, 20));
  }
  {
    SCOPED_TRACE("CIELuv_H*: chroma 0 on the left edge is the grey of each row's lightness");
    const TBitmap32 b = Render(vtLuvH, 41, 123);
    const TRGB8 light = PixelRGB(b, 0, 1);  // L* 97.5
    EXPECT_EQ(light.R, light.G);
    EXPECT_EQ(light.G, light.B);
    EXPECT_GT(light.R, 240);
    EXPECT_EQ(PixelRGB(b, 0, 40), (TRGB8{0, 0, 0}));
  }
  {
    // 52 pixels: the step 255 / 51 is exactly 5, so the sums reach 255.
    SCOPED_TRACE("RGB planes: the cube's corners");
    const TBitmap32 r = Render(vtRGB_R, 52, 255);
    EXPECT_EQ(PixelRGB(r, 0, 0), (TRGB8{255, 0, 0}));
    EXPECT_EQ(PixelRGB(r, 51, 0), (TRGB8{255, 255, 0}));
    EXPECT_EQ(PixelRGB(r, 0, 51), (TRGB8{255, 0, 255}));
    EXPECT_EQ(PixelRGB(r, 51, 51), (TRGB8{255, 255, 255}));
    const TBitmap32 b = Render(vtRGB_B, 52, 0);
    EXPECT_EQ(PixelRGB(b, 0, 0), (TRGB8{0, 0, 0}));
    EXPECT_EQ(PixelRGB(b, 51, 0), (TRGB8{255, 0, 0}));
    EXPECT_EQ(PixelRGB(b, 0, 51), (TRGB8{0, 255, 0}));
  }
  {
    SCOPED_TRACE("HLS_H: the right half (display saturation above 256) stays background");
    const TBitmap32 b = Render(vtHLS_H, 41, 0);
    EXPECT_EQ(DrawnPixels(b, 21, 41), 0);
    EXPECT_EQ(PixelRGB(b, 0, 20), (TRGB8{128, 128, 128}));
  }
  {
    SCOPED_TRACE("HSV_V at 0: only the centre, black");
    const TBitmap32 b = Render(vtHSV_V, 41, 0);
    EXPECT_EQ(DrawnPixels(b, 0, 41), 1);
    EXPECT_EQ(PixelRGB(b, 20, 20), (TRGB8{0, 0, 0}));
  }
  {
    SCOPED_TRACE("an image smaller than 2 x 2 is not rendered");
    TBitmap32 b(1, 1);
    b.Clear(0x12345678u);
    TFieldParams params;
    params.ShowPixelsOutOfRange = true;
    RenderField(b, params);
    EXPECT_EQ(b.Pixel(0, 0), 0x12345678u);
  }
}

// "CIELuv_H* 2" above 120 follows the custom palette's keys: with one
// mid-grey key (hue 0) every row takes that hue, the field equals
// "CIELuv_H*" at hue 0. Without a palette that gives a path nothing is drawn.
TEST(ColourField, PathViewTypes) {
  TColorPalette custom;
  custom.SetPaletteType(ptCustom);
  custom.CustPal().AddKey(TRGB{128, 128, 128});
  custom.SetNumColors(1);
  TColorPalette* palettes[] = {&custom};
  const TBitmap32 path = Render(vtLuvH2, 41, 200, nullptr, false, palettes);
  const TBitmap32 hue0 = Render(vtLuvH, 41, RGBToLCh(TRGB{128, 128, 128}, nullptr).h);
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x) ASSERT_EQ(path.Pixel(x, y), hue0.Pixel(x, y)) << x << "," << y;

  for (double S : {0.0, 200.0}) {
    SCOPED_TRACE(S);
    TColorPalette emptyCustom;
    emptyCustom.SetPaletteType(ptCustom);
    TColorPalette* none[] = {nullptr, &emptyCustom};
    for (TViewType type : {vtLuvH2, vtLuvHFull2}) {
      const TBitmap32 b = Render(type, 21, S, nullptr, true, none);
      for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) ASSERT_EQ(b.Pixel(x, y), kFieldBackground32);
    }
  }
}

// Keys sorted by ascending L*; keys of equal L* end in reverse key order
// (a stable descending sort, then reversed); the last key fills the table.
TEST(LightnessPath, KeyTableOrderAndFill) {
  const TLCh dark{10, 5, 1}, tieA{50, 5, 2}, light{90, 5, 3}, tieB{50, 5, 4};
  const TPathTable table = PathFromKeys({tieA, light, tieB, dark});
  EXPECT_EQ(table.Entries[0], dark);
  EXPECT_EQ(table.Entries[1], tieB);  // the later of the tied keys first
  EXPECT_EQ(table.Entries[2], tieA);
  for (int i = 3; i < kPathTableSize; ++i) EXPECT_EQ(table.Entries[i], light) << i;
  EXPECT_EQ(CompareFirstDouble({1, 0, 0}, {2, 0, 0}), 1);
  EXPECT_EQ(CompareFirstDouble({2, 0, 0}, {1, 0, 0}), -1);
  EXPECT_EQ(CompareFirstDouble({2, 5, 0}, {2, 0, 7}), 0);
  // Of 60 keys the 51 darkest are taken.
  TColorPalette many;
  many.SetPaletteType(ptCustom);
  for (int i = 0; i < 60; ++i) many.CustPal().AddKey(TRGB{double(255 - i), double(255 - i), double(255 - i)});
  many.SetNumColors(60);
  TColorPalette* palettes[] = {&many};
  const auto big = BuildPathTable(300, palettes, nullptr);
  ASSERT_TRUE(big);
  EXPECT_EQ(big->Entries[0], RGBToLCh(TRGB{196, 196, 196}, nullptr));
  EXPECT_EQ(big->Entries[50], RGBToLCh(TRGB{246, 246, 246}, nullptr));
  // The slider picks the source: a sequential palette up to 120 only.
  TColorPalette sequential;
  sequential.SetNumColors(6);
  TColorPalette* both[] = {&sequential, &many};
  TRGB first;
  sequential.SeqPal().GetColor(true, first, 0);
  EXPECT_EQ(BuildPathTable(120, both, nullptr)->Entries[0], RGBToLCh(first, nullptr));
  EXPECT_EQ(BuildPathTable(120.5, both, nullptr)->Entries[0], big->Entries[0]);
}

TEST(LightnessPath, HueAtLightness) {
  TPathTable table;
  for (int i = 0; i < kPathTableSize; ++i) table.Entries[i] = {10.0 + i, 50, 350.0 + i};
  EXPECT_EQ(PathHue(table, 5), 350);      // below the first entry
  EXPECT_EQ(PathHue(table, 10), 350);     // on the first entry
  EXPECT_NEAR(PathHue(table, 20.5), 0.5, 1e-9);  // between hues 360 and 361: the short arc
  EXPECT_EQ(PathHue(table, 59.5), 399);  // the 51st entry (L* 60) is never searched
  EXPECT_EQ(PathHue(table, 80), 399);
}
