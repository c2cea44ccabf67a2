#include "eval/functions/dates/date_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "eval/functions/dates/date_calendar.h"
#include "eval/functions/text_eval_helper.h"
#include "eval/values/date_format.h"
#include "eval/values/derived_vars.h"

namespace {

using text_eval::EvalText;
using text_eval::TestSettings;
using text_eval::TOutcome;
using text_eval::TVars;

// Day counts of the dates used below (day 0 is 30 December 1899).
constexpr double k2021Jan01 = 44197;  // a Friday
constexpr double k2021Jan04 = 44200;  // a Monday
constexpr double k2018Dec31 = 43465;  // a Monday
constexpr double k2019Mar01 = 43525;  // day 60 of 2019
constexpr double k2020Feb29 = 43890;  // day 60 of 2020
constexpr double k2019May15 = 43600;
constexpr double k2020May14 = 43965;
constexpr double k2020Dec31 = 44196;
constexpr double k2019Jan31 = 43496;
constexpr double k2019Feb28 = 43524;

double TimeOfDay(int h, int m, int s, int ms = 0) { return ((h * 60.0 + m) * 60.0 + s + ms / 1000.0) / 86400.0; }

// `function`(d) with d a date variable: an integer result without errors.
TOutcome OfDate(std::string_view function, double day) {
  return EvalText(std::string(function) + "(d)", TVars().Add<TJUXVar_Date>("d", day));
}

TOutcome OfTime(std::string_view function, double time) {
  return EvalText(std::string(function) + "(t)", TVars().Add<TJUXVar_Time>("t", time));
}

void ExpectInteger(const TOutcome& out, std::string_view text) {
  ASSERT_TRUE(out.Built);
  EXPECT_TRUE(out.Errors.empty()) << out.Errors.front();
  EXPECT_EQ(out.Type, "integer");
  EXPECT_EQ(out.Text, text);
}

TEST(DateFunctionsTest, CalendarPartsOfDates) {
  struct TRow {
    std::string_view Function;
    double Day;
    std::string_view Want;
  } const rows[] = {
      {"weekof", k2021Jan01, "53"},  // before week 1: last week of 2020
      {"weekof", k2021Jan04, "1"},
      {"weekof", k2018Dec31, "1"},   // its week holds 3 January 2019, a Thursday
      {"weekof", k2020Dec31, "53"},
      {"weekof", 42370, "53"},       // 1 January 2016 (Friday) in week 53 of 2015
      {"weekof", 43466 + 9, "2"},    // 10 January 2019
      {"dayofyear", k2020Dec31, "366"},
      {"dayofyear", k2021Jan01, "1"},
      {"dayofyear", k2019Mar01, "60"},
      {"dayofyear", k2020Feb29, "60"},
      {"dayofweek", 0, "7"},  // 30 December 1899, a Saturday
      {"dayofweek", 1, "1"},  // a Sunday
      {"dayofweek", k2021Jan04, "2"},
      {"dayofmonth", k2020Feb29, "29"},
      {"monthof", k2020Feb29, "2"},
      {"yearof", k2020Feb29, "2020"},
      {"yearof", 0, "1899"},
      {"monthof", 0, "12"},
      {"dayofmonth", 0, "30"},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(std::string(r.Function) + " of " + std::to_string(r.Day));
    ExpectInteger(OfDate(r.Function, r.Day), r.Want);
  }
}

TEST(DateFunctionsTest, IsoWeeksChangeOnMondays) {
  // Over eight years, a week number changes exactly on Mondays and week 1
  // always holds 4 January.
  for (double day = 43101; day < 43101 + 8 * 366; ++day) {
    const int32_t week = JUXWeekOf(day);
    const int32_t previous = JUXWeekOf(day - 1);
    const bool monday = JUXDayOfWeek(day) == 2;
    ASSERT_EQ(week != previous, monday) << day;
    if (JUXMonthOf(day) == 1 && JUXDayOfMonth(day) == 4) {
      ASSERT_EQ(week, 1) << day;
    }
  }
}

TEST(DateFunctionsTest, CalendarPartsOfDateTimesUseTheirDate) {
  // A datetime's date getter takes the whole days; a double is read as it is.
  ExpectInteger(EvalText("dayofmonth(x)", TVars().Add<TJUXVar_DateTime>("x", k2020Feb29 + 0.75)), "29");
  ExpectInteger(EvalText("yearof(43890.5)"), "2020");
}

TEST(DateFunctionsTest, ClockPartsOfTimes) {
  struct TRow {
    std::string_view Function;
    double Time;
    std::string_view Want;
  } const rows[] = {
      {"hourof", 0.75, "18"},
      {"minuteof", TimeOfDay(10, 59, 59, 999), "59"},
      {"hourof", TimeOfDay(10, 59, 59, 999), "10"},
      {"secondof", 1.0 / 86400.0, "1"},  // the double lies just below one second
      {"secondof", TimeOfDay(1, 2, 3), "3"},
      {"minuteof", TimeOfDay(1, 2, 3), "2"},
      {"hourof", TimeOfDay(1, 2, 3), "1"},
      {"hourof", 0.9999999999999999, "0"},  // rounds to midnight, as timestr shows it
      {"hourof", TimeOfDay(23, 59, 59, 999), "23"},
      {"hourof", -0.25, "6"},                // a negative time counts by its magnitude
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(std::string(r.Function) + " of " + std::to_string(r.Time));
    ExpectInteger(OfTime(r.Function, r.Time), r.Want);
  }
}

TEST(DateFunctionsTest, ClockPartsOfEveryWholeSecond) {
  // Times of day held as doubles, alone and on a date around day 40000 (where
  // a double resolves about a microsecond); the parts match the clock.
  int wrong = 0;
  for (double day : {0.0, 40000.0, 44197.0}) {
    for (int second = 0; second < 86400; ++second) {
      const double time = day + second / 86400.0;
      const double fraction = time - day;
      if (JUXHourOf(fraction) != second / 3600 || JUXMinuteOf(fraction) != second / 60 % 60 ||
          JUXSecondOf(fraction) != second % 60)
        ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(DateFunctionsTest, ValuesWithoutAnAnsweringGetterAreRefused) {
  // A double has no time getter; a text no date getter.
  const TOutcome hour = EvalText("hourof(0.5)");
  ASSERT_TRUE(hour.Built);
  EXPECT_TRUE(hour.HasKind(jeIncompatibleTypes));
  ASSERT_FALSE(hour.Errors.empty());
  EXPECT_EQ(hour.Errors.front(), "Incompatible types: \"time\" and \"double\"");
  const TOutcome year = EvalText("yearof('2020')");
  EXPECT_TRUE(year.HasKind(jeIncompatibleTypes));
}

TEST(DateFunctionsTest, UndecodableDayCountsAreFlagged) {
  for (std::string_view text : {"yearof(nan)", "weekof(infinity)", "datestr(1e300)"}) {
    SCOPED_TRACE(std::string(text));
    const TOutcome out = EvalText(text);
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.HasKind(jeMathDomain));
  }
  EXPECT_TRUE(EvalText("hourof(t)", TVars().Add<TJUXVar_Time>("t", std::nan(""))).HasKind(jeMathDomain));
  EXPECT_FALSE(OfDate("yearof", k2020Feb29).HasKind(jeMathDomain));
}

TEST(DateFunctionsTest, TextConversionsUseTheExpressionsSettings) {
  TFormatSettings dashes = TestSettings();
  dashes.DateSeparator = '-';
  const double noon = k2020Feb29 + 0.5;
  struct TRow {
    std::string_view Expression;
    double Value;
    TFormatSettings Settings;
    std::string_view Want;
  } const rows[] = {
      {"datestr(x)", 0, dashes, "30-12-1899"},
      {"datestr(x)", noon, TestSettings(), "29/02/2020"},
      {"timestr(x)", noon + TimeOfDay(1, 2, 3), TestSettings(), "13:02:03"},
      {"datetimestr(x)", k2020Feb29, TestSettings(), "29/02/2020"},  // a whole day shows no time
      {"datetimestr(x)", noon, TestSettings(), "29/02/2020 12:00:00"},
      {"datetimestring(x; 'yyyy-mm-dd hh:nn')", noon + TimeOfDay(0, 34, 56), TestSettings(), "2020-02-29 12:34"},
      {"datetimestring(x; '')", noon, TestSettings(), "29/02/2020 12:00:00"},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(r.Expression);
    const TOutcome out = EvalText(r.Expression, TVars().Add<TJUXVar_DateTime>("x", r.Value), r.Settings);
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.Errors.empty()) << out.Errors.front();
    EXPECT_EQ(out.Type, "string");
    EXPECT_EQ(out.Text, r.Want);
  }
}

TEST(DateFunctionsTest, FormatSpecifiers) {
  const TFormatSettings s = TestSettings();
  // Monday 4 January 2021, 15:04:05.006
  const double value = k2021Jan04 + TimeOfDay(15, 4, 5, 6);
  struct TRow {
    std::string_view Format;
    std::string_view Want;
  } const rows[] = {
      {"d dd ddd dddd", "4 04 Mon Monday"},
      {"ddddd|dddddd", "04/01/2021|Monday 4 January 2021"},
      {"m mm mmm mmmm", "1 01 Jan January"},
      {"y yy yyy yyyy", "21 21 2021 2021"},
      {"hh:mm", "15:04"},          // mm after an hour is minutes
      {"hh 'at' mm", "15 at 04"},  // quoted text does not count as a specifier
      {"hh w mm", "15 w 01"},      // another letter in between: month
      {"h:nn:ss.zzz", "15:04:05.006"},
      {"z zz zzzz", "6 06 006"},
      {"hhh sss", "15 05"},  // extra letters count as two
      {"h am/pm", "3 pm"},
      {"h AM/PM", "3 PM"},
      {"h a/p", "3 p"},
      {"h ampm", "3 PM"},
      {"hh ':' h", "15 : 15"},  // no marker: 24-hour clock
      {"am/pm h", "pm 3"},      // a marker earlier in the format counts
      {"am/pm c", "pm 04/01/2021 15:04:05"},  // ... but not in a format nested below it
      {"aaa aaaa", "Mon Monday"},
      {"t|tt", "15:04|15:04:05"},
      {"c", "04/01/2021 15:04:05"},
      {"\"d\"d'm'", "d4m"},
      {"dd/mm", "04/01"},
      {"w #", "w #"},
      {"e gg", "2021 A.D."},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(std::string(r.Format));
    EXPECT_EQ(JUXDateTimeString(r.Format, value, s), r.Want);
  }
  EXPECT_EQ(JUXDateTimeString("h am/pm", k2021Jan04, s), "12 am");  // midnight on the 12-hour clock
  EXPECT_EQ(JUXDateTimeString("h:nn a/p", k2021Jan04 + TimeOfDay(12, 30, 0), s), "12:30 p");
}

TEST(DateFunctionsTest, NestedFormatsExpandOneLevel) {
  TFormatSettings s = TestSettings();
  s.ShortDateFormat = "dd/mm/yyyy t";  // a format naming another one
  s.ShortTimeFormat = "hh:nn";
  EXPECT_EQ(JUXDateTimeString("ddddd", k2021Jan04, s), "04/01/2021 ");
  EXPECT_EQ(JUXDateTimeString("t", k2021Jan04, s), "00:00");
}

TEST(DateFunctionsTest, DateFromUnixTime) {
  struct TRow {
    std::string_view Expression;
    std::string_view Type;
    std::string_view Text;
  } const rows[] = {
      {"datefromunix(0)", "double", "25569"},
      {"datefromunix(86400)", "double", "25570"},
      {"datefromunix(43200.0)", "double", "25569.5"},
      {"datefromunix(-86400)", "double", "25568"},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(std::string(r.Expression));
    const TOutcome out = EvalText(r.Expression);
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.Errors.empty()) << out.Errors.front();
    EXPECT_EQ(out.Type, r.Type);
    EXPECT_EQ(out.Text, r.Text);
  }
  // A date-time parameter keeps its class.
  const TOutcome kept = EvalText("datefromunix(x)", TVars().Add<TJUXVar_DateTime>("x", 86400));
  EXPECT_EQ(kept.Type, "datetime");
  EXPECT_EQ(kept.Text, "02/01/1970");
  // Texts and Booleans cannot be unified with double.
  for (std::string_view text : {"datefromunix('0')", "datefromunix(true)"}) {
    SCOPED_TRACE(std::string(text));
    const TOutcome out = EvalText(text);
    ASSERT_FALSE(out.Errors.empty());
    EXPECT_NE(out.Errors.front().find("Incompatible types"), std::string::npos);
  }
}

TEST(DateFunctionsTest, DateDiffCountsWholeUnits) {
  struct TRow {
    std::string_view Unit;
    double A, B;
    std::string_view Want;
  } const rows[] = {
      {"day", 100, 101, "1"},
      {"day", 100, 103, "3"},
      {"day", 100, 97, "-3"},
      {"day", 100, 101.9, "1"},
      {"d", 100.9, 100, "0"},
      {"Year", k2019May15, k2020May14 + 1, "1"},
      {"year", k2019May15, k2020May14, "0"},      // one day short of the anniversary
      {"year", k2019Mar01, k2020Feb29, "0"},      // 29 February 2020 comes before 1 March
      {"year", k2020Feb29, k2020Feb29 + 366, "1"}, // 1 March 2021
      {"year", k2020Feb29 + 366, k2020Feb29, "-1"},
      {"y", 0, k2020Feb29, "120"},
      {"month", k2019Jan31, k2019Feb28, "0"},
      {"month", k2019Jan31, k2019Mar01 + 30, "2"},  // 31 March
      {"MONTH", k2019Feb28, k2019Jan31, "0"},
      {"week", 100, 107, "1"},
      {"w", 100, 106.99, "0"},
      {"w", 107, 100, "-1"},
      {"hour", 100, 100.5, "12"},
      {"h", 100, 100 + TimeOfDay(1, 59, 59), "1"},
      {"minute", 100, 100 + TimeOfDay(0, 2, 30), "2"},
      {"second", 100, 100 + TimeOfDay(0, 0, 5), "5"},  // the double difference falls just short
      {"second", 44197.25, 44197.25 + TimeOfDay(0, 0, 1), "1"},
      {"minute", 44197.25, 44197.25 + TimeOfDay(0, 1, 0), "1"},
      {"second", 100, 100 + TimeOfDay(0, 0, 0, 999), "0"},
      {"s", 0, 36525, "3155760000"},  // a century of seconds does not wrap
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(std::string(r.Unit) + " " + std::to_string(r.A) + " -> " + std::to_string(r.B));
    const TOutcome out = EvalText("datediff(u; a; b)", TVars()
                                                           .AddValue<TJUXVar_String>("u", std::string(r.Unit))
                                                           .Add<TJUXVar_DateTime>("a", r.A)
                                                           .Add<TJUXVar_DateTime>("b", r.B));
    ExpectInteger(out, r.Want);
  }
}

TEST(DateFunctionsTest, DateDiffRefusals) {
  const TOutcome integers = EvalText("datediff('day'; 0; 1)");
  ASSERT_FALSE(integers.Errors.empty());
  EXPECT_EQ(integers.Errors.front(), "Incompatible types: \"datetime\" and \"integer\"");
  ExpectInteger(EvalText("datediff('day'; 0.0; 1.0)"), "1");

  const TOutcome unit = EvalText("datediff(1.5; 0.0; 1.0)");
  ASSERT_FALSE(unit.Errors.empty());
  EXPECT_EQ(unit.Errors.front(), "Incompatible types: \"string\" and \"double\"");

  for (std::string_view name : {"m", " day", "days", "weeks"}) {
    SCOPED_TRACE(std::string(name));
    const TOutcome out = EvalText("datediff(u; 0.0; 1.0)",
                                  TVars().AddValue<TJUXVar_String>("u", std::string(name)));
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.HasKind(jeInternal));
    ASSERT_EQ(out.Errors.size(), 1u);
    EXPECT_EQ(out.Errors.front(), "\"" + std::string(name) +
                                      "\" is not a valid date difference specification. Use any of "
                                      "[year,month,day,hour,minute,second].");
  }
  EXPECT_TRUE(EvalText("datediff('second'; 0.0; 1e300)").HasKind(jeMathDomain));
  EXPECT_TRUE(EvalText("datediff('year'; 0.0; nan)").HasKind(jeMathDomain));
}

