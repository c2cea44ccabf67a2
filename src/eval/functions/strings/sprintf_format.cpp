#include "eval/functions/strings/sprintf_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "eval/values/date_text.h"

namespace {

struct TEscape {
  std::string_view Search;
  std::string_view Replacement;
};

// In this order: on equal positions the lower row wins.
constexpr std::array<TEscape, 4> kEscapes = {{
    {"\\\\", "\\"},
    {"\\n", "\r\n"},
    {"\\t", "\t"},
    {"%d", "%1.0f"},
}};

constexpr int kMaxIntegerPrecision = 16;
constexpr int kMaxFloatPrecision = 18;
constexpr int kDefaultSignificant = 15;
constexpr int kDefaultDecimals = 2;
constexpr int kMinExponentDigits = 3;
// Below 10^-5, general numbers go scientific.
constexpr int kLowestFixedExponent = -5;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// --- numbers as text

// Digits of `value` (finite, non-negative) by to_chars; "." as the point.
std::string Chars(long double value, std::chars_format form, int precision) {
  std::array<char, 5200> buffer;  // the longest fixed form of an 80-bit float with 18 decimals fits
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, form, precision);
  return ec == std::errc() ? std::string(buffer.data(), end) : std::string("0");
}

std::string WithSeparators(std::string digits, const TFormatSettings& s, bool thousands) {
  const size_t point = digits.find('.');
  std::string whole = digits.substr(0, point);
  std::string out;
  for (size_t k = 0; k < whole.size(); ++k) {
    if (thousands && k > 0 && (whole.size() - k) % 3 == 0 && s.ThousandSeparator != '\0') out += s.ThousandSeparator;
    out += whole[k];
  }
  if (point != std::string::npos) {
    out += s.DecimalSeparator;
    out.append(digits, point + 1, std::string::npos);
  }
  return out;
}

std::string NonFinite(long double value) {
  if (std::isnan(value)) return "NAN";
  return value > 0 ? "INF" : "-INF";
}

// Mantissa digits and decimal exponent of a positive value with `significant` digits.
void SplitScientific(long double magnitude, int significant, std::string& mantissa, int& exponent) {
  const std::string text = Chars(magnitude, std::chars_format::scientific, significant - 1);
  const size_t e = text.find('e');
  mantissa = text.substr(0, e);
  exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
}

std::string Sign(long double value) { return std::signbit(value) && value != 0 ? "-" : ""; }

std::string FormatFixed(long double value, int decimals, const TFormatSettings& s, bool thousands) {
  const std::string digits = Chars(std::fabs(value), std::chars_format::fixed, decimals);
  // A value that rounds to zero shows no sign.
  const bool zero = digits.find_first_not_of("0.") == std::string::npos;
  return (zero ? "" : Sign(value)) + WithSeparators(digits, s, thousands);
}

std::string FormatScientific(long double value, int significant, const TFormatSettings& s) {
  std::string mantissa;
  int exponent = 0;
  SplitScientific(std::fabs(value), significant, mantissa, exponent);
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (digits.size() < kMinExponentDigits) digits.insert(0, kMinExponentDigits - digits.size(), '0');
  return Sign(value) + WithSeparators(mantissa, s, false) + "E" + (exponent < 0 ? "-" : "+") + digits;
}

std::string StripTrailingZeros(std::string digits) {
  if (digits.find('.') == std::string::npos) return digits;
  while (digits.back() == '0') digits.pop_back();
  if (digits.back() == '.') digits.pop_back();
  return digits;
}

std::string FormatGeneral(long double value, int significant, const TFormatSettings& s) {
  if (value == 0) return "0";
  std::string mantissa;
  int exponent = 0;
  SplitScientific(std::fabs(value), significant, mantissa, exponent);
  if (exponent < kLowestFixedExponent || exponent >= significant) {
    return Sign(value) + WithSeparators(StripTrailingZeros(mantissa), s, false) + "E" +
           (exponent < 0 ? "-" : "") + std::to_string(exponent < 0 ? -exponent : exponent);
  }
  const std::string digits = Chars(std::fabs(value), std::chars_format::fixed, significant - 1 - exponent);
  return Sign(value) + WithSeparators(StripTrailingZeros(digits), s, false);
}

std::string IntegerDigits(uint64_t magnitude, int base, int precision) {
  std::array<char, 64> buffer;
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, base);
  std::string digits(buffer.data(), ec == std::errc() ? end : buffer.data());
  for (char& c : digits)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  if (precision >= 0 && precision <= kMaxIntegerPrecision && digits.size() < static_cast<size_t>(precision))
    digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
  return digits;
}

// --- directives

class TDirectiveFormatter {
 public:
  TDirectiveFormatter(std::string_view format, std::span<const TJUXVarRec> args, const TFormatSettings& settings)
      : FFormat(format), FArgs(args), FSettings(settings) {}

  // The formatted text into `out` (replacing its content); false on failure.
  bool Run(std::string& out);

 private:
  // A decimal number or "*"; -1 when there is none; false when malformed.
  bool ReadNumber(int& value);
  bool Directive(std::string& out);
  // Appends the argument converted by `type` to `out`.
  bool Convert(char type, int precision, std::string& out);
  const TJUXVarRec* NextArg() { return FNext < FArgs.size() ? &FArgs[FNext++] : nullptr; }

  std::string_view FFormat;
  std::span<const TJUXVarRec> FArgs;
  const TFormatSettings& FSettings;
  size_t FPos = 0;
  size_t FNext = 0;  // the argument of the next directive
};

