#include "app/core/window/typed_numbers.h"

#include <cmath>
#include <string>

#include "foundation/float_text.h"

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
