#pragma once
// Numbers typed into edit boxes, read in the user's locale. Text that is not a
// number raises EConvertError with the message the tool shows for it.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "foundation/format_settings.h"

class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A finite real number in `settings` (the user's locale by default); anything
// else raises EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view text, const TFormatSettings& settings = UserFormatSettings());

// A 32-bit decimal integer; anything else raises EConvertError
// "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);

// A decimal integer as TextToInt32 reads it, except that one beyond the
// 32-bit range is held at the nearer end of it; nullopt for any other text.
std::optional<int32_t> TextToInt32Held(std::string_view text);
