// The overlay of a viewport: the drawing primitives, what each palette gets
// drawn, and the redraw that lays the overlay over the field.
#include <gtest/gtest.h>

#include <QWidget>
#include <climits>
#include <cmath>

#include "app/core/viewport/colour_field.h"
#include "app/core/viewport/overlay_builder.h"
#include "app/core/viewport/overlay_drawing.h"
#include "app/viewport/viewport.h"
#include "colour/cie_spaces.h"
#include "colour/rgb_spaces.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

constexpr TColor32 kInk = 0xC0123456u;

int CountNonZero(const TBitmap32& bmp) {
  int n = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) n += bmp.Pixel(x, y) != 0;
  return n;
}

// A custom-type palette holder with the given name and keys.
void MakeCustom(TColorPalette& p, const std::string& name, std::initializer_list<TRGB> keys,
                uint8_t method = imCIELUV) {
  p.SetPaletteType(ptCustom);
  p.SetName(name);
  p.CustPal().SetInterpolationMethod(method);
  for (const TRGB& k : keys) p.CustPal().AddKey(k);
  p.SetNumColors(static_cast<int>(keys.size()));
}

// An overlay in "RGB_R", where a colour maps to (G, B) / 255 of the size less one.
struct TRGBPlane {
  TBitmap32 Overlay{200, 200};
  std::vector<TColorPalette*> Palettes;
  void Build(bool showKeys = true) {
    TOverlayParams params;
    params.Geometry = {vtRGB_R, 200, 200, nullptr};
    params.DrawGridLines = false;
    params.ShowColorKeys = showKeys;
    TOverlaySamples samples;
    samples.Sample(Palettes);
    BuildOverlay(Overlay, params, samples);
  }
};

}  // namespace

TEST(OverlayDrawing, GridLinesAndAxesLieWhereTheyBelongAndReplacePixels) {
  TBitmap32 overlay(200, 200);
  overlay.Clear(kInk);
  DrawGridLines(overlay);
  for (int x = 0; x < 200; ++x) {
    SCOPED_TRACE(x);
    const bool grid = x % 25 == 0 && x > 0;
    // Lines replace the pixel, alpha included: no blending with kInk.
    EXPECT_EQ(overlay.Pixel(x, 3), grid ? kGridLineColor32 : kInk);
    EXPECT_EQ(overlay.Pixel(3, x), grid ? kGridLineColor32 : kInk);
  }
  DrawGridAxes(overlay);
  EXPECT_EQ(overlay.Pixel(100, 7), kAxisColor32);
  EXPECT_EQ(overlay.Pixel(7, 100), kAxisColor32);
  EXPECT_EQ(overlay.Pixel(75, 7), kGridLineColor32);

  // An odd size: offsets of 12.625 px rounded to nearest about size div 2.
  TBitmap32 odd(101, 101);
  DrawGridLines(odd);
  for (int x : {12, 25, 37, 50, 63, 75, 88}) EXPECT_EQ(odd.Pixel(x, 0), kGridLineColor32) << x;
}

TEST(OverlayDrawing, KeyMarkerIsARaisedSquare) {
  TBitmap32 overlay(20, 20);
  overlay.Clear(kInk);
  const TRGB rgb{10, 200, 30};
  DrawKeyMarker(overlay, 10, 10, rgb, 3);
  const TColor32 fill = 0xFF0AC81Eu;
  struct TCase { int X, Y; TColor32 Want; };
  const TCase cases[] = {
      {8, 8, fill},  {12, 12, fill}, {10, 10, fill},                              // the square
      {7, 7, kMarkerLightEdge32},  {7, 13, kMarkerLightEdge32}, {7, 10, kMarkerLightEdge32},  // left
      {12, 7, kMarkerLightEdge32}, {10, 7, kMarkerLightEdge32},                   // top
      {13, 7, kMarkerDarkEdge32},  {13, 12, kMarkerDarkEdge32},                   // right
      {13, 13, kMarkerDarkEdge32}, {8, 13, kMarkerDarkEdge32},                    // bottom
      {6, 10, kInk}, {14, 10, kInk}, {10, 6, kInk}, {10, 14, kInk},               // outside
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
    EXPECT_EQ(overlay.Pixel(c.X, c.Y), c.Want);
  }
}

