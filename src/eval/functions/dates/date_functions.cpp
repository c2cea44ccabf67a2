#include "eval/functions/dates/date_functions.h"

#include <cmath>
#include <string>

#include "eval/functions/dates/date_calendar.h"
#include "eval/values/date_format.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kUnixEpochDay = 25569.0;  // 1 January 1970

using TGetter = double (TJUXVar::*)(TJUXExpression* sink) const;

// Parameter 0 of `node` through `getter`; a day count that cannot be decoded
// flags kind 3 (the calendar then reads day 0).
double DayParam(TJUXFunction& node, TGetter getter) {
  const double value = (node.ParamValue(0).*getter)(&node);
  if (!IsJUXCalendarDay(value)) node.SetFlags(JUXKindFlag(jeMathDomain));
  return value;
}

// Parameter 0 as a time of day; a value that is not finite flags kind 3.
double TimeParam(TJUXFunction& node) {
  const double value = node.ParamValue(0).AsTime(&node);
  if (!std::isfinite(value)) node.SetFlags(JUXKindFlag(jeMathDomain));
  return value;
}

void SetIntegerResult(TJUXFunction& node, int32_t value) { node.Result()->SetInteger(value, &node); }

void SetTextResult(TJUXFunction& node, std::string_view format, double value) {
  node.Result()->SetString(JUXDateTimeString(format, value, node.FormatSettings()), &node);
}

}  // namespace

void TJUXFunc_WeekOf::Compute() { SetIntegerResult(*this, JUXWeekOf(DayParam(*this, &TJUXVar::AsDate))); }
void TJUXFunc_DayOfYear::Compute() { SetIntegerResult(*this, JUXDayOfYear(DayParam(*this, &TJUXVar::AsDate))); }
void TJUXFunc_DayOfMonth::Compute() { SetIntegerResult(*this, JUXDayOfMonth(DayParam(*this, &TJUXVar::AsDate))); }
void TJUXFunc_DayOfWeek::Compute() { SetIntegerResult(*this, JUXDayOfWeek(DayParam(*this, &TJUXVar::AsDate))); }
void TJUXFunc_MonthOf::Compute() { SetIntegerResult(*this, JUXMonthOf(DayParam(*this, &TJUXVar::AsDate))); }
void TJUXFunc_YearOf::Compute() { SetIntegerResult(*this, JUXYearOf(DayParam(*this, &TJUXVar::AsDate))); }

void TJUXFunc_HourOf::Compute() { SetIntegerResult(*this, JUXHourOf(TimeParam(*this))); }
void TJUXFunc_MinuteOf::Compute() { SetIntegerResult(*this, JUXMinuteOf(TimeParam(*this))); }
void TJUXFunc_SecondOf::Compute() { SetIntegerResult(*this, JUXSecondOf(TimeParam(*this))); }

void TJUXFunc_TimeStr::Compute() {
  SetTextResult(*this, FormatSettings().LongTimeFormat, DayParam(*this, &TJUXVar::AsDouble));
}
void TJUXFunc_DateStr::Compute() {
  SetTextResult(*this, FormatSettings().ShortDateFormat, DayParam(*this, &TJUXVar::AsDate));
}
void TJUXFunc_DateTimeStr::Compute() { SetTextResult(*this, "c", DayParam(*this, &TJUXVar::AsDateTime)); }

void TJUXFunc_DateTimeString::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_String>());
}

void TJUXFunc_DateTimeString::CombineParam(int index) {
  if (index != 1) return;
  const double value = DayParam(*this, &TJUXVar::AsDateTime);
  SetTextResult(*this, ParamValue(1).AsString(this), value);
  CombineAllSetStates();
}

void TJUXFunc_DateFromUnix::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  UnifyParamTypes(0, &TJUXVar_Double::Class());
}

void TJUXFunc_DateFromUnix::Evaluate(TTreeMapNode* scope, bool first) {
  Param(0)->EvaluateEx(scope, first);
  if (!HasError()) Result()->SetDouble(ParamValue(0).AsDouble(this) / kSecondsPerDay + kUnixEpochDay, this);
  SetSetState(Param(0)->SetState());
}
