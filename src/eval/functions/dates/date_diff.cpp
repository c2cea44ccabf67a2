#include "eval/functions/dates/date_functions.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "eval/functions/dates/date_calendar.h"

namespace {

enum class TDiffUnit { Year, Month, Week, Day, Hour, Minute, Second };

struct TDiffUnitName {
  std::string_view Name;
  TDiffUnit Unit;
};

constexpr std::array<TDiffUnitName, 12> kDiffUnits = {{
    {"y", TDiffUnit::Year},     {"year", TDiffUnit::Year},     {"month", TDiffUnit::Month},
    {"w", TDiffUnit::Week},     {"week", TDiffUnit::Week},     {"d", TDiffUnit::Day},
    {"day", TDiffUnit::Day},    {"h", TDiffUnit::Hour},        {"hour", TDiffUnit::Hour},
    {"minute", TDiffUnit::Minute}, {"s", TDiffUnit::Second},   {"second", TDiffUnit::Second},
}};

// Milliseconds per unit of the units counted from the difference.
constexpr long double MillisecondsPer(TDiffUnit unit) {
  switch (unit) {
    case TDiffUnit::Week: return 7.0L * 86400000.0L;
    case TDiffUnit::Hour: return 3600000.0L;
    case TDiffUnit::Minute: return 60000.0L;
    case TDiffUnit::Second: return 1000.0L;
    default: return 86400000.0L;
  }
}

// Whole units in a difference of days (extended precision). The difference
// is first rounded to the millisecond, as dates are decoded: a time stored as
// the double just below a full second still counts as that second.
long double WholeUnits(long double days, TDiffUnit unit) {
  const long double milliseconds = std::nearbyint(days * 86400000.0L);
  return std::floor(milliseconds / MillisecondsPer(unit));
}

std::string LowerASCII(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

const TDiffUnitName* FindUnit(std::string_view name) {
  for (const TDiffUnitName& row : kDiffUnits)
    if (row.Name == name) return &row;
  return nullptr;
}

// Complete years from a to b (a <= b): the anniversary counts once the month
// and day of a are reached again.
int64_t CompleteYears(double a, double b) {
  int64_t years = int64_t{JUXYearOf(b)} - JUXYearOf(a);
  const int32_t monthA = JUXMonthOf(a), monthB = JUXMonthOf(b);
  if (monthB < monthA || (monthB == monthA && JUXDayOfMonth(b) < JUXDayOfMonth(a))) --years;
  return years;
}

// Complete months from a to b (a <= b).
int64_t CompleteMonths(double a, double b) {
  int64_t months = (12 * int64_t{JUXYearOf(b)} + JUXMonthOf(b)) - (12 * int64_t{JUXYearOf(a)} + JUXMonthOf(a));
  if (JUXDayOfMonth(b) < JUXDayOfMonth(a)) --months;
  return months;
}

}  // namespace

void TJUXFunc_DateDiff::Prepare(TTreeMapNode* scope) {
  TJUXThreeParamFunc::Prepare(scope);
  if (!ParamValue(0).AcceptsClass(TJUXVar_String::Class()))
    ReportIncompatibleTypes(this, "string", ParamValue(0).TypeName());
  for (int i = 1; i <= 2; ++i)
    if (!ParamValue(i).AcceptsClass(TJUXVar_Double::Class()))
      ReportIncompatibleTypes(this, "datetime", ParamValue(i).TypeName());
  SetResult(std::make_unique<TJUXVar_Integer>());
}

void TJUXFunc_DateDiff::Evaluate(TTreeMapNode* scope, bool first) {
  for (int i = 0; i < 3; ++i) Param(i)->EvaluateEx(scope, first);
  CombineAllSetStates();
  const std::string unitName = LowerASCII(ParamValue(0).AsString(this));
  double a = ParamValue(1).AsDouble(this);
  double b = ParamValue(2).AsDouble(this);
  int64_t sign = 1;
  if (a > b) {
    std::swap(a, b);
    sign = -1;
  }
  const TDiffUnitName* unit = FindUnit(unitName);
  if (!unit) {
    AddError(jeInternal, "\"" + unitName +
                             "\" is not a valid date difference specification. Use any of "
                             "[year,month,day,hour,minute,second].");
    return;
  }
  int64_t count = 0;
  if (unit->Unit == TDiffUnit::Year || unit->Unit == TDiffUnit::Month) {
    if (!IsJUXCalendarDay(a) || !IsJUXCalendarDay(b)) {
      SetFlags(JUXKindFlag(jeMathDomain));
    } else {
      count = unit->Unit == TDiffUnit::Year ? CompleteYears(a, b) : CompleteMonths(a, b);
    }
  } else {
    const long double units = WholeUnits(static_cast<long double>(b) - static_cast<long double>(a), unit->Unit);
    // Beyond 64 bits (or NaN) there is no count to give.
    if (!(std::fabs(units) < 9.2e18L)) SetFlags(JUXKindFlag(jeMathDomain));
    else count = static_cast<int64_t>(units);
  }
  // The integer value holds 64 bits: a count of seconds beyond 68 years stays exact.
  if (auto* integer = dynamic_cast<TJUXVar_Integer*>(Result()))
    integer->SetValue(sign * count);
  else
    Result()->SetInteger(static_cast<int32_t>(sign * count), this);
}
