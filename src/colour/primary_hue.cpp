// CIELUV hue of the six corners of the RGB cube.
#include "colour/rgb_spaces.h"

#include <array>

#include "colour/cie_spaces.h"

namespace {
constexpr std::array<TRGB, 6> kCorners = {{
    {255, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255}, {0, 0, 255}, {255, 0, 255}}};
}  // namespace

double GetPrimaryHue(TPrimaryColor Corner, const TColorSettings* Settings) {
  if (Corner >= kCorners.size()) return -1.0;
  return RGBToLCh(kCorners[Corner], Settings).h;
}
