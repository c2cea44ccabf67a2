#pragma once
// Numbers to and from text in a format-settings record, independent of the C
// library's locale (the program's global locale may use another separator).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/format_settings.h"

// The shortest general form: at most 15 significant digits, no trailing zeros;
// fixed notation when the magnitude is at least 0.0001 and it has at most 15
// integer digits, else scientific with "E", a minus sign only for negative
// exponents and no leading zeros ("1E-5", "1,5E20"). The decimal separator is
// the record's; no thousands separator. Zero is "0", NaN "NAN", infinities
// "INF" and "-INF".
std::string FloatToText(double value, const TFormatSettings& settings);

// Reads optional blanks (space, TAB, LF, CR), an optional sign, digits with
// an optional decimal separator of the record (digits on at least one side),
// an optional exponent ("E" or "e", optional sign, at least one digit) and
// optional blanks. Any other text, including a thousands separator, or a
// value that overflows the double range gives nullopt; an underflow gives 0.
// The grammar is the one of foundation/number_scan.h.
std::optional<double> TextToFloat(std::string_view text, const TFormatSettings& settings);

// Plain decimal, optionally with a sign and surrounding blanks; nullopt when
// the text is not such an integer or it is outside the 32-bit range.
std::optional<int32_t> TextToInt32(std::string_view text);
std::string Int32ToText(int32_t value);
