#pragma once
// The evaluator's clock: now, today and dates written without a year or with
// two digits read the time through the clock the host hands the root
// (TJUXExpression::SetClock), so a host that must not depend on the day it
// runs (a test, a fuzz target) hands a fixed one.

#include <functional>

// The current local date and time as a day count (30 December 1899 = day 0),
// the time of day as the fraction.
using TJUXClock = std::function<double()>;

// The system clock in the process's local time zone, to the millisecond.
double JUXSystemClockNow();
// A clock that reads JUXSystemClockNow: what a root without a clock of its
// host, and a value operation without a node, read.
const TJUXClock& JUXSystemClock();