TEST(DateFunctionsTest, SetsAreTakenElementByElement) {
  using Texts = std::vector<std::string>;
  struct TRow {
    std::string_view Expression;
    Texts Want;
  } const rows[] = {
      {"yearof([0.0; 44197.0])", {"1899", "2021"}},
      {"datestr([0.0; 1.0])", {"30/12/1899", "31/12/1899"}},
      {"datetimestring([0.0; 0.5]; 'hh:nn')", {"00:00", "12:00"}},
      {"datefromunix([0; 86400])", {"25569", "25570"}},
      {"datediff('day'; 0.0; [1.0; 2.5; -1.0])", {"1", "2", "-1"}},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(std::string(r.Expression));
    std::vector<std::string> errors;
    EXPECT_EQ(text_eval::EvalSet(r.Expression, &errors), r.Want);
    EXPECT_TRUE(errors.empty()) << errors.front();
  }
}

TEST(DateFunctionsTest, WrongParameterCounts) {
  const TOutcome out = EvalText("datediff('day'; 0.0)");
  EXPECT_FALSE(out.Built);
  ASSERT_FALSE(out.Errors.empty());
  EXPECT_EQ(out.Errors.front(), "Not enough parameters for function \"datediff\"");
  EXPECT_FALSE(EvalText("yearof(1.0; 2.0)").Built);
}

}  // namespace
