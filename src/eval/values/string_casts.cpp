// The casts of a string value: reading the text as the target type with the
// sink's format settings; a failure leaves a fallback and records kind 7.
#include "eval/values/scalar_vars.h"

#include <cmath>

#include "eval/language/expression.h"
#include "eval/language/number_reading.h"
#include "eval/values/date_text.h"

namespace {

void ReportUnreadable(TJUXExpression* sink, const std::string& text, std::string_view target) {
  if (!sink) return;
  sink->AddError(jeNotConvertible, "Unable to cast the string value \"" + text + "\" into " +
                                       (target == "integer" ? "an " : "a ") + std::string(target));
}

std::optional<double> ReadDuration(std::string_view text) {
  const TFormatSettings& clock = UserFormatSettings24h();
  const size_t day = text.find("day");
  if (day == std::string_view::npos) return ReadJUXTime(text, clock);
  const std::optional<int32_t> days = ReadJUXInteger(JUXTrimBlanks(text.substr(0, day)));
  // Only plain decimal days count (ReadJUXInteger also takes hexadecimal).
  const std::string_view daysText = JUXTrimBlanks(text.substr(0, day));
  if (!days || daysText.find_first_not_of("+-0123456789") != std::string_view::npos) return std::nullopt;
  if (text.size() < 8) return std::nullopt;
  const std::optional<double> time = ReadJUXTime(text.substr(text.size() - 8), clock);
  if (!time) return std::nullopt;
  return *days + *time;
}

std::optional<double> ReadPercentage(std::string_view text, const TFormatSettings& settings) {
  const size_t percent = text.find('%');
  if (percent == std::string_view::npos) return std::nullopt;
  const std::optional<long double> number = ReadJUXFloat(JUXTrimBlanks(text.substr(0, percent)), settings);
  if (!number) return std::nullopt;
  return static_cast<double>(*number / 100.0L);
}

}  // namespace

void TJUXVar_String::CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const {
  if (JUXSameTextASCII(FValue, "true") || JUXSameTextASCII(FValue, "false")) {
    dest.SetBoolean(JUXSameTextASCII(FValue, "true"), sink);
    return;
  }
  dest.SetBoolean(false, sink);
  ReportUnreadable(sink, FValue, "boolean");
}

void TJUXVar_String::CastToCurrency(TJUXVar& dest, TJUXExpression* sink) const {
  if (const auto number = ReadJUXFloat(FValue, SinkFormatSettings(sink))) {
    // Kept to four decimals, as a scaled 64-bit money amount would be.
    dest.SetCurrency(static_cast<double>(std::nearbyint(*number * 10000.0L) / 10000.0L), sink);
    return;
  }
  dest.SetCurrency(1.0, sink);
  ReportUnreadable(sink, FValue, "currency");
}

void TJUXVar_String::CastToDate(TJUXVar& dest, TJUXExpression* sink) const {
  if (const auto date = ReadJUXDate(FValue, SinkFormatSettings(sink), SinkClock(sink))) {
    dest.SetDate(*date, sink);
    return;
  }
  dest.SetDate(1.0, sink);
  ReportUnreadable(sink, FValue, "date");
}

void TJUXVar_String::CastToDateTime(TJUXVar& dest, TJUXExpression* sink) const {
  if (const auto value = ReadJUXDateTime(FValue, SinkFormatSettings(sink), SinkClock(sink))) {
    dest.SetDateTime(*value, sink);
    return;
  }
  dest.SetDateTime(1.0, sink);
  ReportUnreadable(sink, FValue, "datetime");
}

void TJUXVar_String::CastToDouble(TJUXVar& dest, TJUXExpression* sink) const {
  if (const auto number = ReadJUXFloat(FValue, SinkFormatSettings(sink))) {
    dest.SetDouble(static_cast<double>(*number), sink);
    return;
  }
  dest.SetDouble(0.0, sink);
  ReportUnreadable(sink, FValue, "double");
}

void TJUXVar_String::CastToDuration(TJUXVar& dest, TJUXExpression* sink) const {
  if (const auto value = ReadDuration(FValue)) {
    dest.SetDuration(*value, sink);
    return;
  }
  dest.SetDuration(1.0, sink);
  ReportUnreadable(sink, FValue, "duration");
}

void TJUXVar_String::CastToInteger(TJUXVar& dest, TJUXExpression* sink) const {
  if (const auto number = ReadJUXInteger(FValue)) {
    dest.SetInteger(*number, sink);
    return;
  }
  dest.SetInteger(0, sink);
  ReportUnreadable(sink, FValue, "integer");
}

void TJUXVar_String::CastToPercentage(TJUXVar& dest, TJUXExpression* sink) const {
  if (const auto value = ReadPercentage(FValue, SinkFormatSettings(sink))) {
    dest.SetPercentage(*value, sink);
    return;
  }
  dest.SetPercentage(1.0, sink);
  ReportUnreadable(sink, FValue, "percentage");
}

void TJUXVar_String::CastToTime(TJUXVar& dest, TJUXExpression* sink) const {
  if (const auto value = ReadJUXTime(FValue, SinkFormatSettings(sink))) {
    dest.SetTime(*value, sink);
    return;
  }
  dest.SetTime(1.0, sink);
  ReportUnreadable(sink, FValue, "time");
}
