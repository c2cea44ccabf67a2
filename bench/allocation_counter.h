// Counts heap allocations made by the benchmark process, so a benchmark can
// report allocations per iteration beside its time. The count comes from a
// replaced global operator new; it is a process-wide tally, read before and
// after the timed loop.
#pragma once

#include <cstdint>

// Number of global operator new calls since the process started.
std::uint64_t AllocationCount();
