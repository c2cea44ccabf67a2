#include "eval/functions/dates/date_calendar.h"

#include <array>
#include <cmath>

#include "eval/values/date_text.h"

namespace {

// Days before the first of each month in a common year.
constexpr std::array<int32_t, 12> kDaysBeforeMonth = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool IsLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t DaysInYear(int32_t year) { return IsLeapYear(year) ? 366 : 365; }

TJUXDateTimeParts Decode(double dayCount) { return DecodeJUXDateTime(IsJUXCalendarDay(dayCount) ? dayCount : 0.0); }

int32_t DayOfYear(const TJUXDateTimeParts& p) {
  const int32_t leapDay = p.Month > 2 && IsLeapYear(p.Year) ? 1 : 0;
  return kDaysBeforeMonth[static_cast<size_t>(p.Month - 1)] + leapDay + p.Day;
}

constexpr int64_t kMSecsPerDay = 86400000;

// The time of day in milliseconds, rounded as the text forms round it (a time
// within half a millisecond of midnight is midnight). A negative time counts
// by its magnitude.
int64_t MillisecondOfDay(double time) {
  if (!std::isfinite(time)) return 0;
  const long double t = std::fabs(static_cast<long double>(time));
  const int64_t ms = std::llround((t - std::trunc(t)) * static_cast<long double>(kMSecsPerDay));
  return ms >= kMSecsPerDay ? 0 : ms;
}

}  // namespace

bool IsJUXCalendarDay(double dayCount) { return std::isfinite(dayCount) && std::fabs(dayCount) <= kJUXMaxDayCount; }

int32_t JUXYearOf(double dayCount) { return Decode(dayCount).Year; }
int32_t JUXMonthOf(double dayCount) { return Decode(dayCount).Month; }
int32_t JUXDayOfMonth(double dayCount) { return Decode(dayCount).Day; }
int32_t JUXDayOfYear(double dayCount) { return DayOfYear(Decode(dayCount)); }

int32_t JUXDayOfWeek(double dayCount) {
  // The decoder counts Monday 1 .. Sunday 7.
  return Decode(dayCount).DayOfWeek % 7 + 1;
}

int32_t JUXWeekOf(double dayCount) {
  const TJUXDateTimeParts p = Decode(dayCount);
  // The week belongs to the year that holds its Thursday.
  const int32_t thursday = DayOfYear(p) - p.DayOfWeek + 4;
  if (thursday < 1) return (thursday + DaysInYear(p.Year - 1) - 1) / 7 + 1;
  if (thursday > DaysInYear(p.Year)) return 1;
  return (thursday - 1) / 7 + 1;
}

int32_t JUXHourOf(double time) { return static_cast<int32_t>(MillisecondOfDay(time) / 3600000); }
int32_t JUXMinuteOf(double time) { return static_cast<int32_t>(MillisecondOfDay(time) / 60000 % 60); }
int32_t JUXSecondOf(double time) { return static_cast<int32_t>(MillisecondOfDay(time) / 1000 % 60); }
