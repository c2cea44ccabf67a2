// The colour fields of the CIELUV and CIELAB view types (0..9): the colour
// library's row converter for the render's settings, its lightness terms
// once per row, the rest once per pixel.
#include "app/core/viewport/colour_field_internal.h"

#include <array>

#include "app/core/viewport/field_pixels.h"
#include "foundation/assertion.h"

namespace colour_field_internal {
namespace {

// --- CIELUV and CIELAB ------------------------------------------------------------

using colour_rows::TLabAB;
using colour_rows::TLabRow;
using colour_rows::TLuvRow;

template <bool ShowAll>
TCIEWriter<ShowAll> CIE(const TContext& c) {
  return TCIEWriter<ShowAll>(*c.CIE);
}

TLuvRow LuvRow(const TContext& c, double L) { return c.CIE->LuvRow(L); }
TLabRow LabRow(const TContext& c, double L) { return c.CIE->LabRow(L); }

// Inlined into each pixel loop: as a call it costs a sixth of the time.
template <bool ShowAll>
[[gnu::always_inline]] inline void LuvPixel(const TCIEWriter<ShowAll>& write, TColor32* px, const TLuvRow& row, double u, double v) {
  double X, Y, Z;
  row.ToXYZ(u, v, X, Y, Z);
  write(px, X, Y, Z);
}

template <bool ShowAll>
[[gnu::always_inline]] inline void LabPixel(const TCIEWriter<ShowAll>& write, TColor32* px, const TLabRow& row, const TLabAB& ab) {
  double X, Y, Z;
  row.ToXYZ(ab, X, Y, Z);
  write(px, X, Y, Z);
}

// 0 "CIELuv_L*": the u*, v* plane at L* = S.
template <bool ShowAll>
void RenderLuvPlane(TBitmap32& bmp, const TContext& c) {
  const auto write = CIE<ShowAll>(c);
  const TLuvRow row = LuvRow(c, c.S);
  Sweep(
      bmp, c, [&](int x) { return (c.X(x) - 0.5) * 400; }, [&](int y) { return (0.5 - c.Y(y)) * 400; },
      [&](TColor32* px, double u, double v) { LuvPixel(write, px, row, u, v); });
}

// 7 "CIELab_L*": the a*, b* plane at L* = S.
template <bool ShowAll>
void RenderLabPlane(TBitmap32& bmp, const TContext& c) {
  const auto write = CIE<ShowAll>(c);
  const TLabRow row = LabRow(c, c.S);
  // a* with a* / 500 per column, b* with b* / 200 per row.
  Sweep(
      bmp, c, [&](int x) { return colour_rows::TLabA((c.X(x) - 0.5) * 400); },
      [&](int y) { return colour_rows::TLabB((0.5 - c.Y(y)) * 400); },
      [&](TColor32* px, colour_rows::TLabA a, colour_rows::TLabB b) { LabPixel(write, px, row, TLabAB(a, b)); });
}

// 1 "CIELuv_C*": hue across, lightness down, chroma = S.
template <bool ShowAll>
void RenderLuvChroma(TBitmap32& bmp, const TContext& c) {
  const auto write = CIE<ShowAll>(c);
  Sweep(
      bmp, c, [&](int x) { return Direction(c.X(x) * 360 / 360 * kTwoPi, c.S); },
      [&](int y) { return LuvRow(c, (1 - c.Y(y)) * 100); },
      [&](TColor32* px, TPair uv, const TLuvRow& row) { LuvPixel(write, px, row, uv.A, uv.B); });
}

// 8 "CIELab_C*": hue across, lightness down, chroma = S.
template <bool ShowAll>
void RenderLabChroma(TBitmap32& bmp, const TContext& c) {
  const auto write = CIE<ShowAll>(c);
  Sweep(
      bmp, c,
      [&](int x) {
        const TPair ab = Direction(c.X(x) * 360 / 360 * kTwoPi, c.S);
        return TLabAB(ab.A, ab.B);
      },
      [&](int y) { return LabRow(c, (1 - c.Y(y)) * 100); },
      [&](TColor32* px, const TLabAB& ab, const TLabRow& row) { LabPixel(write, px, row, ab); });
}

// A line in the (u*, v*) plane along dir, at (X - offset) * scale across,
// lightness down.
template <bool ShowAll>
void SweepLuvLine(TBitmap32& bmp, const TContext& c, TPair dir, double offset, double scale) {
  const auto write = CIE<ShowAll>(c);
  Sweep(
      bmp, c,
      [&](int x) {
        const double t = (c.X(x) - offset) * scale;
        return TPair{t * dir.A, t * dir.B};
      },
      [&](int y) { return LuvRow(c, (1 - c.Y(y)) * 100); },
      [&](TColor32* px, TPair uv, const TLuvRow& row) { LuvPixel(write, px, row, uv.A, uv.B); });
}

// 2 "CIELuv_H*": chroma 0..400 across, lightness down, hue = S.
template <bool ShowAll>
void RenderLuvHue(TBitmap32& bmp, const TContext& c) {
  SweepLuvLine<ShowAll>(bmp, c, HueDirection(c.S), 0, 400);
}

// 3 "CIELuv_L* 2": hue across, chroma 200..0 down, L* = S.
template <bool ShowAll>
void RenderLuvHueChroma(TBitmap32& bmp, const TContext& c) {
  const auto write = CIE<ShowAll>(c);
  const TLuvRow row = LuvRow(c, c.S);
  Sweep(
      bmp, c, [&](int x) { return HueDirection(c.X(x) * 360); },
      [&](int y) { return (1 - c.Y(y)) * 200; },
      [&](TColor32* px, TPair dir, double C) { LuvPixel(write, px, row, C * dir.A, C * dir.B); });
}

// A row's lightness terms with the direction of its path hue.
struct TPathRow {
  TLuvRow Luv;
  double Cos = 0, Sin = 0;
};

// 4 "CIELuv_H* 2" (chroma 0..400) and 6 "CIELuv_H* full 2" (chroma -200..200):
// lightness down, each row in the path's hue at its L*.
template <bool ShowAll, bool Full>
void RenderPathHue(TBitmap32& bmp, const TContext& c) {
  if (!c.Path) return;  // no palette supplies a path: the field stays background
  const auto write = CIE<ShowAll>(c);
  Sweep(
      bmp, c,
      [&](int x) {
        if constexpr (Full) {
          return (2 * c.X(x) - 1) * 200;
        } else {
          return c.X(x) * 400;
        }
      },
      [&](int y) {
        const double L = (1 - c.Y(y)) * 100;
        const TPair dir = HueDirection(PathHue(*c.Path, L));
        return TPathRow{LuvRow(c, L), dir.A, dir.B};
      },
      [&](TColor32* px, double C, const TPathRow& row) {
        LuvPixel(write, px, row.Luv, C * row.Cos, C * row.Sin);
      });
}

// 5 "CIELuv_H* full": the line through grey at hue S, lightness down.
template <bool ShowAll>
void RenderLuvHueLine(TBitmap32& bmp, const TContext& c) {
  SweepLuvLine<ShowAll>(bmp, c, Direction(c.S / 360 * kTwoPi, 200), 0.5, 2);
}

// 9 "CIELab_H*": the line through grey at hue S, lightness down.
template <bool ShowAll>
void RenderLabHueLine(TBitmap32& bmp, const TContext& c) {
  const auto write = CIE<ShowAll>(c);
  const TPair dir = Direction(c.S / 360 * kTwoPi, 200);
  Sweep(
      bmp, c,
      [&](int x) {
        const double t = (c.X(x) - 0.5) * 2;
        return TLabAB(t * dir.A, t * dir.B);
      },
      [&](int y) { return LabRow(c, (1 - c.Y(y)) * 100); },
      [&](TColor32* px, const TLabAB& ab, const TLabRow& row) { LabPixel(write, px, row, ab); });
}

template <bool ShowAll>
constexpr std::array<TRenderFn, 10> kCIERenderers = {
    &RenderLuvPlane<ShowAll>,  // 0
    &RenderLuvChroma<ShowAll>,  // 1
    &RenderLuvHue<ShowAll>,  // 2
    &RenderLuvHueChroma<ShowAll>,  // 3
    &RenderPathHue<ShowAll, false>,  // 4
    &RenderLuvHueLine<ShowAll>,  // 5
    &RenderPathHue<ShowAll, true>,  // 6
    &RenderLabPlane<ShowAll>,  // 7
    &RenderLabChroma<ShowAll>,  // 8
    &RenderLabHueLine<ShowAll>,  // 9
};

}  // namespace

TRenderFn CIERenderer(TViewType ViewType, bool ShowAll) {
  Require(ViewType <= vtLabH, "not a CIE view type");
  return ShowAll ? kCIERenderers<true>[ViewType] : kCIERenderers<false>[ViewType];
}

}  // namespace colour_field_internal
