#pragma once
// Numbers as fixed-point text with trimmed decimals: at least MinDecimals and
// at most MaxDecimals (18 at the most) decimals, trailing zeros beyond the
// minimum dropped, and a trailing decimal separator dropped. No thousands
// separators. NaN gives "NAN", infinities "INF" and "-INF"; a value that
// rounds to zero never carries a minus sign.
//
// Raises EAssertionFailed ("Assertion failure") when MinDecimals < 0 or
// MaxDecimals < MinDecimals.

#include <string>

struct TFormatSettings;

// With the decimal separator of Settings.
std::string FloatToStrTrimmed(double value, int minDecimals, int maxDecimals, const TFormatSettings& settings);
// With the user's locale (UserFormatSettings); a trailing "." or "," is dropped.
std::string FloatToStrTrimmed(int minDecimals, int maxDecimals, double value);
