#include "foundation/number_scan.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Exponent digits stop counting here: far beyond any text's digit count, so
// the sign of the leading digit's exponent below stays right, and far from
// the end of int64_t.
constexpr int64_t kExponentCap = 1'000'000'000'000'000;

// A text that matches the grammar, rebuilt in the form std::from_chars reads
// (digits, '.', 'e', exponent sign, digits; the number's sign kept apart).
struct TScanned {
  std::string Plain;
  bool Negative = false;
  bool Zero = true;  // no significant digit
  // The value lies in [10^(L-1), 10^L): when from_chars reports the value out
  // of range, L > 0 means an overflow and L <= 0 an underflow.
  int64_t LeadExponent = 0;
};

std::optional<TScanned> Scan(std::string_view text, const TNumberRules& rules) {
  text = TrimNumberBlanks(text, rules.Blanks);
  TScanned out;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) out.Negative = text[i++] == '-';

  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (text[i] != '0') out.Zero = false;
    if (!out.Zero) ++out.LeadExponent;
    out.Plain += text[i++];
    ++digits;
  }
  if (i < text.size() && text[i] == rules.DecimalSeparator) {
    ++i;
    out.Plain += '.';
    while (i < text.size() && IsDigit(text[i])) {
      if (text[i] != '0') out.Zero = false;
      if (out.Zero) --out.LeadExponent;
      out.Plain += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    out.Plain += 'e';
    bool expNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      expNegative = text[i] == '-';
      out.Plain += text[i++];
    }
    const size_t start = i;
    int64_t exponent = 0;
    while (i < text.size() && IsDigit(text[i])) {
      if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
      out.Plain += text[i++];
    }
    if (i == start) return std::nullopt;
    out.LeadExponent += expNegative ? -exponent : exponent;
  }
  if (i != text.size()) return std::nullopt;
  return out;
}

template <class T>
std::optional<T> Read(std::string_view text, const TNumberRules& rules) {
  const std::optional<TScanned> scanned = Scan(text, rules);
  if (!scanned) return std::nullopt;
  const T sign = scanned->Negative ? T(-1) : T(1);
  if (scanned->Zero) return sign * T(0);

  const std::string& plain = scanned->Plain;
  T value = 0;
  const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (res.ptr != plain.data() + plain.size()) return std::nullopt;
  if (res.ec == std::errc::result_out_of_range) {
    if (scanned->LeadExponent <= 0) return sign * T(0);
    if (rules.Overflow == TNumberOverflow::Fails) return std::nullopt;
    return sign * std::numeric_limits<T>::infinity();
  }
  if (res.ec != std::errc()) return std::nullopt;
  return sign * value;
}

}  // namespace

bool IsNumberBlank(char c, TNumberBlanks blanks) {
  if (blanks == TNumberBlanks::SpaceAndControl) return static_cast<unsigned char>(c) <= ' ';
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view TrimNumberBlanks(std::string_view text, TNumberBlanks blanks) {
  while (!text.empty() && IsNumberBlank(text.front(), blanks)) text.remove_prefix(1);
  while (!text.empty() && IsNumberBlank(text.back(), blanks)) text.remove_suffix(1);
  return text;
}

std::optional<double> ReadDecimalNumber(std::string_view text, const TNumberRules& rules) {
  return Read<double>(text, rules);
}

std::optional<long double> ReadDecimalNumberExtended(std::string_view text, const TNumberRules& rules) {
  return Read<long double>(text, rules);
}
