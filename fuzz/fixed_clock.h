// The evaluator's clock for the fuzz targets, handed to their roots: a fixed
// moment, so that now, today and dates without a full year give the same
// values on every day and a fixed-seed run repeats exactly.
#pragma once

// 2020-02-29 13:45:30.250 as a day count (2020-02-29 is day 43890).
inline double FixedFuzzClock() { return 43890.0 + (13 * 3600 + 45 * 60 + 30.25) / 86400.0; }
