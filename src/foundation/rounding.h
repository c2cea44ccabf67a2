#pragma once
// Rounding to a signed 32-bit integer: nearest, ties to even. NaN and values
// outside the 32-bit range give -2147483648 (what the processor's masked
// invalid-operation conversion yields), never an exception.

#include <cstdint>

int32_t RoundDouble(double value) noexcept;
int32_t RoundSingle(float value) noexcept;
