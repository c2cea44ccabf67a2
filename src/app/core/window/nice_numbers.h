#pragma once
// Nice class bounds between two numbers: a round start and a round step, such
// as 20, 22, ..., 40. Bound k is Start + k * Step.

#include <stdexcept>
#include <string>

#include "foundation/format_settings.h"

// A fixed-count search asked for fewer than two bounds: its step estimate
// divides by zero.
class ENiceNumberError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One candidate of the search.
struct TNiceNumberCandidate {
  double Start = 0;     // first bound
  double Step = 0;      // the unit between bounds
  int Count = 0;        // number of bounds
  int Position = 1;     // position of the step multiplier in its table, from 1
  double Range = 0;     // the larger input less the smaller
  double Cover = 0;     // fixed count: overshoot above the larger input, in steps
  bool Fixed = false;   // scored for a fixed count of bounds
};

// Higher is better. Free search: the mean of simplicity (earlier multipliers
// and a bound at zero score higher), density (best at 11 bounds) and coverage.
// Fixed count: coverage less cover, or 0 when the bounds do not reach.
double NiceNumberScore(const TNiceNumberCandidate& Candidate);

// With Fixed set, N is the given number of bounds and stays unchanged (fewer
// than two raises ENiceNumberError unless A = B); otherwise N receives the
// number found. Equal inputs give Start 0, Step 0 (and N 1 in a free search),
// as does a free search that finds no candidate with more than 7 bounds.
void FindNiceNumbers(double& Start, double& Step, double A, double B, int& N, bool Fixed);

// The N bounds, each in the shortest general form of Settings, joined by
// ",  ".
std::string NiceNumbersText(double Start, double Step, int N, const TFormatSettings& Settings);
