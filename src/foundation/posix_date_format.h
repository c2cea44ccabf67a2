#pragma once
// Translation of strftime patterns into the record's date/time format strings
// (see format_settings.h for their letters).
//
// Rules: %d dd, %e and %-d d, %m mm, %-m m, %y yy, %Y yyyy, %b %h mmm, %B mmmm,
// %a ddd, %A dddd, %H %I hh, %k %l %-H %-I h, %S ss, %-S s, %p %P ampm, %n %t
// a blank, %% "%"; %M is mm right after an hour (across the time separator)
// and nn elsewhere. The composites %D %F %T %R are expanded, and %r %x %X %c
// from the locale's own patterns (depth-limited). Flags (- _ 0 ^ #), widths
// and the E and O modifiers are skipped; any other conversion (%j, %Z, %U, ...)
// is dropped together with the literal text that follows it.
// The date separator is the first ASCII punctuation character between two
// date fields of the date pattern and is written "/"; the time separator
// likewise from the time pattern, written ":" (defaults "/" and ":"). Blanks,
// digits and other punctuation stay as they are; letters, non-ASCII text and
// a "/" or ":" that is not the separator are quoted ("...").
// LongDateFormat is the date fields of D_T_FMT (time fields dropped) with the
// text that closes the last one ("日"), or ShortDateFormat when D_T_FMT has no
// date field. ShortTimeFormat is LongTimeFormat without its seconds and the
// separator before them (or the text after them, as in "%M分%S秒").

#include <string>
#include <string_view>

struct TPosixDateFormats {
  std::string ShortDateFormat;  // from D_FMT
  std::string LongDateFormat;   // the date fields of D_T_FMT, else ShortDateFormat
  std::string ShortTimeFormat;  // LongTimeFormat without its seconds
  std::string LongTimeFormat;   // from T_FMT
  char DateSeparator = '/';
  char TimeSeparator = ':';
};

TPosixDateFormats TranslatePosixDateFormats(std::string_view dateFormat, std::string_view timeFormat,
                                            std::string_view timeFormatAmPm,
                                            std::string_view dateTimeFormat);
