#include "eval/values/date_text.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "eval/language/number_reading.h"

namespace {

constexpr int64_t kMSecsPerDay = 86400000;
constexpr int64_t kUnixEpochDay = 25569;  // 1970-01-01 as a day number

// Days since 1970-01-01 of a proleptic Gregorian date (Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int32_t& year, int32_t& month, int32_t& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int32_t>(yoe + era * 400 + (month <= 2));
}

bool IsLeapYear(int32_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int32_t DaysInMonth(int32_t y, int32_t m) {
  constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The decimal numbers of a text separated by `separator`, blanks allowed
// around each; empty when the text is not such.
std::vector<std::string_view> SplitNumbers(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    const std::string_view part = JUXTrimBlanks(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (part.empty() || part.size() > 9) return {};
    for (char c : part)
      if (c < '0' || c > '9') return {};
    parts.push_back(part);
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

int32_t ToInt(std::string_view digits) {
  int32_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

enum class TDateOrder { DMY, MDY, YMD };

TDateOrder DateOrder(std::string_view shortDateFormat) {
  for (char c : shortDateFormat) {
    switch (Upper(c)) {
      case 'D': return TDateOrder::DMY;
      case 'M': return TDateOrder::MDY;
      case 'Y': return TDateOrder::YMD;
      default: break;
    }
  }
  return TDateOrder::DMY;
}

// Strips a trailing (or leading) AM/PM marker; returns 0 none, 1 am, 2 pm.
int StripMarker(std::string_view& text, const TFormatSettings& s) {
  const std::string_view markers[4] = {s.TimeAMString, s.TimePMString, "AM", "PM"};
  for (int k = 0; k < 4; ++k) {
    const std::string_view m = markers[k];
    if (m.empty() || text.size() < m.size()) continue;
    if (JUXSameTextASCII(text.substr(text.size() - m.size()), m)) {
      text = JUXTrimBlanks(text.substr(0, text.size() - m.size()));
      return k % 2 == 0 ? 1 : 2;
    }
    if (JUXSameTextASCII(text.substr(0, m.size()), m)) {
      text = JUXTrimBlanks(text.substr(m.size()));
      return k % 2 == 0 ? 1 : 2;
    }
  }
  return 0;
}

}  // namespace

TJUXDateTimeParts DecodeJUXDateTime(double value) {
  TJUXDateTimeParts p;
  if (!std::isfinite(value) || std::fabs(value) > 1e9) return p;
  double whole = std::trunc(value);
  int64_t ms = std::llround(std::fabs(value - whole) * kMSecsPerDay);
  if (ms >= kMSecsPerDay) {  // rounding reached the next day
    ms -= kMSecsPerDay;
    whole += value < 0 ? -1 : 1;
  }
  const int64_t day = static_cast<int64_t>(whole);
  CivilFromDays(day - kUnixEpochDay, p.Year, p.Month, p.Day);
  // Day 0 (1899-12-30) was a Saturday.
  p.DayOfWeek = static_cast<int32_t>(((day + 5) % 7 + 7) % 7) + 1;
  p.Hour = static_cast<int32_t>(ms / 3600000);
  p.Minute = static_cast<int32_t>(ms / 60000 % 60);
  p.Second = static_cast<int32_t>(ms / 1000 % 60);
  p.MilliSecond = static_cast<int32_t>(ms % 1000);
  return p;
}

std::optional<double> EncodeJUXDate(int32_t year, int32_t month, int32_t day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  return static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
}

std::optional<double> EncodeJUXTime(int32_t hour, int32_t minute, int32_t second, int32_t milliSecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || milliSecond < 0 ||
      milliSecond > 999)
    return std::nullopt;
  const int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + milliSecond;
  return static_cast<double>(ms) / kMSecsPerDay;
}

std::optional<double> ReadJUXDate(std::string_view text, const TFormatSettings& settings, const TJUXClock& clock) {
  const std::vector<std::string_view> parts = SplitNumbers(JUXTrimBlanks(text), settings.DateSeparator);
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  const TDateOrder order = DateOrder(settings.ShortDateFormat);
  const auto currentYear = [&clock] { return DecodeJUXDateTime(std::trunc(clock())).Year; };
  int32_t y = 0, m = 0, d = 0;
  std::string_view yearText;
  if (parts.size() == 2) {
    y = currentYear();
    if (order == TDateOrder::MDY || order == TDateOrder::YMD) {
      m = ToInt(parts[0]);
      d = ToInt(parts[1]);
    } else {
      d = ToInt(parts[0]);
      m = ToInt(parts[1]);
    }
  } else {
    switch (order) {
      case TDateOrder::DMY: d = ToInt(parts[0]); m = ToInt(parts[1]); yearText = parts[2]; break;
      case TDateOrder::MDY: m = ToInt(parts[0]); d = ToInt(parts[1]); yearText = parts[2]; break;
      case TDateOrder::YMD: yearText = parts[0]; m = ToInt(parts[1]); d = ToInt(parts[2]); break;
    }
    y = ToInt(yearText);
    if (yearText.size() <= 2) y += currentYear() / 100 * 100;
  }
  return EncodeJUXDate(y, m, d);
}

std::optional<double> ReadJUXTime(std::string_view text, const TFormatSettings& settings) {
  std::string_view rest = JUXTrimBlanks(text);
  const int marker = StripMarker(rest, settings);
  // Milliseconds may also follow the seconds after the decimal separator.
  std::string normalized(rest);
  for (char& c : normalized)
    if (c == settings.DecimalSeparator && c != settings.TimeSeparator) c = settings.TimeSeparator;
  const std::vector<std::string_view> parts = SplitNumbers(normalized, settings.TimeSeparator);
  if (parts.empty() || parts.size() > 4) return std::nullopt;
  if (parts.size() == 1 && marker == 0) return std::nullopt;
  int32_t values[4] = {0, 0, 0, 0};
  for (size_t k = 0; k < parts.size(); ++k) values[k] = ToInt(parts[k]);
  int32_t hour = values[0];
  if (marker != 0) {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour = hour % 12 + (marker == 2 ? 12 : 0);
  }
  return EncodeJUXTime(hour, values[1], values[2], values[3]);
}

std::optional<double> ReadJUXDateTime(std::string_view text, const TFormatSettings& settings,
                                      const TJUXClock& clock) {
  const std::string_view trimmed = JUXTrimBlanks(text);
  if (const auto date = ReadJUXDate(trimmed, settings, clock)) return date;
  if (const auto time = ReadJUXTime(trimmed, settings)) return time;
  const size_t blank = trimmed.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const auto date = ReadJUXDate(trimmed.substr(0, blank), settings, clock);
  const auto time = ReadJUXTime(trimmed.substr(blank + 1), settings);
  if (!date || !time) return std::nullopt;
  return *date + *time;
}

std::string FormatJUXCurrency(double value, const TFormatSettings& s) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  char buffer[400];
  const int decimals = s.CurrencyDecimals > 18 ? 18 : s.CurrencyDecimals;
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed,
                                       decimals);
  const std::string_view digits(buffer, ec == std::errc() ? static_cast<size_t>(end - buffer) : 0);
  const size_t point = digits.find('.');
  const std::string_view whole = digits.substr(0, point);
  std::string number;
  for (size_t k = 0; k < whole.size(); ++k) {
    if (k > 0 && (whole.size() - k) % 3 == 0 && s.ThousandSeparator != '\0') number += s.ThousandSeparator;
    number += whole[k];
  }
  if (point != std::string_view::npos) {
    number += s.DecimalSeparator;
    number.append(digits.substr(point + 1));
  }
  bool negative = value < 0;
  if (negative && digits.find_first_not_of("0.") == std::string_view::npos) negative = false;  // rounds to zero
  const std::string& cur = s.CurrencyString;
  if (!negative) {
    switch (s.CurrencyFormat) {
      case 1: return number + cur;
      case 2: return cur + ' ' + number;
      case 3: return number + ' ' + cur;
      default: return cur + number;
    }
  }
  switch (s.NegCurrFormat) {
    case 1: return '-' + cur + number;
    case 2: return cur + '-' + number;
    case 3: return cur + number + '-';
    case 4: return '(' + number + cur + ')';
    case 5: return '-' + number + cur;
    case 6: return number + '-' + cur;
    case 7: return number + cur + '-';
    case 8: return '-' + number + ' ' + cur;
    case 9: return '-' + cur + ' ' + number;
    case 10: return number + ' ' + cur + '-';
    case 11: return cur + ' ' + number + '-';
    case 12: return cur + ' ' + '-' + number;
    case 13: return number + '-' + ' ' + cur;
    case 14: return '(' + cur + ' ' + number + ')';
    case 15: return '(' + number + ' ' + cur + ')';
    default: return '(' + cur + number + ')';
  }
}
