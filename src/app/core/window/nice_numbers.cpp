#include "app/core/window/nice_numbers.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "colour/colour_interpolation.h"
#include "foundation/float_text.h"

namespace {

// Step multipliers, best first; the position enters the score.
constexpr double kFreeMultipliers[] = {1, 5, 2, 25, 3};
constexpr double kFixedMultipliers[] = {1, 5, 2, 25, 3, 4, 8, 6, 7, 9, 15, 16, 12};

constexpr double kTolerance = 1e-6;
constexpr double kFreeMaxSteps = 16;   // steps in the free search's first estimate
constexpr int kFreeMinBounds = 8;      // a free candidate needs more than 7 bounds
constexpr double kBestDensity = 11;    // bounds
constexpr double kNoScore = -1.7e308;

// 1 when the bounds run through zero, which makes them simpler.
double ZeroTerm(double Start, double Step, int Count) {
  if (Start == 0) return 1;
  if (Start < 0 && FloatMod(Start, Step) == 0 && Count >= FloatQuotient(Start, Step)) return 1;
  return 0;
}

}  // namespace

double NiceNumberScore(const TNiceNumberCandidate& C) {
  const double coverage = C.Range / ((C.Count - 1) * C.Step);
  if (C.Fixed) return coverage > 1 ? 0 : coverage - C.Cover;
  const double simplicity = 1 - (C.Position - ZeroTerm(C.Start, C.Step, C.Count)) / 5;
  const double density = std::max(1 - std::abs(C.Count - kBestDensity) / kBestDensity, 0.0);
  return (simplicity + density + coverage) / 3;
}

void FindNiceNumbers(double& Start, double& Step, double A, double B, int& N, bool Fixed) {
  const double lo = std::min(A, B);
  const double hi = std::max(A, B);
  const double range = hi - lo;
  if (!Fixed) N = 1;
  Start = 0;
  Step = 0;
  if (range == 0) return;

  double best = kNoScore;
  if (Fixed) {
    if (N < 2) throw ENiceNumberError("Floating point division by zero");
    const double steps = N - 1;
    int position = 0;
    for (const double q : kFixedMultipliers) {
      ++position;
      double unit = std::pow(10.0, std::ceil(std::log10(range / (steps * q)))) * q;
      double s = std::floor(lo / unit + kTolerance) * unit;
      if (s + steps * unit < hi) {
        unit *= 10;
        s = std::floor(lo / unit + kTolerance) * unit;
      }
      const double cover = (s + steps * unit - hi) / unit;
      const double score = NiceNumberScore({s, unit, N, position, range, cover, true});
      if (score > best) {
        best = score;
        if (cover > 1) s -= std::floor(cover / 2) * unit;
        Start = s;
        Step = unit;
      }
    }
    return;
  }

  int position = 0;
  for (const double q : kFreeMultipliers) {
    ++position;
    const double unit = std::pow(10.0, std::ceil(std::log10(range / (kFreeMaxSteps * q)))) * q;
    const double s = std::ceil(lo / unit - kTolerance) * unit;
    const double count = std::floor((hi - s) / unit + kTolerance) + 1;
    if (!(count >= kFreeMinBounds && count <= INT_MAX)) continue;
    const int m = static_cast<int>(count);
    const double score = NiceNumberScore({s, unit, m, position, range, 0, false});
    if (score > best) {
      best = score;
      Start = s;
      Step = unit;
      N = m;
    }
  }
}

std::string NiceNumbersText(double Start, double Step, int N, const TFormatSettings& Settings) {
  std::string text;
  for (int k = 0; k < N; ++k) {
    if (k > 0) text += ",  ";
    text += FloatToText(Start + k * Step, Settings);
  }
  return text;
}
