#include "eval/language/number_reading.h"

#include "foundation/number_scan.h"

namespace {

char LowerASCII(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return IsNumberBlank(c, TNumberBlanks::SpaceAndControl); }

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
  return TrimNumberBlanks(text, TNumberBlanks::SpaceAndControl);
}

std::optional<long double> ReadJUXFloat(std::string_view text, const TFormatSettings& settings) {
  // Extended precision, the values' own; with floating-point exceptions
  // masked an overflow gives an infinity.
  return ReadDecimalNumberExtended(
      text, {settings.DecimalSeparator, TNumberBlanks::SpaceAndControl, TNumberOverflow::Infinity});
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
