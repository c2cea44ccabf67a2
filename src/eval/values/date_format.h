#pragma once
// A day count as text by a format of specifier letters, read left to right
// (letters in either case):
//   c        short date format, then a blank and the long time format unless
//            the hour, minute and second are all 0
//   d dd     day of the month (dd: two digits); ddd dddd short/long day name;
//            ddddd dddddd (or more) the short/long date format
//   m mm     month (mm: two digits), or minutes when the letter before it
//            (separators do not count) was an h; mmm mmmm short/long month name
//   y yy     year modulo 100, two digits; yyy or more: four digits
//   h hh     hour; on the 12-hour clock when the first "a" after it (outside
//            quotes, before the next h) begins am/pm, a/p or ampm, or when
//            such a marker came earlier in the same format text
//   n nn, s ss, z zz zzz   minute, second, milliseconds (extra letters count
//            as the longest form)
//   t tt     short/long time format
//   am/pm a/p   the marker as written in the format; ampm the settings'
//            AM/PM string; aaa aaaa short/long day name
//   e ee     year of the era; g gg era name ("A.D.", or "B.C." before year 1)
//   / :      date and time separator;  '...' "..."  the text itself
// Formats reached through c, ddddd, dddddd, t and tt are expanded one level;
// a format named inside those gives nothing. An empty format counts as "c".
// Day names in the settings are Monday first.

#include <string>
#include <string_view>

#include "foundation/format_settings.h"

std::string JUXDateTimeString(std::string_view format, double value, const TFormatSettings& settings);
