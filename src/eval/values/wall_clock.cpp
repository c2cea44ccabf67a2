#include "eval/values/wall_clock.h"

std::chrono::system_clock::time_point JUXWallClockNow() { return std::chrono::system_clock::now(); }
