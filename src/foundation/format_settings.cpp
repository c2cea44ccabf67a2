#include "foundation/format_settings.h"

#include "foundation/posix_locale.h"

namespace {
TFormatSettings MakeFixedFormatSettings() {
  TFormatSettings s;
  s.CurrencyFormat = 2;
  s.NegCurrFormat = 1;
  s.ThousandSeparator = '.';
  s.DecimalSeparator = ',';
  s.CurrencyDecimals = 2;
  s.DateSeparator = '/';
  s.TimeSeparator = ':';
  s.ListSeparator = ',';
  s.CurrencyString = "E";
  s.ShortDateFormat = "dd/mm/yyyy";
  s.LongDateFormat = "dd/mm/yyyy";
  s.TimeAMString = "am";
  s.TimePMString = "pm";
  s.ShortTimeFormat = "hh:mm";
  s.LongTimeFormat = "hh:mm:ss";
  s.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  s.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                      "July",    "August",   "September", "October", "November", "December"};
  s.ShortDayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  s.LongDayNames = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
  s.TwoDigitYearCenturyWindow = 50;
  return s;
}
}  // namespace

TFormatSettings With24hClock(TFormatSettings settings) {
  std::string format = "hh";
  format += settings.TimeSeparator;
  format += "mm";
  format += settings.TimeSeparator;
  format += "ss";
  settings.ShortTimeFormat = format;
  settings.LongTimeFormat = format;
  settings.TimeAMString.clear();
  settings.TimePMString.clear();
  return settings;
}

const TFormatSettings& UserFormatSettings() {
  static const TFormatSettings settings = UserLocaleFormatSettings();
  return settings;
}

const TFormatSettings& UserFormatSettings24h() {
  static const TFormatSettings settings = With24hClock(UserLocaleFormatSettings());
  return settings;
}

const TFormatSettings& FixedFormatSettings() {
  static const TFormatSettings settings = MakeFixedFormatSettings();
  return settings;
}

void InitializeFormatSettings() {
  UserFormatSettings();
  UserFormatSettings24h();
  FixedFormatSettings();
}
