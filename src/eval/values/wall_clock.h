// The wall clock of the evaluator: now, today and dates written without a
// year or with two digits read it here and nowhere else.
#pragma once

#include <chrono>

// The current time. It is the only thing its source file defines, so a
// program whose results must not depend on the day it runs (the fuzz targets)
// links a fixed clock of its own in its place.
std::chrono::system_clock::time_point JUXWallClockNow();
