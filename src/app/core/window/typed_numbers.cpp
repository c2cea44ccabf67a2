#include "app/core/window/typed_numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "foundation/float_text.h"
#include "foundation/number_scan.h"

namespace {
std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }
}  // namespace

double StrToFloat(std::string_view text, const TFormatSettings& settings) {
  const auto value = TextToFloat(text, settings);
  // An infinity or NaN is never a usable typed value.
  if (!value || !std::isfinite(*value))
    throw EConvertError(Quoted(text) + " is not a valid floating point value");
  return *value;
}

int32_t StrToInt(std::string_view text) {
  const auto value = TextToInt32(text);
  if (!value) throw EConvertError(Quoted(text) + " is not a valid integer value");
  return *value;
}

std::optional<int32_t> TextToInt32Held(std::string_view text) {
  if (const auto value = TextToInt32(text)) return value;
  // What is left is refused for its size alone when it is a sign and digits.
  std::string_view digits = TrimNumberBlanks(text, TNumberBlanks::Whitespace);
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (negative || digits.front() == '+')) digits.remove_prefix(1);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return negative ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}
