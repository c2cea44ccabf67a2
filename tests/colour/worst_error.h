// Folding error terms into a worst case without losing NaN.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace colour_test {

// The largest of worst and errors, NaN once any of them is NaN: std::max would
// drop a NaN error and let the bound check pass.
inline double Worse(double worst, std::initializer_list<double> errors) {
  for (double e : errors)
    worst = std::isnan(worst) || std::isnan(e) ? std::numeric_limits<double>::quiet_NaN()
                                               : std::max(worst, e);
  return worst;
}

}  // namespace colour_test
