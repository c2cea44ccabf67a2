#pragma once
// The format-settings record that fixes how numbers, dates and times are
// written and read, and the three process-wide records:
//   UserFormatSettings()     the user's default locale;
//   UserFormatSettings24h()  the same with a 24-hour clock and no AM/PM text;
//   FixedFormatSettings()    a constant record for persisted numbers
//                            (decimal ",", thousands ".").
// The user records are filled once, from the locale of the process environment
// at start-up (InitializeFormatSettings, or the first call of an accessor), and
// only read afterwards, so any thread may read them without locking. A later
// change of the locale is not picked up.
//
// Real numbers to and from text in a given record: see "foundation/float_text.h".
//
// Date/time format strings use these letters: d dd ddd dddd (day, day names),
// m mm mmm mmmm (month, month names; m right after an hour is minutes),
// yy yyyy, h hh, n nn (minutes), s ss, "ampm" (TimeAMString/TimePMString),
// "/" for DateSeparator, ":" for TimeSeparator and "..." for literal text.

#include <array>
#include <cstdint>
#include <string>
#include <utility>

struct TFormatSettings {
  uint8_t CurrencyFormat = 0;
  uint8_t NegCurrFormat = 0;
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  uint8_t CurrencyDecimals = 2;
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  std::string CurrencyString;
  std::string ShortDateFormat;
  std::string LongDateFormat;
  std::string TimeAMString;
  std::string TimePMString;
  std::string ShortTimeFormat;
  std::string LongTimeFormat;
  std::array<std::string, 12> ShortMonthNames;  // January first
  std::array<std::string, 12> LongMonthNames;
  std::array<std::string, 7> ShortDayNames;     // Monday first
  std::array<std::string, 7> LongDayNames;
  uint16_t TwoDigitYearCenturyWindow = 50;

  bool operator==(const TFormatSettings&) const = default;
};

// An object owning one private copy of a format-settings record.
class TFormatSettingsObj {
 public:
  explicit TFormatSettingsObj(TFormatSettings settings) : FormatSettings(std::move(settings)) {}
  TFormatSettings FormatSettings;
};

const TFormatSettings& UserFormatSettings();
const TFormatSettings& UserFormatSettings24h();
const TFormatSettings& FixedFormatSettings();

// The record with both time formats "hh" TimeSeparator "mm" TimeSeparator "ss"
// (built from the record's own separator) and empty AM and PM strings.
TFormatSettings With24hClock(TFormatSettings settings);

// The start-up step: fills the user records from the process locale. Called
// by the program entry before anything else runs; further calls do nothing.
//
// Floating-point exceptions stay masked (the Linux default, never changed by
// this code): division by zero and overflow give infinities and invalid
// operations NaN, without a signal. The evaluator relies on that.
void InitializeFormatSettings();