TEST(OverlayDrawing, MarkersAndLinesAreClippedForAnyCoordinates) {
  TBitmap32 overlay(20, 20);
  // Far-off points (NaN rounds to INT_MIN) draw nothing and return at once.
  for (int v : {INT_MIN, INT_MIN + 2, -100, 100, INT_MAX - 2, INT_MAX}) {
    DrawKeyMarker(overlay, v, 5, TRGB{}, 4);
    DrawKeyMarker(overlay, 5, v, TRGB{}, 4);
  }
  EXPECT_EQ(CountNonZero(overlay), 0);
  // Half outside at the corner: only what lies inside.
  DrawKeyMarker(overlay, 0, 0, TRGB{255, 0, 0}, 3);
  EXPECT_EQ(overlay.Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(overlay.Pixel(3, 0), kMarkerDarkEdge32);
  EXPECT_EQ(overlay.Pixel(0, 3), kMarkerDarkEdge32);
  EXPECT_EQ(CountNonZero(overlay), 16);

  overlay.Clear(0);
  for (bool wrap : {false, true}) {
    DrawPathLine(overlay, INT_MIN, 5, 10, 5, kInk, wrap);
    DrawPathLine(overlay, INT_MAX, INT_MIN, INT_MIN, INT_MAX, kInk, wrap);
  }
  // The first line's visible part is row 5 from 0 to 10.
  for (int x = 0; x <= 10; ++x) EXPECT_EQ(overlay.Pixel(x, 5), kInk) << x;
  // Y is clamped to the rows (x is not): a far-off y lands on the edge row.
  overlay.Clear(0);
  DrawPathLine(overlay, 3, -1000, 3, 5000, kInk, false);
  EXPECT_EQ(overlay.Pixel(3, 0), kInk);
  EXPECT_EQ(overlay.Pixel(3, 19), kInk);
}

TEST(OverlayDrawing, PathLineWrapsRoundTheHueBorder) {
  TBitmap32 overlay(200, 200);
  // Both ends included, from the larger x to the other end moved right by 200.
  DrawPathLine(overlay, 5, 10, 195, 0, kInk, true);
  for (int i = 0; i <= 10; ++i) {
    const int x = (195 + i) % 200;
    EXPECT_EQ(overlay.Pixel(x, i), kInk) << x;
  }
  EXPECT_EQ(CountNonZero(overlay), 11);

  // The same points without a hue axis: straight across the image.
  overlay.Clear(0);
  DrawPathLine(overlay, 5, 10, 195, 0, kInk, false);
  EXPECT_EQ(CountNonZero(overlay), 191);

  // Exactly half the width does not wrap.
  overlay.Clear(0);
  DrawPathLine(overlay, 50, 20, 150, 20, kInk, true);
  EXPECT_EQ(overlay.Pixel(100, 20), kInk);
  EXPECT_EQ(overlay.Pixel(199, 20), 0u);
}

TEST(OverlayBuilder, KeysOfNamedPalettes) {
  // Keys at (0, 0) and (199, 0) of the RGB_R plane.
  const TRGB black{0, 0, 0}, green{0, 255, 0};
  struct TCase {
    const char* Name;
    uint8_t Method;
    TColor32 Mid;     // the pixel half-way between the keys
    TColor32 AtFour;  // (4, 0): the size-4 marker's dark edge or the line
  };
  const TCase cases[] = {
      // "Custom" joins its keys only when drawn straight, which drops its curve.
      {"Custom", imCIELUVStraight, 0xAAFFFFFFu, kMarkerDarkEdge32},
      // Another name: keys joined in the dim colour, size-3 markers.
      {"Set1", imCIELUV, 0x33FFFFFFu, 0x33FFFFFFu},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TColorPalette p;
    MakeCustom(p, c.Name, {black, green}, c.Method);
    TRGBPlane plane;
    plane.Palettes = {&p};
    plane.Build();
    EXPECT_EQ(plane.Overlay.Pixel(100, 0), c.Mid);
    EXPECT_EQ(plane.Overlay.Pixel(4, 0), c.AtFour);
    EXPECT_EQ(plane.Overlay.Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(plane.Overlay.Pixel(199, 0), 0xFF00FF00u);
    // Nothing but the one row of keys and markers.
    EXPECT_EQ(plane.Overlay.Pixel(100, 100), 0u);
  }
}

TEST(OverlayBuilder, CustomDrawnStraightShowsNoCurve) {
  // Blue (0, 199) to green (199, 0): the straight key line is the
  // anti-diagonal; the CIELUV curve between them bows away from it.
  const auto offDiagonal = [](const TBitmap32& bmp) {
    int n = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const bool nearCorner = (x < 6 && y > 193) || (x > 193 && y < 6);
        n += bmp.Pixel(x, y) != 0 && !nearCorner && std::abs(x + y - 199) > 1;
      }
    return n;
  };
  for (uint8_t method : {imCIELUV, imCIELUVStraight}) {
    SCOPED_TRACE(int(method));
    TColorPalette p;
    MakeCustom(p, "Custom", {TRGB{0, 0, 255}, TRGB{0, 255, 0}}, method);
    TRGBPlane plane;
    plane.Palettes = {&p};
    plane.Build();
    const bool straight = method == imCIELUVStraight;
    EXPECT_EQ(offDiagonal(plane.Overlay) == 0, straight);
    EXPECT_EQ(plane.Overlay.Pixel(100, 99) == 0xAAFFFFFFu || plane.Overlay.Pixel(99, 100) == 0xAAFFFFFFu, straight);
  }
}

TEST(OverlayBuilder, CustomWithOneKeyShowsASizeFourMarkerAndNoLine) {
  TColorPalette p;
  MakeCustom(p, "Custom", {TRGB{0, 128, 128}});
  TRGBPlane plane;
  plane.Palettes = {&p};
  plane.Build();
  const TScreenPoint at = ColorToScreen({vtRGB_R, 200, 200, nullptr}, TRGB{0, 128, 128});
  ASSERT_EQ(at, (TScreenPoint{100, 100}));
  EXPECT_EQ(plane.Overlay.Pixel(100, 100), 0xFF008080u);
  EXPECT_EQ(plane.Overlay.Pixel(96, 100), kMarkerLightEdge32);
  EXPECT_EQ(plane.Overlay.Pixel(104, 100), kMarkerDarkEdge32);
  EXPECT_EQ(CountNonZero(plane.Overlay), 81);  // the 9 x 9 marker only

  // Keys hidden: the colour's size-3 marker of the curve pass remains.
  plane.Build(false);
  EXPECT_EQ(plane.Overlay.Pixel(103, 100), kMarkerDarkEdge32);
  EXPECT_EQ(CountNonZero(plane.Overlay), 49);
}

TEST(OverlayBuilder, PalettesAreDrawnLastFirstAndEmptyOrStoredKeysAreSkipped) {
  TColorPalette first, second, empty, stored;
  MakeCustom(first, "A", {TRGB{0, 128, 0}});
  MakeCustom(second, "B", {TRGB{255, 128, 0}});  // the same point, another colour
  MakeCustom(empty, "Custom", {TRGB{0, 0, 255}});
  empty.SetNumColors(0);  // no colours: passed over
  MakeCustom(stored, "Stored", {TRGB{0, 0, 0}, TRGB{0, 255, 0}});
  TRGBPlane plane;
  plane.Palettes = {&first, nullptr, &second, &empty};
  plane.Build();
  EXPECT_EQ(plane.Overlay.Pixel(100, 1), 0xFF008000u);  // the first added on top
  EXPECT_EQ(plane.Overlay.Pixel(0, 199), 0u);

  // "Stored": its curve and colours only, never its keys.
  plane.Palettes = {&stored};
  plane.Build();
  int curve = 0;
  for (int x = 0; x < 200; ++x) curve += plane.Overlay.Pixel(x, 0) == 0x77FFFFFFu;
  EXPECT_GT(curve, 150);
  EXPECT_EQ(plane.Overlay.Pixel(3, 0), kMarkerDarkEdge32);  // size 3, not 4
}

TEST(OverlayBuilder, SequentialPaletteShowsItsControlPoints) {
  TColorPalette p;
  p.SetName("Other");  // no curve: control points and their lines only
  p.SetNumColors(6);
  const TScreenGeometry g{vtLuvL, 200, 200, nullptr};
  TBitmap32 overlay(200, 200);
  TOverlayParams params;
  params.Geometry = g;
  params.DrawGridLines = false;
  params.ShowColorKeys = true;
  TOverlaySamples samples;
  samples.Sample(std::vector<TColorPalette*>{&p});
  BuildOverlay(overlay, params, samples);
  // Point 0 (black) may lie under a later marker; points 1 and 2 show.
  for (int k = 1; k < 3; ++k) {
    SCOPED_TRACE(k);
    const TLCh cp = p.SeqPal().GetControlPoint(0, k);
    const TScreenPoint at = ControlPointToScreen(g, cp);
    EXPECT_EQ(overlay.Pixel(at.X, at.Y), Color32(RGBToColor(LChToRGB(cp, nullptr))));
  }
  EXPECT_GE(CountNonZero(overlay), 2 * 49);
}

TEST(OverlayBuilder, CurveCrossingTheHueBorderReentersAtTheLeft) {
  // Two keys either side of hue 0, interpolated the short way round.
  TColorPalette p;
  MakeCustom(p, "Custom", {LChToRGB(50, 30, 340, nullptr), LChToRGB(50, 30, 20, nullptr)}, imCIELCHuv);
  TBitmap32 overlay(200, 200);
  TOverlayParams params;
  params.Geometry = {vtLuvC, 200, 200, nullptr};
  params.DrawGridLines = false;
  TOverlaySamples samples;
  samples.Sample(std::vector<TColorPalette*>{&p});
  BuildOverlay(overlay, params, samples);
  int left = 0, right = 0, middle = 0;
  for (int y = 0; y < 200; ++y) {
    left += overlay.Pixel(0, y) != 0;
    right += overlay.Pixel(199, y) != 0;
    for (int x = 20; x < 180; ++x) middle += overlay.Pixel(x, y) != 0;
  }
  EXPECT_GT(left, 0);
  EXPECT_GT(right, 0);
  EXPECT_EQ(middle, 0);  // no line straight across the image
}

TEST(ViewportRedraw, CompositeIsTheOverlayBlendedOverTheField) {
  QWidget parent;
  TViewport view(&parent);
  view.SetSize(230, 223);
  ASSERT_EQ(view.FieldBitmap().Width(), 200);
  TColorPalette custom;
  MakeCustom(custom, "Custom", {TRGB{200, 120, 90}});
  view.Palettes().push_back(&custom);
  view.SetShowColorKeys(true);
  view.Redraw(false);
  const TBitmap32& field = view.FieldBitmap();
  const TBitmap32& overlay = view.OverlayBitmap();
  const TBitmap32& composite = view.CompositeBitmap();
  EXPECT_EQ(field.Pixel(100, 100) >> 24, 0xFFu);
  EXPECT_EQ(overlay.Pixel(25, 10), kGridLineColor32);
  for (auto [x, y] : {std::pair{25, 10}, {100, 100}, {0, 0}, {60, 150}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    EXPECT_EQ(composite.Pixel(x, y), BlendColor32(overlay.Pixel(x, y), field.Pixel(x, y)));
  }
  const TScreenPoint key = view.ColorToScreen(TRGB{200, 120, 90});
  EXPECT_EQ(composite.Pixel(key.X, key.Y), Color32(RGBToColor(TRGB{200, 120, 90})));
  EXPECT_EQ(view.Image()->Bitmap(), &composite);
}

TEST(ViewportRedraw, OverlayOnlyKeepsTheFieldExceptForPathViewTypes) {
  QWidget parent;
  TViewport view(&parent);
  view.SetSize(130, 123);
  TColorPalette custom;
  MakeCustom(custom, "Custom", {TRGB{128, 128, 128}});
  view.Palettes().push_back(&custom);

  view.Redraw(false);
  const TBitmap32 before = view.FieldBitmap();
  view.SetSliderValue(30);  // another slice, not yet rendered
  view.Redraw(true);
  EXPECT_EQ(view.FieldBitmap().Pixel(50, 50), before.Pixel(50, 50));
  view.Redraw(false);
  EXPECT_NE(view.FieldBitmap().Pixel(50, 50), before.Pixel(50, 50));

  // "CIELuv_H* 2" above 120 takes its hue from the custom palette's keys.
  view.SetViewType(vtLuvH2);
  view.SetSliderValue(200);
  view.Redraw(false);
  const TColor32 grey = view.FieldBitmap().Pixel(5, 50);
  custom.CustPal().SetKey(0, LChToRGB(50, 40, 120, nullptr));
  view.Redraw(true);
  EXPECT_NE(view.FieldBitmap().Pixel(5, 50), grey);
}

TEST(ViewportRedraw, DrawTimeIsWrittenOnAGreyBackground) {
  QWidget parent;
  TViewport view(&parent);
  view.SetSize(130, 123);
  view.SetShowDrawTime(true);
  view.Redraw(false);
  EXPECT_EQ(view.CompositeBitmap().Pixel(5, 5), 0xFF999999u);
  int dark = 0;
  for (int y = 5; y < 20; ++y)
    for (int x = 5; x < 15; ++x) dark += (view.CompositeBitmap().Pixel(x, y) & 0xFFFFFFu) < 0x505050u;
  EXPECT_GT(dark, 3);  // the digits
  view.SetShowDrawTime(false);
  view.Redraw(true);
  EXPECT_NE(view.CompositeBitmap().Pixel(5, 5), 0xFF999999u);
}
