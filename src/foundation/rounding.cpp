#include "foundation/rounding.h"

#include <cmath>

int32_t RoundDouble(double value) noexcept {
  // nearbyint follows the current rounding mode: ties to even by default.
  const double r = std::nearbyint(value);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return INT32_MIN;
  return static_cast<int32_t>(r);
}

int32_t RoundSingle(float value) noexcept { return RoundDouble(static_cast<double>(value)); }
