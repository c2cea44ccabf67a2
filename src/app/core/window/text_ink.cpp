#include "app/core/window/text_ink.h"

#include <cmath>

#include "graphics/color32.h"

namespace {

// The light each sRGB component gives, 0..1, from its 0..255 value.
double LinearLight(unsigned component) {
  const double c = component / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(TColor color) {
  return 0.2126 * LinearLight(color & 0xFF) + 0.7152 * LinearLight((color >> 8) & 0xFF) +
         0.0722 * LinearLight((color >> 16) & 0xFF);
}

// The flare that keeps contrast ratios finite: black counts as 0.05, white as 1.05.
constexpr double kFlare = 0.05;

}  // namespace

TColor32 TextInkOn(TColor Background) noexcept {
  const double background = RelativeLuminance(Background) + kFlare;
  const double againstBlack = background / kFlare;
  const double againstWhite = (1 + kFlare) / background;
  return againstBlack >= againstWhite ? clBlack32 : clWhite32;
}
