#pragma once
// Calendar and clock parts of the evaluator's day counts (day 0 is Saturday,
// 30 December 1899; the fraction is the time of day). Dates are decoded as
// their text forms show them (the time rounded to the millisecond, a full day
// carried into the date; see eval/values/date_text.h), on the proleptic
// Gregorian calendar; weeks follow ISO 8601.

#include <cstdint>

// The magnitude up to which day counts are decoded into calendar parts.
inline constexpr double kJUXMaxDayCount = 1e9;

// Whether a day count can be decoded: finite and within kJUXMaxDayCount.
// Other values decode as day 0.
bool IsJUXCalendarDay(double dayCount);

int32_t JUXYearOf(double dayCount);
int32_t JUXMonthOf(double dayCount);       // 1..12
int32_t JUXDayOfMonth(double dayCount);    // 1..31
int32_t JUXDayOfYear(double dayCount);     // 1 January is 1
int32_t JUXDayOfWeek(double dayCount);     // 1 Sunday .. 7 Saturday
int32_t JUXWeekOf(double dayCount);        // ISO 8601 week, 1..53

// Clock parts of a time of day, taken from the time rounded to the
// millisecond as its text shows it: the double nearest to 00:00:01 gives
// second 1, and a time within half a millisecond of midnight gives 0:00:00.
// A negative time counts by its magnitude; a value that is not finite gives 0.
int32_t JUXHourOf(double time);    // 0..23
int32_t JUXMinuteOf(double time);  // 0..59
int32_t JUXSecondOf(double time);  // 0..59
