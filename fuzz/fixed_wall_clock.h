// The evaluator's wall clock for the fuzz targets: a fixed moment, linked in
// place of the library's, so that now, today and dates without a full year
// give the same values on every day and a fixed-seed run repeats exactly.
// Include it in one source file of a target.
#pragma once

#include <chrono>

#include "eval/values/wall_clock.h"

std::chrono::system_clock::time_point JUXWallClockNow() {
  // 2020-02-29 13:45:30.250 UTC.
  return std::chrono::system_clock::time_point(std::chrono::milliseconds(1582983930250));
}
