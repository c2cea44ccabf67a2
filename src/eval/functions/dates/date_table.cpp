#include "eval/functions/dates/date_functions.h"

#include <array>

namespace {

constexpr std::array<TJUXFunctionInfo, 15> kDateFunctions = {{
    {"timestr", JUXFunctionClass<TJUXFunc_TimeStr>(), "Returns the time of day of a value in the long time format",
     "(ATime [datetime/time]): [string]", {"time", "string", "text", "format"}, jfcString},
    {"datestr", JUXFunctionClass<TJUXFunc_DateStr>(), "Returns the date of a value in the short date format",
     "(ADate [datetime/date]): [string]", {"date", "string", "text", "format"}, jfcString},
    {"datetimestr", JUXFunctionClass<TJUXFunc_DateTimeStr>(),
     "Returns a date and time as text: the short date format and, unless the time is midnight, the long time format",
     "(ADateTime [datetime]): [string]", {"datetime", "date", "time", "string", "text", "format"}, jfcString},
    {"datetimestring", JUXFunctionClass<TJUXFunc_DateTimeString>(),
     "Returns a date and time as text in the given format, such as \"yyyy-mm-dd hh:nn:ss\"",
     "(ADateTime [datetime]; AFormat [string]): [string]", {"datetime", "format", "string", "text"}, jfcString},
    {"weekof", JUXFunctionClass<TJUXFunc_WeekOf>(), "Returns the ISO 8601 week number (1..53) of a date",
     "(ADate [date]): [integer]", {"week", "weeknumber", "iso", "date"}, jfcDateTime},
    {"hourof", JUXFunctionClass<TJUXFunc_HourOf>(), "Returns the hour (0..23) of a time", "(ATime [time]): [integer]",
     {"hour", "time", "clock"}, jfcDateTime},
    {"minuteof", JUXFunctionClass<TJUXFunc_MinuteOf>(), "Returns the minute (0..59) of a time",
     "(ATime [time]): [integer]", {"minute", "time", "clock"}, jfcDateTime},
    {"secondof", JUXFunctionClass<TJUXFunc_SecondOf>(), "Returns the second (0..59) of a time",
     "(ATime [time]): [integer]", {"second", "time", "clock"}, jfcDateTime},
    {"dayofyear", JUXFunctionClass<TJUXFunc_DayOfYear>(), "Returns the day of the year (1..366) of a date",
     "(ADate [date]): [integer]", {"day", "year", "date"}, jfcDateTime},
    {"dayofmonth", JUXFunctionClass<TJUXFunc_DayOfMonth>(), "Returns the day of the month (1..31) of a date",
     "(ADate [date]): [integer]", {"day", "month", "date"}, jfcDateTime},
    {"dayofweek", JUXFunctionClass<TJUXFunc_DayOfWeek>(),
     "Returns the day of the week of a date: 1 for Sunday through 7 for Saturday", "(ADate [date]): [integer]",
     {"day", "week", "weekday", "date"}, jfcDateTime},
    {"monthof", JUXFunctionClass<TJUXFunc_MonthOf>(), "Returns the month (1..12) of a date",
     "(ADate [date]): [integer]", {"month", "date"}, jfcDateTime},
    {"yearof", JUXFunctionClass<TJUXFunc_YearOf>(), "Returns the year of a date", "(ADate [date]): [integer]",
     {"year", "date"}, jfcDateTime},
    {"datefromunix", JUXFunctionClass<TJUXFunc_DateFromUnix>(),
     "Converts seconds since 1 January 1970 00:00 (Unix time, no time zone applied) into a date and time",
     "(ASeconds [numeral]): [datetime]", {"unix", "epoch", "timestamp", "date", "datetime"}, jfcDateTime},
    {"datediff", JUXFunctionClass<TJUXFunc_DateDiff>(),
     "Returns the number of whole units (year, month, week, day, hour, minute, second) from the first date to the "
     "second; negative when the second date is earlier",
     "(AUnit [string]; ADate1 [datetime]; ADate2 [datetime]): [integer]",
     {"difference", "date", "datetime", "interval", "age"}, jfcDateTime},
}};

}  // namespace

std::span<const TJUXFunctionInfo> DateFunctionTable() { return kDateFunctions; }
