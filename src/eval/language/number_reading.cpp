#include "eval/language/number_reading.h"

#include <charconv>
#include <limits>
#include <string>

namespace {

char LowerASCII(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerASCII(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool JUXSameTextASCII(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerASCII(a[i]) != LowerASCII(b[i])) return false;
  return true;
}

std::string_view JUXTrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<long double> ReadJUXFloat(std::string_view text, const TFormatSettings& settings) {
  text = JUXTrimBlanks(text);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Rebuilt in the form from_chars reads (digits, '.', 'e'); the decimal
  // exponent of the leading significant digit tells overflow from underflow.
  std::string plain;
  size_t digits = 0;
  long long leadExponent = 0;
  bool significant = false;
  while (i < text.size() && IsDigit(text[i])) {
    if (text[i] != '0') significant = true;
    if (significant) ++leadExponent;
    plain += text[i++];
    ++digits;
  }
  if (i < text.size() && text[i] == settings.DecimalSeparator) {
    ++i;
    plain += '.';
    while (i < text.size() && IsDigit(text[i])) {
      if (!significant && text[i] != '0') significant = true;
      if (!significant) --leadExponent;
      plain += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    plain += 'e';
    bool expNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      expNegative = text[i] == '-';
      plain += text[i++];
    }
    const size_t start = i;
    long long exponent = 0;
    while (i < text.size() && IsDigit(text[i])) {
      if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
      plain += text[i++];
    }
    if (i == start) return std::nullopt;
    leadExponent += expNegative ? -exponent : exponent;
  }
  if (i != text.size()) return std::nullopt;
  if (!significant) return negative ? -0.0L : 0.0L;

  // Read in extended precision, the values' own; with floating-point
  // exceptions masked an overflow gives an infinity and an underflow zero.
  long double value = 0;
  const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (res.ptr != plain.data() + plain.size()) return std::nullopt;
  if (res.ec == std::errc::result_out_of_range)
    value = leadExponent > 0 ? std::numeric_limits<long double>::infinity() : 0.0L;
  else if (res.ec != std::errc())
    return std::nullopt;
  return negative ? -value : value;
}

std::optional<int32_t> ReadJUXInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string_view rest = text.substr(i);
  if (rest.empty()) return std::nullopt;

  bool hex = false;
  if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
    hex = true;
    rest.remove_prefix(1);
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = true;
    rest.remove_prefix(2);
  }
  if (rest.empty()) return std::nullopt;

  if (hex) {
    if (rest.size() > 8) return std::nullopt;
    uint32_t pattern = 0;
    for (char c : rest) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      pattern = (pattern << 4) | static_cast<uint32_t>(digit);
    }
    const int32_t value = static_cast<int32_t>(pattern);
    return negative ? static_cast<int32_t>(0u - pattern) : value;
  }

  int64_t magnitude = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 2147483648LL) return std::nullopt;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}
