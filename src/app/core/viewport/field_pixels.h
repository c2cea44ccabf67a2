#pragma once
// The two pixel writers of the colour field, chosen once per render: one for
// colours computed in CIE XYZ (taken to levels by the colour library's row
// converter) and one for colours already on the 0..255 scale. With
// ShowAll every pixel is written, clamped; otherwise only pixels whose three
// components lie in 0..255, the rest keep the background.

#include <cstdint>

#include "colour/cie_rows.h"
#include "colour/colour_records.h"
#include "graphics/color_types.h"

namespace field_pixels {

constexpr TColor32 Opaque(uint32_t r, uint32_t g, uint32_t b) {
  return 0xFF000000u | r << 16 | g << 8 | b;
}

// Nearest integer, ties to even, of a value in 0..255: adding and removing
// 1.5 * 2^52 leaves the double rounded in the default rounding mode.
inline uint32_t RoundByte(double c) {
  constexpr double kMagic = 6755399441055744.0;
  return static_cast<uint32_t>((c + kMagic) - kMagic);
}

// Limited to 0..255 first; NaN gives 0.
inline uint32_t ClampedByte(double c) {
  if (c > 255.0) return 255;
  if (c > 0.0) return RoundByte(c);
  return 0;
}

inline uint32_t ClampedLevel(int level) {
  return level < 0 ? 0u : (level > 255 ? 255u : static_cast<uint32_t>(level));
}

}  // namespace field_pixels

template <bool ShowAll>
struct TDeviceWriter {
  static void Write(TColor32* px, const TRGB& c) {
    using namespace field_pixels;
    if constexpr (ShowAll) {
      *px = Opaque(ClampedByte(c.R), ClampedByte(c.G), ClampedByte(c.B));
    } else {
      if (c.R >= 0.0 && c.R <= 255.0 && c.G >= 0.0 && c.G <= 255.0 && c.B >= 0.0 && c.B <= 255.0)
        *px = Opaque(RoundByte(c.R), RoundByte(c.G), RoundByte(c.B));
    }
  }
  // A colour with all three components -1: black when shown clamped.
  static void OutOfGamut(TColor32* px) {
    if constexpr (ShowAll) *px = field_pixels::Opaque(0, 0, 0);
  }
};

template <bool ShowAll>
class TCIEWriter {
 public:
  explicit TCIEWriter(const colour_rows::TCIERowConverter& convert) : FToLevels(convert.XYZToLevels()) {}

  void operator()(TColor32* px, double X, double Y, double Z) const {
    using namespace field_pixels;
    const colour_rows::TRGBLevels c = FToLevels(X, Y, Z);
    if constexpr (ShowAll) {
      *px = Opaque(ClampedLevel(c.R), ClampedLevel(c.G), ClampedLevel(c.B));
    } else {
      if (c.InGamut()) *px = Opaque(c.R, c.G, c.B);
    }
  }

 private:
  const colour_rows::TXYZToLevels FToLevels;  // a copy: the pixel loop keeps the matrix in registers
};
