// Construction, range checks and TColor packing of RGB records.
#include "colour/rgb_spaces.h"

#include "foundation/rounding.h"

namespace {

// max(min(c, 255), 0), with NaN taken as 0 so it cannot reach the rounding.
double Limit255(double c) noexcept {
  if (c > 255.0) return 255.0;
  if (c > 0.0) return c;
  return 0.0;
}

// One component as its 8 bits, after limiting and rounding.
uint32_t ComponentByte(double c) noexcept {
  return static_cast<uint32_t>(RoundDouble(Limit255(c))) & 0xFFu;
}

}  // namespace

TRGB MakeRGB(double R, double G, double B) noexcept { return {R, G, B}; }

TLCh MakeLCh(double L, double C, double h) noexcept { return {L, C, h}; }

TRGB ClampRGB(const TRGB& RGB) noexcept {
  return {Limit255(RGB.R), Limit255(RGB.G), Limit255(RGB.B)};
}

bool IsRGBInRange(const TRGB& RGB) noexcept {
  return RGB.R >= 0.0 && RGB.R <= 255.0 && RGB.G >= 0.0 && RGB.G <= 255.0 && RGB.B >= 0.0 &&
         RGB.B <= 255.0;
}

TColor RGBToColor(double R, double G, double B) noexcept {
  return ComponentByte(R) | ComponentByte(G) << 8 | ComponentByte(B) << 16;
}

TColor RGBToColor(const TRGB& RGB) noexcept { return RGBToColor(RGB.R, RGB.G, RGB.B); }

TColor RGBToColorRounded(double R, double G, double B) noexcept {
  return RGBToColor(static_cast<double>(ComponentByte(R)), static_cast<double>(ComponentByte(G)),
                    static_cast<double>(ComponentByte(B)));
}

TRGB ColorToRGB(TColor Color) noexcept {
  // Blue is masked as well: a colour with a non-zero top byte still gives 0..255.
  return {static_cast<double>(Color & 0xFFu), static_cast<double>((Color >> 8) & 0xFFu),
          static_cast<double>((Color >> 16) & 0xFFu)};
}

double Max3(double A, double B, double C) noexcept {
  const double m = A > B ? A : B;
  return m > C ? m : C;
}

double Min3(double A, double B, double C) noexcept {
  const double m = A < B ? A : B;
  return m < C ? m : C;
}
