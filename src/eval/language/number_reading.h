#pragma once
// Reading numbers from text as the value constructors and the string casts
// do, and small ASCII text helpers of the evaluator.

#include <cstdint>
#include <optional>
#include <string_view>

#include "foundation/format_settings.h"

// Optional blanks around, optional sign, digits with at most one decimal
// separator of the settings, optional exponent; nullopt for anything else.
// Read in extended precision: beyond its range the result is an infinity
// (overflow) or zero (underflow), never nullopt.
std::optional<long double> ReadJUXFloat(std::string_view text, const TFormatSettings& settings);

// Optional leading blanks, optional sign, then decimal digits, or hexadecimal
// digits after "$", "x", "X", "0x" or "0X" (at most eight, a 32-bit pattern).
// The value must fit in 32 signed bits; trailing characters (blanks too) fail.
std::optional<int32_t> ReadJUXInteger(std::string_view text);

// Equality ignoring the case of ASCII letters.
bool JUXSameTextASCII(std::string_view a, std::string_view b);
// The text without leading and trailing blanks (space and control characters).
std::string_view JUXTrimBlanks(std::string_view text);
