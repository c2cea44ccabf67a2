#include "treemap/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "foundation/assertion.h"
#include "foundation/format_settings.h"

namespace {

constexpr int kMaxFixedDecimals = 18;

// Writes Value in fixed notation with Precision decimals (correctly rounded).
std::string ToFixed(double value, int precision) {
  // 309 integer digits at most, a sign, a separator and 19 decimals.
  char buffer[400];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  return ec == std::errc{} ? std::string(buffer, end) : std::string("0");
}

// The value in fixed notation with N decimals, an exact tie rounded away from
// zero (2.5 -> "3", 0.125 -> "0.13") as people round by hand, where the
// correctly rounded conversion would give the even digit.
// A tie needs Value * 10^(N+1) to be an integer, which for a binary fraction
// means Value * 2^(N+1) is one; then N + 1 decimals write Value exactly.
std::string RoundedFixed(double value, int n) {
  const double scaled = std::ldexp(value, n + 1);
  if (std::trunc(scaled) != scaled) return ToFixed(value, n);
  std::string text = ToFixed(value, n + 1);
  if (text.back() != '5') return ToFixed(value, n);
  text.pop_back();
  if (n == 0) text.pop_back();  // the decimal separator
  // Carry the rounding up through the digits, growing a new leading "1" when needed.
  size_t i = text.size();
  while (i > 0) {
    --i;
    if (text[i] == '.') continue;
    if (text[i] == '-') break;
    if (text[i] != '9') {
      ++text[i];
      return text;
    }
    text[i] = '0';
  }
  text.insert(text[0] == '-' ? 1 : 0, 1, '1');
  return text;
}

// Value in fixed notation with Decimals decimals and DecimalSeparator, then
// trimmed down to MinDecimals. Trailing separators in Strip are removed last.
std::string FixedTrimmed(double value, int minDecimals, int maxDecimals, char decimalSeparator,
                         std::string_view strip) {
  Require(minDecimals >= 0, "Assertion failure");
  Require(maxDecimals >= minDecimals, "Assertion failure");
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  int n = std::min(maxDecimals, kMaxFixedDecimals);
  std::string text = RoundedFixed(value, n);
  // A tiny negative value written as zero must not read "-0".
  if (text.front() == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
  if (decimalSeparator != '.') std::replace(text.begin(), text.end(), '.', decimalSeparator);
  while (n > minDecimals && text.back() == '0') {
    text.pop_back();
    --n;
  }
  if (!text.empty() && strip.find(text.back()) != std::string_view::npos) text.pop_back();
  return text;
}

}  // namespace

std::string FloatToStrTrimmed(double value, int minDecimals, int maxDecimals, const TFormatSettings& settings) {
  return FixedTrimmed(value, minDecimals, maxDecimals, settings.DecimalSeparator,
                      std::string_view(&settings.DecimalSeparator, 1));
}

std::string FloatToStrTrimmed(int minDecimals, int maxDecimals, double value) {
  return FixedTrimmed(value, minDecimals, maxDecimals, UserFormatSettings().DecimalSeparator, ".,");
}
