#pragma once
// The one reader of decimal number text: optional blanks, an optional sign,
// digits with at most one decimal separator (digits on at least one side), an
// optional exponent ("E" or "e", optional sign, at least one digit) and
// optional blanks. Its callers differ only in what the rules below say: the
// format-settings reader (foundation/float_text.h) reads doubles, trims the
// four whitespace characters and refuses an overflow; the evaluator's values
// read extended precision, trim every control character and overflow to an
// infinity. Both take an underflow to zero. No thousands separator, no
// hexadecimal, no "INF" or "NAN".

#include <cstdint>
#include <optional>
#include <string_view>

// Which characters count as blanks around a number.
enum class TNumberBlanks : uint8_t {
  Whitespace,       // space, TAB, LF and CR
  SpaceAndControl,  // space and every character code below it
};

// What a value beyond the floating type's range gives.
enum class TNumberOverflow : uint8_t {
  Fails,     // nullopt: the text is not a number of that type
  Infinity,  // a signed infinity, as arithmetic with masked exceptions gives
};

struct TNumberRules {
  char DecimalSeparator = '.';
  TNumberBlanks Blanks = TNumberBlanks::Whitespace;
  TNumberOverflow Overflow = TNumberOverflow::Fails;
};

bool IsNumberBlank(char c, TNumberBlanks blanks);
// The text without leading and trailing blanks of the given kind.
std::string_view TrimNumberBlanks(std::string_view text, TNumberBlanks blanks);

// nullopt when the text does not match the grammar (or overflows under
// TNumberOverflow::Fails). A zero keeps its sign ("-0" gives -0.0).
std::optional<double> ReadDecimalNumber(std::string_view text, const TNumberRules& rules);
std::optional<long double> ReadDecimalNumberExtended(std::string_view text, const TNumberRules& rules);
