#pragma once
// Dates, times and money as text. Date values count days from 30 December
// 1899 (day 0) with the time of day as the fraction; calendar parts follow
// the proleptic Gregorian calendar. A negative value's date is its whole days
// (truncated toward zero) and its time of day that of its magnitude.
// Writing a value by a format of specifier letters: eval/values/date_format.h.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "eval/values/wall_clock.h"
#include "foundation/format_settings.h"

struct TJUXDateTimeParts {
  int32_t Year = 1899, Month = 12, Day = 30;
  int32_t Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
  int32_t DayOfWeek = 1;  // 1 Monday .. 7 Sunday
};

// Splits a value into calendar and clock parts (the time rounded to the
// millisecond, a full day carried into the date).
TJUXDateTimeParts DecodeJUXDateTime(double value);
// The day number of a calendar date; nullopt for an invalid date
// (years 1..9999).
std::optional<double> EncodeJUXDate(int32_t year, int32_t month, int32_t day);
// The fraction of a day; nullopt outside 0..23:59:59.999.
std::optional<double> EncodeJUXTime(int32_t hour, int32_t minute, int32_t second, int32_t milliSecond);

// Reading as the platform's locale routines do with the settings: a date is
// two or three numbers separated by the date separator in the order of the
// short date format (two numbers: day and month of the current year; a
// two-digit year falls in the current century, both by `clock`, which is read
// only then); a time is hours, minutes and optional seconds and milliseconds
// separated by the time separator, optionally followed by the AM or PM
// marker; a date-time is a date, blanks and a time, or either alone. nullopt
// when the text is not such.
std::optional<double> ReadJUXDate(std::string_view text, const TFormatSettings& settings, const TJUXClock& clock);
std::optional<double> ReadJUXTime(std::string_view text, const TFormatSettings& settings);
std::optional<double> ReadJUXDateTime(std::string_view text, const TFormatSettings& settings,
                                      const TJUXClock& clock);

// Money: the settings' currency decimals, thousands and decimal separators,
// and currency string placed by CurrencyFormat (0..3) or NegCurrFormat (0..15).
std::string FormatJUXCurrency(double value, const TFormatSettings& settings);
