#include "foundation/float_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

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
  text = Trim(text);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Rebuild the number in the form from_chars reads: digits, '.', 'e'.
  std::string plain;
  size_t intDigits = 0, fracDigits = 0, leadingIntZeros = 0, leadingFracZeros = 0;
  bool significant = false;
  while (i < text.size() && IsDigit(text[i])) {
    if (!significant && text[i] == '0') ++leadingIntZeros; else significant = true;
    plain += text[i++];
    ++intDigits;
  }
  if (i < text.size() && text[i] == settings.DecimalSeparator) {
    ++i;
    plain += '.';
    while (i < text.size() && IsDigit(text[i])) {
      if (!significant && text[i] == '0') ++leadingFracZeros; else significant = true;
      plain += text[i++];
      ++fracDigits;
    }
  }
  if (intDigits + fracDigits == 0) return std::nullopt;
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    plain += 'e';
    bool expNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      expNegative = text[i] == '-';
      plain += text[i++];
    }
    const size_t start = i;
    while (i < text.size() && IsDigit(text[i])) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
      plain += text[i++];
    }
    if (i == start) return std::nullopt;
    if (expNegative) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;
  if (!significant) return negative ? -0.0 : 0.0;

  double value = 0;
  const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (res.ptr != plain.data() + plain.size()) return std::nullopt;
  if (res.ec == std::errc::result_out_of_range) {
    // Out of range either way: the decimal exponent of the leading digit tells which.
    const long long magnitude = exponent + (intDigits > leadingIntZeros
                                                ? static_cast<long long>(intDigits - leadingIntZeros)
                                                : -static_cast<long long>(leadingFracZeros));
    if (magnitude > 0) return std::nullopt;
    value = 0;
  } else if (res.ec != std::errc()) {
    return std::nullopt;
  }
  if (std::isinf(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<int32_t> TextToInt32(std::string_view text) {
  text = Trim(text);
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