bool TDirectiveFormatter::ReadNumber(int& value) {
  value = -1;
  if (FPos < FFormat.size() && FFormat[FPos] == '*') {
    ++FPos;
    const TJUXVarRec* arg = NextArg();
    const int64_t* number = arg ? std::get_if<int64_t>(arg) : nullptr;
    value = number && *number >= 0 && *number <= std::numeric_limits<int>::max() ? static_cast<int>(*number) : 0;
    return true;
  }
  const size_t start = FPos;
  while (FPos < FFormat.size() && IsDigit(FFormat[FPos])) ++FPos;
  if (FPos == start) return true;
  const auto [end, ec] = std::from_chars(FFormat.data() + start, FFormat.data() + FPos, value);
  return ec == std::errc();
}

bool TDirectiveFormatter::Directive(std::string& out) {
  // FPos is just after the "%".
  if (FPos >= FFormat.size()) return false;
  if (FFormat[FPos] == '%') {
    out += '%';
    ++FPos;
    return true;
  }
  int width = -1, precision = -1;
  bool left = false;
  if (!ReadNumber(width)) return false;
  if (FPos < FFormat.size() && FFormat[FPos] == ':') {
    if (width < 0) return false;
    FNext = static_cast<size_t>(width);
    ++FPos;
    width = -1;
  }
  if (width < 0) {
    if (FPos < FFormat.size() && FFormat[FPos] == '-') {
      left = true;
      ++FPos;
    }
    if (!ReadNumber(width)) return false;
  }
  if (FPos < FFormat.size() && FFormat[FPos] == '.') {
    ++FPos;
    if (!ReadNumber(precision)) return false;
    if (precision < 0) precision = 0;
  }
  if (FPos >= FFormat.size() || width > kJUXMaxFormatWidth) return false;
  const size_t start = out.size();
  if (!Convert(Lower(FFormat[FPos++]), precision, out)) return false;
  const size_t length = out.size() - start;
  const size_t pad = width > 0 && length < static_cast<size_t>(width) ? width - length : 0;
  if (left)
    out.append(pad, ' ');
  else
    out.insert(start, pad, ' ');
  return true;
}

bool TDirectiveFormatter::Convert(char type, int precision, std::string& out) {
  const TJUXVarRec* arg = NextArg();
  if (!arg) return false;
  switch (type) {
    case 'd':
    case 'u':
    case 'x': {
      const int64_t* number = std::get_if<int64_t>(arg);
      if (!number) return false;
      if (type == 'd') {
        const uint64_t magnitude = *number < 0 ? 0 - static_cast<uint64_t>(*number) : static_cast<uint64_t>(*number);
        if (*number < 0) out += '-';
        out += IntegerDigits(magnitude, 10, precision);
        return true;
      }
      out += IntegerDigits(static_cast<uint64_t>(*number), type == 'u' ? 10 : 16, precision);
      return true;
    }
    case 'e':
    case 'f':
    case 'g':
    case 'n':
    case 'm': {
      const long double* number = std::get_if<long double>(arg);
      if (!number) return false;
      if (!std::isfinite(*number)) {
        out += NonFinite(*number);
        return true;
      }
      if (type == 'e' || type == 'g') {
        const int significant = precision < 0 || precision > kMaxFloatPrecision ? kDefaultSignificant
                                                                                : std::max(precision, 1);
        out += type == 'e' ? FormatScientific(*number, significant, FSettings)
                           : FormatGeneral(*number, significant, FSettings);
        return true;
      }
      if (type == 'm') {
        TFormatSettings money = FSettings;
        if (precision >= 0 && precision <= kMaxFloatPrecision) money.CurrencyDecimals = static_cast<uint8_t>(precision);
        out += FormatJUXCurrency(static_cast<double>(*number), money);
        return true;
      }
      const int decimals = precision < 0 || precision > kMaxFloatPrecision ? kDefaultDecimals : precision;
      out += FormatFixed(*number, decimals, FSettings, type == 'n');
      return true;
    }
    case 's': {
      const std::string* text = std::get_if<std::string>(arg);
      if (!text) return false;
      out.append(*text, 0, precision >= 0 ? static_cast<size_t>(precision) : std::string::npos);
      return true;
    }
    default:  // "p" and anything else: no argument fits
      return false;
  }
}

bool TDirectiveFormatter::Run(std::string& out) {
  out.clear();
  while (FPos < FFormat.size()) {
    const size_t percent = FFormat.find('%', FPos);
    out.append(FFormat.substr(FPos, percent == std::string_view::npos ? std::string_view::npos : percent - FPos));
    if (percent == std::string_view::npos) break;
    FPos = percent + 1;
    if (!Directive(out)) return false;
  }
  return true;
}

}  // namespace

std::string TranslateSprintfEscapes(std::string_view text) {
  std::string result(text);
  size_t pos = 0;  // 0-based: scanning goes on after each inserted text
  while (pos + 1 < result.size()) {
    size_t best = std::string::npos;
    const TEscape* found = nullptr;
    for (const TEscape& row : kEscapes) {
      const size_t at = result.find(row.Search, pos);
      if (at < best) {
        best = at;
        found = &row;
      }
    }
    if (!found) break;
    result.replace(best, found->Search.size(), found->Replacement);
    pos = best + found->Replacement.size();
  }
  return result;
}

bool FormatJUXDirectives(std::string_view format, std::span<const TJUXVarRec> args, const TFormatSettings& settings,
                         std::string& out) {
  return TDirectiveFormatter(format, args, settings).Run(out);
}

std::optional<std::string> FormatJUXDirectives(std::string_view format, std::span<const TJUXVarRec> args,
                                               const TFormatSettings& settings) {
  std::string out;
  if (!FormatJUXDirectives(format, args, settings, out)) return std::nullopt;
  return out;
}
