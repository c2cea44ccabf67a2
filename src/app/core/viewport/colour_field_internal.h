#pragma once
// Shared by the colour-field renderers: the render context resolved once per
// call, the row loop over precomputed column terms and small geometry
// helpers. Internal to the colour field (colour_field*.cpp).

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "app/core/viewport/lightness_path.h"
#include "app/core/viewport/view_types.h"
#include "colour/cie_rows.h"
#include "graphics/bitmap32.h"

namespace colour_field_internal {

inline constexpr double kTwoPi = 2 * std::numbers::pi;

// Everything a render depends on besides the pixel position, resolved once.
struct TContext {
  int W = 0, H = 0;
  double S = 0;
  std::optional<colour_rows::TCIERowConverter> CIE;  // CIE view types only
  std::optional<TPathTable> Path;                    // path view types only

  double X(int x) const { return x / static_cast<double>(W - 1); }
  double Y(int y) const { return y / static_cast<double>(H - 1); }
};

// The row loop over precomputed column terms: Column(x) once per column,
// Row(y) once per row, Pixel(target, column term, row term) per pixel. Rows
// outside, so the writes run along the bitmap's memory.
template <class Column, class Row, class Pixel>
void Sweep(TBitmap32& bitmap, const TContext& c, Column column, Row row, Pixel pixel) {
  using TColumnTerm = decltype(column(0));
  std::vector<TColumnTerm> columns(c.W);
  for (int x = 0; x < c.W; ++x) columns[x] = column(x);
  for (int y = 0; y < c.H; ++y) {
    const auto r = row(y);
    TColor32* line = bitmap.ScanLine(y);
    for (int x = 0; x < c.W; ++x) pixel(line + x, columns[x], r);
  }
}

struct TPair {
  double A = 0, B = 0;
};
// A row's HLS lightness or HSV value with the factor f of its rule.
struct TLevelFactor {
  double Level = 0, F = 0;
};

inline TPair Direction(double radians, double scale) {
  return {scale * std::cos(radians), scale * std::sin(radians)};
}
// The polar forms' own direction of a hue, so a hoisted cos/sin matches theirs.
inline TPair HueDirection(double hueDegrees) {
  const colour_rows::THueDirection d = colour_rows::HueDirection(hueDegrees);
  return {d.Cos, d.Sin};
}

inline double HLSFactor(double L) { return L <= 127.5 ? L / 127.5 : 1.0 - (L - 127.5) / 127.5; }

using TRenderFn = void (*)(TBitmap32&, const TContext&);

// The renderer of a CIE view type (0..9; colour_field_cie.cpp) and of the
// others (10..21; colour_field_device.cpp), with or without every pixel shown.
TRenderFn CIERenderer(TViewType ViewType, bool ShowAll);
TRenderFn DeviceRenderer(TViewType ViewType, bool ShowAll);

}  // namespace colour_field_internal
