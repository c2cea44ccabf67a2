#pragma once
// atan2 for the disc view types' pixel loop: the arctangent's Taylor series
// around the nearest of 513 table points, so one division per call. Agrees
// with std::atan2 to a few ulps.

#include <array>
#include <cmath>
#include <numbers>

class TFastAtan2 {
 public:
  TFastAtan2() {
    for (int i = 0; i <= kSteps; ++i) {
      // atan and its derivatives over k! at a0: 1/(1+a0^2), -a0/(1+a0^2)^2, ...
      const long double a = static_cast<long double>(i) / kSteps;
      const long double q = 1.0L / (1.0L + a * a);
      const long double a2 = a * a;
      TTerms& t = FTerms[i];
      t.C[0] = static_cast<double>(std::atan(a));
      t.C[1] = static_cast<double>(q);
      t.C[2] = static_cast<double>(-a * q * q);
      t.C[3] = static_cast<double>((3 * a2 - 1) / 3 * q * q * q);
      t.C[4] = static_cast<double>(a * (1 - a2) * q * q * q * q);
      t.C[5] = static_cast<double>((5 * a2 * a2 - 10 * a2 + 1) / 5 * q * q * q * q * q);
    }
  }

  // The angle of (x, y) in radians, in [-pi, pi]; (0, 0) gives 0.
  double operator()(double y, double x) const {
    constexpr double kPi = std::numbers::pi;
    const double ax = std::fabs(x), ay = std::fabs(y);
    const bool steep = ay > ax;
    const double big = steep ? ay : ax;
    if (big == 0.0) return 0.0;
    const double a = (steep ? ax : ay) / big;  // 0..1
    const int i = static_cast<int>(a * kSteps + 0.5);
    const double d = a - static_cast<double>(i) / kSteps;  // |d| <= 1/1024: d^6 is below 1e-18
    const double* c = FTerms[i].C;
    double angle = c[0] + d * (c[1] + d * (c[2] + d * (c[3] + d * (c[4] + d * c[5]))));
    if (steep) angle = kPi / 2 - angle;
    if (x < 0.0) angle = kPi - angle;
    return y < 0.0 ? -angle : angle;
  }

 private:
  static constexpr int kSteps = 512;
  struct TTerms {
    double C[6];
  };
  std::array<TTerms, kSteps + 1> FTerms{};
};
