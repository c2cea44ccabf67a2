// Numbers typed into edit boxes: arbitrary text through StrToFloat and
// StrToInt in a few locales' records. Each either gives a value or raises
// EConvertError with the tool's message; nothing else may escape.
// An accepted real is finite, is the value the C library reads from the same
// text (with the record's decimal separator written as '.'), and what the
// tool shows for it (FloatToText) reads back to a value shown the same way;
// an accepted integer reads as the same real, and its text reads back.
// TextToInt32Held gives what StrToInt accepts, and otherwise only an end of
// the 32-bit range for an integer beyond it on that side.
//
// Input: byte 0 picks the locale record; the rest is the typed text.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "app/core/window/typed_numbers.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"

namespace {

TFormatSettings Record(char decimal, char thousands) {
  TFormatSettings s;
  s.DecimalSeparator = decimal;
  s.ThousandSeparator = thousands;
  return s;
}

// English, German, French and Swiss separators.
const TFormatSettings kRecords[] = {Record('.', ','), Record(',', '.'), Record(',', ' '),
                                    Record('.', '\'')};

void Check(bool condition) {
  if (!condition) abort();
}

// The message quotes the text; what() ends at a NUL byte of it.
void CheckMessage(const EConvertError& e, std::string_view text, const char* tail) {
  const std::string want = "'" + std::string(text) + "' is not a valid " + tail + " value";
  Check(std::string_view(e.what()) == std::string_view(want.c_str()));
}

std::optional<double> Float(std::string_view text, const TFormatSettings& settings) {
  try {
    return StrToFloat(text, settings);
  } catch (const EConvertError& e) {
    CheckMessage(e, text, "floating point");
    return std::nullopt;
  }
}

std::optional<int32_t> Int(std::string_view text) {
  try {
    return StrToInt(text);
  } catch (const EConvertError& e) {
    CheckMessage(e, text, "integer");
    return std::nullopt;
  }
}

// The C library's reading of an accepted text: the record's separator as
// '.', surrounding blanks dropped.
double LibcValue(std::string_view text, const TFormatSettings& settings) {
  std::string plain(text);
  for (char& c : plain)
    if (c == settings.DecimalSeparator) c = '.';
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(plain.c_str(), &end);
  while (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r') ++end;
  Check(*end == '\0');
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const TFormatSettings& settings = kRecords[data[0] % std::size(kRecords)];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  // strtod stops at a NUL byte; such texts are refused anyway.
  const bool hasNul = text.find('\0') != std::string_view::npos;

  if (const std::optional<double> v = Float(text, settings)) {
    Check(std::isfinite(*v));
    Check(!hasNul);
    Check(*v == LibcValue(text, settings));
    const std::string shown = FloatToText(*v, settings);
    const std::optional<double> again = Float(shown, settings);
    Check(again && FloatToText(*again, settings) == shown);
  }

  if (const std::optional<int32_t> i = Int(text)) {
    Check(Int(Int32ToText(*i)) == *i);
    const std::optional<double> asReal = Float(text, settings);
    Check(asReal && *asReal == *i);
  }

  const std::optional<int32_t> held = TextToInt32Held(text);
  if (const std::optional<int32_t> i = TextToInt32(text)) {
    Check(held == i);
  } else if (held) {
    constexpr int32_t kLow = std::numeric_limits<int32_t>::min(), kHigh = std::numeric_limits<int32_t>::max();
    Check(*held == kLow || *held == kHigh);
    Check(!hasNul);
    // Read as a real (when finite), it lies beyond the end it was held at.
    if (const std::optional<double> asReal = Float(text, settings))
      Check(*held == kHigh ? *asReal > kHigh : *asReal < kLow);
  }
  return 0;
}
