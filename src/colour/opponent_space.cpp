// The opponent-colour space: intensity, red-green and yellow-blue axes.
#include "colour/rgb_spaces.h"

#include <cmath>
#include <numbers>

#include "colour/cie_internal.h"

namespace {
constexpr double kHalfSqrt3 = std::numbers::sqrt3 / 2.0;
constexpr double kSqrt3 = std::numbers::sqrt3;
}  // namespace

void RGBToOpponent(double R, double G, double B, double& I, double& RG, double& YB) noexcept {
  const double r = R / 255.0;
  const double g = G / 255.0;
  const double b = B / 255.0;
  I = 100.0 * (r + g + b) / 3.0;
  RG = 100.0 * (kHalfSqrt3 * r - kHalfSqrt3 * g);
  YB = 100.0 * (0.5 * r + 0.5 * g - b);
}

void OpponentToRGB(double I, double RG, double YB, double& R, double& G, double& B) noexcept {
  const double i = I / 100.0;
  const double rg = RG / 100.0;
  const double yb = YB / 100.0;
  R = 255.0 * (yb / 3.0 + i + rg / kSqrt3);
  G = 255.0 * (yb / 3.0 + i - rg / kSqrt3);
  B = 255.0 * (i - 2.0 * yb / 3.0);
}

void OpponentToPolar(double /*I*/, double RG, double YB, double& C, double& h) noexcept {
  colour_internal::ToPolar(RG, YB, C, h);
}

void PolarToOpponent(double /*I*/, double C, double h, double& RG, double& YB) noexcept {
  colour_internal::FromPolar(C, h, RG, YB);
}

void RGBToOpponentPolar(double R, double G, double B, double& I, double& C, double& h) noexcept {
  double RG, YB;
  RGBToOpponent(R, G, B, I, RG, YB);
  OpponentToPolar(I, RG, YB, C, h);
}

void OpponentPolarToRGB(double I, double C, double h, double& R, double& G, double& B) noexcept {
  double RG, YB;
  PolarToOpponent(I, C, h, RG, YB);
  OpponentToRGB(I, RG, YB, R, G, B);
}
