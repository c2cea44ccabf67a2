#include "foundation/float_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "foundation/number_scan.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FloatToText(double value, const TFormatSettings& settings) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // Fifteen digits would round the largest doubles (above 1.797693134862315E308)
  // up to 1.79769313486232E308, past the double range, and that text would not
  // read back: those few are written rounded down instead.
  constexpr double kLargestFifteenDigits = 1.79769313486231e308;
  if (std::fabs(value) > kLargestFifteenDigits) value = std::copysign(kLargestFifteenDigits, value);

  // 15 significant digits, "d.dddddddddddddde[+-]x", rounded by to_chars.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  const std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
  const size_t ePos = sci.find('e');
  const bool negative = sci[0] == '-';
  std::string digits;
  for (const char c : sci.substr(0, ePos))
    if (IsDigit(c)) digits += c;
  int exponent = 0;
  std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  const int n = static_cast<int>(digits.size());
  if (exponent >= -4 && exponent < 15) {
    if (exponent < 0) {
      out += '0';
      out += settings.DecimalSeparator;
      out.append(static_cast<size_t>(-exponent - 1), '0');
      out += digits;
    } else if (n <= exponent + 1) {
      out += digits;
      out.append(static_cast<size_t>(exponent + 1 - n), '0');
    } else {
      out += digits.substr(0, static_cast<size_t>(exponent + 1));
      out += settings.DecimalSeparator;
      out += digits.substr(static_cast<size_t>(exponent + 1));
    }
    return out;
  }
  out += digits[0];
  if (n > 1) {
    out += settings.DecimalSeparator;
    out += digits.substr(1);
  }
  out += 'E';
  out += std::to_string(exponent);
  return out;
}

std::optional<double> TextToFloat(std::string_view text, const TFormatSettings& settings) {
  return ReadDecimalNumber(text, {settings.DecimalSeparator, TNumberBlanks::Whitespace, TNumberOverflow::Fails});
}

std::optional<int32_t> TextToInt32(std::string_view text) {
  text = TrimNumberBlanks(text, TNumberBlanks::Whitespace);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  int32_t value = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::string Int32ToText(int32_t value) { return std::to_string(value); }
