#include "eval/values/derived_vars.h"

#include <cmath>

#include "eval/language/expression.h"
#include "eval/values/date_format.h"
#include "eval/values/date_text.h"
#include "treemap/number_text.h"

namespace {

// Above this a duration shows its whole days (one second less 1/87840 of a day).
constexpr double kDurationDaysThreshold = 1.0 - 1.0 / 87840.0;

}  // namespace

// --- currency
std::string TJUXVar_Currency::ToText(const TFormatSettings& settings) const {
  return FormatJUXCurrency(Rounded(), settings);
}
double TJUXVar_Currency::AsCurrency(TJUXExpression*) const { return Rounded(); }
void TJUXVar_Currency::SetCurrency(double value, TJUXExpression*) { SetValue(value); }

// --- percentage
std::string TJUXVar_Percentage::ToText(const TFormatSettings& settings) const {
  return FloatToStrTrimmed(Rounded(), 0, 6, settings) + "%";
}
double TJUXVar_Percentage::AsPercentage(TJUXExpression*) const { return Rounded(); }
void TJUXVar_Percentage::SetPercentage(double value, TJUXExpression*) { SetValue(value); }

// --- date
std::string TJUXVar_Date::ToText(const TFormatSettings& settings) const {
  return JUXDateTimeString(settings.ShortDateFormat, Rounded(), settings);
}
double TJUXVar_Date::AsDateTime(TJUXExpression*) const { return Rounded(); }
double TJUXVar_Date::AsDate(TJUXExpression*) const { return Rounded(); }
void TJUXVar_Date::SetDate(double value, TJUXExpression*) { SetValue(value); }

// --- datetime
std::string TJUXVar_DateTime::ToText(const TFormatSettings& settings) const {
  const double value = Rounded();
  std::string text = JUXDateTimeString(settings.ShortDateFormat, value, settings);
  if (value != std::trunc(value)) text += ' ' + JUXDateTimeString(settings.LongTimeFormat, value, settings);
  return text;
}
double TJUXVar_DateTime::AsDateTime(TJUXExpression*) const { return Rounded(); }
double TJUXVar_DateTime::AsDate(TJUXExpression*) const { return static_cast<double>(std::trunc(Value())); }
double TJUXVar_DateTime::AsTime(TJUXExpression*) const { return static_cast<double>(Value() - std::trunc(Value())); }
void TJUXVar_DateTime::SetDateTime(double value, TJUXExpression*) { SetValue(value); }
void TJUXVar_DateTime::SetDate(double value, TJUXExpression*) { SetValue(value); }
void TJUXVar_DateTime::SetTime(double value, TJUXExpression*) { SetValue(value); }

// --- time
std::string TJUXVar_Time::ToText(const TFormatSettings& settings) const {
  return JUXDateTimeString(settings.LongTimeFormat, Rounded(), settings);
}
double TJUXVar_Time::AsDateTime(TJUXExpression*) const { return Rounded(); }
double TJUXVar_Time::AsTime(TJUXExpression*) const { return Rounded(); }
void TJUXVar_Time::SetTime(double value, TJUXExpression*) { SetValue(value); }

// --- duration
std::string TJUXVar_Duration::ToText(const TFormatSettings&) const {
  const double value = Rounded();
  const double magnitude = std::fabs(value);
  const TFormatSettings& clock = UserFormatSettings24h();
  std::string text = JUXDateTimeString(clock.LongTimeFormat, magnitude, clock);
  if (magnitude > kDurationDaysThreshold) {
    const double days = std::trunc(magnitude);
    const std::string count = days < 9.2e18 ? std::to_string(static_cast<int64_t>(days)) : "INF";
    text = count + (magnitude >= 2 ? " days, " : " day, ") + text;
  }
  if (value < 0) text = "- " + text;
  return text;
}
double TJUXVar_Duration::AsTime(TJUXExpression*) const { return Rounded(); }
double TJUXVar_Duration::AsDuration(TJUXExpression*) const { return Rounded(); }
void TJUXVar_Duration::SetDuration(double value, TJUXExpression*) { SetValue(value); }
