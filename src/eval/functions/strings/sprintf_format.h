#pragma once
// The formatting behind sprintf: escape translation and the directives.
//
// Escapes, in one left-to-right pass (replaced text is not scanned again):
// two backslashes give one, backslash "n" gives CR LF, backslash "t" a TAB,
// and "%d" becomes "%1.0f" (numbers reach the formatter as floats).
//
// Directives: "%" [index ":"] ["-"] [width] ["." precision] type, "%%" for
// "%". index, width and precision are decimal numbers or "*" (taken from the
// next argument when that is an integer, else 0). index chooses the argument
// (0-based) and the following directives continue from there; "-" pads on
// the right; width is the minimum length, padded with blanks. Types, in
// either case:
//   d u x   integer arguments: signed, unsigned, upper-case hexadecimal;
//           precision = minimum digits (above 16 ignored)
//   e       scientific, precision = significant digits (default 15, above 18
//           gives 15), exponent with its sign and at least 3 digits
//   f       fixed, precision = decimals (default 2, above 18 gives 2)
//   g       general: at most precision significant digits (default 15),
//           no trailing zeros; scientific below 1E-5 or from 10^precision
//   n       as f with thousands separators
//   m       money (currency string, format and decimals of the settings;
//           precision = decimals)
//   s       text, cut to precision characters
//   p       pointers: no argument is one
// Separators and the currency come from the settings given.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "eval/values/var.h"
#include "foundation/format_settings.h"

std::string TranslateSprintfEscapes(std::string_view text);

// The directives of `format` filled from `args`; nullopt for a malformed
// directive, a missing argument or an argument of a kind the type does not
// accept (Booleans fit no type), and for a width above kJUXMaxFormatWidth.
std::optional<std::string> FormatJUXDirectives(std::string_view format, std::span<const TJUXVarRec> args,
                                               const TFormatSettings& settings);
// The same into `out`, replacing its content and reusing its capacity; false
// where the above gives nullopt (`out` then holds a partial text).
bool FormatJUXDirectives(std::string_view format, std::span<const TJUXVarRec> args, const TFormatSettings& settings,
                         std::string& out);

// Widths beyond this are refused rather than allocated.
inline constexpr int kJUXMaxFormatWidth = 1 << 20;
